#include "Platform/Controls/ToolTipControl.h"

#include "Platform/Base/Clock.h"
#include "Platform/Controls/ToolSubclass.h"
#include "Platform/Controls/ToolTipPlacement.h"
#include "Platform/Gdi/Gdi.h"
#include "Platform/Ui/Resource.h"

#include <algorithm>
#include <cstddef>

namespace ZELL::Controls {

namespace {

constexpr UINT_PTR kShowTimer = 1;
constexpr UINT_PTR kPopTimer = 2;
// The pointer can leave a tool without the tool's window hearing of it (onto
// another window); while a tip is due, shown or held back, a timer looks.
constexpr UINT_PTR kLeaveTimer = 3;
constexpr UINT kLeaveCheckMs = 50;
// The frame, and the room between it and the text.
constexpr int kBorder = 1;
constexpr int kPaddingX = 3;
constexpr int kPaddingY = 1;
// A balloon's room between its outline and the text, and the title's gap.
constexpr int kBalloonPadding = 8;
constexpr int kTitleGap = 4;
constexpr int kTitleIcon = 16;
constexpr std::size_t kTitleChars = 99;
constexpr int kCloseBox = 14;
// How far below the pointer's hot spot a tip starts.
constexpr int kBelowPointer = 20;
// GETTOOLINFO copies at most this much text, the platform's own limit.
constexpr std::size_t kInfoTextChars = 80;
constexpr std::size_t kMinimumInfoSize = offsetof(TTTOOLINFOW, lParam);

bool HasLParam(const TTTOOLINFOW& info)
{
    return info.cbSize >= offsetof(TTTOOLINFOW, lpReserved);
}

std::wstring ResourceText(HINSTANCE instance, UINT id)
{
    wchar_t buffer[1024]{};
    LoadStringW(instance, id, buffer, static_cast<int>(std::size(buffer)));
    return buffer;
}

HWND ToolWindow(UINT_PTR id)
{
    return reinterpret_cast<HWND>(id);
}

}

bool CToolTipControl::Readable(const TTTOOLINFOW* info)
{
    return info != nullptr && info->cbSize >= kMinimumInfoSize;
}

void CToolTipControl::SetToolFields(Tool& tool, const TTTOOLINFOW& info)
{
    tool.flags = info.uFlags;
    tool.hwnd = info.hwnd;
    tool.id = info.uId;
    tool.rect = info.rect;
    SetToolText(tool, info);
    if (HasLParam(info))
        tool.param = info.lParam;
}

// The text itself, a string resource of `hinst` by its number, or asked of
// the owner each time (LPSTR_TEXTCALLBACK).
void CToolTipControl::SetToolText(Tool& tool, const TTTOOLINFOW& info)
{
    tool.hinst = info.hinst;
    tool.callback = info.lpszText == LPSTR_TEXTCALLBACKW;
    tool.resourceId = 0;
    tool.text.clear();
    if (tool.callback || info.lpszText == nullptr)
        return;
    if (!IS_INTRESOURCE(info.lpszText))
        tool.text = info.lpszText;
    else if (info.hinst != nullptr)
        tool.resourceId = static_cast<UINT>(reinterpret_cast<std::uintptr_t>(info.lpszText));
}

void CToolTipControl::FillInfo(const Tool& tool, TTTOOLINFOW* info) const
{
    info->uFlags = tool.flags;
    info->hwnd = tool.hwnd;
    info->uId = tool.id;
    info->rect = tool.rect;
    info->hinst = tool.hinst;
    if (HasLParam(*info))
        info->lParam = tool.param;
    if (tool.callback) {
        info->lpszText = LPSTR_TEXTCALLBACKW;
    } else if (info->lpszText != nullptr && !IS_INTRESOURCE(info->lpszText) && info->lpszText != LPSTR_TEXTCALLBACKW) {
        const std::size_t length = std::min(kInfoTextChars - 1, tool.text.size());
        std::copy_n(tool.text.data(), length, info->lpszText);
        info->lpszText[length] = L'\0';
    }
}

int CToolTipControl::Find(const TTTOOLINFOW* info) const
{
    if (!Readable(info))
        return -1;
    for (std::size_t i = 0; i < m_tools.size(); ++i)
        if (m_tools[i].hwnd == info->hwnd && m_tools[i].id == info->uId)
            return static_cast<int>(i);
    return -1;
}

HWND CToolTipControl::SubclassTarget(const Tool& tool) const
{
    return (tool.flags & TTF_IDISHWND) != 0 ? ToolWindow(tool.id) : tool.hwnd;
}

LRESULT CToolTipControl::AddTool(const TTTOOLINFOW* info)
{
    if (!Readable(info) || Find(info) >= 0)
        return FALSE;
    Tool tool;
    SetToolFields(tool, *info);
    if ((tool.flags & TTF_SUBCLASS) != 0)
        RelayMouseToTip(SubclassTarget(tool), Hwnd());
    m_tools.push_back(std::move(tool));
    return TRUE;
}

// The indexes kept about tools are no longer valid once one goes.
void CToolTipControl::Forget()
{
    Pop();
    CancelPending();
    m_current = m_tracked = m_blocked = -1;
}

LRESULT CToolTipControl::DeleteTool(const TTTOOLINFOW* info)
{
    const int index = Find(info);
    if (index < 0)
        return 0;
    Forget();
    if ((m_tools[index].flags & TTF_SUBCLASS) != 0)
        StopRelayToTip(SubclassTarget(m_tools[index]), Hwnd());
    m_tools.erase(m_tools.begin() + index);
    return 0;
}

LRESULT CToolTipControl::NewToolRect(const TTTOOLINFOW* info)
{
    const int index = Find(info);
    if (index >= 0)
        m_tools[index].rect = info->rect;
    return 0;
}

LRESULT CToolTipControl::GetToolInfo(TTTOOLINFOW* info) const
{
    const int index = Find(info);
    if (index < 0)
        return FALSE;
    FillInfo(m_tools[index], info);
    return TRUE;
}

LRESULT CToolTipControl::SetToolInfo(const TTTOOLINFOW* info)
{
    const int index = Find(info);
    if (index < 0)
        return 0;
    // Whether the window is subclassed was settled when the tool was added.
    const UINT subclass = m_tools[index].flags & TTF_SUBCLASS;
    SetToolFields(m_tools[index], *info);
    m_tools[index].flags = (m_tools[index].flags & ~TTF_SUBCLASS) | subclass;
    if (index == m_current && m_shown)
        Resize();
    return 0;
}

LRESULT CToolTipControl::UpdateTipText(const TTTOOLINFOW* info)
{
    const int index = Find(info);
    if (index < 0)
        return 0;
    SetToolText(m_tools[index], *info);
    if (index == m_current && m_shown)
        Resize();
    return 0;
}

LRESULT CToolTipControl::GetText(WPARAM size, TTTOOLINFOW* info) const
{
    const int index = Find(info);
    if (index < 0 || info->lpszText == nullptr || IS_INTRESOURCE(info->lpszText) || size == 0)
        return 0;
    const Tool& tool = m_tools[index];
    const std::wstring text = tool.resourceId != 0 ? ResourceText(tool.hinst, tool.resourceId) : tool.text;
    const std::size_t length = std::min<std::size_t>(size - 1, text.size());
    std::copy_n(text.data(), length, info->lpszText);
    info->lpszText[length] = L'\0';
    return static_cast<LRESULT>(length);
}

LRESULT CToolTipControl::EnumTools(int index, TTTOOLINFOW* info) const
{
    if (!Readable(info) || index < 0 || index >= static_cast<int>(m_tools.size()))
        return FALSE;
    FillInfo(m_tools[index], info);
    return TRUE;
}

LRESULT CToolTipControl::CurrentTool(TTTOOLINFOW* info) const
{
    if (!m_shown || m_current < 0)
        return FALSE;
    if (Readable(info))
        FillInfo(m_tools[m_current], info);
    return TRUE;
}

LRESULT CToolTipControl::HitTest(TTHITTESTINFOW* info) const
{
    if (info == nullptr)
        return FALSE;
    const int index = ToolAt(info->hwnd, info->pt);
    if (index < 0)
        return FALSE;
    if (info->ti.cbSize >= kMinimumInfoSize)
        FillInfo(m_tools[index], &info->ti);
    return TRUE;
}

LRESULT CToolTipControl::Activate(bool active)
{
    m_active = active;
    if (!active)
        Forget();
    return 0;
}

LRESULT CToolTipControl::TrackActivate(bool on, const TTTOOLINFOW* info)
{
    const int index = Find(info);
    if (index < 0)
        return 0;
    if (!on) {
        if (index == m_tracked) {
            Pop();
            m_tracked = -1;
        }
        return 0;
    }
    Pop();
    CancelPending();
    m_tracked = index;
    Show(index);
    return 0;
}

LRESULT CToolTipControl::TrackPosition(LPARAM position)
{
    m_trackPosition = PointOf(position);
    if (m_shown && m_current == m_tracked)
        Resize();
    return 0;
}

// Unset delays follow the double-click time: the initial delay is that
// time, the autopop ten times it, the reshow a fifth of it.
int CToolTipControl::Delay(WPARAM which) const
{
    if (which > TTDT_INITIAL)
        return 0;
    if (m_delays[which] >= 0)
        return m_delays[which];
    const int doubleClick = static_cast<int>(GetDoubleClickTime());
    switch (which) {
    case TTDT_AUTOPOP: return doubleClick * 10;
    case TTDT_RESHOW: return doubleClick / 5;
    default: return doubleClick;
    }
}

LRESULT CToolTipControl::SetDelay(WPARAM which, int value)
{
    if (which == TTDT_AUTOMATIC) {
        m_delays[TTDT_INITIAL] = value < 0 ? -1 : value;
        m_delays[TTDT_AUTOPOP] = value < 0 ? -1 : value * 10;
        m_delays[TTDT_RESHOW] = value < 0 ? -1 : value / 5;
    } else if (which <= TTDT_INITIAL) {
        m_delays[which] = value < 0 ? -1 : value;
    }
    return 0;
}

LRESULT CToolTipControl::PopupUnderCursor()
{
    const int index = ToolUnderCursor();
    if (index >= 0) {
        Pop();
        CancelPending();
        Show(index);
    }
    return 0;
}

int CToolTipControl::ToolAt(HWND hwnd, POINT client) const
{
    if (hwnd == nullptr)
        return -1;
    for (std::size_t i = 0; i < m_tools.size(); ++i) {
        const Tool& tool = m_tools[i];
        if ((tool.flags & TTF_TRACK) != 0)
            continue;
        const bool byWindow = (tool.flags & TTF_IDISHWND) != 0;
        if ((byWindow && ToolWindow(tool.id) == hwnd) || (!byWindow && tool.hwnd == hwnd && PtInRect(&tool.rect, client)))
            return static_cast<int>(i);
    }
    return -1;
}

bool CToolTipControl::OwnerActive(const Tool& tool) const
{
    if ((Style() & TTS_ALWAYSTIP) != 0)
        return true;
    HWND active = GetActiveWindow();
    return active != nullptr && active == GetAncestor(tool.hwnd, GA_ROOT);
}

LRESULT CToolTipControl::Relay(const MSG* message)
{
    if (message == nullptr || !m_active)
        return 0;
    switch (message->message) {
    case WM_MOUSEMOVE:
        Hover(ToolAt(message->hwnd, PointOf(message->lParam)));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
        // A click hides the tip, and it stays hidden until the pointer moves on to another tool.
        const int under = ToolAt(message->hwnd, PointOf(message->lParam));
        Pop();
        CancelPending();
        m_blocked = under;
        return 0;
    }
    case WM_MOUSELEAVE: Hover(-1); return 0;
    default: return 0;
    }
}

