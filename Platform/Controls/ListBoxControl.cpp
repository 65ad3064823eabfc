#include "Platform/Controls/ListBoxControl.h"

#include "Platform/Base/Clock.h"
#include "Platform/Controls/ComboListBox.h"
#include "Platform/Controls/ControlDrawing.h"
#include "Platform/Controls/ListBoxText.h"
#include "Platform/Gdi/Gdi.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace ZELL::Controls {

namespace {

constexpr UINT_PTR kAutoScrollTimer = 1;
constexpr UINT kAutoScrollMs = 100;
constexpr int kMaxItemHeight = 255;
constexpr std::size_t kMaxTabStops = 256;
constexpr int kWheelLines = 3;
constexpr LRESULT kHandled = -2;  // WM_VKEYTOITEM / WM_CHARTOITEM: nothing more to do


// Type-ahead keeps adding to the typed prefix while the keys come this close.
DWORD TypeAheadTimeout() { return GetDoubleClickTime() * 4; }

}

CListBoxControl::CListBoxControl(HWND hwnd) : CControlWindow(hwnd) {}

// ---------------------------------------------------------------------------
// Messages
// ---------------------------------------------------------------------------

LRESULT CListBoxControl::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= LB_ADDSTRING && message <= LB_ITEMFROMPOINT)
        return OnItemMessage(message, wParam, lParam);
    return OnWindowMessage(message, wParam, lParam);
}

// The window messages: life, size, input, focus, and the combo box's tracking.
LRESULT CListBoxControl::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: OnCreate(*reinterpret_cast<const CREATESTRUCTW*>(lParam)); return 0;
    case WM_SIZE:
        FitIntegralHeight();
        SetTop(m_top);
        return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFONT: {
        const LRESULT result = CControlWindow::OnMessage(message, wParam, lParam);
        if (!OwnerDraw())
            m_layout.SetFixedHeight(FontHeight());
        FitIntegralHeight();
        SetTop(m_top);
        return result;
    }
    case WM_SETREDRAW:
        m_redraw = wParam != 0;
        DefaultProc(message, wParam, lParam);
        if (m_redraw) {
            UpdateScrollBar();
            Redraw();
        }
        return 0;
    case WM_ENABLE:
        if (wParam == 0)
            EndDrag();
        return CControlWindow::OnMessage(message, wParam, lParam);
    case WM_MOUSEACTIVATE: return IsDropDown() ? MA_NOACTIVATE : DefaultProc(message, wParam, lParam);
    case WM_LBUTTONDOWN: OnButtonDown(PointOf(lParam), wParam, false); return 0;
    case WM_LBUTTONDBLCLK: OnButtonDown(PointOf(lParam), wParam, true); return 0;
    case WM_MOUSEMOVE: OnMouseMove(PointOf(lParam)); return 0;
    case WM_LBUTTONUP: OnButtonUp(PointOf(lParam)); return 0;
    case WM_CAPTURECHANGED: OnCaptureLost(reinterpret_cast<HWND>(lParam)); return 0;
    case WM_TIMER:
        if (wParam == kAutoScrollTimer)
            OnAutoScroll();
        return 0;
    case WM_MOUSEWHEEL:
        SetTop(m_top - GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA * kWheelLines);
        return 0;
    case WM_VSCROLL: OnVScroll(LOWORD(wParam)); return 0;
    case WM_KEYDOWN: OnKeyDown(wParam); return 0;
    case WM_CHAR: OnChar(static_cast<wchar_t>(wParam)); return 0;
    case WM_SETFOCUS: OnFocus(true); return 0;
    case WM_KILLFOCUS: OnFocus(false); return 0;
    case WM_DESTROY:
        // The items go (with WM_DELETEITEM), the window is past showing them.
        EndDrag();
        m_redraw = false;
        m_hasScrollBar = false;
        ResetContent();
        return 0;
    case LBCB_STARTTRACK: return StartTracking(wParam != 0);
    case LBCB_ENDTRACK:
        m_tracking = false;
        EndDrag();
        return TRUE;
    default: return CControlWindow::OnMessage(message, wParam, lParam);
    }
}

// The list messages that add, remove, read and find items.
LRESULT CListBoxControl::OnItemMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    const int index = static_cast<int>(wParam);
    switch (message) {
    case LB_ADDSTRING: return AddItem(-1, lParam, (Style() & LBS_SORT) != 0);
    case LB_INSERTSTRING: return AddItem(index, lParam, false);
    case LB_DELETESTRING: return DeleteItem(index);
    case LB_RESETCONTENT: ResetContent(); return LB_OKAY;
    case LB_GETCOUNT: return m_items.Count();
    case LB_GETTEXT: return GetText(index, lParam);
    case LB_GETTEXTLEN: return GetTextLength(index);
    case LB_GETITEMDATA: return m_items.Valid(index) ? static_cast<LRESULT>(m_items.At(index).data) : LB_ERR;
    case LB_SETITEMDATA:
        if (!m_items.Valid(index))
            return LB_ERR;
        m_items.At(index).data = static_cast<ULONG_PTR>(lParam);
        return TRUE;
    case LB_FINDSTRING: return Find(wParam, lParam, false);
    case LB_FINDSTRINGEXACT: return Find(wParam, lParam, true);
    case LB_SELECTSTRING: return SelectString(wParam, lParam);
    case LB_INITSTORAGE: return InitStorage(wParam);
    default: return OnSelectionMessage(message, wParam, lParam);
    }
}

