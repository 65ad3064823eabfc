#include "Products/Corvane/MainDialog/CorvaneDlg.h"

#include "Common/PelorusDLL/ConnectionTypes.h"
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Platform/Base/DebugOutput.h"
#include "Platform/Ui/ResourceImage.h"
#include "Platform/Ui/SystemMenu.h"
#include "Common/Tessel/TesselExports.h"
#include "Platform/Framework/Drawing/ClientDC.h"
#include "Platform/Framework/Drawing/PaintDC.h"
#include "Products/Corvane/App/CorvaneApp.h"
#include "Products/Corvane/MainDialog/BlankSettingsPage.h"
#include "Products/Corvane/Core/ProgramVersion.h"
#include "Products/Corvane/MainDialog/CorvanePageTable.h"
#include "Products/Corvane/Pages/Views/ClockPage.h"
#include "Products/Corvane/Pages/Views/CommonPage.h"
#include "Products/Corvane/Pages/Views/StatePage.h"
#include "Products/Corvane/Pages/Views/TCPIPPage.h"
#include "Products/Corvane/Core/StartupOptions.h"
#include "Products/Corvane/Workers/ThreadStateTable.h"
#include "Products/Corvane/Workers/WorkerBusyFlag.h"
#include "Products/Corvane/Workers/WorkerMessages.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include <unistd.h>

