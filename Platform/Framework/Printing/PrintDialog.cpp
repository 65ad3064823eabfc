#include "Platform/Framework/Printing/PrintDialog.h"

#include "Platform/Framework/Windows/Wnd.h"
#include "Platform/Gdi/Gdi.h"

#include <cstring>

IMPLEMENT_DYNAMIC(CPrintDialog, CObject)

CPrintDialog::CPrintDialog(BOOL printSetupOnly, DWORD flags, CWnd* parent) : m_pParentWnd(parent)
{
    m_pd.Flags = flags | (printSetupOnly ? PD_PRINTSETUP : 0);
    m_pd.nMinPage = 1;
    m_pd.nMaxPage = 0xFFFF;
    m_pd.nFromPage = 1;
    m_pd.nToPage = 0xFFFF;
    m_pd.nCopies = 1;
}

CPrintDialog::~CPrintDialog()
{
    if (m_pd.hDC)
        DeleteDC(m_pd.hDC);
    if (m_pd.hDevMode)
        GlobalFree(m_pd.hDevMode);
    if (m_pd.hDevNames)
        GlobalFree(m_pd.hDevNames);
}

INT_PTR CPrintDialog::DoModal()
{
    if (!m_pd.hwndOwner && m_pParentWnd)
        m_pd.hwndOwner = m_pParentWnd->GetSafeHwnd();
    const BOOL chosen = PrintDlgW(&m_pd);
    Refresh();
    return chosen ? IDOK : IDCANCEL;
}

BOOL CPrintDialog::GetDefaults()
{
    if (m_pd.hDevMode) {
        GlobalFree(m_pd.hDevMode);
        m_pd.hDevMode = nullptr;
    }
    if (m_pd.hDevNames) {
        GlobalFree(m_pd.hDevNames);
        m_pd.hDevNames = nullptr;
    }
    const DWORD flags = m_pd.Flags;
    m_pd.Flags |= PD_RETURNDEFAULT;
    const BOOL had = PrintDlgW(&m_pd);
    m_pd.Flags = flags;
    Refresh();
    return had;
}

HDC CPrintDialog::GetPrinterDC()
{
    if (!m_pd.hDC && m_pd.hDevNames)
        return CreatePrinterDC();
    return m_pd.hDC;
}

HDC CPrintDialog::CreatePrinterDC()
{
    if (m_pd.hDC)
        DeleteDC(m_pd.hDC);
    m_pd.hDC = CreatePrinterDCFromDevNames(m_pd.hDevNames, m_pd.hDevMode);
    return m_pd.hDC;
}

void CPrintDialog::Refresh()
{
    m_bHasDevMode = false;
    if (!m_pd.hDevMode || GlobalSize(m_pd.hDevMode) < sizeof(DEVMODEW))
        return;
    if (const void* block = GlobalLock(m_pd.hDevMode)) {
        std::memcpy(&m_DevMode, block, sizeof m_DevMode);
        GlobalUnlock(m_pd.hDevMode);
        m_bHasDevMode = true;
    }
}

const DEVMODEW* CPrintDialog::GetDevMode() const { return m_bHasDevMode ? &m_DevMode : nullptr; }

CString CPrintDialog::NameOf(std::wstring ZELL::Shell::DeviceNames::*name) const
{
    const std::optional<ZELL::Shell::DeviceNames> names = ZELL::Shell::ReadDeviceNames(m_pd.hDevNames);
    return names ? CString((*names).*name) : CString();
}

CString CPrintDialog::GetDeviceName() const { return NameOf(&ZELL::Shell::DeviceNames::device); }
CString CPrintDialog::GetDriverName() const { return NameOf(&ZELL::Shell::DeviceNames::driver); }
CString CPrintDialog::GetPortName() const { return NameOf(&ZELL::Shell::DeviceNames::output); }

BOOL CPrintDialog::PrintCollate() const
{
    if (m_pd.Flags & PD_USEDEVMODECOPIES)
        return m_bHasDevMode && m_DevMode.dmCollate != 0;
    return (m_pd.Flags & PD_COLLATE) != 0;
}

int CPrintDialog::GetCopies() const
{
    if (m_pd.Flags & PD_USEDEVMODECOPIES)
        return m_bHasDevMode ? m_DevMode.dmCopies : 1;
    return m_pd.nCopies;
}
