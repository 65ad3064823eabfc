// The MODBUS page: the words of the 32-bit layout shown and stored, the
// masks read as hexadecimal, the 16-bit layout touching word 2 alone, a
// configuration list without selection keeping word 2, and out-of-range
// values and texts that are no number refused with their balloon.
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Products/Corvane/Pages/Views/ModbusPage.h"
#include "Products/Corvane/Pages/Views/Res/ServicePageIds.h"
#include "Products/Corvane/Pages/Views/Tests/Rigs/ServicePageRig.h"

#include "Platform/Controls/ComboStyles.h"
#include "Platform/Controls/EditStyles.h"

#include <map>

namespace Corvane {

using namespace ServicePageIds;
using PageViewTest::CDriven;

namespace {

using Codec = CModbusCodec;

constexpr char kCapabilities[] = "[0612-0001]\nFBC=32\n"
                                 "[MODBUS]\nConnectionWatchdogMax=1000\nConnectionWatchdogDef32=700\n"
                                 "ConnectionWatchdogDef16=50\n";

class ModbusPage : public ::testing::Test {
protected:
    void SetUp() override
    {
        GetLanguageSupport().SetText(L"TT_CODINGMASK_01_16_HDR", L"Mask 1-16");
        GetLanguageSupport().SetText(L"TT_CONNECTION_WATCHDOG_HDR", L"Connection watchdog");
        GetLanguageSupport().SetText(L"ERROR_OUT_OF_RANGE_HEX", L"hex 0x%X..0x%X");
        GetLanguageSupport().SetText(L"LBL_WATCHDOG_MS", L"Watchdog [ms]");
        m_Rig.UseCapabilities(kCapabilities);
        m_Rig.m_Block[Codec::kCloseSocketWord] = 1;
        m_Rig.m_Block[Codec::kSharedWord] = 1;
        m_Rig.m_Block[Codec::kWatchdogTimeoutWord] = 30;
        m_Rig.m_Block[Codec::kMask1Word] = 0x00F0;
        m_Rig.m_Block[Codec::kMask2Word] = 0xABCD;
        m_Rig.m_Block[Codec::kMaxConnectionsWord] = 3;
        m_Rig.m_Block[Codec::kConnectionWatchdogWord] = 100;
    }

