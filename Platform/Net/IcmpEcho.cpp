#include "Platform/Net/IcmpApi.h"

#include "Platform/Base/KernelObject.h"
#include "Platform/Base/LastError.h"
#include "Platform/Base/WinError.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <cstring>
#include <vector>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/ip.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kIcmpHeader = 8;
constexpr BYTE kEchoRequest = 8;
constexpr BYTE kEchoReply = 0;

class IcmpChannel : public Platform::KernelObject {
public:
    IcmpChannel(int fd, bool raw) : m_fd(fd), m_raw(raw) {}
    ~IcmpChannel() override { Release(); }
    bool OnHandleClosed() override
    {
        Release();
        return true;
    }
    int Fd() const { return m_fd; }
    bool Raw() const { return m_raw; }

private:
    void Release()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }
    int m_fd = -1;
    bool m_raw = false;
};

std::atomic<std::uint16_t> g_sequence{1};

void ApplyOptions(int fd, const IP_OPTION_INFORMATION* options)
{
    if (options == nullptr)
        return;
    if (options->Ttl != 0) {
        const int ttl = options->Ttl;
        setsockopt(fd, IPPROTO_IP, IP_TTL, &ttl, sizeof(ttl));
    }
    const int tos = options->Tos;
    setsockopt(fd, IPPROTO_IP, IP_TOS, &tos, sizeof(tos));
    const int discover = (options->Flags & IP_FLAG_DF) ? IP_PMTUDISC_DO : IP_PMTUDISC_DONT;
    setsockopt(fd, IPPROTO_IP, IP_MTU_DISCOVER, &discover, sizeof(discover));
}

struct Reply {
    IPAddr from = 0;
    const BYTE* data = nullptr;
    std::size_t size = 0;
    BYTE ttl = 0;
};

// The echo reply to our request in a received packet, if it is one.
bool MatchReply(const BYTE* packet, std::size_t length, bool raw, std::uint16_t identifier, std::uint16_t sequence,
                IPAddr from, Reply& reply)
{
    std::size_t offset = 0;
    if (raw) {
        if (length < sizeof(iphdr))
            return false;
        offset = static_cast<std::size_t>(packet[0] & 0x0F) * 4;
        reply.ttl = packet[8];
    }
    if (length < offset + kIcmpHeader)
        return false;
    const BYTE* icmp = packet + offset;
    const std::uint16_t id = static_cast<std::uint16_t>(icmp[4] << 8 | icmp[5]);
    const std::uint16_t seq = static_cast<std::uint16_t>(icmp[6] << 8 | icmp[7]);
    // A datagram socket's identifier is chosen by the kernel, which also
    // delivers only our own replies.
    if (icmp[0] != kEchoReply || seq != sequence || (raw && id != identifier))
        return false;
    reply.from = from;
    reply.data = icmp + kIcmpHeader;
    reply.size = length - offset - kIcmpHeader;
    return true;
}

void WriteRecord(void* buffer, const ICMP_ECHO_REPLY& record)
{
    std::memcpy(buffer, &record, sizeof(record));
}

}

HANDLE IcmpCreateFile()
{
    bool raw = false;
    int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (fd < 0) {
        raw = true;
        fd = ::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
    }
    if (fd < 0) {
        SetLastError(Win32ErrorFromErrno(errno));
        return INVALID_HANDLE_VALUE;
    }
    HANDLE handle = Platform::AddKernelObject(std::make_shared<IcmpChannel>(fd, raw));
    return handle != nullptr ? handle : INVALID_HANDLE_VALUE;
}

BOOL IcmpCloseHandle(HANDLE icmp)
{
    if (!Platform::FindKernelObject<IcmpChannel>(icmp))
        return FALSE;
    return CloseHandle(icmp);
}

