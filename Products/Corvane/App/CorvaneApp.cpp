#include "Products/Corvane/App/CorvaneApp.h"

#include "Common/Skin/PropSheetInDlg.h"
#include "Common/Skin/SkinButton.h"
#include "Common/Skin/ZellMenu.h"
#include "Common/Skin/ZellStatic.h"
#include "Common/SystemHelper/System/FileHelpers.h"
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Common/SystemHelper/Desktop/ShellHelpers.h"
#include "Common/SystemHelper/Desktop/SystemInfo.h"
#include "Common/Tessel/TesselExports.h"
#include "Platform/Base/FileSystemPath.h"
#include "Platform/Controls/StandardControls.h"
#include "Platform/Framework/Drawing/ImageList.h"
#include "Platform/Framework/Windows/Wnd.h"
#include "Platform/Gdi/Gdi.h"
#include "Platform/Net/WinSock.h"
#include "Platform/Registry/RegistryStore.h"
#include "Platform/Shell/ComInit.h"
#include "Platform/Shell/ShellFolders.h"
#include "Platform/Ui/ResourceImage.h"
#include "Products/Corvane/Core/CommandLineConnection.h"
#include "Products/Corvane/Core/CorvaneCommandLine.h"
#include "Products/Corvane/Core/StartupOptions.h"

#include <filesystem>
#include <functional>
#include <iterator>
#include <utility>
#include <system_error>

