#pragma once
// ICMP echo and the neighbour table, as the platform's IP helper offers them.
//
// Echo requests go out through an unprivileged ICMP datagram socket where the
// system allows one, else through a raw socket (which needs the right to open
// one). The reply records have this platform's own layout: a caller sizes the
// reply buffer with sizeof(ICMP_ECHO_REPLY), never with a fixed 28.

#include "Platform/Base/Types.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

using IPAddr = ULONG; // IPv4 address in network order

struct IP_OPTION_INFORMATION {
    UCHAR Ttl = 0;
    UCHAR Tos = 0;
    UCHAR Flags = 0;
    UCHAR OptionsSize = 0;
    UCHAR* OptionsData = nullptr;
};
using PIP_OPTION_INFORMATION = IP_OPTION_INFORMATION*;

struct ICMP_ECHO_REPLY {
    IPAddr Address = 0;
    ULONG Status = 0;
    ULONG RoundTripTime = 0;
    USHORT DataSize = 0;
    USHORT Reserved = 0;
    void* Data = nullptr;
    IP_OPTION_INFORMATION Options;
};
using PICMP_ECHO_REPLY = ICMP_ECHO_REPLY*;

constexpr UCHAR IP_FLAG_DF = 0x2;

constexpr ULONG IP_SUCCESS = 0;
constexpr DWORD IP_STATUS_BASE = 11000;
constexpr DWORD IP_BUF_TOO_SMALL = 11001;
constexpr DWORD IP_DEST_NET_UNREACHABLE = 11002;
constexpr DWORD IP_DEST_HOST_UNREACHABLE = 11003;
constexpr DWORD IP_REQ_TIMED_OUT = 11010;
constexpr DWORD IP_GENERAL_FAILURE = 11050;
constexpr DWORD ERROR_BAD_NET_NAME = 67;

HANDLE IcmpCreateFile();
BOOL IcmpCloseHandle(HANDLE icmp);
// The number of replies in the buffer (0 or 1); 0 with the last error set on
// failure: IP_REQ_TIMED_OUT, IP_BUF_TOO_SMALL when the buffer cannot hold
// one reply record, the request's data and 8 bytes, ERROR_INVALID_PARAMETER.
DWORD IcmpSendEcho(HANDLE icmp, IPAddr destination, void* requestData, WORD requestSize,
                   PIP_OPTION_INFORMATION options, void* replyBuffer, DWORD replySize, DWORD timeout);

// The hardware address from the neighbour table; the kernel is asked to
// resolve an address it does not know yet, waiting at most a second.
// ERROR_BAD_NET_NAME when no answer comes, ERROR_INVALID_PARAMETER for a
// buffer shorter than 6 bytes.
DWORD SendARP(IPAddr destination, IPAddr source, void* macAddress, ULONG* length);

namespace Net {
// The Internet checksum (ones' complement sum of 16-bit words, big-endian),
// to be stored big-endian.
std::uint16_t InternetChecksum(const BYTE* data, std::size_t length);

// The complete entry for `address` in a text laid out like /proc/net/arp.
std::optional<std::array<BYTE, 6>> FindNeighbour(std::string_view table, IPAddr address);
}
