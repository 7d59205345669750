#include "form_test_classes.h"

#include <algorithm>
#include <stdexcept>

namespace formtest {

int g_live = 0;
std::vector<std::string> g_trace;

namespace {
const std::vector<std::string> kAlign = {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"};
const std::vector<std::string> kAnchors = {"akLeft", "akTop", "akRight", "akBottom"};
const std::vector<std::string> kFontStyles = {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};
const std::vector<std::string> kAlignment = {"taLeftJustify", "taRightJustify", "taCenter"};
const std::vector<std::string> kControls = {
    "xcMainMenu", "xcPopupMenu", "xcMenuItem", "xcToolbar",  "xcControlbar", "xcCombo",    "xcCheckBox",  "xcRadioButton",
    "xcProgress", "xcScrollbar", "xcEdit",     "xcButton",   "xcBitBtn",     "xcSpeedButton", "xcSpin",   "xcPanel",
    "xcGroupBox", "xcStatusBar", "xcTab",      "xcTrackBar", "xcSystemMenu", "xcFastReport"};
const std::vector<std::string> kFormTypes = {"sfMainform", "sfOnlyThisForm", "sfDialog", "sfDLL"};
}  // namespace

const TClassInfo& TTestFont::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TTestFont>("TTestFont", &TPersistent::StaticClassInfo())
            .string("Name", [](const TTestFont& f) { return f.name; }, [](TTestFont& f, const std::string& v) { f.name = v; })
            .integer("Height", [](const TTestFont& f) { return f.height; }, [](TTestFont& f, int64_t v) { f.height = v; })
            .colour("Color", [](const TTestFont& f) { return f.colour; }, [](TTestFont& f, int64_t v) { f.colour = v; })
            .integer("Charset", [](const TTestFont& f) { return f.charset; }, [](TTestFont& f, int64_t v) { f.charset = v; })
            .set("Style", kFontStyles, [](const TTestFont& f) { return f.style; }, [](TTestFont& f, uint64_t v) { f.style = v; })
            .build();
    return info;
}

const TClassInfo& TTestPanel::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TTestPanel>("TTestPanel", &TCollectionItem::StaticClassInfo())
            .integer("Width", [](const TTestPanel& p) { return p.width; }, [](TTestPanel& p, int64_t v) { p.width = v; })
            .wide("Text", [](const TTestPanel& p) { return p.text; }, [](TTestPanel& p, const std::wstring& v) { p.text = v; })
            .enumeration("Alignment", kAlignment, [](const TTestPanel& p) { return p.alignment; },
                         [](TTestPanel& p, int v) { p.alignment = v; })
            .object("Link", [](const TTestPanel& p) { return p.link; }, [](TTestPanel& p, TObject* v) { p.link = v; })
            .build();
    return info;
}

TTestControl::TTestControl(TComponent* owner) : TComponent(owner) {
    ++g_live;
    g_trace.push_back("create " + ClassName());
}

TTestControl::~TTestControl() {
    --g_live;
    if (auto* p = dynamic_cast<TTestControl*>(parent))
        p->children.erase(std::remove(p->children.begin(), p->children.end(), this), p->children.end());
    for (auto* c : children) c->parent = nullptr;
}

void TTestControl::SetName(const std::string& n) {
    TComponent::SetName(n);
    g_trace.push_back("name " + n);
}

void TTestControl::SetParentComponent(TComponent* p) {
    parent = p;
    if (auto* pc = dynamic_cast<TTestControl*>(p)) pc->children.push_back(this);
    g_trace.push_back("parent " + Name() + " in " + (p ? p->Name() : "-"));
}

void TTestControl::Loaded() {
    TComponent::Loaded();
    menuAtLoaded = popupMenu;
    g_trace.push_back("loaded " + Name());
    if (hint == "fail when loaded") throw std::runtime_error("loaded step failed");
}

