#include "Products/Corvane/MainDialog/Commands/ThreadResult.h"
#include "Products/Corvane/MainDialog/Commands/Tests/CStringPrinter.h"

#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Products/Corvane/Core/FBCData.h"
#include "Products/Corvane/Workers/WorkerMessages.h"

#include <gtest/gtest.h>

namespace Corvane {

namespace {

const CWorkerMessages& Messages()
{
    return CWorkerMessages::Get();
}

TEST(ThreadResultTest, DoneMessagesMapToTheirResultTypes)
{
    struct tCase {
        UINT message;
        WPARAM result;
        int type;
    };
    const tCase cases[] = {
        {Messages().IdentifyDone, 0, 7},        {Messages().IdentifyDone, 5, 7},
        {Messages().WriteSettingsDone, 1, 9},   {Messages().WriteSettingsDone, 0, 9},
        {Messages().WriteSettingsDone, 5, 23},  {Messages().FactoryDefaultsDone, 1, 6},
        {Messages().FactoryDefaultsDone, 0, 6}, {Messages().FactoryDefaultsDone, 5, 25},
        {Messages().FactoryDefaultsDone, 6, 27}, {Messages().SoftwareResetDone, 1, 1},
        {Messages().SoftwareResetDone, 5, 24},  {Messages().ResetFileSystemDone, 1, 4},
        {Messages().ResetFileSystemDone, 5, 26},
    };
    for (const tCase& c : cases) {
        const std::optional<int> type = CThreadResult::TypeOfDone(c.message, c.result);
        ASSERT_TRUE(type.has_value()) << c.message;
        EXPECT_EQ(*type, c.type) << "message " << c.message << " result " << c.result;
    }
    EXPECT_FALSE(CThreadResult::TypeOfDone(Messages().ShowThreadState, 1).has_value());
    EXPECT_FALSE(CThreadResult::TypeOfDone(WM_CLOSE, 1).has_value());
}

TEST(ThreadResultTest, StatusKeysFollowTheOutcome)
{
    EXPECT_EQ(CThreadResult::StatusKey(7, true), L"STATE_IDENTIFY_DONE");
    EXPECT_EQ(CThreadResult::StatusKey(7, false), L"STATE_IDENTIFY_FAILED");
    EXPECT_EQ(CThreadResult::StatusKey(4, false), L"STATE_RESET_FILESYSTEM_FAILED");
    EXPECT_EQ(CThreadResult::StatusKey(9, true), L"STATE_WRITE_DONE");
    // A cancelled or merely started command has one line whatever the outcome.
    for (bool ok : {true, false}) {
        EXPECT_EQ(CThreadResult::StatusKey(23, ok), L"STATE_WRITE_CANCELED");
        EXPECT_EQ(CThreadResult::StatusKey(26, ok), L"STATE_RESET_FILESYSTEM_CANCELED");
        EXPECT_EQ(CThreadResult::StatusKey(27, ok), L"STATE_DEFAULT_STARTED");
    }
}

TEST(ThreadResultTest, UnknownTypeShowsTheFixedTextUntranslated)
{
    GetLanguageSupport().SetText(L"STATE_DEFAULT_DONE", L"Factory settings restored");
    EXPECT_EQ(CThreadResult::StatusText(6, true), L"Factory settings restored");
    for (int type : {0, 2, 8, 22, 28, -1}) {
        EXPECT_TRUE(CThreadResult::StatusKey(type, true).IsEmpty()) << type;
        EXPECT_EQ(CThreadResult::StatusText(type, false), L"Invalid thread ID!") << type;
    }
}

TEST(ThreadResultTest, DialogClosesOnlyAfterAWriteThatWentThrough)
{
    EXPECT_TRUE(CThreadResult::ClosesAfterWrite(1));
    EXPECT_TRUE(CThreadResult::ClosesAfterWrite(2));
    EXPECT_FALSE(CThreadResult::ClosesAfterWrite(0));
    EXPECT_FALSE(CThreadResult::ClosesAfterWrite(5));
}

TEST(ThreadResultTest, FactoryDefaultsAddressMessageOnlyOverTcpAfterAReset)
{
    EXPECT_TRUE(CThreadResult::TellsFactoryDefaultsAddress(1, true));
    EXPECT_TRUE(CThreadResult::TellsFactoryDefaultsAddress(6, true));
    EXPECT_FALSE(CThreadResult::TellsFactoryDefaultsAddress(0, true));
    EXPECT_FALSE(CThreadResult::TellsFactoryDefaultsAddress(5, true));
    EXPECT_FALSE(CThreadResult::TellsFactoryDefaultsAddress(1, false));
}

CFBCData DataWithPort1(const wchar_t* address)
{
    CFBCData data;
    data.HasNetworkParams = true;
    data.SetEthernetPortCount(1);
    data.GetActualNetworkParams(0)->strIPAddress = address;
    return data;
}

TEST(ThreadResultTest, SaveButtonFollowsValidityOutsideChangeIpMode)
{
    const CFBCData data;
    EXPECT_EQ(CThreadResult::SaveButtonAfterResult(true, false, data, L""), std::optional<bool>(true));
    EXPECT_EQ(CThreadResult::SaveButtonAfterResult(false, false, data, L""), std::optional<bool>(false));
}

TEST(ThreadResultTest, ChangeIpModeSavesOnlyADeviceOnAnotherAddress)
{
    const CFBCData moved = DataWithPort1(L"192.168.1.20");
    EXPECT_EQ(CThreadResult::SaveButtonAfterResult(true, true, moved, L"192.168.1.10"), std::optional<bool>(true));
    EXPECT_EQ(CThreadResult::SaveButtonAfterResult(false, true, moved, L"192.168.1.10"), std::optional<bool>(false));
    const CFBCData same = DataWithPort1(L"192.168.1.10");
    EXPECT_FALSE(CThreadResult::SaveButtonAfterResult(true, true, same, L"192.168.1.10").has_value());
    const CFBCData none;
    EXPECT_FALSE(CThreadResult::SaveButtonAfterResult(true, true, none, L"192.168.1.10").has_value());
}

}

}  // namespace Corvane
