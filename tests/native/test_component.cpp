// Ownership, notifications and properties by name: the engine reads every
// control's state through these, so a wrong answer here misdraws everything.
#include <gtest/gtest.h>

#include <functional>

#include "Component.h"

using namespace qs;

namespace {
std::vector<std::string> g_log;

class TProbe : public TComponent {
    QS_DECLARE_CLASS(TProbe)
public:
    explicit TProbe(TComponent* owner) : TComponent(owner) {}
    ~TProbe() override { g_log.push_back("free " + Name()); }
    void Loaded() override {
        TComponent::Loaded();
        g_log.push_back("loaded " + Name());
    }
    std::vector<std::string> heard;
    int count = 3;
    bool flat = false;
    std::string text = "abc";
    std::wstring wide = L"\u7a97\u53e3";
    int align = 0;
    uint64_t anchors = 0;
    int64_t colour = 0xFF00000F;
    TObject* menu = nullptr;
    TBytes blob;
    std::function<void(TObject*)> onClick;

protected:
    void Notification(TComponent* c, TOperation op) override {
        heard.push_back((op == TOperation::opInsert ? "+" : "-") + c->Name());
        TComponent::Notification(c, op);
    }
};

const std::vector<std::string> kAlign = {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"};
const std::vector<std::string> kAnchors = {"akLeft", "akTop", "akRight", "akBottom"};

class TProbeChild : public TProbe {
    QS_DECLARE_CLASS(TProbeChild)
public:
    using TProbe::TProbe;
};
}  // namespace

const TClassInfo& TProbe::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TProbe>("TProbe", &TComponent::StaticClassInfo())
            .creatable()
            .integer("Count", [](const TProbe& p) { return int64_t(p.count); }, [](TProbe& p, int64_t v) { p.count = int(v); })
            .boolean("Flat", [](const TProbe& p) { return p.flat; }, [](TProbe& p, bool v) { p.flat = v; })
            .string("Text", [](const TProbe& p) { return p.text; }, [](TProbe& p, const std::string& v) { p.text = v; })
            .wide("Caption", [](const TProbe& p) { return p.wide; }, [](TProbe& p, const std::wstring& v) { p.wide = v; })
            .enumeration("Align", kAlign, [](const TProbe& p) { return p.align; }, [](TProbe& p, int v) { p.align = v; })
            .set("Anchors", kAnchors, [](const TProbe& p) { return p.anchors; }, [](TProbe& p, uint64_t v) { p.anchors = v; })
            .colour("Color", [](const TProbe& p) { return p.colour; }, [](TProbe& p, int64_t v) { p.colour = v; })
            .object("PopupMenu", [](const TProbe& p) { return p.menu; }, [](TProbe& p, TObject* v) { p.menu = v; })
            .binary("Blob", [](const TProbe& p) { return p.blob; }, [](TProbe& p, const TBytes& v) { p.blob = v; })
            .event<std::function<void(TObject*)>>(
                "OnClick", [](const TProbe& p) { return p.onClick; },
                [](TProbe& p, const std::function<void(TObject*)>& f) { p.onClick = f; })
            .integer("ReadOnlyCount", [](const TProbe& p) { return int64_t(p.count * 2); }, nullptr)
            .build();
    return info;
}

const TClassInfo& TProbeChild::StaticClassInfo() {
    // Republishes Count read-only: the child's entry must win over the parent's.
    static const TClassInfo info = TClassBuilder<TProbeChild>("TProbeChild", &TProbe::StaticClassInfo())
                                       .integer("Count", [](const TProbeChild&) { return int64_t(42); }, nullptr)
                                       .build();
    return info;
}

TEST(Component, OwnerFreesOwnedLastFirstAndHearsOfInsertAndRemove) {
    g_log.clear();
    auto* owner = new TProbe(nullptr);
    owner->SetName("owner");
    auto* a = new TProbe(owner);
    a->SetName("a");
    auto* b = new TProbe(owner);
    b->SetName("b");
    EXPECT_EQ(owner->ComponentCount(), 2);
    EXPECT_EQ(owner->FindComponent("B"), b);  // names are case-blind
    delete a;  // freeing an owned component removes it from its owner
    EXPECT_EQ(owner->ComponentCount(), 1);
    delete owner;
    EXPECT_EQ(g_log, (std::vector<std::string>{"free a", "free owner", "free b"}));
}

TEST(Component, FreeNotificationTellsTheOtherSideOnce) {
    TProbe owner(nullptr);
    auto* menu = new TProbe(&owner);
    menu->SetName("menu");
    TProbe user(nullptr);
    user.FreeNotification(menu);
    user.heard.clear();
    delete menu;
    EXPECT_EQ(user.heard, (std::vector<std::string>{"-menu"}));
    EXPECT_EQ(owner.heard.back(), "-menu");
    // The subscriber going away first must not leave a dangling entry behind.
    auto* menu2 = new TProbe(&owner);
    {
        TProbe shortLived(nullptr);
        shortLived.FreeNotification(menu2);
    }
    delete menu2;  // would touch freed memory under ASan if the link survived
}

