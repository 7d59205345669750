// Controls of this family: buttons, check boxes and radio buttons.
#include "StdCtrlsButtons.h"

#include "Application.h"
#include "Buttons.h"
#include "Forms.h"

namespace qs {

const std::vector<std::string> kCheckBoxStateNames = {"cbUnchecked", "cbChecked", "cbGrayed"};

namespace {
// Check boxes and radio buttons put their caption left or right of the mark only.
bool SideAlignment(TAlignment a) { return a == taLeftJustify || a == taRightJustify; }

// The stored Alignment of a check box or radio button: a centred one is refused.
template <class C>
TClassBuilder<C>& sideAlignmentProp(TClassBuilder<C>& b) {
    return b.template prop<std::string>(
        "Alignment", TPropKind::Enum, [](const C& c) { return kAlignmentNames[size_t(c.Alignment())]; },
        [](C& c, const std::string& v) -> bool {
            for (size_t i = 0; i < kAlignmentNames.size(); ++i)
                if (TClassBuilder<C>::equalsNoCase(kAlignmentNames[i], v) && SideAlignment(TAlignment(i))) {
                    c.SetAlignment(TAlignment(i));
                    return true;
                }
            return false;
        },
        &kAlignmentNames);
}
}  // namespace

// ---- TButtonControl ----

const TClassInfo& TButtonControl::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TButtonControl>("TButtonControl", &TWinControl::StaticClassInfo()).build();
    return info;
}

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
    // Clicks come from the window (BN_CLICKED), never from the generic mouse-up rule.
    SetControlStyle((ControlStyle() & ~uint32_t(csClickEvents)) | csSetCaption);
}

void TButtonControl::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.SysClassName = L"BUTTON";
}

void TButtonControl::WndProc(TMessage& msg) {
    if (msg.Msg == CN_COMMAND) {
        if (HIWORD(msg.WParam) == BN_CLICKED) ButtonClicked();
        msg.Result = 0;
        return;
    }
    TWinControl::WndProc(msg);
}

// ---- TButton ----

const TClassInfo& TButton::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TButton>("TButton", &TButtonControl::StaticClassInfo())
            .creatable()
            .boolean("Default", &TButton::Default, &TButton::SetDefault)
            .boolean("Cancel", &TButton::Cancel, &TButton::SetCancel)
            .integer("ModalResult", [](const TButton& b) { return int64_t(b.ModalResult()); },
                     [](TButton& b, int64_t v) { b.SetModalResult(int(v)); })
            .build();
    return info;
}

TButton::TButton(TComponent* owner) : TButtonControl(owner) {
    SetColor(clBtnFace);
    SetBounds(0, 0, 75, 25);
}

