#include "Common/Skin/ZellStatic.h"

#include "Platform/Framework/Drawing/DC.h"
#include "Platform/Framework/Drawing/PaintDC.h"
#include "Platform/Framework/App/WinApp.h"
#include "Platform/Shell/ShellExecute.h"

#include <algorithm>
#include <cwchar>

namespace ZELL::Skin {

LOGFONTW CZellStatic::s_globalFont{};
BOOL CZellStatic::s_globalFontGiven = FALSE;

BEGIN_MESSAGE_MAP(CZellStatic, CStatic)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_TIMER()
    ON_WM_LBUTTONDOWN()
    ON_WM_SETCURSOR()
    ON_WM_SYSCOLORCHANGE()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

CZellStatic::CZellStatic() : m_textColor(::GetSysColor(COLOR_WINDOWTEXT))
{
    m_systemBrush.CreateSolidBrush(::GetSysColor(COLOR_BTNFACE));
}

CString CZellStatic::LoadText(UINT id)
{
    return ZellLoadString(AfxGetResourceHandle(), id);
}

void CZellStatic::SetGlobalFont(const LOGFONTW& font)
{
    s_globalFont = font;
    s_globalFontGiven = TRUE;
}

// The main window's font, else the parent's, else the message font; the
// class-wide font wins over all of them.
void CZellStatic::PreSubclassWindow()
{
    ModifyStyle(0, SS_NOTIFY);
    HFONT font = nullptr;
    if (CWnd* main = AfxGetMainWnd(); main != nullptr && main->GetSafeHwnd() != nullptr)
        font = reinterpret_cast<HFONT>(main->SendMessage(WM_GETFONT));
    else if (HWND parent = ::GetParent(m_hWnd))
        font = reinterpret_cast<HFONT>(::SendMessageW(parent, WM_GETFONT, 0, 0));
    if (font == nullptr || ::GetObjectW(font, sizeof m_logFont, &m_logFont) == 0) {
        NONCLIENTMETRICSW metrics;
        ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
        m_logFont = metrics.lfMessageFont;
    }
    if (s_globalFontGiven)
        m_logFont = s_globalFont;
    m_font.DeleteObject();
    m_font.CreateFontIndirect(&m_logFont);
    CStatic::PreSubclassWindow();
}

void CZellStatic::ApplyFont()
{
    m_font.DeleteObject();
    m_font.CreateFontIndirect(&m_logFont);
    Redraw();
}

// The parent is repainted under the label too, so that a transparent label
// shows what lies beneath.
void CZellStatic::Redraw()
{
    if (m_hWnd == nullptr)
        return;
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_font.GetSafeHandle()), FALSE);
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    if (CWnd* parent = GetParent()) {
        CRect area;
        GetWindowRect(&area);
        parent->ScreenToClient(&area);
        parent->InvalidateRect(&area, TRUE);
        parent->UpdateWindow();
    }
}

// --- setters ----------------------------------------------------------------------

CZellStatic& CZellStatic::SetBackground(COLORREF color, COLORREF secondColor, BOOL gradient)
{
    SetTransparent(FALSE);
    m_backgroundColor = color;
    m_backgroundSecondColor = secondColor;
    m_gradient = gradient;
    m_backgroundBrush.DeleteObject();
    if (!gradient)
        m_backgroundBrush.CreateSolidBrush(color);
    Redraw();
    return *this;
}

CZellStatic& CZellStatic::SetTextId(UINT id)
{
    return SetText(LoadText(id));
}

CZellStatic& CZellStatic::SetText(const CString& text)
{
    if (m_hWnd == nullptr || text == m_text)
        return *this;
    SetWindowText(text);
    return *this;
}

// Whoever sets the window's text (SetWindowText included) sets the text the
// label draws, and the label shows it at once.
LRESULT CZellStatic::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = CStatic::WindowProc(message, wParam, lParam);
    if (message == WM_SETTEXT && result != FALSE) {
        const auto* given = reinterpret_cast<LPCWSTR>(lParam);
        const CString text = given != nullptr ? given : L"";
        if (text != m_text) {
            m_text = text;
            Redraw();
        }
    }
    return result;
}