void CToolTipControl::Hover(int index)
{
    if (m_tracked >= 0)
        return;
    if (index < 0) {
        Pop();
        CancelPending();
        m_blocked = -1;
        return;
    }
    if (index == m_blocked || (m_shown && index == m_current) || (!m_shown && index == m_pending))
        return;
    m_blocked = -1;
    if (!OwnerActive(m_tools[index]))
        return;
    // Moving from one tip to the next, or coming back soon after one went, is quicker.
    const bool recent = m_everPopped && GetTickCount64() - m_poppedAt < static_cast<ULONGLONG>(Delay(TTDT_RESHOW));
    const int delay = m_shown || recent ? Delay(TTDT_RESHOW) : Delay(TTDT_INITIAL);
    Pop();
    m_pending = index;
    SetTimer(Hwnd(), kShowTimer, static_cast<UINT>(std::max(delay, 1)), nullptr);
    SetTimer(Hwnd(), kLeaveTimer, kLeaveCheckMs, nullptr);
}

int CToolTipControl::ToolUnderCursor() const
{
    POINT cursor{};
    GetCursorPos(&cursor);
    HWND under = WindowFromPoint(cursor);
    if (under == nullptr)
        return -1;
    ScreenToClient(under, &cursor);
    return ToolAt(under, cursor);
}

