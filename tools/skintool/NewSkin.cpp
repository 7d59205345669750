#include "NewSkin.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <ostream>

#include "ArchiveWriter.h"
#include "Contrast.h"
#include "Lint.h"
#include "Palette.h"
#include "Preview.h"
#include "QuickIni.h"
#include "SkinBuilder.h"
#include "SkinTool.h"

namespace fs = std::filesystem;

namespace qs::skintool {

namespace {

using gen::Px;
using gen::TextRole;

// Measured pairs are averages over the text zone; a hair above the line keeps
// a rounding step from landing a pair just under it.
constexpr double kAim = kMinTextContrast + 0.05;

bool parseHex(const std::string& s, Px& out) {
    std::string h = s[0] == '#' ? s.substr(1) : s;
    if (h.size() != 6 || h.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) return false;
    out = Px(std::stoul(h, nullptr, 16));
    return true;
}

std::string hex(Px c) {
    char b[8];
    std::snprintf(b, sizeof b, "#%06X", unsigned(c & 0xFFFFFF));
    return b;
}

ColourNum colourOf(Px p) { return ColourNum(pixelToColour(p)); }

double contrast(Px a, Px b) { return ContrastRatio(colourOf(a), colourOf(b)); }

const char* roleName(TextRole r) {
    switch (r) {
        case TextRole::Window: return "the content area";
        case TextRole::Button: return "the face and the controls";
        case TextRole::Menu: return "the menus";
        case TextRole::Selection: return "the selection";
        case TextRole::MenuBar: return "the menu bar";
        case TextRole::Caption: return "the title bar";
    }
    return "";
}

constexpr TextRole kRoles[] = {TextRole::Window, TextRole::Button,    TextRole::Menu,
                               TextRole::Selection, TextRole::MenuBar, TextRole::Caption};

// The flat colours a role's text is drawn on.
std::vector<Px> backsOf(const gen::Theme& t, TextRole r) {
    switch (r) {
        case TextRole::Window: return {t.window};
        case TextRole::Button:
            return {t.face, t.ctlTop, t.ctlBottom, t.ctlHotTop, t.ctlHotBottom, t.ctlDownTop, t.ctlDownBottom};
        case TextRole::Menu: return {t.menu};
        case TextRole::Selection: return {t.menuSel};
        case TextRole::MenuBar: return {t.menuBarTop, t.menuBarBottom};
        case TextRole::Caption: return {t.titleTop, t.titleBottom};
    }
    return {};
}

double worst(Px text, const std::vector<Px>& backs) {
    double w = 21;
    for (Px b : backs) w = std::min(w, contrast(text, b));
    return w;
}

// The colour nearest `text` on its way to black or white that reads on every
// background: the smallest step that gets there.
Px nearestReadable(Px text, const std::vector<Px>& backs) {
    if (worst(text, backs) >= kAim) return text;
    const Px white = gen::rgb(255, 255, 255), black = gen::rgb(0, 0, 0);
    const Px toward = worst(white, backs) >= worst(black, backs) ? white : black;
    double lo = 0, hi = 1;
    for (int i = 0; i < 20; ++i) {
        const double mid = (lo + hi) / 2;
        (worst(gen::mix(text, toward, mid), backs) >= kAim ? hi : lo) = mid;
    }
    return gen::mix(text, toward, hi);
}

// Which text colour of the theme a measured pair belongs to.
bool roleOfPair(const std::string& element, TextRole& role) {
    static const std::pair<const char*, TextRole> prefixes[] = {
        {"[Colours] WindowText", TextRole::Window}, {"[Colours] ButtonText", TextRole::Button},
        {"[Buttons]", TextRole::Button},            {"[Tabs]", TextRole::Button},
        {"[Headerbar]", TextRole::Button},          {"[StatusBarEdges]", TextRole::Button},
        {"[Colours] MenuText", TextRole::Menu},     {"[Colours] HilightText", TextRole::Selection},
        {"[Colours] MenuBarText", TextRole::MenuBar}, {"[Personality] caption", TextRole::Caption}};
    for (auto [prefix, r] : prefixes)
        if (element.rfind(prefix, 0) == 0) {
            role = r;
            return true;
        }
    return false;
}

std::vector<TextPair> measure(const gen::GeneratedSkin& skin) {
    TQuickIni ini;
    const std::string& text = skin.ini.text();
    ini.LoadFromBytes(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
    return textPairs(ini, [&](const std::string& entry) -> const PixelImage* {
        for (const auto& [name, img] : skin.images)
            if (skinLowerCase(name) == skinLowerCase(entry)) return &img;
        return nullptr;
    });
}

int usage(std::ostream& err, const std::string& why) {
    err << "skintool: " << why << "\n"
        << "usage: skintool new DIR --face #RRGGBB --accent #RRGGBB [--text #RRGGBB] [--rounded] [--force]\n"
        << "                    [--preview PICTUREDIR]\n";
    return kUsage;
}

}  // namespace

int newSkin(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::vector<std::string> positional;
    std::map<std::string, Px> colours;
    gen::Palette palette;
    bool force = false;
    std::string preview;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--rounded") {
            palette.rounded = true;
        } else if (a == "--force") {
            force = true;
        } else if (a == "--preview") {
            if (i + 1 >= args.size()) return usage(err, "option --preview needs a folder");
            preview = args[++i];
        } else if (a == "--face" || a == "--accent" || a == "--text") {
            if (i + 1 >= args.size()) return usage(err, "option " + a + " needs a colour");
            Px c = 0;
            if (!parseHex(args[++i], c)) return usage(err, a + " " + args[i] + " is not a colour like #3A6EA5");
            colours[a] = c;
        } else if (a.rfind("--", 0) == 0) {
            return usage(err, "unknown option " + a + " for new");
        } else {
            positional.push_back(a);
        }
    }
    if (positional.size() != 1) return usage(err, "new takes one folder name");
    if (!colours.count("--face") || !colours.count("--accent")) return usage(err, "new needs --face and --accent");
    palette.face = colours["--face"];
    palette.accent = colours["--accent"];
    if (colours.count("--text")) palette.text = colours["--text"];

