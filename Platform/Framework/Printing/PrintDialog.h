#pragma once
// The print dialog as an object: m_pd is the PRINTDLGW that DoModal and
// GetDefaults hand to PrintDlgW, and the accessors read the choice back.
// The object owns what the dialog handed out (the DEVMODEW and DEVNAMES
// blocks and the printer context) and frees it when it goes; a CDC attached
// to the context may delete it first, a stale context handle stays invalid.
#include "Platform/Base/CString.h"
#include "Platform/Framework/Core/Object.h"
#include "Platform/Shell/PrinterDevice.h"

class CWnd;

class CPrintDialog : public CObject {
    DECLARE_DYNAMIC(CPrintDialog)
public:
    explicit CPrintDialog(BOOL printSetupOnly,
                          DWORD flags = PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS | PD_HIDEPRINTTOFILE |
                                        PD_NOSELECTION,
                          CWnd* parent = nullptr);
    CPrintDialog(const CPrintDialog&) = delete;
    CPrintDialog& operator=(const CPrintDialog&) = delete;
    ~CPrintDialog() override;

    PRINTDLGW m_pd;

    // IDOK or IDCANCEL (also after a failure: CommDlgExtendedError tells).
    virtual INT_PTR DoModal();
    // The default printer's settings without a dialog.
    BOOL GetDefaults();
    // The printer context of the choice: the dialog's, else one made from
    // the blocks (kept as m_pd.hDC). Null when nothing was chosen.
    HDC GetPrinterDC();
    // A new context for the blocks, replacing m_pd.hDC.
    HDC CreatePrinterDC();

    CString GetDeviceName() const;
    CString GetDriverName() const;
    CString GetPortName() const;
    // The settings block's copy; null when there is none.
    const DEVMODEW* GetDevMode() const;

    BOOL PrintAll() const { return !PrintRange() && !PrintSelection(); }
    BOOL PrintRange() const { return (m_pd.Flags & PD_PAGENUMS) != 0; }
    BOOL PrintSelection() const { return (m_pd.Flags & PD_SELECTION) != 0; }
    BOOL PrintCollate() const;
    int GetFromPage() const { return PrintRange() ? m_pd.nFromPage : -1; }
    int GetToPage() const { return PrintRange() ? m_pd.nToPage : -1; }
    int GetCopies() const;

private:
    CString NameOf(std::wstring ZELL::Shell::DeviceNames::*name) const;
    void Refresh();
    CWnd* m_pParentWnd = nullptr;
    DEVMODEW m_DevMode;  // the copy GetDevMode hands out
    bool m_bHasDevMode = false;
};
