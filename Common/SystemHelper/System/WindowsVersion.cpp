#include "Common/SystemHelper/System/WindowsVersion.h"

#include "Common/SystemHelper/Values/StringUtils.h"
#include "Platform/Base/TextConversion.h"

#include <cstdlib>
#include <cstring>
#include <fstream>

#include <sys/utsname.h>

namespace {

const wchar_t* EditionOfProduct(DWORD product)
{
    switch (product) {
    case 1: return L"Ultimate Edition";
    case 2: return L"Home Basic Edition";
    case 3: return L"Home Premium Edition";
    case 4:
    case 10: return L"Enterprise Edition";
    case 6: return L"Business Edition";
    case 7: return L"Standard Edition";
    case 8: return L"Datacenter Edition";
    case 9: return L"Small Business Server";
    case 11: return L"Starter Edition";
    case 12: return L"Datacenter Edition (core installation)";
    case 13: return L"Standard Edition (core installation)";
    case 14: return L"Enterprise Edition (core installation)";
    case 15: return L"Enterprise Edition for Itanium-based Systems";
    case 17: return L"Web Server Edition";
    case 18: return L"Cluster Server Edition";
    case 25: return L"Small Business Server Premium Edition";
    case 48: return L"Professional";
    default: return L"";
    }
}

std::wstring NameOfVersion6(const SystemVersionInfo& info)
{
    const bool workstation = info.productType == VER_NT_WORKSTATION;
    switch (info.minorVersion) {
    case 0: return workstation ? L"Windows Vista " : L"Windows Server 2008 ";
    case 1: return workstation ? L"Windows 7 " : L"Windows Server 2008 R2 ";
    case 2: return workstation ? L"Windows 8 " : L"Windows Server 2012 ";
    case 3: return workstation ? L"Windows 8.1 " : L"Windows Server 2012 R2 ";
    default: return L"";
    }
}

void Describe52(const SystemVersionInfo& info, WindowsVersionText& text)
{
    const bool workstation = info.productType == VER_NT_WORKSTATION;
    const WORD suite = info.suiteMask;
    if (info.serverR2)
        text.name += L"Windows Server 2003 R2";
    else if (suite & VER_SUITE_STORAGE_SERVER)
        text.name += L"Windows Storage Server 2003";
    else if (suite & VER_SUITE_WH_SERVER)
        text.name += L"Windows Home Server";
    else if (workstation && info.processorArchitecture == PROCESSOR_ARCHITECTURE_AMD64)
        text.name += L"Windows XP Professional x64 Edition";
    else
        text.name += L"Windows Server 2003";
    if (workstation)
        return;
    if (info.processorArchitecture == PROCESSOR_ARCHITECTURE_IA64) {
        if (suite & VER_SUITE_DATACENTER)
            text.edition = L"Datacenter Edition for Itanium-based Systems";
        else if (suite & VER_SUITE_ENTERPRISE)
            text.edition = L"Enterprise Edition for Itanium-based Systems";
    } else if (info.processorArchitecture == PROCESSOR_ARCHITECTURE_AMD64) {
        if (suite & VER_SUITE_DATACENTER)
            text.edition = L"Datacenter x64 Edition";
        else if (suite & VER_SUITE_ENTERPRISE)
            text.edition = L"Enterprise x64 Edition";
        else
            text.edition = L"Standard x64 Edition";
    } else if (suite & VER_SUITE_COMPUTE_SERVER) {
        text.edition = L"Compute Cluster Edition";
    } else if (suite & VER_SUITE_DATACENTER) {
        text.edition = L"Datacenter Edition";
    } else if (suite & VER_SUITE_ENTERPRISE) {
        text.edition = L"Enterprise Edition";
    } else if (suite & VER_SUITE_BLADE) {
        text.edition = L"Web Edition";
    } else {
        text.edition = L"Standard Edition";
    }
}

void Describe5(const SystemVersionInfo& info, WindowsVersionText& text)
{
    if (info.minorVersion == 2) {
        Describe52(info, text);
    } else if (info.minorVersion == 1) {
        text.name += L"Windows XP ";
        text.edition = (info.suiteMask & VER_SUITE_PERSONAL) ? L"Home Edition" : L"Professional";
    } else if (info.minorVersion == 0) {
        text.name += L"Windows 2000 ";
        if (info.productType == VER_NT_WORKSTATION)
            text.edition = L"Professional";
        else if (info.suiteMask & VER_SUITE_DATACENTER)
            text.edition = L"Datacenter Server";
        else if (info.suiteMask & VER_SUITE_ENTERPRISE)
            text.edition = L"Advanced Server";
        else
            text.edition = L"Server";
    }
}

std::wstring VersionNumbers(const SystemVersionInfo& info)
{
    return FormatString(L"Version %d.%d (Build %d)", static_cast<int>(info.majorVersion),
        static_cast<int>(info.minorVersion), static_cast<int>(info.buildNumber));
}

void SetBitness(const SystemVersionInfo& info, WindowsVersionText& text)
{
    if (info.processorArchitecture == PROCESSOR_ARCHITECTURE_AMD64)
        text.bitness = L"64 Bit";
    else if (info.processorArchitecture == PROCESSOR_ARCHITECTURE_INTEL)
        text.bitness = L"32 Bit";
}

// One number of a kernel release such as "6.1.0-18-amd64"; moves past it.
DWORD NextNumber(const char*& text)
{
    while (*text && (*text < '0' || *text > '9'))
        ++text;
    unsigned long value = 0;
    while (*text >= '0' && *text <= '9') {
        value = value * 10 + static_cast<unsigned long>(*text - '0');
        if (value > 0xFFFF)
            value = 0xFFFF;
        ++text;
    }
    return static_cast<DWORD>(value);
}

// PRETTY_NAME of an os-release file, unquoted; empty when there is none.
std::string PrettyName(const char* file)
{
    std::ifstream stream(file);
    std::string line;
    for (int count = 0; count < 200 && std::getline(stream, line); ++count) {
        if (line.rfind("PRETTY_NAME=", 0) != 0)
            continue;
        std::string value = line.substr(12, 256);
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        return value;
    }
    return std::string();
}

}