bool CToolTipControl::PointerOnTip() const
{
    POINT cursor{};
    GetCursorPos(&cursor);
    return WindowFromPoint(cursor) == Hwnd();
}

void CToolTipControl::CheckLeave()
{
    const int watched = m_shown ? m_current : (m_pending >= 0 ? m_pending : m_blocked);
    if (m_tracked >= 0 || watched < 0) {
        KillTimer(Hwnd(), kLeaveTimer);
        return;
    }
    if (m_shown && m_links.Any() && PointerOnTip())
        return;
    const int under = ToolUnderCursor();
    if (under != watched)
        Hover(under);
}

void CToolTipControl::OnTimer(UINT_PTR id)
{
    if (id == kLeaveTimer) {
        CheckLeave();
        return;
    }
    KillTimer(Hwnd(), id);
    if (id == kShowTimer) {
        const int index = m_pending;
        m_pending = -1;
        if (index >= 0)
            Show(index);
    } else if (id == kPopTimer) {
        const int shown = m_current;
        Pop();
        m_blocked = shown;
    }
}

void CToolTipControl::CancelPending()
{
    KillTimer(Hwnd(), kShowTimer);
    m_pending = -1;
}

LRESULT CToolTipControl::Notify(const Tool& tool, UINT code) const
{
    if (!IsWindow(tool.hwnd))
        return 0;
    NMHDR header{Hwnd(), tool.id, code};
    return SendMessageW(tool.hwnd, WM_NOTIFY, static_cast<WPARAM>(tool.id), reinterpret_cast<LPARAM>(&header));
}

