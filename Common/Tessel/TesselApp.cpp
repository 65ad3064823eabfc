#include "Common/Tessel/TesselApp.h"

#include "Common/Grid/ZellGrid.h"
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Common/Tessel/BalloonMessage.h"
#include "Common/Tessel/LibrarySettings.h"
#include "Common/Tessel/MessageIcons.h"
#include "Platform/Controls/StandardControls.h"
#include "Platform/Shell/ComInit.h"

using namespace ZELL::Grid;

namespace {

CTesselApp theApp;

}

CTesselApp& TesselApp()
{
    return theApp;
}

// The application starts with the first export a caller uses, when the
// process and its window system are up (a library bound at load time is
// initialised before the program's own globals), and ends before the
// library's globals go, on unload or at exit.
void EnsureTesselAppStarted()
{
    if (theApp.IsStarted())
        return;
    Tessel::CBalloonMessage::Instance();
    Tessel::CMessageIcons::Instance();
    theApp.InitInstance();
    struct CLibraryLifetime {
        ~CLibraryLifetime()
        {
            if (theApp.IsStarted())
                theApp.ExitInstance();
        }
    };
    static const CLibraryLifetime lifetime;
}

CTesselApp::CTesselApp() : CZellWinApp(L"Tessel")
{
    // The library's lists highlight in the colours of the look, like its callers'.
    tColourReceivers receivers = GetColourReceivers();
    receivers.grid = [](COLORREF back, COLORREF text, COLORREF, COLORREF) { SetGridHighlightColours(back, text); };
    SetColourReceivers(receivers);
}

BOOL CTesselApp::InitInstance()
{
    m_started = true;
    if (SUCCEEDED(CoInitialize(nullptr)))
        ++m_comInitialised;
    INITCOMMONCONTROLSEX controls;
    controls.dwICC = 0xFF;
    InitCommonControlsEx(&controls);
    CString language;
    language.Format(L"%d", Tessel::CLibrarySettings::Instance().Language());
    // The library works whatever start-up achieved: without the framework
    // the metrics keep their first values.
    InitFramework(language, CString());
    return TRUE;
}

void CTesselApp::InitGuiXmlFile()
{
    m_guiXmlFile = Tessel::CLibrarySettings::Instance().GuiXmlFile();
}

bool CTesselApp::LoadLanguage(const CString& language)
{
    CString code = language;
    CString lcid;
    return SetupLanguage(code, lcid);
}

int CTesselApp::ExitInstance()
{
    // A balloon left up would keep hooks and a timer whose procedures go
    // with the library, and a later load must find the class unregistered.
    Tessel::CBalloonMessage::Instance().Shutdown();
    Tessel::CMessageIcons::Instance().DestroyAll();
    for (; m_comInitialised > 0; --m_comInitialised)
        CoUninitialize();
    m_started = false;
    // A later start begins as a fresh load of the library does.
    m_guiXmlFile.Empty();
    return CZellWinApp::ExitInstance();
}
