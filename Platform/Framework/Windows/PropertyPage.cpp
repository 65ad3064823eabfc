#include "Platform/Framework/Windows/PropertyPage.h"

#include "Platform/Framework/Windows/PropertySheet.h"
#include "Platform/Ui/Resource.h"

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)

BEGIN_MESSAGE_MAP(CPropertyPage, CDialog)
    ON_COMMAND_RANGE(IDOK, IDCANCEL, OnSheetCommand)
END_MESSAGE_MAP()

void CPropertyPage::Init(HINSTANCE module, LPCWSTR templateName, UINT captionId, DWORD size)
{
    m_psp = PROPSHEETPAGEW{};
    // Only the record itself travels: the object behind it is reached through lParam.
    m_psp.dwSize = size >= PROPSHEETPAGEW_V1_SIZE && size <= sizeof(PROPSHEETPAGEW) ? size : sizeof(PROPSHEETPAGEW);
    m_psp.hInstance = module;
    m_psp.pszTemplate = templateName;
    m_psp.pfnDlgProc = &PageProc;
    m_psp.lParam = reinterpret_cast<LPARAM>(this);
    if (captionId != 0) {
        wchar_t buffer[256]{};
        if (LoadStringW(module, captionId, buffer, 256) > 0) {
            m_strCaption = buffer;
            m_psp.pszTitle = m_strCaption.GetString();
            m_psp.dwFlags |= PSP_USETITLE;
        }
    }
}

void CPropertyPage::ConstructIndirect(LPCDLGTEMPLATEW dialogTemplate, UINT captionId)
{
    Init(m_psp.hInstance, nullptr, captionId, m_psp.dwSize);
    m_psp.pResource = dialogTemplate;
    m_psp.dwFlags |= PSP_DLGINDIRECT;
}

INT_PTR CPropertyPage::PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_INITDIALOG || lParam == 0 || CWnd::FromHandlePermanent(page) != nullptr)
        return FALSE;
    auto* self = reinterpret_cast<CPropertyPage*>(reinterpret_cast<const PROPSHEETPAGEW*>(lParam)->lParam);
    if (self == nullptr || self->m_hWnd != nullptr || !self->SubclassWindow(page))
        return FALSE;
    self->m_bFirstSetActive = TRUE;
    return AfxCallWndProc(self, page, message, wParam, lParam);
}

BOOL CPropertyPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    const bool fromSheet = header != nullptr && header->hwndFrom == ::GetParent(m_hWnd);
    if (!fromSheet || header->code > PSN_FIRST || header->code < PSN_QUERYCANCEL)
        return CDialog::OnNotify(wParam, lParam, result);
    *result = OnSheetNotify(header->code);
    return TRUE;
}

LRESULT CPropertyPage::OnSheetNotify(UINT code)
{
    switch (code) {
    case PSN_SETACTIVE: return OnSetActive() ? 0 : -1;
    case PSN_KILLACTIVE: return OnKillActive() ? FALSE : TRUE;
    case PSN_APPLY: return OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
    case PSN_RESET: OnReset(); return 0;
    case PSN_QUERYCANCEL: return OnQueryCancel() ? FALSE : TRUE;
    default: return 0;
    }
}

// The first activation follows OnInitDialog, which wrote the members already.
BOOL CPropertyPage::OnSetActive()
{
    if (m_bFirstSetActive)
        m_bFirstSetActive = FALSE;
    else
        UpdateData(FALSE);
    return TRUE;
}

BOOL CPropertyPage::OnKillActive()
{
    return UpdateData(TRUE);
}

BOOL CPropertyPage::OnApply()
{
    OnOK();
    return TRUE;
}

void CPropertyPage::OnReset()
{
    OnCancel();
}

BOOL CPropertyPage::OnQueryCancel()
{
    return TRUE;
}

void CPropertyPage::OnOK()
{
    m_bChanged = FALSE;
}

void CPropertyPage::OnCancel()
{
    m_bChanged = FALSE;
}

// Enter and Esc inside the page are the sheet's buttons, not the page's end.
void CPropertyPage::OnSheetCommand(UINT id)
{
    CWnd* sheet = GetParent();
    if (sheet != nullptr)
        sheet->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

void CPropertyPage::SetModified(BOOL changed)
{
    m_bChanged = changed;
    if (CWnd* sheet = GetParent())
        sheet->SendMessage(changed ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

LRESULT CPropertyPage::QuerySiblings(WPARAM wParam, LPARAM lParam)
{
    CWnd* sheet = GetParent();
    return sheet != nullptr ? sheet->SendMessage(PSM_QUERYSIBLINGS, wParam, lParam) : 0;
}

CPropertySheet* CPropertyPage::GetParentSheet() const
{
    return DYNAMIC_DOWNCAST(CPropertySheet, GetParent());
}

BOOL CPropertyPage::PreTranslateMessage(MSG*)
{
    return FALSE;
}
