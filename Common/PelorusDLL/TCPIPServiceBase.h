#pragma once
// The device service over TCP/IP: every operation is one call of the service
// API over the service protocol, then the conversion of its answer.

#include "Common/PelorusDLL/ServiceBase.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ZELL {
class CServiceAPI;
class CServiceProtocol;
}
class CIdentificationText;
class CPing;

class PELORUS_API CTCPIPServiceBase : public CServiceBase {
public:
    // A device may announce any wait up to 65535 s; beyond this it is
    // taken for a wild value rather than slept.
    static constexpr unsigned short kMaxDeviceWaitSeconds = 600;

    ~CTCPIPServiceBase() override;

    void EnableLogging(bool on, const wchar_t* logName) override;
    bool EnableParamWriting(bool enable) override;
    bool RestartSystem() override;
    using CServiceBase::RestartSystem;
    bool RestartSystemWithoutWaiting() override;
    bool GetParameterChecksum(unsigned short& checksum) override;
    bool SetFactoryDefaults() override;
    bool SetFactoryDefaultsWithoutWaiting() override;
    bool SendsRestartWithoutWaiting() const override { return true; }
    bool SaveParameter() override;
    bool GetFBCStates(std::vector<unsigned short>& states) override;
    bool GetAddressSwitchSetting(unsigned short& value) override;
    bool ReadFBCIdentification(tFbcIdentification* id) override;
    bool IdentifyDevice(std::wstring& order, std::wstring& description, std::wstring& hwVersion,
                        std::wstring& swVersion) override;
    bool GetFieldbusBaudrate(double& baud) override;
    bool EnableBKMonitorModeWithoutCheck(bool on) override;
    bool EnableBKControlModeWithoutCheck(bool on) override;
    bool GetNetworkID(std::wstring& networkId, std::wstring& macAddress) override;
    bool GetSerialNumber(std::wstring& serial) override;
    bool SetFactoryTestMode(const unsigned short mode) override;
    bool GetTerminalBusState(std::vector<unsigned short>& state) override;
    bool GetProductionMarking(std::wstring& first, std::wstring& second) override;
    bool GetInternalVariable(const unsigned short index, std::wstring& name, std::wstring& value) override;
    bool GetFWLVersion(std::wstring& version) override;
    bool GetTableInfo(std::vector<tFBCTable>& tables) override;
    bool GetCPUInfo(std::wstring& burnDate, std::wstring& productionSerial) override;
    bool EnableTerminalBusExtension(bool on) override;
    bool GetRealTimeClock(unsigned int& seconds, short& zoneHours) override;
    bool SetRealTimeClock(const unsigned int& seconds, const short& zoneHours) override;
    bool GetDateTime(unsigned int& seconds, short& zoneMinutes, short& daylightSaving) override;
    bool SetDateTime(const unsigned int& seconds, const short& zoneMinutes, const short& daylightSaving) override;
    bool ControlParamSequence(const unsigned short first, const unsigned short second,
                              const unsigned short third) override;
    bool EnableTerminalControlMode(unsigned short first, unsigned short second, unsigned short third,
                                   unsigned short length, const unsigned char* data) override;
    bool GetTerminalControlModeStatus(unsigned short& first, unsigned short& second, unsigned short& third) override;
    bool GetIMEI(std::wstring& imei) override;
    bool TerminalBusReset() override;
    bool ClearTerminalBusMonitor() override;
    bool ResetTerminalBusMonitorPtr() override;
    bool GetTerminalBusMonitorEntry(tKBMonEntry& entry, long long* readTime) override;
    bool GetTerminalBusMonitorSize(unsigned short& count) override;
    bool GetServiceState(unsigned char group, unsigned char service, tServiceState& state) override;
    bool ExtractFiles(const unsigned short what) override;
    bool FormatFlashDisk(const unsigned short what) override;
    bool GetSDCardStatus(std::vector<unsigned short>& words) override;
    bool GetPLCRootLocation(unsigned short& location) override;
    bool SetPLCRootLocation(const unsigned short location) override;
    bool WriteRegister(unsigned int position, unsigned int table, unsigned int start, unsigned int count,
                       const unsigned short* data) override;
    bool ReadRegister(unsigned int position, unsigned int table, unsigned int start, unsigned int count,
                      unsigned short* data) override;
    bool GetNetworkParameter(const unsigned short interfaceIndex, const unsigned short id, const unsigned short kind,
                             unsigned short& length, unsigned char** data) override;
    bool SetNetworkParameter(const unsigned short interfaceIndex, const unsigned short id, const unsigned short kind,
                             const unsigned short length, const unsigned char* data) override;
    bool GetEthernetInterfaceMode(unsigned short& mode) override;
    bool SetEthernetInterfaceMode(const unsigned short mode) override;
    bool GetRuntimeSystems(std::vector<unsigned short>& systems) override;
    bool GetActiveRuntimeSystem(unsigned short& system) override;
    bool SetActiveRuntimeSystem(const unsigned short system) override;

    // Pings the device first: a device that does not answer is not probed.
    bool CheckCommunication(unsigned short attempts) override;
    // The protocol's connection; null without a protocol.
    ZELL::IConnection* GetConnection() override;

protected:
    CTCPIPServiceBase() = default;

    // Takes both objects or neither: a service never holds one without the other.
    void Attach(std::unique_ptr<ZELL::CServiceProtocol> protocol, std::unique_ptr<ZELL::CServiceAPI> api);
    // Stores the connection's code, else the API's, unless a code is stored.
    void EvaluateErrorCode();
    // Up to `attempts` echo requests (at least one) of 5 s each; a host
    // that answers is then probed as the connection check does.
    bool Ping(std::wstring host, unsigned short attempts);
    // The ICMP channel of the connection check.
    virtual std::unique_ptr<CPing> CreatePing() const;

private:
    enum class ENPingResult { Answered, NoAnswer, NoICMP };

    ZELL::CServiceAPI& Api();
    // The API's result; a failure evaluates the error code.
    bool Evaluated(bool succeeded);
    // Runs a service that answers with seconds to wait and sleeps them.
    bool CallAndWait(const std::function<bool(ZELL::CServiceAPI&, WORD&)>& call);
    static void SleepSeconds(WORD seconds);
    // Stores PELORUS_ERROR_INVALID_ARGUMENT when a value does not fit the request.
    bool RegisterArgumentsFit(unsigned int position, unsigned int table, unsigned int start, unsigned int count,
                              const unsigned short* data);
    bool ReadIdentification(CIdentificationText& text);
    bool ReadIdentificationValues(const wchar_t* name, int line,
                                  const std::function<void(const CIdentificationText&)>& take);
    ENPingResult PingHost(const std::wstring& host, unsigned short attempts, unsigned long timeoutMs);
    bool PingThenProbe(const std::wstring& host, unsigned short attempts, unsigned long timeoutMs);

    ZELL::CServiceProtocol* m_serviceProtocol = nullptr;
    ZELL::CServiceAPI* m_serviceAPI = nullptr;
};
