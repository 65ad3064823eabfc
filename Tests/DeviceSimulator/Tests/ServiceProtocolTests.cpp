#include <gtest/gtest.h>

#include <string>

#include "Tests/DeviceSimulator/DeviceSimulator.h"
#include "Tests/DeviceSimulator/Tests/TestClient.h"

using namespace std::chrono_literals;
using namespace SimTest;
using DevSim::CDeviceSimulator;
using DevSim::tDeviceData;

namespace {

class ServiceProtocol : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sim_.Start()) << sim_.LastError();
        ASSERT_TRUE(client_.Connect(sim_.Port()));
    }
    void Model(const std::function<void(tDeviceData&)>& change) { sim_.Model().Update(change); }

    CDeviceSimulator sim_;
    CTestClient client_;
};

std::string TextFrom(const std::vector<uint8_t>& data, size_t offset)
{
    return offset <= data.size() ? std::string(data.begin() + static_cast<long>(offset), data.end()) : std::string();
}

} // namespace

TEST_F(ServiceProtocol, IdentificationServiceAnswersModelTextWithEchoedHeader)
{
    Model([](tDeviceData& d) {
        d.identItems = {{"ORDER", "1234-5678"}, {"SW-VER", "02.01.07"}};
        d.identWords = {0x11, 0x22, 0x33};
    });
    tFrameSpec spec;
    spec.transaction = 0x4321;
    const auto answer = client_.Exchange(spec, Words({0x108}));
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->command, 0x1288);
    EXPECT_EQ(answer->transaction, 0x4321);
    EXPECT_EQ(answer->fragment, 1);
    EXPECT_EQ(answer->count, 1);
    EXPECT_EQ(answer->status, 0);
    EXPECT_EQ(answer->flags & 0x4003, 0x0000) << "a short answer neither continues nor errs";
    const auto data = answer->Data();
    ASSERT_GE(data.size(), 11u);
    EXPECT_EQ(Get16(data, 0), 0x108);
    EXPECT_EQ(Get16(data, 2), 0);
    EXPECT_EQ(Get16(data, 4), 0x11);
    EXPECT_EQ(Get16(data, 8), 0x33);
    EXPECT_EQ(TextFrom(data, 10), "ORDER=1234-5678;SW-VER=02.01.07");
}

TEST_F(ServiceProtocol, IdentificationApiTextHasLengthByte)
{
    Model([](tDeviceData& d) { d.orderNumber = "1234-5678/0000-0001"; });
    tFrameSpec spec;
    spec.command = 1;
    const auto answer = client_.Exchange(spec, Words({1}));
    ASSERT_TRUE(answer);
    const auto data = answer->Data();
    ASSERT_GE(data.size(), 5u);
    EXPECT_EQ(Get16(data, 0), 1);
    EXPECT_EQ(Get16(data, 2), 0);
    EXPECT_EQ(data[4], 19);
    EXPECT_EQ(data.size(), 5u + 19u);
    EXPECT_EQ(TextFrom(data, 5), "1234-5678/0000-0001");

    // Revisions: exactly 13 bytes.
    spec.transaction = 2;
    const auto revisions = client_.Exchange(spec, Words({19}));
    ASSERT_TRUE(revisions);
    EXPECT_EQ(revisions->Data().size(), 13u);
}

