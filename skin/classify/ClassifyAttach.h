#pragma once
// Making and attaching the skins the classification chose (internal to the
// classification units).
#include "Classify.h"

namespace qs {

struct TMakeOptions {
    TSkinAttachMode mode = TSkinAttachMode::Control;
    bool changeColor = false;
    int fkind = 0;  // FKind set before attaching
    TSkinCreateArgs args;
};

// Makes a skin of `kind` for a toolkit control and attaches it; null when
// the family makes none (yet) or the attach failed.
TSkinControl* MakeSkin(TWinSkinForm& fs, TSkinClass kind, TControl* control, TSkinAttachMode mode,
                       bool changeColor = false, int fkind = 0, int imageKind = 0,
                       const char* graphicProperty = "Glyph", int pageMode = 0);
// The same for a bare window, owned by the form skin.
TSkinControl* MakeWindowSkin(TWinSkinForm& fs, TSkinClass kind, HWND handle);
// Attaches a skin that already exists; a failed attach frees it (false).
bool AttachSkin(TWinSkinForm& fs, TSkinControl* skin, TControl* control, TSkinAttachMode mode, bool changeColor,
                HWND handle = nullptr);

}  // namespace qs