const TClassInfo& TTestControl::StaticClassInfo() {
    using C = TTestControl;
    static const TClassInfo info =
        TClassBuilder<C>("TTestControl", &TComponent::StaticClassInfo())
            .creatable()
            .integer("Left", [](const C& c) { return c.left; }, [](C& c, int64_t v) { c.log("Left"), c.left = v; })
            .integer("Width", [](const C& c) { return c.width; }, [](C& c, int64_t v) { c.log("Width"), c.width = v; })
            .boolean("Visible", [](const C& c) { return c.visible; }, [](C& c, bool v) { c.log("Visible"), c.visible = v; })
            .string("Hint", [](const C& c) { return c.hint; }, [](C& c, const std::string& v) { c.log("Hint"), c.hint = v; })
            .wide("Caption", [](const C& c) { return c.caption; }, [](C& c, const std::wstring& v) { c.log("Caption"), c.caption = v; })
            .enumeration("Align", kAlign, [](const C& c) { return c.align; }, [](C& c, int v) { c.log("Align"), c.align = v; })
            .set("Anchors", kAnchors, [](const C& c) { return c.anchors; }, [](C& c, uint64_t v) { c.log("Anchors"), c.anchors = v; })
            .colour("Color", [](const C& c) { return c.colour; }, [](C& c, int64_t v) { c.log("Color"), c.colour = v; })
            .object("Font", [](const C& c) { return const_cast<TTestFont*>(&c.font); }, nullptr)
            .object("PopupMenu", [](const C& c) { return c.popupMenu; },
                    [](C& c, TObject* v) { c.log("PopupMenu"), c.popupMenu = v; }, &TTestMenu::StaticClassInfo())
            .collection("Panels", [](const C& c) { return static_cast<TObject*>(const_cast<TTypedCollection<TTestPanel>*>(&c.panels)); })
            .strings("Lines", [](const C& c) { return c.lines; }, [](C& c, const TStringList& v) { c.log("Lines"), c.lines = v; })
            .binary("Data", [](const C& c) { return c.data; }, [](C& c, const TBytes& v) { c.log("Data"), c.data = v; })
            .event<TNotify>("OnClick", [](const C& c) { return c.onClick; }, [](C& c, const TNotify& f) { c.log("OnClick"), c.onClick = f; })
            .build();
    return info;
}

TTestForm::TTestForm(TComponent* owner) : TTestControl(owner) {
    DefineMethod("FormClick", std::any(TNotify([this](TObject*) { ++clicks; })));
    DefineMethod("N1Click", std::any(TNotify([this](TObject*) { clicks += 10; })));
    DefineMethod("NoArguments", std::any(std::function<void()>([] {})));
}

const TClassInfo& TTestForm::StaticClassInfo() {
    using C = TTestForm;
    static const TClassInfo info =
        TClassBuilder<C>("TTestForm", &TTestControl::StaticClassInfo())
            .creatable()
            // Like focusing: an invisible control cannot become the active one.
            .object("ActiveControl", [](const C& c) { return c.activeControl; },
                    [](C& c, TObject* v) -> bool {
                        auto* ctl = dynamic_cast<TTestControl*>(v);
                        if (ctl && !ctl->visible) return false;
                        c.activeControl = v;
                        return true;
                    })
            .build();
    return info;
}

TTestMenu::~TTestMenu() {
    --g_live;
    auto items = std::move(this->items);
    for (auto* i : items) {
        i->menu = nullptr;
        delete i;
    }
}

void TTestMenu::SetName(const std::string& n) {
    TComponent::SetName(n);
    g_trace.push_back("name " + n);
}

void TTestMenu::Loaded() {
    TComponent::Loaded();
    g_trace.push_back("loaded " + Name());
}

const TClassInfo& TTestMenu::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TTestMenu>("TTestMenu", &TComponent::StaticClassInfo()).creatable().build();
    return info;
}

TTestMenuItem::~TTestMenuItem() {
    --g_live;
    if (menu) menu->items.erase(std::remove(menu->items.begin(), menu->items.end(), this), menu->items.end());
}

void TTestMenuItem::SetName(const std::string& n) {
    TComponent::SetName(n);
    g_trace.push_back("name " + n);
}

void TTestMenuItem::SetParentComponent(TComponent* p) {
    menu = dynamic_cast<TTestMenu*>(p);
    if (menu) menu->items.push_back(this);
    g_trace.push_back("parent " + Name() + " in " + (p ? p->Name() : "-"));
}

void TTestMenuItem::Loaded() {
    TComponent::Loaded();
    g_trace.push_back("loaded " + Name());
}

const TClassInfo& TTestMenuItem::StaticClassInfo() {
    using C = TTestMenuItem;
    static const TClassInfo info =
        TClassBuilder<C>("TTestMenuItem", &TComponent::StaticClassInfo())
            .creatable()
            .wide("Caption", [](const C& c) { return c.caption; }, [](C& c, const std::wstring& v) { c.caption = v; })
            .event<TNotify>("OnClick", [](const C& c) { return c.onClick; }, [](C& c, const TNotify& f) { c.onClick = f; })
            .build();
    return info;
}

