// The grid pages' rows: how each row state looks, and a read's progress or
// failure shown as the grid's one row.
#include "Products/Corvane/Pages/Views/GridPageBase.h"
#include "Products/Corvane/Pages/Views/Tests/Rigs/PageBaseRig.h"

#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Platform/Base/LastError.h"

#include <gtest/gtest.h>

namespace Corvane {

using namespace PageBaseTest;
using namespace ZELL::Grid;

namespace {

constexpr int kGridId = 1118;

class CTestGridPage : public CGridPageBase {
public:
    explicit CTestGridPage(std::vector<BYTE> image) : m_arrImage(std::move(image))
    {
        ConstructIndirect(reinterpret_cast<LPCDLGTEMPLATEW>(m_arrImage.data()));
    }

protected:
    void DoDataExchange(CDataExchange* dx) override
    {
        CGridPageBase::DoDataExchange(dx);
        DDX_Control(dx, kGridId, m_Grid);
    }
    BOOL OnInitDialog() override
    {
        CGridPageBase::OnInitDialog();
        SetUpGrid(1, 3, 0, 1);
        return TRUE;
    }

private:
    std::vector<BYTE> m_arrImage;
};

class GridPage : public ::testing::Test {
protected:
    void SetUp() override
    {
        ZELL::Controls::RegisterStandardControls();
        m_App.m_pMainWnd = CWnd::FromHandlePermanent(m_Main.Handle());
        GetLanguageSupport().SetText(L"STATE_GRID_READ", L"Reading ...");
        GetLanguageSupport().SetText(L"STATE_GRID_IDENTIFY", L"Identifying ...");
        m_Page.SetInSheet(true);
        m_Host.m_arrPages = {&m_Page};
        m_arrHostImage = ControlTest::DialogImage(L"Host", 300, 180,
                                               {ControlTest::Static(L"", 0, 5, 5, 290, 170, kPlaceholder)},
                                               WS_POPUP | WS_VISIBLE);
        ASSERT_TRUE(m_Host.CreateIndirect(reinterpret_cast<LPCDLGTEMPLATEW>(m_arrHostImage.data())));
        CCouplerSettingsPageBase::SetPagesSuspended(false);
    }
    void TearDown() override
    {
        m_Host.DestroyWindow();
        UiTest::Drain();
        m_App.m_pMainWnd = nullptr;
        CCouplerSettingsPageBase::SetPagesSuspended(true);
    }
    static std::vector<BYTE> PageImage()
    {
        return ControlTest::DialogImage(L"Grid", 280, 160,
                                        {ControlTest::Common(CZellGrid::kClassName, kGridId, WS_BORDER, 5, 5, 270, 150)},
                                        WS_CHILD | DS_CONTROL);
    }
    CZellGrid& Grid() { return m_Page.Grid(); }
    COLORREF Face() const { return ::GetSysColor(COLOR_BTNFACE); }

