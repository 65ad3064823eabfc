#include "Platform/Controls/UpDownControl.h"

#include "Platform/Base/Clock.h"
#include "Platform/Controls/ControlDrawing.h"
#include "Platform/Gdi/Gdi.h"

#include <algorithm>
#include <cwctype>
#include <string>

namespace ZELL::Controls {

namespace {

constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kFirstDelayMs = 500;
constexpr UINT kRepeatMs = 100;
// WM_VSCROLL / WM_HSCROLL codes the control reports with.
constexpr WORD kScrollThumbPosition = 4;
constexpr WORD kScrollEnd = 8;
constexpr UINT kMaxAccels = 64;
constexpr LPCWSTR kOwnerProperty = L"ZellUpDownOwner";
constexpr LPCWSTR kProcProperty = L"ZellUpDownBuddyProc";

std::wstring GroupThousands(std::wstring digits)
{
    for (std::ptrdiff_t at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), 1, L',');
    return digits;
}

std::wstring FormatPosition(int position, int base, bool thousands)
{
    if (base == 16) {
        wchar_t buffer[16];
        std::swprintf(buffer, 16, L"0x%04X", static_cast<unsigned>(position));
        return buffer;
    }
    const long long value = position;
    const std::wstring digits = std::to_wstring(value < 0 ? -value : value);
    return (value < 0 ? L"-" : L"") + (thousands ? GroupThousands(digits) : digits);
}

std::optional<long long> ParseNumber(const std::wstring& text, int base)
{
    std::wstring clean;
    for (wchar_t c : text) {
        if (c != L',' && !std::iswspace(static_cast<wint_t>(c)))
            clean += c;
    }
    bool negative = false;
    std::size_t at = 0;
    if (at < clean.size() && (clean[at] == L'-' || clean[at] == L'+'))
        negative = clean[at++] == L'-';
    if (base == 16 && clean.size() >= at + 2 && clean[at] == L'0' && (clean[at + 1] == L'x' || clean[at + 1] == L'X'))
        at += 2;
    if (at >= clean.size() || clean.size() - at > 12)
        return std::nullopt;
    long long value = 0;
    for (; at < clean.size(); ++at) {
        const wchar_t c = clean[at];
        int digit = -1;
        if (c >= L'0' && c <= L'9')
            digit = c - L'0';
        else if (base == 16 && c >= L'a' && c <= L'f')
            digit = c - L'a' + 10;
        else if (base == 16 && c >= L'A' && c <= L'F')
            digit = c - L'A' + 10;
        if (digit < 0)
            return std::nullopt;
        value = value * base + digit;
    }
    return negative ? -value : value;
}

}

CUpDownControl::CUpDownControl(HWND hwnd) : CControlWindow(hwnd) {}

CUpDownControl::~CUpDownControl()
{
    DetachBuddy();
}

LRESULT CUpDownControl::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: OnCreate(); return 0;
    case WM_GETDLGCODE: return (Style() & UDS_ARROWKEYS) != 0 ? DLGC_WANTARROWS : 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: OnButtonDown(PointOf(lParam)); return 0;
    case WM_MOUSEMOVE: OnMouseMove(PointOf(lParam)); return 0;
    case WM_LBUTTONUP: OnButtonUp(); return 0;
    case WM_CAPTURECHANGED:
        if (m_pressed != Arrow::None && reinterpret_cast<HWND>(lParam) != Hwnd())
            EndPress();
        return 0;
    case WM_TIMER:
        if (wParam == kRepeatTimer)
            OnTimer();
        return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
        if (OnKey(message, wParam))
            return 0;
        return CControlWindow::OnMessage(message, wParam, lParam);
    case WM_ENABLE:
        if (wParam == 0)
            EndPress();
        return CControlWindow::OnMessage(message, wParam, lParam);
    case UDM_SETRANGE:
        m_upper = static_cast<SHORT>(LOWORD(static_cast<DWORD>(lParam)));
        m_lower = static_cast<SHORT>(HIWORD(static_cast<DWORD>(lParam)));
        return 0;
    case UDM_GETRANGE: return MAKELRESULT(static_cast<WORD>(m_upper), static_cast<WORD>(m_lower));
    case UDM_SETRANGE32:
        m_lower = static_cast<int>(wParam);
        m_upper = static_cast<int>(lParam);
        return 0;
    case UDM_GETRANGE32:
        if (auto* lower = reinterpret_cast<int*>(wParam))
            *lower = m_lower;
        if (auto* upper = reinterpret_cast<int*>(lParam))
            *upper = m_upper;
        return 0;
    case UDM_SETPOS: return static_cast<SHORT>(SetPosition(static_cast<SHORT>(LOWORD(static_cast<DWORD>(lParam)))));
    case UDM_SETPOS32: return SetPosition(static_cast<int>(lParam));
    case UDM_GETPOS: {
        bool failed = false;
        const int position = CurrentPosition(&failed);
        return MAKELRESULT(static_cast<WORD>(position), failed ? 1 : 0);
    }
    case UDM_GETPOS32: {
        bool failed = false;
        const int position = CurrentPosition(&failed);
        if (auto* error = reinterpret_cast<BOOL*>(lParam))
            *error = failed ? TRUE : FALSE;
        return position;
    }
    case UDM_SETBUDDY: return reinterpret_cast<LRESULT>(SetBuddy(reinterpret_cast<HWND>(wParam)));
    case UDM_GETBUDDY: return reinterpret_cast<LRESULT>(m_buddy);
    case UDM_SETACCEL: return SetAccelerations(wParam, lParam);
    case UDM_GETACCEL: return GetAccelerations(wParam, lParam);
    case UDM_SETBASE: {
        if (wParam != 10 && wParam != 16)
            return 0;
        const int previous = m_base;
        m_base = static_cast<int>(wParam);
        ShowInBuddy();
        return previous;
    }
    case UDM_GETBASE: return m_base;
    case WM_DESTROY:
        EndPress();
        DetachBuddy();
        return 0;
    default: return CControlWindow::OnMessage(message, wParam, lParam);
    }
}

