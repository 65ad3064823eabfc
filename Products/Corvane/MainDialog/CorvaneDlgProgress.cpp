// The main dialog's progress display: the status line and its log, the busy
// indicator, the connection-state icon and text, the workers' step lines
// and the pages' questions to the dialog.
#include "Products/Corvane/MainDialog/CorvaneDlg.h"

#include "Common/Communication/ConnectionBase.h"
#include "Common/Skin/ZellMenu.h"
#include "Products/Corvane/Pages/Views/CommonPage.h"
#include "Products/Corvane/Core/StartupOptions.h"
#include "Products/Corvane/Workers/ThreadStateTable.h"

namespace Corvane {

using namespace CorvaneIds;
using namespace ZELL::Skin;

namespace {

// Room left between the status line and the busy indicator.
constexpr int kStatusGap = 4;

}

void CCorvaneDlg::ShowStatus(const CString& text)
{
    CString shown = text;
    shown.TrimLeft();
    m_StatusLine.SetWindowText(shown);
    m_StatusLog.Add(text, Translate(L"STATE_READY"));
}

void CCorvaneDlg::StartBusy()
{
    if (m_StatusLine.GetSafeHwnd() != nullptr && m_Busy.GetSafeHwnd() != nullptr) {
        CRect status;
        CRect busy;
        m_StatusLine.GetWindowRect(&status);
        m_Busy.GetWindowRect(&busy);
        ScreenToClient(&status);
        ScreenToClient(&busy);
        m_StatusLine.SetWindowPos(nullptr, 0, 0, busy.left - kStatusGap - status.left, status.Height(),
                                  SWP_NOMOVE | SWP_NOZORDER);
    }
    ShowStatus(Translate(L"STATE_READY"));
    if (m_Progress.GetSafeHwnd() != nullptr && m_Progress.IsWindowVisible())
        return;
    if (m_Busy.GetSafeHwnd() != nullptr) {
        m_Busy.ShowWindow(SW_SHOW);
        m_Busy.Start();
    }
}

void CCorvaneDlg::StopBusy()
{
    if (m_Busy.GetSafeHwnd() == nullptr)
        return;
    if (m_Busy.IsRunning())
        m_Busy.Stop();
    m_Busy.ResetPosition();
    m_Busy.SetPosition(-1);
    m_Busy.Invalidate();
    m_Busy.ShowWindow(SW_HIDE);
    // The status line takes its full width again: up to the indicator's end.
    CRect status;
    CRect busy;
    m_StatusLine.GetWindowRect(&status);
    m_Busy.GetWindowRect(&busy);
    m_StatusLine.SetWindowPos(nullptr, 0, 0, busy.right - status.left, status.Height(), SWP_NOMOVE | SWP_NOZORDER);
}

void CCorvaneDlg::SetStatusTimer()
{
    SetTimer(kStatusTimer, kStatusTimerMs);
    m_bStatusTimer = true;
}

void CCorvaneDlg::OnTimer(UINT_PTR id)
{
    if (id != kStatusTimer || IsWorkerRunning() || !m_bStatusTimer)
        return;
    if (!IsOfflineConfig())
        ShowStatus(Translate(L"STATE_READY"));
    KillTimer(kStatusTimer);
    m_bStatusTimer = false;
}

void CCorvaneDlg::SetConnectionState(UINT iconId)
{
    m_nConnectionState = iconId;
    if (m_ConnectionIcon.GetSafeHwnd() == nullptr)
        return;
    const CCorvaneApp* app = GetCorvaneApp();
    const int size = app ? app->m_smallIconSize : 16;
    const HANDLE icon = ::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(iconId), IMAGE_ICON, size, size, 0);
    m_ConnectionIcon.SetIcon(reinterpret_cast<HICON>(icon));
}

void CCorvaneDlg::ShowConnectionText()
{
    if (IsOfflineConfig()) {
        m_ConnectionText.SetWindowText(Translate(L"TXT_EDITOR"));
        if (!m_strCurrentFile.IsEmpty())
            m_StatusLine.SetWindowText(m_strCurrentFile);
        return;
    }
    if (!m_pConnection)
        return;
    m_ConnectionText.SetWindowText(m_pConnection->GetSettingsValue(m_pConnection->AddressSettingName()).c_str());
}

// --- a worker's steps ----------------------------------------------------------

