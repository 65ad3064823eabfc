// The connection's own socket as a listening, accepting and datagram end,
// and a send that the socket cuts short.
#include "Common/Communication/TCPIPConnection.h"
#include "Common/Communication/Tests/LoopbackServer.h"

#include <gtest/gtest.h>

#include <pthread.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstring>
#include <thread>
#include <string>
#include <vector>

using ZELL::CSockAddress;
using ZELL::CTCPIPConnection;
using ZELL::CTCPIPConnectionException;

namespace {

constexpr unsigned long kSocketError = 0x30000000u;

class CSocketEnd : public CTCPIPConnection {
public:
    // The ends made here close without the wait a device gets.
    CSocketEnd() { SetSettingsXML(L"<TCPIP CloseWaitTime='0'/>"); }

    using CTCPIPConnection::Accept;
    using CTCPIPConnection::Bind;
    using CTCPIPConnection::Create;
    using CTCPIPConnection::GetPeerAddr;
    using CTCPIPConnection::GetSockAddr;
    using CTCPIPConnection::GetSocketMessage;
    using CTCPIPConnection::Listen;
    using CTCPIPConnection::ReceiveFrom;
    using CTCPIPConnection::SendTo;

    // A socket of `type` on 127.0.0.1 and an ephemeral port; the port.
    unsigned short BindLoopback(int type)
    {
        Create(type);
        sockaddr_in local = {};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        Bind(reinterpret_cast<const sockaddr*>(&local));
        return Port(GetSockAddr());
    }

    static unsigned short Port(const CSockAddress& address) { return ntohs(address.Get().sin_port); }
};

// A peer whose socket takes only part of a request and then nothing.
class CStallingConnection : public CTCPIPConnection {
public:
    std::vector<int> m_offered;

protected:
    int Send(const char*, int length, unsigned long) override
    {
        m_offered.push_back(length);
        return m_offered.size() == 1 ? length / 2 : 0;
    }
};

class TCPIPConnectionSocket : public ::testing::Test {
protected:
    static void Configure(CTCPIPConnection& connection, unsigned short port)
    {
        ASSERT_TRUE(connection.SetSettingsXML(FormatW(
            L"<TCPIP IP-Address='127.0.0.1' ServicePort='%u' ConnectTimeoutSeconds='2' SendTimeoutSeconds='2' "
            L"ReceiveTimeoutSeconds='1' CloseWaitTime='0'/>",
            unsigned{port})));
    }

    // The code and error of what `call` throws; code -1 when it throws nothing.
    template <typename Call>
    static std::pair<LONG, unsigned long> Failure(Call call)
    {
        try {
            call();
        } catch (const CTCPIPConnectionException& error) {
            return {error.m_lCode, error.GetError()};
        }
        return {-1, 0};
    }

    // A listening end on loopback, a client connected to it and the accepted end.
    void ConnectPair()
    {
        const unsigned short port = m_server.BindLoopback(SOCK_STREAM);
        ASSERT_NE(port, 0);
        m_server.Listen();
        Configure(m_client, port);
        m_client.Open();
        ASSERT_EQ(m_server.Accept(m_accepted), 1);
        ASSERT_TRUE(m_accepted.IsOpen());
    }
    void SetUp() override { ASSERT_TRUE(m_client.SetSettingsXML(L"<TCPIP CloseWaitTime='0'/>")); }
    void TearDown() override
    {
        m_client.Close();
        m_accepted.Close();
        m_server.Close();
    }

