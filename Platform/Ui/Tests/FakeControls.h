#pragma once
// Stand-ins for the standard controls in the window layer's own tests: they
// answer WM_GETDLGCODE and the button messages the way buttons, labels and
// edits do, and nothing more. Registered under the standard class names, so
// templates may name them by their predefined atoms.
#include "Platform/Ui/Tests/WindowText.h"
#include "Platform/Ui/WinUser.h"

#include <string>

namespace UiTest {

constexpr DWORD kBsPushButton = 0x0;
constexpr DWORD kBsDefPushButton = 0x1;
constexpr DWORD kBsAutoCheckBox = 0x3;
constexpr DWORD kBsAutoRadioButton = 0x9;
constexpr DWORD kBsTypeMask = 0xF;
constexpr UINT kBmGetCheck = 0x00F0;
constexpr UINT kBmSetCheck = 0x00F1;
constexpr UINT kBmSetStyle = 0x00F4;
constexpr UINT kBmClick = 0x00F5;
constexpr UINT kEmSetSel = 0x00B1;
constexpr WORD kBnClicked = 0;

// What the fakes saw, for the tests to look at.
struct FakeLog {
    int setSelCount = 0;  // EM_SETSEL of edits
    int setFontCount = 0;
    HFONT lastFont = nullptr;
};
inline FakeLog& Fakes()
{
    static FakeLog log;
    return log;
}

inline DWORD ButtonType(HWND hwnd)
{
    return static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE)) & kBsTypeMask;
}

inline void Notify(HWND hwnd, WORD code)
{
    SendMessageW(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(hwnd)), code),
                 reinterpret_cast<LPARAM>(hwnd));
}

// Radio buttons of one group: the ones from the WS_GROUP control on.
inline void UncheckGroupOf(HWND hwnd)
{
    HWND first = hwnd;
    while ((GetWindowLongPtrW(first, GWL_STYLE) & WS_GROUP) == 0) {
        HWND previous = GetWindow(first, GW_HWNDPREV);
        if (previous == nullptr)
            break;
        first = previous;
    }
    for (HWND w = first; w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
        if (w != first && (GetWindowLongPtrW(w, GWL_STYLE) & WS_GROUP) != 0)
            break;
        if (w != hwnd && ButtonType(w) == kBsAutoRadioButton)
            SendMessageW(w, kBmSetCheck, 0, 0);
    }
}

inline LRESULT FakeButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const DWORD type = ButtonType(hwnd);
    switch (message) {
    case WM_GETDLGCODE:
        if (type == kBsDefPushButton)
            return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
        if (type == kBsPushButton)
            return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
        if (type == kBsAutoRadioButton)
            return DLGC_BUTTON | DLGC_RADIOBUTTON;
        return DLGC_BUTTON;
    case WM_SETFONT:
        ++Fakes().setFontCount;
        Fakes().lastFont = reinterpret_cast<HFONT>(wParam);
        return 0;
    case kBmSetStyle: {
        const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
        SetWindowLongPtrW(hwnd, GWL_STYLE, (style & ~static_cast<LONG_PTR>(kBsTypeMask)) | (wParam & kBsTypeMask));
        return 0;
    }
    case kBmGetCheck:
        return GetWindowLongPtrW(hwnd, GWLP_USERDATA);
    case kBmSetCheck:
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, static_cast<LONG_PTR>(wParam));
        return 0;
    case kBmClick:
        if (type == kBsAutoCheckBox)
            SendMessageW(hwnd, kBmSetCheck, GetWindowLongPtrW(hwnd, GWLP_USERDATA) != 0 ? 0 : 1, 0);
        if (type == kBsAutoRadioButton) {
            UncheckGroupOf(hwnd);
            SendMessageW(hwnd, kBmSetCheck, 1, 0);
        }
        Notify(hwnd, kBnClicked);
        return 0;
    case WM_LBUTTONUP:
        SendMessageW(hwnd, kBmClick, 0, 0);
        return 0;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

inline LRESULT FakeEditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_GETDLGCODE:
        return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    case kEmSetSel:
        ++Fakes().setSelCount;
        return 0;
    case WM_SETFONT:
        ++Fakes().setFontCount;
        Fakes().lastFont = reinterpret_cast<HFONT>(wParam);
        return 0;
    case WM_LBUTTONDOWN:
        SetFocus(hwnd);
        return 0;
    case WM_CHAR: {
        if (wParam < L' ')
            return 0;
        std::wstring text = UiTest::TextOf(hwnd);
        text.push_back(static_cast<wchar_t>(wParam));
        SetWindowTextW(hwnd, text.c_str());
        return 0;
    }
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

inline LRESULT FakeStaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_GETDLGCODE)
        return DLGC_STATIC;
    if (message == WM_SETFONT) {
        ++Fakes().setFontCount;
        Fakes().lastFont = reinterpret_cast<HFONT>(wParam);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// A plain container; with WS_EX_CONTROLPARENT its children join the tab order.
inline LRESULT FakePaneProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

inline void RegisterFakeControls()
{
    static const bool registered = [] {
        auto add = [](LPCWSTR name, WNDPROC proc) {
            WNDCLASSEXW wc;
            wc.lpfnWndProc = proc;
            wc.lpszClassName = name;
            wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_3DFACE + 1));
            RegisterClassExW(&wc);
        };
        add(L"Button", FakeButtonProc);
        add(L"Edit", FakeEditProc);
        add(L"Static", FakeStaticProc);
        add(L"FakePane", FakePaneProc);
        return true;
    }();
    (void)registered;
}

}
