// The gallery's pages. Each page builds its controls twice, the right-hand
// (or lower) copy disabled, so every skin element is seen in both states.
#include "Gallery.h"

#include <commctrl.h>

#include "Application.h"
#include "Buttons.h"
#include "ComCtrls.h"
#include "ComCtrlsEdit.h"
#include "ComCtrlsProgress.h"
#include "ComCtrlsTabs.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "Menus.h"
#include "StdCtrlsButtons.h"
#include "StdCtrlsEdit.h"
#include "StdCtrlsGroup.h"

namespace qs::gallery {

PageWindow mediaPage();
PageWindow surfacesPage();
PageWindow paintedPage();

namespace {

constexpr int kDialogTemplate = 200;

template <class C>
C* place(TWinControl* parent, int x, int y, int w, int h, const wchar_t* caption = nullptr, bool enabled = true) {
    auto* c = new C(parent);
    c->SetParent(parent);
    c->SetBounds(x, y, w, h);
    if (caption) c->SetCaption(caption);
    if (!enabled) c->SetEnabled(false);
    return c;
}

TMenuItem* addItem(TComponent* owner, TMenuItem* parent, const wchar_t* caption, bool enabled = true) {
    auto* item = new TMenuItem(owner);
    item->SetCaption(caption);
    if (!enabled) item->SetEnabled(false);
    parent->Add(item);
    return item;
}

TForm* newForm(const std::wstring& title, int w, int h) {
    auto* f = new TForm(nullptr);
    f->SetCaption(title);
    f->SetBorderStyle(bsSingle);
    f->SetBounds(20, 20, w, h);
    return f;
}

// Focus rectangles only show once the keyboard was used; a picture of the
// focused state needs them.
void showFocus(TWinControl* c) {
    ::SendMessageW(::GetAncestor(c->Handle(), GA_ROOT), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    c->SetFocus();
}

// A real move of the pointer, so the control sees the mouse arrive the way
// it would from a user.
void pointAt(HWND wnd) {
    RECT r;
    ::GetWindowRect(wnd, &r);
    const int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = LONG(x * 65535 / (::GetSystemMetrics(SM_CXSCREEN) - 1));
    in.mi.dy = LONG(y * 65535 / (::GetSystemMetrics(SM_CYSCREEN) - 1));
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &in, sizeof(in));
}

PageWindow framePage() {
    TForm* f = newForm(L"Gallery: frame and menus", 360, 220);
    f->SetBorderStyle(bsSizeable);
    auto* menu = new TMainMenu(f);
    TMenuItem* file = addItem(f, menu->Items(), L"&File");
    addItem(f, file, L"&Open...");
    addItem(f, file, L"&Save", false);
    addItem(f, file, L"-");
    addItem(f, file, L"E&xit");
    TMenuItem* edit = addItem(f, menu->Items(), L"&Edit");
    addItem(f, edit, L"&Copy")->SetChecked(true);
    addItem(f, menu->Items(), L"&Disabled", false);
    addItem(f, menu->Items(), L"&Help");
    f->SetMenu(menu);
    place<TButton>(f, 16, 16, 100, 26, L"In the client");
    return {f, nullptr, {}};
}

PageWindow buttonsPage() {
    TForm* f = newForm(L"Gallery: buttons", 380, 200);
    TButton* first[3] = {};
    for (int col = 0; col < 2; ++col) {
        const bool on = col == 0;
        const int x = 16 + 176 * col;
        auto* b1 = place<TButton>(f, x, 16, 160, 26, on ? L"Button" : L"Disabled button", on);
        auto* b2 = place<TButton>(f, x, 50, 160, 26, on ? L"Default button" : L"Disabled default", on);
        b2->SetDefault(true);
        auto* b3 = place<TBitBtn>(f, x, 84, 160, 26, on ? L"Bitmap button" : L"Disabled bitmap", on);
        if (on) first[0] = b1, first[1] = b2, first[2] = b3;
        place<TSpeedButton>(f, x, 118, 76, 26, on ? L"Speed" : L"Off", on);
        auto* down = place<TSpeedButton>(f, x + 84, 118, 76, 26, L"Down", on);
        down->SetGroupIndex(1 + col);  // only a grouped speed button stays down
        down->SetDown(true);
    }
    // The first button held down by the space bar, the second focused, the
    // pointer over the third.
    // The pointer goes first: the held button captures the mouse.
    auto script = [first] {
        pointAt(first[2]->Handle());
        pump(200);
        showFocus(first[1]);
        ::SendMessageW(first[0]->Handle(), WM_KEYDOWN, VK_SPACE, 0x00390001);
    };
    return {f, nullptr, script};
}

PageWindow checksPage() {
    TForm* f = newForm(L"Gallery: check boxes and radio buttons", 400, 250);
    TCheckBox* focused = nullptr;
    for (int col = 0; col < 2; ++col) {
        const bool on = col == 0;
        const int x = 16 + 186 * col;
        place<TCheckBox>(f, x, 12, 170, 20, L"Unchecked", on);
        auto* checked = place<TCheckBox>(f, x, 36, 170, 20, L"Checked", on);
        checked->SetChecked(true);
        if (on) focused = checked;
        auto* grey = place<TCheckBox>(f, x, 60, 170, 20, L"Grayed", on);
        grey->SetAllowGrayed(true);
        grey->SetState(cbGrayed);
        // One radio group per column: a radio button unchecks the others of
        // its parent, so each pair gets a plain container of its own.
        auto* column = place<TPanel>(f, x, 88, 170, 44, L"");
        column->SetBevelOuter(bvNone);
        place<TRadioButton>(column, 0, 0, 170, 20, L"Radio off", on);
        place<TRadioButton>(column, 0, 24, 170, 20, L"Radio on", on)->SetChecked(true);
        auto* group = place<TRadioGroup>(f, x, 138, 170, 70, on ? L"Radio group" : L"Disabled group", on);
        group->SetItems({"First", "Second"});
        group->SetItemIndex(1);
    }
    return {f, nullptr, [focused] { showFocus(focused); }};
}

PageWindow editsPage() {
    TForm* f = newForm(L"Gallery: edits, combos, up-down, date-time", 420, 230);
    TComboBox* dropped = nullptr;
    for (int col = 0; col < 2; ++col) {
        const bool on = col == 0;
        const int x = 16 + 196 * col;
        place<TEdit>(f, x, 12, 180, 22, nullptr, on)->SetText(on ? L"An edit" : L"A disabled edit");
        auto* drop = place<TComboBox>(f, x, 44, 180, 22, nullptr, on);
        for (const wchar_t* s : {L"Apple", L"Banana", L"Cherry", L"Damson"}) drop->Items().Add(s);
        drop->SetItemIndex(0);
        auto* list = place<TComboBox>(f, x, 76, 180, 22, nullptr, on);
        list->SetStyle(csDropDownList);
        for (const wchar_t* s : {L"One", L"Two", L"Three"}) list->Items().Add(s);
        list->SetItemIndex(1);
        if (on) dropped = list;
        auto* number = place<TEdit>(f, x, 108, 80, 22, nullptr, on);
        number->SetText(L"5");
        auto* ud = place<TUpDown>(f, x + 80, 108, 17, 22, nullptr, on);
        ud->SetMax(10);
        ud->SetPosition(5);
        ud->SetAssociate(number);
        place<TUpDown>(f, x + 120, 108, 40, 22, nullptr, on)->SetOrientation(udHorizontal);
        auto* date = place<TDateTimePicker>(f, x, 140, 180, 22, nullptr, on);
        SYSTEMTIME t{2026, 3, 0, 14, 9, 30, 0, 0};
        date->SetDateTime(t);
        auto* time = place<TDateTimePicker>(f, x, 170, 180, 22, nullptr, on);
        time->SetKind(dtkTime);
        time->SetDateTime(t);
    }
    return {f, nullptr, [dropped] {
                showFocus(dropped);
                dropped->SetDroppedDown(true);
            }};
}

PageWindow listsPage() {
    TForm* f = newForm(L"Gallery: scroll bars, memo and lists", 560, 330);
    TTreeView* focused = nullptr;
    for (int col = 0; col < 2; ++col) {
        const bool on = col == 0;
        const int x = 16 + 270 * col;
        auto* h = place<TScrollBar>(f, x, 10, 200, 17, nullptr, on);
        h->SetParams(30, 0, 100);
        // A new kind turns the bar's bounds round; place it once it has its kind.
        auto* v = place<TScrollBar>(f, x + 232, 10, 17, 120, nullptr, on);
        v->SetKind(sbVertical);
        v->SetBounds(x + 232, 10, 17, 80);
        v->SetParams(60, 0, 100);
        auto* memo = place<TMemo>(f, x, 34, 220, 60, nullptr, on);
        memo->SetScrollBars(ssVertical);
        memo->SetLines({L"A memo with", L"more lines", L"than it", L"can show", L"at once", L"so it scrolls"});
        auto* box = place<TListBox>(f, x, 100, 104, 80, nullptr, on);
        for (int i = 1; i <= 9; ++i) box->Items().Add(L"Item " + std::to_wstring(i));
        box->SetItemIndex(1);
        auto* tree = place<TTreeView>(f, x + 112, 100, 108, 80, nullptr, on);
        const int root = tree->AddNode(-1, L"Root");
        tree->AddNode(root, L"Leaf one");
        const int branch = tree->AddNode(root, L"Branch");
        tree->AddNode(branch, L"Leaf two");
        tree->Expand(root);
        tree->SetSelected(branch);
        if (on) focused = tree;
        auto* lv = place<TListView>(f, x, 188, 250, 90, nullptr, on);
        lv->SetViewStyle(vsReport);
        lv->Columns()->Add()->SetCaption(L"Name");
        lv->Columns()->Add()->SetCaption(L"Size");
        for (int i = 1; i <= 6; ++i) lv->Items()->Add(L"File " + std::to_wstring(i), {std::to_wstring(i * 12) + L" KB"});
    }
    return {f, nullptr, [focused] { showFocus(focused); }};
}

PageWindow tabsPage() {
    TForm* f = newForm(L"Gallery: tabs on four sides", 520, 330);
    const TTabPosition sides[4] = {tpTop, tpBottom, tpLeft, tpRight};
    for (int i = 0; i < 4; ++i) {
        auto* pc = place<TPageControl>(f, 12 + 250 * (i % 2), 10 + 140 * (i / 2), 236, 130);
        for (const wchar_t* name : {L"First", L"Second", L"Third"}) {
            auto* sheet = new TTabSheet(pc);
            sheet->SetPageControl(pc);
            sheet->SetCaption(name);
        }
        pc->SetTabPosition(sides[i]);
        pc->SetActivePageIndex(1);
        if (i == 3) pc->SetEnabled(false);
        place<TButton>(pc->Pages(1), 10, 10, 90, 24, i == 3 ? L"Disabled" : L"On a page");
    }
    return {f, nullptr, {}};
}

PageWindow headerPage() {
    TForm* f = newForm(L"Gallery: header", 380, 140);
    for (int row = 0; row < 2; ++row) {
        auto* h = place<THeaderControl>(f, 12, 12 + 44 * row, 340, 24, nullptr, row == 0);
        for (const wchar_t* s : {L"Name", L"Type", L"Size"}) {
            auto* sec = h->Sections()->Add();
            sec->SetText(row == 0 ? s : std::wstring(s) + L" (off)");
            sec->SetWidth(110);
        }
    }
    return {f, nullptr, {}};
}

PageWindow progressPage() {
    TForm* f = newForm(L"Gallery: progress and track bars", 440, 250);
    for (int col = 0; col < 2; ++col) {
        const bool on = col == 0;
        const int x = 12 + 210 * col;
        auto* p = place<TProgressBar>(f, x, 12, 150, 18, nullptr, on);
        p->SetPosition(60);
        auto* pv = place<TProgressBar>(f, x + 166, 12, 18, 150, nullptr, on);
        pv->SetOrientation(pbVertical);
        pv->SetBounds(x + 166, 12, 18, 150);
        pv->SetPosition(40);
        auto* t = place<TTrackBar>(f, x, 44, 150, 40, nullptr, on);
        t->SetPosition(3);
        auto* tv = place<TTrackBar>(f, x, 92, 40, 110, nullptr, on);
        tv->SetOrientation(trVertical);
        tv->SetBounds(x, 92, 40, 110);
        tv->SetPosition(7);
    }
    return {f, nullptr, {}};
}

// A system tool bar in a form: made once the form's window exists, so at
// the form's resolution (the figures are 96-DPI ones, as the form's were).
HWND addToolbar(TForm* parent, int x, int y, int w, bool enabled) {
    HWND wnd = parent->Handle();
    const int dpi = parent->PixelsPerInch();
    auto px = [dpi](int v) { return ::MulDiv(v, dpi, 96); };
    HWND tb = ::CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                                WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_LIST | CCS_NORESIZE | CCS_NODIVIDER, px(x),
                                px(y), px(w), px(28), wnd, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::SendMessageW(tb, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    const wchar_t* texts[] = {L"New", L"Open", L"Save"};
    TBBUTTON buttons[3] = {};
    for (int i = 0; i < 3; ++i) {
        buttons[i].iBitmap = I_IMAGENONE;
        buttons[i].idCommand = 100 + i;
        buttons[i].fsState = BYTE(enabled ? TBSTATE_ENABLED : 0);
        buttons[i].fsStyle = BTNS_AUTOSIZE | BTNS_SHOWTEXT;
        buttons[i].iString = INT_PTR(texts[i]);
    }
    if (enabled) buttons[1].fsState |= TBSTATE_CHECKED;
    ::SendMessageW(tb, TB_ADDBUTTONSW, 3, LPARAM(buttons));
    if (!enabled) ::EnableWindow(tb, FALSE);
    return tb;
}

PageWindow containersPage() {
    TForm* f = newForm(L"Gallery: status bar, group boxes, panels, toolbar", 460, 280);
    for (int col = 0; col < 2; ++col) {
        const bool on = col == 0;
        const int x = 12 + 218 * col;
        auto* g = place<TGroupBox>(f, x, 40, 200, 80, on ? L"Group box" : L"Disabled group", on);
        place<TCheckBox>(g, 12, 24, 150, 20, L"Inside", on);
        auto* raised = place<TPanel>(f, x, 128, 96, 60, L"Raised", on);
        raised->SetBevelOuter(bvRaised);
        auto* lowered = place<TPanel>(f, x + 104, 128, 96, 60, L"Lowered", on);
        lowered->SetBevelOuter(bvLowered);
    }
    auto* bar = new TStatusBar(f);
    bar->SetParent(f);
    for (const wchar_t* s : {L"Ready", L"Line 1", L"Insert"}) {
        auto* p = bar->Panels()->Add();
        p->SetText(s);
        p->SetWidth(120);
    }
    // Last: they need the form's window, and what is placed after it is in pixels.
    for (int col = 0; col < 2; ++col) addToolbar(f, 12 + 218 * col, 6, 200, col == 0);
    return {f, nullptr, {}};
}

INT_PTR CALLBACK dialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
        case WM_INITDIALOG:
            ::SetDlgItemTextW(dlg, 201, L"A standard dialog");
            ::CheckDlgButton(dlg, 202, BST_CHECKED);
            ::CheckRadioButton(dlg, 203, 204, 203);
            ::SendDlgItemMessageW(dlg, 205, CB_ADDSTRING, 0, LPARAM(L"A combo box"));
            ::SendDlgItemMessageW(dlg, 205, CB_SETCURSEL, 0, 0);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                ::DestroyWindow(dlg);
                return TRUE;
            }
            return FALSE;
        default: return FALSE;
    }
}

