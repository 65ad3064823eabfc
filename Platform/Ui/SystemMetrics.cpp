// System metrics and parameters, monitors, rectangles.
#include "Platform/Base/LastError.h"
#include "Platform/Ui/WindowSystem.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <cwchar>

using namespace Ui;

namespace {

constexpr int kCaption = 22;      // the headless display's caption; X11 reports its own frame
constexpr int kScrollBar = 17;
constexpr int kMenuHeight = 20;
constexpr int kBaseDpi = 96;

// The display's resolution, which every size below is given at 96 dpi for.
int Dpi()
{
    return LayerDpi();
}

int Scaled(int size)
{
    return MulDiv(size, Dpi(), kBaseDpi);
}

// Metrics come from the display alone: they may be asked under the window lock.
std::vector<Display::MonitorDesc> Monitors()
{
    return LayerDisplay().Monitors();
}

Display::FrameExtents Frame(bool resizable)
{
    return LayerDisplay().FrameFor(Display::TopLevelKind::Framed, resizable);
}

void MessageFont(LOGFONTW& font, LONG height, LONG weight = FW_NORMAL)
{
    font = LOGFONTW{};
    font.lfHeight = height;
    font.lfWeight = weight;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = DEFAULT_QUALITY;
    std::wcsncpy(font.lfFaceName, L"DejaVu Sans", LF_FACESIZE - 1);
}

// Monitor handles are the monitor's position in the display's list plus one.
HMONITOR MonitorHandle(std::size_t index)
{
    return reinterpret_cast<HMONITOR>(static_cast<std::uintptr_t>(0x10000 + index));
}

std::optional<std::size_t> MonitorIndex(HMONITOR monitor, std::size_t count)
{
    const std::uintptr_t value = reinterpret_cast<std::uintptr_t>(monitor);
    if (value < 0x10000 || value - 0x10000 >= count)
        return std::nullopt;
    return static_cast<std::size_t>(value - 0x10000);
}

LONG Area(const RECT& a, const RECT& b)
{
    const LONG w = std::min(a.right, b.right) - std::max(a.left, b.left);
    const LONG h = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    return w > 0 && h > 0 ? w * h : 0;
}

LONG Distance(const RECT& r, POINT p)
{
    const LONG dx = p.x < r.left ? r.left - p.x : p.x >= r.right ? p.x - r.right + 1 : 0;
    const LONG dy = p.y < r.top ? r.top - p.y : p.y >= r.bottom ? p.y - r.bottom + 1 : 0;
    return dx + dy;
}

HMONITOR FromRect(const RECT& rect, DWORD flags)
{
    const auto monitors = Monitors();
    std::size_t best = 0;
    LONG bestArea = 0;
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        const LONG area = Area(monitors[i].monitor, rect);
        if (area > bestArea) {
            bestArea = area;
            best = i;
        }
    }
    if (bestArea > 0)
        return MonitorHandle(best);
    if (flags == MONITOR_DEFAULTTONULL)
        return nullptr;
    if (flags == MONITOR_DEFAULTTONEAREST) {
        const POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        LONG bestDistance = INT32_MAX;
        for (std::size_t i = 0; i < monitors.size(); ++i) {
            const LONG d = Distance(monitors[i].monitor, centre);
            if (d < bestDistance) {
                bestDistance = d;
                best = i;
            }
        }
        return MonitorHandle(best);
    }
    return MonitorHandle(0);
}

RECT VirtualScreen()
{
    RECT all{};
    bool first = true;
    for (const auto& m : Monitors()) {
        if (first) {
            all = m.monitor;
            first = false;
        } else {
            UnionRect(&all, &all, &m.monitor);
        }
    }
    return all;
}

}

