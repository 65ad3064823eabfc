#include "Platform/Controls/ControlWindow.h"

#include "Platform/Gdi/DeviceContext.h"
#include "Platform/Gdi/GdiTypes.h"

namespace ZELL::Controls {

bool CControlWindow::RegisterControlClass(LPCWSTR name, WNDPROC procedure, UINT style, LPCWSTR cursor)
{
    WNDCLASSEXW wc;
    wc.style = style | CS_GLOBALCLASS;
    wc.lpfnWndProc = procedure;
    wc.cbWndExtra = kExtraBytes;
    wc.hCursor = LoadCursorW(nullptr, cursor);
    wc.lpszClassName = name;
    if (RegisterClassExW(&wc) != 0)
        return true;
    // Registered before under this name with this very procedure: nothing to do.
    WNDCLASSEXW existing;
    return GetClassInfoExW(nullptr, name, &existing) && existing.lpfnWndProc == procedure;
}

CControlWindow* CControlWindow::Of(HWND hwnd)
{
    return reinterpret_cast<CControlWindow*>(GetWindowLongPtrW(hwnd, 0));
}

CControlWindow* CControlWindow::Attach(HWND hwnd, std::unique_ptr<CControlWindow> control)
{
    SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(control.get()));
    return control.release();
}

// Keeps a control's object while a handler runs on it; the last one to return
// after the window went deletes it.
class CControlWindow::CProtector {
public:
    explicit CProtector(CControlWindow& control) : m_control(control) { ++m_control.m_running; }
    ~CProtector()
    {
        if (--m_control.m_running == 0 && m_control.m_gone)
            delete &m_control;
    }
    CProtector(const CProtector&) = delete;
    CProtector& operator=(const CProtector&) = delete;

private:
    CControlWindow& m_control;
};

LRESULT CControlWindow::Dispatch(CControlWindow& control, UINT message, WPARAM wParam, LPARAM lParam)
{
    const CProtector keep(control);
    if (message == WM_NCDESTROY) {
        // Later messages to the handle find no object; this one still runs on it.
        SetWindowLongPtrW(control.m_hwnd, 0, 0);
        control.m_gone = true;
    }
    return control.OnMessage(message, wParam, lParam);
}

// A control whose window is gone tells no one anything more.
HWND CControlWindow::Parent() const
{
    return !m_gone && (Style() & WS_CHILD) != 0 ? GetParent(m_hwnd) : nullptr;
}

RECT CControlWindow::Client() const
{
    RECT r{};
    GetClientRect(m_hwnd, &r);
    return r;
}

HFONT CControlWindow::Font() const
{
    return m_font != nullptr ? m_font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void CControlWindow::NotifyParent(WORD code) const
{
    if (HWND parent = Parent())
        SendMessageW(parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(Id()), code), reinterpret_cast<LPARAM>(m_hwnd));
}

void CControlWindow::PaintWithFont(HDC dc)
{
    const int saved = SaveDC(dc);
    SelectObject(dc, Font());
    Paint(dc);
    RestoreDC(dc, saved);
}

LRESULT CControlWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = wParam != 0 ? reinterpret_cast<HDC>(wParam) : BeginPaint(m_hwnd, &ps);
        PaintWithFont(dc);
        if (wParam == 0)
            EndPaint(m_hwnd, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        if (wParam != 0)
            PaintWithFont(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_ERASEBKGND:
        // The paint covers the whole client area itself.
        return 1;
    case WM_SETFONT:
        m_font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(static_cast<DWORD>(lParam)) != 0)
            Redraw();
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(m_font);
    case WM_ENABLE:
        Redraw();
        return 0;
    case WM_SETTEXT: {
        const LRESULT result = DefaultProc(message, wParam, lParam);
        Redraw();
        return result;
    }
    default: return DefaultProc(message, wParam, lParam);
    }
}

}
