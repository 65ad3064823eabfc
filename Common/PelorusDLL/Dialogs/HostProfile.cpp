#include "Common/PelorusDLL/Dialogs/HostProfile.h"

#include "Common/PelorusDLL/Dialogs/ModulePath.h"
#include "Platform/Framework/App/WinApp.h"
#include "Platform/Registry/ProfileStore.h"

namespace {

Registry::CProfileStore HostStore()
{
    if (CWinApp* app = AfxGetApp(); app && app->m_pszRegistryKey && *app->m_pszRegistryKey)
        return {app->m_pszRegistryKey, app->m_pszProfileName ? app->m_pszProfileName : L""};
    return {CHostProfile::kCompanyKey, CModulePath(nullptr).BaseName()};
}

}

std::wstring CHostProfile::GetString(const wchar_t* section, const wchar_t* entry, const wchar_t* defaultValue) const
{
    return HostStore().GetString(section, entry, defaultValue ? defaultValue : L"");
}

int CHostProfile::GetInt(const wchar_t* section, const wchar_t* entry, int defaultValue) const
{
    return static_cast<int>(HostStore().GetInt(section, entry, defaultValue));
}

bool CHostProfile::WriteString(const wchar_t* section, const wchar_t* entry, const std::wstring& value) const
{
    return HostStore().WriteString(section, entry, value.c_str());
}
