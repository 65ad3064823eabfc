#pragma once
// Whether an IPv4 host answers an ICMP echo, and its hardware address.

#include "Common/Communication/PelorusApi.h"
#include "Platform/Base/Types.h"
#include "Platform/Net/IcmpApi.h"

#include <string>

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

protected:
    // INVALID_HANDLE_VALUE when no ICMP channel can be opened.
    virtual HANDLE OpenICMP();
    virtual DWORD SendEcho(HANDLE icmp, DWORD address, void* data, WORD size, IP_OPTION_INFORMATION* options,
                           void* replyBuffer, DWORD replySize, DWORD timeoutMs);

private:
    static bool ResolveHost(const wchar_t* host, DWORD& address);
};