int GetSystemMetrics(int index)
{
    switch (index) {
    case SM_CXSCREEN: {
        const RECT r = Monitors().front().monitor;
        return r.right - r.left;
    }
    case SM_CYSCREEN: {
        const RECT r = Monitors().front().monitor;
        return r.bottom - r.top;
    }
    case SM_CXFULLSCREEN: {
        const RECT r = Monitors().front().work;
        return r.right - r.left;
    }
    case SM_CYFULLSCREEN: {
        const RECT r = Monitors().front().work;
        return r.bottom - r.top - kCaption;
    }
    case SM_CXMAXIMIZED: {
        const RECT r = Monitors().front().work;
        return r.right - r.left;
    }
    case SM_CYMAXIMIZED: {
        const RECT r = Monitors().front().work;
        return r.bottom - r.top;
    }
    case SM_XVIRTUALSCREEN: return VirtualScreen().left;
    case SM_YVIRTUALSCREEN: return VirtualScreen().top;
    case SM_CXVIRTUALSCREEN: {
        const RECT r = VirtualScreen();
        return r.right - r.left;
    }
    case SM_CYVIRTUALSCREEN: {
        const RECT r = VirtualScreen();
        return r.bottom - r.top;
    }
    case SM_CMONITORS: return static_cast<int>(Monitors().size());
    case SM_SAMEDISPLAYFORMAT: return 1;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB: return Scaled(kScrollBar);
    case SM_CYCAPTION: {
        const auto frame = Frame(false);
        return std::max<LONG>(frame.top - frame.bottom, 0);
    }
    case SM_CYSMCAPTION: return Scaled(16);
    case SM_CXBORDER:
    case SM_CYBORDER:
    case SM_CXFOCUSBORDER:
    case SM_CYFOCUSBORDER: return 1;
    case SM_CXDLGFRAME: return Frame(false).left;
    case SM_CYDLGFRAME: return Frame(false).bottom;
    case SM_CXFRAME: return Frame(true).left;
    case SM_CYFRAME: return Frame(true).bottom;
    case SM_CXEDGE:
    case SM_CYEDGE: return Scaled(2);
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR: return Scaled(32);
    case SM_CXSMICON:
    case SM_CYSMICON: return Scaled(16);
    case SM_CXICONSPACING:
    case SM_CYICONSPACING: return Scaled(75);
    case SM_CYMENU: return Scaled(kMenuHeight);
    case SM_CXMENUCHECK:
    case SM_CYMENUCHECK: return Scaled(13);
    case SM_CXSIZE:
    case SM_CYSIZE: return kCaption - 2;
    case SM_CXMIN: return 112;
    case SM_CYMIN: return 27;
    case SM_CXMINTRACK: return 112;
    case SM_CYMINTRACK: return 27;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK: return Scaled(4);
    case SM_CXDRAG:
    case SM_CYDRAG: return Scaled(4);
    case SM_MOUSEPRESENT:
    case SM_MOUSEWHEELPRESENT: return 1;
    case SM_CMOUSEBUTTONS: return 3;
    case SM_SWAPBUTTON:
    case SM_MENUDROPALIGNMENT:
    case SM_REMOTESESSION: return 0;
    default: return 0;
    }
}

