// Broken definitions: each stops with the line of the fault, and the root is
// left without any component the reader made (no half-made form, no leak).
#include <gtest/gtest.h>

#include <memory>

#include "FormReader.h"
#include "form_test_classes.h"

using namespace qs;
using namespace formtest;

namespace {

// Four components exist (two nested, a menu with an item) before the faulty
// part, which starts on line 13 inside component B.
const char* const kPrefix = R"(object F: TTestForm
  PopupMenu = PM_1
  object A: TTestControl
    Left = 1
    object A1: TTestControl
    end
  end
  object PM_1: TTestMenu
    object N1: TTestMenuItem
    end
  end
  object B: TTestControl
)";
constexpr int kFirstLine = 13;
const char* const kSuffix = "  end\nend\n";

struct TCase {
    const char* what;
    const char* body;
    int lineOffset;
    const char* message;
    bool suffix = true;
};

const TCase kCases[] = {
    {"unknown class", "    object C: TNoSuchClass\n    end\n", 0, "unknown class 'TNoSuchClass'"},
    {"unknown property", "    Left = 2\n    Foo = 1\n", 1, "unknown property 'Foo' of TTestControl"},
    {"unknown sub-property", "    Font.Weight = 700\n", 0, "unknown property 'Font.Weight' of TTestControl"},
    {"path through a plain value", "    Left.X = 1\n", 0, "has no properties"},
    {"malformed number", "    Left = 12px\n", 0, "malformed number '12px'"},
    {"fraction", "    Left = 1.5\n", 0, "malformed number '1.5'"},
    {"trailing text", "    Left = 1 2\n", 0, "malformed value of 'Left'"},
    {"missing '='", "    Left 1\n", 0, "expected '=' after 'Left'"},
    {"integer too large", "    Left = 9223372036854775808\n", 0, "out of range"},
    {"wrong kind", "    Left = 'twelve'\n", 0, "'Left' of TTestControl takes an integer, not a string"},
    {"charset name for another integer", "    Left = DEFAULT_CHARSET\n", 0, "takes an integer, not an identifier"},
    {"Boolean spelt otherwise", "    Visible = Yes\n", 0, "takes True or False"},
    {"unknown enum member", "    Align = alSideways\n", 0, "'alSideways' is not a member of 'Align'"},
    {"unknown set member", "    Anchors = [akLeft,\n      akNowhere]\n", 0, "'akNowhere' is not a member of 'Anchors'"},
    {"unclosed set", "    Anchors = [akLeft\n", 0, "set not closed with ']'"},
    {"set member misspelt", "    Anchors = [akLeft akTop]\n", 0, "expected ',' or ']' in a set: 'a'"},
    {"unknown colour", "    Color = clPaleMauve\n", 0, "unknown colour 'clPaleMauve'"},
    {"colour beyond 32 bits", "    Color = $100000000\n", 0, "colour 4294967296 is out of range"},
    {"odd hex digits", "    Data = {\n      0102\n      030}\n", 2, "odd number of hex digits"},
    {"non-hex digit", "    Data = {\n      0102\n      03zz}\n", 2, "'z' is not a hex digit"},
    {"definition cut inside hex", "    Data = {\n      0102\n      03", 0, "binary value not closed", false},
    {"definition cut after a property", "    Left = 1\n", -1, "object 'B' has no 'end'", false},
    {"root without its end", "    Left = 1\n  end\n", -kFirstLine + 1, "object 'F' has no 'end'", false},
    {"unclosed string", "    Hint = 'abc\n", 0, "string not closed"},
    {"character code too large", "    Hint = 'a'#1114112\n", 0, "character code is out of range"},
    {"string list with a number", "    Lines = (\n      'a'\n      12)\n", 2, "only strings"},
    {"collection given a number", "    Panels = 5\n", 0, "takes a collection, not an integer"},
    {"unknown item property", "    Panels = <\n      item\n        Wide = 3\n      end>\n", 2,
     "unknown property 'Wide' of TTestPanel"},
    {"unresolved reference", "    PopupMenu = PM_9\n", 0, "unresolved reference 'PM_9'"},
    {"reference to the wrong class", "    PopupMenu = A\n", 0, "'A' is a TTestControl"},
    {"unknown handler", "    OnClick = NoSuchHandler\n", 0, "unknown handler 'NoSuchHandler'"},
    {"handler of another signature", "    OnClick = NoArguments\n", 0, "handler 'NoArguments' does not suit 'OnClick'"},
    {"duplicate name", "    object A1: TTestControl\n    end\n", 0, "a component named 'A1' already exists"},
    {"read-only property", "  end\n  object D: TTestData\n    Version = '2.0'\n", 2, "'Version' of TTestData is read-only"},
    {"setter refusing its data", "  end\n  object D: TTestData\n    Stream = {FF00}\n", 2, "stored data is corrupt"},
    {"text after the final end", "  end\nend\nobject G: TTestForm\nend\n", 2, "unexpected text after the final 'end'", false},
};

