#include "Common/PelorusDLL/SIOService.h"

#include "Common/Communication/ArticleNumber.h"
#include "Common/PelorusDLL/MailboxAnswer.h"
#include "Common/PelorusDLL/SIORegComm.h"
#include "Common/SystemHelper/Values/StringUtils.h"
#include "Platform/Base/Clock.h"
#include "Platform/Base/LastError.h"
#include "Platform/Base/SystemTime.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <cwchar>
#include <iterator>

const unsigned char CSIOService::MAX_ARGCNT_READ = 41;
const unsigned char CSIOService::MAX_ARGUMENT_COUNT = 250;

namespace {

constexpr unsigned int kMailboxPosition = CSIORegComm::kMailboxPosition;
constexpr unsigned int kMailboxTable = CSIORegComm::kMailboxTable;
constexpr unsigned int kMaxTelegramWords = MAX_DATA_LEN;
constexpr unsigned int kPollAttempts = 3;
constexpr unsigned short kWriteAccessCode = 0x5C3B;
constexpr DWORD kRestartPollWaitMs = 500;
constexpr unsigned short kMaxBlockBytes = 504;
constexpr DWORD kInterfaceModeBusy = 0x2008821D;
constexpr DWORD kNoSuchTable = 0x20088200;
constexpr WORD kTextAnswerWords = CSIOService::MAX_ARGCNT_READ;
// A corrupt announcement must not stall the caller for hours.
constexpr DWORD kMaxInterfaceModeWaitSeconds = 600;

// Group and service of each mailbox service.
enum : BYTE { GROUP_DEVICE = 0x01, GROUP_TERMINAL_BUS = 0x02, GROUP_FILES = 0x03, GROUP_NETWORK = 0x05,
              GROUP_RUNTIME = 0x06 };

// Sub-commands of the terminal-bus monitor service 02/20.
enum : unsigned short { MONITOR_CLEAR = 0, MONITOR_RESET_POINTER = 1, MONITOR_ENTRY = 2, MONITOR_SIZE = 3 };

unsigned short Low(unsigned int value) { return static_cast<unsigned short>(value & 0xFFFF); }
unsigned short High(unsigned int value) { return static_cast<unsigned short>(value >> 16); }
unsigned int Join(unsigned short low, unsigned short high) { return low | static_cast<unsigned int>(high) << 16; }

std::wstring FormattedOrderNumber(const std::wstring& order)
{
    CArticleNumber number(order);
    return number.GetText(true);
}

}

CSIOService::CSIOService(ZELL::IConnection* connection) : m_regComm(new CSIORegComm(connection))
{
    ResetLastErrorCode();
}

CSIOService::~CSIOService()
{
    delete m_regComm;
}

ZELL::IConnection* CSIOService::GetConnection()
{
    return m_regComm->GetCommInterface();
}

// --- the mailbox ---

bool CSIOService::ExecuteService(tServiceInfo& info, unsigned char* data)
{
    return RunOperation(L"CSIOService::ExecuteService", __LINE__, [&] {
        if (data == nullptr && (info.wRequestWords != 0 || info.wAnswerWords != 0)) {
            SetLastErrorCode(PELORUS_ERROR_INVALID_ARGUMENT);
            return false;
        }
        tWords request(info.wRequestWords);
        if (!request.empty())
            std::memcpy(request.data(), data, request.size() * sizeof(unsigned short));
        tWords answer;
        bool answered = false;
        const bool done =
            Call(info.byGroup, info.byService, request, info.wAnswerWords, answer, info.dwWaitMs, &answered);
        if (!answered)
            return false;
        if (info.wAnswerWords != 0) {
            // Words the device did not deliver are cleared, not left over from the request.
            std::memset(data, 0, info.wAnswerWords * sizeof(unsigned short));
            std::memcpy(data, answer.data(), answer.size() * sizeof(unsigned short));
        }
        info.wAnswerWords = static_cast<WORD>(answer.size());
        return done;
    });
}

