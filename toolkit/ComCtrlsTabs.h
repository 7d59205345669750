#pragma once
// Tabbed controls and column headers: tab controls and page controls over the
// system tab window, the tab set drawn by the toolkit itself, header controls,
// list views with report columns, and a check box whose glyphs can be
// replaced by a picture strip.
#include <memory>
#include <string>
#include <vector>

#include "ComCtrlsEdit.h"
#include "Controls.h"
#include "ImgList.h"

namespace qs {

enum TTabPosition { tpTop, tpBottom, tpLeft, tpRight };
enum TTabStyle { tsTabs, tsButtons, tsFlatButtons };
extern const std::vector<std::string> kTabPositionNames;
extern const std::vector<std::string> kTabStyleNames;

// (sender, allow): clearing allow keeps the current tab.
using TTabChangingEvent = std::function<void(TObject* sender, bool& allow)>;

class TCustomTabControl : public TWinControl {
    QS_DECLARE_CLASS(TCustomTabControl)
public:
    explicit TCustomTabControl(TComponent* owner);
    ~TCustomTabControl() override;

    int TabIndex() const;
    // -1 selects none; an index past the end is refused.
    bool SetTabIndex(int index);
    TTabPosition TabPosition() const { return FTabPosition; }
    void SetTabPosition(TTabPosition p);
    TTabStyle Style() const { return FStyle; }
    void SetStyle(TTabStyle s);
    bool MultiLine() const { return FMultiLine; }
    void SetMultiLine(bool v);
    TImageList* Images() const { return FImages; }
    void SetImages(TImageList* list);
    int TabCount() const { return int(FTabTexts.size()); }
    // The area inside the tabs and the pane border, in client coordinates.
    RECT DisplayRect();
    // The rectangle of tab i in client coordinates; empty when it has none.
    RECT TabRect(int i);
    // The tab under a client point, or -1.
    int IndexOfTabAt(int x, int y);
    // Moves to the next (or previous) tab, wrapping; false when there is no other.
    bool SelectNextTab(bool forward);

    TNotifyEvent OnChange;
    TTabChangingEvent OnChanging;

    void WndProc(TMessage& msg) override;
    void AdjustClientRect(RECT& r) const override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandle() override;
    void Notification(TComponent* c, TOperation op) override;
    // The texts and image indexes of the tabs as the window shows them.
    void SetTabItems(std::vector<std::wstring> texts, std::vector<int> images);
    // A tab was chosen (by the user or by SetTabIndex).
    virtual void Change();
    virtual bool CanChange();
    void PushTabs();

    std::vector<std::wstring> FTabTexts;
    std::vector<int> FTabImages;
    int FTabIndex = -1;

private:
    void InstallDialogKeyHook();
    TTabPosition FTabPosition = tpTop;
    TTabStyle FStyle = tsTabs;
    bool FMultiLine = false;
    TImageList* FImages = nullptr;
};

class TTabControl : public TCustomTabControl {
    QS_DECLARE_CLASS(TTabControl)
public:
    explicit TTabControl(TComponent* owner);
    const std::vector<std::wstring>& Tabs() const { return FTabTexts; }
    void SetTabs(const std::vector<std::wstring>& tabs);
    void AddTab(const std::wstring& text);
};

class TPageControl;

class TTabSheet : public TWinControl {
    QS_DECLARE_CLASS(TTabSheet)
public:
    explicit TTabSheet(TComponent* owner);
    ~TTabSheet() override;

    TPageControl* PageControl() const { return FPageControl; }
    void SetPageControl(TPageControl* pc);
    // Position among all pages of the page control (-1 without one).
    int PageIndex() const;
    void SetPageIndex(int i);
    // Position among the pages that show a tab (-1 for a hidden tab).
    int TabIndex() const;
    bool TabVisible() const { return FTabVisible; }
    void SetTabVisible(bool v);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int i);

    void SetParent(TWinControl* parent) override;

protected:
    void TextChanged() override;

private:
    friend class TPageControl;
    TPageControl* FPageControl = nullptr;
    bool FTabVisible = true;
    int FImageIndex = -1;
};

class TPageControl : public TCustomTabControl {
    QS_DECLARE_CLASS(TPageControl)
public:
    explicit TPageControl(TComponent* owner);
    ~TPageControl() override;

