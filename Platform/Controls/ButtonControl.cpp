#include "Platform/Controls/ButtonControl.h"

#include "Platform/Controls/ControlDrawing.h"
#include "Platform/Gdi/Gdi.h"

#include <algorithm>

namespace ZELL::Controls {

namespace {

// The classic check box and radio button glyph, and the gap to the text.
// At 96 dpi.
constexpr int kBoxSize = 13;
constexpr int kBoxGap = 4;
constexpr int kBaseDpi = 96;
// Where the caption of a group box starts.
constexpr int kGroupTextIndent = 8;
// Enough for any dialog; ends a sibling walk over a damaged window list.
constexpr int kMaxSiblings = 10000;

constexpr DWORD kHorizontalMask = BS_CENTER;
constexpr DWORD kVerticalMask = BS_VCENTER;

// The position of a `size` box in `area` by BS_LEFT/RIGHT/CENTER and BS_TOP/BOTTOM/VCENTER.
POINT Align(const RECT& area, SIZE size, DWORD align)
{
    POINT at{area.left, area.top};
    switch (align & kHorizontalMask) {
    case BS_LEFT: break;
    case BS_RIGHT: at.x = area.right - size.cx; break;
    default: at.x = area.left + (area.right - area.left - size.cx) / 2; break;
    }
    switch (align & kVerticalMask) {
    case BS_TOP: break;
    case BS_BOTTOM: at.y = area.bottom - size.cy; break;
    default: at.y = area.top + (area.bottom - area.top - size.cy) / 2; break;
    }
    return at;
}

}

bool CButtonControl::IsCheckType() const
{
    switch (Type()) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON: return true;
    default: return false;
    }
}

bool CButtonControl::IsRadioType() const
{
    return Type() == BS_RADIOBUTTON || Type() == BS_AUTORADIOBUTTON;
}

bool CButtonControl::IsPushType() const
{
    return Type() == BS_PUSHBUTTON || Type() == BS_DEFPUSHBUTTON || Type() == BS_PUSHBOX;
}

LRESULT CButtonControl::DialogCode() const
{
    switch (Type()) {
    case BS_PUSHBUTTON:
    case BS_PUSHBOX: return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    case BS_DEFPUSHBUTTON: return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON: return DLGC_BUTTON | DLGC_RADIOBUTTON;
    case BS_GROUPBOX: return DLGC_STATIC;
    default: return DLGC_BUTTON;
    }
}

LRESULT CButtonControl::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_GETDLGCODE: return DialogCode();
    case WM_NCHITTEST:
        // A group box lets the mouse through to the controls inside it.
        if (Type() == BS_GROUPBOX)
            return HTTRANSPARENT;
        return DefaultProc(message, wParam, lParam);
    case WM_LBUTTONDOWN: OnButtonDown(); return 0;
    case WM_LBUTTONDBLCLK: OnDoubleClick(); return 0;
    case WM_MOUSEMOVE: OnMouseMove(PointOf(lParam)); return 0;
    case WM_LBUTTONUP: OnButtonUp(PointOf(lParam)); return 0;
    case WM_CAPTURECHANGED:
        if (m_mouseDown && reinterpret_cast<HWND>(lParam) != Hwnd()) {
            m_mouseDown = false;
            SetPushed(false);
        }
        return 0;
    case WM_KEYDOWN: OnKeyDown(wParam, lParam); return 0;
    case WM_KEYUP: OnKeyUp(wParam); return 0;
    case WM_SETFOCUS: OnSetFocus(); return 0;
    case WM_KILLFOCUS: OnKillFocus(); return 0;
    case WM_ENABLE:
        if (wParam == 0)
            EndPress();
        return CControlWindow::OnMessage(message, wParam, lParam);
    case BM_GETCHECK: return IsCheckType() ? static_cast<LRESULT>(m_check) : BST_UNCHECKED;
    case BM_SETCHECK: return OnSetCheck(wParam);
    case BM_GETSTATE:
        return static_cast<LRESULT>(m_check) | (m_pushed ? BST_PUSHED : 0) | (m_focus ? BST_FOCUS : 0);
    case BM_SETSTATE: SetPushed(wParam != 0); return 0;
    case BM_SETSTYLE: OnSetStyle(wParam, lParam); return 0;
    case BM_CLICK:
        if (Enabled()) {
            SendMessageW(Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
            SendMessageW(Hwnd(), WM_LBUTTONUP, 0, 0);
        }
        return 0;
    case BM_SETIMAGE: return OnSetImage(wParam, lParam);
    case BM_GETIMAGE: return wParam == m_imageKind ? reinterpret_cast<LRESULT>(m_image) : 0;
    default: return CControlWindow::OnMessage(message, wParam, lParam);
    }
}

