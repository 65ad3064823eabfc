// The sample dialogs as a program for the screen test. On the display the
// environment selects it reports its X windows and waits until the dialog is
// closed; with --headless it runs on the headless display and saves the
// client areas as PNGs. --common shows the common controls' sample, whose
// open calendar and balloon are windows of their own; --sheet the sample
// property sheet.
//
//   X11SampleDialog [--sheet]          show, report "READY <window>", exit on close
//   X11SampleDialog [--sheet] --headless OUT.png
//   X11SampleDialog --common           report "READY <dialog> <calendar> <balloon>"
//   X11SampleDialog --common --headless PREFIX   PREFIX-dialog.png, -calendar.png, -balloon.png

#include "../CommonSampleDialog.h"
#include "../SampleDialog.h"
#include "../SampleSheet.h"

#include "Platform/Controls/CommCtrl.h"

#include "Platform/Display/HeadlessDisplay.h"
#include "Platform/Display/X11Display.h"
#include "Platform/Ui/DisplayAccess.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr UINT_PTR kGiveUpTimer = 1;

enum class Sample { Controls, Common, Sheet };

// The close box comes as Cancel to the dialog, seen before it is handled;
// the sheet answers it itself and then has no current page.
bool Closed(Sample sample, HWND dialog, const MSG& msg, bool handled)
{
    if (sample == Sample::Sheet)
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

// The windows a sample shows, the dialog first.
std::vector<HWND> ShowSample(Sample sample)
{
    if (sample == Sample::Sheet)
        return {ControlTest::CreateSampleSheet()};
    if (sample == Sample::Controls)
        return {ControlTest::CreateSampleDialog()};
    const ControlTest::CommonSample common = ControlTest::CreateCommonSample();
    return {common.dialog, common.calendar, common.balloon};
}

bool AllThere(const std::vector<HWND>& windows)
{
    for (HWND hwnd : windows)
        if (hwnd == nullptr)
            return false;
    return true;
}

// On a real screen the pop-ups would cover the dialog in its screenshot, and
// the balloon the calendar; what each one shows does not depend on where it
// stands, so they move beside the dialog, one under the other.
void SpreadApart(const std::vector<HWND>& windows)
{
    RECT dialog{};
    GetWindowRect(windows.front(), &dialog);
    int top = dialog.top;
    for (std::size_t i = 1; i < windows.size(); ++i) {
        RECT r{};
        GetWindowRect(windows[i], &r);
        SetWindowPos(windows[i], nullptr, dialog.right + 20, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        top += r.bottom - r.top + 20;
    }
}

int RunHeadless(const char* out, Sample sample)
{
    setenv("ZELL_DISPLAY", "headless", 1);
    const std::vector<HWND> windows = ShowSample(sample);
    auto* display = dynamic_cast<Display::CHeadlessDisplay*>(&Display::TheDisplay());
    if (!AllThere(windows) || display == nullptr)
        return 3;
    RunUntilIdle(windows.front());
    if (sample != Sample::Common)
        return display->SaveAsPng(NativeWindowOf(windows.front()), out) ? 0 : 4;
    const char* names[] = {"-dialog.png", "-calendar.png", "-balloon.png"};
    for (std::size_t i = 0; i < windows.size(); ++i)
        if (!display->SaveAsPng(NativeWindowOf(windows[i]), std::string(out) + names[i]))
            return 4;
    return 0;
}

int RunOnScreen(Sample sample)
{
    const std::vector<HWND> windows = ShowSample(sample);
    auto* display = dynamic_cast<Display::CX11Display*>(&Display::TheDisplay());
    if (!AllThere(windows) || display == nullptr) {
        std::fprintf(stderr, "no X display\n");
        return 5;
    }
    HWND dialog = windows.front();
    SpreadApart(windows);
    RunUntilIdle(dialog);
    std::printf("READY");
    for (HWND hwnd : windows)
        std::printf(" %lu", display->XWindowOf(NativeWindowOf(hwnd)));
    std::printf("\n");
    std::fflush(stdout);
    // Bounded: a driver that died must not leave us running.
    SetTimer(dialog, kGiveUpTimer, 60000, nullptr);
    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.hwnd == dialog && msg.message == WM_TIMER && msg.wParam == kGiveUpTimer)
            return 2;
        if (Closed(sample, dialog, msg, false))
            return ReportClosed(dialog);
        if (!IsDialogMessageW(dialog, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (Closed(sample, dialog, msg, true))
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
    Sample sample = Sample::Controls;
    if (argc > next && std::strcmp(argv[next], "--common") == 0) {
        sample = Sample::Common;
        ++next;
    } else if (argc > next && std::strcmp(argv[next], "--sheet") == 0) {
        sample = Sample::Sheet;
        ++next;
    }
    if (argc > next + 1 && std::strcmp(argv[next], "--headless") == 0)
        return RunHeadless(argv[next + 1], sample);
    return RunOnScreen(sample);
}
