#pragma once
// A device held in memory behind the service interface: network parameters,
// registers per (position, table), state words, monitor entries and the
// rest come from plain containers, and every pure operation can be made to
// fail with a chosen code. The pure operations follow the convention of the
// real services: they reset the code on entry and store it on failure.

#include "Common/Communication/ConnectionBase.h"
#include "Common/Communication/ConnectionException.h"
#include "Common/PelorusDLL/ServiceBase.h"
#include "Common/PelorusDLL/Tests/FakeService.h"

#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

// A connection base that is opened and closed in memory; Open can be made
// to throw, and the time-out and settings are plain values.
class CMemoryConnection : public ZELL::CConnectionBase {
public:
    bool m_open = true;
    int m_failingOpens = 0; // the next this many Open calls throw
    int m_opens = 0;
    int m_closes = 0;
    int m_clears = 0;
    unsigned int m_timeoutSeconds = 10;
    std::vector<unsigned int> m_timeoutsSet;
    std::map<std::wstring, std::wstring> m_settings;

    void Open() override
    {
        ++m_opens;
        if (m_failingOpens > 0) {
            --m_failingOpens;
            SetLastErrorCode(0x30002751);
            throw ZELL::CConnectionException(L"connect failed", 0x30002751);
        }
        m_open = true;
    }
    void Close() override
    {
        ++m_closes;
        m_open = false;
    }
    bool IsOpen() const override { return m_open; }
    void Write(unsigned char*, unsigned int, unsigned int*) override {}
    void Read(unsigned char*, unsigned int, unsigned int*) override {}
    void Execute(unsigned char*, unsigned int, unsigned char**, unsigned int&) override {}
    void ClearBuffer() override { ++m_clears; }
    std::wstring GetType() const override { return L"MEMORY"; }
    unsigned int GetCommunicationTimeout() override { return m_timeoutSeconds; }
    void SetCommunicationTimeout(unsigned int seconds) override
    {
        m_timeoutSeconds = seconds;
        m_timeoutsSet.push_back(seconds);
    }
    unsigned int GetRestartTimeout() override { return 0; }
    void SetRestartTimeout(unsigned int) override {}
    // The time-out is the one setting; restoring the settings puts it back
    // and counts as a setting of it.
    std::wstring GetSettingsXML() const override { return std::to_wstring(m_timeoutSeconds); }
    bool SetSettingsXML(std::wstring xml) override
    {
        SetCommunicationTimeout(static_cast<unsigned int>(std::stoul(xml)));
        return true;
    }
    std::wstring GetSettingsString() const override { return {}; }
    std::wstring GetSettingsValue(const wchar_t* name) override
    {
        const auto found = m_settings.find(name);
        return found == m_settings.end() ? std::wstring() : found->second;
    }
    std::wstring GetDriverInfo() const override { return L"1.0"; }
    bool LoadSettingsRegistry(std::wstring) override { return true; }
    bool SaveSettingsRegistry(std::wstring) override { return true; }
    bool LoadSettingsXML(std::wstring) override { return true; }
    bool SaveSettingsXML(std::wstring) override { return true; }
};

class CMemoryService : public CFakeService {
public:
    using ParamKey = std::tuple<unsigned short, unsigned short, unsigned short>; // interface, id, kind
    using TableKey = std::pair<unsigned int, unsigned int>;                       // position, table
    struct RegisterWrite {
        unsigned int position = 0;
        unsigned int table = 0;
        unsigned int start = 0;
        std::vector<unsigned short> words;
    };

    explicit CMemoryService(ZELL::IConnection* connection) : CFakeService(connection) {}

    // Makes the named pure operation fail with `code` (0 lets it work again).
    void Fail(const std::string& operation, DWORD code) { m_failures[operation] = code; }
    int Calls(const std::string& operation) const
    {
        const auto found = m_calls.find(operation);
        return found == m_calls.end() ? 0 : found->second;
    }

    // Network parameters; a missing one answers "parameter not present".
    std::map<ParamKey, std::vector<unsigned char>> m_parameters;
    std::map<ParamKey, DWORD> m_parameterFailures;
    std::vector<std::pair<ParamKey, std::vector<unsigned char>>> m_parametersSet;

    // Registers; a missing one answers "register address out of range".
    std::map<TableKey, std::map<unsigned int, unsigned short>> m_registers;
    std::map<std::tuple<unsigned int, unsigned int, unsigned int>, DWORD> m_registerFailures;
    std::vector<RegisterWrite> m_registerWrites;
    std::function<void(const RegisterWrite&)> m_onRegisterWrite;
    std::function<void(unsigned int position, unsigned int table, unsigned int start)> m_beforeRegisterRead;

