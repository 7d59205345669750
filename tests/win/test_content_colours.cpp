// Content areas under a dark skin: edits, lists, combos, list views, trees and
// rich edits of a plain window and of a toolkit form draw in the skin's Window
// colour with readable text, keep the colours their program chose, follow a
// skin change, and come back pixel for pixel when unskinned.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <algorithm>

#include <cstdlib>
#include <map>
#include <memory>
#include <vector>

#include "Colour.h"
#include "Application.h"
#include "ComCtrlsTabs.h"
#include "ContentColours.h"
#include "StdCtrlsEdit.h"
#include "DesktopStyles.h"
#include "SkinRoutines.h"
#include "test_progress_util.h"
#include "test_winskinform_util.h"

using namespace qs;
using namespace qs::test;

namespace {

constexpr COLORREF kProgramYellow = RGB(250, 230, 40);
constexpr COLORREF kProgramGreen = RGB(0, 128, 0);
constexpr int kOwnColourEdit = 99;

// The host answers for one edit itself, as a program that colours a field does.
LRESULT CALLBACK hostProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    static HBRUSH yellow = CreateSolidBrush(kProgramYellow);
    if (m == WM_CTLCOLOREDIT && GetDlgCtrlID(reinterpret_cast<HWND>(lp)) == kOwnColourEdit) {
        SetBkColor(reinterpret_cast<HDC>(wp), kProgramYellow);
        return reinterpret_cast<LRESULT>(yellow);
    }
    return DefWindowProcW(w, m, wp, lp);
}

const wchar_t* hostClass() {
    static const wchar_t* name = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = hostProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = L"QsContentHost";
        RegisterClassW(&wc);
        LoadLibraryW(L"riched20.dll");
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
        InitCommonControlsEx(&icc);
        return L"QsContentHost";
    }();
    return name;
}

HWND child(HWND host, const wchar_t* cls, int id, RECT r, DWORD style, const wchar_t* text = L"") {
    return CreateWindowExW(WS_EX_CLIENTEDGE, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right, r.bottom,
                           host, reinterpret_cast<HMENU>(INT_PTR(id)), GetModuleHandleW(nullptr), nullptr);
}