TEST_F(ServiceProtocol, LongAnswerIsAnnouncedAndFetchedFragmentByFragment)
{
    std::string big(3000, 'x');
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>('a' + i % 26);
    Model([&](tDeviceData& d) { d.identTextOverride = big; });

    tFrameSpec spec;
    spec.transaction = 9;
    const auto announce = client_.Exchange(spec, Words({0x108}));
    ASSERT_TRUE(announce);
    EXPECT_TRUE(announce->flags & 0x4000);
    const auto head = announce->Data();
    ASSERT_GE(head.size(), 6u);
    EXPECT_EQ(Get16(head, 0), 0x108);
    const uint16_t total = Get16(head, 4);
    // 10 bytes of code, status and words, then the text: 3010 bytes in 1400-byte slices.
    ASSERT_EQ(total, 3);

    std::vector<uint8_t> joined;
    for (uint16_t n = 1; n <= total; ++n) {
        tFrameSpec fetch;
        fetch.transaction = 9;
        fetch.fragment = n;
        fetch.count = total;
        fetch.flags = 0x4000;
        const auto part = client_.Exchange(fetch, {});
        ASSERT_TRUE(part);
        EXPECT_EQ(part->fragment, n);
        EXPECT_EQ(part->count, total);
        EXPECT_LE(part->length, 1400);
        EXPECT_EQ((part->flags & 0x4000) != 0, n < total);
        const auto data = part->Data();
        joined.insert(joined.end(), data.begin(), data.end());
    }
    ASSERT_EQ(joined.size(), 3010u);
    EXPECT_EQ(Get16(joined, 0), 0x108);
    EXPECT_EQ(TextFrom(joined, 10), big);

    // Fetching a fragment again (after a lost answer) gives the same bytes.
    tFrameSpec again;
    again.transaction = 9;
    again.fragment = 2;
    again.count = total;
    again.flags = 0x4000;
    const auto repeat = client_.Exchange(again, {});
    ASSERT_TRUE(repeat);
    EXPECT_EQ(repeat->Data(), std::vector<uint8_t>(joined.begin() + 1400, joined.begin() + 2800));
}

TEST_F(ServiceProtocol, SmallerBufferSizeSlicesAnswersFinerAndLimitsRequests)
{
    Model([](tDeviceData& d) {
        d.protocolBufferSize = 100;
        d.registers[{0, 2}].words = std::vector<uint16_t>(256, 0x5A5A);
    });
    const auto announce = client_.Exchange({}, Words({0x401, 0, 2, 0, 256}));
    ASSERT_TRUE(announce);
    ASSERT_TRUE(announce->flags & 0x4000);
    EXPECT_EQ(Get16(announce->Data(), 4), (12 + 512 + 99) / 100);

    // A frame longer than the device's buffer is refused, not read past.
    tFrameSpec spec;
    spec.transaction = 2;
    std::vector<uint8_t> large = Words({0x402, 0, 2, 0, 60});
    large.resize(large.size() + 120, 0);
    const auto refused = client_.Exchange(spec, large);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->flags & 0x0001, 0x0001);
    EXPECT_EQ(refused->status, 0x8213);
}

TEST_F(ServiceProtocol, MultiFragmentRequestIsCollectedAndAcknowledged)
{
    Model([](tDeviceData& d) {
        d.protocolBufferSize = 64;
        d.registers[{0, 4}].words = std::vector<uint16_t>(100, 0);
    });
    std::vector<uint16_t> words = {0x402, 0, 4, 0, 50};
    for (uint16_t i = 0; i < 50; ++i)
        words.push_back(static_cast<uint16_t>(1000 + i));
    std::vector<uint8_t> request;
    for (uint16_t w : words)
        Put16(request, w);
    const size_t count = (request.size() + 63) / 64; // 110 bytes -> 2

    for (size_t n = 1; n <= count; ++n) {
        tFrameSpec spec;
        spec.transaction = 5;
        spec.fragment = static_cast<uint16_t>(n);
        spec.count = static_cast<uint16_t>(count);
        spec.flags = 0x8000;
        const size_t begin = (n - 1) * 64;
        const size_t end = std::min(request.size(), begin + 64);
        const auto answer =
            client_.Exchange(spec, std::vector<uint8_t>(request.begin() + static_cast<long>(begin),
                                                         request.begin() + static_cast<long>(end)));
        ASSERT_TRUE(answer);
        EXPECT_EQ(answer->flags & 0x0007, 0x0004);
        EXPECT_EQ(answer->fragment, n);
        if (n < count) {
            EXPECT_TRUE(answer->Data().empty());
        } else {
            ASSERT_EQ(answer->Data().size(), 12u);
            EXPECT_EQ(Get16(answer->Data(), 10), 0);
        }
    }
    const auto table = sim_.Model().Get().registers.at({0, 4}).words;
    EXPECT_EQ(table[0], 1000);
    EXPECT_EQ(table[49], 1049);
    EXPECT_EQ(table[50], 0);
}

