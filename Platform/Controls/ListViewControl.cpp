#include "Platform/Controls/ListViewControl.h"

#include "Platform/Controls/ListViewHelpers.h"
#include "Platform/Base/Clock.h"
#include "Platform/Gdi/Gdi.h"
#include "Platform/Ui/Dialogs.h"
#include "Platform/Ui/ScrollBars.h"

#include <algorithm>
#include <cwctype>
#include <numeric>

namespace ZELL::Controls {

namespace {

constexpr int kCellMargin = 6;
constexpr int kCheckBoxSize = 13;
constexpr int kIndentWidth = 16;
// Keys typed within this many milliseconds of each other make one prefix.
constexpr DWORD kTypeAheadPause = 1000;
constexpr UINT kUnchecked = 1;
constexpr UINT kChecked = 2;


std::wstring Lower(std::wstring text)
{
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return text;
}

void CopyText(const std::wstring& text, LPWSTR out, int capacity)
{
    if (out == nullptr || capacity <= 0)
        return;
    const size_t n = std::min(text.size(), static_cast<size_t>(capacity - 1));
    std::copy_n(text.begin(), n, out);
    out[n] = L'\0';
}

void FillColor(HDC dc, const RECT& r, COLORREF color)
{
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

}

// ---------------------------------------------------------------------------
// Messages
// ---------------------------------------------------------------------------

LRESULT CListViewControl::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    bool handled = true;
    LRESULT result = DispatchColumns(message, wParam, lParam, handled);
    if (!handled) {
        handled = true;
        result = DispatchItems(message, wParam, lParam, handled);
    }
    if (!handled) {
        handled = true;
        result = DispatchView(message, wParam, lParam, handled);
    }
    return handled ? result : Dispatch(message, wParam, lParam);
}

LRESULT CListViewControl::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: OnCreate(); return 0;
    case WM_SIZE: LayoutHeader(); UpdateScrollBars(); Redraw(); return 0;
    case WM_SETFONT: {
        const LRESULT result = CControlWindow::OnMessage(message, wParam, lParam);
        m_rowHeight = 0;
        if (m_header != nullptr)
            SendMessageW(m_header, WM_SETFONT, wParam, lParam);
        LayoutHeader();
        UpdateScrollBars();
        return result;
    }
    case WM_NOTIFY: {
        auto* note = reinterpret_cast<NMHDR*>(lParam);
        if (note != nullptr && note->hwndFrom == m_header && m_header != nullptr)
            return OnHeaderNotify(reinterpret_cast<NMHEADERW*>(lParam));
        return 0;
    }
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_KEYDOWN: OnKeyDown(static_cast<UINT>(wParam)); return 0;
    case WM_CHAR: OnChar(static_cast<wchar_t>(wParam)); return 0;
    case WM_LBUTTONDOWN: OnButtonDown(MousePoint(lParam), false); return 0;
    case WM_RBUTTONDOWN: OnButtonDown(MousePoint(lParam), true); return 0;
    case WM_LBUTTONUP: OnButtonUp(MousePoint(lParam)); return 0;
    case WM_LBUTTONDBLCLK: OnDoubleClick(MousePoint(lParam)); return 0;
    case WM_MOUSEMOVE: OnMouseMove(wParam, lParam); return 0;
    case WM_VSCROLL: OnScroll(SB_VERT, LOWORD(wParam)); return 0;
    case WM_HSCROLL: OnScroll(SB_HORZ, LOWORD(wParam)); return 0;
    case WM_MOUSEWHEEL: SetTop(m_top - static_cast<SHORT>(HIWORD(wParam)) / WHEEL_DELTA * 3); return 0;
    case WM_SETFOCUS: NotifyCode(NM_SETFOCUS); RedrawRows(0, Count() - 1); return 0;
    case WM_KILLFOCUS: NotifyCode(NM_KILLFOCUS); RedrawRows(0, Count() - 1); return 0;
    case WM_DESTROY: m_labelTip.Destroy(); DeleteAllItems(); return CControlWindow::OnMessage(message, wParam, lParam);
    default: return CControlWindow::OnMessage(message, wParam, lParam);
    }
}

LRESULT CListViewControl::DispatchColumns(UINT message, WPARAM wParam, LPARAM lParam, bool& handled)
{
    const int index = static_cast<int>(wParam);
    switch (message) {
    case LVM_INSERTCOLUMNW: return InsertColumn(index, reinterpret_cast<const LVCOLUMNW*>(lParam));
    case LVM_DELETECOLUMN: return DeleteColumn(index);
    case LVM_GETCOLUMNW: return GetColumn(index, reinterpret_cast<LVCOLUMNW*>(lParam));
    case LVM_SETCOLUMNW: return SetColumn(index, reinterpret_cast<const LVCOLUMNW*>(lParam));
    case LVM_GETCOLUMNWIDTH: return ColumnWidth(index);
    case LVM_SETCOLUMNWIDTH: return SetColumnWidth(index, static_cast<SHORT>(LOWORD(static_cast<DWORD>(lParam))));
    case LVM_GETHEADER: return reinterpret_cast<LRESULT>(m_header);
    case LVM_GETCOLUMNORDERARRAY: return SendMessageW(m_header, HDM_GETORDERARRAY, wParam, lParam);
    case LVM_SETCOLUMNORDERARRAY: {
        const LRESULT done = SendMessageW(m_header, HDM_SETORDERARRAY, wParam, lParam);
        Redraw();
        return done;
    }
    default: handled = false; return 0;
    }
}

LRESULT CListViewControl::DispatchItems(UINT message, WPARAM wParam, LPARAM lParam, bool& handled)
{
    const int index = static_cast<int>(wParam);
    switch (message) {
    case LVM_INSERTITEMW: return InsertItem(reinterpret_cast<const LVITEMW*>(lParam));
    case LVM_DELETEITEM: return DeleteItem(index);
    case LVM_DELETEALLITEMS: return DeleteAllItems();
    case LVM_GETITEMW: return GetItem(reinterpret_cast<LVITEMW*>(lParam));
    case LVM_SETITEMW: return SetItem(reinterpret_cast<const LVITEMW*>(lParam));
    case LVM_GETITEMTEXTW: return GetItemText(index, reinterpret_cast<LVITEMW*>(lParam));
    case LVM_SETITEMTEXTW: return SetItemText(index, reinterpret_cast<const LVITEMW*>(lParam));
    case LVM_GETITEMCOUNT: return Count();
    case LVM_SETITEMCOUNT: m_items.reserve(std::min<size_t>(wParam, 1u << 20)); return TRUE;
    case LVM_SETITEMSTATE: {
        const auto* item = reinterpret_cast<const LVITEMW*>(lParam);
        return item != nullptr && (index == -1 || Valid(index)) && SetState(index, item->state, item->stateMask);
    }
    case LVM_GETITEMSTATE: return Valid(index) ? m_items[static_cast<size_t>(index)].state & static_cast<UINT>(lParam) : 0;
    case LVM_GETSELECTEDCOUNT: return SelectedCount();
    case LVM_GETSELECTIONMARK: return m_mark;
    case LVM_SETSELECTIONMARK: {
        const int previous = m_mark;
        m_mark = Valid(static_cast<int>(lParam)) ? static_cast<int>(lParam) : -1;
        return previous;
    }
    case LVM_SORTITEMS: return Sort(reinterpret_cast<PFNLVCOMPARE>(lParam), static_cast<LPARAM>(wParam), false);
    case LVM_SORTITEMSEX: return Sort(reinterpret_cast<PFNLVCOMPARE>(lParam), static_cast<LPARAM>(wParam), true);
    case LVM_FINDITEMW: return FindItem(index, reinterpret_cast<const LVFINDINFOW*>(lParam));
    case LVM_GETNEXTITEM: return NextItem(index, LOWORD(static_cast<DWORD>(lParam)));
    default: handled = false; return 0;
    }
}

