#include "Version.h"
namespace qs {
const char* engineVersion() { return QS_VERSION_STRING; }
}
