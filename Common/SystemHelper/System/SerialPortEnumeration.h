#pragma once
// The COM ports of this computer, joined from the serial devices the system
// knows (with friendly names, telling USB and Bluetooth adapters apart) and
// from the serial device map (HKEY_LOCAL_MACHINE\Hardware\DeviceMap\SerialComm
// plus the ports that ZELL_SERIAL_PORTS adds), sorted by port number.

#include "Common/SystemHelper/System/SerialPortInfo.h"
#include "Platform/Base/Types.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

// One device of the COM-port class with the properties read from it; a
// property that could not be read is empty.
struct ComInterfaceRecord {
    std::wstring interfacePath;
    std::optional<std::wstring> friendlyName;
    std::optional<std::wstring> description;
    std::optional<std::wstring> location;
};

// Fills the devices; false with an error code when the class cannot be queried.
using ComInterfaceSource = std::function<bool(std::vector<ComInterfaceRecord>& records, DWORD& error)>;

// The devices of this machine's serial-port map.
bool SystemComInterfaces(std::vector<ComInterfaceRecord>& records, DWORD& error);

void EnumerateSerialPorts(std::vector<SerialPortInfo>& ports);
void EnumerateSerialPorts(std::vector<SerialPortInfo>& ports, const ComInterfaceSource& source);

// Throws a std::wstring when the class query fails.
void EnumerateComInterfaces(std::vector<SerialPortInfo>& ports, bool includeAll);
void EnumerateComInterfaces(std::vector<SerialPortInfo>& ports, bool includeAll, const ComInterfaceSource& source);

void EnumerateDeviceMapPorts(std::vector<SerialPortInfo>& ports);
