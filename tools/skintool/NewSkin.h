#pragma once
// skintool new: a complete skin folder from a face colour, an accent and
// optionally a text colour, drawn by the generator's art code, with every
// text pair readable.
#include <iosfwd>
#include <string>
#include <vector>

namespace qs::skintool {

// "new DIR --face #RRGGBB --accent #RRGGBB [--text #RRGGBB] [--rounded] [--force]"
int newSkin(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace qs::skintool
