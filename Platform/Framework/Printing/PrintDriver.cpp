#include "Platform/Framework/Printing/PrintDriver.h"

#include "Platform/Base/LastError.h"
#include "Platform/Base/WinError.h"
#include "Platform/Framework/Windows/Wnd.h"

#include <algorithm>

namespace {
constexpr UINT kUnknownPageCount = 0xFFFF;
}

BOOL CPrintDriver::DoPreparePrinting(CPrintInfo* info)
{
    CPrintDialog& dialog = *info->m_pPD;
    dialog.m_pd.nFromPage = static_cast<WORD>(info->GetMinPage());
    dialog.m_pd.nToPage = static_cast<WORD>(info->GetMaxPage());
    if (info->m_bDirect) {
        if (!dialog.m_pd.hDevNames && !dialog.GetDefaults())
            return FALSE;
    } else {
        dialog.m_pd.Flags |= PD_RETURNDC;
        if (dialog.DoModal() != IDOK)
            return FALSE;
    }
    return dialog.GetPrinterDC() != nullptr;
}

void CPrintDriver::OnPrepareDC(CDC*, CPrintInfo* info)
{
    if (info->GetMaxPage() == kUnknownPageCount && !info->m_pPD->PrintRange())
        info->m_bContinuePrinting = info->m_nCurPage == 1;
}

BOOL CPrintDriver::Print(LPCWSTR documentName, CWnd* parent)
{
    CPrintInfo info;
    if (parent)
        info.m_pPD->m_pd.hwndOwner = parent->GetSafeHwnd();
    if (!OnPreparePrinting(&info))
        return FALSE;
    HDC printer = info.m_pPD->GetPrinterDC();
    CDC dc;
    if (!printer || !dc.Attach(printer)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    OnBeginPrinting(&dc, &info);
    DOCINFOW document;
    document.lpszDocName = documentName;
    bool printed = ::StartDocW(dc, &document) > 0;
    if (printed)
        printed = PrintPages(dc, info);
    const DWORD error = GetLastError();
    OnEndPrinting(&dc, &info);
    if (printed)
        printed = ::EndDoc(dc) > 0;
    else
        ::AbortDoc(dc);
    if (!printed && GetLastError() == NO_ERROR)
        SetLastError(error);
    // The dialog owns the context and deletes it with the print info.
    dc.Detach();
    return printed;
}

bool CPrintDriver::PrintPages(CDC& dc, CPrintInfo& info)
{
    // Copies the printer does not make are printed one after the other.
    const int copies = info.m_pPD->m_pd.Flags & PD_USEDEVMODECOPIES ? 1 : std::max<int>(info.m_pPD->m_pd.nCopies, 1);
    for (int copy = 0; copy < copies; ++copy) {
        info.m_bContinuePrinting = TRUE;
        for (info.m_nCurPage = info.GetFromPage(); info.m_nCurPage <= info.GetToPage(); ++info.m_nCurPage) {
            OnPrepareDC(&dc, &info);
            if (!info.m_bContinuePrinting)
                break;
            if (!PrintPage(dc, info))
                return false;
            if (!info.m_bContinuePrinting)
                break;
        }
    }
    return true;
}

bool CPrintDriver::PrintPage(CDC& dc, CPrintInfo& info)
{
    if (::StartPage(dc) <= 0)
        return false;
    info.m_rectDraw.SetRect(0, 0, dc.GetDeviceCaps(HORZRES), dc.GetDeviceCaps(VERTRES));
    OnPrint(&dc, &info);
    return ::EndPage(dc) > 0;
}