// The list messages about the selection, the anchor and the caret.
LRESULT CListBoxControl::OnSelectionMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    const int index = static_cast<int>(wParam);
    switch (message) {
    case LB_SETCURSEL: return SetCurSel(index);
    case LB_GETCURSEL: return GetCurSel();
    case LB_SETSEL: return SetSel(wParam != 0, static_cast<int>(lParam));
    case LB_GETSEL: return m_items.Valid(index) ? (m_items.At(index).selected ? 1 : 0) : LB_ERR;
    case LB_GETSELCOUNT:
        return SelectionMode() == Mode::Single ? LB_ERR : static_cast<LRESULT>(m_items.Selected().size());
    case LB_GETSELITEMS: return GetSelItems(wParam, lParam);
    case LB_SELITEMRANGE:
        return SelectRange(LOWORD(static_cast<DWORD>(lParam)), HIWORD(static_cast<DWORD>(lParam)), wParam != 0);
    case LB_SELITEMRANGEEX: {
        const int first = static_cast<int>(wParam);
        const int last = static_cast<int>(lParam);
        return first <= last ? SelectRange(first, last, true) : SelectRange(last, first, false);
    }
    case LB_SETANCHORINDEX:
        if (!m_items.Valid(index))
            return LB_ERR;
        m_anchor = index;
        return LB_OKAY;
    case LB_GETANCHORINDEX: return m_items.Count() == 0 ? LB_ERR : m_anchor;
    case LB_SETCARETINDEX:
        if (!m_items.Valid(index))
            return LB_ERR;
        SetCaret(index);
        ShowItem(index, lParam != 0);
        return LB_OKAY;
    case LB_GETCARETINDEX: return m_caret;
    default: return OnViewMessage(message, wParam, lParam);
    }
}

// The list messages about what is shown: the top item, heights, rectangles, tab stops.
LRESULT CListBoxControl::OnViewMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    const int index = static_cast<int>(wParam);
    switch (message) {
    case LB_GETTOPINDEX: return m_top;
    case LB_SETTOPINDEX:
        if (!m_items.Valid(index) && !(index == 0 && m_items.Count() == 0))
            return LB_ERR;
        SetTop(index);
        return LB_OKAY;
    case LB_SETITEMHEIGHT: return SetItemHeight(wParam, lParam);
    case LB_GETITEMHEIGHT:
        if (Variable())
            return m_items.Valid(index) ? m_items.At(index).height : LB_ERR;
        return m_layout.FixedHeight();
    case LB_GETITEMRECT: {
        auto* rect = reinterpret_cast<RECT*>(lParam);
        if (rect == nullptr || !m_items.Valid(index))
            return LB_ERR;
        *rect = ItemRect(index);
        return TRUE;
    }
    case LB_ITEMFROMPOINT: {
        bool outside = false;
        const int item = ItemAtY(GET_Y_LPARAM(lParam), &outside);
        const RECT client = Client();
        outside = outside || PointOf(lParam).x < client.left || PointOf(lParam).x >= client.right;
        return MAKELRESULT(static_cast<WORD>(std::max(item, 0)), outside ? 1 : 0);
    }
    case LB_SETTABSTOPS: return SetTabStops(wParam, lParam);
    default: return CControlWindow::OnMessage(message, wParam, lParam);
    }
}

// ---------------------------------------------------------------------------
// Set-up and layout
// ---------------------------------------------------------------------------

void CListBoxControl::OnCreate(const CREATESTRUCTW& create)
{
    m_redraw = (create.style & LBS_NOREDRAW) == 0;
    m_hasScrollBar = (create.style & WS_VSCROLL) != 0;
    m_layout.SetVariable((create.style & LBS_OWNERDRAWVARIABLE) != 0);
    m_layout.SetFixedHeight(FontHeight());
    if ((create.style & LBS_OWNERDRAWFIXED) != 0 && (create.style & LBS_OWNERDRAWVARIABLE) == 0)
        MeasureFixed();
    FitIntegralHeight();
    UpdateScrollBar();
}

CListBoxControl::Mode CListBoxControl::SelectionMode() const
{
    const DWORD style = Style();
    if ((style & LBS_NOSEL) != 0)
        return Mode::None;
    if ((style & LBS_EXTENDEDSEL) != 0)
        return Mode::Extended;
    if ((style & LBS_MULTIPLESEL) != 0)
        return Mode::Multiple;
    return Mode::Single;
}

int CListBoxControl::FontHeight() const
{
    return std::clamp(ZELL::Controls::FontHeight(Hwnd(), Font()), 1, kMaxItemHeight);
}