namespace Corvane {

using namespace CorvaneIds;
using namespace ZELL::Skin;

namespace {

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

struct tToolbarButton {
    int id;
    LPCWSTR key;
    UINT icon;
    // Restart, factory defaults and reset file system show their text
    // behind a blank and are widened to it.
    bool widened;
};

constexpr tToolbarButton kButtons[] = {
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
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_WM_TIMER()
    ON_WM_SYSCOMMAND()
    ON_MESSAGE(kTimeChangeMessage, OnTimeChange)
    ON_WM_CONTEXTMENU()
    ON_COMMAND_RANGE(kMenuLanguageDe, kMenuLanguageEn, OnLanguage)
    ON_COMMAND_RANGE(kMenuLanguageFr, kMenuLanguageFr, OnLanguage)
    ON_COMMAND_RANGE(kMenuLanguageEs, kMenuLanguageEs, OnLanguage)
    ON_COMMAND_RANGE(kMenuLanguageJa, kMenuLanguageJa, OnLanguage)
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
    : CPersistentDialog(templateId, parent), m_Catalog(catalog), m_Sheet(this, kSheetPlaceholder)
{
    m_hAppIcon = ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(kAppIcon));
    CWinApp* app = AfxGetApp();
    m_strLanguage = app->GetProfileString(L"Common", L"Language", L"de");
    const CString type = app->GetProfileString(L"Communication", L"LastConnection", L"RS232");
    m_strRegistryPath = (CString(L"HKEY_CURRENT_USER\\Software\\") + CCorvaneApp::kCompany + L"\\" +
                         app->m_pszProfileName + L"\\Communication")
                            .str();
    CreateConnectionOfType(type, L"");
}

CString CCorvaneDlg::Translate(LPCWSTR key) { return GetLanguageText(key); }

CString CCorvaneDlg::TranslateOr(const CString& key, const CString& fallback)
{
    const CString text = Translate(key);
    return CZellWinApp::IsUndefinedText(text) ? fallback : text;
}

bool CCorvaneDlg::IsWorkerRunning() { return GetWorkerBusyFlag().IsSet(); }

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
    m_pConnection = ZELL::CConnectionTypes::MakeConnection(type.str());
    m_pConnection->SetStorageProperties(m_strRegistryPath, ZELL::ISettings::Registry);
    m_pConnection->LoadSettings();
    if (!settingsXml.IsEmpty())
        m_pConnection->SetSettingsXML(settingsXml.str());
    CreateService();
}

bool CCorvaneDlg::IsTcpIpConnection() const
{
    return m_pConnection && m_pConnection->IsNetworkConnection();
}

void CCorvaneDlg::CreateService()
{
    if (!m_pConnection)
        return;
    m_pService.reset();
    const ZELL::tConnectionType& type = ZELL::CConnectionTypes::Of(*m_pConnection);
    m_pService = type.makeService(m_pConnection.get());
    ::OutputDebugStringW(type.serviceTrace);
    HandConnectionToPages();
}

void CCorvaneDlg::HandConnectionToPages()
{
    for (const tPageEntry& entry : m_arrPageEntries) {
        if (entry.page != nullptr)
            entry.page->SetConnection(m_pConnection.get(), m_pService.get());
    }
}

// --- start-up ------------------------------------------------------------------

BOOL CCorvaneDlg::OnInitDialog()
{
    m_WhiteBrush.CreateSolidBrush(kWhite);
    CPersistentDialog::OnInitDialog();
    CreatePages();
    SetWindowText(AfxGetAppName());
    ApplyStartupWindowStyle();
    m_Tooltip.Create(this);
    SetupSystemMenu();
    SetIcon(m_hAppIcon, TRUE);
    SetIcon(m_hAppIcon, FALSE);
    m_HeaderIcon.SubclassDlgItem(kHeaderIcon, this);
    m_HeaderIcon.SetIcon(m_hAppIcon);
    m_StatusLine.SubclassDlgItem(kStatusLine, this);
    m_ConnectionIcon.SubclassDlgItem(kConnectionIcon, this);
    m_ConnectionText.SubclassDlgItem(kConnectionText, this);
    m_TitleLine1.SubclassDlgItem(kTitleLine1, this);
    m_TitleLine2.SubclassDlgItem(kTitleLine2, this);
    m_Busy.SubclassDlgItem(kBusyIndicator, this);
    m_Progress.SubclassDlgItem(kProgressBar, this);
    SetConnectionState(kStateIdle);
    ShowConnectionText();
    EnableSaveAndWrite(false, false);
    SetTitles(AfxGetAppName(), CProgramVersion::Text());
    ShowStatus(Translate(L"STATE_READY"));
    SetupButtons(true);
    UpdateCommandButtons();
    m_Busy.ShowWindow(SW_HIDE);
    m_Progress.ShowWindow(SW_HIDE);

    AddPageToSheet(m_arrPageEntries.front());
    m_Sheet.EnableStackedTabs(FALSE);
    if (m_Sheet.Create(this, WS_CHILD | WS_VISIBLE | WS_TABSTOP))
        m_Sheet.FitToPlaceholder();
    m_Sheet.SetActivePage(0);
    PostMessage(CWorkerMessages::Get().FirstShow);
    return TRUE;
}

void CCorvaneDlg::ApplyStartupWindowStyle()
{
    if (g_StartupOptions.ChildMode) {
        ModifyStyle(WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 0);
        if (const HMENU menu = ::GetSystemMenu(GetSafeHwnd(), FALSE)) {
            ::EnableMenuItem(menu, SC_MAXIMIZE, MF_BYCOMMAND | MF_GRAYED);
            ::EnableMenuItem(menu, SC_MINIMIZE, MF_BYCOMMAND | MF_GRAYED);
        }
    }
    if (g_StartupOptions.StartedByEngineeringTool)
        ::SetWindowPos(GetSafeHwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    if (g_StartupOptions.HasParentWindow()) {
        const auto& parent = g_StartupOptions.ParentWindow;
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
        std::unique_ptr<CSettingsPage> page = m_Catalog.Create(key, ids);
        if (!page)
            continue;
        const CString title = TranslateOr(CString(L"TITLE_") + key.c_str(), key.c_str());
        page->SetTitle(title);
        page->SetDeviceData(&m_data);
        m_arrPageEntries.push_back({key, title.str(), page.get()});
        m_arrOwnedPages.push_back(std::move(page));
    }
    HandConnectionToPages();
    // The sheet cannot be empty: a page of the catalog is always the first.
    if (m_arrPageEntries.empty() || m_arrPageEntries.front().name != CCommonPage::kPageKey) {
        auto common = std::make_unique<CBlankSettingsPage>();
        const CString key = CCommonPage::kPageKey;
        m_arrPageEntries.insert(m_arrPageEntries.begin(),
                                {key.str(), TranslateOr(CString(L"TITLE_") + key, key).str(), common.get()});
        m_arrOwnedPages.push_back(std::move(common));
    }
}

void CCorvaneDlg::SetupSystemMenu()
{
    const HMENU menu = ::GetSystemMenu(GetSafeHwnd(), FALSE);
    if (menu == nullptr)
        return;
    ::DeleteMenu(menu, kAboutCommand, MF_BYCOMMAND);
    CString text;
    text.Format(Translate(L"TXT_ABOUTBOX"), AfxGetAppName());
    if (text.IsEmpty())
        return;
    if (!m_bAboutItemAdded)
        ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu, MF_STRING, kAboutCommand, text);
    m_bAboutItemAdded = true;
}

void CCorvaneDlg::OpenWindowMenuAtHeaderIcon()
{
    const HMENU menu = ::GetSystemMenu(GetSafeHwnd(), FALSE);
    if (menu == nullptr)
        return;
    CRect icon;
    m_HeaderIcon.GetWindowRect(&icon);
    const UINT command = static_cast<UINT>(::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD,
                                                            icon.left, icon.bottom, 0, GetSafeHwnd(), nullptr));
    if (command != 0)
        SendMessage(WM_SYSCOMMAND, command, 0);
}

