#include "Preview.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "Bmp.h"
#include "Colour.h"
#include "QuickIni.h"
#include "Art.h"
#include "Theme.h"

namespace qs::gen {

namespace {

constexpr int kMenuHeight = 19;  // the system's menu-bar height the engine reserves
constexpr Px kDesk = rgb(86, 104, 122);

// Draws skin pieces onto the preview the way the engine lays them out; the
// description is read back, so the picture shows what the numbers say.
class Painter {
public:
    Painter(const GeneratedSkin& s, PixelImage& canvas)
        : FSkin(s), FTheme(s.theme), FR(canvas) {
        FIni.LoadFromText(s.ini.text());
    }

    const Theme& theme() const { return FTheme; }
    Raster& raster() { return FR; }

    const PixelImage& img(const std::string& name) const {
        const PixelImage* p = FSkin.find(name);
        if (!p) throw std::runtime_error("preview: no entry " + name);
        return *p;
    }
    int key(const char* section, const char* k, int def = 0) const { return FIni.ReadInteger(section, k, def); }
    Margins margins(const char* section) const {
        return {key(section, "LeftWidth"), key(section, "TopHeight"), key(section, "RightWidth"),
                key(section, "BottomHeight")};
    }
    std::string image(const char* section, const char* k = "Image") const {
        std::string name = imageReference(FIni.ReadString(section, k, ""));
        // [Buttons] and [Progress] name their image "Bitmap".
        return name.empty() ? imageReference(FIni.ReadString(section, "Bitmap", "")) : name;
    }

    void nine(const std::string& name, int frames, int index, bool stacked, Margins m, bool tile, PixelRect r,
              bool keyed = true) {
        if (r.empty()) return;
        const PixelImage p = nineSlice(img(name), frames, index, stacked, m, tile, r.width(), r.height());
        keyed ? FR.blitKeyed(p, r.left, r.top) : FR.blit(p, r.left, r.top);
    }
    // An element by its section: its image, frame count, margins and keying.
    void element(const char* section, int frames, int index, PixelRect r) {
        nine(image(section), frames, index, false, margins(section), key(section, "Tile") == 1, r,
             key(section, "Trans") == 1);
    }
    void frameAt(const std::string& name, int frames, int index, int x, int y) {
        const PixelImage& p = img(name);
        const int fw = p.width / frames;
        FR.blitKeyed(crop(p, {fw * (index - 1), 0, fw * index, p.height}), x, y);
    }
    void frameCentred(const std::string& name, int frames, int index, PixelRect r) {
        const PixelImage& p = img(name);
        const int fw = p.width / frames;
        frameAt(name, frames, index, r.left + (r.width() - fw) / 2, r.top + (r.height() - p.height) / 2);
    }

    // Text already placed inside r is dropped: something was drawn over it.
    void coverText(PixelRect r) {
        std::erase_if(FTexts, [&](const TextOp& t) {
            return t.x < r.right && t.x + t.w > r.left && t.y >= r.top && t.y < r.bottom;
        });
    }
    std::string mvgText() const {
        std::string out;
        for (const TextOp& t : FTexts) out += t.mvg;
        return out;
    }