    CWinApp m_App{L"GridPageTests"};
    CMainWindow m_Main;
    CTestGridPage m_Page{PageImage()};
    CHostDialog m_Host;
    std::vector<BYTE> m_arrHostImage;
};

}

TEST_F(GridPage, TheGridIsSetUpReadOnlyWithAFixedImageColumn)
{
    ASSERT_NE(Grid().GetSafeHwnd(), nullptr);
    EXPECT_TRUE(m_Page.IsGridSetUp());
    EXPECT_EQ(Grid().GetColumnCount(), 3);
    EXPECT_EQ(Grid().GetFixedColumnCount(), 1);
    EXPECT_EQ(Grid().GetFixedRowCount(), 0);
    EXPECT_FALSE(Grid().IsEditingEnabled());
    EXPECT_FALSE(Grid().IsSelectionEnabled());
    EXPECT_EQ(Grid().GetSelectedBackColour(), CGridPageBase::kSelectedBack);
    EXPECT_EQ(Grid().GetGridLineColour(), Face());

    m_Page.InitGridRow(3, false);
    EXPECT_EQ(Grid().GetRowCount(), 4) << "a row beyond the grid grows it";
    EXPECT_EQ(Grid().GetCellFormat(3, 1), CGridPageBase::kValueFormat);
    const auto readOnly = [this](int col) { return (Grid().GetCellState(3, col) & GRIDSTATE_READONLY) != 0; };
    EXPECT_FALSE(readOnly(2)) << "the value column as the caller asks";
    EXPECT_TRUE(readOnly(1));
    m_Page.InitGridRow(3, true);
    EXPECT_TRUE(readOnly(2));
}

TEST_F(GridPage, EachRowStateHasItsImageBackgroundAndTextColour)
{
    struct tCase {
        int state;
        LPCWSTR name;
        int image;
        COLORREF back;
        COLORREF text;
    };
    const tCase cases[] = {
        {CGridPageBase::kRowNormal, L"Name ", CGridPageBase::kImageNormal, CLR_DEFAULT, CLR_DEFAULT},
        {CGridPageBase::kRowError, L"Name ", CGridPageBase::kImageError, CLR_DEFAULT, CGridPageBase::kErrorTextColour},
        {CGridPageBase::kRowError, L"", CGridPageBase::kImageError, Face(), CGridPageBase::kErrorTextColour},
        {CGridPageBase::kRowReading, L"Name ", CGridPageBase::kImageBusy, Face(), CLR_DEFAULT},
        {CGridPageBase::kRowIdentifying, L"Name ", CGridPageBase::kImageBusy, Face(), CLR_DEFAULT},
        {CGridPageBase::kRowMarked, L"Name ", CGridPageBase::kImageMarked, Face(), CLR_DEFAULT},
        {17, L"Name ", CGridPageBase::kImageNormal, CLR_DEFAULT, CLR_DEFAULT},
    };
    for (const tCase& c : cases) {
        m_Page.InitGridRow(0, true);
        m_Page.FillGrid(0, c.name, L"value", c.state);
        EXPECT_EQ(Grid().GetCellImage(0, 0), c.image) << c.state;
        EXPECT_EQ(Grid().GetCellBackColour(0, 1), c.back) << c.state;
        EXPECT_EQ(Grid().GetCellTextColour(0, 2), c.text) << c.state;
        EXPECT_EQ(Grid().GetCellText(0, 2), L"value");
    }
    m_Page.SetRowImage(0, 6);
    EXPECT_EQ(Grid().GetCellImage(0, 0), 6);
    m_Page.ResetRowImage(0);
    EXPECT_EQ(Grid().GetCellImage(0, 0), CGridPageBase::kImageNormal);
}

TEST_F(GridPage, AStateReplacesTheRowsWithOneRowOfItsText)
{
    m_Page.InitGridRow(4, true);
    m_Page.ShowGridState(CGridPageBase::kRowIdentifying, L"");
    ASSERT_EQ(Grid().GetRowCount(), 1);
    EXPECT_EQ(Grid().GetCellText(0, 1), L"");
    EXPECT_EQ(Grid().GetCellText(0, 2), L"Identifying ...");
    m_Page.ShowGridState(CGridPageBase::kRowReading, nullptr);
    EXPECT_EQ(Grid().GetCellText(0, 2), L"Reading ...");
    m_Page.ShowGridState(CGridPageBase::kRowReading, L"Step 3 of 9");
    EXPECT_EQ(Grid().GetCellText(0, 2), L"Step 3 of 9") << "a given text stands";

    ::SetLastError(0x20080003);
    m_Page.ShowGridState(CGridPageBase::kRowError, L"");
    EXPECT_FALSE(Grid().GetCellText(0, 2).IsEmpty()) << "the failure's own text";
    EXPECT_EQ(Grid().GetCellTextColour(0, 2), CGridPageBase::kErrorTextColour);
    m_Page.ShowGridStateById(CGridPageBase::kRowError, kAddressNameId);
    EXPECT_EQ(Grid().GetCellText(0, 2), L"IP address");
}

}  // namespace Corvane
