#pragma once
// The common part of the standard controls: each window of a control class
// owns one object of its control type, made at WM_NCCREATE and deleted after
// WM_NCDESTROY, reached through the window's first extra bytes. The base
// answers what every control answers alike (fonts, painting on request,
// redraw and enable changes) and talks to the parent.
#include "Platform/Ui/WinUser.h"

#include <memory>

namespace ZELL::Controls {

class CControlWindow {
public:
    explicit CControlWindow(HWND hwnd) : m_hwnd(hwnd) {}
    virtual ~CControlWindow() = default;
    CControlWindow(const CControlWindow&) = delete;
    CControlWindow& operator=(const CControlWindow&) = delete;

    // The extra bytes a control class needs for the object pointer.
    static constexpr int kExtraBytes = static_cast<int>(sizeof(void*));

    // Registers a process-wide control class; true also when the name is
    // already registered with this very procedure.
    static bool RegisterControlClass(LPCWSTR name, WNDPROC procedure, UINT style, LPCWSTR cursor = IDC_ARROW);

    // The window procedure of a class whose windows are `Control`s.
    template <class Control>
    static LRESULT Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        CControlWindow* control = Of(hwnd);
        if (control == nullptr) {
            if (message != WM_NCCREATE)
                return DefWindowProcW(hwnd, message, wParam, lParam);
            control = Attach(hwnd, std::make_unique<Control>(hwnd));
        }
        if (message == WM_NCDESTROY)
            return Detach(hwnd)->OnMessage(message, wParam, lParam);
        return control->OnMessage(message, wParam, lParam);
    }

protected:
    // Controls answer their own messages and pass the rest here.
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Draws the whole client area; the control's font is selected.
    virtual void Paint(HDC dc) = 0;

    HWND Hwnd() const { return m_hwnd; }
    HWND Parent() const;
    int Id() const { return GetDlgCtrlID(m_hwnd); }
    DWORD Style() const { return static_cast<DWORD>(GetWindowLongPtrW(m_hwnd, GWL_STYLE)); }
    bool Enabled() const { return IsWindowEnabled(m_hwnd) != FALSE; }
    bool Focused() const { return GetFocus() == m_hwnd; }
    RECT Client() const;
    // The font set by WM_SETFONT, else the dialog font.
    HFONT Font() const;
    // The whole client area again, at the next paint.
    void Redraw() const { InvalidateRect(m_hwnd, nullptr, FALSE); }
    // WM_COMMAND with `code` to the parent.
    void NotifyParent(WORD code) const;
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) const
    {
        return DefWindowProcW(m_hwnd, message, wParam, lParam);
    }
    // Paints into `dc` with the control's font, then puts the context back.
    void PaintWithFont(HDC dc);

private:
    static CControlWindow* Of(HWND hwnd);
    static CControlWindow* Attach(HWND hwnd, std::unique_ptr<CControlWindow> control);
    static std::unique_ptr<CControlWindow> Detach(HWND hwnd);

    HWND m_hwnd = nullptr;
    HFONT m_font = nullptr;
};

}
