#include "Common/PelorusDLL/TCPIPServiceBase.h"

#include "Common/Communication/ArticleNumber.h"
#include "Common/Communication/ConnectionBase.h"
#include "Common/Communication/ServiceAPI.h"
#include "Common/Communication/ServiceProtocol.h"
#include "Common/Communication/ZellException.h"
#include "Common/PelorusDLL/FieldbusBaudrate.h"
#include "Common/PelorusDLL/IdentificationText.h"
#include "Common/PelorusDLL/Ping.h"
#include "Platform/Base/Clock.h"
#include "Platform/Base/LastError.h"
#include "Platform/Base/SystemTime.h"
#include "Platform/Base/TextConversion.h"
#include "Platform/Base/WinError.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr WORD kNoStateWord = 0xFFFF;
constexpr unsigned char kPingTtl = 10;
constexpr unsigned short kPingPayload = 32;
constexpr unsigned long kPingTimeoutMs = 5000;

// The device's 8-bit texts are in the thread's ANSI code page, UTF-8 here.
std::wstring TakeText(char* text)
{
    const std::unique_ptr<char[]> owned(text);
    return owned ? Text::Utf8ToWide(owned.get()) : std::wstring();
}

bool FitsWord(unsigned int value)
{
    return value <= 0xFFFF;
}

WORD WordAt(const BYTE* bytes, std::size_t offset)
{
    return static_cast<WORD>(bytes[offset] | (bytes[offset + 1] << 8));
}

void AppendWords(std::vector<unsigned short>& words, const BYTE* bytes, std::size_t byteCount)
{
    for (std::size_t offset = 0; offset + 1 < byteCount; offset += 2)
        words.push_back(WordAt(bytes, offset));
}

}

CTCPIPServiceBase::~CTCPIPServiceBase()
{
    // The API talks through the protocol, so it goes first.
    delete m_serviceAPI;
    delete m_serviceProtocol;
}

void CTCPIPServiceBase::Attach(std::unique_ptr<ZELL::CServiceProtocol> protocol,
                               std::unique_ptr<ZELL::CServiceAPI> api)
{
    delete m_serviceAPI;
    delete m_serviceProtocol;
    m_serviceAPI = nullptr;
    m_serviceProtocol = nullptr;
    if (protocol && api) {
        m_serviceProtocol = protocol.release();
        m_serviceAPI = api.release();
    }
}

ZELL::IConnection* CTCPIPServiceBase::GetConnection()
{
    return m_serviceProtocol != nullptr ? m_serviceProtocol->GetConnection() : nullptr;
}

ZELL::CServiceAPI& CTCPIPServiceBase::Api()
{
    if (m_serviceAPI == nullptr)
        throw CZellException(L"The service has no service API.", static_cast<LONG>(PELORUS_ERROR_NO_CONNECTION));
    return *m_serviceAPI;
}

void CTCPIPServiceBase::EvaluateErrorCode()
{
    // Reading the API's code clears it, so a later failure never finds it stale.
    const DWORD apiCode = m_serviceAPI != nullptr ? m_serviceAPI->GetLastError() : 0;
    SetLastErrorCode(apiCode);
}

bool CTCPIPServiceBase::Evaluated(bool succeeded)
{
    if (!succeeded)
        EvaluateErrorCode();
    return succeeded;
}

void CTCPIPServiceBase::SleepSeconds(WORD seconds)
{
    Sleep(static_cast<DWORD>(std::min(seconds, kMaxDeviceWaitSeconds)) * 1000u);
}

bool CTCPIPServiceBase::CallAndWait(const std::function<bool(ZELL::CServiceAPI&, WORD&)>& call)
{
    WORD seconds = 0;
    if (!Evaluated(call(Api(), seconds)))
        return false;
    SleepSeconds(seconds);
    return true;
}

void CTCPIPServiceBase::EnableLogging(bool on, const wchar_t* logName)
{
    CServiceBase::EnableLogging(on, logName);
    if (m_serviceAPI != nullptr)
        m_serviceAPI->EnableLogging(on, logName);
}

