#include "Common/Grid/ZellGrid.h"

#include "Common/Grid/Tests/GridTestSupport.h"
#include "Platform/Framework/DragDrop/OleDropSource.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <deque>
#include <thread>
#include <functional>

using namespace ZELL::Grid;

using GridTest::CentreOf;
using GridTest::CGridScene;

namespace {

// The user's next step is injected each time the drag asks for the cursor.
class CScriptedDropSource : public COleDropSource {
public:
    SCODE GiveFeedback(DROPEFFECT effect) override
    {
        started = true;
        if (!script.empty()) {
            auto next = std::move(script.front());
            script.pop_front();
            next();
        }
        return COleDropSource::GiveFeedback(effect);
    }
    std::deque<std::function<void()>> script;
    std::atomic<bool> started = false;
};

class GridDragDrop : public ::testing::Test {
protected:
    CGridScene scene{640, 320};
    CZellGrid grid;
    CZellGrid other;
    CScriptedDropSource dropSource;

    static void Shape(CZellGrid& target)
    {
        GridTest::Shape(target, 8, 4, 22, 60);
        target.EnableDragAndDrop(TRUE);
    }
    void SetUp() override
    {
        ASSERT_TRUE(scene.Make(grid, {10, 10, 300, 300}));
        ASSERT_TRUE(scene.Make(other, {320, 10, 610, 300}));
        Shape(grid);
        Shape(other);
        grid.SetDropSource(&dropSource);
        CGridScene::Settle();
        // Selects (2, 1) to (2, 2).
        scene.Click(grid.m_hWnd, CentreOf(grid, 2, 1));
        scene.Click(grid.m_hWnd, CentreOf(grid, 2, 2), GridTest::kShift);
    }
    // Presses on a selected cell and drags to the cell of the target grid.
    void DragTo(CZellGrid& target, int row, int col, bool copy = false)
    {
        const POINT at = CGridScene::Screen(target.m_hWnd, CentreOf(target, row, col));
        const POINT from = CGridScene::Screen(grid.m_hWnd, CentreOf(grid, 2, 1));
        dropSource.script = {
            [at] { CGridScene::Display().InjectMouseMove(at); },
            [at] { CGridScene::Display().InjectMouseMove({at.x + 1, at.y}); },
            [at, copy] {
                if (copy)
                    CGridScene::Display().InjectKeyDown(VK_CONTROL);
                CGridScene::Display().InjectMouseMove(at);
            },
            [at] { CGridScene::Display().InjectMouseUp(Display::MouseButton::Left, at); },
        };
        Platform::Clock::Advance(1000);
        CGridScene::Display().InjectMouseMove(from);
        CGridScene::Display().InjectMouseDown(Display::MouseButton::Left, from);
        // The first move makes the grid start the drag; the drag itself
        // starts with a move it sees, which comes while it waits for one.
        CGridScene::Display().InjectMouseMove({from.x + 10, from.y + 10});
        dropSource.started = false;
        std::thread mover([this, from] {
            for (int i = 0; i < 100 && !dropSource.started; ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                if (!dropSource.started)
                    CGridScene::Display().InjectMouseMove({from.x + 20 + i % 2, from.y + 20});
            }
        });
        CGridScene::Settle();
        mover.join();
        if (copy)
            CGridScene::Display().InjectKeyUp(VK_CONTROL);
        CGridScene::Settle();
        EXPECT_TRUE(dropSource.script.empty()) << "the drag ended before its last step";
    }
};

}

TEST_F(GridDragDrop, AMoveInsideOneGridClearsTheDraggedCells)
{
    DragTo(grid, 5, 2);
    EXPECT_EQ(grid.GetCellText(5, 2), CString(L"r2c1"));
    EXPECT_EQ(grid.GetCellText(5, 3), CString(L"r2c2"));
    EXPECT_TRUE(grid.GetCellText(2, 1).IsEmpty());
    EXPECT_TRUE(grid.GetCellText(2, 2).IsEmpty());
    EXPECT_EQ(scene.parent.Count(GRIDN_BEGINDRAG), 1);
    EXPECT_EQ(grid.GetMouseMode(), CZellGrid::kNothing);
}

TEST_F(GridDragDrop, AMoveOntoItsOwnCellsKeepsWhatLanded)
{
    DragTo(grid, 2, 2);
    EXPECT_EQ(grid.GetCellText(2, 2), CString(L"r2c1"));
    EXPECT_EQ(grid.GetCellText(2, 3), CString(L"r2c2"));
    EXPECT_TRUE(grid.GetCellText(2, 1).IsEmpty());
}

TEST_F(GridDragDrop, BetweenTwoGridsAMoveEmptiesTheSourceAndACopyDoesNot)
{
    DragTo(other, 3, 1);
    EXPECT_EQ(other.GetCellText(3, 1), CString(L"r2c1"));
    EXPECT_EQ(other.GetCellText(3, 2), CString(L"r2c2"));
    EXPECT_TRUE(grid.GetCellText(2, 1).IsEmpty());

    grid.SetCellText(2, 1, L"again");
    grid.SetCellText(2, 2, L"twice");
    grid.SetSelectedRange(2, 1, 2, 2);
    grid.SetFocusCell(2, 2);
    DragTo(other, 6, 1, true);
    EXPECT_EQ(other.GetCellText(6, 1), CString(L"again"));
    EXPECT_EQ(grid.GetCellText(2, 1), CString(L"again"));
}

TEST_F(GridDragDrop, ReadOnlyTargetsTakeNothing)
{
    for (int col = 1; col < 4; ++col)
        other.SetCellReadOnly(4, col);
    DragTo(other, 4, 1);
    EXPECT_EQ(other.GetCellText(4, 1), CString(L"r4c1"));
    EXPECT_EQ(grid.GetCellText(2, 1), CString(L"r2c1"));
}
