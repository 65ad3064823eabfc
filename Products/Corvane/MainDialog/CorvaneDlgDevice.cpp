// The device commands of the main dialog: read, write, restart, factory
// defaults and reset file system, each started as one worker, and the
// evaluation of the worker's result against the capability file before
// the pages show the data.
#include "Products/Corvane/MainDialog/CorvaneDlg.h"

#include "Common/Communication/TCPIPConnection.h"
#include "Common/PelorusDLL/TCPIPService.h"
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Common/Tessel/TesselExports.h"
#include "Products/Corvane/App/CorvaneApp.h"
#include "Products/Corvane/Pages/Views/CommonPage.h"
#include "Products/Corvane/MainDialog/Commands/CommandQuestions.h"
#include "Products/Corvane/MainDialog/Commands/DefaultSettingsFile.h"
#include "Products/Corvane/MainDialog/Commands/FirstShowPlan.h"
#include "Products/Corvane/MainDialog/Commands/OrderCheck.h"
#include "Products/Corvane/MainDialog/Commands/ThreadResult.h"
#include "Products/Corvane/Core/StartupOptions.h"
#include "Products/Corvane/Workers/ArticleCompare.h"
#include "Products/Corvane/Workers/WorkerBusyFlag.h"
#include "Products/Corvane/Workers/WorkerConnection.h"
#include "Products/Corvane/Workers/WorkerContext.h"
#include "Products/Corvane/Workers/WorkerJob.h"
#include "Products/Corvane/Workers/WorkerMessages.h"

namespace Corvane {

using namespace CorvaneIds;
using namespace ZELL::Skin;

namespace {

constexpr int kAllCommandButtons[] = {kReadButton,  kWriteButton, kFactoryDefaultsButton, kRestartButton,
                                      kResetFileSystemButton, kSettingsButton, kOpenButton, kSaveButton};

int ResultTypeOf(ENWorkerKind kind)
{
    switch (kind) {
    case ENWorkerKind::Read:
        return static_cast<int>(ENThreadResultType::Read);
    case ENWorkerKind::Write:
        return static_cast<int>(ENThreadResultType::Write);
    case ENWorkerKind::FactoryDefaults:
        return static_cast<int>(ENThreadResultType::FactoryDefaults);
    case ENWorkerKind::SoftwareReset:
        return static_cast<int>(ENThreadResultType::Restart);
    case ENWorkerKind::ResetFileSystem:
        return static_cast<int>(ENThreadResultType::ResetFileSystem);
    }
    return 0;
}

}

// --- routing ---------------------------------------------------------------------

LRESULT CCorvaneDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY)
        StopWorkerForClosing();
    LRESULT result = 0;
    if (RouteCommandMessage(message, wParam, lParam, result))
        return result;
    return CPersistentDialog::WindowProc(message, wParam, lParam);
}

// A worker still running when the window goes is stopped and waited for,
// so it never touches the dialog's data, connection or window afterwards.
void CCorvaneDlg::StopWorkerForClosing()
{
    if (m_pPrompt)
        m_pPrompt->Cancel();
    m_Launcher.StopAndWait();
}

bool CCorvaneDlg::RouteCommandMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    const CWorkerMessages& m = CWorkerMessages::Get();
    result = 0;
    if (message == WM_COMMAND && (lParam == 0 || HIWORD(wParam) == BN_CLICKED))
        return RouteCommand(LOWORD(wParam));
    if (message == m.FirstShow)
        result = OnFirstShow(wParam, lParam);
    else if (message == m.IdentifyDone)
        result = OnIdentifyDone(wParam, lParam);
    else if (message == m.WriteSettingsDone)
        result = OnWriteSettingsDone(wParam, lParam);
    else if (message == m.FactoryDefaultsDone)
        result = OnFactoryDefaultsDone(wParam, lParam);
    else if (message == m.SoftwareResetDone)
        result = OnSoftwareResetDone(wParam, lParam);
    else if (message == m.ResetFileSystemDone)
        result = OnResetFileSystemDone(wParam, lParam);
    else if (message == m.ReadSettings)
        result = OnReadSettingsRequest(wParam, lParam);
    else if (message == m.WriteSettings)
        result = OnWriteSettingsRequest(wParam, lParam);
    else if (message == m.SoftwareReset)
        result = OnSoftwareResetRequest(wParam, lParam);
    else if (message == CPostedWorkerPrompt::QuestionMessage() && m_pPrompt)
        m_pPrompt->AnswerPending();
    else
        return false;
    return true;
}

