#pragma once
// The application object: one per deliverable. The program's and each
// shared library's CWinApp-derived object registers itself with its own
// deliverable (the state and the functions that reach it are hidden, as the
// resource module's are), so AfxGetApp, AfxGetResourceHandle and
// AfxMessageBox answer for the deliverable whose code calls them.
#include "Platform/Base/CString.h"
#include "Platform/Controls/MessageBox.h"
#include "Platform/Framework/App/WinThread.h"
#include "Platform/Framework/Windows/Wnd.h"
#include "Platform/Ui/ResourceModule.h"

#include <string>
#include <vector>

#define ZELL_PER_DELIVERABLE inline __attribute__((visibility("hidden")))

class CWinApp;

namespace ZELL::Framework::AppState {
ZELL_PER_DELIVERABLE CWinApp* g_pCurrent = nullptr;
}  // namespace ZELL::Framework::AppState

class CWinApp : public CWinThread {
    DECLARE_DYNAMIC(CWinApp)
public:
    // Registers with the deliverable whose code makes the object.
    __attribute__((visibility("hidden"))) explicit CWinApp(LPCWSTR appName = nullptr)
    {
        ZELL::Framework::AppState::g_pCurrent = this;
        m_hInstance = Ui::OwnModule();
        m_bAutoDelete = FALSE;
        SetNames(appName);
    }
    __attribute__((visibility("hidden"))) ~CWinApp() override
    {
        if (ZELL::Framework::AppState::g_pCurrent == this)
            ZELL::Framework::AppState::g_pCurrent = nullptr;
    }

    LPCWSTR m_pszAppName = nullptr;      // the title, also the message boxes' caption
    LPCWSTR m_pszExeName = nullptr;      // the module's file name without folder and extension
    LPCWSTR m_pszProfileName = nullptr;  // the application key below the registry key
    LPCWSTR m_pszRegistryKey = nullptr;  // the company key; null until SetRegistryKey
    HINSTANCE m_hInstance = nullptr;

    BOOL InitInstance() override { return TRUE; }
    int ExitInstance() override;

    // Profile values under HKCU\Software\<key>\<profile name>\<section>.
    void SetRegistryKey(LPCWSTR key);
    void SetRegistryKey(UINT stringId);
    CString GetProfileString(LPCWSTR section, LPCWSTR entry, LPCWSTR defaultValue = nullptr) const;
    UINT GetProfileInt(LPCWSTR section, LPCWSTR entry, int defaultValue) const;
    // `data` is allocated with new[] (the caller deletes it); FALSE when the entry is missing.
    BOOL GetProfileBinary(LPCWSTR section, LPCWSTR entry, LPBYTE* data, UINT* bytes) const;
    BOOL WriteProfileString(LPCWSTR section, LPCWSTR entry, LPCWSTR value);
    BOOL WriteProfileInt(LPCWSTR section, LPCWSTR entry, int value);
    BOOL WriteProfileBinary(LPCWSTR section, LPCWSTR entry, LPBYTE data, UINT bytes);

    int DoMessageBox(LPCWSTR text, UINT type, UINT helpId);

private:
    void SetNames(LPCWSTR appName);

    std::wstring m_strAppName;
    std::wstring m_strExeName;
    std::wstring m_strProfileName;
    std::wstring m_strRegistryKey;
};

ZELL_PER_DELIVERABLE CWinApp* AfxGetApp() { return ZELL::Framework::AppState::g_pCurrent; }
// The calling thread's CWinThread; the application on threads that none started.
ZELL_PER_DELIVERABLE CWinThread* AfxGetThread()
{
    CWinThread* thread = ZellCurrentThread();
    return thread ? thread : AfxGetApp();
}
// The calling thread's main window, or the application's when its thread has none.
ZELL_PER_DELIVERABLE CWnd* AfxGetMainWnd()
{
    if (CWinThread* thread = ZellCurrentThread(); thread && thread->GetMainWnd())
        return thread->GetMainWnd();
    return AfxGetApp() ? AfxGetApp()->GetMainWnd() : nullptr;
}
ZELL_PER_DELIVERABLE LPCWSTR AfxGetAppName() { return AfxGetApp() ? AfxGetApp()->m_pszAppName : L""; }
ZELL_PER_DELIVERABLE HINSTANCE AfxGetInstanceHandle() { return Ui::OwnModule(); }
ZELL_PER_DELIVERABLE HINSTANCE AfxGetResourceHandle() { return Ui::GetResourceModule(); }
ZELL_PER_DELIVERABLE void AfxSetResourceHandle(HINSTANCE module) { Ui::SetResourceModule(module); }

// A message box over the active window, with the application's title as caption.
int ZellShowMessageBox(CWinApp* app, LPCWSTR text, UINT type, UINT helpId);
CString ZellLoadString(HINSTANCE module, UINT id);
ZELL_PER_DELIVERABLE int AfxMessageBox(LPCWSTR text, UINT type = MB_OK, UINT helpId = 0)
{
    return ZellShowMessageBox(AfxGetApp(), text, type, helpId);
}
ZELL_PER_DELIVERABLE int AfxMessageBox(UINT stringId, UINT type = MB_OK, UINT helpId = static_cast<UINT>(-1))
{
    const CString text = ZellLoadString(AfxGetResourceHandle(), stringId);
    return ZellShowMessageBox(AfxGetApp(), text.GetString(), type, helpId == static_cast<UINT>(-1) ? stringId : helpId);
}

// Dialogs here host no ActiveX controls: there is no container support to
// switch on, and start-up code that asks for it goes on as before.
inline void AfxEnableControlContainer() {}

// The program's entry: the application object's InitInstance, then Run when
// it succeeded, then ExitInstance; gives the exit code.
ZELL_PER_DELIVERABLE int AfxWinMain()
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return -1;
    if (!app->InitInstance()) {
        app->ExitInstance();
        return -1;
    }
    return app->Run();
}

// A shared library's application object starts and ends with the library:
// its load and unload call these (the program's loop serves its windows).
ZELL_PER_DELIVERABLE BOOL AfxInitLibraryApp()
{
    CWinApp* app = AfxGetApp();
    return app && app->InitInstance();
}
ZELL_PER_DELIVERABLE int AfxTermLibraryApp()
{
    CWinApp* app = AfxGetApp();
    return app ? app->ExitInstance() : 0;
}
