#include "Lint.h"

#include <algorithm>
#include <fstream>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <map>
#include <ostream>
#include <set>

#include "Bmp.h"
#include "Contrast.h"
#include "QuickIni.h"
#include "SkinReader.h"
#include "Vocabulary.h"

namespace qs::skintool {

namespace {

using vocab::ElementDef;
using vocab::KeyDef;
using vocab::Slot;
using vocab::ValueKind;

std::string lower(std::string_view s) { return skinLowerCase(s); }

struct Margins {
    int left = 0, top = 0, right = 0, bottom = 0;
};

struct Image {
    bool ok = false;
    PixelImage pixels;
    int width() const { return pixels.width; }
    int height() const { return pixels.height; }
    bool hasMagenta() const {
        return std::find(pixels.pixels.begin(), pixels.pixels.end(), 0xFF00FFu) != pixels.pixels.end();
    }
};

class Linter {
public:
    explicit Linter(const TSkinReader& reader) : FReader(reader) {}

    std::vector<LintFinding> run();

private:
    void problem(std::string t) { FOut.push_back({true, std::move(t)}); }
    void note(std::string t) { FOut.push_back({false, std::move(t)}); }
    static std::string at(std::string_view section, std::string_view key) {
        return "[" + std::string(section) + "] " + std::string(key);
    }
    int integer(std::string_view section, std::string_view key, int def) const {
        return FIni.ReadInteger(section, key, def);
    }

    Image image(std::string_view section, std::string_view key, bool required, std::string_view why = {});
    void strip(std::string_view section, std::string_view key, const Image& img, int frames, bool stacked,
               Margins m = {});
    // A used image's @2x partner, checked; false when `stored` is none.
    bool largePartner(const std::string& stored);
    void keyed(std::string_view section, std::string_view key, const Image& img, int trans);
    void values(std::string_view section, std::span<const KeyDef> keys);
    Margins margins(std::string_view section) const {
        return {integer(section, "LeftWidth", 0), integer(section, "TopHeight", 0), integer(section, "RightWidth", 0),
                integer(section, "BottomHeight", 0)};
    }
    void element(const ElementDef& e, const std::string& section);
    void border(Slot slot);
    void captionButton(const std::string& section);
    void contrast();

