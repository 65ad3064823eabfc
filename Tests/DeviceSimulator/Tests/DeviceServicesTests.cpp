#include <gtest/gtest.h>

#include "Tests/DeviceSimulator/DeviceSimulator.h"
#include "Tests/DeviceSimulator/Tests/TestClient.h"

using namespace SimTest;
using DevSim::CDeviceSimulator;
using DevSim::tDeviceData;

namespace {

class DeviceServices : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sim_.Start()) << sim_.LastError();
        ASSERT_TRUE(client_.Connect(sim_.Port()));
    }
    std::vector<uint8_t> Ask(const std::vector<uint8_t>& request, uint16_t command = 0x1288)
    {
        tFrameSpec spec;
        spec.command = command;
        spec.transaction = ++transaction_;
        const auto answer = client_.Exchange(spec, request);
        return answer ? answer->Data() : std::vector<uint8_t>{};
    }

    CDeviceSimulator sim_;
    CTestClient client_;
    uint16_t transaction_ = 0;
};

} // namespace

TEST_F(DeviceServices, NetworkParametersPerPortInReversedByteOrder)
{
    sim_.Model().Update([](tDeviceData& d) {
        d.AddDefaultPort(0, "192.168.1.10");
        d.AddDefaultPort(1, "10.0.0.7");
        d.SetNetName(0, 1, 7, "node-a");
    });
    const auto ip = Ask(Words({0x501, 0, 0, 1, 0}));
    ASSERT_EQ(ip.size(), 16u);
    EXPECT_EQ(Get16(ip, 2), 0);
    EXPECT_EQ(Get16(ip, 10), 4);
    EXPECT_EQ(std::vector<uint8_t>(ip.begin() + 12, ip.end()), (std::vector<uint8_t>{10, 1, 168, 192}));

    const auto second = Ask(Words({0x501, 0, 1, 1, 1}));
    EXPECT_EQ(std::vector<uint8_t>(second.begin() + 12, second.end()), (std::vector<uint8_t>{7, 0, 0, 10}));

    const auto mac = Ask(Words({0x501, 0, 0, 10, 0}));
    EXPECT_EQ(std::vector<uint8_t>(mac.begin() + 12, mac.end()),
              (std::vector<uint8_t>{0x01, 0x00, 0x00, 0xE1, 0x5A, 0x02}));

    const auto host = Ask(Words({0x501, 0, 0, 7, 1}));
    EXPECT_EQ(std::string(host.begin() + 12, host.end()), "node-a");

    // A port the device does not have.
    EXPECT_EQ(Get16(Ask(Words({0x501, 0, 2, 1, 0})), 2), 0x8213);
}

TEST_F(DeviceServices, SetNetworkParameterChecksSizeAndStores)
{
    sim_.Model().Update([](tDeviceData& d) { d.AddDefaultPort(0, "192.168.1.10"); });
    std::vector<uint8_t> set = Words({0x502, 0, 0, 1, 1, 4});
    for (uint8_t b : {20, 1, 168, 192})
        set.push_back(b);
    EXPECT_EQ(Get16(Ask(set), 2), 0);
    EXPECT_EQ(*sim_.Model().Get().NetParam(0, 1, 1), (std::vector<uint8_t>{20, 1, 168, 192}));

    std::vector<uint8_t> wrongSize = Words({0x502, 0, 0, 1, 1, 3, 0, 0});
    EXPECT_EQ(Get16(Ask(wrongSize), 2), 0x8213);
    std::vector<uint8_t> missingBytes = Words({0x502, 0, 0, 1, 1, 4}); // length says 4, none follow
    EXPECT_EQ(Get16(Ask(missingBytes), 2), 0x8210);
    std::vector<uint8_t> mac = Words({0x502, 0, 0, 10, 1, 6, 0, 0, 0});
    EXPECT_EQ(Get16(Ask(mac), 2), 0x8214);
}

