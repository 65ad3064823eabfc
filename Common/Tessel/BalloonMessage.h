#pragma once
// The one balloon message of the process: a tracking tooltip with a title
// and an icon that points at a control whose input is wrong. A hidden host
// window of class "ZellBalloonHost" owns it; keyboard and mouse hooks of the
// thread, activation, focus, scrolling, menus and an optional timer close
// it. Everything runs on the caller's user-interface thread.
#include "Platform/Base/CString.h"
#include "Platform/Ui/WinUser.h"

#include <optional>

namespace Tessel {

constexpr LPCWSTR kBalloonHostClass = L"ZellBalloonHost";
constexpr UINT_PTR kBalloonToolId = 10001;

struct BalloonRequest {
    LPCWSTR title = nullptr;  // text, string number of `instance`, 0 or 0xFFFFFFFF (module name)
    LPCWSTR text = nullptr;   // text or string number of `instance`
    HWND control = nullptr;
    HWND parent = nullptr;
    HINSTANCE instance = nullptr;
    UINT_PTR icon = 0;        // standard tooltip icon code or icon handle
    bool centre = false;
    UINT closeAfterSeconds = 0;
    std::optional<POINT> position;  // screen coordinates
    bool subclassParent = true;
};

class CBalloonMessage {
public:
    static CBalloonMessage& Instance();

    void Show(const BalloonRequest& request);
    void Close();
    // The library ends: closes the balloon and unregisters the host class.
    void Shutdown();

    HWND Tooltip() const { return m_tooltip; }
    HWND Host() const { return m_host; }
    bool HasHooks() const { return m_keyboardHook != nullptr || m_mouseHook != nullptr; }
    UINT_PTR TimerId() const { return m_timerId; }
    const CString& Text() const { return m_text; }
    const CString& Title() const { return m_title; }

private:
    CBalloonMessage() = default;

    void FillTexts(const BalloonRequest& request);
    bool RegisterHostClass();
    LRESULT SetUpTooltip();
    void AddTool(bool balloonStyle);
    POINT TipPosition(bool balloonStyle) const;
    void InstallHooks();
    void RemoveHooks();
    bool CloseCheck() const;
    LRESULT HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultHandling(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) const;
    void OnHostDestroyed();

    static LRESULT HostWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT KeyboardHook(int code, WPARAM key, LPARAM flags);
    static LRESULT MouseHook(int code, WPARAM message, LPARAM data);
    static void TimerProc(HWND hwnd, UINT message, UINT_PTR id, DWORD time);

    CString m_text;
    CString m_title;
    UINT_PTR m_icon = 0;
    HWND m_control = nullptr;
    HWND m_parent = nullptr;
    HINSTANCE m_instance = nullptr;
    HINSTANCE m_classInstance = nullptr;  // where the host class was registered
    bool m_centre = false;
    UINT m_closeAfterSeconds = 0;
    std::optional<POINT> m_position;
    bool m_subclassParent = true;
    HWND m_host = nullptr;
    HWND m_tooltip = nullptr;
    bool m_created = false;
    bool m_balloonTipsEnabled = true;
    WNDPROC m_savedParentProc = nullptr;
    HHOOK m_keyboardHook = nullptr;
    HHOOK m_mouseHook = nullptr;
    UINT_PTR m_timerId = 0;
    int m_activationState = 0;
};

// The title a module gives: its file name without folder and last extension.
CString ModuleTitle(HINSTANCE instance);

}
