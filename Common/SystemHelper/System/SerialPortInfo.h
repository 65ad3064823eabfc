#pragma once
// One COM port of the port list of the serial connection settings.

#include <string>

struct SerialPortInfo {
    std::wstring name;          // "COM5"
    std::wstring friendlyName;  // empty for ports known only from the device map
    std::wstring description;
    std::wstring devicePath;    // the device's path, or "\\.\COM5" for device-map ports
    int portNumber = 0;
    bool special = false;       // a USB or Bluetooth adapter
    bool usb = false;
    bool bluetooth = false;
    int fromDeviceMap = 0;      // 1 for ports known only from the device map
    int reserved = 0;
    std::wstring extra;
};