PageWindow dialogPage() {
    HWND dlg = ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kDialogTemplate), nullptr,
                                    &dialogProc, 0);
    if (dlg) ::SetWindowPos(dlg, nullptr, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return {nullptr, dlg, {}};
}

PageWindow mdiPage() {
    TForm* frame = newForm(L"Gallery: MDI frame", 460, 320);
    frame->SetBorderStyle(bsSizeable);
    frame->SetFormStyle(fsMDIForm);
    auto* menu = new TMainMenu(frame);
    addItem(frame, menu->Items(), L"&File");
    addItem(frame, menu->Items(), L"&Window");
    frame->SetMenu(menu);
    for (int i = 0; i < 2; ++i) {
        auto* child = new TForm(frame);
        child->SetFormStyle(fsMDIChild);
        child->SetCaption(L"Child " + std::to_wstring(i + 1));
        child->SetBounds(10 + 40 * i, 10 + 40 * i, 220, 140);
        place<TButton>(child, 12, 12, 100, 26, L"In a child", i == 0);
        child->Show();
    }
    return {frame, nullptr, {}};
}

}  // namespace

void pump(DWORD ms) {
    const DWORD start = ::GetTickCount();
    do {
        Application->ProcessMessages();
        ::Sleep(5);
    } while (::GetTickCount() - start < ms);
}

