#include "Products/Corvane/MainDialog/CorvaneDlg.h"

#include "Common/Communication/RS232Connection.h"
#include "Common/Communication/TCPIPConnection.h"
#include "Common/PelorusDLL/SIOService.h"
#include "Common/PelorusDLL/TCPIPService.h"
#include "Common/SystemHelper/LanguageTexts.h"
#include "Platform/Base/DebugOutput.h"
#include "Platform/Ui/ResourceImage.h"
#include "Platform/Ui/SystemMenu.h"
#include "Products/Corvane/App/CorvaneApp.h"
#include "Products/Corvane/StartupOptions.h"
#include "Products/Corvane/Workers/ThreadStateTable.h"
#include "Products/Corvane/Workers/WorkerBusyFlag.h"
#include "Products/Corvane/Workers/WorkerMessages.h"

#include <algorithm>

using namespace CorvaneIds;

namespace {

constexpr LPCWSTR kVersionText = L"6.8.2";
constexpr COLORREF kWhite = RGB(255, 255, 255);
// The system's note that its clock was set.
constexpr UINT kTimeChangeMessage = 0x001E;

const UINT g_msgShowThreadState = CWorkerMessages::Get().ShowThreadState;
const UINT g_msgFbcSettingsChanged = CWorkerMessages::Get().FbcSettingsChanged;
const UINT g_msgIsModified = CWorkerMessages::Get().IsModified;
const UINT g_msgIsOfflineConfig = CWorkerMessages::Get().IsOfflineConfig;
const UINT g_msgIsPageInList = CWorkerMessages::Get().IsPageInList;
const UINT g_msgEvaluateShortcuts = CWorkerMessages::Get().EvaluateShortcuts;
const UINT g_msgShowConnectionState = CWorkerMessages::Get().ShowConnectionState;
const UINT g_msgUpdateSettingsMenu = CWorkerMessages::Get().UpdateSettingsMenu;

CString LangText(LPCWSTR key) { return GetLanguageText(key); }

// A missing text shows its key's name instead.
CString TextOr(const CString& key, const CString& fallback)
{
    const CString text = LangText(key);
    return CZellWinApp::IsUndefinedText(text) ? fallback : text;
}

bool IsWorkerRunning() { return GetWorkerBusyFlag().IsSet(); }

struct tButtonSpec {
    int id;
    LPCWSTR key;
    UINT icon;
    // Restart, factory defaults and reset file system show their text
    // behind a blank and are widened to it.
    bool widened;
};

constexpr tButtonSpec kButtons[] = {
    {kReadButton, L"BTN_READ", kReadIcon, false},
    {kOpenButton, L"BTN_OPEN", kOpenIcon, false},
    {kSaveButton, L"BTN_SAVE", kSaveIcon, false},
    {kWriteButton, L"BTN_WRITE", kWriteIcon, false},
    {kRestartButton, L"BTN_RESTART", kRestartIcon, true},
    {kFactoryDefaultsButton, L"BTN_DEFAULT", kFactoryDefaultsIcon, true},
    {kResetFileSystemButton, L"BTN_RESET_FILESYSTEM", kResetFileSystemIcon, true},
    {kSettingsButton, L"BTN_SETTINGS", kSettingsIcon, false},
};

}

BEGIN_MESSAGE_MAP(CCorvaneDlg, CPersistentDialog)
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_WM_TIMER()
    ON_WM_SYSCOMMAND()
    ON_MESSAGE(kTimeChangeMessage, OnTimeChange)
    ON_WM_CONTEXTMENU()
    ON_COMMAND_RANGE(kMenuLanguageDe, kMenuLanguageJa, OnLanguage)
    ON_COMMAND(kMenuMessages, OnResetMessages)
    ON_REGISTERED_MESSAGE(g_msgShowThreadState, OnShowThreadState)
    ON_REGISTERED_MESSAGE(g_msgFbcSettingsChanged, OnFbcSettingsChanged)
    ON_REGISTERED_MESSAGE(g_msgIsModified, OnIsModified)
    ON_REGISTERED_MESSAGE(g_msgIsOfflineConfig, OnIsOfflineConfig)
    ON_REGISTERED_MESSAGE(g_msgIsPageInList, OnIsPageInList)
    ON_REGISTERED_MESSAGE(g_msgEvaluateShortcuts, OnEvaluateShortcuts)
    ON_REGISTERED_MESSAGE(g_msgShowConnectionState, OnShowConnectionState)
    ON_REGISTERED_MESSAGE(g_msgUpdateSettingsMenu, OnUpdateSettingsMenu)
