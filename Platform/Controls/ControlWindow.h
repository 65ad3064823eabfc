#pragma once
// The common part of the standard controls: each window of a control class
// owns one object of its control type, made at WM_NCCREATE and reached through
// the window's first extra bytes. WM_NCDESTROY detaches it; it is deleted once
// the outermost handler running on it returns, since a parent may destroy the
// control from inside a notification the control sends it. The base answers
// what every control answers alike (fonts, painting on request, redraw and
// enable changes) and talks to the parent.
#include "Platform/Ui/WinUser.h"

#include <memory>

namespace ZELL::Controls {

class CControlWindow {
public:
    explicit CControlWindow(HWND hwnd) : m_hwnd(hwnd) {}
    virtual ~CControlWindow() = default;
    CControlWindow(const CControlWindow&) = delete;
    CControlWindow& operator=(const CControlWindow&) = delete;

    // What mouse and key messages carry, decoded here once for every control:
    // a mouse message's point in client coordinates (signed: left of or above
    // the client is negative), and whether a key is down now (key messages do
    // not carry the modifiers).
    static POINT PointOf(LPARAM lParam) { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }
    static bool KeyDown(int key) { return GetKeyState(key) < 0; }
    static bool ShiftDown() { return KeyDown(VK_SHIFT); }
    static bool ControlDown() { return KeyDown(VK_CONTROL); }

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
        return Dispatch(*control, message, wParam, lParam);
    }

protected:
    // Controls answer their own messages and pass the rest here.
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Draws the whole client area; the control's font is selected.
    virtual void Paint(HDC dc) = 0;

    // True once the window is destroyed: a handler that gets control back from
    // a notification or a modal loop stops there instead of acting for it.
    bool Gone() const { return m_gone; }
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
    class CProtector;

    static CControlWindow* Of(HWND hwnd);
    static CControlWindow* Attach(HWND hwnd, std::unique_ptr<CControlWindow> control);
    // Hands `message` to the control, which stays alive until it returns.
    static LRESULT Dispatch(CControlWindow& control, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hwnd = nullptr;
    HFONT m_font = nullptr;
    int m_running = 0;  // handlers on the stack for this control, nested ones included
    bool m_gone = false;
};

}
