// Controls of this family: page and tab controls, tab sets, headers and list views.
#include "Application.h"

namespace qs {

void RegisterTabControlClasses() {
}

}  // namespace qs
