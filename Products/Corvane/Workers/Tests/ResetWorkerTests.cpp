// The factory-defaults, reset-file-system and restart workers end to end.
#include "Products/Corvane/Workers/Tests/WorkerRig.h"

#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Products/Corvane/Workers/DeviceResetSteps.h"
#include "Products/Corvane/Workers/FactoryDefaultsWorker.h"
#include "Products/Corvane/Workers/ResetFileSystemWorker.h"
#include "Products/Corvane/Workers/SoftwareResetWorker.h"

#include <gmock/gmock.h>

namespace Corvane {

using namespace WorkerTest;

namespace {

constexpr uint16_t kFormatService = 0x0302;
constexpr uint16_t kBusy = 0x821D;

class ResetWorkerTest : public WorkerRig {
protected:
    WPARAM FactoryDefaults() { return Run<CFactoryDefaultsWorker>(Messages().FactoryDefaultsDone); }
    WPARAM ResetFileSystem() { return Run<CResetFileSystemWorker>(Messages().ResetFileSystemDone); }
    WPARAM Restart() { return Run<CSoftwareResetWorker>(Messages().SoftwareResetDone); }
    void Next()
    {
        m_pWorker.reset();
        m_Handler.Clear();
        m_Prompt.m_arrQuestions.clear();
    }
    int Count(ENThreadAction action, ENThreadState state) const
    {
        int n = 0;
        for (const tState& s : States())
            n += s.action == static_cast<int>(action) && s.state == static_cast<int>(state) ? 1 : 0;
        return n;
    }
};

TEST_P(ResetWorkerTest, RefusedDataSetTouchesNothingAndReportsCanceled)
{
    ReadDevice();
    m_Data.ArticleNo = L"612-002";
    EXPECT_EQ(FactoryDefaults(), CWorkerJob::kResultCanceled);
    Next();
    EXPECT_EQ(ResetFileSystem(), CWorkerJob::kResultCanceled);
    Next();
    EXPECT_EQ(Restart(), CWorkerJob::kResultCanceled);
    const DevSim::tDeviceData device = Device();
    EXPECT_EQ(device.factoryResetCount, 0u);
    EXPECT_EQ(device.formatCount, 0u);
    EXPECT_EQ(device.restartCount, 0u);
    EXPECT_FALSE(m_Busy.IsSet());
}

TEST_P(ResetWorkerTest, CouplerIsResetWithItsFileSystem)
{
    ReadDevice();
    const WPARAM result = FactoryDefaults();
    const DevSim::tDeviceData device = Device();
    EXPECT_EQ(device.factoryResetCount, 1u);
    EXPECT_EQ(device.formatCount, 1u);
    EXPECT_EQ(device.extractCount, 1u);
    EXPECT_EQ(device.restartCount, 1u);
    EXPECT_EQ(States().front(), (tState{6, 2, false}));
    if (Serial()) {
        EXPECT_EQ(result, CWorkerJob::kResultSucceeded) << m_Data.Description.str();
        EXPECT_FALSE(m_Data.ArticleNo.IsEmpty()) << "read again";
    } else {
        EXPECT_EQ(result, CWorkerJob::kResultStarted) << m_Data.Description.str();
    }
}

TEST_P(ResetWorkerTest, RestartReadsTheDeviceAgain)
{
    ReadDevice();
    m_Data.CommonTable.Free();
    EXPECT_EQ(Restart(), CWorkerJob::kResultSucceeded) << m_Data.Description.str();
    EXPECT_EQ(Device().restartCount, 1u);
    EXPECT_EQ(m_Data.CommonTable.GetCount(), 30);
    EXPECT_TRUE(Reported(ENThreadAction::SoftwareReset, ENThreadState::Done, true));
}

TEST_P(ResetWorkerTest, BusyFormatIsPolledUntilTheDeviceIsDone)
{
    ReadDevice();
    Change([](DevSim::tDeviceData& d) {
        d.refusedServices[kFormatService] = kBusy;
        d.commandStates[kFormatService] = kBusy;
    });
    Start<CResetFileSystemWorker>();
    // Three more working lines, then the device finishes.
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (Count(ENThreadAction::FormatFlash, ENThreadState::Working) < 4 && std::chrono::steady_clock::now() < end) {
        UiTest::Drain();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    Change([](DevSim::tDeviceData& d) { d.commandStates[kFormatService] = 0; });
    ASSERT_TRUE(WaitFor(Messages().ResetFileSystemDone));
    EXPECT_EQ(m_Handler.Of(Messages().ResetFileSystemDone)[0].wParam, CWorkerJob::kResultSucceeded)
        << m_Data.Description.str();
    EXPECT_TRUE(Reported(ENThreadAction::FormatFlash, ENThreadState::Done, true));
    EXPECT_TRUE(Reported(ENThreadAction::ExtractFiles, ENThreadState::Done, true));
}

TEST_P(ResetWorkerTest, DeviceBusyForEverEndsTheStepAsFailed)
{
    ReadDevice();
    Change([](DevSim::tDeviceData& d) {
        d.refusedServices[kFormatService] = kBusy;
        d.commandStates[kFormatService] = kBusy;
    });
    EXPECT_EQ(ResetFileSystem(), CWorkerJob::kResultFailed);
    EXPECT_EQ(m_Data.Description, GetLanguageText(L"SERVICE_FORMAT_FILES_FAILED"));
    EXPECT_TRUE(Reported(ENThreadAction::FormatFlash, ENThreadState::Failed, true));
    EXPECT_EQ(Device().extractCount, 0u);
    EXPECT_LE(Count(ENThreadAction::FormatFlash, ENThreadState::Working),
              static_cast<int>(CDeviceResetSteps::kMaxPollMs / 500) + 1);
}

TEST_P(ResetWorkerTest, FailedCheckOfTheFileSystemResetNamesTheCheck)
{
    // A serial line falls silent rather than going away: a closed pseudo-terminal's
    // number is handed to the next one opened, maybe another test's device.
    if (Serial())
        Faults().Add({.kind = DevSim::ENFault::NoAnswer, .times = -1});
    else
        m_TcpSim.Stop();
    m_Data.ArticleNo = L"612-001";
    EXPECT_EQ(ResetFileSystem(), CWorkerJob::kResultFailed);
    EXPECT_EQ(m_Data.Description.str(), UnreachableText());
}

INSTANTIATE_TEST_SUITE_P(Transports, ResetWorkerTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Serial" : "Tcp"; });

class ControllerResetTest : public ResetWorkerTest {};

TEST_P(ControllerResetTest, ControllerOverTcpIsStartedAndNotReadAgain)
{
    Change([](DevSim::tDeviceData& d) { d.identItems[0].second = kControllerArticle; });
    ReadDevice();
    EXPECT_EQ(FactoryDefaults(), CWorkerJob::kResultStarted) << m_Data.Description.str();
    EXPECT_TRUE(Reported(ENThreadAction::FactoryDefaults, ENThreadState::Started, true));
    EXPECT_EQ(Device().formatCount, 0u);
    EXPECT_EQ(Device().restartCount, 0u);
}

INSTANTIATE_TEST_SUITE_P(Tcp, ControllerResetTest, ::testing::Values(false));

}

}  // namespace Corvane
