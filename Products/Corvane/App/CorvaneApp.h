#pragma once
// The program's application object. Start-up prepares the language, the
// sockets, the profile key and the start-up options of the command line,
// puts a command-line connection into the registry for this run, hands the
// message font to the control classes and runs the main dialog; exit undoes
// what the command line changed for this run only.
//
// The pages and the main dialog also call its services: texts by key, the
// IP-address-source texts, the data folder, image lists and the look-ups
// of the device capability file.
//
// This library knows neither the main dialog nor the pages (the pages link
// it): the program supplies them through the hooks RunMainDialog,
// HandFontToPages and LoadInvalidIPAddresses.
#include "Common/Application/ZellWinApp.h"
#include "Platform/Base/CString.h"
#include "Products/Corvane/Core/CorvaneDeviceIni.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class CImageList;
class CWnd;

namespace Corvane {

class CCommandLineConnection;
class CCorvaneCommandLine;

class CCorvaneApp : public CZellWinApp {
public:
    static constexpr LPCWSTR kCompany = L"Zell Software";
    static constexpr LPCWSTR kFallbackToRS232 = L"--> Set connection to RS232.";
    static constexpr LPCWSTR kSocketsFailed = L"Failed to init windows sockets!";
    static constexpr LPCWSTR kSettingsSetAside
        = L"The stored settings could not be read and were set aside as %s. The program starts with its default "
          L"settings.";
    static constexpr LPCWSTR kSettingsReadOnly
        = L"The settings file %s is read-only: changed settings will not be kept.";
    // The IP-address-source code of a device that cannot tell its source.
    static constexpr WORD kSourceNotSupported = 0x8213;

    // The templates the DPI hooks choose among.
    struct tTemplateIds {
        int mainDialog = 102;
        int networkParamPage = 279;
        int commonPage = 160;
        bool operator==(const tTemplateIds&) const = default;
    };

    explicit CCorvaneApp(LPCWSTR appName = L"Corvane");
    ~CCorvaneApp() override;
    CCorvaneApp(const CCorvaneApp&) = delete;
    CCorvaneApp& operator=(const CCorvaneApp&) = delete;

    // The program's arguments without the program name; set before the
    // framework starts the application.
    void SetArguments(std::vector<CString> arguments) { m_arrArguments = std::move(arguments); }

    // Runs the main dialog and gives FALSE, so the program ends with it.
    BOOL InitInstance() override;
    int ExitInstance() override;

    // Texts by key; a missing key gives "##" and the key.
    CString Translate(LPCWSTR key) const;
    std::string TranslateToString(LPCWSTR key) const;
    CString GetIPAddressSourceText(WORD code) const;
    // The last of the codes 1 to 4 whose text is `text`, or 0.
    WORD GetIPAddressSourceCode(const CString& text) const;

    // The profile's data folder when it exists, else the documents folder.
    CString GetDataFolder() const;
    // The user's documents folder, made when it is missing.
    static CString GetDocumentsFolder();
    // The executable's folder without a build-folder part.
    CString GetExeFolder() const;
    // Beside the executable: its base name with ".GUI.XML".
    CString GetGuiXmlPath() const;
    void InitGuiXmlFile() override;
    // Also finds the device capability file: beside the executable, else
    // in the installed share folder.
    void InitExePaths() override;

    // WM_SETFONT with the message font to each direct child of `window`.
    void SetFontOfChildWindows(CWnd* window) const;
    // 16 x 16 masked images of a bitmap resource; false when the list
    // or the bitmap cannot be made.
    bool LoadImageList(CImageList& imageList, UINT bitmapId, int initialCount, COLORREF maskColour) const;

    // The profile's stored answers of the questions that can be silenced.
    void ResetMessageFlags();

    // The device capability file and its look-ups for an article number.
    const CCorvaneDeviceIni& DeviceIni() const { return m_DeviceIni; }
    CCorvaneDeviceIni& DeviceIni() { return m_DeviceIni; }
    CString GetIniPath() const { return m_DeviceIni.GetIniPath(); }
    CString ResolveDeviceIniSection(const CString& article) const;
    int GetDeviceIniInt(const CString& article, LPCWSTR key, int defaultValue) const;
    bool HasAutoIP(const CString& article) const { return m_DeviceIni.HasAutoIP(article); }
    bool HasDIPSwitch(const CString& article) const { return m_DeviceIni.HasDIPSwitch(article); }
    bool HasEthernetIPExtension(const CString& article) const { return m_DeviceIni.HasEthernetIPExtension(article); }
    bool HasFileSystem(const CString& article) const { return m_DeviceIni.HasFileSystem(article); }
    bool HasSDCard(const CString& article) const { return m_DeviceIni.HasSDCard(article); }
    bool HasISIS(const CString& article) const { return m_DeviceIni.HasISIS(article); }
    bool IsPlcController(const CString& article) const { return m_DeviceIni.IsPlcController(article); }
    bool DeviceHasIP(const CString& article) const { return m_DeviceIni.DeviceHasIP(article); }
    bool HasSDCardSlotByIni(const CString& article) const { return m_DeviceIni.HasSDCardSlotByIni(article); }

    // The dialog templates chosen by the screen's DPI and the user's language.
    const tTemplateIds& TemplateIds() const { return m_TemplateIds; }
    static tTemplateIds TemplateIdsFor(int dpiHookIndex, bool supportedLanguage);
    void OnDpiUpTo100() override { ChooseTemplates(0); }
    void OnDpiUpTo120() override { ChooseTemplates(1); }
    void OnDpiUpTo144() override { ChooseTemplates(2); }
    void OnDpiAbove144() override { ChooseTemplates(3); }

    const CString& Language() const { return m_strLanguage; }
    const CString& LanguageBeforeSwitch() const { return m_strLanguageBeforeSwitch; }
    // "HKEY_CURRENT_USER\Software\<company>\<application>\Communication".
    CString CommunicationRegistryPath() const;

protected:
    // The program's main dialog, run modally.
    virtual void RunMainDialog() {}
    // The font of the settings pages and the addresses they refuse live
    // with the pages, which this layer does not know.
    virtual void HandFontToPages(const LOGFONTW& font) {}
    virtual void LoadInvalidIPAddresses() {}
    // A start-up message (type as ZELLMessageBox takes it).
    virtual void ShowStartupMessage(const CString& text, UINT type);
    // What happened to the settings store at start (set aside, read-only),
    // told in one message.
    void ShowStoreNotices();
    virtual bool StartSockets();
    // Takes the user's language for the template choice.
    virtual bool IsUserLanguageSupported() const;

    void HandGuiXmlFileToLibrary(const CString& file, WORD lcid) override;
    void HandAppNameToLibrary(const CString& name) override;

    // The language of this run as the profile under the usual key and the
    // command line give it.
    CString ExpectedLanguage() const;

private:
    void StoreLanguage();
    void ChooseTemplates(int dpiHookIndex);
    void StartSocketsOrFallBack();
    void ApplyCommandLine();
    void HandFontToControls();

    // What the user-interface library was last given.
    struct tLibraryGuiXml {
        CString file;
        WORD lcid = 0;
    };

    std::vector<CString> m_arrArguments;
    std::optional<tLibraryGuiXml> m_LibraryGuiXml;
    CCorvaneDeviceIni m_DeviceIni;
    tTemplateIds m_TemplateIds;
    CString m_strLanguage;
    CString m_strLanguageBeforeSwitch;
    std::unique_ptr<CCommandLineConnection> m_pCommandLineConnection;
};

// The program's application object, or null while there is none.
CCorvaneApp* GetCorvaneApp();

}  // namespace Corvane
