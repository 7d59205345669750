// Whose top-level windows the skin manager takes. By default the program's
// own (made with its module handle) and standard dialogs whoever made them,
// so that a library's private windows keep their look. A program the engine
// was put into from outside has no "own" windows in that sense: those the
// system's libraries make for it (a control panel's window is the shell's)
// are its windows just as much, and those with a title bar are skinned when
// this is switched on (captionless pop-ups of other modules belong to
// controls: a date picker's drop-down calendar, say).
#pragma once

namespace qs {

void SetSkinWindowsOfEveryModule(bool every);
bool SkinWindowsOfEveryModule();

}  // namespace qs