bool CTCPIPServiceBase::EnableParamWriting(bool enable)
{
    return RunOperation(L"CTCPIPServiceBase::EnableParamWriting", __LINE__,
                        [&] { return Evaluated(Api().EnableWriteAccess(enable)); });
}

bool CTCPIPServiceBase::RestartSystem()
{
    return RunOperation(L"CTCPIPServiceBase::RestartSystem", __LINE__, [&] {
        WORD seconds = 0;
        if (!Evaluated(Api().RestartSystem(seconds)))
            return false;
        WaitForRestart(std::min(seconds, kMaxDeviceWaitSeconds), false);
        return true;
    });
}

bool CTCPIPServiceBase::RestartSystemWithoutWaiting()
{
    return RunOperation(L"CTCPIPServiceBase::RestartSystemWithoutWaiting", __LINE__, [&] {
        WORD seconds = 0;
        return Evaluated(Api().RestartSystem(seconds));
    });
}

bool CTCPIPServiceBase::GetParameterChecksum(unsigned short&)
{
    return RunOperation(L"CTCPIPServiceBase::GetParameterChecksum", __LINE__, [&] {
        SetLastErrorCode(PELORUS_ERROR_SERVICE_NOT_SUPPORTED);
        return false;
    });
}

bool CTCPIPServiceBase::SetFactoryDefaults()
{
    return RunOperation(L"CTCPIPServiceBase::SetFactoryDefaults", __LINE__, [&] {
        return CallAndWait([](ZELL::CServiceAPI& api, WORD& seconds) { return api.ResetParameter(seconds); });
    });
}

bool CTCPIPServiceBase::SetFactoryDefaultsWithoutWaiting()
{
    return RunOperation(L"CTCPIPServiceBase::SetFactoryDefaultsWithoutWaiting", __LINE__, [&] {
        WORD seconds = 0;
        return Evaluated(Api().ResetParameter(seconds));
    });
}

bool CTCPIPServiceBase::SaveParameter()
{
    return RunOperation(L"CTCPIPServiceBase::SaveParameter", __LINE__, [&] {
        return CallAndWait([](ZELL::CServiceAPI& api, WORD& seconds) { return api.StoreParameter(seconds); });
    });
}

bool CTCPIPServiceBase::GetFBCStates(std::vector<unsigned short>& states)
{
    return RunOperation(L"CTCPIPServiceBase::GetFBCStates", __LINE__, [&] {
        ZELL::t_DeviceStates words;
        std::fill(std::begin(words.words), std::end(words.words), kNoStateWord);
        if (!Evaluated(Api().GetDeviceState(words)))
            return false;
        // An older device sends eight words; the ninth then keeps its marker.
        const std::size_t count = words.words[8] == kNoStateWord ? 8 : 9;
        states.assign(words.words, words.words + count);
        return true;
    });
}

bool CTCPIPServiceBase::GetAddressSwitchSetting(unsigned short& value)
{
    return RunOperation(L"CTCPIPServiceBase::GetAddressSwitchSetting", __LINE__,
                        [&] { return Evaluated(Api().GetAddressSwitchSetting(value)); });
}

bool CTCPIPServiceBase::ReadIdentification(CIdentificationText& text)
{
    char* raw = nullptr;
    const bool answered = Api().IdentifyDevice(&raw);
    const std::wstring answer = TakeText(raw);
    if (!Evaluated(answered))
        return false;
    if (!text.Parse(answer)) {
        Log(L" ### LEAVE - %s with false (Line %d)\n", L"CTCPIPServiceBase::ReadIdentification", __LINE__);
        SetLastErrorCode(PELORUS_ERROR_INVALID_ARGUMENT);
        return false;
    }
    return true;
}

