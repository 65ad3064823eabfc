// Device-wide operations built on the pure services: monitor and control
// mode, clock, terminal-bus monitor, memory card and the short
// identification.
#include "Common/PelorusDLL/ServiceBase.h"

#include "Common/Communication/ArticleNumber.h"

#include <algorithm>

namespace {

constexpr std::size_t kStateFieldbus = 0;
constexpr std::size_t kStateMonitor = 3;
constexpr std::size_t kStateControl = 4;
constexpr std::size_t kStateWordsNeeded = 5;
constexpr std::size_t kCardWordsNeeded = 7;

constexpr short kDaylightSavingUnknown = -1;

constexpr WORD kMonitorNoEntry = 0xFFFF;
constexpr WORD kMonitorRestartCode = 0;
constexpr BYTE kMonitorRestartArgument = 0xC0;
// Entries coded "no entry" do not count; a device that sends nothing else
// must still end the walk: no monitor holds more entries than its 16-bit
// size field can name.
constexpr unsigned int kMaxMonitorReads = 65535;

// The length byte of the short identification caps each text.
constexpr std::size_t kMaxIdentificationText = 255;

}

bool CServiceBase::ReadStateWords(std::vector<unsigned short>& states)
{
    states.clear();
    if (!GetFBCStates(states))
        return false;
    if (states.size() < kStateWordsNeeded) {
        SetLastErrorCode(PELORUS_ERROR_INVALID_ANSWER_LENGTH);
        return false;
    }
    return true;
}

bool CServiceBase::EnableBKMonitorMode(bool on)
{
    return RunOperation(L"CServiceBase::EnableBKMonitorMode", __LINE__, [&] {
        std::vector<unsigned short> states;
        if (!ReadStateWords(states))
            return false;
        if ((states[kStateMonitor] != 0) == on)
            return true;
        if (on && states[kStateControl] != 0) {
            SetLastErrorCode(PELORUS_ERROR_MONITOR_MODE_CONTROL);
            return false;
        }
        if (!EnableBKMonitorModeWithoutCheck(on) || !ReadStateWords(states))
            return false;
        if ((states[kStateMonitor] != 0) == on)
            return true;
        SetLastErrorCode(states[kStateControl] != 0 ? PELORUS_ERROR_MONITOR_MODE_CONTROL
                                                    : PELORUS_ERROR_MONITOR_MODE_OFF);
        return false;
    });
}

bool CServiceBase::EnableBKControlMode(bool on)
{
    return RunOperation(L"CServiceBase::EnableBKControlMode", __LINE__, [&] {
        std::vector<unsigned short> states;
        if (!ReadStateWords(states))
            return false;
        if ((states[kStateControl] != 0) == on)
            return true;
        if (!EnableBKControlModeWithoutCheck(on) || !ReadStateWords(states))
            return false;
        if ((states[kStateControl] != 0) == on) {
            ResetLastErrorCode();
            return true;
        }
        if (states[kStateMonitor] != 0)
            SetLastErrorCode(PELORUS_ERROR_CONTROL_MODE_MONITOR);
        else if (states[kStateFieldbus] != 0)
            SetLastErrorCode(PELORUS_ERROR_CONTROL_MODE_FIELDBUS);
        else
            SetLastErrorCode(PELORUS_ERROR_CONTROL_MODE_OFF);
        return false;
    });
}

bool CServiceBase::GetDateTimeSettings(tDateTime& dateTime)
{
    return RunOperation(L"CServiceBase::GetDateTimeSettings", __LINE__, [&] {
        unsigned int seconds = 0;
        short zoneMinutes = 0;
        short daylightSaving = kDaylightSavingUnknown;
        if (!GetDateTime(seconds, zoneMinutes, daylightSaving)) {
            // Older devices have only the real-time clock, zoned in hours.
            short zoneHours = 0;
            if (!HasStoredCode(PELORUS_ERROR_SERVICE_NOT_SUPPORTED) || !GetRealTimeClock(seconds, zoneHours))
                return false;
            zoneMinutes = static_cast<short>(zoneHours * 60);
            daylightSaving = kDaylightSavingUnknown;
        }
        dateTime.dwSeconds = seconds;
        dateTime.sZoneMinutes = zoneMinutes;
        dateTime.sDaylightSaving = daylightSaving;
        return true;
    });
}

bool CServiceBase::SetDateTimeSettings(const tDateTime& dateTime)
{
    return RunOperation(L"CServiceBase::SetDateTimeSettings", __LINE__, [&] {
        const unsigned int seconds = dateTime.dwSeconds;
        if (SetDateTime(seconds, dateTime.sZoneMinutes, dateTime.sDaylightSaving))
            return true;
        if (!HasStoredCode(PELORUS_ERROR_SERVICE_NOT_SUPPORTED))
            return false;
        const auto zoneHours = static_cast<short>(dateTime.sZoneMinutes / 60);
        return SetRealTimeClock(seconds, zoneHours);
    });
}

