#include "Platform/Controls/TabControl.h"

#include "Platform/Controls/ControlDrawing.h"
#include "Platform/Gdi/Gdi.h"
#include "Platform/Gdi/ImageListApi.h"

#include <algorithm>

namespace ZELL::Controls {

namespace {

// The narrowest tab when the parent set no minimum, and the width of fixed
// tabs when it set no size.
constexpr int kDefaultMinWidth = 42;
constexpr int kDefaultFixedWidth = 96;
// The panel's frame and the margin inside it.
constexpr int kPanelInset = 4;
constexpr int kPanelTopInset = 2;

void Line(HDC dc, int left, int top, int width, int height, int color)
{
    const RECT r{left, top, left + width, top + height};
    FillRect(dc, &r, GetSysColorBrush(color));
}


}

bool StepTabSelection(HWND tab, bool forward)
{
    wchar_t name[32]{};
    if (GetClassNameW(tab, name, 32) == 0 || std::wstring(name) != WC_TABCONTROLW)
        return false;
    const int count = static_cast<int>(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0));
    if (count < 2)
        return false;
    const int current = static_cast<int>(SendMessageW(tab, TCM_GETCURSEL, 0, 0));
    const int next = ((current < 0 ? 0 : current) + (forward ? 1 : count - 1)) % count;
    // TCM_SETCURFOCUS selects as the user does, with the parent asked.
    SendMessageW(tab, TCM_SETCURFOCUS, static_cast<WPARAM>(next), 0);
    return SendMessageW(tab, TCM_GETCURSEL, 0, 0) == next;
}

bool CTabControl::Notify(UINT code) const
{
    HWND parent = Parent();
    if (parent == nullptr)
        return false;
    NMHDR header{Hwnd(), static_cast<UINT_PTR>(Id()), code};
    return SendMessageW(parent, WM_NOTIFY, static_cast<WPARAM>(Id()), reinterpret_cast<LPARAM>(&header)) != 0;
}

void CTabControl::Changed()
{
    m_layoutStale = true;
    Redraw();
}

bool CTabControl::SelectByUser(int index)
{
    if (index < 0 || index >= Count() || index == m_selected)
        return false;
    if (Notify(TCN_SELCHANGING) || Gone())
        return false;
    m_selected = index;
    m_focused = index;
    Changed();
    ScrollToSelection();
    Notify(TCN_SELCHANGE);
    return true;
}

LRESULT CTabControl::InsertItem(int index, const TCITEMW* item)
{
    if (item == nullptr || index < 0)
        return -1;
    index = std::min(index, Count());
    Item added;
    SetItemFields(added, *item);
    m_items.insert(m_items.begin() + index, std::move(added));
    if (m_items.size() == 1) {
        m_selected = 0;
        m_focused = 0;
    } else {
        m_selected += m_selected >= index ? 1 : 0;
        m_focused += m_focused >= index ? 1 : 0;
    }
    Changed();
    return index;
}

void CTabControl::SetItemFields(Item& target, const TCITEMW& source)
{
    if ((source.mask & TCIF_TEXT) != 0)
        target.text = source.pszText != nullptr ? source.pszText : L"";
    if ((source.mask & TCIF_IMAGE) != 0)
        target.image = source.iImage;
    if ((source.mask & TCIF_PARAM) != 0)
        target.param = source.lParam;
    if ((source.mask & TCIF_STATE) != 0)
        target.state = (target.state & ~source.dwStateMask) | (source.dwState & source.dwStateMask);
}

// An index after the removed one moves down; the removed one itself leaves
// nothing selected (or focused), as the parent chooses what comes next.
LRESULT CTabControl::DeleteItem(int index)
{
    if (index < 0 || index >= Count())
        return FALSE;
    m_items.erase(m_items.begin() + index);
    for (int* kept : {&m_selected, &m_focused, &m_pressed})
        *kept = *kept == index ? -1 : *kept - (*kept > index ? 1 : 0);
    Changed();
    return TRUE;
}

LRESULT CTabControl::DeleteAll()
{
    m_items.clear();
    m_selected = m_focused = m_pressed = -1;
    Changed();
    return TRUE;
}