struct FormErrorTest : ::testing::Test {
    void SetUp() override {
        RegisterTestClasses();
        live = g_live;
    }
    void TearDown() override { EXPECT_EQ(g_live, live) << "instances left behind"; }
    int live = 0;
};

}  // namespace

TEST_F(FormErrorTest, EachFaultNamesItsLineAndFreesWhatWasCreated) {
    for (const TCase& c : kCases) {
        SCOPED_TRACE(c.what);
        std::string text = std::string(kPrefix) + c.body + (c.suffix ? kSuffix : "");
        auto form = std::make_unique<TTestForm>(nullptr);
        int line = kFirstLine + c.lineOffset;
        try {
            ReadForm(form.get(), text);
            ADD_FAILURE() << "no error";
        } catch (const EFormError& e) {
            EXPECT_EQ(e.Line(), line) << e.what();
            EXPECT_EQ(std::string(e.what()).rfind("line " + std::to_string(line) + ": ", 0), 0u) << e.what();
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
        EXPECT_EQ(form->ComponentCount(), 0);
        EXPECT_EQ(form->popupMenu, nullptr);
    }
}

TEST_F(FormErrorTest, ARefusedReferenceTakesBackThoseAlreadyGivenToTheRoot) {
    // PopupMenu is assigned before ActiveControl is refused (B is invisible):
    // the root must not keep pointing at the freed menu.
    auto form = std::make_unique<TTestForm>(nullptr);
    try {
        ReadForm(form.get(), "object F: TTestForm\n  PopupMenu = PM_1\n  ActiveControl = B\n"
                             "  object PM_1: TTestMenu\n  end\n  object B: TTestControl\n    Visible = False\n  end\nend\n");
        ADD_FAILURE() << "no error";
    } catch (const EFormError& e) {
        EXPECT_EQ(e.Line(), 3) << e.what();
        EXPECT_NE(std::string(e.what()).find("'ActiveControl' of TTestForm does not accept 'B'"), std::string::npos) << e.what();
    }
    EXPECT_EQ(form->popupMenu, nullptr);
    EXPECT_EQ(form->activeControl, nullptr);
    EXPECT_EQ(form->ComponentCount(), 0);
}

TEST_F(FormErrorTest, AFailingLoadedStepNamesItsComponentAndStillFreesEverything) {
    auto form = std::make_unique<TTestForm>(nullptr);
    try {
        ReadForm(form.get(), "object F: TTestForm\n  object A: TTestControl\n  end\n"
                             "  object B: TTestControl\n    Hint = 'fail when loaded'\n  end\n"
                             "  object C: TTestControl\n  end\nend\n");
        ADD_FAILURE() << "no error";
    } catch (const EFormError& e) {
        EXPECT_STREQ(e.what(), "line 4: loading 'B' failed: loaded step failed");
    }
    EXPECT_EQ(form->ComponentCount(), 0);
}

TEST_F(FormErrorTest, CreatingTheRootFromTextLeavesNothingOnError) {
    TTestForm owner(nullptr);
    int before = g_live;
    try {
        CreateComponentFromText("object X: TTestControl\n  object Y: TTestControl\n    Width = wide\n  end\nend\n", &owner);
        ADD_FAILURE() << "no error";
    } catch (const EFormError& e) {
        EXPECT_EQ(e.Line(), 3);
    }
    EXPECT_EQ(owner.ComponentCount(), 0);
    EXPECT_EQ(g_live, before);
    for (const char* text : {"", "  \n\n", "object X: TNoClass\nend\n", "object\n", "object X:\nend\n", "end\n"}) {
        SCOPED_TRACE(text);
        EXPECT_THROW(CreateComponentFromText(text, &owner), EFormError);
    }
    EXPECT_EQ(owner.ComponentCount(), 0);
}

TEST_F(FormErrorTest, HostileNestingIsRefusedNotOverflowed) {
    std::string deep, closers;
    for (int i = 0; i < 100000; ++i) deep += "object X: TTestControl\n", closers += "end\n";
    EXPECT_THROW(CreateComponentFromText(deep + closers), EFormError);
    std::string items = "object X: TTestControl\n  Panels = ";
    for (int i = 0; i < 100000; ++i) items += "< item Panels = ";
    EXPECT_THROW(CreateComponentFromText(items), EFormError);
}
