// Pop-up menus driven as a user drives them: keys and clicks injected while
// the menu loop waits (the owner's WM_ENTERIDLE runs the next step), with
// what the owner is told and what the loop returns.
#include "Platform/Base/LastError.h"
#include "Platform/Ui/MenuMeasure.h"
#include "Platform/Ui/MenuTracker.h"
#include "Platform/Ui/Tests/DialogDriver.h"
#include "Platform/Ui/Tests/MenuScript.h"
#include "Platform/Ui/Tests/UiTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

using namespace UiTest;

namespace {

constexpr UINT kOpen = 101;
constexpr UINT kSave = 102;
constexpr UINT kGreyed = 103;
constexpr UINT kDeep = 110;
constexpr UINT kDeeper = 111;

class PopupMenu : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_owner.hwnd = CreateMenuOwner(&m_handler);
        ASSERT_NE(m_owner.hwnd, nullptr);
        m_handler.m_onMessage = [this](HWND, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
            if (message == WM_ENTERIDLE && m_script.OnIdle(wParam, lParam)) {
                result = 0;
                return true;
            }
            if (message == WM_MENUCHAR && m_menuChar) {
                result = m_menuChar(LOWORD(wParam));
                return true;
            }
            if (message == WM_MEASUREITEM && m_measure) {
                m_measure(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
                result = TRUE;
                return true;
            }
            if (message == WM_DRAWITEM) {
                m_drawn.push_back(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
                result = TRUE;
                return true;
            }
            return false;
        };
        m_menu = CreatePopupMenu();
        AppendMenuW(m_menu, MF_STRING, kOpen, L"&Open\tCtrl+O");
        AppendMenuW(m_menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(m_menu, MF_STRING, kSave, L"&Save");
        AppendMenuW(m_menu, MF_STRING | MF_GRAYED, kGreyed, L"&Greyed");
        m_handler.Clear();
    }
    void TearDown() override
    {
        if (IsMenu(m_menu))
            DestroyMenu(m_menu);
    }

    void Key(UINT vk, unsigned modifiers = kNoModifier) { m_script.Key(m_owner.hwnd, vk, modifiers); }
    void ClickItem(HMENU menu, UINT index)
    {
        m_script.Add([this, menu, index] {
            RECT r{};
            ASSERT_TRUE(GetMenuItemRect(m_owner.hwnd, menu, index, &r));
            CDialogDriver::ClickAt(CenterOf(r));
        });
    }
    void Track(UINT flags, int& result)
    {
        result = TrackPopupMenuEx(m_menu, flags, 150, 150, m_owner.hwnd, nullptr);
    }
    std::vector<UINT> MenuMessages() const
    {
        std::vector<UINT> ids;
        for (UINT id : m_handler.Ids({WM_ENTERMENULOOP, WM_INITMENU, WM_INITMENUPOPUP, WM_MENUSELECT, WM_UNINITMENUPOPUP,
                                      WM_EXITMENULOOP, WM_COMMAND})) {
            if (ids.empty() || ids.back() != id || id != WM_MENUSELECT)
                ids.push_back(id);
        }
        return ids;
    }
    std::vector<WPARAM> Commands() const
    {
        std::vector<WPARAM> commands;
        for (const Record& r : m_handler.Of(WM_COMMAND))
            commands.push_back(r.wParam);
        return commands;
    }

    Handler m_handler;
    WindowGuard m_owner;
    HMENU m_menu = nullptr;
    CMenuScript m_script;
    std::function<LRESULT(wchar_t)> m_menuChar;
    std::function<void(MEASUREITEMSTRUCT&)> m_measure;
    std::vector<DRAWITEMSTRUCT> m_drawn;
};

TEST_F(PopupMenu, ArrowsSkipTheSeparatorAndEnterReturnsTheCommandWithoutPostingIt)
{
    Key(VK_DOWN);
    Key(VK_DOWN);
    Key(VK_RETURN);
    int result = -1;
    Track(TPM_RETURNCMD, result);
    EXPECT_EQ(result, static_cast<int>(kSave));
    Drain();
    EXPECT_TRUE(Commands().empty());
    // The menu window is gone with the loop, and the mouse is free again.
    EXPECT_FALSE(IsWindow(m_script.MenuWindow()));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(PopupMenu, AClickSendsTheCommandAfterTheMenuMessagesInTheirOrder)
{
    ClickItem(m_menu, 2);
    int result = -1;
    Track(0, result);
    EXPECT_EQ(result, TRUE);
    Drain();
    EXPECT_EQ(Commands(), std::vector<WPARAM>{kSave});
    const std::vector<UINT> expected{WM_ENTERMENULOOP, WM_INITMENU,        WM_INITMENUPOPUP, WM_MENUSELECT,
                                     WM_UNINITMENUPOPUP, WM_EXITMENULOOP, WM_COMMAND};
    EXPECT_EQ(MenuMessages(), expected);
    // The last selection notice says the menu closed.
    const auto selects = m_handler.Of(WM_MENUSELECT);
    ASSERT_GE(selects.size(), 2u);
    EXPECT_EQ(HIWORD(selects.back().wParam), 0xFFFF);
    EXPECT_EQ(LOWORD(selects[selects.size() - 2].wParam), kSave);
    EXPECT_TRUE(HIWORD(selects[selects.size() - 2].wParam) & MF_MOUSESELECT);
    EXPECT_EQ(reinterpret_cast<HMENU>(m_handler.Of(WM_INITMENUPOPUP).front().wParam), m_menu);
}

TEST_F(PopupMenu, AGreyedItemIsNotChosenAndEscapeLeavesWithNothing)
{
    ClickItem(m_menu, 3);
    Key(VK_ESCAPE);
    int result = -1;
    Track(TPM_RETURNCMD, result);
    EXPECT_EQ(result, 0);
    Drain();
    EXPECT_TRUE(Commands().empty());
}

TEST_F(PopupMenu, AClickOutsideClosesTheMenuAndGoesNowhereElse)
{
    m_script.Add([] { CDialogDriver::ClickAt({380, 350}); });  // on the owner, off the menu
    int result = -1;
    Track(0, result);
    EXPECT_EQ(result, FALSE);
    Drain();
    EXPECT_TRUE(m_handler.Of(WM_LBUTTONDOWN).empty());
    EXPECT_TRUE(m_handler.Of(WM_LBUTTONUP).empty());
    EXPECT_TRUE(Commands().empty());
    EXPECT_EQ(m_handler.Ids({WM_EXITMENULOOP}).size(), 1u);
}

TEST_F(PopupMenu, CancelModeAndEndMenuCloseIt)
{
    m_script.Add([this] { SendMessageW(m_script.MenuWindow(), WM_CANCELMODE, 0, 0); });
    int result = -1;
    Track(TPM_RETURNCMD, result);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(m_script.Idles(), 1);
    EXPECT_FALSE(EndMenu());  // no menu left to end
}

// An owner hidden while its menu is open (its dialog ended, closed from
// another program) takes the menu with it.
TEST_F(PopupMenu, HidingTheOwnerClosesIt)
{
    ASSERT_TRUE(IsWindowVisible(m_owner.hwnd));
    m_script.Add([this] {
        ShowWindow(m_owner.hwnd, SW_HIDE);
        PostMessageW(m_owner.hwnd, WM_NULL, 0, 0);
    });
    int result = -1;
    Track(TPM_RETURNCMD, result);
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(EndMenu());
}

TEST_F(PopupMenu, AMnemonicChoosesItsItemAndASharedOneOnlyMovesTheSelection)
{
    Key('O');
    int result = -1;
    Track(TPM_RETURNCMD, result);
    EXPECT_EQ(result, static_cast<int>(kOpen));

    AppendMenuW(m_menu, MF_STRING, 104, L"&Save as");
    m_script.Reset();
    Key('S');
    Key(VK_RETURN);
    Track(TPM_RETURNCMD, result);
    EXPECT_EQ(result, static_cast<int>(kSave));
}

TEST_F(PopupMenu, ASubMenuOpensByKeyboardAndLeftClosesItAgain)
{
    HMENU more = CreatePopupMenu();
    AppendMenuW(more, MF_STRING, kDeep, L"&Deep");
    AppendMenuW(more, MF_STRING, kDeeper, L"D&eeper");
    AppendMenuW(m_menu, MF_POPUP, reinterpret_cast<UINT_PTR>(more), L"&More");
    Key(VK_UP);     // the last item: More
    Key(VK_RIGHT);  // opens it on its first item
    Key(VK_LEFT);   // back to the first menu, More still selected
    Key(VK_RETURN); // opens it again
    Key(VK_DOWN);
    Key(VK_RETURN);
    int result = -1;
    Track(TPM_RETURNCMD, result);
    EXPECT_EQ(result, static_cast<int>(kDeeper));
    const auto popups = m_handler.Of(WM_INITMENUPOPUP);
    ASSERT_EQ(popups.size(), 3u);
    EXPECT_EQ(reinterpret_cast<HMENU>(popups[1].wParam), more);
    EXPECT_EQ(LOWORD(popups[1].lParam), 4);  // opened from position 4
    EXPECT_EQ(m_handler.Of(WM_UNINITMENUPOPUP).size(), 3u);
}

TEST_F(PopupMenu, ASubMenuOpensUnderThePointerAndTakesTheClick)
{
    HMENU more = CreatePopupMenu();
    AppendMenuW(more, MF_STRING, kDeep, L"&Deep");
    AppendMenuW(m_menu, MF_POPUP, reinterpret_cast<UINT_PTR>(more), L"&More");
    m_script.Add([this] {
        RECT r{};
        ASSERT_TRUE(GetMenuItemRect(m_owner.hwnd, m_menu, 4, &r));
        Headless().InjectMouseMove(CenterOf(r));
    });
    ClickItem(more, 0);
    int result = -1;
    Track(TPM_RETURNCMD, result);
    EXPECT_EQ(result, static_cast<int>(kDeep));
    // The sub-menu stands to the right of its item.
    RECT parentItem{};
    EXPECT_FALSE(GetMenuItemRect(m_owner.hwnd, m_menu, 4, &parentItem));  // closed now
}

TEST_F(PopupMenu, OwnerDrawnItemsAreMeasuredAndDrawnWithTheirStates)
{
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_OWNERDRAW | MF_CHECKED, 201, reinterpret_cast<LPCWSTR>(0x11));
    AppendMenuW(menu, MF_OWNERDRAW | MF_GRAYED, 202, reinterpret_cast<LPCWSTR>(0x22));
    AppendMenuW(menu, MF_OWNERDRAW, 203, reinterpret_cast<LPCWSTR>(0x33));
    std::vector<ULONG_PTR> measured;
    m_measure = [&](MEASUREITEMSTRUCT& m) {
        EXPECT_EQ(m.CtlType, ODT_MENU);
        measured.push_back(m.itemData);
        m.itemWidth = 120;
        m.itemHeight = 24;
    };
    m_script.Add([this] {
        RECT r{};
        GetWindowRect(m_script.MenuWindow(), &r);
        EXPECT_GE(r.right - r.left, 120);
        EXPECT_GE(r.bottom - r.top, 3 * 24);
        m_drawn.clear();
        CDialogDriver(m_owner.hwnd).Press(VK_DOWN);
    });
    int result = TrackPopupMenuEx(menu, TPM_RETURNCMD, 150, 150, m_owner.hwnd, nullptr);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(measured, (std::vector<ULONG_PTR>{0x11, 0x22, 0x33}));
    // After the key: the first item drawn selected, the others as they are.
    auto last = [&](UINT id) {
        DRAWITEMSTRUCT found{};
        for (const DRAWITEMSTRUCT& d : m_drawn) {
            if (d.itemID == id)
                found = d;
        }
        return found;
    };
    const DRAWITEMSTRUCT selected = last(201);
    EXPECT_EQ(selected.CtlType, ODT_MENU);
    EXPECT_EQ(selected.itemData, 0x11u);
    EXPECT_EQ(selected.itemState, ODS_SELECTED | ODS_CHECKED);
    EXPECT_EQ(selected.hwndItem, reinterpret_cast<HWND>(menu));
    EXPECT_EQ(last(202).itemState, ODS_GRAYED);
    EXPECT_EQ(last(203).itemState, 0u);
    EXPECT_EQ(selected.rcItem.bottom - selected.rcItem.top, 24);
    DestroyMenu(menu);
}

TEST_F(PopupMenu, TheOwnerAnswersKeysWithoutAMnemonic)
{
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_OWNERDRAW, 301, nullptr);
    AppendMenuW(menu, MF_OWNERDRAW, 302, nullptr);
    m_measure = [](MEASUREITEMSTRUCT& m) {
        m.itemWidth = 80;
        m.itemHeight = 20;
    };
    std::vector<wchar_t> asked;
    m_menuChar = [&](wchar_t c) -> LRESULT {
        asked.push_back(c);
        if (c == L'x')
            return MAKELRESULT(1, MNC_EXECUTE);
        if (c == L'y')
            return MAKELRESULT(0, MNC_SELECT);
        return MAKELRESULT(0, MNC_CLOSE);
    };
    Key('X');
    int result = TrackPopupMenuEx(menu, TPM_RETURNCMD, 150, 150, m_owner.hwnd, nullptr);
    EXPECT_EQ(result, 302);
    ASSERT_FALSE(m_handler.Of(WM_MENUCHAR).empty());
    EXPECT_EQ(HIWORD(m_handler.Of(WM_MENUCHAR).front().wParam) & MF_POPUP, MF_POPUP);
    EXPECT_EQ(reinterpret_cast<HMENU>(m_handler.Of(WM_MENUCHAR).front().lParam), menu);

    m_script.Reset();
    Key('Y');  // selects the first item
    Key(VK_RETURN);
    EXPECT_EQ(TrackPopupMenuEx(menu, TPM_RETURNCMD, 150, 150, m_owner.hwnd, nullptr), 301);

    m_script.Reset();
    Key('Z');  // the owner closes the menu
    Key(VK_RETURN);
    EXPECT_EQ(TrackPopupMenuEx(menu, TPM_RETURNCMD, 150, 150, m_owner.hwnd, nullptr), 0);
    EXPECT_EQ(asked, (std::vector<wchar_t>{L'x', L'y', L'z'}));
    DestroyMenu(menu);
}

TEST_F(PopupMenu, NoNotifyKeepsTheMenuMessagesAwayButStillAsksForOwnerDrawing)
{
    AppendMenuW(m_menu, MF_OWNERDRAW, 401, nullptr);
    m_measure = [](MEASUREITEMSTRUCT& m) {
        m.itemWidth = 50;
        m.itemHeight = 18;
    };
    ClickItem(m_menu, 0);
    int result = -1;
    Track(TPM_NONOTIFY, result);
    EXPECT_EQ(result, TRUE);
    Drain();
    EXPECT_TRUE(MenuMessages().empty());
    EXPECT_FALSE(m_handler.Of(WM_MEASUREITEM).empty());
}

TEST_F(PopupMenu, TheOwnerLearnsWhichMenuItIsMeasuringAndOnlyWhileItDoes)
{
    HMENU sub = CreatePopupMenu();
    AppendMenuW(sub, MF_OWNERDRAW, kDeep, nullptr);
    AppendMenuW(m_menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub), L"&More");
    AppendMenuW(m_menu, MF_OWNERDRAW, 402, nullptr);
    std::vector<std::pair<UINT, HMENU>> asked;
    m_measure = [&](MEASUREITEMSTRUCT& m) {
        asked.emplace_back(m.itemID, Ui::MenuBeingMeasured());
        m.itemWidth = 50;
        m.itemHeight = 18;
    };
    Key(VK_UP);  // the last item, the owner-drawn one
    Key(VK_UP);  // the pop-up
    Key(VK_RIGHT);
    m_script.Add([] { EndMenu(); });
    int result = -1;
    Track(TPM_RETURNCMD, result);
    ASSERT_FALSE(asked.empty());
    bool sawSub = false;
    for (const auto& [id, menu] : asked) {
        EXPECT_EQ(menu, id == kDeep ? sub : m_menu) << id;
        sawSub = sawSub || id == kDeep;
    }
    EXPECT_TRUE(sawSub);
    EXPECT_EQ(Ui::MenuBeingMeasured(), nullptr);
}

