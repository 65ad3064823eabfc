// The two grids of the program's pages, as the headless display draws them,
// against the pictures kept beside the tests (the X11 screen test compares
// the same window on a real server with this rendering).
#include "Common/Grid/Tests/GridSampleWindow.h"
#include "Common/Grid/Tests/GridTestSupport.h"
#include "Platform/Ui/Tests/GoldenImage.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(GridGolden, TheIdentificationAndNetworkParameterGridsLookAsKept)
{
    GridTest::CGridScene scene;
    CGridSampleWindow window;
    ASSERT_TRUE(window.Make(0, 0));
    window.UpdateWindow();
    GridTest::CGridScene::Settle();
    // What the pictures rely on: the page set-up took, and nothing hangs out of the grids.
    EXPECT_EQ(window.network.GetFixedRowCount(), 1);
    EXPECT_EQ(window.identification.GetFixedRowCount(), 0);
    EXPECT_EQ(window.network.GetCellText(2, 2), CString(L"192.168.1.17"));
    EXPECT_FALSE(window.network.IsScrollBarShown(SB_VERT));

    std::filesystem::create_directories(ZELL_GRID_OUTPUT_DIR);
    const std::string png = std::string(ZELL_GRID_OUTPUT_DIR) + "/grid-pages.png";
    ASSERT_TRUE(GridTest::CGridScene::Display().SaveAsPng(NativeWindowOf(window.m_hWnd), png));
    EXPECT_TRUE(UiTest::MatchesGolden(png, "grid-pages", ZELL_GRID_GOLDEN_DIR));
    window.DestroyWindow();
}
