// The echo over a raw ICMP socket of this process.
#include "Common/PelorusDLL/Ping.h"

#include "Common/Communication/TCPIPConnection.h"

#include "Platform/Base/Clock.h"
#include "Platform/Base/DebugOutput.h"
#include "Platform/Base/Format.h"
#include "Platform/Base/Thread.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace {

using Clock = std::chrono::steady_clock;

constexpr BYTE kEchoReply = 0;
constexpr BYTE kEchoRequest = 8;
constexpr std::size_t kEchoHeader = 12; // type, code, checksum, identifier, sequence, tick count
constexpr unsigned short kMaxData = 65500;
constexpr int kMaxPacket = 65532;
constexpr BYTE kPattern = 0x45;

WORD Identifier()
{
    return static_cast<WORD>(GetCurrentProcessId() & 0xFFFF);
}

void PutBigEndian16(BYTE* at, WORD value)
{
    at[0] = static_cast<BYTE>(value >> 8);
    at[1] = static_cast<BYTE>(value);
}

WORD BigEndian16(const BYTE* at)
{
    return static_cast<WORD>(at[0] << 8 | at[1]);
}

void Trace(const std::wstring& text)
{
    OutputDebugStringW(text.c_str());
}

// Closes the raw socket on every way out of the ping.
class CSocketCloser {
public:
    explicit CSocketCloser(SOCKET s) : m_socket(s) {}
    ~CSocketCloser() { closesocket(m_socket); }
    CSocketCloser(const CSocketCloser&) = delete;
    CSocketCloser& operator=(const CSocketCloser&) = delete;

private:
    SOCKET m_socket = INVALID_SOCKET;
};

}

SOCKET CPing::OpenRawSocket()
{
    return socket(AF_INET, SOCK_RAW, IPPROTO_ICMP);
}

bool CPing::Bind(SOCKET s, const wchar_t* localAddress)
{
    if (localAddress == nullptr) {
        Trace(L"CPing::Bind, NULL == lpszAsciiLocalAddress\n");
        return false;
    }
    DWORD address = 0;
    if (!ResolveHost(localAddress, address, L"CPing::Bind"))
        return false;
    sockaddr_in local = {};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = address;
    return bind(s, reinterpret_cast<const sockaddr*>(&local), sizeof(local)) != SOCKET_ERROR;
}

bool CPing::IsReadible(SOCKET s, DWORD timeoutMs, bool& readable)
{
    fd_set waiting;
    FD_ZERO(&waiting);
    FD_SET(s, &waiting);
    const timeval limit = {static_cast<time_t>(timeoutMs / 1000), static_cast<suseconds_t>((timeoutMs % 1000) * 1000)};
    const int ready = select(0, &waiting, nullptr, nullptr, &limit);
    if (ready == SOCKET_ERROR)
        return false;
    readable = ready > 0 && FD_ISSET(s, &waiting);
    return true;
}

std::vector<BYTE> CPing::EchoRequest(unsigned short sequence, unsigned short size)
{
    std::vector<BYTE> request(kEchoHeader + std::min(size, kMaxData), kPattern);
    request[0] = kEchoRequest;
    request[1] = 0;
    PutBigEndian16(&request[2], 0);
    PutBigEndian16(&request[4], Identifier());
    PutBigEndian16(&request[6], sequence);
    const auto tick = static_cast<DWORD>(GetTickCount64());
    std::memcpy(&request[8], &tick, sizeof(tick));
    PutBigEndian16(&request[2], Net::InternetChecksum(request.data(), request.size()));
    return request;
}

CPing::EResponse CPing::DecodeResponse(const BYTE* packet, int length, const sockaddr_in& from,
                                       unsigned short sequence)
{
    constexpr int kMinIpHeader = 20;
    const int headerLength = length > 0 ? (packet[0] & 0x0F) * 4 : 0;
    if (headerLength < kMinIpHeader || length < headerLength + static_cast<int>(kEchoHeader)) {
        Trace(FormatW(L"CPing::DecodeResponse, Received too few bytes in ICMP response packet from address:%s\n",
                      std::wstring(ZELL::CSockAddress(from)).c_str()));
        return EResponse::Invalid;
    }
    const BYTE* icmp = packet + headerLength;
    const WORD identifier = BigEndian16(icmp + 4);
    if (identifier != Identifier()) {
        Trace(FormatW(L"CPing::DecodeResponse, Received an ICMP response packet for some other process: ID:%d\n",
                      int{identifier}));
        return EResponse::NotOurs;
    }
    // A raw socket also sees our own request on its way out through the
    // loopback interface.
    if (BigEndian16(icmp + 6) != sequence || icmp[0] == kEchoRequest)
        return EResponse::NotOurs;
    if (icmp[0] != kEchoReply) {
        Trace(FormatW(L"CPing::DecodeResponse, Non-echo reply type field in ICMP reponse packet, Value:%d\n",
                      int{icmp[0]}));
        return EResponse::Invalid;
    }
    return EResponse::Reply;
}

