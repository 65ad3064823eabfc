// The owner-drawn menu: item sizes, the WM_MENUCHAR search, toolbar images,
// removing a pop-up with its separators, and what the two looks paint.
#include "Common/Skin/Tests/ControlsTestIds.h"
#include "Common/Skin/Tests/ZellMenuTestSupport.h"

#include "Platform/Gdi/Gdi.h"
#include "Platform/Gdi/ScreenDpi.h"
#include "Platform/Ui/PopupMenu.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace ZELL::Skin;

namespace {

using namespace ControlsTest;

TEST_F(ZellMenuTest, ItemsAndSeparatorsMeasureByTheLook)
{
    CZellMenu menu;
    ASSERT_TRUE(menu.AppendODMenu(L"&Open", MF_STRING, kOpenCommand));
    ASSERT_TRUE(menu.AppendODMenu(L"ignored", MF_CHECKED | MF_BYPOSITION, 0));
    EXPECT_EQ(menu.ItemData(1)->flags, UINT(MF_BYPOSITION | MF_SEPARATOR | MF_OWNERDRAW)) << "command 0 is a separator";
    EXPECT_NE(menu.ItemData(0)->flags & MF_OWNERDRAW, 0u);
    const int menuHeight = ::GetSystemMetrics(SM_CYMENU);
    const int text = TextWidth(L"&Open");

    MEASUREITEMSTRUCT item = Measure(menu, 0);
    EXPECT_EQ(int(item.itemWidth), 2 * 16 + text + 1);
    EXPECT_EQ(int(item.itemHeight), std::max(4 + 15, menuHeight));
    MEASUREITEMSTRUCT separator = Measure(menu, 1);
    EXPECT_EQ(separator.itemWidth, 0u);
    EXPECT_EQ(int(separator.itemHeight), std::max((4 + 15) / 2, menuHeight / 2));

    CZellMenu::SetDrawMode(1);
    item = Measure(menu, 0);
    EXPECT_EQ(int(item.itemWidth), 16 + text + 7 + 8);
    EXPECT_EQ(int(item.itemHeight), std::max(7 + 15, menuHeight));
    EXPECT_EQ(Measure(menu, 1).itemHeight, 3u);
}

TEST_F(ZellMenuTest, MenuCharFindsTheFirstItemWithTheMnemonicInEitherCase)
{
    CZellMenu menu;
    menu.AppendODMenu(L"Load", MF_STRING, 1);
    menu.AppendODMenu(L"E&xport", MF_STRING, 2);
    menu.AppendODMenu(L"&X again", MF_STRING, 3);
    EXPECT_EQ(CZellMenu::FindKeyboardShortcut('x', MF_POPUP, &menu), MAKELRESULT(1, MNC_EXECUTE));
    EXPECT_EQ(CZellMenu::FindKeyboardShortcut('X', MF_POPUP, &menu), 0x20001);
    EXPECT_EQ(CZellMenu::FindKeyboardShortcut('q', MF_POPUP, &menu), 0);
    EXPECT_EQ(CZellMenu::FindKeyboardShortcut('x', 0, &menu), 0) << "only for pop-ups";
    CMenu plain;
    plain.CreatePopupMenu();
    EXPECT_EQ(CZellMenu::FindKeyboardShortcut('x', MF_POPUP, &plain), 0) << "only for menus of this kind";
}

TEST_F(ZellMenuTest, ToolbarButtonsGiveTheirCommandsImages)
{
    CZellMenu::SetIconSize(8, 16);
    CZellMenu menu;
    menu.AppendODMenu(L"Open", MF_STRING, kOpenCommand);
    menu.AppendODMenu(L"Other", MF_STRING, 999);
    menu.AppendODMenu(L"Save", MF_STRING, kSaveCommand);
    ASSERT_TRUE(menu.LoadToolbar(kMenuToolbar));
    EXPECT_EQ(menu.ItemData(0)->imageIndex, 0);
    EXPECT_EQ(menu.ItemData(1)->imageIndex, -1);
    EXPECT_EQ(menu.ItemData(2)->imageIndex, 1) << "the separator takes no image";
    ASSERT_NE(menu.ItemData(0)->images, nullptr);
    EXPECT_EQ(menu.ItemData(0)->images->GetImageCount(), 2);
    EXPECT_FALSE(menu.LoadToolbar(kDiscIcon)) << "no toolbar of that name";
    EXPECT_GE(CZellMenu::GlobalImageOf(kSaveCommand), 0) << "other menus with the command show it too";

    CZellMenu other;
    other.AppendODMenu(L"Open", MF_STRING, kOpenCommand);
    const UINT toolbars[] = {kDiscIcon, kMenuToolbar};
    EXPECT_FALSE(other.LoadToolbars(toolbars, 2)) << "one of them is missing";
    EXPECT_TRUE(other.ItemData(0)->HasOwnImage()) << "the others are loaded all the same";
    EXPECT_TRUE(other.LoadToolbars(toolbars + 1, 1));
    EXPECT_FALSE(other.LoadToolbars(nullptr, 1));
}

TEST_F(ZellMenuTest, AMenuResourceComesBackOwnerDrawnWithItsStates)
{
    CZellMenu menu;
    EXPECT_FALSE(menu.LoadMenu(kDiscIcon)) << "no menu of that name";
    ASSERT_TRUE(menu.LoadMenu(kButtonMenu));
    ASSERT_EQ(menu.ItemCount(), 1);
    CZellMenu* drop = menu.SubMenu(0);
    ASSERT_NE(drop, nullptr);
    EXPECT_EQ(menu.ItemData(0)->text, L"Drop");
    ASSERT_EQ(drop->ItemCount(), 3);
    EXPECT_EQ(drop->ItemData(0)->command, kOpenCommand);
    EXPECT_NE(drop->ItemData(1)->flags & MF_SEPARATOR, 0u);
    EXPECT_NE(drop->GetMenuState(kSaveCommand, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_NE(drop->GetMenuState(kOpenCommand, MF_BYCOMMAND) & MF_OWNERDRAW, 0u);
    EXPECT_TRUE(CZellMenu::IsMenu(drop->GetSafeHmenu()));
    CMenu plain;
    plain.CreatePopupMenu();
    EXPECT_FALSE(CZellMenu::IsMenu(plain.GetSafeHmenu()));
    EXPECT_FALSE(CZellMenu::IsMenu(nullptr));
}

TEST_F(ZellMenuTest, RemovingAPopupTakesOnlySeparatorsThatExist)
{
    CZellMenu menu;
    ASSERT_NE(menu.AppendPopup(L"Recent"), nullptr);
    menu.AppendODMenu(nullptr, 0, 0);
    menu.AppendODMenu(L"Exit", MF_STRING, 5);
    EXPECT_EQ(menu.DeletePopup(L"Recent", 3), 0);
    EXPECT_EQ(menu.ItemCount(), 2);
    EXPECT_EQ(menu.GetMenuItemCount(), 2);
    EXPECT_EQ(menu.ItemData(1)->command, 5u);

    menu.AppendODMenu(nullptr, 0, 0);
    menu.AppendPopup(L"Tools");
    EXPECT_EQ(menu.DeletePopup(L"Tools", 1), 3);
    EXPECT_EQ(menu.ItemCount(), 2) << "the separator before it went too";
    EXPECT_EQ(menu.DeletePopup(L"Tools", 1), -1);
}

TEST_F(ZellMenuTest, DeletingByCommandReachesIntoSubMenusAndTakesPopupsWhole)
{
    CZellMenu menu;
    menu.AppendODMenu(L"Top", MF_STRING, 821);
    CZellMenu* sub = menu.AppendPopup(L"Sub");
    ASSERT_NE(sub, nullptr);
    sub->AppendODMenu(L"Deep", MF_STRING, 822);
    const HMENU subHandle = sub->GetSafeHmenu();
    EXPECT_TRUE(menu.DeleteMenu(822, MF_BYCOMMAND));
    EXPECT_EQ(sub->ItemCount(), 0);
    EXPECT_EQ(sub->GetMenuItemCount(), 0);
    EXPECT_FALSE(menu.RemoveMenu(822, MF_BYCOMMAND)) << "gone already";
    EXPECT_TRUE(menu.RemoveMenu(1, MF_BYPOSITION));
    EXPECT_EQ(menu.ItemCount(), 1);
    EXPECT_EQ(menu.GetMenuItemCount(), 1);
    EXPECT_FALSE(CZellMenu::IsMenu(subHandle)) << "the sub-menu object went with its item";
    EXPECT_FALSE(menu.DeleteMenu(5, MF_BYPOSITION));
}

TEST_F(ZellMenuTest, TheLooksFillTheSelectionAsTheirColoursSay)
{
    CZellMenu menu;
    menu.AppendODMenu(L"Open", MF_STRING, 1);
    CZellMenu::SetGlobalColors(RGB(0, 0, 200), 0xFF000000, 0xFF000000);
    CZellMenu::SetGlobalColors(0xFF000000, 0xFF000000, 0xFF000000);

    CZellMenu::SetDrawMode(1);
    // Without a fill colour of its own the fill is the selection lightened.
    EXPECT_EQ(PaintAndRead(menu, 0, ODS_SELECTED, {60, 10}), RGB(216, 216, 246));
    EXPECT_EQ(PaintAndRead(menu, 0, ODS_SELECTED, {0, 0}), RGB(0, 0, 200)) << "outlined in the selection colour";
    EXPECT_EQ(PaintAndRead(menu, 0, 0, {110, 10}), RGB(255, 255, 255));

    CZellMenu::SetGlobalColors(0xFF000000, RGB(10, 200, 10), 0xFF000000);
    EXPECT_EQ(PaintAndRead(menu, 0, ODS_SELECTED, {60, 10}), RGB(10, 200, 10));
    EXPECT_EQ(PaintAndRead(menu, 0, ODS_SELECTED | ODS_GRAYED, {110, 10}), RGB(255, 255, 255))
        << "a disabled item is not drawn selected in this look";

    CZellMenu::SetDrawMode(2);
    EXPECT_EQ(PaintAndRead(menu, 0, ODS_SELECTED, {110, 10}), ::GetSysColor(COLOR_HIGHLIGHT)) << "any other mode is classic";
    EXPECT_EQ(PaintAndRead(menu, 0, 0, {110, 10}), ::GetSysColor(COLOR_MENU));
}


// The tick grows with the screen's resolution, as the item's text does.
TEST_F(ZellMenuTest, TheCheckMarkGrowsWithTheScreensResolution)
{
    CZellMenu menu;
    menu.AppendODMenu(L"Flat", MF_STRING, 1);
    const int kept = GetScreenDpi();
    auto markPixels = [&](int mode, int dpi) {
        SetScreenDpi(dpi);
        CZellMenu::SetDrawMode(mode);
        ControlsTest::CCanvas canvas(120, 30);
        Paint(menu, 0, ODS_CHECKED, canvas);
        int count = 0;
        for (int y = 0; y < canvas.Height(); ++y)
            for (int x = 0; x < 20; ++x)
                count += canvas.At(x, y) == RGB(0, 0, 0) ? 1 : 0;
        return count;
    };
    for (int mode : {0, 1}) {
        const int small = markPixels(mode, 96);
        EXPECT_GT(small, 0) << "look " << mode;
        EXPECT_EQ(markPixels(mode, 192), 4 * small) << "look " << mode << ": twice as wide and twice as tall";
    }
    SetScreenDpi(kept);
}
}

#include "Platform/Framework/Windows/Wnd.h"
#include "Platform/Ui/DisplayAccess.h"
#include "Platform/Ui/Tests/GoldenImage.h"
#include "Platform/Ui/Tests/MenuScript.h"

#include <filesystem>
#include "Platform/Ui/Tests/UiTestSupport.h"

namespace {

// A tracked menu whose owner hands sizes, painting and mnemonics to it.
class ZellMenuTracked : public ZellMenuTest {
protected:
    void SetUp() override
    {
        ZellMenuTest::SetUp();
        m_owner.hwnd = UiTest::Create(&m_handler, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400, 300);
        ASSERT_NE(m_owner.hwnd, nullptr);
        SetForegroundWindow(m_owner.hwnd);
        SetFocus(m_owner.hwnd);
        UiTest::Drain();
        m_handler.m_onMessage = [this](HWND, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
            return Route(message, wParam, lParam, result);
        };
        m_menu.AppendODMenu(L"&Open", MF_STRING, kOpenCommand);
        m_menu.AppendODMenu(nullptr, 0, 0);
        m_menu.AppendODMenu(L"Save\tCtrl+S", MF_STRING, kSaveCommand);
        m_menu.AppendODMenu(L"E&xit", MF_STRING, 9);
    }

    bool Route(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
    {
        result = TRUE;
        switch (message) {
        case WM_ENTERIDLE:
            result = 0;
            return m_script.OnIdle(wParam, lParam);
        case WM_MEASUREITEM:
            m_menu.MeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
            return true;
        case WM_DRAWITEM:
            ++m_draws;
            m_menu.DrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
            return true;
        case WM_MENUCHAR:
            result = CZellMenu::FindKeyboardShortcut(LOWORD(wParam), HIWORD(wParam), CMenu::FromHandle(reinterpret_cast<HMENU>(lParam)));
            return true;
        default:
            return false;
        }
    }
    int Track() { return m_menu.TrackPopupMenu(TPM_RETURNCMD, 150, 150, CWnd::FromHandle(m_owner.hwnd)); }

    UiTest::Handler m_handler;
    UiTest::WindowGuard m_owner;
    UiTest::CMenuScript m_script;
    CZellMenu m_menu;
    int m_draws = 0;
};

TEST_F(ZellMenuTracked, AClickOnAnItemChoosesItsCommand)
{
    CZellMenu::SetDrawMode(1);
    m_script.Add([this] {
        RECT r{};
        ASSERT_TRUE(GetMenuItemRect(m_owner.hwnd, m_menu.GetSafeHmenu(), 2, &r));
        EXPECT_EQ(r.bottom - r.top, std::max(7 + 15, ::GetSystemMetrics(SM_CYMENU))) << "measured by the menu";
        UiTest::CDialogDriver::ClickAt(UiTest::CenterOf(r));
    });
    EXPECT_EQ(Track(), int(kSaveCommand));
    EXPECT_GE(m_draws, 4) << "every item painted by the menu";
}

TEST_F(ZellMenuTracked, AMnemonicKeyRunsTheItemThroughTheOwner)
{
    m_script.Key(m_owner.hwnd, 'X');
    EXPECT_EQ(Track(), 9);
}

}

namespace {

// Both looks with toolbar images, a checked item, a greyed one and the
// keyboard selection on the first item, against their kept pictures.
TEST_F(ZellMenuTracked, BothLooksLookAsKept)
{
    CZellMenu::SetIconSize(8, 16);
    ASSERT_TRUE(m_menu.LoadToolbar(kMenuToolbar));
    m_menu.AppendODMenu(L"Checked", MF_STRING | MF_CHECKED, 21);
    m_menu.AppendODMenu(L"Greyed", MF_STRING | MF_GRAYED, 22);
    for (int mode : {0, 1}) {
        CZellMenu::SetDrawMode(mode);
        const std::string name = mode == 1 ? "menu-flat" : "menu-classic";
        m_script.Reset();
        m_script.Key(m_owner.hwnd, VK_DOWN);
        m_script.Add([this, name] {
            namespace fs = std::filesystem;
            const fs::path outputs = ZELL_CONTROLS_OUTPUT_DIR;
            fs::create_directories(outputs);
            const fs::path shown = outputs / (name + ".png");
            UpdateWindow(m_script.MenuWindow());
            ASSERT_TRUE(UiTest::Headless().SaveAsPng(NativeWindowOf(m_script.MenuWindow()), shown.string()));
            EXPECT_TRUE(UiTest::MatchesGolden(shown.string(), name, ZELL_CONTROLS_GOLDEN_DIR));
            EndMenu();
        });
        EXPECT_EQ(Track(), 0) << name;
    }
}

}

#include "Platform/Framework/Drawing/Bitmap.h"
#include "Platform/Framework/Core/MessageMap.h"

namespace {

// A framework window that only runs the script: the menu's items reach the
// menu through the framework's own routing, not through this window.
class CScriptedOwner : public CWnd {
public:
    UiTest::CMenuScript script;

protected:
    LRESULT OnEnterIdle(WPARAM kind, LPARAM menuWindow)
    {
        script.OnIdle(kind, menuWindow);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CScriptedOwner, CWnd)
    ON_MESSAGE(WM_ENTERIDLE, OnEnterIdle)
END_MESSAGE_MAP()

TEST_F(ZellMenuTest, AFrameworkOwnerHandsTheItemsToTheirMenuAndAdoptedItemsAreDrawnToo)
{
    constexpr COLORREF kGround = RGB(255, 0, 255);
    constexpr COLORREF kRed = RGB(200, 0, 0);
    CZellMenu::SetIconSize(16, 30);
    CScriptedOwner owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, L"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200, nullptr, nullptr));
    SetForegroundWindow(owner.m_hWnd);
    SetFocus(owner.m_hWnd);
    UiTest::Drain();
    CBitmap red;
    red.Attach(SquareBitmap(kRed, kGround));
    CZellMenu menu;
    menu.SetBackgroundColor(kGround);
    ASSERT_TRUE(menu.AppendODMenu(L"&Open", MF_STRING, 811, &red));
    ASSERT_TRUE(::AppendMenuW(menu.GetSafeHmenu(), MF_STRING, 812, L"&Plain"));
    menu.SynchronizeMenu();

    RECT first{};
    RECT second{};
    COLORREF imageMiddle = 0;
    owner.script.Add([&] {
        GetMenuItemRect(owner.m_hWnd, menu.GetSafeHmenu(), 0, &first);
        GetMenuItemRect(owner.m_hWnd, menu.GetSafeHmenu(), 1, &second);
        HWND window = owner.script.MenuWindow();
        UpdateWindow(window);
        // The image sits 2 pixels in, centred in the item's height.
        POINT at{first.left + 2 + 8, first.top + (first.bottom - first.top - 30) / 2 + 8};
        ScreenToClient(window, &at);
        imageMiddle = UiTest::Headless().PixelAt(NativeWindowOf(window), at.x, at.y).value_or(0);
        EndMenu();
    });
    EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD, 150, 150, &owner), 0);

    const int height = std::max(4 + 30, ::GetSystemMetrics(SM_CYMENU));
    EXPECT_EQ(first.bottom - first.top, height) << "measured by the menu";
    EXPECT_EQ(second.bottom - second.top, height) << "the adopted item too";
    EXPECT_EQ(imageMiddle, kRed) << "drawn by the menu";
    owner.DestroyWindow();
}

}
