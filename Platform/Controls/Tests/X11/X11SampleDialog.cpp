// The sample dialog of every control (or, with --sheet, the sample property
// sheet) as a program for the screen test. On the display the environment
// selects it reports its X window and waits until it is closed; with
// --headless it runs on the headless display and saves the window's client
// area as a PNG.
//
//   X11SampleDialog [--sheet]                    show, report "READY <window>", exit on close
//   X11SampleDialog [--sheet] --headless OUT.png

#include "../SampleDialog.h"
#include "../SampleSheet.h"

#include "Platform/Controls/CommCtrl.h"

#include "Platform/Display/HeadlessDisplay.h"
#include "Platform/Display/X11Display.h"
#include "Platform/Ui/DisplayAccess.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr UINT_PTR kGiveUpTimer = 1;

bool g_sheet = false;

HWND CreateSample()
{
    return g_sheet ? ControlTest::CreateSampleSheet() : ControlTest::CreateSampleDialog();
}

// The close box comes as Cancel to the dialog, seen before it is handled;
// the sheet answers it itself and then has no current page.
bool Closed(HWND dialog, const MSG& msg, bool handled)
{
    if (g_sheet)
        return handled && SendMessageW(dialog, PSM_GETCURRENTPAGEHWND, 0, 0) == 0;
    return !handled && msg.hwnd == dialog && msg.message == WM_COMMAND && LOWORD(msg.wParam) == IDCANCEL;
}

int ReportClosed(HWND dialog)
{
    std::printf("CLOSED\n");
    std::fflush(stdout);
    DestroyWindow(dialog);
    return 0;
}

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
    HWND dialog = CreateSample();
    auto* display = dynamic_cast<Display::CHeadlessDisplay*>(&Display::TheDisplay());
    if (dialog == nullptr || display == nullptr)
        return 3;
    RunUntilIdle(dialog);
    return display->SaveAsPng(NativeWindowOf(dialog), png) ? 0 : 4;
}

int RunOnScreen()
{
    HWND dialog = CreateSample();
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
        if (Closed(dialog, msg, false))
            return ReportClosed(dialog);
        if (!IsDialogMessageW(dialog, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (Closed(dialog, msg, true))
            return ReportClosed(dialog);
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
    int next = 1;
    if (argc > next && std::strcmp(argv[next], "--sheet") == 0) {
        g_sheet = true;
        ++next;
    }
    if (argc >= next + 2 && std::strcmp(argv[next], "--headless") == 0)
        return RunHeadless(argv[next + 1]);
    return RunOnScreen();
}
