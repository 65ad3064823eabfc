#pragma once
// Stream and datagram sockets with the behaviour of the platform's socket
// library: SOCKET values, WSA error numbers per thread, time-outs in
// milliseconds, select over socket arrays, and no SIGPIPE ever.
//
// The calls that share a name with the POSIX ones are overloads on SOCKET, so
// a call whose first argument is a SOCKET takes the behaviour above; a call
// with a plain int descriptor still reaches the POSIX function. `socket`,
// `gethostbyname` and the fd_set macros are replaced outright, so this header
// must come after any code in a translation unit that wants the POSIX fd_set.

#include "Platform/Base/Types.h"

#include <concepts>
#include <cstddef>
#include <type_traits>
#include <utility>

#include <sys/types.h>
#include <sys/socket.h>
#include <sys/select.h>
#include <sys/ioctl.h>
#include <sys/time.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <arpa/inet.h>
#include <netdb.h>

using SOCKET = UINT_PTR;
inline constexpr SOCKET INVALID_SOCKET = ~static_cast<SOCKET>(0);
inline constexpr int SOCKET_ERROR = -1;

inline constexpr int SD_RECEIVE = SHUT_RD;
inline constexpr int SD_SEND = SHUT_WR;
inline constexpr int SD_BOTH = SHUT_RDWR;

using SOCKADDR = sockaddr;
using PSOCKADDR = sockaddr*;
using LPSOCKADDR = sockaddr*;
using SOCKADDR_IN = sockaddr_in;
using PSOCKADDR_IN = sockaddr_in*;
using LPSOCKADDR_IN = sockaddr_in*;
using IN_ADDR = in_addr;
using HOSTENT = hostent;
using PHOSTENT = hostent*;
using LPHOSTENT = hostent*;
using TIMEVAL = timeval;
using LINGER = linger;

// Error numbers of the platform's socket library.
inline constexpr int WSABASEERR = 10000;
inline constexpr int WSAEINTR = 10004;
inline constexpr int WSAEBADF = 10009;
inline constexpr int WSAEACCES = 10013;
inline constexpr int WSAEFAULT = 10014;
inline constexpr int WSAEINVAL = 10022;
inline constexpr int WSAEMFILE = 10024;
inline constexpr int WSAEWOULDBLOCK = 10035;
inline constexpr int WSAEINPROGRESS = 10036;
inline constexpr int WSAEALREADY = 10037;
inline constexpr int WSAENOTSOCK = 10038;
inline constexpr int WSAEDESTADDRREQ = 10039;
inline constexpr int WSAEMSGSIZE = 10040;
inline constexpr int WSAEPROTOTYPE = 10041;
inline constexpr int WSAENOPROTOOPT = 10042;
inline constexpr int WSAEPROTONOSUPPORT = 10043;
inline constexpr int WSAESOCKTNOSUPPORT = 10044;
inline constexpr int WSAEOPNOTSUPP = 10045;
inline constexpr int WSAEPFNOSUPPORT = 10046;
inline constexpr int WSAEAFNOSUPPORT = 10047;
inline constexpr int WSAEADDRINUSE = 10048;
inline constexpr int WSAEADDRNOTAVAIL = 10049;
inline constexpr int WSAENETDOWN = 10050;
inline constexpr int WSAENETUNREACH = 10051;
inline constexpr int WSAENETRESET = 10052;
inline constexpr int WSAECONNABORTED = 10053;
inline constexpr int WSAECONNRESET = 10054;
inline constexpr int WSAENOBUFS = 10055;
inline constexpr int WSAEISCONN = 10056;
inline constexpr int WSAENOTCONN = 10057;
inline constexpr int WSAESHUTDOWN = 10058;
inline constexpr int WSAETOOMANYREFS = 10059;
inline constexpr int WSAETIMEDOUT = 10060;
inline constexpr int WSAECONNREFUSED = 10061;
inline constexpr int WSAELOOP = 10062;
inline constexpr int WSAENAMETOOLONG = 10063;
inline constexpr int WSAEHOSTDOWN = 10064;
inline constexpr int WSAEHOSTUNREACH = 10065;
inline constexpr int WSAENOTEMPTY = 10066;
inline constexpr int WSAEPROCLIM = 10067;
inline constexpr int WSAEUSERS = 10068;
inline constexpr int WSAEDQUOT = 10069;
inline constexpr int WSAESTALE = 10070;
inline constexpr int WSAEREMOTE = 10071;
inline constexpr int WSASYSNOTREADY = 10091;
inline constexpr int WSAVERNOTSUPPORTED = 10092;
inline constexpr int WSANOTINITIALISED = 10093;
inline constexpr int WSAEDISCON = 10101;
inline constexpr int WSASYSCALLFAILURE = 10107;
inline constexpr int WSAHOST_NOT_FOUND = 11001;
inline constexpr int WSATRY_AGAIN = 11002;
inline constexpr int WSANO_RECOVERY = 11003;
inline constexpr int WSANO_DATA = 11004;

