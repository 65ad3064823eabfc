#pragma once
// The application class every deliverable derives its application object
// from. Its start-up chain opens the object library and the common
// controls, scales the metrics and the message font to the screen, finds
// the executable's folder, loads the language texts of the GUI XML file,
// takes the brand (OEM) settings and colours from them and chooses the
// registry key of the profile. It also shows the program's message boxes.
#include "Common/SystemHelper/Xml/ComError.h"
#include "Platform/Base/CString.h"
#include "Platform/Framework/Drawing/Font.h"
#include "Platform/Framework/App/WinApp.h"

#include <functional>

class CZellWinApp : public CWinApp {
public:
    // The text of a key that the GUI XML file does not define starts with this.
    static constexpr LPCWSTR kUndefinedMark = L"##";
    static constexpr LPCWSTR kDefaultRegistryKey = L"Zell Software";
    // The colour that tells a receiver to keep what it has.
    static constexpr COLORREF kKeepColour = 0xFF000000;
    static constexpr UINT kDefaultLogoId = 230;

    // Where the colours of the look go at start-up: the class-wide setters
    // of the gradient statics, the grid, the owner-drawn menus and the
    // tooltips. An empty receiver is skipped.
    struct tColourReceivers {
        std::function<void(COLORREF start, COLORREF end, COLORREF text)> gradient;
        std::function<void(COLORREF back, COLORREF text, COLORREF, COLORREF)> grid;
        std::function<void(COLORREF select, COLORREF selectFill, COLORREF text)> menu;
        std::function<void(COLORREF begin, COLORREF middle, COLORREF end, COLORREF text)> tooltip;
    };

    explicit CZellWinApp(LPCWSTR appName = nullptr);
    ~CZellWinApp() override;

    // The start-up chain; false when a step that start-up cannot do
    // without failed (the steps after it are not run).
    virtual BOOL InitFramework(const CString& language, const CString& lcid);
    // Loads the texts of the language (code or LCID text; both are updated
    // to what was loaded). False when there is no GUI XML file or it
    // could not be loaded.
    virtual bool SetupLanguage(CString& language, CString& lcid);
    virtual CString GetGuiXmlFile() const { return m_guiXmlFile; }
    // Sets m_guiXmlFile; the program knows where its file lies.
    virtual void InitGuiXmlFile() = 0;
    virtual void InitExePaths();
    virtual void InitDpiMetrics();
    // Exactly one of them runs per InitDpiMetrics, by the screen's DPI.
    virtual void OnDpiUpTo100() {}
    virtual void OnDpiUpTo120() {}
    virtual void OnDpiUpTo144() {}
    virtual void OnDpiAbove144() {}
    // text + blank line + detail (+ blank line + extra); the application's
    // name is the caption. Returns the button pressed.
    virtual int ShowMessage(const CString& text, const CString& detail, const CString& extra, UINT type,
                            CWnd* owner = nullptr);
    // The texts from the string resources; id 0 is an empty text.
    virtual int ShowMessageIds(UINT textId, UINT detailId, UINT extraId, UINT type, CWnd* owner = nullptr);
    virtual int ShowMessageIdsText(UINT textId, UINT detailId, const CString& extra, UINT type,
                                   CWnd* owner = nullptr);
    // An error box over the active window with the error's code, meaning,
    // source and description.
    virtual int ShowComError(const CString& text, const CString& detail, const _com_error& error);
    virtual int ShowComErrorIds(UINT textId, UINT detailId, const _com_error& error);

    int ExitInstance() override;

    CString GetExeBaseName() const;
    // The executable's folder, as the file system spells it.
    static CString GetModuleDirectory();
    // Listed in the profile's "Common"/"SupportedLanguages" (items separated
    // by ';', default "de;en") and offered by the GUI XML file.
    bool IsLanguageAvailable(const CString& code) const;
    void LoadOemSettings();
    // Replaces the application name (the message boxes' caption and the
    // profile's name); an empty name is ignored.
    void SetAppName(const CString& name);
    // The program's logo bitmap; the brand's file in OEM mode unless forced.
    void LoadOemLogo(bool force);
    // Chooses the registry key once: "REGISTRY_KEY" of the texts, else `key`.
    void InitRegistryKey(const CString& key);

    void SetColourReceivers(const tColourReceivers& receivers) { m_colourReceivers = receivers; }
    const tColourReceivers& GetColourReceivers() const { return m_colourReceivers; }

    bool IsOemMode() const { return m_oemMode; }
    bool IsHelpShown() const { return m_showHelp; }
    UINT GetLogoId() const { return m_logoId; }
    HBITMAP GetLogoBitmap() const { return m_logo; }
    const LOGFONTW& GetMessageLogFont() const { return m_messageLogFont; }

    // Whether the text of a language key is the marker of a missing key.
    static bool IsUndefinedText(const CString& text);
    // The LCID of a decimal text; 0 when the text is no 16-bit number.
    static WORD LcidOfText(const CString& lcid);

    CString m_guiXmlFile;
    CString m_exeDirectory;
    CString m_exeFileName;
    CString m_registryKey;
    CString m_registryPath;
    int m_buttonIconSize = 32;
    int m_smallIconSize = 16;
    int m_largeButtonIconSize = 60;
    int m_iconStaticSize = 38;
    int m_dialogMetric = 30;
    int m_labelFontSize = 11;
    CString m_labelFormat = L"    %s";
    CFont m_messageFont;

protected:
    // Hand the chosen file, language and name to the user-interface
    // library, which the program links and this layer does not know.
    virtual void HandGuiXmlFileToLibrary(const CString& file, WORD lcid) {}
    virtual void HandAppNameToLibrary(const CString& name) {}

private:
    struct tDpiRow;
    static const tDpiRow& DpiRowOf(int dpi);
    void ApplyDpiRow(const tDpiRow& row);
    void LoadOemColours();
    COLORREF OemColour(LPCWSTR key, COLORREF undefined) const;

    int m_comStarts = 0;
    bool m_oemMode = false;
    bool m_showHelp = true;
    UINT m_logoId = kDefaultLogoId;
    HBITMAP m_logo = nullptr;
    LOGFONTW m_messageLogFont{};
    std::wstring m_appNameCopy;
    tColourReceivers m_colourReceivers;
};