END_MESSAGE_MAP()

CCorvaneDlg::CCorvaneDlg(UINT templateId, const CCorvanePageCatalog& catalog, CWnd* parent)
    : CPersistentDialog(templateId, parent), m_catalog(catalog), m_sheet(this, kSheetPlaceholder)
{
    m_appIcon = ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(kAppIcon));
    CWinApp* app = AfxGetApp();
    m_strLanguage = app->GetProfileString(L"Common", L"Language", L"de");
    const CString type = app->GetProfileString(L"Communication", L"LastConnection", L"RS232");
    m_strRegistryPath = (CString(L"HKEY_CURRENT_USER\\Software\\") + CCorvaneApp::kCompany + L"\\" +
                         app->m_pszProfileName + L"\\Communication")
                            .str();
    CreateConnectionOfType(type, L"");
}

CCorvaneDlg::~CCorvaneDlg()
{
    // The service works on the connection: it goes first.
    m_pService.reset();
    m_pConnection.reset();
}

// --- connection ----------------------------------------------------------------

void CCorvaneDlg::CreateConnectionOfType(const CString& type, const CString& settingsXml)
{
    m_pService.reset();
    m_pConnection.reset();
    if (type.CompareNoCase(L"TCPIP") == 0)
        m_pConnection = std::make_unique<ZELL::CTCPIPConnection>();
    else
        m_pConnection = std::make_unique<ZELL::CRS232Connection>();
    m_pConnection->SetStorageProperties(m_strRegistryPath, ZELL::ISettings::Registry);
    m_pConnection->LoadSettings();
    if (!settingsXml.IsEmpty())
        m_pConnection->SetSettingsXML(settingsXml.str());
    CreateService();
}

bool CCorvaneDlg::IsTcpIpConnection() const
{
    return dynamic_cast<ZELL::CTCPIPConnection*>(m_pConnection.get()) != nullptr;
}

void CCorvaneDlg::CreateService()
{
    if (!m_pConnection)
        return;
    m_pService.reset();
    if (IsTcpIpConnection()) {
        m_pService = std::make_unique<CTCPIPService>(m_pConnection.get());
        ::OutputDebugStringW(L"--> Communication with TCP/IP protocol");
    } else {
        m_pService = std::make_unique<CSIOService>(m_pConnection.get());
        ::OutputDebugStringW(L"--> Communication with standard RS232 protocol");
    }
}

// --- start-up ------------------------------------------------------------------

BOOL CCorvaneDlg::OnInitDialog()
{
    m_whiteBrush.CreateSolidBrush(kWhite);
    CPersistentDialog::OnInitDialog();
    CreatePages();
    SetWindowText(AfxGetAppName());
    ApplyStartupWindowStyle();
    m_tooltip.Create(this);
    SetIcon(m_appIcon, TRUE);
    SetIcon(m_appIcon, FALSE);
    m_statusLine.SubclassDlgItem(kStatusLine, this);
    m_connectionIcon.SubclassDlgItem(kConnectionIcon, this);
    m_connectionText.SubclassDlgItem(kConnectionText, this);
    m_titleLine1.SubclassDlgItem(kTitleLine1, this);
    m_titleLine2.SubclassDlgItem(kTitleLine2, this);
    m_busy.SubclassDlgItem(kBusyIndicator, this);
    m_progress.SubclassDlgItem(kProgressBar, this);
    SetConnectionState(kStateIdle);
    ShowConnectionText();
    EnableSaveAndWrite(false, false);
    SetTitles(AfxGetAppName(), kVersionText);
    ShowStatus(LangText(L"STATE_READY"));
    SetupButtons(true);
    m_busy.ShowWindow(SW_HIDE);
    m_progress.ShowWindow(SW_HIDE);

    AddPageToSheet(m_pageEntries.front());
    m_sheet.EnableStackedTabs(FALSE);
    if (m_sheet.Create(this, WS_CHILD | WS_VISIBLE | WS_TABSTOP))
        m_sheet.FitToPlaceholder();
    m_sheet.SetActivePage(0);
    PostMessage(CWorkerMessages::Get().FirstShow);
    return TRUE;
}

