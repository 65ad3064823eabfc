#pragma once
// What every protocol holds: its connection (owned or not), the last command
// error and the last error message.

#include "Common/Communication/IProtocol.h"
#include "Common/Communication/SettingsBase.h"

#include <string>

namespace ZELL {

class PELORUS_API CProtocolBase : public IProtocol, public CSettingsBase {
public:
    explicit CProtocolBase(IConnection* connection);
    CProtocolBase(IConnection* connection, bool ownsConnection);
    CProtocolBase(const CProtocolBase&) = delete;
    CProtocolBase& operator=(const CProtocolBase&) = delete;
    ~CProtocolBase() override;

    void SetConnection(IConnection* connection) override;
    IConnection* GetConnection() const override;
    // Returns the stored code once; the next call gives 0.
    unsigned short GetLastCommandError() override;
    const wchar_t* GetLastErrorMessage() const override;
    virtual bool SetProtocolUUID(std::wstring uuid);

protected:
    IConnection* m_connection = nullptr;
    bool m_ownsConnection = false;
    unsigned short m_lastCommandError = 0;
    std::wstring m_lastErrorMessage;
};

}
