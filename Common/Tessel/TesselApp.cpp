#include "Common/Tessel/TesselApp.h"

#include "Common/SystemHelper/LanguageTexts.h"
#include "Common/Tessel/BalloonMessage.h"
#include "Common/Tessel/LibrarySettings.h"
#include "Common/Tessel/MessageIcons.h"
#include "Platform/Controls/StandardControls.h"
#include "Platform/Gdi/ScreenDpi.h"
#include "Platform/Shell/ComInit.h"

namespace {

struct ScreenMetrics {
    int iconSizeButton;
    int titleFontSize;
    LONG mainFontHeight;
};

ScreenMetrics MetricsOfDpi(int dpi)
{
    if (dpi <= 90)
        return {24, 11, -11};
    if (dpi <= 100)
        return {32, 11, -13};
    if (dpi <= 120)
        return {40, 12, -16};
    if (dpi <= 144)
        return {48, 13, -19};
    return {64, 12, -24};
}

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

CTesselApp::CTesselApp() : CWinApp(L"Tessel") {}

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
    InitFramework(language);
    return TRUE;
}

bool CTesselApp::InitFramework(const CString& language)
{
    if (!SUCCEEDED(CoInitialize(nullptr)))
        return false;
    ++m_comInitialised;
    ApplyScreenMetrics();
    const bool loaded = SetupLanguage(language);
    LoadOemSettings();
    return loaded;
}

void CTesselApp::ApplyScreenMetrics()
{
    NONCLIENTMETRICSW metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0))
        m_mainFont = metrics.lfMessageFont;
    const ScreenMetrics chosen = MetricsOfDpi(GetScreenDpi());
    m_iconSizeButton = chosen.iconSizeButton;
    m_titleFontSize = chosen.titleFontSize;
    m_mainFont.lfHeight = chosen.mainFontHeight;
}

void CTesselApp::InitGuiXmlFile()
{
    m_strGuiXmlFile = Tessel::CLibrarySettings::Instance().GuiXmlFile();
}

bool CTesselApp::SetupLanguage(const CString& language)
{
    if (m_strGuiXmlFile.IsEmpty())
        InitGuiXmlFile();
    if (m_strGuiXmlFile.IsEmpty())
        return false;
    CString code = language;
    CString lcid;
    return LoadLanguageTexts(m_strGuiXmlFile, code, lcid);
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
    m_strGuiXmlFile.Empty();
    return CWinApp::ExitInstance();
}
