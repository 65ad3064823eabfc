// The questions of the device commands and the first-show plan.
#include "Products/Corvane/MainDialog/Commands/CommandQuestions.h"
#include "Products/Corvane/MainDialog/Commands/FirstShowPlan.h"
#include "Products/Corvane/MainDialog/Commands/Tests/CStringPrinter.h"

#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Products/Corvane/Core/StartupOptions.h"
#include "Products/Corvane/Core/Tests/TempFolder.h"

#include <gtest/gtest.h>

namespace Corvane {

namespace {

class CommandQuestionsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        GetLanguageSupport().SetText(L"MSG_RESET_TO_FACTORY_DEFAULT", L"Reset?");
        GetLanguageSupport().SetText(L"MSG_RESET_TO_FACTORY_DEFAULT_ORBIS200", L"Reset the controller?");
        GetLanguageSupport().SetText(L"MSG_RESET_TO_FACTORY_DEFAULT_TCPIP", L"Reset %s at %s?");
        GetLanguageSupport().SetText(L"TXT_WARNING_UPPER", L"WARNING");
    }
};

TEST_F(CommandQuestionsTest, FactoryDefaultsOverASerialLine)
{
    tCommandQuestion q = CCommandQuestions::FactoryDefaults(false, false, L"612-001", L"");
    EXPECT_EQ(q.text, L"Reset?");
    EXPECT_TRUE(q.caption.IsEmpty());
    EXPECT_EQ(q.type, 4u);
    q = CCommandQuestions::FactoryDefaults(true, false, L"612-8001", L"");
    EXPECT_EQ(q.text, L"Reset the controller?");
    EXPECT_EQ(q.type, 0x34u);
}

TEST_F(CommandQuestionsTest, FactoryDefaultsOverTcpNamesDeviceAndAddress)
{
    tCommandQuestion q = CCommandQuestions::FactoryDefaults(false, true, L"612-001", L"192.168.1.10");
    EXPECT_EQ(q.text, L"Reset 612-001 at 192.168.1.10?");
    EXPECT_EQ(q.caption, L"WARNING");
    EXPECT_EQ(q.type, 0x54u);
    q = CCommandQuestions::FactoryDefaults(true, true, L"612-8001", L"10.0.0.1");
    EXPECT_EQ(q.type, 0x74u);
}

TEST_F(CommandQuestionsTest, RunningWorkerMessageHasTwoLines)
{
    GetLanguageSupport().SetText(L"MSG_ACTIVE_THREAD", L"A command runs.");
    GetLanguageSupport().SetText(L"MSG_CANT_CHANGE_SETTINGS", L"Settings cannot change now.");
    EXPECT_EQ(CCommandQuestions::WorkerRunsForSettings(), L"A command runs.\nSettings cannot change now.");
}

class FirstShowPlanTest : public ::testing::Test {
protected:
    CTempFolder m_Folder;
    tStartupOptions m_Options;
};

TEST_F(FirstShowPlanTest, WithoutCommandLineTheUserIsAskedToRead)
{
    EXPECT_EQ(CFirstShowPlan::Decide(m_Options), ENFirstShow::PleaseRead);
    m_Options.ParamFile = L"/tmp/none.wes";
    EXPECT_EQ(CFirstShowPlan::Decide(m_Options), ENFirstShow::PleaseRead);
    m_Options.ArticleNumber = L"612-001";
    EXPECT_EQ(CFirstShowPlan::Decide(m_Options), ENFirstShow::OfflineStartup);
}

TEST_F(FirstShowPlanTest, CommandLineConnectionReadsUnlessTheFileHoldsSomething)
{
    m_Options.ConnectionSettings = L"192.168.1.10";
    EXPECT_EQ(CFirstShowPlan::Decide(m_Options), ENFirstShow::ReadDevice);
    m_Options.ParamFile = CString(m_Folder.Write("empty.wes", "").wstring());
    EXPECT_EQ(CFirstShowPlan::Decide(m_Options), ENFirstShow::ReadDevice);
    m_Options.ParamFile = CString(m_Folder.Write("full.wes", "<application/>").wstring());
    EXPECT_EQ(CFirstShowPlan::Decide(m_Options), ENFirstShow::OpenParamFile);
}

TEST_F(FirstShowPlanTest, FirstReadSavesOnlyAMatchingDevice)
{
    m_Options.ParamFile = L"/tmp/device.wes";
    m_Options.ArticleNumber = L"0612-0001";
    EXPECT_EQ(CFirstShowPlan::AfterRead(true, true, m_Options, L"612-001"), ENParamFileAfterRead::SaveToParamFile);
    EXPECT_EQ(CFirstShowPlan::AfterRead(true, true, m_Options, L"612-002"), ENParamFileAfterRead::WrongDevice);
    EXPECT_EQ(CFirstShowPlan::AfterRead(false, true, m_Options, L"612-001"), ENParamFileAfterRead::Nothing);
    EXPECT_EQ(CFirstShowPlan::AfterRead(true, false, m_Options, L"612-001"), ENParamFileAfterRead::Nothing);
    m_Options.ArticleNumber.Empty();
    EXPECT_EQ(CFirstShowPlan::AfterRead(true, true, m_Options, L"612-001"), ENParamFileAfterRead::Nothing);
}

}

}  // namespace Corvane
