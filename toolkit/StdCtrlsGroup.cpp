// Controls of this family: group boxes, radio groups, scroll boxes and frames.
#include "Application.h"

namespace qs {

void RegisterGroupControlClasses() {
}

}  // namespace qs