bool CSIOService::Call(BYTE group, BYTE service, const tWords& request, WORD answerWords, tWords& answer,
                       DWORD waitMs, bool* answered)
{
    answer.clear();
    if (answered != nullptr)
        *answered = false;
    const std::size_t answerTotal = answerWords + CMailboxAnswer::kHeaderWords;
    if (request.size() + 2 > kMailboxWords || answerTotal > kMailboxWords) {
        SetLastErrorCode(PELORUS_ERROR_INVALID_ARGUMENT);
        return false;
    }
    tWords words{static_cast<unsigned short>(group | service << 8), static_cast<unsigned short>(request.size())};
    words.insert(words.end(), request.begin(), request.end());
    if (!WriteRequest(words))
        return false;
    tWords raw(answerTotal);
    if (!ReadAnswer(waitMs, raw))
        return false;
    if (const DWORD malformed = CMailboxAnswer::CheckHeader(raw.data(), raw.size())) {
        SetLastErrorCode(malformed);
        return false;
    }
    const auto first = raw.begin() + CMailboxAnswer::kHeaderWords;
    answer.assign(first, first + (raw[1] - 1));
    if (answered != nullptr)
        *answered = true;
    if (const DWORD status = CMailboxAnswer::StatusToError(raw[2])) {
        SetLastErrorCode(status);
        return false;
    }
    return true;
}

bool CSIOService::WriteRequest(const tWords& request)
{
    bool written = false;
    if (request.size() > kMaxTelegramWords) {
        // Writing register 0 starts the service: it goes last, after the rest is in place.
        written = m_regComm->WriteRegister(kMailboxPosition, kMailboxTable, 1,
                                            static_cast<unsigned int>(request.size() - 1), request.data() + 1) &&
                  m_regComm->WriteRegister(kMailboxPosition, kMailboxTable, 0, 1, request.data());
    } else {
        written = m_regComm->WriteRegister(kMailboxPosition, kMailboxTable, 0,
                                            static_cast<unsigned int>(request.size()), request.data());
    }
    if (!written)
        SetLastErrorCode(GetLastError());
    return written;
}

bool CSIOService::ReadAnswer(DWORD waitMs, tWords& answer)
{
    for (unsigned int attempt = 0; attempt < kPollAttempts; ++attempt) {
        Sleep(waitMs);
        if (m_regComm->ReadRegister(kMailboxPosition, kMailboxTable, 0, static_cast<unsigned int>(answer.size()),
                                     answer.data()))
            return true;
        // Without a wait the device had no time to finish: asking again would not help.
        if (waitMs == 0)
            break;
    }
    SetLastErrorCode(GetLastError());
    return false;
}

DWORD CSIOService::StoredCode() const
{
    // Every stored code is published as the thread's value; reading it there
    // leaves the stored one for the caller.
    return GetLastError();
}

bool CSIOService::MalformedAnswer()
{
    SetLastErrorCode(PELORUS_ERROR_INVALID_ANSWER_LENGTH);
    return false;
}

bool CSIOService::Call(BYTE group, BYTE service, const tWords& request)
{
    tWords answer;
    return Call(group, service, request, 0, answer);
}

bool CSIOService::CallForWords(BYTE group, BYTE service, WORD answerWords, tWords& answer, const tWords& request)
{
    if (!Call(group, service, request, answerWords, answer))
        return false;
    // A fixed answer that lacks words would be read as zeros.
    if (answerWords != kTextAnswerWords && answer.size() < answerWords)
        return MalformedAnswer();
    return true;
}

bool CSIOService::CallForWord(BYTE group, BYTE service, unsigned short& value)
{
    tWords answer;
    if (!CallForWords(group, service, 1, answer))
        return false;
    value = answer[0];
    return true;
}

bool CSIOService::CallForTexts(BYTE group, BYTE service, std::size_t textCount, std::vector<std::wstring>& texts,
                               const tWords& request)
{
    tWords answer;
    if (!Call(group, service, request, kTextAnswerWords, answer))
        return false;
    if (!CMailboxAnswer(answer.data(), answer.size()).Texts(textCount, texts))
        return MalformedAnswer();
    return true;
}

