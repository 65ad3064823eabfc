#include "Platform/Controls/ComboBoxControl.h"

#include "Platform/Controls/ComboLayout.h"
#include "Platform/Controls/ComboListBox.h"
#include "Platform/Controls/ControlDrawing.h"
#include "Platform/Controls/EditStyles.h"
#include "Platform/Gdi/Gdi.h"

#include <algorithm>
#include <cwctype>

namespace ZELL::Controls {

namespace {

constexpr int kMaxItemHeight = 255;
constexpr int kListBorder = 1;  // the list's WS_BORDER, each side
constexpr LPARAM kAltDown = LPARAM{1} << 29;

int ButtonWidth() { return GetSystemMetrics(SM_CXVSCROLL); }

bool IsNavigationKey(WPARAM key)
{
    switch (key) {
    case VK_UP:
    case VK_DOWN:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_HOME:
    case VK_END: return true;
    default: return false;
    }
}

// The combo messages that the list answers alone: the list's message for
// each, and which of the parameters it takes along.
struct ListForward {
    UINT combo;
    UINT list;
    bool withWParam;
    bool withLParam;
};
constexpr ListForward kListForwards[] = {
    {CB_GETCOUNT, LB_GETCOUNT, false, false},
    {CB_GETLBTEXT, LB_GETTEXT, true, true},
    {CB_GETLBTEXTLEN, LB_GETTEXTLEN, true, false},
    {CB_GETITEMDATA, LB_GETITEMDATA, true, false},
    {CB_FINDSTRING, LB_FINDSTRING, true, true},
    {CB_FINDSTRINGEXACT, LB_FINDSTRINGEXACT, true, true},
    {CB_INITSTORAGE, LB_INITSTORAGE, true, true},
    {CB_GETTOPINDEX, LB_GETTOPINDEX, false, false},
    {CB_SETTOPINDEX, LB_SETTOPINDEX, true, false},
};

}

// ---------------------------------------------------------------------------
// Messages
// ---------------------------------------------------------------------------

LRESULT CComboBoxControl::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    for (const ListForward& forward : kListForwards) {
        if (forward.combo == message)
            return ToList(forward.list, forward.withWParam ? wParam : 0, forward.withLParam ? lParam : 0);
    }
    if (message >= CB_GETEDITSEL && message <= CB_GETCOMBOBOXINFO)
        return OnItemMessage(message, wParam, lParam);
    return OnWindowMessage(message, wParam, lParam);
}

// The window messages of the combo's life, size and text.
LRESULT CComboBoxControl::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: return OnCreate(*reinterpret_cast<const CREATESTRUCTW*>(lParam));
    case WM_DESTROY:
        if (m_list != nullptr && IsWindow(m_list))
            DestroyWindow(m_list);
        m_list = nullptr;
        m_dropped = false;
        return 0;
    case WM_SIZE: OnSize(); return 0;
    case WM_SETFONT: OnSetFont(wParam, lParam); return 0;
    case WM_SETREDRAW:
        m_redraw = wParam != 0;
        DefaultProc(message, wParam, lParam);
        ToList(WM_SETREDRAW, wParam);
        RedrawField();
        return 0;
    case WM_ENABLE:
        if (wParam == 0)
            CloseUp(Close::Cancel);
        if (HasEdit())
            EnableWindow(m_edit, wParam != 0 ? TRUE : FALSE);
        return CControlWindow::OnMessage(message, wParam, lParam);
    case WM_CANCELMODE:
        CloseUp(Close::Cancel);
        return DefaultProc(message, wParam, lParam);
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
    case WM_SETTEXT: return TextMessage(message, wParam, lParam);
    default: return OnInputMessage(message, wParam, lParam);
    }
}