bool CCorvaneDlg::RouteCommand(UINT id)
{
    switch (id) {
    case kReadButton:
        OnReadDevice();
        return true;
    case kWriteButton:
        OnWriteDevice();
        return true;
    case kFactoryDefaultsButton:
        OnFactoryDefaults();
        return true;
    case kRestartButton:
        OnSoftwareReset();
        return true;
    case kResetFileSystemButton:
        OnResetFileSystem();
        return true;
    case kOpenButton:
        OnOpen();
        return true;
    case kSaveButton:
        OnSave();
        return true;
    case kMenuCommunication:
        OnConnectionSettings();
        return true;
    case kStatusSave:
        ExportStatusLog();
        return true;
    case kAboutCommand:
        OnAboutBox();
        return true;
    case kHeaderIcon:  // clicked
        OpenWindowMenuAtHeaderIcon();
        return true;
    default:
        return false;
    }
}

// --- commands --------------------------------------------------------------------

void CCorvaneDlg::HideTooltips()
{
    if (m_Tooltip.IsCreated())
        m_Tooltip.Hide();
    if (CSettingsPage* page = ActivePage())
        page->HideTooltip();
}

bool CCorvaneDlg::PageRefusesCommands(bool showMessage)
{
    if (!ActivePageRefusesCommands())
        return false;
    if (showMessage)
        ZELLMessageBox(Translate(L"MSG_COMMAND_NOT_POSSIBLE_FOR_PAGE"), 0, L"", 0);
    return true;
}

void CCorvaneDlg::OnReadDevice()
{
    HideTooltips();
    if (IsWorkerRunning() || PageRefusesCommands(true))
        return;
    if (m_bModified && ZELLMessageBox(Translate(L"MSG_READ_WITH_CHANGED_DATA"), MB_YESNO, L"", 0) != IDYES)
        return;
    StartReadThread();
}

void CCorvaneDlg::OnWriteDevice()
{
    if (IsWorkerRunning())
        return;
    StartWriteThread();
}

void CCorvaneDlg::OnFactoryDefaults()
{
    HideTooltips();
    if (IsWorkerRunning() || PageRefusesCommands(true))
        return;
    const CCorvaneApp* app = GetCorvaneApp();
    const bool controller = app != nullptr && app->IsPlcController(m_data.ArticleNo);
    const tCommandQuestion question =
        CCommandQuestions::FactoryDefaults(controller, IsTcpIpConnection(), ArticleOfCommonPage(), ConnectionAddress());
    if (ZELLMessageBox(question.text, question.type, question.caption, 0) == IDYES)
        StartFactoryDefaultsThread();
}

void CCorvaneDlg::OnSoftwareReset()
{
    HideTooltips();
    if (IsWorkerRunning() || PageRefusesCommands(true))
        return;
    const int answer = AskStored(CAskStored::kSoftwareResetKey, L"MSG_SOFTWARE_RESET", CAskStored::kContinueAbortType);
    if (CAskStored::IsAnswer(static_cast<UINT>(answer), CAskStored::kContinueAnswer))
        StartSoftwareResetThread();
}

void CCorvaneDlg::OnResetFileSystem()
{
    HideTooltips();
    if (IsWorkerRunning() || PageRefusesCommands(true))
        return;
    const int answer =
        AskStored(CAskStored::kResetFileSystemKey, L"MSG_RESET_FILESYSTEM", CAskStored::kContinueAbortType);
    if (CAskStored::IsAnswer(static_cast<UINT>(answer), CAskStored::kContinueAnswer))
        StartResetFileSystemThread();
}

LRESULT CCorvaneDlg::OnReadSettingsRequest(WPARAM, LPARAM)
{
    return StartReadThread() ? 1 : 0;
}

LRESULT CCorvaneDlg::OnWriteSettingsRequest(WPARAM wParam, LPARAM)
{
    if (!StartWriteThread())
        return 0;
    // Closing waits for the write only once it really runs.
    if (wParam == kWriteThenClose)
        m_bCloseAfterWrite = true;
    return 1;
}

LRESULT CCorvaneDlg::OnSoftwareResetRequest(WPARAM, LPARAM)
{
    return StartSoftwareResetThread() ? 1 : 0;
}

CAskStored CCorvaneDlg::MakeAskStored() const
{
    const CWinApp* app = AfxGetApp();
    return CAskStored(Registry::CProfileStore(CCorvaneApp::kCompany, app ? app->m_pszProfileName : L""));
}

