// Construction, window creation, properties and notifications of the grid.
#include "Common/Grid/ZellGrid.h"

#include "Common/Grid/GridDropTarget.h"
#include "Common/Grid/TitleTip.h"
#include "Platform/Framework/DragDrop/OleInit.h"
#include "Platform/Framework/Exceptions/ResourceException.h"
#include "Platform/Framework/Core/StandardCommands.h"
#include "Platform/Framework/App/WinApp.h"

namespace ZELL::Grid {

namespace {

// The highlight colours every grid of the module starts with.
COLORREF g_selectedBack = ::GetSysColor(COLOR_HIGHLIGHT);
COLORREF g_selectedText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);

int SystemWheelLines()
{
    UINT lines = 3;
    if (!::SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0))
        return 3;
    return static_cast<int>(lines);
}

}

void SetGridHighlightColours(COLORREF back, COLORREF text)
{
    if (back != CLR_DEFAULT)
        g_selectedBack = back;
    if (text != CLR_DEFAULT)
        g_selectedText = text;
}

IMPLEMENT_DYNCREATE(CZellGrid, CWnd)

BEGIN_MESSAGE_MAP(CZellGrid, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_MOUSEWHEEL()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_TIMER()
    ON_WM_SETCURSOR()
    ON_WM_CAPTURECHANGED()
    ON_WM_KEYDOWN()
    ON_WM_CHAR()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_SYSCOLORCHANGE()
    ON_MESSAGE(WM_SETFONT, OnSetFontMessage)
    ON_MESSAGE(WM_GETFONT, OnGetFontMessage)
    ON_COMMAND(ID_EDIT_CUT, OnEditCut)
    ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
    ON_COMMAND(ID_EDIT_PASTE, OnEditPaste)
    ON_COMMAND(ID_EDIT_SELECT_ALL, OnEditSelectAll)
    ON_UPDATE_COMMAND_UI(ID_EDIT_CUT, OnUpdateEditCut)
    ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateEditCopy)
    ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, OnUpdateEditPaste)
    ON_UPDATE_COMMAND_UI(ID_EDIT_SELECT_ALL, OnUpdateEditSelectAll)
END_MESSAGE_MAP()

CZellGrid::CZellGrid(int rows, int cols, int fixedRows, int fixedCols) : m_cellClass(RUNTIME_CLASS(CGridCell))
{
    m_selectedBack = g_selectedBack;
    m_selectedText = g_selectedText;
    for (CGridDefaultCell* cell : {&m_defaultNormal, &m_defaultFixedCol, &m_defaultFixedRow, &m_defaultCorner}) {
        cell->SetGrid(this);
        cell->SetTextColour(m_sysWindowText);
        cell->SetBackColour(cell == &m_defaultNormal ? m_sysWindow : m_sysButtonFace);
    }
    m_defaultNormal.SetHighlightColours(m_selectedBack, m_selectedText, m_selectedBack, m_selectedText);
    RegisterWindowClass();
    if (!AfxOleInit())
        AfxMessageBox(L"OLE initialization failed. Make sure that the OLE libraries are the correct version");
    m_wheelLines = SystemWheelLines();
    SetRowTotal(rows);
    SetColumnTotal(cols);
    SetFixedRowTotal(fixedRows);
    SetFixedColumnTotal(fixedCols);
}

CZellGrid::~CZellGrid()
{
    RemoveAllCells();
    if (m_titleTip != nullptr) {
        if (m_titleTip->GetSafeHwnd() != nullptr)
            m_titleTip->DestroyWindow();
        delete m_titleTip;
    }
    delete m_dropTarget;
    if (m_hWnd != nullptr)
        DestroyWindow();
}

BOOL CZellGrid::RegisterWindowClass()
{
    HINSTANCE instance = AfxGetInstanceHandle();
    WNDCLASSW existing{};
    if (::GetClassInfoW(instance, kClassName, &existing))
        return TRUE;
    WNDCLASSW wc{};
    wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_3DFACE + 1));
    wc.lpszClassName = kClassName;
    if (!::RegisterClassW(&wc))
        AfxThrowResourceException();
    return TRUE;
}

