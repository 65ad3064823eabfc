#include "Common/Communication/ProtocolBase.h"

namespace ZELL {

CProtocolBase::CProtocolBase(IConnection* connection_) : m_connection(connection_) {}

CProtocolBase::CProtocolBase(IConnection* connection_, bool ownsConnection_)
    : m_connection(connection_)
    , m_ownsConnection(ownsConnection_)
{
}

CProtocolBase::~CProtocolBase()
{
    if (m_ownsConnection && m_connection) {
        delete m_connection;
        m_connection = nullptr;
    }
}

void CProtocolBase::SetConnection(IConnection* newConnection)
{
    // Setting the connection already held must not destroy it under the caller.
    if (m_ownsConnection && m_connection && m_connection != newConnection)
        delete m_connection;
    m_connection = newConnection;
}

IConnection* CProtocolBase::GetConnection() const
{
    return m_connection;
}

unsigned short CProtocolBase::GetLastCommandError()
{
    const unsigned short code = m_lastCommandError;
    m_lastCommandError = 0;
    return code;
}

const wchar_t* CProtocolBase::GetLastErrorMessage() const
{
    return m_lastErrorMessage.c_str();
}

bool CProtocolBase::SetProtocolUUID(std::wstring)
{
    return false;
}

}