// Input, focus, and what the edit and the list send or ask the parent.
LRESULT CComboBoxControl::OnInputMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_GETDLGCODE: {
        LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
        const auto* msg = reinterpret_cast<const MSG*>(lParam);
        // While the list is down, Enter and Esc close it instead of the dialog.
        if (m_dropped && (msg == nullptr || msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE))
            code |= DLGC_WANTMESSAGE;
        return code;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: OnButtonDown(PointOf(lParam)); return 0;
    case WM_KEYDOWN: OnKeyDown(wParam); return 0;
    case WM_SYSKEYDOWN: return OnSysKeyDown(wParam, lParam) ? 0 : DefaultProc(message, wParam, lParam);
    case WM_CHAR: ToList(WM_CHAR, wParam, lParam); return 0;
    case WM_SETFOCUS:
        // The edit takes the focus of the whole combo, and tells of it.
        if (HasEdit()) {
            SetFocus(m_edit);
            SendMessageW(m_edit, EM_SETSEL, 0, -1);
        } else {
            OnFocus(true);
        }
        return 0;
    case WM_KILLFOCUS:
        if (!HasEdit())
            OnFocus(false);
        return 0;
    case WM_COMMAND:
        if (m_list != nullptr && reinterpret_cast<HWND>(lParam) == m_list)
            return FromList(wParam, lParam);
        if (HasEdit() && reinterpret_cast<HWND>(lParam) == m_edit)
            return FromEdit(wParam);
        return 0;
    case kEditLostFocus:
        if (HasEdit())
            OnEditLostFocus(reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        if (HasEdit() && reinterpret_cast<HWND>(lParam) == m_edit)
            return ForwardEditColor(message, wParam, lParam);
        return DefaultProc(message, wParam, lParam);
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
    case WM_COMPAREITEM:
    case WM_DELETEITEM: return ForwardItemMessage(message, wParam, lParam);
    case WM_CTLCOLORLISTBOX: return ForwardListColor(wParam, lParam);
    default: return CControlWindow::OnMessage(message, wParam, lParam);
    }
}

// The combo messages about items, selection and the edit.
LRESULT CComboBoxControl::OnItemMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case CB_ADDSTRING: return AddString(LB_ADDSTRING, 0, lParam);
    case CB_INSERTSTRING: return AddString(LB_INSERTSTRING, wParam, lParam);
    case CB_DELETESTRING:
    case CB_RESETCONTENT: {
        const LRESULT result = message == CB_RESETCONTENT ? (ToList(LB_RESETCONTENT), CB_OKAY)
                                                           : ToList(LB_DELETESTRING, wParam);
        if (message == CB_RESETCONTENT && HasEdit())
            SetEditText(L"");
        RedrawField();
        return result;
    }
    case CB_SETITEMDATA: {
        const LRESULT result = ToList(LB_SETITEMDATA, wParam, lParam);
        RedrawField();
        return result;
    }
    case CB_GETCURSEL: return CurSel();
    case CB_SETCURSEL: return SetCurSel(wParam);
    case CB_SELECTSTRING: {
        const LRESULT result = ToList(LB_SELECTSTRING, wParam, lParam);
        ShowInEdit(static_cast<int>(result));
        RedrawField();
        return result;
    }
    case CB_GETCOMBOBOXINFO: return ComboInfo(lParam);
    // A drop-down list has no edit to select in or limit.
    case CB_GETEDITSEL:
    case CB_SETEDITSEL:
    case CB_LIMITTEXT: return HasEdit() ? EditMessage(message, wParam, lParam) : CB_ERR;
    default: return OnDropDownMessage(message, wParam, lParam);
    }
}

// The combo messages about the drop-down list and the field.
LRESULT CComboBoxControl::OnDropDownMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case CB_SHOWDROPDOWN:
        if (wParam != 0)
            DropDown(false);
        else
            CloseUp(Close::Quiet);
        return TRUE;
    case CB_GETDROPPEDSTATE: return m_dropped ? TRUE : FALSE;
    case CB_GETDROPPEDCONTROLRECT: {
        auto* rect = reinterpret_cast<RECT*>(lParam);
        if (rect == nullptr)
            return CB_ERR;
        *rect = DroppedRect();
        return TRUE;
    }
    case CB_SETITEMHEIGHT: return SetItemHeight(wParam, lParam);
    case CB_GETITEMHEIGHT:
        return static_cast<int>(wParam) == -1 ? m_fieldHeight : ToList(LB_GETITEMHEIGHT, wParam);
    case CB_SETDROPPEDWIDTH:
        if (static_cast<int>(wParam) < 0)
            return CB_ERR;
        m_droppedWidth = static_cast<int>(wParam);
        return DroppedWidth();
    case CB_GETDROPPEDWIDTH: return DroppedWidth();
    case CB_SETEXTENDEDUI:
        m_extendedUi = wParam != 0;
        return CB_OKAY;
    case CB_GETEXTENDEDUI: return m_extendedUi ? TRUE : FALSE;
    default: return CControlWindow::OnMessage(message, wParam, lParam);
    }
}