bool CSIOService::CallForText(BYTE group, BYTE service, std::wstring& text)
{
    std::vector<std::wstring> texts;
    if (!CallForTexts(group, service, 1, texts))
        return false;
    text = texts[0];
    return true;
}

bool CSIOService::CallForTwoTexts(BYTE group, BYTE service, std::wstring& first, std::wstring& second)
{
    std::vector<std::wstring> texts;
    if (!CallForTexts(group, service, 2, texts))
        return false;
    first = texts[0];
    second = texts[1];
    return true;
}

bool CSIOService::PackBytes(tWords& request, unsigned short length, const unsigned char* data)
{
    const unsigned short bytes = std::min(length, kMaxBlockBytes);
    if (data == nullptr && bytes > 0) {
        SetLastErrorCode(PELORUS_ERROR_INVALID_ARGUMENT);
        return false;
    }
    request.push_back(bytes);
    // Checked before the caller's bytes are touched.
    if (request.size() + (bytes + 1u) / 2 + 2 > kMailboxWords) {
        SetLastErrorCode(PELORUS_ERROR_INVALID_ARGUMENT);
        return false;
    }
    for (unsigned short i = 0; i < bytes; i += 2) {
        const unsigned short high = i + 1 < bytes ? data[i + 1] : 0;
        request.push_back(static_cast<unsigned short>(data[i] | high << 8));
    }
    return true;
}

// --- device group ---

bool CSIOService::EnableParamWriting(bool enable)
{
    return RunOperation(L"CSIOService::EnableParamWriting", __LINE__, [&] {
        return Call(GROUP_DEVICE, 0x01, {enable ? kWriteAccessCode : static_cast<unsigned short>(0)});
    });
}

bool CSIOService::RestartSystem()
{
    return RunOperation(L"CSIOService::RestartSystem", __LINE__, [&] {
        if (!EnableParamWriting(true))
            return false;
        const DWORD start = GetTickCount();
        tWords answer;
        const bool restarted = Call(GROUP_DEVICE, 0x02, {}, 0, answer, kRestartPollWaitMs);
        const unsigned long timeout = RestartTimeoutFromSettings();
        if (restarted) {
            const unsigned long elapsed = (GetTickCount() - start) / 1000;
            if (timeout > elapsed)
                WaitForRestart(static_cast<unsigned short>(std::min(timeout - elapsed, 0xFFFFul)), true);
        }
        return restarted;
    });
}

bool CSIOService::GetParameterChecksum(unsigned short& checksum)
{
    return RunOperation(L"CSIOService::GetParameterChecksum", __LINE__,
                        [&] { return CallForWord(GROUP_DEVICE, 0x03, checksum); });
}

bool CSIOService::SetFactoryDefaults()
{
    return RunOperation(L"CSIOService::SetFactoryDefaults", __LINE__, [&] { return Call(GROUP_DEVICE, 0x04, {}); });
}

bool CSIOService::SaveParameter()
{
    return RunOperation(L"CSIOService::SaveParameter", __LINE__, [&] { return Call(GROUP_DEVICE, 0x05, {}); });
}

bool CSIOService::GetFBCStates(std::vector<unsigned short>& states)
{
    return RunOperation(L"CSIOService::GetFBCStates", __LINE__,
                        [&] { return CallForWords(GROUP_DEVICE, 0x06, kTextAnswerWords, states); });
}

bool CSIOService::GetAddressSwitchSetting(unsigned short& value)
{
    return RunOperation(L"CSIOService::GetAddressSwitchSetting", __LINE__, [&] {
        if (CallForWord(GROUP_DEVICE, 0x07, value))
            return true;
        if (StoredCode() != PELORUS_ERROR_SERVICE_NOT_SUPPORTED)
            return false;
        // Older devices answer the switch under this service.
        ResetLastErrorCode();
        return CallForWord(0x00, 0xFF, value);
    });
}

bool CSIOService::IdentifyDevice(std::wstring& order, std::wstring& description, std::wstring& hwVersion,
                                 std::wstring& swVersion)
{
    return RunOperation(L"CSIOService::IdentifyDevice", __LINE__, [&] {
        std::vector<std::wstring> texts;
        if (!CallForTexts(GROUP_DEVICE, 0x08, 4, texts))
            return false;
        order = FormattedOrderNumber(texts[0]);
        description = texts[1];
        hwVersion = texts[2];
        swVersion = texts[3];
        return true;
    });
}

