#pragma once
// Image lists: equal-sized pictures with masks, drawn by index (menu glyphs,
// tool buttons). A 32-bit colour list with masks; the handle is made on
// demand and changing the image size empties the list.
#include <windows.h>
#include <commctrl.h>

#include "Graphics.h"
#include "core/Component.h"

namespace qs {

struct ImageListDeleter {
    void operator()(HIMAGELIST h) const noexcept { ::ImageList_Destroy(h); }
};
using UniqueImageList = unique_handle<HIMAGELIST, ImageListDeleter>;

class TImageList : public TComponent {
    QS_DECLARE_CLASS(TImageList)
public:
    explicit TImageList(TComponent* owner = nullptr);
    ~TImageList() override;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // A new size empties the list (the images no longer fit).
    void SetWidth(int w);
    void SetHeight(int h);
    void SetSize(int w, int h);

    // A picture wider than Width adds one image per Width-wide slice; the
    // result is the index of the first, or -1 on failure.
    int Add(TBitmap& image, TBitmap* mask = nullptr);
    // Pixels of `transparent` become the mask; the caller's bitmap stays as it was.
    int AddMasked(TBitmap& image, TColor transparent);
    bool Delete(int index);
    void Clear();
    int Count() const;
    // Disabled images are drawn greyed and washed out.
    void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true);
    // The image on a background of `background`, as a bitmap of the list's size.
    bool GetBitmap(int index, TBitmap& out, TColor background = clFuchsia);

    HIMAGELIST Handle();
    bool HandleAllocated() const { return bool(FHandle); }

    TNotifyEvent OnChange;

private:
    void Changed();
    int FWidth = 16;
    int FHeight = 16;
    UniqueImageList FHandle;
};

}  // namespace qs
