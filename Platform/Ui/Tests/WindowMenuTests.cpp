// The menus the user opens on a top-level through the default window
// procedure: the window menu (Alt+Space, a click on the caption's icon) and
// the menu bar (F10, Alt+mnemonic, a click on the bar).
#include "Platform/Ui/Tests/DialogDriver.h"
#include "Platform/Ui/Tests/MenuScript.h"
#include "Platform/Ui/Tests/UiTestSupport.h"

#include <gtest/gtest.h>


using namespace UiTest;

namespace {

constexpr UINT kAbout = 16;
constexpr UINT kOpen = 201;
constexpr UINT kExit = 202;
constexpr UINT kCopy = 301;

class WindowMenu : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_window.hwnd = CreateMenuOwner(&m_handler);
        ASSERT_NE(m_window.hwnd, nullptr);
        m_handler.m_onMessage = [this](HWND, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
            result = 0;
            return message == WM_ENTERIDLE && m_script.OnIdle(wParam, lParam);
        };
        m_handler.Clear();
    }
    void Key(UINT vk, unsigned modifiers = kNoModifier) { m_script.Key(m_window.hwnd, vk, modifiers); }
    HMENU MakeBar()
    {
        HMENU file = CreatePopupMenu();
        AppendMenuW(file, MF_STRING, kOpen, L"&Open");
        AppendMenuW(file, MF_STRING, kExit, L"E&xit");
        HMENU edit = CreatePopupMenu();
        AppendMenuW(edit, MF_STRING, kCopy, L"&Copy");
        HMENU bar = CreateMenu();
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), L"&Edit");
        return bar;
    }
    std::vector<WPARAM> Of(UINT message) const
    {
        std::vector<WPARAM> values;
        for (const Record& r : m_handler.Of(message))
            values.push_back(r.wParam);
        return values;
    }

    Handler m_handler;
    WindowGuard m_window;
    CMenuScript m_script;
};