bool CSIOService::GetFieldbusBaudrate(double& baud)
{
    return RunOperation(L"CSIOService::GetFieldbusBaudrate", __LINE__, [&] {
        tWords answer;
        if (!CallForWords(GROUP_DEVICE, 0x09, 2, answer))
            return false;
        baud = answer[0] * std::pow(10.0, answer[1]);
        return true;
    });
}

bool CSIOService::EnableBKMonitorModeWithoutCheck(bool on)
{
    return RunOperation(L"CSIOService::EnableBKMonitorModeWithoutCheck", __LINE__,
                        [&] { return Call(GROUP_DEVICE, 0x0A, {static_cast<unsigned short>(on)}); });
}

bool CSIOService::EnableBKControlModeWithoutCheck(bool on)
{
    return RunOperation(L"CSIOService::EnableBKControlModeWithoutCheck", __LINE__,
                        [&] { return Call(GROUP_DEVICE, 0x0B, {static_cast<unsigned short>(on)}); });
}

bool CSIOService::GetNetworkID(std::wstring& networkId, std::wstring& macAddress)
{
    return RunOperation(L"CSIOService::GetNetworkID", __LINE__,
                        [&] { return CallForTwoTexts(GROUP_DEVICE, 0x0C, networkId, macAddress); });
}

bool CSIOService::GetSerialNumber(std::wstring& serial)
{
    return RunOperation(L"CSIOService::GetSerialNumber", __LINE__, [&] { return CallForText(GROUP_DEVICE, 0x0D, serial); });
}

bool CSIOService::SetFactoryTestMode(const unsigned short mode)
{
    return RunOperation(L"CSIOService::SetFactoryTestMode", __LINE__, [&] { return Call(GROUP_DEVICE, 0x0E, {mode}); });
}

bool CSIOService::GetTerminalBusState(std::vector<unsigned short>& state)
{
    return RunOperation(L"CSIOService::GetTerminalBusState", __LINE__,
                        [&] { return CallForWords(GROUP_DEVICE, 0x0F, kTextAnswerWords, state); });
}

bool CSIOService::GetProductionMarking(std::wstring& first, std::wstring& second)
{
    return RunOperation(L"CSIOService::GetProductionMarking", __LINE__,
                        [&] { return CallForTwoTexts(GROUP_DEVICE, 0x10, first, second); });
}

bool CSIOService::GetInternalVariable(const unsigned short index, std::wstring& name, std::wstring& value)
{
    return RunOperation(L"CSIOService::GetInternalVariable", __LINE__, [&] {
        std::vector<std::wstring> texts;
        if (!CallForTexts(GROUP_DEVICE, 0x11, 1, texts, {index}))
            return false;
        std::vector<std::wstring> parts;
        SplitString(texts[0], L";", parts);
        for (std::wstring& part : parts)
            part = TrimSpacesAndControls(part);
        // Older devices send the value alone; the first indexes have fixed names.
        static const wchar_t* const fixedNames[] = {L"", L"IP address;", L"Subnet mask;", L"Gateway address;"};
        name.clear();
        value.clear();
        if (parts.size() >= 2) {
            name = parts[0];
            value = parts[1];
        } else if (parts.size() == 1) {
            if (index < std::size(fixedNames))
                name = fixedNames[index];
            value = parts[0];
        }
        return true;
    });
}

bool CSIOService::GetFWLVersion(std::wstring& version)
{
    return RunOperation(L"CSIOService::GetFWLVersion", __LINE__, [&] { return CallForText(GROUP_DEVICE, 0x12, version); });
}

bool CSIOService::GetTableInfo(std::vector<tFBCTable>& tables)
{
    return RunOperation(L"CSIOService::GetTableInfo", __LINE__, [&] {
        tWords answer;
        if (Call(GROUP_DEVICE, 0x13, {}, kTextAnswerWords, answer)) {
            if (!CMailboxAnswer(answer.data(), answer.size()).TableInfo(tables))
                return MalformedAnswer();
            return true;
        }
        if (StoredCode() != PELORUS_ERROR_SERVICE_NOT_SUPPORTED)
            return false;
        return GetTableInfoForOldFBC(tables);
    });
}

