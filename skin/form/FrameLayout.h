#pragma once
// The numbers of a skinned frame: border sizes from the skin's strips, the
// client rectangle inside them, which caption buttons show, where they go and
// where the caption text fits. Pure functions of numbers; the form skin feeds
// them its state and paints what they give.
#include <cstdint>
#include <functional>

#include "PixelView.h"

namespace qs {

// How the window is framed (the form skin's FBorderKind).
enum TBorderKind : uint8_t { bkSizeable = 0, bkSingle = 1, bkNoCaption = 2, bkDialog = 3 };
// FWindowState.
enum TWindowStateKind : uint8_t { wsNormalKind = 0, wsMaximizedKind = 1, wsMinimizedKind = 2 };
// FStyleFlags members.
enum TStyleFlag : uint8_t {
    sfMaximizeBox = 1,
    sfMinimizeBox = 2,
    sfSystemMenu = 8,
    sfCaptionRemoved = 0x10,
};

struct FrameMetrics {
    int left = 0;
    int title = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const FrameMetrics&, const FrameMetrics&) = default;
};

// Side strips hold their frames side by side, top and bottom strips stacked;
// one frame of each gives the border size. A window without a caption keeps
// the system's frame (all zero).
struct BorderStripSizes {
    int leftWidth = 0, leftFrames = 1;
    int rightWidth = 0, rightFrames = 1;
    int topHeight = 0, topFrames = 1;
    int bottomHeight = 0, bottomFrames = 1;
};
FrameMetrics ComputeFrameMetrics(const BorderStripSizes& s, TBorderKind kind);

// Client rectangle (screen or parent coordinates) for a proposed window
// rectangle: the frame and the menu band taken off. Never inverted.
PixelRect ClientFromWindow(const PixelRect& window, const FrameMetrics& m, int menuHeight);

// ---- caption buttons --------------------------------------------------------
// What the visibility rules look at.
struct CaptionState {
    bool active = true;
    TWindowStateKind windowState = wsNormalKind;
    uint8_t styleFlags = 0;
    TBorderKind borderKind = bkSizeable;
    bool isDialog = false;                // "#32770" or "TMessageForm"
    bool mdiMaximizedChildActive = false;  // in this MDI frame
    bool hasSkinMenu = false;
};

struct CaptionButtonRule {
    int32_t action = 0;
    int32_t visibility = 0;
    int32_t visibility1 = 0;
};

struct ButtonVisibility {
    bool visible = false;
    bool enabledChanged = false;  // actions 1 and 2 recompute the enabled state
    bool enabled = true;
};

// Asks the window (message 0x3515) about a Visibility of 1000 to 2000;
// a positive answer shows the button.
using VisibilityQuery = std::function<int64_t(int32_t visibility, int32_t action)>;

// One condition of the visibility table; `second` selects the Visibility1
// reading (201 to 2000 always true, 100 copies the first condition).
bool VisibilityCondition(int32_t value, bool second, const CaptionState& s, const VisibilityQuery& query,
                         int32_t action, bool firstResult);
ButtonVisibility EvaluateButtonVisibility(const CaptionButtonRule& rule, const CaptionState& s,
                                          const VisibilityQuery& query);

// Where a caption button goes. The anchors of Align 2/8 and 3/9 are the
// inner ends of the title: the right border's inner edge and the left
// border's inner edge, so such buttons line up against the frame.
struct ButtonPlacement {
    int32_t align = 0;
    int32_t xcoord = 0;
    int32_t ycoord = 0;
    int width = 0;
    int height = 0;
};
struct ButtonLayoutContext {
    int windowWidth = 0;
    int leftAnchor = 0;
    int rightAnchor = 0;
    int rightBorder = 0;
    int menuBarLeftWidth = 0;  // the MenuBar element's LeftWidth, 0 without one
    int titleHeight = 0;
    int menuHeight = 0;
};
// `previous` is kept for an Align without a rule.
PixelRect LayoutButton(const ButtonPlacement& b, const ButtonLayoutContext& c, const PixelRect& previous);

// Frame of a caption-button strip to show: the title painter's rule (1 for an
// active window and an enabled button, or when the strip has fewer than 4
// frames; else the disabled look 4).
int TitleButtonFrame(bool active, bool enabled, int frames);
// The frame a button shows for its state when it repaints itself: a disabled
// button 4 (1 when the strip has no 4th frame); a hot button in the menu bar
// (Visibility 100) 4 instead of 3.
int StateButtonFrame(int state, bool enabled, int frames, int32_t visibility);

// ---- caption text -----------------------------------------------------------
// The caption text rectangle in window coordinates: from TextShift (but after
// the icon button, when one shows) to the leftmost caption button, or to the
// window width less TextRightClip when no button shows, the title's height
// moved down by TextShiftVert. `iconRight` / `buttonsLeft` are -1 when there are none.
PixelRect CaptionTextRect(int windowWidth, int titleHeight, int textShift, int textShiftVert, int textRightClip,
                          int iconRight, int buttonsLeft);

// Width a dialog needs for its caption: TextShift + text + TextRightClip.
inline int CaptionNeededWidth(int textShift, int textWidth, int textRightClip) {
    return textShift + textWidth + textRightClip;
}

}  // namespace qs
