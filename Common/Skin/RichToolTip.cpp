#include "Common/Skin/RichToolTip.h"

#include "Platform/Base/HandleTable.h"
#include "Platform/Controls/MessageBox.h"
#include "Platform/Framework/App/WinApp.h"
#include "Platform/Ui/ResourceImage.h"
#include "Platform/Ui/SystemMetrics.h"

#include <algorithm>

namespace ZELL::Skin {

namespace {

constexpr int kBalloonGeometry[] = {16, 16, 12, 12, 12, 16, 16, 0, 0};
constexpr int kRectangleGeometry[] = {0, 0, 3, 1, 0, 0, 0, 0, 0};
constexpr int kFadeStep = 20;
constexpr UINT kAnimationPeriod = 100;

bool Contains(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

bool IsEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

bool IsMouseMessage(UINT message)
{
    return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK);
}

// Presses that take any tip away at once.
bool Dismisses(UINT message)
{
    switch (message) {
    case WM_NCLBUTTONDOWN: case WM_NCLBUTTONDBLCLK: case WM_NCRBUTTONDOWN: case WM_NCRBUTTONDBLCLK:
    case WM_NCMBUTTONDOWN: case WM_NCMBUTTONDBLCLK: case WM_KEYDOWN: case WM_SYSKEYDOWN: case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK: case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK:
    case WM_MOUSEWHEEL:
        return true;
    default:
        return false;
    }
}

std::wstring BesideImage(const std::wstring& image, const std::wstring& text)
{
    return L"<table><tr><td>" + image + L"</td><td>" + text + L"</td></tr></table>";
}

std::wstring SizeAttributes(SIZE size)
{
    return L" width=" + std::to_wstring(size.cx) + L" height=" + std::to_wstring(size.cy);
}

std::wstring ResourceText(UINT id)
{
    return ZellLoadString(AfxGetResourceHandle(), id).GetString();
}

// "Prompt\nTip": the part after the first line break, up to the next one.
std::wstring SecondLine(const std::wstring& text)
{
    const std::size_t first = text.find(L'\n');
    if (first == std::wstring::npos)
        return {};
    return text.substr(first + 1, text.find(L'\n', first + 1) - first - 1);
}

// Tool bars beyond this many buttons are answering nonsense.
constexpr LRESULT kMaxToolBarButtons = 1024;
constexpr UINT WM_KEYF1 = 0x004D;

std::wstring IconResourceText(const std::wstring& text, UINT iconId, SIZE size)
{
    return BesideImage(L"<icon idres=" + std::to_wstring(iconId) + SizeAttributes(size) + L">", text);
}

void RegisterTooltipClass()
{
    WNDCLASSW existing{};
    if (GetClassInfoW(nullptr, CRichToolTip::kClassName, &existing))
        return;
    WNDCLASSW wc{};
    wc.style = CS_SAVEBITS;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = CRichToolTip::kClassName;
    RegisterClassW(&wc);
}

} // namespace

CRichToolTip::CRichToolTip()
{
    RegisterTooltipClass();
    std::fill(std::begin(m_colors), std::end(m_colors), GetSysColor(COLOR_INFOBK));
    m_borderColor = GetSysColor(COLOR_INFOTEXT);
    SetBalloonForm(true);
}

CRichToolTip::~CRichToolTip()
{
    if (m_hWnd)
        DestroyWindow();
    ForgetShape();
}

BOOL CRichToolTip::Create(CWnd* parent, BOOL balloon)
{
    m_parent = parent;
    if (!CreateEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kClassName, L"", WS_POPUP, 0, 0, 0, 0,
                  parent ? parent->m_hWnd : nullptr, nullptr))
        return FALSE;
    SetBalloonForm(balloon != FALSE);
    m_drawer.SetHoverCallback(m_hWnd, MESSAGE_LINK_HOVER, 0);
    SetTimer(kTimerAnimation, kAnimationPeriod);
    return TRUE;
}

