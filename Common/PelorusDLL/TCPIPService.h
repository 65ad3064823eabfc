#pragma once
// The TCP/IP device service on a connection that the caller owns.

#include "Common/PelorusDLL/TCPIPServiceBase.h"

class PELORUS_API CTCPIPService : public CTCPIPServiceBase {
public:
    // Without a connection, or when protocol and API cannot be built, every
    // operation fails with PELORUS_ERROR_NO_CONNECTION.
    explicit CTCPIPService(ZELL::IConnection* connection);
};