bool CTCPIPServiceBase::ReadIdentificationValues(const wchar_t* name, int line,
                                                 const std::function<void(const CIdentificationText&)>& take)
{
    return RunOperation(name, line, [&] {
        CIdentificationText text;
        if (!ReadIdentification(text))
            return false;
        take(text);
        return true;
    });
}

bool CTCPIPServiceBase::ReadFBCIdentification(tFbcIdentification* id)
{
    return RunOperation(L"CTCPIPServiceBase::ReadFBCIdentification", __LINE__, [&] {
        if (id == nullptr) {
            SetLastErrorCode(PELORUS_ERROR_INVALID_ARGUMENT);
            return false;
        }
        CIdentificationText text;
        if (!ReadIdentification(text))
            return false;
        id->strOrderNumber = CArticleNumber(text.Value(L"ORDER")).GetText(true);
        id->strDescription = text.Value(L"DESCR");
        id->strHardwareVersion = text.Value(L"HW-VER");
        id->strSoftwareVersion = text.Value(L"SW-VER");
        id->strFirmwareLoaderVersion = text.Value(L"FWL-VER");
        id->strSerialNumber = text.Value(L"SN");
        id->strFieldbusBaudrate = text.Value(L"BAUD");
        id->strQSString = text.Value(L"QS-STRING");
        id->strFirmwareBurnDate = text.Value(L"FW-BURN-DATE");
        id->strProductionSerialNumber = text.Value(L"PSN");
        id->strIMEI = text.Value(L"IMEI");
        return true;
    });
}

bool CTCPIPServiceBase::IdentifyDevice(std::wstring& order, std::wstring& description, std::wstring& hwVersion,
                                       std::wstring& swVersion)
{
    return ReadIdentificationValues(L"CTCPIPServiceBase::IdentifyDevice", __LINE__,
                                    [&](const CIdentificationText& text) {
                                        order = CArticleNumber(text.Value(L"ORDER")).GetText(true);
                                        description = text.Value(L"DESCR");
                                        hwVersion = text.Value(L"HW-VER");
                                        swVersion = text.Value(L"SW-VER");
                                    });
}

bool CTCPIPServiceBase::GetFWLVersion(std::wstring& version)
{
    return ReadIdentificationValues(L"CTCPIPServiceBase::GetFWLVersion", __LINE__,
                                    [&](const CIdentificationText& text) { version = text.Value(L"FWL-VER"); });
}

bool CTCPIPServiceBase::GetSerialNumber(std::wstring& serial)
{
    return ReadIdentificationValues(L"CTCPIPServiceBase::GetSerialNumber", __LINE__,
                                    [&](const CIdentificationText& text) { serial = text.Value(L"SN"); });
}

bool CTCPIPServiceBase::GetProductionMarking(std::wstring& first, std::wstring& second)
{
    return ReadIdentificationValues(L"CTCPIPServiceBase::GetProductionMarking", __LINE__,
                                    [&](const CIdentificationText& text) {
                                        first.clear();
                                        second = text.Value(L"QS-STRING");
                                    });
}

bool CTCPIPServiceBase::GetCPUInfo(std::wstring& burnDate, std::wstring& productionSerial)
{
    return ReadIdentificationValues(L"CTCPIPServiceBase::GetCPUInfo", __LINE__, [&](const CIdentificationText& text) {
        burnDate = text.Value(L"FW-BURN-DATE");
        productionSerial = text.Value(L"PSN");
    });
}

bool CTCPIPServiceBase::GetIMEI(std::wstring& imei)
{
    return ReadIdentificationValues(L"CTCPIPServiceBase::GetIMEI", __LINE__,
                                    [&](const CIdentificationText& text) { imei = text.Value(L"IMEI"); });
}

