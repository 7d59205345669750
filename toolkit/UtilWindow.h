#pragma once
// A hidden window whose messages go to a function: for components that need a
// window of their own without being controls (timers, pop-up menus).
#include <windows.h>

#include <functional>

namespace qs {

class TUtilWindow {
public:
    // Return true when the message was handled (`result` is then returned).
    using Handler = std::function<bool(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)>;

    // A message-only window (HWND_MESSAGE), or a hidden top-level popup where
    // a real window is needed (TrackPopupMenu's owner).
    TUtilWindow(Handler handler, bool messageOnly);
    ~TUtilWindow();
    TUtilWindow(const TUtilWindow&) = delete;
    TUtilWindow& operator=(const TUtilWindow&) = delete;

    HWND Handle() const { return FHandle; }

private:
    static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    Handler FHandler;
    HWND FHandle = nullptr;
};

}  // namespace qs