int CCorvaneDlg::AskStored(LPCWSTR key, LPCWSTR messageKey, UINT type)
{
    return static_cast<int>(MakeAskStored().AskAndKeep(key, messageKey, type));
}

// --- starting a worker -----------------------------------------------------------------

bool CCorvaneDlg::StartReadThread()
{
    return StartWorker(ENWorkerKind::Read);
}

bool CCorvaneDlg::StartWriteThread()
{
    if (IsWorkerRunning())
        return false;
    const CSettingsPage* shown = ActivePage();
    if (!ValidatePages()) {
        ReportRefusedWrite(ActivePage() != shown);
        return false;
    }
    if (!ConfirmAddressChange())
        return false;
    NoteAddressAfterRestart();
    m_EditsBeforeWrite = m_data;
    if (StartWorker(ENWorkerKind::Write))
        return true;
    m_EditsBeforeWrite.reset();
    return false;
}

bool CCorvaneDlg::StartFactoryDefaultsThread()
{
    return StartWorker(ENWorkerKind::FactoryDefaults);
}

bool CCorvaneDlg::StartSoftwareResetThread()
{
    return StartWorker(ENWorkerKind::SoftwareReset);
}

bool CCorvaneDlg::StartResetFileSystemThread()
{
    return StartWorker(ENWorkerKind::ResetFileSystem);
}

bool CCorvaneDlg::StartWorker(ENWorkerKind kind)
{
    if (IsWorkerRunning())
        return false;
    PrepareWorkerStart(kind);
    if (m_Launcher.Launch(kind, MakeWorkerParams()))
        return true;
    ReportWorkerStartFailure(kind);
    return false;
}

void CCorvaneDlg::PrepareWorkerStart(ENWorkerKind kind)
{
    m_bStatusTimer = false;
    m_strPageNoteKey.Empty();
    for (std::size_t i = 0; i < std::size(kAllCommandButtons); ++i) {
        const CWnd* button = GetDlgItem(kAllCommandButtons[i]);
        m_arrButtonsBeforeWorker[i] = button != nullptr && button->IsWindowEnabled();
        EnableButton(kAllCommandButtons[i], false);
    }
    if (kind == ENWorkerKind::Read) {
        m_bExtendedPages = false;
        m_bControllerPages = false;
        m_bHasDIPSwitch = false;
        m_bModified = false;
    }
    HideTooltips();
    const CCorvaneApp* app = GetCorvaneApp();
    const bool controller = app != nullptr && app->IsPlcController(m_data.ArticleNo);
    CSettingsPage* active = ActivePage();
    if (active != nullptr)
        active->BeginWaitState(CSettingsPage::kWaitStateWorking, Translate(CWorkerLauncher::StartTextKey(kind, controller)));
    if (kind == ENWorkerKind::Write) {
        m_nNotAllDatasetParams = 0;
        m_nNotAllDeviceParams = 0;
    }
    StartBusy();
    SetConnectionState(kStateConnecting);
    if (active != nullptr)
        active->PrepareConnection(false);
    // The sheet keeps drawing through the command: a question box that
    // closes over it, and the pages' own progress, must be repainted.
    m_strActivePageName = ActivePageName();
    // The worker reallocates the tables the pages point into.
    DetachPagesFromData();
    if (!m_pPrompt) {
        m_pPrompt = std::make_unique<CPostedWorkerPrompt>(
            GetSafeHwnd(), [this](const tWorkerQuestion& question) { return ShowWorkerQuestion(question); });
    }
    m_pPrompt->Reopen();
}

tWorkerParams CCorvaneDlg::MakeWorkerParams()
{
    tWorkerParams params;
    params.window = GetSafeHwnd();
    params.connection = m_pConnection.get();
    params.service = m_pService.get();
    params.data = &m_data;
    const CCorvaneApp* app = GetCorvaneApp();
    params.capabilities = app != nullptr ? &app->DeviceIni() : nullptr;
    params.prompt = m_pPrompt.get();
    return params;
}

int CCorvaneDlg::ShowWorkerQuestion(const tWorkerQuestion& question)
{
    CString text = question.message;
    if (!question.details.IsEmpty())
        text += CString(L"\n\n") + question.details;
    return ZELLMessageBox(text, question.type, question.caption, 0);
}