    void text(int x, int y, Px c, const std::string& s, int size = 12, bool bold = false,
              const char* anchor = "start") {
        char colour[16];
        std::snprintf(colour, sizeof colour, "#%06X", unsigned(c));
        std::string clean;
        for (char ch : s) clean += (ch == '\'' || ch == '\\' || ch == '"' || ch == '$' || ch == '`') ? ' ' : ch;
        const int w = int(s.size()) * size * 6 / 10;  // roughly, for covering only
        FTexts.push_back({std::string(anchor) == "middle" ? x - w / 2 : x, y, w, ""});
        FTexts.back().mvg += "push graphic-context\nfont '" + std::string(bold ? "DejaVu-Sans-Bold" : "DejaVu-Sans") +
                "'\nfont-size " + std::to_string(size) + "\nfill '" + colour + "'\ntext-anchor " + anchor +
                "\ntext " + std::to_string(x) + "," + std::to_string(y) + " '" + clean + "'\npop graphic-context\n";
    }

private:
    const GeneratedSkin& FSkin;
    const Theme& FTheme;
    Raster FR;
    TQuickIni FIni;
    struct TextOp {
        int x, y, w;
        std::string mvg;
    };
    std::vector<TextOp> FTexts;
};

// --- a window ---------------------------------------------------------------------

struct Window {
    int x, y, w, h;
    bool active;
    std::string caption;
    bool mdiMaximized = false;
    int hotCaption = -1;  // action whose button is shown hot
};

struct Band {
    int left, top, right, bottom;
};

// Paints frame, title, caption buttons and menu bar; returns the client area
// below the menu band (window coordinates moved to the canvas).
PixelRect paintWindow(Painter& p, const Window& win, Band* menuBand) {
    const Theme& t = p.theme();
    const int idx = win.active ? 1 : 2, X = win.x, Y = win.y, W = win.w, H = win.h;
    const bool tile = t.tiled;
    p.nine("FrameLeft.bmp", 2, idx, false, {0, t.titleH, 0, t.bottomH}, tile, {X, Y, X + t.sideW, Y + H});
    p.nine("FrameRight.bmp", 2, idx, false, {0, t.titleH, 0, t.bottomH}, tile,
           {X + W - t.sideW, Y, X + W, Y + H});
    p.nine("FrameBottom.bmp", 2, idx, true, {0, 0, 0, 0}, tile,
           {X + t.sideW, Y + H - t.bottomH, X + W - t.sideW, Y + H});
    p.nine("FrameTop.bmp", 2, idx, true,
           {p.key("Personality", "TopTopHeight"), 0, p.key("Personality", "TopBotHeight"), 0}, tile,
           {X + t.sideW, Y, X + W - t.sideW, Y + t.titleH});
    // Caption buttons: Align 1 places Xcoord from the right edge.
    for (const CaptionButtonPlace& b : t.captionButtons) {
        if (b.visibility1 == 1) continue;  // restore: only when maximised
        int frame = win.active ? 1 : 4;
        if (win.active && b.action == win.hotCaption) frame = 3;
        p.frameAt(b.image, 6, frame, X + W - b.xcoord, Y + t.capY);
    }
    p.frameAt("IconButton.bmp", 1, 1, X + t.iconX, Y + t.iconY);
    p.text(X + t.textShift, Y + t.titleH / 2 + t.textShiftVert + 5, win.active ? t.titleText : t.titleTextI,
           win.caption, t.fontHeight - 4, true);
    // Menu band.
    const PixelRect band{X + t.sideW, Y + t.titleH, X + W - t.sideW, Y + t.titleH + kMenuHeight};
    p.nine("menu.bmp", 2, idx, true, {p.key("Personality", "TileLeftMenu", 1), 0,
                                      p.key("Personality", "TileRightMenu", 1), 0},
           false, band, false);
    int mx = band.left + p.key("Personality", "TileLeftMenu", 1) + 4;
    int n = 0;
    for (const char* item : {"File", "Edit", "View", "Help"}) {
        const int w = int(std::string(item).size()) * 7 + 10;
        if (win.active && n == 1) p.raster().frame({mx, band.top, mx + w, band.bottom - 1}, t.hilight);
        p.text(mx + w / 2, band.top + 14, t.menuBarText, item, 12, false, "middle");
        if (menuBand && n == 1) *menuBand = {mx, band.top, mx + w, band.bottom};
        mx += w;
        ++n;
    }
    if (win.mdiMaximized) {
        // The three buttons of a maximised child window, as laid out by Align 100.
        const PixelImage& mdi = p.img("button-mdi.bmp");
        const int a = mdi.width / 12;
        for (int i = 0; i < 3; ++i) {
            const int xc = (a + 4) * (3 - i);
            const int left = X + W - xc - t.sideW - p.key("Personality", "TileLeftMenu", 1);
            p.raster().blitKeyed(crop(mdi, {a * 4 * i, 0, a * 4 * i + a, mdi.height}), left,
                                 band.top + (kMenuHeight - mdi.height) / 2);
        }
    }
    const PixelRect client{X + t.sideW, band.bottom, X + W - t.sideW, Y + H - t.bottomH};
    p.raster().fill(client, t.face);
    return client;
}

ColourNum colourNum(Px p) { return ColourNum(pixelToColour(p)); }
Px pixelOf(ColourNum c) { return colourToPixel(uint32_t(resolveColour(c))); }

// The tool-bar gradient the loader derives from the frame's colour.
std::pair<Px, Px> toolbarColours(Painter& p) {
    const Theme& t = p.theme();
    const PixelImage& top = p.img("FrameTop.bmp");
    const ColourNum border = colourNum(top.at(top.width / 3, (top.height / 2) / 3));
    const ColourNum face = colourNum(t.face);
    const ColourNum a = MixColours(face, rgbColour(255, 255, 255), 150);
    ColourNum b = MixColours(rgbColour(128, 128, 128), border, 150);
    const int s = ColourSaturation(border);
    if (s > 110) b = MixColours(border, rgbColour(255, 255, 255), (5625 - 25 * s) / 140 + 50);
    return {pixelOf(a), pixelOf(b)};
}

void paintControls(Painter& p, PixelRect c) {
    const Theme& t = p.theme();
    Raster& r = p.raster();
    // Tool bar.
    const auto [tbTop, tbBottom] = toolbarColours(p);
    r.gradientV({c.left, c.top, c.right, c.top + 30}, tbTop, tbBottom);
    int tx = c.left + 4;
    for (int f : {1, 4, 2, 1}) {
        p.element("ToolBars", 5, f, {tx, c.top + 4, tx + 22, c.top + 26});
        r.fill({tx + 7, c.top + 10, tx + 15, c.top + 20}, f == 2 ? t.accentDark : t.text);
        r.fill({tx + 8, c.top + 11, tx + 14, c.top + 13}, t.field);
        tx += 24;
    }
    const int y0 = c.top + 38, x0 = c.left + 12;
    // Group box with check boxes and radio buttons.
    p.element("GroupBoxEdge", 2, 1, {x0, y0 + 6, x0 + 170, y0 + 150});
    p.element("GroupBox", 1, 1, {x0 + 8, y0, x0 + 78, y0 + 14});
    p.text(x0 + 14, y0 + 11, t.text, "Options", 11);
    const int cs = t.checkSize;
    const char* checks[] = {"Show channel list", "Stay on top", "Mixed state", "Unavailable"};
    const int checkFrames[] = {1, 2, 5, 4};
    for (int i = 0; i < 4; ++i) {
        const int y = y0 + 22 + i * 22;
        p.frameAt("checkbox.bmp", 5, checkFrames[i], x0 + 10, y);
        p.text(x0 + 16 + cs, y + cs - 2, i == 3 ? t.disabledText : t.text, checks[i], 11);
    }
    const char* radios[] = {"Standard", "High quality"};
    for (int i = 0; i < 2; ++i) {
        const int y = y0 + 112 + i * 20;
        p.frameAt("radio.bmp", 5, i == 1 ? 2 : 1, x0 + 10, y);
        p.text(x0 + 16 + cs, y + cs - 2, t.text, radios[i], 11);
    }
    // Edit with an up-down, and a combo box.
    const int ey = y0 + 162;
    p.element("SunkEdge", 4, 1, {x0, ey, x0 + 80, ey + 21});
    p.text(x0 + 6, ey + 15, t.windowText, "42", 11);
    p.nine(p.image("UpDown.Vert"), 8, 1, false, p.margins("UpDown.Vert"), false, {x0 + 82, ey, x0 + 99, ey + 10});
    p.nine(p.image("UpDown.Vert"), 8, 8, false, p.margins("UpDown.Vert"), false,
           {x0 + 82, ey + 10, x0 + 99, ey + 21});
    p.frameCentred(p.image("UpDown.Vert", "GlyphImage"), 8, 1, {x0 + 82, ey, x0 + 99, ey + 10});
    p.frameCentred(p.image("UpDown.Vert", "GlyphImage"), 8, 8, {x0 + 82, ey + 10, x0 + 99, ey + 21});
    const int cy = ey + 28, b = kScrollSize + 2;
    p.element("SunkEdge", 4, 1, {x0, cy, x0 + 150, cy + 21});
    p.nine("combo.bmp", 4, 1, false, p.margins("ComboButton"), false, {x0 + 150 - b, cy, x0 + 150, cy + 21});
    p.frameCentred("combo-arrows.bmp", 5, 1, {x0 + 150 - b, cy, x0 + 148, cy + 21});
    p.text(x0 + 6, cy + 15, t.windowText, "Channel 1", 11);
    // Push buttons: focused, hot, disabled.
    const int by = cy + 32;
    const char* labels[] = {"OK", "Cancel", "Apply"};
    const int frames[] = {5, 4, 3};
    for (int i = 0; i < 3; ++i) {
        const int bx = x0 + i * 80;
        p.element("Buttons", 5, frames[i], {bx, by, bx + 75, by + 25});
        p.text(bx + 37, by + 17, i == 2 ? t.disabledText : t.text, labels[i], 12, false, "middle");
    }
    // Tabs with their pane.
    const int px = x0 + 190, py = y0, pw = c.right - 12 - px;
    p.nine("tabborder.bmp", 1, 1, false, {4, 5, 4, 4}, false, {px, py + 21, px + pw, py + 190}, false);
    const char* tabs[] = {"General", "Picture", "Sound"};
    int tabX = px + 2;
    for (int i = 0; i < 3; ++i) {
        const int w = int(std::string(tabs[i]).size()) * 7 + 16;
        const bool sel = i == 0;
        p.element("Tabs", 5, sel ? 2 : (i == 2 ? 4 : 1), {tabX - (sel ? 2 : 0), py + (sel ? 0 : 2), tabX + w + (sel ? 2 : 0), py + 22});
        p.text(tabX + w / 2, py + 16, t.text, tabs[i], 11, false, "middle");
        tabX += w;
    }
    // Inside the pane: a list with header and scroll bar, progress, track bar.
    const int lx = px + 10, ly = py + 32, lw = pw - 20, lh = 86;
    r.fill({lx, ly, lx + lw, ly + lh}, t.window);
    r.frame({lx - 1, ly - 1, lx + lw + 1, ly + lh + 1}, t.fieldBorder);
    const int sb = kScrollSize;
    const char* cols[] = {"Name", "Time", "Rating"};
    int hx = lx;
    for (int i = 0; i < 3; ++i) {
        const int w = i == 2 ? lx + lw - sb - hx : 80;
        p.element("Headerbar", 5, i == 1 ? 2 : 1, {hx, ly, hx + w, ly + 20});
        p.text(hx + 6, ly + 14, t.text, cols[i], 11);
        hx += w;
    }
    const char* rows[] = {"Morning news", "Weather", "Documentary"};
    for (int i = 0; i < 3; ++i) {
        const int ry = ly + 22 + i * 18;
        if (i == 1) r.fill({lx, ry, lx + lw - sb, ry + 18}, t.menuSel);
        p.text(lx + 6, ry + 13, i == 1 ? t.menuSelText : t.windowText, rows[i], 11);
        p.text(lx + 86, ry + 13, i == 1 ? t.menuSelText : t.windowText, i == 0 ? "07:00" : (i == 1 ? "07:30" : "08:00"), 11);
    }
    const int sx = lx + lw - sb;
    p.element("VertScroll", 4, 1, {sx, ly + sb, sx + sb, ly + lh - sb});
    p.frameAt("arrows.bmp", 23, 9, sx, ly);
    p.frameAt("arrows.bmp", 23, 16, sx, ly + lh - sb);
    p.nine(p.image("VertScrollThumb"), 3, 1, false, p.margins("VertScrollThumb"), false,
           {sx, ly + sb + 6, sx + sb, ly + sb + 40});
    p.frameAt("arrows.bmp", 23, 20, sx, ly + sb + 23 - sb / 2);
    // Horizontal scroll bar under the list.
    const int hy = ly + lh + 4;
    p.element("HorzScroll", 4, 1, {lx + sb, hy, lx + lw - sb, hy + sb});
    p.frameAt("arrows.bmp", 23, 1, lx, hy);
    p.frameAt("arrows.bmp", 23, 8, lx + lw - sb, hy);
    p.nine(p.image("HorzScrollThumb"), 3, 3, false, p.margins("HorzScrollThumb"), false,
           {lx + sb + 30, hy, lx + sb + 100, hy + sb});
    p.frameAt("arrows.bmp", 23, 19, lx + sb + 65 - sb / 2, hy);
    // Progress bar at 60 %.
    const int gy = hy + sb + 10;
    const PixelRect prog{lx, gy, lx + lw, gy + 14};
    p.nine("progress.bmp", 2, 1, false, p.margins("Progress"), false, prog);
    p.nine("progress.bmp", 2, 2, false, p.margins("Progress"), false, {lx, gy, lx + lw * 6 / 10, gy + 14});
    // Track bar: channel and thumb.
    const int ty = gy + 22;
    p.element("Track", 1, 1, {lx + 4, ty + 8, lx + lw - 4, ty + 14});
    p.frameAt("thumb-horz.bmp", 5, 2, lx + lw / 3, ty + 1);
    p.frameAt("thumb-down.bmp", 5, 4, lx + lw * 2 / 3, ty + 1);
    // Status bar with a size grip.
    const int sy = c.bottom - 20;
    r.fill({c.left, sy, c.right, c.bottom}, t.face);
    p.element("StatusBarEdges", 3, 1, {c.left, sy + 1, c.left + 220, c.bottom});
    p.element("StatusBarEdges", 3, 1, {c.left + 222, sy + 1, c.right, c.bottom});
    p.text(c.left + 6, sy + 15, t.text, "Ready - double-click for help", 11);
    p.frameAt("combo-arrows.bmp", 5, 5, c.right - 13, c.bottom - 13);
}

void paintPopup(Painter& p, Band anchor) {
    const Theme& t = p.theme();
    const int x = anchor.left, y = anchor.bottom, w = 150;
    const char* items[] = {"Undo", "-", "Cut", "Copy", "Paste", "Always on top"};
    int h = 6;
    for (const char* it : items) h += std::string(it) == "-" ? 8 : 20;
    p.coverText({x, y, x + w, y + h + 12});
    p.element("MenuBackground", 1, 1, {x, y, x + w, y + h});
    int iy = y + 3;
    for (int i = 0; i < 6; ++i) {
        const std::string it = items[i];
        const int ih = it == "-" ? 8 : 20;
        const PixelRect ir{x + 3, iy, x + w - 3, iy + ih};
        if (it == "-") {
            const PixelImage& mi = p.img("menutool.bmp");
            const int fw = mi.width / 5;
            const PixelImage band = crop(mi, {fw, mi.height - ih, fw * 2, mi.height});
            p.raster().blitKeyed(nineSlice(band, 1, 1, false, {3, 0, 3, 0}, false, ir.width(), ih), ir.left, ir.top);
        } else {
            const bool sel = i == 3;
            if (sel) p.element("MenuItem", 5, 4, ir);
            const Px c = i == 4 ? t.shadow : (sel ? t.menuSelText : t.menuText);
            p.text(ir.left + 1 + 3 + 16 + 3, iy + 14, c, it, 12);
            if (i == 5) {
                Raster& r = p.raster();
                drawGlyph(r, Glyph::Check, ir.left + 1 + 3 + 8, iy + 10, 9, t.menuText, 1.6);
            }
        }
        iy += ih;
    }
}

// --- the element sheet ----------------------------------------------------------------

void checker(Raster& r, PixelRect rc) {
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            r.set(x, y, ((x / 4 + y / 4) & 1) ? rgb(204, 204, 204) : rgb(236, 236, 236));
}

int paintSheet(Painter& p, const GeneratedSkin& s, int top, int width, int zoom) {
    Raster& r = p.raster();
    int x = 10, y = top, rowH = 0;
    for (const auto& [name, img] : s.images) {
        const int w = img.width * zoom, h = img.height * zoom;
        if (x + w > width - 10) x = 10, y += rowH + 22, rowH = 0;
        checker(r, {x, y + 14, x + w, y + 14 + h});
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i) {
                const Px c = img.at(i / zoom, j / zoom);
                if (c != kMagenta) r.set(x + i, y + 14 + j, c);
            }
        p.text(x, y + 11, rgb(230, 230, 230), name + "  " + std::to_string(img.width) + "x" +
                                                   std::to_string(img.height), 10);
        x += std::max(w, 150) + 14;
        rowH = std::max(rowH, h + 14);
    }
    return y + rowH + 10;
}

}  // namespace

