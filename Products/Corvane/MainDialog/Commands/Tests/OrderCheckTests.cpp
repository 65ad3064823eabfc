#include "Products/Corvane/MainDialog/Commands/OrderCheck.h"
#include "Products/Corvane/MainDialog/Commands/Tests/CStringPrinter.h"

#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Products/Corvane/Core/DeviceCapabilityFile.h"
#include "Products/Corvane/Core/FBCData.h"
#include "Products/Corvane/Core/Tests/TempFolder.h"

#include <gtest/gtest.h>

namespace Corvane {

namespace {

constexpr char kCapabilities[] = "[0612-0001]\nFBC=32\nORBIS=0\nDIP=1\nVersion=03.01.02(05)\n"
                                "[0612-0002]\nFBC=16\nORBIS=0\n"
                                "[0612-8001]\nFBC=0\nORBIS=32\n"
                                "[0612-8002]\nFBC=0\nORBIS=16\n"
                                "[0612-0999]\nFBC=32\nORBIS=32\n"
                                "[0612-0003]\nVersion=\n";

class OrderCheckTest : public ::testing::Test {
protected:
    CTempFolder m_Folder;
    CDeviceCapabilityFile m_Ini{CString(m_Folder.Write("corvane.ini", kCapabilities).wstring())};
    COrderCheck m_Check{m_Ini};
    CFBCData m_Data;
};

TEST_F(OrderCheckTest, ListedFamiliesGiveTheirPageFlags)
{
    struct tCase {
        const wchar_t* article;
        bool extended;
        bool controller;
    };
    for (const tCase& c : {tCase{L"612-002", false, false}, tCase{L"612-8002", false, true},
                           tCase{L"612-8001", true, true}, tCase{L"612-001", true, false}}) {
        const tOrderCheck result = m_Check.CheckOrder(c.article, m_Data);
        EXPECT_TRUE(result.ok) << c.article;
        EXPECT_EQ(result.extendedPages, c.extended) << c.article;
        EXPECT_EQ(result.controllerPages, c.controller) << c.article;
    }
}

TEST_F(OrderCheckTest, DipSwitchComesFromTheArticleSection)
{
    EXPECT_TRUE(m_Check.CheckOrder(L"612-001", m_Data).hasDIPSwitch);
    EXPECT_FALSE(m_Check.CheckOrder(L"612-002", m_Data).hasDIPSwitch);
}

TEST_F(OrderCheckTest, UnknownPairFails)
{
    EXPECT_FALSE(m_Check.CheckOrder(L"612-999", m_Data).ok);
}

TEST_F(OrderCheckTest, UnlistedDeviceIsKnownByItsMacIdentifier)
{
    m_Data.NetIDName = L"mac-id";
    m_Data.HasClock = true;
    tOrderCheck result = m_Check.CheckOrder(L"612-8003", m_Data);
    EXPECT_TRUE(result.ok);
    EXPECT_TRUE(result.extendedPages);
    EXPECT_TRUE(result.controllerPages);

    m_Data.HasClock = false;
    result = m_Check.CheckOrder(L"612-0004", m_Data);
    EXPECT_TRUE(result.ok);
    EXPECT_FALSE(result.extendedPages);
    EXPECT_FALSE(result.controllerPages);

    m_Data.NetIDName = L"IMEI";
    EXPECT_FALSE(m_Check.CheckOrder(L"612-004", m_Data).ok);
}

TEST_F(OrderCheckTest, ControllerArticleNeedsAnEightAfterTheDash)
{
    EXPECT_TRUE(COrderCheck::IsControllerArticle(L"612-8001"));
    EXPECT_FALSE(COrderCheck::IsControllerArticle(L"612-002"));
    EXPECT_FALSE(COrderCheck::IsControllerArticle(L"0612-0001"));
    EXPECT_FALSE(COrderCheck::IsControllerArticle(L"612-"));
    EXPECT_FALSE(COrderCheck::IsControllerArticle(L"8202"));
    EXPECT_FALSE(COrderCheck::IsControllerArticle(L""));
}

TEST_F(OrderCheckTest, FirmwareMustReachTheMinimumVersion)
{
    tVersionCheck result = m_Check.CheckSoftwareVersion(L"03.01.02(04)", L"612-001");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.minimum, L"03.01.02(05)");
    EXPECT_TRUE(m_Check.CheckSoftwareVersion(L"03.01.02(05)", L"612-001").ok);
    EXPECT_TRUE(m_Check.CheckSoftwareVersion(L"04.00.00(01)", L"612-001").ok);
}

TEST_F(OrderCheckTest, MissingMinimumAcceptsEveryFirmwareButAnEmptyOneRefusesAll)
{
    tVersionCheck result = m_Check.CheckSoftwareVersion(L"01.00.00(00)", L"612-002");
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.minimum, L"00.00.00(00)");
    EXPECT_FALSE(m_Check.CheckSoftwareVersion(L"99.99.99(99)", L"612-003").ok);
}

TEST(OrderCheckTextTest, VersionMessageNamesBothVersions)
{
    GetLanguageSupport().SetText(L"MSG_INVALID_SW_VERSION_FMT", L"Firmware %s is older than %s.");
    EXPECT_EQ(COrderCheck::VersionMessage(L"03.01.02(04)", L"03.01.02(05)"),
              L"Firmware 03.01.02(04) is older than 03.01.02(05).");
}

TEST(OrderCheckTextTest, StatusLinesAreIndentedAndSurviveABadFormat)
{
    GetLanguageSupport().SetText(L"STATE_CHECK_ORDER", L"Checking order number %s");
    EXPECT_EQ(COrderCheck::StatusLine(L"STATE_CHECK_ORDER", L"612-001"), L"    Checking order number 612-001");
    // A translation that asks for a number gets text: shown harmlessly.
    GetLanguageSupport().SetText(L"STATE_CHECK_ORDER_DONE", L"Order %d %s %s");
    const CString line = COrderCheck::StatusLine(L"STATE_CHECK_ORDER_DONE", L"612-001");
    EXPECT_EQ(line.Left(4), L"    ");
}

}

}  // namespace Corvane