// A worker that cannot start leaves the dialog as it was before the
// command, with the data kept, and says so.
void CCorvaneDlg::ReportWorkerStartFailure(ENWorkerKind kind)
{
    StopBusy();
    if (m_Sheet.GetSafeHwnd() != nullptr) {
        m_Sheet.SetRedraw(TRUE);
        m_Sheet.Invalidate();
    }
    RestoreCommandButtons();
    SetConnectionState(kStateFailed);
    const CString text = CThreadResult::StatusText(ResultTypeOf(kind), false);
    ShowStatus(text);
    if (CSettingsPage* active = ActivePage())
        active->BeginWaitState(CSettingsPage::kWaitStateError, text);
    SetStatusTimer();
    ZELLMessageBox(text, MB_ICONERROR, L"", 0);
}

void CCorvaneDlg::RestoreCommandButtons()
{
    for (std::size_t i = 0; i < std::size(kAllCommandButtons); ++i)
        EnableButton(kAllCommandButtons[i], m_arrButtonsBeforeWorker[i]);
    RecomputeModified();
}

bool CCorvaneDlg::ValidatePages()
{
    if (CSettingsPage* active = ActivePage())
        active->UpdateData(TRUE);
    for (const tPageRow* row : CCorvanePageTable::InCheckOrder()) {
        CSettingsPage* page = IsGroupOn(row->checkGroup) ? Page(row->key) : nullptr;
        if (page != nullptr && !page->StoreIfDataPresent()) {
            ActivatePage(row->key);
            return false;
        }
    }
    return true;
}

CString CCorvaneDlg::ArticleOfCommonPage() const
{
    return ArticleText(m_data.ArticleNo);
}

CString CCorvaneDlg::ConnectionAddress() const
{
    if (!m_pConnection || !IsTcpIpConnection())
        return CString();
    return m_pConnection->GetSettingsValue(L"IP-Address").c_str();
}

// --- results ---------------------------------------------------------------------------

LRESULT CCorvaneDlg::OnIdentifyDone(WPARAM wParam, LPARAM)
{
    ProcessDone(CWorkerMessages::Get().IdentifyDone, wParam);
    HandParamFileAfterRead(CThreadResult::Succeeded(wParam));
    m_bFirstRead = false;
    return 0;
}

void CCorvaneDlg::HandParamFileAfterRead(bool succeeded)
{
    switch (CFirstShowPlan::AfterRead(succeeded, m_bFirstRead, g_StartupOptions, m_data.ArticleNo)) {
    case ENParamFileAfterRead::SaveToParamFile:
        m_strCurrentFile = g_StartupOptions.ParamFile;
        SaveFileCommand(false);
        break;
    case ENParamFileAfterRead::WrongDevice: {
        CString extra;
        extra.Format(Translate(L"DETAILS_ARTNO_DATASET_CONNECETD"), ArticleText(g_StartupOptions.ArticleNumber).GetString(),
                     ArticleText(m_data.ArticleNo).GetString());
        if (CZellWinApp* app = dynamic_cast<CZellWinApp*>(AfxGetApp()))
            app->ShowMessage(Translate(L"INADMISSIBLE_DEVICE_CONNECTED"), Translate(L"DEVICE_ARTNO_DONT_MATCH_CONNECTED_ARTNO"),
                             extra, MB_ICONERROR, CWnd::FromHandle(::GetActiveWindow()));
        break;
    }
    case ENParamFileAfterRead::Nothing:
        break;
    }
}

LRESULT CCorvaneDlg::OnWriteSettingsDone(WPARAM wParam, LPARAM)
{
    const WPARAM result = CWorkerJob::Outcome(wParam);
    if (m_EditsBeforeWrite && (!CThreadResult::Succeeded(result) || CThreadResult::Canceled(result))) {
        KeepEditsAfterWrite(result);
    } else {
        m_EditsBeforeWrite.reset();
        ProcessDone(CWorkerMessages::Get().WriteSettingsDone, result);
        if (result == CWorkerJob::kResultWrittenNotReached)
            TellDeviceNotReachedAfterWrite();
        if (CWorkerJob::StoreUnconfirmed(wParam))
            TellStoreUnconfirmed();
    }
    if (CThreadResult::Succeeded(result) && !m_strCurrentFile.IsEmpty() && g_StartupOptions.ChangeIPMode)
        SaveFileCommand(false);
    if (!m_bCloseAfterWrite)
        return 0;
    // Only a write that went through may close the dialog; otherwise it
    // stays open with the edits.
    if (CThreadResult::ClosesAfterWrite(result))
        PostMessage(WM_CLOSE);
    else
        m_bCloseAfterWrite = false;
    return 0;
}