std::wstring CToolTipControl::TextOf(int index)
{
    const Tool tool = m_tools[index];
    if (tool.resourceId != 0)
        return ResourceText(tool.hinst, tool.resourceId);
    if (!tool.callback)
        return tool.text;
    NMTTDISPINFOW info;
    info.hdr = NMHDR{Hwnd(), tool.id, TTN_GETDISPINFOW};
    info.uFlags = tool.flags;
    info.lParam = tool.param;
    if (!IsWindow(tool.hwnd))
        return {};
    SendMessageW(tool.hwnd, WM_NOTIFY, static_cast<WPARAM>(tool.id), reinterpret_cast<LPARAM>(&info));
    info.szText[std::size(info.szText) - 1] = L'\0';
    if (info.lpszText != nullptr && IS_INTRESOURCE(info.lpszText) && info.hinst != nullptr)
        return ResourceText(info.hinst, static_cast<UINT>(reinterpret_cast<std::uintptr_t>(info.lpszText)));
    if (info.lpszText != nullptr && !IS_INTRESOURCE(info.lpszText) && info.lpszText != LPSTR_TEXTCALLBACKW)
        return info.lpszText;
    return info.szText;
}

UINT CToolTipControl::TextFormat() const
{
    // Without a maximum width only the text's own line breaks start lines.
    UINT format = DT_EXPANDTABS | (m_maxWidth > 0 ? DT_WORDBREAK : 0);
    if ((Style() & TTS_NOPREFIX) != 0)
        format |= DT_NOPREFIX;
    return format;
}