BOOL CRichToolTip::DestroyWindow()
{
    if (!m_hWnd)
        return FALSE;
    Pop();
    KillTimer(kTimerAnimation);
    return CWnd::DestroyWindow();
}

// --- tools -----------------------------------------------------------------

void CRichToolTip::AddTool(HWND window, const ToolInfo& tool)
{
    auto& list = m_tools[window];
    const auto same = std::find_if(list.begin(), list.end(), [&tool](const ToolInfo& t) {
        return EqualRect(&t.rect, &tool.rect) != FALSE;
    });
    if (same != list.end())
        *same = tool;
    else
        list.push_back(tool);
}

void CRichToolTip::AddToolText(HWND window, const std::wstring& text, int id, const RECT* rect)
{
    ToolInfo tool;
    tool.id = id;
    tool.text = text;
    if (rect)
        tool.rect = *rect;
    AddTool(window, tool);
}

std::wstring CRichToolTip::IconText(HICON icon, const std::wstring& text)
{
    if (!icon)
        return text;
    // The whole handle value: a number cut to 32 bits would name another
    // object, or none.
    const std::wstring handle = Platform::FormatHandleNumber(reinterpret_cast<std::uintptr_t>(icon));
    return BesideImage(L"<icon handle=" + handle + L">", text);
}

void CRichToolTip::AddToolIconHandle(HWND window, const std::wstring& text, HICON icon, int id, const RECT* rect)
{
    AddToolText(window, IconText(icon, text), id, rect);
}

void CRichToolTip::AddToolIcon(HWND window, const std::wstring& text, UINT iconId, SIZE size, int id, const RECT* rect)
{
    AddToolText(window, IconResourceText(text, iconId, size), id, rect);
}

void CRichToolTip::AddToolBitmap(HWND window, const std::wstring& text, UINT bitmapId, COLORREF mask, SIZE size,
                                 int id, const RECT* rect)
{
    const std::wstring image = L"<bmp idres=" + std::to_wstring(bitmapId) + L" mask=" +
                               Platform::FormatHandleNumber(mask) + SizeAttributes(size) + L">";
    AddToolText(window, BesideImage(image, text), id, rect);
}

void CRichToolTip::AddToolText(HWND window, UINT textId, int id, const RECT* rect)
{
    AddToolText(window, ResourceText(textId), id, rect);
}

void CRichToolTip::AddToolIconHandle(HWND window, UINT textId, HICON icon, int id, const RECT* rect)
{
    AddToolIconHandle(window, ResourceText(textId), icon, id, rect);
}

void CRichToolTip::AddToolIcon(HWND window, UINT textId, UINT iconId, SIZE size, int id, const RECT* rect)
{
    AddToolIcon(window, ResourceText(textId), iconId, size, id, rect);
}

void CRichToolTip::AddToolBitmap(HWND window, UINT textId, UINT bitmapId, COLORREF mask, SIZE size, int id,
                                 const RECT* rect)
{
    AddToolBitmap(window, ResourceText(textId), bitmapId, mask, size, id, rect);
}

void CRichToolTip::AddToolBar(HWND bar)
{
    if (bar && std::find(m_toolBars.begin(), m_toolBars.end(), bar) == m_toolBars.end())
        m_toolBars.push_back(bar);
}

void CRichToolTip::RemoveTool(HWND window, int id)
{
    const auto found = m_tools.find(window);
    if (found == m_tools.end())
        return;
    auto& list = found->second;
    list.erase(std::remove_if(list.begin(), list.end(), [id](const ToolInfo& t) { return t.id == id; }), list.end());
    if (list.empty())
        m_tools.erase(found);
}

void CRichToolTip::RemoveAllTools()
{
    m_tools.clear();
    m_toolBars.clear();
}

bool CRichToolTip::GetTool(HWND window, int id, ToolInfo& tool) const
{
    const auto found = m_tools.find(window);
    if (found == m_tools.end())
        return false;
    for (const ToolInfo& t : found->second) {
        if (t.id == id) {
            tool = t;
            return true;
        }
    }
    return false;
}

