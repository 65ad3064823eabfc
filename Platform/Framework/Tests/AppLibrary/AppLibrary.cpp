// A shared library with an application object of its own, as the
// deliverable libraries have; the module tests load it.
#include "Platform/Framework/App/WinApp.h"

namespace {

class CLibraryApp : public CWinApp {
public:
    CLibraryApp() : CWinApp(L"Library App") {}
    BOOL InitInstance() override
    {
        m_bInitialised = true;
        return TRUE;
    }
    bool m_bInitialised = false;
};

CLibraryApp theLibraryApp;

}

#define LIBRARY_EXPORT extern "C" __attribute__((visibility("default")))

LIBRARY_EXPORT const wchar_t* LibraryAppName() { return AfxGetApp() ? AfxGetApp()->m_pszAppName : L""; }
LIBRARY_EXPORT BOOL LibraryInit() { return AfxInitLibraryApp() && theLibraryApp.m_bInitialised; }
LIBRARY_EXPORT HINSTANCE LibraryResourceHandle() { return AfxGetResourceHandle(); }
LIBRARY_EXPORT HINSTANCE LibraryInstance() { return AfxGetInstanceHandle(); }
// Switches its own resource handle; the program's stays.
LIBRARY_EXPORT void LibrarySetResourceHandle(HINSTANCE module) { AfxSetResourceHandle(module); }