// The pages stay as they were, and the data set goes back to what they
// stored before the write (a stopped write may have left it half read
// back). Save and Write come back as they were, so the edits can go to the
// device again or into a file.
void CCorvaneDlg::KeepEditsAfterWrite(WPARAM result)
{
    m_Launcher.ReleaseEnded();
    StopBusy();
    const bool canceled = CThreadResult::Canceled(result);
    const CString message = m_data.Description;
    m_data = std::move(*m_EditsBeforeWrite);
    m_EditsBeforeWrite.reset();
    RefreshPages();
    if (CSettingsPage* active = ActivePage()) {
        active->RefreshView();
        active->BeginWaitState(CSettingsPage::kWaitStateNone, L"");
    }
    if (m_Sheet.GetSafeHwnd() != nullptr) {
        m_Sheet.SetRedraw(TRUE);
        m_Sheet.Invalidate();
    }
    RestoreCommandButtons();
    UpdateCommandButtons();
    SetConnectionState(canceled ? kStateIdle : kStateFailed);
    const int type = static_cast<int>(canceled ? ENThreadResultType::WriteCanceled : ENThreadResultType::Write);
    if (!canceled && !message.IsEmpty()) {
        // The log keeps the whole message, on one line as the status line has it.
        CString line = message;
        line.Replace(L"\n", L" ");
        ShowStatus(line);
    }
    ShowStatus(CThreadResult::StatusText(type, canceled));
    if (canceled) {
        SetStatusTimer();
        return;
    }
    CString text = message.IsEmpty() ? CThreadResult::StatusText(type, false) : message;
    text += CString(L"\n\n") + Translate(L"MSG_WRITE_EDITS_KEPT");
    ZELLMessageBox(text, MB_ICONERROR, L"", 0);
    SetFocus();
}

void CCorvaneDlg::TellStoreUnconfirmed()
{
    ShowStatus(Translate(L"STATE_WRITE_DONE_STORE_UNCONFIRMED"));
    ZELLMessageBox(Translate(L"MSG_WRITE_STORE_NOT_CONFIRMED"), MB_ICONWARNING, L"", 0);
}

// The connection already points where the device should be now: the
// connection text shows it, and the user learns where to look.
void CCorvaneDlg::TellDeviceNotReachedAfterWrite()
{
    ShowConnectionText();
    SetConnectionState(kStateFailed);
    const CString where = m_pConnection->GetSettingsValue(m_pConnection->AddressSettingName()).c_str();
    CString text;
    text.Format(Translate(L"MSG_WRITE_DONE_DEVICE_NOT_REACHED"), where.GetString());
    ShowStatus(text);
    ZELLMessageBox(text, MB_ICONINFORMATION, L"", 0);
}

LRESULT CCorvaneDlg::OnFactoryDefaultsDone(WPARAM wParam, LPARAM)
{
    ProcessDone(CWorkerMessages::Get().FactoryDefaultsDone, wParam);
    if (CThreadResult::TellsFactoryDefaultsAddress(wParam, IsTcpIpConnection()))
        ZELLMessageBox(Translate(L"MSG_RESET_TO_FACTORY_DEFAULT_TCPIP_DONE"), 0, L"", 0);
    return 0;
}

LRESULT CCorvaneDlg::OnSoftwareResetDone(WPARAM wParam, LPARAM)
{
    ProcessDone(CWorkerMessages::Get().SoftwareResetDone, wParam);
    return 0;
}

LRESULT CCorvaneDlg::OnResetFileSystemDone(WPARAM wParam, LPARAM)
{
    ProcessDone(CWorkerMessages::Get().ResetFileSystemDone, wParam);
    if (!CThreadResult::OffersRestartAfterReset(wParam))
        return 0;
    const int answer =
        AskStored(CAskStored::kRestartAfterResetKey, L"MSG_RESTART_SOFTWARE", CAskStored::kYesNoType);
    if (CAskStored::IsAnswer(static_cast<UINT>(answer), CAskStored::kYesAnswer))
        StartSoftwareResetThread();
    return 0;
}

void CCorvaneDlg::ProcessDone(UINT message, WPARAM wParam)
{
    // The worker posted its end as its last act: waiting for it is short.
    m_Launcher.ReleaseEnded();
    const std::optional<int> type = CThreadResult::TypeOfDone(message, wParam);
    ProcessThreadResult(type.value_or(0), CThreadResult::Succeeded(wParam), &m_data);
}