inline constexpr int WSADESCRIPTION_LEN = 256;
inline constexpr int WSASYS_STATUS_LEN = 128;

struct WSADATA {
    WORD wVersion = 0;
    WORD wHighVersion = 0;
    char szDescription[WSADESCRIPTION_LEN + 1] = {};
    char szSystemStatus[WSASYS_STATUS_LEN + 1] = {};
    unsigned short iMaxSockets = 0;
    unsigned short iMaxUdpDg = 0;
    char* lpVendorInfo = nullptr;
};
using LPWSADATA = WSADATA*;

// Reference-counted: every successful WSAStartup needs its WSACleanup.
// Creating sockets and looking up names fail with WSANOTINITIALISED before it.
int WSAStartup(WORD versionRequested, WSADATA* data);
int WSACleanup();

// The socket library's last error is the thread's last error, as on the platform.
int WSAGetLastError();
void WSASetLastError(int error);

namespace Net {
// The WSA number for an errno value of a failed socket call.
int WsaErrorFromErrno(int error);
// The WSA number for a getaddrinfo/getnameinfo result.
int WsaErrorFromAddrInfo(int result);

// Whether WSAStartup was called more often than WSACleanup.
bool IsStarted();

// Sockets are never handed out as descriptor 0, so code that keeps 0 for
// "no socket" cannot mistake a real one; every call still accepts 0.
SOCKET Socket(int family, int type, int protocol);
// Thread-safe: the result lives in storage of the calling thread until its next call.
hostent* GetHostByName(const char* name);
}

#define socket(family, type, protocol) Net::Socket((family), (type), (protocol))
#define gethostbyname(name) Net::GetHostByName(name)

int closesocket(SOCKET s);
// FIONBIO (0 blocking, else non-blocking) and FIONREAD (bytes waiting).
int ioctlsocket(SOCKET s, long command, u_long* argument);

int bind(SOCKET s, const sockaddr* address, int length);
int listen(SOCKET s, int backlog);
SOCKET accept(SOCKET s, sockaddr* address, int* length);
// A non-blocking connect that is under way fails with WSAEWOULDBLOCK.
int connect(SOCKET s, const sockaddr* address, int length);
int shutdown(SOCKET s, int how);

// A time-out of SO_RCVTIMEO/SO_SNDTIMEO fails with WSAETIMEDOUT; a
// non-blocking socket without data with WSAEWOULDBLOCK.
int send(SOCKET s, const char* data, int length, int flags);
int recv(SOCKET s, char* buffer, int length, int flags);
int sendto(SOCKET s, const char* data, int length, int flags, const sockaddr* to, int toLength);
int recvfrom(SOCKET s, char* buffer, int length, int flags, sockaddr* from, int* fromLength);

// The platform's own IPPROTO_IP option: a boolean that sets the DF bit on
// every datagram (path MTU discovery "do" here, "don't" when cleared).
inline constexpr int IP_DONTFRAGMENT = 14;

// SO_RCVTIMEO and SO_SNDTIMEO take and give a DWORD of milliseconds (0 waits
// without limit); SO_ERROR gives a WSA number; boolean options accept 1 to 4 bytes.
int setsockopt(SOCKET s, int level, int option, const char* value, int length);
int getsockopt(SOCKET s, int level, int option, char* value, int* length);

int getpeername(SOCKET s, sockaddr* address, int* length);
int getsockname(SOCKET s, sockaddr* address, int* length);

// IPv4 only; the result lives in storage of the calling thread.
hostent* gethostbyaddr(const char* address, int length, int type);

// Overloads that keep a SOCKET call from falling through to the POSIX
// function (or becoming ambiguous) when the buffer is not char or the length
// is a size_t: any object buffer and any integer length reach the calls above.
// A length outside 0..INT_MAX fails with WSAEFAULT.
namespace Net {
template <std::integral Length>
bool FitsInt(Length length)
{
    if (std::in_range<int>(length))
        return true;
    WSASetLastError(WSAEFAULT);
    return false;
}
}

template <class Buffer, std::integral Length>
int send(SOCKET s, const Buffer* data, Length length, int flags)
{
    return Net::FitsInt(length) ? send(s, reinterpret_cast<const char*>(data), static_cast<int>(length), flags)
                                : SOCKET_ERROR;
}
template <class Buffer, std::integral Length>
    requires(!std::is_const_v<Buffer>)
