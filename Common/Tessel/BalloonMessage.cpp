#include "Common/Tessel/BalloonMessage.h"

#include "Common/SystemHelper/Desktop/SystemInfo.h"
#include "Platform/Base/Module.h"
#include "Platform/Base/LastError.h"
#include "Platform/Base/Thread.h"
#include "Platform/Controls/CommCtrl.h"

#include <algorithm>

namespace Tessel {

namespace {

constexpr int kMaxText = 3998;
constexpr int kMaxTitle = 498;
constexpr int kActivatedByOther = 6;
// Not WS_VISIBLE: tracking shows the tip, and a tip shown on creation would
// take the activation from the host, whose WM_ACTIVATE would close it.
constexpr DWORD kTooltipStyle = WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX | TTS_NOANIMATE | TTS_NOFADE |
                                TTS_CLOSE;
constexpr std::uintptr_t kModuleNameTitle = 0xFFFFFFFF;
constexpr UINT kLastFunctionKey = 0x87;  // F24

bool IsModuleNameTitle(LPCWSTR title)
{
    const auto value = reinterpret_cast<std::uintptr_t>(title);
    return value == kModuleNameTitle || value == UINTPTR_MAX;
}

CString LoadResourceText(HINSTANCE instance, LPCWSTR id, int maxLength)
{
    std::wstring buffer(static_cast<std::size_t>(maxLength) + 1, L'\0');
    const int length = LoadStringW(instance, static_cast<UINT>(reinterpret_cast<std::uintptr_t>(id)), buffer.data(),
                                   maxLength + 1);
    return CString(buffer.c_str(), std::max(length, 0));
}

CString TextOrResource(HINSTANCE instance, LPCWSTR text, int maxLength)
{
    if (IS_INTRESOURCE(text))
        return LoadResourceText(instance, text, maxLength);
    return CString(text).Left(maxLength);
}

bool IsClosingKey(WPARAM key)
{
    return key == VK_ESCAPE || key == VK_RETURN || key == VK_TAB || (key >= VK_LEFT && key <= VK_DOWN) ||
           (key >= VK_F1 && key <= kLastFunctionKey);
}

bool IsClosingMouseMessage(WPARAM message)
{
    switch (message) {
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN: case WM_NCRBUTTONDOWN: case WM_NCMBUTTONDOWN:
    case WM_MOUSEWHEEL:
        return true;
    default:
        return false;
    }
}

}

CString ModuleTitle(HINSTANCE instance)
{
    wchar_t path[520] = {};
    const DWORD length = GetModuleFileNameW(instance, path, 519);
    CString name(path, static_cast<int>(std::min<DWORD>(length, 519)));
    name = name.Mid(std::max(name.ReverseFind(L'/'), name.ReverseFind(L'\\')) + 1);
    const int dot = name.ReverseFind(L'.');
    return (dot > 0 ? name.Left(dot) : name).Left(kMaxTitle);
}

CBalloonMessage& CBalloonMessage::Instance()
{
    static CBalloonMessage balloon;
    return balloon;
}

void CBalloonMessage::Show(const BalloonRequest& request)
{
    if (request.text == nullptr || !IsWindow(request.control) || !IsWindow(request.parent))
        return;
    Close();
    m_icon = request.icon;
    m_position = request.position;
    m_centre = request.centre;
    m_control = request.control;
    m_closeAfterSeconds = request.closeAfterSeconds;
    m_parent = request.parent;
    m_instance = request.instance;
    m_subclassParent = request.subclassParent;
    m_timerId = 0;
    FillTexts(request);
    if (m_text.IsEmpty())
        return;
    m_created = false;
    m_activationState = 0;
    if (!RegisterHostClass())
        return;
    // Shown without taking the activation: an active host would hold the
    // keyboard focus, and the key that closes the balloon would go to the
    // dying host instead of the control the user is typing into.
    m_host = CreateWindowExW(0, kBalloonHostClass, L"", WS_POPUP, 30000, 30000, 10, 10, m_parent, nullptr, m_instance,
                             nullptr);
    if (m_host != nullptr)
        ShowWindow(m_host, SW_SHOWNOACTIVATE);
}

void CBalloonMessage::FillTexts(const BalloonRequest& request)
{
    m_text = TextOrResource(request.instance, request.text, kMaxText);
    if (request.title == nullptr)
        m_title.Empty();
    else if (IsModuleNameTitle(request.title))
        m_title = ModuleTitle(request.instance);
    else
        m_title = TextOrResource(request.instance, request.title, kMaxTitle);
}

bool CBalloonMessage::RegisterHostClass()
{
    WNDCLASSW wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = HostWndProc;
    wc.hInstance = m_instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kBalloonHostClass;
    if (RegisterClassW(&wc) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return false;
    if (m_classInstance == nullptr)
        m_classInstance = m_instance;
    return true;
}

LRESULT CBalloonMessage::SetUpTooltip()
{
    if (m_created || m_tooltip != nullptr)
        return 0;
    m_balloonTipsEnabled = IsBalloonTipsEnabled();
    const bool balloonStyle = m_balloonTipsEnabled && m_centre;
    m_tooltip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, kTooltipStyle | (balloonStyle ? TTS_BALLOON : 0),
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_parent, nullptr, nullptr,
                                nullptr);
    if (m_tooltip == nullptr)
        return 0;
    if (m_savedParentProc == nullptr && IsWindow(m_parent) && m_subclassParent)
        m_savedParentProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(m_parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HostWndProc)));
    if (!IsWindow(m_tooltip))
        return 0;
    AddTool(balloonStyle);
    InstallHooks();
    if (m_closeAfterSeconds != 0)
        m_timerId = SetTimer(nullptr, 1, m_closeAfterSeconds * 1000, &TimerProc);
    m_created = true;
    return 0;
}