bool CSIOService::GetTableInfoForOldFBC(std::vector<tFBCTable>& tables)
{
    return RunOperation(L"CSIOService::GetTableInfoForOldFBC", __LINE__, [&] {
        tables.clear();
        unsigned short word = 0;
        for (unsigned int table = 0; table < MAXCOUNT_TABLES; ++table) {
            if (m_regComm->ReadRegister(0, table, 0, 1, &word)) {
                tables.push_back(static_cast<tFBCTable>(table << 9 | (ProbeTableSize(table) & 0x1FF)));
                continue;
            }
            const DWORD code = GetLastError();
            if (code == kNoSuchTable)
                continue;
            if (code == PELORUS_ERROR_REGISTER_OUT_OF_RANGE) {
                tables.push_back(static_cast<tFBCTable>(table << 9));
                SetLastError(0);
                continue;
            }
            tables.clear();
            SetLastErrorCode(code);
            return false;
        }
        return true;
    });
}

unsigned int CSIOService::ProbeTableSize(unsigned int table)
{
    unsigned short words[2] = {};
    if (m_regComm->ReadRegister(0, table, kMaxCountRegisters - 1, 1, words))
        return kMaxCountRegisters;
    unsigned int start = 0;
    while (start < kMaxCountRegisters && m_regComm->ReadRegister(0, table, start, 2, words))
        start += 2;
    SetLastError(0);
    return start;
}

bool CSIOService::GetCPUInfo(std::wstring& burnDate, std::wstring& productionSerial)
{
    return RunOperation(L"CSIOService::GetCPUInfo", __LINE__,
                        [&] { return CallForTwoTexts(GROUP_DEVICE, 0x14, burnDate, productionSerial); });
}

bool CSIOService::EnableTerminalBusExtension(bool on)
{
    return RunOperation(L"CSIOService::EnableTerminalBusExtension", __LINE__,
                        [&] { return Call(GROUP_DEVICE, 0x15, {static_cast<unsigned short>(on)}); });
}

bool CSIOService::GetRealTimeClock(unsigned int& seconds, short& zoneHours)
{
    return RunOperation(L"CSIOService::GetRealTimeClock", __LINE__, [&] {
        tWords answer;
        if (!CallForWords(GROUP_DEVICE, 0x16, 3, answer))
            return false;
        seconds = Join(answer[0], answer[1]);
        zoneHours = static_cast<short>(answer[2]);
        return true;
    });
}

bool CSIOService::SetRealTimeClock(const unsigned int& seconds, const short& zoneHours)
{
    return RunOperation(L"CSIOService::SetRealTimeClock", __LINE__, [&] {
        return Call(GROUP_DEVICE, 0x17, {Low(seconds), High(seconds), static_cast<unsigned short>(zoneHours)});
    });
}

bool CSIOService::GetDateTime(unsigned int& seconds, short& zoneMinutes, short& daylightSaving)
{
    return RunOperation(L"CSIOService::GetDateTime", __LINE__, [&] {
        tWords answer;
        if (!CallForWords(GROUP_DEVICE, 0x18, 4, answer))
            return false;
        seconds = Join(answer[0], answer[1]);
        zoneMinutes = static_cast<short>(answer[2]);
        daylightSaving = static_cast<short>(answer[3]);
        return true;
    });
}

bool CSIOService::SetDateTime(const unsigned int& seconds, const short& zoneMinutes, const short& daylightSaving)
{
    return RunOperation(L"CSIOService::SetDateTime", __LINE__, [&] {
        return Call(GROUP_DEVICE, 0x19,
                    {Low(seconds), High(seconds), static_cast<unsigned short>(zoneMinutes),
                     static_cast<unsigned short>(daylightSaving)});
    });
}

