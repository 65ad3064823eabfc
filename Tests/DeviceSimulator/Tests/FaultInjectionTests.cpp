#include <gtest/gtest.h>

#include <chrono>

#include "Tests/DeviceSimulator/DeviceSimulator.h"
#include "Tests/DeviceSimulator/FaultRuleText.h"
#include "Tests/DeviceSimulator/Tests/TestClient.h"

using namespace std::chrono_literals;
using namespace SimTest;
using DevSim::CDeviceSimulator;
using DevSim::ENFault;
using DevSim::tFaultRule;

namespace {

class FaultInjection : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sim_.Start()) << sim_.LastError();
        sim_.Model().Update([](DevSim::tDeviceData& d) { d.addressSwitch = 0x0102; });
        ASSERT_TRUE(client_.Connect(sim_.Port()));
    }
    tFaultRule Rule(ENFault kind, uint16_t service = 0x107)
    {
        tFaultRule rule;
        rule.kind = kind;
        rule.match.serviceCode = service;
        return rule;
    }
    std::optional<tFrame> AskSwitch(uint16_t transaction = 1, int timeoutMs = 2000)
    {
        tFrameSpec text;
        text.transaction = transaction;
        text.checksumLength = checksum_;
        return client_.Exchange(text, Words({0x107}), timeoutMs);
    }

    CDeviceSimulator sim_;
    CTestClient client_;
    uint16_t checksum_ = 0;
};

} // namespace

TEST_F(FaultInjection, BusyOnceThenTheRepeatedFragmentSucceeds)
{
    sim_.Faults().Add(Rule(ENFault::Busy));
    const auto busy = AskSwitch();
    ASSERT_TRUE(busy);
    EXPECT_EQ(busy->flags & 0x0003, 0x0003);
    EXPECT_EQ(busy->status, 10);
    const auto ok = AskSwitch();
    ASSERT_TRUE(ok);
    EXPECT_EQ(ok->status, 0);
    EXPECT_EQ(Get16(ok->Data(), 4), 0x0102);
    EXPECT_EQ(sim_.Faults().FiredCount(), 1u);
}

TEST_F(FaultInjection, RuleFiresTheGivenNumberOfTimesOrAlways)
{
    tFaultRule twice = Rule(ENFault::Busy);
    twice.times = 2;
    sim_.Faults().Add(twice);
    EXPECT_EQ(AskSwitch()->status, 10);
    EXPECT_EQ(AskSwitch()->status, 10);
    EXPECT_EQ(AskSwitch()->status, 0);

    tFaultRule always = Rule(ENFault::ErrorStatus, 0x602);
    always.status = 0x8214;
    always.times = -1;
    sim_.Faults().Add(always);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(client_.Exchange({}, Words({0x602}))->status, 0x8214);
    EXPECT_EQ(AskSwitch()->status, 0) << "a rule for another service does not apply";
}

TEST_F(FaultInjection, RuleMatchesByFrameNumber)
{
    tFaultRule third;
    third.kind = ENFault::ErrorStatus;
    third.status = 0x8211;
    third.match.frameNumber = 3;
    sim_.Faults().Add(third);
    EXPECT_EQ(AskSwitch(1)->status, 0);
    EXPECT_EQ(AskSwitch(2)->status, 0);
    EXPECT_EQ(AskSwitch(3)->status, 0x8211);
    EXPECT_EQ(AskSwitch(4)->status, 0);
}

TEST_F(FaultInjection, WrongEchoesAreVisibleInTheAnswer)
{
    tFaultRule service = Rule(ENFault::WrongServiceEcho);
    sim_.Faults().Add(service);
    EXPECT_EQ(Get16(AskSwitch()->Data(), 0), 0x108);

    tFaultRule command = Rule(ENFault::WrongCommandEcho);
    command.value = 0x1279;
    sim_.Faults().Add(command);
    EXPECT_EQ(AskSwitch()->command, 0x1279);

    sim_.Faults().Add(Rule(ENFault::WrongTransaction));
    EXPECT_EQ(AskSwitch(41)->transaction, 42);

    sim_.Faults().Add(Rule(ENFault::WrongFragmentNumber));
    EXPECT_EQ(AskSwitch()->fragment, 2);

    sim_.Faults().Add(Rule(ENFault::ZeroFragmentCount));
    EXPECT_EQ(AskSwitch()->count, 0);

    const auto clean = AskSwitch(7);
    EXPECT_EQ(clean->transaction, 7);
    EXPECT_EQ(Get16(clean->Data(), 0), 0x107);
}

