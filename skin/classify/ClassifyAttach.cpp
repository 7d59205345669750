#include "ClassifyAttach.h"

#include <commctrl.h>

#include <optional>

#include "SkinData.h"
#include "SkinDraw.h"
#include "SkinForm.h"
#include "SkinRoutines.h"

namespace qs {

namespace {
TSkinFactory& factory() {
    static TSkinFactory f;
    return f;
}

TSkinControl* create(TSkinClass kind, const TSkinCreateArgs& args) {
    return factory() ? factory()(kind, args) : NewSkinControl(kind, args);
}
}  // namespace

void SetSkinFactory(TSkinFactory f) { factory() = std::move(f); }

bool AttachSkin(TWinSkinForm& fs, TSkinControl* skin, TControl* control, TSkinAttachMode mode, bool changeColor,
                HWND handle) {
    if (!skin) return false;
    try {
        switch (mode) {
            case TSkinAttachMode::Control:
                skin->Attach(&fs, fs.Art(), changeColor, &fs.FCanvas);
                break;
            case TSkinAttachMode::Handle:
                if (!handle)
                    if (auto* w = dynamic_cast<TWinControl*>(control)) handle = w->Handle();
                skin->AttachHandle(handle, fs.Art(), &fs, &fs.FCanvas);
                break;
            case TSkinAttachMode::Scrollbar:
                skin->AttachScrollbar(control, fs.Art(), &fs, &fs.FCanvas);
                break;
            case TSkinAttachMode::Graphic:
                skin->AttachGraphic(control, fs.Art(), &fs, &fs.FCanvas);
                break;
        }
        return true;
    } catch (...) {
        // Half attached is worse than not at all: the destructor unhooks and unlists.
        delete skin;
        return false;
    }
}

TSkinControl* MakeSkin(TWinSkinForm& fs, TSkinClass kind, TControl* control, TSkinAttachMode mode, bool changeColor,
                       int fkind, int imageKind, const char* graphicProperty, int pageMode) {
    if (!control) return nullptr;
    TSkinCreateArgs args;
    args.owner = control;
    args.imageKind = imageKind;
    args.graphicProperty = graphicProperty;
    args.pageMode = pageMode;
    TSkinControl* skin = nullptr;
    try {
        skin = create(kind, args);
    } catch (...) {
        return nullptr;
    }
    if (!skin) return nullptr;
    skin->FKind = fkind;
    return AttachSkin(fs, skin, control, mode, changeColor) ? skin : nullptr;
}

TSkinControl* MakeWindowSkin(TWinSkinForm& fs, TSkinClass kind, HWND handle) {
    if (!handle) return nullptr;
    TSkinCreateArgs args;
    args.owner = &fs;
    TSkinControl* skin = nullptr;
    try {
        skin = create(kind, args);
    } catch (...) {
        return nullptr;
    }
    if (!skin) return nullptr;
    return AttachSkin(fs, skin, nullptr, TSkinAttachMode::Handle, false, handle) ? skin : nullptr;
}

void ControlSkinsChanged(TWinSkinForm& fs) {
    const std::vector<TSkinControl*> skins = fs.FControls;
    for (TSkinControl* s : skins) {
        if (!HasControlSkin(&fs, s) || s->FState == scsDestroyed) continue;
        // The window's density may have changed with the skin.
        if (s->FSkinData && (s->FSkinData == fs.FSkinData || s->FSkinData->ScaledFrom() == fs.FSkinData))
            s->FSkinData = fs.Art();
        // Switched off: left alone; switching on brings the skin as it is then.
        if (s->FSwitchedOff) continue;
        try {
            s->SkinChanged();
        } catch (...) {
        }
    }
}

}  // namespace qs
