#pragma once
// How a scan worker asks an address whether something answers, for its
// hardware address and for its name. The network does it for real; tests
// stand in for what a loopback address cannot give (a hardware address).

#include <string>

class CScanProbe {
public:
    virtual ~CScanProbe() = default;
    // One ICMP echo (time-to-live 10, 32 data bytes).
    virtual bool Ping(const std::wstring& address, unsigned long timeoutMs);
    // Six upper-case hex pairs joined by ":", empty without an answer.
    virtual std::wstring MacAddress(const std::wstring& address);
    // Empty when the look-up fails.
    virtual std::wstring HostName(const std::wstring& address, unsigned short port);
};
