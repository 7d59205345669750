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

// ---- tool bars ------------------------------------------------------------------------------

void PaintToolbarBackground(TWinSkinForm& fs, HDC dc, const RECT& r) {
    TSkinData* data = fs.Art();
    if (!dc || !data || inSet(data->Options(), xoToolbarBK)) return;
    TDataSkinObject* bar = data->Toolbar();
    if (!bar || bar->Bitmap.Empty()) return;
    const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, bar->Bitmap.Canvas()->Handle(), 0, 0,
               bar->Bitmap.Width(), bar->Bitmap.Height(), SRCCOPY);
    bar->Bitmap.Dormant();
    SetStretchBltMode(dc, oldMode);
}

bool PaintToolbarButton(TWinSkinForm& fs, HDC dc, const RECT& bounds, UINT state, TColor& fontColour) {
    TSkinData* data = fs.Art();
    if (!dc || !data || fs.FSkinState != 1) return false;
    TDataSkinButton* buttons = data->Buttons();
    if (!buttons || buttons->Bitmap.Empty()) return false;
    int frame = 0;
    if (state & CDIS_SELECTED)
        frame = 2;
    else if (state & (CDIS_FOCUS | CDIS_HOT))
        frame = 4;
    else if (!(state & (CDIS_GRAYED | CDIS_DISABLED)) && (state & CDIS_DEFAULT))
        frame = 1;
    if (!frame) return false;
    if (frame == 1 && buttons->HasNormalColour2) fontColour = TColor(buttons->NormalColour2);
    if (frame == 4 && buttons->HasMouseOverColour2) fontColour = TColor(buttons->MouseOverColour2);
    if (frame == 2 && buttons->HasPressedColour2) fontColour = TColor(buttons->PressedColour2);
    RECT r = bounds;
    InflateRect(&r, -1, -1);
    DrawNineSlice(dc, r, buttons->Bitmap, false, false, buttons->Trans == 1, 5, frame, buttons->Margins());
    return true;
}

namespace {
// The painters are named types, so a painter left by an earlier form skin is
// told apart from a program's own handler and replaced rather than kept.
struct ToolbarBackgroundPainter {
    TWinSkinForm* form;
    void operator()(TObject*, HDC dc, const RECT& r, bool&) const { PaintToolbarBackground(*form, dc, r); }
};
struct ToolbarButtonPainter {
    TWinSkinForm* form;
    void operator()(TObject*, HDC dc, const RECT& r, UINT state, TColor& font, bool&) const {
        PaintToolbarButton(*form, dc, r, state, font);
    }
};

template <class Event>
std::optional<Event> eventOf(TControl* toolbar, const char* name) {
    auto v = GetPropValue(toolbar, name);
    auto* a = v ? std::get_if<std::any>(&*v) : nullptr;
    auto* f = a ? std::any_cast<Event>(a) : nullptr;
    if (!f) return std::nullopt;
    return *f;
}

template <class Event, class Painter>
void hookOne(TControl* toolbar, const char* name, TWinSkinForm* form) {
    auto f = eventOf<Event>(toolbar, name);
    if (f && (!*f || f->template target<Painter>()))
        SetPropValue(toolbar, name, TPropValue(std::any(Event(Painter{form}))));
}

template <class Event, class Painter>
bool unhookOne(TControl* toolbar, const char* name, const TWinSkinForm* form) {
    auto f = eventOf<Event>(toolbar, name);
    const Painter* p = f ? f->template target<Painter>() : nullptr;
    if (!p || p->form != form) return false;
    SetPropValue(toolbar, name, TPropValue(std::any(Event())));
    return true;
}
}  // namespace

void HookToolbarPainters(TWinSkinForm& fs, TControl* toolbar) {
    if (!toolbar) return;
    hookOne<TToolBarCustomDrawEvent, ToolbarBackgroundPainter>(toolbar, "OnCustomDraw", &fs);
    hookOne<TToolBarCustomDrawButtonEvent, ToolbarButtonPainter>(toolbar, "OnCustomDrawButton", &fs);
}

bool UnhookToolbarPainters(const TWinSkinForm* fs, TControl* toolbar) {
    if (!toolbar) return false;
    const bool back = unhookOne<TToolBarCustomDrawEvent, ToolbarBackgroundPainter>(toolbar, "OnCustomDraw", fs);
    const bool button = unhookOne<TToolBarCustomDrawButtonEvent, ToolbarButtonPainter>(toolbar, "OnCustomDrawButton", fs);
    return back || button;
}

}  // namespace qs
