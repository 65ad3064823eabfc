#pragma once
// Whether an IPv4 host answers an ICMP echo, and its hardware address.

#include "Common/Communication/PelorusApi.h"
#include "Platform/Base/Types.h"
#include "Platform/Net/IcmpApi.h"
#include "Platform/Net/WinSock.h"

#include <string>
#include <vector>

struct tPingReply {
    DWORD Address = 0; // IPv4, network order
    DWORD RTT = 0;     // milliseconds
    DWORD EchoReplyStatus = 0;
};

class PELORUS_API CPing {
public:
    CPing() = default;
    CPing(const CPing&) = delete;
    CPing& operator=(const CPing&) = delete;
    virtual ~CPing() = default;

    // False when the host does not answer in time, answers with anything but
    // our own echo (an unreachable report, other data), or is 0.0.0.0. When
    // the system offers no ICMP at all the thread's last error is
    // ERROR_CALL_NOT_IMPLEMENTED, so callers can tell "no answer" from
    // "cannot ask".
    bool PingUsingICMP(const wchar_t* host, tPingReply* reply, unsigned char ttl = 10,
                       unsigned long timeoutMs = 5000, unsigned short size = 32, unsigned char tos = 0,
                       bool dontFragment = false);

    // Six upper-case hex pairs joined by ":", or empty without an ARP answer.
    bool GetMACAddress(const std::wstring& ipAddress, std::wstring& mac);

    // Whether the system lets this process send echo requests at all.
    bool IsICMPAvailable();

    // The same question asked over a raw ICMP socket of this process, which
    // needs the right to open one; `localAddress` (dotted or a name) picks
    // the interface it goes out on. The process must have started the socket
    // library. Every failure is traced and gives false.
    bool PingUsingWinsock(const wchar_t* host, tPingReply* reply, unsigned short sequence = 1,
                          unsigned char ttl = 10, unsigned long timeoutMs = 5000, unsigned short size = 32,
                          unsigned char tos = 0, bool dontFragment = false, const wchar_t* localAddress = nullptr);

    enum class EResponse {
        Reply,   // the echo reply to our request
        NotOurs, // another process's packet, another sequence, or our own request on its way out
        Invalid, // too short, or not an echo reply
    };

protected:
    // INVALID_HANDLE_VALUE when no ICMP channel can be opened.
    virtual HANDLE OpenICMP();
    virtual DWORD SendEcho(HANDLE icmp, DWORD address, void* data, WORD size, IP_OPTION_INFORMATION* options,
                           void* replyBuffer, DWORD replySize, DWORD timeoutMs);

    virtual SOCKET OpenRawSocket();
    bool Bind(SOCKET s, const wchar_t* localAddress);
    // False when select fails; `readable` tells whether data came within the time.
    bool IsReadible(SOCKET s, DWORD timeoutMs, bool& readable);
    // `packet` is what a raw socket receives: the IP header, then the ICMP message.
    static EResponse DecodeResponse(const BYTE* packet, int length, const sockaddr_in& from,
                                    unsigned short sequence);
    // The echo request: header, the tick count and `size` pattern bytes, checksummed.
    static std::vector<BYTE> EchoRequest(unsigned short sequence, unsigned short size);

private:
    static bool ResolveHost(const wchar_t* host, DWORD& address, const wchar_t* caller);
    bool SetOptions(SOCKET s, unsigned char ttl, unsigned char tos, bool dontFragment);
    bool AwaitReply(SOCKET s, unsigned short sequence, DWORD timeoutMs, sockaddr_in& from);
};
