#pragma once
// The library's application object. The start-up chain, the layout
// metrics, the main font and the brand (OEM) settings and colours are those
// of the application base class; the library adds where its GUI XML file
// comes from and what it must release when it ends.
#include "Common/Application/ZellWinApp.h"
#include "Platform/Base/CString.h"

class CTesselApp : public CZellWinApp {
public:
    CTesselApp();

    BOOL InitInstance() override;
    int ExitInstance() override;
    // The GUI XML file the caller handed over becomes the one texts come from.
    void InitGuiXmlFile() override;

    // Loads the texts of the GUI XML file (taken from the library's settings
    // when none is set yet) in the language given as decimal text.
    bool LoadLanguage(const CString& language);

    bool IsStarted() const { return m_started; }
    int GetIconSizeButton() const { return m_buttonIconSize; }
    int GetTitleFontSize() const { return m_labelFontSize; }
    const LOGFONTW& GetMainLogfont() const { return GetMessageLogFont(); }

private:
    bool m_started = false;
    int m_comInitialised = 0;
};

// The one application object of the library.
CTesselApp& TesselApp();
// Starts the application object on the first call (the library's load).
void EnsureTesselAppStarted();
