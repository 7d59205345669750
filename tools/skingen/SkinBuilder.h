#pragma once
// Collects what one generated skin consists of: its bitmaps under their entry
// names, the description text, and the order the entries go into the archive.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ArchiveWriter.h"
#include "Raster.h"
#include "Theme.h"

namespace qs::gen {

// Description text in the layout skin authors expect: sections in order, one
// "Key=Value" per line, CR LF line ends.
class IniText {
public:
    void section(std::string_view name);
    void key(std::string_view k, std::string_view v);
    void key(std::string_view k, int v);
    void colour(std::string_view k, Px c);  // "r g b"
    void comment(std::string_view c);
    const std::string& text() const { return FText; }

private:
    std::string FText;
};

struct GeneratedSkin {
    std::string name;     // theme id
    Theme theme;          // what it was drawn from
    std::string iniName;  // description entry
    IniText ini;
    std::vector<std::pair<std::string, PixelImage>> images;  // in archive order
    std::size_t iniPosition = 0;                             // where the description goes among them

    void add(std::string entry, PixelImage img) { images.emplace_back(std::move(entry), std::move(img)); }
    const PixelImage* find(std::string_view entry) const;
    // Entry names in archive order, the description included.
    std::vector<std::string> order() const;
    // The archive entries: BMP files and the description, in order.
    std::vector<TSkinArchiveEntry> entries() const;
};

// Draws skin `id` (default, dark, rounded). Throws std::out_of_range for an
// unknown name.
GeneratedSkin generateSkin(const std::string& id);
GeneratedSkin generateSkin(const Theme& t);

// Writes the skin's files, the description and "order.txt" (one entry name a
// line, archive order) into `dir`; returns an error text or "".
std::string writeSkinFolder(const GeneratedSkin& skin, const std::string& dir);

}  // namespace qs::gen
