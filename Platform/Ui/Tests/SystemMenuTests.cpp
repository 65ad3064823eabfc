// The window menu: its items by style, the window's own copy, and Close
// greyed stopping every way a user closes the window.
#include "Platform/Base/Tests/ScopedEnvironment.h"
#include "Platform/Ui/SystemMenuAccess.h"
#include "Platform/Ui/Tests/DialogDriver.h"
#include "Platform/Ui/Tests/UiTestSupport.h"

#include <filesystem>

using namespace UiTest;

namespace {

constexpr UINT kAboutItem = 0x0010;
constexpr DWORD kFixedFrame = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
// The close button of a fixed frame at (200, 200), 240 wide.
constexpr POINT kCloseButton{200 + 240 - 14, 213};

std::vector<UINT> Commands(HMENU menu)
{
    std::vector<UINT> ids;
    for (int i = 0; i < GetMenuItemCount(menu); ++i)
        ids.push_back((GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR) ? 0 : GetMenuItemID(menu, i));
    return ids;
}

std::string FramePicture(HWND hwnd)
{
    UpdateWindow(hwnd);
    Drain();
    const TestSupport::CTempFolder folder("zell-sysmenu");
    if (!Headless().SaveWithFrameAsPng(NativeWindowOf(hwnd), (folder / "frame.png").string()))
        return {};
    return folder.Read("frame.png");
}

struct CloseScene {
    Handler log;
    WindowGuard guard;
    CDialogDriver driver{nullptr};

    CloseScene()
    {
        guard.hwnd = Create(&log, kFixedFrame, 200, 200, 240, 120);
        SetActiveWindow(guard.hwnd);
        SetFocus(guard.hwnd);
        Drain();
        log.Clear();
    }
    // Alt+F4, the caption's close button and the display's close request.
    void TryEveryClose()
    {
        driver.Press(VK_F4, kAlt);
        driver.PumpUntilIdle();
        if (!IsWindow(guard.hwnd))
            return;
        Headless().InjectMouseDown(Display::MouseButton::Left, kCloseButton);
        Headless().InjectMouseUp(Display::MouseButton::Left, kCloseButton);
        driver.PumpUntilIdle();
        if (!IsWindow(guard.hwnd))
            return;
        Headless().InjectClose(NativeWindowOf(guard.hwnd));
        driver.PumpUntilIdle();
    }
};

}

TEST(SystemMenu, ItemsFollowTheStylesAndEachWindowHasItsOwnCopy)
{
    Handler h;
    WindowGuard main{Create(&h, WS_OVERLAPPEDWINDOW, 10, 10, 200, 100)};
    HMENU menu = GetSystemMenu(main.hwnd, FALSE);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(Commands(menu), (std::vector<UINT>{SC_RESTORE, SC_MOVE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE, 0, SC_CLOSE}));
    wchar_t text[32]{};
    GetMenuStringW(menu, SC_CLOSE, text, 32, MF_BYCOMMAND);
    EXPECT_STREQ(text, L"&Close\tAlt+F4");
    EXPECT_EQ(GetMenuDefaultItem(menu, FALSE, 0), SC_CLOSE);
    EXPECT_EQ(GetSystemMenu(main.hwnd, FALSE), menu) << "the same copy on every call";

    Handler d;
    WindowGuard dialog{Create(&d, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 10, 10, 200, 100)};
    HMENU dialogMenu = GetSystemMenu(dialog.hwnd, FALSE);
    EXPECT_NE(dialogMenu, menu);
    EXPECT_EQ(Commands(dialogMenu), (std::vector<UINT>{SC_MOVE, 0, SC_CLOSE}));

    // Reverting drops the changed copy; the next one is the standard menu again.
    ASSERT_TRUE(AppendMenuW(menu, MF_STRING, kAboutItem, L"&About..."));
    EXPECT_EQ(GetSystemMenu(main.hwnd, TRUE), nullptr);
    EXPECT_FALSE(IsMenu(menu));
    EXPECT_EQ(Commands(GetSystemMenu(main.hwnd, FALSE)).size(), 7u);

    HWND child = Create(&h, WS_CHILD | WS_VISIBLE, 0, 0, 20, 20, main.hwnd, 1);
    EXPECT_EQ(GetSystemMenu(child, FALSE), nullptr);
    EXPECT_EQ(GetSystemMenu(nullptr, FALSE), nullptr);
}

