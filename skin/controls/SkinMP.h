#pragma once
// Media-player skin. The player draws its buttons itself and cannot be
// re-painted through its messages, so the skin lays a panel of its own
// (TWMediaPlayer) over it: the panel paints the buttons from the skin's
// Buttons element and passes the mouse on to the player underneath.
#include <array>

#include "ProgressGeometry.h"
#include "SkinControl.h"

namespace qs {

class TSkinMP;

class TWMediaPlayer : public TCustomControl {
    QS_DECLARE_CLASS(TWMediaPlayer)
public:
    struct TMPButton {
        bool Visible = false;
        bool Enabled = false;
        bool Colored = false;
        // 0 enabled, 1 disabled, 2 coloured glyph; empty when the program has none.
        std::array<TBitmap, 3> Bitmaps;
    };

    explicit TWMediaPlayer(TComponent* owner);
    ~TWMediaPlayer() override;

    // Binds the panel to its skin and player: same bounds, same parent, and a
    // Tag that keeps the engine from skinning the panel itself.
    void AttachTo(TSkinMP* skinMP, TControl* player);
    void SyncBounds();
    // The visible button whose cell holds x (both cell edges belong to it, the
    // left cell winning at a shared border); kMPNoButton outside.
    int HitTest(int x) const;

    std::array<TMPButton, kMPButtonCount> FButtons;
    TSkinData* FSkinData = nullptr;
    bool FMouseDown = false;
    uint8_t FPressedIndex = kMPNoButton;
    uint8_t FHitIndex = kMPNoButton;
    int FButtonWidth = 0;
    int FVisibleCount = 0;
    TControl* FPlayer = nullptr;
    TSkinMP* FSkinMP = nullptr;
    TLifeToken FLife;  // the player's handler, sent the mouse, may free this panel

    void WndProc(TMessage& msg) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Paint() override;
    void Notification(TComponent* c, TOperation op) override;

private:
    void LoadBitmaps();
    void FreeBitmaps();
    // Reads the player's three button sets.
    void ReadButtonSets();
    void DrawMPButton(HDC dc, int index, const RECT& cell);
    void WMLButtonDown(TMessage& msg);
    void WMLButtonUp(TMessage& msg);
};

class TSkinMP : public TSkinControl {
    QS_DECLARE_CLASS(TSkinMP)
public:
    explicit TSkinMP(TComponent* owner) : TSkinControl(owner) {}
    ~TSkinMP() override;

    void Attach(TWinSkinForm* skinForm, TSkinData* skinData, bool changeColor, TCanvas* canvas) override;
    void AfterMessage(TMessage& msg) override;
    void Restore() override;

    TWMediaPlayer* FPlayer = nullptr;

protected:
    void Notification(TComponent* c, TOperation op) override;
};

}  // namespace qs