// A window with one of each content control; the same every time, so a second
// one is the never-skinned twin of the first.
HWND makeHost(int x) {
    HWND h = CreateWindowExW(0, hostClass(), L"Content", WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, 30, 420, 360, nullptr,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
    child(h, L"EDIT", 1, {10, 10, 150, 24}, ES_AUTOHSCROLL, L"Edit text");
    child(h, L"EDIT", 2, {10, 40, 150, 24}, ES_READONLY, L"Read only");
    HWND lb = child(h, L"LISTBOX", 3, {10, 70, 150, 64}, LBS_NOINTEGRALHEIGHT);
    for (const wchar_t* s : {L"First", L"Second", L"Third"}) SendMessageW(lb, LB_ADDSTRING, 0, LPARAM(s));
    HWND cb = child(h, L"COMBOBOX", 4, {10, 140, 150, 120}, CBS_DROPDOWN);
    SendMessageW(cb, CB_ADDSTRING, 0, LPARAM(L"Combo item"));
    SetWindowTextW(cb, L"Combo text");
    HWND lv = child(h, WC_LISTVIEWW, 5, {180, 10, 200, 100}, LVS_REPORT | LVS_SHOWSELALWAYS);
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.cx = 150;
    col.pszText = const_cast<wchar_t*>(L"Name");
    SendMessageW(lv, LVM_INSERTCOLUMNW, 0, LPARAM(&col));
    for (int i = 0; i < 3; ++i) {
        LVITEMW it{};
        it.mask = LVIF_TEXT;
        it.iItem = i;
        it.pszText = const_cast<wchar_t*>(i == 0 ? L"Alpha" : (i == 1 ? L"Beta" : L"Gamma"));
        SendMessageW(lv, LVM_INSERTITEMW, 0, LPARAM(&it));
    }
    LVITEMW sel{};
    sel.stateMask = sel.state = LVIS_SELECTED;
    SendMessageW(lv, LVM_SETITEMSTATE, 1, LPARAM(&sel));  // "Beta"
    HWND tv = child(h, WC_TREEVIEWW, 6, {180, 120, 200, 90},
                    TVS_HASLINES | TVS_LINESATROOT | TVS_HASBUTTONS | TVS_SHOWSELALWAYS);
    TVINSERTSTRUCTW ins{};
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT;
    ins.item.pszText = const_cast<wchar_t*>(L"Root");
    ins.hParent = reinterpret_cast<HTREEITEM>(SendMessageW(tv, TVM_INSERTITEMW, 0, LPARAM(&ins)));
    for (const wchar_t* s : {L"Leaf one", L"Leaf two"}) {
        ins.item.pszText = const_cast<wchar_t*>(s);
        SendMessageW(tv, TVM_INSERTITEMW, 0, LPARAM(&ins));
    }
    SendMessageW(tv, TVM_EXPAND, TVE_EXPAND, LPARAM(ins.hParent));
    SendMessageW(tv, TVM_SELECTITEM, TVGN_CARET, LPARAM(ins.hParent));
    child(h, RICHEDIT_CLASSW, 7, {10, 270, 150, 40}, ES_MULTILINE, L"Rich text");
    HWND own = child(h, WC_LISTVIEWW, 8, {180, 220, 95, 60}, LVS_REPORT);
    // One column as wide as the list: under Wine an item-less header paints
    // nothing of its own, so what shows there is whatever was drawn last.
    SendMessageW(own, LVM_INSERTCOLUMNW, 0, LPARAM(&col));
    SendMessageW(own, LVM_SETBKCOLOR, 0, LPARAM(kProgramGreen));
    child(h, DATETIMEPICK_CLASSW, 9, {285, 220, 95, 24}, 0);
    child(h, L"EDIT", kOwnColourEdit, {180, 290, 200, 24}, 0, L"Program's own");
    pumpMessages(60);
    return h;
}

// Runs the application's loop, which toolkit forms need.
void pumpApp(DWORD ms) {
    const DWORD end = GetTickCount() + ms;
    do {
        while (Application->HandleMessage()) {
        }
        Sleep(1);
    } while (LONG(GetTickCount() - end) < 0);
}

const std::vector<int> kContentIds{1, 2, 3, 4, 5, 6, 7};

size_t countNear(const Image& img, COLORREF c, int tol) {
    size_t n = 0;
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x) {
            const COLORREF p = img.colorAt(x, y);
            if (std::abs(GetRValue(p) - GetRValue(c)) <= tol && std::abs(GetGValue(p) - GetGValue(c)) <= tol &&
                std::abs(GetBValue(p) - GetBValue(c)) <= tol)
                ++n;
        }
    return n;
}

Image clientOf(HWND w) {
    SetFocus(nullptr);  // no caret in any picture
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    pumpMessages(30);
    return captureClient(w);
}

// A capture of the part of each control that the control itself draws (the
// combo's edit field rather than its skinned button).
Image contentShot(HWND host, int id) {
    HWND w = GetDlgItem(host, id);
    if (id == 4) {
        COMBOBOXINFO ci{};
        ci.cbSize = sizeof(ci);
        GetComboBoxInfo(w, &ci);
        return clientOf(ci.hwndItem);
    }
    return clientOf(w);
}

std::vector<COLORREF> calendarColours(HWND dtp) {
    std::vector<COLORREF> c;
    for (int i = MCSC_BACKGROUND; i <= MCSC_TRAILINGTEXT; ++i) c.push_back(COLORREF(SendMessageW(dtp, DTM_GETMCCOLOR, i, 0)));
    return c;
}

}  // namespace