BOOL CZellGrid::Create(const RECT& rect, CWnd* parent, UINT id, DWORD style)
{
    if (!CWnd::Create(kClassName, nullptr, style, rect, parent, id))
        return FALSE;
    try {
        m_rowHeights.assign(static_cast<std::size_t>(m_rowCount), m_defaultNormal.GetDefaultHeight());
        m_colWidths.assign(static_cast<std::size_t>(m_colCount), m_defaultNormal.GetDefaultWidth());
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
    ResetScrollBars();
    return TRUE;
}

void CZellGrid::PreSubclassWindow()
{
    CWnd::PreSubclassWindow();
    Attach();
}

// What creation and subclassing have in common: the frame and the font.
void CZellGrid::Attach()
{
    if (m_attached)
        return;
    m_attached = TRUE;
    if (m_staticEdge)
        ModifyStyleEx(WS_EX_CLIENTEDGE, WS_EX_STATICEDGE);
    CRect window;
    GetWindowRect(window);
    if (CWnd* parent = GetParent())
        parent->ScreenToClient(window);
    MoveWindow(window.left, window.top, window.Width() + 1, window.Height() + 1, FALSE);
    MoveWindow(window.left, window.top, window.Width(), window.Height(), FALSE);
    LOGFONTW font{};
    HWND parent = ::GetParent(m_hWnd);
    HFONT parentFont = parent != nullptr ? reinterpret_cast<HFONT>(::SendMessageW(parent, WM_GETFONT, 0, 0)) : nullptr;
    if (parentFont == nullptr || ::GetObjectW(parentFont, sizeof font, &font) == 0) {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
        font = metrics.lfMessageFont;
    }
    for (CGridDefaultCell* cell : {&m_defaultNormal, &m_defaultFixedCol, &m_defaultFixedRow, &m_defaultCorner})
        cell->SetFont(&font);
}

CGridDefaultCell* CZellGrid::GetDefaultCell(BOOL fixedRow, BOOL fixedCol) const
{
    if (fixedRow && fixedCol)
        return &m_defaultCorner;
    if (fixedRow)
        return &m_defaultFixedRow;
    if (fixedCol)
        return &m_defaultFixedCol;
    return &m_defaultNormal;
}

// --- notifications -------------------------------------------------------------

HWND CZellGrid::NotifyTarget() const
{
    if (m_hWnd == nullptr || !::IsWindow(m_hWnd))
        return nullptr;
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    HWND target = owner != nullptr ? owner : ::GetParent(m_hWnd);
    return target != nullptr && ::IsWindow(target) ? target : nullptr;
}

NMHDR CZellGrid::NotifyHeader(int code) const
{
    NMHDR header{};
    header.hwndFrom = m_hWnd;
    header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    header.code = static_cast<UINT>(code);
    return header;
}

LRESULT CZellGrid::SendNotify(NMHDR* header) const
{
    HWND target = NotifyTarget();
    if (target == nullptr)
        return 0;
    return ::SendMessageW(target, WM_NOTIFY, header->idFrom, reinterpret_cast<LPARAM>(header));
}

LRESULT CZellGrid::SendMessageToParent(int row, int col, int code) const
{
    if (NotifyTarget() == nullptr)
        return 0;
    NMGRIDCELL record;
    record.hdr = NotifyHeader(code);
    record.row = row;
    record.col = col;
    return SendNotify(&record.hdr);
}

LRESULT CZellGrid::SendDisplayRequestToParent(GRIDITEM* item) const
{
    if (NotifyTarget() == nullptr)
        return 0;
    NMGRIDDISPINFO record;
    record.hdr = NotifyHeader(GRIDN_GETDISPINFO);
    record.item = *item;
    const LRESULT result = SendNotify(&record.hdr);
    *item = record.item;
    return result;
}

LRESULT CZellGrid::SendCacheHintToParent(const CCellRange& range) const
{
    if (NotifyTarget() == nullptr)
        return 0;
    NMGRIDCACHEHINT record;
    record.hdr = NotifyHeader(GRIDN_ODCACHEHINT);
    record.range = range;
    return SendNotify(&record.hdr);
}

// --- properties ------------------------------------------------------------------

void CZellGrid::SetHighlightColours(COLORREF selectedBack, COLORREF selectedText, COLORREF focusBack,
                                    COLORREF focusText)
{
    m_selectedBack = selectedBack;
    m_selectedText = selectedText;
    m_defaultNormal.SetHighlightColours(selectedBack, selectedText, focusBack, focusText);
}

BOOL CZellGrid::HighlightCell(int row, int col, BOOL on)
{
    if (!SetCellBackColour(row, col, on ? m_selectedBack : CLR_DEFAULT))
        return FALSE;
    SetCellTextColour(row, col, on ? m_selectedText : CLR_DEFAULT);
    RedrawCell(row, col);
    return TRUE;
}

void CZellGrid::SetGridLines(int mode)
{
    m_gridLines = mode;
    if (m_hWnd != nullptr && m_drawing)
        Invalidate();
}

void CZellGrid::SetListMode(BOOL on)
{
    ClearSelection();
    SetSortColumn(-1);
    m_listMode = on;
    if (on)
        m_fixedColSelects = FALSE;
    if (m_hWnd != nullptr && m_drawing)
        Invalidate();
}

void CZellGrid::AllowDrawing(BOOL on, BOOL resetScrollBars)
{
    const BOOL wasOn = m_drawing;
    m_drawing = on;
    if (on && !wasOn && m_hWnd != nullptr)
        Invalidate();
    if (on && resetScrollBars)
        ResetScrollBars();
}

void CZellGrid::EnableSelection(BOOL on)
{
    ClearSelection();
    m_selection = on;
}

void CZellGrid::SetVirtualMode(BOOL on)
{
    RemoveAllCells();
    m_virtualMode = on;
    if (on) {
        m_editing = FALSE;
        m_headerSort = FALSE;
        m_fixedRowSelects = FALSE;
        m_fixedColSelects = FALSE;
        m_autoSizeScope = GRIDAUTOSIZE_FIXED;
    }
}

void CZellGrid::SetVirtualModeCallback(GRIDCALLBACK callback, LPARAM userValue)
{
    m_callback = callback;
    m_callbackValue = userValue;
}

void CZellGrid::SetSortColumn(int col)
{
    if (m_sortColumn >= 0)
        InvalidateCellRect(0, m_sortColumn);
    m_sortColumn = col;
    if (col >= 0)
        InvalidateCellRect(0, col);
}

void CZellGrid::MarkModified(BOOL modified, int row, int col)
{
    if (col < 0 || col == m_sortColumn)
        SetSortColumn(-1);
    if (row < 0 || col < 0) {
        m_modified = modified;
    } else if (CGridCellBase* cell = m_virtualMode ? nullptr : GetCellAt(row, col)) {
        if (modified) {
            cell->SetState(cell->GetState() | GRIDSTATE_MODIFIED);
            m_modified = TRUE;
        } else {
            cell->SetState(cell->GetState() & ~GRIDSTATE_MODIFIED);
        }
    }
    if (m_modified || m_virtualMode)
        return;
    for (CellRow& cells : m_cells)
        for (CGridCellBase* cell : cells)
            if (cell != nullptr)
                cell->SetState(cell->GetState() & ~GRIDSTATE_MODIFIED);
}

BOOL CZellGrid::IsCellModified(int row, int col) const
{
    if (row < 0 || col < 0)
        return m_modified;
    const CGridCellBase* cell = GetCellAt(row, col);
    return cell != nullptr && cell->IsModified();
}

// --- system colours and fonts ----------------------------------------------------

void CZellGrid::OnSysColorChange()
{
    CWnd::OnSysColorChange();
    const COLORREF windowText = ::GetSysColor(COLOR_WINDOWTEXT);
    const COLORREF window = ::GetSysColor(COLOR_WINDOW);
    for (CGridDefaultCell* cell : {&m_defaultNormal, &m_defaultFixedCol, &m_defaultFixedRow, &m_defaultCorner}) {
        if (cell->GetTextColour() == m_sysWindowText)
            cell->SetTextColour(windowText);
        if (cell->GetBackColour() == m_sysWindow)
            cell->SetBackColour(window);
    }
    if (m_backColour == m_sysButtonShadow)
        m_backColour = ::GetSysColor(COLOR_BTNSHADOW);
    m_sysWindowText = windowText;
    m_sysWindow = window;
    m_sysButtonFace = ::GetSysColor(COLOR_BTNFACE);
    m_sysButtonShadow = ::GetSysColor(COLOR_BTNSHADOW);
    m_selectedBack = g_selectedBack;
    m_selectedText = g_selectedText;
}

LRESULT CZellGrid::OnSetFontMessage(WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = Default();
    LOGFONTW font{};
    if (wParam != 0 && ::GetObjectW(reinterpret_cast<HFONT>(wParam), sizeof font, &font) != 0) {
        for (CGridDefaultCell* cell : {&m_defaultNormal, &m_defaultFixedCol, &m_defaultFixedRow, &m_defaultCorner})
            cell->SetFont(&font);
    }
    if (m_drawing)
        Invalidate();
    return result;
}

LRESULT CZellGrid::OnGetFontMessage(WPARAM, LPARAM)
{
    CFont* font = m_defaultNormal.GetFontObject();
    return reinterpret_cast<LRESULT>(font != nullptr ? font->GetSafeHandle() : nullptr);
}

}  // namespace ZELL::Grid
