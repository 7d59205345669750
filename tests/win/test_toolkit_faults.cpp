// Toolkit faults that only show across files: headers that must be usable
// together, the application object reached from static initialisers, and a
// form that cannot be made.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "Application.h"
#include "ComCtrlsEdit.h"
#include "Forms.h"
#include "ExtCtrlsTimer.h"
#include "MPlayer.h"

using namespace qs;

namespace {

// Runs while this file's statics are set up, in whatever order the linker
// placed the toolkit's own files.
struct EarlyUse {
    TApplication* app = nullptr;
    EarlyUse() {
        Application->Initialize();
        Application->SetTitle(L"set before main");
        app = Application;
    }
};
EarlyUse gEarly;

}  // namespace

TEST(ApplicationObject, StaticInitialisersReachTheOneApplication) {
    ASSERT_NE(gEarly.app, nullptr);
    EXPECT_EQ(gEarly.app, Application.get());
    EXPECT_EQ(Application->Title(), L"set before main");
    // Initialize from the static initialiser registered the control classes.
    EXPECT_NE(FindClass("TUpDown"), nullptr);
    EXPECT_NE(FindClass("TMediaPlayer"), nullptr);
}

TEST(ApplicationObject, AReplacementIsUsedAndAClearedOneIsNotRemade) {
    TApplication* saved = Application;
    {
        TApplication other(nullptr);
        Application = &other;
        EXPECT_EQ(Application.get(), &other);
    }
    // The replacement cleared itself on the way out; nothing new is made.
    EXPECT_EQ(Application.peek(), nullptr);
    EXPECT_EQ(Application.get(), nullptr);
    Application = saved;
    EXPECT_EQ(Application.get(), saved);
}

namespace {
class TBrokenForm : public TForm {
public:
    explicit TBrokenForm(TComponent* owner) : TForm(owner) {
        ReadFormDefinition("object BrokenForm: TBrokenForm\n  Left = \n");
    }
};
}  // namespace

TEST(ApplicationObject, AFormThatCannotBeMadeIsReportedNotThrownOutOfTheProgram) {
    std::vector<std::string> errors;
    const TExceptionEvent saved = Application->OnException;
    Application->OnException = [&](TObject*, std::exception_ptr e) {
        errors.push_back(TApplication::DescribeException(e));
    };
    auto* form = reinterpret_cast<TBrokenForm*>(&errors);  // anything but null
    EXPECT_NO_THROW(Application->CreateForm(&form));
    EXPECT_EQ(form, nullptr);
    EXPECT_EQ(errors.size(), 1u);
    EXPECT_EQ(Application->MainForm(), nullptr);
    EXPECT_EQ(Application->ComponentCount(), 0);
    Application->OnException = saved;
}

TEST(HeadersTogether, MediaPlayerAndUpDownButtonKindsStayApart) {
    // Both kinds named in one file: the player's plain names and the
    // up-down's scoped ones.
    TMPBtnType player = btNext;
    TUDBtnType upDown = TUDBtnType::btNext;
    EXPECT_EQ(kMPBtnTypeNames.at(player), "btNext");
    EXPECT_EQ(kMPBtnTypeNames.at(btPrev), "btPrev");
    EXPECT_NE(upDown, TUDBtnType::btPrev);
}

namespace {

// Paint fails after checking that it had a DC to draw on.
template <class Base>
class TFailingPaint : public Base {
public:
    using Base::Base;
    bool hadDc = false;

protected:
    void Paint() override {
        hadDc = this->Canvas()->HandleAllocated();
        throw std::runtime_error("paint failed");
    }
};

}  // namespace

TEST(PaintFaults, ACanvasGivesThePaintDcBackWhenPaintThrows) {
    TFailingPaint<TGraphicControl> graphic(nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    TMessage paint{WM_PAINT, WPARAM(dc), 0, 0};
    EXPECT_THROW(graphic.WndProc(paint), std::runtime_error);
    EXPECT_TRUE(graphic.hadDc);
    EXPECT_FALSE(graphic.Canvas()->HandleAllocated());
    DeleteDC(dc);

    // A windowed one fails inside the window procedure: reported, DC given back.
    TForm form(nullptr);
    form.SetBounds(40, 40, 200, 120);
    auto* custom = new TFailingPaint<TCustomControl>(&form);
    custom->SetParent(&form);
    custom->SetBounds(10, 10, 50, 50);
    int reported = 0;
    Application->OnException = [&](TObject*, std::exception_ptr) { ++reported; };
    form.Show();
    UpdateWindow(custom->Handle());
    Application->OnException = nullptr;
    EXPECT_TRUE(custom->hadDc);
    EXPECT_GE(reported, 1);
    EXPECT_FALSE(custom->Canvas()->HandleAllocated());
}

namespace {
class TFailingCreateForm : public TForm {
public:
    explicit TFailingCreateForm(TComponent* owner) : TForm(owner) {
        DefineMethod("FormCreate", TNotifyEvent([](TObject*) { throw std::runtime_error("creation failed"); }));
        ReadFormDefinition("object F: TFailingCreateForm\n  Visible = True\n  OnCreate = FormCreate\nend\n");
    }
};
}  // namespace

TEST(ErrorReports, AFormWhoseCreationHandlerFailsIsReportedAndNeverShown) {
    std::vector<std::string> errors;
    const TExceptionEvent saved = Application->OnException;
    Application->OnException = [&](TObject*, std::exception_ptr e) {
        errors.push_back(TApplication::DescribeException(e));
    };
    TFailingCreateForm* form = Application->CreateForm<TFailingCreateForm>();
    Application->OnException = saved;
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("creation failed"), std::string::npos);
    EXPECT_EQ(form, nullptr);
    EXPECT_EQ(Application->ComponentCount(), 0);
    if (form) delete form;
}

TEST(ErrorReports, AFailingTimerGetsOneReportAtATimeAndNoTickIntoIt) {
    // The report stands in for a modal message box: it pumps the thread's
    // messages, the timer's ticks included, for a while.
    int reports = 0, depth = 0, maxDepth = 0, ticksInsideReport = 0;
    const TExceptionEvent saved = Application->OnException;
    Application->OnException = [&](TObject*, std::exception_ptr) {
        ++reports;
        maxDepth = std::max(maxDepth, ++depth);
        if (depth < 4) {  // nested ones stop here rather than overflow the stack
            const DWORD end = GetTickCount() + 120;
            MSG m;
            while (GetTickCount() < end) {
                while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
                Sleep(2);
            }
        }
        --depth;
    };
    TTimer timer(nullptr);
    timer.SetInterval(1);
    timer.SetOnTimer([&](TObject*) {
        if (depth > 0) ++ticksInsideReport;
        throw std::runtime_error("tick failed");
    });
    const DWORD end = GetTickCount() + 400;
    MSG m;
    while (GetTickCount() < end) {
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
        Sleep(2);
    }
    timer.SetEnabled(false);
    Application->OnException = saved;
    EXPECT_GE(reports, 2);  // the timer still runs between reports
    EXPECT_EQ(maxDepth, 1);
    EXPECT_EQ(ticksInsideReport, 0);
}
