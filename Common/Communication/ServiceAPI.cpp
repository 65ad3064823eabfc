#include "Common/Communication/ServiceAPI.h"

#include "Common/Communication/AnswerFault.h"
#include "Common/Communication/ConnectionBase.h"
#include "Common/SystemHelper/Values/StringUtils.h"
#include "Platform/Base/Clock.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <stdexcept>

namespace ZELL {

namespace {

constexpr WORD kStatusBusy = 0x821D;
constexpr WORD kStatusRegisterBusy = 0xFFFC;
constexpr WORD kStatusRegisterMapped = 0x8302;
// Used when the connection cannot tell its restart time-out.
constexpr unsigned int kDefaultRestartSeconds = 30;

void Append(std::vector<BYTE>& bytes, WORD value)
{
    bytes.push_back(static_cast<BYTE>(value & 0xFF));
    bytes.push_back(static_cast<BYTE>(value >> 8));
}

void Append32(std::vector<BYTE>& bytes, DWORD value)
{
    Append(bytes, static_cast<WORD>(value & 0xFFFF));
    Append(bytes, static_cast<WORD>(value >> 16));
}

std::vector<BYTE> Words(std::initializer_list<WORD> words)
{
    std::vector<BYTE> bytes;
    for (WORD word : words)
        Append(bytes, word);
    return bytes;
}

std::wstring Qualified(const wchar_t* name)
{
    return std::wstring(L"ZELL::CServiceAPI::") + name;
}

}

CServiceAPI::CServiceAPI(IProtocol* protocol_) : CDeviceAPIBase(protocol_) {}

bool CServiceAPI::IsConnected() const
{
    return m_protocol && m_protocol->GetConnection() && m_protocol->GetConnection()->IsOpen();
}

unsigned int CServiceAPI::RestartTimeoutSeconds() const
{
    auto* base = m_protocol ? dynamic_cast<CConnectionBase*>(m_protocol->GetConnection()) : nullptr;
    return base ? base->GetRestartTimeout() : kDefaultRestartSeconds;
}

bool CServiceAPI::Connect()
{
    try {
        if (!m_protocol || !m_protocol->GetConnection())
            throw std::runtime_error("no connection");
        if (!m_protocol->GetConnection()->IsOpen())
            m_protocol->GetConnection()->Open();
        return true;
    } catch (...) {
        SetLastError(DWORD{1});
        return false;
    }
}

bool CServiceAPI::Disconnect()
{
    try {
        if (!m_protocol || !m_protocol->GetConnection())
            throw std::runtime_error("no connection");
        m_protocol->GetConnection()->Close();
        return true;
    } catch (...) {
        SetLastError(DWORD{2});
        return false;
    }
}

void CServiceAPI::EnableLogging(bool on, const wchar_t* name)
{
    m_logging = on;
    if (name)
        m_logName = name;
    DebugTrace(L"CServiceAPI - Logging %s!\n", on ? L"enabled" : L"disabled");
}

DWORD CServiceAPI::GetLastError()
{
    const DWORD code = m_lastError;
    m_lastError = 0;
    return code;
}

void CServiceAPI::SetLastError(WORD status, WORD n)
{
    if (status != 0) {
        m_lastError = kStatusBase + (status == kStatusRegisterBusy ? kStatusRegisterMapped : status);
        return;
    }
    m_lastError = kProtocolBase + (m_protocol ? m_protocol->GetLastCommandError() : 0);
    if (m_lastError == kProtocolBase)
        m_lastError = kExceptionBase + n;
}

void CServiceAPI::SetLastError(DWORD n)
{
    m_lastError = n | kExceptionBase;
}

// An answer that came but could not be taken is named as such rather than
// as a failed request.
void CServiceAPI::SetServiceProtocolError()
{
    const unsigned long fault = m_protocol ? m_protocol->TakeAnswerFault() : 0;
    m_lastError = kProtocolBase + (m_protocol ? m_protocol->GetLastCommandError() : 0);
    if (fault != 0)
        m_lastError = static_cast<DWORD>(fault);
}

bool CServiceAPI::Call(const wchar_t* name, WORD n, WORD code, const std::vector<BYTE>& arguments, Check check,
                       const Reader& reader)
{
    const std::wstring op = Qualified(name);
    DebugTrace(L"  ## ENTER - %s (Line %d)\n", op.c_str(), __LINE__);
    if (!IsConnected()) {
        Fail(kNotConnected);
        DebugTrace(L"  ## LEAVE - %s with error 0x%08X (Line %d)\n", op.c_str(), m_lastError, __LINE__);
        return false;
    }
    unsigned char* reply = nullptr;
    bool result = false;
    try {
        std::vector<BYTE> request;
        Append(request, code);
        request.insert(request.end(), arguments.begin(), arguments.end());
        unsigned int replyLength = 0;
        if (!m_protocol->Request(request.data(), static_cast<unsigned int>(request.size()), &reply, replyLength, nullptr,
                               nullptr)) {
            SetServiceProtocolError();
            DebugTrace(L"  ## ERROR - %s error code = 0x%08X (Line %d)\n", op.c_str(), m_lastError, __LINE__);
        } else {
            const Answer answer{reply, reply ? replyLength : 0};
            const unsigned int statusAt = check == Check::Register ? 10 : 2;
            // An answer too short for its code and status is malformed.
            const bool complete = answer.Has(0, 2) && answer.Has(statusAt, 2);
            const WORD status = complete ? answer.Word(statusAt) : 0;
            bool accepted = complete && answer.Word(0) == code;
            if (check == Check::FileSystem)
                accepted = accepted && (status == 0 || status == 1 || status == kStatusBusy);
            else if (check != Check::AnyStatus)
                accepted = accepted && status == 0;
            DWORD error = 0;
            if (!complete)
                error = kErrorMalformedAnswer;
            else if (!accepted)
                error = check == Check::Register ? kRegisterStatus : kStatusBase + status;
            else if (reader)
                error = reader(answer);
            if (error == kRegisterStatus)
                SetLastError(status, n);
            else if (error == kCheckFailed)
                Fail(kStatusBase + status);
            else if (error != 0)
                Fail(error);
            result = error == 0;
            if (!result)
                DebugTrace(L"  ## ERROR - %s error code = 0x%08X (Line %d)\n", op.c_str(), m_lastError, __LINE__);
        }
    } catch (...) {
        SetLastError(DWORD{n});
        DebugTrace(L"  ## LEAVE - %s with error 0x%08X (Line %d)\n", op.c_str(), m_lastError, __LINE__);
        delete[] reply;
        return false;
    }
    delete[] reply;
    DebugTrace(L"  ## LEAVE - %s  with %s (Line %d)\n", op.c_str(), result ? L"true" : L"false", __LINE__);
    return result;
}

bool CServiceAPI::CallWord(const wchar_t* name, WORD n, WORD code, WORD& value)
{
    return Call(name, n, code, {}, Check::Standard, [&value](const Answer& a) -> DWORD {
        if (!a.Has(4, 2))
            return kCheckFailed;
        value = a.Word(4);
        return 0;
    });
}

bool CServiceAPI::CallOptionalWord(const wchar_t* name, WORD n, WORD code, WORD& value)
{
    return Call(name, n, code, {}, Check::Standard, [&value](const Answer& a) -> DWORD {
        if (a.length == 6)
            value = a.Word(4);
        return 0;
    });
}

bool CServiceAPI::CallSwitch(const wchar_t* name, WORD n, WORD code, WORD sent,
                             const std::function<bool(WORD)>& accept)
{
    return Call(name, n, code, Words({sent}), Check::Standard,
                [&accept](const Answer& a) -> DWORD { return a.Has(4, 2) && accept(a.Word(4)) ? 0 : kCheckFailed; });
}

// The text is handed over zero-terminated: its users read it as text and
// the answer carries no length of its own.
bool CServiceAPI::CallText(const wchar_t* name, WORD n, WORD code, unsigned int from, unsigned int least, char** text)
{
    return Call(name, n, code, {}, Check::Standard, [=](const Answer& a) -> DWORD {
        if (a.length < least || a.length < from)
            return kCheckFailed;
        const unsigned int size = a.length - from;
        auto copy = std::make_unique<char[]>(size + 1);
        std::memcpy(copy.get(), a.bytes + from, size);
        copy[size] = '\0';
        if (text) {
            delete[] *text;
            *text = copy.release();
        }
        return 0;
    });
}

bool CServiceAPI::CallFile(const wchar_t* name, WORD n, WORD code, const std::vector<BYTE>& arguments, WORD& value)
{
    return Call(name, n, code, arguments, Check::FileSystem, [&value](const Answer& a) -> DWORD {
        if (!a.Has(4, 2))
            return kCheckFailed;
        value = a.Word(4);
        return 0;
    });
}

bool CServiceAPI::EnableWriteAccess(bool on)
{
    return CallSwitch(L"EnableWriteAccess", 4, 0x101, on ? 0x5C3B : 0, [on](WORD w) { return on ? w != 0 : w == 0; });
}

bool CServiceAPI::RestartSystem(WORD& seconds)
{
    return CallWord(L"RestartSystem", 5, 0x102, seconds);
}

bool CServiceAPI::ResetParameter(WORD& seconds)
{
    return CallWord(L"ResetParameter", 6, 0x104, seconds);
}

bool CServiceAPI::StoreParameter(WORD& seconds)
{
    return CallWord(L"StoreParameter", 7, 0x105, seconds);
}

bool CServiceAPI::GetDeviceState(t_DeviceStates& states)
{
    return Call(L"GetDeviceState", 8, 0x106, {}, Check::Standard, [&states](const Answer& a) -> DWORD {
        const unsigned int size = a.length == 20 ? 16 : 18;
        if (!a.Has(4, size))
            return kCheckFailed;
        std::memcpy(&states, a.bytes + 4, size);
        return 0;
    });
}

bool CServiceAPI::GetAddressSwitchSetting(WORD& value)
{
    return CallWord(L"GetAddressSwitchSetting", 36, 0x107, value);
}

bool CServiceAPI::IdentifyDevice(char** text)
{
    return CallText(L"IdentifyDevice", 3, 0x108, 10, 11, text);
}

bool CServiceAPI::EnableMonitorMode(bool on)
{
    return CallSwitch(L"EnableMonitorMode", 9, 0x10A, on ? 1 : 0, [on](WORD w) { return on ? w != 0 : w == 0; });
}

bool CServiceAPI::EnableControlMode(bool on)
{
    return CallSwitch(L"EnableControlMode", 10, 0x10B, on ? 2 : 0, [on](WORD w) { return on ? w == 2 : w != 2; });
}

bool CServiceAPI::GetNetworkID(char** text)
{
    return CallText(L"GetNetworkID", 11, 0x10C, 4, 6, text);
}

bool CServiceAPI::SetFactoryTestMode(const t_Test_Bits& bits)
{
    const WORD sent = bits.bits;
    return CallSwitch(L"SetFactoryTestMode", 12, 0x10E, sent, [sent](WORD w) { return w == sent; });
}

bool CServiceAPI::GetTerminalBusState(t_KBusState& state)
{
    return Call(L"GetTerminalBusState", 8, 0x10F, {}, Check::Standard, [&state](const Answer& a) -> DWORD {
        if (!a.Has(4, 18))
            return kCheckFailed;
        std::memcpy(state.bytes, a.bytes + 4, sizeof state.bytes);
        state.word = a.Word(20);
        return 0;
    });
}

bool CServiceAPI::GetInternalVariables(char** text)
{
    return CallText(L"GetInternalVariables", 13, 0x111, 4, 6, text);
}

bool CServiceAPI::GetTableInfo(WORD& count, t_Table_Details** tables)
{
    return Call(L"GetTableInfo", 14, 0x113, {}, Check::Standard, [&](const Answer& a) -> DWORD {
        if (!a.Has(4, 2))
            return kCheckFailed;
        const WORD announced = a.Word(4);
        // Never more records than the answer holds.
        if (!a.Has(6, announced * 4u))
            return kCheckFailed;
        auto copy = std::make_unique<t_Table_Details[]>(announced == 0 ? 1 : announced);
        for (WORD i = 0; i < announced; ++i)
            copy[i] = t_Table_Details{a.Word(6 + 4u * i), a.Word(8 + 4u * i)};
        count = announced;
        if (tables) {
            delete[] *tables;
            *tables = copy.release();
        }
        return 0;
    });
}

bool CServiceAPI::EnableTerminalBusExtension(bool on)
{
    return CallSwitch(L"EnableTerminalBusExtension", 15, 0x115, on ? 1 : 0,
                      [on](WORD w) { return on ? w != 0 : w == 0; });
}

bool CServiceAPI::GetRealTimeClock(DWORD& time, short& value)
{
    return Call(L"GetRealTimeClock", 16, 0x116, {}, Check::Standard, [&](const Answer& a) -> DWORD {
        if (!a.Has(4, 6))
            return kCheckFailed;
        time = a.DWord(4);
        value = static_cast<short>(a.Word(8));
        return 0;
    });
}

bool CServiceAPI::SetRealTimeClock(DWORD time, short value)
{
    std::vector<BYTE> arguments;
    Append32(arguments, time);
    Append(arguments, static_cast<WORD>(value));
    return Call(L"SetRealTimeClock", 17, 0x117, arguments, Check::Standard, {});
}

bool CServiceAPI::GetDateTime(DWORD& time, short& value1, short& value2)
{
    return Call(L"GetDateTime", 37, 0x118, {}, Check::Standard, [&](const Answer& a) -> DWORD {
        if (!a.Has(4, 8))
            return kCheckFailed;
        time = a.DWord(4);
        value1 = static_cast<short>(a.Word(8));
        value2 = static_cast<short>(a.Word(10));
        return 0;
    });
}

bool CServiceAPI::SetDateTime(DWORD time, short value1, short value2)
{
    std::vector<BYTE> arguments;
    Append32(arguments, time);
    Append(arguments, static_cast<WORD>(value1));
    Append(arguments, static_cast<WORD>(value2));
    return Call(L"SetDateTime", 38, 0x119, arguments, Check::Standard, {});
}

bool CServiceAPI::ControlParamSequence(WORD a, WORD b, WORD c)
{
    return Call(L"ControlParamSequence", 33, 0x120, Words({a, c, b}), Check::Standard, {});
}

bool CServiceAPI::EnableTerminalControlMode(WORD a, WORD b, WORD c, WORD length, const BYTE* data)
{
    std::vector<BYTE> arguments = Words({a, b, c, length});
    if (length != 0 && !data)
        return Call(L"EnableTerminalControlMode", 44, 0x121, {}, Check::Standard,
                    [](const Answer&) -> DWORD { return kCheckFailed; });
    if (length != 0)
        arguments.insert(arguments.end(), data, data + length);
    return Call(L"EnableTerminalControlMode", 44, 0x121, arguments, Check::Standard, {});
}

bool CServiceAPI::GetTerminalControlModeStatus(WORD& a, WORD& b, WORD& c)
{
    return Call(L"GetTerminalControlModeStatus", 45, 0x122, {}, Check::Standard, [&](const Answer& r) -> DWORD {
        if (!r.Has(4, 6))
            return kCheckFailed;
        a = r.Word(4);
        b = r.Word(6);
        c = r.Word(8);
        return 0;
    });
}

bool CServiceAPI::RestartTerminalBus(WORD& value)
{
    return CallWord(L"RestartTerminalBus", 18, 0x201, value);
}

bool CServiceAPI::GetCommandState(WORD command, WORD& state)
{
    return Call(L"GetCommandState", 19, 0x221, Words({command}), Check::Standard, [&](const Answer& a) -> DWORD {
        if (!a.Has(4, 4) || a.Word(4) != command)
            return kCheckFailed;
        state = a.Word(6);
        return 0;
    });
}

bool CServiceAPI::GetTerminalBusMonitorSize(WORD& size)
{
    return CallWord(L"GetTerminalBusMonitorSize", 20, 0x225, size);
}

bool CServiceAPI::SetTerminalBusMonitorFirst(WORD& value)
{
    return CallOptionalWord(L"SetTerminalBusMonitorFirst", 21, 0x226, value);
}

bool CServiceAPI::GetTerminalBusMonitorEntry(t_KBMEntry& entry)
{
    return Call(L"GetTerminalBusMonitorEntry", 22, 0x227, {}, Check::Standard, [&entry](const Answer& a) -> DWORD {
        if (!a.Has(4, 12))
            return kCheckFailed;
        std::memcpy(entry.bytes, a.bytes + 4, sizeof entry.bytes);
        entry.value = a.DWord(12);
        return 0;
    });
}

bool CServiceAPI::ClearTerminalBusMonitor(WORD& value)
{
    return CallOptionalWord(L"ClearTerminalBusMonitor", 23, 0x228, value);
}

bool CServiceAPI::ExtractFiles(WORD& value, eFileGroups group)
{
    return CallFile(L"ExtractFiles", 24, 0x301, Words({static_cast<WORD>(group)}), value);
}

bool CServiceAPI::FormatFileSystem(WORD& value, WORD what)
{
    return CallFile(L"FormatFileSystem", 25, 0x302, Words({what}), value);
}

bool CServiceAPI::RefreshFilesystem(WORD& value, eFileGroups group)
{
    return CallFile(L"RefreshFilesystem", 26, 0x303, Words({static_cast<WORD>(group)}), value);
}

bool CServiceAPI::GetExtractFilesState(WORD& value1, WORD& value2)
{
    return Call(L"GetExtractFilesState", 27, 0x304, {}, Check::FileSystem, [&](const Answer& a) -> DWORD {
        if (!a.Has(4, 4))
            return kCheckFailed;
        value1 = a.Word(4);
        value2 = a.Word(6);
        return 0;
    });
}

bool CServiceAPI::GetSDCardStatus(t_SDCardStatus& status)
{
    return Call(L"GetSDCardStatus", 28, 0x310, {}, Check::Standard, [&status](const Answer& a) -> DWORD {
        if (!a.Has(4, 14))
            return kCheckFailed;
        std::memcpy(status.bytes, a.bytes + 4, sizeof status.bytes);
        status.value = a.DWord(12);
        status.word = a.Word(16);
        return 0;
    });
}

bool CServiceAPI::GetPLCRootLocation(WORD& location)
{
    return CallWord(L"GetPLCRootLocation", 29, 0x311, location);
}

bool CServiceAPI::SetPLCRootLocation(WORD& result, WORD location)
{
    return Call(L"SetPLCRootLocation", 30, 0x312, Words({location}), Check::Standard, [&](const Answer& a) -> DWORD {
        if (!a.Has(4, 4) || a.Word(6) != location)
            return kCheckFailed;
        result = a.Word(4);
        return 0;
    });
}

bool CServiceAPI::ReadRegister(WORD a, WORD b, WORD c, WORD count, WORD* words)
{
    return Call(L"ReadRegister", 31, 0x401, Words({a, b, c, count}), Check::Register,
                [=](const Answer& r) -> DWORD {
                    if (r.length < 12 || (r.length - 12) / 2 != count)
                        return kWrongWordCount;
                    for (WORD i = 0; i < count && words; ++i)
                        words[i] = r.Word(12 + 2u * i);
                    return 0;
                });
}

bool CServiceAPI::WriteRegister(WORD a, WORD b, WORD c, WORD count, const WORD* words, bool)
{
    std::vector<BYTE> arguments = Words({a, b, c, count});
    for (WORD i = 0; i < count && words; ++i)
        Append(arguments, words[i]);
    return Call(L"WriteRegister", 32, 0x402, arguments, Check::Register, {});
}

bool CServiceAPI::GetNetworkParameter(WORD a, WORD b, WORD c, WORD& length, BYTE** data)
{
    return Call(L"GetNetworkParameter", 34, 0x501, Words({0, a, b, c}), Check::Standard,
                [&](const Answer& r) -> DWORD {
                    if (!r.Has(10, 2))
                        return kCheckFailed;
                    const WORD announced = r.Word(10);
                    if (!r.Has(12, announced))
                        return kCheckFailed;
                    auto copy = std::make_unique<BYTE[]>(announced == 0 ? 1 : announced);
                    std::memcpy(copy.get(), r.bytes + 12, announced);
                    length = announced;
                    if (data) {
                        delete[] *data;
                        *data = copy.release();
                    }
                    return 0;
                });
}

bool CServiceAPI::SetNetworkParameter(WORD a, WORD b, WORD c, WORD length, const BYTE* data)
{
    std::vector<BYTE> arguments = Words({0, a, b, c, length});
    if (length != 0 && !data)
        return Call(L"SetNetworkParameter", 35, 0x502, {}, Check::Standard,
                    [](const Answer&) -> DWORD { return kCheckFailed; });
    if (length != 0)
        arguments.insert(arguments.end(), data, data + length);
    return Call(L"SetNetworkParameter", 35, 0x502, arguments, Check::Standard, {});
}

bool CServiceAPI::GetEthernetInterfaceMode(WORD& mode)
{
    return CallWord(L"GetEthernetInterfaceMode", 39, 0x503, mode);
}

// A busy device names the seconds to wait; the wait is capped at the
// connection's restart time-out, so a wild value cannot stall the caller.
bool CServiceAPI::SetEthernetInterfaceMode(WORD mode)
{
    WORD waitSeconds = 0;
    const bool result =
        Call(L"SetEthernetInterfaceMode", 40, 0x504, Words({mode}), Check::AnyStatus, [&](const Answer& a) -> DWORD {
            const WORD status = a.Word(2);
            if (status == kStatusBusy) {
                waitSeconds = a.Has(4, 2) ? a.Word(4) : 0;
                return kBusy;
            }
            if (status != 0)
                return kStatusBase + status;
            return a.Has(4, 2) && a.Word(4) == mode ? 0 : kCheckFailed;
        });
    if (waitSeconds != 0) {
        const unsigned int seconds = std::min<unsigned int>(waitSeconds, RestartTimeoutSeconds());
        ::Sleep(static_cast<DWORD>(seconds * 1000u));
    }
    return result;
}

bool CServiceAPI::GetRuntimeSystems(WORD** list, DWORD& count)
{
    return Call(L"GetRuntimeSystems", 41, 0x601, {}, Check::Standard, [&](const Answer& a) -> DWORD {
        if (a.length < 6)
            return kCheckFailed;
        const DWORD found = a.length / 2 - 2;
        auto copy = std::make_unique<WORD[]>(found);
        for (DWORD i = 0; i < found; ++i)
            copy[i] = a.Word(4 + 2 * i);
        count = found;
        if (list) {
            delete[] *list;
            *list = copy.release();
        }
        return 0;
    });
}

bool CServiceAPI::GetActiveRuntimeSystem(WORD& id)
{
    return CallWord(L"GetActiveRuntimeSystem", 42, 0x602, id);
}

bool CServiceAPI::SetActiveRuntimeSystem(WORD id)
{
    return CallSwitch(L"SetActiveRuntimeSystem", 43, 0x603, id, [id](WORD w) { return w == id; });
}

}
