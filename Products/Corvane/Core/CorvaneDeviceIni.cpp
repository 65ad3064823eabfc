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

bool NeedsHold(ENPageNeeds needs, const CFBCData& data)
{
    switch (needs) {
    case ENPageNeeds::Nothing:
        return true;
    case ENPageNeeds::NetworkParams:
        return data.HasNetworkParams;
    case ENPageNeeds::NoNetworkParams:
        return !data.HasNetworkParams;
    case ENPageNeeds::Clock:
        return data.HasClock;
    case ENPageNeeds::SDCardSlot:
        return data.HasSDCardSlot;
    }
    return false;
}

// The pages of one place whose needs hold, in the rules' order.
void AddPlaced(ENPageListPlace place, const tPageListRules& rules, const CFBCData& data, std::vector<CString>& pages)
{
    for (const tPageListRule& rule : rules) {
        if (rule.shows.place == place && NeedsHold(rule.shows.needs, data))
            AddOnce(pages, rule.key);
    }
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

std::vector<CString> CCorvaneDeviceIni::BuildPageList(const CFBCData& data, const tPageListRules& rules) const
{
    std::vector<CString> pages;
    AddPlaced(ENPageListPlace::First, rules, data, pages);
    const std::size_t first = pages.size();
    for (const CString& key : GetPageKeys(data.ArticleNo)) {
        if (key == L"ALL") {
            AddAllPages(data, rules, pages);
            break;
        }
        AddListedPage(key, data, rules, pages);
    }
    if (pages.size() == first)
        AddDefaultPages(data, rules, pages);
    AddPlaced(ENPageListPlace::Last, rules, data, pages);
    return pages;
}

// A key the rules do not know, or one of a page that is not listed, is
// passed over.
void CCorvaneDeviceIni::AddListedPage(const CString& key, const CFBCData& data, const tPageListRules& rules,
                                      std::vector<CString>& pages) const
{
    for (const tPageListRule& rule : rules) {
        if (key == rule.key && rule.shows.place == ENPageListPlace::Listed && NeedsHold(rule.shows.needs, data))
            AddOnce(pages, key);
    }
}

void CCorvaneDeviceIni::AddAllPages(const CFBCData& data, const tPageListRules& rules,
                                    std::vector<CString>& pages) const
{
    for (const tPageListRule& rule : rules) {
        if (rule.shows.inAll && NeedsHold(rule.shows.needs, data))
            AddOnce(pages, rule.key);
    }
}

void CCorvaneDeviceIni::AddDefaultPages(const CFBCData& data, const tPageListRules& rules,
                                        std::vector<CString>& pages) const
{
    for (const tPageListRule& rule : rules) {
        const ENPageDefault byDefault = rule.shows.byDefault;
        if (byDefault == ENPageDefault::No || !NeedsHold(rule.shows.needs, data))
            continue;
        if (byDefault == ENPageDefault::Yes || DeviceHasIP(data.ArticleNo))
            AddOnce(pages, rule.key);
    }
}

}  // namespace Corvane
