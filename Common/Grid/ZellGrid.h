#pragma once
// A spreadsheet-like child window: a table of cells in rows and columns,
// the first of which can be fixed as headings that do not scroll. The grid
// owns the cells, their sizes, the selection, the focus cell and the scroll
// position; each cell draws, prints and edits itself. The grid tells its
// owner (or parent) what happens by WM_NOTIFY with the records of
// GridNotify.h, and posts WM_COMMAND after a left click on a cell.
#include "Common/Grid/CellRange.h"
#include "Common/Grid/GridDefaultCell.h"
#include "Common/Grid/GridPageBreaks.h"
#include "Common/Grid/GridNotify.h"
#include "Platform/Framework/DragDrop/OleDropTarget.h"
#include "Platform/Framework/Windows/Wnd.h"

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

class CCmdUI;
class CFont;
class CImageList;
class CPrintDialog;
class CPrintInfo;
class COleDataSource;
class COleDataObject;
class COleDropSource;

namespace ZELL::Grid {

class CTitleTip;
class CGridDropTarget;
class CGridTextTable;

constexpr int GRIDLINES_NONE = 0;
constexpr int GRIDLINES_HORZ = 1;
constexpr int GRIDLINES_VERT = 2;
constexpr int GRIDLINES_BOTH = 3;

// Auto-size scope bits: the fixed rows, the rows after them.
constexpr int GRIDAUTOSIZE_FIXED = 1;
constexpr int GRIDAUTOSIZE_NORMAL = 2;

using GRIDCOMPARE = int (*)(const CGridCellBase* first, const CGridCellBase* second, LPARAM userValue);

void SetGridHighlightColours(COLORREF back, COLORREF text);

class CZellGrid : public CWnd {
    DECLARE_DYNCREATE(CZellGrid)
public:
    static constexpr LPCWSTR kClassName = L"ZellGrid";
    static constexpr UINT_PTR kAutoScrollTimer = 513;

    enum MouseMode {
        kNothing = 0,
        kSelectingAll = 1,
        kSelectingColumns = 2,
        kSelectingRows = 3,
        kSelectingCells = 4,
        kOverRowDivider = 6,
        kSizingRow = 7,
        kOverColumnDivider = 8,
        kSizingColumn = 9,
        kPreparingEdit = 10,
        kPreparingDrag = 11,
        kDragging = 12,
    };

    explicit CZellGrid(int rows = 0, int cols = 0, int fixedRows = 0, int fixedCols = 0);
    ~CZellGrid() override;

    BOOL Create(const RECT& rect, CWnd* parent, UINT id, DWORD style = WS_CHILD | WS_BORDER | WS_TABSTOP | WS_VISIBLE);
    static BOOL RegisterWindowClass();

    // --- counts and sizes --------------------------------------------------
    int GetRowCount() const { return m_rowCount; }
    int GetColumnCount() const { return m_colCount; }
    int GetFixedRowCount() const { return m_fixedRows; }
    int GetFixedColumnCount() const { return m_fixedCols; }
    BOOL SetRowTotal(int rows);
    BOOL SetColumnTotal(int cols);
    BOOL SetFixedRowTotal(int fixedRows);
    BOOL SetFixedColumnTotal(int fixedCols);
    int GetRowHeight(int row) const;
    int GetColumnWidth(int col) const;
    BOOL SetRowHeight(int row, int height);
    BOOL SetColumnWidth(int col, int width);
    int GetFixedRowHeight() const;
    int GetFixedColumnWidth() const;
    long GetVirtualHeight() const;
    long GetVirtualWidth() const;

