#include "Platform/Serial/ComPortMap.h"

#include "Platform/Base/FileSystemPath.h"

#include <algorithm>
#include <cstdlib>
#include <cwctype>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace Serial {
namespace {

constexpr std::wstring_view kDevicePrefix = L"\\\\.\\";
constexpr int kMaxComNumber = 9999;

enum class Kind { Uart, Usb, Acm, Rfcomm };

struct Found {
    Kind kind = Kind::Uart;
    int index = 0;
    std::string tty;
};

// "ttyUSB12" with the prefix "ttyUSB" gives 12; -1 when the rest is not a number.
int IndexAfter(std::string_view name, std::string_view prefix)
{
    if (name.size() <= prefix.size() || name.size() > prefix.size() + 4 || name.substr(0, prefix.size()) != prefix)
        return -1;
    int index = 0;
    for (char c : name.substr(prefix.size())) {
        if (c < '0' || c > '9')
            return -1;
        index = index * 10 + (c - '0');
    }
    return index;
}

// The first line of a small sysfs attribute; empty when it cannot be read.
std::string ReadAttribute(const fs::path& file)
{
    std::ifstream in(file);
    std::string line;
    if (!in || !std::getline(in, line))
        return {};
    if (line.size() > 256)
        line.resize(256);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
        line.pop_back();
    return line;
}

std::optional<unsigned long> ReadNumber(const fs::path& file)
{
    const std::string text = ReadAttribute(file);
    if (text.empty())
        return std::nullopt;
    char* end = nullptr;
    const unsigned long value = std::strtoul(text.c_str(), &end, 0);
    if (end == text.c_str())
        return std::nullopt;
    return value;
}

// The kernel lists every possible 8250 port, most of them without hardware:
// those read UART type 0 (unknown) or I/O port 0.
bool IsRealUart(const fs::path& entry)
{
    if (const auto type = ReadNumber(entry / "type"))
        return *type != 0;
    if (const auto port = ReadNumber(entry / "port"))
        return *port != 0;
    std::error_code error;
    const fs::path driver = fs::read_symlink(entry / "device" / "driver", error);
    return !error && driver.filename() != "serial8250";
}

// The product text of the USB device the tty belongs to, some levels above it.
std::wstring ProductOf(const fs::path& entry)
{
    std::error_code error;
    fs::path device = fs::canonical(entry / "device", error);
    for (int level = 0; !error && level < 3 && !device.empty(); ++level) {
        const std::string product = ReadAttribute(device / "product");
        if (!product.empty())
            return Text::Utf8ToWide(product);
        device = device.parent_path();
    }
    return {};
}

std::wstring DefaultDescription(Kind kind)
{
    switch (kind) {
    case Kind::Uart: return L"Communications Port";
    case Kind::Usb: return L"USB Serial Port";
    case Kind::Acm: return L"USB Serial Device";
    case Kind::Rfcomm: return L"Standard Serial over Bluetooth link";
    }
    return {};
}

std::wstring_view Trim(std::wstring_view text)
{
    while (!text.empty() && std::iswspace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && std::iswspace(text.back()))
        text.remove_suffix(1);
    return text;
}

std::wstring_view WithoutDevicePrefix(std::wstring_view name)
{
    if (name.substr(0, kDevicePrefix.size()) == kDevicePrefix)
        name.remove_prefix(kDevicePrefix.size());
    return name;
}

}

ComPortMap ComPortMap::FromSystem()
{
    const char* variable = std::getenv("ZELL_SERIAL_PORTS");
    return ComPortMap("/sys/class/tty", "/dev", variable != nullptr ? variable : "");
}

ComPortMap::ComPortMap(const std::string& sysfsRoot, const std::string& devRoot, std::string_view variable)
{
    AddFromVariable(variable);
    AddFromSysfs(sysfsRoot, devRoot);
    std::sort(m_devices.begin(), m_devices.end(),
              [](const ComPortDevice& a, const ComPortDevice& b) { return a.number < b.number; });
}

