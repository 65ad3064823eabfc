#include "Common/PelorusDLL/Dialogs/ScanProbe.h"

#include "Common/Communication/TCPIPConnection.h"
#include "Common/PelorusDLL/Ping.h"

bool CScanProbe::Ping(const std::wstring& address, unsigned long timeoutMs)
{
    CPing ping;
    tPingReply reply;
    return ping.PingUsingICMP(address.c_str(), &reply, 10, timeoutMs, 32, 0, false);
}

std::wstring CScanProbe::MacAddress(const std::wstring& address)
{
    CPing ping;
    std::wstring mac;
    ping.GetMACAddress(address, mac);
    return mac;
}

std::wstring CScanProbe::HostName(const std::wstring& address, unsigned short port)
{
    return ZELL::CTCPIPConnection::GetHostByAddr(address.c_str(), port);
}
