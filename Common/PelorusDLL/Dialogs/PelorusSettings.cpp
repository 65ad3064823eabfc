#include "Common/PelorusDLL/Dialogs/PelorusSettings.h"

#include "Common/Skin/SkinButton.h"
#include "Common/Skin/ZellStatic.h"
#include "Common/PelorusDLL/Dialogs/CommunicationSettingsDlg.h"
#include "Common/PelorusDLL/Dialogs/TSLX.h"
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Common/PelorusDLL/Dialogs/ModulePath.h"
#include "Platform/Base/FileSystemPath.h"
#include "Platform/Ui/ResourceModule.h"

#include <cwchar>
#include <filesystem>

using namespace ZELL::Skin;

namespace {

constexpr const wchar_t* kGuiXmlName = L"COMMSETTINGSDLG.GUI.XML";

// Our resources for the dialog's time, and the user-interface library
// released, on every way out (exceptions included).
class CDialogScope {
public:
    CDialogScope() : m_previous(AfxGetResourceHandle()) { AfxSetResourceHandle(Ui::OwnModule()); }
    ~CDialogScope()
    {
        TSLX::FreeLibrary();
        AfxSetResourceHandle(m_previous);
    }
    CDialogScope(const CDialogScope&) = delete;
    CDialogScope& operator=(const CDialogScope&) = delete;

private:
    HINSTANCE m_previous = nullptr;
};

// The language's number, 0 when the text is none.
WORD NumberOf(const CString& lcid)
{
    wchar_t* end = nullptr;
    const unsigned long number = std::wcstoul(lcid.GetString(), &end, 10);
    return !lcid.IsEmpty() && end && *end == L'\0' && number <= 0xFFFF ? static_cast<WORD>(number) : WORD{0};
}

// Loads the dialog's texts (and a caller's extra file beneath them); the
// language's number, 0 when it has none.
WORD LoadTexts(const std::wstring& lcidText, const std::wstring& extraGuiXml)
{
    const CString file = CommSettingsGuiXmlPath().c_str();
    CString language = lcidText.c_str();
    CString lcid = lcidText.c_str();
    // Without the file the texts show as their keys; no load is tried (a
    // failed one would stop the caller with a message of its own).
    std::error_code unknown;
    if (!std::filesystem::exists(Text::FsPath(file.GetString()), unknown))
        return NumberOf(lcid);
    LoadLanguageTexts(file, language, lcid);
    try {
        if (!extraGuiXml.empty())
            GetLanguageSupport().LoadXml(extraGuiXml.c_str(), lcid.GetString(), true);
        GetLanguageSupport().LoadXml(file.GetString(), lcid.GetString(), true);
    } catch (...) {
        // Missing texts show as their keys.
    }
    return NumberOf(lcid);
}

INT_PTR ShowSettingsDialog(ZELL::CConnectionBase** connection, CWnd* parent, WORD language, bool globalFonts)
{
    TSLX::LoadLibrary();
    TSLX::SetLanguage(language);
    if (globalFonts) {
        LOGFONTW font{};
        TSLX::GetMainLogfont(&font);
        CSkinButton::SetGlobalFont(font);
        CZellStatic::SetGlobalFont(font);
    }
    CCommunicationSettingsDlg dialog(connection, parent);
    return dialog.DoModal();
}

}

std::wstring FindDataFile(const std::vector<std::wstring>& folders, const std::wstring& name)
{
    for (const std::wstring& folder : folders) {
        if (folder.empty())
            continue;
        // Beside the module in a build tree, in the share folder of an
        // installed one (the module in <prefix>/lib or <prefix>/bin).
        for (const std::wstring& candidate : {folder + name, folder + L"../share/pelorus/" + name}) {
            std::error_code error;
            if (std::filesystem::is_regular_file(Text::FsPath(candidate), error))
                return Text::WidePath(Text::FsPath(candidate).lexically_normal());
        }
    }
    return name;
}

std::wstring CommSettingsGuiXmlPath()
{
    static const char marker = 0;
    return FindDataFile({CModulePath::Of(&marker).Folder(), CModulePath(nullptr).Folder()}, kGuiXmlName);
}

INT_PTR PelorusSettings(ZELL::CConnectionBase** connection, const std::wstring& lcidText, CWnd* parent,
                        std::wstring extraGuiXml, DWORD)
{
    CDialogScope scope;
    const WORD language = LoadTexts(lcidText, extraGuiXml);
    return ShowSettingsDialog(connection, parent, language, true);
}

DWORD PelorusDoNetworkScan(DWORD, std::wstring, DWORD, DWORD, DWORD) { return 0; }

CCommSettingsDlg::CCommSettingsDlg(ZELL::CConnectionBase** connection, std::wstring lcidText, CWnd* parent)
    : m_lcidText(std::move(lcidText)), m_connection(connection), m_parent(parent)
{
}

INT_PTR CCommSettingsDlg::Show()
{
    struct CFreeOnExit {
        ~CFreeOnExit() { TSLX::FreeLibrary(); }
    } freeOnExit;
    const WORD language = LoadTexts(m_lcidText, {});
    return ShowSettingsDialog(m_connection, m_parent, language, false);
}
