// The screen test's window made with the window layer: a top-level with three
// child windows that paint text and shapes through the drawing layer. A click
// on the switch child turns it from red to green; the K key (the top-level has
// the focus) changes the status child's text. On the display the environment
// selects it waits for the user and reports on stdout what it did; with
// --headless it runs on the headless display, gives itself the same click and
// key, and saves the top-level as a PNG.
//
//   X11UiDemo                          show, wait for input, exit on close
//   X11UiDemo --headless OUT.png [--no-input]

#include "Platform/Display/HeadlessDisplay.h"
#include "Platform/Display/X11Display.h"
#include "Platform/Gdi/DeviceContext.h"
#include "Platform/Gdi/Draw.h"
#include "Platform/Gdi/Text.h"
#include "Platform/Ui/DisplayAccess.h"
#include "Platform/Ui/WinUser.h"
#include "X11UiDemoLayout.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool g_switchedOn = false;
bool g_keyPressed = false;
HWND g_status = nullptr;
HWND g_switch = nullptr;
constexpr UINT_PTR kGiveUpTimer = 1;

void Say(const char* what)
{
    std::printf("%s\n", what);
    std::fflush(stdout);
}

HFONT DemoFont(int height)
{
    return CreateFontW(-height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, L"DejaVu Sans");
}

void Frame(HDC dc, const RECT& r, COLORREF fill)
{
    HBRUSH brush = CreateSolidBrush(fill);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    HBRUSH edge = CreateSolidBrush(RGB(51, 51, 51));
    FrameRect(dc, &r, edge);
    DeleteObject(edge);
}

void Label(HDC dc, int x, int y, const wchar_t* text, int height)
{
    HFONT font = DemoFont(height);
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    TextOutW(dc, x, y, text, static_cast<int>(std::wcslen(text)));
    SelectObject(dc, old);
    DeleteObject(font);
}

void PaintStatus(HWND hwnd, HDC dc)
{
    RECT r{};
    GetClientRect(hwnd, &r);
    Frame(dc, r, RGB(255, 255, 255));
    Label(dc, 10, 10, g_keyPressed ? L"Taste K gedr\u00fcckt" : L"Warte auf eine Taste", 14);
    Label(dc, 10, 38, L"IP 192.168.1.10  \u30c6\u30b9\u30c8", 12);
}

void PaintSwitch(HWND hwnd, HDC dc)
{
    RECT r{};
    GetClientRect(hwnd, &r);
    Frame(dc, r, g_switchedOn ? RGB(26, 178, 38) : RGB(217, 38, 38));
    Label(dc, 12, 32, g_switchedOn ? L"EIN" : L"AUS", 18);
}

void PaintShapes(HWND hwnd, HDC dc)
{
    RECT r{};
    GetClientRect(hwnd, &r);
    Frame(dc, r, RGB(255, 255, 230));
    HBRUSH orange = CreateSolidBrush(RGB(230, 128, 0));
    HPEN none = CreatePen(PS_NULL, 0, 0);
    HGDIOBJ oldBrush = SelectObject(dc, orange);
    HGDIOBJ oldPen = SelectObject(dc, none);
    Ellipse(dc, 12, 17, 68, 73);
    HBRUSH green = CreateSolidBrush(RGB(77, 153, 77));
    SelectObject(dc, green);
    const POINT triangle[] = {{90, 80}, {130, 20}, {155, 80}};
    Polygon(dc, triangle, 3);
    HPEN blue = CreatePen(PS_SOLID, 3, RGB(0, 0, 153));
    SelectObject(dc, blue);
    MoveToEx(dc, 80, 10, nullptr);
    LineTo(dc, 150, 80);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(blue);
    DeleteObject(green);
    DeleteObject(none);
    DeleteObject(orange);
}

