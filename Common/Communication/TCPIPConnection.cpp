#include "Common/Communication/TCPIPConnection.h"

#include "Common/Communication/SettingsElement.h"
#include "Common/Communication/SettingsRegistryKey.h"
#include "Common/SystemHelper/Xml/XmlAccess.h"
#include "Platform/Base/Clock.h"
#include "Platform/Base/LastError.h"
#include "Platform/Base/TextConversion.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace ZELL {

namespace {

constexpr ULONG kSocketError = 0x30000000u;
constexpr ULONG kConnectTimeout = kSocketError | WSAETIMEDOUT;
constexpr ULONG kNotImplemented = 0x20201001u;
constexpr int kMaxEmptyPasses = 2;

ULONG SocketError()
{
    return kSocketError | static_cast<ULONG>(WSAGetLastError());
}

// Passing the largest chunk a single socket call takes keeps huge buffers
// from being refused as a whole.
int ChunkOf(unsigned int remaining)
{
    return static_cast<int>(std::min<unsigned int>(remaining, std::numeric_limits<int>::max()));
}

// Moves up to `length` bytes, `done` counting them even when a call throws;
// `move(offset, chunk)` gives what one socket call moved. A pass that moves
// nothing is reported to `empty`, and kMaxEmptyPasses of them in a row end
// the loop, so a stalled peer cannot keep it running.
template <typename Move, typename Empty>
void MoveChunks(unsigned int length, unsigned int& done, Move move, Empty empty)
{
    int emptyPasses = 0;
    while (done < length && emptyPasses < kMaxEmptyPasses) {
        const int count = move(done, ChunkOf(length - done));
        if (count > 0) {
            done += static_cast<unsigned int>(count);
            emptyPasses = 0;
        } else {
            empty();
            ++emptyPasses;
        }
    }
}

}

const wchar_t* const CTCPIPConnection::kDefaultSettings =
    L"<?xml version='1.0'?>             <TCPIP IP-Address='0.0.0.0'             ServicePort='6626'             "
    L"ConnectTimeoutSeconds='15'             SendTimeoutSeconds='15'             ReceiveTimeoutSeconds='15'        "
    L"     RestartTimeoutSeconds='15'             timeout='15000'             CloseWaitTime='200'             "
    L"LengthPos='16'             SizeOfLength='2'             LengthCorrection='0'             "
    L"IdentifyByName='false'             NameResolution='false'             NetworkName=''             "
    L"IP-AddressFrom='192.168.1.1'             IP-AddressTo='192.168.1.254'             "
    L"DefaultServicePort='true'  />";

CSockAddress::operator std::wstring() const
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(&m_address.sin_addr.s_addr);
    return FormatW(L"%u.%u.%u.%u", bytes[0], bytes[1], bytes[2], bytes[3]);
}

CTCPIPConnection::CTCPIPConnection() : CConnectionBase(16, 2, 0)
{
    SetStorageProperties(L"", Registry);
    SetDefaultSettings(kDefaultSettings);
}

CTCPIPConnection::CTCPIPConnection(const CTCPIPConnection& other)
    : CConnectionBase(other)
    , m_settings(other.m_settings)
{
}

CTCPIPConnection& CTCPIPConnection::operator=(const CTCPIPConnection& other)
{
    if (this != &other) {
        // The socket stays with its owner; this object keeps its own.
        CConnectionBase::operator=(other);
        m_settings = other.m_settings;
    }
    return *this;
}

unsigned long CTCPIPConnection::ScaledTimeout(unsigned long base, unsigned int length)
{
    const unsigned long steps = std::max<unsigned long>(1, length / 10000);
    return base * std::min(base, steps);
}

unsigned long long CTCPIPConnection::RequestTimeoutMs(unsigned int requestLength) const
{
    const unsigned long base = std::max(m_settings.sendTimeout, m_settings.receiveTimeout);
    return static_cast<unsigned long long>(ScaledTimeout(base, requestLength)) * 1000u;
}

void CTCPIPConnection::AbortTransfers()
{
    const std::lock_guard lock(m_socketMutex);
    m_aborted = true;
    if (m_socket != INVALID_SOCKET)
        shutdown(m_socket, SD_BOTH);
}

