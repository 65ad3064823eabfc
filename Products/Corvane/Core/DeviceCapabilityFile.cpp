#include "Products/Corvane/Core/DeviceCapabilityFile.h"

#include "Common/Communication/ArticleNumber.h"
#include "Platform/Base/Module.h"
#include "Platform/Registry/PrivateProfile.h"

#include <vector>

namespace Corvane {

namespace {

constexpr wchar_t kEndOfList[] = L"EOL";

struct CArticleSections {
    CString full;
    CString base;
};

CArticleSections SectionsOf(const CString& article)
{
    CArticleNumber number(article.str());
    CArticleSections sections;
    sections.full = number.GetText(true);
    sections.base = number.GetBaseText(true);
    return sections;
}

}

CString CDeviceCapabilityFile::MakeIniPath(const CString& executablePath)
{
    const std::wstring& path = executablePath.str();
    const std::size_t slash = path.rfind(L'/');
    std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos && dot > 0)
        name.erase(dot);

    if (slash == std::wstring::npos)
        return CString(name + L".ini");
    // The folder with its separator, so that a build folder at its end is
    // matched as well as one in the middle.
    CString folder(path.substr(0, slash + 1));
    folder.Replace(L"/DEBUGUNICODE", L"/");
    folder.Replace(L"/DEBUG/", L"/");
    folder.Replace(L"/RELEASEUNICODE/", L"/");
    folder.Replace(L"/RELEASE/", L"/");
    while (folder.Replace(L"//", L"/") > 0) {
    }
    return folder + CString(name + L".ini");
}

CString CDeviceCapabilityFile::ExecutableIniPath()
{
    // Grows the buffer while the path does not fit, up to the longest path
    // the platform hands out.
    constexpr DWORD LongestPath = 32768;
    for (DWORD size = 512; size <= LongestPath; size *= 2) {
        std::vector<wchar_t> buffer(size, L'\0');
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), size);
        if (length == 0)
            return {};
        if (length < size)
            return MakeIniPath(CString(buffer.data(), static_cast<int>(length)));
    }
    return {};
}

int CDeviceCapabilityFile::GetInt(LPCWSTR section, LPCWSTR key, int defaultValue) const
{
    return static_cast<int>(GetPrivateProfileIntW(section, key, defaultValue, m_strIniPath));
}

CString CDeviceCapabilityFile::GetString(LPCWSTR section, LPCWSTR key, LPCWSTR defaultValue) const
{
    wchar_t buffer[kTextBufferSize] = {};
    const DWORD length = GetPrivateProfileStringW(section, key, defaultValue, buffer, kTextBufferSize, m_strIniPath);
    return CString(buffer, static_cast<int>(length < kTextBufferSize ? length : kTextBufferSize - 1));
}

CDeviceCapabilityFile::CLimits CDeviceCapabilityFile::GetLimits(LPCWSTR section, const CString& name,
                                                                const CLimits& defaults) const
{
    CLimits limits;
    limits.Min = GetInt(section, name + L"Min", defaults.Min);
    limits.Max = GetInt(section, name + L"Max", defaults.Max);
    limits.Def = GetInt(section, name + L"Def", defaults.Def);
    return limits;
}

CString CDeviceCapabilityFile::ResolveDeviceIniSection(const CString& article) const
{
    const CArticleSections sections = SectionsOf(article);
    if (GetInt(sections.full, L"FBC", -1) != -1)
        return sections.full;
    return sections.base;
}

int CDeviceCapabilityFile::GetDeviceIniInt(const CString& article, LPCWSTR key, int defaultValue) const
{
    return GetInt(ResolveDeviceIniSection(article), key, defaultValue);
}

CString CDeviceCapabilityFile::GetDeviceIniString(const CString& article, LPCWSTR key, LPCWSTR defaultValue) const
{
    return GetString(ResolveDeviceIniSection(article), key, defaultValue);
}

bool CDeviceCapabilityFile::HasFeature(const CString& article, LPCWSTR key) const
{
    if (article.IsEmpty())
        return false;
    return GetDeviceIniInt(article, key, 0) != 0;
}

bool CDeviceCapabilityFile::IsOneInFullOrBase(const CString& article, LPCWSTR key) const
{
    const CArticleSections sections = SectionsOf(article);
    return GetInt(sections.full, key, 0) == 1 || GetInt(sections.base, key, 0) == 1;
}

bool CDeviceCapabilityFile::DeviceHasIP(const CString& article) const
{
    return !IsOneInFullOrBase(article, L"NOIP");
}

bool CDeviceCapabilityFile::HasSDCardSlotByIni(const CString& article) const
{
    return IsOneInFullOrBase(article, L"SDCARD");
}

CString CDeviceCapabilityFile::GetMinimumFirmwareVersion(const CString& article) const
{
    return GetDeviceIniString(article, L"Version", L"00.00.00(00)");
}

int CDeviceCapabilityFile::GetBootDelay(const CString& article) const
{
    return GetDeviceIniInt(article, L"BOOTDELAY", -1);
}

std::vector<CString> CDeviceCapabilityFile::ReadList(LPCWSTR section, LPCWSTR keyFormat, int first) const
{
    std::vector<CString> values;
    for (int number = first; number < kMaxListEntries; ++number) {
        CString key;
        key.Format(keyFormat, number);
        CString value = GetString(section, key, kEndOfList);
        if (value == kEndOfList)
            break;
        values.push_back(value);
    }
    return values;
}

std::vector<CString> CDeviceCapabilityFile::GetPageKeys(const CString& article) const
{
    return ReadList(ResolveDeviceIniSection(article), L"PAGE%02d", 1);
}

std::vector<CString> CDeviceCapabilityFile::GetSupportedDevices() const
{
    return ReadList(L"SUPPORTED_FBC", L"S%02d", 0);
}

std::vector<CString> CDeviceCapabilityFile::GetInvalidIPAddresses() const
{
    return ReadList(L"InvalidIPAddresses", L"InvalidIP_%02d", 0);
}

}  // namespace Corvane
