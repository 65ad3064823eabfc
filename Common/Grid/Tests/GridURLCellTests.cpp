#include "Common/Grid/GridURLCell.h"
#include "Common/Grid/ZellGrid.h"

#include "Common/Grid/Tests/GridTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

using namespace ZELL::Grid;

using GridTest::CGridScene;

namespace {

// Notes the links it would open instead of starting a browser.
class CRecordingURLCell : public CGridURLCell {
    DECLARE_DYNCREATE(CRecordingURLCell)
public:
    std::vector<CString> opened;

protected:
    void OpenLink(const CString& link) override { opened.push_back(link); }
};

IMPLEMENT_DYNCREATE(CRecordingURLCell, CGridURLCell)

class GridURLCell : public ::testing::Test {
protected:
    CGridScene scene;
    CZellGrid grid;

    void SetUp() override
    {
        ASSERT_TRUE(scene.Make(grid));
        GridTest::Shape(grid, 4, 3, 24, 260);
        ASSERT_TRUE(grid.ReplaceCellClass(1, 1, RUNTIME_CLASS(CRecordingURLCell)));
        Cell().SetFormat(DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        Show(L"see www.example.org now");
    }
    CRecordingURLCell& Cell() { return *static_cast<CRecordingURLCell*>(grid.GetCellAt(1, 1)); }
    void Show(LPCWSTR text)
    {
        grid.SetCellText(1, 1, text);
        grid.Invalidate();
        grid.UpdateWindow();
        CGridScene::Settle();
    }
    // The middle of character `index`, relative to the cell.
    CPoint AtCharacter(int index)
    {
        const CString text = Cell().GetText();
        const double each = static_cast<double>(Cell().GetTextExtent(text).cx) / text.GetLength();
        return CPoint(static_cast<int>((index + 0.5) * each), 10);
    }
};

}

TEST_F(GridURLCell, OnlyTheLinkWordIsALinkAndAClickOpensExactlyIt)
{
    EXPECT_EQ(Cell().GetTextColour(), Cell().GetLinkColour());
    EXPECT_TRUE(Cell().LinkAt(AtCharacter(1)).IsEmpty());
    EXPECT_EQ(Cell().LinkAt(AtCharacter(4)), CString(L"www.example.org"));
    EXPECT_EQ(Cell().LinkAt(AtCharacter(14)), CString(L"www.example.org"));
    EXPECT_TRUE(Cell().LinkAt(AtCharacter(21)).IsEmpty());
    EXPECT_TRUE(Cell().LinkAt(CPoint(250, 10)).IsEmpty());

    Cell().OnClick(AtCharacter(1));
    EXPECT_TRUE(Cell().opened.empty());
    Cell().OnClick(AtCharacter(10));
    ASSERT_EQ(Cell().opened.size(), 1u);
    EXPECT_EQ(Cell().opened[0], CString(L"www.example.org"));

    Cell().SetAutoLaunch(FALSE);
    Cell().OnClick(AtCharacter(10));
    EXPECT_EQ(Cell().opened.size(), 1u);
}

TEST_F(GridURLCell, TheHandShowsOverTheLinkOnly)
{
    CRect rect;
    ASSERT_TRUE(grid.GetCellRect(1, 1, rect));
    const CPoint link = AtCharacter(8);
    scene.MoveTo(grid.m_hWnd, {rect.left + link.x, rect.top + link.y});
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
    const CPoint plain = AtCharacter(1);
    scene.MoveTo(grid.m_hWnd, {rect.left + plain.x, rect.top + plain.y});
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));
}

TEST_F(GridURLCell, CapitalPrefixesEmptyTextsAndEditingMakeNoLink)
{
    grid.GetCellAt(1, 1)->SetTextColour(CLR_DEFAULT);
    Show(L"HTTP://EXAMPLE.ORG");
    EXPECT_EQ(Cell().GetTextColour(), CLR_DEFAULT);
    EXPECT_TRUE(Cell().LinkAt(AtCharacter(3)).IsEmpty());
    Show(L"");
    EXPECT_TRUE(Cell().LinkAt(CPoint(0, 10)).IsEmpty());
    Cell().OnClick(CPoint(0, 10));
    EXPECT_TRUE(Cell().opened.empty());
    EXPECT_FALSE(Cell().Edit(1, 1, CRect(), CPoint(), 1, 'a'));
    EXPECT_TRUE(CGridURLCell::HasUrl(L"mailto:someone"));
    EXPECT_FALSE(CGridURLCell::HasUrl(L"Www.example.org"));
}
