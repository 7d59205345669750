#pragma once
// Tab skins. Tab controls and page controls take their tabs from the skin's
// Tabs strip (frame 1 normal, frame 2 selected) and their pane from the
// strip's border picture or the TabPane element; tabs on any side are drawn
// lying down as if on top and turned into place. Button-style tabs come from
// the Buttons element, the older tab set from the Tabs strip turned upside
// down, and page controls that take tab pictures through properties get them
// rendered from the skin.
#include <vector>

#include "ControlSide.h"
#include "SkinControl.h"
#include "SkinTabGeometry.h"

namespace qs {

// A clicked close box sends WM_SKIN_TAB_CLOSE (ControlSide.h) to the form
// skin's window; an answer of 0 lets the page go.
// The Tag that asks for close boxes on a page control's tabs.
inline constexpr int kTabCloseBoxTag = 7777;

class TSkinTab : public TSkinControl {
    QS_DECLARE_CLASS(TSkinTab)
public:
    explicit TSkinTab(TComponent* owner);
    ~TSkinTab() override;

    // The close box of each tab, in window coordinates (empty where none).
    std::vector<RECT> FCloseRects;
    TTabOrientation FOrientation = toTop;
    bool FUnicodeItems = false;
    TBitmap FTabImage;
    TBitmap FPaneImage;
    TBitmap FStripBuffer;
    TSkinControl* FUpDown = nullptr;
    bool FCloseButtons = false;

    void Attach(TWinSkinForm* skinForm, TSkinData* skinData, bool changeColor, TCanvas* canvas) override;
    void AttachHandle(HWND handle, TSkinData* skinData, TWinSkinForm* skinForm, TCanvas* canvas) override;
    bool BeforeMessage(TMessage& msg) override;
    void Paint(HDC dc, const RECT& r) override;
    void SkinChanged() override;

    void PrepareImages();
    // Skins the tab window's own scroll arrows once they exist; true when
    // they are showing.
    bool LookupUpDown();

protected:
    void Notification(TComponent* c, TOperation op) override;

private:
    bool CloseClick(TMessage& msg);
};

class TSkinTabBtn : public TSkinControl {
    QS_DECLARE_CLASS(TSkinTabBtn)
public:
    explicit TSkinTabBtn(TComponent* owner) : TSkinControl(owner) {}
    bool BeforeMessage(TMessage& msg) override;
    void Paint(HDC dc, const RECT& r) override;
};

class TSkinTab31 : public TSkinControl {
    QS_DECLARE_CLASS(TSkinTab31)
public:
    explicit TSkinTab31(TComponent* owner);
    ~TSkinTab31() override;

    TBitmap FTabImage;
    TSkinControl* FUpDown = nullptr;
    TWinControl* FScroller = nullptr;

    void Attach(TWinSkinForm* skinForm, TSkinData* skinData, bool changeColor, TCanvas* canvas) override;
    bool BeforeMessage(TMessage& msg) override;
    void Paint(HDC dc, const RECT& r) override;
    void SkinChanged() override;
    void PrepareImage();

protected:
    void Notification(TComponent* c, TOperation op) override;
};

class TSkinAdvPage : public TSkinControl {
    QS_DECLARE_CLASS(TSkinAdvPage)
public:
    explicit TSkinAdvPage(TComponent* owner) : TSkinControl(owner) {}

    TSkinControl* FUpDown = nullptr;
    int FMode = 0;

    void Attach(TWinSkinForm* skinForm, TSkinData* skinData, bool changeColor, TCanvas* canvas) override;
    void Restore() override;
    void Paint(HDC dc, const RECT& r) override;
    void SkinChanged() override;
    void PreparePageImages();

protected:
    void Notification(TComponent* c, TOperation op) override;
};

// Shared by the tab and header skins: an optional image-list icon and one
// line of text in `r` of `dc` (alignment as DrawText's: 0, DT_CENTER, DT_RIGHT),
// the text in the DC's current font and `colour`.
void DrawIconTextDC(const TSkinControl* skin, HDC dc, const RECT& r, UINT alignment, const std::wstring& text,
                    int imageIndex, HIMAGELIST images, COLORREF colour);

// An up-down skin for the scroll arrows `arrows` of a tab window, owned
// like the tab skin; null when that family makes none.
TSkinControl* MakeArrowSkin(TSkinControl* tabSkin, HWND arrows);

}  // namespace qs