    std::vector<unsigned short> m_states;
    std::function<void(bool)> m_onMonitorMode = [this](bool on) { m_states.at(3) = on ? 1 : 0; };
    std::function<void(bool)> m_onControlMode = [this](bool on) { m_states.at(4) = on ? 1 : 0; };

    std::wstring m_networkId = L"NETWORK";
    std::wstring m_networkMac = L"025AE1000001";
    std::map<unsigned short, std::pair<std::wstring, std::wstring>> m_internalVariables;
    std::function<void()> m_onInternalVariable;

    std::wstring m_order = L"614-8212";
    std::wstring m_description = L"Controller";
    std::wstring m_hardware = L"03";
    std::wstring m_software = L"01.02.03";

    unsigned int m_clockSeconds = 0;
    short m_clockZoneMinutes = 0;
    short m_clockDaylightSaving = 0;
    short m_rtcZoneHours = 0;
    std::vector<std::tuple<unsigned int, short, short>> m_dateTimesSet;
    std::vector<std::pair<unsigned int, short>> m_realTimeClocksSet;

    std::vector<tKBMonEntry> m_monitor;
    unsigned short m_monitorSize = 0;
    std::size_t m_monitorPointer = 0;
    long long m_monitorReadTime = 0;

    std::vector<unsigned short> m_cardWords;
    unsigned short m_rootLocation = 0;

    std::function<void()> m_onRestart;

    bool EnableParamWriting(bool) override { return Begin("EnableParamWriting"); }
    bool RestartSystem() override
    {
        if (!Begin("RestartSystem"))
            return false;
        if (m_onRestart)
            m_onRestart();
        return true;
    }
    using CServiceBase::RestartSystem;

    bool GetFBCStates(std::vector<unsigned short>& out) override
    {
        if (!Begin("GetFBCStates"))
            return false;
        out = m_states;
        return true;
    }
    bool EnableBKMonitorModeWithoutCheck(bool on) override
    {
        if (!Begin("EnableBKMonitorModeWithoutCheck"))
            return false;
        m_onMonitorMode(on);
        return true;
    }
    bool EnableBKControlModeWithoutCheck(bool on) override
    {
        if (!Begin("EnableBKControlModeWithoutCheck"))
            return false;
        m_onControlMode(on);
        return true;
    }
    bool IdentifyDevice(std::wstring& o, std::wstring& d, std::wstring& h, std::wstring& s) override
    {
        if (!Begin("IdentifyDevice"))
            return false;
        o = m_order, d = m_description, h = m_hardware, s = m_software;
        return true;
    }
    bool GetNetworkID(std::wstring& id, std::wstring& mac) override
    {
        if (!Begin("GetNetworkID"))
            return false;
        id = m_networkId, mac = m_networkMac;
        return true;
    }
    bool GetInternalVariable(const unsigned short index, std::wstring& name, std::wstring& value) override
    {
        if (!Begin("GetInternalVariable"))
            return false;
        if (m_onInternalVariable)
            m_onInternalVariable();
        const auto found = m_internalVariables.find(index);
        if (found == m_internalVariables.end())
            return Refuse(PELORUS_ERROR_PARAMETER_NOT_PRESENT);
        name = found->second.first, value = found->second.second;
        return true;
    }
    bool GetRealTimeClock(unsigned int& seconds, short& zoneHours) override
    {
        if (!Begin("GetRealTimeClock"))
            return false;
        seconds = m_clockSeconds, zoneHours = m_rtcZoneHours;
        return true;
    }
    bool SetRealTimeClock(const unsigned int& seconds, const short& zoneHours) override
    {
        if (!Begin("SetRealTimeClock"))
            return false;
        m_realTimeClocksSet.emplace_back(seconds, zoneHours);
        return true;
    }
    bool GetDateTime(unsigned int& seconds, short& zone, short& dst) override
    {
        if (!Begin("GetDateTime"))
            return false;
        seconds = m_clockSeconds, zone = m_clockZoneMinutes, dst = m_clockDaylightSaving;
        return true;
    }
    bool SetDateTime(const unsigned int& seconds, const short& zone, const short& dst) override
    {
        if (!Begin("SetDateTime"))
            return false;
        m_dateTimesSet.emplace_back(seconds, zone, dst);
        return true;
    }
    bool ResetTerminalBusMonitorPtr() override
    {
        if (!Begin("ResetTerminalBusMonitorPtr"))
            return false;
        m_monitorPointer = 0;
        return true;
    }
    bool GetTerminalBusMonitorEntry(tKBMonEntry& entry, long long* readTime) override
    {
        if (!Begin("GetTerminalBusMonitorEntry"))
            return false;
        if (m_monitor.empty())
            return Refuse(PELORUS_ERROR_REGISTER_OUT_OF_RANGE);
        // A monitor that runs out repeats its last entry, as a stuck device would.
        entry = m_monitor[std::min(m_monitorPointer++, m_monitor.size() - 1)];
        if (readTime)
            *readTime = m_monitorReadTime;
        return true;
    }
    bool GetTerminalBusMonitorSize(unsigned short& count) override
    {
        if (!Begin("GetTerminalBusMonitorSize"))
            return false;
        count = m_monitorSize;
        return true;
    }
    bool GetSDCardStatus(std::vector<unsigned short>& words) override
    {
        if (!Begin("GetSDCardStatus"))
            return false;
        words = m_cardWords;
        return true;
    }
    bool GetPLCRootLocation(unsigned short& location) override
    {
        if (!Begin("GetPLCRootLocation"))
            return false;
        location = m_rootLocation;
        return true;
    }

