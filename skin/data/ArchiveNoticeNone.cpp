#include "ArchiveNotice.h"

namespace qs {
// Native builds are tools and tests: there is nobody to show a dialog to, and
// the reader's lastError() carries the reason instead.
void platformOlderSkinNotice(const char*) {}
}  // namespace qs
