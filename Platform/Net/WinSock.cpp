#include "Platform/Net/WinSock.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <mutex>
#include <set>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#undef socket
#undef gethostbyname

namespace {

// The POSIX calls with their own argument types, so the SOCKET overloads never compete.
int PosixSetOption(int fd, int level, int option, const void* value, std::size_t length)
{
    return ::setsockopt(fd, level, option, value, static_cast<socklen_t>(length));
}

int PosixGetOption(int fd, int level, int option, void* value, socklen_t* length)
{
    return ::getsockopt(fd, level, option, value, length);
}

constexpr WORD kHighestVersion = MAKEWORD(2, 2);

std::mutex g_startupMutex;
int g_startupCount = 0;

// Sockets whose sending side this process shut down: a later send there is
// WSAESHUTDOWN, while the same errno after a peer's reset is WSAECONNRESET.
std::mutex g_shutMutex;
std::set<int> g_sendShut;

int Fail(int wsaError)
{
    WSASetLastError(wsaError);
    return SOCKET_ERROR;
}

int FailErrno()
{
    return Fail(Net::WsaErrorFromErrno(errno));
}

// A SOCKET is a descriptor here; anything outside the descriptor range names no socket.
bool ToDescriptor(SOCKET s, int& fd)
{
    if (s > static_cast<SOCKET>(INT_MAX)) {
        WSASetLastError(WSAENOTSOCK);
        return false;
    }
    fd = static_cast<int>(s);
    return true;
}

bool IsNonBlocking(int fd)
{
    const int flags = fcntl(fd, F_GETFL);
    return flags >= 0 && (flags & O_NONBLOCK) != 0;
}

// A blocking socket whose SO_RCVTIMEO/SO_SNDTIMEO ran out reports EAGAIN here;
// the platform calls that a time-out.
int FailTransfer(int fd)
{
    const int error = errno;
    if (error == EAGAIN || error == EWOULDBLOCK)
        return Fail(IsNonBlocking(fd) ? WSAEWOULDBLOCK : WSAETIMEDOUT);
    if (error == EPIPE) {
        std::lock_guard lock(g_shutMutex);
        return Fail(g_sendShut.count(fd) != 0 ? WSAESHUTDOWN : WSAECONNRESET);
    }
    return Fail(Net::WsaErrorFromErrno(error));
}

// Descriptor 0 stays free for code that reads 0 as "no socket".
int MoveOffZero(int fd)
{
    if (fd != 0)
        return fd;
    const int moved = fcntl(fd, F_DUPFD_CLOEXEC, 1);
    const int error = errno;
    close(fd);
    errno = error;
    return moved;
}

// An IPv4 socket that bind has not given a port yet.
bool IsUnboundIpv4(int fd)
{
    sockaddr_in local{};
    socklen_t size = sizeof(local);
    return ::getsockname(fd, reinterpret_cast<sockaddr*>(&local), &size) == 0 && local.sin_family == AF_INET &&
           local.sin_port == 0;
}

int SocketType(int fd)
{
    int type = 0;
    socklen_t size = sizeof(type);
    return PosixGetOption(fd, SOL_SOCKET, SO_TYPE, &type, &size) == 0 ? type : 0;
}

constexpr int kWsaWaitAll = 0x8;

bool TranslateFlags(int flags, int& posixFlags)
{
    posixFlags = MSG_NOSIGNAL;
    const int passed = MSG_OOB | MSG_PEEK | MSG_DONTROUTE | MSG_WAITALL | MSG_NOSIGNAL;
    if (flags & kWsaWaitAll) {
        posixFlags |= MSG_WAITALL;
        flags &= ~kWsaWaitAll;
    }
    if (flags & ~passed) {
        WSASetLastError(WSAEOPNOTSUPP);
        return false;
    }
    posixFlags |= flags;
    return true;
}

bool CheckLength(int length)
{
    if (length < 0) {
        WSASetLastError(WSAEFAULT);
        return false;
    }
    return true;
}

// Waits for an interrupted blocking connect to finish; the kernel's own
// connect time-out bounds the wait.
int FinishInterruptedConnect(int fd)
{
    pollfd entry{fd, POLLOUT, 0};
    int ready = 0;
    do {
        ready = poll(&entry, 1, -1);
    } while (ready < 0 && errno == EINTR);
    if (ready < 0)
        return FailErrno();
    int error = 0;
    socklen_t length = sizeof(error);
    if (PosixGetOption(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
        return FailErrno();
    if (error != 0)
        return Fail(Net::WsaErrorFromErrno(error));
    return 0;
}

}

int WSAStartup(WORD versionRequested, WSADATA* data)
{
    if (data == nullptr)
        return WSAEFAULT;
    if (LOBYTE(versionRequested) < 1)
        return WSAVERNOTSUPPORTED;
    const WORD requested = MAKEWORD(LOBYTE(versionRequested), HIBYTE(versionRequested));
    const bool above = LOBYTE(requested) > 2 || (LOBYTE(requested) == 2 && HIBYTE(requested) > 2);
    *data = WSADATA{};
    data->wVersion = above ? kHighestVersion : requested;
    data->wHighVersion = kHighestVersion;
    std::strcpy(data->szDescription, "WinSock 2.0");
    std::strcpy(data->szSystemStatus, "Running");
    if (LOBYTE(data->wVersion) == 1) {
        data->iMaxSockets = 32767;
        data->iMaxUdpDg = 65467;
    }
    std::lock_guard lock(g_startupMutex);
    ++g_startupCount;
    return 0;
}

int WSACleanup()
{
    std::lock_guard lock(g_startupMutex);
    if (g_startupCount == 0)
        return Fail(WSANOTINITIALISED);
    --g_startupCount;
    return 0;
}

namespace Net {

bool IsStarted()
{
    std::lock_guard lock(g_startupMutex);
    return g_startupCount > 0;
}

SOCKET Socket(int family, int type, int protocol)
{
    if (!IsStarted()) {
        WSASetLastError(WSANOTINITIALISED);
        return INVALID_SOCKET;
    }
    int fd = ::socket(family, type | SOCK_CLOEXEC, protocol);
    if (fd >= 0)
        fd = MoveOffZero(fd);
    if (fd < 0) {
        FailErrno();
        return INVALID_SOCKET;
    }
    return static_cast<SOCKET>(fd);
}

}

int closesocket(SOCKET s)
{
    int fd = 0;
    if (!ToDescriptor(s, fd))
        return SOCKET_ERROR;
    struct stat info {};
    // Never close a descriptor that is not a socket, such as a stale value
    // that now names a file.
    if (fstat(fd, &info) != 0 || !S_ISSOCK(info.st_mode))
        return Fail(WSAENOTSOCK);
    {
        std::lock_guard lock(g_shutMutex);
        g_sendShut.erase(fd);
    }
    // The descriptor is released even when close reports EINTR.
    if (close(fd) != 0 && errno != EINTR)
        return FailErrno();
    return 0;
}

int ioctlsocket(SOCKET s, long command, u_long* argument)
{
    int fd = 0;
    if (!ToDescriptor(s, fd))
        return SOCKET_ERROR;
    if (argument == nullptr)
        return Fail(WSAEFAULT);
    if (command == static_cast<long>(FIONBIO)) {
        const int flags = fcntl(fd, F_GETFL);
        if (flags < 0)
            return FailErrno();
        const int wanted = *argument != 0 ? (flags | O_NONBLOCK) : (flags & ~O_NONBLOCK);
        if (fcntl(fd, F_SETFL, wanted) != 0)
            return FailErrno();
        return 0;
    }
    if (command == static_cast<long>(FIONREAD)) {
        int waiting = 0;
        if (ioctl(fd, FIONREAD, &waiting) != 0)
            return FailErrno();
        *argument = static_cast<u_long>(std::max(waiting, 0));
        return 0;
    }
    return Fail(WSAEINVAL);
}

int bind(SOCKET s, const sockaddr* address, int length)
{
    int fd = 0;
    if (!ToDescriptor(s, fd))
        return SOCKET_ERROR;
    if (address == nullptr || length <= 0)
        return Fail(WSAEFAULT);
    if (::bind(fd, address, static_cast<socklen_t>(length)) != 0)
        return FailErrno();
    return 0;
}

int listen(SOCKET s, int backlog)
{
    int fd = 0;
    if (!ToDescriptor(s, fd))
        return SOCKET_ERROR;
    // The platform listens only where bind chose the port; POSIX would pick one silently.
    if (IsUnboundIpv4(fd))
        return Fail(WSAEINVAL);
    if (::listen(fd, backlog) != 0)
        return FailErrno();
    return 0;
}

SOCKET accept(SOCKET s, sockaddr* address, int* length)
{
    int fd = 0;
    if (!ToDescriptor(s, fd))
        return INVALID_SOCKET;
    if (address != nullptr && (length == nullptr || *length < 0)) {
        WSASetLastError(WSAEFAULT);
        return INVALID_SOCKET;
    }
    socklen_t size = length != nullptr ? static_cast<socklen_t>(*length) : 0;
    const bool nonBlocking = IsNonBlocking(fd);
    int accepted = ::accept4(fd, address, address != nullptr ? &size : nullptr, SOCK_CLOEXEC);
    if (accepted >= 0)
        accepted = MoveOffZero(accepted);
    if (accepted < 0) {
        FailTransfer(fd);
        return INVALID_SOCKET;
    }
    // The accepted socket takes the blocking mode of the listening one, as on the platform.
    if (nonBlocking)
        fcntl(accepted, F_SETFL, fcntl(accepted, F_GETFL) | O_NONBLOCK);
    if (address != nullptr && length != nullptr)
        *length = static_cast<int>(std::min<socklen_t>(size, static_cast<socklen_t>(*length)));
    return static_cast<SOCKET>(accepted);
}

int connect(SOCKET s, const sockaddr* address, int length)
{
    int fd = 0;
    if (!ToDescriptor(s, fd))
        return SOCKET_ERROR;
    if (address == nullptr || length <= 0)
        return Fail(WSAEFAULT);
    if (::connect(fd, address, static_cast<socklen_t>(length)) == 0)
        return 0;
    const int error = errno;
    if (error == EINTR && !IsNonBlocking(fd))
        return FinishInterruptedConnect(fd);
    // A blocking connect that ran out of SO_SNDTIMEO reports EINPROGRESS.
    if (error == EINPROGRESS && !IsNonBlocking(fd))
        return Fail(WSAETIMEDOUT);
    return Fail(Net::WsaErrorFromErrno(error));
}

int shutdown(SOCKET s, int how)
{
    int fd = 0;
    if (!ToDescriptor(s, fd))
        return SOCKET_ERROR;
    if (how != SD_RECEIVE && how != SD_SEND && how != SD_BOTH)
        return Fail(WSAEINVAL);
    if (::shutdown(fd, how) != 0)
        return FailErrno();
    if (how != SD_RECEIVE) {
        std::lock_guard lock(g_shutMutex);
        g_sendShut.insert(fd);
    }
    return 0;
}

int send(SOCKET s, const char* data, int length, int flags)
{
    int fd = 0;
    int posixFlags = 0;
    if (!ToDescriptor(s, fd) || !CheckLength(length) || !TranslateFlags(flags, posixFlags))
        return SOCKET_ERROR;
    if (data == nullptr && length > 0)
        return Fail(WSAEFAULT);
    ssize_t sent = 0;
    do {
        sent = ::send(fd, static_cast<const void*>(data), static_cast<size_t>(length), posixFlags);
    } while (sent < 0 && errno == EINTR);
    if (sent < 0)
        return FailTransfer(fd);
    return static_cast<int>(sent);
}

int recv(SOCKET s, char* buffer, int length, int flags)
{
    int fd = 0;
    int posixFlags = 0;
    if (!ToDescriptor(s, fd) || !CheckLength(length) || !TranslateFlags(flags, posixFlags))
        return SOCKET_ERROR;
    if (buffer == nullptr && length > 0)
        return Fail(WSAEFAULT);
    ssize_t received = 0;
    do {
        received = ::recv(fd, static_cast<void*>(buffer), static_cast<size_t>(length), posixFlags & ~MSG_NOSIGNAL);
    } while (received < 0 && errno == EINTR);
    if (received < 0)
        return FailTransfer(fd);
    return static_cast<int>(received);
}

int sendto(SOCKET s, const char* data, int length, int flags, const sockaddr* to, int toLength)
{
    int fd = 0;
    int posixFlags = 0;
    if (!ToDescriptor(s, fd) || !CheckLength(length) || !CheckLength(toLength) || !TranslateFlags(flags, posixFlags))
        return SOCKET_ERROR;
    if ((data == nullptr && length > 0) || (to == nullptr && toLength > 0))
        return Fail(WSAEFAULT);
    ssize_t sent = 0;
    do {
        sent = ::sendto(fd, static_cast<const void*>(data), static_cast<size_t>(length), posixFlags, to, static_cast<socklen_t>(toLength));
    } while (sent < 0 && errno == EINTR);
    if (sent < 0)
        return FailTransfer(fd);
    return static_cast<int>(sent);
}

int recvfrom(SOCKET s, char* buffer, int length, int flags, sockaddr* from, int* fromLength)
{
    int fd = 0;
    int posixFlags = 0;
    if (!ToDescriptor(s, fd) || !CheckLength(length) || !TranslateFlags(flags, posixFlags))
        return SOCKET_ERROR;
    if ((buffer == nullptr && length > 0) || (from != nullptr && (fromLength == nullptr || *fromLength < 0)))
        return Fail(WSAEFAULT);
    const int type = SocketType(fd);
    const bool datagram = type == SOCK_DGRAM || type == SOCK_RAW;
    // A UDP socket receives only once it has a port: the platform refuses the
    // call, where POSIX would wait on a port nobody knows. Raw sockets have no port.
    if (type == SOCK_DGRAM && IsUnboundIpv4(fd))
        return Fail(WSAEINVAL);
    // With MSG_TRUNC a datagram reports its whole length, so a cut one can be told apart.
    if (datagram)
        posixFlags |= MSG_TRUNC;
    socklen_t size = from != nullptr ? static_cast<socklen_t>(*fromLength) : 0;
    ssize_t received = 0;
    do {
        received = ::recvfrom(fd, static_cast<void*>(buffer), static_cast<size_t>(length), posixFlags & ~MSG_NOSIGNAL, from,
                              from != nullptr ? &size : nullptr);
    } while (received < 0 && errno == EINTR);
    if (received < 0)
        return FailTransfer(fd);
    if (from != nullptr)
        *fromLength = static_cast<int>(std::min<socklen_t>(size, static_cast<socklen_t>(*fromLength)));
    // The platform fills the buffer with the first part of a datagram too
    // large for it, drops the rest and reports the loss.
    if (received > length)
        return Fail(WSAEMSGSIZE);
    return static_cast<int>(received);
}

namespace {

bool IsTimeoutOption(int level, int option)
{
    return level == SOL_SOCKET && (option == SO_RCVTIMEO || option == SO_SNDTIMEO);
}

// The platform's linger record is two 16-bit numbers; the POSIX one is two ints.
struct WsaLinger {
    u_short onOff;
    u_short seconds;
};

}

int setsockopt(SOCKET s, int level, int option, const char* value, int length)
{
    int fd = 0;
    if (!ToDescriptor(s, fd))
        return SOCKET_ERROR;
    if (value == nullptr || length <= 0)
        return Fail(WSAEFAULT);
    int result = 0;
    if (IsTimeoutOption(level, option)) {
        if (length < static_cast<int>(sizeof(DWORD)))
            return Fail(WSAEFAULT);
        DWORD milliseconds = 0;
        std::memcpy(&milliseconds, value, sizeof(milliseconds));
        timeval time{};
        time.tv_sec = static_cast<time_t>(milliseconds / 1000);
        time.tv_usec = static_cast<suseconds_t>((milliseconds % 1000) * 1000);
        result = PosixSetOption(fd, level, option, &time, sizeof(time));
    } else if (level == IPPROTO_IP && option == IP_DONTFRAGMENT) {
        int on = 0;
        for (int i = 0; i < std::min(length, static_cast<int>(sizeof(int))); ++i)
            on |= static_cast<unsigned char>(value[i]);
        const int discover = on != 0 ? IP_PMTUDISC_DO : IP_PMTUDISC_DONT;
        result = PosixSetOption(fd, IPPROTO_IP, IP_MTU_DISCOVER, &discover, sizeof(discover));
    } else if (level == SOL_SOCKET && option == SO_LINGER && length < static_cast<int>(sizeof(linger))) {
        if (length < static_cast<int>(sizeof(WsaLinger)))
            return Fail(WSAEFAULT);
        WsaLinger given{};
        std::memcpy(&given, value, sizeof(given));
        const linger posix{given.onOff != 0 ? 1 : 0, given.seconds};
        result = PosixSetOption(fd, level, option, &posix, sizeof(posix));
    } else if (length < static_cast<int>(sizeof(int))) {
        // Boolean options given as a single byte or a 16-bit number.
        int number = 0;
        for (int i = 0; i < length; ++i)
            number |= static_cast<unsigned char>(value[i]);
        result = PosixSetOption(fd, level, option, &number, sizeof(number));
    } else {
        result = PosixSetOption(fd, level, option, value, static_cast<std::size_t>(length));
    }
    if (result != 0)
        return FailErrno();
    return 0;
}

int getsockopt(SOCKET s, int level, int option, char* value, int* length)
{
    int fd = 0;
    if (!ToDescriptor(s, fd))
        return SOCKET_ERROR;
    if (value == nullptr || length == nullptr || *length <= 0)
        return Fail(WSAEFAULT);
    if (IsTimeoutOption(level, option)) {
        if (*length < static_cast<int>(sizeof(DWORD)))
            return Fail(WSAEFAULT);
        timeval time{};
        socklen_t size = sizeof(time);
        if (PosixGetOption(fd, level, option, &time, &size) != 0)
            return FailErrno();
        const unsigned long long ms = static_cast<unsigned long long>(time.tv_sec) * 1000ULL +
                                      static_cast<unsigned long long>(time.tv_usec) / 1000ULL;
        const DWORD milliseconds = static_cast<DWORD>(std::min<unsigned long long>(ms, 0xFFFFFFFFULL));
        std::memcpy(value, &milliseconds, sizeof(milliseconds));
        *length = sizeof(DWORD);
        return 0;
    }
    if (level == SOL_SOCKET && option == SO_ERROR) {
        if (*length < static_cast<int>(sizeof(int)))
            return Fail(WSAEFAULT);
        int error = 0;
        socklen_t size = sizeof(error);
        if (PosixGetOption(fd, level, option, &error, &size) != 0)
            return FailErrno();
        const int wsaError = Net::WsaErrorFromErrno(error);
        std::memcpy(value, &wsaError, sizeof(wsaError));
        *length = sizeof(int);
        return 0;
    }
    if (level == SOL_SOCKET && option == SO_LINGER && *length < static_cast<int>(sizeof(linger))) {
        if (*length < static_cast<int>(sizeof(WsaLinger)))
            return Fail(WSAEFAULT);
        linger posix{};
        socklen_t size = sizeof(posix);
        if (PosixGetOption(fd, level, option, &posix, &size) != 0)
            return FailErrno();
        const WsaLinger given{static_cast<u_short>(posix.l_onoff != 0 ? 1 : 0),
                              static_cast<u_short>(std::clamp(posix.l_linger, 0, 0xFFFF))};
        std::memcpy(value, &given, sizeof(given));
        *length = sizeof(WsaLinger);
        return 0;
    }
    socklen_t size = static_cast<socklen_t>(*length);
    if (PosixGetOption(fd, level, option, static_cast<void*>(value), &size) != 0)
        return FailErrno();
    *length = static_cast<int>(size);
    return 0;
}

namespace {

using NameCall = int (*)(int, sockaddr*, socklen_t*);

int QueryName(SOCKET s, sockaddr* address, int* length, NameCall call)
{
    int fd = 0;
    if (!ToDescriptor(s, fd))
        return SOCKET_ERROR;
    if (address == nullptr || length == nullptr || *length <= 0)
        return Fail(WSAEFAULT);
    socklen_t size = static_cast<socklen_t>(*length);
    if (call(fd, address, &size) != 0)
        return FailErrno();
    // The platform refuses a buffer too small for the address instead of cutting it.
    if (size > static_cast<socklen_t>(*length))
        return Fail(WSAEFAULT);
    *length = static_cast<int>(size);
    return 0;
}

}

int getpeername(SOCKET s, sockaddr* address, int* length)
{
    return QueryName(s, address, length, [](int fd, sockaddr* a, socklen_t* l) { return ::getpeername(fd, a, l); });
}

int getsockname(SOCKET s, sockaddr* address, int* length)
{
    return QueryName(s, address, length, [](int fd, sockaddr* a, socklen_t* l) { return ::getsockname(fd, a, l); });
}