LRESULT CTabControl::GetItem(int index, TCITEMW* item) const
{
    if (item == nullptr || index < 0 || index >= Count())
        return FALSE;
    const Item& own = m_items[index];
    if ((item->mask & TCIF_TEXT) != 0 && item->pszText != nullptr && item->cchTextMax > 0) {
        const std::size_t room = static_cast<std::size_t>(item->cchTextMax) - 1;
        const std::size_t length = std::min(room, own.text.size());
        std::copy_n(own.text.data(), length, item->pszText);
        item->pszText[length] = L'\0';
    }
    if ((item->mask & TCIF_IMAGE) != 0)
        item->iImage = own.image;
    if ((item->mask & TCIF_PARAM) != 0)
        item->lParam = own.param;
    if ((item->mask & TCIF_STATE) != 0)
        item->dwState = own.state & item->dwStateMask;
    return TRUE;
}

LRESULT CTabControl::SetItem(int index, const TCITEMW* item)
{
    if (item == nullptr || index < 0 || index >= Count())
        return FALSE;
    SetItemFields(m_items[index], *item);
    Changed();
    return TRUE;
}

LRESULT CTabControl::SetSelection(int index)
{
    const int previous = m_selected;
    if (index < 0 || index >= Count())
        return -1;
    m_selected = index;
    m_focused = index;
    Changed();
    ScrollToSelection();
    return previous;
}

// Buttons move only the focus; tabs select the item, asking the parent.
LRESULT CTabControl::SetFocusItem(int index)
{
    if (index < 0 || index >= Count())
        return 0;
    if (Buttons()) {
        m_focused = index;
        Redraw();
    } else {
        SelectByUser(index);
    }
    return 0;
}

LRESULT CTabControl::GetItemRect(int index, RECT* rect)
{
    if (rect == nullptr || index < 0 || index >= Count())
        return FALSE;
    *rect = Layout().ItemRect(index);
    return TRUE;
}

// The display area of a window rectangle, or the window rectangle that a
// display area needs, with the rows the control has now.
LRESULT CTabControl::AdjustRect(bool toWindow, RECT* rect)
{
    if (rect == nullptr)
        return 0;
    const int band = Layout().BandHeight();
    const int side = Buttons() ? 0 : kPanelInset;
    const int top = band + (Buttons() ? 0 : kPanelTopInset);
    const int sign = toWindow ? -1 : 1;
    rect->left += sign * side;
    rect->right -= sign * side;
    rect->bottom -= sign * side;
    rect->top += sign * top;
    return 0;
}

LRESULT CTabControl::HitTest(TCHITTESTINFO* info)
{
    if (info == nullptr)
        return -1;
    const int index = Layout().ItemAt(info->pt, m_selected);
    info->flags = TCHT_NOWHERE;
    if (index < 0)
        return -1;
    info->flags = TCHT_ONITEMLABEL;
    const SIZE image = ImageListSize();
    if (m_items[index].image >= 0 && image.cx > 0) {
        const int iconLeft = m_layout.ItemRect(index).left + m_padding.cx;
        if (info->pt.x >= iconLeft && info->pt.x < iconLeft + image.cx)
            info->flags = TCHT_ONITEMICON;
    }
    return index;
}

LRESULT CTabControl::SetItemSize(LPARAM size)
{
    const LRESULT previous = MAKELRESULT(static_cast<WORD>(m_itemSize.cx), static_cast<WORD>(m_itemSize.cy));
    m_itemSize = {LOWORD(static_cast<DWORD>(size)), HIWORD(static_cast<DWORD>(size))};
    Changed();
    return previous;
}

LRESULT CTabControl::SetMinTabWidth(int width)
{
    const int previous = m_minWidth < 0 ? kDefaultMinWidth : m_minWidth;
    m_minWidth = width < 0 ? -1 : width;
    Changed();
    return previous;
}

LRESULT CTabControl::Highlight(int index, bool on)
{
    if (index < 0 || index >= Count())
        return FALSE;
    DWORD& state = m_items[index].state;
    state = on ? (state | TCIS_HIGHLIGHTED) : (state & ~TCIS_HIGHLIGHTED);
    Redraw();
    return TRUE;
}

LRESULT CTabControl::SetImageList(HIMAGELIST list)
{
    HIMAGELIST previous = m_images;
    m_images = list;
    Changed();
    return reinterpret_cast<LRESULT>(previous);
}

SIZE CTabControl::ImageListSize() const
{
    int w = 0;
    int h = 0;
    if (m_images == nullptr || !ImageList_GetIconSize(m_images, &w, &h))
        return SIZE{};
    return SIZE{w, h};
}

