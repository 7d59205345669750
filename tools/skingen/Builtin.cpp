#include "Builtin.h"

#include <array>
#include <cctype>
#include <filesystem>
#include <fstream>

#include "Glyphs.h"

namespace qs::gen {

namespace {

constexpr std::array<Px, 16> kClassic = {
    rgb(0, 0, 0),       rgb(128, 0, 0),   rgb(0, 128, 0),   rgb(128, 128, 0),
    rgb(0, 0, 128),     rgb(128, 0, 128), rgb(0, 128, 128), rgb(192, 192, 192),
    rgb(128, 128, 128), rgb(255, 0, 0),   rgb(0, 255, 0),   rgb(255, 255, 0),
    rgb(0, 0, 255),     rgb(255, 0, 255), rgb(0, 255, 255), rgb(255, 255, 255),
};
constexpr std::array<Px, 2> kMono = {rgb(0, 0, 0), rgb(255, 255, 255)};

constexpr Px kWhite = rgb(255, 255, 255), kBlack = rgb(0, 0, 0), kGrey = rgb(128, 128, 128);
constexpr Px kSilver = rgb(192, 192, 192);

void put16(std::vector<uint8_t>& o, uint32_t v) {
    o.push_back(uint8_t(v));
    o.push_back(uint8_t(v >> 8));
}
void put32(std::vector<uint8_t>& o, uint32_t v) {
    put16(o, v & 0xFFFF);
    put16(o, v >> 16);
}

int nearest(std::span<const Px> palette, Px c) {
    int best = 0;
    long bestD = -1;
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const long dr = pr(c) - pr(palette[i]), dg = pg(c) - pg(palette[i]), db = pb(c) - pb(palette[i]);
        const long d = dr * dr + dg * dg + db * db;
        if (bestD < 0 || d < bestD) best = int(i), bestD = d;
    }
    return best;
}

// --- track grooves ----------------------------------------------------------------

PixelImage trackGroove() {
    // A sunken groove: grey over dark grey, white underneath.
    PixelImage img(16, 4, kSilver);
    Raster r(img);
    r.hline(0, 16, 0, kGrey);
    r.hline(0, 16, 1, kBlack);
    r.hline(0, 16, 2, kSilver);
    r.hline(0, 16, 3, kWhite);
    r.set(0, 1, kGrey);
    r.set(15, 1, kSilver);
    r.set(15, 2, kWhite);
    return img;
}

// --- window-menu glyphs -------------------------------------------------------------

PixelImage menuGlyphs() {
    // Restore, maximise, minimise, close; black on white, pixel-exact.
    PixelImage img(64, 16, kWhite);
    Raster r(img);
    // restore: two overlapping windows
    r.frame({7, 3, 14, 9}, kBlack);
    r.hline(7, 14, 4, kBlack);
    r.fill({3, 6, 10, 13}, kWhite);
    r.frame({3, 6, 10, 13}, kBlack);
    r.hline(3, 10, 7, kBlack);
    // maximise: one window with a heavy title edge
    r.frame({16 + 3, 3, 16 + 13, 13}, kBlack);
    r.hline(16 + 3, 16 + 13, 4, kBlack);
    // minimise: a bar at the bottom
    r.fill({32 + 4, 10, 32 + 11, 12}, kBlack);
    // close: a cross, two pixels thick
    for (int i = 0; i < 8; ++i) {
        r.set(48 + 4 + i, 4 + i, kBlack);
        r.set(48 + 5 + i, 4 + i, kBlack);
        r.set(48 + 11 - i, 4 + i, kBlack);
        r.set(48 + 12 - i, 4 + i, kBlack);
    }
    return img;
}

// --- media-player glyphs ---------------------------------------------------------------

enum class Media { Play, Pause, Stop, Next, Prev, Step, Back, Record, Eject };
constexpr const char* kMediaNames[] = {"MPPLAY", "MPPAUSE", "MPSTOP", "MPNEXT", "MPPREV",
                                       "MPSTEP", "MPBACK",  "MPRECORD", "MPEJECT"};

Px colouredInk(Media m) {
    switch (m) {
    case Media::Play: return rgb(0, 128, 0);
    case Media::Stop:
    case Media::Record: return rgb(255, 0, 0);
    case Media::Pause: return rgb(0, 0, 128);
    case Media::Eject: return rgb(0, 128, 128);
    default: return rgb(0, 0, 255);
    }
}

void mediaShape(Raster& r, Media m, Px ink, int dx, int dy) {
    auto tri = [&](double x0, double x1, bool right) {  // a triangle across rows 3..12
        r.solidShape(right ? sdPolygon({x0 + dx, 3.0 + dy, x1 + dx, 8.0 + dy, x0 + dx, 13.0 + dy})
                           : sdPolygon({x1 + dx, 3.0 + dy, x0 + dx, 8.0 + dy, x1 + dx, 13.0 + dy}),
                     ink);
    };
    auto bar = [&](int x0, int y0, int x1, int y1) { r.fill({x0 + dx, y0 + dy, x1 + dx, y1 + dy}, ink); };
    switch (m) {
    case Media::Play: tri(5, 11.5, true); break;
    case Media::Pause: bar(4, 3, 7, 13), bar(9, 3, 12, 13); break;
    case Media::Stop: bar(4, 4, 12, 12); break;
    case Media::Next: tri(3, 10, true), bar(10, 3, 12, 13); break;
    case Media::Prev: bar(4, 3, 6, 13), tri(6, 13, false); break;
    case Media::Step: tri(2, 8, true), tri(8, 14, true); break;
    case Media::Back: tri(2, 8, false), tri(8, 14, false); break;
    case Media::Record: r.solidShape(sdCircle(8 + dx, 8 + dy, 4.6), ink); break;
    case Media::Eject:
        r.solidShape(sdPolygon({3.0 + dx, 9.0 + dy, 13.0 + dx, 9.0 + dy, 8.0 + dx, 3.0 + dy}), ink);
        bar(3, 11, 13, 13);
        break;
    }
}

PixelImage mediaGlyph(Media m, int variant) {  // 0 enabled, 1 disabled, 2 coloured
    PixelImage img(kMediaGlyphW, kMediaGlyphH, kOlive);
    Raster r(img);
    if (variant == 1) {
        // Disabled: engraved, a white copy one pixel down-right under grey.
        mediaShape(r, m, kWhite, 1, 1);
        mediaShape(r, m, kGrey, 0, 0);
    } else {
        mediaShape(r, m, variant == 2 ? colouredInk(m) : kBlack, 0, 0);
    }
    return img;
}

std::string lower(std::string s) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

std::span<const Px> classicPalette() { return kClassic; }

std::vector<uint8_t> writeBmpIndexed(const PixelImage& img, std::span<const Px> palette, int bits) {
    std::vector<uint8_t> o;
    if (img.empty() || (bits != 1 && bits != 4 && bits != 8) || palette.size() > (1u << bits)) return o;
    const uint32_t stride = ((uint32_t(img.width) * uint32_t(bits) + 31) / 32) * 4;
    const uint32_t colours = uint32_t(1u << bits);
    const uint32_t offset = 14 + 40 + 4 * colours;
    const uint32_t size = offset + stride * uint32_t(img.height);
    o.push_back('B');
    o.push_back('M');
    put32(o, size);
    put32(o, 0);
    put32(o, offset);
    put32(o, 40);
    put32(o, uint32_t(img.width));
    put32(o, uint32_t(img.height));
    put16(o, 1);
    put16(o, uint32_t(bits));
    put32(o, 0);
    put32(o, stride * uint32_t(img.height));
    put32(o, 2835);
    put32(o, 2835);
    put32(o, colours);
    put32(o, 0);
    for (uint32_t i = 0; i < colours; ++i) {
        const Px c = i < palette.size() ? palette[i] : 0;
        o.push_back(uint8_t(pb(c)));
        o.push_back(uint8_t(pg(c)));
        o.push_back(uint8_t(pr(c)));
        o.push_back(0);
    }
    for (int y = img.height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(stride, 0);
        for (int x = 0; x < img.width; ++x) {
            const int idx = nearest(palette, img.at(x, y));
            const int bit = x * bits;
            row[bit / 8] |= uint8_t(idx << (8 - bits - bit % 8));
        }
        o.insert(o.end(), row.begin(), row.end());
    }
    return o;
}

std::vector<BuiltinBitmap> builtinBitmaps() {
    std::vector<BuiltinBitmap> out;
    const PixelImage groove = trackGroove();
    out.push_back({"TRACK", "track.bmp", groove, 4});
    out.push_back({"TRACKVERT", "trackvert.bmp", turnedRight(groove), 4});
    out.push_back({"TRELLIQMENU", "trelliqmenu.bmp", menuGlyphs(), 1});
    static constexpr const char* prefixes[] = {"EN", "DI", "CL"};
    for (int v = 0; v < 3; ++v)
        for (int m = 0; m < 9; ++m) {
            const std::string res = std::string(prefixes[v]) + "_" + kMediaNames[m];
            out.push_back({res, lower(res) + ".bmp", mediaGlyph(Media(m), v), 4});
        }
    return out;
}

std::string writeBuiltinFolder(const std::string& dir) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec) return "cannot create " + dir + ": " + ec.message();
    std::string rc =
        "// Built-in bitmaps, drawn by skingen (skingen builtin DIR); regenerate rather than edit.\r\n";
    for (const BuiltinBitmap& b : builtinBitmaps()) {
        const auto bytes =
            b.bits == 1 ? writeBmpIndexed(b.image, kMono, 1) : writeBmpIndexed(b.image, kClassic, 4);
        std::ofstream f(std::filesystem::path(dir) / b.file, std::ios::binary);
        f.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        if (!f) return "cannot write " + b.file;
        rc += b.resource + " BITMAP \"" + b.file + "\"\r\n";
    }
    std::ofstream f(std::filesystem::path(dir) / "builtin.rc", std::ios::binary);
    f << rc;
    return f ? std::string() : std::string("cannot write builtin.rc");
}

}  // namespace qs::gen
