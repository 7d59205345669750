// Controls of this family: buttons, check boxes and radio buttons.
#include "Application.h"

namespace qs {

void RegisterButtonControlClasses() {
}

}  // namespace qs