void CCorvaneDlg::ApplyStartupWindowStyle()
{
    if (g_startupOptions.ChildMode) {
        ModifyStyle(WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 0);
        if (const HMENU menu = ::GetSystemMenu(GetSafeHwnd(), FALSE)) {
            ::EnableMenuItem(menu, SC_MAXIMIZE, MF_BYCOMMAND | MF_GRAYED);
            ::EnableMenuItem(menu, SC_MINIMIZE, MF_BYCOMMAND | MF_GRAYED);
        }
    }
    if (g_startupOptions.StartedByEngineeringTool)
        ::SetWindowPos(GetSafeHwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    if (g_startupOptions.HasParentWindow()) {
        const auto& parent = g_startupOptions.ParentWindow;
        CRect own;
        GetWindowRect(&own);
        const int x = parent[0] + (parent[2] - parent[0]) / 2 - own.Width() / 2;
        const int y = parent[1] + (parent[3] - parent[1]) / 2 - own.Height() / 2;
        SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
}

void CCorvaneDlg::CreatePages()
{
    const CCorvaneApp* app = GetCorvaneApp();
    const CCorvaneApp::tTemplateIds ids = app ? app->TemplateIds() : CCorvaneApp::tTemplateIds{};
    for (const std::wstring& key : CCorvanePageCatalog::SheetOrder()) {
        std::unique_ptr<CSettingsPage> page = m_catalog.Create(key, ids);
        if (!page)
            continue;
        const CString title = TextOr(CString(L"TITLE_") + key.c_str(), key.c_str());
        m_pageEntries.push_back({key, title.str(), page.get()});
        m_ownedPages.push_back(std::move(page));
    }
    // The sheet cannot be empty: a page of the catalog is always the first.
    if (m_pageEntries.empty() || m_pageEntries.front().name != L"COMMON") {
        auto common = std::make_unique<CSettingsPage>();
        m_pageEntries.insert(m_pageEntries.begin(), {L"COMMON", TextOr(L"TITLE_COMMON", L"COMMON").str(), common.get()});
        m_ownedPages.push_back(std::move(common));
    }
}

void CCorvaneDlg::SetTitles(const CString& first, const CString& second)
{
    m_titleLine1.SetWindowText(first);
    m_titleLine2.SetWindowText(second);
}

void CCorvaneDlg::SetupButtons(bool initial)
{
    for (std::size_t i = 0; i < std::size(kButtons); ++i) {
        const tButtonSpec& spec = kButtons[i];
        CZellButton& button = m_buttons[i];
        if (button.GetSafeHwnd() == nullptr)
            button.SubclassDlgItem(static_cast<UINT>(spec.id), this);
        const CString text = spec.widened ? CString(L" ") + LangText(spec.key) : LangText(spec.key);
        button.SetWindowText(text);
        const CString header = CString(L"TT_") + spec.key + L"_HDR";
        const CString body = CString(L"TT_") + spec.key + L"_BODY";
        if (m_tooltip.IsCreated())
            m_tooltip.AddTool(this, spec.id, TextOr(body, body).str(), TextOr(header, header).str());
    }
    SetupSettingsMenu();
    if (!initial)
        return;
    EnableButton(kOpenButton, !g_startupOptions.ChangeIPMode);
    EnableButton(kReadButton, true);
    EnableButton(kSaveButton, false);
    EnableButton(kWriteButton, false);
    EnableButton(kResetFileSystemButton, false);
}

void CCorvaneDlg::SetupSettingsMenu() {}

// --- buttons ---------------------------------------------------------------------

void CCorvaneDlg::EnableButton(int id, bool enable)
{
    if (CWnd* button = GetDlgItem(id))
        button->EnableWindow(enable ? TRUE : FALSE);
}

void CCorvaneDlg::EnableSaveAndWrite(bool save, bool write)
{
    EnableButton(kSaveButton, save);
    EnableButton(kWriteButton, write);
    RecomputeModified();
}

void CCorvaneDlg::RecomputeModified()
{
    const CWnd* save = GetDlgItem(kSaveButton);
    const CWnd* write = GetDlgItem(kWriteButton);
    m_bModified = (save && save->IsWindowEnabled()) || (write && write->IsWindowEnabled());
}

// --- pages -----------------------------------------------------------------------

CSettingsPage* CCorvaneDlg::Page(const std::wstring& name) const
{
    const auto found = std::find_if(m_pageEntries.begin(), m_pageEntries.end(),
                                    [&](const tPageEntry& entry) { return entry.name == name; });
    return found == m_pageEntries.end() ? nullptr : found->page;
}

CSettingsPage* CCorvaneDlg::ActivePage() const
{
    if (m_sheet.GetSafeHwnd() == nullptr)
        return nullptr;
    return static_cast<CSettingsPage*>(m_sheet.GetActivePage());
}

std::wstring CCorvaneDlg::ActivePageName() const
{
    const CSettingsPage* active = ActivePage();
    for (const tPageEntry& entry : m_pageEntries) {
        if (entry.page == active)
            return entry.name;
    }
    return {};
}

bool CCorvaneDlg::IsPageInList(const std::wstring& name) const
{
    return std::find(m_pageList.begin(), m_pageList.end(), name) != m_pageList.end();
}

bool CCorvaneDlg::IsPageInSheet(const std::wstring& name) const
{
    const CSettingsPage* page = Page(name);
    return page != nullptr && m_sheet.GetPageIndex(const_cast<CSettingsPage*>(page)) >= 0;
}

void CCorvaneDlg::AddPageToSheet(const tPageEntry& entry)
{
    if (entry.page == nullptr || IsPageInSheet(entry.name))
        return;
    m_sheet.AddPage(entry.page, entry.title.c_str());
}

void CCorvaneDlg::RemovePageFromSheet(const std::wstring& name)
{
    // The sheet keeps at least its first page.
    if (name == L"COMMON" || !IsPageInSheet(name))
        return;
    m_sheet.RemovePage(Page(name));
}

void CCorvaneDlg::ActivatePage(const std::wstring& name)
{
    CSettingsPage* page = Page(name);
    if (page == nullptr || m_sheet.GetPageIndex(page) < 0)
        page = static_cast<CSettingsPage*>(m_sheet.GetPage(0));
    if (page != nullptr && m_sheet.GetSafeHwnd() != nullptr)
        m_sheet.SetActivePage(page);
}

void CCorvaneDlg::BuildPageList(const CString& article)
{
    const CCorvaneApp* app = GetCorvaneApp();
    m_pageList.clear();
    if (app == nullptr) {
        m_pageList = {L"COMMON", L"STATUS"};
        return;
    }
    CFBCData device = m_data;
    device.ArticleNo = article;
    for (const CString& key : app->DeviceIni().BuildPageList(device))
        m_pageList.push_back(key.str());
}

void CCorvaneDlg::ApplyPageList() {}

void CCorvaneDlg::ResetToFirstPage()
{
    ActivatePage(L"COMMON");
    m_strActivePageName = L"COMMON";
    for (const tPageEntry& entry : m_pageEntries)
        RemovePageFromSheet(entry.name);
}

// --- status line -----------------------------------------------------------------

void CCorvaneDlg::ShowStatus(const CString& text)
{
    CString shown = text;
    shown.TrimLeft();
    m_statusLine.SetWindowText(shown);
    if (shown == LangText(L"STATE_READY"))
        return;
    if (!m_strStatusLog.IsEmpty())
        m_strStatusLog += L"\r\n";
    m_strStatusLog += text;
}

void CCorvaneDlg::StartBusy() { ShowStatus(LangText(L"STATE_READY")); }

void CCorvaneDlg::StopBusy() {}

void CCorvaneDlg::SetStatusTimer()
{
    SetTimer(kStatusTimer, kStatusTimerMs);
    m_bStatusTimer = true;
}

void CCorvaneDlg::SetConnectionState(UINT iconId)
{
    m_connectionState = iconId;
    if (m_connectionIcon.GetSafeHwnd() == nullptr)
        return;
    m_connectionIcon.SetIcon(::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(iconId)));
}

void CCorvaneDlg::ShowConnectionText()
{
    if (IsOfflineConfig()) {
        m_connectionText.SetWindowText(LangText(L"TXT_EDITOR"));
        return;
    }
    if (!m_pConnection)
        return;
    const LPCWSTR key = IsTcpIpConnection() ? L"IP-Address" : L"device";
    m_connectionText.SetWindowText(m_pConnection->GetSettingsValue(key).c_str());
}

// --- language --------------------------------------------------------------------

void CCorvaneDlg::OnLanguage(UINT id)
{
    if (IsWorkerRunning())
        return;
    static const std::pair<UINT, LPCWSTR> kLanguages[] = {{kMenuLanguageDe, L"de"}, {kMenuLanguageEn, L"en"},
                                                          {kMenuLanguageFr, L"fr"}, {kMenuLanguageEs, L"es"},
                                                          {kMenuLanguageJa, L"ja"}};
    for (const auto& [command, code] : kLanguages) {
        if (command == id)
            SwitchLanguage(code);
    }
}

void CCorvaneDlg::SwitchLanguage(const CString& language) { m_strLanguage = language; }

void CCorvaneDlg::OnResetMessages()
{
    if (CCorvaneApp* app = GetCorvaneApp())
        app->ResetMessageFlags();
}

// --- registered messages -----------------------------------------------------------

LRESULT CCorvaneDlg::OnShowThreadState(WPARAM wParam, LPARAM lParam)
{
    const tThreadStateView view = CThreadStateTable::Interpret(wParam, lParam);
    CString state = LangText(view.stateKey);
    if (view.subStep)
        state = L"    " + state;
    CString line;
    line.Format(state, CThreadStateTable::ActionText(view.action).GetString());
    ShowStatus(line);
    if (view.icon != 0)
        SetConnectionState(static_cast<UINT>(view.icon));
    return 0;
}

LRESULT CCorvaneDlg::OnFbcSettingsChanged(WPARAM wParam, LPARAM)
{
    const bool changed = wParam != 0;
    EnableButton(kWriteButton, changed);
    EnableButton(kSaveButton, changed && !g_startupOptions.ChangeIPMode);
    RecomputeModified();
    return 0;
}

LRESULT CCorvaneDlg::OnIsModified(WPARAM, LPARAM) { return m_bModified ? 1 : 0; }

LRESULT CCorvaneDlg::OnIsOfflineConfig(WPARAM, LPARAM) { return IsOfflineConfig() ? 1 : 0; }

LRESULT CCorvaneDlg::OnIsPageInList(WPARAM, LPARAM lParam)
{
    const auto* name = reinterpret_cast<const wchar_t*>(lParam);
    return name != nullptr && IsPageInList(name) ? 1 : 0;
}

LRESULT CCorvaneDlg::OnEvaluateShortcuts(WPARAM wParam, LPARAM)
{
    EvaluateShortcut(static_cast<UINT>(wParam));
    return 0;
}

LRESULT CCorvaneDlg::OnShowConnectionState(WPARAM wParam, LPARAM)
{
    if (wParam == kStateWorking || wParam == kStateConnecting || wParam == kStateIdle)
        SetConnectionState(static_cast<UINT>(wParam));
    return 0;
}

LRESULT CCorvaneDlg::OnUpdateSettingsMenu(WPARAM, LPARAM) { return 0; }

// --- keyboard ----------------------------------------------------------------------

BOOL CCorvaneDlg::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && EvaluateShortcut(static_cast<UINT>(msg->wParam)))
        return TRUE;
    return CPersistentDialog::PreTranslateMessage(msg);
}

