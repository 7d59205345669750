// The toolkit chain: SkinAllControls walks a toolkit form, ClassifyControl
// decides each control's skin. The first matching row decides; the row order
// is binding because several rows can match one control.
#include <algorithm>
#include <cctype>

#include "AttachRepaint.h"
#include "Classify.h"
#include "ClassifyAttach.h"
#include "ComCtrls.h"
#include "ComCtrlsToolBar.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "Menus.h"
#include "SkinContainers.h"
#include "SkinData.h"
#include "SkinForm.h"
#include "SkinRoutines.h"

namespace qs {

namespace {
std::string upper(std::string s) {
    for (auto& c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
    return s;
}
std::string lower(std::string s) {
    for (auto& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

TMenu* menuProp(TControl* control, const char* name) { return dynamic_cast<TMenu*>(GetObjectProp(control, name)); }

// A right click on any control of a skinned form opens a skinned menu, and
// so does a menu button's drop-down, wherever those menus are owned.
void hookPopupMenus(TWinSkinForm& fs, TControl* control) {
    if (!control) return;
    if (TPopupMenu* m = control->PopupMenu()) HookControlMenu(fs, m);
    if (auto* m = dynamic_cast<TPopupMenu*>(GetObjectProp(control, "DropDownMenu"))) HookControlMenu(fs, m);
    if (auto* bar = dynamic_cast<TToolBar*>(control))
        for (int i = 0; i < bar->ButtonCount(); ++i)
            if (TPopupMenu* m = bar->Button(i)->DropdownMenu()) HookControlMenu(fs, m);
}

void hookPopupMenusBelow(TWinSkinForm& fs, TWinControl* container, int depth) {
    if (!container || depth > 64) return;
    for (TControl* c : container->ControlList()) {
        hookPopupMenus(fs, c);
        hookPopupMenusBelow(fs, dynamic_cast<TWinControl*>(c), depth + 1);
    }
}

// Every band's colour becomes the skin's face colour.
void colourBands(TWinSkinForm& fs, TControl* control) {
    auto* bands = dynamic_cast<TCollection*>(GetObjectProp(control, "Bands"));
    if (!bands || !fs.FSkinData) return;
    for (int i = 0; i < bands->Count(); ++i)
        SetPropValue(bands->Item(i), "Color", TPropValue(int64_t(fs.FSkinData->ButtonFace)));
}
}  // namespace

// ---- walking ----------------------------------------------------------------------------

bool IsSkinned(const TWinSkinForm& fs, TControl* control) {
    if (!control) return false;
    if (auto* w = dynamic_cast<TWinControl*>(control); w && w->HandleAllocated())
        if (SendMessageW(w->HandleIfAllocated(), WM_SKIN_QUERY, 0, 0) == 1) return true;
    return FindSkinByControl(&fs, control) != nullptr;
}

bool IsHandled(const TWinSkinForm& fs, TControl* control) {
    auto* w = dynamic_cast<TWinControl*>(control);
    if (!w || !w->HandleAllocated()) return true;
    if (fs.FSkinData && control->Tag() == fs.FSkinData->DisableTag()) return true;
    if (SendMessageW(w->HandleIfAllocated(), WM_SKIN_QUERY, 0, 0) == 1) return true;
    return FindSkinByHandle(&fs, w->HandleIfAllocated()) != nullptr;
}

void SkinAllControls(TWinSkinForm& fs, TCustomForm* form) {
    if (!form || !fs.FSkinData) return;
    // The skins attached below leave their repaint to this one, which also
    // reaches the frames of the controls (a memo's skinned border).
    struct RepaintOnce {
        explicit RepaintOnce(TCustomForm* f) : form(f) {}
        ~RepaintOnce() {
            if (!deferral.Outermost()) return;
            if (HWND h = form->HandleIfAllocated())
                RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        }
        TCustomForm* form;
        TAttachRepaintDeferral deferral;
    } repaint(form);
    PurgeControlSkins(fs);
    SkinComponents(fs, form);
    std::vector<TWinControl*> list;
    form->GetTabOrderList(list);
    for (TWinControl* c : list)
        if (!IsHandled(fs, c)) ClassifyControl(fs, c, form);
    SkinBareChildWindows(fs, form->HandleIfAllocated());
    // Controls owned by something other than the form still show their
    // menus on it.
    if (inSet(fs.FSkinData->SkinControls(), xcPopupMenu)) {
        hookPopupMenus(fs, form);
        hookPopupMenusBelow(fs, form, 0);
    }
}

void SkinComponents(TWinSkinForm& fs, TComponent* owner) {
    if (!owner) return;
    auto* form = dynamic_cast<TCustomForm*>(owner);
    // Classifying can make components (skins owned by controls): walk a copy.
    const std::vector<TComponent*> owned = owner->Components();
    for (TComponent* c : owned)
        if (auto* control = dynamic_cast<TControl*>(c)) ClassifyControl(fs, control, form);
    if (!fs.FSkinData || !inSet(fs.FSkinData->SkinControls(), xcPopupMenu)) return;
    // The form skin's own form had its pop-up menus hooked when it was attached.
    const bool ownForm = owner == static_cast<TComponent*>(fs.FControl);
    hookPopupMenus(fs, dynamic_cast<TControl*>(owner));
    for (TComponent* c : owner->Components()) {
        if (auto* pm = dynamic_cast<TPopupMenu*>(c)) {
            if (!ownForm) HookControlMenu(fs, pm);
        } else if (auto* control = dynamic_cast<TControl*>(c)) {
            hookPopupMenus(fs, control);
        }
    }
}

void SkinChildren(TWinSkinForm& fs, TWinControl* container, TCustomForm* form) {
    if (!container) return;
    const std::vector<TControl*> children = container->ControlList();
    for (TControl* c : children) ClassifyControl(fs, c, form);
}

// ---- one control ------------------------------------------------------------------------

void ClassifyControl(TWinSkinForm& fs, TControl* control, TCustomForm* form) {
    TSkinData* data = fs.FSkinData;
    if (!control || !data) return;
    const auto gate = [data](TSkinControlType x) { return inSet(data->SkinControls(), x); };
    auto* win = dynamic_cast<TWinControl*>(control);

    // 1. Opted out; a radio or check group takes its buttons along.
    if (control->Tag() == data->DisableTag()) {
        const std::string cls = lower(control->ClassName());
        if (win && (cls.find("radiogroup") != std::string::npos || cls.find("checkgroup") != std::string::npos))
            for (TControl* child : win->ControlList()) child->SetTag(data->DisableTag());
        return;
    }
    // 2.
    if (!control->Parent() || IsSkinned(fs, control)) return;
    // 3.
    const std::string name = upper(control->ClassName());
    if (win && !win->HandleAllocated()) {
        try {
            win->HandleNeeded();
        } catch (...) {
            return;
        }
        if (!win->HandleAllocated()) return;
    }
    // 4. The user's own choice.
    if (data->OnSkinControl) {
        TComponent* made = nullptr;
        data->OnSkinControl(&fs, data, form, control, name, made);
        if (auto* skin = dynamic_cast<TSkinControl*>(made)) {
            if (AddControlSkin(&fs, skin)) AttachSkin(fs, skin, control, TSkinAttachMode::Control, skin->FChangeColor);
            if (auto* panel = dynamic_cast<TCustomPanel*>(control)) SkinChildren(fs, panel, form);
            return;
        }
    }
    // 5.
    if (SkinThirdParty(fs, name, control)) return;
    // 6. Left alone on purpose.
    if (name == "TDBCOMBOBOXEH" || name == "TFRDESIGNERPAGE" || name == "TFRPBOX") return;

    // 7. The class chain.
    const auto kind = [control](TControlKind k) { return IsControlKind(control, k); };
    const bool tabs = data->Tabs() != nullptr;
    const auto make = [&](TSkinClass k, bool changeColor = false, TSkinAttachMode mode = TSkinAttachMode::Control,
                          int fkind = 0) { MakeSkin(fs, k, control, mode, changeColor, fkind); };

    if (kind(TControlKind::TabControl) && tabs && gate(xcTab)) {  // 1
        // Button-style tabs get the button painter on either sub-kind. Only
        // the plain tab control gets kind 2: its skin then also paints the
        // windowless controls placed on it, where a page control holds sheets.
        const std::string style = prop::GetEnumPropName(control, "Style");
        const bool paintedTabs = style == "tsTabs" || GetIntProp(control, "Style", -1) == 0;
        if (kind(TControlKind::PlainTabControl))
            make(paintedTabs ? TSkinClass::Tab : TSkinClass::TabBtn, false, TSkinAttachMode::Control, paintedTabs ? 2 : 0);
        else
            make(style.empty() || paintedTabs ? TSkinClass::Tab : TSkinClass::TabBtn);
        return;
    }
    if (kind(TControlKind::MenuHolder) && fs.FSkinFrame) {  // 2: the control draws itself, the skin its menu
        if (TMenu* m = menuProp(control, "Menu")) HookControlMenu(fs, m);
        return;
    }
    if (kind(TControlKind::BandContainer) && gate(xcToolbar)) {   // 3
        colourBands(fs, control);
        return;
    }
    if (name == "TTABSET" && tabs && gate(xcTab)) return make(TSkinClass::Tab31);                        // 4
    if (kind(TControlKind::TabSheet) && tabs && gate(xcTab)) return make(TSkinClass::TabSheet);          // 5
    if (name == "TTABBEDNOTEBOOK" && tabs && gate(xcTab)) return make(TSkinClass::Tab);                  // 6
    if (name == "TMVCPANEL") return SkinChildren(fs, win, form);                                         // 7
    if (kind(TControlKind::TabSet) && HasProp(control, "Style") && tabs && gate(xcTab))                 // 8
        return make(prop::GetEnumPropName(control, "Style") == "tsTabs" ? TSkinClass::Tab : TSkinClass::TabBtn);
    if (kind(TControlKind::Header) && gate(xcPanel)) return make(TSkinClass::Header);                   // 9
    if (kind(TControlKind::CheckBox) && gate(xcCheckBox)) return make(TSkinClass::CheckBox);            // 10
    if (kind(TControlKind::TrackBar) && gate(xcTrackBar)) return make(TSkinClass::TrackBar);            // 11
    if ((name == "TUPDOWN" || name == "TSPINBUTTON") && gate(xcSpin)) return make(TSkinClass::UpDown);  // 12
    if (name == "TMEDIAPLAYER" && gate(xcButton)) return make(TSkinClass::MP);                          // 13
    if (kind(TControlKind::RadioGroup) && gate(xcRadioButton)) {                                        // 14
        if (win)
            for (TControl* child : std::vector<TControl*>(win->ControlList()))
                if (!IsSkinned(fs, child)) MakeSkin(fs, TSkinClass::RadioButton, child, TSkinAttachMode::Control);
        return make(TSkinClass::GroupBox, true);
    }
    if (name == "TDBNAVIGATOR" && gate(xcPanel)) {  // 15
        make(TSkinClass::Box, true);
        if (win)
            for (TControl* child : std::vector<TControl*>(win->ControlList())) ClassifyControl(fs, child, nullptr);
        return;
    }
    if ((name == "TRZDBCHECKBOX" || name == "TRZCHECKBOX") && gate(xcCheckBox))  // 16
        return (void)MakeSkin(fs, TSkinClass::ObjImage, control, TSkinAttachMode::Control, true, 0, 1);
    if ((name == "TRZRADIOBUTTON" || name == "TRZDBRADIOBUTTON") && gate(xcRadioButton))  // 17
        return (void)MakeSkin(fs, TSkinClass::ObjImage, control, TSkinAttachMode::Control, true, 0, 2);
    if ((name == "TCXDBCHECKBOX" || name == "TCXCHECKBOX") && gate(xcCheckBox))  // 18
        return (void)MakeSkin(fs, TSkinClass::ObjImage, control, TSkinAttachMode::Control, true, 0, 3);
    if (kind(TControlKind::GroupBox) && gate(xcPanel)) {  // 19
        SkinChildren(fs, win, form);
        return make(TSkinClass::GroupBox);
    }
    if (kind(TControlKind::RadioButton) && gate(xcRadioButton)) return make(TSkinClass::RadioButton);  // 20
    if (kind(TControlKind::ToolBar) && gate(xcToolbar)) {                                               // 21
        const bool wasFlat = prop::GetEnumPropName(control, "Flat") == "True";
        prop::SetPropFromString(control, "Flat", "True");
        HookToolbarPainters(fs, control);
        auto* box = dynamic_cast<TSkinBox*>(MakeSkin(fs, TSkinClass::Box, control, TSkinAttachMode::Control));
        if (box)
            box->KeepToolbar(&fs, wasFlat);
        else if (!FindSkinByControl(&fs, control)) {
            // Nothing would take the painters off again.
            UnhookToolbarPainters(&fs, control);
            prop::SetPropFromString(control, "Flat", wasFlat ? "True" : "False");
        }
        if (TMenu* m = menuProp(control, "Menu")) HookControlMenu(fs, m);
        return;
    }
    if (kind(TControlKind::StatusBar) && gate(xcStatusBar)) return make(TSkinClass::StatusBar);   // 22
    if (kind(TControlKind::ProgressBar) && gate(xcProgress)) return make(TSkinClass::Progress);   // 23
    if (kind(TControlKind::ScrollingContainer) && gate(xcScrollbar))                              // 24
        return make(TSkinClass::ScControl, false, TSkinAttachMode::Scrollbar);
    if (name == "TTNTCOMBOBOX" && gate(xcCombo)) return make(TSkinClass::ComBox);                 // 25
    if (kind(TControlKind::ComboBox) && gate(xcCombo)) return make(TSkinClass::ComBox);           // 26
    if (kind(TControlKind::DateTimePicker) && gate(xcEdit)) {                                     // 27
        const bool upDown = prop::GetEnumPropName(control, "DateMode") == "dmUpDown";
        const bool time = prop::GetEnumPropName(control, "Kind") == "dtkTime";
        return make(upDown || time ? TSkinClass::Edit : TSkinClass::DateTime);
    }
    if (name == "TRICHEDIT" && gate(xcScrollbar))  // 28
        return make(TSkinClass::Scrollbar, false, TSkinAttachMode::Scrollbar);
    if ((name == "TWWDBRICHEDIT" || name == "TDXDBMEMO") && gate(xcScrollbar))  // 29
        return make(TSkinClass::Scrollbar, false, TSkinAttachMode::Scrollbar);
    if (kind(TControlKind::BitButton)) {  // 30: without xcBitBtn the chain still ends here
        if (gate(xcBitBtn)) make(TSkinClass::BitButton);
        return;
    }
    if (kind(TControlKind::SpeedButton) && gate(xcSpeedButton))  // 31
        return make(TSkinClass::SpeedButton, false, TSkinAttachMode::Graphic);
    if (kind(TControlKind::Panel) && gate(xcPanel)) {  // 32
        SkinChildren(fs, win, form);
        return make(TSkinClass::Box, true);
    }
    if ((name == "TDXTREELIST" || name == "TDXDBTREELIST" || name == "TDXDBGRID") && gate(xcScrollbar))  // 33
        return make(TSkinClass::Scrollbar, false, TSkinAttachMode::Scrollbar);
    if (kind(TControlKind::ListView) && gate(xcScrollbar))  // 34
        return make(TSkinClass::ListView, false, TSkinAttachMode::Scrollbar);
    if (kind(TControlKind::ScrollList) && gate(xcScrollbar))  // 35
        return make(TSkinClass::Scrollbar, false, TSkinAttachMode::Scrollbar);
    if (kind(TControlKind::ScrollMemo) && gate(xcScrollbar))  // 36
        return make(TSkinClass::Scrollbar, false, TSkinAttachMode::Scrollbar);
    if (win && (GetWindowLongPtrW(win->HandleIfAllocated(), GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL)) &&
        gate(xcScrollbar))  // 37
        return make(TSkinClass::Scrollbar, false, TSkinAttachMode::Scrollbar);
    if (kind(TControlKind::Button) && gate(xcButton)) return make(TSkinClass::Button);  // 38
    if (kind(TControlKind::Edit) && gate(xcEdit)) return make(TSkinClass::Edit);        // 39
    if (name == "TDCEDIT" || name == "TDCDBEDIT") {                                     // 40
        const int64_t buttons = prop::GetIntProp(control, "NumButtons");
        if (buttons == 1 && gate(xcCombo)) return make(TSkinClass::ComBox);
        if (buttons == 0 && gate(xcEdit)) return make(TSkinClass::Edit, false, TSkinAttachMode::Handle);
        return;
    }
    if (kind(TControlKind::Frame)) return SkinComponents(fs, control);  // 41
    if (kind(TControlKind::Form)) {                                     // 42
        make(TSkinClass::Box, true);
        return SkinComponents(fs, control);
    }
}

}  // namespace qs
