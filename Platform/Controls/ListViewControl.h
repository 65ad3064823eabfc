#pragma once
// The "SysListView32" class: rows of items with sub-items under a header of
// columns (report mode; the other modes show the first column as a plain
// list), with selection, focus, check boxes, sorting, finding, scrolling and
// the notifications and custom drawing that tell the parent about it.
#include "Platform/Controls/ControlWindow.h"
#include "Platform/Controls/ListViewLabelTip.h"
#include "Platform/Controls/ListViewItem.h"

#include <string>
#include <vector>

namespace ZELL::Controls {

class CListViewControl : public CControlWindow {
public:
    using CControlWindow::CControlWindow;

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC dc) override;

private:
    struct Column {
        int format = LVCFMT_LEFT;
        int subItem = 0;
        int image = -1;
    };
    struct Span {
        int left = 0;
        int right = 0;
    };

    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DispatchColumns(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    LRESULT DispatchItems(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    LRESULT DispatchView(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    void OnCreate();

    // --- columns ------------------------------------------------------------
    LRESULT InsertColumn(int index, const LVCOLUMNW* column);
    LRESULT DeleteColumn(int index);
    LRESULT GetColumn(int index, LVCOLUMNW* column) const;
    LRESULT SetColumn(int index, const LVCOLUMNW* column);
    int ColumnWidth(int index) const;
    LRESULT SetColumnWidth(int index, int width);
    int FittingWidth(int index, bool withHeader) const;
    int ColumnCount() const { return static_cast<int>(m_columns.size()); }
    bool ValidColumn(int index) const { return index >= 0 && index < ColumnCount(); }
    bool Report() const { return (Style() & LVS_TYPEMASK) == LVS_REPORT; }
    // A column's horizontal extent in client coordinates.
    Span ColumnSpan(int index) const;
    int TotalWidth() const;
    LRESULT OnHeaderNotify(NMHEADERW* note);

    // --- items --------------------------------------------------------------
    LRESULT InsertItem(const LVITEMW* item);
    LRESULT DeleteItem(int index);
    LRESULT DeleteAllItems();
    LRESULT GetItem(LVITEMW* item) const;
    LRESULT SetItem(const LVITEMW* item);
    LRESULT GetItemText(int index, LVITEMW* item) const;
    LRESULT SetItemText(int index, const LVITEMW* item);
    int Count() const { return static_cast<int>(m_items.size()); }
    bool Valid(int index) const { return index >= 0 && index < Count(); }
    // The text shown in a sub-item, asking the parent where it keeps it.
    std::wstring TextOf(int index, int subItem) const;
    int ImageOf(int index) const;

    // --- states -------------------------------------------------------------
    // Sets the state bits of `mask` on one item (or all for -1) past the
    // parent's LVN_ITEMCHANGING; false when it refused any.
    bool SetState(int index, UINT state, UINT mask);
    bool ChangeState(int index, UINT state, UINT mask);
    LRESULT Notify(UINT code, NMHDR& header) const;
    LRESULT NotifyCode(UINT code) const;
    LRESULT NotifyListView(UINT code, int index, int subItem, UINT newState, UINT oldState, UINT changed,
                           POINT at = {}) const;
    int FocusedItem() const;
    int SelectedCount() const;
    void SelectOnly(int index);
    void SelectRange(int from, int to);
    void FocusAndShow(int index);
    void ToggleCheck(int index);

    // --- finding and order --------------------------------------------------
    LRESULT FindItem(int start, const LVFINDINFOW* find) const;
    bool Matches(int index, const LVFINDINFOW& find) const;
    LRESULT NextItem(int start, UINT flags) const;
    LRESULT Sort(PFNLVCOMPARE compare, LPARAM sortData, bool byIndex);

    // --- geometry -----------------------------------------------------------
    int RowHeight() const;
    int MeasureRowHeight() const;
    int HeaderHeight() const;
    int CountPerPage() const;
    int MaxTop() const;
    RECT RowRect(int index) const;
    LRESULT ItemRect(int index, RECT* rect) const;
    LRESULT SubItemRect(int index, RECT* rect) const;
    RECT PartRect(int index, int code) const;
    LRESULT HitTest(LVHITTESTINFO* info, bool subItems) const;
    int CheckBoxWidth() const;
    int SmallImageWidth() const;

    // --- scrolling ----------------------------------------------------------
    void SetTop(int top);
    void SetScrollX(int x);
    void EnsureVisible(int index, bool partly);
    void UpdateScrollBars(bool redraw = true);
    void ShowBar(int bar, DWORD style, bool show) const;
    void LayoutHeader();
    void OnScroll(int bar, WORD code);
    void RedrawRows(int first, int last) const;

    // --- input --------------------------------------------------------------
    void OnKeyDown(UINT key);
    void MoveFocus(int target);
    int KeyTarget(UINT key) const;
    void OnChar(wchar_t c);
    void OnButtonDown(POINT at, bool right);
    void OnButtonUp(POINT at);
    void OnDoubleClick(POINT at);
    void NotifyActivate(UINT code, POINT at) const;
    // LVS_EX_LABELTIP: the cell under the pointer unfolds its cut text.
    // LVS_EX_INFOTIP: the parent says what that tip holds (LVN_GETINFOTIP).
    void OnMouseMove(WPARAM keys, LPARAM point);
    std::wstring CutText(int index, int column, RECT& cell) const;
    std::wstring InfoTip(int index, int subItem, const std::wstring& cut);

    // --- drawing ------------------------------------------------------------
    LRESULT CustomDraw(DWORD stage, HDC dc, const RECT& r, int index, int subItem, COLORREF& text, COLORREF& back) const;
    void PaintRow(HDC dc, int index, LRESULT prePaint);
    void PaintCell(HDC dc, int index, int column, const RECT& cell, COLORREF text, COLORREF back) const;
    void PaintFirstCell(HDC dc, int index, RECT cell, COLORREF text, COLORREF back) const;
    void PaintGrid(HDC dc) const;
    bool ShowsSelection() const;
    COLORREF BackColor() const;

    std::vector<ListViewItem> m_items;
    std::vector<Column> m_columns;
    HWND m_header = nullptr;
    CListViewLabelTip m_labelTip;
    // The parent's last answer, so that it is asked once per cell.
    struct InfoTipCache {
        bool asked = false;
        int item = -1;
        int subItem = 0;
        LPARAM data = 0;
        std::wstring cut;
        std::wstring text;
    } m_infoTip;
    HIMAGELIST m_images[3] = {};
    DWORD m_exStyle = 0;
    int m_top = 0;
    int m_scrollX = 0;
    int m_mark = -1;
    mutable int m_focus = -1;  // a hint; FocusedItem checks it
    mutable int m_rowHeight = 0;  // 0 until measured
    COLORREF m_backColor = CLR_DEFAULT;
    COLORREF m_textColor = CLR_DEFAULT;
    COLORREF m_textBackColor = CLR_DEFAULT;
    std::wstring m_typed;
    DWORD m_typedAt = 0;
    bool m_pressed = false;
    bool m_updatingBars = false;
    bool m_barsStale = false;
};

}
