// The user's class-name mapping (Skin3rd lines "ClassName=kind"): it decides
// before the class chain, and once a line names the class the chain is not
// consulted, even when the kind is unknown or switched off.
#include "Classify.h"
#include "ClassifyAttach.h"
#include "Controls.h"
#include "SkinData.h"
#include "SkinForm.h"
#include "SkinRoutines.h"

namespace qs {

namespace {
char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

// True when the first `n` characters of `a` and `b` differ at most in case.
bool samePrefixNoCase(const std::string& a, const std::string& b, size_t n) {
    if (a.size() < n || b.size() < n) return false;
    for (size_t i = 0; i < n; ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    return true;
}

bool sameNoCase(const std::string& a, const std::string& b) { return a.size() == b.size() && samePrefixNoCase(a, b, a.size()); }

// The kind the first line naming `className` gives (lower case, at most 50
// characters), without copying the lines: every control of every pass asks
// this of a list of more than a hundred lines.
bool findKind(const std::vector<std::string>& lines, const std::string& className, std::string& kind) {
    const size_t n = className.size();
    for (const std::string& line : lines) {
        if (line.size() <= n || line[n] != '=' || !samePrefixNoCase(line, className, n)) continue;
        kind = line.substr(n + 1, 50);
        for (auto& c : kind) c = lowerAscii(c);
        return true;
    }
    return false;
}

bool hasBorder(TControl* control) {
    auto* w = dynamic_cast<TWinControl*>(control);
    if (!w || !w->HandleAllocated()) return false;
    RECT wr{}, cr{};
    GetWindowRect(w->HandleIfAllocated(), &wr);
    GetClientRect(w->HandleIfAllocated(), &cr);
    return wr.right - wr.left != cr.right - cr.left || wr.bottom - wr.top != cr.bottom - cr.top;
}

bool hasScrollStyle(TControl* control) {
    auto* w = dynamic_cast<TWinControl*>(control);
    return w && w->HandleAllocated() &&
           (GetWindowLongPtrW(w->HandleIfAllocated(), GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL));
}
}  // namespace

std::string Skin3rdKind(const std::vector<std::string>& lines, const std::string& className) {
    std::string kind;
    findKind(lines, className, kind);
    return kind;
}

bool SkinThirdParty(TWinSkinForm& fs, const std::string& upperClassName, TControl* control) {
    TSkinData* data = fs.FSkinData;
    if (!data || !control) return false;
    std::string kind;
    if (!findKind(data->Skin3rd(), upperClassName, kind)) return false;
    const auto gate = [data](TSkinControlType x) { return inSet(data->SkinControls(), x); };
    const auto make = [&](TSkinClass k, bool changeColor = false, TSkinAttachMode mode = TSkinAttachMode::Control) {
        return MakeSkin(fs, k, control, mode, changeColor);
    };
    const bool graphic = dynamic_cast<TWinControl*>(control) == nullptr;
    auto* win = dynamic_cast<TWinControl*>(control);
    const bool trz = upperClassName.find("TRZ") != std::string::npos;

    if (kind == "nil") return true;
    if (kind == "combobox") {
        if (gate(xcCombo)) make(TSkinClass::ComBox);
    } else if (kind == "edit") {
        if (gate(xcEdit) && hasBorder(control)) make(TSkinClass::Edit);
    } else if (kind == "radiobutton") {
        if (gate(xcRadioButton)) make(TSkinClass::RadioButton);
    } else if (kind == "panel") {
        if (gate(xcPanel)) {
            prop::SetPropFromString(control, "Transparent", "True");
            make(TSkinClass::Box, true);
        }
    } else if (kind == "trackbar") {
        if (gate(xcButton)) {
            prop::SetPropFromString(control, "Transparent", "True");
            make(TSkinClass::TrackBar);
        }
    } else if (kind == "button") {
        if (gate(xcButton)) make(TSkinClass::Button);
    } else if (kind == "datetimepicker") {
        if (gate(xcCombo)) make(TSkinClass::DateTime);
    } else if (kind == "mediaplayer") {
        if (gate(xcButton)) make(TSkinClass::MP);
    } else if (kind == "bitbtn") {
        if (gate(xcButton)) {
            const bool dropDown = sameNoCase(upperClassName, "tcxbutton") &&
                                  prop::GetEnumPropName(control, "Kind") == "cxbkDropDownButton";
            make(dropDown ? TSkinClass::MenuButton : TSkinClass::BitButton);
        }
    } else if (kind == "pngbitbtn") {
        if (gate(xcButton))
            MakeSkin(fs, TSkinClass::BitButton, control, TSkinAttachMode::Control, false, 0, 0, "PngImage");
    } else if (kind == "menubtn") {
        if (gate(xcButton)) make(TSkinClass::MenuButton);
    } else if (kind == "speedbutton") {
        if (gate(xcSpeedButton))
            make(TSkinClass::SpeedButton, false, graphic ? TSkinAttachMode::Graphic : TSkinAttachMode::Control);
    } else if (kind == "tab") {
        if (gate(xcTab) && data->Tabs()) make(TSkinClass::Tab);
    } else if (kind == "progress") {
        if (gate(xcProgress)) make(TSkinClass::Progress);
    } else if (kind == "scrollbar") {
        if (gate(xcScrollbar)) {
            make(TSkinClass::Scrollbar, false, TSkinAttachMode::Scrollbar);
            SkinChildren(fs, win);
        }
    } else if (kind == "singlescrollbar") {
        if (gate(xcScrollbar)) MakeSkin(fs, TSkinClass::Scrollbar, control, TSkinAttachMode::Scrollbar, false, 1);
    } else if (kind == "embedscrollbar") {
        if (gate(xcScrollbar) && win)
            for (TControl* child : std::vector<TControl*>(win->ControlList())) {
                if (IsControlKind(child, TControlKind::ScrollingContainer))
                    MakeSkin(fs, TSkinClass::ScControl, child, TSkinAttachMode::Scrollbar);
                else if (hasScrollStyle(child))
                    MakeSkin(fs, TSkinClass::Scrollbar, child, TSkinAttachMode::Scrollbar);
            }
    } else if (kind == "container") {
        SkinChildren(fs, win);
    } else if (kind == "groupbox") {
        if (gate(xcGroupBox)) make(TSkinClass::GroupBox, true);
    } else if (kind == "advpagecontrol") {
        if (gate(xcTab)) MakeSkin(fs, TSkinClass::AdvPage, control, TSkinAttachMode::Control, true, 0, 0, "Glyph", 4);
    } else if (kind == "radiogroup" || kind == "checkgroup") {
        const bool radio = kind == "radiogroup";
        if (gate(radio ? xcGroupBox : xcPanel)) {
            if (gate(xcRadioButton) && win)
                for (TControl* child : std::vector<TControl*>(win->ControlList())) {
                    if (trz)
                        MakeSkin(fs, TSkinClass::ObjImage, child, TSkinAttachMode::Control, true, 0, radio ? 2 : 1);
                    else
                        MakeSkin(fs, radio ? TSkinClass::RadioButton : TSkinClass::CheckBox, child,
                                 TSkinAttachMode::Control);
                }
            if (gate(xcGroupBox)) make(TSkinClass::GroupBox, true);
        }
    } else if (kind == "checkbox") {
        if (gate(xcCheckBox)) make(TSkinClass::CheckBox);
    }
    return true;
}

}  // namespace qs