void CCorvaneDlg::SetTitles(const CString& first, const CString& second)
{
    m_bNoDeviceTitles = false;
    m_TitleLine1.SetWindowText(first);
    m_TitleLine2.SetWindowText(second);
}

void CCorvaneDlg::SetupButtons(bool initial)
{
    for (std::size_t i = 0; i < std::size(kButtons); ++i) {
        const tToolbarButton& item = kButtons[i];
        CZellButton& button = m_arrButtons[i];
        if (button.GetSafeHwnd() == nullptr) {
            button.SubclassDlgItem(static_cast<UINT>(item.id), this);
            const CCorvaneApp* app = GetCorvaneApp();
            if (item.widened)
                button.SetupIconNoBorder(static_cast<int>(item.icon), 0, app ? app->m_smallIconSize : 16);
            else
                button.SetupIcon(static_cast<int>(item.icon), 0, app ? app->m_buttonIconSize : 32);
            if (item.id == kSettingsButton) {
                button.SetMenu(kSettingsMenu, GetSafeHwnd(), 0, kSettingsMenuBitmaps, kMenuImageWidth,
                               kMenuImageHeight, kMenuImageMask);
                button.SetMenuCallback(GetSafeHwnd(), CWorkerMessages::Get().UpdateSettingsMenu, 0);
            }
        }
        const CString text = item.widened ? CString(L" ") + Translate(item.key) : Translate(item.key);
        button.SetWindowText(text);
        if (item.widened)
            WidenButton(button);
        const CString header = CString(L"TT_") + item.key + L"_HDR";
        const CString body = CString(L"TT_") + item.key + L"_BODY";
        if (m_Tooltip.IsCreated())
            m_Tooltip.AddTool(this, item.id, TranslateOr(body, body).str(), TranslateOr(header, header).str());
    }
    SetupSettingsMenu();
    if (!initial)
        return;
    EnableButton(kOpenButton, !g_StartupOptions.ChangeIPMode);
    EnableButton(kReadButton, true);
    EnableButton(kSaveButton, false);
    EnableButton(kWriteButton, false);
    EnableButton(kResetFileSystemButton, false);
}

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

