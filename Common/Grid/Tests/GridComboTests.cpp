#include "Common/Grid/GridCellCombo.h"
#include "Common/Grid/ZellGrid.h"

#include "Common/Grid/Tests/GridTestSupport.h"
#include "Platform/Framework/ComboBox.h"

#include <gtest/gtest.h>

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
    std::wstring BoxText() const
    {
        wchar_t text[128]{};
        GetWindowTextW(Box(), text, 128);
        return text;
    }
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

TEST_F(GridCombo, ChoosingAnEntryEndsEditingWithItsTextOnce)
{
    ClickCell(2, 2);
    ASSERT_NE(Box(), nullptr);
    const int ends = scene.parent.Count(GRIDN_ENDLABELEDIT);
    SendMessageW(Box(), CB_SETCURSEL, 2, 0);
    SendMessageW(grid.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_INPLACE_CONTROL, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(Box()));
    CGridScene::Settle();
    EXPECT_EQ(Box(), nullptr);
    EXPECT_EQ(grid.GetCellText(2, 2), CString(L"DHCP"));
    EXPECT_EQ(scene.parent.Count(GRIDN_ENDLABELEDIT), ends + 1);
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
