#include "LoopbackPair.h"

#include "Platform/Base/LastError.h"

#include <gtest/gtest.h>

#include <csignal>
#include <ctime>
#include <string>
#include <cstring>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace NetTest;
using std::chrono::steady_clock;

namespace {

bool ConnectTo(SOCKET s, u_short port)
{
    sockaddr_in address = Loopback(port);
    return connect(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
}

// The peer aborts the connection: a zero linger time makes close send a reset.
void Reset(SOCKET& s)
{
    LINGER abortive{1, 0};
    ASSERT_EQ(setsockopt(s, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abortive), sizeof(abortive)), 0);
    ASSERT_EQ(closesocket(s), 0);
    s = INVALID_SOCKET;
}

}

TEST(WinSockStartup, IsCountedAndNegotiatesTheVersion)
{
    WSADATA data;
    EXPECT_EQ(WSACleanup(), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSANOTINITIALISED);
    EXPECT_EQ(socket(AF_INET, SOCK_STREAM, 0), INVALID_SOCKET);
    EXPECT_EQ(WSAGetLastError(), WSANOTINITIALISED);

    EXPECT_EQ(WSAStartup(MAKEWORD(0, 1), &data), WSAVERNOTSUPPORTED);
    EXPECT_EQ(WSAStartup(MAKEWORD(2, 2), nullptr), WSAEFAULT);

    ASSERT_EQ(WSAStartup(0x0101, &data), 0);
    EXPECT_EQ(data.wVersion, 0x0101);
    EXPECT_EQ(data.wHighVersion, 0x0202);
    ASSERT_EQ(WSAStartup(MAKEWORD(3, 0), &data), 0);
    EXPECT_EQ(data.wVersion, 0x0202);

    EXPECT_EQ(WSACleanup(), 0);
    SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
    EXPECT_NE(s, INVALID_SOCKET) << "one start is still counted";
    closesocket(s);
    EXPECT_EQ(WSACleanup(), 0);
    EXPECT_EQ(WSACleanup(), SOCKET_ERROR);
}

TEST(WinSockErrors, LastErrorIsPerThreadAndSharedWithTheThreadsLastError)
{
    WSASetLastError(WSAECONNRESET);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(WSAECONNRESET));
    int other = -1;
    std::thread([&other] {
        WSASetLastError(WSAETIMEDOUT);
        other = WSAGetLastError();
    }).join();
    EXPECT_EQ(other, WSAETIMEDOUT);
    EXPECT_EQ(WSAGetLastError(), WSAECONNRESET);
}

TEST(WinSockErrors, ErrnoValuesMapToThePlatformNumbers)
{
    EXPECT_EQ(Net::WsaErrorFromErrno(ETIMEDOUT), 10060);
    EXPECT_EQ(Net::WsaErrorFromErrno(ECONNREFUSED), 10061);
    EXPECT_EQ(Net::WsaErrorFromErrno(ECONNRESET), 10054);
    EXPECT_EQ(Net::WsaErrorFromErrno(EHOSTUNREACH), 10065);
    EXPECT_EQ(Net::WsaErrorFromErrno(ENETUNREACH), 10051);
    EXPECT_EQ(Net::WsaErrorFromErrno(EINPROGRESS), 10035) << "a pending connect is WSAEWOULDBLOCK";
    EXPECT_EQ(Net::WsaErrorFromErrno(ENOTCONN), 10057);
    EXPECT_EQ(Net::WsaErrorFromErrno(ECONNABORTED), 10053);
    EXPECT_EQ(Net::WsaErrorFromErrno(EADDRINUSE), 10048);
    EXPECT_EQ(Net::WsaErrorFromErrno(EBADF), 10038);
    EXPECT_EQ(Net::WsaErrorFromAddrInfo(EAI_NONAME), 11001);
}

using WinSockConnect = WinSockTest;

TEST_F(WinSockConnect, RefusedPortFailsAtOnce)
{
    const u_short port = UnusedPort();
    SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_NE(s, INVALID_SOCKET);
    const auto start = steady_clock::now();
    EXPECT_FALSE(ConnectTo(s, port));
    EXPECT_EQ(WSAGetLastError(), WSAECONNREFUSED);
    EXPECT_LT(ElapsedMs(start), 1000);
    closesocket(s);
}

