#include "Common/SystemHelper/System/SerialPortEnumeration.h"

#include "Common/SystemHelper/Values/StringUtils.h"
#include "Platform/Base/LastError.h"
#include "Platform/Base/FileSystemPath.h"
#include "Platform/Base/WinError.h"
#include "Platform/Registry/Registry.h"
#include "Platform/Serial/ComPortMap.h"

#include <algorithm>
#include <climits>
#include <cwctype>

namespace {

const wchar_t* const kPrefixMissing = L"Error: Prefix 'COM' was not found in friendly name!\n";

// atoi without its undefined overflow: leading blanks, a sign, digits;
// saturated to the range of int.
int TextToInt(const std::wstring& text)
{
    std::size_t position = 0;
    while (position < text.size() && std::iswspace(static_cast<wint_t>(text[position])))
        ++position;
    bool negative = false;
    if (position < text.size() && (text[position] == L'+' || text[position] == L'-'))
        negative = text[position++] == L'-';
    long long value = 0;
    for (; position < text.size() && text[position] >= L'0' && text[position] <= L'9'; ++position) {
        value = value * 10 + (text[position] - L'0');
        if (value > INT_MAX)
            return negative ? INT_MIN : INT_MAX;
    }
    return static_cast<int>(negative ? -value : value);
}

void SortByPortNumber(std::vector<SerialPortInfo>& ports)
{
    std::sort(ports.begin(), ports.end(),
        [](const SerialPortInfo& a, const SerialPortInfo& b) { return a.portNumber < b.portNumber; });
}

bool Contains(const std::wstring& text, const wchar_t* part)
{
    return text.find(part) != std::wstring::npos;
}

// The record of one device, or nothing when its friendly name does not say
// which COM port it is.
std::optional<SerialPortInfo> PortOfInterface(const ComInterfaceRecord& device, bool includeAll)
{
    if (!device.friendlyName || !device.description)
        return std::nullopt;
    const std::wstring& friendlyName = *device.friendlyName;
    if (!includeAll && !Contains(friendlyName, L"Serial") && !Contains(friendlyName, L"COM"))
        return std::nullopt;

    SerialPortInfo port;
    port.usb = device.location && Contains(ToUpper(*device.location), L"USB");
    port.bluetooth = Contains(ToUpper(friendlyName), L"BLUETOOTH");
    DebugTrace(L"%s\n", friendlyName);

    port.description = *device.description;
    std::wstring portText = EraseAll(friendlyName, port.description);
    if (port.description.empty() || portText == friendlyName) {
        DebugTrace(L"Error: Description of communication port not found in friendly name!\n"
                   L"       Desription   : %s\n       Friendly Name: %s\n",
            port.description, friendlyName);
        const std::size_t open = friendlyName.find(L"(COM");
        if (open == std::wstring::npos) {
            DebugTrace(kPrefixMissing);
            return std::nullopt;
        }
        portText = friendlyName.substr(open);
        port.description = friendlyName.substr(0, open);
    }
    portText = Trim(EraseAll(EraseAll(portText, L"("), L")"));
    DebugTrace(L"%s\n", portText);

    const std::wstring number = EraseAll(portText, L"COM");
    if (number == portText) {
        DebugTrace(kPrefixMissing);
        return std::nullopt;
    }
    port.portNumber = TextToInt(number);
    // "COM" followed by no usable number names no port either.
    if (port.portNumber < 1) {
        DebugTrace(kPrefixMissing);
        return std::nullopt;
    }
    port.name = portText;
    port.devicePath = device.interfacePath;
    port.friendlyName = friendlyName;
    port.special = port.usb || port.bluetooth;
    return port;
}

// A port of the device map: the value name is the device, the data its COM name.
std::optional<SerialPortInfo> PortOfDeviceMap(const std::wstring& valueName, const std::wstring& data)
{
    SerialPortInfo port;
    port.special = !Contains(data, L"Serial") && !Contains(data, L"COM");
    port.portNumber = TextToInt(EraseAll(data, L"COM"));
    port.description = EraseAll(valueName, L"\\Device\\");
    if (port.portNumber < 1)
        return std::nullopt;
    port.name = FormatString(L"COM%d", port.portNumber);
    port.devicePath = FormatString(L"\\\\.\\COM%d", port.portNumber);
    port.fromDeviceMap = 1;
    return port;
}

void AddRegistryDeviceMap(std::vector<SerialPortInfo>& ports)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Hardware\\DeviceMap\\SerialComm", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    DWORD values = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr,
            nullptr, nullptr)
        != ERROR_SUCCESS)
        values = 0;
    // Bounded by the count, plus one to see the end: a store changed meanwhile
    // cannot keep the walk going.
    for (DWORD index = 0; index <= values; ++index) {
        wchar_t name[261] = {};
        DWORD nameLength = 261;
        wchar_t data[130 + 1] = {};
        DWORD dataSize = 130 * sizeof(wchar_t);
        DWORD type = REG_NONE;
        const LSTATUS status = RegEnumValueW(key, index, name, &nameLength, nullptr, &type,
            reinterpret_cast<BYTE*>(data), &dataSize);
        if (status == ERROR_NO_MORE_ITEMS)
            break;
        // A value that does not fit or is no text is no COM name.
        if (status != ERROR_SUCCESS || type != REG_SZ)
            continue;
        const std::wstring valueName(name, std::min<DWORD>(nameLength, 260));
        std::wstring text(data, std::min<std::size_t>(dataSize / sizeof(wchar_t), 130));
        if (const std::size_t end = text.find(L'\0'); end != std::wstring::npos)
            text.resize(end);
        if (auto port = PortOfDeviceMap(valueName, text))
            ports.push_back(std::move(*port));
    }
    RegCloseKey(key);
}

}