// ---------------------------------------------------------------------------
// Input
// ---------------------------------------------------------------------------

void CButtonControl::OnButtonDown()
{
    if (Type() == BS_GROUPBOX)
        return;
    if (!Focused())
        SetFocus(Hwnd());
    SetCapture(Hwnd());
    m_mouseDown = true;
    SetPushed(true);
}

void CButtonControl::OnDoubleClick()
{
    const bool reports = (Style() & BS_NOTIFY) != 0 || IsRadioType() || Type() == BS_OWNERDRAW ||
                         Type() == BS_USERBUTTON;
    if (reports)
        NotifyParent(BN_DOUBLECLICKED);
    else
        OnButtonDown();
}

void CButtonControl::OnMouseMove(POINT point)
{
    if (!m_mouseDown)
        return;
    const RECT client = Client();
    SetPushed(PtInRect(&client, point) != FALSE);
}

void CButtonControl::OnButtonUp(POINT point)
{
    if (!m_mouseDown)
        return;
    m_mouseDown = false;
    const RECT client = Client();
    const bool inside = PtInRect(&client, point) != FALSE;
    SetPushed(false);
    ReleaseCapture();
    if (inside)
        Click();
}

void CButtonControl::OnKeyDown(WPARAM key, LPARAM flags)
{
    const bool repeat = (static_cast<DWORD>(flags) & 0x40000000u) != 0;
    if (key != VK_SPACE || repeat || m_spaceDown || Type() == BS_GROUPBOX)
        return;
    m_spaceDown = true;
    SetPushed(true);
}

void CButtonControl::OnKeyUp(WPARAM key)
{
    if (key != VK_SPACE || !m_spaceDown)
        return;
    m_spaceDown = false;
    const bool wasPushed = m_pushed;
    SetPushed(false);
    if (wasPushed && !m_mouseDown)
        Click();
}

void CButtonControl::OnSetFocus()
{
    m_focus = true;
    Changed(ODA_FOCUS);
    if ((Style() & BS_NOTIFY) != 0)
        NotifyParent(BN_SETFOCUS);
    // The focus alone never changes a choice: Tab only moves it, and the
    // arrows that move a choice are the dialog manager's (it clicks).
}

void CButtonControl::OnKillFocus()
{
    m_focus = false;
    EndPress();
    Changed(ODA_FOCUS);
    if ((Style() & BS_NOTIFY) != 0)
        NotifyParent(BN_KILLFOCUS);
}

// A press ends without a click when the button loses the focus or is disabled.
void CButtonControl::EndPress()
{
    m_spaceDown = false;
    if (m_mouseDown) {
        m_mouseDown = false;
        ReleaseCapture();
    }
    SetPushed(false);
}

void CButtonControl::Click()
{
    switch (Type()) {
    case BS_AUTOCHECKBOX: OnSetCheck(m_check == BST_UNCHECKED ? BST_CHECKED : BST_UNCHECKED); break;
    case BS_AUTO3STATE: OnSetCheck((m_check + 1) % 3); break;
    case BS_AUTORADIOBUTTON:
        OnSetCheck(BST_CHECKED);
        UncheckOthersInGroup();
        break;
    default: break;
    }
    NotifyParent(BN_CLICKED);
}

