// The button cell (its button, clicks and the text part it edits) and the
// caption cell that spans the grid's width from column 0.
#include "Common/Grid/GridCellButton.h"
#include "Common/Grid/GridCellCaption.h"
#include "Common/Grid/Tests/GridTestSupport.h"
#include "Common/Grid/ZellGrid.h"

#include <gtest/gtest.h>

#include <vector>

using namespace ZELL::Grid;

using GridTest::CentreOf;
using GridTest::CGridScene;

namespace {

// Notes every button-click message with the cell it names.
class CClickReceiver : public CWnd {
public:
    std::vector<LPARAM> clicks;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == CGridCellButton::kButtonClicked && wParam == 0)
            clicks.push_back(lParam);
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class GridButtonCell : public ::testing::Test {
protected:
    CGridScene scene;
    CZellGrid grid;
    CClickReceiver receiver;

    void SetUp() override
    {
        ASSERT_TRUE(scene.Make(grid));
        GridTest::Shape(grid, 4, 3, 24, 120);
        ASSERT_TRUE(grid.ReplaceCellClass(1, 1, RUNTIME_CLASS(CGridCellButton)));
        ASSERT_TRUE(receiver.CreateEx(0, CWnd::DefaultClassName(), L"receiver", WS_POPUP, 0, 0, 10, 10, nullptr,
                                      nullptr));
        Cell().SetNotifyWindow(receiver.m_hWnd);
        Repaint();
    }
    void TearDown() override
    {
        if (receiver.m_hWnd != nullptr)
            receiver.DestroyWindow();
    }
    CGridCellButton& Cell() { return *static_cast<CGridCellButton*>(grid.GetCellAt(1, 1)); }
    void Repaint()
    {
        grid.Invalidate();
        grid.UpdateWindow();
        CGridScene::Settle();
    }
    CRect CellRect(int row, int col)
    {
        CRect rect;
        grid.GetCellRect(row, col, rect);
        return rect;
    }
};

}

