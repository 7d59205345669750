// Enter and Escape typed in a control that does not want them reach the
// form's default and cancel buttons, through the application's own loop.
#include <gtest/gtest.h>
#include <windows.h>

#include "Application.h"
#include "StdCtrlsButtons.h"
#include "StdCtrlsEdit.h"
#include "test_buttons_util.h"

using namespace qs;
using namespace qs::test;

namespace {

struct Dialog {
    std::unique_ptr<TForm> form;
    TEdit* edit;
    TButton *ok, *cancel, *other;
    int okClicks = 0, cancelClicks = 0, otherClicks = 0;
    Dialog() {
        static const bool init = (Application->Initialize(), true);
        (void)init;
        form = shownForm();
        edit = new TEdit(form.get());
        edit->SetParent(form.get());
        edit->SetBounds(10, 10, 200, 24);
        auto make = [&](int x, int& counter) {
            auto* b = new TButton(form.get());
            b->SetParent(form.get());
            b->SetBounds(x, 60, 75, 25);
            b->OnClick = [&counter](TObject*) { ++counter; };
            return b;
        };
        other = make(10, otherClicks);
        ok = make(100, okClicks);
        cancel = make(190, cancelClicks);
        ok->SetDefault(true);
        ok->SetModalResult(mrOk);
        cancel->SetCancel(true);
        cancel->SetModalResult(mrCancel);
        appPump(30);
        edit->SetFocus();
        appPump(30);
    }
};

}  // namespace

TEST(DialogKeys, EnterAndEscapeGoToTheDefaultAndCancelButtons) {
    Dialog d;
    ASSERT_TRUE(d.edit->Focused());
    pressKey(VK_RETURN);
    EXPECT_EQ(d.okClicks, 1);
    EXPECT_EQ(d.form->ModalResult(), mrOk);
    d.form->SetModalResult(0);
    pressKey(VK_ESCAPE);
    EXPECT_EQ(d.cancelClicks, 1);
    EXPECT_EQ(d.form->ModalResult(), mrCancel);
    EXPECT_EQ(d.okClicks, 1);
    EXPECT_EQ(d.otherClicks, 0);
    // A focused button takes Enter itself; the default one stays quiet.
    d.other->SetFocus();
    appPump(30);
    pressKey(VK_RETURN);
    EXPECT_EQ(d.otherClicks, 1);
    EXPECT_EQ(d.okClicks, 1);
}

TEST(DialogKeys, DisabledOrHiddenButtonsAreSkipped) {
    Dialog d;
    d.ok->SetEnabled(false);
    d.cancel->SetVisible(false);
    appPump(30);
    ASSERT_TRUE(d.edit->Focused());
    pressKey(VK_RETURN);
    pressKey(VK_ESCAPE);
    EXPECT_EQ(d.okClicks, 0);
    EXPECT_EQ(d.cancelClicks, 0);
    EXPECT_EQ(d.form->ModalResult(), 0);
    // A second default button that can take the key gets it.
    d.other->SetDefault(true);
    pressKey(VK_RETURN);
    EXPECT_EQ(d.otherClicks, 1);
}
