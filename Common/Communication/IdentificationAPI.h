#pragma once
// Asks a device for its identification over an existing protocol and manages
// the device's exclusive mode and the protocol's fragment size.

#include "Common/Communication/IProtocol.h"
#include "Common/Communication/PelorusApi.h"
#include "Platform/Base/Types.h"

#include <functional>
#include <string>
#include <vector>

namespace ZELL {

class PELORUS_API CIdentificationAPI {
public:
    explicit CIdentificationAPI(IProtocol* protocol = nullptr);
    CIdentificationAPI(const CIdentificationAPI&) = default;
    CIdentificationAPI& operator=(const CIdentificationAPI&) = default;
    virtual ~CIdentificationAPI() = default;
    virtual void SetProtocol(IProtocol* protocol);
    virtual IProtocol* GetProtocol() const;

    bool IsConnected() const;
    // The number of the operation that failed last; a success keeps it.
    USHORT GetLastErrorCode() const { return m_lastError; }
    const wchar_t* GetLastErrorMessage() const { return m_lastErrorMessage.c_str(); }

    bool Connect();
    bool Disconnect();

    // Texts are new zero-terminated arrays released with delete[]; a null
    // address only checks the reply.
    bool GetOrderNumber(char** text);
    bool GetUserDescription(char** text);
    bool GetMediaAddress(char** text);
    bool GetSerialNumber(char** text);
    bool GetVendorID(USHORT* value);
    bool GetDeviceState(USHORT* value);
    bool GetConnectionType(char** text);
    bool GetSupportedProtocols(char** text);
    bool GetExclusiveModeState(ULONG* ident, BYTE* state, BYTE* permanentMode, BYTE* exclusiveMode);
    bool SetExclusiveMode(BYTE first, BYTE second, ULONG* ident, BYTE* state, BYTE* permanentMode,
                          BYTE* exclusiveMode);
    bool CloseExclusiveMode(ULONG exclusiveIdent, ULONG* ident, BYTE* state);
    bool GetIdentCollection(char** text);
    bool GetProtocolBufferSize(USHORT* size);
    bool SetProtocolBufferSize(USHORT size, USHORT* result);
    bool GetServerTimeout(USHORT* value);
    bool SetServerTimeout(USHORT timeout, USHORT* result);
    bool GetVersion(USHORT* value);
    bool GetActiveConnections(char** text);
    bool GetRevisionAndVersion(wchar_t** first, wchar_t** second, wchar_t** third);
    bool SetConnectionInformation(USHORT a, USHORT b, USHORT c, USHORT d);

private:
    using Reply = std::vector<BYTE>;
    enum class Shape { Text, Exact, Revision };

    // Sends the request and checks the reply; the handler fills the outputs
    // and gives the result. Exceptions become the last error.
    bool Run(const wchar_t* name, USHORT number, USHORT service, const std::vector<BYTE>& arguments, Shape shape,
             unsigned int length, const std::function<bool(const Reply&)>& handler, bool statusAfterHandler = false);
    bool Text(const wchar_t* name, USHORT number, USHORT service, unsigned int least, char** text);
    bool Word(const wchar_t* name, USHORT number, USHORT service, const std::vector<BYTE>& arguments, USHORT* value,
              const wchar_t* settingsAttribute = nullptr);
    bool StoreSettings(const std::wstring& attribute, ULONG value);

    IProtocol* m_protocol = nullptr;
    USHORT m_lastError = 0;
    std::wstring m_lastErrorMessage;
};

}
