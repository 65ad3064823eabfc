#include "Common/Grid/TitleTip.h"

#include "Platform/Base/Clock.h"
#include "Platform/Framework/Drawing/DC.h"
#include "Platform/Framework/Drawing/Font.h"
#include "Platform/Framework/Exceptions/ResourceException.h"
#include "Platform/Framework/App/WinApp.h"

namespace ZELL::Grid {

BEGIN_MESSAGE_MAP(CTitleTip, CWnd)
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_WM_MBUTTONDOWN()
    ON_WM_KEYDOWN()
    ON_WM_SYSKEYDOWN()
END_MESSAGE_MAP()

CTitleTip::CTitleTip()
{
    HINSTANCE instance = AfxGetInstanceHandle();
    WNDCLASSW existing{};
    if (::GetClassInfoW(instance, kClassName, &existing))
        return;
    WNDCLASSW wc{};
    wc.style = CS_SAVEBITS;
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_INFOBK + 1));
    wc.lpszClassName = kClassName;
    if (!::RegisterClassW(&wc))
        AfxThrowResourceException();
}

BOOL CTitleTip::Create(CWnd* parent)
{
    if (m_created)
        return TRUE;
    m_parent = parent;
    m_created = CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kClassName, nullptr, WS_POPUP | WS_BORDER, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, parent->GetSafeHwnd(), nullptr);
    return m_created;
}

BOOL CTitleTip::DestroyWindow()
{
    m_created = FALSE;
    return CWnd::DestroyWindow();
}

bool CTitleTip::ApplicationHasFocus()
{
    return ::GetFocus() != nullptr;
}

void CTitleTip::Show(CRect cellRect, LPCWSTR text, int xOffset, LPCRECT hoverRect, const LOGFONTW* font,
                     COLORREF textColour, COLORREF backColour)
{
    if (m_hWnd == nullptr && (m_parent == nullptr || !Create(m_parent)))
        return;
    if (cellRect.IsRectEmpty() || IsWindowVisible())
        return;
    m_hoverRect = hoverRect != nullptr ? CRect(*hoverRect) : cellRect;
    m_hoverRect.right++;
    m_hoverRect.bottom++;
    // Kept on the screen: the tip moves after this.
    m_parent->ClientToScreen(m_hoverRect);
    if (!ApplicationHasFocus())
        return;
    const CString shown = CString(L" ") + text + L" ";
    CDC* dc = GetDC();
    if (dc == nullptr)
        return;
    CFont own;
    CFont* chosen = font != nullptr && own.CreateFontIndirect(font) ? &own : m_parent->GetFont();
    CFont* old = chosen != nullptr ? dc->SelectObject(chosen) : nullptr;
    const CSize size = dc->GetTextExtent(shown);
    TEXTMETRICW metrics{};
    dc->GetTextMetrics(&metrics);
    const int overhang = metrics.tmOverhang;
    if (cellRect.Width() - xOffset >= overhang + size.cx + 2 * xOffset) {
        if (old != nullptr)
            dc->SelectObject(old);
        ReleaseDC(dc);
        return;
    }
    CRect place(cellRect.left + xOffset, cellRect.top, cellRect.left + xOffset + xOffset + overhang + size.cx,
                cellRect.bottom + 1);
    m_parent->ClientToScreen(place);
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, place.left, place.top, place.Width(), place.Height(), SWP_SHOWWINDOW | SWP_NOACTIVATE);
    CRect client;
    GetClientRect(client);
    if (backColour != CLR_DEFAULT)
        dc->FillSolidRect(client, backColour);
    if (textColour != CLR_DEFAULT)
        dc->SetTextColor(textColour);
    dc->SetBkMode(TRANSPARENT);
    dc->TextOut(0, 0, shown);
    if (old != nullptr)
        dc->SelectObject(old);
    ReleaseDC(dc);
    SetCapture();
}

void CTitleTip::Hide()
{
    if (m_hWnd == nullptr)
        return;
    if (GetCapture() == this)
        ::ReleaseCapture();
    // Hidden as it was shown, without activating anything: the focus stays.
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                   SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
}

HWND CTitleTip::WindowUnder(CPoint screen) const
{
    HWND under = ::WindowFromPoint(screen);
    return under == m_hWnd || under == nullptr ? m_parent->GetSafeHwnd() : under;
}

void CTitleTip::OnMouseMove(UINT flags, CPoint point)
{
    ClientToScreen(&point);
    if (m_hoverRect.PtInRect(point))
        return;
    Hide();
    HWND under = WindowUnder(point);
    const LRESULT hit = ::SendMessageW(under, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y));
    if (hit == HTCLIENT) {
        ::ScreenToClient(under, &point);
        ::PostMessageW(under, WM_MOUSEMOVE, flags, MAKELPARAM(point.x, point.y));
    } else {
        ::PostMessageW(under, WM_NCMOUSEMOVE, static_cast<WPARAM>(hit), MAKELPARAM(point.x, point.y));
    }
}

void CTitleTip::PassButton(UINT message, UINT flags, CPoint point)
{
    Hide();
    ClientToScreen(&point);
    HWND under = WindowUnder(point);
    const LRESULT hit = ::SendMessageW(under, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y));
    if (hit == HTCLIENT) {
        ::ScreenToClient(under, &point);
        ::PostMessageW(under, message, flags, MAKELPARAM(point.x, point.y));
        return;
    }
    UINT nonClient = WM_NCLBUTTONDOWN;
    if (message == WM_RBUTTONDOWN)
        nonClient = WM_NCRBUTTONDOWN;
    else if (message == WM_MBUTTONDOWN)
        nonClient = WM_NCMBUTTONDOWN;
    ::PostMessageW(under, nonClient, static_cast<WPARAM>(hit), MAKELPARAM(point.x, point.y));
}

void CTitleTip::OnLButtonDown(UINT flags, CPoint point)
{
    const ULONGLONG now = Platform::Clock::NowMs();
    const bool doubleClick = m_lastClick != static_cast<ULONGLONG>(-1) && now - m_lastClick <= m_doubleClickTime;
    m_lastClick = now;
    PassButton(doubleClick ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN, flags, point);
}

void CTitleTip::OnLButtonDblClk(UINT flags, CPoint point)
{
    m_lastClick = Platform::Clock::NowMs();
    PassButton(WM_LBUTTONDBLCLK, flags, point);
}

void CTitleTip::OnRButtonDown(UINT flags, CPoint point)
{
    PassButton(WM_RBUTTONDOWN, flags, point);
}

void CTitleTip::OnMButtonDown(UINT flags, CPoint point)
{
    PassButton(WM_MBUTTONDOWN, flags, point);
}

void CTitleTip::PassKey(UINT message, WPARAM wParam, LPARAM lParam)
{
    Hide();
    if (m_parent != nullptr)
        m_parent->PostMessage(message, wParam, lParam);
}

// Keys that reach the tip itself go the same way as those it intercepts.
void CTitleTip::OnKeyDown(UINT key, UINT repeat, UINT flags)
{
    PassKey(WM_KEYDOWN, key, MAKELPARAM(repeat, flags));
}

void CTitleTip::OnSysKeyDown(UINT key, UINT repeat, UINT flags)
{
    PassKey(WM_SYSKEYDOWN, key, MAKELPARAM(repeat, flags));
}

BOOL CTitleTip::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN) {
        PassKey(msg->message, msg->wParam, msg->lParam);
        return TRUE;
    }
    if (!ApplicationHasFocus() && IsWindowVisible()) {
        Hide();
        return TRUE;
    }
    return CWnd::PreTranslateMessage(msg);
}

}  // namespace ZELL::Grid