bool CPing::SetOptions(SOCKET s, unsigned char ttl, unsigned char tos, bool dontFragment)
{
    const int ttlValue = ttl;
    if (setsockopt(s, IPPROTO_IP, IP_TTL, &ttlValue, sizeof(ttlValue)) == SOCKET_ERROR) {
        Trace(L"CPing::PingUsingWinsock, Failed to set the TTL value on the socket\n");
        return false;
    }
    const int tosValue = tos;
    if (setsockopt(s, IPPROTO_IP, IP_TOS, &tosValue, sizeof(tosValue)) == SOCKET_ERROR) {
        Trace(L"CPing::PingUsingWinsock, Failed to set the TOS value on the socket\n");
        return false;
    }
    const BOOL on = TRUE;
    if (dontFragment && setsockopt(s, IPPROTO_IP, IP_DONTFRAGMENT, &on, sizeof(on)) == SOCKET_ERROR) {
        Trace(L"CPing::PingUsingWinsock, Failed to set the Don't Fragment value on the socket\n");
        return false;
    }
    return true;
}

// Reads until our reply comes or the time is up; packets that are not ours
// do not end the wait, so the deadline bounds the loop.
bool CPing::AwaitReply(SOCKET s, unsigned short sequence, DWORD timeoutMs, sockaddr_in& from)
{
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::vector<BYTE> packet(kMaxPacket);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        bool readable = false;
        if (!IsReadible(s, static_cast<DWORD>(std::max<long long>(left, 0)), readable)) {
            Trace(L"CPing::PingUsingWinsock, IsReadible call failed\n");
            return false;
        }
        if (!readable) {
            Trace(L"CPing::PingUsingWinsock, timeout occurred while awaiting recvfrom\n");
            return false;
        }
        int fromLength = sizeof(from);
        const int count = recvfrom(s, reinterpret_cast<char*>(packet.data()), kMaxPacket, 0,
                                   reinterpret_cast<sockaddr*>(&from), &fromLength);
        if (count == SOCKET_ERROR) {
            Trace(L"CPing::PingUsingWinsock, recvfrom failed\n");
            return false;
        }
        const EResponse response = DecodeResponse(packet.data(), count, from, sequence);
        if (response != EResponse::NotOurs)
            return response == EResponse::Reply;
    }
}

bool CPing::PingUsingWinsock(const wchar_t* host, tPingReply* reply, unsigned short sequence, unsigned char ttl,
                             unsigned long timeoutMs, unsigned short size, unsigned char tos, bool dontFragment,
                             const wchar_t* localAddress)
{
    if (host == nullptr) {
        Trace(L"CPing::PingUsingWinsock, NULL == lpszAscii\n");
        return false;
    }
    DWORD address = 0;
    if (!ResolveHost(host, address, L"CPing::PingUsingWinsock"))
        return false;
    const SOCKET s = OpenRawSocket();
    if (s == INVALID_SOCKET) {
        Trace(L"CPing::PingUsingWinsock, Failed to create a raw socket\n");
        return false;
    }
    const CSocketCloser closer(s);
    if (localAddress != nullptr && !Bind(s, localAddress)) {
        Trace(FormatW(L"CPing::PingUsingWinsock, Failed to bind to specified address %s\n", localAddress));
        return false;
    }
    if (!SetOptions(s, ttl, tos, dontFragment))
        return false;

    const std::vector<BYTE> request = EchoRequest(sequence, size);
    sockaddr_in to = {};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = address;
    const Clock::time_point sent = Clock::now();
    if (sendto(s, reinterpret_cast<const char*>(request.data()), static_cast<int>(request.size()), 0,
               reinterpret_cast<const sockaddr*>(&to), sizeof(to)) == SOCKET_ERROR) {
        Trace(L"CPing::PingUsingWinsock, sendto failed\n");
        return false;
    }
    sockaddr_in from = {};
    const DWORD timeout = static_cast<DWORD>(std::min<unsigned long>(timeoutMs, 0x7FFFFFFFul));
    if (!AwaitReply(s, sequence, timeout, from))
        return false;
    if (reply != nullptr) {
        reply->Address = from.sin_addr.s_addr;
        reply->RTT = static_cast<DWORD>(
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - sent).count());
        reply->EchoReplyStatus = IP_SUCCESS;
    }
    return true;
}
