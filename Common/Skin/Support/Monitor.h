#pragma once
// One display monitor and the questions about its area. Copies share the
// handle; nothing is freed.
#include "Platform/Framework/Drawing/DC.h"
#include "Platform/Framework/Windows/Wnd.h"

namespace ZELL::Skin {

class CMonitor : public CObject {
public:
    CMonitor() = default;
    CMonitor(const CMonitor& other) : m_monitor(other.m_monitor) {}
    CMonitor& operator=(const CMonitor& other)
    {
        m_monitor = other.m_monitor;
        return *this;
    }

    void Attach(HMONITOR monitor) { m_monitor = monitor; }
    HMONITOR Detach();
    operator HMONITOR() const { return m_monitor; }

    void GetMonitorRect(LPRECT rect) const;
    void GetWorkAreaRect(LPRECT rect) const;
    void GetName(CString& name) const;
    // A context of the monitor, its origin at the monitor's top-left; the
    // caller deletes it.
    HDC CreateDC() const;
    int GetBitsPerPixel() const;
    BOOL IsPrimaryMonitor() const;
    BOOL IsOnMonitor(const CWnd* window) const;
    BOOL IsOnMonitor(LPCRECT rect) const;
    BOOL IsOnMonitor(POINT point) const;
    BOOL IsMonitor() const;
    void CenterRectToMonitor(LPRECT rect, BOOL useWorkArea = FALSE) const;
    void CenterWindowToMonitor(CWnd* window, BOOL useWorkArea = FALSE) const;
    void ClipRectToMonitor(LPRECT rect, BOOL useWorkArea = FALSE) const;

private:
    RECT AreaOf(BOOL useWorkArea) const;

    HMONITOR m_monitor = nullptr;
};

}  // namespace ZELL::Skin
