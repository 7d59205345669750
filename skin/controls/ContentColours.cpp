#include "ContentColours.h"

#include <commctrl.h>
#include <richedit.h>

#include <array>
#include <cwctype>
#include <string>
#include <unordered_map>
#include <vector>

#include "Colour.h"
#include "Controls.h"
#include "Forms.h"
#include "ProcessPalette.h"
#include "SkinData.h"
#include "SkinForm.h"
#include "SkinRoutines.h"
#include "WindowTable.h"

namespace qs {

namespace {

enum class Kind : uint8_t { None, Edit, ListBox, Combo, ListView, TreeView, RichEdit, DateTime, ToolTip };

// One window whose colours the skin took. `saved` holds what the window had
// for each channel whose bit is set in `changed`; the channels are numbered
// per kind (see applyTo).
struct Entry {
    HWND wnd = nullptr;
    Kind kind = Kind::None;
    uint8_t changed = 0;
    std::array<COLORREF, 6> saved{};
    // What the skin last wrote on each channel: a channel that reads
    // otherwise was set by the program since, and is the program's again.
    std::array<COLORREF, 6> written{};
    std::array<HWND, 2> parts{};  // a combo's edit and list
    bool richBackWasSystem = false;
    HWND unstyled = nullptr;  // taken out of visual styles (the tip, the picker's calendar)
};

// Content window -> the form skin that took it in. The parents' colour
// requests look their child up here on every paint, so it is a table in the
// process, not a window property.
TWindowTable& contentTable() {
    static TWindowTable table;
    return table;
}

// Content windows whose current paint asked for item notifications only
// because the skin did: their item notifications are the skin's own.
TWindowTable& ownItemPaint() {
    static TWindowTable table;
    return table;
}

// What kind of content a window taken in is (list views and trees only).
TWindowTable& selectionKinds() {
    static TWindowTable table;
    return table;
}

std::unordered_map<const TWinSkinForm*, std::vector<Entry>>& formEntries() {
    static std::unordered_map<const TWinSkinForm*, std::vector<Entry>> map;
    return map;
}

Kind toolkitKind(const TWinControl* c) {
    for (const TClassInfo* ci = &c->ClassInfo(); ci; ci = ci->parent) {
        const std::string& n = ci->name;
        if (n == "TCustomRichEdit") return Kind::RichEdit;
        if (n == "TCustomMemo" || n == "TCustomEdit") return Kind::Edit;
        if (n == "TCustomListBox") return Kind::ListBox;
        if (n == "TCustomComboBox") return Kind::Combo;
        if (n == "TCustomListView") return Kind::ListView;
        if (n == "TCustomTreeView") return Kind::TreeView;
        if (n == "TDateTimePicker") return Kind::DateTime;
    }
    return Kind::None;
}

Kind classKind(HWND w) {
    wchar_t buf[64] = {};
    if (!GetClassNameW(w, buf, 64)) return Kind::None;
    std::wstring c(buf);
    for (auto& ch : c) ch = wchar_t(std::towlower(ch));
    if (c == L"edit") return Kind::Edit;
    if (c == L"listbox") return Kind::ListBox;
    if (c == L"combobox") return Kind::Combo;
    if (c == L"syslistview32") return Kind::ListView;
    if (c == L"systreeview32") return Kind::TreeView;
    if (c.starts_with(L"richedit")) return Kind::RichEdit;
    if (c == L"sysdatetimepick32") return Kind::DateTime;
    if (c == L"tooltips_class32") return Kind::ToolTip;
    return Kind::None;
}

struct Palette {
    COLORREF back, text, line, hilight, hilightText, trailing;
};

Palette paletteOf(const TSkinData& d) {
    const COLORREF back = d.ContentBack(), text = d.ContentText();
    const COLORREF mid = COLORREF(MixColours(ColourNum(text), ColourNum(back), 50));
    return {back, text, mid, COLORREF(resolveColour(d.Hilight)), COLORREF(resolveColour(d.HilightText)), mid};
}

// The system's own colours even while the process palette answers for
// them: what counts as a control's default is what the system gave it.
COLORREF sys(int index) { return palette::SystemColour(index); }

LRESULT send(HWND w, UINT m, WPARAM wp = 0, LPARAM lp = 0) { return SendMessageW(w, m, wp, lp); }

// Channels of the message-driven kinds: getter, setter and, per channel, the
// colours that count as "the control's own default" (anything else was set by
// the program and is kept).
void setChannel(const Entry& e, int ch, COLORREF c) {
    switch (e.kind) {
        case Kind::ListView: {
            static constexpr UINT set[] = {LVM_SETBKCOLOR, LVM_SETTEXTBKCOLOR, LVM_SETTEXTCOLOR, LVM_SETINSERTMARKCOLOR};
            send(e.wnd, set[ch], 0, LPARAM(c));
            break;
        }
        case Kind::TreeView: {
            static constexpr UINT set[] = {TVM_SETBKCOLOR, TVM_SETTEXTCOLOR, TVM_SETLINECOLOR};
            send(e.wnd, set[ch], 0, LPARAM(c));
            break;
        }
        case Kind::DateTime: send(e.wnd, DTM_SETMCCOLOR, WPARAM(ch), LPARAM(c)); break;
        case Kind::ToolTip: send(e.wnd, ch == 0 ? TTM_SETTIPBKCOLOR : TTM_SETTIPTEXTCOLOR, WPARAM(c), 0); break;
        default: break;
    }
}

COLORREF paletteColour(const Entry& e, int ch, const Palette& p) {
    switch (e.kind) {
        case Kind::ListView: return ch == 2 || ch == 3 ? p.text : p.back;
        case Kind::TreeView: return ch == 0 ? p.back : (ch == 1 ? p.text : p.line);
        case Kind::DateTime:
            switch (ch) {
                case MCSC_TEXT: return p.text;
                case MCSC_TITLEBK: return p.hilight;
                case MCSC_TITLETEXT: return p.hilightText;
                case MCSC_TRAILINGTEXT: return p.trailing;
                default: return p.back;  // background and month background
            }
        case Kind::ToolTip: return ch == 0 ? p.back : p.text;
        default: return 0;
    }
}

int channelCount(Kind k) {
    switch (k) {
        case Kind::ListView: return 4;
        case Kind::TreeView: return 3;
        case Kind::DateTime: return 6;
        case Kind::ToolTip: return 2;
        default: return 0;
    }
}

// What the window has now on channel `ch`, and whether that is the control's
// default (which the skin may replace).
COLORREF readChannel(const Entry& e, int ch, bool& isDefault) {
    const COLORREF none = CLR_NONE, dflt = CLR_DEFAULT;
    COLORREF c = 0;
    switch (e.kind) {
        case Kind::ListView: {
            static constexpr UINT get[] = {LVM_GETBKCOLOR, LVM_GETTEXTBKCOLOR, LVM_GETTEXTCOLOR, LVM_GETINSERTMARKCOLOR};
            c = COLORREF(send(e.wnd, get[ch]));
            if (ch == 0 || ch == 1) isDefault = c == sys(COLOR_WINDOW) || c == dflt;
            else isDefault = c == sys(COLOR_WINDOWTEXT) || c == dflt;
            break;
        }
        case Kind::TreeView: {
            static constexpr UINT get[] = {TVM_GETBKCOLOR, TVM_GETTEXTCOLOR, TVM_GETLINECOLOR};
            c = COLORREF(send(e.wnd, get[ch]));
            const COLORREF own = ch == 0 ? sys(COLOR_WINDOW) : sys(COLOR_WINDOWTEXT);
            isDefault = c == none || c == dflt || c == own || (ch == 2 && (c == sys(COLOR_GRAYTEXT) || c == sys(COLOR_BTNSHADOW)));
            break;
        }
        case Kind::DateTime: {
            c = COLORREF(send(e.wnd, DTM_GETMCCOLOR, WPARAM(ch)));
            switch (ch) {
                case MCSC_TEXT: isDefault = c == sys(COLOR_WINDOWTEXT); break;
                case MCSC_TITLEBK: isDefault = c == sys(COLOR_ACTIVECAPTION) || c == sys(COLOR_HIGHLIGHT); break;
                case MCSC_TITLETEXT: isDefault = c == sys(COLOR_WINDOW) || c == sys(COLOR_CAPTIONTEXT) || c == sys(COLOR_HIGHLIGHTTEXT); break;
                case MCSC_TRAILINGTEXT: isDefault = c == sys(COLOR_GRAYTEXT); break;
                default: isDefault = c == sys(COLOR_WINDOW); break;
            }
            break;
        }
        case Kind::ToolTip:
            c = COLORREF(send(e.wnd, ch == 0 ? TTM_GETTIPBKCOLOR : TTM_GETTIPTEXTCOLOR));
            isDefault = c == sys(ch == 0 ? COLOR_INFOBK : COLOR_INFOTEXT);
            break;
        default: isDefault = false; break;
    }
    return c;
}

// ---- rich edits: background and the default text colour ----

COLORREF richDefaultText(const Entry& e, bool& automatic) {
    CHARFORMAT2W cf{};
    cf.cbSize = sizeof(cf);
    send(e.wnd, EM_GETCHARFORMAT, SCF_DEFAULT, LPARAM(&cf));
    automatic = (cf.dwEffects & CFE_AUTOCOLOR) != 0;
    return cf.crTextColor;
}

void richSet(Entry& e, const Palette& p, bool first) {
    // Setting a colour marks the text changed: what the user typed since
    // the skin came must stay marked, or the program would not offer to save.
    const bool modified = send(e.wnd, EM_GETMODIFY) != 0;
    if (first) {
        // The only way to read the background is to set one: it returns the old.
        const COLORREF old = COLORREF(send(e.wnd, EM_SETBKGNDCOLOR, 0, LPARAM(p.back)));
        // A rich edit on the system's colour answers with what the system
        // says now, which is the palette's colour while the palette is on.
        if (old == sys(COLOR_WINDOW) || (palette::IsOn() && old == ::GetSysColor(COLOR_WINDOW))) {
            e.richBackWasSystem = true;
            e.changed |= 1;
        } else {
            send(e.wnd, EM_SETBKGNDCOLOR, 0, LPARAM(old));  // the program's own colour
        }
        CHARFORMAT2W cf{};
        cf.cbSize = sizeof(cf);
        send(e.wnd, EM_GETCHARFORMAT, SCF_DEFAULT, LPARAM(&cf));
        if (cf.dwEffects & CFE_AUTOCOLOR) e.changed |= 2;
    } else if (e.changed & 1) {
        // The only way to read the background is to set one.
        const COLORREF old = COLORREF(send(e.wnd, EM_SETBKGNDCOLOR, 0, LPARAM(p.back)));
        if (old != e.written[0]) {
            send(e.wnd, EM_SETBKGNDCOLOR, 0, LPARAM(old));
            e.changed &= uint8_t(~1u);
        }
    }
    if (!first && (e.changed & 2)) {
        bool automatic = false;
        if (richDefaultText(e, automatic) != e.written[1] || automatic) e.changed &= uint8_t(~2u);
    }
    if (e.changed & 1) e.written[0] = p.back;
    if (e.changed & 2) {
        e.written[1] = p.text;
        CHARFORMAT2W cf{};
        cf.cbSize = sizeof(cf);
        cf.dwMask = CFM_COLOR;
        cf.crTextColor = p.text;
        send(e.wnd, EM_SETCHARFORMAT, SCF_DEFAULT, LPARAM(&cf));
    }
    if (!modified) send(e.wnd, EM_SETMODIFY, FALSE);
}

void richRestore(const Entry& e) {
    const bool modified = send(e.wnd, EM_GETMODIFY) != 0;
    if (e.changed & 1) {
        const COLORREF old = COLORREF(send(e.wnd, EM_SETBKGNDCOLOR, 1, 0));
        if (old != e.written[0]) send(e.wnd, EM_SETBKGNDCOLOR, 0, LPARAM(old));  // the program's since
    }
    bool automatic = false;
    if ((e.changed & 2) && richDefaultText(e, automatic) == e.written[1] && !automatic) {
        CHARFORMAT2W cf{};
        cf.cbSize = sizeof(cf);
        cf.dwMask = CFM_COLOR;
        cf.dwEffects = CFE_AUTOCOLOR;
        send(e.wnd, EM_SETCHARFORMAT, SCF_DEFAULT, LPARAM(&cf));
    }
    if (!modified) send(e.wnd, EM_SETMODIFY, FALSE);
}

void repaint(HWND w) {
    if (IsWindowVisible(w)) InvalidateRect(w, nullptr, TRUE);
}

// A window that got a control skin just now was invalidated by its attach;
// one more invalidation would only cost a trip to the server.
void repaintUnskinned(const TWinSkinForm& fs, HWND w) {
    if (!FindSkinByHandle(&fs, w)) repaint(w);
}

// First application to a window: reads what it has, takes the skin's colours
// where the window still has its defaults. False when nothing was taken.
bool applyFirst(Entry& e, TWinSkinForm& fs, const Palette& p, bool formRepaints) {
    const auto invalidate = [&](HWND w) {
        if (!formRepaints) repaintUnskinned(fs, w);
    };
    switch (e.kind) {
        case Kind::Edit:
        case Kind::ListBox:
            contentTable().Set(e.wnd, &fs);
            invalidate(e.wnd);
            return true;
        case Kind::Combo: {
            contentTable().Set(e.wnd, &fs);
            COMBOBOXINFO ci{};
            ci.cbSize = sizeof(ci);
            if (GetComboBoxInfo(e.wnd, &ci)) {
                e.parts = {ci.hwndItem != e.wnd ? ci.hwndItem : nullptr, ci.hwndList};
                // A part some other form took in stays that form's to give back.
                for (HWND& part : e.parts)
                    if (part && !contentTable().Get(part)) contentTable().Set(part, &fs);
                    else part = nullptr;
            }
            invalidate(e.wnd);
            return true;
        }
        case Kind::RichEdit:
            richSet(e, p, true);
            if (e.changed) contentTable().Set(e.wnd, &fs);
            return e.changed != 0;
        default: {
            const int n = channelCount(e.kind);
            for (int ch = 0; ch < n; ++ch) {
                bool isDefault = false;
                const COLORREF had = readChannel(e, ch, isDefault);
                if (!isDefault) continue;
                e.saved[ch] = had;
                e.changed |= uint8_t(1u << ch);
                e.written[ch] = paletteColour(e, ch, p);
                setChannel(e, ch, e.written[ch]);
            }
            if (!e.changed) return false;
            // Drawn in visual styles, a tip and a calendar keep the theme's
            // colours whatever is set on them.
            HWND styled = e.kind == Kind::ToolTip    ? e.wnd
                          : e.kind == Kind::DateTime ? reinterpret_cast<HWND>(send(e.wnd, DTM_GETMONTHCAL))
                                                     : nullptr;
            if (styled && TakeVisualStyles(styled)) e.unstyled = styled;
            contentTable().Set(e.wnd, &fs);
            if (e.kind == Kind::ListView || e.kind == Kind::TreeView)
                selectionKinds().Set(e.wnd, reinterpret_cast<void*>(uintptr_t(e.kind)));
            invalidate(e.wnd);
            return true;
        }
    }
}

// True while the channel still holds what the skin wrote on it.
bool stillOurs(const Entry& e, int ch) {
    bool isDefault = false;
    return readChannel(e, ch, isDefault) == e.written[ch];
}

void applyAgain(Entry& e, const Palette& p) {
    if (e.kind == Kind::RichEdit) return richSet(e, p, false);
    const int n = channelCount(e.kind);
    for (int ch = 0; ch < n; ++ch) {
        if (!(e.changed & (1u << ch))) continue;
        if (!stillOurs(e, ch)) {
            e.changed &= uint8_t(~(1u << ch));
            continue;
        }
        e.written[ch] = paletteColour(e, ch, p);
        setChannel(e, ch, e.written[ch]);
    }
}

void restore(const Entry& e) {
    contentTable().Remove(e.wnd);
    selectionKinds().Remove(e.wnd);
    ownItemPaint().Remove(e.wnd);
    for (HWND part : e.parts) contentTable().Remove(part);
    if (!IsWindow(e.wnd)) return;
    // A picker's calendar may have gone with its drop-down (its handle then
    // may be another window's).
    if (e.unstyled &&
        (e.unstyled == e.wnd || reinterpret_cast<HWND>(send(e.wnd, DTM_GETMONTHCAL)) == e.unstyled))
        GiveVisualStylesBack(e.unstyled);
    if (e.kind == Kind::RichEdit) {
        richRestore(e);
    } else {
        const int n = channelCount(e.kind);
        for (int ch = 0; ch < n; ++ch)
            if ((e.changed & (1u << ch)) && stillOurs(e, ch)) setChannel(e, ch, e.saved[ch]);
    }
    repaint(e.wnd);
    for (HWND part : e.parts)
        if (part) repaint(part);
}

struct Walk {
    TWinSkinForm* fs;
    std::vector<Entry>* list;
    const Palette* palette;
    HWND root;
    // A toolkit form repaints all of itself after its classification.
    bool formRepaints;
};

void take(Walk& w, HWND h, Kind kind) {
    if (kind == Kind::None || contentTable().Get(h)) return;
    // Colours are read and set by sent messages, some with pointers into this
    // process, all waited for: only this thread's windows are asked (another
    // process's cannot read them, another thread may be busy or hung).
    if (GetWindowThreadProcessId(h, nullptr) != GetCurrentThreadId()) return;
    Entry e;
    e.wnd = h;
    e.kind = kind;
    if (applyFirst(e, *w.fs, *w.palette, w.formRepaints)) w.list->push_back(e);
}

void visit(Walk& w, HWND h, TWinControl* c) {
    const TSkinData& d = *w.fs->FSkinData;
    Kind kind;
    if (c) {
        if (c->Tag() == d.DisableTag()) return;
        kind = toolkitKind(c);
    } else {
        kind = classKind(h);
        if (kind == Kind::ToolTip) return;  // a child tool tip is nobody's content
    }
    if (kind == Kind::Edit && !inSet(d.SkinControls(), xcEdit)) return;
    if (kind == Kind::Combo && !inSet(d.SkinControls(), xcCombo)) return;
    take(w, h, kind);
}

BOOL CALLBACK visitChild(HWND h, LPARAM lp) {
    visit(*reinterpret_cast<Walk*>(lp), h, FindControl(h));
    return TRUE;
}

BOOL CALLBACK visitThreadWindow(HWND h, LPARAM lp) {
    Walk& w = *reinterpret_cast<Walk*>(lp);
    if (h == w.root || GetAncestor(h, GA_ROOTOWNER) != w.root) return TRUE;
    if (classKind(h) == Kind::ToolTip) take(w, h, Kind::ToolTip);
    return TRUE;
}

}  // namespace

void ApplyContentColours(TWinSkinForm& fs, bool late) {
    if (!fs.FSkinData || !fs.FHandle || !IsWindow(fs.FHandle)) return;
    auto& list = formEntries()[&fs];
    // Windows destroyed since the last pass leave (their handles may come back).
    std::erase_if(list, [](const Entry& e) {
        if (IsWindow(e.wnd)) return false;
        contentTable().Remove(e.wnd);
        selectionKinds().Remove(e.wnd);
        ownItemPaint().Remove(e.wnd);
        for (HWND part : e.parts) contentTable().Remove(part);
        return true;
    });
    const Palette p = paletteOf(*fs.FSkinData);
    Walk w{&fs, &list, &p, GetAncestor(fs.FHandle, GA_ROOT), fs.FControl != nullptr && !late};
    if (fs.FControl) {
        // The classification's own list: the toolkit knows its controls, the
        // server need not be asked for the children of each.
        std::vector<TWinControl*> controls;
        fs.FControl->GetTabOrderList(controls);
        for (TWinControl* c : controls)
            if (HWND h = c->HandleIfAllocated()) visit(w, h, c);
    } else {
        EnumChildWindows(fs.FHandle, visitChild, reinterpret_cast<LPARAM>(&w));
    }
    if (!(GetWindowLongPtrW(fs.FHandle, GWL_STYLE) & WS_CHILD))
        EnumThreadWindows(GetWindowThreadProcessId(fs.FHandle, nullptr), visitThreadWindow, reinterpret_cast<LPARAM>(&w));
}

void ContentColoursChanged(TWinSkinForm& fs) {
    auto it = formEntries().find(&fs);
    if (it == formEntries().end() || !fs.FSkinData) return;
    const Palette p = paletteOf(*fs.FSkinData);
    for (Entry& e : it->second)
        if (IsWindow(e.wnd)) applyAgain(e, p);
}

void RestoreContentColours(TWinSkinForm& fs) {
    auto it = formEntries().find(&fs);
    if (it == formEntries().end()) return;
    std::vector<Entry> list = std::move(it->second);
    formEntries().erase(it);
    for (const Entry& e : list) restore(e);
}

size_t ContentWindowCount(const TWinSkinForm& fs) {
    auto it = formEntries().find(&fs);
    return it == formEntries().end() ? 0 : it->second.size();
}

HBRUSH ContentBrushOf(HWND wnd) {
    auto* fs = static_cast<TWinSkinForm*>(contentTable().Get(wnd));
    return fs && fs->FSkinData ? fs->FSkinData->WindowBrush() : nullptr;
}

bool IsContentColourRequest(UINT msg, LPARAM child) {
    if (msg != WM_CTLCOLOREDIT && msg != WM_CTLCOLORLISTBOX && msg != WM_CTLCOLORSTATIC) return false;
    return contentTable().Get(reinterpret_cast<HWND>(child)) != nullptr;
}

bool AnswerContentColour(UINT msg, WPARAM wParam, LPARAM child, LRESULT& result) {
    if (msg != WM_CTLCOLOREDIT && msg != WM_CTLCOLORLISTBOX && msg != WM_CTLCOLORSTATIC) return false;
    auto* fs = static_cast<TWinSkinForm*>(contentTable().Get(reinterpret_cast<HWND>(child)));
    if (!fs) return false;
    const TSkinData* d = fs->FSkinData;
    HDC dc = reinterpret_cast<HDC>(wParam);
    if (!d || !d->WindowBrush() || !dc) return true;
    // What the system itself answers: window colours, or the face for the
    // static request a read-only or disabled edit makes. Anything else is the
    // program's choice and stays.
    const COLORREF window = sys(COLOR_WINDOW), face = sys(COLOR_BTNFACE);
    const auto systemBack = [&](COLORREF c) { return c == window || (msg == WM_CTLCOLORSTATIC && c == face); };
    bool ownBack = systemBack(GetBkColor(dc));
    if (ownBack && result) {
        LOGBRUSH lb{};
        ownBack = GetObjectW(reinterpret_cast<HBRUSH>(result), sizeof(lb), &lb) == sizeof(lb) && lb.lbStyle == BS_SOLID &&
                  systemBack(lb.lbColor);
    }
    // The skin's text goes only on the skin's background: on a background of
    // the program's own (a yellow warning field) its light text would vanish.
    if (ownBack && GetTextColor(dc) == sys(COLOR_WINDOWTEXT)) SetTextColor(dc, d->ContentText());
    if (ownBack) {
        SetBkColor(dc, d->ContentBack());
        result = reinterpret_cast<LRESULT>(d->WindowBrush());
    }
    return true;
}

namespace {

Kind selectionKind(LPARAM lParam) {
    const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
    if (!hdr || hdr->code != NM_CUSTOMDRAW) return Kind::None;
    return Kind(uintptr_t(selectionKinds().Get(hdr->hwndFrom)));
}

const TSkinData* skinOf(HWND w) {
    auto* fs = static_cast<TWinSkinForm*>(contentTable().Get(w));
    return fs ? fs->FSkinData : nullptr;
}

// A selected item gets the skin's selection colours while its control has
// the focus, and the skin's face and button text while it shows its selection
// without the focus: the control's own unfocused selection is the system's
// light face, under which the skin's light content text would vanish. A
// program's own colours for the item are kept.
void colourSelection(Kind kind, NMCUSTOMDRAW& cd, LRESULT& result) {
    const TSkinData* d = skinOf(cd.hdr.hwndFrom);
    if (!d) return;
    const bool focused = GetFocus() == cd.hdr.hwndFrom;
    const COLORREF back = COLORREF(resolveColour(focused ? d->Hilight : d->ButtonFace));
    const COLORREF text = COLORREF(resolveColour(focused ? d->HilightText : d->ButtonText));
    if (kind == Kind::ListView) {
        auto& lv = reinterpret_cast<NMLVCUSTOMDRAW&>(cd);
        if (!(SendMessageW(cd.hdr.hwndFrom, LVM_GETITEMSTATE, cd.dwItemSpec, LVIS_SELECTED) & LVIS_SELECTED)) return;
        if (!focused && !(GetWindowLongPtrW(cd.hdr.hwndFrom, GWL_STYLE) & LVS_SHOWSELALWAYS)) return;
        if (lv.clrTextBk != CLR_DEFAULT && lv.clrTextBk != sys(COLOR_HIGHLIGHT) && lv.clrTextBk != sys(COLOR_BTNFACE) &&
            lv.clrTextBk != d->ContentBack())
            return;
        // The control would put its own selection colours over ours while it
        // believes the item selected.
        cd.uItemState &= ~UINT(CDIS_SELECTED);
        lv.clrTextBk = back;
        lv.clrText = text;
        result |= CDRF_NEWFONT;
    } else {
        auto& tv = reinterpret_cast<NMTVCUSTOMDRAW&>(cd);
        if (tv.clrTextBk != sys(focused ? COLOR_HIGHLIGHT : COLOR_BTNFACE)) return;
        if (!focused && !(cd.uItemState & CDIS_SELECTED)) return;
        tv.clrTextBk = back;
        tv.clrText = text;
        result |= CDRF_NEWFONT;
    }
}

}  // namespace

bool IsContentNotify(UINT msg, LPARAM lParam) {
    return msg == WM_NOTIFY && selectionKind(lParam) != Kind::None;
}

bool ContentNotifyBefore(LPARAM lParam, LRESULT& result) {
    const Kind kind = selectionKind(lParam);
    if (kind == Kind::None) return false;
    auto& cd = *reinterpret_cast<NMCUSTOMDRAW*>(lParam);
    if (cd.dwDrawStage != CDDS_ITEMPREPAINT || !ownItemPaint().Get(cd.hdr.hwndFrom)) return false;
    result = CDRF_DODEFAULT;
    colourSelection(kind, cd, result);
    return true;
}

void ContentNotifyAfter(LPARAM lParam, LRESULT& result) {
    const Kind kind = selectionKind(lParam);
    if (kind == Kind::None) return;
    auto& cd = *reinterpret_cast<NMCUSTOMDRAW*>(lParam);
    if (cd.dwDrawStage == CDDS_PREPAINT) {
        // Only a paint the program leaves entirely to the control is ours to
        // watch item by item.
        const bool ours = result == CDRF_DODEFAULT;
        ownItemPaint().Set(cd.hdr.hwndFrom, ours ? cd.hdr.hwndFrom : nullptr);
        if (ours) result = CDRF_NOTIFYITEMDRAW;
    } else if (cd.dwDrawStage == CDDS_ITEMPREPAINT && !(result & CDRF_SKIPDEFAULT)) {
        colourSelection(kind, cd, result);
    }
}

}  // namespace qs
