#include "Common/PelorusDLL/Ping.h"
#include "Common/PelorusDLL/Tests/DebugCapture.h"

#include "Platform/Base/LastError.h"
#include "Platform/Base/WinError.h"
#include "Platform/Net/WinSock.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <cstring>

namespace {

DWORD Loopback()
{
    return htonl(INADDR_LOOPBACK);
}

TEST(PingLoopback, LocalHostAnswersItsOwnEcho)
{
    CPing ping;
    ASSERT_TRUE(ping.IsICMPAvailable()) << "this machine lets no process send ICMP echo requests";
    tPingReply reply;
    ASSERT_TRUE(ping.PingUsingICMP(L"127.0.0.1", &reply, 10, 2000, 32, 0, false));
    EXPECT_EQ(reply.Address, Loopback());
    EXPECT_EQ(reply.EchoReplyStatus, 0u);
    EXPECT_LT(reply.RTT, 2000u);
}

TEST(PingLoopback, HostNameIsResolvedFirst)
{
    // Name look-up needs started sockets, as the program starts them.
    WSADATA data;
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
    CPing ping;
    tPingReply reply;
    const bool answered = ping.PingUsingICMP(L"localhost", &reply, 10, 2000, 4, 0, true);
    WSACleanup();
    ASSERT_TRUE(answered);
    EXPECT_EQ(reply.Address, Loopback());
}

TEST(PingLoopback, UnspecifiedAddressIsNoAnswer)
{
    // On this system it would reach the local host.
    CPing ping;
    tPingReply reply;
    EXPECT_FALSE(ping.PingUsingICMP(L"0.0.0.0", &reply, 10, 500, 32, 0, false));
    EXPECT_EQ(reply.Address, 0u);
}

TEST(PingLoopback, NullHostFails)
{
    CPing ping;
    EXPECT_FALSE(ping.PingUsingICMP(nullptr, nullptr));
}

TEST(PingLoopback, LoopbackHasNoHardwareAddress)
{
    CPing ping;
    std::wstring mac = L"stale";
    EXPECT_FALSE(ping.GetMACAddress(L"127.0.0.1", mac));
    EXPECT_EQ(mac, L"");
    mac = L"stale";
    EXPECT_FALSE(ping.GetMACAddress(L"not an address", mac));
    EXPECT_EQ(mac, L"");
}

// A system without any ICMP channel.
class CPingWithoutIcmp : public CPing {
protected:
    HANDLE OpenICMP() override { return INVALID_HANDLE_VALUE; }
};

TEST(PingWithoutIcmp, SaysSoInsteadOfReportingNoAnswer)
{
    CDebugCapture capture;
    CPingWithoutIcmp ping;
    EXPECT_FALSE(ping.IsICMPAvailable());
    SetLastError(0);
    EXPECT_FALSE(ping.PingUsingICMP(L"127.0.0.1", nullptr));
    EXPECT_EQ(GetLastError(), ERROR_CALL_NOT_IMPLEMENTED);
    EXPECT_NE(capture.Text().find(L"CPing::PingUsingICMP, ICMP dll is not available"), std::wstring::npos);
}

// Answers every request with a reply record of its choosing, the way the
// platform's echo function lays it out.
class CScriptedPing : public CPing {
public:
    ULONG m_status = IP_SUCCESS;
    bool m_corruptData = false;
    int m_shortenData = 0;
    DWORD m_seenReplySize = 0;
    WORD m_seenRequestSize = 0;
    bool m_requestWasPattern = false;

protected:
    DWORD SendEcho(HANDLE, DWORD address, void* data, WORD size, IP_OPTION_INFORMATION*, void* replyBuffer,
                   DWORD replySize, DWORD) override
    {
        m_seenReplySize = replySize;
        m_seenRequestSize = size;
        const auto* request = static_cast<const BYTE*>(data);
        m_requestWasPattern = true;
        for (WORD i = 0; i < size; ++i)
            m_requestWasPattern = m_requestWasPattern && request[i] == 0x45;
        auto* echo = static_cast<BYTE*>(replyBuffer) + sizeof(ICMP_ECHO_REPLY);
        if (size > 0)
            std::memcpy(echo, data, size);
        if (m_corruptData && size > 0)
            echo[size - 1] = 0x46;
        ICMP_ECHO_REPLY record;
        record.Address = address;
        record.Status = m_status;
        record.RoundTripTime = 3;
        record.DataSize = static_cast<USHORT>(size - m_shortenData);
        record.Data = echo;
        std::memcpy(replyBuffer, &record, sizeof(record));
        return 1;
    }
};

TEST(PingReplies, DestinationUnreachableIsNoAnswer)
{
    CScriptedPing ping;
    ping.m_status = IP_DEST_HOST_UNREACHABLE;
    tPingReply reply;
    SetLastError(0);
    EXPECT_FALSE(ping.PingUsingICMP(L"127.0.0.1", &reply));
    EXPECT_EQ(GetLastError(), 59u);
    EXPECT_EQ(reply.Address, 0u);
}

TEST(PingReplies, OtherDataThanSentFails)
{
    CScriptedPing ping;
    ping.m_corruptData = true;
    EXPECT_FALSE(ping.PingUsingICMP(L"127.0.0.1", nullptr));
    CScriptedPing shorter;
    shorter.m_shortenData = 1;
    EXPECT_FALSE(shorter.PingUsingICMP(L"127.0.0.1", nullptr));
}

TEST(PingReplies, OwnEchoSucceedsAndIsCopied)
{
    CScriptedPing ping;
    tPingReply reply;
    ASSERT_TRUE(ping.PingUsingICMP(L"127.0.0.1", &reply));
    EXPECT_EQ(reply.RTT, 3u);
    EXPECT_EQ(reply.Address, Loopback());
}

TEST(PingReplies, RequestCarriesThePatternAndTheBufferFitsTheReply)
{
    for (unsigned short size : {0, 4, 32, 1000}) {
        CScriptedPing ping;
        EXPECT_TRUE(ping.PingUsingICMP(L"127.0.0.1", nullptr, 10, 100, size));
        EXPECT_EQ(ping.m_seenRequestSize, size);
        EXPECT_TRUE(ping.m_requestWasPattern);
        // One reply record, the echoed data (at least 8 bytes) and an ICMP error header.
        EXPECT_EQ(ping.m_seenReplySize, sizeof(ICMP_ECHO_REPLY) + std::max<unsigned short>(size, 8) + 8);
    }
}

}
