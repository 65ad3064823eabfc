#include "Products/Corvane/MainDialog/Commands/WorkerLauncher.h"
#include "Products/Corvane/MainDialog/Commands/Tests/CStringPrinter.h"

#include "Products/Corvane/Workers/Tests/WorkerRig.h"

namespace Corvane {

using namespace WorkerTest;

namespace {

// A launcher whose threads can be made to fail to start.
class CTestLauncher : public CWorkerLauncher {
public:
    bool m_bRefuseThreads = false;

protected:
    bool StartThread(CDeviceWorker& worker) override
    {
        return m_bRefuseThreads ? false : CWorkerLauncher::StartThread(worker);
    }
};

class WorkerLauncherTest : public WorkerRig {
protected:
    void SlowDevice(int delayMs)
    {
        DevSim::tFaultRule slow;
        slow.kind = DevSim::ENFault::Delay;
        slow.delayMs = delayMs;
        slow.times = -1;
        Faults().Add(slow);
    }

    CTestLauncher m_Launcher;
};

TEST_P(WorkerLauncherTest, ReadRunsToItsEndMessageAndFreesTheFlag)
{
    ASSERT_TRUE(m_Launcher.Launch(ENWorkerKind::Read, Params()));
    ASSERT_TRUE(WaitFor(Messages().IdentifyDone));
    EXPECT_EQ(m_Handler.Of(Messages().IdentifyDone)[0].wParam, CWorkerJob::kResultSucceeded);
    EXPECT_FALSE(m_Busy.IsSet());
    EXPECT_EQ(m_Data.ArticleNo, L"0612-0001") << m_Data.Description.str();
    // The ended worker gives way to the next one.
    m_Handler.Clear();
    ASSERT_TRUE(m_Launcher.Launch(ENWorkerKind::SoftwareReset, Params()));
    EXPECT_TRUE(WaitFor(Messages().SoftwareResetDone));
}

TEST_P(WorkerLauncherTest, SecondWorkerIsRefusedWhileOneRuns)
{
    SlowDevice(50);
    ASSERT_TRUE(m_Launcher.Launch(ENWorkerKind::Read, Params()));
    EXPECT_FALSE(m_Launcher.Launch(ENWorkerKind::Write, Params()));
    EXPECT_TRUE(m_Busy.IsSet());
    ASSERT_TRUE(WaitFor(Messages().IdentifyDone));
    EXPECT_TRUE(m_Handler.Of(Messages().WriteSettingsDone).empty());
}

TEST_P(WorkerLauncherTest, ThreadThatCannotStartLeavesNothingBusy)
{
    m_Launcher.m_bRefuseThreads = true;
    EXPECT_FALSE(m_Launcher.Launch(ENWorkerKind::Read, Params()));
    EXPECT_FALSE(m_Busy.IsSet());
    EXPECT_FALSE(m_Launcher.IsRunning());
    m_Launcher.m_bRefuseThreads = false;
    EXPECT_TRUE(m_Launcher.Launch(ENWorkerKind::Read, Params())) << "a failed start must not block the next command";
    EXPECT_TRUE(WaitFor(Messages().IdentifyDone));
}

TEST_P(WorkerLauncherTest, ClosingDuringAReadStopsTheWorkerAndWaits)
{
    SlowDevice(30);
    ASSERT_TRUE(m_Launcher.Launch(ENWorkerKind::Read, Params()));
    EXPECT_TRUE(m_Launcher.IsRunning());
    std::this_thread::sleep_for(std::chrono::milliseconds(40));
    DestroyWindow(m_hWindow);
    m_Launcher.StopAndWait();
    EXPECT_FALSE(m_Launcher.IsRunning());
    EXPECT_FALSE(m_Busy.IsSet());
    UiTest::Drain();
    EXPECT_TRUE(m_Handler.Of(Messages().IdentifyDone).empty());
}

TEST(WorkerLauncherKeysTest, StartTextsNameTheCommand)
{
    EXPECT_EQ(CWorkerLauncher::StartTextKey(ENWorkerKind::Read, false), L"STATE_GRID_IDENTIFY");
    EXPECT_EQ(CWorkerLauncher::StartTextKey(ENWorkerKind::FactoryDefaults, false), L"STATE_GRID_DEFAULT");
    EXPECT_EQ(CWorkerLauncher::StartTextKey(ENWorkerKind::FactoryDefaults, true), L"STATE_GRID_DEFAULT_ORBIS200");
    EXPECT_EQ(CWorkerLauncher::StartTextKey(ENWorkerKind::ResetFileSystem, true), L"STATE_GRID_RESET_FILESYSTEM");
}

TEST(WorkerLauncherKeysTest, EveryKindHasAJobWithItsOwnEndMessage)
{
    const CWorkerMessages& m = CWorkerMessages::Get();
    EXPECT_EQ(CWorkerLauncher::MakeJob(ENWorkerKind::Read)->DoneMessage(), m.IdentifyDone);
    EXPECT_EQ(CWorkerLauncher::MakeJob(ENWorkerKind::Write)->DoneMessage(), m.WriteSettingsDone);
    EXPECT_EQ(CWorkerLauncher::MakeJob(ENWorkerKind::FactoryDefaults)->DoneMessage(), m.FactoryDefaultsDone);
    EXPECT_EQ(CWorkerLauncher::MakeJob(ENWorkerKind::SoftwareReset)->DoneMessage(), m.SoftwareResetDone);
    EXPECT_EQ(CWorkerLauncher::MakeJob(ENWorkerKind::ResetFileSystem)->DoneMessage(), m.ResetFileSystemDone);
}

INSTANTIATE_TEST_SUITE_P(Tcp, WorkerLauncherTest, ::testing::Values(false));

}

}  // namespace Corvane
