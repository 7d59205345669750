#pragma once
// Element records: one per skinned part of the user interface. Each holds a
// strip of equal frames side by side (frame k, counted from 1, is the k-th
// slice of width Bitmap.Width() / Frame) with its margins, transparency and
// tiling flags and state colours. The skin data component owns the records;
// each record owns its bitmaps. Records are filled by a skin load and read by
// the painting code; a few painting steps adjust them (the icon button takes
// the window icon), so their fields stay plain and public.
#include <windows.h>

#include <string>

#include "Graphics.h"
#include "SkinDescription.h"

namespace qs {

class TDataSkinObject : public TSkinObjectFields {
public:
    explicit TDataSkinObject(std::string name = {}) { Name = std::move(name); }
    virtual ~TDataSkinObject() = default;
    TDataSkinObject(const TDataSkinObject&) = delete;
    TDataSkinObject& operator=(const TDataSkinObject&) = delete;

    TBitmap Bitmap;

    // The four margins as one rectangle (left, top, right, bottom).
    RECT Margins() const { return RECT{LeftWidth, TopHeight, RightWidth, BottomHeight}; }
    // Width of one frame; 0 without an image or frame count.
    int FrameWidth() const { return Frame > 0 ? Bitmap.Width() / Frame : 0; }
    // Frame k (from 1) inside Bitmap.
    RECT FrameRect(int k) const;
    // Puts the value fields back to their defaults and drops the images
    // (the name stays).
    virtual void Reset();
};

// Adds a second image: the tab border (Tabs), the arrow glyphs (up-down
// buttons), or a left-right mirrored copy of the image (ComboButton).
class TDataSkinBorder : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    TBitmap Bitmap2;
    void Reset() override;
};

// The caption text. The base fields carry its layout: LeftWidth is the
// horizontal text offset, TopHeight the vertical one, RightWidth the space
// kept free on the right; Bitmap is the image behind the text.
class TDataSkinTitle : public TDataSkinObject, public TSkinTitleFields {
public:
    using TDataSkinObject::TDataSkinObject;
    int32_t TextShift() const { return LeftWidth; }
    int32_t TextShiftVert() const { return TopHeight; }
    int32_t TextRightClip() const { return RightWidth; }
    // kNoTitleColour when the skin gives none.
    bool HasActiveText() const { return ActiveText != kNoTitleColour; }
    bool HasInActiveText() const { return InActiveText != kNoTitleColour; }
    void Reset() override;
};

// Push buttons plus the check box and radio button strips.
class TDataSkinButton : public TDataSkinObject, public TSkinButtonFields {
public:
    using TDataSkinObject::TDataSkinObject;
    TBitmap CheckBitmap;
    TBitmap RadioBitmap;
    void Reset() override;
};

// One caption button; Action, Align, the coordinates and the visibility rules
// mean what the caption-button painter makes of them.
class TDataSkinSysButton : public TDataSkinObject, public TSkinSysButtonFields {
public:
    using TDataSkinObject::TDataSkinObject;
    void Reset() override;
};

// The group box label background.
class TDataSkinBoxLabel : public TDataSkinObject, public TSkinBoxLabelFields {
public:
    using TDataSkinObject::TDataSkinObject;
    void Reset() override;
};

// Pixels in and out of the toolkit bitmap. An empty image empties the bitmap.
void setBitmapPixels(TBitmap& bmp, const PixelImage& img);

}  // namespace qs