TEST(SystemMenu, GreyedCloseStopsAltF4TheCloseButtonAndTheDisplaysClose)
{
    CloseScene s;
    const std::string offered = FramePicture(s.guard.hwnd);
    ASSERT_FALSE(offered.empty());
    HMENU menu = GetSystemMenu(s.guard.hwnd, FALSE);
    EXPECT_EQ(EnableMenuItem(menu, SC_CLOSE, MF_BYCOMMAND | MF_GRAYED), MF_ENABLED);
    EXPECT_NE(FramePicture(s.guard.hwnd), offered) << "the close button is drawn greyed";

    s.TryEveryClose();
    EXPECT_TRUE(IsWindow(s.guard.hwnd));
    EXPECT_TRUE(s.log.Of(WM_SYSCOMMAND).empty());
    EXPECT_TRUE(s.log.Of(WM_CLOSE).empty());

    // Offered again, the button looks as before and Alt+F4 closes.
    EXPECT_EQ(EnableMenuItem(menu, SC_CLOSE, MF_BYCOMMAND | MF_ENABLED), MF_GRAYED);
    EXPECT_EQ(FramePicture(s.guard.hwnd), offered);
    s.driver.Press(VK_F4, kAlt);
    s.driver.PumpUntilIdle();
    EXPECT_FALSE(IsWindow(s.guard.hwnd));
}

TEST(SystemMenu, CloseTakenOutOfTheMenuCannotBeChosenEither)
{
    CloseScene s;
    HMENU menu = GetSystemMenu(s.guard.hwnd, FALSE);
    ASSERT_TRUE(DeleteMenu(menu, SC_CLOSE, MF_BYCOMMAND));
    s.TryEveryClose();
    EXPECT_TRUE(IsWindow(s.guard.hwnd));
    // The program itself may still close it.
    SendMessageW(s.guard.hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(IsWindow(s.guard.hwnd));
}

TEST(SystemMenu, AddedItemsReachSysCommandWithTheirIdWhenChosen)
{
    CloseScene s;
    HMENU menu = GetSystemMenu(s.guard.hwnd, FALSE);
    ASSERT_TRUE(AppendMenuW(menu, MF_SEPARATOR, 0, nullptr));
    ASSERT_TRUE(AppendMenuW(menu, MF_STRING, kAboutItem, L"&About..."));
    EXPECT_TRUE(Ui::ChooseSystemCommand(s.guard.hwnd, kAboutItem));
    ASSERT_EQ(s.log.Of(WM_SYSCOMMAND).size(), 1u);
    EXPECT_EQ(s.log.Of(WM_SYSCOMMAND)[0].wParam, kAboutItem);

    // Not in the menu, or greyed there: nothing is sent.
    s.log.Clear();
    EXPECT_FALSE(Ui::ChooseSystemCommand(s.guard.hwnd, kAboutItem + 0x10));
    EnableMenuItem(menu, kAboutItem, MF_BYCOMMAND | MF_GRAYED);
    EXPECT_FALSE(Ui::ChooseSystemCommand(s.guard.hwnd, kAboutItem));
    EXPECT_TRUE(s.log.Of(WM_SYSCOMMAND).empty());

    // Changed in place, it keeps its place and answers to its new id.
    ASSERT_TRUE(ModifyMenuW(menu, kAboutItem, MF_BYCOMMAND | MF_STRING, kAboutItem + 0x10, L"&Info"));
    wchar_t text[16]{};
    EXPECT_EQ(GetMenuStringW(menu, kAboutItem + 0x10, text, 16, MF_BYCOMMAND), 5);
    EXPECT_STREQ(text, L"&Info");
    EXPECT_EQ(GetMenuItemID(menu, GetMenuItemCount(menu) - 1), kAboutItem + 0x10);
    EXPECT_TRUE(Ui::ChooseSystemCommand(s.guard.hwnd, kAboutItem + 0x10)) << "modified items come enabled";
    EXPECT_FALSE(ModifyMenuW(menu, kAboutItem, MF_BYCOMMAND | MF_STRING, 1, L"gone"));
}

TEST(SystemMenu, ModifyMenuDestroysTheSubMenuItReplaces)
{
    HMENU bar = CreateMenu();
    HMENU sub = CreatePopupMenu();
    ASSERT_TRUE(AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"&File"));
    ASSERT_TRUE(ModifyMenuW(bar, 0, MF_BYPOSITION | MF_STRING, 7, L"&Seven"));
    EXPECT_FALSE(IsMenu(sub));
    EXPECT_EQ(GetMenuItemID(bar, 0), 7u);
    EXPECT_FALSE(ModifyMenuW(bar, 0, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"bad sub-menu"));
    EXPECT_EQ(GetMenuItemID(bar, 0), 7u) << "a failed change leaves the item";
    DestroyMenu(bar);
}