TEST_F(WinSockConnect, NonBlockingConnectReportsWouldBlockThenCompletes)
{
    Listener listener;
    SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
    u_long on = 1;
    ASSERT_EQ(ioctlsocket(s, FIONBIO, &on), 0);
    if (!ConnectTo(s, listener.port)) {
        EXPECT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
    }
    fd_set writable;
    FD_ZERO(&writable);
    FD_SET(s, &writable);
    timeval wait{1, 0};
    EXPECT_EQ(select(0, nullptr, &writable, nullptr, &wait), 1);
    int error = -1;
    int length = sizeof(error);
    ASSERT_EQ(getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length), 0);
    EXPECT_EQ(error, 0);
    u_long off = 0;
    EXPECT_EQ(ioctlsocket(s, FIONBIO, &off), 0);
    EXPECT_EQ(send(s, "x", 1, 0), 1);
    closesocket(s);
}

TEST_F(WinSockConnect, RefusedNonBlockingConnectShowsInTheExceptionSetAtOnce)
{
    const u_short port = UnusedPort();
    SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
    u_long on = 1;
    ASSERT_EQ(ioctlsocket(s, FIONBIO, &on), 0);
    if (!ConnectTo(s, port)) {
        ASSERT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
    }
    fd_set writable;
    fd_set failed;
    FD_ZERO(&writable);
    FD_ZERO(&failed);
    FD_SET(s, &writable);
    FD_SET(s, &failed);
    timeval wait{2, 0};
    const auto start = steady_clock::now();
    EXPECT_EQ(select(0, nullptr, &writable, &failed, &wait), 1);
    EXPECT_LT(ElapsedMs(start), 1000);
    EXPECT_FALSE(FD_ISSET(s, &writable)) << "a failed connect is never writable";
    EXPECT_TRUE(FD_ISSET(s, &failed));
    int error = 0;
    int length = sizeof(error);
    ASSERT_EQ(getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length), 0);
    EXPECT_EQ(error, WSAECONNREFUSED);
    closesocket(s);
}

TEST_F(WinSockConnect, RefusedConnectWaitedForOnlyAsWritableTimesOutWithoutSpinning)
{
    const u_short port = UnusedPort();
    SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
    u_long on = 1;
    ioctlsocket(s, FIONBIO, &on);
    ConnectTo(s, port);
    fd_set writable;
    FD_ZERO(&writable);
    FD_SET(s, &writable);
    timeval wait{0, 300000};
    const std::clock_t cpuStart = std::clock();
    const auto start = steady_clock::now();
    EXPECT_EQ(select(0, nullptr, &writable, nullptr, &wait), 0);
    EXPECT_GE(ElapsedMs(start), 290);
    EXPECT_EQ(writable.fd_count, 0u);
    EXPECT_LT(static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC, 0.15);
    closesocket(s);
}

using WinSockTransfer = WinSockTest;

TEST_F(WinSockTransfer, LargeTransferArrivesWhole)
{
    Pair pair;
    constexpr int kSize = 4 * 1024 * 1024;
    std::vector<char> data(kSize);
    for (int i = 0; i < kSize; ++i)
        data[i] = static_cast<char>(i * 7 + i / 251);
    std::thread writer([&] {
        int sent = 0;
        while (sent < kSize) {
            const int n = send(pair.client, data.data() + sent, kSize - sent, 0);
            if (n <= 0)
                break;
            sent += n;
        }
        EXPECT_EQ(sent, kSize);
        shutdown(pair.client, SD_SEND);
    });
    std::vector<char> received;
    std::vector<char> chunk(65536);
    for (;;) {
        const int n = recv(pair.server, chunk.data(), static_cast<int>(chunk.size()), 0);
        if (n <= 0) {
            EXPECT_EQ(n, 0) << WSAGetLastError();
            break;
        }
        received.insert(received.end(), chunk.begin(), chunk.begin() + n);
    }
    writer.join();
    EXPECT_TRUE(received == data);
}