void CServiceBase::GetKBMonTimeFromEntry(const tKBMonEntry& entry, long long readTime, tKBMonEntryEx& result)
{
    result.wErrorCode = static_cast<WORD>(entry.sErrorCode);
    result.byArgument = entry.byArgument;
    result.byEntryFlag = entry.byFlags & 0x01;
    result.byAbsoluteTimes = (entry.byFlags >> 1) & 0x01;
    if (result.byAbsoluteTimes != 0) {
        result.llEventTime = entry.dwEventTime;
        result.llStartTime = entry.dwReferenceTime;
        result.llSecondsSinceStart = static_cast<long long>(entry.dwEventTime) - entry.dwReferenceTime;
        return;
    }
    // Tick counts in tenths of a second; the reference tick is "now" on the
    // device, so the event lies that far back from the PC time of reading.
    const DWORD sinceEvent = entry.dwReferenceTime - entry.dwEventTime;
    result.llStartTime = readTime - entry.dwReferenceTime / 10;
    result.llEventTime = readTime - sinceEvent / 10;
    result.llSecondsSinceStart = entry.dwEventTime / 10;
}

bool CServiceBase::GetTerminalBusMonitorEntryEx(tKBMonEntryEx& entry)
{
    return RunOperation(L"CServiceBase::GetTerminalBusMonitorEntryEx", __LINE__, [&] {
        tKBMonEntry raw;
        long long readTime = 0;
        if (!GetTerminalBusMonitorEntry(raw, &readTime))
            return false;
        GetKBMonTimeFromEntry(raw, readTime, entry);
        return true;
    });
}

bool CServiceBase::GetTerminalBusMonitorEntries(std::vector<tKBMonEntryEx>& entries)
{
    return RunOperation(L"CServiceBase::GetTerminalBusMonitorEntries", __LINE__, [&] {
        entries.clear();
        unsigned short size = 0;
        if (!ResetTerminalBusMonitorPtr() || !GetTerminalBusMonitorSize(size))
            return false;
        for (unsigned int reads = 0; entries.size() < size; ++reads) {
            if (reads == kMaxMonitorReads) {
                SetLastErrorCode(PELORUS_ERROR_INVALID_ANSWER_LENGTH);
                return false;
            }
            tKBMonEntryEx entry;
            if (!GetTerminalBusMonitorEntryEx(entry))
                return false;
            if (entry.wErrorCode != kMonitorNoEntry)
                entries.push_back(entry);
        }
        if (entries.empty() || entries.back().byAbsoluteTimes != 0)
            return true;
        // Marks the entries since the last restart of the node (the entry
        // with code 0 and argument 0xC0), counted from the newest.
        bool sinceRestart = true;
        for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
            it->byAbsoluteTimes = sinceRestart ? 1 : 0;
            if (it->wErrorCode == kMonitorRestartCode && it->byArgument == kMonitorRestartArgument)
                sinceRestart = false;
        }
        return true;
    });
}

bool CServiceBase::GetSDCardInformation(tSDCardInfo& info)
{
    return RunOperation(L"CServiceBase::GetSDCardInformation", __LINE__, [&] {
        std::vector<unsigned short> words;
        if (!GetSDCardStatus(words))
            return false;
        if (words.size() < kCardWordsNeeded) {
            SetLastErrorCode(PELORUS_ERROR_INVALID_ANSWER_LENGTH);
            return false;
        }
        unsigned short root = 0;
        if (!GetPLCRootLocation(root))
            return false;
        info.bInserted = words[0] != 0;
        info.wCardType = words[1];
        info.bWriteProtected = words[2] != 0;
        info.wCapacity = words[3];
        info.wFreeMemory = words[4];
        info.dwSerialNumber = words[5] | (static_cast<DWORD>(words[6]) << 16);
        info.wRootLocation = root;
        return true;
    });
}

bool CServiceBase::BasicFbcIdentification(unsigned char* buffer, unsigned short size)
{
    return RunOperation(L"CServiceBase::BasicFbcIdentification", __LINE__, [&] {
        if (buffer == nullptr && size != 0) {
            SetLastErrorCode(PELORUS_ERROR_INVALID_ARGUMENT);
            return false;
        }
        std::wstring order;
        std::wstring description;
        std::wstring hardware;
        std::wstring software;
        if (!IdentifyDevice(order, description, hardware, software))
            return false;
        CArticleNumber article(order);
        const std::wstring texts[] = {article.GetText(true), description, hardware, software};
        std::size_t written = 0;
        for (const std::wstring& text : texts) {
            std::string bytes = WideToAnsi(text);
            bytes.resize(std::min(bytes.size(), kMaxIdentificationText));
            // A text that does not fit whole is left out, and so is all after it.
            if (written + 1 + bytes.size() > size)
                break;
            buffer[written++] = static_cast<unsigned char>(bytes.size());
            std::copy(bytes.begin(), bytes.end(), buffer + written);
            written += bytes.size();
        }
        return true;
    });
}