void CCorvaneDlg::ProcessThreadResult(int type, bool ok, CFBCData* data)
{
    StopBusy();
    if (!ok && data != nullptr) {
        const CString description = data->Description;
        auto inLanguage = std::move(data->DescriptionInLanguage);
        data->Clear();
        data->Description = description;
        data->DescriptionInLanguage = std::move(inLanguage);
    }
    const bool valid = CheckAndShowData(data);
    ShowResultStates(type, valid);
    RememberResult(type, ok);
    m_bDataValid = HoldsDeviceSettings(type, valid);
    UpdateCommandButtons();
    SetSaveButtonAfterResult(m_bDataValid);
    ShowDataTitles();
    if (m_Sheet.GetSafeHwnd() != nullptr) {
        m_Sheet.SetRedraw(TRUE);
        m_Sheet.Invalidate();
    }
    ShowStatus(CThreadResult::StatusText(type, ok));
    if (valid) {
        SetStatusTimer();
        ShowNotAllWrittenMessages();
    }
    SetFocus();
}

void CCorvaneDlg::ShowResultStates(int type, bool valid)
{
    const bool defaultsStarted = type == static_cast<int>(ENThreadResultType::FactoryDefaultsStarted);
    if (!valid || defaultsStarted) {
        ActivatePage(CCommonPage::kPageKey);
        CSettingsPage* active = ActivePage();
        if (active != nullptr)
            active->RefreshView();
        if (!valid) {
            // Nothing of a device that was not read may show again.
            if (m_data.ArticleNo.IsEmpty())
                ForgetIdentification();
            if (active != nullptr)
                active->BeginWaitState(CSettingsPage::kWaitStateError, m_data.Description);
            SetConnectionState(kStateFailed);
            return;
        }
        // The device restarts on its own and was not asked again: the note
        // says no more than that, in the user's language, and no page keeps
        // settings (or edits) that are no longer the device's.
        ResetToFirstPage();
        ShowPageNote(ActivePage(), L"STATE_DEFAULT_STARTED");
        SetConnectionState(kStateIdle);
        return;
    }
    RefreshPages();
    if (CSettingsPage* active = ActivePage()) {
        active->RefreshView();
        active->BeginWaitState(CSettingsPage::kWaitStateNone, L"");
    }
    SetConnectionState(kStateIdle);
}

void CCorvaneDlg::SetSaveButtonAfterResult(bool valid)
{
    const std::optional<bool> save =
        CThreadResult::SaveButtonAfterResult(valid, g_StartupOptions.ChangeIPMode, m_data,
                                             g_StartupOptions.ConnectionSettings);
    if (save)
        EnableButton(kSaveButton, *save);
    EnableButton(kWriteButton, false);
    RecomputeModified();
}

void CCorvaneDlg::ShowDataTitles()
{
    if (m_data.ArticleNo.IsEmpty()) {
        ShowNoDeviceTitles();
        return;
    }
    const CString article = ArticleText(m_data.ArticleNo);
    SetTitles(article, m_data.Description);
    CString title;
    title.Format(L"%s - %s", article.GetString(), AfxGetAppName());
    SetWindowText(title);
}

// A line about the write: the key's text names the write.
static CString WriteLine(LPCWSTR key)
{
    CString line;
    line.Format(CCorvaneDlg::Translate(key), CCorvaneDlg::Translate(L"STATE_WRITE_SETTINGS").GetString());
    return line;
}

void CCorvaneDlg::ShowNotAllWrittenMessages()
{
    if (m_nNotAllDatasetParams != 0) {
        ShowStatus(WriteLine(L"STATE_NOT_ALL_DATASET_PARAMS_WRITTEN"));
        ZELLMessageBox(Translate(L"MSG_NOT_ALL_DATASET_PARAMS_WRITTEN"), MB_ICONINFORMATION, L"", 0);
        m_nNotAllDatasetParams = 0;
    }
    if (m_nNotAllDeviceParams != 0) {
        ShowStatus(WriteLine(L"STATE_NOT_ALL_DEVICE_PARAMS_WRITTEN"));
        ZELLMessageBox(Translate(L"MSG_NOT_ALL_DEVICE_PARAMS_WRITTEN"), MB_ICONINFORMATION, L"", 0);
        m_nNotAllDeviceParams = 0;
    }
}