DWORD GetWindowsVersionText(const SystemVersionInfo& info, WindowsVersionText& text)
{
    if (!info.ownName.empty()) {
        text.name = info.ownName;
        text.version = VersionNumbers(info);
        SetBitness(info, text);
        return info.platformId;
    }
    if (info.platformId != VER_PLATFORM_WIN32_NT || info.majorVersion <= 4) {
        text.name = L"Unknown Microsoft Windows version.";
        text.edition = FormatString(L"Platform-ID = %d", static_cast<int>(info.platformId));
        text.version = VersionNumbers(info);
        return info.platformId;
    }
    text.name = L"Microsoft ";
    if (info.majorVersion == 6 || info.majorVersion == 10) {
        if (info.majorVersion == 6)
            text.name += NameOfVersion6(info);
        else if (info.minorVersion == 0)
            text.name += info.productType == VER_NT_WORKSTATION ? L"Windows 10 " : L"Windows 10 Server ";
        text.edition = EditionOfProduct(info.productInfo);
    } else if (info.majorVersion == 5) {
        Describe5(info, text);
    }
    if (!info.csdVersion.empty())
        text.servicePack = info.csdVersion;
    text.version = VersionNumbers(info);
    if (info.majorVersion > 5)
        SetBitness(info, text);
    return info.platformId;
}

SystemVersionInfo GetRunningSystemVersion()
{
    SystemVersionInfo info;
    struct utsname names {};
    if (::uname(&names) == 0) {
        const char* release = names.release;
        info.majorVersion = NextNumber(release);
        info.minorVersion = NextNumber(release);
        info.buildNumber = NextNumber(release);
        if (std::strcmp(names.machine, "x86_64") == 0 || std::strcmp(names.machine, "aarch64") == 0)
            info.processorArchitecture = PROCESSOR_ARCHITECTURE_AMD64;
        else if (names.machine[0] == 'i' && std::strstr(names.machine, "86"))
            info.processorArchitecture = PROCESSOR_ARCHITECTURE_INTEL;
        else
            info.processorArchitecture = 0xFFFF;
    }
    std::string name = PrettyName("/etc/os-release");
    if (name.empty())
        name = PrettyName("/usr/lib/os-release");
    if (name.empty())
        name = names.sysname[0] ? names.sysname : "Linux";
    info.ownName = Text::Utf8ToWide(name);
    return info;
}

DWORD GetWindowsVersionText(WindowsVersionText& text)
{
    return GetWindowsVersionText(GetRunningSystemVersion(), text);
}

namespace {
bool IsNt(const SystemVersionInfo& info)
{
    return info.platformId == VER_PLATFORM_WIN32_NT && info.ownName.empty();
}
}

bool IsMajorVersionAbove5(const SystemVersionInfo& info)
{
    return IsNt(info) && info.majorVersion > 5;
}

bool IsWindows7OrLater(const SystemVersionInfo& info)
{
    return IsNt(info) && (info.majorVersion > 6 || (info.majorVersion == 6 && info.minorVersion >= 1));
}

bool IsWindows8OrLater(const SystemVersionInfo& info)
{
    return IsNt(info) && (info.majorVersion > 6 || (info.majorVersion == 6 && info.minorVersion >= 2));
}

bool IsWindowsXPOrLater(const SystemVersionInfo& info)
{
    return IsNt(info) && (info.majorVersion > 5 || (info.majorVersion == 5 && info.minorVersion == 1));
}

bool IsWindowsVistaOrLater(const SystemVersionInfo& info)
{
    return IsMajorVersionAbove5(info);
}