TEST(ContentColours, PlainWindowTakesTheDarkSkinKeepsProgramColoursAndComesBackExactly) {
    auto sd = loadCommittedSkin("dark");
    ASSERT_TRUE(sd->SkinLoaded());
    const COLORREF back = sd->ContentBack(), text = sd->ContentText();
    ASSERT_EQ(back, RGB(32, 33, 37));  // the dark skin's own Window colour
    HWND twin = makeHost(560);
    HWND host = makeHost(40);
    std::map<int, Image> plain;
    for (int id : kContentIds) plain[id] = contentShot(twin, id);
    const std::vector<COLORREF> plainCalendar = calendarColours(GetDlgItem(twin, 9));
    HWND tip = reinterpret_cast<HWND>(SendMessageW(GetDlgItem(host, 5), LVM_GETTOOLTIPS, 0, 0));

    auto fs = skinWindow(host, *sd);
    EXPECT_GE(ContentWindowCount(*fs), kContentIds.size() + 1);  // and the picker, the tool tip
    for (int id : kContentIds) {
        const Image img = contentShot(host, id);
        const size_t all = size_t(img.width) * img.height;
        // Mostly background, and some pixels exactly in the text colour.
        EXPECT_GT(countNear(img, back, 0), all / 2) << "control " << id;
        EXPECT_GT(countNear(img, text, 0), 5u) << "control " << id;
        // No white inside: the edit border's inner ring and the list's header
        // are drawn by their own skins, the tree's expand boxes by the system.
        int top = 1;
        if (id == 5) {
            RECT hr{};
            GetWindowRect(reinterpret_cast<HWND>(SendMessageW(GetDlgItem(host, 5), LVM_GETHEADER, 0, 0)), &hr);
            top = hr.bottom - hr.top;
        }
        const Image inner = img.crop(1, top, img.width - 2, img.height - top - 1);
        EXPECT_LE(countNear(inner, RGB(255, 255, 255), 0) * 100, size_t(inner.width) * inner.height) << "control " << id;
        if (std::getenv("QS_CONTENT_SHOTS")) saveBmp(captureWindow(GetDlgItem(host, id)), L"content-" + std::to_wstring(id) + L".bmp");
    }
    EXPECT_GE(ContrastRatio(ColourNum(back), ColourNum(text)), 4.5);
    // A focused list's and tree's selection in the skin's Hilight.
    const COLORREF hilight = COLORREF(resolveColour(sd->Hilight));
    for (int id : {5, 6}) {
        HWND w = GetDlgItem(host, id);
        SetFocus(w);
        RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        pumpMessages(30);
        EXPECT_GT(countNear(captureClient(w), hilight, 0), 100u) << "control " << id;
        EXPECT_EQ(countNear(captureClient(w), GetSysColor(COLOR_HIGHLIGHT), 0), 0u) << "control " << id;
    }
    // Without the focus, a selection the control keeps showing goes on the
    // skin's face: the system's light face would carry the skin's light text.
    SetFocus(GetDlgItem(host, 1));
    for (int id : {5, 6}) {
        HWND w = GetDlgItem(host, id);
        RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        pumpMessages(30);
        EXPECT_EQ(countNear(captureClient(w), GetSysColor(COLOR_BTNFACE), 0), 0u) << "control " << id;
    }
    EXPECT_GT(countNear(captureClient(GetDlgItem(host, 6)), COLORREF(resolveColour(sd->ButtonFace)), 0), 100u);
    // Colours the program chose stay: its own edit brush, its list background.
    const Image yellowField = contentShot(host, kOwnColourEdit);
    EXPECT_GT(countNear(yellowField, kProgramYellow, 0), 1000u);
    // On the program's own background its text keeps the system's colour:
    // the skin's light text would vanish on yellow.
    EXPECT_EQ(countNear(yellowField, text, 0), 0u);
    EXPECT_GT(countNear(yellowField, GetSysColor(COLOR_WINDOWTEXT), 0), 5u);
    EXPECT_GT(countNear(contentShot(host, 8), kProgramGreen, 0), 1000u);
    // The picker's calendar and the list's tool tip, set once by message.
    const std::vector<COLORREF> cal = calendarColours(GetDlgItem(host, 9));
    EXPECT_EQ(cal[MCSC_BACKGROUND], back);
    EXPECT_EQ(cal[MCSC_MONTHBK], back);
    EXPECT_EQ(cal[MCSC_TEXT], text);
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(COLORREF(SendMessageW(tip, TTM_GETTIPBKCOLOR, 0, 0)), back);
    EXPECT_EQ(COLORREF(SendMessageW(tip, TTM_GETTIPTEXTCOLOR, 0, 0)), text);

    fs.reset();
    pumpMessages(60);
    for (int id : kContentIds) {
        const Image img = contentShot(host, id);
        EXPECT_EQ(countDifferences(img, plain[id]), 0u) << "control " << id;
    }
    EXPECT_EQ(countDifferences(contentShot(host, kOwnColourEdit), contentShot(twin, kOwnColourEdit)), 0u);
    EXPECT_EQ(countDifferences(contentShot(host, 8), contentShot(twin, 8)), 0u);
    EXPECT_EQ(calendarColours(GetDlgItem(host, 9)), plainCalendar);
    EXPECT_EQ(COLORREF(SendMessageW(tip, TTM_GETTIPBKCOLOR, 0, 0)), GetSysColor(COLOR_INFOBK));
    DestroyWindow(host);
    DestroyWindow(twin);
}

