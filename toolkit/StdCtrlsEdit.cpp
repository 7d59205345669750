// Controls of this family: edits, memos, list and combo boxes, scroll bars, up-downs and pickers.
#include "StdCtrlsEdit.h"

#include <richedit.h>

#include <algorithm>

#include "Application.h"
#include "ComCtrlsEdit.h"
#include "PropertyHelpers.h"

namespace qs {

const std::vector<std::string> kEditBorderStyleNames = {"bsNone", "bsSingle"};
const std::vector<std::string> kScrollStyleNames = {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"};
const std::vector<std::string> kEditCharCaseNames = {"ecNormal", "ecUpperCase", "ecLowerCase"};

namespace {
TStringList toUtf8List(const std::vector<std::wstring>& v) {
    TStringList out;
    out.reserve(v.size());
    for (auto& s : v) out.push_back(WideToUtf8(s));
    return out;
}
std::vector<std::wstring> toWideList(const TStringList& v) {
    std::vector<std::wstring> out;
    out.reserve(v.size());
    for (auto& s : v) out.push_back(Utf8ToWide(s));
    return out;
}
}  // namespace

// ---- TCustomEdit ----

const TClassInfo& TCustomEdit::StaticClassInfo() {
    using E = std::function<void(TObject*)>;
    static const TClassInfo info =
        TClassBuilder<TCustomEdit>("TCustomEdit", &TWinControl::StaticClassInfo())
            .enumeration("BorderStyle", kEditBorderStyleNames, [](const TCustomEdit& e) { return int(e.BorderStyle()); },
                         [](TCustomEdit& e, int v) { e.SetBorderStyle(TEditBorderStyle(v)); })
            .boolean("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly)
            .integer("MaxLength", [](const TCustomEdit& e) { return int64_t(e.MaxLength()); },
                     [](TCustomEdit& e, int64_t v) -> bool {
                         if (v < 0 || v > 0x7FFFFFFF) return false;
                         e.SetMaxLength(int(v));
                         return true;
                     })
            .integer("PasswordChar", [](const TCustomEdit& e) { return int64_t(e.PasswordChar()); },
                     [](TCustomEdit& e, int64_t v) -> bool {
                         if (v < 0 || v > 0xFFFF) return false;
                         e.SetPasswordChar(wchar_t(v));
                         return true;
                     })
            .enumeration("CharCase", kEditCharCaseNames, [](const TCustomEdit& e) { return int(e.CharCase()); },
                         [](TCustomEdit& e, int v) { e.SetCharCase(TEditCharCase(v)); })
            .boolean("HideSelection", &TCustomEdit::HideSelection, &TCustomEdit::SetHideSelection)
            .event<E>("OnChange", [](const TCustomEdit& e) { return e.OnChange; },
                      [](TCustomEdit& e, const E& f) { e.OnChange = f; })
            .build();
    return info;
}

const TClassInfo& TEdit::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TEdit>("TEdit", &TCustomEdit::StaticClassInfo()).creatable().build();
    return info;
}

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 121, 21);
    SetColor(clWindow);
    SetTabStop(true);
    // An edit's caption is what the user typed, never its name.
    SetControlStyle(ControlStyle() & ~uint32_t(csSetCaption));
}

void TCustomEdit::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.SysClassName = L"EDIT";
    p.Style |= EditStyle();
    if (FReadOnly) p.Style |= ES_READONLY;
    if (FCharCase == ecUpperCase) p.Style |= ES_UPPERCASE;
    if (FCharCase == ecLowerCase) p.Style |= ES_LOWERCASE;
    if (!FHideSelection) p.Style |= ES_NOHIDESEL;
    if (FPasswordChar && !(p.Style & ES_MULTILINE)) p.Style |= ES_PASSWORD;
    if (FBorderStyle == ebsSingle) p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::CreateHandle() {
    TWinControl::CreateHandle();
    if (FMaxLength) SendMessageW(FHandle, EM_LIMITTEXT, WPARAM(FMaxLength), 0);
    if (FPasswordChar) SendMessageW(FHandle, EM_SETPASSWORDCHAR, WPARAM(FPasswordChar), 0);
}

void TCustomEdit::SetBorderStyle(TEditBorderStyle b) {
    if (ChangeField(FBorderStyle, b)) RecreateWnd();
}

void TCustomEdit::SetReadOnly(bool v) {
    FReadOnly = v;
    if (FHandle) SendMessageW(FHandle, EM_SETREADONLY, v, 0);
}

void TCustomEdit::SetMaxLength(int v) {
    FMaxLength = std::max(v, 0);
    if (FHandle) SendMessageW(FHandle, EM_LIMITTEXT, WPARAM(FMaxLength), 0);
}

