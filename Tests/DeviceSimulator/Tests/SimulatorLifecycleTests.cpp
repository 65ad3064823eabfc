#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "Tests/DeviceSimulator/DeviceSimulator.h"
#include "Tests/DeviceSimulator/Tests/TestClient.h"

using namespace std::chrono_literals;
using DevSim::CDeviceSimulator;
using SimTest::CTestClient;
using SimTest::Get16;
using SimTest::Words;

namespace {

uint16_t AddressSwitchOf(CTestClient& client, uint16_t transaction)
{
    SimTest::tFrameSpec spec;
    spec.transaction = transaction;
    const auto answer = client.Exchange(spec, Words({0x107}));
    if (!answer || answer->Data().size() < 6)
        return 0xFFFF;
    return Get16(answer->Data(), 4);
}

} // namespace

TEST(SimulatorLifecycle, ListensOnEphemeralLoopbackPortAndStopsAgain)
{
    CDeviceSimulator sim;
    ASSERT_TRUE(sim.Start()) << sim.LastError();
    EXPECT_NE(sim.Port(), 0);
    EXPECT_TRUE(sim.IsRunning());
    EXPECT_FALSE(sim.Start()) << "a second start must be refused";

    CTestClient client;
    ASSERT_TRUE(client.Connect(sim.Port()));
    sim.Stop();
    EXPECT_FALSE(sim.IsRunning());

    // Restart on a fresh port works and serves again.
    ASSERT_TRUE(sim.Start());
    sim.Model().Update([](DevSim::tDeviceData& d) { d.addressSwitch = 42; });
    CTestClient again;
    ASSERT_TRUE(again.Connect(sim.Port()));
    EXPECT_EQ(AddressSwitchOf(again, 1), 42);
}

TEST(SimulatorLifecycle, FixedPortInUseIsReported)
{
    CDeviceSimulator first;
    ASSERT_TRUE(first.Start());
    CDeviceSimulator second;
    EXPECT_FALSE(second.Start(first.Port()));
    EXPECT_NE(second.LastError().find("bind"), std::string::npos);
}

TEST(SimulatorLifecycle, StopWithConnectedIdleClientReturnsPromptly)
{
    CDeviceSimulator sim;
    ASSERT_TRUE(sim.Start());
    CTestClient a, b;
    ASSERT_TRUE(a.Connect(sim.Port()));
    ASSERT_TRUE(b.Connect(sim.Port()));
    ASSERT_TRUE(sim.WaitForOpenConnections(2, 2s));

    const auto begin = std::chrono::steady_clock::now();
    sim.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - begin, 500ms);
    EXPECT_EQ(sim.OpenConnections(), 0u);
    a.Receive(1, 1000);
    EXPECT_TRUE(a.eof || a.error != 0) << "the client must see the connection end";
}

TEST(SimulatorLifecycle, StopDuringInjectedDelayAndHalfSentFrameReturnsPromptly)
{
    CDeviceSimulator sim;
    ASSERT_TRUE(sim.Start());
    DevSim::tFaultRule delay;
    delay.kind = DevSim::ENFault::Delay;
    delay.delayMs = 60000;
    sim.Faults().Add(delay);

    CTestClient waiting, halfway;
    ASSERT_TRUE(waiting.Connect(sim.Port()));
    ASSERT_TRUE(waiting.Send(SimTest::MakeFrame({}, Words({0x107}))));
    ASSERT_TRUE(halfway.Connect(sim.Port()));
    ASSERT_TRUE(halfway.Send({0x88, 0x12, 0x01})); // a header that never completes
    ASSERT_TRUE(sim.WaitForOpenConnections(2, 2s));
    std::this_thread::sleep_for(50ms);

    const auto begin = std::chrono::steady_clock::now();
    sim.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - begin, 500ms);
}

TEST(SimulatorLifecycle, TwoConcurrentConnectionsAreServedIndependently)
{
    CDeviceSimulator sim;
    ASSERT_TRUE(sim.Start());
    sim.Model().Update([](DevSim::tDeviceData& d) {
        d.registers[{0, 5}].words = std::vector<uint16_t>(64, 0);
    });

    // Each client writes its own register and reads it back many times while
    // the other does the same; a session mixing up state would show.
    auto worker = [&](uint16_t reg, uint16_t base, int& failures) {
        CTestClient client;
        if (!client.Connect(sim.Port())) {
            failures = 1000;
            return;
        }
        for (uint16_t i = 1; i <= 100; ++i) {
            SimTest::tFrameSpec spec;
            spec.transaction = static_cast<uint16_t>(2 * i);
            const uint16_t value = static_cast<uint16_t>(base + i);
            const auto written = client.Exchange(spec, Words({0x402, 0, 5, reg, 1, value}));
            spec.transaction = static_cast<uint16_t>(2 * i + 1);
            const auto read = client.Exchange(spec, Words({0x401, 0, 5, reg, 1}));
            if (!written || !read || read->transaction != spec.transaction || read->Data().size() != 14 ||
                Get16(read->Data(), 10) != 0 || Get16(read->Data(), 12) != value)
                ++failures;
        }
    };
    int failuresA = 0, failuresB = 0;
    std::thread a(worker, 3, 1000, std::ref(failuresA));
    std::thread b(worker, 7, 2000, std::ref(failuresB));
    a.join();
    b.join();
    EXPECT_EQ(failuresA, 0);
    EXPECT_EQ(failuresB, 0);
    EXPECT_EQ(sim.AcceptedConnections(), 2u);
    const auto data = sim.Model().Get();
    EXPECT_EQ(data.registers.at({0, 5}).words[3], 1100);
    EXPECT_EQ(data.registers.at({0, 5}).words[7], 2100);
}
