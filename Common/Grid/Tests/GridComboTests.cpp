#include "Common/Grid/GridCellCombo.h"
#include "Common/Grid/ZellGrid.h"

#include "Common/Grid/Tests/GridTestSupport.h"
#include "Platform/Controls/ComboStyles.h"
#include "Platform/Controls/ListControlStyles.h"
#include "Platform/Framework/Controls/ComboBox.h"
#include "Platform/Ui/Tests/WindowText.h"

#include <gtest/gtest.h>

using namespace ZELL::Grid;

using GridTest::CentreOf;
using GridTest::CGridScene;

namespace {

class GridCombo : public ::testing::Test {
protected:
    CGridScene scene;
    CZellGrid grid;

    void SetUp() override
    {
        ASSERT_TRUE(scene.Make(grid));
        GridTest::Shape(grid, 6, 4, 24, 110);
        ASSERT_TRUE(grid.ReplaceCellClass(2, 2, RUNTIME_CLASS(CGridCellCombo)));
        Combo().SetOptionTexts({L"static", L"BootP", L"DHCP"});
        grid.SetCellText(2, 2, L"BootP");
        CGridScene::Settle();
    }
    CGridCellCombo& Combo() { return *static_cast<CGridCellCombo*>(grid.GetCellAt(2, 2)); }
    HWND Box() const { return GetDlgItem(grid.m_hWnd, IDC_INPLACE_CONTROL); }
    std::wstring BoxText() const { return UiTest::TextOf(Box()); }
    int BoxSelection() const { return static_cast<int>(SendMessageW(Box(), CB_GETCURSEL, 0, 0)); }
    void ClickCell(int row, int col) { scene.Click(grid.m_hWnd, CentreOf(grid, row, col)); }
};

}

TEST_F(GridCombo, ATextAmongTheOptionsSelectsItAndOthersStayAsTheyAre)
{
    ClickCell(2, 2);
    ASSERT_NE(Box(), nullptr);
    EXPECT_EQ(BoxSelection(), 1);
    EXPECT_EQ(BoxText(), L"BootP");
    scene.Key(VK_RETURN);
    EXPECT_EQ(Box(), nullptr);
    EXPECT_EQ(grid.GetCellText(2, 2), CString(L"BootP"));

    grid.SetCellText(2, 2, L"manual");
    ClickCell(2, 2);
    ASSERT_NE(Box(), nullptr);
    EXPECT_EQ(BoxSelection(), -1);
    EXPECT_EQ(BoxText(), L"manual");
    scene.Key(VK_RETURN);
    EXPECT_EQ(grid.GetCellText(2, 2), CString(L"manual"));
}

TEST_F(GridCombo, AClickOpensTheBoxWithTheTextKept)
{
    ClickCell(2, 2);
    ASSERT_NE(Box(), nullptr);
    scene.Type(L"x");
    EXPECT_EQ(BoxText(), L"BootPx");
}

TEST_F(GridCombo, TypingReplacesTheTextAndEscapeRestoresIt)
{
    grid.SetFocus();
    grid.SetFocusCell(2, 2);
    CGridScene::Settle();
    scene.Type(L"x");
    ASSERT_NE(Box(), nullptr);
    EXPECT_EQ(BoxText(), L"x");
    scene.Type(L"yz");
    scene.Key(VK_ESCAPE);
    CGridScene::Settle();
    EXPECT_EQ(Box(), nullptr);
    EXPECT_EQ(grid.GetCellText(2, 2), CString(L"BootP"));
    scene.Type(L"q");
    scene.Key(VK_TAB);
    CGridScene::Settle();
    EXPECT_EQ(grid.GetCellText(2, 2), CString(L"q"));
    EXPECT_EQ(grid.GetFocusCell(), CCellID(2, 3));
}

// The open list follows the pointer without picking: only a click (or
// Enter) ends editing with the entry; a click elsewhere closes it, keeps the
// text and, as its press went to the list, clicks nothing in the grid.
TEST_F(GridCombo, TheOpenListPicksOnAClickOnlyAndEndsEditingOnce)
{
    struct Case {
        const char* name;
        bool clickEntry;
        const wchar_t* cellText;
        int ends;  // the parent hears of a changed text only
    };
    for (const Case& c : {Case{"click on the entry", true, L"DHCP", 1}, Case{"click elsewhere", false, L"BootP", 0}}) {
        SCOPED_TRACE(c.name);
        grid.SetCellText(2, 2, L"BootP");
        ClickCell(2, 2);
        ASSERT_NE(Box(), nullptr);
        COMBOBOXINFO info;
        SendMessageW(Box(), CB_GETCOMBOBOXINFO, 0, reinterpret_cast<LPARAM>(&info));
        ASSERT_TRUE(IsWindowVisible(info.hwndList));
        RECT entry{};
        SendMessageW(info.hwndList, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&entry));
        const POINT onDhcp{(entry.left + entry.right) / 2, (entry.top + entry.bottom) / 2};
        const int ends = scene.parent.Count(GRIDN_ENDLABELEDIT);
        scene.MoveTo(info.hwndList, onDhcp);
        EXPECT_NE(Box(), nullptr) << "passing over an entry picks nothing";
        EXPECT_TRUE(IsWindowVisible(info.hwndList));
        if (c.clickEntry)
            scene.Click(info.hwndList, onDhcp);
        else
            ClickCell(4, 1);
        CGridScene::Settle();
        EXPECT_EQ(Box(), nullptr);
        EXPECT_EQ(grid.GetCellText(2, 2), CString(c.cellText));
        EXPECT_EQ(scene.parent.Count(GRIDN_ENDLABELEDIT), ends + c.ends);
        EXPECT_EQ(grid.GetFocusCell(), CCellID(2, 2)) << "the click that closed the list clicked nothing else";
    }
}

TEST_F(GridCombo, TheButtonShowsOnTheFocusCellAndTheExtentMakesRoomForIt)
{
    CGridCell plain;
    plain.SetGrid(&grid);
    plain.SetText(L"BootP");
    CDC* dc = grid.GetDC();
    EXPECT_EQ(Combo().GetCellExtent(dc).cx, plain.GetCellExtent(dc).cx + GetSystemMetrics(SM_CXVSCROLL));
    grid.ReleaseDC(dc);

    CRect cell;
    ASSERT_TRUE(grid.GetCellRect(2, 2, cell));
    const POINT inButton{cell.right - 5, cell.top + 5};
    const COLORREF before = scene.PixelOf(grid.m_hWnd, inButton);
    grid.SetFocusCell(2, 2);
    grid.Invalidate();
    EXPECT_NE(scene.PixelOf(grid.m_hWnd, inButton), before);
    // Too low for a button: none.
    grid.SetRowHeight(2, GetSystemMetrics(SM_CYHSCROLL) - 2);
    grid.Invalidate();
    ASSERT_TRUE(grid.GetCellRect(2, 2, cell));
    EXPECT_EQ(scene.PixelOf(grid.m_hWnd, {cell.right - 5, cell.top + 3}), grid.GetDefaultCell(FALSE, FALSE)->GetBackColour());
}
