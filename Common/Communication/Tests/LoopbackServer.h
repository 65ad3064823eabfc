#pragma once
// A one-connection TCP server on 127.0.0.1 and an ephemeral port; the test
// gives the behaviour of the accepted socket.

#include "Platform/Net/WinSock.h"

#include <functional>
#include <thread>

namespace ZELL::Testing {

class WinsockScope {
public:
    WinsockScope() { WSAStartup(0x0202, &m_data); }
    ~WinsockScope() { WSACleanup(); }
    WinsockScope(const WinsockScope&) = delete;
    WinsockScope& operator=(const WinsockScope&) = delete;

private:
    WSADATA m_data;
};

class LoopbackServer {
public:
    explicit LoopbackServer(std::function<void(SOCKET)> session, int backlog = 4)
    {
        m_listener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof(address));
        int size = sizeof(address);
        getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &size);
        m_port = ntohs(address.sin_port);
        listen(m_listener, backlog);
        if (session)
            m_thread = std::thread([this, session] {
                const SOCKET client = accept(m_listener, nullptr, nullptr);
                if (client == INVALID_SOCKET)
                    return;
                session(client);
                closesocket(client);
            });
    }
    ~LoopbackServer()
    {
        shutdown(m_listener, SD_BOTH);
        closesocket(m_listener);
        if (m_thread.joinable())
            m_thread.join();
    }
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    unsigned short Port() const { return m_port; }

    // Sends everything or gives up on the first failure.
    static void SendAll(SOCKET s, const void* data, std::size_t length)
    {
        const char* bytes = static_cast<const char*>(data);
        while (length > 0) {
            const int count = send(s, bytes, length, 0);
            if (count <= 0)
                return;
            bytes += count;
            length -= static_cast<std::size_t>(count);
        }
    }

private:
    SOCKET m_listener = INVALID_SOCKET;
    unsigned short m_port = 0;
    std::thread m_thread;
};

}