DWORD CTCPIPConnection::CallTimeoutMs(unsigned long seconds, const wchar_t* message, LONG code,
                                      const wchar_t* detail) const
{
    if (m_aborted)
        throw CTCPIPConnectionException(message, code, detail, kSocketError | WSAECONNABORTED);
    unsigned long long milliseconds = static_cast<unsigned long long>(seconds) * 1000u;
    if (HasRequestDeadline()) {
        const unsigned long long left = RequestTimeLeftMs();
        if (left == 0)
            throw CTCPIPConnectionException(message, code, detail, kConnectTimeout);
        // 0 would make the socket wait for ever.
        milliseconds = milliseconds == 0 ? left : std::min(milliseconds, left);
    }
    return static_cast<DWORD>(std::min<unsigned long long>(milliseconds, std::numeric_limits<DWORD>::max()));
}

unsigned long CTCPIPConnection::ShortFragmentError() const
{
    return kSocketError | WSAECONNRESET;
}

unsigned long CTCPIPConnection::BadFragmentLengthError() const
{
    return kSocketError | WSAEMSGSIZE;
}

void CTCPIPConnection::Fail(const CTCPIPConnectionException& error, const wchar_t* function, int line)
{
    SetLastErrorCode(error.m_error);
    SetLastError(error.m_error);
    Log(L"   # LEAVE - %s with error 0x%08X (Line %d)\n", function, error.m_error, line);
}

void CTCPIPConnection::RequireSocket(const wchar_t* message, LONG code) const
{
    if (!IsOpen())
        throw CTCPIPConnectionException(message, code, L"Connection is not open!", kSocketError | WSAENOTSOCK);
}

void CTCPIPConnection::CloseQuietly()
{
    const SOCKET closing = m_socket;
    TakeSocket(INVALID_SOCKET);
    if (closing != INVALID_SOCKET)
        closesocket(closing);
}

void CTCPIPConnection::TakeSocket(SOCKET s)
{
    const std::lock_guard lock(m_socketMutex);
    m_socket = s;
    m_appliedSendTimeout = kTimeoutUnknown;
    m_appliedReceiveTimeout = kTimeoutUnknown;
}

// ---------------------------------------------------------------- Open, Close

void CTCPIPConnection::Open()
{
    constexpr const wchar_t* function = L"ZELL::CTCPIPConnection::Open";
    Log(L"   # ENTER - %s (Line %d)\n", function, __LINE__);
    try {
        if (IsOpen())
            CloseQuietly();
        Create(SOCK_STREAM);
        CSockAddress target;
        if (m_settings.identifyByName) {
            target = GetHostByName(m_settings.networkName.c_str(), m_settings.port);
            if (m_settings.ipAddress.empty() || m_settings.ipAddress == L"0.0.0.0")
                m_settings.ipAddress = target;
        } else {
            target = GetHostByName(m_settings.ipAddress.c_str(), m_settings.port);
            if (m_settings.nameResolution)
                m_settings.networkName = GetHostByAddr(m_settings.ipAddress.c_str(), m_settings.port);
        }
        sockaddr_in local = {};
        local.sin_family = AF_INET;
        Bind(reinterpret_cast<const sockaddr*>(&local));
        Connect(target.AsSockaddr(), m_settings.connectTimeout);
    } catch (const CTCPIPConnectionException& error) {
        // A failed open must not keep the socket it created.
        CloseQuietly();
        Fail(error, function, __LINE__);
        throw;
    }
    Log(L"   # LEAVE - %s (Line %d)\n", function, __LINE__);
}

void CTCPIPConnection::Close()
{
    constexpr const wchar_t* function = L"ZELL::CTCPIPConnection::Close";
    Log(L"   # ENTER - %s (Line %d)\n", function, __LINE__);
    try {
        Disconnect();
        Sleep(m_settings.closeWaitTime);
    } catch (const CTCPIPConnectionException& error) {
        Fail(error, function, __LINE__);
        throw;
    }
    Log(L"   # LEAVE - %s (Line %d)\n", function, __LINE__);
}

void CTCPIPConnection::Create(int type)
{
    CloseQuietly();
    TakeSocket(socket(AF_INET, type, 0));
    if (m_socket == INVALID_SOCKET)
        throw CTCPIPConnectionException(L"Failed to create a socket!", 3, L"socket() failed!", SocketError());
}

void CTCPIPConnection::Bind(const sockaddr* address)
{
    RequireSocket(L"Failed to associate the local address with a socket!", 4);
    if (bind(m_socket, address, sizeof(sockaddr_in)) == SOCKET_ERROR)
        throw CTCPIPConnectionException(L"Failed to associate the local address with a socket!", 4,
                                        L"bind() failed!", SocketError());
}