TEST_F(PopupMenu, ASecondLoopOnTheSameThreadIsRefused)
{
    BOOL inner = TRUE;
    m_script.Add([&] {
        inner = TrackPopupMenuEx(m_menu, TPM_RETURNCMD, 10, 10, m_owner.hwnd, nullptr);
        EndMenu();
    });
    int result = -1;
    Track(TPM_RETURNCMD, result);
    EXPECT_EQ(inner, FALSE);
    EXPECT_EQ(GetLastError(), ERROR_POPUP_ALREADY_ACTIVE);
    EXPECT_FALSE(TrackPopupMenuEx(reinterpret_cast<HMENU>(0x1234), 0, 0, 0, m_owner.hwnd, nullptr));
}

// ---------------------------------------------------------------------------
// Placement
// ---------------------------------------------------------------------------

TEST(PopupMenuPlacement, AlignmentFlagsPlaceTheMenuAroundItsAnchor)
{
    const RECT work{0, 0, 1000, 800};
    const SIZE size{100, 50};
    EXPECT_EQ(Ui::PlacePopupMenu(size, {200, 300}, 0, nullptr, work).x, 200);
    EXPECT_EQ(Ui::PlacePopupMenu(size, {200, 300}, TPM_RIGHTALIGN, nullptr, work).x, 100);
    EXPECT_EQ(Ui::PlacePopupMenu(size, {200, 300}, TPM_CENTERALIGN, nullptr, work).x, 150);
    EXPECT_EQ(Ui::PlacePopupMenu(size, {200, 300}, TPM_BOTTOMALIGN, nullptr, work).y, 250);
    EXPECT_EQ(Ui::PlacePopupMenu(size, {200, 300}, TPM_VCENTERALIGN, nullptr, work).y, 275);
}