SIZE CToolTipControl::TextSize(HDC dc, const std::wstring& text)
{
    const int inset = Balloon() ? kBalloonPadding : kBorder + kPaddingX;
    const int frame = 2 * inset + m_margin.left + m_margin.right;
    RECT bounds{0, 0, m_maxWidth > 0 ? std::max(1, m_maxWidth - frame) : 0, 0};
    if (m_links.Any())
        return m_links.Layout(dc, bounds.right);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &bounds, TextFormat() | DT_CALCRECT);
    return SIZE{bounds.right - bounds.left, bounds.bottom - bounds.top};
}

SIZE CToolTipControl::Measure(const std::wstring& text)
{
    const int inset = Balloon() ? kBalloonPadding : kBorder + kPaddingX;
    const int insetY = Balloon() ? kBalloonPadding : kBorder + kPaddingY;
    const int frame = 2 * inset + m_margin.left + m_margin.right;
    HDC dc = GetDC(Hwnd());
    const int saved = SaveDC(dc);
    SelectObject(dc, Font());
    const SIZE shown = TextSize(dc, text);
    const SIZE title = TitleSize(dc);
    RestoreDC(dc, saved);
    ReleaseDC(Hwnd(), dc);
    const int close = HasCloseBox() ? kCloseBox + kTitleGap : 0;
    const int lineHeight = std::max<int>(title.cy, HasCloseBox() ? kCloseBox : 0);
    const int width = std::max<int>(shown.cx, title.cx + close);
    const int height = shown.cy + (lineHeight > 0 ? lineHeight + kTitleGap : 0);
    return SIZE{width + frame, height + 2 * insetY + m_margin.top + m_margin.bottom};
}

HFONT CToolTipControl::CreateTitleFont() const
{
    LOGFONTW font{};
    GetObjectW(Font(), sizeof(font), &font);
    font.lfWeight = FW_BOLD;
    return CreateFontIndirectW(&font);
}

// The title line: the icon, then the title in bold; nothing without a title.
SIZE CToolTipControl::TitleSize(HDC dc) const
{
    if (m_title.empty())
        return SIZE{};
    HFONT bold = CreateTitleFont();
    const HGDIOBJ previous = SelectObject(dc, bold);
    SIZE text{};
    GetTextExtentPoint32W(dc, m_title.c_str(), static_cast<int>(m_title.size()), &text);
    SelectObject(dc, previous);
    DeleteObject(bold);
    const int icon = m_titleIcon != nullptr ? kTitleIcon + kTitleGap : 0;
    return SIZE{text.cx + icon, std::max<int>(text.cy, m_titleIcon != nullptr ? kTitleIcon : 0)};
}

LRESULT CToolTipControl::SetTitle(WPARAM icon, LPCWSTR title)
{
    m_title = title != nullptr ? std::wstring(title).substr(0, kTitleChars) : std::wstring();
    switch (icon) {
    case TTI_NONE: m_titleIcon = nullptr; break;
    case TTI_INFO: m_titleIcon = LoadIconW(nullptr, IDI_INFORMATION); break;
    case TTI_WARNING: m_titleIcon = LoadIconW(nullptr, IDI_WARNING); break;
    case TTI_ERROR: m_titleIcon = LoadIconW(nullptr, IDI_ERROR); break;
    default: m_titleIcon = reinterpret_cast<HICON>(icon); break;
    }
    if (m_shown && m_current >= 0)
        Resize();
    return TRUE;
}

// The pointer's hot spot; below the middle of the tool with TTF_CENTERTIP;
// a tracking tip's position.
POINT CToolTipControl::Anchor(const Tool& tool) const
{
    if ((tool.flags & TTF_TRACK) != 0)
        return m_trackPosition;
    POINT anchor{};
    GetCursorPos(&anchor);
    if ((tool.flags & TTF_CENTERTIP) == 0)
        return anchor;
    RECT area = tool.rect;
    HWND window = (tool.flags & TTF_IDISHWND) != 0 ? ToolWindow(tool.id) : tool.hwnd;
    if ((tool.flags & TTF_IDISHWND) != 0)
        GetClientRect(window, &area);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&area), 2);
    return POINT{(area.left + area.right) / 2, area.bottom};
}