void TButton::CreateParams(TCreateParams& p) {
    TButtonControl::CreateParams(p);
    p.Style |= FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::SetDefault(bool v) {
    if (v == FDefault) return;
    FDefault = v;
    // Owner-drawn kinds keep their style; only the plain push styles switch.
    if (HandleAllocated() && (GetWindowLongPtrW(FHandle, GWL_STYLE) & BS_TYPEMASK) <= BS_DEFPUSHBUTTON)
        SendMessageW(FHandle, BM_SETSTYLE, v ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::Click() {
    if (FModalResult != 0)
        if (TCustomForm* f = GetParentForm(this)) f->SetModalResult(FModalResult);
    TButtonControl::Click();
}

void TButton::WndProc(TMessage& msg) {
    // The system button ignores Enter; a focused button takes it as a click.
    if (msg.Msg == CN_KEYDOWN && msg.WParam == VK_RETURN && Enabled()) {
        Click();
        msg.Result = 1;
        return;
    }
    TButtonControl::WndProc(msg);
}

// ---- TCustomCheckBox ----

const TClassInfo& TCustomCheckBox::StaticClassInfo() {
    static const TClassInfo info =
        sideAlignmentProp(
            TClassBuilder<TCustomCheckBox>("TCustomCheckBox", &TButtonControl::StaticClassInfo())
                .enumeration("State", kCheckBoxStateNames, [](const TCustomCheckBox& c) { return int(c.State()); },
                             [](TCustomCheckBox& c, int v) { c.SetState(TCheckBoxState(v)); })
                .boolean("Checked", &TCustomCheckBox::Checked, &TCustomCheckBox::SetChecked)
                .boolean("AllowGrayed", &TCustomCheckBox::AllowGrayed, &TCustomCheckBox::SetAllowGrayed))
            .build();
    return info;
}

const TClassInfo& TCheckBox::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TCheckBox>("TCheckBox", &TCustomCheckBox::StaticClassInfo()).creatable().build();
    return info;
}

TCustomCheckBox::TCustomCheckBox(TComponent* owner) : TButtonControl(owner) {
    SetBounds(0, 0, 97, 17);
    SetParentColor(true);
}

void TCustomCheckBox::CreateParams(TCreateParams& p) {
    TButtonControl::CreateParams(p);
    // Three-state without the system's own toggling: the state is ours.
    p.Style |= BS_3STATE | BS_MULTILINE;
    if (FAlignment == taLeftJustify) p.Style |= BS_LEFTTEXT;
}

void TCustomCheckBox::CreateHandle() {
    TButtonControl::CreateHandle();
    SendMessageW(FHandle, BM_SETCHECK, WPARAM(FState), 0);
}

void TCustomCheckBox::SetState(TCheckBoxState s) {
    if (s < cbUnchecked || s > cbGrayed || s == FState) return;
    FState = s;
    if (HandleAllocated()) SendMessageW(FHandle, BM_SETCHECK, WPARAM(s), 0);
}

void TCustomCheckBox::SetAlignment(TAlignment a) {
    if (!SideAlignment(a) || a == FAlignment) return;
    FAlignment = a;
    RecreateWnd();
}

TCheckBoxState TCustomCheckBox::NextState() const {
    switch (FState) {
        case cbUnchecked: return FAllowGrayed ? cbGrayed : cbChecked;
        case cbGrayed: return cbChecked;
        default: return cbUnchecked;
    }
}

void TCustomCheckBox::ButtonClicked() {
    SetState(NextState());
    Click();
}

void TCustomCheckBox::WndProc(TMessage& msg) {
    // BM_SETCHECK sent from outside (a dialog routine, a test) is a state change too.
    if (msg.Msg == BM_SETCHECK && msg.WParam <= BST_INDETERMINATE) FState = TCheckBoxState(msg.WParam);
    TButtonControl::WndProc(msg);
}

// ---- TRadioButton ----

const TClassInfo& TRadioButton::StaticClassInfo() {
    static const TClassInfo info =
        sideAlignmentProp(TClassBuilder<TRadioButton>("TRadioButton", &TButtonControl::StaticClassInfo())
                              .creatable()
                              .boolean("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked))
            .build();
    return info;
}

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner) {
    SetBounds(0, 0, 113, 17);
    SetParentColor(true);
}

void TRadioButton::CreateParams(TCreateParams& p) {
    TButtonControl::CreateParams(p);
    // Not the automatic kind: the group rule (one per parent) is ours.
    p.Style |= BS_RADIOBUTTON | BS_MULTILINE;
    if (FAlignment == taLeftJustify) p.Style |= BS_LEFTTEXT;
}

void TRadioButton::CreateHandle() {
    TButtonControl::CreateHandle();
    SendMessageW(FHandle, BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::SetChecked(bool v) {
    if (v == FChecked) return;
    FChecked = v;
    if (HandleAllocated()) SendMessageW(FHandle, BM_SETCHECK, v ? BST_CHECKED : BST_UNCHECKED, 0);
    if (!v || !Parent()) return;
    for (TControl* c : std::vector<TControl*>(Parent()->ControlList()))
        if (auto* r = dynamic_cast<TRadioButton*>(c); r && r != this) r->SetChecked(false);
}

void TRadioButton::SetAlignment(TAlignment a) {
    if (!SideAlignment(a) || a == FAlignment) return;
    FAlignment = a;
    RecreateWnd();
}

void TRadioButton::ButtonClicked() {
    // A second click on the checked one changes nothing, but is still a click.
    SetChecked(true);
    Click();
}

TRadioButton* TRadioButton::Neighbour(bool forward) const {
    if (!Parent()) return nullptr;
    std::vector<TRadioButton*> group;
    for (TControl* c : Parent()->ControlList())
        if (auto* r = dynamic_cast<TRadioButton*>(c); r && (r == this || r->CanFocus())) group.push_back(r);
    if (group.size() < 2) return nullptr;
    size_t i = 0;
    while (group[i] != this) ++i;
    size_t n = group.size();
    return group[forward ? (i + 1) % n : (i + n - 1) % n];
}

void TRadioButton::WndProc(TMessage& msg) {
    if (msg.Msg == CN_KEYDOWN) {
        WORD key = WORD(msg.WParam);
        if (key == VK_UP || key == VK_LEFT || key == VK_DOWN || key == VK_RIGHT) {
            // Arrows move through the group and check where they land, as in dialogs.
            if (TRadioButton* next = Neighbour(key == VK_DOWN || key == VK_RIGHT)) {
                next->SetFocus();
                if (!next->Checked()) {
                    next->SetChecked(true);
                    next->Click();
                }
            }
            msg.Result = 1;
            return;
        }
    }
    // BM_SETCHECK from outside moves Checked along with the mark.
    if (msg.Msg == BM_SETCHECK) FChecked = msg.WParam == BST_CHECKED;
    TButtonControl::WndProc(msg);
}

void RegisterButtonControlClasses() {
    RegisterComponentClass(TButton::StaticClassInfo());
    RegisterComponentClass(TCheckBox::StaticClassInfo());
    RegisterComponentClass(TRadioButton::StaticClassInfo());
    RegisterBitButtonClasses();
}

}  // namespace qs
