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
    UINT m_nAnswer = 0;
    std::vector<std::wstring> m_arrAsked;
    std::vector<UINT> m_arrTypes;

protected:
    UINT Ask(const CString& text, UINT type) override
    {
        m_arrAsked.push_back(text.str());
        m_arrTypes.push_back(type);
        return m_nAnswer;
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

    Registry::CProfileStore m_Profile = FreshProfile();
    CScriptedAskStored m_Ask{m_Profile};
};

TEST_F(AskStoredTest, ContinueGoesOnAndKeepsTheAnswer)
{
    m_Ask.m_nAnswer = 11;
    EXPECT_TRUE(m_Ask.Confirm(CAskStored::kSoftwareResetKey, L"MSG_SOFTWARE_RESET", CAskStored::kContinueAbortType, 11));
    ASSERT_EQ(m_Ask.m_arrAsked.size(), 1u);
    EXPECT_EQ(m_Ask.m_arrAsked[0], L"Restart the device?");
    EXPECT_EQ(m_Ask.m_arrTypes[0], 0x4000037u);
    EXPECT_EQ(m_Profile.GetInt(L"Messages", L"SoftwareReset", 0), 11u);
    // Without the check box the question comes again.
    EXPECT_TRUE(m_Ask.Confirm(CAskStored::kSoftwareResetKey, L"MSG_SOFTWARE_RESET", CAskStored::kContinueAbortType, 11));
    EXPECT_EQ(m_Ask.m_arrAsked.size(), 2u);
    EXPECT_FALSE(m_Ask.HasSilencedQuestion());
}

TEST_F(AskStoredTest, AbortStopsAndKeepsNothing)
{
    m_Ask.m_nAnswer = IDABORT | CAskStored::kDontAskAgain;
    EXPECT_FALSE(m_Ask.Confirm(CAskStored::kSoftwareResetKey, L"MSG_SOFTWARE_RESET", CAskStored::kContinueAbortType, 11));
    EXPECT_EQ(m_Profile.GetInt(L"Messages", L"SoftwareReset", 0), 0u);
    EXPECT_FALSE(m_Ask.HasSilencedQuestion());
}

TEST_F(AskStoredTest, SilencedAnswerStandsWithoutAsking)
{
    ASSERT_TRUE(m_Profile.WriteInt(L"Messages", L"SoftwareReset", static_cast<int>(CAskStored::kDontAskAgain | 11)));
    EXPECT_TRUE(m_Ask.HasSilencedQuestion());
    EXPECT_TRUE(m_Ask.Confirm(CAskStored::kSoftwareResetKey, L"MSG_SOFTWARE_RESET", CAskStored::kContinueAbortType, 11));
    EXPECT_TRUE(m_Ask.m_arrAsked.empty());
}

TEST_F(AskStoredTest, YesWithTheCheckBoxSilencesTheRestartAfterAReset)
{
    m_Ask.m_nAnswer = IDYES | CAskStored::kDontAskAgain;
    EXPECT_TRUE(m_Ask.Confirm(CAskStored::kRestartAfterResetKey, L"MSG_RESTART_SOFTWARE", CAskStored::kYesNoType, IDYES));
    EXPECT_EQ(m_Profile.GetInt(L"Messages", L"SoftwareResetAfterResetFileSystem", 0), 0x4000006u);
    EXPECT_TRUE(m_Ask.HasSilencedQuestion());

    m_Ask.m_nAnswer = IDNO;
    EXPECT_TRUE(m_Ask.Confirm(CAskStored::kRestartAfterResetKey, L"MSG_RESTART_SOFTWARE", CAskStored::kYesNoType, IDYES));
    EXPECT_EQ(m_Ask.m_arrAsked.size(), 1u);
}

TEST_F(AskStoredTest, SilencedRefusalNeverGoesOn)
{
    ASSERT_TRUE(m_Profile.WriteInt(L"Messages", L"ResetFileSystem", static_cast<int>(CAskStored::kDontAskAgain | IDABORT)));
    m_Ask.m_nAnswer = 11;
    EXPECT_FALSE(m_Ask.Confirm(CAskStored::kResetFileSystemKey, L"MSG_RESET_FILESYSTEM", CAskStored::kContinueAbortType, 11));
    EXPECT_TRUE(m_Ask.m_arrAsked.empty());
}

TEST_F(AskStoredTest, AskAndKeepKeepsOnlyTheAnswerThatGoesOn)
{
    m_Ask.m_nAnswer = IDNO | CAskStored::kDontAskAgain;
    EXPECT_EQ(m_Ask.AskAndKeep(CAskStored::kRestartAfterResetKey, L"MSG_RESTART_SOFTWARE", CAskStored::kYesNoType),
              IDNO | CAskStored::kDontAskAgain);
    EXPECT_EQ(m_Profile.GetInt(L"Messages", L"SoftwareResetAfterResetFileSystem", 0), 0u);
    m_Ask.m_nAnswer = 11;
    EXPECT_EQ(m_Ask.AskAndKeep(CAskStored::kResetFileSystemKey, L"MSG_RESET_FILESYSTEM", CAskStored::kContinueAbortType),
              11u);
    EXPECT_EQ(m_Profile.GetInt(L"Messages", L"ResetFileSystem", 0), 11u);
}

TEST_F(AskStoredTest, OnlyTheLowByteIsTheButton)
{
    EXPECT_TRUE(CAskStored::IsAnswer(0x4000000 | 11, 11));
    EXPECT_FALSE(CAskStored::IsAnswer(0x100 | 6, 11));
    EXPECT_TRUE(CAskStored::IsAnswer(0x100 | 6, 6));
}

}

}  // namespace Corvane