    bool WriteRegister(unsigned int position, unsigned int table, unsigned int start, unsigned int count,
                       const unsigned short* data) override
    {
        if (!Begin("WriteRegister"))
            return false;
        RegisterWrite write{position, table, start, std::vector<unsigned short>(data, data + count)};
        m_registerWrites.push_back(write);
        auto& words = m_registers[{position, table}];
        for (unsigned int i = 0; i < count; ++i)
            words[start + i] = data[i];
        if (m_onRegisterWrite)
            m_onRegisterWrite(write);
        return true;
    }
    bool ReadRegister(unsigned int position, unsigned int table, unsigned int start, unsigned int count,
                      unsigned short* data) override
    {
        if (!Begin("ReadRegister"))
            return false;
        if (m_beforeRegisterRead)
            m_beforeRegisterRead(position, table, start);
        const auto failure = m_registerFailures.find({position, table, start});
        if (failure != m_registerFailures.end())
            return Refuse(failure->second);
        const auto found = m_registers.find({position, table});
        for (unsigned int i = 0; i < count; ++i) {
            if (found == m_registers.end() || found->second.count(start + i) == 0)
                return Refuse(PELORUS_ERROR_REGISTER_OUT_OF_RANGE);
            data[i] = found->second.at(start + i);
        }
        return true;
    }
    bool GetNetworkParameter(const unsigned short interfaceIndex, const unsigned short id, const unsigned short kind,
                             unsigned short& length, unsigned char** data) override
    {
        if (!Begin("GetNetworkParameter"))
            return false;
        const auto failure = m_parameterFailures.find({interfaceIndex, id, kind});
        if (failure != m_parameterFailures.end())
            return Refuse(failure->second);
        const auto found = m_parameters.find({interfaceIndex, id, kind});
        if (found == m_parameters.end())
            return Refuse(PELORUS_ERROR_PARAMETER_NOT_PRESENT);
        const std::vector<unsigned char>& bytes = found->second;
        if (bytes.size() != length) {
            delete[] *data;
            *data = new unsigned char[bytes.size() + 1];
        }
        std::copy(bytes.begin(), bytes.end(), *data);
        length = static_cast<unsigned short>(bytes.size());
        return true;
    }
    bool SetNetworkParameter(const unsigned short interfaceIndex, const unsigned short id, const unsigned short kind,
                             const unsigned short length, const unsigned char* data) override
    {
        if (!Begin("SetNetworkParameter"))
            return false;
        m_parametersSet.emplace_back(ParamKey{interfaceIndex, id, kind},
                                   std::vector<unsigned char>(data, data + length));
        return true;
    }

    // Every operation's entry: counts the call, resets the code and fails
    // when the test asked for it.
    bool Begin(const std::string& operation)
    {
        ++m_calls[operation];
        ResetLastErrorCode();
        const auto found = m_failures.find(operation);
        return found == m_failures.end() || found->second == 0 || Refuse(found->second);
    }
    bool Refuse(DWORD code)
    {
        SetLastErrorCode(code);
        return false;
    }

private:
    std::map<std::string, DWORD> m_failures;
    std::map<std::string, int> m_calls;
};