// A refused or unreachable peer shows in the exception set and fails at once
// with its own error; only silence until the time-out is a time-out.
void CTCPIPConnection::Connect(const sockaddr* address, unsigned long seconds)
{
    RequireSocket(L"Failed to establish the connection!", 7);
    ULONG error = 0;
    const wchar_t* detail = L"";
    u_long nonBlocking = 1;
    ioctlsocket(m_socket, FIONBIO, &nonBlocking);
    if (connect(m_socket, address, sizeof(sockaddr_in)) == SOCKET_ERROR) {
        if (WSAGetLastError() != WSAEWOULDBLOCK) {
            error = SocketError();
            detail = L"connect() failed!";
        } else {
            WaitConnected(seconds, error, detail);
        }
    }
    if (error != 0)
        throw CTCPIPConnectionException(L"Failed to establish the connection!", 7, detail, error);
    u_long blocking = 0;
    ioctlsocket(m_socket, FIONBIO, &blocking);
    // Every request is one write that waits for its answer: nothing is
    // gained by holding a small frame back, and a held frame waits for the
    // peer's delayed acknowledgement.
    const BOOL noDelay = TRUE;
    setsockopt(m_socket, IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof(noDelay));
}

// Waits in short slices, so that an abort from another thread ends the wait
// at once; false with `error` and `detail` set when the connect failed.
bool CTCPIPConnection::WaitConnected(unsigned long seconds, ULONG& error, const wchar_t*& detail)
{
    constexpr ULONGLONG kSliceMs = 100;
    const ULONGLONG limit = static_cast<ULONGLONG>(seconds) * 1000u;
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        if (m_aborted) {
            error = kSocketError | WSAECONNABORTED;
            detail = L"connect() failed!";
            return false;
        }
        const ULONGLONG elapsed = GetTickCount64() - start;
        if (elapsed >= limit && limit != 0) {
            error = kConnectTimeout;
            detail = L"Connecting-Timeout";
            return false;
        }
        const ULONGLONG slice = limit == 0 ? 0 : std::min(kSliceMs, limit - elapsed);
        fd_set writable;
        fd_set failed;
        FD_ZERO(&writable);
        FD_ZERO(&failed);
        FD_SET(m_socket, &writable);
        FD_SET(m_socket, &failed);
        const timeval wait = {static_cast<time_t>(slice / 1000), static_cast<suseconds_t>((slice % 1000) * 1000)};
        const int ready = select(0, nullptr, &writable, &failed, &wait);
        if (ready == SOCKET_ERROR) {
            error = SocketError();
            detail = L"select() failed!";
            return false;
        }
        if (FD_ISSET(m_socket, &failed)) {
            int socketError = 0;
            int size = sizeof(socketError);
            getsockopt(m_socket, SOL_SOCKET, SO_ERROR, &socketError, &size);
            error = kSocketError | static_cast<ULONG>(socketError != 0 ? socketError : WSAECONNREFUSED);
            detail = L"connect() failed!";
            return false;
        }
        if (ready > 0 && FD_ISSET(m_socket, &writable))
            return true;
        if (limit == 0) {
            error = kConnectTimeout;
            detail = L"Connecting-Timeout";
            return false;
        }
    }
}

void CTCPIPConnection::Disconnect()
{
    if (m_socket == INVALID_SOCKET)
        return;
    const SOCKET closing = m_socket;
    TakeSocket(INVALID_SOCKET);
    if (closesocket(closing) == SOCKET_ERROR)
        throw CTCPIPConnectionException(L"Failed to close the socket!", 8, L"closesocket() failed!", SocketError());
}

// --------------------------------------------------------------- Transfers

void CTCPIPConnection::Write(unsigned char* data, unsigned int length, unsigned int* written)
{
    constexpr const wchar_t* function = L"ZELL::CTCPIPConnection::Write";
    Log(L"   # ENTER - %s (Line %d)\n", function, __LINE__);
    unsigned int sent = 0;
    try {
        RequireSocket(L"Failed to send data on the connected socket!", 9);
        const unsigned long seconds = ScaledTimeout(m_settings.sendTimeout, length);
        MoveChunks(
            length, sent,
            [&](unsigned int offset, int chunk) {
                return Send(reinterpret_cast<const char*>(data) + offset, chunk, seconds);
            },
            [this] { Log(L"           -> wrote no bytes!\n"); });
        if (written)
            *written = sent;
        // Bytes the peer never got would otherwise pass for a sent request.
        if (sent < length)
            throw CTCPIPConnectionException(L"Failed to send data on the connected socket!", 9,
                                            L"Function send() failed!", kSocketError | WSAECONNABORTED);
    } catch (const CTCPIPConnectionException& error) {
        if (written)
            *written = sent;
        Fail(error, function, __LINE__);
        throw;
    }
    Log(L"   # LEAVE - %s (Line %d)\n", function, __LINE__);
}

