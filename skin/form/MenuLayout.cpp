#include "MenuLayout.h"

#include <algorithm>

namespace qs {

// ---- menu bar -----------------------------------------------------------------

int MenuBarStartOffset(bool hasMenuBarElement, int elementLeftWidth, int elementRightWidth, bool rightToLeft,
                       int bandWidth) {
    if (!hasMenuBarElement) return 6;
    const int offset = rightToLeft ? elementRightWidth + 8 : elementLeftWidth + 4;
    return bandWidth < offset ? 12 : offset;
}

int MenuBarButtonWidth(int captionWidth) { return captionWidth > 0 ? captionWidth + 10 : 0; }

std::vector<PixelRect> LayoutMenuBar(const PixelRect& band, const std::vector<MenuBarItem>& items, int startOffset,
                                     bool rightToLeft, int rtlStartLimit) {
    std::vector<PixelRect> out(items.size());
    if (band.empty()) return out;
    const int bottom = band.bottom - 1;
    if (!rightToLeft) {
        int x = startOffset;
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (!items[i].visible) continue;
            const int w = MenuBarButtonWidth(items[i].captionWidth);
            out[i] = PixelRect{band.left + x, band.top, band.left + x + w, bottom};
            x += w;
        }
        return out;
    }
    int x = band.width() - startOffset;
    if (rtlStartLimit >= 0 && rtlStartLimit < x) x = rtlStartLimit;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (!items[i].visible) continue;
        const int w = MenuBarButtonWidth(items[i].captionWidth);
        out[i] = PixelRect{band.left + x - w, band.top, band.left + x, bottom};
        x -= w;
    }
    return out;
}

namespace {
bool takesRoom(const MenuBarHit& b) { return b.visible && !b.captionEmpty && !b.bounds.empty(); }
bool contains(const PixelRect& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }
wchar_t asciiUpper(wchar_t c) { return c >= L'a' && c <= L'z' ? wchar_t(c - L'a' + L'A') : c; }
}  // namespace

int MenuBarButtonAt(const std::vector<MenuBarHit>& buttons, int x, int y) {
    for (std::size_t i = 0; i < buttons.size(); ++i)
        if (!buttons[i].captionEmpty && buttons[i].visible && contains(buttons[i].bounds, x, y)) return int(i);
    return -1;
}

wchar_t MenuAccelChar(const std::wstring& caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&') continue;
        if (caption[i + 1] == L'&') {
            ++i;  // a literal ampersand
            continue;
        }
        return caption[i + 1];
    }
    return 0;
}

int FindAccelIndex(const std::vector<std::wstring>& captions, const std::vector<MenuBarHit>& buttons, wchar_t ch,
                   const std::function<wchar_t(wchar_t)>& upper) {
    if (!ch) return -1;
    auto fold = [&](wchar_t c) { return upper ? upper(c) : asciiUpper(c); };
    const wchar_t want = fold(ch);
    const std::size_t n = std::min(captions.size(), buttons.size());
    for (std::size_t i = 0; i < n; ++i) {
        if (!buttons[i].enabled || !buttons[i].visible) continue;
        const wchar_t a = MenuAccelChar(captions[i]);
        if (a && fold(a) == want) return int(i);
    }
    return -1;
}

int FirstMenuBarButton(const std::vector<MenuBarHit>& buttons) {
    for (std::size_t i = 0; i < buttons.size(); ++i)
        if (takesRoom(buttons[i])) return int(i);
    return -1;
}

// ---- keyboard walk ----------------------------------------------------------------

unsigned SwapArrowForRtl(unsigned vk, bool rightToLeft) {
    if (!rightToLeft) return vk;
    if (vk == kVkLeft) return kVkRight;
    if (vk == kVkRight) return kVkLeft;
    return vk;
}

int MenuWalkTarget(unsigned vk, const MenuWalkState& s, const std::vector<MenuBarHit>& buttons) {
    const int n = int(buttons.size());
    if (n == 0 || s.openIndex < 0 || s.openIndex >= n) return -1;
    int step = 0;
    if (vk == kVkLeft) {
        if (s.inNestedSubMenu) return -1;  // the system closes the nested sub-menu
        step = -1;
    } else if (vk == kVkRight) {
        if (s.selectedHasSubItems) return -1;  // the system opens the sub-items
        step = 1;
    } else {
        return -1;
    }
    int i = s.openIndex;
    for (int k = 0; k < n; ++k) {
        i = (i + step + n) % n;
        if (i == s.openIndex) return -1;  // nothing else to go to
        if (takesRoom(buttons[std::size_t(i)])) return i;
    }
    return -1;
}

