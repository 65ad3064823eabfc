#include "Common/Grid/GridCellIpAddr.h"
#include "Common/Grid/GridCellMacAddr.h"
#include "Common/Grid/ZellGrid.h"

#include "Common/Grid/Tests/GridTestSupport.h"
#include "Platform/Controls/EditClipboard.h"
#include "Platform/Ui/Tests/WindowText.h"

#include <gtest/gtest.h>

using namespace ZELL::Grid;

using GridTest::CGridScene;

namespace {

class GridAddressCells : public ::testing::Test {
protected:
    CGridScene scene;
    CZellGrid grid;

    void SetUp() override
    {
        ASSERT_TRUE(scene.Make(grid));
        GridTest::Shape(grid, 6, 4, 24, 150);
        ASSERT_TRUE(grid.ReplaceCellClass(1, 1, RUNTIME_CLASS(CGridCellIpAddr)));
        ASSERT_TRUE(grid.ReplaceCellClass(2, 1, RUNTIME_CLASS(CGridCellMacAddr)));
        grid.SetFocus();
        CGridScene::Settle();
    }
    CGridCellIpAddr& Ip() { return *static_cast<CGridCellIpAddr*>(grid.GetCellAt(1, 1)); }
    CGridCellMacAddr& Mac() { return *static_cast<CGridCellMacAddr*>(grid.GetCellAt(2, 1)); }
    HWND Editor() const { return GetDlgItem(grid.m_hWnd, IDC_INPLACE_CONTROL); }
    std::wstring EditorText() const { return UiTest::TextOf(Editor()); }
    // Starts the editor by typing on the cell.
    void TypeOn(int row, int col, const std::wstring& text)
    {
        grid.SetFocusCell(row, col);
        CGridScene::Settle();
        scene.Type(text);
    }
    void SelectInEditor(int start, int end) const { SendMessageW(Editor(), EM_SETSEL, start, end); }
    int Ends() const { return scene.parent.Count(GRIDN_ENDLABELEDIT); }
};

}

TEST_F(GridAddressCells, AnIpGroupEndedByADotIsPaddedAndAnOverlargeOneBecomes255)
{
    grid.SetCellText(1, 1, L"");
    const int ends = Ends();
    TypeOn(1, 1, L"1.");
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(EditorText(), L"001.");
    scene.Type(L"300x");
    EXPECT_EQ(EditorText(), L"001.255");
    scene.Key(VK_RETURN);
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_EQ(grid.GetCellText(1, 1), CString(L"001.255"));
    EXPECT_EQ(Ends(), ends + 1);
}

TEST_F(GridAddressCells, SetAddressShowsTheLowBytesAndEscapeKeepsThem)
{
    EXPECT_EQ(Ip().GetAddress(), CString(L"192.168.1.2"));
    Ip().SetAddress(10, 0, 256 + 7, -1);
    EXPECT_EQ(grid.GetCellText(1, 1), CString(L"10.0.7.255"));
    const int ends = Ends();
    TypeOn(1, 1, L"9");
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(EditorText(), L"90.0.7.255");
    scene.Key(VK_ESCAPE);
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_EQ(grid.GetCellText(1, 1), CString(L"10.0.7.255"));
    EXPECT_EQ(Ends(), ends);
}

TEST_F(GridAddressCells, TheMacEditorStartsFromTheCellTextAndTakesOnlyHexDigits)
{
    EXPECT_EQ(Mac().GetMacText(), CString(L"00:00:00:00:00:00"));
    Mac().SetMacText(L"02:11:22:33:44:55");
    EXPECT_EQ(grid.GetCellText(2, 1), CString(L"02:11:22:33:44:55"));
    // A text set on the grid is what the editor shows, not an older MAC string.
    grid.SetCellText(2, 1, L"66:11:22:33:44:55");
    TypeOn(2, 1, L"a");
    ASSERT_NE(Editor(), nullptr);
    scene.Type(L"g");
    scene.Type(L"b");
    EXPECT_EQ(EditorText(), L"AB:11:22:33:44:55");
    // Tab takes the text and goes on editing the next cell.
    scene.Key(VK_TAB);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(2, 2));
    EXPECT_EQ(EditorText(), L"r2c2");
    scene.Key(VK_ESCAPE);
    EXPECT_EQ(grid.GetCellText(2, 1), CString(L"AB:11:22:33:44:55"));
    EXPECT_EQ(Mac().GetMacText(), CString(L"AB:11:22:33:44:55"));
}