void TCustomEdit::SetPasswordChar(wchar_t c) {
    if (c == FPasswordChar) return;
    FPasswordChar = c;
    // ES_PASSWORD only takes effect at creation.
    RecreateWnd();
}

void TCustomEdit::SetCharCase(TEditCharCase c) {
    if (c == FCharCase) return;
    FCharCase = c;
    SetWindowStyleBits(ES_UPPERCASE | ES_LOWERCASE,
                       c == ecUpperCase ? ES_UPPERCASE : c == ecLowerCase ? ES_LOWERCASE : 0);
    // The system converts only what is typed from now on; convert what is there.
    if (FHandle && c != ecNormal) {
        std::wstring t = GetText();
        for (auto& ch : t) ch = wchar_t(uintptr_t(c == ecUpperCase ? CharUpperW(LPWSTR(uintptr_t(ch))) : CharLowerW(LPWSTR(uintptr_t(ch)))));
        SetText(t);
    }
}

void TCustomEdit::SetHideSelection(bool v) {
    if (ChangeField(FHideSelection, v)) RecreateWnd();
}

bool TCustomEdit::Modified() const { return FHandle && SendMessageW(FHandle, EM_GETMODIFY, 0, 0) != 0; }
void TCustomEdit::SetModified(bool v) {
    if (FHandle) SendMessageW(FHandle, EM_SETMODIFY, v, 0);
}

int TCustomEdit::SelStart() const {
    if (!FHandle) return 0;
    DWORD start = 0, end = 0;
    SendMessageW(FHandle, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return int(start);
}

int TCustomEdit::SelLength() const {
    if (!FHandle) return 0;
    DWORD start = 0, end = 0;
    SendMessageW(FHandle, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return int(end - start);
}

void TCustomEdit::SetSel(int start, int length) {
    if (!FHandle) return;
    SendMessageW(FHandle, EM_SETSEL, WPARAM(start), length < 0 ? LPARAM(-1) : LPARAM(start + length));
}

std::wstring TCustomEdit::SelText() const {
    std::wstring t = GetText();
    size_t s = size_t(std::min<int>(SelStart(), int(t.size())));
    return t.substr(s, size_t(SelLength()));
}

void TCustomEdit::ReplaceSel(const std::wstring& text) {
    if (FHandle) SendMessageW(FHandle, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

void TCustomEdit::Change() {
    if (OnChange) OnChange(this);
}

void TCustomEdit::WndProc(TMessage& msg) {
    if (msg.Msg == CN_COMMAND && HIWORD(msg.WParam) == EN_CHANGE) {
        if (!IsLoading()) Change();
        msg.Result = 0;
        return;
    }
    TWinControl::WndProc(msg);
}

// ---- TCustomMemo ----

const TClassInfo& TCustomMemo::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TCustomMemo>("TCustomMemo", &TCustomEdit::StaticClassInfo())
            .strings("Lines", [](const TCustomMemo& m) { return toUtf8List(m.Lines()); },
                     [](TCustomMemo& m, const TStringList& v) { m.SetLines(toWideList(v)); })
            .enumeration("ScrollBars", kScrollStyleNames, [](const TCustomMemo& m) { return int(m.ScrollBars()); },
                         [](TCustomMemo& m, int v) { m.SetScrollBars(TScrollStyle(v)); })
            .boolean("WordWrap", &TCustomMemo::WordWrap, &TCustomMemo::SetWordWrap)
            .boolean("WantReturns", &TCustomMemo::WantReturns, &TCustomMemo::SetWantReturns)
            .boolean("WantTabs", &TCustomMemo::WantTabs, &TCustomMemo::SetWantTabs)
            .enumeration("Alignment", kAlignmentNames, [](const TCustomMemo& m) { return int(m.Alignment()); },
                         [](TCustomMemo& m, int v) { m.SetAlignment(TAlignment(v)); })
            .build();
    return info;
}

const TClassInfo& TMemo::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TMemo>("TMemo", &TCustomMemo::StaticClassInfo()).creatable().build();
    return info;
}

TCustomMemo::TCustomMemo(TComponent* owner) : TCustomEdit(owner) { SetBounds(0, 0, 185, 89); }

DWORD TCustomMemo::EditStyle() const {
    DWORD s = ES_MULTILINE | ES_AUTOVSCROLL;
    if (FWantReturns) s |= ES_WANTRETURN;
    // Without word wrap long lines run on to the right.
    if (!FWordWrap || FScrollBars == ssHorizontal || FScrollBars == ssBoth) s |= ES_AUTOHSCROLL;
    if (FScrollBars == ssVertical || FScrollBars == ssBoth) s |= WS_VSCROLL;
    if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) s |= WS_HSCROLL;
    if (FAlignment == taCenter) s |= ES_CENTER;
    if (FAlignment == taRightJustify) s |= ES_RIGHT;
    return s;
}

std::vector<std::wstring> TCustomMemo::Lines() const {
    std::vector<std::wstring> out;
    std::wstring t = GetText();
    if (t.empty()) return out;
    size_t start = 0;
    for (;;) {
        size_t p = t.find(L'\n', start);
        if (p == std::wstring::npos) {
            out.push_back(t.substr(start));
            break;
        }
        size_t end = p > start && t[p - 1] == L'\r' ? p - 1 : p;
        out.push_back(t.substr(start, end - start));
        start = p + 1;
        // A final line break ends the last line; it does not start an empty one.
        if (start == t.size()) break;
    }
    return out;
}

void TCustomMemo::SetLines(const std::vector<std::wstring>& lines) {
    std::wstring t;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i) t += L"\r\n";
        t += lines[i];
    }
    SetText(t);
}