// Plain tips go below the pointer (centred below a TTF_CENTERTIP tool), a
// tracking tip at its position, exactly there with TTF_ABSOLUTE. A balloon's
// stem touches the anchor. Anything but an absolute tip stays on its monitor.
POINT CToolTipControl::Place(const Tool& tool, SIZE size)
{
    const POINT anchor = Anchor(tool);
    const bool absolute = (tool.flags & TTF_TRACK) != 0 && (tool.flags & TTF_ABSOLUTE) != 0;
    if (Balloon()) {
        const SIZE window = CBalloonShape(size, 0, true).WindowSize();
        const int left = anchor.x - CBalloonShape::kStemInset;
        const RECT below{left, anchor.y, left + window.cx, anchor.y + window.cy};
        const RECT kept = absolute ? below : KeepOnWorkArea(below, anchor.y);
        m_shape = CBalloonShape(size, anchor.x - kept.left, kept.top >= anchor.y);
        return POINT{kept.left, kept.top};
    }
    if (absolute)
        return anchor;
    RECT tip{anchor.x, anchor.y + kBelowPointer, anchor.x + size.cx, anchor.y + kBelowPointer + size.cy};
    if ((tool.flags & TTF_TRACK) != 0)
        tip = RECT{anchor.x, anchor.y, anchor.x + size.cx, anchor.y + size.cy};
    else if ((tool.flags & TTF_CENTERTIP) != 0)
        tip = RECT{anchor.x - size.cx / 2, anchor.y, anchor.x - size.cx / 2 + size.cx, anchor.y + size.cy};
    const RECT kept = KeepOnWorkArea(tip, (tool.flags & TTF_CENTERTIP) != 0 ? anchor.y - 1 : anchor.y);
    return POINT{kept.left, kept.top};
}

void CToolTipControl::MoveTo(const Tool& tool, SIZE size)
{
    const POINT at = Place(tool, size);
    const SIZE window = Balloon() ? m_shape.WindowSize() : size;
    SetWindowPos(Hwnd(), HWND_TOPMOST, at.x, at.y, window.cx, window.cy, SWP_NOACTIVATE);
    if (Balloon())
        SetWindowRgn(Hwnd(), m_shape.Region(), TRUE);
}

void CToolTipControl::TakeText(int index)
{
    m_text = TextOf(index);
    m_links = (m_tools[static_cast<std::size_t>(index)].flags & TTF_PARSELINKS) != 0 ? CTipLinks::Parse(m_text) : CTipLinks{};
}

void CToolTipControl::Resize()
{
    TakeText(m_current);
    MoveTo(m_tools[m_current], Measure(m_text));
    Redraw();
}

bool CToolTipControl::Show(int index)
{
    if (index < 0 || index >= static_cast<int>(m_tools.size()))
        return false;
    m_current = index;
    TakeText(index);
    if (m_text.empty())
        return false;
    MoveTo(m_tools[index], Measure(m_text));
    // A nonzero answer says the owner placed the tip itself.
    Notify(m_tools[index], TTN_SHOW);
    ShowWindow(Hwnd(), SW_SHOWNOACTIVATE);
    m_shown = true;
    Redraw();
    if (index != m_tracked) {
        SetTimer(Hwnd(), kPopTimer, static_cast<UINT>(std::max(Delay(TTDT_AUTOPOP), 1)), nullptr);
        SetTimer(Hwnd(), kLeaveTimer, kLeaveCheckMs, nullptr);
    }
    return true;
}

void CToolTipControl::Pop()
{
    if (!m_shown)
        return;
    KillTimer(Hwnd(), kPopTimer);
    ShowWindow(Hwnd(), SW_HIDE);
    m_shown = false;
    m_everPopped = true;
    m_poppedAt = GetTickCount64();
    if (m_current >= 0)
        Notify(m_tools[m_current], TTN_POP);
}

RECT CToolTipControl::ContentArea() const
{
    RECT r = Balloon() ? m_shape.Body() : Client();
    const int inset = Balloon() ? kBalloonPadding : kBorder + kPaddingX;
    const int insetY = Balloon() ? kBalloonPadding : kBorder + kPaddingY;
    r.left += inset + m_margin.left;
    r.right -= inset + m_margin.right;
    r.top += insetY + m_margin.top;
    r.bottom -= insetY + m_margin.bottom;
    return r;
}

