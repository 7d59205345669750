// The viewer's stored skin is switched on by its own definition: the main
// window's first paint already happens inside the skinned frame.
#include <gtest/gtest.h>

#include "SkinManage.h"
#include "U_qv.h"
#include "WinSkinForm.h"
#include "WindowCapture.h"

using namespace qs;

namespace {

HWND g_watched = nullptr;
int g_paints = 0, g_paintsBeforeSkin = 0;
HHOOK g_hook = nullptr;

LRESULT CALLBACK watchPaint(int code, WPARAM wParam, LPARAM lParam) {
    if (code >= 0 && wParam == PM_REMOVE) {
        const MSG* m = reinterpret_cast<const MSG*>(lParam);
        if (m->message == WM_PAINT && m->hwnd && (m->hwnd == g_watched || ::IsChild(g_watched, m->hwnd))) {
            ++g_paints;
            TWinSkinForm* fs = TWinSkinForm::FromWindow(g_watched);
            if (!fs || fs->FSkinState != ssSkinned) ++g_paintsBeforeSkin;
        }
    }
    return ::CallNextHookEx(g_hook, code, wParam, lParam);
}

TEST(ViewerSkin, FirstPaintIsInsideTheSkinnedFrame) {
    qv::RegisterViewerClasses();
    auto* form = new qv::TF_qv(Application);
    ASSERT_TRUE(form->SD);
    EXPECT_TRUE(form->SD->Active());
    TSkinManage* m = SkinManager();
    ASSERT_TRUE(m);
    EXPECT_TRUE(m->FActive);  // requested by the loaded step, before any window was activated
    EXPECT_TRUE(m->FHook);
    EXPECT_EQ(m->FDefaultSkinData, form->SD);

    g_watched = form->Handle();
    g_hook = ::SetWindowsHookExW(WH_GETMESSAGE, &watchPaint, nullptr, ::GetCurrentThreadId());
    form->Show();
    test::pumpMessages(300);
    ::UnhookWindowsHookEx(g_hook);

    EXPECT_GT(g_paints, 0);
    EXPECT_EQ(g_paintsBeforeSkin, 0);
    TWinSkinForm* fs = m->FindFormSkin(form->Handle());
    ASSERT_TRUE(fs);
    EXPECT_EQ(fs->FSkinData, form->SD);
    EXPECT_EQ(fs->FTitleHeight, 27);
    RECT c{};
    ::GetClientRect(form->Handle(), &c);
    EXPECT_EQ(c.right, 852);
    EXPECT_EQ(c.bottom, 573);
    delete form;
    FreeSkinManager();
}

}  // namespace
