// Printing of the whole grid: pages down (and across at screen scale), each
// with a header, the fixed rows and columns repeated as headings, the cells
// printing themselves, grid lines, and a footer with the page number.
#include "Common/Grid/ZellGrid.h"

#include "Common/Grid/GridDateTime.h"
#include "Common/Grid/SavedDC.h"
#include "Platform/Base/LastError.h"
#include "Platform/Base/WinError.h"
#include "Platform/Framework/Drawing/Font.h"
#include "Platform/Framework/Drawing/Pen.h"
#include "Platform/Framework/Printing/PrintInfo.h"
#include "Platform/Gdi/PrinterDC.h"
#include "Platform/Gdi/ScreenDpi.h"

#include <algorithm>
#include <climits>
#include <iterator>

namespace ZELL::Grid {

namespace {

// The string resource that holds the application's title.
constexpr UINT kApplicationTitle = 57344;
// Every letter once (and one twice), so that the average width fits mixed text.
constexpr wchar_t kWidthSample[] = L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSATUVWXYZ";
constexpr UINT kHeadingFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;

int ClampToInt(long long value)
{
    return static_cast<int>(std::clamp<long long>(value, 1, INT_MAX / 2));
}

void CreateBoldFont(const CFont& base, CFont& bold)
{
    LOGFONTW font{};
    base.GetLogFont(&font);
    font.lfWeight = FW_BOLD;
    bold.CreateFontIndirect(&font);
}

void DrawLine(CDC* dc, int fromX, int fromY, int toX, int toY)
{
    dc->MoveTo(fromX, fromY);
    dc->LineTo(toX, toY);
}

}

void CZellGrid::SetPrintMargins(int header, int footer, int left, int right, int top, int bottom, int gap)
{
    const auto keep = [](int& margin, int value) {
        if (value >= 0)
            margin = value;
    };
    keep(m_printMargins.header, header);
    keep(m_printMargins.footer, footer);
    keep(m_printMargins.left, left);
    keep(m_printMargins.right, right);
    keep(m_printMargins.top, top);
    keep(m_printMargins.bottom, bottom);
    keep(m_printMargins.gap, gap);
}

BOOL CZellGrid::Print(CPrintDialog* printDialog)
{
    CPrintDialog ownDialog(FALSE);
    CPrintDialog* dialog = printDialog != nullptr ? printDialog : &ownDialog;
    if (printDialog == nullptr) {
        ownDialog.m_pd.hwndOwner = m_hWnd;
        ownDialog.m_pd.Flags |= PD_RETURNDC | PD_NOPAGENUMS;
        if (ownDialog.DoModal() != IDOK)
            return FALSE;
    }
    CDC dc;
    if (!dc.Attach(dialog->GetPrinterDC())) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    CPrintInfo info;
    PrintPages(&dc, info);
    const BOOL printed = info.m_bContinuePrinting;
    // The dialog owns the context and deletes it.
    dc.Detach();
    return printed;
}

void CZellGrid::PrintPages(CDC* dc, CPrintInfo& info)
{
    CString name = LoadFormat(kApplicationTitle);
    if (name.IsEmpty())
        name = PrintHeaderTitle();
    DOCINFOW document;
    document.lpszDocName = name.GetString();
    info.m_bContinuePrinting = ::StartDocW(*dc, &document) > 0;
    if (!info.m_bContinuePrinting)
        return;
    info.m_rectDraw.SetRect(0, 0, dc->GetDeviceCaps(HORZRES), dc->GetDeviceCaps(VERTRES));
    OnBeginPrinting(dc, &info);
    // Without its font nothing could be laid out: the document is given up.
    info.m_bContinuePrinting = m_printerFont != nullptr;
    const int pages = GetPrintPagesDown() * GetPrintPagesAcross();
    for (int page = 1; page <= pages && info.m_bContinuePrinting; ++page) {
        info.m_nCurPage = static_cast<UINT>(page);
        info.m_bContinuePrinting = ::StartPage(*dc) > 0;
        if (!info.m_bContinuePrinting)
            break;
        OnPrint(dc, &info);
        info.m_bContinuePrinting = ::EndPage(*dc) > 0;
    }
    OnEndPrinting(dc, &info);
    if (info.m_bContinuePrinting)
        info.m_bContinuePrinting = ::EndDoc(*dc) > 0;
    else
        ::AbortDoc(*dc);
}

void CZellGrid::OnBeginPrinting(CDC* dc, CPrintInfo* info)
{
    if (dc == nullptr || info == nullptr)
        return;
    m_printerFont = std::make_unique<CFont>();
    if (!m_printerFont->CreateFont(-10, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_CHARACTER_PRECIS,
                                   CLIP_CHARACTER_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"Arial")) {
        m_printerFont.reset();
        return;
    }
    CFont* oldFont = dc->SelectObject(m_printerFont.get());
    constexpr int kSampleLength = static_cast<int>(std::size(kWidthSample)) - 1;
    const CSize sample = dc->GetTextExtent(kWidthSample, kSampleLength);
    dc->SelectObject(oldFont);
    m_printChar = CSize(std::max(1, static_cast<int>(sample.cx) / kSampleLength),
                        std::max(1, static_cast<int>(sample.cy)));
    m_printDevice = CSize(std::max(1, dc->GetDeviceCaps(HORZRES)), std::max(1, dc->GetDeviceCaps(VERTRES)));
    const int sideMargins = (m_printMargins.left + m_printMargins.right) * m_printChar.cx;
    if (m_printAtScreenScale) {
        const int dpiX = std::max(1, dc->GetDeviceCaps(LOGPIXELSX));
        const int dpiY = std::max(1, dc->GetDeviceCaps(LOGPIXELSY));
        m_printPage = CSize(ClampToInt(3LL * m_printDevice.cx * GetScreenDpi() / dpiX / 4),
                            ClampToInt(3LL * m_printDevice.cy * GetScreenDpi() / dpiY / 4));
    } else {
        m_printPage.cx = ClampToInt(GetVirtualWidth() + sideMargins);
        m_printPage.cy = ClampToInt(static_cast<long long>(m_printPage.cx) * m_printDevice.cy / m_printDevice.cx);
    }
    const int bands = m_printMargins.header + m_printMargins.footer + 2 * m_printMargins.gap;
    m_printUsableHeight = m_printPage.cy - bands * m_printChar.cy - GetFixedRowHeight();
    m_printUsableWidth = m_printPage.cx - GetFixedColumnWidth() - sideMargins;
    m_printRows.Split(m_rowHeights, m_fixedRows, m_printUsableHeight);
    m_printColumns.Split(m_colWidths, m_fixedCols, m_printAtScreenScale ? m_printUsableWidth : INT_MAX);
    info->SetMaxPage(static_cast<UINT>(std::min(GetPrintPagesDown() * GetPrintPagesAcross(), 0xFFFF)));
    info->m_nCurPage = 1;
}

void CZellGrid::OnEndPrinting(CDC*, CPrintInfo*)
{
    m_printerFont.reset();
}

void CZellGrid::OnPrint(CDC* dc, CPrintInfo* info)
{
    if (dc == nullptr || info == nullptr || !m_printerFont)
        return;
    CSavedDC saved(dc);
    dc->SelectObject(m_printerFont.get());
    dc->SetMapMode(MM_ANISOTROPIC);
    dc->SetWindowExt(m_printPage);
    dc->SetViewportExt(m_printDevice);
    const int left = -m_printMargins.left * m_printChar.cx;
    dc->SetWindowOrg(left, 0);
    PrintHeader(dc, info);
    // From here on (0, 0) is the corner of the headings.
    dc->SetWindowOrg(left, -(m_printMargins.header + m_printMargins.gap) * m_printChar.cy);
    PrintRowHeadings(dc, info);
    PrintColumnHeadings(dc, info);
    PrintBody(dc, info);
    dc->SetWindowOrg(left, -(m_printPage.cy - m_printMargins.footer * m_printChar.cy));
    PrintFooter(dc, info);
}

// The zero-based page index along rows or columns of the page being printed.
int CZellGrid::PrintPageOf(const CPrintInfo* info, bool across) const
{
    const int page = static_cast<int>(info->m_nCurPage);
    const int pagesAcross = GetPrintPagesAcross();
    if (!across)
        return (page + pagesAcross - 1) / pagesAcross - 1;
    const int column = page % pagesAcross;
    return (column == 0 ? pagesAcross : column) - 1;
}

CRect CZellGrid::PrintBodyRect() const
{
    const int left = GetFixedColumnWidth();
    const int top = GetFixedRowHeight();
    return {left, top, left + std::max(0, m_printUsableWidth), top + std::max(0, m_printUsableHeight)};
}

void CZellGrid::PrintCellAt(CDC* dc, int row, int col, const CRect& rect)
{
    if (CGridCellBase* cell = GetCellAt(row, col)) {
        cell->SetPosition(row, col);
        cell->PrintCell(dc, row, col, rect);
    }
}

void CZellGrid::PrintCellLines(CDC* dc, const CRect& rect, bool firstRowOnPage, bool firstColumnOnPage, int row,
                               int col)
{
    CPen pen(PS_SOLID, 0, m_printColours ? m_gridLineColour : RGB(0, 0, 0));
    CPen* oldPen = dc->SelectObject(&pen);
    if (m_gridLines == GRIDLINES_HORZ || m_gridLines == GRIDLINES_BOTH) {
        DrawLine(dc, firstColumnOnPage ? rect.left : rect.left - 1, rect.bottom, rect.right + 1, rect.bottom);
        if (row == 0)
            DrawLine(dc, rect.left, rect.top, rect.right + 1, rect.top);
    }
    if (m_gridLines == GRIDLINES_VERT || m_gridLines == GRIDLINES_BOTH) {
        DrawLine(dc, rect.right, firstRowOnPage ? rect.top : rect.top - 1, rect.right, rect.bottom + 1);
        if (col == 0 || firstColumnOnPage)
            DrawLine(dc, rect.left, rect.top, rect.left, rect.bottom + 1);
    }
    dc->SelectObject(oldPen);
}

// Prints rows [firstRow, endRow) of columns [firstCol, endCol) from `at`
// on, inside `clip`: a row or column larger than the page is printed cut off
// rather than not at all. `leftLine`: the block's first column gets its left line.
void CZellGrid::PrintCellBlock(CDC* dc, int firstRow, int endRow, int firstCol, int endCol, CPoint at,
                               const CRect& clip, bool leftLine)
{
    CSavedDC saved(dc);
    dc->IntersectClipRect(clip.left - 1, clip.top - 1, clip.right + 1, clip.bottom + 1);
    int top = at.y;
    for (int row = firstRow; row < endRow; ++row) {
        const int height = m_rowHeights[row];
        if (height <= 0)
            continue;
        int left = at.x;
        for (int col = firstCol; col < endCol; ++col) {
            const int width = m_colWidths[col];
            if (width <= 0)
                continue;
            const CRect rect(left, top, left + width - 1, top + height - 1);
            PrintCellAt(dc, row, col, rect);
            PrintCellLines(dc, rect, row == firstRow, leftLine && col == firstCol, row, col);
            left += width;
        }
        top += height;
    }
}

void CZellGrid::PrintBody(CDC* dc, CPrintInfo* info)
{
    const int rowPage = PrintPageOf(info, false);
    const int colPage = PrintPageOf(info, true);
    const CRect body = PrintBodyRect();
    PrintCellBlock(dc, m_printRows.FirstOf(rowPage), m_printRows.EndOf(rowPage), m_printColumns.FirstOf(colPage),
                   m_printColumns.EndOf(colPage), body.TopLeft(), body, m_fixedCols == 0);
}

void CZellGrid::PrintRowHeadings(CDC* dc, CPrintInfo* info)
{
    if (dc == nullptr || info == nullptr)
        return;
    const int rowPage = PrintPageOf(info, false);
    const CRect body = PrintBodyRect();
    PrintCellBlock(dc, m_printRows.FirstOf(rowPage), m_printRows.EndOf(rowPage), 0, m_fixedCols,
                   CPoint(0, body.top), CRect(0, body.top, body.left, body.bottom), true);
}

void CZellGrid::PrintColumnHeadings(CDC* dc, CPrintInfo* info)
{
    if (dc == nullptr || info == nullptr)
        return;
    const int colPage = PrintPageOf(info, true);
    const int fixedWidth = GetFixedColumnWidth();
    int top = 0;
    for (int row = 0; row < m_fixedRows; ++row) {
        const int height = m_rowHeights[row];
        if (height <= 0)
            continue;
        const CRect band(0, top, fixedWidth, top + height - 1);
        PrintHeadingRowCells(0, m_fixedCols, row, band, dc, TRUE);
        const CRect headings(fixedWidth, top, fixedWidth + std::max(0, m_printUsableWidth), top + height - 1);
        PrintHeadingRowCells(m_printColumns.FirstOf(colPage), m_printColumns.EndOf(colPage), row, headings, dc,
                             m_fixedCols == 0);
        top += height;
    }
}

void CZellGrid::PrintHeadingRowCells(int from, int to, int row, CRect rect, CDC* dc, BOOL first)
{
    if (dc == nullptr || row < 0 || row >= m_rowCount)
        return;
    CSavedDC saved(dc);
    dc->IntersectClipRect(rect.left - 1, rect.top - 1, rect.right + 1, rect.bottom + 1);
    int left = rect.left;
    for (int col = std::max(from, 0); col < std::min(to, m_colCount); ++col) {
        const int width = m_colWidths[col];
        if (width <= 0)
            continue;
        if (left + width > rect.right && left > rect.left)
            break;
        const CRect cellRect(left, rect.top, left + width - 1, rect.bottom);
        PrintCellAt(dc, row, col, cellRect);
        PrintCellLines(dc, cellRect, true, first != FALSE, row, col);
        first = FALSE;
        left += width;
    }
}

// The header or footer band of a page, `lines` high, between the side margins.
CRect CZellGrid::PrintBandRect(int lines) const
{
    const int width = m_printPage.cx - (m_printMargins.left + m_printMargins.right) * m_printChar.cx;
    return {0, 0, width, lines * m_printChar.cy};
}

CString CZellGrid::PrintHeaderTitle() const
{
    for (CWnd* window = GetParent(); window != nullptr; window = window->GetParent()) {
        CString text;
        window->GetWindowText(text);
        if (!text.IsEmpty())
            return text;
    }
    return {};
}

void CZellGrid::PrintHeader(CDC* dc, CPrintInfo* info)
{
    if (dc == nullptr || info == nullptr || !m_printerFont)
        return;
    CFont font;
    CreateBoldFont(*m_printerFont, font);
    CSavedDC saved(dc);
    dc->SelectObject(&font);
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(RGB(0, 0, 0));
    const CRect rect = PrintBandRect(m_printMargins.header);
    CRect text = rect;
    dc->DrawText(PrintHeaderTitle(), text, DT_CENTER | kHeadingFormat);
    dc->DrawText(LoadFormat(kApplicationTitle), text, DT_RIGHT | kHeadingFormat);
    CPen black(PS_SOLID, 0, RGB(0, 0, 0));
    dc->SelectObject(&black);
    DrawLine(dc, rect.left, rect.bottom, rect.right, rect.bottom);
}

void CZellGrid::PrintFooter(CDC* dc, CPrintInfo* info)
{
    if (dc == nullptr || info == nullptr || !m_printerFont)
        return;
    CFont font;
    CreateBoldFont(*m_printerFont, font);
    CPen black(PS_SOLID, 0, RGB(0, 0, 0));
    CSavedDC saved(dc);
    const CRect rect = PrintBandRect(m_printMargins.footer);
    dc->SelectObject(&black);
    DrawLine(dc, rect.left, rect.top, rect.right, rect.top);
    dc->SelectObject(&font);
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(RGB(0, 0, 0));
    CString page;
    page.Format(L"Page %d of %d", static_cast<int>(info->m_nCurPage), GetPrintPagesDown() * GetPrintPagesAcross());
    CRect text = rect;
    dc->DrawText(page, text, DT_LEFT | kHeadingFormat);
    dc->DrawText(FormatGridDateTime(CurrentGridDateTime(), L"%c"), text, DT_RIGHT | kHeadingFormat);
}

}  // namespace ZELL::Grid