DWORD IcmpSendEcho(HANDLE icmp, IPAddr destination, void* requestData, WORD requestSize,
                   PIP_OPTION_INFORMATION options, void* replyBuffer, DWORD replySize, DWORD timeout)
{
    const auto channel = Platform::FindKernelObject<IcmpChannel>(icmp);
    if (!channel)
        return 0;
    if (replyBuffer == nullptr || (requestData == nullptr && requestSize > 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (replySize < sizeof(ICMP_ECHO_REPLY) + requestSize + 8) {
        SetLastError(IP_BUF_TOO_SMALL);
        return 0;
    }
    const int fd = channel->Fd();
    ApplyOptions(fd, options);

    const std::uint16_t identifier = static_cast<std::uint16_t>(getpid());
    const std::uint16_t sequence = g_sequence.fetch_add(1);
    std::vector<BYTE> request(kIcmpHeader + requestSize, 0);
    request[0] = kEchoRequest;
    request[4] = static_cast<BYTE>(identifier >> 8);
    request[5] = static_cast<BYTE>(identifier);
    request[6] = static_cast<BYTE>(sequence >> 8);
    request[7] = static_cast<BYTE>(sequence);
    if (requestSize > 0)
        std::memcpy(request.data() + kIcmpHeader, requestData, requestSize);
    const std::uint16_t sum = Net::InternetChecksum(request.data(), request.size());
    request[2] = static_cast<BYTE>(sum >> 8);
    request[3] = static_cast<BYTE>(sum);

    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = destination;
    const auto start = Clock::now();
    if (::sendto(fd, request.data(), request.size(), MSG_NOSIGNAL, reinterpret_cast<sockaddr*>(&to), sizeof(to)) < 0) {
        SetLastError(errno == ENETUNREACH ? IP_DEST_NET_UNREACHABLE
                     : errno == EHOSTUNREACH ? IP_DEST_HOST_UNREACHABLE
                                             : IP_GENERAL_FAILURE);
        return 0;
    }

    ICMP_ECHO_REPLY record;
    record.Address = destination;
    const auto deadline = start + std::chrono::milliseconds(timeout);
    std::vector<BYTE> packet(65536);
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            break;
        pollfd entry{fd, POLLIN, 0};
        const int ready = poll(&entry, 1, static_cast<int>(std::min<long long>(left, INT_MAX)));
        if (ready <= 0)
            continue;
        sockaddr_in from{};
        socklen_t fromLength = sizeof(from);
        const ssize_t received = ::recvfrom(fd, packet.data(), packet.size(), MSG_DONTWAIT,
                                            reinterpret_cast<sockaddr*>(&from), &fromLength);
        Reply reply;
        if (received <= 0 || from.sin_addr.s_addr != destination ||
            !MatchReply(packet.data(), static_cast<std::size_t>(received), channel->Raw(), identifier, sequence,
                        from.sin_addr.s_addr, reply))
            continue;
        BYTE* data = static_cast<BYTE*>(replyBuffer) + sizeof(ICMP_ECHO_REPLY);
        const std::size_t kept = std::min<std::size_t>(reply.size, replySize - sizeof(ICMP_ECHO_REPLY));
        std::memcpy(data, reply.data, kept);
        record.Address = reply.from;
        record.Status = IP_SUCCESS;
        record.RoundTripTime = static_cast<ULONG>(
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
        record.DataSize = static_cast<USHORT>(std::min<std::size_t>(kept, 0xFFFF));
        record.Data = data;
        record.Options.Ttl = reply.ttl;
        WriteRecord(replyBuffer, record);
        return 1;
    }
    record.Status = IP_REQ_TIMED_OUT;
    WriteRecord(replyBuffer, record);
    SetLastError(IP_REQ_TIMED_OUT);
    return 0;
}

namespace Net {

std::uint16_t InternetChecksum(const BYTE* data, std::size_t length)
{
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i + 1 < length; i += 2)
        sum += static_cast<std::uint32_t>(data[i] << 8 | data[i + 1]);
    if (length % 2)
        sum += static_cast<std::uint32_t>(data[length - 1] << 8);
    while (sum >> 16)
        sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<std::uint16_t>(~sum);
}

}
