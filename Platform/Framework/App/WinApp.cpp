#include "Platform/Framework/App/WinApp.h"

#include "Platform/Framework/Core/TempHandleMap.h"
#include "Platform/Registry/ProfileStore.h"
#include "Platform/Ui/Resource.h"

#include <cstring>

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

namespace {

std::wstring ModuleBaseName(HINSTANCE module)
{
    wchar_t path[4096] = {};
    ::GetModuleFileNameW(module, path, static_cast<DWORD>(std::size(path)));
    std::wstring name(path);
    const auto slash = name.find_last_of(L"/\\");
    if (slash != std::wstring::npos)
        name.erase(0, slash + 1);
    const auto dot = name.find_last_of(L'.');
    // "libtessel.so" is "libtessel"; a program without extension stays whole.
    if (dot != std::wstring::npos && dot > 0)
        name.erase(dot);
    return name;
}

std::wstring OrEmpty(LPCWSTR text) { return text ? text : L""; }

}

CString ZellLoadString(HINSTANCE module, UINT id)
{
    LPCWSTR text = nullptr;
    const int length = ::LoadStringW(module, id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 && text ? CString(std::wstring(text, static_cast<std::size_t>(length)).c_str()) : CString();
}

void CWinApp::SetNames(LPCWSTR appName)
{
    m_strExeName = ModuleBaseName(m_hInstance);
    m_strAppName = appName && *appName ? appName : m_strExeName;
    m_strProfileName = m_strAppName;
    m_pszAppName = m_strAppName.c_str();
    m_pszExeName = m_strExeName.c_str();
    m_pszProfileName = m_strProfileName.c_str();
}

int CWinApp::ExitInstance()
{
    AfxDeleteTempObjects();
    return CWinThread::ExitInstance();
}

void CWinApp::SetRegistryKey(LPCWSTR key)
{
    m_strRegistryKey = OrEmpty(key);
    m_pszRegistryKey = m_strRegistryKey.c_str();
    // The title in force names the profile: a program may have replaced
    // m_pszAppName (a brand's name) before it chooses its key.
    m_strProfileName = OrEmpty(m_pszAppName);
    m_pszProfileName = m_strProfileName.c_str();
}

void CWinApp::SetRegistryKey(UINT stringId) { SetRegistryKey(ZellLoadString(Ui::GetResourceModule(), stringId).GetString()); }

namespace {

Registry::CProfileStore StoreOf(const std::wstring& key, const std::wstring& profile) { return {key, profile}; }

}

CString CWinApp::GetProfileString(LPCWSTR section, LPCWSTR entry, LPCWSTR defaultValue) const
{
    const std::wstring value = StoreOf(m_strRegistryKey, m_strProfileName).GetString(OrEmpty(section), OrEmpty(entry), OrEmpty(defaultValue));
    return CString(value.c_str());
}

UINT CWinApp::GetProfileInt(LPCWSTR section, LPCWSTR entry, int defaultValue) const
{
    return StoreOf(m_strRegistryKey, m_strProfileName).GetInt(OrEmpty(section), OrEmpty(entry), defaultValue);
}

BOOL CWinApp::GetProfileBinary(LPCWSTR section, LPCWSTR entry, LPBYTE* data, UINT* bytes) const
{
    *data = nullptr;
    *bytes = 0;
    std::vector<BYTE> value;
    if (!StoreOf(m_strRegistryKey, m_strProfileName).GetBinary(OrEmpty(section), OrEmpty(entry), value))
        return FALSE;
    *data = new BYTE[value.empty() ? 1 : value.size()];
    std::memcpy(*data, value.data(), value.size());
    *bytes = static_cast<UINT>(value.size());
    return TRUE;
}

BOOL CWinApp::WriteProfileString(LPCWSTR section, LPCWSTR entry, LPCWSTR value)
{
    Registry::CProfileStore store = StoreOf(m_strRegistryKey, m_strProfileName);
    return store.WriteString(OrEmpty(section), entry, value);
}

BOOL CWinApp::WriteProfileInt(LPCWSTR section, LPCWSTR entry, int value)
{
    Registry::CProfileStore store = StoreOf(m_strRegistryKey, m_strProfileName);
    return store.WriteInt(OrEmpty(section), OrEmpty(entry), value);
}

BOOL CWinApp::WriteProfileBinary(LPCWSTR section, LPCWSTR entry, LPBYTE data, UINT bytes)
{
    Registry::CProfileStore store = StoreOf(m_strRegistryKey, m_strProfileName);
    return store.WriteBinary(OrEmpty(section), OrEmpty(entry), data, bytes);
}

int CWinApp::DoMessageBox(LPCWSTR text, UINT type, UINT)
{
    HWND owner = ::GetActiveWindow();
    if (!owner && m_pMainWnd)
        owner = m_pMainWnd->m_hWnd;
    return ::MessageBoxW(owner, text, m_pszAppName, type);
}

int ZellShowMessageBox(CWinApp* app, LPCWSTR text, UINT type, UINT helpId)
{
    if (app)
        return app->DoMessageBox(text, type, helpId);
    return ::MessageBoxW(::GetActiveWindow(), text, L"", type);
}
