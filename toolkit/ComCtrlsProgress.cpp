// Controls of this family: progress bars, track bars and the media player.
#include "Application.h"

namespace qs {

void RegisterProgressControlClasses() {
}

}  // namespace qs
