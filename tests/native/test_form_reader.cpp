// Reading form definitions: what gets created, in which order, with which
// values. The viewer's own form is the model for the larger definitions.
#include <gtest/gtest.h>

#include <memory>

#include "FormReader.h"
#include "form_test_classes.h"

using namespace qs;
using namespace formtest;

namespace {

struct FormReaderTest : ::testing::Test {
    void SetUp() override {
        RegisterTestClasses();
        g_trace.clear();
        live = g_live;
    }
    void TearDown() override { EXPECT_EQ(g_live, live) << "instances left behind"; }
    int live = 0;
};

std::wstring W(const char* utf8) {
    std::wstring w;
    EXPECT_TRUE(Utf8ToWide(utf8, w));
    return w;
}

}  // namespace

TEST_F(FormReaderTest, CreatesSetsResolvesAndLoadsInDefinitionOrder) {
    auto form = std::make_unique<TTestForm>(nullptr);
    g_trace.clear();
    ReadForm(form.get(), R"(object F_main: TTestForm
  Width = 852
  PopupMenu = PM_1
  object STB_main: TTestControl
    PopupMenu = PM_1
    Left = 1
    Width = 2
  end
  object Panel2: TTestControl
    Align = alClient
    object WB_qv: TTestControl
      Left = 3
    end
  end
  object PM_1: TTestMenu
    object N1: TTestMenuItem
    end
  end
end
)");
    // References are set after everything exists and before any Loaded; the
    // root loads first, then every component in creation order.
    const std::vector<std::string> expected = {
        "name F_main",       "set F_main.Width",   "create TTestControl", "name STB_main",         "parent STB_main in F_main",
        "set STB_main.Left", "set STB_main.Width", "create TTestControl", "name Panel2",           "parent Panel2 in F_main",
        "set Panel2.Align",  "create TTestControl", "name WB_qv",         "parent WB_qv in Panel2", "set WB_qv.Left",
        "name PM_1",         "name N1",            "parent N1 in PM_1",   "set F_main.PopupMenu",  "set STB_main.PopupMenu",
        "loaded F_main",     "loaded STB_main",    "loaded Panel2",       "loaded WB_qv",          "loaded PM_1",
        "loaded N1"};
    EXPECT_EQ(g_trace, expected);
    auto* pm = form->FindComponent("PM_1");
    auto* stb = static_cast<TTestControl*>(form->FindComponent("STB_main"));
    EXPECT_EQ(stb->menuAtLoaded, pm);
    EXPECT_EQ(form->menuAtLoaded, pm);
    EXPECT_EQ(form->Name(), "F_main");
    EXPECT_FALSE(form->IsLoading());
    EXPECT_FALSE(stb->IsLoading());
    // Owner is always the root; nesting only decides the parent.
    auto* wb = static_cast<TTestControl*>(form->FindComponent("WB_qv"));
    ASSERT_NE(wb, nullptr);
    EXPECT_EQ(wb->Owner(), form.get());
    EXPECT_EQ(wb->parent, form->FindComponent("Panel2"));
    EXPECT_EQ(static_cast<TTestMenu*>(pm)->items.size(), 1u);
    EXPECT_EQ(form->ComponentCount(), 5);
}