void CRichToolTip::UpdateTipText(const std::wstring& text, HWND window, int id)
{
    const auto found = m_tools.find(window);
    if (found == m_tools.end())
        return;
    for (ToolInfo& t : found->second) {
        if (t.id == id)
            t.text = text;
    }
}

// --- settings --------------------------------------------------------------

void CRichToolTip::SetDelayTime(int type, UINT milliseconds)
{
    switch (type) {
    case kDelayAutoPop: m_autoPop = milliseconds; break;
    case kDelayInitial: m_initial = milliseconds; break;
    case kDelayFadeIn: m_fadeIn = milliseconds; break;
    case kDelayFadeOut: m_fadeOut = milliseconds; break;
    case kDelayAnimation:
        if (!m_hWnd)
            break;
        KillTimer(kTimerAnimation);
        if (milliseconds != 0)
            SetTimer(kTimerAnimation, milliseconds);
        break;
    default: break;
    }
}

UINT CRichToolTip::GetDelayTime(int type) const
{
    switch (type) {
    case kDelayAutoPop: return m_autoPop;
    case kDelayInitial: return m_initial;
    case kDelayFadeIn: return m_fadeIn;
    case kDelayFadeOut: return m_fadeOut;
    default: return 0;
    }
}

void CRichToolTip::SetBalloonForm(bool balloon)
{
    std::copy(std::begin(balloon ? kBalloonGeometry : kRectangleGeometry),
              std::end(balloon ? kBalloonGeometry : kRectangleGeometry), m_geometry);
}

void CRichToolTip::SetGeometry(int index, int value)
{
    if (index >= 0 && index < GEOMETRY_COUNT)
        m_geometry[index] = std::max(0, value);
}

void CRichToolTip::SetColors(COLORREF begin, COLORREF middle, COLORREF end)
{
    m_colors[0] = begin;
    m_colors[1] = middle;
    m_colors[2] = end;
}

void CRichToolTip::SetBorder(COLORREF color, int width, int height)
{
    m_borderColor = color;
    m_borderWidth = std::max(0, width);
    m_borderHeight = std::max(0, height);
}

void CRichToolTip::SetTransparency(int transparency)
{
    if (transparency >= 0 && transparency <= 100)
        m_transparencyDefault = transparency;
}

// --- finding tools ---------------------------------------------------------

bool CRichToolTip::ToolBarButtonAt(POINT screen, HWND& bar, int& command, RECT& rect) const
{
    for (HWND candidate : m_toolBars) {
        if (!::IsWindow(candidate) || !::IsWindowVisible(candidate))
            continue;
        RECT area{};
        ::GetWindowRect(candidate, &area);
        if (!Contains(area, screen))
            continue;
        POINT client = screen;
        ::ScreenToClient(candidate, &client);
        const LRESULT count = std::min(::SendMessageW(candidate, TB_BUTTONCOUNT, 0, 0), kMaxToolBarButtons);
        for (LRESULT index = 0; index < count; ++index) {
            RECT button{};
            if (!::SendMessageW(candidate, TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button)) ||
                !Contains(button, client))
                continue;
            ToolBarButton info;
            ::SendMessageW(candidate, TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&info));
            bar = candidate;
            command = info.command;
            rect = button;
            return true;
        }
    }
    return false;
}

bool CRichToolTip::HitTestToolBar(POINT screen, HWND& window, ToolInfo& tool)
{
    int command = 0;
    RECT rect{};
    if (!ToolBarButtonAt(screen, window, command, rect))
        return false;
    tool = ToolInfo{};
    tool.id = command;
    tool.rect = rect;
    tool.text = command != 0 ? SecondLine(ResourceText(static_cast<UINT>(command))) : std::wstring();
    return true;
}