TEST(PopupMenuPlacement, TheMenuTurnsAtTheWorkAreasEdgesAndStaysInside)
{
    const RECT work{0, 0, 1000, 800};
    const SIZE size{100, 50};
    const POINT corner = Ui::PlacePopupMenu(size, {980, 790}, 0, nullptr, work);
    EXPECT_EQ(corner.x, 880);
    EXPECT_EQ(corner.y, 740);
    const POINT left = Ui::PlacePopupMenu(size, {20, 10}, TPM_RIGHTALIGN, nullptr, work);
    EXPECT_EQ(left.x, 0);
    const POINT huge = Ui::PlacePopupMenu({2000, 50}, {500, 10}, 0, nullptr, work);
    EXPECT_EQ(huge.x, 0);
}

TEST(PopupMenuPlacement, TheExclusionRectangleIsLeftFree)
{
    const RECT work{0, 0, 1000, 800};
    const SIZE size{100, 50};
    const RECT button{200, 300, 260, 330};
    const POINT beside = Ui::PlacePopupMenu(size, {210, 310}, 0, &button, work);
    EXPECT_EQ(beside.x, 260);
    const POINT below = Ui::PlacePopupMenu(size, {210, 310}, TPM_VERTICAL, &button, work);
    EXPECT_EQ(below.y, 330);
    const RECT low{200, 770, 260, 790};
    const POINT above = Ui::PlacePopupMenu(size, {210, 780}, TPM_VERTICAL, &low, work);
    EXPECT_EQ(above.y, 720);
}

}  // namespace
