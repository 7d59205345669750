// The viewer's stacking menu in the skin's look: a right click on the status
// bar opens PM_1 on the skin's menu background with both items drawn by the
// skin, and choosing the first item pins the window above the others.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "SkinManage.h"
#include "SkinPopMenu.h"
#include "U_qv.h"
#include "test_menus_util.h"

using namespace qs;
using namespace qs::test;
using namespace qv;

namespace {

bool darkPixel(uint32_t p) { return ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF) < 300; }

void rightClickAt(POINT screen) {
    cursorTo(screen);
    mouseEvent(MOUSEEVENTF_RIGHTDOWN);
    mouseEvent(MOUSEEVENTF_RIGHTUP);
}

}  // namespace

TEST(ViewerMenu, StatusBarMenuIsSkinnedAndItsFirstItemPinsTheWindow) {
    RegisterViewerClasses();
    auto* form = new TF_qv(Application);
    form->Show();
    HWND wnd = form->Handle();
    ASSERT_TRUE(waitFor([&] { return ::SendMessageW(wnd, WM_SKIN_QUERY, 0, 0) == 1; }, 4000));
    ::SetForegroundWindow(wnd);
    pumpMessages(150);
    EXPECT_TRUE(form->PM_1->OwnerDraw());
    auto topmost = [&] { return (::GetWindowLongW(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
    ASSERT_FALSE(topmost());

    TSkinManage* mgr = SkinManager();
    ASSERT_TRUE(mgr);
    HWND menuWnd = nullptr;
    bool skinned = false;
    int items = 0, ringMismatch = -1, underItems = -1, textPixels[2] = {0, 0};
    MenuScript script(
        {[&] {
             auto ws = menuWindows();
             if (ws.empty()) return false;
             menuWnd = ws.front();
             return true;
         },
         [&] {
             TWinSkinPopMenu* p = TWinSkinPopMenu::FromWindow(menuWnd);
             skinned = p && ::SendMessageW(menuWnd, WM_SKIN_QUERY, 0, 0) == 1;
             if (!p || p->FBackground.Empty()) return true;
             const Image img = captureWindow(menuWnd);
             if (const char* dir = std::getenv("QS_SHOTS"))
                 saveBmp(img, std::wstring(dir, dir + std::strlen(dir)) + L"\\viewer_menu.bmp");
             HMENU m = menuOf(menuWnd);
             items = ::GetMenuItemCount(m);
             RECT wr{};
             ::GetWindowRect(menuWnd, &wr);
             ringMismatch = 0;
             for (int y = 0; y < img.height; ++y)
                 ringMismatch += img.at(0, y) != (p->FBackground.View().at(0, y) & 0xFFFFFF);
             underItems = 0;
             for (int i = 0; i < items && i < 2; ++i) {
                 RECT r{};
                 ::GetMenuItemRect(menuWnd, m, UINT(i), &r);
                 ::OffsetRect(&r, -wr.left, -wr.top);
                 // Left of the caption the item shows the background picture.
                 for (int y = r.top + 2; y < r.bottom - 2; ++y)
                     underItems += img.at(r.left + 4, y) != (p->FBackground.View().at(r.left + 4, y) & 0xFFFFFF);
                 for (int y = r.top; y < r.bottom; ++y)
                     for (int x = r.left; x < r.right; ++x) textPixels[i] += darkPixel(img.at(x, y));
             }
             // Choose the first item with the mouse.
             RECT first{};
             ::GetMenuItemRect(menuWnd, m, 0, &first);
             clickNoPump(POINT{(first.left + first.right) / 2, (first.top + first.bottom) / 2});
             return true;
         },
         [&] { return menuWindows().empty(); }});
    RECT bar{};
    ::GetWindowRect(form->STB_main->Handle(), &bar);
    rightClickAt(POINT{bar.left + 60, (bar.top + bar.bottom) / 2});
    ASSERT_TRUE(runScript(script));
    EXPECT_FALSE(script.timedOut());
    EXPECT_TRUE(skinned);
    EXPECT_EQ(items, 2);
    EXPECT_EQ(ringMismatch, 0);
    EXPECT_EQ(underItems, 0);
    EXPECT_GT(textPixels[0], 10);
    EXPECT_GT(textPixels[1], 10);
    pumpMessages(100);
    EXPECT_TRUE(topmost());
    EXPECT_TRUE(mgr->FMenuSkins.empty());
    delete form;
    pumpMessages(50);
}
