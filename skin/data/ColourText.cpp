#include "ColourText.h"

#include <string>

#include "QuickIni.h"

namespace qs {

namespace {

// A run of digits as a signed 32-bit number; false when it does not fit.
bool convertRun(std::string_view digits, int32_t& value) {
    uint64_t acc = 0;
    for (char c : digits) {
        acc = acc * 10 + uint64_t(c - '0');
        if (acc > 0x7FFFFFFFull) return false;
    }
    value = int32_t(acc);
    return true;
}

}  // namespace

ColourNum ParseColour(std::string_view text, ColourNum def) {
    text = trimText(text);
    if (text.empty()) return def;

    int parts[3] = {0, 0, 0};
    int stored = 0;
    std::string run;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            run += c;
            continue;
        }
        if (run.empty()) continue;
        int32_t v;
        // A run too large to convert stays pending and the digits that follow
        // join it, so it can never convert again: it and every later number
        // are lost.
        if (!convertRun(run, v)) return rgbColour(parts[0], parts[1], parts[2]);
        if (stored < 3) parts[stored++] = v;
        run.clear();
    }
    if (!run.empty() && stored == 2) {
        int32_t v;
        if (convertRun(run, v)) parts[stored++] = v;
    }
    return rgbColour(parts[0], parts[1], parts[2]);
}

ColourNum ReadColour(const TQuickIni& ini, std::string_view section, std::string_view key, ColourNum def) {
    return ParseColour(ini.ReadString(section, key, ""), def);
}

bool ReadColourKeys(const TQuickIni& ini, std::string_view section, std::string_view prefix, ColourNum& target) {
    std::string key(prefix);
    key += 'R';
    const int32_t r = ini.ReadInteger(section, key, -1);
    key.back() = 'G';
    const int32_t g = ini.ReadInteger(section, key, -1);
    key.back() = 'B';
    const int32_t b = ini.ReadInteger(section, key, -1);
    if (r < 0 || g < 0 || b < 0) return false;
    target = rgbColour(r % 256, g % 256, b % 256);
    return true;
}

}  // namespace qs
