// A worker whose window goes away, and a worker whose owner goes away.
#include "Products/Corvane/Workers/Tests/WorkerRig.h"

#include "Products/Corvane/Workers/ReadWorker.h"
#include "Products/Corvane/Workers/WriteSettingsWorker.h"

namespace Corvane {

using namespace WorkerTest;

namespace {

class WorkerLifetimeTest : public WorkerRig {};

TEST_P(WorkerLifetimeTest, WindowThatWentAwayGetsNothingAndTheFlagIsCleared)
{
    Start<CReadWorker>();
    DestroyWindow(m_hWindow);
    m_pWorker->Join();
    UiTest::Drain();
    EXPECT_TRUE(m_Handler.Of(Messages().IdentifyDone).empty());
    EXPECT_FALSE(m_Busy.IsSet());
}

TEST_P(WorkerLifetimeTest, OwnerClosingDuringAWriteStopsAndWaitsForIt)
{
    ReadDevice();
    // Every answer is slow, so the owner goes while the worker is busy.
    DevSim::tFaultRule slow;
    slow.kind = DevSim::ENFault::Delay;
    slow.delayMs = 20;
    slow.times = -1;
    Faults().Add(slow);
    Start<CWriteSettingsWorker>();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    DestroyWindow(m_hWindow);
    m_pWorker.reset();
    UiTest::Drain();
    EXPECT_TRUE(m_Handler.Of(Messages().WriteSettingsDone).empty());
    EXPECT_FALSE(m_Busy.IsSet());
}

TEST_P(WorkerLifetimeTest, OnlyOneWorkerAtATime)
{
    DevSim::tFaultRule slow;
    slow.kind = DevSim::ENFault::Delay;
    slow.delayMs = 200;
    Faults().Add(slow);
    Start<CReadWorker>();
    EXPECT_FALSE(m_Busy.TryAcquire()) << "the flag stays set while the worker runs";
    ASSERT_TRUE(WaitFor(Messages().IdentifyDone));
    EXPECT_TRUE(m_Busy.TryAcquire());
    m_Busy.Release();
}

INSTANTIATE_TEST_SUITE_P(Tcp, WorkerLifetimeTest, ::testing::Values(false));

}

}  // namespace Corvane