// ---------------------------------------------------------------------------
// Buddy
// ---------------------------------------------------------------------------

void CUpDownControl::OnCreate()
{
    if ((Style() & UDS_AUTOBUDDY) != 0)
        SetBuddy(GetWindow(Hwnd(), GW_HWNDPREV));
}

HWND CUpDownControl::SetBuddy(HWND buddy)
{
    HWND previous = m_buddy;
    DetachBuddy();
    m_buddy = IsWindow(buddy) && buddy != Hwnd() ? buddy : nullptr;
    AttachBuddy();
    AlignToBuddy();
    return previous;
}

void CUpDownControl::AttachBuddy()
{
    if (m_buddy == nullptr || (Style() & UDS_ARROWKEYS) == 0 || GetPropW(m_buddy, kOwnerProperty) != nullptr)
        return;
    const LONG_PTR previous = SetWindowLongPtrW(m_buddy, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&BuddyProc));
    SetPropW(m_buddy, kProcProperty, reinterpret_cast<HANDLE>(previous));
    SetPropW(m_buddy, kOwnerProperty, reinterpret_cast<HANDLE>(Hwnd()));
}

void CUpDownControl::DetachBuddy()
{
    if (m_buddy == nullptr)
        return;
    HWND buddy = m_buddy;
    m_buddy = nullptr;
    if (!IsWindow(buddy) || reinterpret_cast<HWND>(GetPropW(buddy, kOwnerProperty)) != Hwnd())
        return;
    const auto previous = reinterpret_cast<LONG_PTR>(RemovePropW(buddy, kProcProperty));
    RemovePropW(buddy, kOwnerProperty);
    // Someone who subclassed the buddy after us keeps their procedure.
    if (GetWindowLongPtrW(buddy, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&BuddyProc))
        SetWindowLongPtrW(buddy, GWLP_WNDPROC, previous);
}

LRESULT CUpDownControl::BuddyProc(HWND buddy, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto owner = reinterpret_cast<HWND>(GetPropW(buddy, kOwnerProperty));
    auto previous = reinterpret_cast<WNDPROC>(GetPropW(buddy, kProcProperty));
    if ((message == WM_KEYDOWN || message == WM_KEYUP) && (wParam == VK_UP || wParam == VK_DOWN) &&
        owner != nullptr) {
        SendMessageW(owner, message, wParam, lParam);
        return 0;
    }
    if (message == WM_NCDESTROY && owner != nullptr) {
        RemovePropW(buddy, kOwnerProperty);
        RemovePropW(buddy, kProcProperty);
        SetWindowLongPtrW(buddy, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        SendMessageW(owner, UDM_SETBUDDY, 0, 0);
    }
    return previous != nullptr ? CallWindowProcW(previous, buddy, message, wParam, lParam)
                               : DefWindowProcW(buddy, message, wParam, lParam);
}

// UDS_ALIGNRIGHT/LEFT: the control takes the buddy's height and sits at its
// side, and the buddy gives up the control's width for it.
void CUpDownControl::AlignToBuddy()
{
    const DWORD style = Style();
    if (m_buddy == nullptr || (style & (UDS_ALIGNRIGHT | UDS_ALIGNLEFT)) == 0)
        return;
    HWND parent = GetParent(Hwnd());
    RECT buddy{};
    RECT own{};
    GetWindowRect(m_buddy, &buddy);
    GetWindowRect(Hwnd(), &own);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&buddy), 2);
    const int width = own.right - own.left;
    const int height = buddy.bottom - buddy.top;
    const int buddyWidth = std::max(0, static_cast<int>(buddy.right - buddy.left) - width);
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if ((style & UDS_ALIGNRIGHT) != 0) {
        SetWindowPos(m_buddy, nullptr, buddy.left, buddy.top, buddyWidth, height, flags);
        SetWindowPos(Hwnd(), nullptr, buddy.left + buddyWidth, buddy.top, width, height, flags);
    } else {
        SetWindowPos(m_buddy, nullptr, buddy.left + width, buddy.top, buddyWidth, height, flags);
        SetWindowPos(Hwnd(), nullptr, buddy.left, buddy.top, width, height, flags);
    }
}

