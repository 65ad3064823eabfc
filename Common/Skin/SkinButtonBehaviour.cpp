// The skinned button's behaviour: hover, clicks, check and radio state,
// auto-repeat, the tooltip, the link and the transparent background.
#include "Common/Skin/SkinButton.h"

#include "Platform/Framework/Drawing/ClientDC.h"
#include "Platform/Framework/Exceptions/Exception.h"
#include "Platform/Framework/App/WinApp.h"
#include "Platform/Shell/ShellExecute.h"

#include <algorithm>
#include <cwchar>

namespace ZELL::Skin {

// --- hover --------------------------------------------------------------------------

void CSkinButton::OnMouseMove(UINT flags, CPoint point)
{
    CButton::Default();
    if (!m_flat)
        return;
    if ((flags & MK_LBUTTON) && !m_hover)
        return;
    POINT cursor{};
    ::GetCursorPos(&cursor);
    const bool over = ::WindowFromPoint(cursor) == m_hWnd;
    if (over && (m_alwaysTrack || ::GetActiveWindow() != nullptr)) {
        if (!m_hover) {
            m_hover = TRUE;
            OnHoverEnter();
            Invalidate();
            TRACKMOUSEEVENT track;
            track.dwFlags = TME_LEAVE;
            track.hwndTrack = m_hWnd;
            ::TrackMouseEvent(&track);
        }
    } else {
        CancelHover();
    }
}

void CSkinButton::CancelHover()
{
    if (!m_flat || !m_hover)
        return;
    m_hover = FALSE;
    Invalidate();
}

void CSkinButton::OnMouseLeave()
{
    CancelHover();
    OnHoverLeave();
    if (m_toolTip.GetSafeHwnd() != nullptr) {
        m_toolTip.DelTool(this, 1);
        if (!m_toolTipText.IsEmpty())
            m_toolTip.AddTool(this, m_toolTipText, nullptr, 1);
        m_toolTip.Activate(TRUE);
    }
}

void CSkinButton::OnKillFocus(CWnd*)
{
    CButton::Default();
    CancelHover();
}

LRESULT CSkinButton::OnCancelMode(WPARAM, LPARAM)
{
    const LRESULT result = CButton::Default();
    CancelHover();
    return result;
}

void CSkinButton::OnActivate(UINT state, CWnd*, BOOL)
{
    CButton::Default();
    if (state == WA_INACTIVE)
        CancelHover();
}

void CSkinButton::OnEnable(BOOL enable)
{
    CButton::Default();
    if (enable)
        return;
    CancelHover();
    // The focus moves on from this button (which the system may have taken
    // it from already), never from another control.
    HWND parent = ::GetParent(m_hWnd);
    const HWND focus = ::GetFocus();
    if (parent == nullptr || (focus != m_hWnd && focus != nullptr))
        return;
    HWND next = ::GetNextDlgTabItem(parent, m_hWnd, FALSE);
    ::SetFocus(next != nullptr && next != m_hWnd ? next : parent);
}

// --- clicks ---------------------------------------------------------------------------

BOOL CSkinButton::OnClicked()
{
    SetFocus();
    if (m_checkBox) {
        SetCheck(!m_checked);
    } else if (m_radio) {
        if (!m_checked)
            SetCheck(TRUE);
    } else if (m_menu.GetSafeHmenu() != nullptr) {
        ShowMenu();
    } else if (m_url[0] != 0) {
        OpenLink();
    }
    // The parent is told as well.
    return FALSE;
}

void CSkinButton::OpenLink()
{
    SHELLEXECUTEINFOW info;
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.hwnd = m_hWnd;
    info.lpVerb = L"open";
    info.lpFile = m_url;
    info.nShow = SW_SHOWMAXIMIZED;
    ::ShellExecuteExW(&info);
}

DWORD CSkinButton::SetURL(LPCWSTR url)
{
    std::fill(std::begin(m_url), std::end(m_url), L'\0');
    if (url != nullptr)
        std::wcsncpy(m_url, url, std::size(m_url) - 1);
    return kOk;
}

// --- check and radio state ----------------------------------------------------------------

DWORD CSkinButton::SetCheck(int check, BOOL repaint)
{
    m_checked = check != 0;
    if (m_radio && m_checked)
        UncheckGroup();
    Repaint(repaint);
    return kOk;
}

// Walks the dialog group from this button on. The walk ends when it comes
// back to the button, to the first control it visited (a hidden or disabled
// button is skipped by the walk and so never met again), at a null, or after
// as many steps as the parent has children.
void CSkinButton::UncheckGroup()
{
    HWND parent = ::GetParent(m_hWnd);
    if (parent == nullptr)
        return;
    int children = 0;
    for (HWND child = ::GetWindow(parent, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT))
        ++children;
    HWND first = nullptr;
    HWND member = m_hWnd;
    for (int step = 0; step < children; ++step) {
        member = ::GetNextDlgGroupItem(parent, member, FALSE);
        if (member == nullptr || member == m_hWnd || member == first)
            break;
        if (first == nullptr)
            first = member;
        if (::SendMessageW(member, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON)
            ::SendMessageW(member, BM_SETCHECK, BST_UNCHECKED, 0);
    }
}

LRESULT CSkinButton::OnSetCheck(WPARAM wParam, LPARAM)
{
    SetCheck(wParam == BST_CHECKED || wParam == BST_INDETERMINATE);
    return 0;
}

LRESULT CSkinButton::OnGetCheck(WPARAM, LPARAM)
{
    return m_checked;
}

UINT CSkinButton::OnGetDlgCode()
{
    if (m_checkBox)
        return DLGC_BUTTON | DLGC_WANTCHARS;
    if (m_radio)
        return DLGC_BUTTON | DLGC_RADIOBUTTON;
    const UINT code = static_cast<UINT>(CButton::Default()) & ~(DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON);
    return code | (m_default ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
}

LRESULT CSkinButton::OnSetStyle(WPARAM wParam, LPARAM lParam)
{
    m_default = (wParam & 0x0F) == BS_DEFPUSHBUTTON;
    return DefWindowProc(BM_SETSTYLE, (wParam & ~static_cast<WPARAM>(0x0F)) | BS_OWNERDRAW, lParam);
}

// --- auto-repeat ----------------------------------------------------------------------------

DWORD CSkinButton::SetAutoRepeat(BOOL repeat)
{
    StopAutoRepeat();
    if (m_checkBox || m_radio) {
        m_autoRepeat = FALSE;
        return kNoAutoRepeat;
    }
    m_autoRepeat = repeat;
    return kOk;
}

// While pressed, the keyboard's repeat settings drive BN_CLICKED.
void CSkinButton::UpdateAutoRepeat()
{
    if (!m_autoRepeat || m_checkBox || m_radio)
        return;
    if (!m_pressed) {
        StopAutoRepeat();
        return;
    }
    UINT delay = 0;
    UINT speed = 0;
    ::SystemParametersInfoW(SPI_GETKEYBOARDDELAY, 0, &delay, 0);
    ::SystemParametersInfoW(SPI_GETKEYBOARDSPEED, 0, &speed, 0);
    m_initialDelay = delay * 250 + 250;
    m_repeatInterval = 1000 / std::max(1, static_cast<int>(speed * 0.9 + 2.5));
    if (m_repeatTimer == 0)
        m_repeatTimer = SetTimer(kAutoRepeatTimer, m_initialDelay);
}

void CSkinButton::StopAutoRepeat()
{
    if (m_repeatTimer != 0 && m_hWnd != nullptr)
        KillTimer(m_repeatTimer);
    m_repeatTimer = 0;
}

void CSkinButton::OnTimer(UINT_PTR id)
{
    if (id != kAutoRepeatTimer || m_repeatTimer == 0) {
        CButton::Default();
        return;
    }
    KillTimer(m_repeatTimer);
    ::SendMessageW(::GetParent(m_hWnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), BN_CLICKED),
                   reinterpret_cast<LPARAM>(m_hWnd));
    // The parent may have destroyed or released the button meanwhile.
    if (m_hWnd != nullptr && m_repeatTimer != 0)
        m_repeatTimer = SetTimer(kAutoRepeatTimer, m_repeatInterval);
}

// --- cursor, colours, background ------------------------------------------------------------

BOOL CSkinButton::OnSetCursor(CWnd*, UINT, UINT)
{
    if (m_cursor == nullptr)
        return static_cast<BOOL>(CButton::Default());
    ::SetCursor(m_cursor);
    return TRUE;
}

void CSkinButton::OnSysColorChange()
{
    CButton::Default();
    ReleaseBackground();
    SetDefaultColors(TRUE);
}

HBRUSH CSkinButton::CtlColor(CDC*, UINT)
{
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

DWORD CSkinButton::SetDrawTransparent(BOOL repaint)
{
    m_transparent = TRUE;
    ReleaseBackground();
    Repaint(repaint);
    return kOk;
}

DWORD CSkinButton::SetBackgroundFromDC(CDC* dc)
{
    if (!m_transparent || dc == nullptr || m_hWnd == nullptr)
        return kBadParam;
    ReleaseBackground();
    CRect client;
    GetClientRect(&client);
    CRect place = client;
    MapWindowPoints(GetParent(), &place);
    if (!m_backgroundDC.CreateCompatibleDC(dc) ||
        !m_backgroundBitmap.CreateCompatibleBitmap(dc, client.Width(), client.Height())) {
        ReleaseBackground();
        return kBadParam;
    }
    m_oldBackground = ::SelectObject(m_backgroundDC, m_backgroundBitmap.GetSafeHandle());
    m_backgroundDC.BitBlt(0, 0, client.Width(), client.Height(), dc, place.left, place.top, SRCCOPY);
    return kOk;
}

// The parent's picture under the button, taken at the first draw and again
// when the button has another size (a picture of the old size would leave
// the rest of the button blank).
void CSkinButton::TakeBackground(CDC* dc)
{
    CRect area;
    GetClientRect(&area);
    BITMAP taken{};
    if (m_backgroundDC.GetSafeHdc() != nullptr &&
        (m_backgroundBitmap.GetBitmap(&taken) == 0 || taken.bmWidth != area.Width() || taken.bmHeight != area.Height()))
        ReleaseBackground();
    if (m_backgroundDC.GetSafeHdc() == nullptr) {
        CWnd* parent = GetParent();
        if (parent == nullptr)
            return;
        try {
            CClientDC parentDc(parent->GetSafeHwnd());
            if (SetBackgroundFromDC(&parentDc) != kOk)
                return;
        } catch (CException* error) {
            error->Delete();
            return;
        }
    }
    dc->BitBlt(0, 0, area.Width(), area.Height(), &m_backgroundDC, 0, 0, SRCCOPY);
}

void CSkinButton::ReleaseBackground()
{
    if (m_backgroundDC.GetSafeHdc() != nullptr && m_oldBackground != nullptr)
        ::SelectObject(m_backgroundDC, m_oldBackground);
    m_oldBackground = nullptr;
    m_backgroundDC.DeleteDC();
    m_backgroundBitmap.DeleteObject();
}

// --- tooltip ----------------------------------------------------------------------------------

BOOL CSkinButton::PreTranslateMessage(MSG* msg)
{
    if (msg != nullptr && msg->hwnd == m_hWnd) {
        if (msg->message == WM_LBUTTONDBLCLK)
            msg->message = WM_LBUTTONDOWN;
        if (m_toolTip.GetSafeHwnd() != nullptr)
            m_toolTip.RelayEvent(msg);
    }
    return CButton::PreTranslateMessage(msg);
}

BOOL CSkinButton::MakeToolTip()
{
    if (m_toolTip.GetSafeHwnd() != nullptr)
        return TRUE;
    if (m_hWnd == nullptr || !m_toolTip.Create(this, m_toolTipStyle))
        return FALSE;
    m_toolTip.Activate(FALSE);
    m_toolTip.SetMaxTipWidth(400);
    return TRUE;
}

void CSkinButton::SetTooltipText(LPCWSTR text, BOOL activate)
{
    if (text == nullptr || !MakeToolTip())
        return;
    m_toolTipText = text;
    if (m_toolTip.GetToolCount() == 0)
        m_toolTip.AddTool(this, m_toolTipText, nullptr, 1);
    m_toolTip.UpdateTipText(m_toolTipText, this, 1);
    m_toolTip.Activate(activate);
}

void CSkinButton::SetTooltipText(int textId, BOOL activate)
{
    const CString text = ZellLoadString(AfxGetResourceHandle(), static_cast<UINT>(textId));
    if (!text.IsEmpty())
        SetTooltipText(text.GetString(), activate);
}

void CSkinButton::ActivateTooltip(BOOL activate)
{
    if (m_toolTip.GetSafeHwnd() != nullptr && m_toolTip.GetToolCount() > 0)
        m_toolTip.Activate(activate);
}

DWORD CSkinButton::EnableBalloonTooltip()
{
    m_toolTipStyle |= TTS_BALLOON;
    return kOk;
}

}  // namespace ZELL::Skin
