#include "Version.h"
// The toolkit carries the engine's version; nothing else lives here.
namespace qs {
const char* toolkitVersion() { return engineVersion(); }
}
