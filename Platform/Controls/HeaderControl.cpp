#include "Platform/Controls/HeaderControl.h"

#include "Platform/Controls/ListViewHelpers.h"
#include "Platform/Gdi/Gdi.h"
#include "Platform/Ui/Dialogs.h"

#include <algorithm>

namespace ZELL::Controls {

namespace {

// How far from a divider the pointer still grabs it.
constexpr int kDividerGrip = 4;
constexpr int kTextMargin = 6;
constexpr int kArrowSize = 8;

void Fill(HDC dc, const RECT& r, int sysColor)
{
    FillRect(dc, &r, GetSysColorBrush(sysColor));
}

}

LRESULT CHeaderControl::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case HDM_GETITEMCOUNT: return static_cast<LRESULT>(m_items.size());
    case HDM_INSERTITEMW: return Insert(static_cast<int>(wParam), reinterpret_cast<const HDITEMW*>(lParam));
    case HDM_DELETEITEM: return Delete(static_cast<int>(wParam));
    case HDM_GETITEMW: return Get(static_cast<int>(wParam), reinterpret_cast<HDITEMW*>(lParam));
    case HDM_SETITEMW: return Set(static_cast<int>(wParam), reinterpret_cast<const HDITEMW*>(lParam));
    case HDM_GETITEMRECT: return ItemRect(static_cast<int>(wParam), reinterpret_cast<RECT*>(lParam));
    case HDM_HITTEST: return HitTest(reinterpret_cast<HDHITTESTINFO*>(lParam));
    case HDM_LAYOUT: return Layout(reinterpret_cast<HDLAYOUT*>(lParam));
    case HDM_ORDERTOINDEX: {
        const int position = static_cast<int>(wParam);
        return position >= 0 && position < static_cast<int>(m_order.size()) ? m_order[static_cast<size_t>(position)] : position;
    }
    case HDM_GETORDERARRAY: return GetOrder(static_cast<int>(wParam), reinterpret_cast<int*>(lParam));
    case HDM_SETORDERARRAY: return SetOrder(static_cast<int>(wParam), reinterpret_cast<const int*>(lParam));
    case HDM_SETIMAGELIST: {
        HIMAGELIST previous = m_images;
        m_images = reinterpret_cast<HIMAGELIST>(lParam);
        Redraw();
        return reinterpret_cast<LRESULT>(previous);
    }
    case HDM_GETIMAGELIST: return reinterpret_cast<LRESULT>(m_images);
    case WM_LBUTTONDOWN: OnButtonDown(MousePoint(lParam)); return 0;
    case WM_LBUTTONDBLCLK: OnDoubleClick(MousePoint(lParam)); return 0;
    case WM_MOUSEMOVE: OnMouseMove(MousePoint(lParam)); return 0;
    case WM_LBUTTONUP: OnButtonUp(MousePoint(lParam)); return 0;
    case WM_CAPTURECHANGED:
        if (m_tracking >= 0 && reinterpret_cast<HWND>(lParam) != Hwnd())
            EndTrack(false);
        m_pressed = -1;
        return 0;
    case WM_SETCURSOR:
        if (OnSetCursor())
            return TRUE;
        return CControlWindow::OnMessage(message, wParam, lParam);
    default: return CControlWindow::OnMessage(message, wParam, lParam);
    }
}

// ---------------------------------------------------------------------------
// Items
// ---------------------------------------------------------------------------

LRESULT CHeaderControl::Insert(int index, const HDITEMW* item)
{
    if (item == nullptr || index < 0)
        return -1;
    index = std::min(index, static_cast<int>(m_items.size()));
    Item added;
    Apply(added, *item);
    m_items.insert(m_items.begin() + index, added);
    for (int& i : m_order)
        if (i >= index)
            ++i;
    int position = static_cast<int>(m_order.size());
    if ((item->mask & HDI_ORDER) != 0 && item->iOrder >= 0)
        position = std::min(item->iOrder, position);
    m_order.insert(m_order.begin() + position, index);
    Redraw();
    return index;
}

LRESULT CHeaderControl::Delete(int index)
{
    if (!Valid(index))
        return FALSE;
    if (m_tracking >= 0)
        EndTrack(false);
    m_items.erase(m_items.begin() + index);
    m_order.erase(std::find(m_order.begin(), m_order.end(), index));
    for (int& i : m_order)
        if (i > index)
            --i;
    Redraw();
    return TRUE;
}

