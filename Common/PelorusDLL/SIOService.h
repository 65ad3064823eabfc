#pragma once
// The device service over an RS-232 line. The device offers its services
// through a mailbox in register table 99 of node position 0: a request is
// written there, and after a wait the answer is read back from the same
// registers, all over the serial register telegrams.

#include "Common/Communication/PelorusApi.h"
#include "Common/PelorusDLL/ServiceBase.h"

#include <string>
#include <vector>

class CSIORegComm;
class CMailboxAnswer;

// One mailbox service call.
struct PELORUS_API tServiceInfo {
    BYTE byGroup = 0;
    BYTE byService = 0;
    WORD wRequestWords = 0;
    WORD wAnswerWords = 0; // expected; after the call the number the device delivered
    DWORD dwWaitMs = 0;    // before each poll of the answer
};

class PELORUS_API CSIOService : public CServiceBase {
public:
    static const unsigned char MAX_ARGCNT_READ;
    static const unsigned char MAX_ARGUMENT_COUNT;
    // Request or answer words (the data with the mailbox header) that fit the mailbox.
    static constexpr unsigned int kMailboxWords = 256;

    explicit CSIOService(ZELL::IConnection* connection);
    ~CSIOService() override;

    // `data` holds the request words on entry and receives the answer words;
    // it may be null when both counts are 0.
    bool ExecuteService(tServiceInfo& info, unsigned char* data);

    // "12 MBaud", "1.5 MBaud", "500 kBaud".
    static std::wstring FormatBaudrate(double baud);

    bool EnableParamWriting(bool enable) override;
    using CServiceBase::RestartSystem;
    bool RestartSystem() override;
    bool GetParameterChecksum(unsigned short& checksum) override;
    bool SetFactoryDefaults() override;
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
    ZELL::IConnection* GetConnection() override;

    // The table list of devices without the table-info service, probed table
    // by table.
    bool GetTableInfoForOldFBC(std::vector<tFBCTable>& tables);

private:
    using tWords = std::vector<unsigned short>;

    // One service with request words in, answer words out; `answer` gets
    // the words the device delivered (at most `answerWords`), and `answered`
    // whether a sound answer arrived, whatever its status.
    bool Call(BYTE group, BYTE service, const tWords& request, WORD answerWords, tWords& answer, DWORD waitMs = 0,
              bool* answered = nullptr);
    bool Call(BYTE group, BYTE service, const tWords& request);
    bool CallForWords(BYTE group, BYTE service, WORD answerWords, tWords& answer, const tWords& request = {});
    bool CallForTexts(BYTE group, BYTE service, std::size_t textCount, std::vector<std::wstring>& texts,
                      const tWords& request = {});
    bool CallForWord(BYTE group, BYTE service, unsigned short& value);
    bool CallForText(BYTE group, BYTE service, std::wstring& text);
    bool CallForTwoTexts(BYTE group, BYTE service, std::wstring& first, std::wstring& second);
    // Appends the byte count (at most 504) and the bytes, low byte first;
    // false when the request would not fit the mailbox.
    bool PackBytes(tWords& request, unsigned short length, const unsigned char* data);

    bool WriteRequest(const tWords& request);
    bool ReadAnswer(DWORD waitMs, tWords& answer);
    bool MalformedAnswer();
    DWORD StoredCode() const;
    // Register count of a readable table of an old device.
    unsigned int ProbeTableSize(unsigned int table);
    bool ReadOptionalText(std::wstring& field, bool (CSIOService::*read)(std::wstring&));

    CSIORegComm* m_regComm = nullptr;
};
