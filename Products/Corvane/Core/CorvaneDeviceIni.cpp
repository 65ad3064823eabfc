#include "Products/Corvane/Core/CorvaneDeviceIni.h"

#include "Common/SystemHelper/System/FileHelpers.h"
#include "Products/Corvane/Core/FBCData.h"

#include <algorithm>
#include <string>
#include <vector>

namespace Corvane {

namespace {

void AddOnce(std::vector<CString>& pages, const CString& key)
{
    if (std::find(pages.begin(), pages.end(), key) == pages.end())
        pages.push_back(key);
}

// The network-parameter page replaces the TCP/IP and network pages.
void AddNetworkParamPage(std::vector<CString>& pages)
{
    std::erase(pages, CString(L"TCPIP"));
    std::erase(pages, CString(L"NETWORK"));
    AddOnce(pages, L"NETWORKPARAM");
}

void AddNetworkPages(const CFBCData& data, std::vector<CString>& pages)
{
    if (data.HasNetworkParams) {
        AddNetworkParamPage(pages);
        return;
    }
    AddOnce(pages, L"TCPIP");
    AddOnce(pages, L"NETWORK");
}

bool IsUnconditionalPage(const CString& key)
{
    static const wchar_t* const keys[] = {L"MODBUS", L"MODBUSPARAM", L"PROTOCOL", L"TRAFFIC",
                                          L"SNTP",   L"ETHERNETIP",  L"ORBIS"};
    return std::any_of(std::begin(keys), std::end(keys), [&](const wchar_t* k) { return key == k; });
}


}

CString CCorvaneDeviceIni::InstalledIniPath(const CString& executablePath)
{
    return InstalledPathOf(MakeIniPath(executablePath));
}

CString CCorvaneDeviceIni::InstalledPathOf(const CString& besidePath)
{
    // The build-folder removal of MakeIniPath holds here too, so that an
    // installed tree and a build tree agree on the folder above.
    const std::wstring& beside = besidePath.str();
    const std::size_t slash = beside.rfind(L'/');
    if (slash == std::wstring::npos)
        return {};
    const std::wstring file = beside.substr(slash + 1);
    const std::wstring folder = beside.substr(0, slash);
    const std::size_t parentSlash = folder.rfind(L'/');
    const std::wstring prefix = parentSlash == std::wstring::npos ? std::wstring(L".") : folder.substr(0, parentSlash);
    const std::wstring baseName = file.substr(0, file.size() - 4);
    return CString(prefix + L"/share/" + baseName + L"/" + file);
}

void CCorvaneDeviceIni::Locate(const CString& executablePath) { LocateFrom(MakeIniPath(executablePath)); }

void CCorvaneDeviceIni::LocateFrom(const CString& besidePath)
{
    SetIniPath(besidePath);
    if (FileExists(besidePath.str()))
        return;
    const CString installed = InstalledPathOf(besidePath);
    if (!installed.IsEmpty() && FileExists(installed.str()))
        SetIniPath(installed);
}

std::vector<CString> CCorvaneDeviceIni::BuildPageList(const CFBCData& data) const
{
    std::vector<CString> pages{L"COMMON"};
    for (const CString& key : GetPageKeys(data.ArticleNo)) {
        if (key == L"ALL") {
            AddAllPages(data, pages);
            break;
        }
        AddListedPage(key, data, pages);
    }
    if (pages.size() == 1)
        AddDefaultPages(data, pages);
    if (data.HasSDCardSlot)
        AddOnce(pages, L"SDCARD");
    std::erase(pages, CString(L"STATUS"));
    pages.push_back(L"STATUS");
    return pages;
}

void CCorvaneDeviceIni::AddListedPage(const CString& key, const CFBCData& data, std::vector<CString>& pages) const
{
    if (key == L"NETWORKPARAM") {
        if (data.HasNetworkParams)
            AddNetworkParamPage(pages);
    } else if (key == L"TCPIP" || key == L"NETWORK") {
        if (!data.HasNetworkParams)
            AddOnce(pages, key);
    } else if (key == L"CLOCK") {
        if (data.HasClock)
            AddOnce(pages, key);
    } else if (IsUnconditionalPage(key)) {
        AddOnce(pages, key);
    }
}

void CCorvaneDeviceIni::AddAllPages(const CFBCData& data, std::vector<CString>& pages) const
{
    AddNetworkPages(data, pages);
    if (data.HasClock)
        AddOnce(pages, L"CLOCK");
    for (const wchar_t* key : {L"MODBUS", L"PROTOCOL", L"TRAFFIC", L"SNTP", L"ETHERNETIP", L"ORBIS"})
        AddOnce(pages, key);
}

void CCorvaneDeviceIni::AddDefaultPages(const CFBCData& data, std::vector<CString>& pages) const
{
    if (data.HasNetworkParams)
        AddNetworkParamPage(pages);
    else if (DeviceHasIP(data.ArticleNo))
        AddNetworkPages(data, pages);
    if (data.HasClock)
        AddOnce(pages, L"CLOCK");
}

}  // namespace Corvane
