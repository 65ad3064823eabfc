#include "Common/PelorusDLL/TCPIPService.h"

#include "Common/Communication/ServiceAPI.h"
#include "Common/Communication/ServiceProtocol.h"

#include <memory>

CTCPIPService::CTCPIPService(ZELL::IConnection* connection)
{
    ResetLastErrorCode();
    if (connection == nullptr)
        return;
    try {
        auto protocol = std::make_unique<ZELL::CServiceProtocol>(connection);
        auto api = std::make_unique<ZELL::CServiceAPI>(protocol.get());
        Attach(std::move(protocol), std::move(api));
    } catch (...) {
        // Left without a channel: the operations report the missing connection.
    }
}
