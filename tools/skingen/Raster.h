#pragma once
// Small raster helpers the skin generator draws with: fills, gradients,
// bevels, and anti-aliased shapes given as signed distance functions (negative
// inside). Pixels are 0x00RRGGBB as in PixelImage.
//
// Skin bitmaps key out pure magenta, so anti-aliasing against a magenta pixel
// cannot blend with it (the edge would turn pink on screen). A partly covered
// pixel over magenta is blended with the "matte" instead: the colour the
// element is expected to sit on (the skin's face colour, a frame's outline).
#include <cstdint>
#include <functional>
#include <vector>

#include "PixelView.h"

namespace qs::gen {

using Px = uint32_t;

inline constexpr Px kMagenta = 0xFF00FF;
// Olive as a pixel: the colour number 0x008080 has red and green 0x80.
inline constexpr Px kOlive = 0x808000;

constexpr Px rgb(int r, int g, int b) { return Px((r & 0xFF) << 16 | (g & 0xFF) << 8 | (b & 0xFF)); }
constexpr int pr(Px p) { return int(p >> 16) & 0xFF; }
constexpr int pg(Px p) { return int(p >> 8) & 0xFF; }
constexpr int pb(Px p) { return int(p) & 0xFF; }

// t = 0 gives a, t = 1 gives b. A result that would be pure magenta is nudged
// one step so it is never keyed out by accident.
Px mix(Px a, Px b, double t);
Px lighten(Px c, double t);  // toward white
Px darken(Px c, double t);   // toward black
Px safe(Px c);               // c, unless it is magenta

// Signed distance (pixels) from a point; negative inside the shape.
using Sdf = std::function<double(double x, double y)>;

Sdf sdRoundRect(double l, double t, double r, double b, double radius);
Sdf sdRoundRect4(double l, double t, double r, double b, double tl, double tr, double br, double bl);
Sdf sdCircle(double cx, double cy, double radius);
Sdf sdSegment(double x0, double y0, double x1, double y1, double halfWidth);
Sdf sdPolyline(std::vector<double> xy, double halfWidth);  // x0,y0,x1,y1,...
Sdf sdPolygon(std::vector<double> xy);                    // closed, either winding
Sdf sdUnion(Sdf a, Sdf b);
Sdf sdSubtract(Sdf a, Sdf b);  // a without b
Sdf sdRing(Sdf s, double halfWidth);  // an outline of width 2 * halfWidth along s's edge

// The colour under each pixel for a shape fill.
using Brush = std::function<Px(int x, int y)>;
Brush solid(Px c);
Brush vgrad(int top, int bottom, Px a, Px b);  // a at row `top`, b at row `bottom`
Brush hgrad(int left, int right, Px a, Px b);

class Raster {
public:
    explicit Raster(PixelImage& img) : FImg(img) {}

    PixelImage& image() { return FImg; }
    int width() const { return FImg.width; }
    int height() const { return FImg.height; }

    void setMatte(Px m) { FMatte = m; }
    Px matte() const { return FMatte; }

    Px get(int x, int y) const;
    void set(int x, int y, Px c);
    // Blends c over the pixel with coverage a in [0, 1] (matte rule above).
    void blend(int x, int y, Px c, double a);

    void fill(PixelRect r, Px c);
    void fill(PixelRect r, const Brush& b);
    void gradientV(PixelRect r, Px top, Px bottom);
    void gradientH(PixelRect r, Px left, Px right);
    void hline(int x0, int x1, int y, Px c);  // x1 exclusive
    void vline(int x, int y0, int y1, Px c);  // y1 exclusive
    void frame(PixelRect r, Px c);            // one-pixel outline inside r
    // One-pixel 3-D edge: light on top and left, dark on bottom and right.
    void bevel(PixelRect r, Px light, Px dark);

    // Anti-aliased shape: coverage from the distance at each pixel centre.
    void shape(const Sdf& s, const Brush& b, double alpha = 1.0);
    void shape(const Sdf& s, Px c, double alpha = 1.0) { shape(s, solid(c), alpha); }
    // The same limited to a rectangle (faster for small shapes on big images).
    void shape(PixelRect clip, const Sdf& s, const Brush& b, double alpha = 1.0);

    // Hard-edged shape: every pixel whose centre lies inside takes the colour.
    void solidShape(const Sdf& s, Px c);

    // Copies; the keyed form skips magenta source pixels.
    void blit(const PixelImage& src, int x, int y);
    void blitKeyed(const PixelImage& src, int x, int y, Px key = kMagenta);

private:
    PixelImage& FImg;
    Px FMatte = rgb(128, 128, 128);
};

PixelImage makeImage(int w, int h, Px fill = kMagenta);
PixelImage crop(const PixelImage& src, PixelRect r);
// Frames laid side by side (all of the first frame's height) or stacked.
PixelImage hstack(const std::vector<PixelImage>& frames);
PixelImage vstack(const std::vector<PixelImage>& frames);
PixelImage mirrored(PixelImage img);  // left to right
PixelImage flipped(PixelImage img);   // upside down
PixelImage turnedRight(PixelImage img);

// Nine-part drawing of one frame of a strip into a new image of size w x h:
// corners kept, edges and centre stretched (nearest pixel) or the centre tiled.
struct Margins {
    int left = 0, top = 0, right = 0, bottom = 0;
};
PixelImage nineSlice(const PixelImage& strip, int frames, int index, bool stacked, Margins m, bool tile, int w,
                     int h);

}  // namespace qs::gen