LRESULT CListViewControl::DispatchView(UINT message, WPARAM wParam, LPARAM lParam, bool& handled)
{
    const int index = static_cast<int>(wParam);
    const auto swapColor = [this, lParam](COLORREF& color) {
        color = static_cast<COLORREF>(lParam);
        Redraw();
        return TRUE;
    };
    switch (message) {
    case LVM_SETIMAGELIST: {
        if (index < LVSIL_NORMAL || index > LVSIL_STATE)
            return 0;
        HIMAGELIST previous = m_images[index];
        m_images[index] = reinterpret_cast<HIMAGELIST>(lParam);
        m_rowHeight = 0;
        UpdateScrollBars();
        Redraw();
        return reinterpret_cast<LRESULT>(previous);
    }
    case LVM_GETTOOLTIPS: return reinterpret_cast<LRESULT>(m_labelTip.Window());
    case LVM_GETIMAGELIST:
        return index >= LVSIL_NORMAL && index <= LVSIL_STATE ? reinterpret_cast<LRESULT>(m_images[index]) : 0;
    case LVM_SETEXTENDEDLISTVIEWSTYLE: {
        const DWORD previous = m_exStyle;
        const DWORD mask = wParam == 0 ? 0xFFFFFFFFu : static_cast<DWORD>(wParam);
        m_exStyle = (m_exStyle & ~mask) | (static_cast<DWORD>(lParam) & mask);
        m_rowHeight = 0;
        if ((m_exStyle & (LVS_EX_LABELTIP | LVS_EX_INFOTIP)) == 0)
            m_labelTip.Destroy();
        m_infoTip = InfoTipCache{};
        if ((m_exStyle & LVS_EX_CHECKBOXES) != 0 && (previous & LVS_EX_CHECKBOXES) == 0)
            for (ListViewItem& item : m_items)
                if ((item.state & LVIS_STATEIMAGEMASK) == 0)
                    item.state |= INDEXTOSTATEIMAGEMASK(kUnchecked);
        UpdateScrollBars();
        Redraw();
        return previous;
    }
    case LVM_GETEXTENDEDLISTVIEWSTYLE: return m_exStyle;
    case LVM_GETITEMRECT: return ItemRect(index, reinterpret_cast<RECT*>(lParam));
    case LVM_GETSUBITEMRECT: return SubItemRect(index, reinterpret_cast<RECT*>(lParam));
    case LVM_HITTEST: return HitTest(reinterpret_cast<LVHITTESTINFO*>(lParam), false);
    case LVM_SUBITEMHITTEST: return HitTest(reinterpret_cast<LVHITTESTINFO*>(lParam), true);
    case LVM_GETTOPINDEX: return m_top;
    case LVM_GETCOUNTPERPAGE: return CountPerPage();
    case LVM_ENSUREVISIBLE:
        if (!Valid(index))
            return FALSE;
        EnsureVisible(index, lParam != 0);
        return TRUE;
    case LVM_SCROLL: {
        const int rows = static_cast<int>(lParam) / std::max(1, RowHeight());
        SetScrollX(m_scrollX + index);
        SetTop(m_top + rows);
        return TRUE;
    }
    case LVM_REDRAWITEMS: RedrawRows(index, static_cast<int>(lParam)); return TRUE;
    case LVM_UPDATE: RedrawRows(index, index); return TRUE;
    case LVM_GETBKCOLOR: return m_backColor == CLR_DEFAULT ? GetSysColor(COLOR_WINDOW) : m_backColor;
    case LVM_SETBKCOLOR: return swapColor(m_backColor);
    case LVM_GETTEXTCOLOR: return m_textColor == CLR_DEFAULT ? GetSysColor(COLOR_WINDOWTEXT) : m_textColor;
    case LVM_SETTEXTCOLOR: return swapColor(m_textColor);
    case LVM_GETTEXTBKCOLOR: return m_textBackColor;
    case LVM_SETTEXTBKCOLOR: return swapColor(m_textBackColor);
    default: handled = false; return 0;
    }
}

// The header is a child, so that it scrolls sideways with the rows but
// stays at the top.
void CListViewControl::OnCreate()
{
    DWORD headerStyle = WS_CHILD | HDS_HORZ | HDS_FULLDRAG;
    if ((Style() & LVS_NOSORTHEADER) == 0)
        headerStyle |= HDS_BUTTONS;
    if (Report() && (Style() & LVS_NOCOLUMNHEADER) == 0)
        headerStyle |= WS_VISIBLE;
    else
        headerStyle |= HDS_HIDDEN;
    m_header = CreateWindowExW(0, WC_HEADERW, L"", headerStyle, 0, 0, 0, 0, Hwnd(), nullptr, nullptr, nullptr);
    LayoutHeader();
}

// ---------------------------------------------------------------------------
// Columns
// ---------------------------------------------------------------------------

LRESULT CListViewControl::InsertColumn(int index, const LVCOLUMNW* column)
{
    if (column == nullptr || index < 0 || m_header == nullptr)
        return -1;
    index = std::min(index, ColumnCount());
    HDITEMW item;
    item.mask = HDI_FORMAT | HDI_WIDTH;
    item.fmt = HDF_STRING | ((column->mask & LVCF_FMT) != 0 ? column->fmt & LVCFMT_JUSTIFYMASK : LVCFMT_LEFT);
    item.cxy = (column->mask & LVCF_WIDTH) != 0 ? std::max(0, column->cx) : 0;
    if ((column->mask & LVCF_TEXT) != 0 && column->pszText != nullptr) {
        item.mask |= HDI_TEXT;
        item.pszText = column->pszText;
    }
    if ((column->mask & LVCF_IMAGE) != 0) {
        item.mask |= HDI_IMAGE;
        item.iImage = column->iImage;
        if ((column->mask & LVCF_FMT) != 0 && (column->fmt & LVCFMT_IMAGE) != 0)
            item.fmt |= HDF_IMAGE;
    }
    if ((column->mask & LVCF_ORDER) != 0) {
        item.mask |= HDI_ORDER;
        item.iOrder = column->iOrder;
    }
    if (SendMessageW(m_header, HDM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) < 0)
        return -1;
    Column added;
    added.format = (column->mask & LVCF_FMT) != 0 ? column->fmt : LVCFMT_LEFT;
    added.subItem = (column->mask & LVCF_SUBITEM) != 0 ? std::max(0, column->iSubItem) : index;
    added.image = (column->mask & LVCF_IMAGE) != 0 ? column->iImage : -1;
    m_columns.insert(m_columns.begin() + index, added);
    UpdateScrollBars();
    Redraw();
    return index;
}

LRESULT CListViewControl::DeleteColumn(int index)
{
    if (!ValidColumn(index))
        return FALSE;
    SendMessageW(m_header, HDM_DELETEITEM, static_cast<WPARAM>(index), 0);
    m_columns.erase(m_columns.begin() + index);
    UpdateScrollBars();
    Redraw();
    return TRUE;
}

