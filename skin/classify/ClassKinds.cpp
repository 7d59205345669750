// The one place that says which toolkit classes make up each kind of
// control the classification tells apart. A class belongs to a kind when it
// is, or derives from, one of the kind's classes; classes are compared by
// name along the class chain, so a control class of any unit (or of a test)
// that derives from one of these names is classified the same way.
#include <array>

#include "Classify.h"
#include "core/Object.h"

namespace qs {

namespace {
struct KindRow {
    TControlKind kind;
    std::vector<std::string> classes;
};

const std::array<KindRow, 28>& kindTable() {
    static const std::array<KindRow, 28> rows = {{
        {TControlKind::TabControl, {"TCustomTabControl"}},
        {TControlKind::PlainTabControl, {"TTabControl"}},
        // No toolkit control shows a menu of its own yet; a menu bar control
        // would be one.
        {TControlKind::MenuHolder, {"TCustomMenuBar"}},
        {TControlKind::BandContainer, {"TCustomCoolBar"}},
        {TControlKind::TabSheet, {"TTabSheet"}},
        {TControlKind::TabSet, {"TTabSet"}},
        {TControlKind::Header, {"THeaderControl", "TCustomHeaderControl"}},
        {TControlKind::CheckBox, {"TCustomCheckBox"}},
        {TControlKind::TrackBar, {"TTrackBar"}},
        {TControlKind::RadioGroup, {"TCustomRadioGroup"}},
        {TControlKind::GroupBox, {"TCustomGroupBox"}},
        {TControlKind::RadioButton, {"TRadioButton"}},
        {TControlKind::ToolBar, {"TToolBar"}},
        {TControlKind::StatusBar, {"TCustomStatusBar"}},
        {TControlKind::ProgressBar, {"TProgressBar"}},
        // The row of this kind lays one scroll-bar cover over the whole
        // control, so only scroll-bar controls belong here; scroll boxes
        // scroll with window scroll bars and are dressed by the style row.
        {TControlKind::ScrollingContainer, {"TScrollBar"}},
        {TControlKind::ComboBox, {"TCustomComboBox"}},
        {TControlKind::DateTimePicker, {"TDateTimePicker"}},
        {TControlKind::BitButton, {"TBitBtn"}},
        {TControlKind::SpeedButton, {"TSpeedButton"}},
        {TControlKind::Panel, {"TCustomPanel"}},
        {TControlKind::ListView, {"TCustomListView"}},
        {TControlKind::ScrollList, {"TCustomListBox"}},
        {TControlKind::ScrollMemo, {"TCustomMemo"}},
        {TControlKind::Button, {"TButton"}},
        {TControlKind::Edit, {"TCustomEdit"}},
        {TControlKind::Frame, {"TCustomFrame"}},
        {TControlKind::Form, {"TCustomForm"}},
    }};
    return rows;
}
}  // namespace

const std::vector<std::string>& ControlKindClasses(TControlKind kind) {
    for (auto& r : kindTable())
        if (r.kind == kind) return r.classes;
    static const std::vector<std::string> none;
    return none;
}

bool IsControlKind(const TObject* obj, TControlKind kind) {
    if (!obj) return false;
    const auto& names = ControlKindClasses(kind);
    for (const TClassInfo* c = &obj->ClassInfo(); c; c = c->parent)
        for (auto& n : names)
            if (c->name == n) return true;
    return false;
}

}  // namespace qs
