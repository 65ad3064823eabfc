#include "Platform/Framework/Dialog.h"

#include "Platform/Framework/UserException.h"
#include "Platform/Framework/WinThread.h"
#include "Platform/Framework/WndCreationHook.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

// The dialog's window is subclassed with the framework's procedure, so
// everything reaches the message map first; what the map leaves goes to
// the dialog manager's defaults.
INT_PTR CDialog::DialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

namespace {

HWND OwnerOf(CWnd* parent)
{
    if (parent)
        return parent->GetSafeHwnd();
    HWND active = ::GetActiveWindow();
    return active;
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
    const CWndCreationHook hook(this);
    if (m_lpDialogTemplate)
        return ::DialogBoxIndirectParamW(ResourceModule(), m_lpDialogTemplate, OwnerOf(m_pParentWnd), &DialogProc, 0);
    return ::DialogBoxParamW(ResourceModule(), m_lpszTemplateName, OwnerOf(m_pParentWnd), &DialogProc, 0);
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

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) { return OnInitDialog(); }

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

// A modeless dialog's keyboard interface; the modal loop has its own.
BOOL CDialog::PreTranslateMessage(MSG* msg)
{
    if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST)
        return FALSE;
    return ::IsDialogMessageW(m_hWnd, msg);
}