    int PageCount() const { return int(FPages.size()); }
    TTabSheet* Pages(int i) const { return i >= 0 && i < PageCount() ? FPages[size_t(i)] : nullptr; }
    TTabSheet* ActivePage() const { return FActivePage; }
    void SetActivePage(TTabSheet* page);
    int ActivePageIndex() const;
    void SetActivePageIndex(int i);
    // The next (or previous) page with a visible tab after `current`, wrapping.
    TTabSheet* FindNextPage(TTabSheet* current, bool forward) const;
    void SelectNextPage(bool forward);
    // A new sheet on this control, with the caption given.
    TTabSheet* AddPage(const std::wstring& caption);

protected:
    void Change() override;
    void Notification(TComponent* c, TOperation op) override;
    void Loaded() override;

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    void MovePage(TTabSheet* page, int index);
    // Rebuilds the window's tabs from the pages whose tab shows.
    void UpdateTabs();
    void ShowActive();
    std::vector<TTabSheet*> FPages;
    TTabSheet* FActivePage = nullptr;
};

// A row of tabs drawn by the toolkit, along the top of its area. When the
// tabs do not fit, the scroller (the tab set's first owned component, a
// horizontal up-down) pages through them.
class TTabSet : public TCustomControl {
    QS_DECLARE_CLASS(TTabSet)
public:
    explicit TTabSet(TComponent* owner);
    ~TTabSet() override;

    const std::vector<std::wstring>& Tabs() const { return FTabs; }
    void SetTabs(const std::vector<std::wstring>& tabs);
    int TabIndex() const { return FTabIndex; }
    bool SetTabIndex(int i);
    int FirstIndex() const { return FFirstIndex; }
    void SetFirstIndex(int i);
    int StartMargin() const { return FStartMargin; }
    void SetStartMargin(int v);
    int EndMargin() const { return FEndMargin; }
    void SetEndMargin(int v);
    TCustomUpDown* Scroller() const { return FScroller; }
    // Tab i's rectangle as last laid out; empty when not shown.
    RECT TabRect(int i);
    int IndexOfTabAt(int x, int y);

    TNotifyEvent OnChange;

    void WndProc(TMessage& msg) override;

protected:
    void Paint() override;
    void Resize() override;

private:
    void Layout();
    std::vector<std::wstring> FTabs;
    std::vector<RECT> FRects;
    int FTabIndex = -1;
    int FFirstIndex = 0;
    int FStartMargin = 5;
    int FEndMargin = 5;
    bool FAllFit = true;
    TCustomUpDown* FScroller = nullptr;
};

// ---- headers and list views ----

class THeaderControl;

class THeaderSection : public TCollectionItem {
    QS_DECLARE_CLASS(THeaderSection)
public:
    explicit THeaderSection(TCollection* c) : TCollectionItem(c) {}
    const std::wstring& Text() const { return FText; }
    void SetText(const std::wstring& t);
    // The width the window shows (the user may have dragged it).
    int Width() const;
    void SetWidth(int w);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment a);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int i);

private:
    friend class THeaderControl;
    std::wstring FText;
    int FWidth = 50;
    TAlignment FAlignment = taLeftJustify;
    int FImageIndex = -1;
};

class THeaderSections : public TTypedCollection<THeaderSection> {
    QS_DECLARE_CLASS(THeaderSections)
public:
    explicit THeaderSections(THeaderControl* h) : FHeader(h) {}
    THeaderSection* Add() override { return static_cast<THeaderSection*>(TTypedCollection::Add()); }
    THeaderControl* Header() const { return FHeader; }
    void Update(TCollectionItem* item) override;

private:
    THeaderControl* FHeader;
};

using TSectionNotifyEvent = std::function<void(THeaderControl* sender, THeaderSection* section)>;

class THeaderControl : public TWinControl {
    QS_DECLARE_CLASS(THeaderControl)
public:
    explicit THeaderControl(TComponent* owner);
    ~THeaderControl() override;

    THeaderSections* Sections() const { return FSections.get(); }
    TImageList* Images() const { return FImages; }
    void SetImages(TImageList* list);
    // Pushes the sections to the window.
    void UpdateSections();

    TSectionNotifyEvent OnSectionClick;
    TSectionNotifyEvent OnSectionResize;

    void WndProc(TMessage& msg) override;
    void ChangeScale(int m, int d) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandle() override;
    void Notification(TComponent* c, TOperation op) override;

private:
    friend class THeaderSection;
    std::unique_ptr<THeaderSections> FSections;
    TImageList* FImages = nullptr;
};

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
extern const std::vector<std::string> kViewStyleNames;

class TCustomListView;

class TListColumn : public TCollectionItem {
    QS_DECLARE_CLASS(TListColumn)
public:
    explicit TListColumn(TCollection* c) : TCollectionItem(c) {}
    const std::wstring& Caption() const { return FCaption; }
    void SetCaption(const std::wstring& t);
    int Width() const;
    void SetWidth(int w);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment a);