LRESULT CHeaderControl::Get(int index, HDITEMW* item) const
{
    if (item == nullptr || !Valid(index))
        return FALSE;
    const Item& source = m_items[static_cast<size_t>(index)];
    if ((item->mask & HDI_WIDTH) != 0)
        item->cxy = source.width;
    if ((item->mask & HDI_TEXT) != 0 && item->pszText != nullptr && item->cchTextMax > 0) {
        const size_t n = std::min(source.text.size(), static_cast<size_t>(item->cchTextMax - 1));
        std::copy_n(source.text.begin(), n, item->pszText);
        item->pszText[n] = L'\0';
    }
    if ((item->mask & HDI_FORMAT) != 0)
        item->fmt = source.format;
    if ((item->mask & HDI_LPARAM) != 0)
        item->lParam = source.data;
    if ((item->mask & HDI_IMAGE) != 0)
        item->iImage = source.image;
    if ((item->mask & HDI_ORDER) != 0)
        item->iOrder = static_cast<int>(std::find(m_order.begin(), m_order.end(), index) - m_order.begin());
    return TRUE;
}

// Changes go past the parent first, which may refuse them.
LRESULT CHeaderControl::Set(int index, const HDITEMW* item)
{
    if (item == nullptr || !Valid(index))
        return FALSE;
    HDITEMW change = *item;
    if (Notify(HDN_ITEMCHANGINGW, index, &change) != 0 || Gone())
        return FALSE;
    Apply(m_items[static_cast<size_t>(index)], *item);
    if ((item->mask & HDI_ORDER) != 0 && item->iOrder >= 0) {
        m_order.erase(std::find(m_order.begin(), m_order.end(), index));
        m_order.insert(m_order.begin() + std::min(item->iOrder, static_cast<int>(m_order.size())), index);
    }
    Notify(HDN_ITEMCHANGEDW, index, &change);
    Redraw();
    return TRUE;
}

void CHeaderControl::Apply(Item& target, const HDITEMW& source)
{
    if ((source.mask & HDI_WIDTH) != 0)
        target.width = std::max(0, source.cxy);
    if ((source.mask & HDI_TEXT) != 0)
        target.text = source.pszText != nullptr ? source.pszText : L"";
    if ((source.mask & HDI_FORMAT) != 0)
        target.format = source.fmt;
    if ((source.mask & HDI_LPARAM) != 0)
        target.data = source.lParam;
    if ((source.mask & HDI_IMAGE) != 0)
        target.image = source.iImage;
}

LRESULT CHeaderControl::GetOrder(int count, int* order) const
{
    if (order == nullptr || count != static_cast<int>(m_order.size()))
        return FALSE;
    std::copy(m_order.begin(), m_order.end(), order);
    return TRUE;
}

// Only a permutation of the items is taken.
LRESULT CHeaderControl::SetOrder(int count, const int* order)
{
    if (order == nullptr || count != static_cast<int>(m_order.size()))
        return FALSE;
    std::vector<int> next(order, order + count);
    std::vector<int> sorted = next;
    std::sort(sorted.begin(), sorted.end());
    for (int i = 0; i < count; ++i)
        if (sorted[static_cast<size_t>(i)] != i)
            return FALSE;
    m_order = std::move(next);
    Redraw();
    return TRUE;
}

// ---------------------------------------------------------------------------
// Geometry
// ---------------------------------------------------------------------------

int CHeaderControl::Height() const
{
    return FontHeight(Hwnd(), Font()) + 6;
}

LRESULT CHeaderControl::ItemRect(int index, RECT* rect) const
{
    if (rect == nullptr || !Valid(index))
        return FALSE;
    const RECT client = Client();
    int left = 0;
    for (int i : m_order) {
        const int width = m_items[static_cast<size_t>(i)].width;
        if (i == index) {
            *rect = RECT{left, 0, left + width, client.bottom};
            return TRUE;
        }
        left += width;
    }
    return FALSE;
}

int CHeaderControl::DividerAt(int x) const
{
    int right = 0;
    int found = -1;
    // The last divider within reach wins, so that a zero-width item can be widened again.
    for (int i : m_order) {
        right += m_items[static_cast<size_t>(i)].width;
        if (x >= right - kDividerGrip && x <= right + kDividerGrip)
            found = i;
        else if (x < right - kDividerGrip)
            break;
    }
    return found;
}

int CHeaderControl::ItemAt(int x) const
{
    int left = 0;
    for (int i : m_order) {
        const int width = m_items[static_cast<size_t>(i)].width;
        if (x >= left && x < left + width)
            return i;
        left += width;
    }
    return -1;
}