// ---- measuring ----------------------------------------------------------------------

int MenuItemExtraWidth(bool popup, bool hasMenuItemElement, int elementLeftWidth, bool menuHasImages) {
    const int lw = hasMenuItemElement ? elementLeftWidth : 0;
    return lw + (menuHasImages ? (popup ? 12 : 10) : 35);
}

ForeignItemSize MeasureForeignItem(int textWidth, bool hasText, int systemHeight, bool hasMenuItemElement,
                                   int elementLeftWidth, bool oldSystem) {
    ForeignItemSize s;
    s.width = textWidth + 26 + (hasMenuItemElement ? elementLeftWidth : 0);
    s.height = hasText ? systemHeight + 4 : 8;
    if (oldSystem) s.height += 4;
    return s;
}

// ---- content layout -------------------------------------------------------------------

int MenuGlyphSize(bool hasImageList, int imageListWidth, bool checked) {
    int g = hasImageList && imageListWidth > 0 ? imageListWidth : 16;
    if (checked) g = std::max(g, 16);
    return g;
}

PixelRect MirrorRect(const PixelRect& r, const PixelRect& within) {
    const int s = within.left + within.right;
    return PixelRect{s - r.right, r.top, s - r.left, r.bottom};
}

int MenuImageTop(const PixelRect& item, int imageHeight, bool checked) {
    const int h = checked ? 16 : imageHeight;
    return item.top + (item.height() - h) / 2;
}

MenuItemContentLayout LayoutMenuItemContent(const MenuItemContentInput& in) {
    MenuItemContentLayout out;
    const PixelRect& r = in.item;
    const int boxLeft = r.left + 1 + in.elementLeftWidth;
    const int g = in.separator ? 0 : in.glyphSize;
    out.glyphBox = PixelRect{boxLeft, r.top + 1, boxLeft + g, r.top + 1 + g};
    const int textTop = r.top + (r.height() - in.textHeight) / 2;
    out.text = PixelRect{out.glyphBox.right + 3, textTop, std::max(out.glyphBox.right + 3, r.right - 1),
                         textTop + in.textHeight};
    if (in.shortcutWidth > 0) {
        const int from = std::min(out.text.left + in.textWidth, r.right - 11);
        out.shortcut = PixelRect{from, out.text.top, std::max(from, r.right - 11), out.text.bottom};
    }
    if (in.rightToLeft) {
        out.glyphBox = MirrorRect(out.glyphBox, r);
        out.text = MirrorRect(out.text, r);
        if (in.shortcutWidth > 0) out.shortcut = MirrorRect(out.shortcut, r);
    }
    return out;
}

// ---- separators -------------------------------------------------------------------------

std::vector<SliceBlit> SeparatorSlices(int bitmapWidth, int bitmapHeight, int leftWidth, int rightWidth,
                                       int itemWidth, int itemHeight) {
    std::vector<SliceBlit> out;
    const int fw = bitmapWidth / 5;
    if (fw <= 0 || bitmapHeight <= 0 || itemWidth <= 0 || itemHeight <= 0) return out;
    const int bandH = std::min(itemHeight, bitmapHeight);
    const int srcTop = bitmapHeight - bandH, srcLeft = fw;  // frame 2
    const int dstTop = itemHeight - bandH;
    int l = std::max(leftWidth, 0), r = std::max(rightWidth, 0);
    if (l + r > fw || l + r > itemWidth) l = r = 0;
    auto add = [&](int sx0, int sx1, int dx0, int dx1) {
        if (sx1 <= sx0 || dx1 <= dx0) return;
        out.push_back(SliceBlit{PixelRect{srcLeft + sx0, srcTop, srcLeft + sx1, bitmapHeight},
                                PixelRect{dx0, dstTop, dx1, itemHeight}});
    };
    add(0, l, 0, l);
    add(l, fw - r, l, itemWidth - r);
    add(fw - r, fw, itemWidth - r, itemWidth);
    return out;
}

}  // namespace qs
