#pragma once
// The device capability file: an INI file beside the executable that tells,
// per article number, which features a device has, which pages it shows,
// the limits of its values and the firmware it needs. The program only reads
// it; a missing file, section or key gives the default of each read.

#include "Platform/Base/CString.h"
#include "Platform/Base/Types.h"

#include <vector>

namespace Corvane {

class CDeviceCapabilityFile {
public:
    // The platform reads texts of the file into buffers of this size.
    static constexpr DWORD kTextBufferSize = 64;
    // List keys carry a two-digit running number, so no list is longer.
    static constexpr int kMaxListEntries = 100;

    struct CLimits {
        int Min = 0;
        int Max = 0;
        int Def = 0;
    };

    CDeviceCapabilityFile() = default;
    explicit CDeviceCapabilityFile(const CString& iniPath) : m_strIniPath(iniPath) {}

    // Folder of the executable without a build folder part ("/DEBUG/",
    // "/RELEASE/" ...), then the executable's base name with ".ini".
    static CString MakeIniPath(const CString& executablePath);
    // MakeIniPath of the running executable.
    static CString ExecutableIniPath();

    const CString& GetIniPath() const { return m_strIniPath; }
    void SetIniPath(const CString& iniPath) { m_strIniPath = iniPath; }

    int GetInt(LPCWSTR section, LPCWSTR key, int defaultValue) const;
    CString GetString(LPCWSTR section, LPCWSTR key, LPCWSTR defaultValue) const;
    // The keys name + "Min", name + "Max" and name + "Def".
    CLimits GetLimits(LPCWSTR section, const CString& name, const CLimits& defaults) const;

    // The full article text when that section carries "FBC", else the base text.
    CString ResolveDeviceIniSection(const CString& article) const;
    int GetDeviceIniInt(const CString& article, LPCWSTR key, int defaultValue) const;
    CString GetDeviceIniString(const CString& article, LPCWSTR key, LPCWSTR defaultValue) const;

    bool HasAutoIP(const CString& article) const { return HasFeature(article, L"AUTOIP"); }
    bool HasDIPSwitch(const CString& article) const { return HasFeature(article, L"DIP"); }
    bool HasEthernetIPExtension(const CString& article) const { return HasFeature(article, L"ETHIPEX"); }
    bool HasFileSystem(const CString& article) const { return HasFeature(article, L"FILESYS"); }
    bool HasSDCard(const CString& article) const { return HasFeature(article, L"SDCARD"); }
    bool HasISIS(const CString& article) const { return HasFeature(article, L"ISIS"); }
    bool IsPlcController(const CString& article) const { return HasFeature(article, L"SPSCTRL"); }

    // These two look at the full-text section, then the base-text one, and
    // only the value 1 counts.
    bool DeviceHasIP(const CString& article) const;
    bool HasSDCardSlotByIni(const CString& article) const;

    // "Version" of the article, "00.00.00(00)" when absent.
    CString GetMinimumFirmwareVersion(const CString& article) const;
    // "BOOTDELAY" of the article, -1 when absent.
    int GetBootDelay(const CString& article) const;

    // The values of "PAGE01", "PAGE02" ... of the article's section.
    std::vector<CString> GetPageKeys(const CString& article) const;
    // The values of "S00", "S01" ... of section "SUPPORTED_FBC".
    std::vector<CString> GetSupportedDevices() const;
    // The values of "InvalidIP_00" ... of section "InvalidIPAddresses".
    std::vector<CString> GetInvalidIPAddresses() const;

private:
    bool HasFeature(const CString& article, LPCWSTR key) const;
    bool IsOneInFullOrBase(const CString& article, LPCWSTR key) const;
    // Keys made from the format and a running number from `first`, until a
    // key yields "EOL".
    std::vector<CString> ReadList(LPCWSTR section, LPCWSTR keyFormat, int first) const;

    CString m_strIniPath;
};

}  // namespace Corvane