LRESULT CHeaderControl::HitTest(HDHITTESTINFO* info) const
{
    if (info == nullptr)
        return -1;
    const RECT client = Client();
    info->flags = 0;
    info->iItem = -1;
    if (info->pt.y < 0)
        info->flags |= HHT_ABOVE;
    if (info->pt.y >= client.bottom)
        info->flags |= HHT_BELOW;
    if (info->pt.x < 0)
        info->flags |= HHT_TOLEFT;
    if (info->pt.x >= client.right)
        info->flags |= HHT_TORIGHT;
    if (info->flags != 0)
        return -1;
    if (const int divider = DividerAt(info->pt.x); divider >= 0) {
        info->flags = HHT_ONDIVIDER;
        info->iItem = divider;
    } else if (const int item = ItemAt(info->pt.x); item >= 0) {
        info->flags = HHT_ONHEADER;
        info->iItem = item;
    } else {
        info->flags = HHT_NOWHERE;
    }
    return info->iItem;
}

LRESULT CHeaderControl::Layout(HDLAYOUT* layout) const
{
    if (layout == nullptr || layout->prc == nullptr || layout->pwpos == nullptr)
        return FALSE;
    RECT& area = *layout->prc;
    const int height = (Style() & HDS_HIDDEN) != 0 ? 0 : Height();
    *layout->pwpos = WINDOWPOS{};
    layout->pwpos->hwnd = Hwnd();
    layout->pwpos->x = area.left;
    layout->pwpos->y = area.top;
    layout->pwpos->cx = area.right - area.left;
    layout->pwpos->cy = height;
    layout->pwpos->flags = SWP_NOZORDER | SWP_NOACTIVATE;
    area.top += height;
    return TRUE;
}

// ---------------------------------------------------------------------------
// The parent and the pointer
// ---------------------------------------------------------------------------

LRESULT CHeaderControl::Notify(UINT code, int index, HDITEMW* item, int button) const
{
    NMHEADERW note;
    note.hdr.hwndFrom = Hwnd();
    note.hdr.idFrom = static_cast<UINT_PTR>(Id());
    note.hdr.code = code;
    note.iItem = index;
    note.iButton = button;
    note.pitem = item;
    HWND parent = Parent();
    return parent != nullptr ? SendMessageW(parent, WM_NOTIFY, note.hdr.idFrom, reinterpret_cast<LPARAM>(&note)) : 0;
}

bool CHeaderControl::ChangeWidth(int index, int width)
{
    HDITEMW change;
    change.mask = HDI_WIDTH;
    change.cxy = std::max(0, width);
    return Set(index, &change) != FALSE;
}

void CHeaderControl::OnButtonDown(POINT at)
{
    const int divider = DividerAt(at.x);
    if (divider >= 0) {
        HDITEMW item;
        item.mask = HDI_WIDTH;
        item.cxy = m_items[static_cast<size_t>(divider)].width;
        if (Notify(HDN_BEGINTRACKW, divider, &item) != 0 || Gone())
            return;
        RECT r{};
        ItemRect(divider, &r);
        m_tracking = divider;
        m_trackWidth = item.cxy;
        m_trackOffset = at.x - r.right;
        SetCapture(Hwnd());
        return;
    }
    if ((Style() & HDS_BUTTONS) != 0 && (m_pressed = ItemAt(at.x)) >= 0) {
        SetCapture(Hwnd());
        Redraw();
    }
}

void CHeaderControl::OnMouseMove(POINT at)
{
    if (m_tracking < 0)
        return;
    RECT r{};
    ItemRect(m_tracking, &r);
    HDITEMW item;
    item.mask = HDI_WIDTH;
    item.cxy = std::max(0, at.x - m_trackOffset - static_cast<int>(r.left));
    if (Notify(HDN_TRACKW, m_tracking, &item) != 0 || Gone()) {
        EndTrack(false);
        return;
    }
    m_trackWidth = item.cxy;
    if ((Style() & HDS_FULLDRAG) != 0)
        ChangeWidth(m_tracking, m_trackWidth);
}

void CHeaderControl::OnButtonUp(POINT at)
{
    if (m_tracking >= 0) {
        EndTrack(true);
        return;
    }
    const int pressed = m_pressed;
    m_pressed = -1;
    if (GetCapture() == Hwnd())
        ReleaseCapture();
    if (pressed >= 0) {
        Redraw();
        if (ItemAt(at.x) == pressed && at.y >= 0 && at.y < Client().bottom)
            Notify(HDN_ITEMCLICKW, pressed);
    }
}

