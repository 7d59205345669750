#pragma once
// The reader of a skin's description text: a small in-memory INI reader with
// rules of its own that stored skins depend on (case-blind section names but
// exact inner blanks, the first occurrence of a section or key wins, an empty
// value counts as absent).
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qs {

// Lines kept from one text at most; the rest of a longer text is not read.
// Descriptions have a few hundred lines, and each kept line costs its own
// string, which a text of millions of one-letter lines would turn into
// hundreds of MiB.
inline constexpr std::size_t kIniMaxLines = std::size_t(1) << 19;

class TQuickIni {
public:
    // Builds the line and section lists from narrow text; a NUL byte ends the
    // text. Replaces whatever was loaded before.
    void LoadFromText(std::string_view text);
    void LoadFromBytes(std::span<const uint8_t> bytes);
    // Reads from the stream's current position to its end.
    void LoadFromStream(std::istream& stream);

    std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;
    int32_t ReadInteger(std::string_view section, std::string_view key, int32_t def) const;
    // Section names in text order, brackets removed and trimmed.
    void ReadSections(std::vector<std::string>& list) const;
    std::vector<std::string> ReadSections() const;
    bool SectionExists(std::string_view section) const;

    bool empty() const { return FLines.empty(); }
    const std::vector<std::string>& Lines() const { return FLines; }

private:
    struct Header {
        std::size_t line;  // index in FLines
    };
    const Header* findSection(std::string_view section) const;

    std::vector<std::string> FLines;
    std::vector<Header> FSections;
    // Lower-cased "[name]" -> its first occurrence in FSections.
    std::unordered_map<std::string, std::size_t> FFirstSection;
};

// Trims blanks and control characters (codes 32 and below) from both ends.
std::string_view trimText(std::string_view s);

// Integer value text: decimal or "$" hexadecimal with an optional sign; a text
// longer than two characters starting with "0x"/"0X" is hexadecimal. Decimal
// must fit a signed 32-bit integer; hexadecimal may use all 32 bits (so
// $FFFFFFFF is -1). Returns false when the text does not convert.
bool parseInteger(std::string_view text, int32_t& value);

// The entry name an image reference stands for: the part after the last "\"
// or ":", or an empty string (no image) unless the extension is exactly ".bmp".
std::string imageReference(std::string_view value);

}  // namespace qs
