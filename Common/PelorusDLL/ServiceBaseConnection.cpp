// The connection check, the reconnect and the restart with its wait until
// the node is back, all built on the register operations.
#include "Common/PelorusDLL/ServiceBase.h"

#include "Common/Communication/ConnectionBase.h"
#include "Common/SystemHelper/System/RegistryEx.h"
#include "Platform/Base/Clock.h"

#include <algorithm>

namespace {

const wchar_t kLibraryKey[] = L"HKEY_CURRENT_USER\\SOFTWARE\\Zell Software\\PelorusNET";
const wchar_t kSettingsKey[] = L"Settings";
constexpr DWORD kDefaultWaitBeforeCheckMs = 500;
// A mistyped setting must not stall every check for days.
constexpr DWORD kMaxWaitBeforeCheckMs = 60000;
constexpr DWORD kDefaultCheckTimeoutSeconds = 5;

constexpr unsigned int kConfigurationTable = 9;
// The module table holds at most this many entries (the register count of a
// table has 9 bits); a device that never ends the list with 0 ends here.
constexpr unsigned int kMaxConfigurationEntries = 512;
constexpr unsigned short kAnyModule = 0x1999;
constexpr unsigned int kModuleTable = 0;
constexpr unsigned int kModuleIdRegister = 30;

// Lowers the communication time-out for the check and puts the connection's
// settings back exactly however the check ends: the whole-second time-out the
// connections offer would flatten the three TCP/IP time-outs into one and cut
// a serial time-out of 300 ms to 0.
class CCommunicationTimeoutRestorer {
public:
    explicit CCommunicationTimeoutRestorer(ZELL::CConnectionBase& connection)
        : m_connection(connection), m_settings(connection.GetSettingsXML())
    {
    }
    ~CCommunicationTimeoutRestorer()
    {
        if (!m_changed)
            return;
        try {
            m_connection.SetSettingsXML(m_settings);
        } catch (...) {
            // Nothing may leave a destructor; the check has its result already.
        }
    }
    CCommunicationTimeoutRestorer(const CCommunicationTimeoutRestorer&) = delete;
    CCommunicationTimeoutRestorer& operator=(const CCommunicationTimeoutRestorer&) = delete;

    // Never raises the time-out, and a sub-second one (0 in whole seconds)
    // stays as it is rather than becoming no time-out at all.
    void Lower(unsigned long seconds)
    {
        if (seconds == 0 || seconds >= m_connection.GetCommunicationTimeout())
            return;
        m_changed = true;
        m_connection.SetCommunicationTimeout(static_cast<unsigned int>(seconds));
    }

private:
    ZELL::CConnectionBase& m_connection;
    std::wstring m_settings;
    bool m_changed = false;
};

void CloseQuietly(ZELL::CConnectionBase& connection)
{
    try {
        connection.Close();
    } catch (...) {
        // The connection keeps its own code; the check has failed already.
    }
}

}

unsigned long CServiceBase::GetCheckConnectionTimeoutSeconds()
{
    const wutils::CRegistryEx registry(kLibraryKey);
    DWORD seconds = registry.GetDWordValue(kSettingsKey, L"CheckConnectionTimeoutSeconds", kDefaultCheckTimeoutSeconds);
    if (seconds == 0)
        seconds = kDefaultCheckTimeoutSeconds;
    if (auto* connection = dynamic_cast<ZELL::CConnectionBase*>(GetConnection()))
        seconds = std::min<DWORD>(seconds, connection->GetCommunicationTimeout());
    return seconds;
}

bool CServiceBase::CheckCommunication(unsigned short attempts)
{
    static const wchar_t name[] = L"CServiceBase::CheckCommunication";
    return RunOperation(name, __LINE__, [&] {
        auto* connection = dynamic_cast<ZELL::CConnectionBase*>(GetConnection());
        if (connection == nullptr) {
            Log(L" ### LEAVE - %s with false [invalid connection pointer] (Line %d)\n", name, __LINE__);
            SetLastErrorCode(PELORUS_ERROR_NO_CONNECTION);
            return false;
        }
        CCommunicationTimeoutRestorer restorer(*connection);
        bool openedHere = false;
        bool answered = false;
        try {
            if (!connection->IsOpen())
                restorer.Lower(GetCheckConnectionTimeoutSeconds());
            answered = ProbeConnection(*connection, attempts, openedHere);
        } catch (...) {
            StoreCaughtException(name, __LINE__);
        }
        if (openedHere || !answered)
            CloseQuietly(*connection);
        return answered;
    });
}