std::optional<int> CUpDownControl::ParseBuddy() const
{
    if (m_buddy == nullptr || (Style() & UDS_SETBUDDYINT) == 0)
        return std::nullopt;
    const auto value = ParseNumber(WindowText(m_buddy), m_base);
    if (!value || *value < Low() || *value > High())
        return std::nullopt;
    return static_cast<int>(*value);
}

void CUpDownControl::ShowInBuddy() const
{
    if (m_buddy == nullptr || (Style() & UDS_SETBUDDYINT) == 0)
        return;
    const std::wstring text = FormatPosition(m_position, m_base, (Style() & UDS_NOTHOUSANDS) == 0);
    SetWindowTextW(m_buddy, text.c_str());
}

// ---------------------------------------------------------------------------
// Position
// ---------------------------------------------------------------------------

LRESULT CUpDownControl::SetPosition(long long position)
{
    const int previous = m_position;
    m_position = static_cast<int>(std::clamp<long long>(position, Low(), High()));
    ShowInBuddy();
    return previous;
}

int CUpDownControl::CurrentPosition(bool* failed)
{
    *failed = false;
    if (m_buddy != nullptr && (Style() & UDS_SETBUDDYINT) != 0) {
        if (const auto shown = ParseBuddy())
            m_position = *shown;
        else
            *failed = true;
    }
    return m_position;
}

LRESULT CUpDownControl::SetAccelerations(WPARAM count, LPARAM table)
{
    const auto* accels = reinterpret_cast<const UDACCEL*>(table);
    if (accels == nullptr || count == 0 || count > kMaxAccels)
        return FALSE;
    m_accels.assign(accels, accels + count);
    std::stable_sort(m_accels.begin(), m_accels.end(),
                     [](const UDACCEL& a, const UDACCEL& b) { return a.nSec < b.nSec; });
    return TRUE;
}

LRESULT CUpDownControl::GetAccelerations(WPARAM count, LPARAM table) const
{
    auto* out = reinterpret_cast<UDACCEL*>(table);
    if (out != nullptr)
        std::copy_n(m_accels.begin(), std::min<std::size_t>(count, m_accels.size()), out);
    return static_cast<LRESULT>(m_accels.size());
}

void CUpDownControl::Step(Arrow arrow, int increment)
{
    bool failed = false;
    const int from = CurrentPosition(&failed);
    // "Up" runs towards m_upper, whichever of the two ends is larger.
    const int towardsUpper = m_upper >= m_lower ? increment : -increment;
    NMUPDOWN change;
    change.hdr.hwndFrom = Hwnd();
    change.hdr.idFrom = static_cast<UINT_PTR>(Id());
    change.hdr.code = UDN_DELTAPOS;
    change.iPos = from;
    change.iDelta = arrow == Arrow::Up ? towardsUpper : -towardsUpper;
    if (HWND parent = Parent()) {
        if (SendMessageW(parent, WM_NOTIFY, change.hdr.idFrom, reinterpret_cast<LPARAM>(&change)) != 0 || Gone())
            return;
    }
    long long next = static_cast<long long>(from) + change.iDelta;
    if ((Style() & UDS_WRAP) != 0 && next > High())
        next = Low();
    else if ((Style() & UDS_WRAP) != 0 && next < Low())
        next = High();
    const int previous = m_position;
    SetPosition(next);
    if (m_position != previous)
        ReportScroll(kScrollThumbPosition);
}