TEST_F(WindowMenu, AltSpaceOpensTheWindowMenuAndAnAddedItemReachesTheWindow)
{
    HMENU system = GetSystemMenu(m_window.hwnd, FALSE);
    AppendMenuW(system, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(system, MF_STRING, kAbout, L"&About...");
    Key(VK_UP);  // from nothing to the last item
    Key(VK_RETURN);
    CDialogDriver driver(m_window.hwnd);
    driver.Press(VK_SPACE, kAlt);
    driver.PumpUntilIdle();
    const auto popups = m_handler.Of(WM_INITMENUPOPUP);
    ASSERT_EQ(popups.size(), 1u);
    EXPECT_EQ(reinterpret_cast<HMENU>(popups.front().wParam), system);
    EXPECT_EQ(HIWORD(popups.front().lParam), TRUE);
    const auto commands = Of(WM_SYSCOMMAND);
    ASSERT_FALSE(commands.empty());
    EXPECT_EQ(commands.back(), kAbout);
    EXPECT_TRUE(IsWindow(m_window.hwnd));
}

TEST_F(WindowMenu, ClosePickedFromTheWindowMenuClosesTheWindow)
{
    Key('C');
    CDialogDriver driver(m_window.hwnd);
    driver.Press(VK_SPACE, kAlt);
    driver.PumpUntilIdle();
    EXPECT_FALSE(IsWindow(m_window.hwnd));
}

TEST_F(WindowMenu, AClickOnTheCaptionsIconOpensTheWindowMenu)
{
    RECT window{};
    GetWindowRect(m_window.hwnd, &window);
    POINT client{0, 0};
    ClientToScreen(m_window.hwnd, &client);
    const POINT icon{window.left + (client.y - window.top) / 2, window.top + (client.y - window.top) / 2};
    ASSERT_EQ(SendMessageW(m_window.hwnd, WM_NCHITTEST, 0, MAKELPARAM(icon.x, icon.y)), HTSYSMENU);
    Key(VK_ESCAPE);
    CDialogDriver::ClickAt(icon);
    CDialogDriver(m_window.hwnd).PumpUntilIdle();
    const auto popups = m_handler.Of(WM_INITMENUPOPUP);
    ASSERT_EQ(popups.size(), 1u);
    EXPECT_EQ(HIWORD(popups.front().lParam), TRUE);
    EXPECT_TRUE(Of(WM_SYSCOMMAND).size() == 1u);  // only the click's own SC_MOUSEMENU
}

TEST_F(WindowMenu, AMenuBarTakesARowAboveTheClientArea)
{
    RECT before{};
    GetClientRect(m_window.hwnd, &before);
    HMENU bar = MakeBar();
    ASSERT_TRUE(SetMenu(m_window.hwnd, bar));
    EXPECT_EQ(GetMenu(m_window.hwnd), bar);
    RECT after{};
    GetClientRect(m_window.hwnd, &after);
    EXPECT_EQ(before.bottom - after.bottom, GetSystemMetrics(SM_CYMENU));
    RECT file{};
    ASSERT_TRUE(GetMenuItemRect(m_window.hwnd, bar, 0, &file));
    POINT client{0, 0};
    ClientToScreen(m_window.hwnd, &client);
    EXPECT_EQ(file.bottom, client.y);
    EXPECT_EQ(SendMessageW(m_window.hwnd, WM_NCHITTEST, 0, MAKELPARAM(CenterOf(file).x, CenterOf(file).y)), HTMENU);
    // Taking the bar away gives the row back; the menu stays the caller's.
    ASSERT_TRUE(SetMenu(m_window.hwnd, nullptr));
    GetClientRect(m_window.hwnd, &after);
    EXPECT_EQ(after.bottom, before.bottom);
    EXPECT_TRUE(DestroyMenu(bar));
}

TEST_F(WindowMenu, F10SelectsTheBarAndDownOpensItsFirstMenu)
{
    SetMenu(m_window.hwnd, MakeBar());
    Key(VK_DOWN);   // opens File on Open
    Key(VK_DOWN);   // Exit
    Key(VK_RETURN);
    CDialogDriver driver(m_window.hwnd);
    driver.Press(VK_F10);
    driver.PumpUntilIdle();
    EXPECT_EQ(Of(WM_COMMAND), std::vector<WPARAM>{kExit});
    ASSERT_FALSE(m_handler.Of(WM_ENTERMENULOOP).empty());
    EXPECT_EQ(m_handler.Of(WM_ENTERMENULOOP).front().wParam, static_cast<WPARAM>(FALSE));
}

TEST_F(WindowMenu, AltMnemonicOpensThatMenuAndRightMovesAlongTheBar)
{
    SetMenu(m_window.hwnd, MakeBar());
    Key(VK_RIGHT);   // from File to Edit, opened on Copy
    Key(VK_RETURN);
    CDialogDriver driver(m_window.hwnd);
    driver.Press('F', kAlt);
    driver.PumpUntilIdle();
    EXPECT_EQ(Of(WM_COMMAND), std::vector<WPARAM>{kCopy});
}

TEST_F(WindowMenu, AClickOnTheBarOpensItsMenuAndAClickInItChooses)
{
    HMENU bar = MakeBar();
    SetMenu(m_window.hwnd, bar);
    RECT edit{};
    ASSERT_TRUE(GetMenuItemRect(m_window.hwnd, bar, 1, &edit));
    m_script.Add([this, bar] {
        RECT copy{};
        ASSERT_TRUE(GetMenuItemRect(m_window.hwnd, GetSubMenu(bar, 1), 0, &copy));
        EXPECT_GE(copy.top, GetSystemMetrics(SM_CYMENU) / 2);
        CDialogDriver::ClickAt(CenterOf(copy));
    });
    CDialogDriver::ClickAt(CenterOf(edit));
    CDialogDriver(m_window.hwnd).PumpUntilIdle();
    EXPECT_EQ(Of(WM_COMMAND), std::vector<WPARAM>{kCopy});
}

}  // namespace
