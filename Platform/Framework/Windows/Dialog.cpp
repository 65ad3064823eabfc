#include "Platform/Framework/Windows/Dialog.h"

#include "Platform/Base/LastError.h"
#include "Platform/Framework/Exceptions/UserException.h"
#include "Platform/Framework/App/WinThread.h"
#include "Platform/Framework/Windows/WndCreationHook.h"
#include "Platform/Ui/DialogManager.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
    ON_MESSAGE(WM_KICKIDLE, OnKickIdle)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

// The dialog's window is subclassed with the framework's procedure, so
// everything reaches the message map first; what the map leaves goes to
// the dialog manager's defaults.
INT_PTR CDialog::DialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

namespace {

// A modal dialog is owned by the top-level of its parent, or of the active window.
HWND ModalOwner(CWnd* parent)
{
    const HWND owner = parent ? parent->GetSafeHwnd() : ::GetActiveWindow();
    return owner ? ::GetAncestor(owner, GA_ROOT) : nullptr;
}

}

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATEW dialogTemplate, CWnd* parent)
{
    if (!dialogTemplate)
        return FALSE;
    m_lpDialogTemplate = dialogTemplate;
    m_pParentWnd = parent;
    return TRUE;
}

INT_PTR CDialog::DoModal()
{
    if (m_hWnd || (!m_lpDialogTemplate && !m_lpszTemplateName))
        return -1;
    if (m_pParentWnd && !::IsWindow(m_pParentWnd->GetSafeHwnd())) {
        ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return -1;
    }
    const HWND owner = ModalOwner(m_pParentWnd);
    // Disabled before the dialog exists, so that it never shares the input with its owner.
    const bool disableOwner = owner && ::IsWindowEnabled(owner);
    if (disableOwner)
        ::EnableWindow(owner, FALSE);
    INT_PTR result = -1;
    if (CreateFromTemplate(owner))
        result = RunModal(disableOwner ? owner : nullptr);
    if (disableOwner && ::IsWindow(owner) && !::IsWindowEnabled(owner))
        ::EnableWindow(owner, TRUE);
    if (m_hWnd)
        DestroyWindow();
    return result;
}

BOOL CDialog::CreateFromTemplate(HWND owner)
{
    const CWndCreationHook hook(this);
    const HWND hwnd = m_lpDialogTemplate
                          ? ::CreateDialogIndirectParamW(ResourceModule(), m_lpDialogTemplate, owner, &DialogProc, 0)
                          : ::CreateDialogParamW(ResourceModule(), m_lpszTemplateName, owner, &DialogProc, 0);
    return hwnd && hwnd == m_hWnd;
}

INT_PTR CDialog::RunModal(HWND disabledOwner)
{
    const std::shared_ptr<Ui::DialogState> state = Ui::DialogStateOf(m_hWnd);
    if (!state)
        return -1;
    // EndDialog gives the owner back before the dialog leaves, so the activation returns to it.
    state->disabledOwner = disabledOwner;
    if (!state->ended)
        Ui::MarkModal(m_hWnd, true);
    if (!state->ended && !IsWindowVisible()) {
        ShowWindow(SW_SHOWNORMAL);
        UpdateWindow();
    }
    const int loopResult = RunModalLoop((GetStyle() & DS_NOIDLEMSG) ? MLF_NOIDLEMSG : 0);
    const INT_PTR result = state->ended ? state->result.load() : loopResult;
    if (disabledOwner && ::IsWindow(disabledOwner)) {
        ::EnableWindow(disabledOwner, TRUE);
        if (m_hWnd)
            ShowWindow(SW_HIDE);
        ::SetActiveWindow(disabledOwner);
    }
    return result;
}

void CDialog::EndDialog(int result)
{
    EndModalLoop(result);
    ::EndDialog(m_hWnd, result);
}

BOOL CDialog::ContinueModal()
{
    if (!CWnd::ContinueModal())
        return FALSE;
    const std::shared_ptr<Ui::DialogState> state = Ui::DialogStateOf(m_hWnd);
    return state && !state->ended;
}

BOOL CDialog::Create(LPCWSTR templateName, CWnd* parent)
{
    if (m_hWnd || !templateName)
        return FALSE;
    m_lpszTemplateName = templateName;
    m_pParentWnd = parent;
    const CWndCreationHook hook(this);
    HWND hwnd = ::CreateDialogParamW(ResourceModule(), templateName, parent ? parent->m_hWnd : nullptr, &DialogProc, 0);
    return hwnd && hwnd == m_hWnd;
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATEW dialogTemplate, CWnd* parent)
{
    if (m_hWnd || !dialogTemplate)
        return FALSE;
    m_pParentWnd = parent;
    const CWndCreationHook hook(this);
    HWND hwnd = ::CreateDialogIndirectParamW(ResourceModule(), dialogTemplate, parent ? parent->m_hWnd : nullptr,
                                            &DialogProc, 0);
    return hwnd && hwnd == m_hWnd;
}

// A dialog that is still hidden and where the template put it after
// OnInitDialog, and whose owner is disabled (a modal one), opens centred over
// the owner: the template's position, relative to the owner's corner, is only
// where the dialog manager starts. Ownerless dialogs, such as forms that are
// made children after their creation, stay where they were put.
LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM)
{
    RECT before{};
    ::GetWindowRect(m_hWnd, &before);
    const BOOL result = OnInitDialog();
    RECT after{};
    const HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (::IsWindow(m_hWnd) && (GetStyle() & (WS_VISIBLE | WS_CHILD)) == 0 && ::GetWindowRect(m_hWnd, &after) &&
        after.left == before.left && after.top == before.top && owner && !::IsWindowEnabled(owner)) {
        CenterWindow();
    }
    return result;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::UpdateData(BOOL saveAndValidate)
{
    CDataExchange dx(this, saveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (CUserException* e) {
        e->Delete();
        return FALSE;
    }
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

LRESULT CDialog::OnIdleUpdateCmdUI(WPARAM, LPARAM)
{
    UpdateDialogControls(this, FALSE);
    return 0;
}

LRESULT CDialog::OnKickIdle(WPARAM, LPARAM idleCount)
{
    if (idleCount == 0) {
        SendMessage(WM_IDLEUPDATECMDUI, TRUE);
        SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE);
    }
    return FALSE;
}

// The dialog's keyboard interface (the modal loop hands it the rest too).
BOOL CDialog::PreTranslateMessage(MSG* msg)
{
    if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST)
        return FALSE;
    return ::IsDialogMessageW(m_hWnd, msg);
}