TEST_F(ServiceProtocol, FragmentThatSkipsAheadGetsResendRequestForTheMissingOne)
{
    tFrameSpec spec;
    spec.transaction = 3;
    spec.fragment = 1;
    spec.count = 3;
    spec.flags = 0x8000;
    ASSERT_TRUE(client_.Exchange(spec, Words({0x402, 0, 1})));
    spec.fragment = 3;
    const auto answer = client_.Exchange(spec, Words({7}));
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->flags & 0x0007, 0x0002);
    ASSERT_GE(answer->Data().size(), 6u);
    EXPECT_EQ(Get16(answer->Data(), 4), 2);

    // A continuation of an unknown transfer asks for fragment 1.
    spec.transaction = 4;
    spec.fragment = 2;
    const auto unknown = client_.Exchange(spec, Words({7}));
    ASSERT_TRUE(unknown);
    EXPECT_EQ(unknown->flags & 0x0007, 0x0002);
    EXPECT_EQ(Get16(unknown->Data(), 4), 1);
}

TEST_F(ServiceProtocol, ChecksumsBothWaysAndBadRequestChecksumAsksForRepeat)
{
    Model([](tDeviceData& d) {
        d.checksumLength = 2;
        d.addressSwitch = 0x77;
    });
    tFrameSpec spec;
    spec.checksumLength = 2;
    const auto good = client_.Exchange(spec, Words({0x107}));
    ASSERT_TRUE(good);
    EXPECT_TRUE(good->checksumOk);
    EXPECT_EQ(Get16(good->Data(), 4), 0x77);

    auto corrupt = MakeFrame(spec, Words({0x107}));
    corrupt.back() ^= 0x01;
    ASSERT_TRUE(client_.Send(corrupt));
    const auto repeat = client_.ReadFrame(2000, 2);
    ASSERT_TRUE(repeat);
    EXPECT_EQ(repeat->flags & 0x0003, 0x0003);
    EXPECT_EQ(repeat->status, 10);
    EXPECT_TRUE(sim_.Log().Records().back().checksumOk == false);
}

TEST_F(ServiceProtocol, MalformedHeadersGetErrorAnswersAndTheSessionGoesOn)
{
    struct tCase {
        uint16_t fragment, count, flags;
        std::vector<uint8_t> data;
    };
    const tCase cases[] = {
        {1, 0, 0, Words({0x107})},      // fragment count 0
        {0, 1, 0, Words({0x107})},      // fragment number 0
        {3, 2, 0x8000, Words({0x107})}, // number above count
        {1, 1, 0x4000, {}},             // fetch of an answer that does not exist
    };
    uint16_t transaction = 1;
    for (const auto& c : cases) {
        tFrameSpec spec;
        spec.transaction = transaction++;
        spec.fragment = c.fragment;
        spec.count = c.count;
        spec.flags = c.flags;
        const auto answer = client_.Exchange(spec, c.data);
        ASSERT_TRUE(answer);
        EXPECT_EQ(answer->flags & 0x0001, 0x0001) << "fragment " << c.fragment << " of " << c.count;
        EXPECT_EQ(answer->status, 0x8213);
    }
    // Flag 0x1000 with fewer than four counted bytes.
    std::vector<uint8_t> frame = MakeFrame({}, {0x07});
    frame[14] = 0x00;
    frame[15] = 0x10;
    ASSERT_TRUE(client_.Send(frame));
    const auto shortExclusive = client_.ReadFrame();
    ASSERT_TRUE(shortExclusive);
    EXPECT_EQ(shortExclusive->status, 0x8213);

    tFrameSpec unknownCommand;
    unknownCommand.command = 0x4242;
    const auto unknown = client_.Exchange(unknownCommand, Words({1}));
    ASSERT_TRUE(unknown);
    EXPECT_EQ(unknown->flags & 0x0001, 0x0001);
    EXPECT_EQ(unknown->status, 0x8212);

    const auto fine = client_.Exchange({}, Words({0x107}));
    ASSERT_TRUE(fine);
    EXPECT_EQ(fine->flags & 0x0001, 0);
}