void CTCPIPConnection::Read(unsigned char* buffer, unsigned int length, unsigned int* read)
{
    constexpr const wchar_t* function = L"ZELL::CTCPIPConnection::Read";
    Log(L"   # ENTER - %s (Line %d)\n", function, __LINE__);
    unsigned int received = 0;
    try {
        RequireSocket(L"Failed to receive data from the connected socket!", 11);
        const unsigned long seconds = ScaledTimeout(m_settings.receiveTimeout, length);
        MoveChunks(
            length, received,
            [&](unsigned int offset, int chunk) {
                return Receive(reinterpret_cast<char*>(buffer) + offset, chunk, seconds);
            },
            [this] { Log(L"           -> read no bytes!\n"); });
        if (read)
            *read = received;
    } catch (const CTCPIPConnectionException& error) {
        if (read)
            *read = received;
        Fail(error, function, __LINE__);
        throw;
    }
    Log(L"   # LEAVE - %s (Line %d)\n", function, __LINE__);
}

void CTCPIPConnection::ClearBuffer()
{
    constexpr int kMaxPasses = 64;
    if (!IsOpen() || m_aborted)
        return;
    u_long nonBlocking = 1;
    ioctlsocket(m_socket, FIONBIO, &nonBlocking);
    char scrap[kSocketMessageSize];
    for (int pass = 0; pass < kMaxPasses && recv(m_socket, scrap, sizeof(scrap), 0) > 0; ++pass) {
    }
    u_long blocking = 0;
    ioctlsocket(m_socket, FIONBIO, &blocking);
}

void CTCPIPConnection::Execute(unsigned char*, unsigned int, unsigned char**, unsigned int&)
{
    const CTCPIPConnectionException error(L"Execute() failed!", 21, L"Method is not implemented!", kNotImplemented);
    Fail(error, L"ZELL::CTCPIPConnection::Execute", __LINE__);
    throw error;
}

void CTCPIPConnection::TraceTransferFailure(const wchar_t* call, const wchar_t* what, int error, ULONGLONG elapsed,
                                            unsigned long seconds) const
{
    const wchar_t* line = L"##############################################################\r\n";
    Log(line);
    Log(L"### %s\r\n", what);
    Log(L"### WSAGetLastError() --> %d\r\n", error);
    Log(L"### Seconds since calling %s function: %llu ms\r\n", call, elapsed);
    Log(L"### Requested timeout value: %lus\r\n", seconds);
    Log(line);
}

void CTCPIPConnection::ThrowTransferFailure(const wchar_t* call, const wchar_t* message, LONG code,
                                            const wchar_t* detail, ULONGLONG start, unsigned long seconds) const
{
    const int wsaError = WSAGetLastError();
    TraceTransferFailure(call, message, wsaError, GetTickCount64() - start, seconds);
    throw CTCPIPConnectionException(message, code, detail, kSocketError | static_cast<ULONG>(wsaError));
}

int CTCPIPConnection::Send(const char* data, int length, unsigned long seconds)
{
    SetSendTimeout(CallTimeoutMs(seconds, L"Failed to send data on the connected socket!", 9, L"Function send() failed!"));
    const ULONGLONG start = GetTickCount64();
    const int count = send(m_socket, data, length, 0);
    if (count == SOCKET_ERROR)
        ThrowTransferFailure(L"send()", L"Failed to send data on the connected socket!", 9,
                             L"Function send() failed!", start, seconds);
    return count;
}

int CTCPIPConnection::Receive(char* buffer, int length, unsigned long seconds)
{
    SetReceiveTimeout(CallTimeoutMs(seconds, L"Failed to receive data from the connected socket!", 11,
                                    L"Function recv() failed!"));
    const ULONGLONG start = GetTickCount64();
    const int count = recv(m_socket, buffer, length, 0);
    if (count == SOCKET_ERROR)
        ThrowTransferFailure(L"rcv()", L"Failed to receive data from the connected socket!", 11,
                             L"Function recv() failed!", start, seconds);
    return count;
}

