#pragma once
// The one interface through which the program reads and writes the settings
// of a device, whichever medium reaches it.

#include "Common/Communication/AnswerFault.h"
#include "Common/Communication/IConnection.h"
#include "Common/Communication/PelorusApi.h"
#include "Common/PelorusDLL/ServiceRecords.h"
#include "Platform/Base/DebugOutput.h"
#include "Platform/Base/Format.h"
#include "Platform/Base/Types.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CParamComRegComBase;
namespace ZELL {
class CConnectionBase;
}

// Codes the services store as their last error.
constexpr DWORD PELORUS_ERROR_INVALID_ARGUMENT = 0x20200008;
constexpr DWORD PELORUS_ERROR_NO_CONNECTION = 0x20200009;
constexpr DWORD PELORUS_ERROR_SERVICE_NOT_SUPPORTED = 0x20088212;
constexpr DWORD PELORUS_ERROR_PARAMETER_NOT_PRESENT = 0x20088213;
constexpr DWORD PELORUS_ERROR_SERVICE_REJECTED = 0x20088214;
constexpr DWORD PELORUS_ERROR_REGISTER_OUT_OF_RANGE = 0x20088215;
constexpr DWORD PELORUS_ERROR_INVALID_NODE_CONFIGURATION = 0x20088409;
constexpr DWORD PELORUS_ERROR_INVALID_ANSWER_LENGTH = 0x20208404;
constexpr DWORD PELORUS_ERROR_ADDRESS_TEXT = 0x2020000A;
constexpr DWORD PELORUS_ERROR_NO_PING_ANSWER = 0x2020000C;
constexpr DWORD PELORUS_ERROR_MALFORMED_ANSWER = ZELL::kErrorMalformedAnswer;
constexpr DWORD PELORUS_ERROR_ANSWER_TOO_LONG = ZELL::kErrorAnswerTooLong;
constexpr DWORD PELORUS_ERROR_PARAM_CHANNEL = 0x20058000; // | the channel's error
constexpr DWORD PELORUS_ERROR_RESTART_MODULE_COUNT = 0x2008940A;
constexpr DWORD PELORUS_ERROR_RESTART_CONFIGURATION = 0x2008940B;
constexpr DWORD PELORUS_ERROR_RESTART_ABORT = 0x2008940C;
constexpr DWORD PELORUS_ERROR_RESTART_MODULE_MISMATCH = 0x2008940D;
constexpr DWORD PELORUS_ERROR_RESTART_POSITION = 0x2008940E;
constexpr DWORD PELORUS_ERROR_RECONNECT = 0x2008940F;
constexpr DWORD PELORUS_ERROR_RESTART_RECONNECT = 0x12340001;
constexpr DWORD PELORUS_ERROR_CONTROL_MODE_OFF = 0x20200002;
constexpr DWORD PELORUS_ERROR_CONTROL_MODE_FIELDBUS = 0x20200003;
constexpr DWORD PELORUS_ERROR_CONTROL_MODE_MONITOR = 0x20200004;
constexpr DWORD PELORUS_ERROR_MONITOR_MODE_OFF = 0x20200005;
constexpr DWORD PELORUS_ERROR_MONITOR_MODE_CONTROL = 0x20200006;

// True for the codes of an answer that arrived but was malformed: a service
// frame refused by the protocol, or a serial telegram with a wrong start,
// length, checksum or word count. Such a device is there; it is not silent.
PELORUS_API bool IsMalformedAnswerCode(DWORD code);

class PELORUS_API CServiceBase {
public:
    static const wchar_t SERVICE_NOT_SUPPORTED[];
    static const unsigned char MAXSTATES_FBC;
    static const unsigned char MAXSTATES_KBUS;

    struct PELORUS_API tNetworkParams {
        WORD wIPAddressSource = 0;
        std::wstring strIPAddress;
        std::wstring strSubnetMask;
        std::wstring strGatewayAddress;
        std::wstring strPreferredDNSServer;
        std::wstring strAlternativeDNSServer;
        std::wstring strParameter6;
        std::wstring strHostName;
        std::wstring strDomainName;
        std::wstring strParameter9;
        std::wstring strMACAddress;
        std::wstring strSNTPHostName;
    };