int recv(SOCKET s, Buffer* buffer, Length length, int flags)
{
    return Net::FitsInt(length) ? recv(s, reinterpret_cast<char*>(buffer), static_cast<int>(length), flags)
                                : SOCKET_ERROR;
}
template <class Buffer, std::integral Length, std::integral ToLength>
int sendto(SOCKET s, const Buffer* data, Length length, int flags, const sockaddr* to, ToLength toLength)
{
    return Net::FitsInt(length) && Net::FitsInt(toLength)
               ? sendto(s, reinterpret_cast<const char*>(data), static_cast<int>(length), flags, to,
                        static_cast<int>(toLength))
               : SOCKET_ERROR;
}
template <class Buffer, std::integral Length, class FromLength>
    requires(!std::is_const_v<Buffer> && (std::same_as<FromLength, int> || std::same_as<FromLength, socklen_t>))
int recvfrom(SOCKET s, Buffer* buffer, Length length, int flags, sockaddr* from, FromLength* fromLength)
{
    return Net::FitsInt(length) ? recvfrom(s, reinterpret_cast<char*>(buffer), static_cast<int>(length), flags, from,
                                           reinterpret_cast<int*>(fromLength))
                                : SOCKET_ERROR;
}
// Neither the sender's address nor its length wanted.
template <class Buffer, std::integral Length>
    requires(!std::is_const_v<Buffer>)
int recvfrom(SOCKET s, Buffer* buffer, Length length, int flags, std::nullptr_t, std::nullptr_t)
{
    return Net::FitsInt(length)
               ? recvfrom(s, reinterpret_cast<char*>(buffer), static_cast<int>(length), flags, nullptr, static_cast<int*>(nullptr))
               : SOCKET_ERROR;
}
template <class Value, std::integral Length>
int setsockopt(SOCKET s, int level, int option, const Value* value, Length length)
{
    return Net::FitsInt(length) ? setsockopt(s, level, option, reinterpret_cast<const char*>(value), static_cast<int>(length))
                                : SOCKET_ERROR;
}
template <class Value, class Length>
    requires(!std::is_const_v<Value> && (std::same_as<Length, int> || std::same_as<Length, socklen_t>))
int getsockopt(SOCKET s, int level, int option, Value* value, Length* length)
{
    return getsockopt(s, level, option, reinterpret_cast<char*>(value), reinterpret_cast<int*>(length));
}
// socklen_t lengths; templates, so that a null length still picks the int form.
template <class Length>
    requires std::same_as<Length, socklen_t>
SOCKET accept(SOCKET s, sockaddr* address, Length* length)
{
    return accept(s, address, reinterpret_cast<int*>(length));
}
template <class Length>
    requires std::same_as<Length, socklen_t>
int getpeername(SOCKET s, sockaddr* address, Length* length)
{
    return getpeername(s, address, reinterpret_cast<int*>(length));
}
template <class Length>
    requires std::same_as<Length, socklen_t>
int getsockname(SOCKET s, sockaddr* address, Length* length)
{
    return getsockname(s, address, reinterpret_cast<int*>(length));
}

// The socket sets of select are arrays of sockets, as on the platform: any
// socket value fits, and adding to a full set is ignored instead of overrunning.
#undef FD_SETSIZE
#undef FD_SET
#undef FD_CLR
#undef FD_ISSET
#undef FD_ZERO
#define FD_SETSIZE 64

struct WsaSocketSet {
    u_int fd_count = 0;
    SOCKET fd_array[FD_SETSIZE] = {};
};

namespace Net {
void SocketSetAdd(SOCKET s, WsaSocketSet* set);
void SocketSetRemove(SOCKET s, WsaSocketSet* set);
bool SocketSetContains(SOCKET s, const WsaSocketSet* set);
}

#define fd_set WsaSocketSet
#define FD_SET(s, set) ::Net::SocketSetAdd((s), (set))
#define FD_CLR(s, set) ::Net::SocketSetRemove((s), (set))
#define FD_ISSET(s, set) ::Net::SocketSetContains((s), (set))
#define FD_ZERO(set) (static_cast<void>((set)->fd_count = 0))

// The first argument is ignored. Writable means a connect succeeded or a send
// will not block; a failed connect shows in the exception set (and never as
// writable), so its error is read at once with getsockopt(SO_ERROR). A null
// time-out waits without limit. Returns the number of sockets ready in all sets.
int select(int ignored, WsaSocketSet* readSet, WsaSocketSet* writeSet, WsaSocketSet* exceptSet, const timeval* timeout);
// With a non-const time-out as well, so that the POSIX select does not win the
// overload. (A call with three null sets still reaches the POSIX select, which
// then simply waits.)
template <class Time>
    requires std::same_as<Time, timeval>
int select(int ignored, WsaSocketSet* readSet, WsaSocketSet* writeSet, WsaSocketSet* exceptSet, Time* timeout)
{
    return select(ignored, readSet, writeSet, exceptSet, static_cast<const timeval*>(timeout));
}
