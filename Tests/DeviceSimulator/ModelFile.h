#pragma once

// A device model in a small key=value text, for trying the simulator by hand.
// Lines: "key=value"; blank lines and lines starting with '#' are skipped.
// Numbers are decimal or 0x-hexadecimal; lists are comma-separated.
//   protocolId, checksumLength, bufferSize, maxBufferSize, frameTimeoutMs
//   ident.<KEY>=value        identification text item (replaces or appends)
//   identText=raw            identification text as it stands
//   identWords=a,b,c
//   id.order, id.description, id.mediaAddress, id.serial, id.connectionType,
//   id.protocols, id.collection, id.activeConnections (texts);
//   id.vendor, id.state, id.version, id.serverTimeout (numbers); id.revisions=9 bytes
//   networkId, internalVariables (texts)
//   states=..., terminalBusState=..., addressSwitch, ethernetMode
//   clock.seconds (a number, or "now" for the host's time), clock.running,
//   clock.zoneMinutes, clock.daylightSaving
//   sdcard.inserted|type|writeProtected|capacity|free|serial, plcRoot
//   runtimes=..., activeRuntime
//   register.<position>.<table>=w,w,...   (register.<p>.<t>.protected=1)
//   register.<p>.<t>.size=N               (N words, new ones 0)
//   register.<p>.<t>.at.<index>=w,w,...   (words from index on, inside the size)
//   net.<port>.<actual|static>.<source|ip|mask|gateway|dns1|dns2|param6|host|domain|param9|mac|sntp>=value
//   unsupported=code,code,...
//   restartSeconds, resetSeconds, storeSeconds, writeAccessRequired

#include <string>
#include <vector>

#include "Tests/DeviceSimulator/DeviceModel.h"

namespace DevSim {

class CModelFile {
public:
    // Applies the lines to `data`. On a bad line returns false with a message
    // naming the line; `data` is then left as it was.
    static bool Apply(const std::string& text, tDeviceData& data, std::string& error);
    static bool Load(const std::string& path, tDeviceData& data, std::string& error);

    // The kinds of device the simulator ships a model of, the default first;
    // each is the file "<kind>.model" in the simulator's Res folder, which
    // the build puts beside the simulator.
    static const std::vector<std::string>& Kinds();
    static bool LoadKind(const std::string& folder, const std::string& kind, tDeviceData& data, std::string& error);

private:
    static bool ApplyLine(const std::string& key, const std::string& value, tDeviceData& data, std::string& error);
    static bool ApplyRegisterLine(const std::string& key, const std::string& value, tDeviceData& data,
                                  std::string& error);
};

} // namespace DevSim