    struct tSDCardInfo {
        bool bInserted = false;
        WORD wCardType = 0;
        bool bWriteProtected = false;
        WORD wCapacity = 0;
        WORD wFreeMemory = 0;
        DWORD dwSerialNumber = 0;
        WORD wRootLocation = 0;
    };

    struct tDateTime {
        DWORD dwSeconds = 0;
        short sZoneMinutes = 0;
        short sDaylightSaving = -1; // -1: only the real-time clock answered
    };

    CServiceBase();
    // A service owns its channel objects; a copy would share them.
    CServiceBase(const CServiceBase&) = delete;
    CServiceBase& operator=(const CServiceBase&) = delete;
    virtual ~CServiceBase();

    virtual void EnableLogging(bool on, const wchar_t* logName);
    virtual bool EnableParamWriting(bool enable) = 0;
    // Restarts and waits until the node at `position` is back.
    virtual bool RestartSystem(unsigned int position, unsigned int seconds);
    virtual bool RestartSystem() = 0;
    virtual bool GetParameterChecksum(unsigned short& checksum) = 0;
    virtual bool SetFactoryDefaults() = 0;
    virtual bool SaveParameter() = 0;
    virtual bool GetFBCStates(std::vector<unsigned short>& states) = 0;
    virtual bool GetAddressSwitchSetting(unsigned short& value) = 0;
    virtual bool ReadFBCIdentification(tFbcIdentification* id) = 0;
    virtual bool IdentifyDevice(std::wstring& order, std::wstring& description, std::wstring& hwVersion,
                                std::wstring& swVersion) = 0;
    virtual bool BasicFbcIdentification(unsigned char* buffer, unsigned short size);
    virtual bool GetFieldbusBaudrate(double& baud) = 0;
    virtual bool EnableBKMonitorModeWithoutCheck(bool on) = 0;
    virtual bool EnableBKMonitorMode(bool on);
    virtual bool EnableBKControlModeWithoutCheck(bool on) = 0;
    virtual bool EnableBKControlMode(bool on);
    virtual bool GetNetworkID(std::wstring& networkId, std::wstring& macAddress) = 0;
    virtual bool GetSerialNumber(std::wstring& serial) = 0;
    virtual bool SetFactoryTestMode(const unsigned short mode) = 0;
    virtual bool GetTerminalBusState(std::vector<unsigned short>& state) = 0;
    virtual bool GetProductionMarking(std::wstring& first, std::wstring& second) = 0;
    virtual bool GetInternalVariable(const unsigned short index, std::wstring& name, std::wstring& value) = 0;
    virtual bool GetFWLVersion(std::wstring& version) = 0;
    virtual bool GetTableInfo(std::vector<tFBCTable>& tables) = 0;
    virtual bool GetCPUInfo(std::wstring& burnDate, std::wstring& productionSerial) = 0;
    virtual bool EnableTerminalBusExtension(bool on) = 0;
    virtual bool GetRealTimeClock(unsigned int& seconds, short& zoneHours) = 0;
    virtual bool SetRealTimeClock(const unsigned int& seconds, const short& zoneHours) = 0;
    virtual bool GetDateTime(unsigned int& seconds, short& zoneMinutes, short& daylightSaving) = 0;
    virtual bool SetDateTime(const unsigned int& seconds, const short& zoneMinutes,
                             const short& daylightSaving) = 0;
    virtual bool ControlParamSequence(const unsigned short first, const unsigned short second,
                                      const unsigned short third) = 0;
    virtual bool EnableTerminalControlMode(unsigned short first, unsigned short second, unsigned short third,
                                           unsigned short length, const unsigned char* data) = 0;
    virtual bool GetTerminalControlModeStatus(unsigned short& first, unsigned short& second,
                                              unsigned short& third) = 0;
    virtual bool GetIMEI(std::wstring& imei) = 0;
    virtual bool TerminalBusReset() = 0;
    virtual bool ClearTerminalBusMonitor() = 0;
    virtual bool ResetTerminalBusMonitorPtr() = 0;
    // readTime (may be null) receives the PC time at reading, seconds since 1970.
    virtual bool GetTerminalBusMonitorEntry(tKBMonEntry& entry, long long* readTime) = 0;
    virtual bool GetTerminalBusMonitorSize(unsigned short& count) = 0;
    virtual bool GetServiceState(unsigned char group, unsigned char service, tServiceState& state) = 0;
    virtual bool ExtractFiles(const unsigned short what) = 0;
    virtual bool FormatFlashDisk(const unsigned short what) = 0;
    virtual bool GetSDCardStatus(std::vector<unsigned short>& words) = 0;
    virtual bool GetPLCRootLocation(unsigned short& location) = 0;
    virtual bool SetPLCRootLocation(const unsigned short location) = 0;
    virtual bool WriteRegister(unsigned int position, unsigned int table, unsigned int start, unsigned int count,
                               const unsigned short* data) = 0;
    virtual bool ReadRegister(unsigned int position, unsigned int table, unsigned int start, unsigned int count,
                              unsigned short* data) = 0;
    // *data is a new[] buffer of `length` bytes, replaced when the answer's length differs.
    virtual bool GetNetworkParameter(const unsigned short interfaceIndex, const unsigned short id,
                                     const unsigned short kind, unsigned short& length, unsigned char** data) = 0;
    virtual bool SetNetworkParameter(const unsigned short interfaceIndex, const unsigned short id,
                                     const unsigned short kind, const unsigned short length,
                                     const unsigned char* data) = 0;
    virtual bool GetEthernetInterfaceMode(unsigned short& mode) = 0;
    virtual bool SetEthernetInterfaceMode(const unsigned short mode) = 0;
    virtual bool GetRuntimeSystems(std::vector<unsigned short>& systems) = 0;
    virtual bool GetActiveRuntimeSystem(unsigned short& system) = 0;
    virtual bool SetActiveRuntimeSystem(const unsigned short system) = 0;

