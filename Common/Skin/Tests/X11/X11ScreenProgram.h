#pragma once
// What the programs of the screen comparison share: once their window
// shows, they report it to the driver and serve messages until the window
// is closed. Included by each program's main file only.
#include "Platform/Display/X11Display.h"
#include "Platform/Ui/DisplayAccess.h"

#include <cstdio>

namespace ControlsTest {

// Prints "READY <X window>", then "CLOSED" once the window is gone (0); 2
// when the driver went away and the deadline passed, 6 when the queue ended.
inline int ReportAndServe(Display::CX11Display& x11, HWND window)
{
    constexpr UINT_PTR kDeadline = 9;
    constexpr UINT kDeadlineMs = 60000;
    std::printf("READY %lu\n", x11.XWindowOf(NativeWindowOf(window)));
    std::fflush(stdout);
    SetTimer(nullptr, kDeadline, kDeadlineMs, nullptr);
    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.hwnd == nullptr)
            return 2;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        // The close request ends the window by the default handling.
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