void CListBoxControl::MeasureFixed()
{
    MEASUREITEMSTRUCT measure;
    measure.CtlType = ODT_LISTBOX;
    measure.CtlID = static_cast<UINT>(Id());
    measure.itemHeight = static_cast<UINT>(m_layout.FixedHeight());
    measure.itemWidth = static_cast<UINT>(Client().right);
    if (HWND target = Target())
        SendMessageW(target, WM_MEASUREITEM, measure.CtlID, reinterpret_cast<LPARAM>(&measure));
    m_layout.SetFixedHeight(std::clamp(static_cast<int>(measure.itemHeight), 1, kMaxItemHeight));
}

int CListBoxControl::MeasureVariable(int index, LPARAM lParam) const
{
    MEASUREITEMSTRUCT measure;
    measure.CtlType = ODT_LISTBOX;
    measure.CtlID = static_cast<UINT>(Id());
    measure.itemID = static_cast<UINT>(index);
    measure.itemHeight = static_cast<UINT>(m_layout.FixedHeight());
    measure.itemWidth = static_cast<UINT>(Client().right);
    measure.itemData = static_cast<ULONG_PTR>(lParam);
    if (HWND target = Target())
        SendMessageW(target, WM_MEASUREITEM, measure.CtlID, reinterpret_cast<LPARAM>(&measure));
    return std::clamp(static_cast<int>(measure.itemHeight), 1, kMaxItemHeight);
}

// Without LBS_NOINTEGRALHEIGHT the window shrinks to show whole items only.
void CListBoxControl::FitIntegralHeight()
{
    if (m_fitting || (Style() & LBS_NOINTEGRALHEIGHT) != 0 || Variable())
        return;
    const int height = ClientHeight();
    const int spare = height % m_layout.FixedHeight();
    if (spare == 0 || height < m_layout.FixedHeight())
        return;
    RECT window{};
    GetWindowRect(Hwnd(), &window);
    m_fitting = true;
    SetWindowPos(Hwnd(), nullptr, 0, 0, window.right - window.left, window.bottom - window.top - spare,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_fitting = false;
}

int CListBoxControl::ClientHeight() const
{
    const RECT client = Client();
    return client.bottom - client.top;
}

int CListBoxControl::HeightOf(int index) const
{
    return m_layout.HeightOf(index);
}

int CListBoxControl::ItemY(int index) const
{
    return m_layout.ItemY(index, m_top);
}

RECT CListBoxControl::ItemRect(int index) const
{
    const int y = ItemY(index);
    return {0, y, Client().right, y + HeightOf(index)};
}

int CListBoxControl::ItemAtY(int y, bool* outside) const
{
    return m_layout.ItemAt(y, m_top, ClientHeight(), outside);
}

int CListBoxControl::PageSize() const
{
    return m_layout.PageSize(m_top, ClientHeight());
}

int CListBoxControl::MaxTop() const
{
    return m_layout.MaxTop(ClientHeight());
}

void CListBoxControl::SetTop(int top)
{
    top = std::clamp(top, 0, MaxTop());
    if (top != m_top) {
        m_top = top;
        if (CanDraw())
            Redraw();
    }
    UpdateScrollBar();
}

// Scrolls until the item shows whole (or at least partly, with `partly`).
void CListBoxControl::ShowItem(int index, bool partly)
{
    if (m_items.Valid(index))
        SetTop(m_layout.TopShowing(index, m_top, ClientHeight(), partly));
}

void CListBoxControl::UpdateScrollBar()
{
    if (!m_hasScrollBar || !m_redraw)
        return;
    SCROLLINFO info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    if ((Style() & LBS_DISABLENOSCROLL) != 0)
        info.fMask |= SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = std::max(0, m_items.Count() - 1);
    info.nPage = static_cast<UINT>(m_items.Count() - MaxTop());
    info.nPos = m_top;
    SetScrollInfo(Hwnd(), SB_VERT, &info, TRUE);
}

void CListBoxControl::OnVScroll(WORD code)
{
    switch (code) {
    case SB_LINEUP: SetTop(m_top - 1); break;
    case SB_LINEDOWN: SetTop(m_top + 1); break;
    case SB_PAGEUP: SetTop(m_top - PageSize()); break;
    case SB_PAGEDOWN: SetTop(m_top + PageSize()); break;
    case SB_TOP: SetTop(0); break;
    case SB_BOTTOM: SetTop(MaxTop()); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO info;
        info.fMask = SIF_TRACKPOS;
        if (GetScrollInfo(Hwnd(), SB_VERT, &info))
            SetTop(info.nTrackPos);
        break;
    }
    default: break;
    }
}

// ---------------------------------------------------------------------------
// Items
// ---------------------------------------------------------------------------

LRESULT CListBoxControl::ErrorSpace()
{
    Notify(LBN_ERRSPACE);
    return LB_ERRSPACE;
}