    // Network parameters; kind 0 is the set in use, kind 1 the configured one.
    virtual bool GetActualNetworkParameters(const unsigned short interfaceIndex, tNetworkParams& params);
    virtual bool GetActualIPAddressSource(const unsigned short interfaceIndex, unsigned short& source);
    virtual bool GetActualIPAddress(const unsigned short interfaceIndex, std::wstring& address,
                                    unsigned short& source);
    virtual bool GetStaticNetworkParameters(const unsigned short interfaceIndex, tNetworkParams& params);
    virtual bool SetStaticNetworkParameters(const unsigned short interfaceIndex, const tNetworkParams& params);
    virtual bool GetStaticIPAddressSource(const unsigned short interfaceIndex, unsigned short& source);
    virtual bool SetStaticIPAddressSource(const unsigned short interfaceIndex, const unsigned short source);
    virtual bool GetStaticIPAddress(const unsigned short interfaceIndex, std::wstring& address);
    virtual bool SetStaticIPAddress(const unsigned short interfaceIndex, const std::wstring& address);
    virtual bool ReadIPAddressSourceUsingService(const unsigned short interfaceIndex, const unsigned short kind,
                                                 unsigned short& source);
    virtual bool WriteIPAddressSourceUsingService(const unsigned short interfaceIndex, const unsigned short kind,
                                                  const unsigned short source);
    virtual bool GetIPAddress(const unsigned short interfaceIndex, const unsigned short id,
                              const unsigned short kind, std::wstring& text);
    virtual bool SetIPAddress(const unsigned short interfaceIndex, const unsigned short id,
                              const unsigned short kind, const std::wstring& text);
    virtual bool GetNetworkParamName(const unsigned short interfaceIndex, const unsigned short id,
                                     const unsigned short kind, std::wstring& text);
    virtual bool SetNetworkParamName(const unsigned short interfaceIndex, const unsigned short id,
                                     const unsigned short kind, const std::wstring& text);
    virtual bool GetNetworkParameters(const unsigned short interfaceIndex, const unsigned short kind,
                                      tNetworkParams& params);
    virtual bool SetNetworkParameters(const unsigned short interfaceIndex, const unsigned short kind,
                                      const tNetworkParams& params);
    virtual bool GetSDCardInformation(tSDCardInfo& info);
    virtual bool ParamChannelRead(unsigned short channel, unsigned short index, unsigned short* data,
                                  unsigned short count);
    virtual bool ParamChannelWrite(unsigned short channel, unsigned short index, const unsigned short* data,
                                   unsigned short count);
    virtual unsigned int ParamChannelTimeout() const;
    virtual bool GetTerminalBusMonitorEntryEx(tKBMonEntryEx& entry);
    virtual bool GetTerminalBusMonitorEntries(std::vector<tKBMonEntryEx>& entries);

