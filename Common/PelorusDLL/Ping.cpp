#include "Common/PelorusDLL/Ping.h"

#include "Platform/Base/DebugOutput.h"
#include "Platform/Base/Format.h"
#include "Platform/Base/LastError.h"
#include "Platform/Base/TextConversion.h"
#include "Platform/Base/WinError.h"
#include "Platform/Net/IcmpApi.h"
#include "Platform/Net/WinSock.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr DWORD kErrorUnexpectedNetError = 59; // ERROR_UNEXP_NET_ERR
constexpr BYTE kPattern = 0x45;
constexpr unsigned short kMinimumReplyData = 8;

bool IsUnspecified(DWORD address)
{
    return address == 0;
}

}

HANDLE CPing::OpenICMP()
{
    return IcmpCreateFile();
}

DWORD CPing::SendEcho(HANDLE icmp, DWORD address, void* data, WORD size, IP_OPTION_INFORMATION* options,
                      void* replyBuffer, DWORD replySize, DWORD timeoutMs)
{
    return IcmpSendEcho(icmp, address, data, size, options, replyBuffer, replySize, timeoutMs);
}

bool CPing::IsICMPAvailable()
{
    HANDLE handle = OpenICMP();
    if (handle == INVALID_HANDLE_VALUE || handle == nullptr)
        return false;
    IcmpCloseHandle(handle);
    return true;
}

bool CPing::ResolveHost(const wchar_t* host, DWORD& address, const wchar_t* caller)
{
    const std::string text = Text::WideToUtf8(host);
    in_addr parsed{};
    if (inet_pton(AF_INET, text.c_str(), &parsed) == 1) {
        address = parsed.s_addr;
        return true;
    }
    hostent* entry = gethostbyname(text.c_str());
    if (entry == nullptr || entry->h_addrtype != AF_INET || entry->h_length != 4 || entry->h_addr_list == nullptr ||
        entry->h_addr_list[0] == nullptr) {
        OutputDebugStringW(FormatW(L"%s, Could not resolve the host name %s\n", caller, host).c_str());
        return false;
    }
    std::memcpy(&address, entry->h_addr_list[0], 4);
    return true;
}

bool CPing::PingUsingICMP(const wchar_t* host, tPingReply* reply, unsigned char ttl, unsigned long timeoutMs,
                          unsigned short size, unsigned char tos, bool dontFragment)
{
    if (host == nullptr) {
        OutputDebugStringW(L"CPing::PingUsingICMP, NULL == lpszAscii\n");
        return false;
    }
    DWORD address = 0;
    if (!ResolveHost(host, address, L"CPing::PingUsingICMP"))
        return false;
    // The unspecified address would reach this very machine here.
    if (IsUnspecified(address))
        return false;

    HANDLE icmp = OpenICMP();
    if (icmp == INVALID_HANDLE_VALUE || icmp == nullptr) {
        OutputDebugStringW(L"CPing::PingUsingICMP, ICMP dll is not available\n");
        SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return false;
    }

    IP_OPTION_INFORMATION options;
    options.Ttl = ttl;
    options.Tos = tos;
    options.Flags = dontFragment ? IP_FLAG_DF : 0;

    std::vector<BYTE> request(size, kPattern);
    // Room for the reply record, the echoed data and the 8 bytes of an ICMP
    // error message.
    const DWORD replySize =
        static_cast<DWORD>(sizeof(ICMP_ECHO_REPLY) + std::max(size, kMinimumReplyData) + 8);
    std::vector<BYTE> buffer(replySize, 0);
    const DWORD timeout = static_cast<DWORD>(std::min<unsigned long>(timeoutMs, 0xFFFFFFFFul));
    const DWORD count = SendEcho(icmp, address, request.data(), size, &options, buffer.data(), replySize, timeout);

    bool answered = false;
    ICMP_ECHO_REPLY record;
    if (count == 1) {
        std::memcpy(&record, buffer.data(), sizeof(record));
        const BYTE* data = buffer.data() + sizeof(ICMP_ECHO_REPLY);
        // Only our own echo counts: an unreachable report is no answer.
        answered = record.Status == IP_SUCCESS && record.DataSize == size &&
                   std::all_of(data, data + size, [](BYTE b) { return b == kPattern; });
        if (!answered) {
            OutputDebugStringW(L"CPing::PingUsingICMP, Could not get a valid ICMP response\n");
            SetLastError(kErrorUnexpectedNetError);
        }
    }
    IcmpCloseHandle(icmp);
    if (answered && reply != nullptr) {
        reply->Address = record.Address;
        reply->RTT = record.RoundTripTime;
        reply->EchoReplyStatus = record.Status;
    }
    return answered;
}

bool CPing::GetMACAddress(const std::wstring& ipAddress, std::wstring& mac)
{
    mac.clear();
    in_addr parsed{};
    if (inet_pton(AF_INET, Text::WideToUtf8(ipAddress).c_str(), &parsed) != 1 || IsUnspecified(parsed.s_addr))
        return false;
    BYTE hardware[6] = {};
    ULONG length = sizeof(hardware);
    if (SendARP(parsed.s_addr, 0, hardware, &length) != NO_ERROR || length == 0)
        return false;
    const ULONG count = std::min<ULONG>(length, sizeof(hardware));
    for (ULONG i = 0; i < count; ++i)
        mac += FormatW(i + 1 < count ? L"%02X:" : L"%02X", hardware[i]);
    return true;
}