    // --- cells ---------------------------------------------------------------
    CGridCellBase* GetCell(int row, int col) const { return GetCellAt(row, col); }
    CGridCellBase* GetCellAt(int row, int col) const;
    CGridDefaultCell* GetDefaultCell(BOOL fixedRow, BOOL fixedCol) const;
    BOOL IsValid(int row, int col) const { return row >= 0 && row < m_rowCount && col >= 0 && col < m_colCount; }
    BOOL IsValid(const CCellID& cell) const { return IsValid(cell.row, cell.col); }
    BOOL IsValid(const CCellRange& range) const;
    BOOL SetCellText(int row, int col, LPCWSTR text);
    template<typename... Args> BOOL SetCellTextFormat(int row, int col, LPCWSTR format, const Args&... args)
    {
        CString text;
        text.Format(format, args...);
        return SetCellText(row, col, text);
    }
    // The string resource as format.
    template<typename... Args> BOOL SetCellTextResource(int row, int col, UINT formatId, const Args&... args)
    {
        const CString format = LoadFormat(formatId);
        return !format.IsEmpty() && SetCellTextFormat(row, col, format.GetString(), args...);
    }
    static CString LoadFormat(UINT id);
    BOOL SetCellUserValue(int row, int col, LPARAM value);
    BOOL SetCellImage(int row, int col, int image);
    BOOL SetCellFormat(int row, int col, DWORD format);
    BOOL SetCellTextColour(int row, int col, COLORREF colour);
    BOOL SetCellBackColour(int row, int col, COLORREF colour);
    BOOL SetCellFont(int row, int col, const LOGFONTW* font);
    BOOL SetCellMargin(int row, int col, UINT margin);
    BOOL SetCellState(int row, int col, UINT state);
    BOOL SetCellReadOnly(int row, int col, BOOL readOnly = TRUE);
    CString GetCellText(int row, int col) const;
    LPARAM GetCellUserValue(int row, int col) const;
    int GetCellImage(int row, int col) const;
    UINT GetCellState(int row, int col) const;
    DWORD GetCellFormat(int row, int col) const;
    COLORREF GetCellTextColour(int row, int col) const;
    COLORREF GetCellBackColour(int row, int col) const;
    UINT GetCellMargin(int row, int col) const;
    const LOGFONTW* GetCellFont(int row, int col) const;
    BOOL IsCellModified(int row, int col) const;
    BOOL IsCellEditable(int row, int col) const;
    BOOL IsCellFixed(int row, int col) const { return row < m_fixedRows || col < m_fixedCols; }
    BOOL GetItem(GRIDITEM* item) const;
    BOOL SetItem(const GRIDITEM* item);
    BOOL SetRowTextColour(int row, COLORREF colour, BOOL includeFixed = FALSE);
    BOOL SetRowBackColour(int row, COLORREF colour, BOOL includeFixed = FALSE);
    BOOL SetRowFormat(int row, DWORD format, BOOL includeFixed = FALSE);
    BOOL SetRowFont(int row, const LOGFONTW* font, BOOL includeFixed = FALSE);
    BOOL SetColumnBackColour(int col, COLORREF colour, BOOL includeFixed = FALSE);
    BOOL SetColumnFormat(int col, DWORD format, BOOL includeFixed = FALSE);
    BOOL SetColumnFont(int col, const LOGFONTW* font, BOOL includeFixed = FALSE);
    BOOL EnableRowCells(int row, BOOL enable, BOOL includeFixed = FALSE);
    BOOL ReplaceCellClass(int row, int col, const CRuntimeClass* cellClass);
    BOOL SetDefaultCellClass(const CRuntimeClass* cellClass);
    CCellID FindNextCell(CCellID from, UINT flags) const;

    // --- rows and columns ----------------------------------------------------
    int InsertColumn(LPCWSTR heading, DWORD format = DT_CENTER | DT_VCENTER | DT_SINGLELINE, int col = -1);
    int InsertRow(LPCWSTR heading, int row = -1);
    BOOL DeleteColumn(int col);
    BOOL DeleteRow(int row);
    BOOL DeleteNonFixedRows();
    BOOL RemoveAllCells();
    BOOL FitColumnWidth(int col, int scope = 0, BOOL resetScrollBars = TRUE);
    BOOL FitRowHeight(int row, BOOL resetScrollBars = TRUE);
    void FitAllColumnWidths(int scope = 0);
    void FitAllRowHeights();
    void FitAllCells(int scope = 0);
    void SpreadColumnsOverWidth(BOOL includeFixed = FALSE);
    void SpreadRowsOverHeight(BOOL includeFixed = FALSE);
    void ExpandToFit(BOOL includeFixed = TRUE);
    void StretchLastColumn();
    void FillClientWithDefaultCells();

