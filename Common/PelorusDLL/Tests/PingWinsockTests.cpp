// The echo over a raw ICMP socket: the packets it builds and takes apart,
// and the path itself where this process may open a raw socket.
#include "Common/PelorusDLL/Ping.h"
#include "Common/PelorusDLL/Tests/DebugCapture.h"

#include "Platform/Base/Format.h"
#include "Platform/Base/Thread.h"
#include "Platform/Net/WinSock.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class CRawPing : public CPing {
public:
    using CPing::DecodeResponse;
    using CPing::EchoRequest;
    using CPing::EResponse;
};

// A system that refuses the raw socket, as it does to an unprivileged process.
class CRefusedRawPing : public CPing {
protected:
    SOCKET OpenRawSocket() override
    {
        WSASetLastError(WSAEACCES);
        return INVALID_SOCKET;
    }
};

class PingWinsock : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &m_data), 0); }
    void TearDown() override { WSACleanup(); }

    static bool MayOpenRawSocket()
    {
        const SOCKET s = socket(AF_INET, SOCK_RAW, IPPROTO_ICMP);
        if (s == INVALID_SOCKET)
            return false;
        closesocket(s);
        return true;
    }

private:
    WSADATA m_data{};
};

WORD OwnIdentifier()
{
    return static_cast<WORD>(GetCurrentProcessId() & 0xFFFF);
}

// An IPv4 header of `headerWords` 32-bit words, then an ICMP echo header.
std::vector<BYTE> Packet(BYTE type, WORD identifier, WORD sequence, int headerWords = 5)
{
    std::vector<BYTE> packet(static_cast<std::size_t>(headerWords) * 4 + 12 + 4, 0x45);
    packet[0] = static_cast<BYTE>(0x40 | headerWords);
    BYTE* icmp = packet.data() + headerWords * 4;
    icmp[0] = type;
    icmp[1] = 0;
    icmp[4] = static_cast<BYTE>(identifier >> 8);
    icmp[5] = static_cast<BYTE>(identifier);
    icmp[6] = static_cast<BYTE>(sequence >> 8);
    icmp[7] = static_cast<BYTE>(sequence);
    return packet;
}

sockaddr_in From()
{
    sockaddr_in from = {};
    from.sin_family = AF_INET;
    from.sin_addr.s_addr = htonl(0x0A010203);
    return from;
}

using Response = CRawPing::EResponse;

TEST(PingDecodeResponse, TellsOurReplyFromEverythingElse)
{
    CDebugCapture capture;
    const sockaddr_in from = From();
    const auto decode = [&](const std::vector<BYTE>& packet, int length = -1) {
        return CRawPing::DecodeResponse(packet.data(), length < 0 ? static_cast<int>(packet.size()) : length, from, 7);
    };
    EXPECT_EQ(decode(Packet(0, OwnIdentifier(), 7)), Response::Reply);
    EXPECT_EQ(decode(Packet(0, OwnIdentifier(), 7, 6)), Response::Reply) << "IP options move the ICMP part";

    EXPECT_EQ(decode(Packet(0, OwnIdentifier(), 7), 20 + 11), Response::Invalid);
    EXPECT_EQ(decode(Packet(0, OwnIdentifier(), 7, 6), 20 + 12), Response::Invalid) << "the header is 24 bytes";
    EXPECT_EQ(decode(Packet(0, OwnIdentifier(), 7), 0), Response::Invalid);
    EXPECT_EQ(decode(Packet(0, OwnIdentifier(), 7, 0)), Response::Invalid) << "a header length below 20 bytes";
    EXPECT_NE(capture.Text().find(L"CPing::DecodeResponse, Received too few bytes in ICMP response packet from "
                                  L"address:10.1.2.3\n"),
              std::wstring::npos);

    const WORD foreign = static_cast<WORD>(OwnIdentifier() ^ 0x5A5A);
    EXPECT_EQ(decode(Packet(0, foreign, 7)), Response::NotOurs);
    EXPECT_NE(capture.Text().find(FormatW(
                  L"CPing::DecodeResponse, Received an ICMP response packet for some other process: ID:%d\n",
                  int{foreign})),
              std::wstring::npos);
    EXPECT_EQ(decode(Packet(0, OwnIdentifier(), 8)), Response::NotOurs) << "an earlier request's late reply";
    EXPECT_EQ(decode(Packet(8, OwnIdentifier(), 7)), Response::NotOurs) << "our own request seen on loopback";

    EXPECT_EQ(decode(Packet(3, OwnIdentifier(), 7)), Response::Invalid);
    EXPECT_NE(capture.Text().find(L"CPing::DecodeResponse, Non-echo reply type field in ICMP reponse packet, Value:3\n"),
              std::wstring::npos);
}