// The tools of a window: the one with an empty rectangle covers it whole,
// otherwise the first whose rectangle holds the point.
bool CRichToolTip::FindToolOf(HWND window, POINT screen, ToolInfo& tool) const
{
    const auto found = m_tools.find(window);
    if (found == m_tools.end())
        return false;
    POINT client = screen;
    ::ScreenToClient(window, &client);
    for (const ToolInfo& t : found->second) {
        if ((IsEmpty(t.rect) && found->second.size() == 1) || Contains(t.rect, client)) {
            tool = t;
            return true;
        }
    }
    return false;
}

bool CRichToolTip::FindTool(POINT screen, HWND& window, ToolInfo& tool)
{
    if (HitTestToolBar(screen, window, tool))
        return true;
    if (!m_parent || !m_parent->m_hWnd)
        return false;
    HWND parent = m_parent->m_hWnd;
    HWND under = WindowFromPoint(screen);
    if (under == m_hWnd && m_hasShown)
        under = m_shownWindow;
    if (under == parent) {
        // Disabled children get no mouse messages of their own, but they
        // have tips all the same.
        POINT client = screen;
        ::ScreenToClient(parent, &client);
        HWND child = ChildWindowFromPointEx(parent, client, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
        if (child)
            under = child;
    }
    for (HWND candidate = under; candidate; candidate = ::GetParent(candidate)) {
        if (FindToolOf(candidate, screen, tool)) {
            window = candidate;
            return true;
        }
        if (candidate == parent)
            break;
    }
    return false;
}

bool CRichToolTip::SameTool(HWND window, const ToolInfo& tool) const
{
    return m_hasShown && window == m_shownWindow && tool.id == m_shown.id && EqualRect(&tool.rect, &m_shown.rect);
}

bool CRichToolTip::PointerOverTip(POINT screen) const
{
    if (!m_hWnd || !IsWindowVisible())
        return false;
    RECT r{};
    ::GetWindowRect(m_hWnd, &r);
    return Contains(r, screen);
}

// --- relaying --------------------------------------------------------------

BOOL CRichToolTip::PreTranslateMessage(MSG* msg)
{
    RelayEvent(msg);
    return CWnd::PreTranslateMessage(msg);
}

BOOL CRichToolTip::RelayEvent(MSG* msg)
{
    if (!msg)
        return FALSE;
    if (m_state == State::Shown && m_shown.key != 0 && (msg->message == WM_KEYDOWN || msg->message == WM_KEYUP) &&
        msg->wParam == m_shown.key) {
        if (msg->message == WM_KEYDOWN && m_parent) {
            static const UINT keyMessage = RegisterWindowMessageW(L"WM_RICHTOOLTIP_VIRTUAL_KEY_CODE");
            ::PostMessageW(m_parent->m_hWnd, keyMessage, m_shown.keyValue, static_cast<LPARAM>(m_shown.id));
        }
        return TRUE;
    }
    if (m_state == State::Shown && msg->message == WM_KEYF1 && m_shown.key == VK_F1)
        return TRUE;
    if (!m_hWnd || !(IsMouseMessage(msg->message) || Dismisses(msg->message)))
        return FALSE;
    POINT screen{};
    GetCursorPos(&screen);
    if (msg->message == WM_MOUSEMOVE || msg->message == WM_NCMOUSEMOVE) {
        OnMouseMove(screen);
    } else if (msg->message == WM_LBUTTONDOWN) {
        if (PointerOverTip(screen)) {
            POINT client = screen;
            ::ScreenToClient(m_hWnd, &client);
            m_drawer.OnLinkClick(client, m_shown.id);
        }
        Pop();
    } else if (Dismisses(msg->message)) {
        Pop();
    }
    return FALSE;
}

void CRichToolTip::OnMouseMove(POINT screen)
{
    if (m_mode == ShowMode::FixedPoint && !PointerOverTip(screen)) {
        // A help tip stays until the pointer has been on it and leaves.
        return;
    }
    if (screen.x == m_point.x && screen.y == m_point.y)
        return;
    const POINT previous = m_point;
    m_point = screen;
    if (m_windowInfo) {
        ShowWindowInfo(screen);
        return;
    }
    if (PointerOverTip(screen) && !(m_shown.behaviour & FOLLOW_POINTER)) {
        if (m_shown.behaviour & ENTERABLE) {
            StartAutoHide();
            POINT client = screen;
            ::ScreenToClient(m_hWnd, &client);
            m_drawer.OnLinkHover(client);
        } else {
            HideTip();
        }
        return;
    }
    HWND window = nullptr;
    ToolInfo tool;
    if (!FindTool(screen, window, tool)) {
        m_hasShown = false;
        KillTimer(kTimerShow);
        HideTip();
        return;
    }
    if (SameTool(window, tool)) {
        if ((m_shown.behaviour & FOLLOW_POINTER) && IsWindowVisible()) {
            RECT r{};
            ::GetWindowRect(m_hWnd, &r);
            ::SetWindowPos(m_hWnd, nullptr, r.left + screen.x - previous.x, r.top + screen.y - previous.y, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        if (m_shown.behaviour & (FOLLOW_POINTER | MOVE_RESTARTS))
            StartAutoHide();
        else if (!(m_shown.behaviour & FORGET_ON_HIDE) && m_state != State::Hidden)
            HideTip();
        return;
    }
    ShowTool(window, tool, true, ShowMode::AtPointer);
}

// --- showing and hiding ----------------------------------------------------

void CRichToolTip::ShowHelpTip(POINT point, const std::wstring& text, HICON icon)
{
    ToolInfo tool;
    tool.text = IconText(icon, text);
    tool.behaviour = m_behaviour | FORGET_ON_HIDE | MOVE_RESTARTS | ENTERABLE | NO_AUTO_HIDE;
    tool.mask = MASK_BEHAVIOUR;
    m_point = point;
    ShowTool(m_parent ? m_parent->m_hWnd : nullptr, tool, false, ShowMode::FixedPoint);
}

void CRichToolTip::ShowHelpTip(POINT point, UINT textId, HICON icon)
{
    ShowHelpTip(point, ResourceText(textId), icon);
}

void CRichToolTip::ShowHelpTip(POINT point, UINT textId, UINT iconId, SIZE iconSize)
{
    ShowHelpTip(point, IconResourceText(ResourceText(textId), iconId, iconSize));
}

void CRichToolTip::ShowHelpTipAtControl(const std::wstring& text, UINT iconType, int controlId)
{
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    HWND control = controlId != 0 && owner ? ::GetDlgItem(owner, controlId) : owner;
    if (!control)
        return;
    RECT r{};
    ::GetWindowRect(control, &r);
    LPCWSTR icon = iconType == MB_ICONHAND       ? IDI_HAND
                   : iconType == MB_ICONQUESTION ? IDI_QUESTION
                   : iconType == MB_ICONASTERISK ? IDI_ASTERISK
                                                 : IDI_EXCLAMATION;
    ShowHelpTip(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}, text, LoadIconW(nullptr, icon));
}

void CRichToolTip::ShowTool(HWND window, const ToolInfo& tool, bool wait, ShowMode mode)
{
    if (m_state == State::FadingIn || m_state == State::Shown)
        HideTip();
    m_pendingWindow = window;
    m_pending = tool;
    m_mode = mode;
    if (m_state == State::Hiding) {
        m_showPending = true;
        m_pendingWait = wait && m_initial != 0;
        return;
    }
    KillTimer(kTimerShow);
    if (wait && m_initial != 0)
        SetTimer(kTimerShow, m_initial);
    else
        OnShowTimer();
}

void CRichToolTip::OnShowTimer()
{
    KillTimer(kTimerShow);
    POINT reference = m_point;
    if (m_mode == ShowMode::AtPointer)
        GetCursorPos(&reference);
    if (reference.x != m_point.x || reference.y != m_point.y)
        HideTip();
    const bool toolVisible = !m_pendingWindow || ::IsWindowVisible(m_pendingWindow);
    if (m_state != State::Hidden || !toolVisible)
        return;
    m_shownWindow = m_pendingWindow;
    m_shown = m_pending;
    m_hasShown = true;
    m_state = State::FadingIn;
    if (!PlaceOnMonitor()) {
        m_state = State::Hidden;
        return;
    }
    if (m_fadeIn != 0) {
        SetTimer(kTimerFadeIn, m_fadeIn);
        return;
    }
    FinishShow();
}

void CRichToolTip::FinishShow()
{
    m_state = State::Shown;
    StartAutoHide();
}

void CRichToolTip::StartAutoHide()
{
    if (m_state != State::Shown)
        return;
    KillTimer(kTimerHide);
    if (m_autoPop != 0 && !(m_shown.behaviour & NO_AUTO_HIDE))
        SetTimer(kTimerHide, m_autoPop);
}

void CRichToolTip::OnFadeInStep()
{
    m_transparency = m_transparency <= kFadeStep ? 0 : m_transparency - kFadeStep;
    if (m_transparency <= m_shown.transparency) {
        m_transparency = m_shown.transparency;
        KillTimer(kTimerFadeIn);
        FinishShow();
    }
    Invalidate(FALSE);
}

void CRichToolTip::OnHideTimer()
{
    if (::GetCapture() == m_hWnd)
        ReleaseCapture();
    KillTimer(kTimerShow);
    KillTimer(kTimerFadeIn);
    KillTimer(kTimerHide);
    if (m_state == State::Hiding)
        return;
    m_state = State::Hiding;
    if (m_fadeOut != 0) {
        SetTimer(kTimerFadeOut, m_fadeOut);
        return;
    }
    m_transparency = 100;
    OnFadeOutStep();
}

void CRichToolTip::OnFadeOutStep()
{
    m_transparency = m_transparency >= 100 - kFadeStep ? 100 : m_transparency + kFadeStep;
    if (m_transparency < 100) {
        Invalidate(FALSE);
        return;
    }
    KillTimer(kTimerFadeOut);
    if (m_shown.behaviour & FORGET_ON_HIDE)
        m_hasShown = false;
    ShowWindow(SW_HIDE);
    m_state = State::Hidden;
    if (!m_showPending) {
        m_mode = ShowMode::AtPointer;
        return;
    }
    m_showPending = false;
    if (m_pendingWait)
        SetTimer(kTimerShow, m_initial);
    else
        OnShowTimer();
}

void CRichToolTip::HideTip()
{
    if (m_state == State::FadingIn) {
        KillTimer(kTimerFadeIn);
        OnHideTimer();
    } else if (m_state == State::Shown) {
        OnHideTimer();
    }
}

void CRichToolTip::Pop()
{
    if (!m_hWnd)
        return;
    if (::GetCapture() == m_hWnd)
        ReleaseCapture();
    m_state = State::Hidden;
    m_mode = ShowMode::AtPointer;
    m_showPending = false;
    for (UINT_PTR timer = kTimerShow; timer <= kTimerFadeOut; ++timer)
        KillTimer(timer);
    if (IsWindowVisible()) {
        if (m_shown.behaviour & FORGET_ON_HIDE)
            m_hasShown = false;
        ShowWindow(SW_HIDE);
    }
}

// --- placing ---------------------------------------------------------------

void CRichToolTip::FillDefaults(ToolInfo& tool) const
{
    if (!(tool.mask & MASK_EFFECT)) {
        tool.effect = m_effect;
        tool.granularity = m_granularity;
    }
    if (!(tool.mask & MASK_COLORS)) {
        tool.colorBegin = m_colors[0];
        tool.colorMiddle = m_colors[1];
        tool.colorEnd = m_colors[2];
    }
    if (!(tool.mask & MASK_DIRECTION))
        tool.direction = m_direction;
    if (!(tool.mask & MASK_BEHAVIOUR))
        tool.behaviour = m_behaviour;
    if (!(tool.mask & MASK_TRANSPARENCY))
        tool.transparency = static_cast<BYTE>(m_transparencyDefault);
}

// The child of the parent under the stored point, if any.
HWND CRichToolTip::ControlAtPoint() const
{
    if (!m_parent || !m_parent->m_hWnd)
        return nullptr;
    POINT client = m_point;
    ::ScreenToClient(m_parent->m_hWnd, &client);
    HWND child = ChildWindowFromPointEx(m_parent->m_hWnd, client, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    return child == m_parent->m_hWnd ? nullptr : child;
}

// The pointer, or under the control at the pointer when the tool asks for it.
POINT CRichToolTip::AnchorPoint() const
{
    POINT anchor = m_point;
    if (!m_shown.anchorAtControl || !m_parent)
        return anchor;
    HWND child = ControlAtPoint();
    if (!child)
        return POINT{anchor.x + 24, anchor.y + 22};
    RECT r{};
    ::GetWindowRect(child, &r);
    return POINT{r.left + 1 + (m_shown.addRectLeft ? m_shown.rect.left : 0), r.bottom};
}

bool CRichToolTip::PlaceOnMonitor()
{
    ForgetShape();
    FillDefaults(m_shown);
    POINT anchor = AnchorPoint();
    if (m_notify && m_parent) {
        NotifyInfo info;
        info.header.hwndFrom = m_hWnd;
        info.header.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(m_hWnd));
        info.header.code = NOTIFY_BEFORE_SHOW;
        info.toolWindow = m_shownWindow;
        info.anchor = &anchor;
        info.tool = &m_shown;
        ::SendMessageW(m_parent->m_hWnd, WM_NOTIFY, info.header.idFrom, reinterpret_cast<LPARAM>(&info));
    }
    if (m_shown.text.empty())
        return false;
    HDC dc = ::GetDC(m_hWnd);
    SIZE measured{};
    m_drawer.Measure(dc, m_shown.text, measured);
    ::ReleaseDC(m_hWnd, dc);
    if (measured.cx <= 1 && measured.cy <= 1)
        return false;
    const int extra = m_shown.anchorAtControl ? m_geometry[MARGIN_Y] : 0;
    const SIZE body{measured.cx + 2 * m_geometry[MARGIN_X], measured.cy + 2 * m_geometry[MARGIN_Y] + extra};
    m_content = RECT{m_geometry[MARGIN_X], m_geometry[MARGIN_Y] + extra, m_geometry[MARGIN_X] + measured.cx,
                     m_geometry[MARGIN_Y] + extra + measured.cy};
    Place(body, anchor, m_shown.direction);
    m_transparency = m_fadeIn != 0 ? 100 : m_shown.transparency;
    return true;
}

LRESULT CRichToolTip::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps{};
        HDC dc = ::BeginPaint(m_hWnd, &ps);
        Paint(dc);
        ::EndPaint(m_hWnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return TRUE;
    case WM_TIMER:
        switch (wParam) {
        case kTimerShow: OnShowTimer(); break;
        case kTimerHide: OnHideTimer(); break;
        case kTimerFadeIn: OnFadeInStep(); break;
        case kTimerFadeOut: OnFadeOutStep(); break;
        case kTimerAnimation:
            if (IsWindowVisible() && m_state == State::Shown && m_drawer.AnimateImages())
                Invalidate(FALSE);
            break;
        default: break;
        }
        return 0;
    case WM_SETCURSOR: {
        POINT screen{};
        GetCursorPos(&screen);
        ::ScreenToClient(m_hWnd, &screen);
        if (!m_drawer.OnLinkHover(screen))
            ::SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        return TRUE;
    }
    case WM_ACTIVATEAPP:
        if (!wParam)
            Pop();
        break;
    case MESSAGE_LINK_HOVER:
        // The hovered link changed: draw it in its hover look, fully opaque.
        m_transparency = 0;
        Invalidate(FALSE);
        return 0;
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

}  // namespace ZELL::Skin