BOOL SystemParametersInfoW(UINT action, UINT param, PVOID data, UINT)
{
    auto uintOut = [&](UINT value) {
        if (data == nullptr)
            return FALSE;
        *static_cast<UINT*>(data) = value;
        return TRUE;
    };
    auto boolOut = [&](BOOL value) {
        if (data == nullptr)
            return FALSE;
        *static_cast<BOOL*>(data) = value;
        return TRUE;
    };
    switch (action) {
    case SPI_GETNONCLIENTMETRICS: {
        auto* metrics = static_cast<NONCLIENTMETRICSW*>(data);
        // Older callers pass the size without the last field.
        const UINT full = sizeof(NONCLIENTMETRICSW);
        const UINT legacy = full - sizeof(int);
        if (metrics == nullptr || (metrics->cbSize != full && metrics->cbSize != legacy) || (param != 0 && param != metrics->cbSize)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        const UINT size = metrics->cbSize;
        NONCLIENTMETRICSW m;
        m.cbSize = size;
        m.iBorderWidth = 1;
        m.iScrollWidth = Scaled(kScrollBar);
        m.iScrollHeight = Scaled(kScrollBar);
        m.iCaptionWidth = kCaption - 2;
        m.iCaptionHeight = kCaption - 2;
        // Nine points, in pixels of the display.
        const LONG fontHeight = -Scaled(12);
        MessageFont(m.lfCaptionFont, fontHeight, FW_BOLD);
        m.iSmCaptionWidth = Scaled(16);
        m.iSmCaptionHeight = Scaled(16);
        MessageFont(m.lfSmCaptionFont, -Scaled(11), FW_BOLD);
        m.iMenuWidth = Scaled(kMenuHeight) - 1;
        m.iMenuHeight = Scaled(kMenuHeight) - 1;
        MessageFont(m.lfMenuFont, fontHeight);
        MessageFont(m.lfStatusFont, fontHeight);
        MessageFont(m.lfMessageFont, fontHeight);
        m.iPaddedBorderWidth = 0;
        std::memcpy(static_cast<void*>(metrics), &m, size);
        return TRUE;
    }
    case SPI_GETWORKAREA: {
        if (data == nullptr)
            return FALSE;
        *static_cast<RECT*>(data) = Monitors().front().work;
        return TRUE;
    }
    case SPI_GETKEYBOARDDELAY: return uintOut(1);    // 0..3, quarter seconds above 250 ms
    case SPI_GETKEYBOARDSPEED: return uintOut(31);   // 0..31
    case SPI_GETWHEELSCROLLLINES: return uintOut(3);
    case SPI_GETMOUSEHOVERTIME: return uintOut(400);
    case SPI_GETMOUSEHOVERWIDTH:
    case SPI_GETMOUSEHOVERHEIGHT: return uintOut(4);
    case SPI_GETMENUSHOWDELAY: return uintOut(400);
    case SPI_GETBORDER: return uintOut(1);
    case SPI_GETBEEP:
    case SPI_GETDRAGFULLWINDOWS:
    case SPI_GETFONTSMOOTHING:
    case SPI_GETKEYBOARDCUES:
    case SPI_GETGRADIENTCAPTIONS:
    case SPI_GETICONTITLEWRAP: return boolOut(TRUE);
    case SPI_GETMENUDROPALIGNMENT:
    case SPI_GETKEYBOARDPREF:
    case SPI_GETCOMBOBOXANIMATION:
    case SPI_GETLISTBOXSMOOTHSCROLLING:
    case SPI_GETMENUANIMATION:
    case SPI_GETTOOLTIPANIMATION:
    case SPI_GETTOOLTIPFADE:
    case SPI_GETFLATMENU:
    case SPI_GETDROPSHADOW:
    case SPI_GETCLIENTAREAANIMATION: return boolOut(FALSE);
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
}

UINT GetDpiForWindow(HWND)
{
    return static_cast<UINT>(Dpi());
}

HMONITOR MonitorFromRect(LPCRECT rect, DWORD flags)
{
    if (rect == nullptr)
        return flags == MONITOR_DEFAULTTONULL ? nullptr : MonitorHandle(0);
    return FromRect(*rect, flags);
}

HMONITOR MonitorFromPoint(POINT point, DWORD flags)
{
    const RECT r{point.x, point.y, point.x + 1, point.y + 1};
    return FromRect(r, flags);
}

HMONITOR MonitorFromWindow(HWND hwnd, DWORD flags)
{
    RECT r{};
    if (!GetWindowRect(hwnd, &r))
        return flags == MONITOR_DEFAULTTONULL ? nullptr : MonitorHandle(0);
    if (r.right <= r.left || r.bottom <= r.top)
        r = {r.left, r.top, r.left + 1, r.top + 1};
    return FromRect(r, flags);
}

BOOL GetMonitorInfoW(HMONITOR monitor, LPMONITORINFO info)
{
    if (info == nullptr || (info->cbSize != sizeof(MONITORINFO) && info->cbSize != sizeof(MONITORINFOEXW))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const auto monitors = Monitors();
    const auto index = MonitorIndex(monitor, monitors.size());
    if (!index) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const auto& m = monitors[*index];
    info->rcMonitor = m.monitor;
    info->rcWork = m.work;
    info->dwFlags = *index == 0 ? MONITORINFOF_PRIMARY : 0;
    if (info->cbSize == sizeof(MONITORINFOEXW)) {
        auto* ex = static_cast<MONITORINFOEXW*>(info);
        std::wcsncpy(ex->szDevice, m.name.c_str(), CCHDEVICENAME - 1);
        ex->szDevice[CCHDEVICENAME - 1] = 0;
    }
    return TRUE;
}

BOOL EnumDisplayMonitors(HDC, LPCRECT clip, MONITORENUMPROC proc, LPARAM data)
{
    if (proc == nullptr)
        return FALSE;
    const auto monitors = Monitors();
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        RECT r = monitors[i].monitor;
        if (clip != nullptr && !IntersectRect(&r, &r, clip))
            continue;
        if (!proc(MonitorHandle(i), nullptr, &r, data))
            return FALSE;
    }
    return TRUE;
}

// ---------------------------------------------------------------------------
// Rectangles
// ---------------------------------------------------------------------------

BOOL SetRect(LPRECT rect, int left, int top, int right, int bottom)
{
    if (rect == nullptr)
        return FALSE;
    *rect = {left, top, right, bottom};
    return TRUE;
}

BOOL SetRectEmpty(LPRECT rect)
{
    return SetRect(rect, 0, 0, 0, 0);
}

BOOL CopyRect(LPRECT dst, const RECT* src)
{
    if (dst == nullptr || src == nullptr)
        return FALSE;
    *dst = *src;
    return TRUE;
}

BOOL IsRectEmpty(const RECT* rect)
{
    return rect == nullptr || rect->right <= rect->left || rect->bottom <= rect->top;
}

BOOL PtInRect(const RECT* rect, POINT p)
{
    return rect != nullptr && p.x >= rect->left && p.x < rect->right && p.y >= rect->top && p.y < rect->bottom;
}

BOOL OffsetRect(LPRECT rect, int dx, int dy)
{
    if (rect == nullptr)
        return FALSE;
    rect->left += dx;
    rect->right += dx;
    rect->top += dy;
    rect->bottom += dy;
    return TRUE;
}

BOOL InflateRect(LPRECT rect, int dx, int dy)
{
    if (rect == nullptr)
        return FALSE;
    rect->left -= dx;
    rect->right += dx;
    rect->top -= dy;
    rect->bottom += dy;
    return TRUE;
}

BOOL IntersectRect(LPRECT dst, const RECT* a, const RECT* b)
{
    if (dst == nullptr || a == nullptr || b == nullptr)
        return FALSE;
    const RECT r{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right), std::min(a->bottom, b->bottom)};
    if (r.right <= r.left || r.bottom <= r.top) {
        *dst = {};
        return FALSE;
    }
    *dst = r;
    return TRUE;
}

BOOL UnionRect(LPRECT dst, const RECT* a, const RECT* b)
{
    if (dst == nullptr || a == nullptr || b == nullptr)
        return FALSE;
    const bool emptyA = IsRectEmpty(a);
    const bool emptyB = IsRectEmpty(b);
    if (emptyA && emptyB) {
        *dst = {};
        return FALSE;
    }
    if (emptyA) {
        *dst = *b;
        return TRUE;
    }
    if (emptyB) {
        *dst = *a;
        return TRUE;
    }
    *dst = {std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right), std::max(a->bottom, b->bottom)};
    return TRUE;
}

BOOL SubtractRect(LPRECT dst, const RECT* a, const RECT* b)
{
    if (dst == nullptr || a == nullptr || b == nullptr)
        return FALSE;
    RECT r = *a;
    RECT overlap{};
    if (IntersectRect(&overlap, a, b)) {
        // Only a cut across a whole side leaves a rectangle.
        if (overlap.top == r.top && overlap.bottom == r.bottom) {
            if (overlap.left == r.left)
                r.left = overlap.right;
            else if (overlap.right == r.right)
                r.right = overlap.left;
        } else if (overlap.left == r.left && overlap.right == r.right) {
            if (overlap.top == r.top)
                r.top = overlap.bottom;
            else if (overlap.bottom == r.bottom)
                r.bottom = overlap.top;
        }
    }
    if (IsRectEmpty(&r)) {
        *dst = {};
        return FALSE;
    }
    *dst = r;
    return TRUE;
}

BOOL EqualRect(const RECT* a, const RECT* b)
{
    return a != nullptr && b != nullptr && a->left == b->left && a->top == b->top && a->right == b->right && a->bottom == b->bottom;
}
