#pragma once
// A service whose device operations all fail, over a connection that only
// reports a configurable error code: enough to drive the shared frame of
// the operations.

#include "Common/PelorusDLL/ServiceBase.h"

#include <functional>

class CFakeConnection : public ZELL::IConnection {
public:
    unsigned long m_code = 0;

    void Open() override {}
    void Close() override {}
    bool IsOpen() const override { return true; }
    void Write(unsigned char*, unsigned int, unsigned int*) override {}
    void Read(unsigned char*, unsigned int, unsigned int*) override {}
    void Execute(unsigned char*, unsigned int, unsigned char**, unsigned int&) override {}
    void ClearBuffer() override {}
    unsigned long GetLastErrorCode() override { return m_code; }
    bool ReadFragment(unsigned char**, unsigned int*) override { return false; }
    bool ReadFragment(unsigned char**, unsigned int, unsigned short, short, unsigned int*) override { return false; }
};

class CFakeService : public CServiceBase {
public:
    explicit CFakeService(ZELL::IConnection* connection) : m_connection(connection) {}

    ZELL::IConnection* GetConnection() override { return m_connection; }

    // Runs `body` inside the operation frame, as every device operation does.
    bool Operation(const std::function<bool()>& body) { return RunOperation(L"CFakeService::Operation", 42, body); }
    template<typename... Args>
    void Trace(const wchar_t* format, const Args&... args) { Log(format, args...); }
    using CServiceBase::GetLogName;
    using CServiceBase::IsLoggingEnabled;

    bool EnableParamWriting(bool) override { return false; }
    bool RestartSystem() override { return false; }
    bool GetParameterChecksum(unsigned short&) override { return false; }
    bool SetFactoryDefaults() override { return false; }
    bool SaveParameter() override { return false; }
    bool GetFBCStates(std::vector<unsigned short>&) override { return false; }
    bool GetAddressSwitchSetting(unsigned short&) override { return false; }
    bool ReadFBCIdentification(tFbcIdentification*) override { return false; }
    bool IdentifyDevice(std::wstring&, std::wstring&, std::wstring&, std::wstring&) override { return false; }
    bool GetFieldbusBaudrate(double&) override { return false; }
    bool EnableBKMonitorModeWithoutCheck(bool) override { return false; }
    bool EnableBKControlModeWithoutCheck(bool) override { return false; }
    bool GetNetworkID(std::wstring&, std::wstring&) override { return false; }
    bool GetSerialNumber(std::wstring&) override { return false; }
    bool SetFactoryTestMode(const unsigned short) override { return false; }
    bool GetTerminalBusState(std::vector<unsigned short>&) override { return false; }
    bool GetProductionMarking(std::wstring&, std::wstring&) override { return false; }
    bool GetInternalVariable(const unsigned short, std::wstring&, std::wstring&) override { return false; }
    bool GetFWLVersion(std::wstring&) override { return false; }
    bool GetTableInfo(std::vector<tFBCTable>&) override { return false; }
    bool GetCPUInfo(std::wstring&, std::wstring&) override { return false; }
    bool EnableTerminalBusExtension(bool) override { return false; }
    bool GetRealTimeClock(unsigned int&, short&) override { return false; }
    bool SetRealTimeClock(const unsigned int&, const short&) override { return false; }
    bool GetDateTime(unsigned int&, short&, short&) override { return false; }
    bool SetDateTime(const unsigned int&, const short&, const short&) override { return false; }
    bool ControlParamSequence(const unsigned short, const unsigned short, const unsigned short) override { return false; }
    bool EnableTerminalControlMode(unsigned short, unsigned short, unsigned short, unsigned short,
                                   const unsigned char*) override { return false; }
    bool GetTerminalControlModeStatus(unsigned short&, unsigned short&, unsigned short&) override { return false; }
    bool GetIMEI(std::wstring&) override { return false; }
    bool TerminalBusReset() override { return false; }
    bool ClearTerminalBusMonitor() override { return false; }
    bool ResetTerminalBusMonitorPtr() override { return false; }
    bool GetTerminalBusMonitorEntry(tKBMonEntry&, long long*) override { return false; }
    bool GetTerminalBusMonitorSize(unsigned short&) override { return false; }
    bool GetServiceState(unsigned char, unsigned char, tServiceState&) override { return false; }
    bool ExtractFiles(const unsigned short) override { return false; }
    bool FormatFlashDisk(const unsigned short) override { return false; }
    bool GetSDCardStatus(std::vector<unsigned short>&) override { return false; }
    bool GetPLCRootLocation(unsigned short&) override { return false; }
    bool SetPLCRootLocation(const unsigned short) override { return false; }
    bool WriteRegister(unsigned int, unsigned int, unsigned int, unsigned int, const unsigned short*) override { return false; }
    bool ReadRegister(unsigned int, unsigned int, unsigned int, unsigned int, unsigned short*) override { return false; }
    bool GetNetworkParameter(const unsigned short, const unsigned short, const unsigned short, unsigned short&,
                             unsigned char**) override { return false; }
    bool SetNetworkParameter(const unsigned short, const unsigned short, const unsigned short, const unsigned short,
                             const unsigned char*) override { return false; }
    bool GetEthernetInterfaceMode(unsigned short&) override { return false; }
    bool SetEthernetInterfaceMode(const unsigned short) override { return false; }
    bool GetRuntimeSystems(std::vector<unsigned short>&) override { return false; }
    bool GetActiveRuntimeSystem(unsigned short&) override { return false; }
    bool SetActiveRuntimeSystem(const unsigned short) override { return false; }

private:
    ZELL::IConnection* m_connection = nullptr;
};
