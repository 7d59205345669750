#pragma once
// The viewer's icon in the notification area: the way back to a window that
// Alt+Z has hidden (a hidden window has no task-bar button, and under some
// systems the hot key only arrives while one of the program's windows has the
// keyboard). Mouse events on the icon arrive at the owner window as
// `callbackMessage`, with the mouse message in lParam.
#include <windows.h>

#include <string>

namespace qv {

class TQvTrayIcon {
public:
    explicit TQvTrayIcon(UINT callbackMessage) : FMessage(callbackMessage) {}
    ~TQvTrayIcon() { Remove(); }
    TQvTrayIcon(const TQvTrayIcon&) = delete;
    TQvTrayIcon& operator=(const TQvTrayIcon&) = delete;

    // Puts the icon up (again, when it is up already); false when the shell
    // refused it. Either way the icon is wanted until Remove.
    bool Add(HWND owner, HICON icon, const std::wstring& tip);
    void Remove();
    bool Shown() const { return FShown; }
    bool Wanted() const { return FWanted; }
    // The shell started again and forgot every icon: put ours back if it is
    // wanted, also when an earlier attempt failed. False when it is wanted
    // and still not up.
    bool Restore();

private:
    UINT FMessage;
    HWND FOwner = nullptr;
    HICON FIcon = nullptr;
    std::wstring FTip;
    bool FShown = false;
    bool FWanted = false;
};

}  // namespace qv
