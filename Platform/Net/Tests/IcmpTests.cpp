#include "Platform/Net/IcmpApi.h"

#include "Platform/Base/KernelObject.h"
#include "Platform/Base/LastError.h"
#include "Platform/Base/WinError.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>

#include <cstring>
#include <vector>

namespace {

IPAddr Address(const char* dotted)
{
    in_addr address{};
    inet_pton(AF_INET, dotted, &address);
    return address.s_addr;
}

class IcmpEcho : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_icmp = IcmpCreateFile();
        if (m_icmp == INVALID_HANDLE_VALUE)
            GTEST_SKIP() << "no ICMP socket may be opened here (error " << GetLastError() << ")";
    }
    void TearDown() override
    {
        if (m_icmp != INVALID_HANDLE_VALUE) {
            EXPECT_TRUE(IcmpCloseHandle(m_icmp));
        }
    }
    HANDLE m_icmp = INVALID_HANDLE_VALUE;
};

}

TEST_F(IcmpEcho, LoopbackAnswersWithTheRequestData)
{
    std::vector<BYTE> data(32, 0x45);
    std::vector<BYTE> reply(sizeof(ICMP_ECHO_REPLY) + data.size() + 8);
    IP_OPTION_INFORMATION options{64, 0, IP_FLAG_DF, 0, nullptr};
    ASSERT_EQ(IcmpSendEcho(m_icmp, Address("127.0.0.1"), data.data(), static_cast<WORD>(data.size()), &options,
                           reply.data(), static_cast<DWORD>(reply.size()), 1000),
              1u)
        << GetLastError();
    ICMP_ECHO_REPLY record;
    std::memcpy(&record, reply.data(), sizeof(record));
    EXPECT_EQ(record.Status, IP_SUCCESS);
    EXPECT_EQ(record.Address, Address("127.0.0.1"));
    EXPECT_LT(record.RoundTripTime, 1000u);
    ASSERT_EQ(record.DataSize, 32);
    EXPECT_EQ(std::memcmp(record.Data, data.data(), data.size()), 0);

    // An empty request is answered too.
    ASSERT_EQ(IcmpSendEcho(m_icmp, Address("127.0.0.1"), nullptr, 0, nullptr, reply.data(),
                           static_cast<DWORD>(reply.size()), 1000),
              1u);
}

TEST_F(IcmpEcho, BufferThatCannotHoldAReplyIsRefused)
{
    std::vector<BYTE> data(32, 0x45);
    // The size a 32-bit reply record would need is too small for this platform's record.
    std::vector<BYTE> reply(data.size() + 28);
    EXPECT_EQ(IcmpSendEcho(m_icmp, Address("127.0.0.1"), data.data(), 32, nullptr, reply.data(),
                           static_cast<DWORD>(reply.size()), 1000),
              0u);
    EXPECT_EQ(GetLastError(), IP_BUF_TOO_SMALL);
    EXPECT_EQ(IcmpSendEcho(m_icmp, Address("127.0.0.1"), data.data(), 32, nullptr, nullptr, 1000, 1000), 0u);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST(IcmpHandles, ClosedOrForeignHandlesAreRefused)
{
    BYTE reply[128];
    EXPECT_EQ(IcmpSendEcho(INVALID_HANDLE_VALUE, Address("127.0.0.1"), nullptr, 0, nullptr, reply, sizeof(reply), 10), 0u);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(IcmpCloseHandle(nullptr));
    HANDLE icmp = IcmpCreateFile();
    if (icmp != INVALID_HANDLE_VALUE) {
        EXPECT_TRUE(IcmpCloseHandle(icmp));
        EXPECT_FALSE(IcmpCloseHandle(icmp));
    }
}

TEST(NeighbourTable, FindsCompleteEntriesOnly)
{
    const char* table =
        "IP address       HW type     Flags       HW address            Mask     Device\n"
        "192.168.1.20     0x1         0x2         02:5a:e1:0a:1b:FF     *        eth0\n"
        "192.168.1.21     0x1         0x0         00:00:00:00:00:00     *        eth0\n"
        "192.168.1.22     0x1         0x2         02:5a:e1:0a:1b        *        eth0\n"
        "garbage line\n";
    const auto found = Net::FindNeighbour(table, Address("192.168.1.20"));
    ASSERT_TRUE(found);
    EXPECT_EQ((*found)[0], 0x02);
    EXPECT_EQ((*found)[2], 0xE1);
    EXPECT_EQ((*found)[5], 0xFF);
    EXPECT_FALSE(Net::FindNeighbour(table, Address("192.168.1.21"))) << "incomplete entry";
    EXPECT_FALSE(Net::FindNeighbour(table, Address("192.168.1.22"))) << "malformed address";
    EXPECT_FALSE(Net::FindNeighbour(table, Address("192.168.1.23")));
    EXPECT_FALSE(Net::FindNeighbour("", Address("192.168.1.20")));
}

TEST(NeighbourTable, SendArpChecksItsArgumentsAndKnowsNoLoopbackAddress)
{
    BYTE mac[6];
    ULONG length = 6;
    EXPECT_EQ(SendARP(Address("127.0.0.1"), 0, mac, &length), ERROR_BAD_NET_NAME);
    ULONG shortLength = 4;
    EXPECT_EQ(SendARP(Address("127.0.0.1"), 0, mac, &shortLength), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(SendARP(Address("127.0.0.1"), 0, nullptr, &length), ERROR_INVALID_PARAMETER);
}

TEST(InternetChecksum, FollowsTheWorkedExampleAndPadsAnOddByte)
{
    const BYTE example[] = {0x00, 0x01, 0xF2, 0x03, 0xF4, 0xF5, 0xF6, 0xF7};
    EXPECT_EQ(Net::InternetChecksum(example, sizeof(example)), 0x220D);
    const BYTE odd[] = {0x00, 0x01, 0xF2};
    EXPECT_EQ(Net::InternetChecksum(odd, sizeof(odd)), static_cast<std::uint16_t>(~(0x0001 + 0xF200)));
    // A packet with its checksum in place sums to zero.
    BYTE packet[] = {0x08, 0x00, 0x00, 0x00, 0x12, 0x34, 0x00, 0x01, 0x45};
    const std::uint16_t sum = Net::InternetChecksum(packet, sizeof(packet));
    packet[2] = static_cast<BYTE>(sum >> 8);
    packet[3] = static_cast<BYTE>(sum);
    EXPECT_EQ(Net::InternetChecksum(packet, sizeof(packet)), 0);
}
