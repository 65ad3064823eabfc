#include "Common/Communication/ConnectionList.h"

namespace ZELL {

CConnectionList::CConnectionList(IProtocol* protocol) : m_protocol(protocol) {}

void CConnectionList::AddConnection(std::wstring name, IConnection* connection)
{
    m_connections[std::move(name)] = connection;
}

IConnection* CConnectionList::GetConnection(std::wstring name) const
{
    const auto entry = m_connections.find(name);
    return entry == m_connections.end() ? nullptr : entry->second;
}

bool CConnectionList::DeleteConnection(std::wstring name)
{
    if (m_connections.empty())
        return false;
    const auto entry = m_connections.find(name);
    if (entry == m_connections.end())
        return false;
    if (m_protocol && m_protocol->GetConnection() == entry->second)
        m_protocol->SetConnection(nullptr);
    m_connections.erase(entry);
    return true;
}

// Without a protocol there is nothing to switch.
bool CConnectionList::ActivateConnection(std::wstring name)
{
    const auto entry = m_connections.find(name);
    if (entry == m_connections.end() || !m_protocol)
        return false;
    m_protocol->SetConnection(entry->second);
    return true;
}

}