bool CTCPIPServiceBase::GetFieldbusBaudrate(double& baud)
{
    return RunOperation(L"CTCPIPServiceBase::GetFieldbusBaudrate", __LINE__, [&] {
        CIdentificationText text;
        if (!ReadIdentification(text))
            return false;
        const std::wstring value = text.Value(L"BAUD");
        if (ZELL::ParseFieldbusBaudrate(value, baud))
            return true;
        // "--" is the device's own word for "no fieldbus rate"; anything
        // else that does not start with a number is a malformed answer.
        SetLastErrorCode(value == L"--" ? PELORUS_ERROR_PARAMETER_NOT_PRESENT : PELORUS_ERROR_INVALID_ARGUMENT);
        return false;
    });
}

bool CTCPIPServiceBase::EnableBKMonitorModeWithoutCheck(bool on)
{
    return RunOperation(L"CTCPIPServiceBase::EnableBKMonitorModeWithoutCheck", __LINE__,
                        [&] { return Evaluated(Api().EnableMonitorMode(on)); });
}

bool CTCPIPServiceBase::EnableBKControlModeWithoutCheck(bool on)
{
    return RunOperation(L"CTCPIPServiceBase::EnableBKControlModeWithoutCheck", __LINE__,
                        [&] { return Evaluated(Api().EnableControlMode(on)); });
}

bool CTCPIPServiceBase::GetNetworkID(std::wstring& networkId, std::wstring& macAddress)
{
    return RunOperation(L"CTCPIPServiceBase::GetNetworkID", __LINE__, [&] {
        char* raw = nullptr;
        const bool answered = Api().GetNetworkID(&raw);
        const std::wstring answer = TakeText(raw);
        if (!Evaluated(answered))
            return false;
        if (CIdentificationText::SplitNetworkID(answer, networkId, macAddress))
            return true;
        SetLastErrorCode(PELORUS_ERROR_INVALID_ARGUMENT);
        return false;
    });
}

bool CTCPIPServiceBase::SetFactoryTestMode(const unsigned short mode)
{
    return RunOperation(L"CTCPIPServiceBase::SetFactoryTestMode", __LINE__, [&] {
        const ZELL::t_Test_Bits bits{mode};
        return Evaluated(Api().SetFactoryTestMode(bits));
    });
}

bool CTCPIPServiceBase::GetTerminalBusState(std::vector<unsigned short>& state)
{
    return RunOperation(L"CTCPIPServiceBase::GetTerminalBusState", __LINE__, [&] {
        ZELL::t_KBusState answer{};
        if (!Evaluated(Api().GetTerminalBusState(answer)))
            return false;
        state.clear();
        AppendWords(state, answer.bytes, sizeof answer.bytes);
        state.push_back(answer.word);
        return true;
    });
}

bool CTCPIPServiceBase::GetInternalVariable(const unsigned short index, std::wstring& name, std::wstring& value)
{
    return RunOperation(L"CTCPIPServiceBase::GetInternalVariable", __LINE__, [&] {
        if (index == 0) {
            SetLastErrorCode(PELORUS_ERROR_INVALID_ARGUMENT);
            return false;
        }
        char* raw = nullptr;
        const bool answered = Api().GetInternalVariables(&raw);
        const std::wstring answer = TakeText(raw);
        if (!Evaluated(answered))
            return false;
        if (CIdentificationText::InternalVariable(answer, index, name, value))
            return true;
        // As a device answers for a variable it does not have, so that
        // callers can fall back to another one.
        SetLastErrorCode(PELORUS_ERROR_PARAMETER_NOT_PRESENT);
        return false;
    });
}

bool CTCPIPServiceBase::GetTableInfo(std::vector<tFBCTable>& tables)
{
    return RunOperation(L"CTCPIPServiceBase::GetTableInfo", __LINE__, [&] {
        WORD count = 0;
        ZELL::t_Table_Details* raw = nullptr;
        const bool answered = Api().GetTableInfo(count, &raw);
        const std::unique_ptr<ZELL::t_Table_Details[]> details(raw);
        if (!Evaluated(answered))
            return false;
        tables.clear();
        for (WORD i = 0; i < count && details; ++i)
            tables.push_back(static_cast<tFBCTable>((details[i].tableNumber << 9) | (details[i].registerCount & 0x1FF)));
        std::sort(tables.begin(), tables.end());
        return true;
    });
}