Preview renderPreview(const GeneratedSkin& skin) {
    const int W = 1100;
    Preview out;
    out.image = PixelImage(W, 2400, kDesk);
    Painter p(skin, out.image);
    Raster& r = p.raster();
    r.gradientV({0, 0, W, 480}, rgb(70, 92, 116), rgb(118, 136, 150));
    // The main mock window, active, with Close hot and a menu open.
    Band editMenu{};
    const PixelRect client = paintWindow(p, {20, 20, 560, 440, true, "Qelvo - " + p.theme().id, false, 0},
                                         &editMenu);
    paintControls(p, client);
    paintPopup(p, editMenu);
    // An inactive window and one with a maximised child's buttons.
    paintWindow(p, {610, 20, 420, 150, false, "Inactive window", false}, nullptr);
    const PixelRect c2 = paintWindow(p, {610, 200, 420, 150, true, "Maximised child", true}, nullptr);
    p.text(c2.left + 10, c2.top + 24, p.theme().text, "Child-window buttons sit in the menu bar.", 11);
    // Every element, at 100 % and again three times larger.
    r.fill({0, 480, W, 2400}, rgb(48, 52, 58));
    p.text(10, 500, rgb(255, 255, 255), "Elements at 100 %", 13, true);
    int y = paintSheet(p, skin, 510, W, 1);
    p.text(10, y + 10, rgb(255, 255, 255), "Small elements at 300 %", 13, true);
    GeneratedSkin small;
    small.name = skin.name;
    small.theme = skin.theme;
    for (const char* n : {"CloseButton.bmp", "MaxButton.bmp", "MinButton.bmp", "RestroreButton.bmp",
                          "checkbox.bmp", "radio.bmp", "combo-arrows.bmp", "button-mdi.bmp", "thumb-horz.bmp",
                          "thumb-up.bmp", "updown-vert.bmp", "updown-vert-glyphs.bmp"})
        if (const PixelImage* i = skin.find(n)) small.add(n, *i);
    y = paintSheet(p, small, y + 20, W, 3);
    out.image = crop(out.image, {0, 0, W, std::min(2400, y + 10)});
    out.mvg = p.mvgText();
    return out;
}

std::string writePreview(const GeneratedSkin& skin, const std::string& dir) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    const Preview pv = renderPreview(skin);
    const auto base = std::filesystem::path(dir) / (skin.name + "-preview");
    PixelImage copy = pv.image;
    const auto bytes = WriteBmp24(copy.view());
    {
        std::ofstream f(base.string() + ".bmp", std::ios::binary);
        f.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        if (!f) return "";
        std::ofstream m(base.string() + ".mvg", std::ios::binary);
        m << pv.mvg;
    }
    if (!std::filesystem::exists("/usr/bin/convert")) return base.string() + ".bmp";
    // The text goes inline: ImageMagick's default policy refuses "@file" arguments.
    const std::string cmd = "/usr/bin/convert '" + base.string() + ".bmp' -draw \"$(cat '" + base.string() +
                            ".mvg')\" '" + base.string() + ".png'";
    if (std::system(cmd.c_str()) != 0) return base.string() + ".bmp";
    return base.string() + ".png";
}

}  // namespace qs::gen
