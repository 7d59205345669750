// Controls of this family: edits, memos, list and combo boxes, scroll bars, up-downs and pickers.
#include "Application.h"

namespace qs {

void RegisterEditControlClasses() {
}

}  // namespace qs