bool CTCPIPServiceBase::EnableTerminalBusExtension(bool on)
{
    return RunOperation(L"CTCPIPServiceBase::EnableTerminalBusExtension", __LINE__,
                        [&] { return Evaluated(Api().EnableTerminalBusExtension(on)); });
}

bool CTCPIPServiceBase::GetRealTimeClock(unsigned int& seconds, short& zoneHours)
{
    return RunOperation(L"CTCPIPServiceBase::GetRealTimeClock", __LINE__, [&] {
        DWORD time = 0;
        if (!Evaluated(Api().GetRealTimeClock(time, zoneHours)))
            return false;
        seconds = time;
        return true;
    });
}

bool CTCPIPServiceBase::SetRealTimeClock(const unsigned int& seconds, const short& zoneHours)
{
    return RunOperation(L"CTCPIPServiceBase::SetRealTimeClock", __LINE__,
                        [&] { return Evaluated(Api().SetRealTimeClock(seconds, zoneHours)); });
}

bool CTCPIPServiceBase::GetDateTime(unsigned int& seconds, short& zoneMinutes, short& daylightSaving)
{
    seconds = 0;
    zoneMinutes = 0;
    daylightSaving = -1;
    return RunOperation(L"CTCPIPServiceBase::GetDateTime", __LINE__, [&] {
        DWORD time = 0;
        short zone = 0;
        short daylight = -1;
        if (!Evaluated(Api().GetDateTime(time, zone, daylight)))
            return false;
        seconds = time;
        zoneMinutes = zone;
        daylightSaving = daylight;
        return true;
    });
}

bool CTCPIPServiceBase::SetDateTime(const unsigned int& seconds, const short& zoneMinutes,
                                    const short& daylightSaving)
{
    return RunOperation(L"CTCPIPServiceBase::SetDateTime", __LINE__,
                        [&] { return Evaluated(Api().SetDateTime(seconds, zoneMinutes, daylightSaving)); });
}

bool CTCPIPServiceBase::ControlParamSequence(const unsigned short first, const unsigned short second,
                                             const unsigned short third)
{
    return RunOperation(L"CTCPIPServiceBase::ControlParamSequence", __LINE__,
                        [&] { return Evaluated(Api().ControlParamSequence(first, second, third)); });
}

bool CTCPIPServiceBase::EnableTerminalControlMode(unsigned short first, unsigned short second, unsigned short third,
                                                  unsigned short length, const unsigned char* data)
{
    return RunOperation(L"CTCPIPServiceBase::EnableTerminalControlMode", __LINE__, [&] {
        if (length != 0 && data == nullptr) {
            SetLastErrorCode(PELORUS_ERROR_INVALID_ARGUMENT);
            return false;
        }
        return Evaluated(Api().EnableTerminalControlMode(first, second, third, length, data));
    });
}

bool CTCPIPServiceBase::GetTerminalControlModeStatus(unsigned short& first, unsigned short& second,
                                                     unsigned short& third)
{
    return RunOperation(L"CTCPIPServiceBase::GetTerminalControlModeStatus", __LINE__,
                        [&] { return Evaluated(Api().GetTerminalControlModeStatus(first, second, third)); });
}

bool CTCPIPServiceBase::TerminalBusReset()
{
    return RunOperation(L"CTCPIPServiceBase::TerminalBusReset", __LINE__, [&] {
        return CallAndWait([](ZELL::CServiceAPI& api, WORD& seconds) { return api.RestartTerminalBus(seconds); });
    });
}

bool CTCPIPServiceBase::ClearTerminalBusMonitor()
{
    return RunOperation(L"CTCPIPServiceBase::ClearTerminalBusMonitor", __LINE__, [&] {
        return CallAndWait(
            [](ZELL::CServiceAPI& api, WORD& seconds) { return api.ClearTerminalBusMonitor(seconds); });
    });
}

