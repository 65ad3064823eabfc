#include "LoopbackPair.h"

#include <gtest/gtest.h>

#include <thread>

#include <unistd.h>

using namespace NetTest;
using std::chrono::steady_clock;

TEST(SocketSet, AddsEachSocketOnceAndIgnoresAddsToAFullSet)
{
    fd_set set;
    FD_ZERO(&set);
    FD_SET(5, &set);
    FD_SET(5, &set);
    EXPECT_EQ(set.fd_count, 1u);
    // Values beyond any bit-set limit fit, since the set is an array.
    for (SOCKET s = 100000; s < 100000 + 2 * FD_SETSIZE; ++s)
        FD_SET(s, &set);
    EXPECT_EQ(set.fd_count, static_cast<u_int>(FD_SETSIZE));
    EXPECT_TRUE(FD_ISSET(5, &set));
    EXPECT_TRUE(FD_ISSET(100000, &set));
    EXPECT_FALSE(FD_ISSET(100000 + FD_SETSIZE, &set));
    FD_CLR(5, &set);
    EXPECT_FALSE(FD_ISSET(5, &set));
    EXPECT_EQ(set.fd_count, static_cast<u_int>(FD_SETSIZE - 1));
    EXPECT_TRUE(FD_ISSET(100000, &set));
    // A count beyond the array, as from a corrupted set, is not read past the end.
    set.fd_count = 100000;
    EXPECT_FALSE(FD_ISSET(42, &set));
}

using Select = WinSockTest;

TEST_F(Select, TimesOutWithEmptySets)
{
    Pair pair;
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(pair.client, &readable);
    timeval wait{0, 150000};
    const auto start = steady_clock::now();
    EXPECT_EQ(select(0, &readable, nullptr, nullptr, &wait), 0);
    EXPECT_GE(ElapsedMs(start), 140);
    EXPECT_EQ(readable.fd_count, 0u);
}

TEST_F(Select, ReportsOnlyTheReadySocketsOfEachSet)
{
    Pair first;
    Pair second;
    ASSERT_EQ(send(second.server, "x", 1, 0), 1);
    fd_set readable;
    fd_set writable;
    FD_ZERO(&readable);
    FD_ZERO(&writable);
    FD_SET(first.client, &readable);
    FD_SET(second.client, &readable);
    FD_SET(first.client, &writable);
    timeval wait{1, 0};
    EXPECT_EQ(select(0, &readable, &writable, nullptr, &wait), 2);
    EXPECT_EQ(readable.fd_count, 1u);
    EXPECT_TRUE(FD_ISSET(second.client, &readable));
    EXPECT_TRUE(FD_ISSET(first.client, &writable));
}

TEST_F(Select, WakesWhenDataArrivesFromAnotherThread)
{
    Pair pair;
    std::thread sender([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        send(pair.server, "late", 4, 0);
    });
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(pair.client, &readable);
    const auto start = steady_clock::now();
    EXPECT_EQ(select(0, &readable, nullptr, nullptr, nullptr), 1);
    EXPECT_LT(ElapsedMs(start), 1000);
    sender.join();
}

TEST_F(Select, ListenerIsReadableWithAPendingConnection)
{
    Listener listener;
    SOCKET client = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = Loopback(listener.port);
    ASSERT_EQ(connect(client, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(listener.socket, &readable);
    timeval wait{1, 0};
    EXPECT_EQ(select(0, &readable, nullptr, nullptr, &wait), 1);
    closesocket(client);
}

TEST_F(Select, RefusesEmptySetsNegativeTimesAndNonSockets)
{
    timeval wait{0, 0};
    fd_set readable;
    fd_set writable;
    FD_ZERO(&readable);
    FD_ZERO(&writable);
    EXPECT_EQ(select(0, &readable, &writable, static_cast<fd_set*>(nullptr), &wait), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEINVAL);

    Pair pair;
    FD_SET(pair.client, &readable);
    timeval negative{-1, 0};
    EXPECT_EQ(select(0, &readable, nullptr, nullptr, &negative), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEINVAL);

    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    FD_SET(static_cast<SOCKET>(pipeEnds[0]), &readable);
    EXPECT_EQ(select(0, &readable, nullptr, nullptr, &wait), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAENOTSOCK);
    close(pipeEnds[0]);
    close(pipeEnds[1]);

    FD_ZERO(&readable);
    FD_SET(INVALID_SOCKET, &readable);
    EXPECT_EQ(select(0, &readable, nullptr, nullptr, &wait), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAENOTSOCK);
}
