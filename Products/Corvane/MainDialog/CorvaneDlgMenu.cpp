// The main dialog's Settings menu, its keyboard shortcuts and the switch of
// the language while the program runs.
#include "Products/Corvane/MainDialog/CorvaneDlg.h"

#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Common/Communication/ZellException.h"
#include "Platform/Controls/MessageBox.h"
#include "Products/Corvane/App/CorvaneApp.h"

#include <iterator>

namespace Corvane {

using namespace CorvaneIds;
using namespace ZELL::Skin;

namespace {

struct tLanguageItem {
    UINT command;
    LPCWSTR code;
    LPCWSTR key;
};

constexpr tLanguageItem kLanguages[] = {
    {kMenuLanguageDe, L"de", L"MENU_LANG_DE"}, {kMenuLanguageEn, L"en", L"MENU_LANG_EN"},
    {kMenuLanguageFr, L"fr", L"MENU_LANG_FR"}, {kMenuLanguageEs, L"es", L"MENU_LANG_ES"},
    {kMenuLanguageJa, L"ja", L"MENU_LANG_JA"}};

// The stored answer of a question the user silenced carries this bit.
constexpr UINT kDontAskAgain = 0x4000000;
constexpr LPCWSTR kSilencedQuestions[] = {L"SoftwareReset", L"ResetFileSystem", L"SoftwareResetAfterResetFileSystem"};

bool IsKeyDown(int key) { return (::GetKeyState(key) & 0x8000) != 0; }

bool IsPushButton(HWND control)
{
    return (::SendMessageW(control, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

}

void CCorvaneDlg::SetupSettingsMenu()
{
    CZellButton& settings = m_arrButtons[std::size(m_arrButtons) - 1];
    CZellMenu* menu = settings.DropDownMenu();
    if (menu == nullptr)
        return;
    settings.SetMenuItemText(kMenuCommunication, Translate(L"MENU_COMMUNICATION"));
    settings.SetMenuItemText(kMenuMessages, Translate(L"MENU_MESSAGES"));
    settings.SetMenuItemText(1, Translate(L"MENU_LANGUGAE"), MF_BYPOSITION);
    for (const tLanguageItem& item : kLanguages) {
        // English stays, so that the menu never runs out of languages.
        if (CString(item.code) != L"en" && !IsLanguageOffered(item.code))
            settings.MenuItemOperation(item.command);
        else
            settings.SetMenuItemText(item.command, Translate(item.key));
    }
    settings.EnableMenuItem(kMenuMessages, HasSilencedQuestion() ? TRUE : FALSE);
    CheckLanguageItem();
}

CMenu* CCorvaneDlg::SettingsMenu() const { return m_arrButtons[std::size(m_arrButtons) - 1].DropDownMenu(); }

void CCorvaneDlg::CheckLanguageItem()
{
    UINT checked = kMenuLanguageEn;
    for (const tLanguageItem& item : kLanguages) {
        if (m_strLanguage.CompareNoCase(item.code) == 0)
            checked = item.command;
    }
    CZellButton& settings = m_arrButtons[std::size(m_arrButtons) - 1];
    for (const tLanguageItem& item : kLanguages)
        settings.CheckMenuItem(item.command, item.command == checked ? TRUE : FALSE);
}

bool CCorvaneDlg::IsLanguageOffered(const CString& code) const
{
    const CCorvaneApp* app = GetCorvaneApp();
    return app != nullptr && app->IsLanguageAvailable(code);
}

bool CCorvaneDlg::HasSilencedQuestion() const
{
    CWinApp* app = AfxGetApp();
    for (const LPCWSTR key : kSilencedQuestions) {
        if ((app->GetProfileInt(L"Messages", key, 0) & kDontAskAgain) != 0)
            return true;
    }
    return false;
}

LRESULT CCorvaneDlg::OnUpdateSettingsMenu(WPARAM, LPARAM)
{
    m_arrButtons[std::size(m_arrButtons) - 1].EnableMenuItem(kMenuMessages, HasSilencedQuestion() ? TRUE : FALSE);
    return 0;
}

void CCorvaneDlg::OnResetMessages()
{
    if (CCorvaneApp* app = GetCorvaneApp())
        app->ResetMessageFlags();
    m_arrButtons[std::size(m_arrButtons) - 1].EnableMenuItem(kMenuMessages, FALSE);
}

// --- language --------------------------------------------------------------------

void CCorvaneDlg::OnLanguage(UINT id)
{
    if (IsWorkerRunning())
        return;
    for (const tLanguageItem& item : kLanguages) {
        if (item.command == id)
            SwitchLanguage(item.code);
    }
}

void CCorvaneDlg::SwitchLanguage(const CString& language)
{
    if (IsWorkerRunning())
        return;
    m_strLanguage = language;
    m_bSwitchingLanguage = true;
    SetRedraw(FALSE);
    const std::wstring active = ActivePageName();
    try {
        ApplyLanguage();
    } catch (CZellException& error) {
        ::MessageBoxW(GetSafeHwnd(), error.GetText(), L"ERROR", MB_OK);
    }
    ActivatePage(active);
    SetRedraw(TRUE);
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_ERASE);
    m_bSwitchingLanguage = false;
}

void CCorvaneDlg::ApplyLanguage()
{
    if (CCorvaneApp* app = GetCorvaneApp()) {
        CString language = m_strLanguage;
        CString lcid = L"1031";
        app->SetupLanguage(language, lcid);
        app->WriteProfileString(L"Common", L"Language", m_strLanguage);
    }
    SetupSystemMenu();
    ShowResultStatusInLanguage();
    SetupButtons(false);
    ShowConnectionText();
    // The data first, so that the pages' texts made from them (address
    // sources, states) are in the new language when the pages show them.
    if (m_bDataValid)
        ShowDataInLanguage();
    RetitlePages();
    ShowNotesInLanguage();
}

// Every page's title, tab and texts in the current language; a page added
// to the sheet later takes the new title too.
void CCorvaneDlg::RetitlePages()
{
    for (tPageEntry& entry : m_arrPageEntries) {
        const CString title = TranslateOr(CString(L"TITLE_") + entry.name.c_str(), entry.name.c_str());
        entry.title = title.str();
        if (entry.page == nullptr)
            continue;
        entry.page->SetPageTitle(title);
        entry.page->UpdateLanguageTexts();
        if (const int tab = m_Sheet.GetPageIndex(entry.page); tab >= 0 && m_Sheet.GetSafeHwnd() != nullptr)
            m_Sheet.SetTabText(tab, title);
    }
}

// The data set's checks and pages once more, so that every text made from
// the data (states, address sources, blink codes) is in the new language.
// The user's edits are kept: the pages store them first, and the command
// buttons and the modified state stay as they were.
void CCorvaneDlg::ShowDataInLanguage()
{
    const bool modified = m_bModified;
    const CWnd* save = GetDlgItem(kSaveButton);
    const CWnd* write = GetDlgItem(kWriteButton);
    const bool saveEnabled = save != nullptr && save->IsWindowEnabled();
    const bool writeEnabled = write != nullptr && write->IsWindowEnabled();
    // Input a page refuses stays in the page rather than being replaced.
    if (!ValidatePages())
        return;
    if (CheckAndShowData(&m_data)) {
        RefreshPages();
        if (CSettingsPage* active = ActivePage())
            active->RefreshView();
    }
    EnableButton(kSaveButton, saveEnabled);
    EnableButton(kWriteButton, writeEnabled);
    m_bModified = modified;
}

// --- keyboard --------------------------------------------------------------------

BOOL CCorvaneDlg::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN) {
        if (HandleKey(msg))
            return TRUE;
    }
    m_Tooltip.RelayEvent(msg);
    return CPersistentDialog::PreTranslateMessage(msg);
}

bool CCorvaneDlg::HandleKey(const MSG* msg)
{
    const UINT key = static_cast<UINT>(msg->wParam);
    if (key == VK_RETURN || key == VK_ESCAPE) {
        // Enter and Esc go to the control and never close the dialog; Enter
        // on a push button (Write, Read, a page's button) presses it, as Space does.
        if (key == VK_RETURN && IsPushButton(msg->hwnd))
            ::SendMessageW(msg->hwnd, BM_CLICK, 0, 0);
        else
            ::SendMessageW(msg->hwnd, WM_CHAR, static_cast<WPARAM>(key), msg->lParam);
        return true;
    }
    if (key == VK_APPS && msg->hwnd == m_StatusLine.GetSafeHwnd()) {
        SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(msg->hwnd), MAKELPARAM(-1, -1));
        return true;
    }
    return EvaluateShortcut(key);
}