std::string programFolder() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring p(path);
    p.resize(p.find_last_of(L"\\/") + 1);
    return WideToUtf8(p);
}

const std::vector<std::string>& skinNames() {
    static const std::vector<std::string> names{"default", "dark", "rounded"};
    return names;
}

const std::vector<Page>& pages() {
    static const std::vector<Page> list{
        {"frame", L"frame and menus", framePage},
        {"buttons", L"buttons", buttonsPage},
        {"checks", L"check boxes and radio buttons", checksPage},
        {"edits", L"edits, combos, up-down, date-time", editsPage},
        {"lists", L"scroll bars, memo and lists", listsPage},
        {"tabs", L"tabs on four sides", tabsPage},
        {"header", L"header", headerPage},
        {"progress", L"progress and track bars", progressPage},
        {"containers", L"status bar, group boxes, panels, toolbar", containersPage},
        {"media", L"media player", mediaPage},
        {"dialog", L"a standard dialog box", dialogPage},
        {"mdi", L"MDI frame with children", mdiPage},
        {"surfaces", L"bare common controls and a property sheet", surfacesPage},
        {"painted", L"owner-drawn list and custom painting", paintedPage},
    };
    return list;
}

void closePage(const PageWindow& w) {
    if (w.form) {
        delete w.form;
    } else if (w.handle && ::IsWindow(w.handle)) {
        ::DestroyWindow(w.handle);
    }
}

namespace {
std::function<void(HWND)> gWhileOpen;

BOOL CALLBACK findBox(HWND wnd, LPARAM out) {
    wchar_t cls[16] = {};
    ::GetClassNameW(wnd, cls, 16);
    if (std::wstring(cls) == L"#32770" && ::IsWindowVisible(wnd)) {
        *reinterpret_cast<HWND*>(out) = wnd;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK boxTimer(HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), &findBox, LPARAM(&box));
    if (!box) return;  // not shown yet: the timer comes again
    ::KillTimer(nullptr, id);
    if (gWhileOpen) gWhileOpen(box);
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
}
}  // namespace

void showMessageBoxFor(HWND owner, const std::function<void(HWND box)>& whileOpen) {
    gWhileOpen = whileOpen;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 100, &boxTimer);
    ::MessageBoxW(owner, L"A message box of the system, dressed in the program's skin.", L"Gallery: message box",
                  MB_OKCANCEL | MB_ICONINFORMATION);
    ::KillTimer(nullptr, timer);
    gWhileOpen = nullptr;
}

}  // namespace qs::gallery
