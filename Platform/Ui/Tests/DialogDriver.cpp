#include "Platform/Ui/Tests/DialogDriver.h"
#include "Platform/Ui/Tests/WindowText.h"

#include "Platform/Display/HeadlessDisplay.h"
#include "Platform/Ui/DisplayAccess.h"

#include <chrono>
#include <stdexcept>
#include <thread>

using namespace UiTest;

namespace {

constexpr UINT kBmGetCheck = 0x00F0;
constexpr LRESULT kBstChecked = 1;

Display::CHeadlessDisplay& Headless()
{
    auto* headless = dynamic_cast<Display::CHeadlessDisplay*>(&Display::TheDisplay());
    if (headless == nullptr)
        throw std::runtime_error("the dialog driver needs the headless display (ZELL_DISPLAY=headless)");
    return *headless;
}

HWND FindById(HWND parent, int id, int depth)
{
    if (depth > 32)
        return nullptr;
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetDlgCtrlID(child) == id)
            return child;
    }
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (HWND found = FindById(child, id, depth + 1))
            return found;
    }
    return nullptr;
}

// The key and the Shift state that type a character, when a key types it.
bool KeyFor(wchar_t c, UINT& key, bool& shift)
{
    shift = false;
    if (c >= L'a' && c <= L'z') {
        key = static_cast<UINT>(c - L'a' + 'A');
        return true;
    }
    if (c >= L'A' && c <= L'Z') {
        key = static_cast<UINT>(c);
        shift = true;
        return true;
    }
    if ((c >= L'0' && c <= L'9') || c == L' ') {
        key = c == L' ' ? VK_SPACE : static_cast<UINT>(c);
        return true;
    }
    return false;
}

ULONGLONG Now()
{
    return static_cast<ULONGLONG>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch()).count());
}

}

HWND CDialogDriver::Control(int id) const
{
    return m_dialog != nullptr ? FindById(m_dialog, id, 0) : nullptr;
}

bool CDialogDriver::Click(int id)
{
    HWND control = Control(id);
    if (control == nullptr)
        return false;
    RECT client{};
    GetClientRect(control, &client);
    return Click(id, POINT{client.right / 2, client.bottom / 2});
}

bool CDialogDriver::Click(int id, POINT clientPoint)
{
    HWND control = Control(id);
    if (control == nullptr || !IsWindowVisible(control))
        return false;
    ClientToScreen(control, &clientPoint);
    ClickAt(clientPoint);
    return true;
}

void CDialogDriver::ClickAt(POINT screen)
{
    auto& display = Headless();
    display.InjectMouseMove(screen);
    display.InjectMouseDown(Display::MouseButton::Left, screen);
    display.InjectMouseUp(Display::MouseButton::Left, screen);
}

void CDialogDriver::Press(UINT virtualKey, unsigned modifiers)
{
    auto& display = Headless();
    if ((modifiers & kControl) != 0)
        display.InjectKeyDown(VK_CONTROL);
    if ((modifiers & kAlt) != 0)
        display.InjectKeyDown(VK_MENU);
    if ((modifiers & kShift) != 0)
        display.InjectKeyDown(VK_SHIFT);
    display.InjectKeyDown(virtualKey);
    display.InjectKeyUp(virtualKey);
    if ((modifiers & kShift) != 0)
        display.InjectKeyUp(VK_SHIFT);
    if ((modifiers & kAlt) != 0)
        display.InjectKeyUp(VK_MENU);
    if ((modifiers & kControl) != 0)
        display.InjectKeyUp(VK_CONTROL);
}

void CDialogDriver::Type(const std::wstring& text)
{
    for (wchar_t c : text) {
        UINT key = 0;
        bool shift = false;
        if (KeyFor(c, key, shift))
            Press(key, shift ? kShift : kNoModifier);
        else
            Headless().InjectText(std::wstring(1, c));
    }
}

bool CDialogDriver::TypeInto(int id, const std::wstring& text)
{
    if (!Click(id))
        return false;
    PumpUntilIdle();
    Type(text);
    return true;
}

std::wstring CDialogDriver::Text(int id) const
{
    return TextOf(Control(id));
}

bool CDialogDriver::IsChecked(int id) const
{
    HWND control = Control(id);
    return control != nullptr && SendMessageW(control, kBmGetCheck, 0, 0) == kBstChecked;
}

bool CDialogDriver::IsEnabled(int id) const
{
    HWND control = Control(id);
    return control != nullptr && IsWindowEnabled(control);
}

bool CDialogDriver::IsVisible(int id) const
{
    HWND control = Control(id);
    return control != nullptr && IsWindowVisible(control);
}

int CDialogDriver::FocusId() const
{
    HWND focus = GetFocus();
    return focus != nullptr && m_dialog != nullptr && IsChild(m_dialog, focus) ? GetDlgCtrlID(focus) : 0;
}

bool CDialogDriver::PumpOnce() const
{
    MSG msg;
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        return false;
    if (msg.message == WM_QUIT) {
        // Not ours to take: the loop that asked for it sees it again.
        PostQuitMessage(static_cast<int>(msg.wParam));
        return false;
    }
    if (m_dialog == nullptr || !IsWindow(m_dialog) || !IsDialogMessageW(m_dialog, &msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return true;
}

bool CDialogDriver::PumpUntilIdle(DWORD maxMs) const
{
    const ULONGLONG end = Now() + maxMs;
    // Idle is two empty looks in a row with a moment between them, so that
    // what the display still delivers is not missed.
    int emptyLooks = 0;
    while (Now() < end) {
        if (PumpOnce()) {
            emptyLooks = 0;
            continue;
        }
        if (++emptyLooks >= 2)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

bool CDialogDriver::PumpUntil(const std::function<bool()>& done, DWORD maxMs) const
{
    const ULONGLONG end = Now() + maxMs;
    while (Now() < end) {
        if (done())
            return true;
        if (!PumpOnce())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return done();
}
