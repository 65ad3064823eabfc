#pragma once
// All monitors of the desktop, in the system's order, and the monitor of a
// window, rectangle or point.
#include "Common/Skin/Support/Monitor.h"
#include "Platform/Framework/Collections/PtrArray.h"

namespace ZELL::Skin {

class CMonitors : public CObject {
public:
    CMonitors();
    ~CMonitors() override;
    CMonitors(const CMonitors&) = delete;
    CMonitors& operator=(const CMonitors&) = delete;

    static int GetCount();
    // Raises the framework's invalid-argument exception outside the list.
    CMonitor GetMonitor(int index) const;
    static CMonitor GetNearestMonitor(const CWnd* window);
    static CMonitor GetNearestMonitor(LPCRECT rect);
    static CMonitor GetNearestMonitor(POINT point);
    static CMonitor GetPrimaryMonitor();
    static BOOL IsOnScreen(const CWnd* window);
    static BOOL IsOnScreen(LPCRECT rect);
    static BOOL IsOnScreen(POINT point);
    static BOOL AllMonitorsShareDisplayFormat();
    static void GetVirtualDesktopRect(LPRECT rect);

private:
    static BOOL AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM self);

    CPtrArray m_monitors;
    INT_PTR m_stored = 0;
};

}  // namespace ZELL::Skin