    // Reading the code consumes it.
    virtual unsigned long GetLastErrorCode();
    virtual void ResetLastErrorCode();
    // Keeps a stored code; else takes the connection's own code, and only
    // when that is 0 the given one. The thread's last error follows.
    virtual void SetLastErrorCode(unsigned long code);
    virtual bool CheckCommunication(unsigned short attempts);
    virtual unsigned long GetCheckConnectionTimeoutSeconds();
    virtual ZELL::IConnection* GetConnection() = 0;

    // The address source with the register fall-back of older devices.
    virtual bool IsActualIPAddressFromBootP(const unsigned short interfaceIndex, bool& yes);
    virtual bool IsActualIPAddressFromDHCP(const unsigned short interfaceIndex, bool& yes);
    virtual bool IsActualIPAddressFromStaticConfig(const unsigned short interfaceIndex, bool& yes);
    virtual bool UseIPAddressFromBootP(const unsigned short interfaceIndex);
    virtual bool UseIPAddressFromDHCP(const unsigned short interfaceIndex);
    virtual bool UseIPAddressFromStaticConfig(const unsigned short interfaceIndex);
    virtual bool WriteIPAddress(const unsigned short interfaceIndex, const std::wstring& address);
    virtual bool WriteSubnetMask(const unsigned short interfaceIndex, const std::wstring& mask);
    virtual bool WriteGatewayAddress(const unsigned short interfaceIndex, const std::wstring& address);
    virtual bool WritePreferedDNSAddress(const unsigned short interfaceIndex, const std::wstring& address);
    virtual bool WriteAlternativeDNSAddress(const unsigned short interfaceIndex, const std::wstring& address);

    // Whether the device goes at once on a restart or factory-defaults
    // request and answers no more, so that a caller sends it without waiting
    // for the device's return. Where it does not, the two requests without
    // waiting are those that wait.
    virtual bool SendsRestartWithoutWaiting() const { return false; }
    virtual bool RestartSystemWithoutWaiting() { return RestartSystem(); }
    virtual bool SetFactoryDefaultsWithoutWaiting() { return SetFactoryDefaults(); }

    bool GetDateTimeSettings(tDateTime& dateTime);
    bool SetDateTimeSettings(const tDateTime& dateTime);
    bool GetSubBusConfiguration(std::vector<unsigned short>* config);
    // Sleeps the device's `seconds`, or the connection's "RestartTimeoutSeconds"
    // when that is longer and `force` is not set.
    void WaitForRestart(unsigned short seconds, bool force);
    std::wstring GetCurrentlyUsedIPAddressFromInternalVariables();
    bool ReadIPAddresses(std::wstring& actualAddress, std::wstring& staticAddress, std::wstring& mask,
                         std::wstring& gateway);
    bool ReadIPAddressesUsingService(std::wstring& actualAddress, std::wstring& staticAddress, std::wstring& mask,
                                     std::wstring& gateway);
    bool ReadIPAddressesFromRegister(std::wstring& actualAddress, std::wstring& staticAddress, std::wstring& mask,
                                     std::wstring& gateway);
    std::wstring ReadIPAddressFromRegister(int id);
    bool ReadMacAddresses(std::vector<std::wstring>& macs);
    bool ReadHostName(std::wstring& name);
    bool ReadDomainName(std::wstring& name);
    bool ReadSntpHostName(std::wstring& name);
    bool WriteHostName(const std::wstring& name);
    bool WriteDomainName(const std::wstring& name);
    bool WriteSntpHostName(const std::wstring& name);
    bool ReadNetworkParamNameFromRegister(int id, std::wstring& name);
    bool WriteNetworkParamNameToRegister(int id, const std::wstring& name);
    bool ParamChannelDefault(unsigned short channel);
    bool ParamChannelGetParamCount(unsigned short channel, unsigned short& count);
    void ParamChannelTimeout(unsigned int milliseconds);

protected:
    template<typename... Args>
    void Log(const wchar_t* format, const Args&... args)
    {
        if (!m_logging || format == nullptr)
            return;
        wchar_t buffer[kLogBufferLength];
        Text::FormatToBuffer(buffer, kLogBufferLength, kLogBufferLength - 1, format, args...);
        OutputDebugStringW(buffer);
    }