void CBalloonMessage::AddTool(bool balloonStyle)
{
    TOOLINFOW tool;
    tool.uFlags = TTF_TRACK | (balloonStyle ? TTF_CENTERTIP : 0);
    tool.hwnd = m_parent;
    tool.uId = kBalloonToolId;
    tool.hinst = m_instance;
    tool.lpszText = const_cast<LPWSTR>(m_text.GetString());
    SendMessageW(m_tooltip, TTM_SETMAXTIPWIDTH, 0, 32000);
    SendMessageW(m_tooltip, TTM_SETDELAYTIME, TTDT_AUTOPOP, 1);
    SendMessageW(m_tooltip, TTM_SETDELAYTIME, TTDT_INITIAL, 1);
    SendMessageW(m_tooltip, TTM_SETDELAYTIME, TTDT_RESHOW, 1);
    SendMessageW(m_tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(m_tooltip, TTM_SETTITLEW, m_icon, reinterpret_cast<LPARAM>(m_title.GetString()));
    const POINT at = TipPosition(balloonStyle);
    SendMessageW(m_tooltip, TTM_TRACKPOSITION, 0, MAKELPARAM(at.x, at.y));
    SendMessageW(m_tooltip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
}

POINT CBalloonMessage::TipPosition(bool balloonStyle) const
{
    if (m_position)
        return *m_position;
    RECT r{};
    if (IsWindow(m_control))
        GetWindowRect(m_control, &r);
    if (balloonStyle)
        return POINT{r.left + (r.right - r.left) / 2, r.top + (r.bottom - r.top) / 2};
    return POINT{r.left, r.bottom};
}

void CBalloonMessage::InstallHooks()
{
    if (m_keyboardHook == nullptr)
        m_keyboardHook = SetWindowsHookExW(WH_KEYBOARD, &KeyboardHook, nullptr, GetCurrentThreadId());
    if (m_mouseHook == nullptr)
        m_mouseHook = SetWindowsHookExW(WH_MOUSE, &MouseHook, nullptr, GetCurrentThreadId());
}

void CBalloonMessage::RemoveHooks()
{
    if (m_keyboardHook != nullptr)
        UnhookWindowsHookEx(m_keyboardHook);
    if (m_mouseHook != nullptr)
        UnhookWindowsHookEx(m_mouseHook);
    m_keyboardHook = nullptr;
    m_mouseHook = nullptr;
}

void CBalloonMessage::Close()
{
    if (m_timerId != 0)
        KillTimer(nullptr, m_timerId);
    m_timerId = 0;
    if (m_savedParentProc != nullptr && IsWindow(m_parent))
        SetWindowLongPtrW(m_parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_savedParentProc));
    m_savedParentProc = nullptr;
    if (IsWindow(m_tooltip)) {
        SendMessageW(m_tooltip, TTM_POP, 0, 0);
        PostMessageW(m_tooltip, WM_CLOSE, 0, 0);
    }
    m_tooltip = nullptr;
    if (IsWindow(m_host))
        DestroyWindow(m_host);
    m_host = nullptr;
    // A host that was never created still leaves no hooks behind.
    RemoveHooks();
}

void CBalloonMessage::Shutdown()
{
    Close();
    if (m_classInstance != nullptr)
        UnregisterClassW(kBalloonHostClass, m_classInstance);
    m_classInstance = nullptr;
}

bool CBalloonMessage::CloseCheck() const
{
    return m_created && IsWindow(m_host) && IsWindow(m_tooltip);
}

void CBalloonMessage::OnHostDestroyed()
{
    RemoveHooks();
    if (!IsWindow(m_parent))
        return;
    UpdateWindow(m_parent);
    if (m_activationState == kActivatedByOther)
        SetWindowPos(m_parent, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

LRESULT CBalloonMessage::HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Showing the host sets the tooltip up before CreateWindowEx returns.
    if (message == WM_NCCREATE && hwnd != m_parent)
        m_host = hwnd;
    switch (message) {
    case WM_WINDOWPOSCHANGED:
        if (hwnd == m_host)
            return SetUpTooltip();
        break;
    case WM_DESTROY:
        if (hwnd == m_host)
            OnHostDestroyed();
        break;
    case WM_ACTIVATE:
        m_activationState = lParam != 0 ? kActivatedByOther : 0;
        [[fallthrough]];
    case WM_KILLFOCUS: case WM_MOUSEACTIVATE: case WM_SYSCOMMAND: case WM_HSCROLL: case WM_VSCROLL:
    case WM_ENTERMENULOOP:
        if (CloseCheck())
            Close();
        break;
    case WM_TIMER:
        // The parent's own timers keep reaching its procedure.
        if (hwnd == m_parent && m_savedParentProc != nullptr && IsWindow(m_parent))
            return CallWindowProcW(m_savedParentProc, hwnd, message, wParam, lParam);
        return 0;
    default:
        break;
    }
    return DefaultHandling(hwnd, message, wParam, lParam);
}

LRESULT CBalloonMessage::DefaultHandling(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) const
{
    if (hwnd != m_host && hwnd == m_parent) {
        if (m_savedParentProc == nullptr || !IsWindow(m_parent))
            return 0;
        return CallWindowProcW(m_savedParentProc, hwnd, message, wParam, lParam);
    }
    return IsWindow(hwnd) ? DefWindowProcW(hwnd, message, wParam, lParam) : 0;
}

LRESULT CBalloonMessage::HostWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return Instance().HandleMessage(hwnd, message, wParam, lParam);
}

LRESULT CBalloonMessage::KeyboardHook(int code, WPARAM key, LPARAM flags)
{
    CBalloonMessage& balloon = Instance();
    const bool goingUp = (static_cast<std::uint32_t>(flags) & 0x80000000u) != 0;
    if (code < 0 || goingUp || key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU)
        return CallNextHookEx(balloon.m_keyboardHook, code, key, flags);
    if (IsClosingKey(key)) {
        balloon.Close();
        return 1;
    }
    const LRESULT result = CallNextHookEx(balloon.m_keyboardHook, code, key, flags);
    balloon.Close();
    return result;
}

LRESULT CBalloonMessage::MouseHook(int code, WPARAM message, LPARAM data)
{
    CBalloonMessage& balloon = Instance();
    const LRESULT result = CallNextHookEx(balloon.m_mouseHook, code, message, data);
    if (code >= 0 && IsClosingMouseMessage(message))
        balloon.Close();
    return result;
}

void CBalloonMessage::TimerProc(HWND, UINT, UINT_PTR, DWORD)
{
    Instance().Close();
}

}