void TCustomMemo::AddLine(const std::wstring& line) {
    auto l = Lines();
    l.push_back(line);
    SetLines(l);
}

int TCustomMemo::LineCount() const {
    if (FHandle) return int(SendMessageW(FHandle, EM_GETLINECOUNT, 0, 0));
    return int(std::max<size_t>(Lines().size(), 1));
}

int TCustomMemo::TopLine() const { return FHandle ? int(SendMessageW(FHandle, EM_GETFIRSTVISIBLELINE, 0, 0)) : 0; }

void TCustomMemo::SetScrollBars(TScrollStyle s) {
    if (ChangeField(FScrollBars, s)) RecreateWnd();
}

void TCustomMemo::SetWordWrap(bool v) {
    if (ChangeField(FWordWrap, v)) RecreateWnd();
}

void TCustomMemo::SetAlignment(TAlignment a) {
    if (ChangeField(FAlignment, a)) RecreateWnd();
}

void TCustomMemo::WndProc(TMessage& msg) {
    // Return and Tab belong to the memo only when it wants them; otherwise
    // they go on to the form (default button, next control).
    if (msg.Msg == WM_GETDLGCODE) {
        TCustomEdit::WndProc(msg);
        if (!FWantTabs) msg.Result &= ~LRESULT(DLGC_WANTTAB);
        if (!FWantReturns && msg.WParam == VK_RETURN) msg.Result &= ~LRESULT(DLGC_WANTALLKEYS | DLGC_WANTMESSAGE);
        return;
    }
    TCustomEdit::WndProc(msg);
}

// ---- TCustomRichEdit ----

const TClassInfo& TCustomRichEdit::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TCustomRichEdit>("TCustomRichEdit", &TCustomMemo::StaticClassInfo())
                                       .boolean("PlainText", &TCustomRichEdit::PlainText, &TCustomRichEdit::SetPlainText)
                                       .build();
    return info;
}

const TClassInfo& TRichEdit::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TRichEdit>("TRichEdit", &TCustomRichEdit::StaticClassInfo()).creatable().build();
    return info;
}

TCustomRichEdit::TCustomRichEdit(TComponent* owner) : TCustomMemo(owner) {}

void TCustomRichEdit::CreateParams(TCreateParams& p) {
    // The library stays loaded for the process: its windows may outlive any one control.
    static HMODULE lib = LoadLibraryW(L"riched20.dll");
    if (!lib) throw std::runtime_error("the rich edit library is not available");
    TCustomMemo::CreateParams(p);
    p.SysClassName = RICHEDIT_CLASSW;
}

void TCustomRichEdit::CreateHandle() {
    TCustomMemo::CreateHandle();
    // Change notifications are off by default in a rich edit.
    SendMessageW(FHandle, EM_SETEVENTMASK, 0, ENM_CHANGE);
    if (FPlainText) SendMessageW(FHandle, EM_SETTEXTMODE, TM_PLAINTEXT, 0);
}

void TCustomRichEdit::SetPlainText(bool v) {
    if (ChangeField(FPlainText, v)) RecreateWnd();
}

// ---- registration ----

void RegisterEditControlClasses() {
    RegisterComponentClass(TEdit::StaticClassInfo());
    RegisterComponentClass(TMemo::StaticClassInfo());
    RegisterComponentClass(TRichEdit::StaticClassInfo());
    RegisterComponentClass(TListBox::StaticClassInfo());
    RegisterComponentClass(TComboBox::StaticClassInfo());
    RegisterComponentClass(TScrollBar::StaticClassInfo());
    RegisterComponentClass(TUpDown::StaticClassInfo());
    RegisterComponentClass(TDateTimePicker::StaticClassInfo());
    RegisterComponentClass(TTreeView::StaticClassInfo());
}

}  // namespace qs
