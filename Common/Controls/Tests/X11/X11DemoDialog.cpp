// The demonstration window of the skinned controls as a program for the
// screen comparison:
//   X11DemoDialog                  on the X display: prints "READY <X window>",
//                                  then "CLOSED" when the close box was used
//   X11DemoDialog --headless PNG   on the headless display: saves the window
#include "../DemoDialog.h"

#include "Platform/Display/HeadlessDisplay.h"
#include "Platform/Display/X11Display.h"
#include "Platform/Ui/DisplayAccess.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Stops a run whose driver went away.
constexpr UINT_PTR kDeadline = 9;
constexpr UINT kDeadlineMs = 60000;

// Everything queued is handled (bounded: timers could keep it busy).
void Settle()
{
    MSG msg{};
    for (int round = 0; round < 50 && PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE); ++round) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

int SaveHeadless(const char* png)
{
    setenv("ZELL_DISPLAY", "headless", 1);
    ControlsTest::CDemoDialog demo;
    auto* headless = dynamic_cast<Display::CHeadlessDisplay*>(&Display::TheDisplay());
    if (!demo.Create(100, 100) || headless == nullptr)
        return 3;
    Settle();
    return headless->SaveAsPng(NativeWindowOf(demo.m_hWnd), png) ? 0 : 4;
}

int ShowOnScreen()
{
    ControlsTest::CDemoDialog demo;
    auto* x11 = dynamic_cast<Display::CX11Display*>(&Display::TheDisplay());
    if (x11 == nullptr || !demo.Create(100, 100)) {
        std::fprintf(stderr, "no X display\n");
        return 5;
    }
    const HWND window = demo.m_hWnd;
    Settle();
    std::printf("READY %lu\n", x11->XWindowOf(NativeWindowOf(window)));
    std::fflush(stdout);
    SetTimer(window, kDeadline, kDeadlineMs, nullptr);
    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.wParam == kDeadline)
            return 2;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        // The close box ends the window by the default handling.
        if (!IsWindow(window)) {
            std::printf("CLOSED\n");
            std::fflush(stdout);
            return 0;
        }
    }
    return 6;
}

}

// Fontconfig's caches live as long as the process: no leak of ours.
extern "C" __attribute__((visibility("default"), used)) const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

int main(int argc, char** argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "--headless") == 0)
        return SaveHeadless(argv[2]);
    return ShowOnScreen();
}
