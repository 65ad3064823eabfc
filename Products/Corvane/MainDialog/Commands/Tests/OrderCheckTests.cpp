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
    CTempFolder folder;
    CDeviceCapabilityFile ini{CString(folder.Write("corvane.ini", kCapabilities).wstring())};
    COrderCheck check{ini};
    CFBCData data;
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
        const tOrderCheck result = check.CheckOrder(c.article, data);
        EXPECT_TRUE(result.ok) << c.article;
        EXPECT_EQ(result.extendedPages, c.extended) << c.article;
        EXPECT_EQ(result.controllerPages, c.controller) << c.article;
    }
}

TEST_F(OrderCheckTest, DipSwitchComesFromTheArticleSection)
{
    EXPECT_TRUE(check.CheckOrder(L"612-001", data).hasDIPSwitch);
    EXPECT_FALSE(check.CheckOrder(L"612-002", data).hasDIPSwitch);
}

TEST_F(OrderCheckTest, UnknownPairFails)
{
    EXPECT_FALSE(check.CheckOrder(L"612-999", data).ok);
}

TEST_F(OrderCheckTest, UnlistedDeviceIsKnownByItsMacIdentifier)
{
    data.NetIDName = L"mac-id";
    data.HasClock = true;
    tOrderCheck result = check.CheckOrder(L"612-8003", data);
    EXPECT_TRUE(result.ok);
    EXPECT_TRUE(result.extendedPages);
    EXPECT_TRUE(result.controllerPages);

    data.HasClock = false;
    result = check.CheckOrder(L"612-0004", data);
    EXPECT_TRUE(result.ok);
    EXPECT_FALSE(result.extendedPages);
    EXPECT_FALSE(result.controllerPages);

    data.NetIDName = L"IMEI";
    EXPECT_FALSE(check.CheckOrder(L"612-004", data).ok);
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
    tVersionCheck result = check.CheckSoftwareVersion(L"03.01.02(04)", L"612-001");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.minimum, L"03.01.02(05)");
    EXPECT_TRUE(check.CheckSoftwareVersion(L"03.01.02(05)", L"612-001").ok);
    EXPECT_TRUE(check.CheckSoftwareVersion(L"04.00.00(01)", L"612-001").ok);
}

TEST_F(OrderCheckTest, MissingMinimumAcceptsEveryFirmwareButAnEmptyOneRefusesAll)
{
    tVersionCheck result = check.CheckSoftwareVersion(L"01.00.00(00)", L"612-002");
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.minimum, L"00.00.00(00)");
    EXPECT_FALSE(check.CheckSoftwareVersion(L"99.99.99(99)", L"612-003").ok);
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