void CToolTipControl::PaintTitle(HDC dc, RECT& area) const
{
    const SIZE title = TitleSize(dc);
    if (HasCloseBox()) {
        RECT box = CloseBox();
        DrawFrameControl(dc, &box, DFC_CAPTION, DFCS_CAPTIONCLOSE);
        if (title.cy == 0)
            area.top += kCloseBox + kTitleGap;
    }
    if (title.cy == 0)
        return;
    int x = area.left;
    if (m_titleIcon != nullptr) {
        DrawIconEx(dc, x, area.top + (title.cy - kTitleIcon) / 2, m_titleIcon, kTitleIcon, kTitleIcon, 0, nullptr,
                   DI_NORMAL);
        x += kTitleIcon + kTitleGap;
    }
    HFONT bold = CreateTitleFont();
    const HGDIOBJ previous = SelectObject(dc, bold);
    RECT line{x, area.top, area.right, area.top + title.cy};
    DrawTextW(dc, m_title.c_str(), static_cast<int>(m_title.size()), &line, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    SelectObject(dc, previous);
    DeleteObject(bold);
    area.top += title.cy + kTitleGap;
}

RECT CToolTipControl::CloseBox() const
{
    if (!HasCloseBox())
        return RECT{};
    const RECT content = ContentArea();
    return RECT{content.right - kCloseBox, content.top, content.right, content.top + kCloseBox};
}

// A click on the close box hides the tip until the pointer moves on to
// another tool, and ends tracking. Anywhere else a click hides a tip that
// follows the pointer; a tracking tip stays, as its owner placed it.
void CToolTipControl::OnClick(POINT point)
{
    const RECT box = CloseBox();
    const int shown = m_current;
    if (shown >= 0 && OnLinkClick(point))
        return;
    if (PtInRect(&box, point)) {
        Pop();
        m_blocked = shown;
        if (shown == m_tracked)
            m_tracked = -1;
    } else if (shown != m_tracked) {
        Pop();
    }
}

// The text's area starts below the title line, where painting puts it.
bool CToolTipControl::OnLinkClick(POINT point)
{
    if (!m_links.Any())
        return false;
    HDC dc = GetDC(Hwnd());
    const int saved = SaveDC(dc);
    RECT content = ContentArea();
    const SIZE title = TitleSize(dc);
    if (title.cy > 0)
        content.top += title.cy + kTitleGap;
    else if (HasCloseBox())
        content.top += kCloseBox + kTitleGap;
    SelectObject(dc, Font());
    const int link = m_links.LinkAt(dc, POINT{point.x - content.left, point.y - content.top});
    RestoreDC(dc, saved);
    ReleaseDC(Hwnd(), dc);
    if (link < 0)
        return false;
    Notify(m_tools[static_cast<std::size_t>(m_current)], TTN_LINKCLICK);
    return true;
}

void CToolTipControl::Paint(HDC dc)
{
    RECT r = Client();
    HBRUSH background = CreateSolidBrush(m_background == CLR_DEFAULT ? GetSysColor(COLOR_INFOBK) : m_background);
    FillRect(dc, &r, background);
    DeleteObject(background);
    if (Balloon()) {
        HRGN outline = m_shape.Region();
        FrameRgn(dc, outline, GetSysColorBrush(COLOR_WINDOWFRAME), 1, 1);
        DeleteObject(outline);
    } else {
        FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
    }
    RECT content = ContentArea();
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, m_textColor == CLR_DEFAULT ? GetSysColor(COLOR_INFOTEXT) : m_textColor);
    PaintTitle(dc, content);
    if (m_links.Any())
        m_links.Paint(dc, content, GetTextColor(dc), GetSysColor(COLOR_HOTLIGHT));
    else
        DrawTextW(dc, m_text.c_str(), static_cast<int>(m_text.size()), &content, TextFormat());
}

