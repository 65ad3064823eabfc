#include "Platform/Net/IcmpApi.h"

#include "Platform/Base/WinError.h"

#include <chrono>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr unsigned kComplete = 0x2;
constexpr std::size_t kMaxTable = 1 << 20;

std::optional<std::array<BYTE, 6>> ParseMac(const std::string& text)
{
    std::array<BYTE, 6> mac{};
    if (text.size() != 17)
        return std::nullopt;
    for (std::size_t i = 0; i < 6; ++i) {
        if (i > 0 && text[i * 3 - 1] != ':')
            return std::nullopt;
        unsigned value = 0;
        for (std::size_t k = 0; k < 2; ++k) {
            const char c = text[i * 3 + k];
            const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
            if (digit < 0)
                return std::nullopt;
            value = value * 16 + static_cast<unsigned>(digit);
        }
        mac[i] = static_cast<BYTE>(value);
    }
    return mac;
}

std::string ReadTable()
{
    std::ifstream in("/proc/net/arp");
    std::string text;
    char chunk[4096];
    while (in && text.size() < kMaxTable) {
        in.read(chunk, sizeof(chunk));
        text.append(chunk, static_cast<std::size_t>(in.gcount()));
    }
    return text;
}

// Sends one empty datagram to the discard port, so that the kernel asks the
// network for the address; the datagram itself is of no interest.
void Provoke(IPAddr destination)
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return;
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(9);
    to.sin_addr.s_addr = destination;
    ::sendto(fd, "", 0, MSG_NOSIGNAL | MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&to), sizeof(to));
    ::close(fd);
}

}

namespace Net {

std::optional<std::array<BYTE, 6>> FindNeighbour(std::string_view table, IPAddr address)
{
    std::istringstream lines{std::string(table)};
    std::string line;
    std::getline(lines, line); // the heading
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string ip;
        std::string type;
        std::string flags;
        std::string mac;
        if (!(fields >> ip >> type >> flags >> mac))
            continue;
        in_addr parsed{};
        if (inet_pton(AF_INET, ip.c_str(), &parsed) != 1 || parsed.s_addr != address)
            continue;
        char* end = nullptr;
        const unsigned long bits = std::strtoul(flags.c_str(), &end, 16);
        if (end == flags.c_str() || (bits & kComplete) == 0)
            continue;
        if (auto found = ParseMac(mac))
            return found;
    }
    return std::nullopt;
}

}

DWORD SendARP(IPAddr destination, IPAddr, void* macAddress, ULONG* length)
{
    if (macAddress == nullptr || length == nullptr || *length < 6)
        return ERROR_INVALID_PARAMETER;
    // Loopback addresses have no hardware address.
    if ((ntohl(destination) >> 24) == 127 || destination == 0)
        return ERROR_BAD_NET_NAME;
    auto found = Net::FindNeighbour(ReadTable(), destination);
    if (!found) {
        Provoke(destination);
        for (int attempt = 0; attempt < 20 && !found; ++attempt) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            found = Net::FindNeighbour(ReadTable(), destination);
        }
    }
    if (!found)
        return ERROR_BAD_NET_NAME;
    std::memcpy(macAddress, found->data(), 6);
    *length = 6;
    return NO_ERROR;
}