int CListBoxControl::CompareItems(const ListBoxItem& item, int index) const
{
    const ListBoxItem& other = m_items.At(index);
    if (HasStrings())
        return CListBoxItems::CompareText(item.text, other.text);
    COMPAREITEMSTRUCT compare;
    compare.CtlType = ODT_LISTBOX;
    compare.CtlID = static_cast<UINT>(Id());
    compare.hwndItem = Hwnd();
    // The new item has no index yet: -1, as the platform passes it.
    compare.itemID1 = static_cast<UINT>(-1);
    compare.itemData1 = item.data;
    compare.itemID2 = static_cast<UINT>(index);
    compare.itemData2 = other.data;
    HWND target = Target();
    return target != nullptr
               ? static_cast<int>(SendMessageW(target, WM_COMPAREITEM, compare.CtlID, reinterpret_cast<LPARAM>(&compare)))
               : 0;
}

LRESULT CListBoxControl::AddItem(int index, LPARAM lParam, bool sorted)
{
    if (index < -1 || index > m_items.Count())
        return LB_ERR;
    ListBoxItem item;
    if (HasStrings()) {
        const auto* text = reinterpret_cast<LPCWSTR>(lParam);
        if (text != nullptr)
            item.text = text;
    } else {
        item.data = static_cast<ULONG_PTR>(lParam);
    }
    try {
        if (sorted)
            index = m_items.SortedPosition(item, [this](const ListBoxItem& a, int at) { return CompareItems(a, at); });
        index = m_items.Insert(index, std::move(item));
    } catch (const std::bad_alloc&) {
        return ErrorSpace();
    }
    if (Variable())
        m_items.At(index).height = MeasureVariable(index, lParam);
    // What stood at or after the new item moves down with it.
    if (m_caret >= index && m_items.Count() > 1)
        ++m_caret;
    if (m_anchor >= index && m_items.Count() > 1)
        ++m_anchor;
    if (CanDraw())
        Redraw();
    UpdateScrollBar();
    return index;
}

void CListBoxControl::SendDeleteItem(int index, const ListBoxItem& item) const
{
    if (!OwnerDraw() && item.data == 0)
        return;
    HWND target = Target();
    if (target == nullptr)
        return;
    DELETEITEMSTRUCT deleted;
    deleted.CtlType = ODT_LISTBOX;
    deleted.CtlID = static_cast<UINT>(Id());
    deleted.itemID = static_cast<UINT>(index);
    deleted.hwndItem = Hwnd();
    deleted.itemData = item.data;
    SendMessageW(target, WM_DELETEITEM, deleted.CtlID, reinterpret_cast<LPARAM>(&deleted));
}

LRESULT CListBoxControl::DeleteItem(int index)
{
    if (!m_items.Valid(index))
        return LB_ERR;
    const ListBoxItem removed = m_items.Remove(index);
    SendDeleteItem(index, removed);
    const int last = std::max(0, m_items.Count() - 1);
    if (m_caret > index)
        --m_caret;
    if (m_anchor > index)
        --m_anchor;
    m_caret = std::min(m_caret, last);
    m_anchor = std::min(m_anchor, last);
    SetTop(m_top);
    if (CanDraw())
        Redraw();
    return m_items.Count();
}

void CListBoxControl::ResetContent()
{
    std::vector<ListBoxItem> all = m_items.TakeAll();
    for (std::size_t i = 0; i < all.size(); ++i)
        SendDeleteItem(static_cast<int>(i), all[i]);
    m_caret = m_anchor = m_top = 0;
    UpdateScrollBar();
    if (CanDraw())
        Redraw();
}

// Lists without strings hand out the item data in the text's place.
LRESULT CListBoxControl::GetText(int index, LPARAM buffer) const
{
    if (!m_items.Valid(index) || buffer == 0)
        return LB_ERR;
    const ListBoxItem& item = m_items.At(index);
    if (!HasStrings()) {
        std::memcpy(reinterpret_cast<void*>(buffer), &item.data, sizeof(item.data));
        return static_cast<LRESULT>(sizeof(item.data));
    }
    auto* out = reinterpret_cast<wchar_t*>(buffer);
    std::copy(item.text.begin(), item.text.end(), out);
    out[item.text.size()] = L'\0';
    return static_cast<LRESULT>(item.text.size());
}

LRESULT CListBoxControl::GetTextLength(int index) const
{
    if (!m_items.Valid(index))
        return LB_ERR;
    return HasStrings() ? static_cast<LRESULT>(m_items.At(index).text.size()) : static_cast<LRESULT>(sizeof(ULONG_PTR));
}

LRESULT CListBoxControl::Find(WPARAM start, LPARAM lParam, bool exact) const
{
    const int from = static_cast<int>(start);
    if (!HasStrings()) {
        const int found = m_items.FindData(from, static_cast<ULONG_PTR>(lParam));
        return found < 0 ? LB_ERR : found;
    }
    const auto* text = reinterpret_cast<LPCWSTR>(lParam);
    if (text == nullptr)
        return LB_ERR;
    const int found = m_items.Find(from, text, exact);
    return found < 0 ? LB_ERR : found;
}

