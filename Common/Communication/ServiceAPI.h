#pragma once
// One operation per device service: packs the request, sends it through the
// protocol, checks the echoed code and the status word and hands the answer
// fields to the caller. No operation throws; failures leave a 32-bit last
// error.

#include "Common/Communication/DeviceAPIBase.h"
#include "Platform/Base/Types.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace ZELL {

#pragma pack(push, 1)
struct t_DeviceStates {
    WORD words[9];
};
struct t_SDCardStatus {
    BYTE bytes[8];
    DWORD value;
    WORD word;
};
struct t_KBMEntry {
    BYTE bytes[8];
    DWORD value;
};
struct t_KBusState {
    BYTE bytes[16];
    WORD word;
};
struct t_Table_Details {
    WORD tableNumber;
    WORD registerCount;
};
struct t_Test_Bits {
    WORD bits;
};
#pragma pack(pop)

enum eFileGroups : WORD {};

class PELORUS_API CServiceAPI : public CDeviceAPIBase {
public:
    static constexpr DWORD kNotConnected = 0x202008CA;
    static constexpr DWORD kStatusBase = 0x20080000;
    static constexpr DWORD kProtocolBase = 0x20300000;
    static constexpr DWORD kExceptionBase = 0x20400000;
    static constexpr DWORD kWrongWordCount = 0x20200001;
    static constexpr DWORD kBusy = 0x2008821D;

    explicit CServiceAPI(IProtocol* protocol);

    bool Connect();
    bool Disconnect();
    void EnableLogging(bool on, const wchar_t* name);
    // Returns the last error once; the next call gives 0.
    DWORD GetLastError();

    bool EnableWriteAccess(bool on);
    bool RestartSystem(WORD& seconds);
    bool ResetParameter(WORD& seconds);
    bool StoreParameter(WORD& seconds);
    bool GetDeviceState(t_DeviceStates& states);
    bool GetAddressSwitchSetting(WORD& value);
    // Text answers are new zero-terminated arrays that the caller frees with
    // delete[]; an array held before is freed first.
    bool IdentifyDevice(char** text);
    bool EnableMonitorMode(bool on);
    bool EnableControlMode(bool on);
    bool GetNetworkID(char** text);
    bool SetFactoryTestMode(const t_Test_Bits& bits);
    bool GetTerminalBusState(t_KBusState& state);
    bool GetInternalVariables(char** text);
    bool GetTableInfo(WORD& count, t_Table_Details** tables);
    bool EnableTerminalBusExtension(bool on);
    bool GetRealTimeClock(DWORD& time, short& value);
    bool SetRealTimeClock(DWORD time, short value);
    bool GetDateTime(DWORD& time, short& value1, short& value2);
    bool SetDateTime(DWORD time, short value1, short value2);
    bool ControlParamSequence(WORD a, WORD b, WORD c);
    bool EnableTerminalControlMode(WORD a, WORD b, WORD c, WORD length, const BYTE* data);
    bool GetTerminalControlModeStatus(WORD& a, WORD& b, WORD& c);
    bool RestartTerminalBus(WORD& value);
    bool GetCommandState(WORD command, WORD& state);
    bool GetTerminalBusMonitorSize(WORD& size);
    bool SetTerminalBusMonitorFirst(WORD& value);
    bool GetTerminalBusMonitorEntry(t_KBMEntry& entry);
    bool ClearTerminalBusMonitor(WORD& value);
    bool ExtractFiles(WORD& value, eFileGroups group);
    bool FormatFileSystem(WORD& value, WORD what);
    bool RefreshFilesystem(WORD& value, eFileGroups group);
    bool GetExtractFilesState(WORD& value1, WORD& value2);
    bool GetSDCardStatus(t_SDCardStatus& status);
    bool GetPLCRootLocation(WORD& location);
    bool SetPLCRootLocation(WORD& result, WORD location);
    bool ReadRegister(WORD a, WORD b, WORD c, WORD count, WORD* words);
    bool WriteRegister(WORD a, WORD b, WORD c, WORD count, const WORD* words, bool readOnly);
    bool GetNetworkParameter(WORD a, WORD b, WORD c, WORD& length, BYTE** data);
    bool SetNetworkParameter(WORD a, WORD b, WORD c, WORD length, const BYTE* data);
    bool GetEthernetInterfaceMode(WORD& mode);
    bool SetEthernetInterfaceMode(WORD mode);
    bool GetRuntimeSystems(WORD** list, DWORD& count);
    bool GetActiveRuntimeSystem(WORD& id);
    bool SetActiveRuntimeSystem(WORD id);

protected:
    void SetLastError(WORD status, WORD n);
    void SetLastError(DWORD n);
    void SetServiceProtocolError();

    template <typename... Args>
    void Log(const wchar_t* format, const Args&... args) const;

private:
    struct Answer {
        const BYTE* bytes = nullptr;
        unsigned int length = 0;
        WORD Word(unsigned int offset) const { return static_cast<WORD>(bytes[offset] | (bytes[offset + 1] << 8)); }
        DWORD DWord(unsigned int offset) const { return Word(offset) | (static_cast<DWORD>(Word(offset + 2)) << 16); }
        bool Has(unsigned int offset, unsigned int size) const { return std::uint64_t{offset} + size <= length; }
    };
    enum class Check { Standard, FileSystem, Register, AnyStatus };
    // A reader gives 0 when it took the answer, else the last error to set
    // (or one of the two markers below).
    using Reader = std::function<DWORD(const Answer&)>;
    static constexpr DWORD kCheckFailed = 1;    // reported like the status word
    static constexpr DWORD kRegisterStatus = 2; // through SetLastError(status, n)

    bool Call(const wchar_t* name, WORD n, WORD code, const std::vector<BYTE>& arguments, Check check,
              const Reader& reader);
    bool CallText(const wchar_t* name, WORD n, WORD code, unsigned int from, unsigned int least, char** text);
    bool CallWord(const wchar_t* name, WORD n, WORD code, WORD& value);
    // The word at offset 4 when the answer carries one; a bare answer leaves it.
    bool CallOptionalWord(const wchar_t* name, WORD n, WORD code, WORD& value);
    bool CallSwitch(const wchar_t* name, WORD n, WORD code, WORD sent, const std::function<bool(WORD)>& accept);
    bool CallFile(const wchar_t* name, WORD n, WORD code, const std::vector<BYTE>& arguments, WORD& value);
    bool IsConnected() const;
    void Fail(DWORD code) { m_lastError = code; }
    unsigned int RestartTimeoutSeconds() const;

    DWORD m_lastError = 0;
    bool m_logging = false;
    std::wstring m_logName;
};

}

#include "Platform/Base/DebugOutput.h"
#include "Platform/Base/Format.h"

namespace ZELL {

template <typename... Args>
void CServiceAPI::Log(const wchar_t* format, const Args&... args) const
{
    if (!m_logging || !format)
        return;
    wchar_t text[4096] = {};
    _snwprintf_s(text, _TRUNCATE, format, args...);
    OutputDebugStringW(text);
}

}
