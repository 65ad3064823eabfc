#pragma once
// The COM names of the serial devices, shared by the port list and by
// opening a port, so that a name from the list always opens that device.
//
// Names come from sysfs in a stable order: the on-board UARTs keep the
// classic numbering (ttyS0 is COM1, ttyS1 COM2 ...; placeholder ttyS entries
// without hardware are left out), then USB adapters (ttyUSB), modems and
// USB-CDC devices (ttyACM) and Bluetooth links (rfcomm), each by its number,
// take the next free numbers. The variable ZELL_SERIAL_PORTS adds or replaces
// entries: "COM7=/dev/pts/3;COM8=/dev/ttyUSB9" (';' or ',' between entries).

#include "Platform/Base/Types.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Serial {

struct ComPortDevice {
    int number = 0;              // n of COMn
    std::wstring name;           // "COMn"
    std::string devicePath;      // "/dev/ttyUSB0"
    std::wstring description;    // the adapter's product text, or the kind of port
    bool usb = false;
    bool bluetooth = false;
    bool fromVariable = false;
};

class ComPortMap {
public:
    // The map of this machine: /sys/class/tty, /dev and ZELL_SERIAL_PORTS.
    static ComPortMap FromSystem();

    // sysfsRoot holds one folder per tty (as /sys/class/tty does); device
    // paths are devRoot + "/" + the tty name.
    ComPortMap(const std::string& sysfsRoot, const std::string& devRoot, std::string_view variable);

    // Sorted by number.
    const std::vector<ComPortDevice>& Devices() const { return m_devices; }

    // The device path of a port name: "COMn" (any case, with or without a
    // leading "\\.\"), or a path beginning with "/", which stands for itself.
    // Empty for anything else or an unknown number.
    std::optional<std::string> DevicePathOf(std::wstring_view name) const;

    // n for "COMn" (1 and up, without leading "\\.\"); 0 when the text is no COM name.
    static int ComNumber(std::wstring_view name);

private:
    void AddFromSysfs(const std::string& sysfsRoot, const std::string& devRoot);
    void AddFromVariable(std::string_view variable);
    void Add(ComPortDevice device);
    int NextFreeNumber(int from) const;

    std::vector<ComPortDevice> m_devices;
};

}
