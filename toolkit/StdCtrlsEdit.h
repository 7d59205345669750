#pragma once
// Text entry and list controls over the system's own windows: single-line
// edits, memos, rich edits, list boxes, combo boxes and scroll-bar controls.
// Each keeps what it shows (text, lines, items, range) while it has no
// window and gives it to the window when one is made, so a control can be
// set up before it is shown and survives RecreateWnd.
#include "Controls.h"

namespace qs {

// Border of an edit-like control: none, or the sunken client edge.
enum TEditBorderStyle { ebsNone, ebsSingle };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };
enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };
enum TScrollBarKind { sbHorizontal, sbVertical };
// What a scroll-bar control was asked to do (the system's scroll codes, in order).
enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };

extern const std::vector<std::string> kEditBorderStyleNames;  // "bsNone", "bsSingle"
extern const std::vector<std::string> kScrollStyleNames;
extern const std::vector<std::string> kEditCharCaseNames;
extern const std::vector<std::string> kComboBoxStyleNames;
extern const std::vector<std::string> kListBoxStyleNames;
extern const std::vector<std::string> kScrollBarKindNames;

// (sender, code, position): the handler may change the position the bar takes.
using TScrollEvent = std::function<void(TObject* sender, TScrollCode code, int& position)>;

class TCustomEdit : public TWinControl {
    QS_DECLARE_CLASS(TCustomEdit)
public:
    explicit TCustomEdit(TComponent* owner);

    TEditBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TEditBorderStyle b);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool v);
    // 0: no limit beyond the system's.
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int v);
    wchar_t PasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(wchar_t c);
    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase c);
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool v);

    bool Modified() const;
    void SetModified(bool v);
    int SelStart() const;
    int SelLength() const;
    void SetSel(int start, int length);
    void SelectAll() { SetSel(0, -1); }
    std::wstring SelText() const;
    void ReplaceSel(const std::wstring& text);
    void Clear() { SetText(L""); }

    TNotifyEvent OnChange;

    void WndProc(TMessage& msg) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandle() override;
    virtual void Change();
    // Style bits of the edit window beyond the common ones.
    virtual DWORD EditStyle() const { return ES_AUTOHSCROLL; }

private:
    TEditBorderStyle FBorderStyle = ebsSingle;
    bool FReadOnly = false;
    int FMaxLength = 0;
    wchar_t FPasswordChar = 0;
    TEditCharCase FCharCase = ecNormal;
    bool FHideSelection = true;
};

class TEdit : public TCustomEdit {
    QS_DECLARE_CLASS(TEdit)
public:
    explicit TEdit(TComponent* owner) : TCustomEdit(owner) {}
};

class TCustomMemo : public TCustomEdit {
    QS_DECLARE_CLASS(TCustomMemo)
public:
    explicit TCustomMemo(TComponent* owner);

    // The text as lines (no line breaks inside an entry).
    std::vector<std::wstring> Lines() const;
    void SetLines(const std::vector<std::wstring>& lines);
    void AddLine(const std::wstring& line);
    int LineCount() const;
    // The first line shown (0-based).
    int TopLine() const;
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle s);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool v);
    bool WantReturns() const { return FWantReturns; }
    void SetWantReturns(bool v) { FWantReturns = v; }
    bool WantTabs() const { return FWantTabs; }
    void SetWantTabs(bool v) { FWantTabs = v; }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment a);

    void WndProc(TMessage& msg) override;

protected:
    DWORD EditStyle() const override;

private:
    TScrollStyle FScrollBars = ssNone;
    bool FWordWrap = true;
    bool FWantReturns = true;
    bool FWantTabs = false;
    TAlignment FAlignment = taLeftJustify;
};

class TMemo : public TCustomMemo {
    QS_DECLARE_CLASS(TMemo)
public:
    explicit TMemo(TComponent* owner) : TCustomMemo(owner) {}
};

class TCustomRichEdit : public TCustomMemo {
    QS_DECLARE_CLASS(TCustomRichEdit)
public:
    explicit TCustomRichEdit(TComponent* owner);
    bool PlainText() const { return FPlainText; }
    void SetPlainText(bool v);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandle() override;

private:
    bool FPlainText = false;
};

class TRichEdit : public TCustomRichEdit {
    QS_DECLARE_CLASS(TRichEdit)
public:
    explicit TRichEdit(TComponent* owner) : TCustomRichEdit(owner) {}
};

// Strings of a list or combo box: held here while there is no window, in
// the window while there is one (the window is what the user changes).
class TItemStrings {
public:
    struct Messages {
        UINT add, insert, remove, reset, count, getText, getTextLen, getCur, setCur;
    };
    TItemStrings(TWinControl* owner, const Messages& m) : FOwner(owner), FMsg(m) {}

    int Count() const;
    std::wstring At(int i) const;
    int Add(const std::wstring& s);
    void Insert(int i, const std::wstring& s);
    void Delete(int i);
    void Clear();
    int IndexOf(const std::wstring& s) const;
    std::vector<std::wstring> All() const;
    void Assign(const std::vector<std::wstring>& items);
    int ItemIndex() const;
    void SetItemIndex(int i);