TEST(Component, LoadedClearsLoadingState) {
    TProbe p(nullptr);
    p.BeginLoading();
    EXPECT_TRUE(p.IsLoading());
    p.Loaded();
    EXPECT_FALSE(p.IsLoading());
}

TEST(Properties, EveryKindRoundTripsByName) {
    TProbe p(nullptr);
    EXPECT_TRUE(SetPropValue(&p, "count", int64_t(7)));
    EXPECT_EQ(p.count, 7);
    EXPECT_EQ(GetIntProp(&p, "Count"), 7);
    EXPECT_TRUE(SetPropValue(&p, "Flat", true));
    EXPECT_TRUE(GetBoolProp(&p, "Flat"));
    EXPECT_TRUE(SetPropValue(&p, "Text", std::string("x y")));
    EXPECT_EQ(GetStrProp(&p, "Text"), "x y");
    EXPECT_TRUE(SetPropValue(&p, "Caption", std::wstring(L"\u7f6e\u9876")));
    EXPECT_EQ(GetWideStrProp(&p, "Caption"), L"\u7f6e\u9876");
    EXPECT_TRUE(SetPropValue(&p, "Align", std::string("alclient")));
    EXPECT_EQ(p.align, 5);
    EXPECT_EQ(GetEnumProp(&p, "Align"), "alClient");
    EXPECT_TRUE(SetPropValue(&p, "Anchors", TSetValue{{"akTop", "akBottom"}}));
    EXPECT_EQ(p.anchors, 0b1010u);
    auto anchors = std::get<TSetValue>(*GetPropValue(&p, "Anchors"));
    EXPECT_TRUE(anchors.has("akTop") && anchors.has("akBottom") && !anchors.has("akLeft"));
    EXPECT_TRUE(SetPropValue(&p, "Color", int64_t(0x00FF00)));
    EXPECT_EQ(GetIntProp(&p, "Color"), 0x00FF00);
    TProbe other(nullptr);
    EXPECT_TRUE(SetPropValue(&p, "PopupMenu", static_cast<TObject*>(&other)));
    EXPECT_EQ(GetObjectProp(&p, "PopupMenu"), &other);
    EXPECT_TRUE(SetPropValue(&p, "Blob", TBytes{1, 2, 3}));
    EXPECT_EQ(p.blob.size(), 3u);
    int clicks = 0;
    EXPECT_TRUE(SetPropValue(&p, "OnClick", std::any(std::function<void(TObject*)>([&](TObject*) { ++clicks; }))));
    p.onClick(&p);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(SetPropValue(&p, "Tag", int64_t(5555)));
    EXPECT_EQ(p.Tag(), 5555);
}

TEST(Properties, UnpublishedWrongKindAndReadOnlyAreNotErrors) {
    TProbe p(nullptr);
    EXPECT_FALSE(GetPropValue(&p, "Glyph").has_value());
    EXPECT_FALSE(SetPropValue(&p, "Glyph", int64_t(1)));
    EXPECT_EQ(GetIntProp(&p, "Glyph", -1), -1);
    EXPECT_FALSE(SetPropValue(&p, "Count", std::string("7")));  // wrong kind leaves the value
    EXPECT_EQ(p.count, 3);
    EXPECT_FALSE(SetPropValue(&p, "ReadOnlyCount", int64_t(1)));
    EXPECT_EQ(GetIntProp(&p, "ReadOnlyCount"), 6);
    EXPECT_FALSE(SetPropValue(&p, "OnClick", std::any(std::function<void()>())));  // wrong handler type
    EXPECT_FALSE(SetPropValue(&p, "Align", std::string("alNowhere")));
    EXPECT_EQ(p.align, 0);
    EXPECT_FALSE(SetPropValue(&p, "Anchors", TSetValue{{"akTop", "akSideways"}}));
    EXPECT_EQ(p.anchors, 0u);
}

TEST(Properties, InheritedAndRepublishedAndRegistry) {
    TProbeChild c(nullptr);
    EXPECT_EQ(GetIntProp(&c, "Count"), 42);       // child's own entry wins
    EXPECT_TRUE(SetPropValue(&c, "Flat", true));  // inherited
    EXPECT_TRUE(c.InheritsFrom(TComponent::StaticClassInfo()));
    EXPECT_EQ(c.ClassName(), "TProbeChild");
    RegisterComponentClass(TProbe::StaticClassInfo());
    const TClassInfo* cls = FindClass("tprobe");
    ASSERT_NE(cls, nullptr);
    TComponent* made = cls->create(nullptr);
    EXPECT_EQ(made->ClassName(), "TProbe");
    delete made;
    EXPECT_EQ(FindClass("TNoSuchThing"), nullptr);
}