LRESULT CListBoxControl::SelectString(WPARAM start, LPARAM lParam)
{
    const LRESULT found = Find(start, lParam, false);
    if (found < 0)
        return LB_ERR;
    const int index = static_cast<int>(found);
    if (SelectionMode() == Mode::Single) {
        SetCurSel(index);
    } else if (SelectionMode() != Mode::None) {
        Refresh(m_items.SetRange(index, index, true));
        SetCaret(index);
        ShowItem(index, false);
    }
    return found;
}

LRESULT CListBoxControl::SetItemHeight(WPARAM index, LPARAM height)
{
    const int value = static_cast<int>(LOWORD(static_cast<DWORD>(height)));
    if (value < 1 || value > kMaxItemHeight)
        return LB_ERR;
    if (Variable()) {
        const int item = static_cast<int>(index);
        if (!m_items.Valid(item))
            return LB_ERR;
        m_items.At(item).height = value;
    } else {
        m_layout.SetFixedHeight(value);
        FitIntegralHeight();
    }
    SetTop(m_top);
    if (CanDraw())
        Redraw();
    return LB_OKAY;
}

LRESULT CListBoxControl::SetTabStops(WPARAM count, LPARAM stops)
{
    if ((Style() & LBS_USETABSTOPS) == 0)
        return FALSE;
    const auto* given = reinterpret_cast<const int*>(stops);
    if (count > kMaxTabStops || (count > 0 && given == nullptr))
        return FALSE;
    m_tabStops.assign(given, given + count);
    if (CanDraw())
        Redraw();
    return TRUE;
}

LRESULT CListBoxControl::InitStorage(WPARAM count)
{
    if (!m_items.Reserve(static_cast<std::size_t>(count)))
        return ErrorSpace();
    return static_cast<LRESULT>(m_items.Count()) + static_cast<LRESULT>(count);
}

// ---------------------------------------------------------------------------
// Selection
// ---------------------------------------------------------------------------

LRESULT CListBoxControl::SetCurSel(int index)
{
    if (SelectionMode() != Mode::Single)
        return LB_ERR;
    const bool valid = m_items.Valid(index);
    Refresh(m_items.SelectOnly(valid ? index : -1));
    if (!valid)
        return LB_ERR;
    SetCaret(index);
    m_anchor = index;
    ShowItem(index, false);
    return index;
}

LRESULT CListBoxControl::GetCurSel() const
{
    if (SelectionMode() == Mode::None)
        return LB_ERR;
    // Lists of several selected items answer with the caret, as the platform's do.
    if (SelectionMode() != Mode::Single)
        return m_items.Count() == 0 ? LB_ERR : m_caret;
    const std::vector<int> selected = m_items.Selected();
    return selected.empty() ? LB_ERR : selected.front();
}

LRESULT CListBoxControl::SetSel(bool select, int index)
{
    if (SelectionMode() != Mode::Multiple && SelectionMode() != Mode::Extended)
        return LB_ERR;
    if (index == -1) {
        Refresh(m_items.SetRange(0, m_items.Count() - 1, select));
        return LB_OKAY;
    }
    if (!m_items.Valid(index))
        return LB_ERR;
    Refresh(m_items.SetRange(index, index, select));
    return LB_OKAY;
}

LRESULT CListBoxControl::GetSelItems(WPARAM max, LPARAM out) const
{
    if (SelectionMode() == Mode::Single)
        return LB_ERR;
    auto* indexes = reinterpret_cast<int*>(out);
    const std::vector<int> selected = m_items.Selected();
    const std::size_t n = std::min<std::size_t>(selected.size(), max);
    if (n > 0 && indexes == nullptr)
        return LB_ERR;
    std::copy_n(selected.begin(), n, indexes);
    return static_cast<LRESULT>(n);
}

LRESULT CListBoxControl::SelectRange(int first, int last, bool select)
{
    if (SelectionMode() != Mode::Multiple && SelectionMode() != Mode::Extended)
        return LB_ERR;
    if (m_items.Count() == 0 || std::min(first, last) >= m_items.Count())
        return LB_ERR;
    Refresh(m_items.SetRange(first, last, select));
    return LB_OKAY;
}

void CListBoxControl::SetCaret(int index)
{
    if (index == m_caret)
        return;
    const int previous = m_caret;
    m_caret = index;
    if (m_focused) {
        RefreshItem(previous, ODA_FOCUS);
        RefreshItem(m_caret, ODA_FOCUS);
    }
}

void CListBoxControl::Refresh(const std::vector<int>& changed)
{
    for (int index : changed)
        RefreshItem(index, ODA_SELECT);
}

template <class Action>
void CListBoxControl::ByUser(Action action)
{
    const std::vector<int> before = m_items.Selected();
    action();
    if (Notifies() && m_items.Selected() != before)
        Notify(LBN_SELCHANGE);
}