bool CTCPIPServiceBase::ResetTerminalBusMonitorPtr()
{
    return RunOperation(L"CTCPIPServiceBase::ResetTerminalBusMonitorPtr", __LINE__, [&] {
        return CallAndWait(
            [](ZELL::CServiceAPI& api, WORD& seconds) { return api.SetTerminalBusMonitorFirst(seconds); });
    });
}

bool CTCPIPServiceBase::GetTerminalBusMonitorEntry(tKBMonEntry& entry, long long* readTime)
{
    return RunOperation(L"CTCPIPServiceBase::GetTerminalBusMonitorEntry", __LINE__, [&] {
        ZELL::t_KBMEntry answer{};
        if (!Evaluated(Api().GetTerminalBusMonitorEntry(answer)))
            return false;
        if (readTime != nullptr)
            *readTime = _time64(nullptr);
        entry.dwEventTime = static_cast<DWORD>(WordAt(answer.bytes, 0) | (DWORD{WordAt(answer.bytes, 2)} << 16));
        entry.sErrorCode = static_cast<SHORT>(WordAt(answer.bytes, 4));
        entry.byArgument = answer.bytes[6];
        entry.byFlags = answer.bytes[7];
        entry.dwReferenceTime = answer.value;
        return true;
    });
}

bool CTCPIPServiceBase::GetTerminalBusMonitorSize(unsigned short& count)
{
    return RunOperation(L"CTCPIPServiceBase::GetTerminalBusMonitorSize", __LINE__,
                        [&] { return Evaluated(Api().GetTerminalBusMonitorSize(count)); });
}

bool CTCPIPServiceBase::GetServiceState(unsigned char group, unsigned char service, tServiceState& state)
{
    return RunOperation(L"CTCPIPServiceBase::GetServiceState", __LINE__, [&] {
        const WORD command = static_cast<WORD>((group << 8) | service);
        WORD answered = 0;
        if (!Evaluated(Api().GetCommandState(command, answered)))
            return false;
        state = tServiceState{command, answered, 0};
        return true;
    });
}

bool CTCPIPServiceBase::ExtractFiles(const unsigned short what)
{
    return RunOperation(L"CTCPIPServiceBase::ExtractFiles", __LINE__, [&] {
        return CallAndWait([what](ZELL::CServiceAPI& api, WORD& seconds) {
            return api.ExtractFiles(seconds, static_cast<ZELL::eFileGroups>(what));
        });
    });
}

bool CTCPIPServiceBase::FormatFlashDisk(const unsigned short what)
{
    return RunOperation(L"CTCPIPServiceBase::FormatFlashDisk", __LINE__, [&] {
        return CallAndWait(
            [what](ZELL::CServiceAPI& api, WORD& seconds) { return api.FormatFileSystem(seconds, what); });
    });
}

bool CTCPIPServiceBase::GetSDCardStatus(std::vector<unsigned short>& words)
{
    return RunOperation(L"CTCPIPServiceBase::GetSDCardStatus", __LINE__, [&] {
        ZELL::t_SDCardStatus status{};
        if (!Evaluated(Api().GetSDCardStatus(status)))
            return false;
        words.clear();
        AppendWords(words, status.bytes, sizeof status.bytes);
        words.push_back(static_cast<unsigned short>(status.value & 0xFFFF));
        words.push_back(static_cast<unsigned short>(status.value >> 16));
        words.push_back(status.word);
        return true;
    });
}

bool CTCPIPServiceBase::GetPLCRootLocation(unsigned short& location)
{
    return RunOperation(L"CTCPIPServiceBase::GetPLCRootLocation", __LINE__,
                        [&] { return Evaluated(Api().GetPLCRootLocation(location)); });
}

