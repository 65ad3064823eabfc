#include "Common/SystemHelper/System/WindowsVersion.h"

#include <gtest/gtest.h>

#include <sys/utsname.h>

namespace {

SystemVersionInfo Nt(DWORD major, DWORD minor, DWORD build, BYTE productType = VER_NT_WORKSTATION)
{
    SystemVersionInfo info;
    info.platformId = VER_PLATFORM_WIN32_NT;
    info.majorVersion = major;
    info.minorVersion = minor;
    info.buildNumber = build;
    info.productType = productType;
    info.processorArchitecture = PROCESSOR_ARCHITECTURE_AMD64;
    return info;
}

WindowsVersionText Describe(const SystemVersionInfo& info)
{
    WindowsVersionText text;
    GetWindowsVersionText(info, text);
    return text;
}

}

TEST(WindowsVersion, Version6And10Workstations)
{
    SystemVersionInfo seven = Nt(6, 1, 7601);
    seven.productInfo = 48;
    seven.csdVersion = L"Service Pack 1";
    WindowsVersionText text;
    EXPECT_EQ(GetWindowsVersionText(seven, text), VER_PLATFORM_WIN32_NT);
    EXPECT_EQ(text.name, L"Microsoft Windows 7 ");
    EXPECT_EQ(text.version, L"Version 6.1 (Build 7601)");
    EXPECT_EQ(text.servicePack, L"Service Pack 1");
    EXPECT_EQ(text.edition, L"Professional");
    EXPECT_EQ(text.bitness, L"64 Bit");

    SystemVersionInfo server = Nt(6, 3, 9600, 3);
    server.processorArchitecture = PROCESSOR_ARCHITECTURE_INTEL;
    server.productInfo = 12;
    text = Describe(server);
    EXPECT_EQ(text.name, L"Microsoft Windows Server 2012 R2 ");
    EXPECT_EQ(text.edition, L"Datacenter Edition (core installation)");
    EXPECT_EQ(text.bitness, L"32 Bit");

    EXPECT_EQ(Describe(Nt(10, 0, 19045)).name, L"Microsoft Windows 10 ");
    EXPECT_EQ(Describe(Nt(10, 0, 17763, 3)).name, L"Microsoft Windows 10 Server ");
    SystemVersionInfo unknownEdition = Nt(6, 0, 6002);
    unknownEdition.productInfo = 5;
    EXPECT_EQ(Describe(unknownEdition).edition, L"");
    // Neither 32 nor 64 bit: the bitness text stays as the caller had it.
    SystemVersionInfo arm = Nt(6, 2, 9200);
    arm.processorArchitecture = 5;
    WindowsVersionText kept;
    kept.bitness = L"caller's";
    GetWindowsVersionText(arm, kept);
    EXPECT_EQ(kept.bitness, L"caller's");
}