bool CSIOService::ControlParamSequence(const unsigned short first, const unsigned short second,
                                       const unsigned short third)
{
    // The device takes the words in the order of the TCP/IP frame.
    return RunOperation(L"CSIOService::ControlParamSequence", __LINE__,
                        [&] { return Call(GROUP_DEVICE, 0x20, {first, third, second}); });
}

bool CSIOService::EnableTerminalControlMode(unsigned short first, unsigned short second, unsigned short third,
                                            unsigned short length, const unsigned char* data)
{
    return RunOperation(L"CSIOService::EnableTerminalControlMode", __LINE__, [&] {
        tWords request{first, second, third};
        return PackBytes(request, length, data) && Call(GROUP_DEVICE, 0x21, request);
    });
}

bool CSIOService::GetTerminalControlModeStatus(unsigned short& first, unsigned short& second, unsigned short& third)
{
    return RunOperation(L"CSIOService::GetTerminalControlModeStatus", __LINE__, [&] {
        tWords answer;
        if (!CallForWords(GROUP_DEVICE, 0x22, 3, answer))
            return false;
        first = answer[0];
        second = answer[1];
        third = answer[2];
        return true;
    });
}

bool CSIOService::GetIMEI(std::wstring& imei)
{
    return RunOperation(L"CSIOService::GetIMEI", __LINE__, [&] { return CallForText(GROUP_DEVICE, 0x23, imei); });
}

// --- terminal bus ---

bool CSIOService::TerminalBusReset()
{
    return RunOperation(L"CSIOService::TerminalBusReset", __LINE__, [&] {
        tWords answer;
        return Call(GROUP_TERMINAL_BUS, 0x01, {}, 2, answer);
    });
}

bool CSIOService::ClearTerminalBusMonitor()
{
    return RunOperation(L"CSIOService::ClearTerminalBusMonitor", __LINE__,
                        [&] { return Call(GROUP_TERMINAL_BUS, 0x20, {MONITOR_CLEAR}); });
}

bool CSIOService::ResetTerminalBusMonitorPtr()
{
    return RunOperation(L"CSIOService::ResetTerminalBusMonitorPtr", __LINE__,
                        [&] { return Call(GROUP_TERMINAL_BUS, 0x20, {MONITOR_RESET_POINTER}); });
}

bool CSIOService::GetTerminalBusMonitorEntry(tKBMonEntry& entry, long long* readTime)
{
    return RunOperation(L"CSIOService::GetTerminalBusMonitorEntry", __LINE__, [&] {
        tWords answer;
        if (!CallForWords(GROUP_TERMINAL_BUS, 0x20, 6, answer, {MONITOR_ENTRY}))
            return false;
        if (readTime != nullptr)
            *readTime = _time64(nullptr);
        entry.dwEventTime = Join(answer[0], answer[1]);
        entry.sErrorCode = static_cast<SHORT>(answer[2]);
        entry.byArgument = static_cast<BYTE>(answer[3] & 0xFF);
        entry.byFlags = static_cast<BYTE>(answer[3] >> 8);
        entry.dwReferenceTime = Join(answer[4], answer[5]);
        return true;
    });
}

bool CSIOService::GetTerminalBusMonitorSize(unsigned short& count)
{
    return RunOperation(L"CSIOService::GetTerminalBusMonitorSize", __LINE__, [&] {
        tWords answer;
        if (!CallForWords(GROUP_TERMINAL_BUS, 0x20, 1, answer, {MONITOR_SIZE}))
            return false;
        count = answer[0];
        return true;
    });
}

bool CSIOService::GetServiceState(unsigned char group, unsigned char service, tServiceState& state)
{
    return RunOperation(L"CSIOService::GetServiceState", __LINE__, [&] {
        tWords answer;
        if (!CallForWords(GROUP_TERMINAL_BUS, 0x21, 3, answer, {static_cast<unsigned short>(group << 8 | service)}))
            return false;
        state.wService = answer[0];
        state.wState = answer[1];
        state.sThirdWord = static_cast<short>(answer[2]);
        return true;
    });
}

// --- file system and memory card ---

bool CSIOService::ExtractFiles(const unsigned short what)
{
    return RunOperation(L"CSIOService::ExtractFiles", __LINE__, [&] { return Call(GROUP_FILES, 0x01, {what}); });
}