bool CTCPIPServiceBase::SetPLCRootLocation(const unsigned short location)
{
    return RunOperation(L"CTCPIPServiceBase::SetPLCRootLocation", __LINE__, [&] {
        return CallAndWait([location](ZELL::CServiceAPI& api, WORD& seconds) {
            return api.SetPLCRootLocation(seconds, location);
        });
    });
}

bool CTCPIPServiceBase::RegisterArgumentsFit(unsigned int position, unsigned int table, unsigned int start,
                                             unsigned int count, const unsigned short* data)
{
    // A truncated number would address another table or register.
    const bool fit = FitsWord(position) && FitsWord(table) && FitsWord(start) && FitsWord(count) &&
                     (count == 0 || data != nullptr);
    if (!fit)
        SetLastErrorCode(PELORUS_ERROR_INVALID_ARGUMENT);
    return fit;
}

bool CTCPIPServiceBase::WriteRegister(unsigned int position, unsigned int table, unsigned int start,
                                      unsigned int count, const unsigned short* data)
{
    return RunOperation(L"CTCPIPServiceBase::WriteRegister", __LINE__, [&] {
        if (!RegisterArgumentsFit(position, table, start, count, data))
            return false;
        return Evaluated(Api().WriteRegister(static_cast<WORD>(position), static_cast<WORD>(table),
                                             static_cast<WORD>(start), static_cast<WORD>(count), data, false));
    });
}

bool CTCPIPServiceBase::ReadRegister(unsigned int position, unsigned int table, unsigned int start,
                                     unsigned int count, unsigned short* data)
{
    return RunOperation(L"CTCPIPServiceBase::ReadRegister", __LINE__, [&] {
        if (!RegisterArgumentsFit(position, table, start, count, data))
            return false;
        return Evaluated(Api().ReadRegister(static_cast<WORD>(position), static_cast<WORD>(table),
                                            static_cast<WORD>(start), static_cast<WORD>(count), data));
    });
}

bool CTCPIPServiceBase::GetNetworkParameter(const unsigned short interfaceIndex, const unsigned short id,
                                            const unsigned short kind, unsigned short& length, unsigned char** data)
{
    return RunOperation(L"CTCPIPServiceBase::GetNetworkParameter", __LINE__, [&] {
        if (data == nullptr) {
            SetLastErrorCode(PELORUS_ERROR_INVALID_ARGUMENT);
            return false;
        }
        WORD answerLength = 0;
        BYTE* raw = nullptr;
        const bool answered = Api().GetNetworkParameter(interfaceIndex, id, kind, answerLength, &raw);
        std::unique_ptr<BYTE[]> answer(raw);
        if (!Evaluated(answered))
            return false;
        // The caller's buffer is kept when it has the answer's size.
        if (*data != nullptr && answerLength == length) {
            if (answerLength != 0)
                std::memcpy(*data, answer.get(), answerLength);
        } else {
            delete[] *data;
            *data = answer.release();
        }
        length = answerLength;
        return true;
    });
}

bool CTCPIPServiceBase::SetNetworkParameter(const unsigned short interfaceIndex, const unsigned short id,
                                            const unsigned short kind, const unsigned short length,
                                            const unsigned char* data)
{
    return RunOperation(L"CTCPIPServiceBase::SetNetworkParameter", __LINE__, [&] {
        if (length != 0 && data == nullptr) {
            SetLastErrorCode(PELORUS_ERROR_INVALID_ARGUMENT);
            return false;
        }
        return Evaluated(Api().SetNetworkParameter(interfaceIndex, id, kind, length, data));
    });
}

bool CTCPIPServiceBase::GetEthernetInterfaceMode(unsigned short& mode)
{
    return RunOperation(L"CTCPIPServiceBase::GetEthernetInterfaceMode", __LINE__,
                        [&] { return Evaluated(Api().GetEthernetInterfaceMode(mode)); });
}

bool CTCPIPServiceBase::SetEthernetInterfaceMode(const unsigned short mode)
{
    return RunOperation(L"CTCPIPServiceBase::SetEthernetInterfaceMode", __LINE__,
                        [&] { return Evaluated(Api().SetEthernetInterfaceMode(mode)); });
}