TEST_F(DeviceServices, RegistersCheckTableRangeAndProtection)
{
    sim_.Model().Update([](tDeviceData& d) {
        d.registers[{0, 100}].words = {0x0200, 0, 0};
        d.registers[{0, 9}] = {{1, 2}, true};
    });
    const auto read = Ask(Words({0x401, 0, 100, 0, 3}));
    ASSERT_EQ(read.size(), 18u);
    EXPECT_EQ(Get16(read, 0), 0x401);
    EXPECT_EQ(Get16(read, 10), 0);
    EXPECT_EQ(Get16(read, 12), 0x0200);
    EXPECT_EQ(Get16(Ask(Words({0x401, 0, 100, 2, 2})), 10), 0x8215);
    EXPECT_EQ(Get16(Ask(Words({0x401, 0, 55, 0, 1})), 10), 0x8200);
    EXPECT_EQ(Get16(Ask(Words({0x402, 0, 9, 0, 1, 5})), 10), 0x821C);
    EXPECT_EQ(Get16(Ask(Words({0x402, 0, 100, 0, 2, 5})), 10), 0x8210) << "fewer words than the count";

    sim_.Model().Update([](tDeviceData& d) { d.writeAccessRequired = true; });
    EXPECT_EQ(Get16(Ask(Words({0x402, 0, 100, 1, 1, 5})), 10), 0x8202);
    EXPECT_EQ(Get16(Ask(Words({0x101, 0x5C3B})), 4), 1);
    EXPECT_EQ(Get16(Ask(Words({0x402, 0, 100, 1, 1, 5})), 10), 0);
    EXPECT_EQ(sim_.Model().Get().registers.at({0, 100}).words[1], 5);

    // Table info lists the tables of position 0 with their sizes.
    const auto info = Ask(Words({0x113}));
    ASSERT_EQ(info.size(), 6u + 8u);
    EXPECT_EQ(Get16(info, 4), 2);
    EXPECT_EQ(Get16(info, 6), 9);
    EXPECT_EQ(Get16(info, 8), 2);
    EXPECT_EQ(Get16(info, 10), 100);
}

TEST_F(DeviceServices, ClockRoundTripsThroughBothServices)
{
    std::vector<uint8_t> set = Words({0x119});
    Put32(set, 1700000000);
    Put16(set, static_cast<uint16_t>(-120));
    Put16(set, 1);
    EXPECT_EQ(Get16(Ask(set), 2), 0);
    const auto get = Ask(Words({0x118}));
    ASSERT_EQ(get.size(), 12u);
    EXPECT_EQ(Get32(get, 4), 1700000000u);
    EXPECT_EQ(static_cast<int16_t>(Get16(get, 8)), -120);
    EXPECT_EQ(Get16(get, 10), 1);
    const auto rtc = Ask(Words({0x116}));
    EXPECT_EQ(static_cast<int16_t>(Get16(rtc, 8)), -2) << "the plain clock reports hours";

    sim_.Model().Update([](tDeviceData& d) { d.unsupportedServices = {0x118}; });
    EXPECT_EQ(Get16(Ask(Words({0x118})), 2), 0x8212);
}

TEST_F(DeviceServices, StatesCardRuntimesAndUnknownService)
{
    sim_.Model().Update([](tDeviceData& d) {
        d.stateWords = {1, 0, 0, 0, 0, 0, 0, 0};
        d.sdCard = {true, 2, false, 1024, 512, 0x12345678};
        d.runtimeSystems = {1, 3};
    });
    EXPECT_EQ(Ask(Words({0x106})).size(), 20u);
    Ask(Words({0x10A, 1}));
    EXPECT_EQ(sim_.Model().Get().stateWords[3], 1);
    EXPECT_EQ(Get16(Ask(Words({0x10B, 2})), 4), 2);

    const auto card = Ask(Words({0x310}));
    ASSERT_EQ(card.size(), 18u);
    EXPECT_EQ(Get16(card, 4), 1);
    EXPECT_EQ(Get16(card, 10), 1024);
    EXPECT_EQ(Get32(card, 14), 0x12345678u);

    const auto runtimes = Ask(Words({0x601}));
    EXPECT_EQ(runtimes.size() / 2 - 2, 2u);
    EXPECT_EQ(Get16(Ask(Words({0x603, 3})), 4), 3);
    EXPECT_EQ(Get16(Ask(Words({0x603, 2})), 2), 0x8213);
    EXPECT_EQ(sim_.Model().Get().activeRuntime, 3);

    const auto unknown = Ask(Words({0x7777}));
    ASSERT_EQ(unknown.size(), 4u);
    EXPECT_EQ(Get16(unknown, 0), 0x7777);
    EXPECT_EQ(Get16(unknown, 2), 0x8212);
    EXPECT_EQ(Get16(Ask(Words({0x504})), 2), 0x8210) << "argument missing";
    EXPECT_EQ(Get16(Ask({0x01}), 2), 0x8210) << "not even a whole code word";
}