int CTabControl::ItemHeight(HDC dc) const
{
    if (m_itemSize.cy > 0)
        return m_itemSize.cy;
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    return std::max<int>(metrics.tmHeight, ImageListSize().cy) + 2 * m_padding.cy + 1;
}

int CTabControl::ItemWidth(HDC dc, const Item& item) const
{
    if ((Style() & TCS_FIXEDWIDTH) != 0)
        return m_itemSize.cx > 0 ? m_itemSize.cx : kDefaultFixedWidth;
    SIZE text{};
    GetTextExtentPoint32W(dc, item.text.c_str(), static_cast<int>(item.text.size()), &text);
    int width = text.cx + 2 * m_padding.cx;
    if (item.image >= 0 && ImageListSize().cx > 0)
        width += ImageListSize().cx + m_padding.cx;
    return std::max(width, m_minWidth < 0 ? kDefaultMinWidth : m_minWidth);
}

const CTabLayout& CTabControl::Layout()
{
    const RECT client = Client();
    if (!m_layoutStale && EqualRect(&client, &m_layoutClient) && m_layoutStyle == Style())
        return m_layout;
    HDC dc = GetDC(Hwnd());
    const int saved = SaveDC(dc);
    SelectObject(dc, Font());
    TabLayoutRequest request;
    for (const Item& item : m_items)
        request.widths.push_back(ItemWidth(dc, item));
    request.available = client.right - client.left;
    request.itemHeight = ItemHeight(dc);
    request.selected = m_selected;
    request.multiline = (Style() & TCS_MULTILINE) != 0;
    request.justify = request.multiline && (Style() & TCS_RAGGEDRIGHT) == 0;
    request.buttons = Buttons();
    RestoreDC(dc, saved);
    ReleaseDC(Hwnd(), dc);
    UpdateArrows(request);
    request.firstVisible = m_first;
    m_layout.Arrange(request);
    m_layoutClient = client;
    m_layoutStyle = Style();
    m_layoutStale = false;
    return m_layout;
}

void CTabControl::UpdateArrows(const TabLayoutRequest& request)
{
    if (request.multiline || !CTabLayout::Overflows(request)) {
        if (m_arrows != nullptr)
            DestroyWindow(m_arrows);
        m_arrows = nullptr;
        m_first = 0;
        return;
    }
    const int height = request.itemHeight;
    const int width = 2 * std::max(height, 8);
    const RECT client = Client();
    if (m_arrows == nullptr)
        m_arrows = CreateWindowExW(0, UPDOWN_CLASSW, L"", WS_CHILD | WS_VISIBLE | UDS_HORZ, 0, 0, width, height, Hwnd(),
                                   nullptr, nullptr, nullptr);
    SetWindowPos(m_arrows, nullptr, client.right - width, CTabLayout::kRaise, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    m_first = std::clamp(m_first, 0, std::max(0, Count() - 1));
    SendMessageW(m_arrows, UDM_SETRANGE32, 0, std::max(0, Count() - 1));
    SendMessageW(m_arrows, UDM_SETPOS32, 0, m_first);
}

LRESULT CTabControl::OnArrows(WPARAM wParam, HWND from)
{
    constexpr WORD kThumbPosition = 4;
    if (from == nullptr || from != m_arrows || LOWORD(wParam) != kThumbPosition)
        return 0;
    m_first = std::clamp<int>(static_cast<SHORT>(HIWORD(wParam)), 0, std::max(0, Count() - 1));
    Changed();
    return 0;
}

void CTabControl::ScrollToSelection()
{
    Layout();
    if (m_arrows == nullptr || m_selected < 0)
        return;
    RECT arrows{};
    GetWindowRect(m_arrows, &arrows);
    MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT*>(&arrows), 2);
    const int first = m_first;
    if (m_selected < m_first)
        m_first = m_selected;
    for (int step = 0; step < Count() && m_first < m_selected; ++step) {
        m_layoutStale = true;
        if (Layout().ItemRect(m_selected).right <= arrows.left)
            break;
        ++m_first;
    }
    if (m_first != first)
        Changed();
}

bool CTabControl::HandleControlKey(UINT key)
{
    if (key == VK_TAB)
        return StepTabSelection(Hwnd(), !ShiftDown()) || true;
    if (key == VK_NEXT || key == VK_PRIOR)
        return StepTabSelection(Hwnd(), key == VK_NEXT) || true;
    return false;
}