namespace Corvane {

using namespace ZELL::Skin;

namespace {

constexpr LPCWSTR kCommonSection = L"Common";
constexpr LPCWSTR kLanguageEntry = L"Language";
constexpr LPCWSTR kCommunicationSection = L"Communication";
constexpr LPCWSTR kLastConnectionEntry = L"LastConnection";
constexpr LPCWSTR kStartLcid = L"1031";
constexpr UINT kImageListFlags = ILC_COLOR24 | ILC_MASK;
constexpr int kImageSize = 16;

bool IsFolder(const CString& path)
{
    std::error_code error;
    return !path.IsEmpty() && std::filesystem::is_directory(Text::WideToFileName(path.str()), error);
}

// The command line's refusals and fall-backs reach the user through the
// application's start-up message.
class CAppCommandLine : public CCorvaneCommandLine {
public:
    CAppCommandLine(const CString& language, std::function<void(const CString&)> show,
                    std::function<bool()> startSockets)
        : CCorvaneCommandLine(language), m_fnShow(std::move(show)), m_fnStartSockets(std::move(startSockets))
    {
    }

protected:
    void OnInvalidArgument(const CString& message) override { m_fnShow(message); }
    bool StartSockets() override { return m_fnStartSockets(); }

private:
    std::function<void(const CString&)> m_fnShow;
    std::function<bool()> m_fnStartSockets;
};

class CAppCommandLineConnection : public CCommandLineConnection {
public:
    CAppCommandLineConnection(const CString& application, std::function<void(const CString&)> show)
        : CCommandLineConnection(CCorvaneApp::kCompany, application), m_fnShow(std::move(show))
    {
    }

protected:
    void OnInvalidSettings(const CString& message) override { m_fnShow(message); }

private:
    std::function<void(const CString&)> m_fnShow;
};

// Both hooks of the main dialog's table: the four DPI classes, with the
// user's language supported or not.
constexpr CCorvaneApp::tTemplateIds kSupportedTemplates[] = {
    {102, 279, 160}, {291, 295, 160}, {102, 292, 298}, {102, 295, 160}};
constexpr CCorvaneApp::tTemplateIds kOtherLanguageTemplates = {297, 296, 160};

}

CCorvaneApp* GetCorvaneApp() { return dynamic_cast<CCorvaneApp*>(AfxGetApp()); }

CCorvaneApp::CCorvaneApp(LPCWSTR appName) : CZellWinApp(appName) {}

CCorvaneApp::~CCorvaneApp() = default;

CCorvaneApp::tTemplateIds CCorvaneApp::TemplateIdsFor(int dpiHookIndex, bool supportedLanguage)
{
    if (dpiHookIndex < 0 || dpiHookIndex >= static_cast<int>(std::size(kSupportedTemplates)))
        return {};
    return supportedLanguage ? kSupportedTemplates[dpiHookIndex] : kOtherLanguageTemplates;
}

void CCorvaneApp::ChooseTemplates(int dpiHookIndex)
{
    m_TemplateIds = TemplateIdsFor(dpiHookIndex, IsUserLanguageSupported());
}

bool CCorvaneApp::IsUserLanguageSupported() const { return IsSupportedUserLanguage(); }

BOOL CCorvaneApp::InitInstance()
{
    // The texts are loaded in the language this run will use, so that the
    // second pass below finds them loaded; only a text file that names a
    // registry key of its own can make it load another.
    CString language = ExpectedLanguage();
    InitFramework(language, kStartLcid);
    ::InitCommonControls();
    AfxEnableControlContainer();
    InitRegistryKey(kCompany);
    StartSocketsOrFallBack();
    ApplyCommandLine();
    InitFramework(m_strLanguage, kStartLcid);
    StoreLanguage();
    ShowStoreNotices();
    HandFontToControls();
    LoadInvalidIPAddresses();
    RunMainDialog();
    return FALSE;
}

CString CCorvaneApp::ExpectedLanguage() const
{
    const Registry::CProfileStore profile(kCompany, m_pszAppName);
    // The plain command line is quiet: its refusals are told by the second pass.
    CCorvaneCommandLine commandLine(profile.GetString(kCommonSection, kLanguageEntry, L"en").c_str());
    commandLine.Parse(m_arrArguments);
    return commandLine.Language();
}

void CCorvaneApp::StoreLanguage()
{
    // Each store write is a synced file write: the usual start, with the
    // language unchanged, leaves the profile alone and paints sooner.
    if (GetProfileString(kCommonSection, kLanguageEntry, L"") != m_strLanguage)
        WriteProfileString(kCommonSection, kLanguageEntry, m_strLanguage);
}

void CCorvaneApp::InitExePaths()
{
    CZellWinApp::InitExePaths();
    m_DeviceIni.Locate(m_exeDirectory + L"/" + m_exeFileName);
}

void CCorvaneApp::StartSocketsOrFallBack()
{
    if (StartSockets())
        return;
    ShowStartupMessage(CString(kSocketsFailed) + kFallbackToRS232, MB_OK);
    WriteProfileString(kCommunicationSection, kLastConnectionEntry, L"RS232");
}

bool CCorvaneApp::StartSockets()
{
    WSADATA data{};
    return WSAStartup(0x0101, &data) == 0;
}

void CCorvaneApp::ApplyCommandLine()
{
    const auto show = [this](const CString& text) { ShowStartupMessage(text, MB_OK); };
    CAppCommandLine commandLine(GetProfileString(kCommonSection, kLanguageEntry, L"en"), show,
                                [this] { return StartSockets(); });
    commandLine.Parse(m_arrArguments);
    m_strLanguage = commandLine.Language();
    m_strLanguageBeforeSwitch = commandLine.LanguageBeforeSwitch();
    g_StartupOptions = commandLine.Options();
    if (!commandLine.ResolveConnection())
        return;
    m_pCommandLineConnection = std::make_unique<CAppCommandLineConnection>(CString(m_pszProfileName), show);
    if (m_pCommandLineConnection->Create(commandLine.ConnectionType(), commandLine.ConnectionSettings()))
        g_StartupOptions.ConnectionSettings = commandLine.ConnectionSettings();
}

void CCorvaneApp::HandFontToControls()
{
    const LOGFONTW& font = GetMessageLogFont();
    CSkinButton::SetGlobalFont(font);
    CZellMenu::SetGlobalFont(&font);
    CZellStatic::SetGlobalFont(font);
    CPropSheetInDlg::SetGlobalFont(font);
    HandFontToPages(font);
}

int CCorvaneApp::ExitInstance()
{
    DestroyZELLBalloonMsg();
    if (!m_strLanguageBeforeSwitch.IsEmpty())
        WriteProfileString(kCommonSection, kLanguageEntry, m_strLanguageBeforeSwitch);
    if (m_pCommandLineConnection) {
        m_pCommandLineConnection->Restore();
        m_pCommandLineConnection.reset();
    }
    return CZellWinApp::ExitInstance();
}

void CCorvaneApp::ShowStartupMessage(const CString& text, UINT type) { ZELLMessageBox(text, type, L"", 0); }

void CCorvaneApp::ShowStoreNotices()
{
    CString text;
    for (const Registry::CStoreNotice& notice : Registry::CRegistryStore::TakeNotices()) {
        CString line;
        line.Format(notice.kind == Registry::CStoreNotice::Kind::SetAside ? kSettingsSetAside : kSettingsReadOnly,
                    notice.file.c_str());
        text += text.IsEmpty() ? line : CString(L"\n\n") + line;
    }
    if (!text.IsEmpty())
        ShowStartupMessage(text, MB_OK | MB_ICONWARNING);
}

void CCorvaneApp::HandGuiXmlFileToLibrary(const CString& file, WORD lcid)
{
    // The start-up chain hands the same file over several times; each
    // hand-over makes the library read the whole file again.
    if (m_LibraryGuiXml && m_LibraryGuiXml->file == file && m_LibraryGuiXml->lcid == lcid)
        return;
    TSLXDLL_SetGuiXmlFile(file, lcid);
    m_LibraryGuiXml = tLibraryGuiXml{file, lcid};
}

void CCorvaneApp::HandAppNameToLibrary(const CString& name) { TSLXDLL_SetAppName(name); }

CString CCorvaneApp::CommunicationRegistryPath() const
{
    return CString(L"HKEY_CURRENT_USER\\Software\\") + kCompany + L"\\" + m_pszProfileName + L"\\" +
           kCommunicationSection;
}

CString CCorvaneApp::Translate(LPCWSTR key) const { return GetLanguageText(key); }

std::string CCorvaneApp::TranslateToString(LPCWSTR key) const { return Text::WideToUtf8(Translate(key).str()); }

CString CCorvaneApp::GetIPAddressSourceText(WORD code) const
{
    if (code == kSourceNotSupported)
        return Translate(L"TXT_NOT_SUPPORTED");
    CString key;
    key.Format(L"TXT_IP_ADDR_SOURCE_%02d", static_cast<int>(code));
    const CString text = Translate(key);
    return IsUndefinedText(text) ? Translate(L"TXT_IP_ADDR_SOURCE_UNKNOWN") : text;
}

WORD CCorvaneApp::GetIPAddressSourceCode(const CString& text) const
{
    WORD found = 0;
    for (WORD code = 1; code <= 4; ++code) {
        if (text == GetIPAddressSourceText(code))
            found = code;
    }
    return found;
}

// A fresh account need not have its documents folder yet, where the
// platform's always does: it is made on first use, so that the file dialogs
// start there rather than at the file system's root. The home folder is the
// last resort.
CString CCorvaneApp::GetDocumentsFolder()
{
    wchar_t path[MAX_PATH] = {};
    if (SHGetSpecialFolderPathW(nullptr, path, CSIDL_PERSONAL, TRUE))
        return path;
    return GetSpecialFolderPath(CSIDL_PROFILE).c_str();
}

CString CCorvaneApp::GetDataFolder() const
{
    const CString documents = GetDocumentsFolder();
    const CString byDefault = documents + L"/" + kCompany + L"/" + m_pszAppName;
    const CString folder = GetProfileString(L"Folder", L"MyDocuments", byDefault);
    return IsFolder(folder) ? folder : documents;
}

CString CCorvaneApp::GetExeFolder() const
{
    const CString iniPath = CDeviceCapabilityFile::MakeIniPath(GetModuleDirectory() + L"/" + GetExeBaseName());
    const int slash = iniPath.ReverseFind(L'/');
    return slash < 0 ? CString() : iniPath.Left(slash);
}

CString CCorvaneApp::GetGuiXmlPath() const
{
    const CString folder = GetExeFolder();
    const CString name = GetExeBaseName() + L".GUI.XML";
    const CString beside = folder.IsEmpty() ? name : folder + L"/" + name;
    if (FileExists(beside.str()))
        return beside;
    // An installed program keeps its data files in the share folder.
    const int slash = folder.ReverseFind(L'/');
    const CString installed =
        (slash < 0 ? CString(L".") : folder.Left(slash)) + L"/share/" + GetExeBaseName() + L"/" + name;
    return FileExists(installed.str()) ? installed : beside;
}

void CCorvaneApp::InitGuiXmlFile() { m_guiXmlFile = GetGuiXmlPath(); }

void CCorvaneApp::SetFontOfChildWindows(CWnd* window) const
{
    if (window == nullptr || window->GetSafeHwnd() == nullptr)
        return;
    const WPARAM font = reinterpret_cast<WPARAM>(m_messageFont.GetSafeHandle());
    for (HWND child = ::GetWindow(window->GetSafeHwnd(), GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT))
        ::SendMessageW(child, WM_SETFONT, font, TRUE);
}

bool CCorvaneApp::LoadImageList(CImageList& imageList, UINT bitmapId, int initialCount, COLORREF maskColour) const
{
    if (!imageList.Create(kImageSize, kImageSize, kImageListFlags, initialCount, 1))
        return false;
    const HANDLE image = ::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(bitmapId), IMAGE_BITMAP, 0, 0,
                                      LR_DEFAULTCOLOR);
    if (image == nullptr)
        return false;
    const HBITMAP bitmap = reinterpret_cast<HBITMAP>(image);
    const int first = ImageList_AddMasked(imageList.GetSafeHandle(), bitmap, maskColour);
    ::DeleteObject(bitmap);
    return first >= 0;
}

void CCorvaneApp::ResetMessageFlags()
{
    for (const LPCWSTR entry : {L"SoftwareReset", L"ResetFileSystem", L"SoftwareResetAfterResetFileSystem"})
        WriteProfileInt(L"Messages", entry, 0);
}

CString CCorvaneApp::ResolveDeviceIniSection(const CString& article) const
{
    return m_DeviceIni.ResolveDeviceIniSection(article);
}

int CCorvaneApp::GetDeviceIniInt(const CString& article, LPCWSTR key, int defaultValue) const
{
    return m_DeviceIni.GetDeviceIniInt(article, key, defaultValue);
}

}  // namespace Corvane