// ---------------------------------------------------------------------------
// Set-up and size
// ---------------------------------------------------------------------------

LRESULT CComboBoxControl::OnCreate(const CREATESTRUCTW& create)
{
    TakeScrollBarsForTheList(create.style);
    m_fullHeight = create.cy;
    m_fieldHeight = OwnerDraw() ? MeasureField() : FontHeight() + 2;
    RECT below{};
    GetWindowRect(Hwnd(), &below);
    below.top = below.bottom;
    below.bottom = below.top + std::max(1, m_fullHeight - CComboLayout::WindowHeight(m_fieldHeight));
    m_list = Simple() ? CreateSimpleList() : CreateComboList(Hwnd(), ListStyle(), below);
    if (m_list == nullptr)
        return -1;
    if ((create.style & CBS_TYPEMASK) != CBS_DROPDOWNLIST && !CreateEdit())
        return -1;
    FitToField();
    return 0;
}

// Templates give combo boxes WS_VSCROLL (and WS_HSCROLL) for their lists:
// the combo's own window must not draw them beside its field.
void CComboBoxControl::TakeScrollBarsForTheList(DWORD style)
{
    m_listBars = style & (WS_VSCROLL | WS_HSCROLL);
    if (m_listBars == 0)
        return;
    SetWindowLongPtrW(Hwnd(), GWL_STYLE, static_cast<LONG_PTR>(Style() & ~m_listBars));
    SetWindowPos(Hwnd(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

DWORD CComboBoxControl::ListStyle() const
{
    const DWORD style = Style();
    DWORD list = WS_VSCROLL | (m_listBars & WS_HSCROLL);
    if ((style & CBS_SORT) != 0)
        list |= LBS_SORT;
    if ((style & CBS_OWNERDRAWFIXED) != 0)
        list |= LBS_OWNERDRAWFIXED;
    if ((style & CBS_OWNERDRAWVARIABLE) != 0)
        list |= LBS_OWNERDRAWVARIABLE;
    if ((style & CBS_HASSTRINGS) != 0)
        list |= LBS_HASSTRINGS;
    if ((style & CBS_NOINTEGRALHEIGHT) != 0)
        list |= LBS_NOINTEGRALHEIGHT;
    if ((style & CBS_DISABLENOSCROLL) != 0)
        list |= LBS_DISABLENOSCROLL;
    return list;
}

int CComboBoxControl::FontHeight() const
{
    return std::clamp(ZELL::Controls::FontHeight(Hwnd(), Font()), 1, kMaxItemHeight);
}

// The parent sizes the selection field's item (itemID -1) of an owner-drawn combo.
int CComboBoxControl::MeasureField() const
{
    MEASUREITEMSTRUCT measure;
    measure.CtlType = ODT_COMBOBOX;
    measure.CtlID = static_cast<UINT>(Id());
    measure.itemID = static_cast<UINT>(-1);
    measure.itemHeight = static_cast<UINT>(FontHeight());
    measure.itemWidth = static_cast<UINT>(Client().right);
    if (HWND parent = Parent())
        SendMessageW(parent, WM_MEASUREITEM, measure.CtlID, reinterpret_cast<LPARAM>(&measure));
    return std::clamp(static_cast<int>(measure.itemHeight), 1, kMaxItemHeight);
}

// The window keeps the field's height; the height it was given is the list's.
void CComboBoxControl::FitToField()
{
    if (Simple()) {
        PlaceEdit();
        PlaceList();
        RedrawField();
        return;
    }
    RECT window{};
    GetWindowRect(Hwnd(), &window);
    m_sizing = true;
    SetWindowPos(Hwnd(), nullptr, 0, 0, window.right - window.left, CComboLayout::WindowHeight(m_fieldHeight),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_sizing = false;
    PlaceEdit();
    RedrawField();
}

void CComboBoxControl::OnSize()
{
    if (m_sizing)
        return;
    RECT window{};
    GetWindowRect(Hwnd(), &window);
    const int height = window.bottom - window.top;
    if (Simple()) {
        m_fullHeight = height;
        FitToField();
        return;
    }
    if (height != CComboLayout::WindowHeight(m_fieldHeight)) {
        // Sized from outside: the new height is where the list ends.
        m_fullHeight = height;
        FitToField();
    }
    PlaceEdit();
}

LRESULT CComboBoxControl::SetItemHeight(WPARAM index, LPARAM height)
{
    const int value = static_cast<int>(LOWORD(static_cast<DWORD>(height)));
    if (value < 1 || value > kMaxItemHeight)
        return CB_ERR;
    if (static_cast<int>(index) != -1)
        return ToList(LB_SETITEMHEIGHT, index, value);
    m_fieldHeight = value;
    FitToField();
    return CB_OKAY;
}

void CComboBoxControl::OnSetFont(WPARAM wParam, LPARAM lParam)
{
    CControlWindow::OnMessage(WM_SETFONT, wParam, lParam);
    ToList(WM_SETFONT, wParam, lParam);
    if (HasEdit())
        SendMessageW(m_edit, WM_SETFONT, wParam, lParam);
    if (!OwnerDraw()) {
        m_fieldHeight = FontHeight() + 2;
        FitToField();
    }
}

CComboLayout CComboBoxControl::Layout() const
{
    if (!Simple())
        return CComboLayout(Client(), ButtonWidth());
    const RECT top{0, 0, Client().right, CComboLayout::WindowHeight(m_fieldHeight)};
    return CComboLayout(top, 0);
}

// ---------------------------------------------------------------------------
// Items
// ---------------------------------------------------------------------------

LRESULT CComboBoxControl::ToList(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return m_list != nullptr ? SendMessageW(m_list, message, wParam, lParam) : CB_ERR;
}

LRESULT CComboBoxControl::AddString(UINT listMessage, WPARAM index, LPARAM text)
{
    const DWORD cases = Style() & (CBS_UPPERCASE | CBS_LOWERCASE);
    const auto* given = reinterpret_cast<LPCWSTR>(text);
    if (!HasStrings() || cases == 0 || given == nullptr)
        return ToList(listMessage, index, text);
    std::wstring converted(given);
    for (wchar_t& c : converted)
        c = static_cast<wchar_t>(cases == CBS_UPPERCASE ? std::towupper(c) : std::towlower(c));
    return ToList(listMessage, index, reinterpret_cast<LPARAM>(converted.c_str()));
}

LRESULT CComboBoxControl::SetCurSel(WPARAM index)
{
    const LRESULT result = ToList(LB_SETCURSEL, index);
    if (HasEdit()) {
        if (result >= 0)
            ShowInEdit(static_cast<int>(result));
        else
            SetEditText(L"");
    }
    RedrawField();
    return result;
}

std::wstring CComboBoxControl::ItemText(int index) const
{
    if (index < 0 || !HasStrings())
        return {};
    const LRESULT length = ToList(LB_GETTEXTLEN, static_cast<WPARAM>(index));
    if (length <= 0)
        return {};
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    ToList(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    return text;
}

// The text of a combo is its edit's, or that of a drop-down list's
// selected item.
LRESULT CComboBoxControl::TextMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (HasEdit())
        return EditMessage(message, wParam, lParam);
    switch (message) {
    case WM_GETTEXT: return GetText(wParam, lParam);
    case WM_SETTEXT: return SetText(lParam);
    default: {
        const int sel = CurSel();
        return sel < 0 || !HasStrings() ? 0 : ToList(LB_GETTEXTLEN, static_cast<WPARAM>(sel));
    }
    }
}

LRESULT CComboBoxControl::GetText(WPARAM size, LPARAM buffer) const
{
    auto* out = reinterpret_cast<wchar_t*>(buffer);
    if (out == nullptr || size == 0)
        return 0;
    const std::wstring text = ItemText(CurSel());
    const std::size_t n = std::min<std::size_t>(text.size(), size - 1);
    std::copy_n(text.begin(), n, out);
    out[n] = L'\0';
    return static_cast<LRESULT>(n);
}

// Setting the text selects the item of that text, if there is one.
LRESULT CComboBoxControl::SetText(LPARAM text)
{
    const auto* given = reinterpret_cast<LPCWSTR>(text);
    if (given == nullptr)
        return CB_ERR;
    const LRESULT found = ToList(LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), text);
    if (found < 0)
        return CB_ERR;
    SetCurSel(static_cast<WPARAM>(found));
    return TRUE;
}

// ---------------------------------------------------------------------------
// The drop-down list
// ---------------------------------------------------------------------------

int CComboBoxControl::DroppedWidth() const
{
    RECT window{};
    GetWindowRect(Hwnd(), &window);
    return std::max(m_droppedWidth, static_cast<int>(window.right - window.left));
}

RECT CComboBoxControl::DroppedRect() const
{
    RECT r{};
    GetWindowRect(Hwnd(), &r);
    r.right = r.left + DroppedWidth();
    r.bottom = r.top + std::max(m_fullHeight, static_cast<int>(r.bottom - r.top));
    return r;
}

// As high as the combo was made, less when the items need less, never less
// than one item.
SIZE CComboBoxControl::ListSize() const
{
    const int room = m_fullHeight - CComboLayout::WindowHeight(m_fieldHeight) - 2 * kListBorder;
    const int count = static_cast<int>(std::max<LRESULT>(ToList(LB_GETCOUNT), 0));
    int items = 0;
    if ((Style() & CBS_OWNERDRAWVARIABLE) != 0) {
        for (int i = 0; i < count && items < room; ++i)
            items += static_cast<int>(ToList(LB_GETITEMHEIGHT, static_cast<WPARAM>(i)));
    } else {
        items = count * static_cast<int>(ToList(LB_GETITEMHEIGHT));
    }
    const int one = std::max(1, static_cast<int>(ToList(LB_GETITEMHEIGHT)));
    int height = std::max(std::min(room, items), one);
    // The list shows whole items only, unless told otherwise; its height is
    // settled here so that a list placed above ends on the combo's top.
    if ((Style() & (CBS_NOINTEGRALHEIGHT | CBS_OWNERDRAWVARIABLE)) == 0)
        height -= height % one;
    return {DroppedWidth(), height + 2 * kListBorder};
}

void CComboBoxControl::DropDown(bool buttonDown)
{
    if (m_dropped || m_list == nullptr || !Enabled() || Simple())
        return;
    // The parent may still fill the list before it shows.
    NotifyParent(CBN_DROPDOWN);
    if (Gone() || m_dropped)
        return;
    RECT combo{};
    GetWindowRect(Hwnd(), &combo);
    MONITORINFO monitor;
    monitor.cbSize = sizeof(monitor);
    if (!GetMonitorInfoW(MonitorFromWindow(Hwnd(), MONITOR_DEFAULTTONEAREST), &monitor))
        monitor.rcMonitor = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const RECT place = CComboLayout::DropRect(combo, ListSize(), monitor.rcMonitor);
    m_savedSel = CurSel();
    if (HasEdit())
        m_savedText = EditText();
    m_dropped = true;
    SetWindowPos(m_list, HWND_TOPMOST, place.left, place.top, place.right - place.left, place.bottom - place.top,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
    if (m_savedSel >= 0)
        ToList(LB_SETCARETINDEX, static_cast<WPARAM>(m_savedSel), FALSE);
    ToList(LBCB_STARTTRACK, buttonDown ? TRUE : FALSE);
    RedrawField();
}

void CComboBoxControl::CloseUp(Close how)
{
    if (!m_dropped)
        return;
    m_dropped = false;
    ToList(LBCB_ENDTRACK);
    ShowWindow(m_list, SW_HIDE);
    if (how != Close::Quiet) {
        NotifyParent(how == Close::Accept ? CBN_SELENDOK : CBN_SELENDCANCEL);
        if (Gone())
            return;
    }
    if (how == Close::Cancel && CurSel() != m_savedSel) {
        ToList(LB_SETCURSEL, static_cast<WPARAM>(m_savedSel));
        if (HasEdit()) {
            SetEditText(m_savedText);
            SendMessageW(m_edit, EM_SETSEL, 0, -1);
        }
        NotifyParent(CBN_SELCHANGE);
        if (Gone())
            return;
    }
    NotifyParent(CBN_CLOSEUP);
    if (!Gone())
        RedrawField();
}

LRESULT CComboBoxControl::FromList(WPARAM wParam, LPARAM)
{
    switch (HIWORD(wParam)) {
    case LBN_SELCHANGE:
        // A click in a simple combo's list takes the focus to the edit.
        if (Simple() && GetFocus() != m_edit)
            SetFocus(m_edit);
        ShowInEdit(CurSel());
        RedrawField();
        NotifyParent(CBN_SELCHANGE);
        break;
    case kListPicked: CloseUp(Close::Accept); break;
    case LBN_SELCANCEL: CloseUp(Close::Cancel); break;
    case LBN_ERRSPACE: NotifyParent(CBN_ERRSPACE); break;
    case LBN_DBLCLK:
        if (Simple())
            NotifyParent(CBN_DBLCLK);
        break;
    default: break;
    }
    return 0;
}

LRESULT CComboBoxControl::ComboInfo(LPARAM lParam) const
{
    auto* info = reinterpret_cast<COMBOBOXINFO*>(lParam);
    if (info == nullptr || info->cbSize != sizeof(COMBOBOXINFO))
        return FALSE;
    const CComboLayout layout = Layout();
    info->rcItem = layout.Field();
    info->rcButton = layout.Button();
    info->stateButton = m_dropped ? STATE_SYSTEM_PRESSED : 0;
    info->hwndCombo = Hwnd();
    info->hwndItem = HasEdit() ? m_edit : Hwnd();
    info->hwndList = m_list;
    return TRUE;
}

// ---------------------------------------------------------------------------
// Input
// ---------------------------------------------------------------------------

// A press anywhere on a drop-down list drops it, on a combo with an edit
// only a press on the button (a press while it is down goes to the list,
// which holds the capture).
void CComboBoxControl::OnButtonDown(POINT p)
{
    if (!Enabled())
        return;
    const RECT button = Layout().Button();
    if (HasEdit() && PtInRect(&button, p) == FALSE)
        return;
    const HWND self = Hwnd();
    const HWND focus = HasEdit() ? m_edit : self;
    if (GetFocus() != focus)
        SetFocus(self);
    if (Gone() || GetFocus() != focus)
        return;
    DropDown(true);
}

void CComboBoxControl::OnKeyDown(WPARAM key)
{
    if (m_dropped) {
        switch (key) {
        case VK_RETURN: CloseUp(Close::Accept); return;
        case VK_ESCAPE: CloseUp(Close::Cancel); return;
        case VK_F4:
            if (!m_extendedUi)
                CloseUp(Close::Accept);
            return;
        default: SelectByKey(key); return;
        }
    }
    if ((key == VK_F4 && !m_extendedUi) || (key == VK_DOWN && m_extendedUi)) {
        DropDown(false);
        return;
    }
    SelectByKey(key);
}

// Alt+Up and Alt+Down open and close the list.
bool CComboBoxControl::OnSysKeyDown(WPARAM key, LPARAM lParam)
{
    if ((key != VK_UP && key != VK_DOWN) || (lParam & kAltDown) == 0)
        return false;
    if (m_dropped)
        CloseUp(Close::Accept);
    else
        DropDown(false);
    return true;
}

// The list moves its selection by the key and tells the combo; with nothing
// chosen yet a key picks the first item (End the last).
void CComboBoxControl::SelectByKey(WPARAM key)
{
    if (!IsNavigationKey(key))
        return;
    const int count = static_cast<int>(ToList(LB_GETCOUNT));
    if (count <= 0)
        return;
    if (CurSel() >= 0) {
        ToList(WM_KEYDOWN, key);
        return;
    }
    SetCurSel(static_cast<WPARAM>(key == VK_END ? count - 1 : 0));
    NotifyParent(CBN_SELCHANGE);
}

void CComboBoxControl::OnFocus(bool focused)
{
    m_focused = focused;
    if (!focused)
        CloseUp(Close::Cancel);
    if (Gone())
        return;
    RedrawField();
    NotifyParent(focused ? CBN_SETFOCUS : CBN_KILLFOCUS);
}

// ---------------------------------------------------------------------------
// What the list asks goes to the parent under the combo's type and id
// ---------------------------------------------------------------------------

LRESULT CComboBoxControl::ForwardItemMessage(UINT message, WPARAM, LPARAM lParam) const
{
    HWND parent = Parent();
    if (parent == nullptr || lParam == 0)
        return 0;
    const auto id = static_cast<UINT>(Id());
    switch (message) {
    case WM_MEASUREITEM: {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        measure->CtlType = ODT_COMBOBOX;
        measure->CtlID = id;
        break;
    }
    case WM_DRAWITEM: {
        auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        draw->CtlType = ODT_COMBOBOX;
        draw->CtlID = id;
        break;
    }
    case WM_COMPAREITEM: {
        auto* compare = reinterpret_cast<COMPAREITEMSTRUCT*>(lParam);
        compare->CtlType = ODT_COMBOBOX;
        compare->CtlID = id;
        compare->hwndItem = Hwnd();
        break;
    }
    case WM_DELETEITEM: {
        auto* deleted = reinterpret_cast<DELETEITEMSTRUCT*>(lParam);
        deleted->CtlType = ODT_COMBOBOX;
        deleted->CtlID = id;
        deleted->hwndItem = Hwnd();
        break;
    }
    default: return 0;
    }
    return SendMessageW(parent, message, id, lParam);
}

LRESULT CComboBoxControl::ForwardListColor(WPARAM dc, LPARAM list) const
{
    HWND parent = Parent();
    return parent != nullptr ? SendMessageW(parent, WM_CTLCOLORLISTBOX, dc, list) : 0;
}

// ---------------------------------------------------------------------------
// Drawing
// ---------------------------------------------------------------------------

void CComboBoxControl::Paint(HDC dc)
{
    const CComboLayout layout = Layout();
    RECT frame = layout.Outer();
    // A disabled field takes the colours of static text.
    const UINT enabledColor = HasEdit() ? WM_CTLCOLOREDIT : WM_CTLCOLORLISTBOX;
    const HBRUSH background = ControlColorBrush(Hwnd(), dc, Enabled() ? enabledColor : WM_CTLCOLORSTATIC);
    const RECT inner = layout.Inner();
    FillRect(dc, &inner, background);
    DrawEdge(dc, &frame, EDGE_SUNKEN, BF_RECT);
    RECT button = layout.Button();
    if (!Simple())
        DrawFrameControl(dc, &button, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | (Enabled() ? 0u : DFCS_INACTIVE));
    if (!HasEdit())
        PaintField(dc, layout.Field());
}

void CComboBoxControl::PaintField(HDC dc, const RECT& field)
{
    if (OwnerDraw()) {
        DrawFieldItem(dc, field);
        return;
    }
    if (!Enabled()) {
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    } else if (m_focused) {
        FillRect(dc, &field, GetSysColorBrush(COLOR_HIGHLIGHT));
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    }
    SetBkMode(dc, TRANSPARENT);
    const std::wstring text = ItemText(CurSel());
    RECT textRect = field;
    textRect.left += 1;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
              DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (m_focused && Enabled())
        DrawFocusRect(dc, &field);
}

// The field's item goes to the parent as item -1 or the selected one, with
// ODS_COMBOBOXEDIT; focused it is selected and has the focus.
void CComboBoxControl::DrawFieldItem(HDC dc, const RECT& field) const
{
    HWND parent = Parent();
    if (parent == nullptr)
        return;
    const int sel = CurSel();
    DRAWITEMSTRUCT draw;
    draw.CtlType = ODT_COMBOBOX;
    draw.CtlID = static_cast<UINT>(Id());
    draw.itemID = static_cast<UINT>(sel);
    draw.itemAction = ODA_DRAWENTIRE;
    draw.itemState = ODS_COMBOBOXEDIT;
    if (m_focused)
        draw.itemState |= ODS_SELECTED | ODS_FOCUS;
    if (!Enabled())
        draw.itemState |= ODS_DISABLED;
    draw.hwndItem = Hwnd();
    draw.hDC = dc;
    draw.rcItem = field;
    draw.itemData = sel >= 0 ? static_cast<ULONG_PTR>(ToList(LB_GETITEMDATA, static_cast<WPARAM>(sel))) : 0;
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, field.left, field.top, field.right, field.bottom);
    SendMessageW(parent, WM_DRAWITEM, draw.CtlID, reinterpret_cast<LPARAM>(&draw));
    RestoreDC(dc, saved);
}

}