    const TSkinReader& FReader;
    TQuickIni FIni;
    std::vector<LintFinding> FOut;
    std::set<std::string> FUsed;      // entries the description refers to (lower case)
    std::set<std::string> FReported;  // sections and keys already reported
};

Image Linter::image(std::string_view section, std::string_view key, bool required, std::string_view why) {
    Image img;
    const std::string raw = std::string(trimText(FIni.ReadString(section, key, "")));
    if (raw.empty()) {
        if (required) problem(at(section, key) + " is missing" + (why.empty() ? "" : ": " + std::string(why)));
        return img;
    }
    const std::string name = imageReference(raw);
    if (name.empty()) {
        problem(at(section, key) + "=" + raw + " is not a \".bmp\" reference (the extension must be \".bmp\" in lower case)");
        return img;
    }
    FUsed.insert(lower(name));
    std::vector<uint8_t> bytes;
    FReader.ExtractByName(name, bytes);
    if (bytes.empty()) {
        problem(at(section, key) + "=" + name + ": no such entry in the archive");
        return img;
    }
    BmpResult bmp = ReadBmp(bytes);
    if (!bmp) {
        problem(at(section, key) + "=" + name + ": not a readable BMP (" + bmpErrorText(bmp.error) + ")");
        return img;
    }
    img.ok = true;
    img.pixels = std::move(bmp.image);
    return img;
}

void Linter::strip(std::string_view section, std::string_view key, const Image& img, int frames, bool stacked,
                   Margins m) {
    if (!img.ok) return;
    const std::string where = at(section, key);
    if (frames < 1) {
        problem(where + ": frame count " + std::to_string(frames) + "; a strip needs at least one frame");
        return;
    }
    const int length = stacked ? img.height() : img.width();
    const char* dim = stacked ? "high" : "wide";
    if (frames > length) {
        problem(where + ": " + std::to_string(frames) + " frames in an image " + std::to_string(length) +
                " pixels " + dim);
        return;
    }
    if (length % frames != 0)
        problem(where + ": the image is " + std::to_string(length) + " pixels " + dim + ", which " +
                std::to_string(frames) + " frames do not divide (" + std::to_string(length % frames) +
                " pixels left over)");
    const int fw = stacked ? img.width() : img.width() / frames;
    const int fh = stacked ? img.height() / frames : img.height();
    if (m.left < 0 || m.right < 0 || m.top < 0 || m.bottom < 0)
        problem(where + ": negative margins");
    // Margins come straight from the description: add them without overflow.
    else if (int64_t(m.left) + m.right > fw)
        problem(where + ": left and right margins (" + std::to_string(m.left) + " + " + std::to_string(m.right) +
                ") are wider than a frame (" + std::to_string(fw) + ")");
    else if (int64_t(m.top) + m.bottom > fh)
        problem(where + ": top and bottom margins (" + std::to_string(m.top) + " + " + std::to_string(m.bottom) +
                ") are taller than a frame (" + std::to_string(fh) + ")");
}

void Linter::keyed(std::string_view section, std::string_view key, const Image& img, int trans) {
    if (img.ok && trans != 1 && img.hasMagenta())
        problem(at(section, key) + ": the image has magenta pixels but is drawn opaque (Trans is not 1), so they show");
}

void Linter::values(std::string_view section, std::span<const KeyDef> keys) {
    for (const KeyDef& k : keys) {
        if (!FReported.insert(lower(section) + "/" + lower(k.name)).second) continue;
        if (k.kind == ValueKind::ColourKeys) {
            int given = 0;
            for (const char* c : {"R", "G", "B"})
                given += FIni.ReadString(section, std::string(k.name) + c, "").empty() ? 0 : 1;
            if (given > 0 && given < 3)
                problem(at(section, k.name) + "R/G/B: only " + std::to_string(given) +
                        " of the three keys are given, so the colour is ignored");
            continue;
        }
        const std::string v = FIni.ReadString(section, k.name, "");
        if (v.empty()) continue;
        int32_t n = 0;
        if (k.kind == ValueKind::Integer && !parseInteger(v, n))
            problem(at(section, k.name) + "=" + v + " is not a number; the default is used");
        if (k.kind == ValueKind::ColourText && v.find_first_of("0123456789") == std::string::npos)
            problem(at(section, k.name) + "=" + v + " has no numbers and reads as black");
    }
}

void Linter::border(Slot slot) {
    static constexpr const char* names[] = {"Left", "Right", "Top", "Bottom"};
    const int i = int(slot) - int(Slot::BorderLeft);
    const std::string side = names[i];
    const bool horizontal = slot == Slot::BorderTop || slot == Slot::BorderBottom;
    const Image img = image("Personality", side, true, "windows get no " + lower(side) + " border");
    const int a = integer("Personality", side + "TopHeight", 0), b = integer("Personality", side + "BotHeight", 0);
    const Margins m = horizontal ? Margins{a, 0, b, 0} : Margins{0, a, 0, b};
    strip("Personality", side, img, integer("Personality", side + "Frame", 1), horizontal, m);
    keyed("Personality", side, img, integer("Personality", side + "Trans", 1));
}

void Linter::captionButton(const std::string& section) {
    const int action = integer(section, "Action", 0);
    const int frameKey = integer(section, "frame", 0);
    const bool icon = action == 3 || action == 11;
    // The icon button shows the window's icon; with a computed frame count
    // the loader drops its image anyway.
    const Image img = image(section, "ButtonImage", !icon, "the button is never shown");
    if (icon && frameKey == 0) return;
    int frames = frameKey;
    if (frames == 0) {
        frames = 6;
        if (img.ok && img.height() > 0 && action >= 0)
            frames = double(img.width()) / double(img.height()) <= 3.8 ? 3 : 6;
    }
    strip(section, "ButtonImage", img, frames, false);
}

void Linter::element(const ElementDef& e, const std::string& section) {
    values(section, e.keys);
    if (!e.requiredKey.empty() && std::string(trimText(FIni.ReadString(section, e.requiredKey, ""))).empty()) {
        problem(at(section, e.requiredKey) + " is missing: the element is left out");
        return;
    }
    switch (e.slot) {
    case Slot::Skin:
        if (FIni.ReadString(section, "SkinName", "").empty()) problem(at(section, "SkinName") + " is missing");
        return;
    case Slot::BorderLeft:
    case Slot::BorderRight:
    case Slot::BorderTop:
    case Slot::BorderBottom: border(e.slot); return;
    case Slot::Colours:
    case Slot::ColourSections:
    case Slot::CustomColors: return;
    case Slot::Title:
        if (lower(section) == "personality") image(section, "TextBack", false);
        return;
    case Slot::MenuBar: {
        const Image img = image(section, "menuBar", true);
        strip(section, "menuBar", img, 2, true,
              {integer(section, "TileLeftMenu", 1), 0, integer(section, "TileRightMenu", 1), 0});
        return;
    }
    case Slot::CaptionButtons: captionButton(section); return;
    case Slot::MdiControls: {
        const Image img = image(section, "Image", true);
        if (img.ok && img.width() % 12 != 0)
            problem(at(section, "Image") + ": the image is " + std::to_string(img.width()) +
                    " pixels wide, not a multiple of 12 (three buttons of four frames); " +
                    std::to_string(img.width() % 12) + " columns are never shown");
        return;
    }
    case Slot::Buttons: {
        const Image img = image(section, "Bitmap", true, "push buttons are not skinned");
        strip(section, "Bitmap", img, 5, false, margins(section));
        keyed(section, "Bitmap", img, integer(section, "Trans", 0));
        for (auto [key, frameKey] : {std::pair{"CheckButton", "CheckButtonFrame"},
                                     std::pair{"RadioButton", "RadioButtonFrame"}}) {
            const Image mark = image(section, key, true, "these controls are not skinned");
            int frames = integer(section, frameKey, 0);
            if (frames == 0 && mark.ok) frames = std::max(4, mark.width() / (mark.height() < 16 ? 13 : 16));
            strip(section, key, mark, frames, false);
        }
        return;
    }
    case Slot::Progress: {
        const Image img = image(section, "Bitmap", true);
        strip(section, "Bitmap", img, integer(section, "Style", 0) != 0 ? 1 : 2, false, margins(section));
        return;
    }
    default: break;
    }
    // Plain and two-image elements.
    int frames = e.frames;
    if (e.slot == Slot::Headerbar) frames = integer(section, "Frame", 0) == 0 ? 5 : integer(section, "Frame", 0);
    if (e.slot == Slot::HorzScrollThumb || e.slot == Slot::VertScrollThumb) frames = integer(section, "FrameCount", 3);
    if (e.slot == Slot::ProgressChunk || e.slot == Slot::Track || e.slot == Slot::TrackVert)
        frames = integer(section, "Frame", 0);
    Margins m = margins(section);
    if (e.slot == Slot::TabPane && (m.left > 4 || m.top > 4 || m.right > 4 || m.bottom > 4)) {
        note(at(section, "margins") + " above 4 are cut to 4");
        m = {std::min(m.left, 4), std::min(m.top, 4), std::min(m.right, 4), std::min(m.bottom, 4)};
    }
    const Image img = image(section, "Image", true);
    strip(section, "Image", img, frames, false, m);
    // These are always drawn with magenta keyed out, whatever Trans says.
    static constexpr Slot alwaysKeyed[] = {Slot::Scrollbar, Slot::ExtraImages, Slot::ComboButton, Slot::UpDownHorz,
                                           Slot::UpDownVert, Slot::TrackbarThumbHorz, Slot::TrackbarThumbVert,
                                           Slot::TrackbarThumbLeft, Slot::TrackbarThumbRight,
                                           Slot::TrackbarThumbUp, Slot::TrackbarThumbDown, Slot::ProgressChunk};
    if (std::find(std::begin(alwaysKeyed), std::end(alwaysKeyed), e.slot) == std::end(alwaysKeyed))
        keyed(section, "Image", img, integer(section, "Trans", 0));
    if (e.slot == Slot::Tabs) strip(section, "Border", image(section, "Border", false), 1, false);
    if (e.slot == Slot::UpDownHorz || e.slot == Slot::UpDownVert)
        strip(section, "GlyphImage", image(section, "GlyphImage", false), 8, false);
}

bool Linter::largePartner(const std::string& stored) {
    // "name@2x.bmp" belongs to "name.bmp" when the description uses that.
    for (const std::string& used : FUsed) {
        if (lower(LargeImageName(used)) != lower(stored)) continue;
        std::vector<uint8_t> bytes;
        FReader.ExtractByName(stored, bytes);
        const BmpResult big = ReadBmp(bytes);
        FReader.ExtractByName(used, bytes);
        const BmpResult small = ReadBmp(bytes);
        if (big.image.empty() || small.image.empty()) {
            problem("entry " + stored + " cannot be read as a bitmap beside " + used);
        } else if (big.image.width != 2 * small.image.width || big.image.height != 2 * small.image.height) {
            problem("entry " + stored + " is " + std::to_string(big.image.width) + " x " +
                    std::to_string(big.image.height) + ", not twice " + used + " (" +
                    std::to_string(small.image.width) + " x " + std::to_string(small.image.height) +
                    "): it is not used, the small image is scaled instead");
        }
        return true;
    }
    return false;
}

std::vector<LintFinding> Linter::run() {
    std::vector<uint8_t> text;
    std::string iniName;
    FReader.ExtractContaining(".ini", text, iniName);
    if (text.empty()) {
        problem("no description entry (no entry name contains \".ini\"): every element is left out");
        return FOut;
    }
    for (const std::string& n : FReader.names())
        if (n != iniName && n.find(".ini") != std::string::npos)
            problem("entry " + n + " also looks like a description; only " + iniName + " is read");
    FIni.LoadFromBytes(text);

    std::set<std::string> missing;
    for (const ElementDef& e : vocab::elements()) {
        std::vector<std::string> sections;
        if (e.match == vocab::Match::Exact) {
            if (!FIni.SectionExists(e.section)) {
                if (missing.insert(lower(e.section)).second) problem("missing section [" + std::string(e.section) + "]");
                continue;
            }
            sections.emplace_back(e.section);
        } else {
            sections = vocab::sectionsMatching(FIni, e.match);
            if (sections.empty())
                problem(e.match == vocab::Match::ColourSections
                            ? "no colour sections ([Colour0], [Colour1], ...)"
                            : "no caption-button sections ([Button0], [Button1], ...): windows get no caption buttons");
        }
        for (const std::string& s : sections) element(e, s);
    }
    contrast();
    for (const std::string& stored : FReader.storedNames()) {
        if (lower(stored) == iniName || FUsed.count(lower(stored))) continue;
        if (largePartner(stored)) continue;
        note("entry " + stored + " is not referred to by the description");
    }
    return FOut;
}

void Linter::contrast() {
    std::map<std::string, PixelImage> decoded;
    const ImageLookup lookup = [&](const std::string& entry) -> const PixelImage* {
        auto it = decoded.find(lower(entry));
        if (it == decoded.end()) {
            std::vector<uint8_t> bytes;
            FReader.ExtractByName(entry, bytes);
            it = decoded.emplace(lower(entry), ReadBmp(bytes).image).first;
        }
        return it->second.empty() ? nullptr : &it->second;
    };
    for (const TextPair& p : textPairs(FIni, lookup)) {
        if (p.ratio >= kMinTextContrast) continue;
        char ratio[16];
        std::snprintf(ratio, sizeof ratio, "%.2f", p.ratio);
        problem(p.element + ": text " + colourText(p.text) + " on " + colourText(p.back) + " has a contrast of " +
                ratio + ":1, under 4.5:1");
        FOut.back().readability = true;
    }
}

std::vector<uint8_t> readAll(const std::string& path, bool& ok) {
    std::ifstream f(path, std::ios::binary);
    ok = bool(f);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

}  // namespace

std::vector<LintFinding> lintSkinArchive(std::span<const uint8_t> archive) {
    TSkinReader reader;
    if (!reader.Open(archive)) return {{true, "not a readable skin archive: " + reader.lastError()}};
    return Linter(reader).run();
}

std::vector<LintFinding> lintSkin(const TSkinReader& reader) { return Linter(reader).run(); }

int lint(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::vector<std::string> files(args.begin() + (args.empty() || args[0] != "lint" ? 0 : 1), args.end());
    if (files.empty()) {
        err << "usage: skintool lint SKIN... (archives or skin folders)\n";
        return 2;
    }
    int status = 0;
    for (const std::string& path : files) {
        std::vector<LintFinding> findings;
        std::error_code ec;
        if (std::filesystem::is_directory(path, ec)) {
            // An author's folder, as skintool pack would take it.
            TSkinReader reader;
            if (reader.OpenFolder(path))
                findings = lintSkin(reader);
            else
                findings.push_back({true, reader.lastError()});
        } else {
            bool ok = false;
            const auto bytes = readAll(path, ok);
            if (!ok) {
                err << "skintool: cannot read " << path << "\n";
                status = 1;
                continue;
            }
            findings = lintSkinArchive(bytes);
        }
        int problems = 0;
        for (const LintFinding& f : findings) {
            out << path << ": " << (f.problem ? "" : "note: ") << f.text << "\n";
            problems += f.problem ? 1 : 0;
        }
        out << path << ": " << (problems ? std::to_string(problems) + (problems == 1 ? " problem" : " problems")
                                         : std::string("no problems"))
            << "\n";
        if (problems) status = 1;
    }
    return status;
}

}  // namespace qs::skintool