    // --- modified marks ------------------------------------------------------
    void MarkModified(BOOL modified = TRUE, int row = -1, int col = -1);
    BOOL IsModified() const { return m_modified; }

    // --- properties ----------------------------------------------------------
    void SetGridLines(int mode);
    int GetGridLines() const { return m_gridLines; }
    void SetGridLineColour(COLORREF colour) { m_gridLineColour = colour; }
    COLORREF GetGridLineColour() const { return m_gridLineColour; }
    void SetGridBackColour(COLORREF colour) { m_backColour = colour; }
    COLORREF GetGridBackColour() const { return m_backColour; }
    void SetTitleTipColours(COLORREF back, COLORREF text) { m_titleTipBack = back; m_titleTipText = text; }
    void EnableEditing(BOOL on = TRUE) { m_editing = on; }
    BOOL IsEditingEnabled() const { return m_editing; }
    void SetListMode(BOOL on = TRUE);
    BOOL GetListMode() const { return m_listMode; }
    void SetSingleRowSelection(BOOL on = TRUE) { m_singleRow = on; }
    void SetSingleColumnSelection(BOOL on = TRUE) { m_singleCol = on; }
    void AllowDrawing(BOOL on = TRUE, BOOL resetScrollBars = TRUE);
    BOOL IsDrawingAllowed() const { return m_drawing; }
    void EnableSelection(BOOL on = TRUE);
    BOOL IsSelectionEnabled() const { return m_selection; }
    void SetFixedRowSelection(BOOL on = TRUE) { m_fixedRowSelects = on; }
    void SetFixedColumnSelection(BOOL on = TRUE) { m_fixedColSelects = on; }
    void EnableRowResize(BOOL on = TRUE) { m_rowResize = on; }
    void EnableColumnResize(BOOL on = TRUE) { m_colResize = on; }
    void SetResizePassesHidden(BOOL columns, BOOL rows) { m_resizePassesHiddenCols = columns; m_resizePassesHiddenRows = rows; }
    void SetResizeMayHide(BOOL columns, BOOL rows) { m_resizeHidesCols = columns; m_resizeHidesRows = rows; }
    void SetHeaderSort(BOOL on = TRUE) { m_headerSort = on; }
    void SetHandleTabKey(BOOL on = TRUE) { m_handleTab = on; }
    // Painting is always flicker-free here (see OnPaint); the setting is kept
    // for callers and reported back.
    void SetDoubleBuffering(BOOL on = TRUE) { m_doubleBuffer = on; }
    BOOL GetDoubleBuffering() const { return m_doubleBuffer; }
    void EnableTitleTips(BOOL on = TRUE) { m_titleTips = on; }
    BOOL GetTitleTips() const { return m_titleTips; }
    void SetTrackFocusCell(BOOL on = TRUE) { m_trackFocus = on; }
    BOOL GetTrackFocusCell() const { return m_trackFocus; }
    void SetFrameFocusCell(BOOL on = TRUE) { m_frameFocus = on; }
    BOOL GetFrameFocusCell() const { return m_frameFocus; }
    void SetFlatFixedCells(BOOL on = TRUE) { m_flatFixed = on; }
    BOOL GetFlatFixedCells() const { return m_flatFixed; }
    void SetPrintColours(BOOL on = TRUE) { m_printColours = on; }
    BOOL GetPrintColours() const { return m_printColours; }
    void SetAutoSizeScope(int scope) { m_autoSizeScope = scope; }
    int GetAutoSizeScope() const { return m_autoSizeScope; }
    void EnableDragAndDrop(BOOL on = TRUE) { m_dragAndDrop = on; }
    // The source's feedback during drags (null: the standard one).
    void SetDropSource(COleDropSource* source) { m_dropSource = source; }
    void SetImageList(CImageList* images) { m_imageList = images; }
    CImageList* GetImageList() const { return m_imageList; }
    void SetVirtualMode(BOOL on);
    BOOL GetVirtualMode() const { return m_virtualMode; }
    void SetVirtualModeCallback(GRIDCALLBACK callback, LPARAM userValue = 0);
    void SetSortColumn(int col);
    int GetSortColumn() const { return m_sortColumn; }
    void SetSortAscending(BOOL ascending) { m_sortAscending = ascending; }
    BOOL GetSortAscending() const { return m_sortAscending; }
    void SetCompareFunction(GRIDCOMPARE compare) { m_compare = compare; }
    void SetStaticEdge(BOOL on) { m_staticEdge = on; }
    int GetWheelScrollLines() const { return m_wheelLines; }
    void SetWheelScrollLines(int lines) { m_wheelLines = lines; }
    UINT GetAutoScrollInterval() const { return m_autoScrollInterval; }

