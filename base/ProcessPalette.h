// The colours the whole process reads from the system (GetSysColor,
// GetSysColorBrush), answered from a table of our own while it is on, so
// that what a program paints in system colours follows the skin: its own
// painting, owner-drawn rows, and what comctl32 and user32 cache from them.
// Windows only.
#pragma once

#include <windows.h>

namespace qs::palette {

// COLOR_SCROLLBAR .. COLOR_MENUBAR.
constexpr int kColours = 31;

struct TPaletteTable {
    COLORREF colour[kColours] = {};
    // An entry not covered keeps the system's answer.
    bool covered[kColours] = {};
};

// Puts the table in force (or replaces the one in force) and tells every
// window of the process, as the system does when its colours change. The
// functions are hooked at the first call; false when they cannot be (the
// system's colours stay then). The brushes handed out belong to this unit
// for the life of the process; a program that deletes one deletes nothing.
bool Apply(const TPaletteTable& table);
// The system's colours again, exactly, and the windows told. No effect when
// no table is in force.
void Withdraw();
bool IsOn();

// The system's own colour, whatever the table says: the engine decides by
// it what a program set itself.
COLORREF SystemColour(int index);

}  // namespace qs::palette