void CListBoxControl::SelectByPointer(int index, WPARAM keys, bool first)
{
    const bool shift = (keys & MK_SHIFT) != 0;
    const bool control = (keys & MK_CONTROL) != 0;
    switch (SelectionMode()) {
    case Mode::None: return;
    case Mode::Single: Refresh(m_items.SelectOnly(index)); break;
    case Mode::Multiple:
        if (first)
            Refresh(m_items.SetRange(index, index, !m_items.At(index).selected));
        break;
    case Mode::Extended:
        if (first && !shift) {
            m_anchor = index;
            m_dragSelects = !control || !m_items.At(index).selected;
            if (!control)
                Refresh(m_items.SelectOnly(index));
            else
                Refresh(m_items.SetRange(index, index, m_dragSelects));
        } else if (control) {
            // A Ctrl drag paints its state over the range, the rest stays.
            Refresh(m_items.SetRange(m_anchor, index, m_dragSelects));
        } else {
            Refresh(m_items.SelectOnly(-1));
            Refresh(m_items.SetRange(m_anchor, index, true));
        }
        break;
    }
    if (SelectionMode() != Mode::Extended)
        m_anchor = index;
    SetCaret(index);
}

void CListBoxControl::SelectByKey(int index)
{
    const bool shift = KeyDown(VK_SHIFT);
    const bool control = KeyDown(VK_CONTROL);
    switch (SelectionMode()) {
    case Mode::Single: Refresh(m_items.SelectOnly(index)); break;
    case Mode::Extended:
        if (shift) {
            Refresh(m_items.SelectOnly(-1));
            Refresh(m_items.SetRange(m_anchor, index, true));
        } else if (!control) {
            Refresh(m_items.SelectOnly(index));
            m_anchor = index;
        }
        break;
    case Mode::Multiple:
    case Mode::None: break;
    }
    SetCaret(index);
    ShowItem(index, false);
}

// ---------------------------------------------------------------------------
// Mouse
// ---------------------------------------------------------------------------

void CListBoxControl::OnButtonDown(POINT p, WPARAM keys, bool doubleClick)
{
    if (!Enabled())
        return;
    if (m_tracking) {
        if (!TrackPress(p))
            return;
    } else if (!IsDropDown() && !m_focused) {
        SetFocus(Hwnd());
    }
    bool outside = false;
    const int index = ItemAtY(p.y, &outside);
    if (index < 0 || outside)
        return;
    SetCapture(Hwnd());
    m_pressed = true;
    m_dragKeys = keys;
    m_lastPoint = p;
    ByUser([&] { SelectByPointer(index, keys, true); });
    if (doubleClick && !Gone() && Notifies())
        Notify(LBN_DBLCLK);
}

void CListBoxControl::OnMouseMove(POINT p)
{
    if (!m_pressed && !m_tracking)
        return;
    m_lastPoint = p;
    const int height = ClientHeight();
    if (p.y < 0 || p.y >= height) {
        // Scrolling towards the pointer wants the button held.
        if (m_pressed)
            SetTimer(Hwnd(), kAutoScrollTimer, kAutoScrollMs, nullptr);
        return;
    }
    KillTimer(Hwnd(), kAutoScrollTimer);
    const RECT client = Client();
    if (m_tracking && (p.x < client.left || p.x >= client.right))
        return;
    bool outside = false;
    const int index = ItemAtY(p.y, &outside);
    if (index < 0 || outside)
        return;
    if (index != m_caret || m_tracking)
        ByUser([&] { SelectByPointer(index, m_tracking ? 0 : m_dragKeys, false); });
}

void CListBoxControl::OnAutoScroll()
{
    if (!m_pressed) {
        KillTimer(Hwnd(), kAutoScrollTimer);
        return;
    }
    const bool up = m_lastPoint.y < 0;
    const bool down = m_lastPoint.y >= ClientHeight();
    if (!up && !down) {
        KillTimer(Hwnd(), kAutoScrollTimer);
        return;
    }
    if (m_items.Count() == 0)
        return;
    const int index = std::clamp(m_caret + (up ? -1 : 1), 0, m_items.Count() - 1);
    ShowItem(index, false);
    ByUser([&] { SelectByPointer(index, m_tracking ? 0 : m_dragKeys, false); });
}

void CListBoxControl::OnButtonUp(POINT p)
{
    if (m_tracking) {
        const RECT client = Client();
        bool outside = false;
        const int index = ItemAtY(p.y, &outside);
        // A release away from the items (on the combo that opened the list)
        // leaves the list following the pointer.
        if (PtInRect(&client, p) == FALSE || index < 0 || outside) {
            m_pressed = false;
            KillTimer(Hwnd(), kAutoScrollTimer);
            return;
        }
        m_tracking = false;
        EndDrag();
        Notify(kListPicked);
        return;
    }
    EndDrag();
}

void CListBoxControl::EndDrag()
{
    KillTimer(Hwnd(), kAutoScrollTimer);
    m_pressed = false;
    if (!m_tracking && GetCapture() == Hwnd())
        ReleaseCapture();
}