    // Frame of every public operation: traces, resets the code, refuses to
    // run without a connection, and turns whatever the body throws into a
    // stored code so that no exception leaves the library.
    template<typename Body>
    bool RunOperation(const wchar_t* name, int line, Body&& body)
    {
        Log(L" ### ENTER - %s (Line %d)\n", name, line);
        ResetLastErrorCode();
        bool result = false;
        if (GetConnection() == nullptr) {
            m_lastError = PELORUS_ERROR_NO_CONNECTION;
            PublishLastError();
        } else {
            try {
                result = body();
            } catch (...) {
                result = false;
                StoreCaughtException(name, line);
            }
        }
        if (result)
            Log(L" ### LEAVE - %s with true (Line %d)\n", name, line);
        else
            Log(L" ### LEAVE - %s with error 0x%08X (Line %d)\n", name, m_lastError, line);
        return result;
    }

    bool IsLoggingEnabled() const { return m_logging; }
    // The connection's "RestartTimeoutSeconds" (0 without one), a day at most:
    // a mistyped setting must not wait for ever.
    unsigned long RestartTimeoutFromSettings();
    const std::wstring& GetLogName() const { return m_logName; }

private:
    static constexpr std::size_t kLogBufferLength = 4096;

    // Must be called from inside a catch handler.
    void StoreCaughtException(const wchar_t* name, int line);
    void PublishLastError();
    bool HasStoredCode(DWORD code) const { return m_lastError == code; }

    // 8-bit texts of the device, in the thread's ANSI code page.
    static std::wstring AnsiToWide(const unsigned char* bytes, std::size_t count);
    static std::string WideToAnsi(const std::wstring& text);

    // Network parameters and their registers in table 100 of position 0.
    static int AddressRegisterFromParamID(int id);
    bool ReadNetworkParameterBytes(const unsigned short interfaceIndex, const unsigned short id,
                                   const unsigned short kind, unsigned short size, std::vector<BYTE>& bytes);
    bool ReadIPAddressSourceFromRegister(unsigned short& source);
    bool WriteIPAddressSourceToRegister(unsigned short source);
    bool WriteIPAddressToRegister(int id, const std::wstring& address);
    bool WriteIPAddressUsingService(const unsigned short interfaceIndex, const unsigned short id,
                                    const unsigned short kind, const std::wstring& text);
    // True when the stored code says the device has no network-parameter
    // service, so that the registers are the way to go.
    bool NetworkParamNotSupported() const;
    bool IsActualIPAddressFrom(const unsigned short interfaceIndex, unsigned short wanted, bool& yes);
    bool UseIPAddressFrom(const unsigned short interfaceIndex, unsigned short source);
    bool WriteAddressWithFallback(const unsigned short interfaceIndex, int id, const std::wstring& address);
    bool ReadNameWithFallback(int id, std::wstring& name);
    bool WriteNameWithFallback(int id, const std::wstring& name);
    bool ReadInterfaceAddresses(std::vector<unsigned short>& interfaces);

    // Restart and connection check.
    bool CheckRestartedNode(unsigned int position, const std::vector<unsigned short>& before);
    bool ProbeConnection(ZELL::CConnectionBase& connection, unsigned short attempts, bool& openedHere);
    bool Reconnect();

    // Device states, monitor and parameter channel.
    bool ReadStateWords(std::vector<unsigned short>& states);
    bool ParamChannelUsable(unsigned short channel) const;
    bool ParamIndexesValid(unsigned short index, unsigned short count, const void* data);
    bool RunParamChannel(const wchar_t* name, int line, unsigned short channel, unsigned short index,
                         unsigned short count, const void* data, const std::function<bool()>& transfer);
    unsigned long ParamErrorToPelorusError();
    static void GetKBMonTimeFromEntry(const tKBMonEntry& entry, long long readTime, tKBMonEntryEx& result);

    DWORD m_lastError = 0;
    bool m_logging = false;
    std::wstring m_logName;
    std::unique_ptr<CParamComRegComBase> m_paramCom;
};
