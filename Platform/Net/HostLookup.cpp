#include "Platform/Net/WinSock.h"

#include <cstring>
#include <string>
#include <vector>

#undef gethostbyname

namespace {

// The platform keeps one host record per thread; so do we, which makes the
// look-ups safe to call from several threads at once.
struct HostRecord {
    hostent entry{};
    std::string name;
    std::vector<in_addr> addresses;
    std::vector<char*> addressList;
    char* noAliases[1] = {nullptr};

    hostent* Publish()
    {
        addressList.clear();
        for (in_addr& address : addresses)
            addressList.push_back(reinterpret_cast<char*>(&address));
        addressList.push_back(nullptr);
        entry.h_name = name.data();
        entry.h_aliases = noAliases;
        entry.h_addrtype = AF_INET;
        entry.h_length = sizeof(in_addr);
        entry.h_addr_list = addressList.data();
        return &entry;
    }
};

thread_local HostRecord g_record;

bool CheckStarted()
{
    if (Net::IsStarted())
        return true;
    WSASetLastError(WSANOTINITIALISED);
    return false;
}

}

namespace Net {

hostent* GetHostByName(const char* name)
{
    if (!CheckStarted())
        return nullptr;
    if (name == nullptr) {
        WSASetLastError(WSAEFAULT);
        return nullptr;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_CANONNAME;
    addrinfo* found = nullptr;
    const int result = getaddrinfo(name, nullptr, &hints, &found);
    if (result != 0) {
        WSASetLastError(WsaErrorFromAddrInfo(result));
        return nullptr;
    }
    HostRecord& record = g_record;
    record.name = found->ai_canonname != nullptr ? found->ai_canonname : name;
    record.addresses.clear();
    for (const addrinfo* item = found; item != nullptr; item = item->ai_next) {
        if (item->ai_family != AF_INET || item->ai_addrlen < sizeof(sockaddr_in))
            continue;
        const in_addr address = reinterpret_cast<const sockaddr_in*>(item->ai_addr)->sin_addr;
        bool known = false;
        for (const in_addr& present : record.addresses)
            known = known || present.s_addr == address.s_addr;
        if (!known)
            record.addresses.push_back(address);
    }
    freeaddrinfo(found);
    if (record.addresses.empty()) {
        WSASetLastError(WSANO_DATA);
        return nullptr;
    }
    return record.Publish();
}

}

hostent* gethostbyaddr(const char* address, int length, int type)
{
    if (!CheckStarted())
        return nullptr;
    if (address == nullptr || length < static_cast<int>(sizeof(in_addr))) {
        WSASetLastError(WSAEFAULT);
        return nullptr;
    }
    if (type != AF_INET) {
        WSASetLastError(WSAEAFNOSUPPORT);
        return nullptr;
    }
    sockaddr_in socketAddress{};
    socketAddress.sin_family = AF_INET;
    std::memcpy(&socketAddress.sin_addr, address, sizeof(in_addr));
    char host[NI_MAXHOST] = {};
    const int result = getnameinfo(reinterpret_cast<const sockaddr*>(&socketAddress), sizeof(socketAddress), host,
                                   sizeof(host), nullptr, 0, NI_NAMEREQD);
    if (result != 0) {
        WSASetLastError(Net::WsaErrorFromAddrInfo(result));
        return nullptr;
    }
    HostRecord& record = g_record;
    record.name = host;
    record.addresses.assign(1, socketAddress.sin_addr);
    return record.Publish();
}
