#pragma once
// A modal dialog as a program for the screen comparison (header only, so
// that other deliverables' screen programs use it too):
//   PROGRAM OPTION                 on the X display: prints "READY <X window>"
//                                  once the dialog shows, then "CLOSED" when
//                                  its close box ended it
//   PROGRAM OPTION --headless PNG  on the headless display: saves the dialog
//                                  and ends it
#include "Platform/Display/HeadlessDisplay.h"
#include "Platform/Display/X11Display.h"
#include "Platform/Ui/DisplayAccess.h"
#include "Platform/Ui/Tests/UiTestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

namespace ScreenTest {

class CModalScreenRun {
public:
    // Reads "--headless PNG" after the option; the display follows from it.
    CModalScreenRun(int argc, char** argv)
    {
        if (argc >= 4 && std::strcmp(argv[2], "--headless") == 0) {
            setenv("ZELL_DISPLAY", "headless", 1);
            s_headlessPng = argv[3];
        }
    }

    // Shows the dialog; the run is over when it has been closed. `ready` is
    // asked while the dialog is up until it lets the picture be taken.
    int Run(const std::function<void()>& showModal, std::function<bool(HWND)> ready = {})
    {
        s_ready = std::move(ready);
        SetTimer(nullptr, kShownTimer, 200, &OnTimer);
        SetTimer(nullptr, kDeadlineTimer, kDeadlineMs, &OnTimer);
        showModal();
        if (s_reported && s_result == 0) {
            std::printf("CLOSED\n");
            std::fflush(stdout);
        }
        return s_result;
    }

private:
    static constexpr UINT_PTR kShownTimer = 31;
    static constexpr UINT_PTR kDeadlineTimer = 32;
    static constexpr UINT kDeadlineMs = 60000;

    static void End(HWND dialog, int result)
    {
        s_result = result;
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    }

    static void SaveAndClose(HWND dialog)
    {
        auto* headless = dynamic_cast<Display::CHeadlessDisplay*>(&Display::TheDisplay());
        End(dialog, headless != nullptr && headless->SaveAsPng(NativeWindowOf(dialog), s_headlessPng) ? 0 : 4);
    }

    static void Report(HWND dialog)
    {
        auto* x11 = dynamic_cast<Display::CX11Display*>(&Display::TheDisplay());
        if (x11 == nullptr) {
            std::fprintf(stderr, "no X display\n");
            End(dialog, 5);
            return;
        }
        std::printf("READY %lu\n", x11->XWindowOf(NativeWindowOf(dialog)));
        std::fflush(stdout);
        s_reported = true;
    }

    // Runs inside the dialog's own loop, once it has painted.
    static void OnTimer(HWND, UINT, UINT_PTR id, DWORD)
    {
        const HWND dialog = GetActiveWindow();
        if (id == kDeadlineTimer) {
            KillTimer(nullptr, id);
            End(dialog, 2);
            return;
        }
        if (s_ready && !s_ready(dialog))
            return;
        KillTimer(nullptr, id);
        UiTest::Drain();
        if (s_headlessPng.empty())
            Report(dialog);
        else
            SaveAndClose(dialog);
    }

    static inline std::string s_headlessPng;
    static inline std::function<bool(HWND)> s_ready;
    static inline int s_result = 0;
    static inline bool s_reported = false;
};

}