    ServicePageTest::CRig m_Rig;
};

}

TEST_F(ModbusPage, TheWideLayoutShowsItsWordsAndStoresAMaskAlone)
{
    CDriven<CModbusPage> page;
    m_Rig.Show(page);
    UiTest::CDialogDriver driver = m_Rig.Driver();
    EXPECT_EQ(driver.Text(kMask1Edit), L"0x00F0");
    EXPECT_EQ(driver.Text(kMask2Edit), L"0xABCD");
    EXPECT_EQ(driver.Text(kWatchdogTimeoutEdit), L"30");
    EXPECT_EQ(driver.Text(kMaxConnectionsEdit), L"3");
    EXPECT_EQ(driver.Text(kConnectionWatchdogEdit), L"100");
    EXPECT_TRUE(driver.IsChecked(kCloseSocketBox));
    EXPECT_EQ(m_Rig.Selection(kConfigurationList), 1);

    const std::vector<WORD> before = m_Rig.Words();
    m_Rig.Replace(kMask1Edit, L"ffff");
    EXPECT_TRUE(page.m_arrBalloons.empty()) << "a mask without 0x is hexadecimal too";
    EXPECT_EQ(m_Rig.Changes(), 1);
    ASSERT_TRUE(page.StoreIfDataPresent());
    EXPECT_EQ(m_Rig.m_Block[Codec::kMask1Word], 0xFFFF);
    EXPECT_EQ(m_Rig.ChangedWords(before), std::vector<std::size_t>{Codec::kMask1Word});
}

TEST_F(ModbusPage, AMaskBeyondSixteenBitsShowsTheHexadecimalBalloonAndTheStoreFails)
{
    CDriven<CModbusPage> page;
    m_Rig.Show(page);
    m_Rig.Replace(kMask1Edit, L"10000");
    ASSERT_EQ(page.m_arrBalloons.size(), 1u);
    EXPECT_EQ(page.m_arrBalloons[0].title, CString(L"Mask 1-16"));
    EXPECT_EQ(page.m_arrBalloons[0].text, CString(L"hex 0x0..0xFFFF"));
    EXPECT_FALSE(page.StoreIfDataPresent());
    EXPECT_EQ(m_Rig.m_Block[Codec::kMask1Word], 0) << "the words are written, cut to 16 bits";
    m_Rig.Replace(kMask1Edit, L"0x");
    EXPECT_EQ(page.m_arrBalloons.size(), 2u) << "only the refused store added one";
    EXPECT_TRUE(page.StoreIfDataPresent()) << "\"0x\" is taken as 0";
}

TEST_F(ModbusPage, AConfigurationListWithoutSelectionKeepsWord2)
{
    CDriven<CModbusPage> page;
    m_Rig.Show(page);
    ::SendMessageW(m_Rig.Driver().Control(kConfigurationList), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    ASSERT_TRUE(page.StoreIfDataPresent());
    EXPECT_EQ(m_Rig.m_Block[Codec::kSharedWord], 1) << "never 0xFFFF";
    m_Rig.Choose(kConfigurationList, 0);
    EXPECT_GE(m_Rig.Changes(), 1);
    ASSERT_TRUE(page.StoreIfDataPresent());
    EXPECT_EQ(m_Rig.m_Block[Codec::kSharedWord], 0);
}

TEST_F(ModbusPage, TheNarrowLayoutEditsTheWatchdogInWord2Only)
{
    m_Rig.m_Block[Codec::kSharedWord] = 250;
    CDriven<CModbusPage> page;
    m_Rig.Show(page, false, false);
    UiTest::CDialogDriver driver = m_Rig.Driver();
    EXPECT_EQ(driver.Text(kConnectionWatchdogLabel), L"Watchdog [ms]");
    EXPECT_EQ(driver.Text(kConnectionWatchdogEdit), L"250");
    for (int id : {kMask1Edit, kMask2Edit, kWatchdogTimeoutEdit, kConfigurationList, kCloseSocketBox,
                   kMaxConnectionsEdit})
        EXPECT_FALSE(driver.IsVisible(id)) << id;
    EXPECT_EQ(driver.Text(kMask1Edit), L"");

    const std::vector<WORD> before = m_Rig.Words();
    m_Rig.Replace(kConnectionWatchdogEdit, L"900");
    ASSERT_TRUE(page.StoreIfDataPresent());
    EXPECT_EQ(m_Rig.ChangedWords(before), std::vector<std::size_t>{Codec::kSharedWord});
    EXPECT_EQ(m_Rig.m_Block[Codec::kSharedWord], 900);
}

TEST_F(ModbusPage, AWatchdogAboveTheFilesMaximumIsShownQuietlyThenRefused)
{
    m_Rig.m_Block[Codec::kConnectionWatchdogWord] = 2000;
    CDriven<CModbusPage> page;
    m_Rig.Show(page);
    EXPECT_EQ(m_Rig.Driver().Text(kConnectionWatchdogEdit), L"2000");
    EXPECT_TRUE(page.m_arrBalloons.empty());
    EXPECT_FALSE(page.StoreIfDataPresent());
    ASSERT_EQ(page.m_arrBalloons.size(), 1u);
    EXPECT_EQ(page.m_arrBalloons[0].title, CString(L"Connection watchdog"));
    EXPECT_EQ(page.m_arrBalloons[0].field, static_cast<UINT>(kConnectionWatchdogEdit));
}

// A field emptied or holding letters is no number: never 0, never the number
// it starts with. Its check fails with the balloon, the store is refused and
// the word keeps its value.
TEST_F(ModbusPage, AFieldThatIsNoNumberFailsItsCheckAndIsNeverStored)
{
    GetLanguageSupport().SetText(L"TT_WATCHDOG_TIMEOUT_HDR", L"Watchdog time-out");
    CDriven<CModbusPage> page;
    m_Rig.Show(page);
    for (const wchar_t* text : {L"", L"  ", L"abc", L"12ab", L"1 2", L"99999999999"}) {
        SCOPED_TRACE(testing::Message() << L"'" << text << L"'");
        page.m_arrBalloons.clear();
        m_Rig.Replace(kWatchdogTimeoutEdit, text);
        ASSERT_FALSE(page.m_arrBalloons.empty());
        EXPECT_EQ(page.m_arrBalloons.back().field, static_cast<UINT>(kWatchdogTimeoutEdit));
        EXPECT_EQ(page.m_arrBalloons.back().title, CString(L"Watchdog time-out"));
        EXPECT_FALSE(page.StoreIfDataPresent());
        EXPECT_EQ(m_Rig.m_Block[Codec::kWatchdogTimeoutWord], 30);
        EXPECT_EQ(m_Rig.Driver().Text(kWatchdogTimeoutEdit), text);
    }
}

// Typing letters shows the balloon on each key but leaves the typed text and
// the caret alone, so that the next key does not replace what was typed.
TEST_F(ModbusPage, LettersTypedIntoANumberFieldStayAsTyped)
{
    CDriven<CModbusPage> page;
    m_Rig.Show(page);
    UiTest::CDialogDriver driver = m_Rig.Driver();
    ::SetFocus(driver.Control(kWatchdogTimeoutEdit));
    ::SendMessageW(driver.Control(kWatchdogTimeoutEdit), EM_SETSEL, 2, 2);
    driver.Type(L"ab");
    driver.PumpUntilIdle();
    EXPECT_EQ(driver.Text(kWatchdogTimeoutEdit), L"30ab");
    EXPECT_EQ(page.m_arrBalloons.size(), 2u);
    EXPECT_FALSE(page.StoreIfDataPresent());
    EXPECT_EQ(m_Rig.m_Block[Codec::kWatchdogTimeoutWord], 30);
}

// In the program's own texts, each number field's balloon is titled after
// its field: no two fields share a title, and none takes the wording of the
// label beside another field (the watchdog time is not the time-out).
TEST_F(ModbusPage, EachFieldsBalloonIsTitledAfterItsOwnFieldInBothLanguages)
{
    const std::pair<int, int> fields[] = {{kConnectionWatchdogEdit, kConnectionWatchdogLabel},
                                          {kWatchdogTimeoutEdit, kWatchdogTimeoutLabel},
                                          {kMask1Edit, kMask1Label},
                                          {kMask2Edit, kMask2Label}};
    // A label's wording without its unit: "Watchdog time (100 ms)" is "watchdog time".
    const auto wording = [](CString text) {
        if (const int unit = text.Find(L" ("); unit > 0)
            text = text.Left(unit);
        text.Trim(L" :");
        text.MakeLower();
        return text;
    };
    CDriven<CModbusPage> page;
    m_Rig.Show(page);
    for (const wchar_t* lcid : {L"1031", L"1033"}) {
        SCOPED_TRACE(testing::Message() << "language " << lcid);
        GetLanguageSupport().LoadXml(CORVANE_GUI_XML, lcid, false);
        page.UpdateLanguageTexts();
        std::map<int, CString> titles;
        for (const auto& [edit, label] : fields) {
            page.m_arrBalloons.clear();
            m_Rig.Replace(edit, L"x");
            ASSERT_FALSE(page.m_arrBalloons.empty()) << edit;
            titles[edit] = wording(page.m_arrBalloons.back().title);
            m_Rig.Replace(edit, L"1");
        }
        for (const auto& [edit, label] : fields) {
            for (const auto& [other, otherLabel] : fields) {
                if (other == edit)
                    continue;
                EXPECT_NE(titles[edit], titles[other]) << edit << " and " << other;
                EXPECT_NE(titles[edit], wording(m_Rig.Driver().Text(otherLabel).c_str()))
                    << "the balloon of " << edit << " reads as the label of " << other;
            }
        }
    }
    GetLanguageSupport().Clear();
}

}  // namespace Corvane