bool CServiceBase::ProbeConnection(ZELL::CConnectionBase& connection, unsigned short attempts, bool& openedHere)
{
    static const wchar_t name[] = L"CServiceBase::CheckCommunication";
    const wutils::CRegistryEx registry(kLibraryKey);
    const DWORD wait = std::min(
        registry.GetDWordValue(kSettingsKey, L"WaitBeforCheckConnection", kDefaultWaitBeforeCheckMs),
        kMaxWaitBeforeCheckMs);
    if (!connection.IsOpen()) {
        openedHere = true;
        connection.Open();
    }
    if (!connection.IsOpen())
        return false;
    const unsigned int rounds = std::max<unsigned int>(attempts, 1);
    for (unsigned int round = 0; round < rounds; ++round) {
        Sleep(wait);
        connection.ClearBuffer();
        unsigned short word = 0;
        const bool read = ReadRegister(0, kConfigurationTable, 0, 1, &word);
        connection.SetLastErrorCode(m_lastError);
        if (read)
            return true;
        Log(L"  ## ERROR - %s error code = 0x%08X (Line %d)\n", name, m_lastError, __LINE__);
        if (!connection.IsOpen())
            connection.Open();
    }
    return false;
}

bool CServiceBase::Reconnect()
{
    static const wchar_t name[] = L"CServiceBase::Reconnect";
    bool open = false;
    try {
        if (auto* connection = dynamic_cast<ZELL::CConnectionBase*>(GetConnection())) {
            connection->Close();
            Sleep(100);
            connection->Open();
            open = connection->IsOpen();
        }
    } catch (...) {
        open = false;
    }
    if (!open) {
        SetLastErrorCode(PELORUS_ERROR_RECONNECT);
        Log(L"  ## ERROR - %s error code = 0x%08X (Line %d)\n", name, m_lastError, __LINE__);
    }
    return open;
}

bool CServiceBase::GetSubBusConfiguration(std::vector<unsigned short>* config)
{
    return RunOperation(L"CServiceBase::GetSubBusConfiguration", __LINE__, [&] {
        if (config == nullptr) {
            SetLastErrorCode(PELORUS_ERROR_INVALID_ARGUMENT);
            return false;
        }
        config->clear();
        for (unsigned int reg = 0; reg < kMaxConfigurationEntries; ++reg) {
            unsigned short value = 0;
            if (!ReadRegister(0, kConfigurationTable, reg, 1, &value)) {
                // Past the last register of the table: the list ends there.
                if (!HasStoredCode(PELORUS_ERROR_REGISTER_OUT_OF_RANGE))
                    return false;
                ResetLastErrorCode();
                value = 0;
            }
            config->push_back(value);
            if (value == 0)
                break;
        }
        if (config->size() < 2 || config->back() != 0 || (*config)[0] == 0 || (*config)[1] == 0) {
            SetLastErrorCode(PELORUS_ERROR_INVALID_NODE_CONFIGURATION);
            return false;
        }
        return true;
    });
}

bool CServiceBase::CheckRestartedNode(unsigned int position, const std::vector<unsigned short>& before)
{
    if (!Reconnect()) {
        ResetLastErrorCode();
        SetLastErrorCode(PELORUS_ERROR_RESTART_RECONNECT);
        return false;
    }
    std::vector<unsigned short> after;
    if (!GetSubBusConfiguration(&after))
        return false;
    if (after.size() < static_cast<std::size_t>(position) + 2 || after.size() != before.size()) {
        SetLastErrorCode(PELORUS_ERROR_RESTART_MODULE_COUNT);
        return false;
    }
    for (std::size_t i = 0; i < after.size(); ++i) {
        if (after[i] != before[i] && after[i] != kAnyModule && before[i] != kAnyModule) {
            SetLastErrorCode(PELORUS_ERROR_RESTART_CONFIGURATION);
            return false;
        }
    }
    if (position == 0)
        return true;
    unsigned short moduleId = 0;
    if (!ReadRegister(position, kModuleTable, kModuleIdRegister, 1, &moduleId))
        return false;
    // The register carries one more decimal digit than the configuration.
    if (moduleId / 10 != after[position]) {
        SetLastErrorCode(PELORUS_ERROR_RESTART_MODULE_MISMATCH);
        return false;
    }
    return true;
}

bool CServiceBase::RestartSystem(unsigned int position, unsigned int seconds)
{
    return RunOperation(L"CServiceBase::RestartSystem", __LINE__, [&] {
        std::vector<unsigned short> before;
        if (!GetSubBusConfiguration(&before))
            return false;
        if (position >= before.size() - 1) {
            SetLastErrorCode(PELORUS_ERROR_RESTART_POSITION);
            return false;
        }
        if (!RestartSystem())
            return false;
        Sleep(1000);
        const ULONGLONG limit = 1000ull * (seconds > 1 ? seconds - 1 : seconds);
        const ULONGLONG start = GetTickCount64();
        while (GetTickCount64() - start <= limit) {
            // Each round answers for itself: a success after failed rounds
            // must not carry their code.
            ResetLastErrorCode();
            if (CheckRestartedNode(position, before))
                return true;
            if (HasStoredCode(PELORUS_ERROR_RESTART_ABORT))
                return false;
            Sleep(100);
        }
        return false;
    });
}
