#include "Contrast.h"

#include <algorithm>

#include "ColourText.h"
#include "QuickIni.h"
#include "SkinReader.h"

namespace qs::skintool {

namespace {

using namespace syscolour;

constexpr uint32_t kMagenta = 0xFF00FF;

struct Zone {
    std::string section, imageKey;
    int frames = 1;
    int frame = 1;
    bool stacked = false;
    // Margins of the frame; the text goes inside them.
    int left = 0, top = 0, right = 0, bottom = 0;
};

// The average colour of each row of the middle half of the text zone;
// keyed-out pixels show `under`.
std::vector<ColourNum> rowColours(const PixelImage& img, const Zone& z, ColourNum under) {
    std::vector<ColourNum> rows;
    if (z.frames < 1 || z.frame > z.frames || img.empty()) return rows;
    int x0 = 0, y0 = 0, w = img.width, h = img.height;
    if (z.stacked) {
        h = img.height / z.frames;
        y0 = (z.frame - 1) * h;
    } else {
        w = img.width / z.frames;
        x0 = (z.frame - 1) * w;
    }
    if (w <= 0 || h <= 0) return rows;
    const int l = std::max(z.left, 0), t = std::max(z.top, 0), r = std::max(z.right, 0), b = std::max(z.bottom, 0);
    if (int64_t(l) + r < w) {
        x0 += l;
        w -= l + r;
    }
    if (int64_t(t) + b < h) {
        y0 += t;
        h -= t + b;
    }
    const uint32_t underPx = colourToPixel(uint32_t(resolveColour(under)));
    for (int y = y0 + h / 4; y < y0 + h - h / 4 || y == y0 + h / 4; ++y) {
        uint64_t sr = 0, sg = 0, sb = 0;
        for (int x = x0; x < x0 + w; ++x) {
            uint32_t p = img.at(x, y) & 0xFFFFFF;
            if (p == kMagenta) p = underPx;
            sr += (p >> 16) & 0xFF;
            sg += (p >> 8) & 0xFF;
            sb += p & 0xFF;
        }
        rows.push_back(rgbColour(int(sr / w), int(sg / w), int(sb / w)));
    }
    return rows;
}

class Collector {
public:
    Collector(const TQuickIni& ini, const ImageLookup& image) : FIni(ini), FImage(image) {}

    ColourNum colour(std::string_view section, std::string_view key, ColourNum def) const {
        return resolveColour(ReadColour(FIni, section, key, def));
    }
    int integer(std::string_view section, std::string_view key, int def) const {
        return FIni.ReadInteger(section, key, def);
    }

    void flat(std::string what, ColourNum text, ColourNum back) { add(std::move(what), text, {resolveColour(back)}); }

    // Text on a frame of an element's image; without the image, on `under`.
    void drawn(const std::string& textName, ColourNum text, const Zone& z, ColourNum under) {
        const std::string entry = imageReference(FIni.ReadString(z.section, z.imageKey, ""));
        const PixelImage* img = entry.empty() ? nullptr : FImage(entry);
        std::vector<ColourNum> rows;
        if (img) rows = rowColours(*img, z, under);
        std::string what = textName + " on ";
        if (rows.empty()) {
            what += "the colour under it";
            rows.push_back(resolveColour(under));
        } else {
            what += entry + " frame " + std::to_string(z.frame);
        }
        add(std::move(what), text, rows);
    }

    Zone zone(std::string section, std::string imageKey, int frames, int frame) const {
        Zone z{section, imageKey, frames, frame};
        z.left = integer(section, "LeftWidth", 0);
        z.top = integer(section, "TopHeight", 0);
        z.right = integer(section, "RightWidth", 0);
        z.bottom = integer(section, "BottomHeight", 0);
        return z;
    }

    std::vector<TextPair> FOut;

private:
    void add(std::string what, ColourNum text, const std::vector<ColourNum>& backs) {
        TextPair p{std::move(what), resolveColour(text), 0, 22};
        for (ColourNum b : backs) {
            const double r = ContrastRatio(p.text, b);
            if (r < p.ratio) {
                p.ratio = r;
                p.back = b;
            }
        }
        FOut.push_back(std::move(p));
    }