TEST_F(GridAddressCells, PastingAMacKeepsItsColonsAndDeleteZeroesASelection)
{
    Mac().SetMacText(L"02:11:22:33:44:55");
    TypeOn(2, 1, L"1");
    ASSERT_NE(Editor(), nullptr);
    ASSERT_TRUE(ZELL::Controls::PutClipboardText(grid.m_hWnd, L"12:34:56:78:9a:bc"));
    SelectInEditor(0, -1);
    scene.Key('V', GridTest::kControl);
    EXPECT_EQ(EditorText(), L"12:34:56:78:9A:BC");

    SelectInEditor(3, 8);
    scene.Key(VK_DELETE);
    EXPECT_EQ(EditorText(), L"12:00:00:78:9A:BC");
    // Nothing selected inside the text: Delete leaves it alone.
    SelectInEditor(1, 1);
    scene.Key(VK_DELETE);
    EXPECT_EQ(EditorText(), L"12:00:00:78:9A:BC");
    // Cutting clears without putting anything on the clipboard.
    SelectInEditor(9, 17);
    scene.Key('X', GridTest::kControl);
    EXPECT_EQ(EditorText(), L"12:00:00:");
    EXPECT_EQ(ZELL::Controls::ClipboardText(grid.m_hWnd).value_or(L""), L"12:34:56:78:9a:bc");

    scene.Key(VK_RETURN);
    EXPECT_EQ(grid.GetCellText(2, 1), CString(L"12:00:00:"));
}

TEST_F(GridAddressCells, CtrlArrowAndLosingTheFocusEndTheEditOnce)
{
    grid.SetCellText(1, 1, L"");
    TypeOn(1, 1, L"7");
    ASSERT_NE(Editor(), nullptr);
    // A plain arrow moves the caret inside the address.
    scene.Key(VK_LEFT);
    EXPECT_NE(Editor(), nullptr);
    scene.Key(VK_DOWN, GridTest::kControl);
    EXPECT_EQ(grid.GetCellText(1, 1), CString(L"7"));
    EXPECT_EQ(grid.GetFocusCell(), CCellID(2, 1));
    scene.Key(VK_ESCAPE);
    EXPECT_EQ(Editor(), nullptr);

    const int ends = Ends();
    TypeOn(1, 1, L"8");
    ASSERT_NE(Editor(), nullptr);
    grid.SetFocusCell(3, 2);
    scene.parent.SetFocus();
    CGridScene::Settle();
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_EQ(grid.GetCellText(1, 1), CString(L"8"));
    EXPECT_EQ(Ends(), ends + 1);
}

TEST(MaskedEdit, RefusesMasksWithoutPlacesOrTooShortAndEmptyCharacterSets)
{
    CMaskedEdit edit(kMacAddressFormat);
    EXPECT_EQ(edit.GetMask(), CString(L"##:##:##:##:##:##"));
    EXPECT_FALSE(edit.SetMask(L"#"));
    EXPECT_FALSE(edit.SetMask(L"ab-cd"));
    EXPECT_FALSE(edit.SetAllowed(L""));
    EXPECT_EQ(edit.GetMask(), CString(L"##:##:##:##:##:##"));
    EXPECT_TRUE(edit.SetMask(L"##-##"));
    EXPECT_EQ(edit.GetMask(), CString(L"##-##"));
    EXPECT_TRUE(edit.SetAllowed(L"XY"));
}