TEST_F(GridButtonCell, TheButtonSitsAtTheRightEdgeAndTheTextPartEndsBeforeIt)
{
    const CRect cell = CellRect(1, 1);
    const CRect button = Cell().GetButtonRect();
    EXPECT_EQ(button.right, cell.right);
    EXPECT_EQ(button.Width(), ::GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(button.top, cell.top);
    EXPECT_EQ(button.bottom, cell.bottom);
    EXPECT_EQ(Cell().GetRow(), 1);
    EXPECT_EQ(Cell().GetColumn(), 1);

    CRect text = cell;
    ASSERT_TRUE(Cell().GetTextRect(text));
    EXPECT_EQ(text.right, button.left - 2);
    EXPECT_EQ(text.left, cell.left);

    // The button face is drawn there, and the caption on it.
    EXPECT_STREQ(Cell().GetButtonText(), L"...");
    EXPECT_EQ(scene.PixelOf(grid.m_hWnd, CPoint(button.left + 3, button.top + 3)), ::GetSysColor(COLOR_BTNFACE));
}

TEST_F(GridButtonCell, ACellSmallerThanTheScrollBarIsAllButton)
{
    const int bar = ::GetSystemMetrics(SM_CYHSCROLL);
    const CRect small(10, 10, 10 + bar, 10 + 40);
    EXPECT_EQ(CGridCellButton::ButtonRectOf(small), small);
    const CRect flat(10, 10, 200, 10 + bar);
    EXPECT_EQ(CGridCellButton::ButtonRectOf(flat), flat);
    const CRect roomy(10, 10, 200, 11 + bar);
    EXPECT_EQ(CGridCellButton::ButtonRectOf(roomy).left, 200 - ::GetSystemMetrics(SM_CXVSCROLL));

    grid.SetRowHeight(1, bar - 2);
    Repaint();
    EXPECT_EQ(Cell().GetButtonRect(), CellRect(1, 1));
}

TEST_F(GridButtonCell, AClickOnTheButtonReportsTheCellAndLeavesItRaised)
{
    const CRect button = Cell().GetButtonRect();
    scene.Click(grid.m_hWnd, button.CenterPoint());
    ASSERT_EQ(receiver.clicks.size(), 1u);
    EXPECT_EQ(receiver.clicks[0], reinterpret_cast<LPARAM>(&Cell()));
    EXPECT_FALSE(Cell().IsPressed());
    // Once it is the focus cell, a click on its button still is no edit.
    scene.Click(grid.m_hWnd, button.CenterPoint());
    EXPECT_EQ(receiver.clicks.size(), 2u);
    EXPECT_FALSE(Cell().IsEditing());
}

TEST_F(GridButtonCell, AClickInTheTextPartSendsNothingAndEditsOnlyTheTextPart)
{
    const CRect cell = CellRect(1, 1);
    const CPoint inText(cell.left + 10, cell.CenterPoint().y);
    scene.Click(grid.m_hWnd, inText);
    EXPECT_TRUE(receiver.clicks.empty());
    EXPECT_FALSE(Cell().IsPressed());

    Platform::Clock::Advance(1000);
    scene.Click(grid.m_hWnd, inText);
    ASSERT_TRUE(Cell().IsEditing());
    CWnd* editor = Cell().GetEditWindow();
    ASSERT_NE(editor, nullptr);
    CRect editRect;
    editor->GetWindowRect(editRect);
    grid.ScreenToClient(editRect);
    EXPECT_LE(editRect.right, Cell().GetButtonRect().left - 1);
    grid.EndEditing();
}

TEST_F(GridButtonCell, PressingTellsThePreviousStateAndAButtonDownOutsideDoesNothing)
{
    EXPECT_FALSE(Cell().SetPressed(TRUE));
    EXPECT_TRUE(Cell().SetPressed(FALSE));
    const CRect button = Cell().GetButtonRect();
    Cell().OnButtonDown(CPoint(button.Width() + 3, 2));
    EXPECT_FALSE(Cell().IsPressed());
    Cell().OnButtonDown(CPoint(2, 2));
    EXPECT_TRUE(Cell().IsPressed());
}

TEST_F(GridButtonCell, APressedButtonIsDrawnSunken)
{
    const CRect button = Cell().GetButtonRect();
    const CPoint corner(button.left + 1, button.top + 1);
    const COLORREF raised = scene.PixelOf(grid.m_hWnd, corner);
    Cell().SetPressed(TRUE);
    Repaint();
    EXPECT_NE(scene.PixelOf(grid.m_hWnd, corner), raised);
    Cell().SetPressed(FALSE);
    Repaint();
    EXPECT_EQ(scene.PixelOf(grid.m_hWnd, corner), raised);
}

TEST_F(GridButtonCell, TheExtentMakesRoomForTheButton)
{
    CGridCell plain;
    plain.SetGrid(&grid);
    plain.SetText(L"value");
    Cell().SetText(L"value");
    const CSize withButton = Cell().GetCellExtent(nullptr);
    const CSize without = plain.GetCellExtent(nullptr);
    EXPECT_EQ(withButton.cx, without.cx + ::GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(withButton.cy, without.cy + ::GetSystemMetrics(SM_CYHSCROLL));
}

namespace {

class GridCaptionCell : public ::testing::Test {
protected:
    CGridScene scene;
    CZellGrid grid;
    static constexpr COLORREF kCaptionBack = RGB(200, 40, 40);
    static constexpr COLORREF kOtherBack = RGB(40, 40, 200);

    void SetUp() override
    {
        ASSERT_TRUE(scene.Make(grid));
        GridTest::Shape(grid, 4, 4, 24, 80);
        for (int col = 0; col < 4; ++col)
            ASSERT_TRUE(grid.ReplaceCellClass(2, col, RUNTIME_CLASS(CGridCellCaption)));
        grid.SetCellBackColour(2, 0, kCaptionBack);
        grid.SetCellBackColour(2, 2, kOtherBack);
        grid.SetCellText(2, 2, L"");
        grid.Invalidate();
        grid.UpdateWindow();
        CGridScene::Settle();
    }
};

}

TEST_F(GridCaptionCell, ColumnZeroSpansTheClientWidthAndOtherColumnsDrawNothing)
{
    CRect client;
    grid.GetClientRect(client);
    const int y = GridTest::CentreOf(grid, 2, 1).y;
    // Column 2's own back colour never shows: its cell draws nothing over the span.
    EXPECT_EQ(scene.PixelOf(grid.m_hWnd, CPoint(GridTest::CentreOf(grid, 2, 2).x, y)), kCaptionBack);
    EXPECT_EQ(scene.PixelOf(grid.m_hWnd, CPoint(GridTest::CentreOf(grid, 2, 3).x, y)), kCaptionBack);
    // Beyond the last column, up to the client's right edge.
    EXPECT_EQ(scene.PixelOf(grid.m_hWnd, CPoint(client.right - 4, y)), kCaptionBack);

    CGridCellCaption* other = static_cast<CGridCellCaption*>(grid.GetCellAt(2, 2));
    CDC* dc = grid.GetDC();
    EXPECT_FALSE(other->Draw(dc, 2, 2, CRect(160, 48, 239, 71)));
    EXPECT_TRUE(static_cast<CGridCellCaption*>(grid.GetCellAt(2, 0))->Draw(dc, 2, 0, CRect(0, 48, 79, 71)));
    grid.ReleaseDC(dc);
}