// The group runs from the sibling with WS_GROUP before this button up to the
// next sibling with WS_GROUP; every radio button in it but this one is unchecked.
void CButtonControl::UncheckOthersInGroup() const
{
    HWND first = Hwnd();
    for (int n = 0; n < kMaxSiblings && (GetWindowLongPtrW(first, GWL_STYLE) & WS_GROUP) == 0; ++n) {
        HWND previous = GetWindow(first, GW_HWNDPREV);
        if (previous == nullptr)
            break;
        first = previous;
    }
    HWND sibling = first;
    for (int n = 0; n < kMaxSiblings && sibling != nullptr; ++n) {
        if (sibling != first && (GetWindowLongPtrW(sibling, GWL_STYLE) & WS_GROUP) != 0)
            break;
        if (sibling != Hwnd() && (SendMessageW(sibling, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) != 0)
            SendMessageW(sibling, BM_SETCHECK, BST_UNCHECKED, 0);
        sibling = GetWindow(sibling, GW_HWNDNEXT);
    }
}

// ---------------------------------------------------------------------------
// State
// ---------------------------------------------------------------------------

LRESULT CButtonControl::OnSetCheck(WPARAM state)
{
    if (!IsCheckType())
        return 0;
    const bool threeState = Type() == BS_3STATE || Type() == BS_AUTO3STATE;
    if (state > BST_INDETERMINATE)
        return 0;
    if (state == BST_INDETERMINATE && !threeState)
        state = BST_CHECKED;
    // A checked radio button is where Tab enters its group.
    if (IsRadioType()) {
        const LONG_PTR style = GetWindowLongPtrW(Hwnd(), GWL_STYLE);
        SetWindowLongPtrW(Hwnd(), GWL_STYLE, state != BST_UNCHECKED ? style | WS_TABSTOP : style & ~static_cast<LONG_PTR>(WS_TABSTOP));
    }
    if (m_check != state) {
        m_check = state;
        Redraw();
    }
    return 0;
}

LRESULT CButtonControl::OnSetImage(WPARAM kind, LPARAM image)
{
    if (kind != IMAGE_BITMAP && kind != IMAGE_ICON)
        return 0;
    HANDLE previous = m_image;
    m_image = reinterpret_cast<HANDLE>(image);
    m_imageKind = static_cast<UINT>(kind);
    Redraw();
    return reinterpret_cast<LRESULT>(previous);
}

void CButtonControl::OnSetStyle(WPARAM style, LPARAM redraw)
{
    const LONG_PTR old = GetWindowLongPtrW(Hwnd(), GWL_STYLE);
    SetWindowLongPtrW(Hwnd(), GWL_STYLE, (old & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | static_cast<LONG_PTR>(style & BS_TYPEMASK));
    if (LOWORD(static_cast<DWORD>(redraw)) != 0)
        Redraw();
}

void CButtonControl::SetPushed(bool pushed)
{
    if (m_pushed == pushed)
        return;
    m_pushed = pushed;
    Changed(ODA_SELECT);
}

// An owner-drawn button is told at once what changed; the others paint again.
void CButtonControl::Changed(UINT ownerDrawAction)
{
    if (Type() != BS_OWNERDRAW) {
        Redraw();
        return;
    }
    if (!IsWindowVisible(Hwnd()))
        return;
    HDC dc = GetDC(Hwnd());
    if (dc == nullptr)
        return;
    const int saved = SaveDC(dc);
    SelectObject(dc, Font());
    DrawItem(dc, ownerDrawAction);
    RestoreDC(dc, saved);
    ReleaseDC(Hwnd(), dc);
}

// ---------------------------------------------------------------------------
// Painting
// ---------------------------------------------------------------------------

void CButtonControl::Paint(HDC dc)
{
    const RECT client = Client();
    if (IsPushType() || Type() == BS_USERBUTTON)
        PaintPush(dc, client, false);
    else if (IsCheckType() && (Style() & BS_PUSHLIKE) != 0)
        PaintPush(dc, client, m_check != BST_UNCHECKED);
    else if (IsCheckType())
        PaintCheck(dc, client);
    else if (Type() == BS_GROUPBOX)
        PaintGroup(dc, client);
    else if (Type() == BS_OWNERDRAW) {
        HBRUSH brush = ControlColorBrush(Hwnd(), dc, WM_CTLCOLORBTN);
        if (brush != nullptr)
            FillRect(dc, &client, brush);
        DrawItem(dc, ODA_DRAWENTIRE);
    }
}

void CButtonControl::DrawItem(HDC dc, UINT action)
{
    const UINT state = (m_pushed ? ODS_SELECTED : 0) | (m_focus ? ODS_FOCUS : 0) | (Enabled() ? 0 : ODS_DISABLED);
    SendDrawItem(Hwnd(), dc, ODT_BUTTON, action, state);
}

void CButtonControl::PaintPush(HDC dc, const RECT& client, bool checked)
{
    // Push buttons ask for the colours as the platform does, but keep the face.
    ControlColorBrush(Hwnd(), dc, WM_CTLCOLORBTN);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    const bool isDefault = Type() == BS_DEFPUSHBUTTON;
    const bool flat = (Style() & BS_FLAT) != 0;
    RECT r = client;
    if (isDefault) {
        FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&r, -1, -1);
    }
    if (m_pushed && isDefault) {
        FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNSHADOW));
        InflateRect(&r, -1, -1);
        FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
        InflateRect(&r, -1, -1);
    } else {
        const UINT edge = (m_pushed || checked) ? EDGE_SUNKEN : EDGE_RAISED;
        DrawEdge(dc, &r, edge, BF_RECT | BF_MIDDLE | BF_ADJUST | (flat ? BF_FLAT : 0));
        if (checked && !m_pushed) {
            // A latched push-like box shows its lighter face.
            FillRect(dc, &r, GetSysColorBrush(COLOR_3DLIGHT));
        }
    }
    RECT content = r;
    InflateRect(&content, -1, -1);
    if (m_pushed || checked)
        OffsetRect(&content, 1, 1);
    PaintContent(dc, content, BS_CENTER | BS_VCENTER);
    if (m_focus) {
        RECT focus = client;
        InflateRect(&focus, isDefault ? -4 : -3, isDefault ? -4 : -3);
        DrawFocusRect(dc, &focus);
    }
}

