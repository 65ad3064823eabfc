#include "Products/Corvane/MainDialog/Commands/AskStored.h"

#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Platform/Controls/MessageBox.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

namespace Corvane {

namespace {

// Answers with a fixed button and records what it was asked.
class CScriptedAskStored : public CAskStored {
public:
    using CAskStored::CAskStored;
    UINT answer = 0;
    std::vector<std::wstring> asked;
    std::vector<UINT> types;

protected:
    UINT Ask(const CString& text, UINT type) override
    {
        asked.push_back(text.str());
        types.push_back(type);
        return answer;
    }
};

// Each test keeps its answers under an application of its own.
Registry::CProfileStore FreshProfile()
{
    static std::atomic<int> counter{0};
    return Registry::CProfileStore(L"Zell Software", L"AskStoredTest" + std::to_wstring(::getpid()) + L"_" +
                                                         std::to_wstring(counter++));
}

class AskStoredTest : public ::testing::Test {
protected:
    void SetUp() override { GetLanguageSupport().SetText(L"MSG_SOFTWARE_RESET", L"Restart the device?"); }

    Registry::CProfileStore profile = FreshProfile();
    CScriptedAskStored ask{profile};
};

TEST_F(AskStoredTest, ContinueGoesOnAndKeepsTheAnswer)
{
    ask.answer = 11;
    EXPECT_TRUE(ask.Confirm(CAskStored::kSoftwareResetKey, L"MSG_SOFTWARE_RESET", CAskStored::kContinueAbortType, 11));
    ASSERT_EQ(ask.asked.size(), 1u);
    EXPECT_EQ(ask.asked[0], L"Restart the device?");
    EXPECT_EQ(ask.types[0], 0x4000037u);
    EXPECT_EQ(profile.GetInt(L"Messages", L"SoftwareReset", 0), 11u);
    // Without the check box the question comes again.
    EXPECT_TRUE(ask.Confirm(CAskStored::kSoftwareResetKey, L"MSG_SOFTWARE_RESET", CAskStored::kContinueAbortType, 11));
    EXPECT_EQ(ask.asked.size(), 2u);
    EXPECT_FALSE(ask.HasSilencedQuestion());
}

TEST_F(AskStoredTest, AbortStopsAndKeepsNothing)
{
    ask.answer = IDABORT | CAskStored::kDontAskAgain;
    EXPECT_FALSE(ask.Confirm(CAskStored::kSoftwareResetKey, L"MSG_SOFTWARE_RESET", CAskStored::kContinueAbortType, 11));
    EXPECT_EQ(profile.GetInt(L"Messages", L"SoftwareReset", 0), 0u);
    EXPECT_FALSE(ask.HasSilencedQuestion());
}

TEST_F(AskStoredTest, SilencedAnswerStandsWithoutAsking)
{
    ASSERT_TRUE(profile.WriteInt(L"Messages", L"SoftwareReset", static_cast<int>(CAskStored::kDontAskAgain | 11)));
    EXPECT_TRUE(ask.HasSilencedQuestion());
    EXPECT_TRUE(ask.Confirm(CAskStored::kSoftwareResetKey, L"MSG_SOFTWARE_RESET", CAskStored::kContinueAbortType, 11));
    EXPECT_TRUE(ask.asked.empty());
}

TEST_F(AskStoredTest, YesWithTheCheckBoxSilencesTheRestartAfterAReset)
{
    ask.answer = IDYES | CAskStored::kDontAskAgain;
    EXPECT_TRUE(ask.Confirm(CAskStored::kRestartAfterResetKey, L"MSG_RESTART_SOFTWARE", CAskStored::kYesNoType, IDYES));
    EXPECT_EQ(profile.GetInt(L"Messages", L"SoftwareResetAfterResetFileSystem", 0), 0x4000006u);
    EXPECT_TRUE(ask.HasSilencedQuestion());

    ask.answer = IDNO;
    EXPECT_TRUE(ask.Confirm(CAskStored::kRestartAfterResetKey, L"MSG_RESTART_SOFTWARE", CAskStored::kYesNoType, IDYES));
    EXPECT_EQ(ask.asked.size(), 1u);
}

TEST_F(AskStoredTest, SilencedRefusalNeverGoesOn)
{
    ASSERT_TRUE(profile.WriteInt(L"Messages", L"ResetFileSystem", static_cast<int>(CAskStored::kDontAskAgain | IDABORT)));
    ask.answer = 11;
    EXPECT_FALSE(ask.Confirm(CAskStored::kResetFileSystemKey, L"MSG_RESET_FILESYSTEM", CAskStored::kContinueAbortType, 11));
    EXPECT_TRUE(ask.asked.empty());
}

TEST_F(AskStoredTest, AskAndKeepKeepsOnlyTheAnswerThatGoesOn)
{
    ask.answer = IDNO | CAskStored::kDontAskAgain;
    EXPECT_EQ(ask.AskAndKeep(CAskStored::kRestartAfterResetKey, L"MSG_RESTART_SOFTWARE", CAskStored::kYesNoType),
              IDNO | CAskStored::kDontAskAgain);
    EXPECT_EQ(profile.GetInt(L"Messages", L"SoftwareResetAfterResetFileSystem", 0), 0u);
    ask.answer = 11;
    EXPECT_EQ(ask.AskAndKeep(CAskStored::kResetFileSystemKey, L"MSG_RESET_FILESYSTEM", CAskStored::kContinueAbortType),
              11u);
    EXPECT_EQ(profile.GetInt(L"Messages", L"ResetFileSystem", 0), 11u);
}

TEST_F(AskStoredTest, OnlyTheLowByteIsTheButton)
{
    EXPECT_TRUE(CAskStored::IsAnswer(0x4000000 | 11, 11));
    EXPECT_FALSE(CAskStored::IsAnswer(0x100 | 6, 11));
    EXPECT_TRUE(CAskStored::IsAnswer(0x100 | 6, 6));
}

}

}  // namespace Corvane