TTestData::TTestData(TComponent* owner) : TComponent(owner), controls((1u << 22) - 1 - (1u << 2) - (1u << 21)) { ++g_live; }

void TTestData::SetName(const std::string& n) {
    TComponent::SetName(n);
    g_trace.push_back("name " + n);
}

void TTestData::Loaded() {
    TComponent::Loaded();
    g_trace.push_back("loaded " + Name());
}

const TClassInfo& TTestData::StaticClassInfo() {
    using C = TTestData;
    static const TClassInfo info =
        TClassBuilder<C>("TTestData", &TComponent::StaticClassInfo())
            .creatable()
            .boolean("Active", [](const C& c) { return c.active; }, [](C& c, bool v) { c.active = v; })
            .set("Controls", kControls, [](const C& c) { return c.controls; }, [](C& c, uint64_t v) { c.controls = v; })
            .enumeration("FormType", kFormTypes, [](const C& c) { return c.formType; }, [](C& c, int v) { c.formType = v; })
            .strings("Extra", [](const C& c) { return c.extra; }, [](C& c, const TStringList& v) { c.extra = v; })
            .string("Version", [](const C&) { return std::string("1.0"); }, nullptr)
            // Decodes at once, as a stored skin is; a blob starting with FF is "corrupt".
            .binary("Stream", [](const C& c) { return c.stream; },
                    [](C& c, const TBytes& v) {
                        if (!v.empty() && v[0] == 0xFF) throw std::runtime_error("stored data is corrupt");
                        c.loadedAtStreamSet = c.IsLoading();
                        c.stream = v;
                    })
            .build();
    return info;
}

// Hex lines of a blob as a definition writes them.
std::string hexLines(const TBytes& b, size_t perLine) {
    static const char* hex = "0123456789abcdef";
    std::string out;
    for (size_t i = 0; i < b.size(); ++i) {
        if (i % perLine == 0) out += "\n      ";
        out += hex[b[i] >> 4];
        out += hex[b[i] & 15];
    }
    return out;
}

TBytes pseudoRandom(size_t n) {
    TBytes b(n);
    uint32_t x = 2463534242u;
    for (auto& v : b) {
        x ^= x << 13, x ^= x >> 17, x ^= x << 5;
        v = uint8_t(x);
    }
    return b;
}

std::string viewerDefinition(const TBytes& blob) {
    std::string skin3rd;
    for (int i = 0; i < 117; ++i) skin3rd += "\n      'TClass" + std::to_string(i) + "=scrollbar'";
    return R"(object F_qv: TTestForm
  Caption = 'Qelvo'#32'网络电视V1.24          打开' +
    'www.example.tv再观看网络电视会更流畅'
  Color = clBtnFace
  Font.Name = 'Tahoma'
  Font.Height = -11
  Font.Color = clWindowText
  Font.Style = []
  OnClick = FormClick
  object STB_main: TTestControl
    Width = 852
    Panels = <
      item
        Width = 810
        Text = '双击状态栏下载播放插件    右击状态栏可选窗口置顶'
      end
      item
        Alignment = taCenter
        Text = 'V1.24'
        Width = 40
      end>
    PopupMenu = PM_1
  end
  object Panel1: TTestControl
    Align = alLeft
    Visible = False
  end
  object Panel2: TTestControl
    Align = alClient
    Anchors = [akLeft, akTop, akRight, akBottom]
    object WB_qv: TTestControl
      PopupMenu = PM_1
    end
  end
  object SD: TTestData
    Active = True
    Controls = [xcMainMenu, xcPopupMenu, xcStatusBar, xcSystemMenu]
    FormType = sfMainform
    Stream = {)" + hexLines(blob) + R"(}
    Extra = ()" + skin3rd + R"()
  end
  object PM_1: TTestMenu
    object N1: TTestMenuItem
      Caption = '窗口置顶'
      OnClick = N1Click
    end
    object N2: TTestMenuItem
      Caption = #31383#21475#24674#22797
    end
  end
end
)";
}

void RegisterTestClasses() {
    RegisterComponentClass(TTestControl::StaticClassInfo());
    RegisterComponentClass(TTestForm::StaticClassInfo());
    RegisterComponentClass(TTestMenu::StaticClassInfo());
    RegisterComponentClass(TTestMenuItem::StaticClassInfo());
    RegisterComponentClass(TTestData::StaticClassInfo());
}

}  // namespace formtest
