#include "Common/Communication/TCPIPConnection.h"
#include "Common/Communication/Tests/LoopbackServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <vector>

using ZELL::CTCPIPConnection;
using ZELL::CTCPIPConnectionException;
using ZELL::Testing::LoopbackServer;

namespace {

class TCPIPConnectionTest : public ::testing::Test {
protected:
    void Configure(CTCPIPConnection& connection, unsigned short port, unsigned int seconds = 2)
    {
        ASSERT_TRUE(connection.SetSettingsXML(FormatW(
            L"<TCPIP IP-Address='127.0.0.1' ServicePort='%u' ConnectTimeoutSeconds='%u' SendTimeoutSeconds='%u' "
            L"ReceiveTimeoutSeconds='%u' CloseWaitTime='0'/>",
            unsigned{port}, seconds, seconds, seconds)));
    }

    static unsigned short UnusedPort()
    {
        LoopbackServer probe(nullptr);
        return probe.Port();
    }

    static std::size_t OpenDescriptors()
    {
        std::size_t count = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
            ++count;
        return count;
    }

    ZELL::Testing::WinsockScope m_winsock;
};

template <typename Clock = std::chrono::steady_clock>
double SecondsSince(typename Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

}

TEST_F(TCPIPConnectionTest, LargeTransferBothWays)
{
    constexpr std::size_t size = 1 << 20;
    LoopbackServer server([](SOCKET client) {
        std::vector<char> data(size);
        std::size_t got = 0;
        while (got < size) {
            const int count = recv(client, data.data() + got, size - got, 0);
            if (count <= 0)
                return;
            got += static_cast<std::size_t>(count);
        }
        LoopbackServer::SendAll(client, data.data(), size);
    });
    CTCPIPConnection connection;
    Configure(connection, server.Port());
    connection.Open();
    ASSERT_TRUE(connection.IsOpen());

    std::vector<unsigned char> out(size);
    for (std::size_t i = 0; i < size; ++i)
        out[i] = static_cast<unsigned char>(i * 7 + i / 251);
    unsigned int written = 0;
    connection.Write(out.data(), size, &written);
    EXPECT_EQ(written, size);
    std::vector<unsigned char> in(size);
    unsigned int read = 0;
    connection.Read(in.data(), size, &read);
    EXPECT_EQ(read, size);
    EXPECT_EQ(in, out);
    connection.Close();
    EXPECT_FALSE(connection.IsOpen());
}

TEST_F(TCPIPConnectionTest, RefusedPortFailsAtOnceWithItsOwnError)
{
    const unsigned short port = UnusedPort();
    CTCPIPConnection connection;
    Configure(connection, port, 5);
    const auto start = std::chrono::steady_clock::now();
    try {
        connection.Open();
        FAIL() << "connected to a closed port";
    } catch (const CTCPIPConnectionException& error) {
        EXPECT_EQ(error.m_lCode, 7);
        EXPECT_EQ(error.GetError(), 0x30000000u | WSAECONNREFUSED);
        EXPECT_STREQ(error.GetDetail(), L"connect() failed!");
    }
    EXPECT_LT(SecondsSince(start), 2.0);
    EXPECT_FALSE(connection.IsOpen());
    EXPECT_EQ(connection.GetLastErrorCode(), 0x30000000u | WSAECONNREFUSED);
}

TEST_F(TCPIPConnectionTest, FailedConnectsLeakNoSocket)
{
    const unsigned short port = UnusedPort();
    CTCPIPConnection connection;
    Configure(connection, port);
    const std::size_t before = OpenDescriptors();
    for (int i = 0; i < 20; ++i)
        EXPECT_THROW(connection.Open(), CTCPIPConnectionException);
    EXPECT_EQ(OpenDescriptors(), before);
}

TEST_F(TCPIPConnectionTest, SilentPeerTimesOutOnConnect)
{
    // A backlog that is full drops further handshakes, so the connect never
    // completes: a silent host without leaving the loopback network.
    LoopbackServer server(nullptr, 0);
    std::vector<SOCKET> fillers;
    for (int i = 0; i < 8; ++i) {
        SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
        u_long on = 1;
        ioctlsocket(s, FIONBIO, &on);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_port = htons(server.Port());
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connect(s, reinterpret_cast<sockaddr*>(&address), sizeof(address));
        fillers.push_back(s);
    }
    CTCPIPConnection connection;
    Configure(connection, server.Port(), 1);
    const auto start = std::chrono::steady_clock::now();
    try {
        connection.Open();
        ADD_FAILURE() << "connected through a full backlog";
        connection.Close();
    } catch (const CTCPIPConnectionException& error) {
        EXPECT_EQ(error.GetError(), 0x3000274Cu);
        EXPECT_STREQ(error.GetDetail(), L"Connecting-Timeout");
        EXPECT_GE(SecondsSince(start), 0.9);
        EXPECT_LT(SecondsSince(start), 3.0);
    }
    EXPECT_FALSE(connection.IsOpen());
    for (SOCKET s : fillers)
        closesocket(s);
}

TEST_F(TCPIPConnectionTest, ReadTimesOutWhenPeerIsSilent)
{
    LoopbackServer server([](SOCKET client) {
        char byte = 0;
        recv(client, &byte, 1, 0);
    });
    CTCPIPConnection connection;
    Configure(connection, server.Port(), 1);
    connection.Open();
    unsigned char buffer[4] = {};
    const auto start = std::chrono::steady_clock::now();
    try {
        connection.Read(buffer, sizeof(buffer), nullptr);
        FAIL() << "read from a silent peer";
    } catch (const CTCPIPConnectionException& error) {
        EXPECT_EQ(error.m_lCode, 11);
        EXPECT_EQ(error.GetError(), 0x3000274Cu);
    }
    EXPECT_GE(SecondsSince(start), 0.9);
    EXPECT_EQ(connection.GetLastErrorCode(), 0x3000274Cu);
    connection.Close();
}

TEST_F(TCPIPConnectionTest, PeerClosingEarlyGivesShortCount)
{
    LoopbackServer server([](SOCKET client) { LoopbackServer::SendAll(client, "abc", 3); });
    CTCPIPConnection connection;
    Configure(connection, server.Port());
    connection.Open();
    unsigned char buffer[10] = {};
    unsigned int read = 99;
    connection.Read(buffer, sizeof(buffer), &read);
    EXPECT_EQ(read, 3u);
    EXPECT_EQ(buffer[2], 'c');
    connection.Close();
}

TEST_F(TCPIPConnectionTest, PeerClosingMidFrameFailsTheFragment)
{
    LoopbackServer server([](SOCKET client) {
        unsigned char frame[28] = {};
        frame[16] = 100;
        LoopbackServer::SendAll(client, frame, sizeof(frame));
    });
    CTCPIPConnection connection;
    Configure(connection, server.Port());
    connection.Open();
    unsigned char* buffer = nullptr;
    unsigned int length = 0;
    EXPECT_FALSE(connection.ReadFragment(&buffer, &length));
    EXPECT_EQ(buffer, nullptr);
    EXPECT_EQ(connection.GetLastErrorCode(), 0x30000000u | WSAECONNRESET);
    connection.Close();
}

TEST_F(TCPIPConnectionTest, FragmentFromServer)
{
    LoopbackServer server([](SOCKET client) {
        unsigned char frame[18 + 300] = {};
        frame[16] = 300 & 0xFF;
        frame[17] = 300 >> 8;
        frame[sizeof(frame) - 1] = 0x5A;
        LoopbackServer::SendAll(client, frame, sizeof(frame));
        char byte = 0;
        recv(client, &byte, 1, 0);
    });
    CTCPIPConnection connection;
    Configure(connection, server.Port());
    connection.Open();
    unsigned char* buffer = nullptr;
    unsigned int length = 0;
    ASSERT_TRUE(connection.ReadFragment(&buffer, &length));
    EXPECT_EQ(length, 318u);
    EXPECT_EQ(buffer[317], 0x5A);
    delete[] buffer;
    connection.Close();
}

TEST_F(TCPIPConnectionTest, WriteToResetPeerFails)
{
    // The peer resets only once the connection is open: a reset that
    // arrives while Open still waits for the handshake fails the open.
    std::promise<void> opened;
    std::shared_future<void> openedSignal = opened.get_future().share();
    LoopbackServer server([openedSignal](SOCKET client) {
        openedSignal.wait_for(std::chrono::seconds(5));
        linger abort = {1, 0};
        setsockopt(client, SOL_SOCKET, SO_LINGER, &abort, sizeof(abort));
    });
    CTCPIPConnection connection;
    Configure(connection, server.Port());
    connection.Open();
    opened.set_value();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    std::vector<unsigned char> data(4 << 20, 0x11);
    unsigned int written = 0;
    EXPECT_THROW(connection.Write(data.data(), data.size(), &written), CTCPIPConnectionException);
    EXPECT_LT(written, data.size());
    EXPECT_NE(connection.GetLastErrorCode(), 0u);
    connection.Close();
}

TEST_F(TCPIPConnectionTest, CopyOfOpenConnectionStartsClosed)
{
    LoopbackServer server([](SOCKET client) {
        char buffer[2] = {};
        recv(client, buffer, 2, 0);
        LoopbackServer::SendAll(client, "ok", 2);
    });
    CTCPIPConnection connection;
    Configure(connection, server.Port());
    connection.Open();
    {
        CTCPIPConnection copy(connection);
        EXPECT_FALSE(copy.IsOpen());
        EXPECT_EQ(copy.GetSettingsXML(), connection.GetSettingsXML());
        copy.Close();
        CTCPIPConnection assigned;
        assigned = connection;
        EXPECT_FALSE(assigned.IsOpen());
    }
    unsigned char request[2] = {'h', 'i'};
    connection.Write(request, 2, nullptr);
    unsigned char reply[2] = {};
    unsigned int read = 0;
    connection.Read(reply, 2, &read);
    EXPECT_EQ(read, 2u);
    EXPECT_EQ(reply[0], 'o');
    connection.Close();
}

TEST_F(TCPIPConnectionTest, ClosedConnectionRefusesTransfers)
{
    CTCPIPConnection connection;
    unsigned char buffer[4] = {};
    EXPECT_THROW(connection.Read(buffer, 4, nullptr), CTCPIPConnectionException);
    EXPECT_THROW(connection.Write(buffer, 4, nullptr), CTCPIPConnectionException);
    EXPECT_NO_THROW(connection.Close());
    unsigned char* response = nullptr;
    unsigned int responseLength = 0;
    try {
        connection.Execute(buffer, 4, &response, responseLength);
        FAIL();
    } catch (const CTCPIPConnectionException& error) {
        EXPECT_EQ(error.m_lCode, 21);
        EXPECT_EQ(error.GetError(), 0x20201001u);
    }
}

TEST_F(TCPIPConnectionTest, HostNames)
{
    EXPECT_EQ(std::wstring(CTCPIPConnection::GetHostByName(L"127.0.0.1", 6626)), L"127.0.0.1");
    EXPECT_EQ(ntohs(CTCPIPConnection::GetHostByName(L"localhost", 6626).Get().sin_port), 6626);
    wchar_t dotted[16] = {};
    EXPECT_EQ(CTCPIPConnection::GetAddrByHost("127.0.0.2", dotted), 0x7F000002u);
    EXPECT_STREQ(dotted, L"127.0.0.2");
    EXPECT_THROW(CTCPIPConnection::GetHostByName(L"", 1), CTCPIPConnectionException);
    EXPECT_EQ(CTCPIPConnection::GetHostByAddr(L"not an address", 1), L"");
}

TEST(TCPIPConnectionTimeouts, ScaleWithLengthUpToSquare)
{
    EXPECT_EQ(CTCPIPConnection::ScaledTimeout(15, 5), 15u);
    EXPECT_EQ(CTCPIPConnection::ScaledTimeout(15, 25000), 30u);
    EXPECT_EQ(CTCPIPConnection::ScaledTimeout(15, 40000), 60u);
    EXPECT_EQ(CTCPIPConnection::ScaledTimeout(15, 1000000), 225u);
    EXPECT_EQ(CTCPIPConnection::ScaledTimeout(0, 1000000), 0u);
}

TEST_F(TCPIPConnectionTest, IdentifyByNameFillsOnlyAnEmptyAddress)
{
    LoopbackServer server([](SOCKET client) {
        char byte = 0;
        recv(client, &byte, 1, 0);
    });
    CTCPIPConnection connection;
    Configure(connection, server.Port());
    ASSERT_TRUE(connection.SetSettingsXML(L"<TCPIP IdentifyByName='true' NetworkName='localhost' IP-Address='0.0.0.0'/>"));
    connection.Open();
    EXPECT_TRUE(connection.IsOpen());
    EXPECT_EQ(connection.GetSettingsValue(L"IP-Address"), L"127.0.0.1");
    connection.Close();

    LoopbackServer second([](SOCKET client) {
        char byte = 0;
        recv(client, &byte, 1, 0);
    });
    Configure(connection, second.Port());
    ASSERT_TRUE(connection.SetSettingsXML(L"<TCPIP IdentifyByName='true' IP-Address='10.1.2.3'/>"));
    connection.Open();
    EXPECT_EQ(connection.GetSettingsValue(L"IP-Address"), L"10.1.2.3");
    connection.Close();
}

TEST_F(TCPIPConnectionTest, UnresolvableNameFailsOpen)
{
    CTCPIPConnection connection;
    ASSERT_TRUE(connection.SetSettingsXML(L"<TCPIP IP-Address='' ServicePort='1'/>"));
    const std::size_t before = OpenDescriptors();
    try {
        connection.Open();
        FAIL();
    } catch (const CTCPIPConnectionException& error) {
        EXPECT_EQ(error.m_lCode, 15);
        EXPECT_EQ(error.GetError() & 0xF0000000u, 0x30000000u);
    }
    EXPECT_FALSE(connection.IsOpen());
    EXPECT_EQ(OpenDescriptors(), before);
}
