#include "Common/Communication/ProtocolBase.h"

namespace ZELL {

CProtocolBase::CProtocolBase(IConnection* connection_) : connection(connection_) {}

CProtocolBase::CProtocolBase(IConnection* connection_, bool ownsConnection_)
    : connection(connection_)
    , ownsConnection(ownsConnection_)
{
}

CProtocolBase::~CProtocolBase()
{
    if (ownsConnection && connection) {
        delete connection;
        connection = nullptr;
    }
}

void CProtocolBase::SetConnection(IConnection* newConnection)
{
    // Setting the connection already held must not destroy it under the caller.
    if (ownsConnection && connection && connection != newConnection)
        delete connection;
    connection = newConnection;
}

IConnection* CProtocolBase::GetConnection() const
{
    return connection;
}

unsigned short CProtocolBase::GetLastCommandError()
{
    const unsigned short code = lastCommandError;
    lastCommandError = 0;
    return code;
}

const wchar_t* CProtocolBase::GetLastErrorMessage() const
{
    return lastErrorMessage.c_str();
}

bool CProtocolBase::SetProtocolUUID(std::wstring)
{
    return false;
}

}
