#pragma once
// Buttons with pictures: TBitBtn (a push button with a glyph or an image-list
// picture), TMenuButton (a bit button that drops a menu) and TSpeedButton (a
// windowless tool button that can stay down, alone or in a group).
//
// A glyph bitmap holds up to four pictures side by side: up, disabled,
// pressed, down. Its bottom-left pixel's colour is transparent.
#include "ImgList.h"
#include "StdCtrlsButtons.h"

namespace qs {

class TPopupMenu;

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };
extern const std::vector<std::string> kButtonLayoutNames;
extern const std::vector<std::string> kBitBtnKindNames;

constexpr int mrAll = 12;

// Glyph pictures of a multi-glyph bitmap, counted from 1.
enum TGlyphFrame { gfUp = 1, gfDisabled = 2, gfPressed = 3, gfDown = 4 };

// Where a glyph and a caption go in a button of `client` size. Margin is the
// distance from the edge to the glyph, Spacing the gap between glyph and
// text; -1 asks for an even share of the free room. `centre` centres the
// pair whatever Margin says; `speedButton` puts a centred pair one pixel
// further from the edge, as tool buttons do.
struct TGlyphLayout {
    POINT GlyphPos{0, 0};
    POINT TextPos{0, 0};
    UINT TextFlags = 0;  // DrawText alignment for the caption
    int Margin = 0;
    int Spacing = 0;
};
TGlyphLayout CalcGlyphLayout(SIZE client, SIZE glyph, SIZE text, TButtonLayout layout, int margin, int spacing,
                             bool centre = false, bool speedButton = false);

// Draws picture `index` (TGlyphFrame) of a glyph of `numGlyphs` pictures at
// `pos`, the bottom-left pixel's colour left out; an index past the last
// picture draws the first, and the disabled picture is drawn in grey.
void DrawGlyphFrame(HDC dc, POINT pos, TBitmap& glyph, int numGlyphs, int index);
// Size of one picture of the glyph (0 x 0 for none).
SIZE GlyphFrameSize(const TBitmap& glyph, int numGlyphs);

class TBitBtn : public TButton {
    QS_DECLARE_CLASS(TBitBtn)
public:
    explicit TBitBtn(TComponent* owner);
    ~TBitBtn() override;

    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(const TBitmap* g);
    // 1 to 4 pictures side by side in Glyph.
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int n);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout l);
    int Margin() const { return FMargin; }
    void SetMargin(int m);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int s);
    // A standard kind sets the caption, the modal result and Default/Cancel;
    // bkClose closes the form.
    TBitBtnKind Kind() const { return FKind; }
    void SetKind(TBitBtnKind k);
    // Used when there is no Glyph.
    TImageList* Images() const { return FImages; }
    void SetImages(TImageList* list);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int i);
    int DisabledIndex() const { return FDisabledIndex; }
    void SetDisabledIndex(int i);

    void Click() override;
    void WndProc(TMessage& msg) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void Notification(TComponent* c, TOperation op) override;
    // Paints the whole face into `dc` (the window's size) for the given state.
    virtual void DrawFace(HDC dc, const RECT& r, bool pressed, bool focused, bool enabled);

private:
    void Changed() { Invalidate(); }
    std::unique_ptr<TBitmap> FGlyph;
    int FNumGlyphs = 1;
    TButtonLayout FLayout = blGlyphLeft;
    int FMargin = -1;
    int FSpacing = 4;
    TBitBtnKind FKind = bkCustom;
    TImageList* FImages = nullptr;
    int FImageIndex = -1;
    int FDisabledIndex = -1;
};

// A bit button with a drop-down arrow; a click shows DropDownMenu under it.
class TMenuButton : public TBitBtn {
    QS_DECLARE_CLASS(TMenuButton)
public:
    explicit TMenuButton(TComponent* owner) : TBitBtn(owner) {}
    TPopupMenu* DropDownMenu() const { return FDropDownMenu; }
    void SetDropDownMenu(TPopupMenu* m);
    void Click() override;

protected:
    void Notification(TComponent* c, TOperation op) override;
    void DrawFace(HDC dc, const RECT& r, bool pressed, bool focused, bool enabled) override;

private:
    TPopupMenu* FDropDownMenu = nullptr;
};

class TSpeedButton : public TGraphicControl {
    QS_DECLARE_CLASS(TSpeedButton)
public:
    explicit TSpeedButton(TComponent* owner);
    ~TSpeedButton() override;

    // Down stays only on a button with a GroupIndex; setting it raises the
    // other buttons of the same group and parent.
    bool Down() const { return FDown; }
    void SetDown(bool v);
    // A flat button shows its face only under the mouse or when down.
    bool Flat() const { return FFlat; }
    void SetFlat(bool v);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int g);
    // A group whose down button may be clicked up again.
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool v) { FAllowAllUp = v; }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v);
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(const TBitmap* g);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int n);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout l);
    int Margin() const { return FMargin; }
    void SetMargin(int m);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int s);

    // The left button is held on it with the mouse over it.
    bool Pressed() const { return FPressed; }
    void Click() override;
    void WndProc(TMessage& msg) override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    std::unique_ptr<TBitmap> FGlyph;
    int FNumGlyphs = 1;
    TButtonLayout FLayout = blGlyphLeft;
    int FMargin = -1;
    int FSpacing = 4;
    bool FDown = false;
    bool FFlat = false;
    int FGroupIndex = 0;
    bool FAllowAllUp = false;
    bool FTransparent = true;
    bool FPressed = false;
    bool FTracking = false;
};

// Registers TBitBtn, TMenuButton and TSpeedButton for form definitions.
void RegisterBitButtonClasses();

}  // namespace qs
