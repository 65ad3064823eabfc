// The button's drop-down menu: the callback before it opens, the button drawn
// pressed meanwhile, and the chosen command posted to the menu's owner.
#include "Common/Skin/Tests/ControlsTestIds.h"
#include "Common/Skin/Tests/ControlsTestSupport.h"

#include "Platform/Ui/Tests/UiTestSupport.h"
#include "Platform/Ui/Tests/WindowText.h"

using namespace ZELL::Skin;

namespace {

using namespace ControlsTest;

constexpr int kMenuButton = 51;
constexpr UINT kMenuOpening = WM_APP + 21;

TEST(SkinButtonMenu, AClickOpensTheMenuAndPostsTheChosenCommandToTheOwner)
{
    CScene scene;
    CSkinButton button;
    ASSERT_TRUE(scene.Attach(button, L"Button", L"Tools", BS_PUSHBUTTON | WS_TABSTOP, Area(10, 10, 80, 24), kMenuButton));
    EXPECT_EQ(button.SetMenu(kDiscIcon, scene.parent.m_hWnd), 1u) << "no menu of that name";
    ASSERT_EQ(button.SetMenu(kButtonMenu, scene.parent.m_hWnd, 0, kMenuToolbar, 8, 16), 0u);

    UiTest::Handler handler;
    UiTest::WindowGuard callback;
    callback.hwnd = UiTest::Create(&handler, WS_POPUP, 0, 0, 10, 10);
    HMENU told = nullptr;
    LPARAM value = 0;
    BOOL shownWhenTold = FALSE;
    handler.m_onMessage = [&](HWND, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        if (message != kMenuOpening)
            return false;
        told = reinterpret_cast<HMENU>(wParam);
        value = lParam;
        shownWhenTold = button.IsMenuShown();
        // Down to the first item and take it, once the menu runs.
        UiTest::Headless().InjectKeyDown(VK_DOWN);
        UiTest::Headless().InjectKeyUp(VK_DOWN);
        UiTest::Headless().InjectKeyDown(VK_RETURN);
        UiTest::Headless().InjectKeyUp(VK_RETURN);
        result = 0;
        return true;
    };
    button.SetMenuCallback(callback.hwnd, kMenuOpening, 77);

    scene.Click(button.m_hWnd, {20, 10});
    UiTest::Drain();
    EXPECT_NE(told, nullptr);
    EXPECT_TRUE(::IsMenu(told));
    EXPECT_EQ(value, 77);
    EXPECT_TRUE(shownWhenTold);
    EXPECT_FALSE(button.IsMenuShown()) << "closed again";
    EXPECT_EQ(scene.parent.Count(WM_COMMAND, 0, int(kOpenCommand)), 1);
    EXPECT_EQ(scene.parent.Count(WM_COMMAND, BN_CLICKED, kMenuButton), 1) << "the parent hears the click as well";

    EXPECT_EQ(button.SetMenu(0, nullptr), 0u);
    scene.Click(button.m_hWnd, {20, 10});
    UiTest::Drain();
    EXPECT_EQ(scene.parent.Count(WM_COMMAND, 0, int(kOpenCommand)), 1) << "no menu any more";
}

}

#include "Common/Skin/ZellButton.h"

namespace {

TEST(ZellButtonMenu, ItemOperationsActOnTheDropDownAndAnswerOneWithoutIt)
{
    CScene scene;
    CZellButton button;
    ASSERT_TRUE(scene.Attach(button, L"Button", L"Tools", BS_PUSHBUTTON, Area(10, 10, 80, 24), kMenuButton));
    EXPECT_EQ(button.CheckMenuItem(kOpenCommand, TRUE), 1u) << "no menu";
    EXPECT_EQ(button.SetMenuItemText(kOpenCommand, L"x"), 1u);
    ASSERT_EQ(button.SetMenu(kButtonMenu, scene.parent.m_hWnd), 0u);

    button.CheckMenuItem(kSaveCommand, TRUE);
    button.CheckMenuItemExclusive(kOpenCommand, TRUE, MF_BYCOMMAND, TRUE);
    EXPECT_EQ(UiTest::TextOf(button.m_hWnd), L"&Open") << "the checked item's text is the caption";

    EXPECT_EQ(button.SetMenuItemText(kSaveCommand, L"Save &as"), 1u);
    EXPECT_EQ(button.EnableMenuItem(kSaveCommand, TRUE), UINT(MF_GRAYED)) << "the state it had";
    EXPECT_EQ(button.MenuItemOperation(kOpenCommand), 1u);
    EXPECT_EQ(button.MenuItemOperation(kOpenCommand), 0u) << "gone already";
}

}
