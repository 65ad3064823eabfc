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
    bool open = true;
    int failingOpens = 0; // the next this many Open calls throw
    int opens = 0;
    int closes = 0;
    int clears = 0;
    unsigned int timeoutSeconds = 10;
    std::vector<unsigned int> timeoutsSet;
    std::map<std::wstring, std::wstring> settings;

    void Open() override
    {
        ++opens;
        if (failingOpens > 0) {
            --failingOpens;
            SetLastErrorCode(0x30002751);
            throw ZELL::CConnectionException(L"connect failed", 0x30002751);
        }
        open = true;
    }
    void Close() override
    {
        ++closes;
        open = false;
    }
    bool IsOpen() const override { return open; }
    void Write(unsigned char*, unsigned int, unsigned int*) override {}
    void Read(unsigned char*, unsigned int, unsigned int*) override {}
    void Execute(unsigned char*, unsigned int, unsigned char**, unsigned int&) override {}
    void ClearBuffer() override { ++clears; }
    std::wstring GetType() const override { return L"MEMORY"; }
    unsigned int GetCommunicationTimeout() override { return timeoutSeconds; }
    void SetCommunicationTimeout(unsigned int seconds) override
    {
        timeoutSeconds = seconds;
        timeoutsSet.push_back(seconds);
    }
    unsigned int GetRestartTimeout() override { return 0; }
    void SetRestartTimeout(unsigned int) override {}
    // The time-out is the one setting; restoring the settings puts it back
    // and counts as a setting of it.
    std::wstring GetSettingsXML() const override { return std::to_wstring(timeoutSeconds); }
    bool SetSettingsXML(std::wstring xml) override
    {
        SetCommunicationTimeout(static_cast<unsigned int>(std::stoul(xml)));
        return true;
    }
    std::wstring GetSettingsString() const override { return {}; }
    std::wstring GetSettingsValue(const wchar_t* name) override
    {
        const auto found = settings.find(name);
        return found == settings.end() ? std::wstring() : found->second;
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
    void Fail(const std::string& operation, DWORD code) { failures[operation] = code; }
    int Calls(const std::string& operation) const
    {
        const auto found = calls.find(operation);
        return found == calls.end() ? 0 : found->second;
    }

    // Network parameters; a missing one answers "parameter not present".
    std::map<ParamKey, std::vector<unsigned char>> parameters;
    std::map<ParamKey, DWORD> parameterFailures;
    std::vector<std::pair<ParamKey, std::vector<unsigned char>>> parametersSet;

    // Registers; a missing one answers "register address out of range".
    std::map<TableKey, std::map<unsigned int, unsigned short>> registers;
    std::map<std::tuple<unsigned int, unsigned int, unsigned int>, DWORD> registerFailures;
    std::vector<RegisterWrite> registerWrites;
    std::function<void(const RegisterWrite&)> onRegisterWrite;
    std::function<void(unsigned int position, unsigned int table, unsigned int start)> beforeRegisterRead;

    std::vector<unsigned short> states;
    std::function<void(bool)> onMonitorMode = [this](bool on) { states.at(3) = on ? 1 : 0; };
    std::function<void(bool)> onControlMode = [this](bool on) { states.at(4) = on ? 1 : 0; };

    std::wstring networkId = L"NETWORK";
    std::wstring networkMac = L"025AE1000001";
    std::map<unsigned short, std::pair<std::wstring, std::wstring>> internalVariables;
    std::function<void()> onInternalVariable;

    std::wstring order = L"614-8212";
    std::wstring description = L"Controller";
    std::wstring hardware = L"03";
    std::wstring software = L"01.02.03";

    unsigned int clockSeconds = 0;
    short clockZoneMinutes = 0;
    short clockDaylightSaving = 0;
    short rtcZoneHours = 0;
    std::vector<std::tuple<unsigned int, short, short>> dateTimesSet;
    std::vector<std::pair<unsigned int, short>> realTimeClocksSet;

    std::vector<tKBMonEntry> monitor;
    unsigned short monitorSize = 0;
    std::size_t monitorPointer = 0;
    long long monitorReadTime = 0;

    std::vector<unsigned short> cardWords;
    unsigned short rootLocation = 0;

    std::function<void()> onRestart;

    bool EnableParamWriting(bool) override { return Begin("EnableParamWriting"); }
    bool RestartSystem() override
    {
        if (!Begin("RestartSystem"))
            return false;
        if (onRestart)
            onRestart();
        return true;
    }
    using CServiceBase::RestartSystem;

    bool GetFBCStates(std::vector<unsigned short>& out) override
    {
        if (!Begin("GetFBCStates"))
            return false;
        out = states;
        return true;
    }
    bool EnableBKMonitorModeWithoutCheck(bool on) override
    {
        if (!Begin("EnableBKMonitorModeWithoutCheck"))
            return false;
        onMonitorMode(on);
        return true;
    }
    bool EnableBKControlModeWithoutCheck(bool on) override
    {
        if (!Begin("EnableBKControlModeWithoutCheck"))
            return false;
        onControlMode(on);
        return true;
    }
    bool IdentifyDevice(std::wstring& o, std::wstring& d, std::wstring& h, std::wstring& s) override
    {
        if (!Begin("IdentifyDevice"))
            return false;
        o = order, d = description, h = hardware, s = software;
        return true;
    }
    bool GetNetworkID(std::wstring& id, std::wstring& mac) override
    {
        if (!Begin("GetNetworkID"))
            return false;
        id = networkId, mac = networkMac;
        return true;
    }
    bool GetInternalVariable(const unsigned short index, std::wstring& name, std::wstring& value) override
    {
        if (!Begin("GetInternalVariable"))
            return false;
        if (onInternalVariable)
            onInternalVariable();
        const auto found = internalVariables.find(index);
        if (found == internalVariables.end())
            return Refuse(PELORUS_ERROR_PARAMETER_NOT_PRESENT);
        name = found->second.first, value = found->second.second;
        return true;
    }
    bool GetRealTimeClock(unsigned int& seconds, short& zoneHours) override
    {
        if (!Begin("GetRealTimeClock"))
            return false;
        seconds = clockSeconds, zoneHours = rtcZoneHours;
        return true;
    }
    bool SetRealTimeClock(const unsigned int& seconds, const short& zoneHours) override
    {
        if (!Begin("SetRealTimeClock"))
            return false;
        realTimeClocksSet.emplace_back(seconds, zoneHours);
        return true;
    }
    bool GetDateTime(unsigned int& seconds, short& zone, short& dst) override
    {
        if (!Begin("GetDateTime"))
            return false;
        seconds = clockSeconds, zone = clockZoneMinutes, dst = clockDaylightSaving;
        return true;
    }
    bool SetDateTime(const unsigned int& seconds, const short& zone, const short& dst) override
    {
        if (!Begin("SetDateTime"))
            return false;
        dateTimesSet.emplace_back(seconds, zone, dst);
        return true;
    }
    bool ResetTerminalBusMonitorPtr() override
    {
        if (!Begin("ResetTerminalBusMonitorPtr"))
            return false;
        monitorPointer = 0;
        return true;
    }
    bool GetTerminalBusMonitorEntry(tKBMonEntry& entry, long long* readTime) override
    {
        if (!Begin("GetTerminalBusMonitorEntry"))
            return false;
        if (monitor.empty())
            return Refuse(PELORUS_ERROR_REGISTER_OUT_OF_RANGE);
        // A monitor that runs out repeats its last entry, as a stuck device would.
        entry = monitor[std::min(monitorPointer++, monitor.size() - 1)];
        if (readTime)
            *readTime = monitorReadTime;
        return true;
    }
    bool GetTerminalBusMonitorSize(unsigned short& count) override
    {
        if (!Begin("GetTerminalBusMonitorSize"))
            return false;
        count = monitorSize;
        return true;
    }
    bool GetSDCardStatus(std::vector<unsigned short>& words) override
    {
        if (!Begin("GetSDCardStatus"))
            return false;
        words = cardWords;
        return true;
    }
    bool GetPLCRootLocation(unsigned short& location) override
    {
        if (!Begin("GetPLCRootLocation"))
            return false;
        location = rootLocation;
        return true;
    }

    bool WriteRegister(unsigned int position, unsigned int table, unsigned int start, unsigned int count,
                       const unsigned short* data) override
    {
        if (!Begin("WriteRegister"))
            return false;
        RegisterWrite write{position, table, start, std::vector<unsigned short>(data, data + count)};
        registerWrites.push_back(write);
        auto& words = registers[{position, table}];
        for (unsigned int i = 0; i < count; ++i)
            words[start + i] = data[i];
        if (onRegisterWrite)
            onRegisterWrite(write);
        return true;
    }
    bool ReadRegister(unsigned int position, unsigned int table, unsigned int start, unsigned int count,
                      unsigned short* data) override
    {
        if (!Begin("ReadRegister"))
            return false;
        if (beforeRegisterRead)
            beforeRegisterRead(position, table, start);
        const auto failure = registerFailures.find({position, table, start});
        if (failure != registerFailures.end())
            return Refuse(failure->second);
        const auto found = registers.find({position, table});
        for (unsigned int i = 0; i < count; ++i) {
            if (found == registers.end() || found->second.count(start + i) == 0)
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
        const auto failure = parameterFailures.find({interfaceIndex, id, kind});
        if (failure != parameterFailures.end())
            return Refuse(failure->second);
        const auto found = parameters.find({interfaceIndex, id, kind});
        if (found == parameters.end())
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
        parametersSet.emplace_back(ParamKey{interfaceIndex, id, kind},
                                   std::vector<unsigned char>(data, data + length));
        return true;
    }

    // Every operation's entry: counts the call, resets the code and fails
    // when the test asked for it.
    bool Begin(const std::string& operation)
    {
        ++calls[operation];
        ResetLastErrorCode();
        const auto found = failures.find(operation);
        return found == failures.end() || found->second == 0 || Refuse(found->second);
    }
    bool Refuse(DWORD code)
    {
        SetLastErrorCode(code);
        return false;
    }

private:
    std::map<std::string, DWORD> failures;
    std::map<std::string, int> calls;
};