    ZELL::Testing::WinsockScope m_winsock;
    CSocketEnd m_server;
    CTCPIPConnection m_client;
    CSocketEnd m_accepted;
};

TEST_F(TCPIPConnectionSocket, ListeningConnectionAcceptsASecondOne)
{
    ConnectPair();
    int noDelay = 0;
    int size = sizeof(noDelay);
    getsockopt(static_cast<SOCKET>(static_cast<unsigned int>(m_client)), IPPROTO_TCP, TCP_NODELAY, &noDelay, &size);
    EXPECT_NE(noDelay, 0) << "a request must not wait for the acknowledgement of the one before";
    EXPECT_EQ(m_accepted.GetSockAddr().Get().sin_port, m_server.GetSockAddr().Get().sin_port);
    EXPECT_EQ(std::wstring(m_accepted.GetPeerAddr()), L"127.0.0.1");

    unsigned char hello[] = {'h', 'e', 'l', 'l', 'o'};
    m_client.Write(hello, sizeof(hello), nullptr);
    char message[CTCPIPConnection::kSocketMessageSize];
    std::memset(message, 'x', sizeof(message));
    ASSERT_EQ(m_accepted.GetSocketMessage(message), 5);
    EXPECT_STREQ(message, "hello");

    unsigned char answer[] = {'o', 'k'};
    m_accepted.Write(answer, sizeof(answer), nullptr);
    unsigned char read[2] = {};
    unsigned int count = 0;
    m_client.Read(read, sizeof(read), &count);
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(read[1], 'k');

    // The socket it holds would be lost.
    EXPECT_EQ(Failure([&] { m_server.Accept(m_accepted); }), std::make_pair(LONG{6}, kSocketError | WSAEISCONN));
}

TEST_F(TCPIPConnectionSocket, SocketMessageStopsOneShortOfItsBuffer)
{
    ConnectPair();
    std::vector<unsigned char> flood(3000, 'a');
    m_client.Write(flood.data(), static_cast<unsigned int>(flood.size()), nullptr);
    char message[CTCPIPConnection::kSocketMessageSize];
    int total = 0;
    while (total < 3000) {
        const int count = m_accepted.GetSocketMessage(message);
        ASSERT_GT(count, 0);
        ASSERT_LE(count, CTCPIPConnection::kSocketMessageSize - 1);
        EXPECT_EQ(message[count], '\0');
        total += count;
    }
    EXPECT_EQ(total, 3000);
}

TEST_F(TCPIPConnectionSocket, InterruptedAcceptGivesZero)
{
    struct sigaction interrupting = {};
    interrupting.sa_handler = [](int) {};
    sigemptyset(&interrupting.sa_mask);
    struct sigaction previous = {};
    ASSERT_EQ(sigaction(SIGUSR1, &interrupting, &previous), 0);
    const unsigned short port = m_server.BindLoopback(SOCK_STREAM);
    m_server.Listen();

    std::atomic<bool> returned{false};
    const pthread_t waiting = pthread_self();
    std::thread interrupter([&] {
        for (int i = 0; i < 40 && !returned; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            pthread_kill(waiting, SIGUSR1);
        }
        // Should the signal never break the wait, a connection does.
        if (!returned) {
            Configure(m_client, port);
            m_client.Open();
        }
    });
    const int result = m_server.Accept(m_accepted);
    returned = true;
    interrupter.join();
    sigaction(SIGUSR1, &previous, nullptr);
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(m_accepted.IsOpen());
}

DWORD ReceiveTimeoutOf(const CTCPIPConnection& connection)
{
    DWORD milliseconds = 0;
    int size = sizeof(milliseconds);
    getsockopt(static_cast<SOCKET>(static_cast<unsigned int>(connection)), SOL_SOCKET, SO_RCVTIMEO, &milliseconds,
               &size);
    return milliseconds;
}

TEST_F(TCPIPConnectionSocket, EverySocketGetsTheTimeOutAndEveryChangeReachesIt)
{
    ConnectPair();
    unsigned char byte = 'b';
    const auto pass = [&] {
        m_client.Write(&byte, 1, nullptr);
        m_accepted.Read(&byte, 1, nullptr);
        return ReceiveTimeoutOf(m_accepted);
    };
    EXPECT_EQ(pass(), 15000u) << "the default receive time-out";
    m_accepted.SetCommunicationTimeout(3);
    EXPECT_EQ(pass(), 3000u);

    // A new socket in the same connection starts without the option.
    m_accepted.Close();
    m_client.Close();
    m_client.Open();
    ASSERT_EQ(m_server.Accept(m_accepted), 1);
    EXPECT_EQ(pass(), 3000u);
}

TEST_F(TCPIPConnectionSocket, ServerSideFailuresCarryTheirCodes)
{
    CSocketEnd unbound;
    unbound.Create(SOCK_STREAM);
    EXPECT_EQ(Failure([&] { unbound.Listen(); }), std::make_pair(LONG{5}, kSocketError | WSAEINVAL));
    CSocketEnd target;
    EXPECT_EQ(Failure([&] { unbound.Accept(target); }), std::make_pair(LONG{6}, kSocketError | WSAEINVAL));
    EXPECT_EQ(Failure([&] { unbound.GetPeerAddr(); }), std::make_pair(LONG{13}, kSocketError | WSAENOTCONN));
    unbound.Close();

    CSocketEnd closed;
    EXPECT_EQ(Failure([&] { closed.GetSockAddr(); }), std::make_pair(LONG{14}, kSocketError | WSAENOTSOCK));
    EXPECT_EQ(Failure([&] { closed.Listen(); }).first, 5);

    CSocketEnd first;
    const unsigned short port = first.BindLoopback(SOCK_STREAM);
    first.Listen();
    CSocketEnd second;
    second.Create(SOCK_STREAM);
    sockaddr_in same = first.GetSockAddr().Get();
    EXPECT_EQ(Failure([&] { second.Bind(reinterpret_cast<const sockaddr*>(&same)); }),
              std::make_pair(LONG{4}, kSocketError | WSAEADDRINUSE));
    EXPECT_NE(port, 0);
    first.Close();
    second.Close();
}

TEST_F(TCPIPConnectionSocket, DatagramRoundTripNamesTheSender)
{
    CSocketEnd one;
    CSocketEnd two;
    const unsigned short onePort = one.BindLoopback(SOCK_DGRAM);
    const unsigned short twoPort = two.BindLoopback(SOCK_DGRAM);
    const sockaddr_in toTwo = two.GetSockAddr().Get();
    EXPECT_EQ(one.SendTo("ping", 4, reinterpret_cast<const sockaddr*>(&toTwo), 1), 4);
    char buffer[16] = {};
    sockaddr_in from = {};
    ASSERT_EQ(two.ReceiveFrom(buffer, sizeof(buffer), &from, 1), 4);
    EXPECT_EQ(std::string(buffer, 4), "ping");
    EXPECT_EQ(ntohs(from.sin_port), onePort);
    EXPECT_EQ(two.SendTo("pong", 4, reinterpret_cast<const sockaddr*>(&from), 1), 4);
    ASSERT_EQ(one.ReceiveFrom(buffer, sizeof(buffer), nullptr, 1), 4);
    EXPECT_EQ(std::string(buffer, 4), "pong");
    EXPECT_NE(twoPort, onePort);

    // Nothing more comes: the receive time-out ends the wait.
    const auto [code, error] = Failure([&] { one.ReceiveFrom(buffer, sizeof(buffer), nullptr, 1); });
    EXPECT_EQ(code, 11);
    EXPECT_EQ(error, kSocketError | WSAETIMEDOUT);
    // A datagram larger than the buffer is a failure, not a silent cut.
    EXPECT_EQ(two.SendTo("0123456789", 10, reinterpret_cast<const sockaddr*>(&from), 1), 10);
    EXPECT_EQ(Failure([&] { one.ReceiveFrom(buffer, 4, nullptr, 1); }),
              std::make_pair(LONG{11}, kSocketError | WSAEMSGSIZE));
    EXPECT_EQ(Failure([&] { CSocketEnd().SendTo("x", 1, reinterpret_cast<const sockaddr*>(&from), 1); }),
              std::make_pair(LONG{10}, kSocketError | WSAENOTSOCK));
    one.Close();
    two.Close();
}

TEST_F(TCPIPConnectionSocket, WriteThatTheSocketCutsShortFails)
{
    ZELL::Testing::LoopbackServer server([](SOCKET) {});
    CStallingConnection connection;
    Configure(connection, server.Port());
    connection.Open();
    unsigned char data[10] = {};
    unsigned int written = 99;
    try {
        connection.Write(data, sizeof(data), &written);
        FAIL() << "a write that moved 5 of 10 bytes passed as sent";
    } catch (const CTCPIPConnectionException& error) {
        EXPECT_EQ(error.m_lCode, 9);
        EXPECT_EQ(error.GetError(), kSocketError | WSAECONNABORTED);
    }
    EXPECT_EQ(written, 5u);
    EXPECT_EQ(connection.m_offered, (std::vector<int>{10, 5, 5})) << "two empty passes end the loop";
    EXPECT_EQ(connection.GetLastErrorCode(), kSocketError | WSAECONNABORTED);
    connection.Close();
}

}