TEST_F(WinSockTransfer, ReceiveTimeoutIsMillisecondsAndReportsTimedOut)
{
    Pair pair;
    const DWORD timeout = 200;
    ASSERT_EQ(setsockopt(pair.client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof(timeout)), 0);
    DWORD readBack = 0;
    int length = sizeof(readBack);
    ASSERT_EQ(getsockopt(pair.client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<char*>(&readBack), &length), 0);
    EXPECT_EQ(readBack, 200u);
    EXPECT_EQ(length, 4);

    char buffer[8];
    const auto start = steady_clock::now();
    EXPECT_EQ(recv(pair.client, buffer, sizeof(buffer), 0), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAETIMEDOUT);
    const long long elapsed = ElapsedMs(start);
    EXPECT_GE(elapsed, 180);
    EXPECT_LT(elapsed, 1000);

    // A short value cannot hold a DWORD of milliseconds.
    const char one = 1;
    EXPECT_EQ(setsockopt(pair.client, SOL_SOCKET, SO_RCVTIMEO, &one, 1), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEFAULT);
}

TEST_F(WinSockTransfer, NonBlockingReceiveWithoutDataWouldBlock)
{
    Pair pair;
    u_long on = 1;
    ASSERT_EQ(ioctlsocket(pair.client, FIONBIO, &on), 0);
    char buffer[8];
    EXPECT_EQ(recv(pair.client, buffer, sizeof(buffer), 0), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
    ASSERT_EQ(send(pair.server, "abc", 3, 0), 3);
    u_long waiting = 0;
    for (int i = 0; i < 100 && waiting == 0; ++i) {
        ASSERT_EQ(ioctlsocket(pair.client, FIONREAD, &waiting), 0);
        if (waiting == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(waiting, 3u);
}

TEST_F(WinSockTransfer, PeerCloseGivesZeroAndPeerResetGivesConnReset)
{
    {
        Pair pair;
        ASSERT_EQ(closesocket(pair.server), 0);
        pair.server = INVALID_SOCKET;
        char buffer[4];
        EXPECT_EQ(recv(pair.client, buffer, sizeof(buffer), 0), 0);
    }
    {
        Pair pair;
        Reset(pair.server);
        char buffer[4];
        EXPECT_EQ(recv(pair.client, buffer, sizeof(buffer), 0), SOCKET_ERROR);
        EXPECT_EQ(WSAGetLastError(), WSAECONNRESET);
    }
}

TEST_F(WinSockTransfer, SendToAResetPeerFailsWithoutSigpipe)
{
    // The default disposition would end the test program.
    auto previous = std::signal(SIGPIPE, SIG_DFL);
    Pair pair;
    Reset(pair.server);
    int result = 0;
    for (int i = 0; i < 50 && result != SOCKET_ERROR; ++i) {
        result = send(pair.client, "data", 4, 0);
        if (result != SOCKET_ERROR)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(result, SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAECONNRESET);
    std::signal(SIGPIPE, previous);
}

TEST_F(WinSockTransfer, SendAfterOwnShutdownIsShutdownError)
{
    auto previous = std::signal(SIGPIPE, SIG_DFL);
    Pair pair;
    ASSERT_EQ(shutdown(pair.client, SD_SEND), 0);
    EXPECT_EQ(send(pair.client, "x", 1, 0), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAESHUTDOWN);
    EXPECT_EQ(shutdown(pair.client, 7), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEINVAL);
    std::signal(SIGPIPE, previous);
}

using WinSockOptions = WinSockTest;

TEST_F(WinSockOptions, LingerTakesBothRecordLayoutsAndNoDelayOneByte)
{
    Pair pair;
    const u_short shortLinger[2] = {1, 7};
    ASSERT_EQ(setsockopt(pair.client, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(shortLinger), 4), 0);
    LINGER posix{};
    int length = sizeof(posix);
    ASSERT_EQ(getsockopt(pair.client, SOL_SOCKET, SO_LINGER, reinterpret_cast<char*>(&posix), &length), 0);
    EXPECT_EQ(posix.l_onoff, 1);
    EXPECT_EQ(posix.l_linger, 7);
    u_short readBack[2] = {};
    length = 4;
    ASSERT_EQ(getsockopt(pair.client, SOL_SOCKET, SO_LINGER, reinterpret_cast<char*>(readBack), &length), 0);
    EXPECT_EQ(readBack[0], 1);
    EXPECT_EQ(readBack[1], 7);

    const char on = 1;
    ASSERT_EQ(setsockopt(pair.client, IPPROTO_TCP, TCP_NODELAY, &on, 1), 0);
    int noDelay = 0;
    length = sizeof(noDelay);
    ASSERT_EQ(getsockopt(pair.client, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<char*>(&noDelay), &length), 0);
    EXPECT_NE(noDelay, 0);
}

TEST_F(WinSockOptions, ValuesThatNameNoSocketAreRefused)
{
    char buffer[4];
    EXPECT_EQ(recv(INVALID_SOCKET, buffer, 4, 0), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAENOTSOCK);
    EXPECT_EQ(closesocket(INVALID_SOCKET), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAENOTSOCK);

    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    EXPECT_EQ(closesocket(static_cast<SOCKET>(pipeEnds[0])), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAENOTSOCK);
    EXPECT_NE(fcntl(pipeEnds[0], F_GETFD), -1) << "a descriptor that is no socket stays open";
    close(pipeEnds[0]);
    close(pipeEnds[1]);

    Pair pair;
    EXPECT_EQ(send(pair.client, buffer, -1, 0), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEFAULT);
    EXPECT_EQ(recv(pair.client, buffer, 4, 0x40000000), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEOPNOTSUPP);
}

TEST_F(WinSockOptions, AcceptedSocketTakesTheListenersBlockingMode)
{
    Listener listener;
    u_long on = 1;
    ASSERT_EQ(ioctlsocket(listener.socket, FIONBIO, &on), 0);
    EXPECT_EQ(accept(listener.socket, nullptr, nullptr), INVALID_SOCKET);
    EXPECT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
    SOCKET client = socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_TRUE(ConnectTo(client, listener.port));
    SOCKET accepted = INVALID_SOCKET;
    for (int i = 0; i < 100 && accepted == INVALID_SOCKET; ++i) {
        sockaddr_in peer{};
        int length = sizeof(peer);
        accepted = accept(listener.socket, reinterpret_cast<sockaddr*>(&peer), &length);
        if (accepted == INVALID_SOCKET)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        else
            EXPECT_EQ(peer.sin_addr.s_addr, htonl(INADDR_LOOPBACK));
    }
    ASSERT_NE(accepted, INVALID_SOCKET);
    char buffer[2];
    EXPECT_EQ(recv(accepted, buffer, 2, 0), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
    closesocket(accepted);
    closesocket(client);
}

// Descriptor 0 is an ordinary socket for every call; new sockets are still
// never handed out as 0. Both run in a child whose standard input is gone.
TEST(WinSockDescriptorZero, WorksAsASocketAndIsNeverHandedOut)
{
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        close(0);
        Listener listener;
        if (listener.socket == 0)
            _exit(2);
        SOCKET client = socket(AF_INET, SOCK_STREAM, 0);
        if (client == 0 || client == INVALID_SOCKET)
            _exit(3);
        if (!ConnectTo(client, listener.port))
            _exit(4);
        SOCKET server = accept(listener.socket, nullptr, nullptr);
        if (server == 0 || server == INVALID_SOCKET)
            _exit(5);
        // Put the client end onto descriptor 0 and use it only through 0.
        if (dup2(static_cast<int>(client), 0) != 0)
            _exit(6);
        closesocket(client);
        const SOCKET zero = 0;
        if (send(zero, "ping", 4, 0) != 4)
            _exit(7);
        char buffer[4];
        if (recv(server, buffer, 4, 0) != 4 || send(server, "pong", 4, 0) != 4)
            _exit(8);
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(zero, &readable);
        timeval wait{1, 0};
        if (select(0, &readable, nullptr, nullptr, &wait) != 1 || !FD_ISSET(zero, &readable))
            _exit(9);
        if (recv(zero, buffer, 4, 0) != 4 || std::memcmp(buffer, "pong", 4) != 0)
            _exit(10);
        if (closesocket(zero) != 0)
            _exit(11);
        closesocket(server);
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

using WinSockDatagram = WinSockTest;

namespace {

// A datagram socket bound to an ephemeral loopback port; the port is read back.
SOCKET BoundDatagram(u_short& port)
{
    const SOCKET s = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address = Loopback(0);
    int length = sizeof(address);
    if (s == INVALID_SOCKET || bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        ADD_FAILURE() << "datagram set-up failed: " << WSAGetLastError();
    port = ntohs(address.sin_port);
    return s;
}

}

TEST_F(WinSockDatagram, RoundTripNamesTheSender)
{
    u_short serverPort = 0;
    u_short clientPort = 0;
    const SOCKET server = BoundDatagram(serverPort);
    const SOCKET client = BoundDatagram(clientPort);
    const sockaddr_in to = Loopback(serverPort);
    ASSERT_EQ(sendto(client, "ping", 4, 0, reinterpret_cast<const sockaddr*>(&to), sizeof(to)), 4);
    char buffer[16] = {};
    sockaddr_in from{};
    int fromLength = sizeof(from);
    ASSERT_EQ(recvfrom(server, buffer, sizeof(buffer), 0, reinterpret_cast<sockaddr*>(&from), &fromLength), 4);
    EXPECT_STREQ(buffer, "ping");
    EXPECT_EQ(fromLength, static_cast<int>(sizeof(from)));
    EXPECT_EQ(ntohs(from.sin_port), clientPort);
    EXPECT_EQ(sendto(server, "pong!", 5, 0, reinterpret_cast<const sockaddr*>(&from), fromLength), 5);
    ASSERT_EQ(recvfrom(client, buffer, sizeof(buffer), 0, nullptr, nullptr), 5);
    EXPECT_EQ(std::string(buffer, 5), "pong!");
    closesocket(server);
    closesocket(client);
}

TEST_F(WinSockDatagram, TooSmallBufferTakesTheFirstPartAndReportsTheLoss)
{
    u_short port = 0;
    const SOCKET server = BoundDatagram(port);
    const SOCKET client = socket(AF_INET, SOCK_DGRAM, 0);
    const sockaddr_in to = Loopback(port);
    ASSERT_EQ(sendto(client, "abcdefgh", 8, 0, reinterpret_cast<const sockaddr*>(&to), sizeof(to)), 8);
    ASSERT_EQ(sendto(client, "xy", 2, 0, reinterpret_cast<const sockaddr*>(&to), sizeof(to)), 2);
    char buffer[4] = {};
    EXPECT_EQ(recvfrom(server, buffer, sizeof(buffer), 0, nullptr, nullptr), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEMSGSIZE);
    EXPECT_EQ(std::string(buffer, 4), "abcd");
    EXPECT_EQ(recvfrom(server, buffer, sizeof(buffer), 0, nullptr, nullptr), 2) << "the rest is dropped";
    EXPECT_EQ(std::string(buffer, 2), "xy");
    closesocket(server);
    closesocket(client);
}

TEST_F(WinSockDatagram, UnboundSocketsNeitherReceiveNorListen)
{
    const SOCKET datagram = socket(AF_INET, SOCK_DGRAM, 0);
    char buffer[4];
    EXPECT_EQ(recvfrom(datagram, buffer, sizeof(buffer), 0, nullptr, nullptr), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEINVAL);
    const sockaddr_in to = Loopback(UnusedPort());
    ASSERT_EQ(sendto(datagram, "x", 1, 0, reinterpret_cast<const sockaddr*>(&to), sizeof(to)), 1);
    u_long nonBlocking = 1;
    ASSERT_EQ(ioctlsocket(datagram, FIONBIO, &nonBlocking), 0);
    EXPECT_EQ(recvfrom(datagram, buffer, sizeof(buffer), 0, nullptr, nullptr), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEWOULDBLOCK) << "a send gives the socket its port";
    closesocket(datagram);

    const SOCKET stream = socket(AF_INET, SOCK_STREAM, 0);
    EXPECT_EQ(listen(stream, 5), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEINVAL);
    closesocket(stream);
}

TEST_F(WinSockDatagram, DontFragmentSwitchesPathMtuDiscovery)
{
    const SOCKET s = socket(AF_INET, SOCK_DGRAM, 0);
    const auto discovery = [&] {
        int mode = -1;
        int size = sizeof(mode);
        getsockopt(s, IPPROTO_IP, IP_MTU_DISCOVER, &mode, &size);
        return mode;
    };
    const BOOL on = TRUE;
    ASSERT_EQ(setsockopt(s, IPPROTO_IP, IP_DONTFRAGMENT, &on, sizeof(on)), 0);
    EXPECT_EQ(discovery(), IP_PMTUDISC_DO);
    const char off = 0;
    ASSERT_EQ(setsockopt(s, IPPROTO_IP, IP_DONTFRAGMENT, &off, 1), 0);
    EXPECT_EQ(discovery(), IP_PMTUDISC_DONT);
    closesocket(s);
}