void CHeaderControl::EndTrack(bool commit)
{
    const int index = m_tracking;
    m_tracking = -1;
    if (GetCapture() == Hwnd())
        ReleaseCapture();
    if (!Valid(index))
        return;
    HDITEMW item;
    item.mask = HDI_WIDTH;
    item.cxy = m_trackWidth;
    Notify(HDN_ENDTRACKW, index, &item);
    if (commit && !Gone() && item.cxy != m_items[static_cast<size_t>(index)].width)
        ChangeWidth(index, item.cxy);
}

void CHeaderControl::OnDoubleClick(POINT at)
{
    if (const int divider = DividerAt(at.x); divider >= 0) {
        Notify(HDN_DIVIDERDBLCLICKW, divider);
        return;
    }
    const int item = ItemAt(at.x);
    if (item < 0 || (Style() & HDS_BUTTONS) == 0)
        return;
    Notify(HDN_ITEMDBLCLICKW, item);
    // The second press of a double click presses the item as the first did,
    // so its release is a column click too: a list sorted by quick clicks
    // turns its order each time.
    if (!Gone())
        OnButtonDown(at);
}

bool CHeaderControl::OnSetCursor() const
{
    POINT at{};
    GetCursorPos(&at);
    ScreenToClient(Hwnd(), &at);
    if (m_tracking < 0 && DividerAt(at.x) < 0)
        return false;
    SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
    return true;
}

// ---------------------------------------------------------------------------
// Drawing
// ---------------------------------------------------------------------------

void CHeaderControl::Paint(HDC dc)
{
    const RECT client = Client();
    Fill(dc, client, COLOR_3DFACE);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    int left = 0;
    for (int i : m_order) {
        const Item& item = m_items[static_cast<size_t>(i)];
        PaintItem(dc, item, RECT{left, 0, left + item.width, client.bottom}, i == m_pressed);
        left += item.width;
    }
    // The space past the last item looks like an empty button.
    if (left < client.right) {
        RECT rest{left, 0, client.right, client.bottom};
        DrawEdge(dc, &rest, EDGE_RAISED, BF_RECT | BF_SOFT);
    }
}

void CHeaderControl::PaintItem(HDC dc, const Item& item, RECT r, bool pressed) const
{
    if (item.width <= 0)
        return;
    RECT frame = r;
    DrawEdge(dc, &frame, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_SOFT);
    RECT inner{r.left + kTextMargin, r.top + 1, r.right - kTextMargin, r.bottom - 1};
    if (pressed)
        OffsetRect(&inner, 1, 1);
    if ((item.format & HDF_IMAGE) != 0 && m_images != nullptr && item.image >= 0) {
        int w = 0;
        int h = 0;
        ImageList_GetIconSize(m_images, &w, &h);
        if (inner.left + w <= inner.right) {
            ImageList_Draw(m_images, item.image, dc, inner.left, (inner.top + inner.bottom - h) / 2, ILD_TRANSPARENT);
            inner.left += w + kTextMargin / 2;
        }
    }
    const bool arrow = (item.format & (HDF_SORTUP | HDF_SORTDOWN)) != 0;
    if (arrow && inner.right - kArrowSize >= inner.left) {
        const int x = inner.right - kArrowSize;
        const int mid = (inner.top + inner.bottom) / 2;
        const bool up = (item.format & HDF_SORTUP) != 0;
        const POINT points[3] = {
            {x, up ? mid + 2 : mid - 2}, {x + kArrowSize, up ? mid + 2 : mid - 2}, {x + kArrowSize / 2, up ? mid - 2 : mid + 2}};
        HGDIOBJ oldBrush = SelectObject(dc, GetSysColorBrush(COLOR_3DSHADOW));
        HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
        Polygon(dc, points, 3);
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
        inner.right = x - kTextMargin / 2;
    }
    if ((item.format & HDF_STRING) == 0 || inner.right <= inner.left)
        return;
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;
    const int justify = item.format & HDF_JUSTIFYMASK;
    format |= justify == HDF_RIGHT ? DT_RIGHT : justify == HDF_CENTER ? DT_CENTER : DT_LEFT;
    DrawTextW(dc, item.text.c_str(), static_cast<int>(item.text.size()), &inner, format);
}

}