void CUpDownControl::ReportScroll(WORD code) const
{
    HWND parent = Parent();
    if (parent == nullptr)
        return;
    const UINT message = (Style() & UDS_HORZ) != 0 ? WM_HSCROLL : WM_VSCROLL;
    SendMessageW(parent, message, MAKEWPARAM(code, static_cast<WORD>(m_position)), reinterpret_cast<LPARAM>(Hwnd()));
}

int CUpDownControl::AccelerationNow() const
{
    const DWORD seconds = (GetTickCount() - m_pressTick) / 1000;
    int increment = 1;
    for (const UDACCEL& accel : m_accels) {
        if (accel.nSec <= seconds)
            increment = static_cast<int>(accel.nInc);
    }
    return increment;
}

// ---------------------------------------------------------------------------
// Input
// ---------------------------------------------------------------------------

CUpDownControl::Arrow CUpDownControl::ArrowAt(POINT point) const
{
    const RECT client = Client();
    if (PtInRect(&client, point) == FALSE)
        return Arrow::None;
    if ((Style() & UDS_HORZ) != 0)
        return point.x >= (client.left + client.right) / 2 ? Arrow::Up : Arrow::Down;
    return point.y < (client.top + client.bottom) / 2 ? Arrow::Up : Arrow::Down;
}

void CUpDownControl::OnButtonDown(POINT point)
{
    const Arrow arrow = ArrowAt(point);
    if (arrow == Arrow::None || !Enabled())
        return;
    SetCapture(Hwnd());
    m_pressed = arrow;
    m_over = true;
    m_repeating = false;
    m_pressTick = GetTickCount();
    Redraw();
    Step(arrow, m_accels.empty() ? 1 : static_cast<int>(m_accels.front().nInc));
    if (m_pressed != Arrow::None)
        SetTimer(Hwnd(), kRepeatTimer, kFirstDelayMs, nullptr);
}

void CUpDownControl::OnMouseMove(POINT point)
{
    if (m_pressed == Arrow::None)
        return;
    const bool over = ArrowAt(point) == m_pressed;
    if (over != m_over) {
        m_over = over;
        Redraw();
    }
}

void CUpDownControl::OnButtonUp()
{
    if (m_pressed == Arrow::None)
        return;
    EndPress();
    ReportScroll(kScrollEnd);
}

void CUpDownControl::EndPress()
{
    if (m_pressed == Arrow::None)
        return;
    m_pressed = Arrow::None;
    KillTimer(Hwnd(), kRepeatTimer);
    if (GetCapture() == Hwnd())
        ReleaseCapture();
    Redraw();
}

void CUpDownControl::OnTimer()
{
    if (m_pressed == Arrow::None) {
        KillTimer(Hwnd(), kRepeatTimer);
        return;
    }
    if (!m_repeating) {
        m_repeating = true;
        SetTimer(Hwnd(), kRepeatTimer, kRepeatMs, nullptr);
    }
    if (m_over)
        Step(m_pressed, AccelerationNow());
}

bool CUpDownControl::OnKey(UINT message, WPARAM key)
{
    if ((Style() & UDS_ARROWKEYS) == 0 || (key != VK_UP && key != VK_DOWN))
        return false;
    if (message == WM_KEYDOWN) {
        m_keyStep = key == VK_UP ? Arrow::Up : Arrow::Down;
        Step(m_keyStep, 1);
    } else if (m_keyStep != Arrow::None) {
        m_keyStep = Arrow::None;
        ReportScroll(kScrollEnd);
    }
    return true;
}

// ---------------------------------------------------------------------------
// Painting
// ---------------------------------------------------------------------------

void CUpDownControl::Paint(HDC dc)
{
    const RECT client = Client();
    const bool horizontal = (Style() & UDS_HORZ) != 0;
    RECT up = client;
    RECT down = client;
    if (horizontal) {
        down.right = up.left = (client.left + client.right) / 2;
    } else {
        up.bottom = down.top = (client.top + client.bottom) / 2;
    }
    const UINT inactive = Enabled() ? 0 : DFCS_INACTIVE;
    const auto pushed = [this](Arrow arrow) { return m_pressed == arrow && m_over ? DFCS_PUSHED : 0u; };
    DrawFrameControl(dc, &up, DFC_SCROLL, (horizontal ? DFCS_SCROLLRIGHT : DFCS_SCROLLUP) | pushed(Arrow::Up) | inactive);
    DrawFrameControl(dc, &down, DFC_SCROLL,
                     (horizontal ? DFCS_SCROLLLEFT : DFCS_SCROLLDOWN) | pushed(Arrow::Down) | inactive);
}

}