TEST_F(FormReaderTest, ReadsTheViewersFormWithItsStoredBlobAndLists) {
    const TBytes blob = pseudoRandom(41995);
    std::string text = viewerDefinition(blob);
    auto form = std::make_unique<TTestForm>(nullptr);
    ReadForm(form.get(), text);
    EXPECT_EQ(form->caption, W("Qelvo 网络电视V1.24          打开www.example.tv再观看网络电视会更流畅"));
    EXPECT_EQ(form->colour, 0xFF00000F);
    EXPECT_EQ(form->font.name, "Tahoma");
    EXPECT_EQ(form->font.height, -11);
    EXPECT_EQ(form->font.colour, 0xFF000008);
    ASSERT_TRUE(form->onClick);
    form->onClick(form.get());
    EXPECT_EQ(form->clicks, 1);

    auto* stb = static_cast<TTestControl*>(form->FindComponent("STB_main"));
    ASSERT_EQ(stb->panels.Count(), 2);
    EXPECT_EQ(stb->panels.At(0)->width, 810);
    EXPECT_EQ(stb->panels.At(0)->text, W("双击状态栏下载播放插件    右击状态栏可选窗口置顶"));
    EXPECT_EQ(stb->panels.At(1)->width, 40);
    EXPECT_EQ(stb->panels.At(1)->alignment, 2);
    EXPECT_EQ(stb->panels.At(1)->text, L"V1.24");
    auto* pm = form->FindComponent("PM_1");
    EXPECT_EQ(stb->popupMenu, pm);
    EXPECT_FALSE(static_cast<TTestControl*>(form->FindComponent("Panel1"))->visible);
    auto* panel2 = static_cast<TTestControl*>(form->FindComponent("Panel2"));
    EXPECT_EQ(panel2->anchors, 15u);
    ASSERT_EQ(panel2->children.size(), 1u);
    EXPECT_EQ(panel2->children[0]->popupMenu, pm);

    auto* sd = static_cast<TTestData*>(form->FindComponent("SD"));
    EXPECT_TRUE(sd->active);
    EXPECT_EQ(sd->controls, (1u << 0) | (1u << 1) | (1u << 17) | (1u << 20));
    EXPECT_EQ(sd->stream, blob);
    EXPECT_TRUE(sd->loadedAtStreamSet);  // the blob arrives while the component is loading
    ASSERT_EQ(sd->extra.size(), 117u);
    EXPECT_EQ(sd->extra[116], "TClass116=scrollbar");

    auto& items = static_cast<TTestMenu*>(pm)->items;
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0]->caption, W("窗口置顶"));
    EXPECT_EQ(items[1]->caption, W("窗口恢复"));
    items[0]->onClick(items[0]);
    EXPECT_EQ(form->clicks, 11);
    EXPECT_FALSE(items[1]->onClick);
}

TEST_F(FormReaderTest, StringsIntegersColoursAndSetsInAllTheirSpellings) {
    std::unique_ptr<TComponent> made(CreateComponentFromText(R"(object X: TTestControl
  Hint = 'it''s'#13#10'a'#20320'b'#$4F60'' + #9
  Caption = 'x'#55357#56832'y'
  Left = -$10
  Width = 9223372036854775807
  Color = -16777201
  Font.Color = $00E0E0E0
  Font.Charset = GB2312_CHARSET
  Font.Style = [fsBold,
    fsUnderline]
  Anchors = []
  Align = ALCLIENT
  Visible = false
  Lines = ( 'one' + ' piece' '' 'two'#33 )
  Data = {}
  Panels = < item Width = 1 end item Width = 2 end >
end)"));
    auto* x = static_cast<TTestControl*>(made.get());
    EXPECT_EQ(x->hint, "it's\r\na\xE4\xBD\xA0" "b\xE4\xBD\xA0\t");  // narrow strings are UTF-8
    // A UTF-16 pair written as two codes is one character.
    std::wstring smile;
    ASSERT_TRUE(Utf8ToWide("x\xF0\x9F\x98\x80y", smile));
    EXPECT_EQ(x->caption, smile);
    EXPECT_EQ(x->caption.size(), sizeof(wchar_t) == 2 ? 4u : 3u);
    EXPECT_EQ(x->left, -16);
    EXPECT_EQ(x->width, INT64_MAX);
    EXPECT_EQ(x->colour, 0xFF00000F);  // a negative colour number is the system colour it names
    EXPECT_EQ(x->font.colour, 0x00E0E0E0);
    EXPECT_EQ(x->font.charset, 134);
    EXPECT_EQ(x->font.style, 0b101u);
    EXPECT_EQ(x->anchors, 0u);
    EXPECT_EQ(x->align, 5);
    EXPECT_FALSE(x->visible);
    EXPECT_EQ(x->lines, (TStringList{"one piece", "", "two!"}));
    EXPECT_TRUE(x->data.empty());
    ASSERT_EQ(x->panels.Count(), 2);
    EXPECT_EQ(x->panels.At(1)->width, 2);
}

TEST_F(FormReaderTest, CollectionsReplaceDefaultItemsAndItemsReferToComponents) {
    // A second instance of a form keeps its own name; the definition's name
    // for it still refers to it. Windows line ends and a byte-order mark.
    auto form = std::make_unique<TTestForm>(nullptr);
    form->SetName("F_1");
    form->panels.Add();
    form->panels.Add();
    ReadForm(form.get(), "\xEF\xBB\xBFobject F: TTestForm\r\n  Panels = <\r\n    item\r\n      Link = Menu\r\n    end\r\n"
                         "    item\r\n      Link = F\r\n    end>\r\n  object Menu: TTestMenu\r\n  end\r\nend\r\n");
    EXPECT_EQ(form->Name(), "F_1");
    ASSERT_EQ(form->panels.Count(), 2);
    EXPECT_EQ(form->panels.At(0)->link, form->FindComponent("Menu"));
    EXPECT_EQ(form->panels.At(1)->link, form.get());
}
