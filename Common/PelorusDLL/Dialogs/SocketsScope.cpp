#include "Common/PelorusDLL/Dialogs/SocketsScope.h"

#include "Platform/Net/WinSock.h"

CSocketsScope::CSocketsScope()
{
    WSADATA data{};
    m_started = ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

CSocketsScope::~CSocketsScope()
{
    if (m_started)
        ::WSACleanup();
}