TEST_F(DeviceServices, MonitorEntriesAreReadInOrderThenEmpty)
{
    sim_.Model().Update([](tDeviceData& d) { d.monitor = {{100, 5, 2, 1, 300}}; });
    EXPECT_EQ(Get16(Ask(Words({0x225})), 4), 1);
    const auto entry = Ask(Words({0x227}));
    ASSERT_EQ(entry.size(), 16u);
    EXPECT_EQ(Get32(entry, 4), 100u);
    EXPECT_EQ(Get16(entry, 8), 5);
    EXPECT_EQ(entry[10], 2);
    EXPECT_EQ(Get32(entry, 12), 300u);
    EXPECT_EQ(Get16(Ask(Words({0x227})), 8), 0xFFFF);
    EXPECT_EQ(Ask(Words({0x226})).size(), 6u);
    EXPECT_EQ(Get16(Ask(Words({0x227})), 8), 5);
}

TEST_F(DeviceServices, ProtocolBufferSizeIsClampedAndThenUsedForSlicing)
{
    const auto set = Ask(Words({14, 9000}), 1);
    ASSERT_EQ(set.size(), 6u);
    EXPECT_EQ(Get16(set, 4), 1400);
    EXPECT_EQ(Get16(Ask(Words({14, 200}), 1), 4), 200);

    sim_.Model().Update([](tDeviceData& d) { d.identTextOverride = std::string(500, 'q'); });
    tFrameSpec spec;
    spec.transaction = 99;
    const auto announce = client_.Exchange(spec, Words({0x108}));
    ASSERT_TRUE(announce->flags & 0x4000);
    EXPECT_EQ(Get16(announce->Data(), 4), 3); // 510 bytes in 200-byte fragments
}

TEST_F(DeviceServices, UpdateUploadArrivesWhole)
{
    std::vector<uint8_t> request = Words({5});
    for (int i = 0; i < 3000; ++i)
        request.push_back(static_cast<uint8_t>(i * 7));
    const size_t count = (request.size() + 1399) / 1400;
    for (size_t n = 1; n <= count; ++n) {
        tFrameSpec spec;
        spec.command = 0x1279;
        spec.transaction = 3;
        spec.fragment = static_cast<uint16_t>(n);
        spec.count = static_cast<uint16_t>(count);
        spec.flags = 0x8000;
        const size_t begin = (n - 1) * 1400;
        const size_t end = std::min(request.size(), begin + 1400);
        ASSERT_TRUE(client_.Exchange(spec, std::vector<uint8_t>(request.begin() + static_cast<long>(begin),
                                                                request.begin() + static_cast<long>(end))));
    }
    const auto image = sim_.Model().Get().uploadedImage;
    EXPECT_EQ(image, std::vector<uint8_t>(request.begin() + 2, request.end()));

    sim_.Model().Update([](tDeviceData& d) { d.flashResult = 3; });
    EXPECT_EQ(Ask(Words({7}), 0x1279).size(), 8u);
    const auto state = Ask(Words({0x666, 6}), 0x1279);
    EXPECT_EQ(Get16(state, 0), 0x666);
    EXPECT_EQ(Get16(state, 4), 6);
}
