#pragma once
// A connected pair of TCP sockets on 127.0.0.1, made with the calls under test.
#include "Platform/Net/WinSock.h"

#include <gtest/gtest.h>

#include <chrono>

namespace NetTest {

inline sockaddr_in Loopback(u_short port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// A listening socket on an ephemeral loopback port.
struct Listener {
    SOCKET socket = INVALID_SOCKET;
    u_short port = 0;

    Listener()
    {
        socket = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address = Loopback(0);
        if (socket == INVALID_SOCKET || bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
            listen(socket, 5) != 0) {
            ADD_FAILURE() << "listener set-up failed: " << WSAGetLastError();
            return;
        }
        int length = sizeof(address);
        getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length);
        port = ntohs(address.sin_port);
    }
    ~Listener()
    {
        if (socket != INVALID_SOCKET)
            closesocket(socket);
    }
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;
};

// A loopback port on which nobody listens: bound once, then released.
inline u_short UnusedPort()
{
    Listener listener;
    const u_short port = listener.port;
    return port;
}

struct Pair {
    SOCKET client = INVALID_SOCKET;
    SOCKET server = INVALID_SOCKET;

    Pair()
    {
        Listener listener;
        client = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address = Loopback(listener.port);
        if (connect(client, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) {
            ADD_FAILURE() << "connect failed: " << WSAGetLastError();
            return;
        }
        server = accept(listener.socket, nullptr, nullptr);
        if (server == INVALID_SOCKET)
            ADD_FAILURE() << "accept failed: " << WSAGetLastError();
    }
    ~Pair()
    {
        if (client != INVALID_SOCKET)
            closesocket(client);
        if (server != INVALID_SOCKET)
            closesocket(server);
    }
    Pair(const Pair&) = delete;
    Pair& operator=(const Pair&) = delete;
};

// Starts the socket library for one test.
class WinSockTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WSADATA data;
        ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
    }
    void TearDown() override { EXPECT_EQ(WSACleanup(), 0); }
};

inline long long ElapsedMs(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
}

}