bool CSIOService::FormatFlashDisk(const unsigned short what)
{
    return RunOperation(L"CSIOService::FormatFlashDisk", __LINE__, [&] { return Call(GROUP_FILES, 0x02, {what}); });
}

bool CSIOService::GetSDCardStatus(std::vector<unsigned short>& words)
{
    return RunOperation(L"CSIOService::GetSDCardStatus", __LINE__,
                        [&] { return CallForWords(GROUP_FILES, 0x10, kTextAnswerWords, words); });
}

bool CSIOService::GetPLCRootLocation(unsigned short& location)
{
    return RunOperation(L"CSIOService::GetPLCRootLocation", __LINE__,
                        [&] { return CallForWord(GROUP_FILES, 0x11, location); });
}

bool CSIOService::SetPLCRootLocation(const unsigned short location)
{
    return RunOperation(L"CSIOService::SetPLCRootLocation", __LINE__,
                        [&] { return Call(GROUP_FILES, 0x12, {location}); });
}

// --- registers ---

bool CSIOService::WriteRegister(unsigned int position, unsigned int table, unsigned int start, unsigned int count,
                                const unsigned short* data)
{
    return RunOperation(L"CSIOService::WriteRegister", __LINE__, [&] {
        if (m_regComm->WriteRegister(position, table, start, count, data))
            return true;
        SetLastErrorCode(GetLastError());
        return false;
    });
}

bool CSIOService::ReadRegister(unsigned int position, unsigned int table, unsigned int start, unsigned int count,
                               unsigned short* data)
{
    return RunOperation(L"CSIOService::ReadRegister", __LINE__, [&] {
        if (m_regComm->ReadRegister(position, table, start, count, data))
            return true;
        SetLastErrorCode(GetLastError());
        return false;
    });
}

// --- network ---

bool CSIOService::GetNetworkParameter(const unsigned short interfaceIndex, const unsigned short id,
                                      const unsigned short kind, unsigned short& length, unsigned char** data)
{
    return RunOperation(L"CSIOService::GetNetworkParameter", __LINE__, [&] {
        if (data == nullptr) {
            SetLastErrorCode(PELORUS_ERROR_INVALID_ARGUMENT);
            return false;
        }
        // A large buffer of the caller asks for no more than the mailbox holds.
        const WORD answerWords = static_cast<WORD>(
            std::min<unsigned int>(4u + (length + 1u) / 2, kMailboxWords - CMailboxAnswer::kHeaderWords));
        tWords answer;
        if (!Call(GROUP_NETWORK, 0x01, {interfaceIndex, id, kind}, answerWords, answer))
            return false;
        std::vector<BYTE> bytes;
        if (!CMailboxAnswer(answer.data(), answer.size()).NetworkParameter(bytes))
            return MalformedAnswer();
        if (*data == nullptr || bytes.size() != length) {
            delete[] *data;
            *data = new unsigned char[std::max<std::size_t>(bytes.size(), 1)];
            length = static_cast<unsigned short>(bytes.size());
        }
        std::copy(bytes.begin(), bytes.end(), *data);
        return true;
    });
}

bool CSIOService::SetNetworkParameter(const unsigned short interfaceIndex, const unsigned short id,
                                      const unsigned short kind, const unsigned short length,
                                      const unsigned char* data)
{
    return RunOperation(L"CSIOService::SetNetworkParameter", __LINE__, [&] {
        tWords request{interfaceIndex, id, kind};
        return PackBytes(request, length, data) && Call(GROUP_NETWORK, 0x02, request);
    });
}

bool CSIOService::GetEthernetInterfaceMode(unsigned short& mode)
{
    return RunOperation(L"CSIOService::GetEthernetInterfaceMode", __LINE__,
                        [&] { return CallForWord(GROUP_NETWORK, 0x03, mode); });
}

