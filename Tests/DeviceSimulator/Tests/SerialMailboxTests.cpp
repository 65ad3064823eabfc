// The mailbox services of the serial side, without a line.
#include "Tests/DeviceSimulator/SerialMailbox.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace DevSim;

namespace {

std::vector<uint16_t> RunService(CSerialMailbox& mailbox, tDeviceData& d, uint8_t group, uint8_t service,
                                 std::vector<uint16_t> args = {})
{
    std::vector<uint16_t> words{static_cast<uint16_t>(group | service << 8), static_cast<uint16_t>(args.size())};
    words.insert(words.end(), args.begin(), args.end());
    EXPECT_TRUE(mailbox.Write(d, 0, words));
    return mailbox.Read(0, 255);
}

std::string Bytes(const std::vector<uint16_t>& words, size_t fromByte, size_t count)
{
    std::string text;
    for (size_t i = fromByte; i < fromByte + count; ++i)
        text.push_back(static_cast<char>(words.at(3 + i / 2) >> (8 * (i % 2))));
    return text;
}

} // namespace

TEST(SerialMailboxTest, IdentificationTextsAreCutToTheAnswerSize)
{
    tDeviceData d;
    d.identItems = {{"ORDER", "0612-0001"}, {"DESCR", std::string(100, 'x')}, {"HW-VER", "01"}, {"SW-VER", "02"}};
    CSerialMailbox mailbox;
    const auto answer = RunService(mailbox, d, 0x01, 0x08);
    ASSERT_LE(answer.size(), 3u + 41u);
    EXPECT_EQ(answer[2], 0);
    const size_t order = answer[3] & 0xFF;
    const size_t descr = answer[3] >> 8;
    const size_t hw = answer[4] & 0xFF;
    EXPECT_EQ(order, 9u);
    EXPECT_EQ(4 + order + descr, 82u); // the description fills the rest
    EXPECT_EQ(hw, 0u);
    EXPECT_EQ(Bytes(answer, 4, order), "0612-0001");
}

TEST(SerialMailboxTest, RequestCountsAreChecked)
{
    tDeviceData d;
    CSerialMailbox mailbox;
    // A word count that runs past the mailbox.
    EXPECT_TRUE(mailbox.Write(d, 0, {0x0101, 300}));
    EXPECT_EQ(mailbox.Read(0, 3)[2], STATUS_ARGUMENT_COUNT);
    // Fewer data words than the byte length announces.
    d.SetNetName(0, 0, NET_HOST_NAME, "host");
    EXPECT_EQ(RunService(mailbox, d, 0x05, 0x02, {0, NET_HOST_NAME, 0, 10, 0x4141})[2], STATUS_ARGUMENT_COUNT);
    EXPECT_EQ(d.NetParam(0, 0, NET_HOST_NAME)->size(), 4u);
    // A missing argument.
    EXPECT_EQ(RunService(mailbox, d, 0x06, 0x03)[2], STATUS_ARGUMENT_COUNT);
}

TEST(SerialMailboxTest, WritesAwayFromRegisterZeroDoNotStartTheService)
{
    tDeviceData d;
    CSerialMailbox mailbox;
    EXPECT_FALSE(mailbox.Write(d, 1, {0}));
    EXPECT_TRUE(mailbox.Read(0, 10).empty()); // no answer yet
    EXPECT_EQ(d.restartCount, 0u);
    EXPECT_TRUE(mailbox.Write(d, 0, {0x0201}));
    EXPECT_EQ(d.restartCount, 1u);
}

TEST(SerialMailboxTest, TableInfoAndNetworkParameterAnswers)
{
    tDeviceData d;
    d.registers[{0, 2}].words.resize(256);
    d.registers[{0, 5}].words.resize(10);
    d.registers[{3, 9}].words.resize(4); // another node position: not listed
    d.SetNetAddress(1, 0, NET_IP_ADDRESS, "192.168.1.10");
    CSerialMailbox mailbox;
    auto answer = RunService(mailbox, d, 0x01, 0x13);
    ASSERT_EQ(answer.size(), 3u + 3u);
    EXPECT_EQ(answer[3], 2);
    EXPECT_EQ(answer[4], (2 << 9) | 0x100);
    EXPECT_EQ(answer[5], (5 << 9) | 10);

    answer = RunService(mailbox, d, 0x05, 0x01, {1, NET_IP_ADDRESS, 0});
    ASSERT_EQ(answer.size(), 3u + 4u + 2u);
    EXPECT_EQ(answer[6], 4);                  // byte length
    EXPECT_EQ(answer[7], 10 | (1 << 8));      // 10, 1, 168, 192
    EXPECT_EQ(answer[8], 168 | (192 << 8));
    EXPECT_EQ(RunService(mailbox, d, 0x05, 0x01, {1, NET_GATEWAY, 0})[2], STATUS_INVALID_ARGUMENT);
}
