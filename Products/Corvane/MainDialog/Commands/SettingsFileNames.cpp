#include "Products/Corvane/MainDialog/Commands/SettingsFileNames.h"

#include "Common/SystemHelper/Values/StringUtils.h"
#include "Products/Corvane/Core/FBCData.h"

namespace Corvane {

namespace {

constexpr wchar_t kNoAddress[] = L"0.0.0.0";

CString NormalizedAddress(const CFBCData::tNetworkParams* params)
{
    if (params == nullptr)
        return CString();
    return CString(NormalizeIpText(params->strIPAddress).c_str());
}

}

CString CSettingsFileNames::DefaultSaveName(const CString& article, const CString& networkId)
{
    CString name = article;
    name.Replace(L'/', L'_');
    return name + L"_" + networkId + L"." + kSettingsExtension;
}

CString CSettingsFileNames::InitialPath(const CString& folder, const CString& name, LPCWSTR extension)
{
    CString path;
    if (name.IsEmpty()) {
        path.Format(L"%s/*.%s", folder.GetString(), extension);
    } else {
        CString bareName = name;
        bareName.Replace((CString(L".") + kSettingsExtension).GetString(), L"");
        path.Format(L"%s/%s.%s", folder.GetString(), bareName.GetString(), extension);
    }
    return CleanPath(path);
}

CString CSettingsFileNames::CleanPath(const CString& path)
{
    CString clean = path;
    while (clean.Replace(L"//", L"/") > 0) {
    }
    return clean;
}

CString CSettingsFileNames::FolderOf(const CString& path)
{
    const int slash = path.ReverseFind(L'/');
    return slash < 0 ? CString() : path.Left(slash);
}

CString CSettingsFileNames::CurrentIPAddress(const CString& connectionAddress, const CFBCData& data)
{
    const CString connected = connectionAddress.IsEmpty()
                                  ? CString(kNoAddress)
                                  : CString(NormalizeIpText(connectionAddress.str()).c_str());
    CString result = PortAddress(connected, data, 0);
    if (result == kNoAddress && data.GetEthernetPortCount() == 2)
        result = PortAddress(connected, data, 1);
    return result;
}

CString CSettingsFileNames::PortAddress(const CString& connected, const CFBCData& data, unsigned int port)
{
    const CString actual = NormalizedAddress(data.GetActualNetworkParams(port));
    if (actual.IsEmpty() || connected != actual)
        return kNoAddress;
    if (actual != kNoAddress)
        return actual;
    const CString configured = NormalizedAddress(data.GetStaticNetworkParams(port));
    return configured.IsEmpty() ? CString(kNoAddress) : configured;
}

}  // namespace Corvane
