#include "Common/Skin/Support/Monitor.h"

#include <algorithm>
#include <utility>

namespace ZELL::Skin {

namespace {

MONITORINFOEXW InfoOf(HMONITOR monitor)
{
    MONITORINFOEXW info{};
    info.cbSize = sizeof info;
    ::GetMonitorInfoW(monitor, &info);
    return info;
}

}

HMONITOR CMonitor::Detach()
{
    return std::exchange(m_monitor, nullptr);
}

void CMonitor::GetMonitorRect(LPRECT rect) const
{
    if (rect != nullptr)
        *rect = InfoOf(m_monitor).rcMonitor;
}

void CMonitor::GetWorkAreaRect(LPRECT rect) const
{
    if (rect != nullptr)
        *rect = InfoOf(m_monitor).rcWork;
}

void CMonitor::GetName(CString& name) const
{
    name = InfoOf(m_monitor).szDevice;
}

HDC CMonitor::CreateDC() const
{
    // The monitors share one display device, whose screen-compatible
    // context answers for each of them.
    HDC dc = ::CreateCompatibleDC(nullptr);
    if (dc == nullptr)
        return nullptr;
    RECT area{};
    GetMonitorRect(&area);
    ::SetViewportOrgEx(dc, -area.left, -area.top, nullptr);
    ::SetViewportExtEx(dc, area.right - area.left, area.bottom - area.top, nullptr);
    return dc;
}

int CMonitor::GetBitsPerPixel() const
{
    HDC dc = CreateDC();
    if (dc == nullptr)
        return 0;
    const int bits = ::GetDeviceCaps(dc, PLANES) * ::GetDeviceCaps(dc, BITSPIXEL);
    ::DeleteDC(dc);
    return bits;
}

BOOL CMonitor::IsPrimaryMonitor() const
{
    return (InfoOf(m_monitor).dwFlags & MONITORINFOF_PRIMARY) != 0;
}

BOOL CMonitor::IsOnMonitor(const CWnd* window) const
{
    if (window == nullptr || window->GetSafeHwnd() == nullptr)
        return FALSE;
    RECT rect{};
    window->GetWindowRect(&rect);
    return IsOnMonitor(&rect);
}

BOOL CMonitor::IsOnMonitor(LPCRECT rect) const
{
    if (rect == nullptr)
        return FALSE;
    RECT area{};
    GetMonitorRect(&area);
    RECT common{};
    return ::IntersectRect(&common, &area, rect);
}

BOOL CMonitor::IsOnMonitor(POINT point) const
{
    RECT area{};
    GetMonitorRect(&area);
    return ::PtInRect(&area, point);
}

BOOL CMonitor::IsMonitor() const
{
    if (m_monitor == nullptr)
        return FALSE;
    struct Search {
        HMONITOR wanted;
        BOOL found;
    } search{m_monitor, FALSE};
    ::EnumDisplayMonitors(nullptr, nullptr,
                          [](HMONITOR monitor, HDC, LPRECT, LPARAM data) -> BOOL {
                              auto* s = reinterpret_cast<Search*>(data);
                              s->found = monitor == s->wanted;
                              return !s->found;
                          },
                          reinterpret_cast<LPARAM>(&search));
    return search.found;
}

RECT CMonitor::AreaOf(BOOL useWorkArea) const
{
    RECT area{};
    if (useWorkArea)
        GetWorkAreaRect(&area);
    else
        GetMonitorRect(&area);
    return area;
}

void CMonitor::CenterRectToMonitor(LPRECT rect, BOOL useWorkArea) const
{
    if (rect == nullptr)
        return;
    const RECT area = AreaOf(useWorkArea);
    const int width = rect->right - rect->left;
    const int height = rect->bottom - rect->top;
    rect->left = area.left + (area.right - area.left - width) / 2;
    rect->top = area.top + (area.bottom - area.top - height) / 2;
    rect->right = rect->left + width;
    rect->bottom = rect->top + height;
}

void CMonitor::CenterWindowToMonitor(CWnd* window, BOOL useWorkArea) const
{
    if (window == nullptr || window->GetSafeHwnd() == nullptr)
        return;
    RECT rect{};
    window->GetWindowRect(&rect);
    CenterRectToMonitor(&rect, useWorkArea);
    window->SetWindowPos(nullptr, rect.left, rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CMonitor::ClipRectToMonitor(LPRECT rect, BOOL useWorkArea) const
{
    if (rect == nullptr)
        return;
    const RECT area = AreaOf(useWorkArea);
    const int width = rect->right - rect->left;
    const int height = rect->bottom - rect->top;
    rect->left = std::max(area.left, std::min(rect->left, area.right - width));
    rect->top = std::max(area.top, std::min(rect->top, area.bottom - height));
    rect->right = rect->left + width;
    rect->bottom = rect->top + height;
}

}  // namespace ZELL::Skin