private:
    friend class TCustomListView;
    std::wstring FCaption;
    int FWidth = 50;
    TAlignment FAlignment = taLeftJustify;
};

class TListColumns : public TTypedCollection<TListColumn> {
    QS_DECLARE_CLASS(TListColumns)
public:
    explicit TListColumns(TCustomListView* lv) : FOwner(lv) {}
    TListColumn* Add() override { return static_cast<TListColumn*>(TTypedCollection::Add()); }
    TCustomListView* Owner() const { return FOwner; }
    void Update(TCollectionItem* item) override;

private:
    TCustomListView* FOwner;
};

class TListItem : public TCollectionItem {
    QS_DECLARE_CLASS(TListItem)
public:
    explicit TListItem(TCollection* c) : TCollectionItem(c) {}
    const std::wstring& Caption() const { return FCaption; }
    void SetCaption(const std::wstring& t);
    const std::vector<std::wstring>& SubItems() const { return FSubItems; }
    void SetSubItems(const std::vector<std::wstring>& s);

private:
    std::wstring FCaption;
    std::vector<std::wstring> FSubItems;
};

class TListItems : public TTypedCollection<TListItem> {
    QS_DECLARE_CLASS(TListItems)
public:
    explicit TListItems(TCustomListView* lv) : FOwner(lv) {}
    TListItem* Add() override { return static_cast<TListItem*>(TTypedCollection::Add()); }
    TListItem* Add(const std::wstring& caption, const std::vector<std::wstring>& subItems = {});
    void Update(TCollectionItem* item) override;

private:
    TCustomListView* FOwner;
};

class TCustomListView : public TWinControl {
    QS_DECLARE_CLASS(TCustomListView)
public:
    explicit TCustomListView(TComponent* owner);
    ~TCustomListView() override;

    TListColumns* Columns() const { return FColumns.get(); }
    TListItems* Items() const { return FItems.get(); }
    TViewStyle ViewStyle() const { return FViewStyle; }
    void SetViewStyle(TViewStyle v);
    bool RowSelect() const { return FRowSelect; }
    void SetRowSelect(bool v);
    // The window of the report view's column header (null outside report view).
    HWND HeaderHandle();
    int TopIndex();
    // Pushes columns and items to the window.
    void UpdateColumns();
    void UpdateItems();
    // Row `index` only (changed, or just added at the end; with appendOnly
    // only the latter); false when the window's rows do not match the items
    // and the whole list must be redone.
    bool UpdateItem(int index, bool appendOnly);
    // Between these the window is not told of item changes; the end shows
    // them all at once (a long list fills far faster so).
    void BeginUpdate() { ++FUpdateLevel; }
    void EndUpdate();
    void ChangeScale(int m, int d) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandle() override;

private:
    std::unique_ptr<TListColumns> FColumns;
    std::unique_ptr<TListItems> FItems;
    TViewStyle FViewStyle = vsIcon;
    bool FRowSelect = false;
    bool FUpdatingItems = false;
    int FUpdateLevel = 0;
};

class TListView : public TCustomListView {
    QS_DECLARE_CLASS(TListView)
public:
    explicit TListView(TComponent* owner) : TCustomListView(owner) {}
};

// A check box drawn by the toolkit from a glyph strip: its own plain
// glyphs, or, with UseCustomGlyphs, the cells of CustomGlyphs (cells of equal
// width side by side: unchecked, checked, grayed; the row repeated for pressed
// and for disabled). Pixels of TransparentColor show the background.
class TGlyphCheckBox : public TCustomControl {
    QS_DECLARE_CLASS(TGlyphCheckBox)
public:
    explicit TGlyphCheckBox(TComponent* owner);
    ~TGlyphCheckBox() override;

    bool Checked() const { return FChecked; }
    void SetChecked(bool v);
    bool UseCustomGlyphs() const { return FUseCustomGlyphs; }
    // Switching on (again) takes the strip in CustomGlyphs as it is now.
    void SetUseCustomGlyphs(bool v);
    TBitmap* CustomGlyphs() { return &FCustomGlyphs; }
    TColor TransparentColor() const { return FTransparentColor; }
    void SetTransparentColor(TColor c);
    // The glyph cell drawn now (0..8).
    int GlyphCell() const;
    // Width of one glyph cell of the strip in use.
    int GlyphSize() const;

    void WndProc(TMessage& msg) override;

protected:
    void Paint() override;

private:
    bool FChecked = false;
    bool FPressed = false;
    bool FUseCustomGlyphs = false;
    TBitmap FCustomGlyphs;
    TBitmap FLoadedGlyphs;  // the strip taken when UseCustomGlyphs went on
    TColor FTransparentColor = clDefault;
};

}  // namespace qs