// The page that forwards a key takes a non-zero answer as handled: with 0 the
// key went on up the window tree to this dialog's own key handling and ran
// its command a second time (a second settings dialog after the first).
LRESULT CCorvaneDlg::OnEvaluateShortcuts(WPARAM wParam, LPARAM)
{
    return EvaluateShortcut(static_cast<UINT>(wParam)) ? 1 : 0;
}

bool CCorvaneDlg::EvaluateShortcut(UINT virtualKey)
{
    switch (virtualKey) {
    case VK_SHIFT:
    case VK_CONTROL:
    case VK_MENU:
        return false;
    case VK_F5:
        SendMessage(WM_COMMAND, MAKEWPARAM(kReadButton, BN_CLICKED));
        return true;
    case VK_F8:
        SendMessage(WM_COMMAND, MAKEWPARAM(kMenuCommunication, 0));
        return true;
    default:
        break;
    }
    if (!IsKeyDown(VK_CONTROL) || !IsKeyDown(VK_MENU) || IsKeyDown(VK_SHIFT))
        return false;
    const UINT command = ShortcutCommand(virtualKey);
    if (command == 0)
        return false;
    SendMessage(WM_COMMAND, MAKEWPARAM(command, 0));
    return true;
}

UINT CCorvaneDlg::ShortcutCommand(UINT letter)
{
    switch (letter) {
    case 'A':
    case 'E':
    case 'I':
        return kMenuLanguageEn;
    case 'D':
    case 'G':
    case 'L':
        return kMenuLanguageDe;
    case 'F':
        return kMenuLanguageFr;
    case 'J':
        return kMenuLanguageJa;
    case 'S':
        return kMenuLanguageEs;
    case 'C':
    case 'K':
        return kMenuCommunication;
    case 'M':
        return kMenuMessages;
    default:
        return 0;
    }
}

}  // namespace Corvane