LRESULT CListViewControl::GetColumn(int index, LVCOLUMNW* column) const
{
    if (column == nullptr || !ValidColumn(index))
        return FALSE;
    const Column& source = m_columns[static_cast<size_t>(index)];
    HDITEMW item;
    item.mask = HDI_WIDTH | HDI_ORDER | ((column->mask & LVCF_TEXT) != 0 ? HDI_TEXT : 0);
    item.pszText = column->pszText;
    item.cchTextMax = column->cchTextMax;
    SendMessageW(m_header, HDM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    if ((column->mask & LVCF_FMT) != 0)
        column->fmt = source.format;
    if ((column->mask & LVCF_WIDTH) != 0)
        column->cx = item.cxy;
    if ((column->mask & LVCF_SUBITEM) != 0)
        column->iSubItem = source.subItem;
    if ((column->mask & LVCF_IMAGE) != 0)
        column->iImage = source.image;
    if ((column->mask & LVCF_ORDER) != 0)
        column->iOrder = item.iOrder;
    return TRUE;
}

LRESULT CListViewControl::SetColumn(int index, const LVCOLUMNW* column)
{
    if (column == nullptr || !ValidColumn(index))
        return FALSE;
    Column& target = m_columns[static_cast<size_t>(index)];
    HDITEMW item;
    if ((column->mask & LVCF_FMT) != 0) {
        target.format = column->fmt;
        item.mask |= HDI_FORMAT;
        // The sort arrows are the header's own; a format change keeps them.
        HDITEMW current;
        current.mask = HDI_FORMAT;
        SendMessageW(m_header, HDM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&current));
        item.fmt = HDF_STRING | (column->fmt & LVCFMT_JUSTIFYMASK) | (current.fmt & (HDF_SORTUP | HDF_SORTDOWN)) |
                   ((column->fmt & LVCFMT_IMAGE) != 0 ? HDF_IMAGE : 0);
    }
    if ((column->mask & LVCF_WIDTH) != 0) {
        item.mask |= HDI_WIDTH;
        item.cxy = std::max(0, column->cx);
    }
    if ((column->mask & LVCF_TEXT) != 0) {
        item.mask |= HDI_TEXT;
        item.pszText = column->pszText;
    }
    if ((column->mask & LVCF_IMAGE) != 0) {
        target.image = column->iImage;
        item.mask |= HDI_IMAGE;
        item.iImage = column->iImage;
    }
    if ((column->mask & LVCF_SUBITEM) != 0)
        target.subItem = std::max(0, column->iSubItem);
    if ((column->mask & LVCF_ORDER) != 0) {
        item.mask |= HDI_ORDER;
        item.iOrder = column->iOrder;
    }
    if (item.mask != 0)
        SendMessageW(m_header, HDM_SETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    UpdateScrollBars();
    Redraw();
    return TRUE;
}

int CListViewControl::ColumnWidth(int index) const
{
    if (!Report()) {
        const RECT client = Client();
        return client.right - client.left;
    }
    if (!ValidColumn(index))
        return 0;
    HDITEMW item;
    item.mask = HDI_WIDTH;
    SendMessageW(m_header, HDM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    return item.cxy;
}

LRESULT CListViewControl::SetColumnWidth(int index, int width)
{
    if (!ValidColumn(index))
        return FALSE;
    if (width == LVSCW_AUTOSIZE)
        width = FittingWidth(index, false);
    else if (width == LVSCW_AUTOSIZE_USEHEADER)
        width = FittingWidth(index, true);
    else if (width < 0)
        return FALSE;
    LVCOLUMNW column;
    column.mask = LVCF_WIDTH;
    column.cx = width;
    return SetColumn(index, &column);
}

// The widest text of the column; with the header also its title, and the
// last column then reaches the right edge.
int CListViewControl::FittingWidth(int index, bool withHeader) const
{
    HDC dc = GetDC(Hwnd());
    const HGDIOBJ old = SelectObject(dc, Font());
    const auto widthOf = [dc](const std::wstring& text) {
        SIZE size{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        return static_cast<int>(size.cx);
    };
    const int subItem = m_columns[static_cast<size_t>(index)].subItem;
    int widest = 0;
    // The indent is read first: the parent may empty the list while it answers for a text.
    for (int i = 0; i < Count(); ++i) {
        const int indent = m_items[static_cast<size_t>(i)].indent;
        int width = widthOf(TextOf(i, subItem)) + 2 * kCellMargin;
        if (subItem == 0)
            width += CheckBoxWidth() + SmallImageWidth() + indent * kIndentWidth;
        widest = std::max(widest, width);
    }
    if (withHeader) {
        wchar_t title[260] = {};
        HDITEMW item;
        item.mask = HDI_TEXT | HDI_FORMAT;
        item.pszText = title;
        item.cchTextMax = 260;
        SendMessageW(m_header, HDM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        const int arrow = (item.fmt & (HDF_SORTUP | HDF_SORTDOWN)) != 0 ? 12 : 0;
        widest = std::max(widest, widthOf(title) + 2 * kCellMargin + arrow);
        int order = -1;
        std::vector<int> orders(m_columns.size());
        if (SendMessageW(m_header, HDM_GETORDERARRAY, orders.size(), reinterpret_cast<LPARAM>(orders.data())))
            order = static_cast<int>(std::find(orders.begin(), orders.end(), index) - orders.begin());
        if (order == ColumnCount() - 1) {
            const Span span = ColumnSpan(index);
            widest = std::max(widest, static_cast<int>(Client().right) - (span.left));
        }
    }
    SelectObject(dc, old);
    ReleaseDC(Hwnd(), dc);
    return widest;
}

LRESULT CListViewControl::OnHeaderNotify(NMHEADERW* note)
{
    // What the header says goes on to the parent, whose answer stands.
    HWND parent = Parent();
    const LRESULT verdict = parent != nullptr ? SendMessageW(parent, WM_NOTIFY, note->hdr.idFrom, reinterpret_cast<LPARAM>(note)) : 0;
    switch (note->hdr.code) {
    case HDN_ITEMCLICKW:
        if (ValidColumn(note->iItem))
            NotifyListView(LVN_COLUMNCLICK, -1, note->iItem, 0, 0, 0);
        break;
    case HDN_DIVIDERDBLCLICKW:
        if (ValidColumn(note->iItem))
            SetColumnWidth(note->iItem, LVSCW_AUTOSIZE);
        break;
    case HDN_ITEMCHANGEDW:
        LayoutHeader();
        UpdateScrollBars();
        Redraw();
        break;
    default: break;
    }
    return verdict;
}

CListViewControl::Span CListViewControl::ColumnSpan(int index) const
{
    if (!Report()) {
        const RECT client = Client();
        return {client.left, client.right};
    }
    RECT r{};
    if (!ValidColumn(index) || !SendMessageW(m_header, HDM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r)))
        return {};
    return {static_cast<int>(r.left) - m_scrollX, static_cast<int>(r.right) - m_scrollX};
}

int CListViewControl::TotalWidth() const
{
    int total = 0;
    for (int i = 0; i < ColumnCount(); ++i)
        total += ColumnWidth(i);
    return total;
}

// ---------------------------------------------------------------------------
// Items
// ---------------------------------------------------------------------------

LRESULT CListViewControl::InsertItem(const LVITEMW* item)
{
    if (item == nullptr || item->iSubItem != 0 || item->iItem < 0)
        return -1;
    const int index = std::min(item->iItem, Count());
    ListViewItem added;
    if ((m_exStyle & LVS_EX_CHECKBOXES) != 0)
        added.state = INDEXTOSTATEIMAGEMASK(kUnchecked);
    m_items.insert(m_items.begin() + index, std::move(added));
    if (m_mark >= index)
        ++m_mark;
    if (m_focus >= index)
        ++m_focus;
    LVITEMW fields = *item;
    fields.iItem = index;
    fields.mask &= ~LVIF_STATE;
    SetItem(&fields);
    if ((item->mask & LVIF_STATE) != 0) {
        ListViewItem& target = m_items[static_cast<size_t>(index)];
        target.state = (target.state & ~item->stateMask) | (item->state & item->stateMask);
    }
    NotifyListView(LVN_INSERTITEM, index, 0, 0, 0, 0);
    // A burst of insertions draws the bars once, at the next paint.
    UpdateScrollBars(false);
    m_barsStale = true;
    Redraw();
    return index;
}

LRESULT CListViewControl::DeleteItem(int index)
{
    if (!Valid(index))
        return FALSE;
    NotifyListView(LVN_DELETEITEM, index, 0, 0, 0, 0, {});
    if (!Valid(index))
        return FALSE;
    m_items.erase(m_items.begin() + index);
    if (m_mark == index)
        m_mark = -1;
    else if (m_mark > index)
        --m_mark;
    if (m_focus >= index)
        m_focus = m_focus == index ? -1 : m_focus - 1;
    SetTop(m_top);
    UpdateScrollBars();
    Redraw();
    return TRUE;
}

// A parent that answers LVN_DELETEALLITEMS with TRUE is not told of each item.
LRESULT CListViewControl::DeleteAllItems()
{
    if (m_items.empty())
        return TRUE;
    const bool eachToo = NotifyListView(LVN_DELETEALLITEMS, -1, 0, 0, 0, 0) == 0;
    if (eachToo)
        for (int i = 0; i < Count(); ++i)
            NotifyListView(LVN_DELETEITEM, i, 0, 0, 0, 0);
    m_items.clear();
    m_mark = -1;
    m_focus = -1;
    m_top = 0;
    if (!Gone()) {
        UpdateScrollBars();
        Redraw();
    }
    return TRUE;
}

LRESULT CListViewControl::GetItem(LVITEMW* item) const
{
    if (item == nullptr || !Valid(item->iItem))
        return FALSE;
    const ListViewItem& source = m_items[static_cast<size_t>(item->iItem)];
    if ((item->mask & LVIF_TEXT) != 0)
        CopyText(TextOf(item->iItem, item->iSubItem), item->pszText, item->cchTextMax);
    if (item->iSubItem != 0)
        return TRUE;
    if ((item->mask & LVIF_IMAGE) != 0)
        item->iImage = source.image;
    if ((item->mask & LVIF_PARAM) != 0)
        item->lParam = source.data;
    if ((item->mask & LVIF_STATE) != 0)
        item->state = source.state & item->stateMask;
    if ((item->mask & LVIF_INDENT) != 0)
        item->iIndent = source.indent;
    return TRUE;
}

LRESULT CListViewControl::SetItem(const LVITEMW* item)
{
    if (item == nullptr || !Valid(item->iItem) || item->iSubItem < 0)
        return FALSE;
    ListViewItem& target = m_items[static_cast<size_t>(item->iItem)];
    if ((item->mask & LVIF_TEXT) != 0) {
        ListViewText& text = target.TextForWrite(item->iSubItem);
        text.callback = item->pszText == LPSTR_TEXTCALLBACKW;
        text.text = text.callback || item->pszText == nullptr ? std::wstring() : std::wstring(item->pszText);
    }
    if (item->iSubItem == 0) {
        if ((item->mask & LVIF_IMAGE) != 0)
            target.image = item->iImage;
        if ((item->mask & LVIF_PARAM) != 0)
            target.data = item->lParam;
        if ((item->mask & LVIF_INDENT) != 0)
            target.indent = std::max(0, item->iIndent);
        if ((item->mask & LVIF_STATE) != 0 && !SetState(item->iItem, item->state, item->stateMask))
            return FALSE;
    }
    RedrawRows(item->iItem, item->iItem);
    return TRUE;
}

LRESULT CListViewControl::GetItemText(int index, LVITEMW* item) const
{
    if (item == nullptr || !Valid(index) || item->pszText == nullptr || item->cchTextMax <= 0)
        return 0;
    const std::wstring text = TextOf(index, item->iSubItem);
    CopyText(text, item->pszText, item->cchTextMax);
    return static_cast<LRESULT>(std::min(text.size(), static_cast<size_t>(item->cchTextMax - 1)));
}

LRESULT CListViewControl::SetItemText(int index, const LVITEMW* item)
{
    if (item == nullptr)
        return FALSE;
    LVITEMW text;
    text.mask = LVIF_TEXT;
    text.iItem = index;
    text.iSubItem = item->iSubItem;
    text.pszText = item->pszText;
    return SetItem(&text);
}

std::wstring CListViewControl::TextOf(int index, int subItem) const
{
    const ListViewText* text = Valid(index) ? m_items[static_cast<size_t>(index)].Text(subItem) : nullptr;
    if (text == nullptr)
        return {};
    if (!text->callback)
        return text->text;
    wchar_t buffer[520] = {};
    NMLVDISPINFOW info;
    info.item.mask = LVIF_TEXT;
    info.item.iItem = index;
    info.item.iSubItem = subItem;
    info.item.lParam = m_items[static_cast<size_t>(index)].data;
    info.item.pszText = buffer;
    info.item.cchTextMax = 520;
    Notify(LVN_GETDISPINFOW, info.hdr);
    if (info.item.pszText == nullptr)
        return {};
    // The parent may point at its own text instead of filling the buffer.
    if (info.item.pszText != buffer)
        return std::wstring(info.item.pszText);
    return std::wstring(buffer, std::find(buffer, buffer + 519, L'\0'));
}

int CListViewControl::ImageOf(int index) const
{
    const ListViewItem& item = m_items[static_cast<size_t>(index)];
    if (item.image != I_IMAGECALLBACK)
        return item.image;
    NMLVDISPINFOW info;
    info.item.mask = LVIF_IMAGE;
    info.item.iItem = index;
    info.item.lParam = item.data;
    info.item.iImage = I_IMAGENONE;
    Notify(LVN_GETDISPINFOW, info.hdr);
    return info.item.iImage;
}

// ---------------------------------------------------------------------------
// States and notifications
// ---------------------------------------------------------------------------

LRESULT CListViewControl::Notify(UINT code, NMHDR& header) const
{
    header.hwndFrom = Hwnd();
    header.idFrom = static_cast<UINT_PTR>(Id());
    header.code = code;
    HWND parent = Parent();
    return parent != nullptr ? SendMessageW(parent, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header)) : 0;
}

LRESULT CListViewControl::NotifyCode(UINT code) const
{
    NMHDR header;
    return Notify(code, header);
}

LRESULT CListViewControl::NotifyListView(UINT code, int index, int subItem, UINT newState, UINT oldState, UINT changed,
                                         POINT at) const
{
    NMLISTVIEW note;
    note.iItem = index;
    note.iSubItem = subItem;
    note.uNewState = newState;
    note.uOldState = oldState;
    note.uChanged = changed;
    note.ptAction = at;
    note.lParam = Valid(index) ? m_items[static_cast<size_t>(index)].data : 0;
    return Notify(code, note.hdr);
}

bool CListViewControl::SetState(int index, UINT state, UINT mask)
{
    if (index == -1) {
        bool all = true;
        // Focus belongs to one item only, so it is never set on all.
        const UINT allMask = (state & LVIS_FOCUSED) != 0 ? mask & ~LVIS_FOCUSED : mask;
        for (int i = 0; i < Count(); ++i)
            all = ChangeState(i, state, allMask) && all;
        return all;
    }
    if ((mask & state & LVIS_FOCUSED) != 0) {
        const int previous = FocusedItem();
        if (previous >= 0 && previous != index && !ChangeState(previous, 0, LVIS_FOCUSED))
            mask &= ~LVIS_FOCUSED;
    }
    if ((mask & state & LVIS_SELECTED) != 0 && (Style() & LVS_SINGLESEL) != 0)
        for (int i = 0; i < Count(); ++i)
            if (i != index && (m_items[static_cast<size_t>(i)].state & LVIS_SELECTED) != 0)
                ChangeState(i, 0, LVIS_SELECTED);
    return ChangeState(index, state, mask);
}

// One item's change, past the parent's veto.
bool CListViewControl::ChangeState(int index, UINT state, UINT mask)
{
    if (!Valid(index))
        return false;
    const UINT old = m_items[static_cast<size_t>(index)].state;
    const UINT next = (old & ~mask) | (state & mask);
    if (next == old)
        return true;
    if (NotifyListView(LVN_ITEMCHANGING, index, 0, next, old, LVIF_STATE) != 0)
        return false;
    if (Gone() || !Valid(index))
        return false;
    m_items[static_cast<size_t>(index)].state = next;
    if ((next & LVIS_FOCUSED) != 0)
        m_focus = index;
    NotifyListView(LVN_ITEMCHANGED, index, 0, next, old, LVIF_STATE);
    if (Gone())
        return false;
    RedrawRows(index, index);
    return true;
}

int CListViewControl::FocusedItem() const
{
    if (Valid(m_focus) && (m_items[static_cast<size_t>(m_focus)].state & LVIS_FOCUSED) != 0)
        return m_focus;
    m_focus = -1;
    for (int i = 0; i < Count(); ++i)
        if ((m_items[static_cast<size_t>(i)].state & LVIS_FOCUSED) != 0)
            return m_focus = i;
    return -1;
}

int CListViewControl::SelectedCount() const
{
    return static_cast<int>(std::count_if(m_items.begin(), m_items.end(),
                                          [](const ListViewItem& item) { return (item.state & LVIS_SELECTED) != 0; }));
}

void CListViewControl::SelectOnly(int index)
{
    for (int i = 0; i < Count(); ++i)
        if (i != index && (m_items[static_cast<size_t>(i)].state & LVIS_SELECTED) != 0)
            ChangeState(i, 0, LVIS_SELECTED);
    if (Valid(index))
        SetState(index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void CListViewControl::SelectRange(int from, int to)
{
    if ((Style() & LVS_SINGLESEL) != 0) {
        SelectOnly(to);
        return;
    }
    const int low = std::min(from, to);
    const int high = std::max(from, to);
    for (int i = 0; i < Count(); ++i)
        ChangeState(i, i >= low && i <= high ? LVIS_SELECTED : 0, LVIS_SELECTED);
    SetState(to, LVIS_FOCUSED, LVIS_FOCUSED);
}

void CListViewControl::FocusAndShow(int index)
{
    SetState(index, LVIS_FOCUSED, LVIS_FOCUSED);
    EnsureVisible(index, false);
}

void CListViewControl::ToggleCheck(int index)
{
    if (!Valid(index) || (m_exStyle & LVS_EX_CHECKBOXES) == 0)
        return;
    const UINT image = (m_items[static_cast<size_t>(index)].state & LVIS_STATEIMAGEMASK) >> 12;
    ChangeState(index, INDEXTOSTATEIMAGEMASK(image == kChecked ? kUnchecked : kChecked), LVIS_STATEIMAGEMASK);
}

// ---------------------------------------------------------------------------
// Finding and order
// ---------------------------------------------------------------------------

bool CListViewControl::Matches(int index, const LVFINDINFOW& find) const
{
    if ((find.flags & LVFI_PARAM) != 0)
        return m_items[static_cast<size_t>(index)].data == find.lParam;
    if ((find.flags & (LVFI_STRING | LVFI_PARTIAL)) == 0 || find.psz == nullptr)
        return false;
    const std::wstring wanted = Lower(find.psz);
    const std::wstring text = Lower(TextOf(index, 0));
    if ((find.flags & LVFI_PARTIAL) != 0)
        return text.compare(0, wanted.size(), wanted) == 0;
    return text == wanted;
}

// The search starts after `start` (at the top for -1) and goes round to
// the top only with LVFI_WRAP.
LRESULT CListViewControl::FindItem(int start, const LVFINDINFOW* find) const
{
    if (find == nullptr || start < -1 || start >= Count())
        return -1;
    for (int i = start + 1; i < Count(); ++i)
        if (Matches(i, *find))
            return i;
    if ((find->flags & LVFI_WRAP) != 0)
        for (int i = 0; i <= start; ++i)
            if (Matches(i, *find))
                return i;
    return -1;
}

LRESULT CListViewControl::NextItem(int start, UINT flags) const
{
    if (start < -1 || start >= Count())
        return -1;
    const UINT wanted = flags & (LVNI_FOCUSED | LVNI_SELECTED | LVNI_CUT | LVNI_DROPHILITED);
    const auto fits = [this, wanted](int i) { return (m_items[static_cast<size_t>(i)].state & wanted) == wanted; };
    if ((flags & (LVNI_TOLEFT | LVNI_TORIGHT)) != 0)
        return -1;  // a report has one item per row
    if ((flags & LVNI_ABOVE) != 0) {
        for (int i = start - 1; i >= 0; --i)
            if (fits(i))
                return i;
        return -1;
    }
    for (int i = start + 1; i < Count(); ++i)
        if (fits(i))
            return i;
    return -1;
}

// The callback sees the items where they were when the sort began; they
// move, with their states, only once the order is known. A merge sort stays
// within bounds even for a callback that contradicts itself, and a callback
// that adds or removes items cancels the sort.
LRESULT CListViewControl::Sort(PFNLVCOMPARE compare, LPARAM sortData, bool byIndex)
{
    if (compare == nullptr)
        return FALSE;
    // Each entry carries what the callback gets, so that a comparison reads
    // no item.
    std::vector<std::pair<LPARAM, int>> order;
    order.reserve(m_items.size());
    for (size_t i = 0; i < m_items.size(); ++i)
        order.emplace_back(byIndex ? static_cast<LPARAM>(i) : m_items[i].data, static_cast<int>(i));
    std::stable_sort(order.begin(), order.end(),
                     [&](const auto& a, const auto& b) { return compare(a.first, b.first, sortData) < 0; });
    if (order.size() != m_items.size())
        return FALSE;
    std::vector<ListViewItem> sorted;
    sorted.reserve(m_items.size());
    int mark = -1;
    for (size_t i = 0; i < order.size(); ++i) {
        if (order[i].second == m_mark)
            mark = static_cast<int>(i);
        sorted.push_back(std::move(m_items[static_cast<size_t>(order[i].second)]));
    }
    m_items = std::move(sorted);
    m_mark = mark;
    m_focus = -1;
    Redraw();
    return TRUE;
}

// ---------------------------------------------------------------------------
// Geometry
// ---------------------------------------------------------------------------

// Measured once per font, image list and check-box setting: measuring goes
// through the window's device context, whose release shows the whole window
// again, and the row height is asked for many times per inserted row.
int CListViewControl::RowHeight() const
{
    if (m_rowHeight == 0)
        m_rowHeight = MeasureRowHeight();
    return m_rowHeight;
}

int CListViewControl::MeasureRowHeight() const
{
    int height = FontHeight(Hwnd(), Font()) + 3;
    int w = 0;
    int h = 0;
    if (m_images[LVSIL_SMALL] != nullptr && ImageList_GetIconSize(m_images[LVSIL_SMALL], &w, &h))
        height = std::max(height, h + 1);
    if ((m_exStyle & LVS_EX_CHECKBOXES) != 0)
        height = std::max(height, kCheckBoxSize + 3);
    return std::max(1, height);
}

int CListViewControl::HeaderHeight() const
{
    if (m_header == nullptr || !IsWindowVisible(m_header))
        return 0;
    RECT r{};
    GetWindowRect(m_header, &r);
    return r.bottom - r.top;
}

int CListViewControl::CountPerPage() const
{
    const RECT client = Client();
    return std::max(1, (static_cast<int>(client.bottom) - HeaderHeight()) / RowHeight());
}

int CListViewControl::MaxTop() const { return std::max(0, Count() - CountPerPage()); }

RECT CListViewControl::RowRect(int index) const
{
    const int height = RowHeight();
    const int top = HeaderHeight() + (index - m_top) * height;
    const int left = Report() ? -m_scrollX : 0;
    const int width = Report() ? TotalWidth() : static_cast<int>(Client().right);
    return RECT{left, top, left + width, top + height};
}

int CListViewControl::CheckBoxWidth() const { return (m_exStyle & LVS_EX_CHECKBOXES) != 0 ? kCheckBoxSize + 4 : 0; }

int CListViewControl::SmallImageWidth() const
{
    int w = 0;
    int h = 0;
    if (m_images[LVSIL_SMALL] == nullptr || !ImageList_GetIconSize(m_images[LVSIL_SMALL], &w, &h))
        return 0;
    return w + 2;
}

// The parts of an item's first cell: check box, image, then the label.
RECT CListViewControl::PartRect(int index, int code) const
{
    RECT row = RowRect(index);
    const Span first = ColumnSpan(m_columns.empty() ? -1 : 0);
    RECT cell{m_columns.empty() && Report() ? row.left : first.left, row.top, m_columns.empty() && Report() ? row.left : first.right, row.bottom};
    if (!Report())
        cell = RECT{0, row.top, Client().right, row.bottom};
    const int start = cell.left + m_items[static_cast<size_t>(index)].indent * kIndentWidth + CheckBoxWidth();
    const RECT icon{start, cell.top, std::min<int>(start + SmallImageWidth(), std::max(start, static_cast<int>(cell.right))), cell.bottom};
    switch (code) {
    case LVIR_ICON: return icon;
    case LVIR_LABEL: return RECT{icon.right, cell.top, std::max(icon.right, cell.right), cell.bottom};
    case LVIR_SELECTBOUNDS:
        if ((m_exStyle & LVS_EX_FULLROWSELECT) != 0)
            return RECT{start, row.top, row.right, row.bottom};
        return RECT{start, cell.top, std::max(start, static_cast<int>(cell.right)), cell.bottom};
    default: return row;
    }
}

LRESULT CListViewControl::ItemRect(int index, RECT* rect) const
{
    if (rect == nullptr || !Valid(index) || rect->left < LVIR_BOUNDS || rect->left > LVIR_SELECTBOUNDS)
        return FALSE;
    *rect = PartRect(index, rect->left);
    return TRUE;
}

// Sub-item 0 with LVIR_BOUNDS is the whole row, as callers expect of it.
LRESULT CListViewControl::SubItemRect(int index, RECT* rect) const
{
    if (rect == nullptr || !Valid(index))
        return FALSE;
    const int subItem = rect->top;
    const int code = rect->left;
    if (subItem == 0)
        return ItemRect(index, rect);
    if (!ValidColumn(subItem) || (code != LVIR_BOUNDS && code != LVIR_LABEL && code != LVIR_ICON))
        return FALSE;
    const RECT row = RowRect(index);
    const Span span = ColumnSpan(subItem);
    *rect = RECT{span.left, row.top, code == LVIR_ICON ? span.left : span.right, row.bottom};
    return TRUE;
}

LRESULT CListViewControl::HitTest(LVHITTESTINFO* info, bool subItems) const
{
    if (info == nullptr)
        return -1;
    const RECT client = Client();
    const POINT at = info->pt;
    info->iItem = -1;
    info->iSubItem = 0;
    info->flags = 0;
    if (at.y < HeaderHeight())
        info->flags |= LVHT_ABOVE;
    if (at.y >= client.bottom)
        info->flags |= LVHT_BELOW;
    if (at.x < 0)
        info->flags |= LVHT_TOLEFT;
    if (at.x >= client.right)
        info->flags |= LVHT_TORIGHT;
    if (info->flags != 0)
        return -1;
    const int index = m_top + (at.y - HeaderHeight()) / RowHeight();
    info->flags = LVHT_NOWHERE;
    if (!Valid(index))
        return -1;
    int column = Report() ? -1 : 0;
    for (int c = 0; c < ColumnCount() && Report(); ++c) {
        const Span span = ColumnSpan(c);
        if (at.x >= span.left && at.x < span.right)
            column = c;
    }
    if (column < 0)
        return -1;
    info->iSubItem = column;
    const RECT icon = PartRect(index, LVIR_ICON);
    const RECT label = PartRect(index, LVIR_LABEL);
    if (column != 0)
        info->flags = subItems || (m_exStyle & LVS_EX_FULLROWSELECT) != 0 ? LVHT_ONITEMLABEL : LVHT_NOWHERE;
    else if (at.x >= icon.left - CheckBoxWidth() && at.x < icon.left && CheckBoxWidth() > 0)
        info->flags = LVHT_ONITEMSTATEICON;
    else if (at.x >= icon.left && at.x < icon.right)
        info->flags = LVHT_ONITEMICON;
    else if (at.x >= label.left && at.x < label.right)
        info->flags = LVHT_ONITEMLABEL;
    if (info->flags == LVHT_NOWHERE)
        return -1;
    info->iItem = index;
    return index;
}

// ---------------------------------------------------------------------------
// Scrolling
// ---------------------------------------------------------------------------

void CListViewControl::SetTop(int top)
{
    top = std::clamp(top, 0, MaxTop());
    if (top == m_top)
        return;
    m_top = top;
    UpdateScrollBars();
    Redraw();
}

void CListViewControl::SetScrollX(int x)
{
    if (!Report())
        return;
    x = std::clamp(x, 0, std::max(0, TotalWidth() - static_cast<int>(Client().right)));
    if (x == m_scrollX)
        return;
    m_scrollX = x;
    LayoutHeader();
    UpdateScrollBars();
    Redraw();
}

void CListViewControl::EnsureVisible(int index, bool partly)
{
    if (index < m_top)
        SetTop(index);
    else if (index >= m_top + CountPerPage() && !(partly && index == m_top + CountPerPage()))
        SetTop(index - CountPerPage() + 1);
}

void CListViewControl::UpdateScrollBars(bool redraw)
{
    if ((Style() & LVS_NOSCROLL) != 0 || m_updatingBars)
        return;
    m_updatingBars = true;
    const RECT client = Client();
    SCROLLINFO vertical;
    vertical.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    vertical.nMin = 0;
    vertical.nMax = std::max(0, Count() - 1);
    vertical.nPage = static_cast<UINT>(CountPerPage());
    vertical.nPos = m_top;
    ShowBar(SB_VERT, WS_VSCROLL, Count() > CountPerPage());
    SetScrollInfo(Hwnd(), SB_VERT, &vertical, redraw ? TRUE : FALSE);
    const int total = Report() ? TotalWidth() : 0;
    SCROLLINFO horizontal;
    horizontal.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    horizontal.nMin = 0;
    horizontal.nMax = std::max(0, total - 1);
    horizontal.nPage = static_cast<UINT>(std::max(0, static_cast<int>(client.right)));
    horizontal.nPos = m_scrollX;
    ShowBar(SB_HORZ, WS_HSCROLL, total > client.right);
    SetScrollInfo(Hwnd(), SB_HORZ, &horizontal, redraw ? TRUE : FALSE);
    m_updatingBars = false;
}

// Showing or hiding a bar resizes the client area, which lays out the header again.
void CListViewControl::ShowBar(int bar, DWORD style, bool show) const
{
    if (((Style() & style) != 0) != show)
        ShowScrollBar(Hwnd(), bar, show ? TRUE : FALSE);
}

void CListViewControl::LayoutHeader()
{
    if (m_header == nullptr)
        return;
    RECT area = Client();
    area.left -= m_scrollX;
    area.right = std::max<LONG>(area.right, area.left + TotalWidth());
    WINDOWPOS position{};
    HDLAYOUT layout;
    layout.prc = &area;
    layout.pwpos = &position;
    if (SendMessageW(m_header, HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&layout)))
        SetWindowPos(m_header, nullptr, position.x, position.y, position.cx, position.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CListViewControl::OnScroll(int bar, WORD code)
{
    const int page = bar == SB_VERT ? CountPerPage() : static_cast<int>(Client().right);
    const int line = bar == SB_VERT ? 1 : 16;
    const int position = bar == SB_VERT ? m_top : m_scrollX;
    int next = position;
    switch (code) {
    case SB_LINEUP: next -= line; break;
    case SB_LINEDOWN: next += line; break;
    case SB_PAGEUP: next -= page; break;
    case SB_PAGEDOWN: next += page; break;
    case SB_TOP: next = 0; break;
    case SB_BOTTOM: next = bar == SB_VERT ? MaxTop() : TotalWidth(); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO info;
        info.fMask = SIF_TRACKPOS;
        if (GetScrollInfo(Hwnd(), bar, &info))
            next = info.nTrackPos;
        break;
    }
    default: return;
    }
    if (bar == SB_VERT)
        SetTop(next);
    else
        SetScrollX(next);
}

void CListViewControl::RedrawRows(int first, int last) const
{
    if (Count() == 0 || last < first)
        return;
    first = std::max(first, m_top);
    last = std::min(last, m_top + CountPerPage());
    if (last < first)
        return;
    const RECT client = Client();
    const RECT top = RowRect(first);
    const RECT bottom = RowRect(last);
    const RECT area{client.left, top.top, client.right, bottom.bottom};
    InvalidateRect(Hwnd(), &area, FALSE);
}

// ---------------------------------------------------------------------------
// Keyboard
// ---------------------------------------------------------------------------

void CListViewControl::OnKeyDown(UINT key)
{
    NMLVKEYDOWN note;
    note.wVKey = static_cast<WORD>(key);
    Notify(LVN_KEYDOWN, note.hdr);
    if (Gone() || Count() == 0)
        return;
    const bool control = KeyDown(VK_CONTROL);
    if (key == VK_RETURN) {
        NotifyCode(NM_RETURN);
        return;
    }
    if (key == 'A' && control) {
        if ((Style() & LVS_SINGLESEL) == 0)
            SetState(-1, LVIS_SELECTED, LVIS_SELECTED);
        return;
    }
    if (key == VK_SPACE) {
        const int focus = FocusedItem();
        if (focus < 0)
            return;
        if (control)
            SetState(focus, (m_items[static_cast<size_t>(focus)].state & LVIS_SELECTED) ^ LVIS_SELECTED, LVIS_SELECTED);
        else if ((m_exStyle & LVS_EX_CHECKBOXES) != 0)
            ToggleCheck(focus);
        else
            SetState(focus, LVIS_SELECTED, LVIS_SELECTED);
        return;
    }
    const int target = KeyTarget(key);
    if (target >= 0)
        MoveFocus(target);
}

int CListViewControl::KeyTarget(UINT key) const
{
    const int focus = FocusedItem();
    const int page = std::max(1, CountPerPage() - 1);
    switch (key) {
    case VK_UP: return focus < 0 ? 0 : std::max(0, focus - 1);
    case VK_DOWN: return focus < 0 ? 0 : std::min(Count() - 1, focus + 1);
    case VK_HOME: return 0;
    case VK_END: return Count() - 1;
    // The first page key goes to the edge of the page, the next one a page on.
    case VK_PRIOR: return focus <= m_top ? std::max(0, focus - page) : m_top;
    case VK_NEXT: {
        const int last = std::min(Count() - 1, m_top + CountPerPage() - 1);
        return focus >= last ? std::min(Count() - 1, focus + page) : last;
    }
    default: return -1;
    }
}

// A plain move selects the new item alone, Shift extends from the mark,
// Ctrl moves the focus only.
void CListViewControl::MoveFocus(int target)
{
    if (KeyDown(VK_SHIFT)) {
        if (!Valid(m_mark))
            m_mark = std::max(0, FocusedItem());
        SelectRange(m_mark, target);
    } else if (KeyDown(VK_CONTROL)) {
        SetState(target, LVIS_FOCUSED, LVIS_FOCUSED);
    } else {
        SelectOnly(target);
        m_mark = target;
    }
    EnsureVisible(target, false);
}

void CListViewControl::OnChar(wchar_t c)
{
    if (c < L' ' || Count() == 0)
        return;
    const DWORD now = GetTickCount();
    if (now - m_typedAt > kTypeAheadPause)
        m_typed.clear();
    m_typedAt = now;
    // The same letter again steps through the items that start with it.
    const bool repeat = m_typed.size() == 1 && m_typed[0] == c;
    if (!repeat)
        m_typed += c;
    LVFINDINFOW find;
    find.flags = LVFI_PARTIAL | LVFI_WRAP;
    find.psz = m_typed.c_str();
    const int focus = FocusedItem();
    const int start = m_typed.size() == 1 ? focus : focus - 1;
    const LRESULT found = FindItem(std::clamp(start, -1, Count() - 1), &find);
    if (found >= 0) {
        SelectOnly(static_cast<int>(found));
        m_mark = static_cast<int>(found);
        EnsureVisible(static_cast<int>(found), false);
    }
}

// ---------------------------------------------------------------------------
// Mouse
// ---------------------------------------------------------------------------

void CListViewControl::OnButtonDown(POINT at, bool right)
{
    if (!Focused())
        SetFocus(Hwnd());
    LVHITTESTINFO hit;
    hit.pt = at;
    const int index = static_cast<int>(HitTest(&hit, false));
    if (!right && index >= 0 && hit.flags == LVHT_ONITEMSTATEICON) {
        ToggleCheck(index);
        m_pressed = true;
        return;
    }
    const bool control = KeyDown(VK_CONTROL);
    const bool shift = KeyDown(VK_SHIFT);
    if (index < 0) {
        if (!control && !shift)
            SetState(-1, 0, LVIS_SELECTED);
    } else if (right) {
        if ((m_items[static_cast<size_t>(index)].state & LVIS_SELECTED) == 0)
            SelectOnly(index);
        else
            FocusAndShow(index);
    } else if (shift && (Style() & LVS_SINGLESEL) == 0) {
        SelectRange(Valid(m_mark) ? m_mark : index, index);
    } else if (control && (Style() & LVS_SINGLESEL) == 0) {
        SetState(index, (m_items[static_cast<size_t>(index)].state & LVIS_SELECTED) ^ LVIS_SELECTED,
                 LVIS_SELECTED);
        FocusAndShow(index);
        m_mark = index;
    } else {
        SelectOnly(index);
        m_mark = index;
        EnsureVisible(index, false);
    }
    if (right) {
        NotifyActivate(NM_RCLICK, at);
        return;
    }
    m_pressed = true;
}

void CListViewControl::OnButtonUp(POINT at)
{
    if (!m_pressed)
        return;
    m_pressed = false;
    NotifyActivate(NM_CLICK, at);
}

void CListViewControl::OnDoubleClick(POINT at)
{
    LVHITTESTINFO hit;
    hit.pt = at;
    if (HitTest(&hit, false) >= 0 && hit.flags == LVHT_ONITEMSTATEICON)
        ToggleCheck(hit.iItem);
    NotifyActivate(NM_DBLCLK, at);
}

void CListViewControl::OnMouseMove(WPARAM keys, LPARAM point)
{
    if ((m_exStyle & (LVS_EX_LABELTIP | LVS_EX_INFOTIP)) == 0)
        return;
    LVHITTESTINFO hit;
    hit.pt = MousePoint(point);
    RECT cell{};
    std::wstring text;
    if (HitTest(&hit, true) >= 0 && (hit.flags & LVHT_ONITEMLABEL) != 0) {
        text = CutText(hit.iItem, hit.iSubItem, cell);
        if ((m_exStyle & LVS_EX_INFOTIP) != 0)
            text = InfoTip(hit.iItem, hit.iSubItem, text);
    } else {
        m_infoTip = InfoTipCache{};
    }
    if (Gone())
        return;
    const MSG move{Hwnd(), WM_MOUSEMOVE, keys, point, GetTickCount(), hit.pt};
    m_labelTip.Track(Hwnd(), move, cell, text);
}

// The parent's tip for a cell, asked once while the pointer stays on it: the
// cut text comes filled in, which the parent keeps, replaces or empties.
std::wstring CListViewControl::InfoTip(int index, int subItem, const std::wstring& cut)
{
    const LPARAM data = m_items[static_cast<size_t>(index)].data;
    if (m_infoTip.asked && m_infoTip.item == index && m_infoTip.subItem == subItem && m_infoTip.data == data &&
        m_infoTip.cut == cut)
        return m_infoTip.text;
    std::vector<wchar_t> buffer(INFOTIPSIZE, L'\0');
    cut.copy(buffer.data(), buffer.size() - 1);
    NMLVGETINFOTIPW note;
    note.dwFlags = cut.empty() ? LVGIT_UNFOLDED : 0;
    note.pszText = buffer.data();
    note.cchTextMax = INFOTIPSIZE;
    note.iItem = index;
    note.iSubItem = subItem;
    note.lParam = data;
    Notify(LVN_GETINFOTIPW, note.hdr);
    buffer.back() = L'\0';
    m_infoTip = InfoTipCache{true, index, subItem, data, cut, buffer.data()};
    return m_infoTip.text;
}

// The text of a cell that its column cuts, with the cell's label area; empty
// when the whole text shows.
std::wstring CListViewControl::CutText(int index, int column, RECT& cell) const
{
    if (!ValidColumn(column) && !(column == 0 && !Report()))
        return {};
    const int subItem = ValidColumn(column) ? m_columns[static_cast<size_t>(column)].subItem : 0;
    std::wstring text = TextOf(index, subItem);
    if (Gone())
        return {};
    int margin = kCellMargin;
    if (column == 0) {
        cell = PartRect(index, LVIR_LABEL);
        margin = kCellMargin / 2;
    } else {
        const Span span = ColumnSpan(column);
        const RECT row = RowRect(index);
        cell = RECT{span.left, row.top, span.right, row.bottom};
    }
    if (text.empty())
        return {};
    HDC dc = GetDC(Hwnd());
    const HGDIOBJ old = SelectObject(dc, Font());
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(Hwnd(), dc);
    return size.cx > cell.right - cell.left - 2 * margin ? text : std::wstring();
}

void CListViewControl::NotifyActivate(UINT code, POINT at) const
{
    LVHITTESTINFO hit;
    hit.pt = at;
    HitTest(&hit, true);
    NMITEMACTIVATE note;
    note.iItem = hit.iItem;
    note.iSubItem = hit.iItem >= 0 ? hit.iSubItem : 0;
    note.ptAction = at;
    note.lParam = Valid(hit.iItem) ? m_items[static_cast<size_t>(hit.iItem)].data : 0;
    note.uKeyFlags = (KeyDown(VK_SHIFT) ? LVKF_SHIFT : 0) | (KeyDown(VK_CONTROL) ? LVKF_CONTROL : 0) |
                     (KeyDown(VK_MENU) ? LVKF_ALT : 0);
    Notify(code, note.hdr);
}

// ---------------------------------------------------------------------------
// Drawing
// ---------------------------------------------------------------------------

COLORREF CListViewControl::BackColor() const
{
    return m_backColor == CLR_DEFAULT ? GetSysColor(COLOR_WINDOW) : m_backColor;
}

bool CListViewControl::ShowsSelection() const { return Focused() || (Style() & LVS_SHOWSELALWAYS) != 0; }

LRESULT CListViewControl::CustomDraw(DWORD stage, HDC dc, const RECT& r, int index, int subItem, COLORREF& text,
                                     COLORREF& back) const
{
    NMLVCUSTOMDRAW draw;
    draw.nmcd.dwDrawStage = stage;
    draw.nmcd.hdc = dc;
    draw.nmcd.rc = r;
    draw.iSubItem = subItem;
    draw.clrText = text;
    draw.clrTextBk = back;
    if (Valid(index)) {
        const ListViewItem& item = m_items[static_cast<size_t>(index)];
        draw.nmcd.dwItemSpec = static_cast<DWORD_PTR>(index);
        draw.nmcd.lItemlParam = item.data;
        draw.nmcd.uItemState = ((item.state & LVIS_SELECTED) != 0 ? CDIS_SELECTED : 0) |
                               ((item.state & LVIS_FOCUSED) != 0 && Focused() ? CDIS_FOCUS : 0);
    }
    const LRESULT result = Notify(NM_CUSTOMDRAW, draw.nmcd.hdr);
    text = draw.clrText;
    back = draw.clrTextBk;
    return result;
}

// Only the rows in view are drawn, so a page costs the same for any count.
void CListViewControl::Paint(HDC dc)
{
    if (m_barsStale) {
        m_barsStale = false;
        UpdateScrollBars();
    }
    const RECT client = Client();
    FillColor(dc, client, BackColor());
    COLORREF text = 0;
    COLORREF back = 0;
    const LRESULT prePaint = CustomDraw(CDDS_PREPAINT, dc, client, -1, 0, text, back);
    if ((prePaint & CDRF_SKIPDEFAULT) != 0 || Gone())
        return;
    const HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT);
    const int last = std::min(Count() - 1, m_top + CountPerPage());
    // A parent that destroys the list while it draws takes the items with it.
    for (int i = m_top; i <= last && !Gone(); ++i) {
        PaintRow(dc, i, prePaint);
        SelectObject(dc, font);
    }
    if (Gone())
        return;
    if ((m_exStyle & LVS_EX_GRIDLINES) != 0 && Report())
        PaintGrid(dc);
    if ((prePaint & CDRF_NOTIFYPOSTPAINT) != 0)
        CustomDraw(CDDS_POSTPAINT, dc, client, -1, 0, text, back);
}

void CListViewControl::PaintRow(HDC dc, int index, LRESULT prePaint)
{
    const ListViewItem& item = m_items[static_cast<size_t>(index)];
    const RECT row = RowRect(index);
    const bool selected = (item.state & LVIS_SELECTED) != 0 && ShowsSelection();
    COLORREF text = m_textColor == CLR_DEFAULT ? GetSysColor(COLOR_WINDOWTEXT) : m_textColor;
    COLORREF back = m_textBackColor == CLR_DEFAULT || m_textBackColor == CLR_NONE ? BackColor() : m_textBackColor;
    LRESULT itemPaint = CDRF_DODEFAULT;
    if ((prePaint & CDRF_NOTIFYITEMDRAW) != 0) {
        itemPaint = CustomDraw(CDDS_ITEMPREPAINT, dc, row, index, 0, text, back);
        if ((itemPaint & CDRF_SKIPDEFAULT) != 0 || Gone())
            return;
    }
    const bool perSubItem = (itemPaint & CDRF_NOTIFYSUBITEMDRAW) != 0;
    const int columns = Report() ? std::max(1, ColumnCount()) : 1;
    for (int c = 0; c < columns; ++c) {
        const Span span = ColumnSpan(c);
        const RECT cell{span.left, row.top, span.right, row.bottom};
        if (cell.right <= 0 || cell.left >= Client().right)
            continue;
        COLORREF cellText = text;
        COLORREF cellBack = back;
        if (perSubItem && (CustomDraw(CDDS_ITEMPREPAINT | CDDS_SUBITEM, dc, cell, index, c, cellText, cellBack) &
                           CDRF_SKIPDEFAULT) != 0)
            continue;
        if (Gone())
            return;
        const bool highlight = selected && (c == 0 || (m_exStyle & LVS_EX_FULLROWSELECT) != 0);
        if (highlight) {
            cellText = GetSysColor(Focused() ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT);
            cellBack = GetSysColor(Focused() ? COLOR_HIGHLIGHT : COLOR_3DFACE);
        }
        if (c == 0)
            PaintFirstCell(dc, index, cell, cellText, cellBack);
        else
            PaintCell(dc, index, c, cell, cellText, cellBack);
        if (Gone())
            return;
    }
    if ((item.state & LVIS_FOCUSED) != 0 && Focused()) {
        RECT focus = PartRect(index, LVIR_SELECTBOUNDS);
        if (!Report())
            focus = RECT{PartRect(index, LVIR_LABEL).left, row.top, row.right, row.bottom};
        DrawFocusRect(dc, &focus);
    }
}

void CListViewControl::PaintCell(HDC dc, int index, int column, const RECT& cell, COLORREF text, COLORREF back) const
{
    FillColor(dc, cell, back);
    const Column& source = m_columns[static_cast<size_t>(column)];
    const std::wstring value = TextOf(index, source.subItem);
    RECT area{cell.left + kCellMargin, cell.top, cell.right - kCellMargin, cell.bottom};
    if (area.right <= area.left || value.empty())
        return;
    const int justify = source.format & LVCFMT_JUSTIFYMASK;
    const UINT format = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX |
                        (justify == LVCFMT_RIGHT ? DT_RIGHT : justify == LVCFMT_CENTER ? DT_CENTER : DT_LEFT);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, text);
    DrawTextW(dc, value.c_str(), static_cast<int>(value.size()), &area, format);
}

void CListViewControl::PaintFirstCell(HDC dc, int index, RECT cell, COLORREF text, COLORREF back) const
{
    const ListViewItem& item = m_items[static_cast<size_t>(index)];
    FillColor(dc, cell, BackColor());
    const RECT icon = PartRect(index, LVIR_ICON);
    if (CheckBoxWidth() > 0) {
        const int top = (cell.top + cell.bottom - kCheckBoxSize) / 2;
        RECT box{icon.left - CheckBoxWidth() + 2, top, icon.left - CheckBoxWidth() + 2 + kCheckBoxSize, top + kCheckBoxSize};
        const bool checked = ((item.state & LVIS_STATEIMAGEMASK) >> 12) == kChecked;
        DrawFrameControl(dc, &box, DFC_BUTTON, DFCS_BUTTONCHECK | (checked ? DFCS_CHECKED : 0));
    }
    const bool fullRow = (m_exStyle & LVS_EX_FULLROWSELECT) != 0;
    RECT label = PartRect(index, LVIR_LABEL);
    label.right = std::min(label.right, cell.right);
    if (!Report())
        label.right = cell.right;
    // Without full-row selection only the text itself is highlighted.
    const std::wstring value = TextOf(index, 0);
    if (Gone())
        return;
    RECT highlight = label;
    if (!fullRow && (item.state & LVIS_SELECTED) != 0) {
        SIZE size{};
        GetTextExtentPoint32W(dc, value.c_str(), static_cast<int>(value.size()), &size);
        highlight.right = std::min<LONG>(label.right, label.left + size.cx + 2 * kCellMargin);
    }
    // The image goes on top of a full row's highlight, never under it.
    FillColor(dc, fullRow ? RECT{icon.left, cell.top, cell.right, cell.bottom} : highlight, back);
    const int image = ImageOf(index);
    if (m_images[LVSIL_SMALL] != nullptr && image >= 0) {
        int w = 0;
        int h = 0;
        ImageList_GetIconSize(m_images[LVSIL_SMALL], &w, &h);
        ImageList_Draw(m_images[LVSIL_SMALL], image, dc, icon.left, (cell.top + cell.bottom - h) / 2, ILD_TRANSPARENT);
    }
    RECT area{label.left + kCellMargin / 2, label.top, label.right - kCellMargin / 2, label.bottom};
    if (area.right <= area.left || value.empty())
        return;
    const int justify = m_columns.empty() ? LVCFMT_LEFT : m_columns[0].format & LVCFMT_JUSTIFYMASK;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, text);
    DrawTextW(dc, value.c_str(), static_cast<int>(value.size()), &area,
              DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX |
                  (justify == LVCFMT_RIGHT ? DT_RIGHT : justify == LVCFMT_CENTER ? DT_CENTER : DT_LEFT));
}

// Lines under every row of the page and at the right of every column.
void CListViewControl::PaintGrid(HDC dc) const
{
    const RECT client = Client();
    HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_3DFACE));
    const HGDIOBJ old = SelectObject(dc, pen);
    const int height = RowHeight();
    for (int y = HeaderHeight() + height - 1; y < client.bottom; y += height) {
        MoveToEx(dc, 0, y, nullptr);
        LineTo(dc, client.right, y);
    }
    for (int c = 0; c < ColumnCount(); ++c) {
        const int x = ColumnSpan(c).right - 1;
        MoveToEx(dc, x, HeaderHeight(), nullptr);
        LineTo(dc, x, client.bottom);
    }
    SelectObject(dc, old);
    DeleteObject(pen);
}

}
