#pragma once
// The one interface through which the program reads and writes the settings
// of a device, whichever medium reaches it.

#include "Common/Communication/IConnection.h"
#include "Common/Communication/PelorusApi.h"
#include "Common/PelorusDLL/ServiceRecords.h"
#include "Platform/Base/DebugOutput.h"
#include "Platform/Base/Format.h"
#include "Platform/Base/Types.h"

#include <string>
#include <vector>

// Codes the services store as their last error.
constexpr DWORD PELORUS_ERROR_INVALID_ARGUMENT = 0x20200008;
constexpr DWORD PELORUS_ERROR_NO_CONNECTION = 0x20200009;
constexpr DWORD PELORUS_ERROR_SERVICE_NOT_SUPPORTED = 0x20088212;
constexpr DWORD PELORUS_ERROR_PARAMETER_NOT_PRESENT = 0x20088213;
constexpr DWORD PELORUS_ERROR_SERVICE_REJECTED = 0x20088214;
constexpr DWORD PELORUS_ERROR_REGISTER_OUT_OF_RANGE = 0x20088215;
constexpr DWORD PELORUS_ERROR_INVALID_NODE_CONFIGURATION = 0x20088409;

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

    CServiceBase() = default;
    // A service owns its channel objects; a copy would share them.
    CServiceBase(const CServiceBase&) = delete;
    CServiceBase& operator=(const CServiceBase&) = delete;
    virtual ~CServiceBase();

    virtual void EnableLogging(bool on, const wchar_t* logName);
    virtual bool EnableParamWriting(bool enable) = 0;
    virtual bool RestartSystem() = 0;
    virtual bool GetParameterChecksum(unsigned short& checksum) = 0;
    virtual bool SetFactoryDefaults() = 0;
    virtual bool SaveParameter() = 0;
    virtual bool GetFBCStates(std::vector<unsigned short>& states) = 0;
    virtual bool GetAddressSwitchSetting(unsigned short& value) = 0;
    virtual bool ReadFBCIdentification(tFbcIdentification* id) = 0;
    virtual bool IdentifyDevice(std::wstring& order, std::wstring& description, std::wstring& hwVersion,
                                std::wstring& swVersion) = 0;
    virtual bool GetFieldbusBaudrate(double& baud) = 0;
    virtual bool EnableBKMonitorModeWithoutCheck(bool on) = 0;
    virtual bool EnableBKControlModeWithoutCheck(bool on) = 0;
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

    // Reading the code consumes it.
    virtual unsigned long GetLastErrorCode();
    virtual void ResetLastErrorCode();
    // Keeps a stored code; else takes the connection's own code, and only
    // when that is 0 the given one. The thread's last error follows.
    virtual void SetLastErrorCode(unsigned long code);
    virtual ZELL::IConnection* GetConnection() = 0;

protected:
    template<typename... Args>
    void Log(const wchar_t* format, const Args&... args)
    {
        if (!m_bLogging || format == nullptr)
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
            m_dwLastError = PELORUS_ERROR_NO_CONNECTION;
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
            Log(L" ### LEAVE - %s with error 0x%08X (Line %d)\n", name, m_dwLastError, line);
        return result;
    }

    bool IsLoggingEnabled() const { return m_bLogging; }
    const std::wstring& GetLogName() const { return m_strLogName; }

private:
    static constexpr std::size_t kLogBufferLength = 4096;

    // Must be called from inside a catch handler.
    void StoreCaughtException(const wchar_t* name, int line);
    void PublishLastError();

    DWORD m_dwLastError = 0;
    bool m_bLogging = false;
    std::wstring m_strLogName;
};
