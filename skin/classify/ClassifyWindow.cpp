// Windows without toolkit controls (standard dialog boxes and their
// children) are classified by window class name and style.
#include <algorithm>
#include <cctype>
#include <vector>

#include <windows.h>
#include <commctrl.h>

#include "Classify.h"
#include "ClassifyAttach.h"
#include "Controls.h"
#include "SkinData.h"
#include "SkinForm.h"
#include "SkinRoutines.h"
#include "SkinScroll.h"

namespace qs {

void SkinChildWindows(TWinSkinForm& fs, HWND handle) {
    if (!handle) return;
    // Collected first: classifying may create windows (none of ours do, but
    // a skin's attach is free to).
    std::vector<HWND> children;
    for (HWND c = GetTopWindow(handle); c; c = GetWindow(c, GW_HWNDNEXT)) children.push_back(c);
    for (HWND c : children)
        if (IsWindow(c) && (GetWindowLongPtrW(c, GWL_STYLE) & WS_CHILD)) ClassifyWindow(fs, c);
}

void ClassifyWindow(TWinSkinForm& fs, HWND handle) {
    TSkinData* data = fs.FSkinData;
    if (!handle || !data || FindSkinByHandle(&fs, handle)) return;
    // A child of another thread or process (one embedded by SetParent) is
    // not ours to subclass, nor to send pointers to or wait for.
    if (GetWindowThreadProcessId(handle, nullptr) != GetCurrentThreadId()) return;
    wchar_t buf[101] = {};
    GetClassNameW(handle, buf, 101);
    std::wstring cls(buf);
    for (auto& c : cls) c = wchar_t(std::towlower(c));
    const DWORD style = DWORD(GetWindowLongPtrW(handle, GWL_STYLE));
    const auto gate = [data](TSkinControlType x) { return inSet(data->SkinControls(), x); };
    const auto make = [&](TSkinClass k, HWND h = nullptr) { MakeWindowSkin(fs, k, h ? h : handle); };
    const auto faceForControl = [&] {
        if (TWinControl* c = FindControl(handle)) c->SetColor(TColor(data->ButtonFace));
    };

    // A list view's column header is dressed whatever the list view itself
    // gets: it is a window of its own, below the list view.
    if (cls == L"syslistview32" && gate(xcPanel))
        if (HWND header = reinterpret_cast<HWND>(SendMessageW(handle, LVM_GETHEADER, 0, 0)))
            if (!FindSkinByHandle(&fs, header)) make(TSkinClass::Header, header);

    if (cls == L"button" && (style & 0xB) != 0xB) {  // 1: owner-drawn buttons fall through
        if ((style & 7) == 7 || (style & 0x80) == 0x80) return;
        if ((style & 3) == 3 || (style & 2) == 2 || (style & 5) == 5) {
            if (gate(xcCheckBox)) make(TSkinClass::CheckBox);
        } else if ((style & 9) == 9 || (style & 4) == 4) {
            if (gate(xcRadioButton)) make(TSkinClass::RadioButton);
        } else if (gate(xcButton)) {
            make(TSkinClass::Button);
        }
        return;
    }
    if (cls == L"combobox" && gate(xcCombo) && (style & 3) != 1) return make(TSkinClass::ComBox);  // 2
    if (cls == L"comboboxex32" && gate(xcCombo))                                                   // 3
        if (HWND first = GetWindow(handle, GW_CHILD)) return make(TSkinClass::ComBox, first);
    if (cls == L"scrollbar") {  // 4
        // Only the size-box styles make a grip; every other scroll-bar window
        // is a bar, and a flat grip would hide its arrows and thumb.
        if (style & (SBS_SIZEBOX | SBS_SIZEGRIP)) return make(TSkinClass::Sizer);
        if (gate(xcScrollbar)) make(TSkinClass::ScControl);
        return;
    }
    if (cls == L"systreeview32") return;                                            // 5
    if (cls == L"#32770" && !(style & 0x10000)) {                                   // 6
        SkinChildWindows(fs, handle);
        return make(TSkinClass::BoxH);
    }
    if (cls == L"tpanel" || cls == L"ttntpanel.unicodeclass" || cls == L"ttntsilentpaintpanel.unicodeclass") {  // 7
        SkinChildWindows(fs, handle);
        faceForControl();
        return;
    }
    if (cls == L"tcheckbox" && gate(xcCheckBox)) return make(TSkinClass::CheckBox);  // 8
    if (cls == L"tcombobox" && gate(xcCombo)) return make(TSkinClass::ComBox);       // 9
    if (cls == L"tbutton" && gate(xcButton)) return make(TSkinClass::Button);        // 10
    if (cls == L"tprogressbar") return make(TSkinClass::Progress);                   // 11
    if (cls == L"tsilentpaintpanel") return faceForControl();                        // 12
    if (cls == L"systabcontrol32" && gate(xcTab) && !(style & 0x2000)) {  // 13
        make(TSkinClass::Tab);
        // Pages some programs place inside the tab control itself.
        return SkinChildWindows(fs, handle);
    }
    if (cls == L"toolbarwindow32") return make(TSkinClass::ToolbarH);    // 14
    if (cls == L"edit" && gate(xcEdit)) return make(TSkinClass::Edit);  // 15

    // The common controls our own controls wrap get the same skins.
    if (cls == L"msctls_progress32" && gate(xcProgress)) return make(TSkinClass::Progress);
    if (cls == L"msctls_trackbar32" && gate(xcTrackBar)) return make(TSkinClass::TrackBar);
    if (cls == L"msctls_updown32" && gate(xcSpin)) return make(TSkinClass::UpDown);
    if (cls == L"msctls_statusbar32" && gate(xcStatusBar)) return make(TSkinClass::StatusBar);
    if (cls == L"sysheader32" && gate(xcPanel)) return make(TSkinClass::Header);
    if (cls == L"sysdatetimepick32" && gate(xcEdit))
        return make((style & DTS_UPDOWN) ? TSkinClass::Edit : TSkinClass::DateTime);
    // Property pages carry WS_TABSTOP, which the dialog row above leaves out:
    // they are child dialogs all the same.
    if (cls == L"#32770" && (style & WS_CHILD)) {
        SkinChildWindows(fs, handle);
        return make(TSkinClass::BoxH);
    }
    if (cls == L"rebarwindow32" && gate(xcToolbar)) {
        make(TSkinClass::RebarH);
        return SkinChildWindows(fs, handle);  // the bars in its bands
    }
}

void SkinBareChildWindows(TWinSkinForm& fs, HWND handle) {
    if (!handle) return;
    // Looked up by class rather than walked one by one: on a form of
    // hundreds of toolkit controls the walk cost more than a tenth of the
    // whole classification, a lookup per known class a small part of that.
    static const wchar_t* const kKnown[] = {
        L"Button",           L"ComboBox",          L"ComboBoxEx32",      L"Edit",
        L"#32770",           L"SysTabControl32",   L"ToolbarWindow32",   L"ReBarWindow32",
        L"msctls_progress32", L"msctls_trackbar32", L"msctls_updown32",   L"msctls_statusbar32",
        L"SysHeader32",      L"SysDateTimePick32", L"SysListView32",     L"SysTreeView32",
    };
    std::vector<HWND> children;
    for (const wchar_t* cls : kKnown)
        for (HWND c = FindWindowExW(handle, nullptr, cls, nullptr); c; c = FindWindowExW(handle, c, cls, nullptr))
            if (!FindControl(c)) children.push_back(c);
    for (HWND c : children)
        if (IsWindow(c) && (GetWindowLongPtrW(c, GWL_STYLE) & WS_CHILD)) ClassifyWindow(fs, c);
}

namespace {
void switchOffAgain(TWinSkinForm& fs, const std::vector<TControl*>& off) {
    if (off.empty()) return;
    for (TSkinControl* s : std::vector<TSkinControl*>(fs.FControls))
        if (s->FActive && s->FState != scsDestroyed && std::find(off.begin(), off.end(), s->FControl) != off.end())
            s->Switch(false);
}

void reskinTree(TWinSkinForm& fs, TControl* control) {
    ClassifyControl(fs, control, nullptr);
    if (auto* w = dynamic_cast<TWinControl*>(control))
        for (TControl* child : std::vector<TControl*>(w->ControlList())) reskinTree(fs, child);
}
}  // namespace

bool RebuildScrollbarSkin(TWinSkinForm& fs, HWND handle) {
    TSkinControl* old = FindSkinByHandle(&fs, handle);
    if (!old) return false;
    if (!dynamic_cast<TSkinScrollbar*>(old)) {
        // Any other control that made its window again (a tab control given
        // another tab position or style): its old skin, and those of the
        // windows that went with it, were left behind on the old windows.
        // The control and what it holds are classified afresh.
        TControl* control = old->FState == scsDestroyed ? old->FControl : nullptr;
        if (!control || old->FGraphicControl) return true;
        // Controls the program switched off stay off in their new windows.
        std::vector<TControl*> off;
        for (TSkinControl* s : fs.FControls)
            if (s->FSwitchedOff && s->FControl) off.push_back(s->FControl);
        PurgeControlSkins(fs);
        auto* win = dynamic_cast<TWinControl*>(control);
        if (!win || !win->HandleAllocated()) return true;
        reskinTree(fs, control);
        switchOffAgain(fs, off);
        ::RedrawWindow(win->HandleIfAllocated(), nullptr, nullptr,
                       RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        return true;
    }
    const bool listView = old->ClassName() == "TSkinListView";
    TControl* control = old->FControl;
    const bool wasOff = old->FSwitchedOff;
    RemoveControlSkin(&fs, old);
    old->FSkinForm = nullptr;
    delete old;
    if (!control) return true;
    TSkinControl* made =
        MakeSkin(fs, listView ? TSkinClass::ListView : TSkinClass::Scrollbar, control, TSkinAttachMode::Scrollbar);
    if (made && wasOff) made->Switch(false);
    return true;
}

}  // namespace qs
