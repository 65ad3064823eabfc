#pragma once
// Named connections for one protocol, so a caller switches the protocol
// between media by name. Holds pointers only; owns neither side.

#include "Common/Communication/IConnection.h"
#include "Common/Communication/IProtocol.h"
#include "Common/Communication/PelorusApi.h"

#include <map>
#include <string>

namespace ZELL {

class PELORUS_API CConnectionList {
public:
    explicit CConnectionList(IProtocol* protocol);
    CConnectionList(const CConnectionList&) = default;
    CConnectionList& operator=(const CConnectionList&) = default;
    ~CConnectionList() = default;

    void AddConnection(std::wstring name, IConnection* connection);
    IConnection* GetConnection(std::wstring name) const;
    // A connection that the protocol uses is taken from it first, so the
    // protocol never keeps a pointer its owner may delete next.
    bool DeleteConnection(std::wstring name);

private:
    bool ActivateConnection(std::wstring name);

    std::map<std::wstring, IConnection*> m_connections;
    IProtocol* m_protocol = nullptr;
};

}