LRESULT CToolTipControl::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* info = reinterpret_cast<TTTOOLINFOW*>(lParam);
    switch (message) {
    case TTM_ADDTOOLW: return AddTool(info);
    case TTM_DELTOOLW: return DeleteTool(info);
    case TTM_NEWTOOLRECTW: return NewToolRect(info);
    case TTM_GETTOOLINFOW: return GetToolInfo(info);
    case TTM_SETTOOLINFOW: return SetToolInfo(info);
    case TTM_UPDATETIPTEXTW: return UpdateTipText(info);
    case TTM_GETTEXTW: return GetText(wParam, info);
    case TTM_GETTOOLCOUNT: return static_cast<LRESULT>(m_tools.size());
    case TTM_ENUMTOOLSW: return EnumTools(static_cast<int>(wParam), info);
    case TTM_GETCURRENTTOOLW: return CurrentTool(info);
    case TTM_HITTESTW: return HitTest(reinterpret_cast<TTHITTESTINFOW*>(lParam));
    case TTM_ACTIVATE: return Activate(wParam != 0);
    case TTM_RELAYEVENT: return Relay(reinterpret_cast<const MSG*>(lParam));
    case TTM_TRACKACTIVATE: return TrackActivate(wParam != 0, info);
    case TTM_TRACKPOSITION: return TrackPosition(lParam);
    case TTM_SETDELAYTIME: return SetDelay(wParam, static_cast<SHORT>(LOWORD(static_cast<DWORD>(lParam))));
    case TTM_GETDELAYTIME: return Delay(wParam);
    case TTM_SETMAXTIPWIDTH: {
        const int previous = m_maxWidth;
        m_maxWidth = static_cast<int>(lParam) > 0 ? static_cast<int>(lParam) : -1;
        return previous;
    }
    case TTM_GETMAXTIPWIDTH: return m_maxWidth;
    case TTM_SETTIPBKCOLOR: m_background = static_cast<COLORREF>(wParam); Redraw(); return 0;
    case TTM_SETTIPTEXTCOLOR: m_textColor = static_cast<COLORREF>(wParam); Redraw(); return 0;
    case TTM_GETTIPBKCOLOR: return m_background == CLR_DEFAULT ? GetSysColor(COLOR_INFOBK) : m_background;
    case TTM_GETTIPTEXTCOLOR: return m_textColor == CLR_DEFAULT ? GetSysColor(COLOR_INFOTEXT) : m_textColor;
    case TTM_SETMARGIN:
        if (lParam != 0)
            m_margin = *reinterpret_cast<const RECT*>(lParam);
        return 0;
    case TTM_GETMARGIN:
        if (lParam != 0)
            *reinterpret_cast<RECT*>(lParam) = m_margin;
        return 0;
    case TTM_POP: Pop(); CancelPending(); return 0;
    case TTM_POPUP: return PopupUnderCursor();
    case TTM_SETTITLEW: return SetTitle(wParam, reinterpret_cast<LPCWSTR>(lParam));
    case TTM_UPDATE:
        if (m_shown && m_current >= 0)
            Resize();
        return 0;
    case TTM_WINDOWFROMPOINT: return lParam != 0 ? reinterpret_cast<LRESULT>(WindowFromPoint(*reinterpret_cast<const POINT*>(lParam))) : 0;
    case WM_TIMER: OnTimer(wParam); return 0;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_NCHITTEST:
        if (m_current >= 0 && (m_tools[m_current].flags & TTF_TRANSPARENT) != 0)
            return HTTRANSPARENT;
        return CControlWindow::OnMessage(message, wParam, lParam);
    case WM_LBUTTONDOWN: OnClick(PointOf(lParam)); return 0;
    case WM_DESTROY:
        KillTimer(Hwnd(), kShowTimer);
        KillTimer(Hwnd(), kPopTimer);
        KillTimer(Hwnd(), kLeaveTimer);
        for (const Tool& tool : m_tools)
            if ((tool.flags & TTF_SUBCLASS) != 0)
                StopRelayToTip(SubclassTarget(tool), Hwnd());
        return CControlWindow::OnMessage(message, wParam, lParam);
    default: return CControlWindow::OnMessage(message, wParam, lParam);
    }
}

}
