// The serial MODBUS page: word 2 shown field by field, a change stored into
// its own bits with the bits the page does not own kept, and an unknown code
// of the device kept when its list shows no selection.
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Products/Corvane/Pages/Views/ModbusParamPage.h"
#include "Products/Corvane/Pages/Views/Res/ServicePageIds.h"
#include "Products/Corvane/Pages/Views/Tests/Rigs/ServicePageRig.h"

namespace Corvane {

using namespace ServicePageIds;
using PageViewTest::CDriven;

namespace {

constexpr DWORD kWord = CModbusParamCodec::kParamWord;
// Bits 14 and 15 belong to other settings of the device.
constexpr WORD kForeignBits = 0xC000;

class ModbusParamPage : public ::testing::Test {
protected:
    void SetUp() override
    {
        GetLanguageSupport().SetText(L"USE_FB_CONFIG_LIB", L"Use library");
        GetLanguageSupport().SetText(L"COMPATIBILITY_MODE", L"Compatibility");
    }

    ServicePageTest::CRig m_Rig;
};

}

TEST_F(ModbusParamPage, AnEmptyWordShowsTheFirstEntriesAndTheLibraryInUseOnAController)
{
    CDriven<CModbusParamPage> page;
    m_Rig.Show(page, true, true);
    UiTest::CDialogDriver driver = m_Rig.Driver();
    for (int list : {kBaudList, kFrameList, kEndOfFrameList, kModeList})
        EXPECT_EQ(m_Rig.Selection(list), 0) << list;
    EXPECT_EQ(driver.Text(kEndOfFrameList), L"Frametime");
    EXPECT_EQ(driver.Text(kModeList), L"ASCII");
    EXPECT_FALSE(driver.IsChecked(kErrorCheckBox));
    EXPECT_TRUE(driver.IsChecked(kWatchdogBox)) << "bit 12 clear is the watchdog on";
    EXPECT_TRUE(driver.IsChecked(kLibraryBox)) << "bit 13 clear is the library in use";
    EXPECT_EQ(driver.Text(kLibraryBox), L"Use library");
}

TEST_F(ModbusParamPage, ACouplerShowsBit13AsCompatibilityMode)
{
    m_Rig.m_Block[kWord] = 0x2000;
    CDriven<CModbusParamPage> page;
    m_Rig.Show(page, true, false);
    EXPECT_TRUE(m_Rig.Driver().IsChecked(kLibraryBox));
    EXPECT_EQ(m_Rig.Driver().Text(kLibraryBox), L"Compatibility");
    m_Rig.Click(kLibraryBox);
    ASSERT_TRUE(page.StoreIfDataPresent());
    EXPECT_EQ(m_Rig.m_Block[kWord], 0);
}

TEST_F(ModbusParamPage, ChosenBaudRateAndErrorCheckGoIntoTheirBitsOnly)
{
    m_Rig.m_Block[kWord] = kForeignBits | (3 << 7) | 0x0400;
    CDriven<CModbusParamPage> page;
    m_Rig.Show(page, true, true);
    EXPECT_EQ(m_Rig.Driver().Text(kEndOfFrameList), L"500ms") << "code 3 is the seventh entry";
    EXPECT_EQ(m_Rig.Driver().Text(kModeList), L"RTU");

    const std::vector<WORD> before = m_Rig.Words();
    m_Rig.Choose(kBaudList, 6);
    m_Rig.Click(kErrorCheckBox);
    m_Rig.Click(kWatchdogBox);
    EXPECT_GE(m_Rig.Changes(), 3);
    ASSERT_TRUE(page.StoreIfDataPresent());
    EXPECT_EQ(m_Rig.m_Block[kWord], kForeignBits | 0x1000 | 0x0800 | 0x0400 | (3 << 7) | 6);
    EXPECT_EQ(m_Rig.ChangedWords(before), std::vector<std::size_t>{kWord});
}

TEST_F(ModbusParamPage, AnUnknownFrameCodeShowsNoSelectionAndSurvivesAStore)
{
    m_Rig.m_Block[kWord] = (5 << 4) | 2;
    CDriven<CModbusParamPage> page;
    m_Rig.Show(page, true, true);
    EXPECT_EQ(m_Rig.Selection(kFrameList), -1);
    m_Rig.Choose(kBaudList, 7);
    ASSERT_TRUE(page.StoreIfDataPresent());
    EXPECT_EQ(m_Rig.m_Block[kWord], (5 << 4) | 7) << "code 5 is kept, not replaced by code 7";
}

TEST_F(ModbusParamPage, AWordThatChangedUnderThePageIsNotPutBack)
{
    CDriven<CModbusParamPage> page;
    m_Rig.Show(page, true, true);
    m_Rig.m_Block[kWord] = 9;
    ASSERT_TRUE(page.StoreIfDataPresent());
    EXPECT_EQ(m_Rig.m_Block[kWord], 9) << "nothing was changed on the page";
}

TEST_F(ModbusParamPage, ALanguageChangeRefillsTheFrameListAndKeepsItsSelection)
{
    m_Rig.m_Block[kWord] = 1 << 4;
    CDriven<CModbusParamPage> page;
    m_Rig.Show(page, true, true);
    ASSERT_EQ(m_Rig.Selection(kFrameList), 1);
    GetLanguageSupport().SetText(L"DATAFRAME_8E1", L"8 data bits, even parity");
    page.UpdateLanguageTexts();
    m_Rig.Driver().PumpUntilIdle();
    EXPECT_EQ(m_Rig.Selection(kFrameList), 1);
    EXPECT_EQ(m_Rig.Driver().Text(kFrameList), L"8 data bits, even parity");
    EXPECT_EQ(m_Rig.Changes(), 0) << "the page's own refill is no change of the user";
}

}  // namespace Corvane
