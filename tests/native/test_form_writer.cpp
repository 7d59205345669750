// Writing a component tree back: reading what was written gives the same
// values, and only what differs from a fresh instance is written.
#include <gtest/gtest.h>

#include <memory>

#include "FormReader.h"
#include "FormWriter.h"
#include "form_test_classes.h"

using namespace qs;
using namespace formtest;

namespace {

struct FormWriterTest : ::testing::Test {
    void SetUp() override {
        RegisterTestClasses();
        live = g_live;
    }
    void TearDown() override { EXPECT_EQ(g_live, live) << "instances left behind"; }
    int live = 0;
};

std::string nameOf(const TObject* o) {
    auto* c = dynamic_cast<const TComponent*>(o);
    return c ? c->Name() : std::string("?");
}

// Every published value of `a` equals that of `b`, through sub-objects and
// collection items; references compare by the referenced component's name.
void expectSameValues(const TObject* a, const TObject* b, const std::string& where, int depth = 0) {
    ASSERT_EQ(a->ClassName(), b->ClassName()) << where;
    for (const TClassInfo* cls = &a->ClassInfo(); cls; cls = cls->parent)
        for (auto& p : cls->props) {
            if (p.kind == TPropKind::Event || !p.get) continue;
            std::string at = where + "." + p.name;
            TPropValue va = p.get(a), vb = p.get(b);
            ASSERT_EQ(va.index(), vb.index()) << at;
            if (p.kind == TPropKind::Object || p.kind == TPropKind::Collection) {
                TObject* oa = std::get<TObject*>(va);
                TObject* ob = std::get<TObject*>(vb);
                ASSERT_EQ(oa == nullptr, ob == nullptr) << at;
                if (!oa) continue;
                if (auto* ca = dynamic_cast<TCollection*>(oa)) {
                    auto* cb = dynamic_cast<TCollection*>(ob);
                    ASSERT_EQ(ca->Count(), cb->Count()) << at;
                    for (int i = 0; i < ca->Count(); ++i)
                        expectSameValues(ca->Item(i), cb->Item(i), at + "[" + std::to_string(i) + "]", depth + 1);
                } else if (dynamic_cast<TComponent*>(oa)) {
                    EXPECT_EQ(nameOf(oa), nameOf(ob)) << at;
                } else if (depth < 4) {
                    expectSameValues(oa, ob, at, depth + 1);
                }
                continue;
            }
            bool same = std::visit(
                [&](const auto& x) {
                    using V = std::decay_t<decltype(x)>;
                    if constexpr (std::is_same_v<V, std::any>)
                        return false;  // events are skipped above
                    else
                        return x == std::get<V>(vb);
                },
                va);
            EXPECT_TRUE(same) << at;
        }
}

void expectSameForms(const TComponent* a, const TComponent* b) {
    expectSameValues(a, b, a->Name());
    ASSERT_EQ(a->ComponentCount(), b->ComponentCount());
    for (int i = 0; i < a->ComponentCount(); ++i) {
        const TComponent* ca = a->Components()[size_t(i)];
        const TComponent* cb = b->Components()[size_t(i)];
        EXPECT_EQ(ca->Name(), cb->Name());  // same creation order
        expectSameValues(ca, cb, ca->Name());
        EXPECT_EQ(nameOf(ca->GetParentComponent()), nameOf(cb->GetParentComponent())) << ca->Name();
    }
}

}  // namespace

TEST_F(FormWriterTest, TheViewersFormSurvivesAWriteAndReadBack) {
    auto first = std::make_unique<TTestForm>(nullptr);
    ReadForm(first.get(), viewerDefinition(pseudoRandom(41995)));
    std::string text = WriteForm(first.get());

    auto second = std::make_unique<TTestForm>(nullptr);
    ReadForm(second.get(), text);
    expectSameForms(first.get(), second.get());
    EXPECT_EQ(WriteForm(second.get()), text);

    // Only what differs from a fresh instance is written.
    EXPECT_NE(text.find("\n    Visible = False\n"), std::string::npos);
    EXPECT_EQ(text.find("Visible = True"), std::string::npos);
    EXPECT_EQ(text.find("Font.Height"), std::string::npos);  // -11 is the default
    EXPECT_NE(text.find("Font.Name = 'Tahoma'"), std::string::npos);
    EXPECT_EQ(text.find("Color = clBtnFace"), std::string::npos);  // so is the button face
    EXPECT_NE(text.find("\n    Align = alClient\n"), std::string::npos);
    EXPECT_NE(text.find("PopupMenu = PM_1"), std::string::npos);
    EXPECT_EQ(text.find("Panels = <>"), std::string::npos);  // empty, as on a fresh instance
    // Nesting follows the parents: WB_qv inside Panel2, N1 inside PM_1.
    EXPECT_LT(text.find("object Panel2"), text.find("    object WB_qv: TTestControl"));
    EXPECT_NE(text.find("    object N1: TTestMenuItem"), std::string::npos);
}

TEST_F(FormWriterTest, AwkwardTextsAndValuesComeBackUnchanged) {
    auto first = std::make_unique<TTestForm>(nullptr);
    first->SetName("F");
    auto* x = new TTestControl(first.get());
    x->SetName("X");
    x->SetParentComponent(first.get());
    // Quotes, control characters, a long mixed text and a byte that is not UTF-8.
    x->hint = "it's \"quoted\"\r\n\ttabbed\x01\x7F end \xFF\xFE raw";
    std::wstring longText;
    for (int i = 0; i < 40; ++i) longText += L"\u53cc\u51fb\u72b6\u6001\u680f x'";
    x->caption = longText;
    x->left = INT64_MIN;
    x->colour = 0x00E0E0E0;
    x->font.style = 0b1111;
    x->anchors = 0;
    x->align = 3;
    x->lines = {"", "a'b", "\xE7\xAA\x97"};
    x->data = pseudoRandom(100);
    x->panels.Add();
    static_cast<TTestPanel*>(x->panels.Add())->link = first.get();
    auto* y = new TTestControl(first.get());
    y->SetName("Y");
    y->SetParentComponent(x);
    y->popupMenu = nullptr;
    y->lines = {};
    y->data = {};
    std::string text = WriteForm(first.get());

    auto second = std::make_unique<TTestForm>(nullptr);
    ReadForm(second.get(), text);
    expectSameForms(first.get(), second.get());
    // The long caption was split into pieces, never inside a character.
    EXPECT_NE(text.find("' +\n"), std::string::npos);
    std::wstring check;
    std::string withoutRawByte = text;
    withoutRawByte.erase(withoutRawByte.find("\xFF\xFE"), 2);
    EXPECT_TRUE(Utf8ToWide(withoutRawByte, check));
}

TEST_F(FormWriterTest, ColoursAreWrittenByNameWhenTheyHaveOne) {
    TTestControl c(nullptr);
    c.SetName("C");
    c.colour = 0xFF000005;  // clWindow
    c.font.colour = 0x123456;
    std::string text = WriteForm(&c);
    EXPECT_NE(text.find("Color = clWindow\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Font.Color = $00123456\n"), std::string::npos) << text;
}