void CCorvaneDlg::WidenButton(CZellButton& button)
{
    CString text;
    button.GetWindowText(text);
    CClientDC dc(button.GetSafeHwnd());
    CCorvaneApp* app = GetCorvaneApp();
    CFont* old = app ? dc.SelectObject(&app->m_messageFont) : nullptr;
    const CSize extent = dc.GetTextExtent(text);
    if (old != nullptr)
        dc.SelectObject(old);
    CRect rect;
    button.GetWindowRect(&rect);
    ScreenToClient(&rect);
    const int width = extent.cx + (app ? app->m_smallIconSize : 16) + 12;
    int top = rect.top;
    int height = rect.Height();
    // A text taller than the button grows it around its middle.
    if (extent.cy > height) {
        top = rect.CenterPoint().y - extent.cy / 2;
        height = extent.cy;
    }
    button.SetWindowPos(nullptr, rect.left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// Only a user's edit makes the settings modified (a read, a load or a write
// leaves Save or Write enabled with nothing changed); the edit counts while
// Save or Write can still keep it.
void CCorvaneDlg::RecomputeModified()
{
    const CWnd* save = GetDlgItem(kSaveButton);
    const CWnd* write = GetDlgItem(kWriteButton);
    m_bModified = m_bModified && ((save && save->IsWindowEnabled()) || (write && write->IsWindowEnabled()));
}

// --- pages -----------------------------------------------------------------------

CSettingsPage* CCorvaneDlg::Page(const std::wstring& name) const
{
    const auto found = std::find_if(m_arrPageEntries.begin(), m_arrPageEntries.end(),
                                    [&](const tPageEntry& entry) { return entry.name == name; });
    return found == m_arrPageEntries.end() ? nullptr : found->page;
}

CSettingsPage* CCorvaneDlg::ActivePage() const
{
    if (m_Sheet.GetSafeHwnd() == nullptr)
        return nullptr;
    return static_cast<CSettingsPage*>(m_Sheet.GetActivePage());
}

std::wstring CCorvaneDlg::ActivePageName() const
{
    const CSettingsPage* active = ActivePage();
    for (const tPageEntry& entry : m_arrPageEntries) {
        if (entry.page == active)
            return entry.name;
    }
    return {};
}

bool CCorvaneDlg::IsPageInList(const std::wstring& name) const
{
    return std::find(m_arrPageList.begin(), m_arrPageList.end(), name) != m_arrPageList.end();
}

bool CCorvaneDlg::IsPageInSheet(const std::wstring& name) const
{
    const CSettingsPage* page = Page(name);
    return page != nullptr && m_Sheet.GetPageIndex(const_cast<CSettingsPage*>(page)) >= 0;
}

void CCorvaneDlg::AddPageToSheet(const tPageEntry& entry)
{
    if (entry.page == nullptr || IsPageInSheet(entry.name))
        return;
    m_Sheet.AddPage(entry.page, entry.title.c_str());
    entry.page->SetInSheet(true);
}

void CCorvaneDlg::RemovePageFromSheet(const std::wstring& name)
{
    // The sheet keeps at least its first page.
    if (name == CCommonPage::kPageKey || !IsPageInSheet(name))
        return;
    CSettingsPage* page = Page(name);
    m_Sheet.RemovePage(page);
    page->SetInSheet(false);
}

void CCorvaneDlg::ActivatePage(const std::wstring& name)
{
    CSettingsPage* page = Page(name);
    if (page == nullptr || m_Sheet.GetPageIndex(page) < 0)
        page = static_cast<CSettingsPage*>(m_Sheet.GetPage(0));
    if (page != nullptr && m_Sheet.GetSafeHwnd() != nullptr)
        m_Sheet.SetActivePage(page);
}

void CCorvaneDlg::BuildPageList(const CString& article)
{
    const CCorvaneApp* app = GetCorvaneApp();
    m_arrPageList.clear();
    if (app == nullptr) {
        m_arrPageList = {CCommonPage::kPageKey, CStatePage::kPageKey};
        return;
    }
    CFBCData device = m_data;
    device.ArticleNo = article;
    for (const CString& key : app->DeviceIni().BuildPageList(device, CCorvanePageTable::ListRules()))
        m_arrPageList.push_back(key.str());
}

bool CCorvaneDlg::IsGroupOn(ENPageGroup group) const
{
    switch (group) {
    case ENPageGroup::Base:
        return true;
    case ENPageGroup::Extended:
        return m_bExtendedPages;
    case ENPageGroup::Controller:
        return m_bExtendedPages && m_bControllerPages;
    }
    return false;
}

// A page without a row of the page table shows with the extended pages.
bool CCorvaneDlg::IsGroupShown(const std::wstring& name) const
{
    const tPageRow* row = CCorvanePageTable::Find(name);
    const ENPageGroup group = row != nullptr ? row->group : ENPageGroup::Extended;
    if (group != ENPageGroup::Controller)
        return IsGroupOn(group);
    // A controller without a runtime system has nothing for the controller pages.
    const CCorvaneApp* app = GetCorvaneApp();
    const bool noRuntime = app && app->IsPlcController(m_data.ArticleNo) && m_data.ActiveRuntimeSystem == 0xFFFF;
    return IsGroupOn(group) && !noRuntime;
}

void CCorvaneDlg::ApplyPageList()
{
    for (const tPageEntry& entry : m_arrPageEntries) {
        if (IsPageInList(entry.name) && IsGroupShown(entry.name))
            AddPageToSheet(entry);
        else
            RemovePageFromSheet(entry.name);
    }
    ActivatePage(m_strActivePageName);
    if (m_Sheet.GetSafeHwnd() != nullptr)
        m_Sheet.FitToPlaceholder();
}

void CCorvaneDlg::ResetToFirstPage()
{
    ActivatePage(CCommonPage::kPageKey);
    m_strActivePageName = CCommonPage::kPageKey;
    for (const tPageEntry& entry : m_arrPageEntries)
        RemovePageFromSheet(entry.name);
}

// Enter and Esc never close the dialog; closing goes through its query.
void CCorvaneDlg::OnOK() {}

void CCorvaneDlg::OnCancel() {}

bool CCorvaneDlg::ActivePageRefusesCommands() const
{
    if (IsOfflineConfig())
        return false;
    const std::wstring active = ActivePageName();
    return active == CClockPage::kPageKey ||
           (active == CTCPIPPage::kPageKey && ActivePage() != nullptr && ActivePage()->IsModified());
}

void CCorvaneDlg::UpdateCommandButtons()
{
    static const int kCommands[] = {kReadButton, kOpenButton, kRestartButton, kFactoryDefaultsButton,
                                    kResetFileSystemButton, kSettingsButton};
    if (IsWorkerRunning() || (m_bDataValid && ActivePageRefusesCommands())) {
        for (const int id : kCommands)
            EnableButton(id, false);
        return;
    }
    const CCorvaneApp* app = GetCorvaneApp();
    const bool fileSystem = m_bDataValid && app != nullptr && app->HasFileSystem(m_data.ArticleNo);
    EnableButton(kReadButton, true);
    EnableButton(kSettingsButton, true);
    EnableButton(kOpenButton, !g_StartupOptions.ChangeIPMode);
    EnableButton(kRestartButton, m_bDataValid);
    EnableButton(kFactoryDefaultsButton, m_bDataValid);
    EnableButton(kResetFileSystemButton, fileSystem);
    if (CWnd* reset = GetDlgItem(kResetFileSystemButton))
        reset->ShowWindow(fileSystem || !m_bDataValid ? SW_SHOW : SW_HIDE);
}

// --- closing and other window messages ----------------------------------------------

void CCorvaneDlg::OnClose()
{
    // A close request that comes while a closing question is open (the
    // window manager may ask again) is answered by that question.
    if (m_bAskingToClose)
        return;
    if (!m_bCloseAfterWrite && IsWorkerRunning()) {
        CString question;
        question.Format(L"%s\n\n%s", Translate(L"MSG_ACTIVE_THREAD").GetString(),
                        Translate(L"MSG_QUIT_NOT_RECOMMENDED").GetString());
        m_bAskingToClose = true;
        const int answer = AskUser(question, MB_YESNO | MB_ICONWARNING);
        m_bAskingToClose = false;
        if (answer != IDYES)
            return;
        // The dialog's end stops the worker and waits for it before the
        // connection and the data set go, so the program ends normally and
        // gives back what the command line changed for this run.
        EndDialog(kQuitDuringCommand);
        return;
    }
    if (!m_bCloseAfterWrite) {
        m_bAskingToClose = true;
        const bool closes = CloseQuery();
        m_bAskingToClose = false;
        if (!closes)
            return;
    }
    if (m_pConnection)
        m_pConnection->SaveSettings();
    EndDialog(IDCANCEL);
}

bool CCorvaneDlg::CloseQuery()
{
    const bool offline = IsOfflineConfig();
    const CWnd* save = GetDlgItem(kSaveButton);
    const CWnd* write = GetDlgItem(kWriteButton);
    // A file that holds what the dialog holds needs no saving: Save stays
    // enabled after a write of an unchanged file.
    const bool fileChanged =
        save && save->IsWindowEnabled() && (!m_strCurrentFile.IsEmpty() || offline) && m_bNotInFile;
    const bool deviceChanged = write && write->IsWindowEnabled() && !offline;
    if (fileChanged) {
        if (!g_StartupOptions.ParamFile.IsEmpty() && !g_StartupOptions.ArticleNumber.IsEmpty() &&
            g_StartupOptions.ArticleNumber == m_data.ArticleNo) {
            SendMessage(WM_COMMAND, MAKEWPARAM(kSaveButton, BN_CLICKED));
            return true;
        }
        const int answer = AskUser(Translate(L"CLOSEMSG_CHANGED_SETTINGS_NOT_SAVED_TO_FILE"), MB_YESNOCANCEL);
        if (answer == IDCANCEL)
            return false;
        if (answer == IDYES) {
            SendMessage(WM_COMMAND, MAKEWPARAM(kSaveButton, BN_CLICKED));
            const CWnd* saveAfter = GetDlgItem(kSaveButton);
            if (saveAfter && saveAfter->IsWindowEnabled())
                return false;
        }
    }
    if (!deviceChanged)
        return true;
    const int answer = AskUser(Translate(L"CLOSEMSG_CHANGED_SETTINGS_NOT_WRITTEN_TO_DEVICE"), MB_YESNOCANCEL);
    if (answer == IDCANCEL)
        return false;
    if (answer == IDNO)
        return true;
    // Closing follows the write's result: the dialog stays open until then.
    SendMessage(CWorkerMessages::Get().WriteSettings, kWriteThenClose);
    return false;
}

int CCorvaneDlg::AskUser(const CString& text, UINT type)
{
    return ZELLMessageBox(text, type, L"", 0) & 0xFF;
}

void CCorvaneDlg::OnPaint()
{
    if (::IsIconic(GetSafeHwnd())) {
        CPaintDC dc(GetSafeHwnd());
        CRect client;
        GetClientRect(&client);
        dc.DrawIcon((client.Width() - ::GetSystemMetrics(SM_CXICON) + 1) / 2,
                    (client.Height() - ::GetSystemMetrics(SM_CYICON) + 1) / 2, m_hAppIcon);
    } else {
        Default();
    }
    if (auto observer = std::exchange(m_fnFirstPaintObserver, nullptr))
        observer();
}

HCURSOR CCorvaneDlg::OnQueryDragIcon() { return reinterpret_cast<HCURSOR>(m_hAppIcon); }

void CCorvaneDlg::SavePlacement()
{
    if (!g_StartupOptions.HasParentWindow())
        CPersistentDialog::SavePlacement();
}

void CCorvaneDlg::OnDestroy()
{
    KillTimer(kStatusTimer);
    CPersistentDialog::OnDestroy();
    for (const tPageEntry& entry : m_arrPageEntries) {
        if (entry.page != nullptr)
            entry.page->SetConnection(nullptr, nullptr);
    }
    m_pService.reset();
    m_pConnection.reset();
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

}  // namespace Corvane