LRESULT CCorvaneDlg::OnShowThreadState(WPARAM wParam, LPARAM lParam)
{
    const tThreadStateView view = CThreadStateTable::Interpret(wParam, lParam);
    CString state = Translate(view.stateKey);
    if (view.subStep)
        state = L"    " + state;
    const CString action = CThreadStateTable::ActionText(view.action);
    CString line;
    line.Format(state, action.GetString());
    ShowStatus(line);
    if (view.notAllDatasetParams)
        ++m_nNotAllDatasetParams;
    if (view.notAllDeviceParams)
        ++m_nNotAllDeviceParams;
    if (view.icon != 0)
        SetConnectionState(static_cast<UINT>(view.icon));
    // Only the worker clears the busy flag, just before its end message; a
    // state outside the table ends the busy display, never the worker.
    if (view.effect == ENStateEffect::Ended)
        EndWorkerDisplay(false, line);
    return 0;
}

void CCorvaneDlg::EndWorkerDisplay(bool succeeded, const CString& line)
{
    SetConnectionState(kStateIdle);
    if (succeeded) {
        SetStatusTimer();
    } else {
        ActivatePage(CCommonPage::kPageKey);
        CString message = line;
        message.Replace(Translate(L"LBL_ERROR"), L"");
        message.Trim();
        if (CSettingsPage* page = ActivePage())
            page->BeginWaitState(CSettingsPage::kWaitStateError, message);
    }
    StopBusy();
    UpdateCommandButtons();
    if (m_Sheet.GetSafeHwnd() != nullptr)
        m_Sheet.Invalidate();
}

// --- the pages' questions ------------------------------------------------------

LRESULT CCorvaneDlg::OnFbcSettingsChanged(WPARAM wParam, LPARAM)
{
    const bool changed = wParam != 0;
    m_bModified = changed;
    m_bNotInFile = m_bNotInFile || changed;
    EnableButton(kWriteButton, changed);
    EnableButton(kSaveButton, changed && !g_StartupOptions.ChangeIPMode);
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

LRESULT CCorvaneDlg::OnShowConnectionState(WPARAM wParam, LPARAM)
{
    if (wParam == kStateWorking || wParam == kStateConnecting || wParam == kStateIdle)
        SetConnectionState(static_cast<UINT>(wParam));
    return 0;
}

// --- the status line's menu ----------------------------------------------------

void CCorvaneDlg::OnContextMenu(CWnd* wnd, CPoint point)
{
    if (wnd == nullptr || wnd->GetSafeHwnd() != m_StatusLine.GetSafeHwnd())
        return;
    // The menu key gives no point: the menu opens over the line's centre.
    if (point.x == -1 && point.y == -1) {
        CRect line;
        m_StatusLine.GetWindowRect(&line);
        point = line.CenterPoint();
    }
    ShowStatusMenu(point);
}

void CCorvaneDlg::ShowStatusMenu(CPoint screenPoint)
{
    if (!m_StatusLog.HasLines(Translate(L"STATE_READY")))
        return;
    CZellMenu menu;
    if (!menu.CreatePopupMenu())
        return;
    CZellMenu::SetIconSize(kMenuImageWidth, kMenuImageHeight);
    menu.SetMaskColour(kMenuImageMask);
    menu.AppendODMenu(Translate(L"CMD_COPY"), MF_OWNERDRAW, kStatusCopy);
    menu.AppendODMenu(Translate(L"CMD_PASTE"), MF_OWNERDRAW | MF_GRAYED, kStatusPaste);
    menu.AppendODMenu(Translate(L"CMD_DELETE"), MF_OWNERDRAW, kStatusDelete);
    menu.AppendODMenu(Translate(L"CMD_SAVE"), MF_OWNERDRAW, kStatusSave);
    // The images are the identification page's menu's: the same commands.
    menu.LoadToolbar(kStatusMenuBitmaps);
    const UINT chosen = static_cast<UINT>(
        menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RETURNCMD | TPM_NONOTIFY, screenPoint.x, screenPoint.y, this));
    OnStatusMenuCommand(chosen);
}

void CCorvaneDlg::OnStatusMenuCommand(UINT command)
{
    switch (command) {
    case kStatusCopy:
        m_StatusLog.CopyToClipboard(GetSafeHwnd());
        break;
    case kStatusDelete:
        m_StatusLog.Clear();
        ShowStatus(Translate(L"STATE_READY"));
        break;
    case kStatusSave:
        // Saving the log is a file command.
        SendMessage(WM_COMMAND, MAKEWPARAM(kStatusSave, 0));
        break;
    default:
        break;
    }
}

}  // namespace Corvane