void CListBoxControl::OnCaptureLost(HWND newCapture)
{
    if (newCapture == Hwnd())
        return;
    if (m_barPress && m_tracking) {
        // The press on the list's own bar has ended: follow the pointer again.
        m_barPress = false;
        PostMessageW(Hwnd(), LBCB_STARTTRACK, FALSE, 0);
        return;
    }
    m_barPress = false;
    m_tracking = false;
    EndDrag();
}

LRESULT CListBoxControl::StartTracking(bool buttonDown)
{
    m_tracking = true;
    m_pressed = buttonDown;
    SetCapture(Hwnd());
    return TRUE;
}

// A press while the list follows the pointer: inside it goes on as a press
// on an item, on the list's scroll bar it scrolls, and anywhere else it
// ends the tracking as a cancel.
bool CListBoxControl::TrackPress(POINT p)
{
    const RECT client = Client();
    if (PtInRect(&client, p) != FALSE)
        return true;
    POINT screen = p;
    ClientToScreen(Hwnd(), &screen);
    const LPARAM at = MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y));
    const LRESULT hit = DefaultProc(WM_NCHITTEST, 0, at);
    if (hit == HTVSCROLL) {
        m_barPress = true;
        DefaultProc(WM_NCLBUTTONDOWN, static_cast<WPARAM>(hit), at);
        return false;
    }
    m_tracking = false;
    EndDrag();
    Notify(LBN_SELCANCEL);
    return false;
}

// ---------------------------------------------------------------------------
// Keyboard
// ---------------------------------------------------------------------------

int CListBoxControl::KeyTarget(WPARAM key) const
{
    const int last = m_items.Count() - 1;
    int target = m_caret;
    switch (key) {
    case VK_UP:
    case VK_LEFT: target = m_caret - 1; break;
    case VK_DOWN:
    case VK_RIGHT: target = m_caret + 1; break;
    case VK_PRIOR: target = m_caret - std::max(1, PageSize() - 1); break;
    case VK_NEXT: target = m_caret + std::max(1, PageSize() - 1); break;
    case VK_HOME: target = 0; break;
    case VK_END: target = last; break;
    default: return -1;
    }
    return std::clamp(target, 0, last);
}

void CListBoxControl::OnKeyDown(WPARAM key)
{
    if ((Style() & LBS_WANTKEYBOARDINPUT) != 0 && !IsDropDown()) {
        HWND target = Target();
        const LRESULT answer =
            target != nullptr ? SendMessageW(target, WM_VKEYTOITEM, MAKEWPARAM(static_cast<WORD>(key), static_cast<WORD>(m_caret)),
                                             reinterpret_cast<LPARAM>(Hwnd()))
                              : -1;
        if (answer == kHandled || Gone())
            return;
        if (m_items.Valid(static_cast<int>(answer)))
            SetCaret(static_cast<int>(answer));
    }
    if (m_items.Count() == 0)
        return;
    if (key == VK_SPACE) {
        const Mode mode = SelectionMode();
        if (mode == Mode::Multiple || (mode == Mode::Extended && KeyDown(VK_CONTROL))) {
            ByUser([&] { Refresh(m_items.SetRange(m_caret, m_caret, !m_items.At(m_caret).selected)); });
            if (!Gone())
                m_anchor = m_caret;
        } else if (mode == Mode::Extended) {
            ByUser([&] { SelectByKey(m_caret); });
        }
        return;
    }
    const int target = KeyTarget(key);
    if (target < 0)
        return;
    ByUser([&] { SelectByKey(target); });
}

void CListBoxControl::OnChar(wchar_t c)
{
    if (!HasStrings()) {
        if ((Style() & LBS_WANTKEYBOARDINPUT) == 0 || IsDropDown())
            return;
        HWND target = Target();
        const LRESULT answer =
            target != nullptr ? SendMessageW(target, WM_CHARTOITEM, MAKEWPARAM(static_cast<WORD>(c), static_cast<WORD>(m_caret)),
                                             reinterpret_cast<LPARAM>(Hwnd()))
                              : -1;
        if (!Gone() && m_items.Valid(static_cast<int>(answer)))
            ByUser([&] { SelectByKey(static_cast<int>(answer)); });
        return;
    }
    if (c < L' ' || m_items.Count() == 0)
        return;
    // Space toggles in the selection modes that keep several items.
    if (c == L' ' && SelectionMode() != Mode::Single && m_typed.empty())
        return;
    TypeAhead(c);
}

// The first letter goes to the next item starting with it, round and round;
// more letters typed in quick succession look for the longer prefix from
// the caret on.
void CListBoxControl::TypeAhead(wchar_t c)
{
    const DWORD now = GetTickCount();
    if (now - m_typedTick > TypeAheadTimeout())
        m_typed.clear();
    m_typedTick = now;
    const bool repeated = m_typed.size() == 1 && CListBoxItems::CompareText(m_typed, std::wstring(1, c)) == 0;
    if (!repeated)
        m_typed += c;
    // A first letter looks past the current item, unless that is not chosen yet.
    const bool onCurrent = m_items.Valid(m_caret) && (m_items.At(m_caret).selected || SelectionMode() != Mode::Single);
    const int start = m_typed.size() == 1 && onCurrent ? m_caret : m_caret - 1;
    const int found = m_items.Find(start, m_typed, false);
    if (found >= 0)
        ByUser([&] { SelectByKey(found); });
}