TEST(PingEchoRequest, CarriesIdentifierSequenceAndPatternUnderItsChecksum)
{
    const std::vector<BYTE> request = CRawPing::EchoRequest(0x1234, 32);
    ASSERT_EQ(request.size(), 12u + 32u);
    EXPECT_EQ(request[0], 8);
    EXPECT_EQ(request[1], 0);
    EXPECT_EQ((request[4] << 8) | request[5], OwnIdentifier());
    EXPECT_EQ((request[6] << 8) | request[7], 0x1234);
    for (std::size_t i = 12; i < request.size(); ++i)
        ASSERT_EQ(request[i], 0x45) << i;
    EXPECT_EQ(Net::InternetChecksum(request.data(), request.size()), 0);
    EXPECT_EQ(CRawPing::EchoRequest(1, 0xFFFF).size(), 12u + 65500u);
    EXPECT_EQ(Net::InternetChecksum(CRawPing::EchoRequest(1, 3).data(), 15), 0) << "odd length";
}

TEST_F(PingWinsock, RefusedRawSocketFailsWithItsTrace)
{
    CDebugCapture capture;
    CRefusedRawPing ping;
    tPingReply reply;
    EXPECT_FALSE(ping.PingUsingWinsock(L"127.0.0.1", &reply));
    EXPECT_EQ(reply.Address, 0u);
    EXPECT_NE(capture.Text().find(L"CPing::PingUsingWinsock, Failed to create a raw socket\n"), std::wstring::npos);
    EXPECT_FALSE(ping.PingUsingWinsock(nullptr, &reply));
    EXPECT_FALSE(ping.PingUsingWinsock(L"no-such-host.invalid", &reply));
    EXPECT_NE(capture.Text().find(L"CPing::PingUsingWinsock, Could not resolve the host name no-such-host.invalid\n"),
              std::wstring::npos);
}

TEST_F(PingWinsock, LoopbackAnswersOverARawSocket)
{
    if (!MayOpenRawSocket())
        GTEST_SKIP() << "this process may not open a raw socket";
    CPing ping;
    tPingReply reply;
    ASSERT_TRUE(ping.PingUsingWinsock(L"127.0.0.1", &reply, 42, 10, 2000, 32, 0, true));
    EXPECT_EQ(reply.Address, htonl(INADDR_LOOPBACK));
    EXPECT_EQ(reply.EchoReplyStatus, 0u);
    EXPECT_LT(reply.RTT, 2000u);
    tPingReply bound;
    ASSERT_TRUE(ping.PingUsingWinsock(L"127.0.0.1", &bound, 43, 10, 2000, 4, 0, false, L"127.0.0.1"));
    EXPECT_EQ(bound.Address, htonl(INADDR_LOOPBACK));
}

TEST_F(PingWinsock, UnusableLocalAddressFailsTheBind)
{
    if (!MayOpenRawSocket())
        GTEST_SKIP() << "this process may not open a raw socket";
    CDebugCapture capture;
    CPing ping;
    EXPECT_FALSE(ping.PingUsingWinsock(L"127.0.0.1", nullptr, 1, 10, 500, 32, 0, false, L"no-such-host.invalid"));
    EXPECT_NE(capture.Text().find(L"CPing::Bind, Could not resolve the host name no-such-host.invalid\n"),
              std::wstring::npos);
    EXPECT_NE(capture.Text().find(L"CPing::PingUsingWinsock, Failed to bind to specified address no-such-host.invalid\n"),
              std::wstring::npos);
    // An address of no interface here.
    EXPECT_FALSE(ping.PingUsingWinsock(L"127.0.0.1", nullptr, 1, 10, 500, 32, 0, false, L"192.0.2.1"));
}

}