TEST_F(FaultInjection, ServiceStatusKeepsTheAnswerWordsAndUsesTheRegisterOffset)
{
    tFaultRule busy = Rule(ENFault::ServiceStatus, 0x504);
    busy.status = 0x821D;
    sim_.Faults().Add(busy);
    const auto mode = client_.Exchange({}, Words({0x504, 5}));
    EXPECT_EQ(mode->status, 0);
    EXPECT_EQ(Get16(mode->Data(), 2), 0x821D);
    EXPECT_EQ(Get16(mode->Data(), 4), 5);

    sim_.Model().Update([](DevSim::tDeviceData& d) { d.registers[{0, 1}].words = {1, 2}; });
    tFaultRule reg = Rule(ENFault::ServiceStatus, 0x402);
    reg.status = 0xFFFC;
    sim_.Faults().Add(reg);
    const auto write = client_.Exchange({}, Words({0x402, 0, 1, 0, 1, 9}));
    EXPECT_EQ(Get16(write->Data(), 10), 0xFFFC);
}

TEST_F(FaultInjection, BadChecksumIsDetectableByTheHost)
{
    checksum_ = 2;
    sim_.Model().Update([](DevSim::tDeviceData& d) { d.checksumLength = 2; });
    sim_.Faults().Add(Rule(ENFault::BadChecksum));
    const auto bad = AskSwitch();
    ASSERT_TRUE(bad);
    EXPECT_FALSE(bad->checksumOk);
    EXPECT_EQ(Get16(bad->Data(), 4), 0x0102) << "only the sum is wrong";
    EXPECT_TRUE(AskSwitch()->checksumOk);
}

TEST_F(FaultInjection, ShortFrameThenClose)
{
    tFaultRule cut = Rule(ENFault::ShortFrame);
    cut.value = 10;
    sim_.Faults().Add(cut);
    ASSERT_TRUE(client_.Send(MakeFrame({}, Words({0x107}))));
    const auto bytes = client_.Receive(24, 2000);
    EXPECT_EQ(bytes.size(), 10u);
    EXPECT_TRUE(client_.eof);
}

TEST_F(FaultInjection, CloseAndResetEndTheConnectionWithoutAnswer)
{
    sim_.Faults().Add(Rule(ENFault::Close));
    ASSERT_TRUE(client_.Send(MakeFrame({}, Words({0x107}))));
    EXPECT_TRUE(client_.Receive(1, 2000).empty());
    EXPECT_TRUE(client_.eof);

    CTestClient second;
    ASSERT_TRUE(second.Connect(sim_.Port()));
    sim_.Faults().Add(Rule(ENFault::Reset));
    ASSERT_TRUE(second.Send(MakeFrame({}, Words({0x107}))));
    EXPECT_TRUE(second.Receive(1, 2000).empty());
    EXPECT_EQ(second.error, ECONNRESET);
}

TEST_F(FaultInjection, CloseAfterAnswerDeliversTheAnswerFirst)
{
    sim_.Faults().Add(Rule(ENFault::CloseAfterAnswer, 0x102));
    const auto answer = client_.Exchange({}, Words({0x102}));
    ASSERT_TRUE(answer);
    EXPECT_EQ(Get16(answer->Data(), 0), 0x102);
    client_.Receive(1, 2000);
    EXPECT_TRUE(client_.eof);
    EXPECT_EQ(sim_.Model().Get().restartCount, 1u);
}

TEST_F(FaultInjection, DelayLongerThanTheClientTimeout)
{
    tFaultRule delay = Rule(ENFault::Delay);
    delay.delayMs = 400;
    sim_.Faults().Add(delay);
    const auto begin = std::chrono::steady_clock::now();
    EXPECT_FALSE(AskSwitch(1, 100)) << "nothing within the client's 100 ms";
    EXPECT_TRUE(client_.timedOut);
    const auto late = client_.ReadFrame(2000);
    ASSERT_TRUE(late);
    EXPECT_GE(std::chrono::steady_clock::now() - begin, 380ms);
    EXPECT_EQ(Get16(late->Data(), 4), 0x0102);
}

TEST_F(FaultInjection, ResendRequestNamesTheFragmentAndTheHostCanGoBack)
{
    sim_.Model().Update([](DevSim::tDeviceData& d) {
        d.protocolBufferSize = 16;
        d.registers[{0, 3}].words = std::vector<uint16_t>(20, 0);
    });
    // 10 + 2 * 12 = 34 bytes: three fragments of 16, 16 and 2.
    std::vector<uint8_t> request = Words({0x402, 0, 3, 0, 12});
    for (uint16_t i = 0; i < 12; ++i)
        Put16(request, static_cast<uint16_t>(i + 1));
    auto fragment = [&](uint16_t n) {
        tFrameSpec text;
        text.transaction = 8;
        text.fragment = n;
        text.count = 3;
        text.flags = 0x8000;
        const size_t begin = (n - 1u) * 16u;
        const size_t end = std::min<size_t>(request.size(), begin + 16);
        return client_.Exchange(text, std::vector<uint8_t>(request.begin() + static_cast<long>(begin),
                                                           request.begin() + static_cast<long>(end)));
    };
    tFaultRule resend;
    resend.kind = ENFault::ResendRequest;
    resend.match.fragmentNumber = 3;
    resend.value = 2;
    sim_.Faults().Add(resend);

    EXPECT_EQ(fragment(1)->flags & 0x0007, 0x0004);
    EXPECT_EQ(fragment(2)->flags & 0x0007, 0x0004);
    const auto asked = fragment(3);
    ASSERT_TRUE(asked);
    EXPECT_EQ(asked->flags & 0x0007, 0x0002);
    ASSERT_GE(asked->Data().size(), 6u);
    EXPECT_EQ(Get16(asked->Data(), 4), 2);
    EXPECT_EQ(sim_.Model().Get().registers.at({0, 3}).words[0], 0) << "nothing written before the last fragment";

    // Go back to fragment 2 as asked, then finish.
    EXPECT_EQ(fragment(2)->flags & 0x0007, 0x0004);
    const auto done = fragment(3);
    ASSERT_TRUE(done);
    EXPECT_EQ(done->flags & 0x0007, 0x0004);
    EXPECT_EQ(Get16(done->Data(), 10), 0);
    const auto words = sim_.Model().Get().registers.at({0, 3}).words;
    EXPECT_EQ(words[0], 1);
    EXPECT_EQ(words[11], 12);
}

