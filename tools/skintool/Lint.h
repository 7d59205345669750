#pragma once
// skintool lint: what a skin lacks or gets wrong, checked against the
// vocabulary the loader reads. A problem is something the loader silently
// works around (an element left out, a frame cut wrongly, a default used);
// a note is harmless (an entry nobody refers to).
#include <cstdint>
#include <iosfwd>
#include <span>
#include <string>
#include <vector>

namespace qs {
class TSkinReader;
}

namespace qs::skintool {

struct LintFinding {
    bool problem = true;  // false: a note
    std::string text;
    // A problem of readability only: the skin draws as meant, its text is hard
    // to read. Everything else is drawn otherwise than the author meant.
    bool readability = false;
};

// Checks a skin archive (the bytes of a skin file).
std::vector<LintFinding> lintSkinArchive(std::span<const uint8_t> archive);
// Checks an opened skin: an archive or an author's folder.
std::vector<LintFinding> lintSkin(const TSkinReader& reader);

// "skintool lint SKIN...": prints the findings of each archive or skin
// folder; exit code 0 when none has a problem, 1 otherwise, 2 on bad usage.
int lint(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace qs::skintool
