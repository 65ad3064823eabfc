#pragma once
// A dialog box as an object: modal (DoModal makes it with its owner disabled
// and runs the framework's modal loop, so the dialog's PreTranslateMessage
// chain and its idle command UI work as in a modeless one) or modeless
// (Create, CreateIndirect), from a template of the
// resource module or from one in memory. The CDialog is attached to its
// window before WM_INITDIALOG; OnInitDialog writes the members into the
// controls, OnOK reads them back and ends the dialog only when every value
// is valid.
#include "Platform/Framework/Windows/DataExchange.h"
#include "Platform/Framework/App/WinApp.h"
#include "Platform/Framework/Windows/Wnd.h"
#include "Platform/Ui/ResourceModule.h"

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    // The constructors note which deliverable the dialog belongs to (the one
    // whose code makes it): its resources, as they are when the dialog
    // opens, and its application, whose title the dialog's messages show.
    __attribute__((visibility("hidden"))) CDialog() : m_pfnResourceModule(&Ui::GetResourceModule), m_pfnApp(&AfxGetApp) {}
    __attribute__((visibility("hidden"))) explicit CDialog(UINT templateId, CWnd* parent = nullptr)
        : m_lpszTemplateName(MAKEINTRESOURCEW(templateId)), m_nIDHelp(templateId), m_pParentWnd(parent),
          m_pfnResourceModule(&Ui::GetResourceModule), m_pfnApp(&AfxGetApp)
    {
    }
    __attribute__((visibility("hidden"))) explicit CDialog(LPCWSTR templateName, CWnd* parent = nullptr)
        : m_lpszTemplateName(templateName), m_pParentWnd(parent), m_pfnResourceModule(&Ui::GetResourceModule),
          m_pfnApp(&AfxGetApp)
    {
    }

    LPCWSTR m_lpszTemplateName = nullptr;
    UINT m_nIDHelp = 0;
    CWnd* m_pParentWnd = nullptr;

    BOOL InitModalIndirect(LPCDLGTEMPLATEW dialogTemplate, CWnd* parent = nullptr);
    virtual INT_PTR DoModal();
    using CWnd::Create;
    BOOL Create(UINT templateId, CWnd* parent = nullptr) { return Create(MAKEINTRESOURCEW(templateId), parent); }
    BOOL Create(LPCWSTR templateName, CWnd* parent = nullptr);
    BOOL CreateIndirect(LPCDLGTEMPLATEW dialogTemplate, CWnd* parent = nullptr);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    void EndDialog(int result);

    void NextDlgCtrl() const { ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 0, FALSE); }
    void PrevDlgCtrl() const { ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 1, FALSE); }
    void GotoDlgCtrl(CWnd* control) { ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control->GetSafeHwnd()), TRUE); }
    void SetDefID(UINT id) { ::SendMessageW(m_hWnd, DM_SETDEFID, id, 0); }
    DWORD GetDefID() const { return static_cast<DWORD>(::SendMessageW(m_hWnd, DM_GETDEFID, 0, 0)); }
    void MapDialogRect(LPRECT rect) const { ::MapDialogRect(m_hWnd, rect); }

    // FALSE when a value failed to validate (the user was told, the control has the focus).
    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    BOOL PreTranslateMessage(MSG* msg) override;
    // Also false once the dialog manager's EndDialog ended the dialog.
    BOOL ContinueModal() override;
    CWinApp* GetApp() const { return m_pfnApp(); }

protected:
    virtual void DoDataExchange(CDataExchange* dx);
    LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    // The modal loop's idle step: the command UI of the dialog and its children.
    LRESULT OnKickIdle(WPARAM wParam, LPARAM idleCount);
    DECLARE_MESSAGE_MAP()

private:
    HINSTANCE ResourceModule() const { return m_pfnResourceModule(); }
    static INT_PTR DialogProc(HWND, UINT, WPARAM, LPARAM);
    BOOL CreateFromTemplate(HWND owner);
    INT_PTR RunModal(HWND owner);

    LPCDLGTEMPLATEW m_lpDialogTemplate = nullptr;
    HINSTANCE (*m_pfnResourceModule)() = nullptr;
    CWinApp* (*m_pfnApp)() = nullptr;
};