LRESULT CTabControl::OnKeyDown(UINT key)
{
    if (HWND parent = Parent()) {
        NMTCKEYDOWN down;
        down.hdr = NMHDR{Hwnd(), static_cast<UINT_PTR>(Id()), TCN_KEYDOWN};
        down.wVKey = static_cast<WORD>(key);
        SendMessageW(parent, WM_NOTIFY, static_cast<WPARAM>(Id()), reinterpret_cast<LPARAM>(&down));
    }
    if (ControlDown() && HandleControlKey(key))
        return 0;
    if (key != VK_LEFT && key != VK_RIGHT)
        return 0;
    const int from = m_focused >= 0 ? m_focused : std::max(m_selected, 0);
    const int to = std::clamp(from + (key == VK_RIGHT ? 1 : -1), 0, Count() - 1);
    if (Buttons())
        SetFocusItem(to);
    else
        SelectByUser(to);
    return 0;
}

LRESULT CTabControl::OnButtonDown(POINT point)
{
    const DWORD style = Style();
    const bool takesFocus = (style & TCS_FOCUSNEVER) == 0 && (!Buttons() || (style & TCS_FOCUSONBUTTONDOWN) != 0);
    if (takesFocus && !Focused())
        SetFocus(Hwnd());
    TCHITTESTINFO hit{point, 0};
    m_pressed = static_cast<int>(HitTest(&hit));
    if (m_pressed >= 0)
        SelectByUser(m_pressed);
    return 0;
}

LRESULT CTabControl::OnButtonUp()
{
    const bool wasOnItem = m_pressed >= 0;
    m_pressed = -1;
    if (wasOnItem)
        Notify(NM_CLICK);
    return 0;
}

// Ctrl+Tab and Ctrl+PageUp/PageDown belong to the control while it has the focus.
LRESULT CTabControl::DialogCode(const MSG* message) const
{
    LRESULT code = DLGC_WANTARROWS;
    if (message != nullptr && message->message == WM_KEYDOWN && ControlDown() &&
        (message->wParam == VK_TAB || message->wParam == VK_PRIOR || message->wParam == VK_NEXT))
        code |= DLGC_WANTMESSAGE;
    return code;
}

LRESULT CTabControl::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    const int index = static_cast<int>(wParam);
    switch (message) {
    case TCM_INSERTITEMW: return InsertItem(index, reinterpret_cast<const TCITEMW*>(lParam));
    case TCM_DELETEITEM: return DeleteItem(index);
    case TCM_DELETEALLITEMS: return DeleteAll();
    case TCM_GETITEMW: return GetItem(index, reinterpret_cast<TCITEMW*>(lParam));
    case TCM_SETITEMW: return SetItem(index, reinterpret_cast<const TCITEMW*>(lParam));
    case TCM_GETITEMCOUNT: return Count();
    case TCM_GETCURSEL: return m_selected;
    case TCM_SETCURSEL: return SetSelection(index);
    case TCM_GETCURFOCUS: return m_focused;
    case TCM_SETCURFOCUS: return SetFocusItem(index);
    case TCM_GETITEMRECT: return GetItemRect(index, reinterpret_cast<RECT*>(lParam));
    case TCM_ADJUSTRECT: return AdjustRect(wParam != 0, reinterpret_cast<RECT*>(lParam));
    case TCM_HITTEST: return HitTest(reinterpret_cast<TCHITTESTINFO*>(lParam));
    case TCM_GETROWCOUNT: return Layout().Rows();
    case TCM_SETIMAGELIST: return SetImageList(reinterpret_cast<HIMAGELIST>(lParam));
    case TCM_GETIMAGELIST: return reinterpret_cast<LRESULT>(m_images);
    case TCM_SETITEMSIZE: return SetItemSize(lParam);
    case TCM_SETPADDING:
        m_padding = {LOWORD(static_cast<DWORD>(lParam)), HIWORD(static_cast<DWORD>(lParam))};
        Changed();
        return 0;
    case TCM_SETMINTABWIDTH: return SetMinTabWidth(static_cast<int>(lParam));
    case TCM_HIGHLIGHTITEM: return Highlight(index, LOWORD(static_cast<DWORD>(lParam)) != 0);
    case WM_GETDLGCODE: return DialogCode(reinterpret_cast<const MSG*>(lParam));
    case WM_KEYDOWN: return OnKeyDown(static_cast<UINT>(wParam));
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: return OnButtonDown(PointOf(lParam));
    case WM_LBUTTONUP: return OnButtonUp();
    case WM_HSCROLL: return OnArrows(wParam, reinterpret_cast<HWND>(lParam));
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_SIZE: Changed(); return CControlWindow::OnMessage(message, wParam, lParam);
    case WM_SETFONT:
        m_layoutStale = true;
        return CControlWindow::OnMessage(message, wParam, lParam);
    default: return CControlWindow::OnMessage(message, wParam, lParam);
    }
}

}