int ComPortMap::ComNumber(std::wstring_view name)
{
    name = WithoutDevicePrefix(name);
    if (name.size() < 4 || name.size() > 7)
        return 0;
    for (int i = 0; i < 3; ++i) {
        if (std::towupper(static_cast<wint_t>(name[i])) != static_cast<wint_t>(L"COM"[i]))
            return 0;
    }
    if (name[3] == L'0')
        return 0;
    int number = 0;
    for (wchar_t c : name.substr(3)) {
        if (c < L'0' || c > L'9')
            return 0;
        number = number * 10 + (c - L'0');
    }
    return number <= kMaxComNumber ? number : 0;
}

std::optional<std::string> ComPortMap::DevicePathOf(std::wstring_view name) const
{
    name = WithoutDevicePrefix(name);
    if (!name.empty() && name.front() == L'/')
        return Text::WideToUtf8(name);
    const int number = ComNumber(name);
    if (number == 0)
        return std::nullopt;
    for (const ComPortDevice& device : m_devices) {
        if (device.number == number)
            return device.devicePath;
    }
    return std::nullopt;
}

void ComPortMap::AddFromVariable(std::string_view variable)
{
    const std::wstring text = Text::Utf8ToWide(variable);
    std::wstring_view rest = text;
    while (!rest.empty()) {
        const std::size_t end = rest.find_first_of(L";,");
        const std::wstring_view item = Trim(rest.substr(0, end));
        rest = end == std::wstring_view::npos ? std::wstring_view{} : rest.substr(end + 1);
        const std::size_t equals = item.find(L'=');
        if (equals == std::wstring_view::npos)
            continue;
        const int number = ComNumber(Trim(item.substr(0, equals)));
        const std::wstring_view path = Trim(item.substr(equals + 1));
        if (number == 0 || path.empty() || path.front() != L'/')
            continue;
        ComPortDevice device;
        device.number = number;
        device.devicePath = Text::WideToFileName(path);
        device.description = L"Communications Port";
        device.fromVariable = true;
        Add(std::move(device));
    }
}

void ComPortMap::AddFromSysfs(const std::string& sysfsRoot, const std::string& devRoot)
{
    std::vector<Found> found;
    std::error_code error;
    for (fs::directory_iterator it(sysfsRoot, error), end; !error && it != end; it.increment(error)) {
        const std::string tty = it->path().filename().string();
        if (const int index = IndexAfter(tty, "ttyS"); index >= 0 && IsRealUart(it->path()))
            found.push_back({Kind::Uart, index, tty});
        else if (const int usb = IndexAfter(tty, "ttyUSB"); usb >= 0)
            found.push_back({Kind::Usb, usb, tty});
        else if (const int acm = IndexAfter(tty, "ttyACM"); acm >= 0)
            found.push_back({Kind::Acm, acm, tty});
        else if (const int link = IndexAfter(tty, "rfcomm"); link >= 0)
            found.push_back({Kind::Rfcomm, link, tty});
    }
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        return a.kind != b.kind ? a.kind < b.kind : a.index < b.index;
    });
    for (const Found& item : found) {
        ComPortDevice device;
        device.devicePath = devRoot + "/" + item.tty;
        const bool named = std::any_of(m_devices.begin(), m_devices.end(),
                                       [&](const ComPortDevice& d) { return d.devicePath == device.devicePath; });
        if (named)
            continue;
        const int classic = item.kind == Kind::Uart ? item.index + 1 : 1;
        device.number = NextFreeNumber(classic);
        if (device.number == 0)
            continue;
        device.usb = item.kind == Kind::Usb || item.kind == Kind::Acm;
        device.bluetooth = item.kind == Kind::Rfcomm;
        device.description = device.usb ? ProductOf(fs::path(sysfsRoot) / item.tty) : std::wstring{};
        if (device.description.empty())
            device.description = DefaultDescription(item.kind);
        Add(std::move(device));
    }
}

void ComPortMap::Add(ComPortDevice device)
{
    device.name = L"COM" + std::to_wstring(device.number);
    std::erase_if(m_devices, [&](const ComPortDevice& d) { return d.number == device.number; });
    m_devices.push_back(std::move(device));
}

int ComPortMap::NextFreeNumber(int from) const
{
    for (int number = std::max(from, 1); number <= kMaxComNumber; ++number) {
        const bool taken =
            std::any_of(m_devices.begin(), m_devices.end(), [number](const ComPortDevice& d) { return d.number == number; });
        if (!taken)
            return number;
    }
    return 0;
}

}