CZellStatic& CZellStatic::SetTextColor(COLORREF color)
{
    if (color != m_textColor) {
        m_textColor = color;
        Redraw();
    }
    return *this;
}

CZellStatic& CZellStatic::SetFontBold(BOOL bold)
{
    const LONG weight = bold ? FW_BOLD : FW_NORMAL;
    if (m_logFont.lfWeight != weight) {
        m_logFont.lfWeight = weight;
        ApplyFont();
    }
    return *this;
}

CZellStatic& CZellStatic::SetFontName(const CString& face, BYTE charSet)
{
    m_logFont.lfCharSet = charSet;
    // The description holds 31 characters; a longer name is cut there.
    std::fill(std::begin(m_logFont.lfFaceName), std::end(m_logFont.lfFaceName), L'\0');
    std::wcsncpy(m_logFont.lfFaceName, face.GetString(), LF_FACESIZE - 1);
    ApplyFont();
    return *this;
}

CZellStatic& CZellStatic::SetFontUnderline(BOOL underline)
{
    const BYTE value = underline ? 1 : 0;
    if (m_logFont.lfUnderline != value) {
        m_logFont.lfUnderline = value;
        ApplyFont();
    }
    return *this;
}

CZellStatic& CZellStatic::SetFontItalic(BOOL italic)
{
    const BYTE value = italic ? 1 : 0;
    if (m_logFont.lfItalic != value) {
        m_logFont.lfItalic = value;
        ApplyFont();
    }
    return *this;
}

CZellStatic& CZellStatic::SetFontSize(int points)
{
    CFont sized;
    if (!sized.CreatePointFont(points * 10, m_logFont.lfFaceName))
        return *this;
    LOGFONTW made{};
    sized.GetLogFont(&made);
    if (made.lfHeight != m_logFont.lfHeight || made.lfWidth != m_logFont.lfWidth) {
        m_logFont.lfHeight = made.lfHeight;
        m_logFont.lfWidth = made.lfWidth;
        ApplyFont();
    }
    return *this;
}

CZellStatic& CZellStatic::SetSunken(BOOL sunken)
{
    ModifyStyleEx(sunken ? 0 : WS_EX_STATICEDGE, sunken ? WS_EX_STATICEDGE : 0, SWP_FRAMECHANGED);
    return *this;
}

CZellStatic& CZellStatic::SetBorder(BOOL border)
{
    ModifyStyle(border ? 0 : WS_BORDER, border ? WS_BORDER : 0, SWP_FRAMECHANGED);
    return *this;
}

CZellStatic& CZellStatic::SetTransparent(BOOL transparent)
{
    m_transparent = transparent;
    if (m_hWnd != nullptr)
        ModifyStyleEx(0, WS_EX_TRANSPARENT);
    Redraw();
    return *this;
}

CZellStatic& CZellStatic::SetLink(BOOL link, BOOL notify)
{
    m_notify = notify;
    m_linkMode = link ? kUrlLink : kNoLink;
    if (m_hWnd != nullptr)
        ModifyStyle(link ? 0 : SS_NOTIFY, link ? SS_NOTIFY : 0);
    return *this;
}

CZellStatic& CZellStatic::SetMailLink(BOOL link, BOOL notify)
{
    m_linkMode = link ? kMailLink : kNoLink;
    m_notify = notify;
    if (m_hWnd != nullptr)
        ModifyStyle(link ? 0 : SS_NOTIFY, link ? SS_NOTIFY : 0);
    return *this;
}

CZellStatic& CZellStatic::SetLinkUrl(const CString& url)
{
    m_linkTarget = url;
    return *this;
}

CZellStatic& CZellStatic::SetLinkCursor(HCURSOR cursor)
{
    m_linkCursor = cursor;
    return *this;
}

CZellStatic& CZellStatic::SetTextShadow(BOOL shadow, BOOL direction)
{
    m_shadow = shadow;
    m_shadowDirection = direction;
    Redraw();
    return *this;
}

