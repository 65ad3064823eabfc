#pragma once

// A plain blocking socket to the simulator on 127.0.0.1, for hosts that talk
// to it without any socket layer of their own.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cstdint>

namespace DevSim {

// Connects `fd` to the loopback port; false when the socket cannot be made
// or the connect fails. A socket that was made stays in `fd` for the caller
// to close.
inline bool ConnectLoopback(uint16_t port, int& fd)
{
    fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
}

} // namespace DevSim