void CListBoxControl::OnFocus(bool focused)
{
    m_focused = focused;
    if (!focused)
        EndDrag();
    if (m_items.Valid(m_caret))
        RefreshItem(m_caret, ODA_FOCUS);
    else if (CanDraw())
        Redraw();
    Notify(focused ? LBN_SETFOCUS : LBN_KILLFOCUS);
}

// ---------------------------------------------------------------------------
// Drawing
// ---------------------------------------------------------------------------

bool CListBoxControl::CanDraw() const
{
    return m_redraw && IsWindowVisible(Hwnd()) != FALSE;
}

HBRUSH CListBoxControl::Background(HDC dc) const
{
    if (!IsDropDown())
        return ControlColorBrush(Hwnd(), dc, WM_CTLCOLORLISTBOX);
    const WPARAM dcArg = reinterpret_cast<WPARAM>(dc);
    const LPARAM self = reinterpret_cast<LPARAM>(Hwnd());
    LRESULT brush = SendMessageW(m_combo, WM_CTLCOLORLISTBOX, dcArg, self);
    if (brush == 0)
        brush = DefaultProc(WM_CTLCOLORLISTBOX, dcArg, self);
    return reinterpret_cast<HBRUSH>(brush);
}

void CListBoxControl::Paint(HDC dc)
{
    const RECT client = Client();
    FillRect(dc, &client, Background(dc));
    const int height = ClientHeight();
    for (int i = m_top; i < m_items.Count() && ItemY(i) < height; ++i)
        PaintItem(dc, i, ODA_DRAWENTIRE);
    // A focused empty list still shows where the caret is.
    if (m_focused && !OwnerDraw() && m_items.Count() == 0) {
        RECT first{0, 0, client.right, m_layout.FixedHeight()};
        DrawFocusRect(dc, &first);
    }
}

UINT CListBoxControl::ItemState(int index) const
{
    UINT state = 0;
    if (m_items.At(index).selected)
        state |= ODS_SELECTED;
    if (m_focused && index == m_caret)
        state |= ODS_FOCUS;
    if (!Enabled())
        state |= ODS_DISABLED;
    return state;
}

void CListBoxControl::SendDrawItem(HDC dc, int index, UINT action) const
{
    HWND target = Target();
    if (target == nullptr)
        return;
    DRAWITEMSTRUCT draw;
    draw.CtlType = ODT_LISTBOX;
    draw.CtlID = static_cast<UINT>(Id());
    draw.itemID = static_cast<UINT>(index);
    draw.itemAction = action;
    draw.itemState = ItemState(index);
    draw.hwndItem = Hwnd();
    draw.hDC = dc;
    draw.rcItem = ItemRect(index);
    draw.itemData = m_items.At(index).data;
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, draw.rcItem.left, draw.rcItem.top, draw.rcItem.right, draw.rcItem.bottom);
    SendMessageW(target, WM_DRAWITEM, draw.CtlID, reinterpret_cast<LPARAM>(&draw));
    RestoreDC(dc, saved);
}

void CListBoxControl::PaintItem(HDC dc, int index, UINT action) const
{
    if (OwnerDraw()) {
        SendDrawItem(dc, index, action);
        return;
    }
    const RECT r = ItemRect(index);
    ListItemLook look;
    look.selected = m_items.At(index).selected;
    look.enabled = Enabled();
    look.tabStops = (Style() & LBS_USETABSTOPS) != 0 ? &m_tabStops : nullptr;
    DrawListItemText(dc, m_items.At(index).text, r, look);
    if (m_focused && index == m_caret)
        DrawFocusRect(dc, &r);
}

void CListBoxControl::RefreshItem(int index, UINT action) const
{
    if (!m_items.Valid(index) || !CanDraw())
        return;
    const RECT r = ItemRect(index);
    if (r.bottom <= 0 || r.top >= ClientHeight())
        return;
    if (!OwnerDraw()) {
        InvalidateRect(Hwnd(), &r, FALSE);
        return;
    }
    HDC dc = GetDC(Hwnd());
    if (dc == nullptr)
        return;
    const int saved = SaveDC(dc);
    SelectObject(dc, Font());
    Background(dc);
    SendDrawItem(dc, index, action);
    RestoreDC(dc, saved);
    ReleaseDC(Hwnd(), dc);
}

// ---------------------------------------------------------------------------
// Parent
// ---------------------------------------------------------------------------

HWND CListBoxControl::Target() const
{
    return IsDropDown() ? m_combo : Parent();
}

void CListBoxControl::Notify(WORD code) const
{
    if (HWND target = Target())
        SendMessageW(target, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(Id()), code), reinterpret_cast<LPARAM>(Hwnd()));
}

}
