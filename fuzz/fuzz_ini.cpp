// Fuzzes the description reader the way a skin load drives it: every section
// and key of the vocabulary is read from arbitrary text, and the value rules
// are checked for internal consistency.
//
// Built a second time with QS_FUZZ_SEED_WRITER, it writes the seed corpus
// instead: descriptions that name every section and key of the vocabulary.
#include <cstdint>
#include <cstdio>
#include <string>

#include "ColourText.h"
#include "QuickIni.h"
#include "Vocabulary.h"

using namespace qs;
using namespace qs::vocab;

namespace {

[[maybe_unused]] void check(bool ok) {
    if (!ok) __builtin_trap();
}

[[maybe_unused]] void readElement(const TQuickIni& ini, const ElementDef& e, std::string_view section, ReadContext& ctx) {
    for (const KeyDef& k : e.keys) {
        switch (k.kind) {
            case ValueKind::Integer: {
                const int32_t v = readInteger(ini, section, k, ctx);
                if (k.fix != Fix::None) check(v <= 1);
                if (k.field == Field::Action) ctx.action = v;
                break;
            }
            case ValueKind::ColourText: {
                const ColourNum c = readColour(ini, section, k, ctx);
                // Either the default or a plain colour.
                check(c == defaultOf(k, ctx) || (c >= 0 && c <= 0xFFFFFF));
                if (k.field == Field::ButtonFace) ctx.buttonFace = c;
                if (k.field == Field::ButtonText) ctx.buttonText = c;
                break;
            }
            case ValueKind::ColourKeys: {
                ColourNum c = 0x1FFFFFFF;
                if (readColourKeys(ini, section, k, c)) check(c >= 0 && c <= 0xFFFFFF);
                else check(c == 0x1FFFFFFF);
                break;
            }
            case ValueKind::Image: {
                const std::string name = readText(ini, section, k);
                check(name.empty() || (name.ends_with(".bmp") && name.find_first_of("\\:") == std::string::npos));
                break;
            }
            case ValueKind::String: readText(ini, section, k); break;
        }
    }
}

}  // namespace

#ifndef QS_FUZZ_SEED_WRITER

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TQuickIni ini;
    ini.LoadFromBytes({data, size});
    for (const std::string& line : ini.Lines()) {
        check(!line.empty() && line.front() != ';' && trimText(line) == line);
        check(line.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos);
        int32_t v;
        // A decimal integer prints back to the same number.
        if (parseInteger(line, v)) {
            int32_t again;
            check(parseInteger(std::to_string(v), again) && again == v);
        }
        const ColourNum c = ParseColour(line, -1);
        check(c >= 0 && c <= 0xFFFFFF);
    }
    const auto sections = ini.ReadSections();
    for (const std::string& s : sections) check(trimText(s) == s);

    ReadContext ctx;
    for (const ElementDef& e : elements()) {
        if (e.match == Match::Exact) {
            readElement(ini, e, e.section, ctx);
        } else {
            for (const std::string& name : sectionsMatching(ini, e.match)) {
                ctx.action = 0;
                readElement(ini, e, name, ctx);
            }
        }
    }
    return 0;
}

#else

namespace {

std::string sampleValue(const KeyDef& k, int variant) {
    switch (k.kind) {
        case ValueKind::Integer: return variant ? "$1F" : std::to_string(k.def + 2);
        case ValueKind::ColourText: return variant ? "10,20,30" : "224 224 224";
        case ValueKind::Image: return variant ? "skins\\Frame.BMP" : "Frame.bmp";
        case ValueKind::String: return "Sample";
        case ValueKind::ColourKeys: return "";
    }
    return "";
}

std::string description(int variant) {
    std::string t = "; sample description\r\n";
    for (const ElementDef& e : elements()) {
        std::string section(e.section);
        if (e.match == Match::ColourSections) section = variant ? "colour3" : "Colour0";
        if (e.match == Match::CaptionButtons) section = variant ? "Button1" : "BUTTON0";
        t += "[" + section + "]\r\n";
        for (const KeyDef& k : e.keys) {
            std::string name(k.name);
            if (k.kind == ValueKind::ColourKeys) {
                for (const char* part : {"R", "G", "B"}) t += name + part + "=" + (variant ? "300" : "12") + "\r\n";
                continue;
            }
            t += (variant ? "  " : "") + name + (variant ? " = " : "=") + sampleValue(k, variant) + "\r\n";
        }
    }
    return t;
}

bool writeFile(const std::string& path, const std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s corpus-dir\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    bool ok = writeFile(dir + "/full.ini", description(0)) && writeFile(dir + "/variant.ini", description(1)) &&
              writeFile(dir + "/rules.ini",
                        "[colours]\nButtonFace=\nButtonFace=1 2 3\n[ Colours ]\nMenu=99999999999 1 2\n"
                        "[Tabs]\nTile=\nImage=a\\b:c.bmp\nFrame=0x\n[Button2]\nAction=-1\nVisibility=0\n");
    // A long line and many sections stress the lookups.
    std::string big;
    for (int i = 0; i < 60; ++i) big += "[Colour" + std::to_string(i) + "]\ncolor=" + std::to_string(i) + " 1 2\n";
    ok = ok && writeFile(dir + "/many.ini", big);
    return ok ? 0 : 1;
}

#endif