bool CCorvaneDlg::EvaluateShortcut(UINT virtualKey)
{
    switch (virtualKey) {
    case VK_F5:
        SendMessage(WM_COMMAND, MAKEWPARAM(kReadButton, BN_CLICKED));
        return true;
    case VK_F8:
        SendMessage(WM_COMMAND, MAKEWPARAM(kMenuCommunication, 0));
        return true;
    default:
        return false;
    }
}

void CCorvaneDlg::OnOK()
{
    if (!IsWorkerRunning())
        return;
}

void CCorvaneDlg::OnCancel()
{
    if (!IsWorkerRunning())
        return;
}

// --- closing and other window messages ----------------------------------------------

void CCorvaneDlg::OnClose()
{
    if (m_bCloseAfterWrite || !IsWorkerRunning())
        CloseQuery();
}

void CCorvaneDlg::CloseQuery()
{
    if (m_pConnection)
        m_pConnection->SaveSettings();
    EndDialog(IDCANCEL);
}

void CCorvaneDlg::OnDestroy()
{
    KillTimer(kStatusTimer);
    CPersistentDialog::OnDestroy();
}

void CCorvaneDlg::OnTimer(UINT_PTR id)
{
    if (id != kStatusTimer || IsWorkerRunning() || !m_bStatusTimer)
        return;
    if (!IsOfflineConfig())
        ShowStatus(LangText(L"STATE_READY"));
    KillTimer(kStatusTimer);
    m_bStatusTimer = false;
}

void CCorvaneDlg::OnSysCommand(UINT id, LPARAM lParam)
{
    if ((id & 0xFFF0) == kAboutCommand) {
        SendMessage(WM_COMMAND, MAKEWPARAM(kAboutCommand, 0));
        return;
    }
    CPersistentDialog::OnSysCommand(id, lParam);
}

LRESULT CCorvaneDlg::OnTimeChange(WPARAM, LPARAM) { return 0; }

void CCorvaneDlg::OnContextMenu(CWnd* wnd, CPoint point) {}

void CCorvaneDlg::ShowStatusMenu(CPoint screenPoint) {}

void CCorvaneDlg::OnUpdateCommandButton(CCmdUI* ui) {}