int CTCPIPConnection::SendTo(const char* data, int length, const sockaddr* to, unsigned long seconds)
{
    RequireSocket(L"Failed to send datagram on the connected socket!", 10);
    SetSendTimeout(static_cast<DWORD>(seconds) * 1000u);
    const ULONGLONG start = GetTickCount64();
    const int count = sendto(m_socket, data, length, 0, to, static_cast<int>(sizeof(sockaddr_in)));
    if (count == SOCKET_ERROR)
        ThrowTransferFailure(L"sendto()", L"Failed to send datagram on the connected socket!", 10,
                             L"Function sendto() failed!", start, seconds);
    return count;
}

int CTCPIPConnection::ReceiveFrom(char* buffer, int length, sockaddr_in* from, unsigned long seconds)
{
    RequireSocket(L"Failed to receive datagram from the connected socket!", 11);
    SetReceiveTimeout(static_cast<DWORD>(seconds) * 1000u);
    const ULONGLONG start = GetTickCount64();
    int fromLength = sizeof(sockaddr_in);
    const int count = recvfrom(m_socket, buffer, length, 0, reinterpret_cast<sockaddr*>(from),
                               from != nullptr ? &fromLength : nullptr);
    if (count == SOCKET_ERROR)
        ThrowTransferFailure(L"recvfrom()", L"Failed to receive datagram from the connected socket!", 11,
                             L"Function recvfrom() failed!", start, seconds);
    return count;
}

int CTCPIPConnection::GetSocketMessage(char (&message)[kSocketMessageSize])
{
    RequireSocket(L"Failed to receive data from the connected socket!", 11);
    const int count = Receive(message, kSocketMessageSize - 1, m_settings.receiveTimeout);
    message[count] = '\0';
    return count;
}

// ------------------------------------------------------ Listening and names

void CTCPIPConnection::Listen()
{
    constexpr int kBacklog = 5;
    RequireSocket(L"Failed to listen for incomming connection!", 5);
    if (listen(m_socket, kBacklog) == SOCKET_ERROR)
        throw CTCPIPConnectionException(L"Failed to listen for incomming connection!", 5, L"listen() failed!",
                                        SocketError());
}

int CTCPIPConnection::Accept(CTCPIPConnection& target)
{
    RequireSocket(L"Accepting incomming connection failed!", 6);
    // Taking a socket into a connection that has one would lose the old one.
    if (target.IsOpen())
        throw CTCPIPConnectionException(L"Accepting incomming connection failed!", 6,
                                        L"Target connection has a socket!", kSocketError | WSAEISCONN);
    sockaddr_in peer = {};
    int length = sizeof(peer);
    const SOCKET accepted = accept(m_socket, reinterpret_cast<sockaddr*>(&peer), &length);
    if (accepted != INVALID_SOCKET) {
        target.TakeSocket(accepted);
        return 1;
    }
    if (WSAGetLastError() == WSAEINTR)
        return 0;
    throw CTCPIPConnectionException(L"Accepting incomming connection failed!", 6, L"accept() failed!",
                                    SocketError());
}

CSockAddress CTCPIPConnection::QueryAddress(bool peer) const
{
    const wchar_t* message = peer ? L"Failed to get address of the socket at the other end!"
                                  : L"Failed to get local name for the socket!";
    const LONG code = peer ? 13 : 14;
    RequireSocket(message, code);
    sockaddr_in address = {};
    int length = sizeof(address);
    const int result = peer ? getpeername(m_socket, reinterpret_cast<sockaddr*>(&address), &length)
                            : getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length);
    if (result == SOCKET_ERROR)
        throw CTCPIPConnectionException(message, code, peer ? L"getpeername() failed!" : L"getsockname() failed!",
                                        SocketError());
    return CSockAddress(address);
}

CSockAddress CTCPIPConnection::GetPeerAddr() const
{
    return QueryAddress(true);
}

CSockAddress CTCPIPConnection::GetSockAddr() const
{
    return QueryAddress(false);
}