TEST_F(FaultInjection, ZeroAnswerTotalAnnouncesNoFragments)
{
    sim_.Faults().Add(Rule(ENFault::ZeroAnswerTotal));
    const auto announce = AskSwitch(5);
    ASSERT_TRUE(announce);
    EXPECT_TRUE(announce->flags & 0x4000);
    EXPECT_EQ(Get16(announce->Data(), 4), 0);
    // A host that fetches "fragment 1 of 0" anyway gets an error, not a crash.
    tFrameSpec fetch;
    fetch.transaction = 5;
    fetch.count = 0;
    fetch.flags = 0x4000;
    const auto refused = client_.Exchange(fetch, {});
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->flags & 0x0001, 0x0001);
}

TEST_F(FaultInjection, AnswerLevelFaultWaitsForTheFrameThatCompletesTheRequest)
{
    sim_.Model().Update([](DevSim::tDeviceData& d) {
        d.protocolBufferSize = 16;
        d.registers[{0, 3}].words = std::vector<uint16_t>(20, 0);
    });
    tFaultRule status = Rule(ENFault::ServiceStatus, 0x402);
    status.status = 0x8203;
    sim_.Faults().Add(status);
    std::vector<uint8_t> request = Words({0x402, 0, 3, 0, 4, 1, 2, 3, 4}); // 18 bytes: two fragments
    tFrameSpec text;
    text.transaction = 2;
    text.count = 2;
    text.flags = 0x8000;
    const auto first = client_.Exchange(text, std::vector<uint8_t>(request.begin(), request.begin() + 16));
    EXPECT_EQ(first->flags & 0x0007, 0x0004);
    text.fragment = 2;
    const auto last = client_.Exchange(text, std::vector<uint8_t>(request.begin() + 16, request.end()));
    EXPECT_EQ(Get16(last->Data(), 10), 0x8203);
}

// The simulator's command line names its faults as text.
TEST(FaultRuleText, ParsesKindsKeysAndRefusesWhatItCannotRead)
{
    DevSim::tFaultRule rule;
    std::string error;
    ASSERT_TRUE(DevSim::ParseFaultRule("ServiceStatus:service=0x116,status=0x8213,times=-1", rule, error)) << error;
    EXPECT_EQ(rule.kind, DevSim::ENFault::ServiceStatus);
    EXPECT_EQ(rule.match.serviceCode, std::optional<uint16_t>(0x116));
    EXPECT_EQ(rule.status, 0x8213);
    EXPECT_EQ(rule.times, -1);
    ASSERT_TRUE(DevSim::ParseFaultRule("Delay:delay=30000,frame=4,readback=1", rule, error)) << error;
    EXPECT_EQ(rule.delayMs, 30000u);
    EXPECT_EQ(rule.match.frameNumber, std::optional<uint32_t>(4));
    EXPECT_EQ(rule.match.readBack, std::optional<bool>(true));
    ASSERT_TRUE(DevSim::ParseFaultRule("Close", rule, error));
    EXPECT_FALSE(rule.match.serviceCode.has_value());
    ASSERT_TRUE(DevSim::ParseFaultRule("AnnouncedLength:service=0x116,value=65535", rule, error)) << error;
    EXPECT_EQ(rule.kind, DevSim::ENFault::AnnouncedLength);
    EXPECT_EQ(rule.value, 0xFFFF);
    ASSERT_TRUE(DevSim::ParseFaultRule("GarbageAnswer:value=64", rule, error)) << error;
    EXPECT_EQ(rule.kind, DevSim::ENFault::GarbageAnswer);
    ASSERT_TRUE(DevSim::ParseFaultRule("LongAnswer:value=65535", rule, error)) << error;
    EXPECT_EQ(rule.kind, DevSim::ENFault::LongAnswer);

    for (const char* bad : {"Melt", "ServiceStatus:status", "ServiceStatus:status=0x10000", "Delay:delay=-5",
                            "Close:service=12x", "Close:colour=1", "Close:"}) {
        EXPECT_FALSE(DevSim::ParseFaultRule(bad, rule, error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
}
