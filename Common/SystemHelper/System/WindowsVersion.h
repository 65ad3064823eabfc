#pragma once
// The name, version, service pack, edition and bitness of the running system,
// for the about dialog.

#include "Platform/Base/Types.h"

#include <string>

constexpr DWORD VER_PLATFORM_WIN32_NT = 2;
constexpr BYTE VER_NT_WORKSTATION = 1;
constexpr WORD VER_SUITE_ENTERPRISE = 0x0002;
constexpr WORD VER_SUITE_DATACENTER = 0x0080;
constexpr WORD VER_SUITE_PERSONAL = 0x0200;
constexpr WORD VER_SUITE_BLADE = 0x0400;
constexpr WORD VER_SUITE_STORAGE_SERVER = 0x2000;
constexpr WORD VER_SUITE_COMPUTE_SERVER = 0x4000;
constexpr WORD VER_SUITE_WH_SERVER = 0x8000;
constexpr WORD PROCESSOR_ARCHITECTURE_INTEL = 0;
constexpr WORD PROCESSOR_ARCHITECTURE_IA64 = 6;
constexpr WORD PROCESSOR_ARCHITECTURE_AMD64 = 9;

// What the version texts are made of.
struct SystemVersionInfo {
    DWORD platformId = 0;
    DWORD majorVersion = 0;
    DWORD minorVersion = 0;
    DWORD buildNumber = 0;
    std::wstring csdVersion;
    WORD suiteMask = 0;
    BYTE productType = 0;
    WORD processorArchitecture = 0;
    DWORD productInfo = 0;   // the product type number of the edition
    bool serverR2 = false;
    // Set for a system that is not in the table: the texts it reports itself.
    std::wstring ownName;
};

struct WindowsVersionText {
    std::wstring name;
    std::wstring version;
    std::wstring servicePack;
    std::wstring edition;
    std::wstring bitness;
};

// The texts of the given system; returns its platform id.
DWORD GetWindowsVersionText(const SystemVersionInfo& info, WindowsVersionText& text);
// The texts of the running system: its own name (from /etc/os-release) and
// the kernel's version; returns its platform id (0, not the NT family).
DWORD GetWindowsVersionText(WindowsVersionText& text);
// The running system as version information, read from uname and os-release.
SystemVersionInfo GetRunningSystemVersion();

// Against the family of the table; the running system is not of it.
bool IsMajorVersionAbove5(const SystemVersionInfo& info);
bool IsWindows7OrLater(const SystemVersionInfo& info);
bool IsWindows8OrLater(const SystemVersionInfo& info);
bool IsWindowsXPOrLater(const SystemVersionInfo& info);
bool IsWindowsVistaOrLater(const SystemVersionInfo& info);
