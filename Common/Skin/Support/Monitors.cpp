#include "Common/Skin/Support/Monitors.h"

#include "Platform/Framework/Exceptions/InvalidArgException.h"

namespace ZELL::Skin {

namespace {

CMonitor MonitorOf(HMONITOR handle)
{
    CMonitor monitor;
    monitor.Attach(handle);
    return monitor;
}

HWND HandleOf(const CWnd* window)
{
    return window != nullptr ? window->GetSafeHwnd() : nullptr;
}

}

CMonitors::CMonitors()
{
    m_monitors.SetSize(GetCount());
    ::EnumDisplayMonitors(nullptr, nullptr, &CMonitors::AddMonitor, reinterpret_cast<LPARAM>(this));
}

CMonitors::~CMonitors()
{
    for (INT_PTR i = 0; i < m_stored; ++i)
        delete static_cast<CMonitor*>(m_monitors[i]);
}

BOOL CMonitors::AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM self)
{
    auto* monitors = reinterpret_cast<CMonitors*>(self);
    if (monitors->m_stored >= monitors->m_monitors.GetSize())
        return FALSE;
    auto* stored = new CMonitor;
    stored->Attach(monitor);
    monitors->m_monitors[monitors->m_stored++] = stored;
    return TRUE;
}

int CMonitors::GetCount()
{
    return ::GetSystemMetrics(SM_CMONITORS);
}

CMonitor CMonitors::GetMonitor(int index) const
{
    if (index < 0 || index >= m_stored)
        AfxThrowInvalidArgException();
    return *static_cast<const CMonitor*>(m_monitors[index]);
}

CMonitor CMonitors::GetNearestMonitor(const CWnd* window)
{
    return MonitorOf(::MonitorFromWindow(HandleOf(window), MONITOR_DEFAULTTONEAREST));
}

CMonitor CMonitors::GetNearestMonitor(LPCRECT rect)
{
    return MonitorOf(::MonitorFromRect(rect, MONITOR_DEFAULTTONEAREST));
}

CMonitor CMonitors::GetNearestMonitor(POINT point)
{
    return MonitorOf(::MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST));
}

CMonitor CMonitors::GetPrimaryMonitor()
{
    return MonitorOf(::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY));
}

BOOL CMonitors::IsOnScreen(const CWnd* window)
{
    return ::MonitorFromWindow(HandleOf(window), MONITOR_DEFAULTTONULL) != nullptr;
}

BOOL CMonitors::IsOnScreen(LPCRECT rect)
{
    return ::MonitorFromRect(rect, MONITOR_DEFAULTTONULL) != nullptr;
}

BOOL CMonitors::IsOnScreen(POINT point)
{
    return ::MonitorFromPoint(point, MONITOR_DEFAULTTONULL) != nullptr;
}

BOOL CMonitors::AllMonitorsShareDisplayFormat()
{
    return ::GetSystemMetrics(SM_SAMEDISPLAYFORMAT);
}

void CMonitors::GetVirtualDesktopRect(LPRECT rect)
{
    if (rect == nullptr)
        return;
    rect->left = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
    rect->top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    rect->right = rect->left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    rect->bottom = rect->top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
}

}  // namespace ZELL::Skin