bool CSIOService::SetEthernetInterfaceMode(const unsigned short mode)
{
    return RunOperation(L"CSIOService::SetEthernetInterfaceMode", __LINE__, [&] {
        tWords answer;
        if (Call(GROUP_NETWORK, 0x04, {mode}, 1, answer))
            return true;
        // The device is busy switching and says how long it takes.
        if (StoredCode() == kInterfaceModeBusy && !answer.empty())
            Sleep(std::min<DWORD>(answer[0], kMaxInterfaceModeWaitSeconds) * 1000u);
        return false;
    });
}

// --- run-time systems ---

bool CSIOService::GetRuntimeSystems(std::vector<unsigned short>& systems)
{
    return RunOperation(L"CSIOService::GetRuntimeSystems", __LINE__,
                        [&] { return CallForWords(GROUP_RUNTIME, 0x01, kTextAnswerWords, systems); });
}

bool CSIOService::GetActiveRuntimeSystem(unsigned short& system)
{
    return RunOperation(L"CSIOService::GetActiveRuntimeSystem", __LINE__,
                        [&] { return CallForWord(GROUP_RUNTIME, 0x02, system); });
}

bool CSIOService::SetActiveRuntimeSystem(const unsigned short system)
{
    return RunOperation(L"CSIOService::SetActiveRuntimeSystem", __LINE__,
                        [&] { return Call(GROUP_RUNTIME, 0x03, {system}); });
}

// --- identification record ---

std::wstring CSIOService::FormatBaudrate(double baud)
{
    double value = baud / 1000000.0;
    const wchar_t* unit = L"MBaud";
    if (!(value > 1.0)) {
        unit = L"kBaud";
        value = baud / 1000.0;
    }
    // Formatted without the locale: the text goes into records and files.
    char buffer[64] = {};
    const auto result = std::to_chars(buffer, buffer + sizeof buffer - 1, value, std::chars_format::fixed, 2);
    std::wstring number(buffer, result.ec == std::errc() ? result.ptr : buffer);
    if (!number.empty() && number.back() == L'0') {
        number.pop_back();
        if (!number.empty() && number.back() == L'0') {
            number.pop_back();
            if (!number.empty() && number.back() == L'.')
                number.pop_back();
        }
    }
    return number + L" " + unit;
}

bool CSIOService::ReadOptionalText(std::wstring& field, bool (CSIOService::*read)(std::wstring&))
{
    field = L"--";
    std::wstring text;
    if (!(this->*read)(text))
        return false;
    field = text;
    return true;
}

bool CSIOService::ReadFBCIdentification(tFbcIdentification* id)
{
    return RunOperation(L"CSIOService::ReadFBCIdentification", __LINE__, [&] {
        if (id == nullptr) {
            SetLastErrorCode(PELORUS_ERROR_INVALID_ARGUMENT);
            return false;
        }
        std::wstring order;
        const bool identified =
            IdentifyDevice(order, id->strDescription, id->strHardwareVersion, id->strSoftwareVersion);
        // The order number belongs with the other identification texts, even
        // when a later read fails.
        if (identified)
            id->strOrderNumber = FormattedOrderNumber(order);
        if (!identified || !ReadOptionalText(id->strFirmwareLoaderVersion, &CSIOService::GetFWLVersion) ||
            !ReadOptionalText(id->strSerialNumber, &CSIOService::GetSerialNumber)) {
            Log(L"  ## ERROR - %s error code = 0x%08X (Line %d)\n", L"CSIOService::ReadFBCIdentification",
                static_cast<unsigned int>(StoredCode()), __LINE__);
            return false;
        }
        id->strFieldbusBaudrate = L"--";
        double baud = 0;
        if (GetFieldbusBaudrate(baud))
            id->strFieldbusBaudrate = FormatBaudrate(baud);
        id->strFirmwareBurnDate = L"--";
        id->strProductionSerialNumber = L"--";
        std::wstring burnDate;
        std::wstring productionSerial;
        if (GetCPUInfo(burnDate, productionSerial)) {
            id->strFirmwareBurnDate = burnDate;
            id->strProductionSerialNumber = productionSerial;
        }
        ReadOptionalText(id->strIMEI, &CSIOService::GetIMEI);
        // What the device lacks only leaves "--": the record as a whole was read.
        ResetLastErrorCode();
        return true;
    });
}