void CButtonControl::PaintCheck(HDC dc, const RECT& client)
{
    HBRUSH brush = ControlColorBrush(Hwnd(), dc, WM_CTLCOLORSTATIC);
    if (brush != nullptr)
        FillRect(dc, &client, brush);
    const bool boxRight = (Style() & BS_LEFTTEXT) != 0;
    // The box and its gap grow with the screen's resolution, as the text does.
    const int dpi = static_cast<int>(GetDpiForWindow(Hwnd()));
    const int boxSize = MulDiv(kBoxSize, dpi, kBaseDpi);
    const int boxGap = MulDiv(kBoxGap, dpi, kBaseDpi);
    RECT box{0, 0, boxSize, boxSize};
    const POINT at = Align(client, {boxSize, boxSize}, (boxRight ? BS_RIGHT : BS_LEFT) | (Style() & kVerticalMask));
    OffsetRect(&box, at.x, at.y);
    UINT state = IsRadioType() ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK;
    if (m_check == BST_CHECKED)
        state |= DFCS_CHECKED;
    else if (m_check == BST_INDETERMINATE)
        state = DFCS_BUTTON3STATE | DFCS_CHECKED;
    if (m_pushed)
        state |= DFCS_PUSHED;
    if (!Enabled())
        state |= DFCS_INACTIVE;
    if ((Style() & BS_FLAT) != 0)
        state |= DFCS_FLAT;
    DrawFrameControl(dc, &box, DFC_BUTTON, state);

    RECT text = client;
    if (boxRight)
        text.right = box.left - boxGap;
    else
        text.left = box.right + boxGap;
    const RECT drawn = PaintContent(dc, text, BS_LEFT | BS_VCENTER);
    if (m_focus && !WindowText(Hwnd()).empty())
        DrawTextFocus(dc, drawn, client);
}

void CButtonControl::PaintGroup(HDC dc, const RECT& client)
{
    HBRUSH brush = ControlColorBrush(Hwnd(), dc, WM_CTLCOLORSTATIC);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    RECT frame = client;
    frame.top += metrics.tmHeight / 2;
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    const std::wstring text = WindowText(Hwnd());
    if (text.empty())
        return;
    RECT area{client.left + kGroupTextIndent, client.top, client.right - kGroupTextIndent, client.top + metrics.tmHeight};
    const UINT format = DT_SINGLELINE | DT_LEFT | DT_TOP;
    RECT bounds = TextBounds(dc, text, area, format);
    bounds.right = std::min(bounds.right, area.right);
    RECT backdrop{bounds.left - 2, bounds.top, bounds.right + 2, bounds.bottom};
    if (brush != nullptr)
        FillRect(dc, &backdrop, brush);
    DrawControlText(dc, text, bounds, format, Enabled());
}

RECT CButtonControl::PaintContent(HDC dc, const RECT& area, DWORD defaultAlign)
{
    DWORD align = Style() & (kHorizontalMask | kVerticalMask);
    if ((align & kHorizontalMask) == 0)
        align |= defaultAlign & kHorizontalMask;
    if ((align & kVerticalMask) == 0)
        align |= defaultAlign & kVerticalMask;
    const bool wantsImage = (Style() & (BS_ICON | BS_BITMAP)) != 0;
    if (wantsImage && m_image != nullptr) {
        const SIZE size = ImageSize(m_image, m_imageKind);
        const POINT at = Align(area, size, align);
        DrawImage(dc, m_image, m_imageKind, at, Enabled());
        return {at.x, at.y, at.x + size.cx, at.y + size.cy};
    }
    const std::wstring text = WindowText(Hwnd());
    const UINT format = (Style() & BS_MULTILINE) != 0 ? DT_WORDBREAK : DT_SINGLELINE;
    RECT bounds = TextBounds(dc, text, area, format);
    const SIZE size{std::min(bounds.right - bounds.left, area.right - area.left), bounds.bottom - bounds.top};
    const POINT at = Align(area, size, align);
    const UINT horizontal = (align & kHorizontalMask) == BS_RIGHT ? DT_RIGHT
                            : (align & kHorizontalMask) == BS_LEFT ? DT_LEFT : DT_CENTER;
    const RECT placed{at.x, at.y, at.x + size.cx, at.y + size.cy};
    DrawControlText(dc, text, placed, format | horizontal, Enabled());
    return placed;
}

}