LRESULT ChildProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        const int id = GetDlgCtrlID(hwnd);
        if (id == X11UiDemo::kStatusId)
            PaintStatus(hwnd, dc);
        else if (id == X11UiDemo::kSwitchId)
            PaintSwitch(hwnd, dc);
        else
            PaintShapes(hwnd, dc);
        EndPaint(hwnd, &ps);
        return 0;
    }
    if (message == WM_LBUTTONDOWN && hwnd == g_switch) {
        g_switchedOn = !g_switchedOn;
        InvalidateRect(hwnd, nullptr, TRUE);
        UpdateWindow(hwnd);
        Say("CLICKED");
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT MainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT r{};
        GetClientRect(hwnd, &r);
        HBRUSH face = CreateSolidBrush(RGB(240, 240, 240));
        FillRect(dc, &r, face);
        DeleteObject(face);
        Label(dc, 20, 215, g_switchedOn ? L"Schalter: ein" : L"Schalter: aus", 12);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_KEYDOWN:
        if (wParam == 'K') {
            g_keyPressed = true;
            InvalidateRect(g_status, nullptr, TRUE);
            UpdateWindow(g_status);
            Say("KEY");
        }
        return 0;
    case WM_SETFOCUS: Say("FOCUS"); return 0;
    case WM_TIMER:
        if (wParam == kGiveUpTimer)
            PostQuitMessage(2);
        return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

HWND CreateDemo()
{
    WNDCLASSEXW main{};
    main.lpfnWndProc = &MainProc;
    main.lpszClassName = L"ZellDemoMain";
    main.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    WNDCLASSEXW child{};
    child.lpfnWndProc = &ChildProc;
    child.lpszClassName = L"ZellDemoChild";
    if (!RegisterClassExW(&main) || !RegisterClassExW(&child))
        return nullptr;
    constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    RECT frame = X11UiDemo::kClientOnScreen;
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    HWND hwnd = CreateWindowExW(0, L"ZellDemoMain", L"Demo \u00e4\u00f6\u00fc", style, frame.left, frame.top,
                                frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, nullptr, nullptr);
    if (!hwnd)
        return nullptr;
    auto makeChild = [&](int id, const RECT& r) {
        return CreateWindowExW(0, L"ZellDemoChild", L"", WS_CHILD | WS_VISIBLE, r.left, r.top, r.right - r.left,
                               r.bottom - r.top, hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    };
    g_status = makeChild(X11UiDemo::kStatusId, X11UiDemo::kStatusRect);
    g_switch = makeChild(X11UiDemo::kSwitchId, X11UiDemo::kSwitchRect);
    makeChild(X11UiDemo::kShapesId, X11UiDemo::kShapesRect);
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    SetFocus(hwnd);
    return hwnd;
}

// Handles whatever is queued, painting included, until nothing is left.
void RunUntilIdle()
{
    for (int round = 0; round < 50; ++round) {
        MSG msg{};
        bool any = false;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            any = true;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (!any)
            return;
    }
}

int RunHeadless(const char* png, bool input)
{
    setenv("ZELL_DISPLAY", "headless", 1);
    HWND hwnd = CreateDemo();
    auto* display = dynamic_cast<Display::CHeadlessDisplay*>(&Display::TheDisplay());
    if (!hwnd || !display)
        return 3;
    RunUntilIdle();
    if (input) {
        const POINT click = X11UiDemo::SwitchCentreOnScreen();
        display->InjectMouseDown(Display::MouseButton::Left, click);
        display->InjectMouseUp(Display::MouseButton::Left, click);
        RunUntilIdle();
        display->InjectKeyDown('K');
        display->InjectKeyUp('K');
        RunUntilIdle();
    }
    return display->SaveAsPng(NativeWindowOf(hwnd), png) ? 0 : 4;
}

int RunOnScreen()
{
    HWND hwnd = CreateDemo();
    auto* display = dynamic_cast<Display::CX11Display*>(&Display::TheDisplay());
    if (!hwnd || !display) {
        std::fprintf(stderr, "no X display\n");
        return 5;
    }
    RunUntilIdle();
    std::printf("READY %lu\n", display->XWindowOf(NativeWindowOf(hwnd)));
    std::fflush(stdout);
    // Bounded: a driver that died must not leave us running.
    SetTimer(hwnd, kGiveUpTimer, 60000, nullptr);
    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (msg.wParam == 0)
        Say("CLOSED");
    return static_cast<int>(msg.wParam);
}

}

// Fontconfig keeps its caches for the life of the process; under the leak
// checker of sanitized builds they are no leak of ours.
extern "C" __attribute__((visibility("default"), used)) const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

int main(int argc, char** argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "--headless") == 0)
        return RunHeadless(argv[2], !(argc >= 4 && std::strcmp(argv[3], "--no-input") == 0));
    return RunOnScreen();
}
