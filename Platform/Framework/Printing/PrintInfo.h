#pragma once
// The state of one print run as the print path and its hooks share it: the
// print dialog with the page range, the page being printed, the rectangle
// to draw in (the page in device units) and whether to go on.
#include "Platform/Framework/Printing/PrintDialog.h"
#include "Platform/Framework/Geometry/Rect.h"

class CPrintInfo {
public:
    CPrintInfo();
    CPrintInfo(const CPrintInfo&) = delete;
    CPrintInfo& operator=(const CPrintInfo&) = delete;
    ~CPrintInfo();

    CPrintDialog* m_pPD = nullptr;  // owned
    BOOL m_bDirect = FALSE;         // print without asking: the printer of the dialog's blocks, else the default
    BOOL m_bPreview = FALSE;        // no preview here: always FALSE
    BOOL m_bContinuePrinting = TRUE;
    UINT m_nCurPage = 1;
    UINT m_nNumPreviewPages = 1;
    CString m_strPageDesc;
    LPVOID m_lpUserData = nullptr;
    CRect m_rectDraw;

    void SetMinPage(UINT page) { m_pPD->m_pd.nMinPage = static_cast<WORD>(page); }
    void SetMaxPage(UINT page) { m_pPD->m_pd.nMaxPage = static_cast<WORD>(page); }
    UINT GetMinPage() const { return m_pPD->m_pd.nMinPage; }
    UINT GetMaxPage() const { return m_pPD->m_pd.nMaxPage; }
    // The pages to print: the chosen range, else all there are.
    UINT GetFromPage() const;
    UINT GetToPage() const;
    UINT GetOffsetPage() const { return m_nOffsetPage; }

private:
    UINT m_nOffsetPage = 0;
};