namespace ZELL::Controls {

void CTabControl::Paint(HDC dc)
{
    const RECT client = Client();
    FillRect(dc, &client, GetSysColorBrush(COLOR_3DFACE));
    const CTabLayout& layout = Layout();
    if (!Buttons())
        PaintPanel(dc, client);
    for (int i = 0; i < Count(); ++i)
        if (i != m_selected || Buttons())
            PaintItem(dc, i, layout.ItemRect(i));
    if (m_selected >= 0 && !Buttons())
        PaintItem(dc, m_selected, CTabLayout::Raised(layout.ItemRect(m_selected)));
}

void CTabControl::PaintPanel(HDC dc, const RECT& client) const
{
    RECT panel = client;
    panel.top = m_layout.BandHeight();
    DrawEdge(dc, &panel, EDGE_RAISED, BF_RECT);
}

void CTabControl::PaintItem(HDC dc, int index, RECT rect)
{
    PaintItemFrame(dc, index, rect);
    InflateRect(&rect, -m_padding.cx / 2, -2);
    PaintItemContent(dc, index, rect);
}

// Tabs have rounded top corners, light at the left and top and dark at the
// right; the selected one reaches over the panel's top edge. Buttons are
// raised, or pushed in when selected; flat buttons show only the pushed one.
void CTabControl::PaintItemFrame(HDC dc, int index, const RECT& rect) const
{
    const bool selected = index == m_selected;
    const bool highlighted = (m_items[index].state & TCIS_HIGHLIGHTED) != 0;
    if (Buttons()) {
        RECT frame = rect;
        if (highlighted)
            FillRect(dc, &frame, GetSysColorBrush(COLOR_HIGHLIGHT));
        if (selected || (m_items[index].state & TCIS_BUTTONPRESSED) != 0)
            DrawEdge(dc, &frame, EDGE_SUNKEN, BF_RECT);
        else if ((Style() & TCS_FLATBUTTONS) == 0)
            DrawEdge(dc, &frame, EDGE_RAISED, BF_RECT);
        return;
    }
    const int left = rect.left;
    const int right = rect.right;
    const int top = rect.top;
    // The selected tab covers the panel's top edge below it, so it joins the panel.
    const int bottom = rect.bottom + (selected ? kPanelTopInset : 0);
    const RECT face{left, top, right, bottom};
    FillRect(dc, &face, GetSysColorBrush(highlighted ? COLOR_HIGHLIGHT : COLOR_3DFACE));
    Line(dc, left, top + 2, 1, bottom - top - 2, COLOR_3DHILIGHT);
    Line(dc, left + 1, top + 1, 1, 1, COLOR_3DHILIGHT);
    Line(dc, left + 2, top, right - left - 4, 1, COLOR_3DHILIGHT);
    Line(dc, right - 2, top + 1, 1, 1, COLOR_3DDKSHADOW);
    Line(dc, right - 1, top + 2, 1, bottom - top - 2, COLOR_3DDKSHADOW);
    Line(dc, right - 2, top + 2, 1, bottom - top - 2, COLOR_3DSHADOW);
}

void CTabControl::PaintItemContent(HDC dc, int index, RECT rect)
{
    const Item& item = m_items[index];
    const SIZE image = ImageListSize();
    if (item.image >= 0 && image.cx > 0) {
        const int y = rect.top + (rect.bottom - rect.top - image.cy) / 2;
        ImageList_Draw(m_images, item.image, dc, rect.left + m_padding.cx / 2, y, ILD_NORMAL);
        rect.left += m_padding.cx / 2 + image.cx;
    }
    const bool highlighted = (item.state & TCIS_HIGHLIGHTED) != 0;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(highlighted ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT));
    const UINT format = DT_SINGLELINE | DT_CENTER | DT_VCENTER;
    DrawControlText(dc, item.text, rect, format, Enabled());
    if (Focused() && index == m_focused && (Style() & TCS_FOCUSNEVER) == 0) {
        RECT focus = rect;
        InflateRect(&focus, -1, -1);
        DrawFocusRect(dc, &focus);
    }
}

}