// Windows of another thread are neither skinned, sent pointers nor waited
// for: their thread here is busy and pumps no messages.
struct OtherThread {
    HWND host, rich = nullptr, edit = nullptr;
    HANDLE made = CreateEventW(nullptr, TRUE, FALSE, nullptr), release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
};
DWORD WINAPI otherThreadMain(void* p) {
    auto& o = *static_cast<OtherThread*>(p);
    o.rich = CreateWindowExW(WS_EX_NOPARENTNOTIFY, RICHEDIT_CLASSW, L"other thread", WS_CHILD | WS_VISIBLE | ES_MULTILINE,
                             10, 10, 150, 40, o.host, nullptr, GetModuleHandleW(nullptr), nullptr);
    o.edit = CreateWindowExW(WS_EX_NOPARENTNOTIFY, L"EDIT", L"other thread", WS_CHILD | WS_VISIBLE, 10, 60, 150, 24,
                             o.host, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetEvent(o.made);
    WaitForSingleObject(o.release, 4000);
    DestroyWindow(o.rich);
    DestroyWindow(o.edit);
    return 0;
}

TEST(ContentColours, WindowsOfAnotherThreadAreLeftAlone) {
    auto sd = loadCommittedSkin("dark");
    ASSERT_TRUE(sd->SkinLoaded());
    HWND host = CreateWindowExW(0, hostClass(), L"Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 30, 300, 200, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
    OtherThread o{host};
    HANDLE thread = CreateThread(nullptr, 0, otherThreadMain, &o, 0, nullptr);
    auto waitPumping = [](HANDLE h) {
        while (MsgWaitForMultipleObjects(1, &h, FALSE, 10000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) pumpMessages(0);
    };
    waitPumping(o.made);
    ASSERT_NE(o.rich, nullptr);
    const DWORD start = GetTickCount();
    auto fs = skinWindow(host, *sd);
    const DWORD took = GetTickCount() - start;
    SetEvent(o.release);
    waitPumping(thread);
    EXPECT_LT(took, 2000u) << "the skin waited for the other thread";
    EXPECT_EQ(ContentWindowCount(*fs), 0u);
    EXPECT_EQ(FindSkinByHandle(fs.get(), o.edit), nullptr) << "another thread's edit was subclassed";
    fs.reset();
    DestroyWindow(host);
    for (HANDLE h : {thread, o.made, o.release}) CloseHandle(h);
}

namespace {
// Under visual styles tips and calendars ignore the colours set on them: a
// stand-in for uxtheme says every window is themed and records what is asked.
std::vector<std::pair<HWND, bool>> gThemeCalls;  // (window, taken out)
HANDLE WINAPI themedEverywhere(HWND) { return reinterpret_cast<HANDLE>(1); }
HRESULT WINAPI recordSetTheme(HWND w, LPCWSTR app, LPCWSTR ids) {
    const bool out = app && !*app && ids && !*ids, back = !app && !ids;
    if (out || back) gThemeCalls.push_back({w, out});
    return S_OK;
}
}  // namespace

TEST(ContentColours, TipsAndCalendarsLeaveVisualStylesWhileSkinnedAndGetThemBack) {
    const TDesktopApi saved = DesktopApi();
    DesktopApi().getWindowTheme = themedEverywhere;
    DesktopApi().setWindowTheme = recordSetTheme;
    gThemeCalls.clear();
    auto sd = loadCommittedSkin("dark");
    HWND host = makeHost(40);
    HWND tip = reinterpret_cast<HWND>(SendMessageW(GetDlgItem(host, 5), LVM_GETTOOLTIPS, 0, 0));
    HWND cal = reinterpret_cast<HWND>(SendMessageW(GetDlgItem(host, 9), DTM_GETMONTHCAL, 0, 0));
    ASSERT_NE(tip, nullptr);
    auto fs = skinWindow(host, *sd);
    auto calls = [](HWND w, bool out) { return std::count(gThemeCalls.begin(), gThemeCalls.end(), std::make_pair(w, out)); };
    EXPECT_EQ(calls(tip, true), 1);
    // Wine keeps a picker's calendar for its life; Windows makes it at each drop-down.
    if (cal) EXPECT_EQ(calls(cal, true), 1);
    fs.reset();
    EXPECT_EQ(calls(tip, false), 1);
    if (cal) EXPECT_EQ(calls(cal, false), 1);
    // Every window taken out (the other tips too) got its styles back once.
    for (const auto& [w, out] : gThemeCalls) EXPECT_EQ(calls(w, !out), 1) << w;
    DesktopApi() = saved;
    DestroyWindow(host);
}

TEST(ContentColours, ToolkitControlsFollowASkinChangeAndKeepTheirOwnColour) {
    auto sd = loadCommittedSkin("dark");
    auto form = makeShownForm(420, 300);
    auto* edit = new TEdit(form.get());
    edit->SetParent(form.get());
    edit->SetBounds(10, 10, 150, 24);
    edit->SetText(L"Toolkit edit");
    auto* memo = new TMemo(form.get());
    memo->SetParent(form.get());
    memo->SetBounds(10, 40, 150, 60);
    memo->SetText(L"Memo line");
    auto* own = new TListBox(form.get());
    own->SetParent(form.get());
    own->SetBounds(10, 110, 150, 60);
    own->Items().Add(L"Own colour");
    own->SetColor(TColor(kProgramYellow));
    auto* lv = new TListView(form.get());
    lv->SetParent(form.get());
    lv->SetViewStyle(vsReport);
    lv->SetBounds(180, 10, 200, 100);
    lv->Columns()->Add()->SetCaption(L"Name");
    lv->Items()->Add(L"Row", {});
    pumpApp(60);
    const Image plainEdit = clientOf(edit->Handle()), plainMemo = clientOf(memo->Handle());
    const Image plainList = clientOf(lv->Handle()), plainOwn = clientOf(own->Handle());

    auto fs = std::make_unique<TWinSkinForm>(nullptr);
    fs->FHandle = form->Handle();
    fs->FName = "TForm";
    fs->AttachForm(sd.get(), form.get());
    PostMessageW(form->Handle(), WM_SKIN_ACTIVATE, 0, kSkinActivateParam);
    pumpApp(100);
    for (HWND w : {edit->Handle(), memo->Handle(), lv->Handle()}) {
        const Image img = clientOf(w);
        EXPECT_GT(countNear(img, sd->ContentBack(), 0), size_t(img.width) * img.height / 2);
        EXPECT_GT(countNear(img, sd->ContentText(), 0), 5u);
    }
    const Image ownSkinned = clientOf(own->Handle());
    EXPECT_GT(countNear(ownSkinned, kProgramYellow, 0), size_t(ownSkinned.width) * ownSkinned.height / 2);

    // A new skin reaches the same controls without another classification.
    auto light = loadCommittedSkin("rounded");
    sd->SetStoredSkin(light->StoredSkin());
    ASSERT_TRUE(sd->LoadSkin());
    fs->SkinChanged();
    pumpApp(60);
    ASSERT_NE(sd->ContentBack(), RGB(32, 33, 37));
    for (HWND w : {edit->Handle(), lv->Handle()}) {
        const Image img = clientOf(w);
        EXPECT_GT(countNear(img, sd->ContentBack(), 0), size_t(img.width) * img.height / 2);
    }

    fs.reset();
    pumpApp(60);
    EXPECT_EQ(countDifferences(clientOf(edit->Handle()), plainEdit), 0u);
    EXPECT_EQ(countDifferences(clientOf(memo->Handle()), plainMemo), 0u);
    EXPECT_EQ(countDifferences(clientOf(lv->Handle()), plainList), 0u);
    EXPECT_EQ(countDifferences(clientOf(own->Handle()), plainOwn), 0u);
}

TEST(ContentColours, ControlsMadeAfterTheSkinCameTakeItToo) {
    // An edit made anew (as a notepad does when word wrap changes) and a
    // list made on demand, both after activation.
    auto sd = loadCommittedSkin("dark");
    HWND host = makeHost(40);
    auto fs = skinWindow(host, *sd);
    HWND edit = child(host, L"EDIT", 20, {10, 320, 150, 24}, ES_AUTOHSCROLL, L"Made later");
    HWND lv = child(host, WC_LISTVIEWW, 21, {180, 320, 100, 30}, LVS_REPORT);
    pumpMessages(60);
    const Image img = clientOf(edit);
    EXPECT_GT(countNear(img, sd->ContentBack(), 0), size_t(img.width) * img.height / 2);
    EXPECT_GT(countNear(img, sd->ContentText(), 0), 5u);
    EXPECT_EQ(COLORREF(SendMessageW(lv, LVM_GETBKCOLOR, 0, 0)), sd->ContentBack());
    fs.reset();
    EXPECT_EQ(COLORREF(SendMessageW(lv, LVM_GETBKCOLOR, 0, 0)), GetSysColor(COLOR_WINDOW));
    DestroyWindow(host);
}

TEST(ContentColours, ColoursTheProgramSetsWhileSkinnedOutliveASkinChangeAndTheUnskin) {
    auto sd = loadCommittedSkin("dark");
    HWND host = makeHost(40);
    auto fs = skinWindow(host, *sd);
    constexpr COLORREF kBlue = RGB(10, 20, 200), kRed = RGB(200, 10, 10), kPink = RGB(250, 200, 220);
    HWND lv = GetDlgItem(host, 5), tv = GetDlgItem(host, 6), rich = GetDlgItem(host, 7);
    SendMessageW(lv, LVM_SETBKCOLOR, 0, LPARAM(kBlue));
    SendMessageW(tv, TVM_SETTEXTCOLOR, 0, LPARAM(kRed));
    SendMessageW(rich, EM_SETBKGNDCOLOR, 0, LPARAM(kPink));
    // Typed since the skin came: still to be saved after any skin change.
    SendMessageW(rich, EM_SETSEL, 0, 0);
    SendMessageW(rich, EM_REPLACESEL, TRUE, LPARAM(L"typed "));
    ASSERT_NE(SendMessageW(rich, EM_GETMODIFY, 0, 0), 0);

    auto rounded = loadCommittedSkin("rounded");
    sd->SetStoredSkin(rounded->StoredSkin());
    ASSERT_TRUE(sd->LoadSkin());
    fs->SkinChanged();
    pumpMessages(30);
    EXPECT_EQ(COLORREF(SendMessageW(lv, LVM_GETBKCOLOR, 0, 0)), kBlue);
    EXPECT_EQ(COLORREF(SendMessageW(tv, TVM_GETTEXTCOLOR, 0, 0)), kRed);
    // What the skin set and the program left alone follows the new skin.
    EXPECT_EQ(COLORREF(SendMessageW(tv, TVM_GETBKCOLOR, 0, 0)), sd->ContentBack());
    EXPECT_NE(SendMessageW(rich, EM_GETMODIFY, 0, 0), 0);
    const COLORREF richBack = COLORREF(SendMessageW(rich, EM_SETBKGNDCOLOR, 0, LPARAM(kPink)));
    EXPECT_EQ(richBack, kPink);

    fs.reset();
    pumpMessages(30);
    EXPECT_EQ(COLORREF(SendMessageW(lv, LVM_GETBKCOLOR, 0, 0)), kBlue);
    EXPECT_EQ(COLORREF(SendMessageW(tv, TVM_GETTEXTCOLOR, 0, 0)), kRed);
    EXPECT_EQ(COLORREF(SendMessageW(rich, EM_SETBKGNDCOLOR, 0, LPARAM(kPink))), kPink);
    // The skin's own colours went: the tree's background is the system's again.
    const COLORREF treeBack = COLORREF(SendMessageW(tv, TVM_GETBKCOLOR, 0, 0));
    EXPECT_TRUE(treeBack == COLORREF(-1) || treeBack == GetSysColor(COLOR_WINDOW));
    DestroyWindow(host);
}