TEST(WindowsVersion, Version5Family)
{
    SystemVersionInfo xp = Nt(5, 1, 2600);
    xp.suiteMask = VER_SUITE_PERSONAL;
    WindowsVersionText text = Describe(xp);
    EXPECT_EQ(text.name, L"Microsoft Windows XP ");
    EXPECT_EQ(text.edition, L"Home Edition");
    EXPECT_EQ(text.bitness, L"");

    EXPECT_EQ(Describe(Nt(5, 2, 3790)).name, L"Microsoft Windows XP Professional x64 Edition");
    SystemVersionInfo r2 = Nt(5, 2, 3790, 3);
    r2.serverR2 = true;
    r2.suiteMask = VER_SUITE_ENTERPRISE;
    text = Describe(r2);
    EXPECT_EQ(text.name, L"Microsoft Windows Server 2003 R2");
    EXPECT_EQ(text.edition, L"Enterprise x64 Edition");
    SystemVersionInfo itanium = Nt(5, 2, 3790, 3);
    itanium.processorArchitecture = PROCESSOR_ARCHITECTURE_IA64;
    itanium.suiteMask = VER_SUITE_DATACENTER;
    EXPECT_EQ(Describe(itanium).edition, L"Datacenter Edition for Itanium-based Systems");
    SystemVersionInfo web = Nt(5, 2, 3790, 3);
    web.processorArchitecture = PROCESSOR_ARCHITECTURE_INTEL;
    web.suiteMask = VER_SUITE_BLADE;
    text = Describe(web);
    EXPECT_EQ(text.name, L"Microsoft Windows Server 2003");
    EXPECT_EQ(text.edition, L"Web Edition");
    SystemVersionInfo storage = web;
    storage.suiteMask = VER_SUITE_STORAGE_SERVER;
    EXPECT_EQ(Describe(storage).name, L"Microsoft Windows Storage Server 2003");

    SystemVersionInfo advanced = Nt(5, 0, 2195, 3);
    advanced.suiteMask = VER_SUITE_ENTERPRISE;
    text = Describe(advanced);
    EXPECT_EQ(text.name, L"Microsoft Windows 2000 ");
    EXPECT_EQ(text.edition, L"Advanced Server");
}

TEST(WindowsVersion, OtherPlatformsAndOldVersions)
{
    SystemVersionInfo old = Nt(4, 0, 1381);
    WindowsVersionText text;
    EXPECT_EQ(GetWindowsVersionText(old, text), VER_PLATFORM_WIN32_NT);
    EXPECT_EQ(text.name, L"Unknown Microsoft Windows version.");
    EXPECT_EQ(text.edition, L"Platform-ID = 2");
    EXPECT_EQ(text.version, L"Version 4.0 (Build 1381)");

    SystemVersionInfo nine = Nt(4, 10, 2222);
    nine.platformId = 1;
    EXPECT_EQ(GetWindowsVersionText(nine, text), 1u);
    EXPECT_EQ(text.edition, L"Platform-ID = 1");
}

TEST(WindowsVersion, VersionChecks)
{
    EXPECT_TRUE(IsWindowsXPOrLater(Nt(5, 1, 0)));
    EXPECT_FALSE(IsWindowsXPOrLater(Nt(5, 2, 0)));
    EXPECT_TRUE(IsWindowsXPOrLater(Nt(6, 0, 0)));
    EXPECT_FALSE(IsWindows7OrLater(Nt(6, 0, 0)));
    EXPECT_TRUE(IsWindows7OrLater(Nt(6, 1, 0)));
    EXPECT_TRUE(IsWindows7OrLater(Nt(10, 0, 0)));
    EXPECT_FALSE(IsWindows8OrLater(Nt(6, 1, 0)));
    EXPECT_TRUE(IsWindows8OrLater(Nt(6, 2, 0)));
    EXPECT_FALSE(IsWindowsVistaOrLater(Nt(5, 2, 0)));
    EXPECT_TRUE(IsMajorVersionAbove5(Nt(6, 0, 0)));
    // The running system is not of that family, whatever its kernel's number.
    EXPECT_FALSE(IsWindows7OrLater(GetRunningSystemVersion()));
}

TEST(WindowsVersion, RunningSystemReportsItself)
{
    struct utsname names {};
    ASSERT_EQ(::uname(&names), 0);
    WindowsVersionText text;
    GetWindowsVersionText(text);
    EXPECT_FALSE(text.name.empty());
    EXPECT_EQ(text.name.find(L"Microsoft"), std::wstring::npos);
    unsigned major = 0, minor = 0, patch = 0;
    ASSERT_GE(std::sscanf(names.release, "%u.%u.%u", &major, &minor, &patch), 2);
    EXPECT_EQ(text.version, L"Version " + std::to_wstring(major) + L"." + std::to_wstring(minor) + L" (Build "
            + std::to_wstring(patch) + L")");
    if (std::string(names.machine) == "x86_64") {
        EXPECT_EQ(text.bitness, L"64 Bit");
    }
}
