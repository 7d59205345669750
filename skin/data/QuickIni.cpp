#include "QuickIni.h"

#include <istream>
#include <iterator>

namespace qs {

namespace {

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

std::string lowered(std::string_view s) {
    std::string r(s);
    for (char& c : r) c = lowerAscii(c);
    return r;
}

bool isHeader(std::string_view line) { return line.size() >= 2 && line.front() == '[' && line.back() == ']'; }

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string_view trimText(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= 32) ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= 32) --e;
    return s.substr(b, e - b);
}

void TQuickIni::LoadFromText(std::string_view text) {
    FLines.clear();
    FSections.clear();
    FFirstSection.clear();
    if (auto nul = text.find('\0'); nul != std::string_view::npos) text = text.substr(0, nul);

    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = trimText(text.substr(pos, end - pos));
        if (!line.empty() && line.front() != ';') {
            if (isHeader(line)) {
                FFirstSection.try_emplace(lowered(line), FSections.size());
                FSections.push_back({FLines.size()});
            }
            FLines.emplace_back(line);
            if (FLines.size() == kIniMaxLines) break;
        }
        if (end >= text.size()) break;
        pos = end + 1;
        if (text[end] == '\r' && pos < text.size() && text[pos] == '\n') ++pos;
    }
}

void TQuickIni::LoadFromBytes(std::span<const uint8_t> bytes) {
    LoadFromText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void TQuickIni::LoadFromStream(std::istream& stream) {
    std::string text{std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
    LoadFromText(text);
}

const TQuickIni::Header* TQuickIni::findSection(std::string_view section) const {
    std::string wanted;
    wanted.reserve(section.size() + 2);
    wanted += '[';
    wanted += lowered(section);
    wanted += ']';
    const auto it = FFirstSection.find(wanted);
    return it == FFirstSection.end() ? nullptr : &FSections[it->second];
}

bool TQuickIni::SectionExists(std::string_view section) const { return findSection(section) != nullptr; }

std::string TQuickIni::ReadString(std::string_view section, std::string_view key, std::string_view def) const {
    const Header* h = findSection(section);
    if (!h || key.empty()) return std::string(def);
    const std::string wanted = lowered(key);
    for (std::size_t i = h->line + 1; i < FLines.size(); ++i) {
        std::string_view line = FLines[i];
        if (isHeader(line)) break;
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        std::string_view k = trimText(line.substr(0, eq));
        if (k.size() != wanted.size()) continue;
        bool same = true;
        for (std::size_t j = 0; j < k.size() && same; ++j) same = lowerAscii(k[j]) == wanted[j];
        if (!same) continue;
        // The first matching line decides, even when its value is empty.
        std::string_view v = trimText(line.substr(eq + 1));
        return v.empty() ? std::string(def) : std::string(v);
    }
    return std::string(def);
}

int32_t TQuickIni::ReadInteger(std::string_view section, std::string_view key, int32_t def) const {
    const std::string s = ReadString(section, key, "");
    int32_t v;
    return (!s.empty() && parseInteger(s, v)) ? v : def;
}

void TQuickIni::ReadSections(std::vector<std::string>& list) const {
    list.clear();
    list.reserve(FSections.size());
    for (const Header& h : FSections) {
        std::string_view line = FLines[h.line];
        list.emplace_back(trimText(line.substr(1, line.size() - 2)));
    }
}

std::vector<std::string> TQuickIni::ReadSections() const {
    std::vector<std::string> list;
    ReadSections(list);
    return list;
}

bool parseInteger(std::string_view text, int32_t& value) {
    std::string_view s = text;
    bool hex = false;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        s.remove_prefix(2);
        hex = true;
    }
    bool negative = false;
    if (!hex && !s.empty() && (s[0] == '+' || s[0] == '-')) {
        negative = s[0] == '-';
        s.remove_prefix(1);
    }
    if (!hex && !s.empty() && s[0] == '$') {
        s.remove_prefix(1);
        hex = true;
    }
    if (s.empty()) return false;

    uint64_t acc = 0;
    if (hex) {
        for (char c : s) {
            const int d = hexDigit(c);
            if (d < 0) return false;
            acc = acc * 16 + uint64_t(d);
            if (acc > 0xFFFFFFFFull) return false;
        }
        uint32_t u = uint32_t(acc);
        if (negative) u = 0u - u;
        value = int32_t(u);
        return true;
    }
    for (char c : s) {
        if (c < '0' || c > '9') return false;
        acc = acc * 10 + uint64_t(c - '0');
        if (acc > 0x80000000ull) return false;
    }
    if (!negative && acc > 0x7FFFFFFFull) return false;
    value = negative ? int32_t(0u - uint32_t(acc)) : int32_t(acc);
    return true;
}

std::string imageReference(std::string_view value) {
    std::string_view v = trimText(value);
    if (auto cut = v.find_last_of("\\:"); cut != std::string_view::npos) v.remove_prefix(cut + 1);
    const auto dot = v.rfind('.');
    if (dot == std::string_view::npos || v.substr(dot) != ".bmp") return {};
    return std::string(v);
}

}  // namespace qs