bool CTCPIPServiceBase::GetRuntimeSystems(std::vector<unsigned short>& systems)
{
    return RunOperation(L"CTCPIPServiceBase::GetRuntimeSystems", __LINE__, [&] {
        WORD* raw = nullptr;
        DWORD count = 0;
        const bool answered = Api().GetRuntimeSystems(&raw, count);
        const std::unique_ptr<WORD[]> list(raw);
        if (!Evaluated(answered))
            return false;
        systems.assign(list.get(), list.get() + (list ? count : 0));
        return true;
    });
}

bool CTCPIPServiceBase::GetActiveRuntimeSystem(unsigned short& system)
{
    return RunOperation(L"CTCPIPServiceBase::GetActiveRuntimeSystem", __LINE__,
                        [&] { return Evaluated(Api().GetActiveRuntimeSystem(system)); });
}

bool CTCPIPServiceBase::SetActiveRuntimeSystem(const unsigned short system)
{
    return RunOperation(L"CTCPIPServiceBase::SetActiveRuntimeSystem", __LINE__,
                        [&] { return Evaluated(Api().SetActiveRuntimeSystem(system)); });
}

std::unique_ptr<CPing> CTCPIPServiceBase::CreatePing() const
{
    return std::make_unique<CPing>();
}

CTCPIPServiceBase::ENPingResult CTCPIPServiceBase::PingHost(const std::wstring& host, unsigned short attempts,
                                                            unsigned long timeoutMs)
{
    const std::unique_ptr<CPing> ping = CreatePing();
    const unsigned short tries = std::max<unsigned short>(attempts, 1);
    for (unsigned short i = 0; i < tries; ++i) {
        tPingReply reply;
        SetLastError(0);
        if (ping->PingUsingICMP(host.c_str(), &reply, kPingTtl, timeoutMs, kPingPayload, 0, false))
            return ENPingResult::Answered;
        // Without any ICMP on this system a ping says nothing about the device.
        if (GetLastError() == ERROR_CALL_NOT_IMPLEMENTED || !ping->IsICMPAvailable())
            return ENPingResult::NoICMP;
    }
    return ENPingResult::NoAnswer;
}

bool CTCPIPServiceBase::Ping(std::wstring host, unsigned short attempts)
{
    return PingThenProbe(host, attempts, kPingTimeoutMs);
}

bool CTCPIPServiceBase::PingThenProbe(const std::wstring& host, unsigned short attempts, unsigned long timeoutMs)
{
    switch (PingHost(host, attempts, timeoutMs)) {
    case ENPingResult::NoAnswer:
        SetLastErrorCode(PELORUS_ERROR_NO_PING_ANSWER);
        return false;
    case ENPingResult::NoICMP:
        Log(L"  ## ERROR - %s error code = 0x%08X (Line %d)\n", L"CTCPIPServiceBase::CheckCommunication",
            static_cast<DWORD>(ERROR_CALL_NOT_IMPLEMENTED), __LINE__);
        break;
    case ENPingResult::Answered:
        break;
    }
    // A host that answers is not yet a device that does.
    return CServiceBase::CheckCommunication(attempts);
}

bool CTCPIPServiceBase::CheckCommunication(unsigned short attempts)
{
    return RunOperation(L"CTCPIPServiceBase::CheckCommunication", __LINE__, [&] {
        auto* connection = dynamic_cast<ZELL::CConnectionBase*>(GetConnection());
        if (connection == nullptr) {
            SetLastErrorCode(PELORUS_ERROR_NO_CONNECTION);
            return false;
        }
        const std::wstring host = connection->GetSettingsValue(L"IP-Address");
        const unsigned long seconds = std::min<unsigned long>(GetCheckConnectionTimeoutSeconds(), 0xFFFFFFFFul / 1000);
        return PingThenProbe(host, attempts, seconds * 1000);
    });
}