bool SystemComInterfaces(std::vector<ComInterfaceRecord>& records, DWORD& error)
{
    records.clear();
    error = ERROR_SUCCESS;
    // Ports named by the variable are no devices of their own; they stand in
    // the device map.
    const Serial::ComPortMap map = Serial::ComPortMap::FromSystem();
    for (const Serial::ComPortDevice& device : map.Devices()) {
        if (device.fromVariable)
            continue;
        ComInterfaceRecord record;
        record.interfacePath = Text::FileNameToWide(device.devicePath);
        record.description = device.description;
        record.friendlyName = device.description + L" (" + device.name + L")";
        record.location = device.usb ? L"USB" : (device.bluetooth ? L"Bluetooth" : L"");
        records.push_back(std::move(record));
    }
    return true;
}

void EnumerateComInterfaces(std::vector<SerialPortInfo>& ports, bool includeAll, const ComInterfaceSource& source)
{
    std::vector<ComInterfaceRecord> devices;
    DWORD error = ERROR_SUCCESS;
    if (!source || !source(devices, error)) {
        const std::wstring text = FormatString(L"SetupDiGetClassDevs failed. (err=%lx)", error);
        DebugTrace(L"%s\n", text);
        throw text;
    }
    for (const ComInterfaceRecord& device : devices) {
        if (auto port = PortOfInterface(device, includeAll))
            ports.push_back(std::move(*port));
    }
    SortByPortNumber(ports);
}

void EnumerateComInterfaces(std::vector<SerialPortInfo>& ports, bool includeAll)
{
    EnumerateComInterfaces(ports, includeAll, SystemComInterfaces);
}

void EnumerateDeviceMapPorts(std::vector<SerialPortInfo>& ports)
{
    ports.clear();
    AddRegistryDeviceMap(ports);
    const Serial::ComPortMap map = Serial::ComPortMap::FromSystem();
    for (const Serial::ComPortDevice& device : map.Devices()) {
        if (!device.fromVariable)
            continue;
        if (auto port = PortOfDeviceMap(Text::FileNameToWide(device.devicePath), device.name))
            ports.push_back(std::move(*port));
    }
    SortByPortNumber(ports);
}

void EnumerateSerialPorts(std::vector<SerialPortInfo>& ports, const ComInterfaceSource& source)
{
    std::vector<SerialPortInfo> interfaces;
    EnumerateComInterfaces(interfaces, false, source);
    ports = interfaces;
    std::vector<SerialPortInfo> deviceMap;
    EnumerateDeviceMapPorts(deviceMap);
    for (const SerialPortInfo& mapped : deviceMap) {
        const bool known = std::any_of(interfaces.begin(), interfaces.end(),
            [&](const SerialPortInfo& port) { return port.portNumber == mapped.portNumber; });
        // The device map may name a number twice; the list keeps one.
        const bool listed = std::any_of(ports.begin(), ports.end(),
            [&](const SerialPortInfo& port) { return port.portNumber == mapped.portNumber; });
        if (!known && !listed)
            ports.push_back(mapped);
    }
    SortByPortNumber(ports);
}

void EnumerateSerialPorts(std::vector<SerialPortInfo>& ports)
{
    EnumerateSerialPorts(ports, SystemComInterfaces);
}
