#pragma once
// The library's application object. Its settings (GUI XML file, layout
// metrics, main font) are the ones the application base class of the
// system helpers keeps; they sit here until the library derives from it.
#include "Platform/Base/CString.h"
#include "Platform/Framework/WinApp.h"

class CTesselApp : public CWinApp {
public:
    CTesselApp();

    BOOL InitInstance() override;
    int ExitInstance() override;
    // The GUI XML file the caller handed over becomes the one texts come from.
    virtual void InitGuiXmlFile();

    // Loads the texts of the GUI XML file (taken from the library's settings
    // when none is set yet) in the language given as decimal text.
    bool SetupLanguage(const CString& language);
    // Reads the GUI settings of the file; colours and logo come with the
    // application base class.
    virtual void LoadOemSettings() {}

    bool IsStarted() const { return m_started; }
    const CString& GetGuiXmlFile() const { return m_strGuiXmlFile; }
    int GetIconSizeButton() const { return m_iconSizeButton; }
    int GetTitleFontSize() const { return m_titleFontSize; }
    const LOGFONTW& GetMainLogfont() const { return m_mainFont; }

protected:
    // The framework's start: screen metrics and main font, then language.
    virtual bool InitFramework(const CString& language);

    CString m_strGuiXmlFile;
    int m_iconSizeButton = 32;
    int m_titleFontSize = 11;
    LOGFONTW m_mainFont{};

private:
    void ApplyScreenMetrics();

    bool m_started = false;
    int m_comInitialised = 0;
};

// The one application object of the library.
CTesselApp& TesselApp();
// Starts the application object on the first call (the library's load).
void EnsureTesselAppStarted();
