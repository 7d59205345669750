#include <windows.h>

#include <cstring>

#include "ArchiveNotice.h"

namespace qs {

// Modal to the active window of this thread, titled like the program.
void platformOlderSkinNotice(const char* message) {
    char path[MAX_PATH] = {};
    const char* title = "Skin";
    if (GetModuleFileNameA(nullptr, path, MAX_PATH)) {
        char* name = path;
        for (char* p = path; *p; ++p)
            if (*p == '\\' || *p == '/') name = p + 1;
        if (char* dot = std::strrchr(name, '.')) *dot = '\0';
        if (*name) title = name;
    }
    MessageBoxA(GetActiveWindow(), message, title, MB_OK | MB_ICONWARNING | MB_TASKMODAL);
}

}  // namespace qs
