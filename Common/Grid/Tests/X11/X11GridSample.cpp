// The page grids as a program for the screen test. On the display the
// environment selects it reports its X window and waits until the window is
// closed; with --headless it runs on the headless display and saves the
// window as a PNG.
//
//   X11GridSample                    show, report "READY <window>", exit on close
//   X11GridSample --headless OUT.png

#include "Common/Grid/Tests/GridSampleWindow.h"

#include "Platform/Display/HeadlessDisplay.h"
#include "Platform/Display/X11Display.h"
#include "Platform/Ui/DisplayAccess.h"
#include "Platform/Ui/Tests/UiTestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr UINT_PTR kGiveUpTimer = 1;

int RunHeadless(const char* out)
{
    setenv("ZELL_DISPLAY", "headless", 1);
    CGridSampleWindow window;
    auto* display = dynamic_cast<Display::CHeadlessDisplay*>(&Display::TheDisplay());
    if (!window.Make(0, 0) || display == nullptr)
        return 3;
    window.UpdateWindow();
    UiTest::Drain();
    const bool saved = display->SaveAsPng(NativeWindowOf(window.m_hWnd), out);
    window.DestroyWindow();
    return saved ? 0 : 4;
}

int RunOnScreen()
{
    CGridSampleWindow window;
    auto* display = dynamic_cast<Display::CX11Display*>(&Display::TheDisplay());
    if (!window.Make(0, 0) || display == nullptr) {
        std::fprintf(stderr, "no X display\n");
        return 5;
    }
    HWND hwnd = window.m_hWnd;
    window.UpdateWindow();
    UiTest::Drain();
    std::printf("READY %lu\n", display->XWindowOf(NativeWindowOf(hwnd)));
    std::fflush(stdout);
    // Bounded: a driver that died must not leave us running.
    ::SetTimer(hwnd, kGiveUpTimer, 60000, nullptr);
    MSG msg{};
    while (::IsWindow(hwnd) && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.hwnd == hwnd && msg.message == WM_TIMER && msg.wParam == kGiveUpTimer)
            return 2;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    std::printf("CLOSED\n");
    std::fflush(stdout);
    return 0;
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
    if (argc > 2 && std::strcmp(argv[1], "--headless") == 0)
        return RunHeadless(argv[2]);
    return RunOnScreen();
}