bool CCorvaneDlg::CheckAndShowData(CFBCData* data)
{
    if (data != &m_data)
        return false;
    if (!IsSameArticleNumber(m_data.ArticleNo, m_strPrevArticleNo)) {
        for (const tPageEntry& entry : m_arrPageEntries)
            RemovePageFromSheet(entry.name);
        if (!m_strPrevArticleNo.IsEmpty())
            m_strCurrentFile.Empty();
    }
    if (m_data.NetworkID != m_strPrevNetworkId)
        m_strCurrentFile.Empty();
    m_bExtendedPages = false;
    m_bControllerPages = false;
    m_bModified = false;
    if (m_data.ArticleNo.IsEmpty() || m_data.Description.IsEmpty())
        return false;
    if (!CheckOrder(m_data.ArticleNo) || !CheckSoftwareVersion(m_data.SWVersion, m_data.ArticleNo))
        return false;
    ApplyPageList();
    return true;
}

bool CCorvaneDlg::CheckOrder(const CString& article)
{
    const CCorvaneApp* app = GetCorvaneApp();
    if (app == nullptr)
        return false;
    const CString shown = ArticleText(article);
    if (!m_bSwitchingLanguage)
        ShowStatus(COrderCheck::StatusLine(L"STATE_CHECK_ORDER", shown));
    const tOrderCheck check = COrderCheck(app->DeviceIni()).CheckOrder(article, m_data);
    m_bHasDIPSwitch = check.hasDIPSwitch;
    BuildPageList(article);
    m_bExtendedPages = check.extendedPages;
    m_bControllerPages = check.controllerPages;
    if (!m_bSwitchingLanguage)
        ShowStatus(COrderCheck::StatusLine(check.ok ? L"STATE_CHECK_ORDER_DONE" : L"STATE_CHECK_ORDER_FAILED", shown));
    return check.ok;
}

bool CCorvaneDlg::CheckSoftwareVersion(const CString& swVersion, const CString& article)
{
    const CCorvaneApp* app = GetCorvaneApp();
    if (app == nullptr)
        return false;
    if (!m_bSwitchingLanguage)
        ShowStatus(COrderCheck::StatusLine(L"STATE_CHECK_SW_VERSION", ArticleText(article)));
    const tVersionCheck check = COrderCheck(app->DeviceIni()).CheckSoftwareVersion(swVersion, article);
    if (!check.ok)
        ZELLMessageBox(COrderCheck::VersionMessage(swVersion, check.minimum), 0, L"", 0);
    if (!m_bSwitchingLanguage)
        ShowStatus(COrderCheck::StatusLine(check.ok ? L"STATE_CHECK_SW_VERSION_DONE" : L"STATE_CHECK_SW_VERSION_FAILED",
                                           swVersion));
    return check.ok;
}

// --- pages -----------------------------------------------------------------------------

void CCorvaneDlg::RefreshPages()
{
    CSettingsPage::SetPagesSuspended(true);
    HandAddressesToTCPIPPage();
    for (const tPageRow* row : CCorvanePageTable::InFillOrder()) {
        if (std::wstring_view(row->key) == CCommonPage::kPageKey)
            FillCommonPage();
        else if (CSettingsPage* page = Page(row->key); page != nullptr && page->IsInSheet())
            AttachPageData(*page);
    }
    CSettingsPage::SetPagesSuspended(false);
}

void CCorvaneDlg::AttachPageData(CSettingsPage& page)
{
    page.SetDeviceData(&m_data);
    page.SetConnection(m_pConnection.get(), m_pService.get());
    const int wide = m_bExtendedPages ? 1 : 0;
    const int controller = m_bControllerPages ? 1 : 0;
    page.AttachExtraData(m_data.CommonTable.GetData(), static_cast<unsigned>(m_data.CommonTable.Words().size()), wide,
                         controller);
    page.AttachDeviceData(m_data.SpecificTable.GetData(),
                          static_cast<unsigned>(m_data.SpecificTable.Words().size()), wide, controller);
}

void CCorvaneDlg::DetachPagesFromData()
{
    for (const tPageEntry& entry : m_arrPageEntries) {
        if (entry.page != nullptr)
            entry.page->DetachData();
    }
}

void CCorvaneDlg::FillCommonPage()
{
    m_strPrevArticleNo = m_data.ArticleNo;
    m_strPrevNetworkId = m_data.NetworkID;
    CSettingsPage* common = Page(CCommonPage::kPageKey);
    if (common == nullptr)
        return;
    if (auto* identification = dynamic_cast<CCommonPage*>(common))
        FillIdentification(*identification);
    if (!m_data.StatusWords.empty()) {
        AttachPageData(*common);
        return;
    }
    common->SetTitle(Translate(L"TITLE_COMMON"));
    ShowPageNote(common, L"STATE_PLEASE_READ");
}

