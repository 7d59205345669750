#pragma once
// Colour identifiers of form definitions (Color = clBtnFace). Plain colours
// are 0x00BBGGRR; a system colour is 0xFF0000nn with nn its COLOR_ index.
#include <cstdint>
#include <optional>
#include <string_view>

namespace qs {

// Case-blind; nullopt for a name that is not a colour.
std::optional<int64_t> IdentToColour(std::string_view name);
// The first name of a colour number (clSilver, not its alias clLtGray), or
// empty when it has none. A negative 32-bit number is the same colour as its
// unsigned form (-16777201 is clBtnFace).
std::string_view ColourToIdent(int64_t colour);

}  // namespace qs