CZellStatic& CZellStatic::SetFontRotation(int degrees, BOOL rotate)
{
    m_logFont.lfEscapement = degrees * 10;
    m_logFont.lfOrientation = degrees * 10;
    m_rotated = rotate;
    ApplyFont();
    return *this;
}

CZellStatic& CZellStatic::SetShadowColor(COLORREF color)
{
    m_shadowColor = color;
    Redraw();
    return *this;
}

CZellStatic& CZellStatic::SetFont(LOGFONTW font)
{
    m_logFont = font;
    ApplyFont();
    return *this;
}

void CZellStatic::Enable(BOOL enable)
{
    if (m_text.IsEmpty()) {
        CString text;
        GetWindowText(text);
        SetText(text);
    }
    SetWindowText(m_text);
    EnableWindow(enable);
}

// --- blinking ---------------------------------------------------------------------

void CZellStatic::StopBlinking()
{
    if (m_blinkTimerRunning && m_hWnd != nullptr)
        KillTimer(kBlinkTimer);
    m_blinkTimerRunning = FALSE;
}

CZellStatic& CZellStatic::FlashText(BOOL on)
{
    StopBlinking();
    if (on) {
        m_blinkVisible = FALSE;
        m_blinkTimerRunning = SetTimer(kBlinkTimer, kBlinkInterval) != 0;
        m_flashMode = kFlashText;
    } else {
        // A stopped blink never leaves the text hidden.
        m_blinkVisible = TRUE;
        m_flashMode = kNoFlash;
        Redraw();
    }
    return *this;
}

CZellStatic& CZellStatic::FlashBackground(BOOL on)
{
    StopBlinking();
    if (on) {
        m_blinkVisible = FALSE;
        m_blinkTimerRunning = SetTimer(kBlinkTimer, kBlinkInterval) != 0;
        m_flashMode = kFlashBackground;
    } else {
        m_blinkVisible = TRUE;
        Redraw();
    }
    return *this;
}

void CZellStatic::OnTimer(UINT_PTR id)
{
    if (id != kBlinkTimer) {
        CStatic::Default();
        return;
    }
    m_blinkVisible = !m_blinkVisible;
    Redraw();
}

// --- input ---------------------------------------------------------------------------

void CZellStatic::OnLButtonDown(UINT, CPoint)
{
    if (m_text.IsEmpty())
        GetWindowText(m_text);
    if (m_notify) {
        NMHDR header;
        header.hwndFrom = m_hWnd;
        header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
        header.code = kClickNotification;
        ::SendMessageW(::GetParent(m_hWnd), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
    } else if (m_linkMode == kUrlLink) {
        const CString& target = m_linkTarget.IsEmpty() ? m_text : m_linkTarget;
        ::ShellExecuteW(m_hWnd, L"open", target.GetString(), nullptr, nullptr, SW_SHOWNORMAL);
    } else if (m_linkMode == kMailLink) {
        const CString link = CString(L"mailto:") + m_text;
        ::ShellExecuteW(m_hWnd, L"open", link.GetString(), nullptr, nullptr, SW_SHOWNORMAL);
    }
    CStatic::Default();
}

BOOL CZellStatic::OnSetCursor(CWnd*, UINT, UINT)
{
    if (m_linkCursor == nullptr)
        return static_cast<BOOL>(CStatic::Default());
    ::SetCursor(m_linkCursor);
    return TRUE;
}

// A label that is a tab stop (the status line, whose menu the context key
// opens) shows when it has the focus.
void CZellStatic::OnSetFocus(CWnd*)
{
    Default();
    Invalidate(FALSE);
}

void CZellStatic::OnKillFocus(CWnd*)
{
    Default();
    Invalidate(FALSE);
}

void CZellStatic::OnSysColorChange()
{
    m_systemBrush.DeleteObject();
    m_systemBrush.CreateSolidBrush(::GetSysColor(COLOR_BTNFACE));
    Redraw();
}

}  // namespace ZELL::Skin