    const fs::path dir = positional[0];
    std::error_code ec;
    if (fs::exists(dir, ec) && !(fs::is_directory(dir, ec) && fs::is_empty(dir, ec)) && !force) {
        err << "skintool: " << dir.string() << " exists and is not an empty folder; nothing written (--force to "
            << "write into it)\n";
        return kFailed;
    }
    std::string name = fs::absolute(dir, ec).lexically_normal().filename().string();
    if (name.empty()) name = fs::absolute(dir, ec).lexically_normal().parent_path().filename().string();

    gen::Theme theme = gen::paletteTheme(name, palette);
    // First the flat colours each text sits on, then what the drawn skin
    // measures (gradients, images): a text that does not read moves toward
    // black or white just as far as it must.
    const Px given = theme.text;
    for (TextRole r : kRoles) {
        Px& c = gen::textOf(theme, r);
        c = nearestReadable(c, backsOf(theme, r));
    }
    gen::GeneratedSkin skin = gen::generateSkin(theme);
    for (int round = 0; round < 12; ++round) {
        bool moved = false;
        for (const TextPair& p : measure(skin)) {
            TextRole r;
            if (p.ratio >= kMinTextContrast || !roleOfPair(p.element, r)) continue;
            Px& c = gen::textOf(theme, r);
            c = gen::mix(c, gen::bestOnBack(Px(pixelToColour(uint32_t(p.back)))), 0.25);
            moved = true;
        }
        if (!moved) break;
        skin = gen::generateSkin(theme);
    }
    if (palette.text) {
        for (TextRole r : kRoles) {
            const Px used = gen::textOf(theme, r);
            if (r == TextRole::Selection || used == given) continue;
            const std::vector<Px> backs = backsOf(theme, r);
            char ratio[16];
            std::snprintf(ratio, sizeof ratio, "%.2f", worst(given, backs));
            err << "skintool: note: text " << hex(given) << " reads only " << ratio << ":1 on " << roleName(r)
                << "; using " << hex(used) << " there, the nearest colour that reads at least 4.5:1\n";
        }
    }

    double least = 21;
    std::vector<std::string> unreadable;
    for (const TextPair& p : measure(skin)) {
        least = std::min(least, p.ratio);
        if (p.ratio < kMinTextContrast) unreadable.push_back(p.element);
    }
    if (!unreadable.empty()) {
        err << "skintool: the face " << hex(palette.face) << " and the accent " << hex(palette.accent)
            << " leave text that no colour makes readable: " << unreadable.front() << "; nothing written\n";
        return kFailed;
    }
    fs::create_directories(dir, ec);
    if (const std::string why = gen::writeSkinFolder(skin, dir.string()); !why.empty()) {
        err << "skintool: " << why << "\n";
        return kFailed;
    }
    if (!preview.empty()) {
        // Kept out of DIR: a picture there would be packed as an entry.
        const std::string path = gen::writePreview(skin, preview);
        if (path.empty()) err << "skintool: cannot write the preview into " << preview << "\n";
        else out << "preview: " << path << "\n";
    }
    int problems = 0;
    for (const LintFinding& f : lintSkinArchive(packSkinArchive(skin.entries())))
        if (f.problem) {
            err << "skintool: " << dir.string() << ": " << f.text << "\n";
            ++problems;
        }
    char ratio[16];
    std::snprintf(ratio, sizeof ratio, "%.2f", least);
    out << "wrote " << skin.images.size() << " bitmaps and " << skin.iniName << " into " << dir.string()
        << "; the least text contrast is " << ratio << ":1\n";
    return problems ? kFailed : kOk;
}

}  // namespace qs::skintool