    // --- geometry (drawing and scrolling) ------------------------------------
    BOOL GetCellRect(int row, int col, LPRECT rect) const;
    BOOL GetCellRect(const CCellID& cell, LPRECT rect) const { return GetCellRect(cell.row, cell.col, rect); }
    BOOL GetCellOrigin(int row, int col, LPPOINT origin) const;
    BOOL GetCellRangeRect(const CCellRange& range, LPRECT rect) const;
    BOOL GetTextRect(int row, int col, LPRECT rect);
    CCellID GetCellFromPoint(CPoint point, BOOL allowFixed = TRUE) const;
    CCellID GetTopLeftNonFixedCell(BOOL forceRecalc = FALSE) const;
    CCellRange GetVisibleNonFixedCellRange(LPRECT rect = nullptr, BOOL forceRecalc = FALSE) const;
    CCellRange GetUnobstructedNonFixedCellRange(BOOL forceRecalc = FALSE) const;
    BOOL IsCellVisible(int row, int col) const;
    BOOL IsCellVisible(const CCellID& cell) const { return IsCellVisible(cell.row, cell.col); }
    BOOL InvalidateCellRect(int row, int col);
    BOOL InvalidateCellRect(const CCellRange& range);
    BOOL RedrawCell(int row, int col, CDC* dc = nullptr);
    BOOL RedrawRow(int row);
    BOOL RedrawColumn(int col);
    void ResetScrollBars();
    int GetScrollPos32(int bar) const { return bar == SB_HORZ ? m_hScrollPos : m_vScrollPos; }
    void SetScrollPos32(int bar, int pos);
    int GetScrollRangeMax(int bar) const { return bar == SB_HORZ ? m_hScrollMax : m_vScrollMax; }
    BOOL IsScrollBarShown(int bar) const { return (m_barState & (bar == SB_HORZ ? 1 : 2)) != 0; }
    void EnsureVisible(int row, int col);
    void EnsureVisible(const CCellID& cell) { EnsureVisible(cell.row, cell.col); }

    // --- selection and focus -------------------------------------------------
    CCellID GetFocusCell() const { return m_focusCell; }
    CCellID SetFocusCell(int row, int col);
    CCellID SetFocusCell(const CCellID& cell) { return SetFocusCell(cell.row, cell.col); }
    void SetSelectedRange(int minRow, int minCol, int maxRow, int maxCol, BOOL forceRedraw = FALSE,
                          BOOL select = TRUE);
    void SetSelectedRange(const CCellRange& range, BOOL forceRedraw = FALSE, BOOL select = TRUE)
    {
        SetSelectedRange(range.minRow, range.minCol, range.maxRow, range.maxCol, forceRedraw, select);
    }
    CCellRange GetSelectedCellRange() const;
    int GetSelectedCount() const { return static_cast<int>(m_selected.size()); }
    BOOL IsCellSelected(int row, int col) const;
    void SelectAllCells();
    void SelectCells(CCellID cell, BOOL forceRedraw = FALSE, BOOL select = TRUE);
    void SelectColumns(CCellID cell, BOOL forceRedraw = FALSE, BOOL select = TRUE);
    void SelectRows(CCellID cell, BOOL forceRedraw = FALSE, BOOL select = TRUE);
    void ClearSelection();
    int GetMouseMode() const { return m_mouseMode; }
    static DWORD CellKey(int row, int col) { return (static_cast<DWORD>(col) << 16) | (static_cast<DWORD>(row) & 0xFFFF); }