// Every transfer names its time-out, but the socket keeps the last one set:
// only a change costs a call.
void CTCPIPConnection::SetTimeout(int option, DWORD milliseconds)
{
    long long& applied = option == SO_SNDTIMEO ? m_appliedSendTimeout : m_appliedReceiveTimeout;
    if (applied == static_cast<long long>(milliseconds))
        return;
    if (setsockopt(m_socket, SOL_SOCKET, option, &milliseconds, sizeof(milliseconds)) != SOCKET_ERROR) {
        applied = milliseconds;
        return;
    }
    const int wsaError = WSAGetLastError();
    Log(L"##############################################################\r\n");
    Log(L"### Failed to set timeout value for the connected socket!\r\n");
    Log(L"### WSAGetLastError()--> %d\r\n", wsaError);
    Log(L"##############################################################\r\n");
    throw CZellException(L"Failed to set timeout value for the connected socket!",
                         static_cast<LONG>(kSocketError | static_cast<ULONG>(wsaError)));
}

void CTCPIPConnection::SetSendTimeout(DWORD milliseconds)
{
    try {
        SetTimeout(SO_SNDTIMEO, milliseconds);
    } catch (const CZellException& error) {
        throw CTCPIPConnectionException(L"Set send timeout failed", 18, error.m_szMessage,
                                        static_cast<ULONG>(error.m_lCode));
    } catch (...) {
        throw CTCPIPConnectionException(L"Set send timeout failed!", 18, L"Unknown exception!", 20);
    }
}

void CTCPIPConnection::SetReceiveTimeout(DWORD milliseconds)
{
    try {
        SetTimeout(SO_RCVTIMEO, milliseconds);
    } catch (const CZellException& error) {
        throw CTCPIPConnectionException(L"Set receive timeout failed", 19, error.m_szMessage,
                                        static_cast<ULONG>(error.m_lCode));
    } catch (...) {
        throw CTCPIPConnectionException(L"Set receive timeout failed!", 19, L"Unknown exception!", 20);
    }
}

// ------------------------------------------------------------ Host names

CSockAddress CTCPIPConnection::GetHostByName(const wchar_t* host, unsigned short port)
{
    const std::string name = Text::WideToUtf8(host ? host : L"");
    const hostent* entry = gethostbyname(name.c_str());
    if (!entry || entry->h_addrtype != AF_INET || entry->h_length != 4 || !entry->h_addr_list ||
        !entry->h_addr_list[0])
        throw CTCPIPConnectionException(L"Failed to get host information by host name!", 15,
                                        L"gethostbyname() failed!", SocketError());
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    std::memcpy(&address.sin_addr, entry->h_addr_list[0], 4);
    return CSockAddress(address);
}

std::uint32_t CTCPIPConnection::GetAddrByHost(const char* host, wchar_t* dotted)
{
    const hostent* entry = gethostbyname(host ? host : "");
    if (!entry || entry->h_addrtype != AF_INET || entry->h_length != 4 || !entry->h_addr_list ||
        !entry->h_addr_list[0])
        throw CTCPIPConnectionException(L"Failed to get address by host name!", 16, L"gethostbyname() failed!",
                                        SocketError());
    const auto* bytes = reinterpret_cast<const unsigned char*>(entry->h_addr_list[0]);
    if (dotted)
        swprintf_s(dotted, 16, L"%u.%u.%u.%u", bytes[0], bytes[1], bytes[2], bytes[3]);
    return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) | (std::uint32_t{bytes[2]} << 8) |
           bytes[3];
}

std::wstring CTCPIPConnection::GetHostByAddr(const sockaddr* address)
{
    const hostent* entry = nullptr;
    if (address && address->sa_family == AF_INET) {
        const auto* ipv4 = reinterpret_cast<const sockaddr_in*>(address);
        entry = gethostbyaddr(reinterpret_cast<const char*>(&ipv4->sin_addr), 4, AF_INET);
    }
    if (!entry || !entry->h_name)
        throw CTCPIPConnectionException(L"Failed to get host name by address!", 17,
                                        L"gethostbyaddr() failed! (AfxSocketInit() forgotten?)", SocketError());
    return Text::Utf8ToWide(entry->h_name);
}

std::wstring CTCPIPConnection::GetHostByAddr(const wchar_t* address, unsigned short port)
{
    try {
        sockaddr_in ipv4 = {};
        ipv4.sin_family = AF_INET;
        ipv4.sin_port = htons(port);
        const std::string text = Text::WideToUtf8(address ? address : L"");
        if (inet_pton(AF_INET, text.c_str(), &ipv4.sin_addr) != 1)
            return {};
        return GetHostByAddr(reinterpret_cast<const sockaddr*>(&ipv4));
    } catch (...) {
        return {};
    }
}

}