TEST_F(ServiceProtocol, ExclusiveModeShutsOutOtherFramesUntilClosed)
{
    tFrameSpec ident;
    ident.command = 1;
    std::vector<uint8_t> set = Words({10});
    set.push_back(0); // not permanent
    set.push_back(1);
    const auto opened = client_.Exchange(ident, set);
    ASSERT_TRUE(opened);
    ASSERT_EQ(opened->Data().size(), 11u);
    const uint32_t id = Get32(opened->Data(), 4);
    ASSERT_NE(id, 0u);
    EXPECT_EQ(opened->Data()[8], 1);

    // Without the ID, on this or another connection: rejected.
    EXPECT_EQ(client_.Exchange({}, Words({0x107}))->status, 0x8214);
    CTestClient other;
    ASSERT_TRUE(other.Connect(sim_.Port()));
    EXPECT_EQ(other.Exchange({}, Words({0x107}))->status, 0x8214);
    // Identification stays open to everybody; the other host cannot take over.
    const auto state = other.Exchange(ident, Words({9}));
    ASSERT_TRUE(state);
    EXPECT_EQ(Get32(state->Data(), 4), id);
    EXPECT_EQ(Get16(other.Exchange(ident, set)->Data(), 2), 0x8214);

    // With the ID: served, and the answer echoes it.
    tFrameSpec exclusive;
    exclusive.exclusive = id;
    const auto served = client_.Exchange(exclusive, Words({0x107}));
    ASSERT_TRUE(served);
    EXPECT_EQ(served->status, 0);
    EXPECT_TRUE(served->flags & 0x1000);
    ASSERT_GE(served->counted.size(), 4u);
    EXPECT_EQ(Get32(served->counted, 0), id);
    EXPECT_EQ(Get16(served->Data(), 0), 0x107);

    // The owner goes away: a non-permanent exclusive mode ends with it.
    client_.Close();
    ASSERT_TRUE(sim_.WaitForOpenConnections(1, 2s));
    EXPECT_EQ(sim_.Model().Get().exclusiveIdent, 0u);
    EXPECT_EQ(other.Exchange({}, Words({0x107}))->status, 0);
}

TEST_F(ServiceProtocol, CloseExclusiveModeNeedsTheCurrentIdent)
{
    tFrameSpec ident;
    ident.command = 1;
    std::vector<uint8_t> set = Words({10});
    set.push_back(1);
    set.push_back(1);
    const uint32_t id = Get32(client_.Exchange(ident, set)->Data(), 4);

    std::vector<uint8_t> wrong = Words({11});
    Put32(wrong, id + 1);
    const auto refused = client_.Exchange(ident, wrong);
    EXPECT_EQ(Get16(refused->Data(), 2), 0x8213);
    EXPECT_EQ(refused->Data().size(), 9u);

    std::vector<uint8_t> right = Words({11});
    Put32(right, id);
    const auto closed = client_.Exchange(ident, right);
    ASSERT_EQ(closed->Data().size(), 9u);
    EXPECT_EQ(Get16(closed->Data(), 2), 0);
    EXPECT_EQ(Get32(closed->Data(), 4), 0u);
    EXPECT_EQ(sim_.Model().Get().exclusiveIdent, 0u);
}

TEST_F(ServiceProtocol, FrameLogRecordsWhatTheHostSent)
{
    tFrameSpec spec;
    spec.transaction = 77;
    ASSERT_TRUE(client_.Exchange(spec, Words({0x602})));
    const auto records = sim_.Log().Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].header.transaction, 77);
    EXPECT_EQ(records[0].data, Words({0x602}));
    EXPECT_EQ(records[0].frameNumber, 1u);
}

TEST_F(ServiceProtocol, HeaderThenSilenceIsDroppedAfterFrameTimeout)
{
    Model([](tDeviceData& d) { d.frameTimeoutMs = 100; });
    ASSERT_TRUE(sim_.WaitForOpenConnections(1, 2s));
    auto frame = MakeFrame({}, Words({0x107}));
    frame.resize(20); // length says 2, none sent
    frame.pop_back();
    ASSERT_TRUE(client_.Send(frame));
    client_.Receive(1, 2000);
    EXPECT_TRUE(client_.eof);
    EXPECT_TRUE(sim_.WaitForOpenConnections(0, 2s));
}

TEST_F(ServiceProtocol, BytesBehindACompleteFrameAreRefusedWithTheLine)
{
    auto frame = MakeFrame({}, Words({0x107}));
    frame.push_back(0xEE);
    frame.push_back(0xEE);
    ASSERT_TRUE(client_.Send(frame));
    EXPECT_TRUE(client_.Receive(1, 2000).empty());
    EXPECT_TRUE(client_.eof) << "the frame must not be answered";
    EXPECT_TRUE(sim_.Log().Records().empty());

    CTestClient next;
    ASSERT_TRUE(next.Connect(sim_.Port()));
    EXPECT_TRUE(next.Exchange({}, Words({0x107}))) << "an exact frame is still served";
}