    const TQuickIni& FIni;
    const ImageLookup& FImage;
};

}  // namespace

std::string colourText(ColourNum c) {
    return std::to_string(redOf(c)) + " " + std::to_string(greenOf(c)) + " " + std::to_string(blueOf(c));
}

std::vector<TextPair> textPairs(const TQuickIni& ini, const ImageLookup& image) {
    Collector c(ini, image);
    const char* C = "Colours";
    const ColourNum face = c.colour(C, "ButtonFace", clBtnFace);
    const ColourNum buttonText = c.colour(C, "ButtonText", clBtnText);
    const ColourNum window = c.colour(C, "Window", DeriveWindowColour(face));
    const ColourNum menu = c.colour(C, "Menu", clMenu);
    const ColourNum menuText = c.colour(C, "MenuText", clMenuText);
    const ColourNum hilight = c.colour(C, "Hilight", clHighlight);
    const ColourNum hilightText = c.colour(C, "HilightText", clHighlightText);

    // Content and dialog text, selections, menus.
    c.flat("[Colours] WindowText on Window", c.colour(C, "WindowText", clWindowText), window);
    c.flat("[Colours] ButtonText on ButtonFace", buttonText, face);
    c.flat("[Colours] MenuText on Menu", menuText, menu);
    c.flat("[Colours] HilightText on Hilight", hilightText, hilight);
    {
        // The menu bar strip: two stacked frames, fixed ends left and right.
        Zone z{"Personality", "menuBar", 2, 1, true};
        z.left = c.integer("Personality", "TileLeftMenu", 1);
        z.right = c.integer("Personality", "TileRightMenu", 1);
        c.drawn("[Colours] MenuBarText", c.colour(C, "MenuBarText", clMenuText), z, c.colour(C, "Menubar", face));
    }
    if (ini.SectionExists("MenuBackground")) {
        Zone z = c.zone("MenuBackground", "Image", 1, 1);
        c.drawn("[Colours] MenuText", menuText, z, menu);
    }
    if (ini.SectionExists("MenuItem")) {
        c.drawn("[Colours] MenuText", menuText, c.zone("MenuItem", "Image", 5, 1), menu);
        c.drawn("[Colours] HilightText", hilightText, c.zone("MenuItem", "Image", 5, 4), menu);
    }

    // The caption of an active window, on the title part of the top border.
    {
        ColourNum title = c.colour(C, "TitleTextActive", clCaptionText);
        ReadColourKeys(ini, "Personality", "ActiveText", title);
        Zone z{"Personality", "Top", std::max(1, c.integer("Personality", "TopFrame", 1)), 1, true};
        z.left = c.integer("Personality", "TopTopHeight", 0);
        z.right = c.integer("Personality", "TopBotHeight", 0);
        c.drawn("[Personality] caption text (ActiveText, or [Colours] TitleTextActive)", title, z, face);
    }

    // Controls drawn from images, state by state.
    const std::string B = "Buttons";
    for (auto [key, frame] : {std::pair{"NormalColour2", 1}, std::pair{"MouseOverColour2", 4},
                              std::pair{"PressedColour2", 2}}) {
        if (ini.SectionExists(B)) {
            Zone z = c.zone(B, "Bitmap", 5, frame);
            c.drawn("[" + B + "] " + key, c.colour(B, key, buttonText), z, face);
        }
    }
    struct Strip {
        const char* section;
        int frames;
        std::pair<const char*, int> states[2];
    };
    const Strip strips[] = {
        {"Tabs", 5, {{"NormalColour2", 1}, {"MouseOverColour2", 2}}},
        {"Headerbar", c.integer("Headerbar", "Frame", 0) > 0 ? c.integer("Headerbar", "Frame", 0) : 5,
         {{"NormalColour2", 1}, {"MouseOverColour2", 2}}},
        {"StatusBarEdges", 3, {{"NormalColour2", 1}, {nullptr, 0}}},
    };
    for (const Strip& s : strips) {
        if (!ini.SectionExists(s.section)) continue;
        for (auto [key, frame] : s.states)
            if (key)
                c.drawn("[" + std::string(s.section) + "] " + key, c.colour(s.section, key, buttonText),
                        c.zone(s.section, "Image", s.frames, frame), face);
    }
    return std::move(c.FOut);
}

}  // namespace qs::skintool
