#include "QvTray.h"

#include <shellapi.h>

#include <cwchar>

namespace qv {

namespace {
constexpr UINT kIconId = 1;

NOTIFYICONDATAW iconData(HWND owner) {
    NOTIFYICONDATAW d{};
    d.cbSize = sizeof d;
    d.hWnd = owner;
    d.uID = kIconId;
    return d;
}
}  // namespace

bool TQvTrayIcon::Add(HWND owner, HICON icon, const std::wstring& tip) {
    if (FShown) Remove();
    NOTIFYICONDATAW d = iconData(owner);
    d.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
    d.uCallbackMessage = FMessage;
    d.hIcon = icon;
    wcsncpy(d.szTip, tip.c_str(), sizeof d.szTip / sizeof d.szTip[0] - 1);
    FOwner = owner;
    FIcon = icon;
    FTip = tip;
    FWanted = true;
    FShown = Shell_NotifyIconW(NIM_ADD, &d) != FALSE;
    return FShown;
}

void TQvTrayIcon::Remove() {
    FWanted = false;
    if (!FShown) return;
    NOTIFYICONDATAW d = iconData(FOwner);
    Shell_NotifyIconW(NIM_DELETE, &d);
    FShown = false;
}

bool TQvTrayIcon::Restore() {
    if (!FWanted) return true;
    return Add(FOwner, FIcon, FTip);
}

}  // namespace qv