    // --- notifications -------------------------------------------------------
    LRESULT SendMessageToParent(int row, int col, int code) const;
    LRESULT SendDisplayRequestToParent(GRIDITEM* item) const;
    LRESULT SendCacheHintToParent(const CCellRange& range) const;

    // --- clipboard -------------------------------------------------------------
    void ClearCellTexts(int minRow, int minCol, int maxRow, int maxCol);

    // --- sorting (heading clicks) ---------------------------------------------
    BOOL SortItems(GRIDCOMPARE compare, int col, BOOL ascending, LPARAM userValue = 0);
    BOOL SortTextItems(int col, BOOL ascending, LPARAM userValue = 0);
    BOOL Sort(int col, BOOL ascending, LPARAM userValue = 0);
    static int CompareText(const CGridCellBase* first, const CGridCellBase* second, LPARAM userValue);
    static int CompareNumbers(const CGridCellBase* first, const CGridCellBase* second, LPARAM userValue);

    // --- delimited text files --------------------------------------------------
    // The first line gives the columns, every further line a row; false (the
    // grid untouched, the failure reported) for a file that cannot be read.
    BOOL LoadFromFile(LPCWSTR path, WCHAR separator = L',');
    BOOL SaveToFile(LPCWSTR path, WCHAR separator = L',');

    // --- printing --------------------------------------------------------------
    // Prints the whole grid on the dialog's printer, or on the one the user
    // chooses; false when the user cancelled or printing failed.
    BOOL Print(CPrintDialog* printDialog = nullptr);
    // In characters (header, footer, gap: lines); a negative value keeps the old one.
    void SetPrintMargins(int header, int footer, int left, int right, int top, int bottom, int gap);
    // On: pages of the printer's size at the screen's scale, split across as
    // well as down; off: the grid's width fills the page width.
    void SetPrintAtScreenScale(BOOL on = TRUE) { m_printAtScreenScale = on; }
    BOOL GetPrintAtScreenScale() const { return m_printAtScreenScale; }
    // The pages the last OnBeginPrinting laid out.
    int GetPrintPagesDown() const { return m_printRows.PageCount(); }
    int GetPrintPagesAcross() const { return m_printAtScreenScale ? m_printColumns.PageCount() : 1; }