void CCorvaneDlg::FillIdentification(CCommonPage& page)
{
    page.TakeIdentification(m_data);
    if (!m_data.HasNetworkParams) {
        page.SetIPAddressTexts(AddressLine(m_data.IPAddrCurrent.str(), TCPIPAddressSourceText()), CString());
        return;
    }
    CString lines[CFBCData::kMaxEthernetPortCount];
    CString identifiers[CFBCData::kMaxEthernetPortCount];
    for (DWORD port = 0; port < m_data.GetEthernetPortCount(); ++port) {
        const CFBCData::tNetworkParams* params = m_data.GetActualNetworkParams(port);
        const CCorvaneApp* app = GetCorvaneApp();
        const CString source = app != nullptr ? app->GetIPAddressSourceText(params->wIPAddressSource) : CString();
        lines[port] = AddressLine(params->strIPAddress, source);
        identifiers[port] = params->strMACAddress.c_str();
    }
    page.m_strMACAddress = identifiers[0].IsEmpty() ? m_data.NetworkID : identifiers[0];
    page.m_strMACAddress2 = identifiers[1];
    page.SetIPAddressTexts(lines[0], lines[1]);
}

CString CCorvaneDlg::AddressLine(const std::wstring& address, const CString& source)
{
    CString line(address.c_str());
    if (!source.IsEmpty())
        line.AppendFormat(L"  (%s)", source.GetString());
    return line;
}

// --- first show ------------------------------------------------------------------------

LRESULT CCorvaneDlg::OnFirstShow(WPARAM, LPARAM)
{
    switch (CFirstShowPlan::Decide(g_StartupOptions)) {
    case ENFirstShow::ReadDevice:
        // The read's result clears the first-read mark: only then can a
        // parameter file that is still missing take the device's data.
        StartReadThread();
        break;
    case ENFirstShow::OpenParamFile:
        if (!OpenParamFileAndCheck())
            EnableButton(kWriteButton, false);
        m_bFirstRead = false;
        break;
    case ENFirstShow::OfflineStartup:
        OfflineStartup();
        break;
    case ENFirstShow::PleaseRead:
        ShowPageNote(ActivePage(), L"STATE_PLEASE_READ");
        break;
    }
    return 0;
}

bool CCorvaneDlg::OpenParamFileAndCheck()
{
    if (!OpenSettingsFile(g_StartupOptions.ParamFile))
        return false;
    m_strCurrentFile = g_StartupOptions.ParamFile;
    if (!m_pPrompt) {
        m_pPrompt = std::make_unique<CPostedWorkerPrompt>(
            GetSafeHwnd(), [this](const tWorkerQuestion& question) { return ShowWorkerQuestion(question); });
    }
    // The check runs here, on the window's thread, while no worker runs.
    CWorkerBusyFlag ownFlag;
    tWorkerParams params = MakeWorkerParams();
    params.busy = &ownFlag;
    CWorkerWait wait;
    CWorkerContext context(params, wait);
    if (!context.IsComplete())
        return false;
    CWorkerConnection connection(context);
    return connection.ConnectAndCheckDataset();
}

void CCorvaneDlg::OfflineStartup()
{
    const bool given = CFirstShowPlan::IsUsableFile(g_StartupOptions.ParamFile);
    bool opened = given && OpenSettingsFile(g_StartupOptions.ParamFile);
    // A file that holds something but could not be read (it said why) stays
    // as it is: no default settings are written over it.
    if (given && !opened)
        return;
    if (!opened && !g_StartupOptions.ArticleNumber.IsEmpty()) {
        const CCorvaneApp* app = GetCorvaneApp();
        const CDefaultSettingsFile defaults(app != nullptr ? app->GetExeFolder() + L"/Settings" : CString());
        for (const CString& path : defaults.Candidates(g_StartupOptions.ArticleNumber,
                                                       g_StartupOptions.FirmwareVersion)) {
            if (OpenSettingsFile(path)) {
                opened = true;
                break;
            }
        }
    }
    if (!opened)
        return;
    m_strCurrentFile = g_StartupOptions.ParamFile;
    if (SaveSettingsFile(m_strCurrentFile))
        ShowStatus(m_strCurrentFile);
}

CString CCorvaneDlg::GetDefaultSettingsFile(const CString& article, int number) const
{
    const CCorvaneApp* app = GetCorvaneApp();
    if (app == nullptr || number < 0)
        return CString();
    return CDefaultSettingsFile(app->GetExeFolder() + L"/Settings").Find(article, static_cast<unsigned>(number));
}

}  // namespace Corvane
