#pragma once
// Menu window tests: a menu is modal (TrackPopupMenu runs its own loop), so
// what a test does while one is open runs from a thread timer, one step per
// tick, with a deadline that closes every menu so nothing can hang.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "test_skinmanage_util.h"

namespace qs::test {

inline BOOL CALLBACK collectMenuWindow(HWND w, LPARAM p) {
    char cls[16] = {};
    ::GetClassNameA(w, cls, sizeof cls);
    if (std::string(cls) == "#32768" && ::IsWindowVisible(w)) reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
    return TRUE;
}
// Visible menu windows, newest (topmost) first.
inline std::vector<HWND> menuWindows() {
    std::vector<HWND> out;
    ::EnumWindows(&collectMenuWindow, reinterpret_cast<LPARAM>(&out));
    return out;
}
inline HMENU menuOf(HWND menuWnd) { return reinterpret_cast<HMENU>(::SendMessageW(menuWnd, MN_GETHMENU, 0, 0)); }
// The open menu window that shows `menu`, or null.
inline HWND windowShowing(HMENU menu) {
    for (HWND w : menuWindows())
        if (menuOf(w) == menu) return w;
    return nullptr;
}

// Steps run one per timer tick while menus are open; a step returns true
// when done (false: try again next tick). After the last step, or at the
// deadline, every menu is closed.
class MenuScript {
public:
    using Step = std::function<bool()>;
    explicit MenuScript(std::vector<Step> steps, DWORD deadlineMs = 4000) : steps_(std::move(steps)) {
        current() = this;
        start_ = ::GetTickCount();
        deadline_ = deadlineMs;
        timer_ = ::SetTimer(nullptr, 0, 30, &MenuScript::tick);
    }
    ~MenuScript() {
        if (timer_) ::KillTimer(nullptr, timer_);
        current() = nullptr;
    }
    bool finished() const { return next_ >= steps_.size(); }
    bool timedOut() const { return timedOut_; }
    std::size_t stepsDone() const { return next_; }

private:
    static MenuScript*& current() {
        static MenuScript* s = nullptr;
        return s;
    }
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
        MenuScript* s = current();
        if (!s || s->busy_) return;
        s->busy_ = true;
        if (s->next_ < s->steps_.size()) {
            if (s->steps_[s->next_]()) ++s->next_;
        }
        if (s->next_ >= s->steps_.size()) {
            if (!menuWindows().empty()) ::EndMenu();
        } else if (::GetTickCount() - s->start_ > s->deadline_) {
            s->timedOut_ = true;
            s->next_ = s->steps_.size() + 1;  // stop stepping
            ::EndMenu();
        }
        s->busy_ = false;
    }
    std::vector<Step> steps_;
    std::size_t next_ = 0;
    DWORD start_ = 0, deadline_ = 0;
    UINT_PTR timer_ = 0;
    bool timedOut_ = false;
    bool busy_ = false;
};

// Pumps until the script has run its steps and no menu is open (bounded).
inline bool runScript(MenuScript& s, DWORD ms = 6000) {
    return waitFor([&] { return (s.finished() || s.timedOut()) && menuWindows().empty(); }, ms);
}

inline void tapKey(WORD vk) {
    key(vk, false);
    key(vk, true);
}
inline void mouseMoveTo(POINT screen) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = LONG(screen.x * 65535 / (::GetSystemMetrics(SM_CXSCREEN) - 1));
    in.mi.dy = LONG(screen.y * 65535 / (::GetSystemMetrics(SM_CYSCREEN) - 1));
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &in, sizeof(INPUT));
}

// A left click at a screen point without pumping messages (for steps that
// run inside a menu's own loop, which must see the click itself).
inline void clickNoPump(POINT screen) {
    mouseMoveTo(screen);
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(2, in, sizeof(INPUT));
}

}  // namespace qs::test