    // The window is about to go / was made: move the strings across.
    void SaveFromWindow();
    void LoadIntoWindow();

private:
    HWND Wnd() const { return FOwner->HandleIfAllocated(); }
    TWinControl* FOwner;
    Messages FMsg;
    std::vector<std::wstring> FItems;
    int FItemIndex = -1;
};

class TCustomListBox : public TWinControl {
    QS_DECLARE_CLASS(TCustomListBox)
public:
    explicit TCustomListBox(TComponent* owner);

    TItemStrings& Items() { return FItems; }
    const TItemStrings& Items() const { return FItems; }
    int ItemIndex() const { return FItems.ItemIndex(); }
    void SetItemIndex(int i) { FItems.SetItemIndex(i); }
    int TopIndex() const;
    void SetTopIndex(int i);
    TEditBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TEditBorderStyle b);
    bool Sorted() const { return FSorted; }
    void SetSorted(bool v);
    bool IntegralHeight() const { return FIntegralHeight; }
    void SetIntegralHeight(bool v);
    TListBoxStyle Style() const { return FStyle; }
    void SetStyle(TListBoxStyle s);
    int ItemHeight() const;
    void SetItemHeight(int h);
    // The number of items that fit the client area.
    int VisibleItemCount() const;

    void WndProc(TMessage& msg) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandle() override;
    void DestroyWnd() override;

private:
    TItemStrings FItems;
    TEditBorderStyle FBorderStyle = ebsSingle;
    bool FSorted = false;
    bool FIntegralHeight = false;
    TListBoxStyle FStyle = lbStandard;
    int FItemHeight = 0;  // 0: the font's
    int FTopIndex = 0;
};

class TListBox : public TCustomListBox {
    QS_DECLARE_CLASS(TListBox)
public:
    explicit TListBox(TComponent* owner) : TCustomListBox(owner) {}
};

class TCustomComboBox : public TWinControl {
    QS_DECLARE_CLASS(TCustomComboBox)
public:
    explicit TCustomComboBox(TComponent* owner);

    TItemStrings& Items() { return FItems; }
    const TItemStrings& Items() const { return FItems; }
    int ItemIndex() const { return FItems.ItemIndex(); }
    void SetItemIndex(int i);
    TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle s);
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int n);
    bool Sorted() const { return FSorted; }
    void SetSorted(bool v);
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int v);
    bool DroppedDown() const;
    void SetDroppedDown(bool v);
    // The edit inside a drop-down or simple combo, the list of a simple one.
    HWND EditHandle() const;
    HWND ListHandle() const;

    void SetBounds(int left, int top, int width, int height) override;
    void WndProc(TMessage& msg) override;

    TNotifyEvent OnChange;
    TNotifyEvent OnSelect;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandle() override;
    void DestroyWnd() override;

private:
    // Height given to the window: a drop-down combo's window height includes its list.
    int WindowHeightFor(int height) const;
    TItemStrings FItems;
    TComboBoxStyle FStyle = csDropDown;
    int FDropDownCount = 8;
    bool FSorted = false;
    int FMaxLength = 0;
};

class TComboBox : public TCustomComboBox {
    QS_DECLARE_CLASS(TComboBox)
public:
    explicit TComboBox(TComponent* owner) : TCustomComboBox(owner) {}
};

class TScrollBar : public TWinControl {
    QS_DECLARE_CLASS(TScrollBar)
public:
    explicit TScrollBar(TComponent* owner);

    TScrollBarKind Kind() const { return FKind; }
    void SetKind(TScrollBarKind k);
    int Min() const { return FMin; }
    int Max() const { return FMax; }
    int Position() const { return FPosition; }
    int PageSize() const { return FPageSize; }
    // Range and page together; refused (false) when Min > Max or the page is
    // negative or longer than the range.
    bool SetParams(int position, int min, int max);
    bool SetMin(int v) { return SetParams(FPosition, v, FMax); }
    bool SetMax(int v) { return SetParams(FPosition, FMin, v); }
    void SetPosition(int v);
    bool SetPageSize(int v);
    int SmallChange() const { return FSmallChange; }
    void SetSmallChange(int v) { FSmallChange = v; }
    int LargeChange() const { return FLargeChange; }
    void SetLargeChange(int v) { FLargeChange = v; }
    // The highest position the thumb can take: Max, less the page beyond its first item.
    int MaxPosition() const;

    TNotifyEvent OnChange;
    TScrollEvent OnScroll;

    void WndProc(TMessage& msg) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandle() override;

private:
    void PushInfo();
    void Scroll(TScrollCode code, int position);
    TScrollBarKind FKind = sbHorizontal;
    int FMin = 0, FMax = 100, FPosition = 0, FPageSize = 0;
    int FSmallChange = 1, FLargeChange = 1;
};

}  // namespace qs
