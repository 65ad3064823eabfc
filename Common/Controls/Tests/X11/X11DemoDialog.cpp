// The demonstration window of the skinned controls as a program for the screen test. On
// the display the environment selects it reports its X window and waits
// until it is closed; with --headless it runs on the headless display and
// saves the dialog's client area as a PNG.
//
//   X11DemoDialog                    show, report "READY <window>", exit on close
//   X11DemoDialog --headless OUT.png

#include "../DemoDialog.h"

#include "Platform/Display/HeadlessDisplay.h"
#include "Platform/Display/X11Display.h"
#include "Platform/Ui/DisplayAccess.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr UINT_PTR kGiveUpTimer = 1;

void RunUntilIdle(HWND dialog)
{
    for (int round = 0; round < 50; ++round) {
        MSG msg{};
        bool any = false;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            any = true;
            if (!IsDialogMessageW(dialog, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        if (!any)
            return;
    }
}

int RunHeadless(const char* png)
{
    setenv("ZELL_DISPLAY", "headless", 1);
    ControlsTest::CDemoDialog demo;
    demo.Create(100, 100);
    HWND dialog = demo.m_hWnd;
    auto* display = dynamic_cast<Display::CHeadlessDisplay*>(&Display::TheDisplay());
    if (dialog == nullptr || display == nullptr)
        return 3;
    RunUntilIdle(dialog);
    return display->SaveAsPng(NativeWindowOf(dialog), png) ? 0 : 4;
}

int RunOnScreen()
{
    ControlsTest::CDemoDialog demo;
    demo.Create(100, 100);
    HWND dialog = demo.m_hWnd;
    auto* display = dynamic_cast<Display::CX11Display*>(&Display::TheDisplay());
    if (dialog == nullptr || display == nullptr) {
        std::fprintf(stderr, "no X display\n");
        return 5;
    }
    RunUntilIdle(dialog);
    std::printf("READY %lu\n", display->XWindowOf(NativeWindowOf(dialog)));
    std::fflush(stdout);
    // Bounded: a driver that died must not leave us running.
    SetTimer(dialog, kGiveUpTimer, 60000, nullptr);
    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.hwnd == dialog && msg.message == WM_TIMER && msg.wParam == kGiveUpTimer)
            return 2;
        // The close box comes as Cancel.
        if (msg.hwnd == dialog && msg.message == WM_COMMAND && LOWORD(msg.wParam) == IDCANCEL) {
            std::printf("CLOSED\n");
            std::fflush(stdout);
            demo.DestroyWindow();
            return 0;
        }
        if (!IsDialogMessageW(dialog, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return 6;
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
        return RunHeadless(argv[2]);
    return RunOnScreen();
}