    // --- the grid's own operations, in slot order ---------------------------
    virtual void SetHighlightColours(COLORREF selectedBack, COLORREF selectedText, COLORREF focusBack,
                                     COLORREF focusText);
    virtual COLORREF GetSelectedTextColour() const { return m_selectedText; }
    virtual COLORREF GetSelectedBackColour() const { return m_selectedBack; }
    virtual COLORREF GetFocusTextColour() const { return m_defaultNormal.GetFocusTextColour(); }
    virtual COLORREF GetFocusBackColour() const { return m_defaultNormal.GetFocusBackColour(); }
    virtual BOOL HighlightCell(int row, int col, BOOL on = TRUE);
    virtual void ClearSelectedTexts();
    virtual COleDataSource* CopyTextFromGrid();
    virtual BOOL PasteTextToGrid(CCellID cell, COleDataObject* data, BOOL select = TRUE);
    virtual void OnBeginDrag();
    virtual DROPEFFECT OnDragEnter(COleDataObject* data, DWORD keyState, CPoint point);
    virtual DROPEFFECT OnDragOver(COleDataObject* data, DWORD keyState, CPoint point);
    virtual void OnDragLeave();
    virtual BOOL OnDrop(COleDataObject* data, DROPEFFECT effect, CPoint point);
    virtual void OnEditCut();
    virtual void OnEditCopy();
    virtual void OnEditPaste();
    virtual void OnEditSelectAll();
    // Command UI of the Edit commands: what the grid could do with each now.
    void OnUpdateEditCut(CCmdUI* ui);
    void OnUpdateEditCopy(CCmdUI* ui);
    void OnUpdateEditPaste(CCmdUI* ui);
    void OnUpdateEditSelectAll(CCmdUI* ui);
    virtual void OnBeginPrinting(CDC* dc, CPrintInfo* info);
    virtual void OnPrint(CDC* dc, CPrintInfo* info);
    virtual void OnEndPrinting(CDC* dc, CPrintInfo* info);
    // The cells of a fixed row from column `from` up to `to` (excluded) from
    // the left of `rect` while they fit its width; `first` draws their left line.
    virtual void PrintHeadingRowCells(int from, int to, int row, CRect rect, CDC* dc, BOOL first);
    virtual void PrintColumnHeadings(CDC* dc, CPrintInfo* info);
    virtual void PrintHeader(CDC* dc, CPrintInfo* info);
    virtual void PrintFooter(CDC* dc, CPrintInfo* info);
    virtual void PrintRowHeadings(CDC* dc, CPrintInfo* info);
    // The focus cell's picture as a drag image (its background colour masked
    // out), and its size in `size`; null when it has no rectangle or the
    // picture could not be made.
    virtual std::unique_ptr<CImageList> CreateDragImage(CPoint* size);
    virtual void OnFixedColumnClick(CCellID& cell);
    virtual void OnFixedRowClick(CCellID& cell);
    virtual void OnEditCell(int row, int col, CPoint point, UINT key);
    virtual void EndEditing();
    virtual void OnEndEditCell(int row, int col, CString text);
    virtual BOOL ValidateEdit(int row, int col, LPCWSTR text);
    virtual void OnDraw(CDC* dc);
    virtual CGridCellBase* CreateCell(int row, int col);
    virtual void DestroyCell(int row, int col);
    // Tells the user why a text file was not loaded or saved.
    virtual void OnTextFileError(LPCWSTR message);

protected:
    DECLARE_MESSAGE_MAP()
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    void OnPaint();
    BOOL OnEraseBkgnd(CDC* dc);
    void OnSize(UINT type, int cx, int cy);
    void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
    void OnVScroll(UINT code, UINT pos, CScrollBar* bar);
    BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnLButtonDblClk(UINT flags, CPoint point);
    void OnRButtonUp(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnTimer(UINT_PTR id);
    BOOL OnSetCursor(CWnd* window, UINT hitTest, UINT message);
    void OnCaptureChanged(CWnd* window);
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    void OnChar(UINT ch, UINT repeat, UINT flags);
    void OnSetFocus(CWnd* old);
    void OnKillFocus(CWnd* next);
    void OnSysColorChange();
    LRESULT OnSetFontMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetFontMessage(WPARAM wParam, LPARAM lParam);
    static UINT ContinueEditMessage();

    // Selection by the mouse mode, to the cell.
    void OnSelecting(const CCellID& cell);
    // Sets a cell's text as an edit does: asks the parent first and after.
    BOOL SetTextByEdit(int row, int col, LPCWSTR text);

private:
    friend class CGridDropTarget;
    using CellRow = std::vector<CGridCellBase*>;

    void Attach();
    HWND NotifyTarget() const;
    NMHDR NotifyHeader(int code) const;
    LRESULT SendNotify(NMHDR* header) const;
    void SpreadOverClient(bool columns, BOOL includeFixed);
    void ResetColourSet(int row, int col);
    bool GrowRows(int rows);
    bool GrowColumns(int cols);
    void ShrinkRows(int rows);
    void ShrinkColumns(int cols);
    template<typename Setter> BOOL ForRow(int row, BOOL includeFixed, Setter setter);
    template<typename Setter> BOOL ForColumn(int col, BOOL includeFixed, Setter setter);
    void FillVirtualCell(int row, int col) const;
    int ExtentOf(int row, int col, CDC* dc, bool width) const;
    void AfterCountChange();
    bool FillFromTable(const CGridTextTable& table);
    std::vector<int> SortedOrder(GRIDCOMPARE compare, int col, bool ascending, LPARAM userValue) const;
    void MoveRows(const std::vector<int>& order);

    // drawing
    void FillBackground(CDC* dc, const CRect& clip, const CRect& visible);
    void DrawCellSpan(CDC* dc, const CRect& clip, int firstRow, int lastRow, int firstCol, int lastCol, int top,
                      int left);
    void DrawGridLines(CDC* dc, const CCellRange& visible, const CRect& area);
    void DrawCellLines(CDC* dc, const CRect& rect);
    void ScrollAxis(int bar, UINT code);
    int ScrollLineSize(int bar, bool forward) const;
    void InvalidateScrolledArea(int bar);

    // input
    bool OverColumnDivider(CPoint point) const;
    bool OverRowDivider(CPoint point) const;
    void StartSizing(CPoint point);
    void FinishSizing(CPoint point);
    void DrawSizingLine(CPoint point);
    void ShowTitleTip(const CCellID& cell);
    void HideTitleTip();
    void MoveFocusByKey(UINT key, bool shift, bool control);
    CCellID NextCellForKey(UINT key, bool shift, bool control);
    bool HasTabStep(bool back) const;
    UINT DialogCode(const MSG* msg) const;
    CCellID FirstFocusCell();
    void DrawFocusMark(CDC* dc);
    void AfterKeyMove(const CCellID& next, UINT key, bool shift);
    int NextVisibleRow(int row, int step) const;
    int NextVisibleColumn(int col, int step) const;
    void ContinueEditing(UINT key);
    void AutoScrollStep();
    void SetSelectedState(int row, int col, bool selected);
    // Deselects every cell; the focus stays.
    void DeselectAll();

    // printing
    void PrintPages(CDC* dc, CPrintInfo& info);
    CString PrintHeaderTitle() const;
    int PrintPageOf(const CPrintInfo* info, bool across) const;
    void PrintCellAt(CDC* dc, int row, int col, const CRect& rect);
    void PrintCellLines(CDC* dc, const CRect& rect, bool firstRowOnPage, bool firstColumnOnPage, int row, int col);
    void PrintBody(CDC* dc, CPrintInfo* info);
    void PrintCellBlock(CDC* dc, int firstRow, int endRow, int firstCol, int endCol, CPoint at, const CRect& clip,
                        bool leftLine);
    CRect PrintBodyRect() const;
    CRect PrintBandRect(int lines) const;

    // storage
    std::vector<CellRow> m_cells;
    std::vector<int> m_rowHeights;
    std::vector<int> m_colWidths;
    int m_rowCount = 0;
    int m_colCount = 0;
    int m_fixedRows = 0;
    int m_fixedCols = 0;
    mutable CGridDefaultCell m_defaultNormal;
    mutable CGridDefaultCell m_defaultFixedCol;
    mutable CGridDefaultCell m_defaultFixedRow;
    mutable CGridDefaultCell m_defaultCorner;
    // The one cell that virtual mode fills for each access.
    mutable CGridCell m_virtualCell;

    // properties
    COLORREF m_backColour = ::GetSysColor(COLOR_BTNSHADOW);
    COLORREF m_gridLineColour = RGB(0xC0, 0xC0, 0xC0);
    COLORREF m_sysWindowText = ::GetSysColor(COLOR_WINDOWTEXT);
    COLORREF m_sysWindow = ::GetSysColor(COLOR_WINDOW);
    COLORREF m_sysButtonFace = ::GetSysColor(COLOR_BTNFACE);
    COLORREF m_sysButtonShadow = ::GetSysColor(COLOR_BTNSHADOW);
    COLORREF m_selectedBack = 0;
    COLORREF m_selectedText = 0;
    COLORREF m_titleTipText = CLR_DEFAULT;
    COLORREF m_titleTipBack = CLR_DEFAULT;
    int m_gridLines = GRIDLINES_BOTH;
    BOOL m_editing = TRUE;
    BOOL m_listMode = FALSE;
    BOOL m_singleRow = FALSE;
    BOOL m_singleCol = FALSE;
    BOOL m_drawing = TRUE;
    BOOL m_selection = TRUE;
    BOOL m_fixedRowSelects = TRUE;
    BOOL m_fixedColSelects = TRUE;
    BOOL m_rowResize = TRUE;
    BOOL m_colResize = TRUE;
    BOOL m_resizePassesHiddenCols = TRUE;
    BOOL m_resizePassesHiddenRows = TRUE;
    BOOL m_resizeHidesCols = TRUE;
    BOOL m_resizeHidesRows = TRUE;
    BOOL m_headerSort = FALSE;
    BOOL m_handleTab = TRUE;
    bool m_focusByMouse = false;  // a click chooses the focus cell itself
    bool m_keyFocus = false;      // between WM_SETFOCUS and WM_KILLFOCUS
    BOOL m_doubleBuffer = TRUE;
    BOOL m_titleTips = TRUE;
    BOOL m_trackFocus = TRUE;
    BOOL m_frameFocus = TRUE;
    BOOL m_flatFixed = FALSE;
    BOOL m_printColours = FALSE;
    BOOL m_printAtScreenScale = FALSE;
    struct PrintMargins {
        int header = 2;
        int footer = 2;
        int left = 4;
        int right = 4;
        int top = 1;
        int bottom = 1;
        int gap = 1;
    };
    PrintMargins m_printMargins;
    int m_autoSizeScope = GRIDAUTOSIZE_FIXED | GRIDAUTOSIZE_NORMAL;
    BOOL m_dragAndDrop = FALSE;
    int m_sortColumn = -1;
    BOOL m_sortAscending = TRUE;
    GRIDCOMPARE m_compare = nullptr;
    CImageList* m_imageList = nullptr;
    BOOL m_virtualMode = FALSE;
    GRIDCALLBACK m_callback = nullptr;
    LPARAM m_callbackValue = 0;
    const CRuntimeClass* m_cellClass = nullptr;
    BOOL m_staticEdge = TRUE;
    UINT m_autoScrollInterval = 25;
    int m_resizeCaptureRange = 3;
    int m_wheelLines = 3;
    BOOL m_modified = FALSE;
    BOOL m_attached = FALSE;

    // selection and focus
    CCellID m_focusCell;
    CCellID m_selectionStart;
    CCellID m_pressedCell;
    CCellID m_dropCell;
    std::unordered_map<DWORD, CCellID> m_selected;
    std::unordered_map<DWORD, CCellID> m_previousSelection;
    mutable CCellID m_topLeftCache;

    // scrolling
    int m_hScrollPos = 0;
    int m_vScrollPos = 0;
    int m_hScrollMax = 0;
    int m_vScrollMax = 0;
    int m_barState = 0;

    // input
    int m_mouseMode = kNothing;
    BOOL m_leftButtonDown = FALSE;
    CPoint m_buttonDownPoint;
    CPoint m_lastMousePoint;
    UINT_PTR m_autoScrollTimer = 0;
    int m_sizingIndex = -1;
    CTitleTip* m_titleTip = nullptr;
    CGridDropTarget* m_dropTarget = nullptr;
    std::vector<CCellID> m_draggedCells;
    CCellRange m_droppedAt;
    COleDropSource* m_dropSource = nullptr;

    // print state, between OnBeginPrinting and OnEndPrinting
    std::unique_ptr<CFont> m_printerFont;
    CSize m_printChar;
    CSize m_printPage;
    CSize m_printDevice;
    int m_printUsableHeight = 0;
    int m_printUsableWidth = 0;
    CGridPageBreaks m_printRows;
    CGridPageBreaks m_printColumns;
};

}  // namespace ZELL::Grid
