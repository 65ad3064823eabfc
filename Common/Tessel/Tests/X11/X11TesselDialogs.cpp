// The library's dialogs as a program for the screen comparison:
//   X11TesselDialogs --about|--message-box                 on the X display:
//       prints "READY <X window>" once the dialog shows, then "CLOSED" when
//       its close box ended it
//   X11TesselDialogs --about|--message-box --headless PNG  on the headless
//       display: saves the dialog and ends it
#include "Common/Tessel/TesselExports.h"
#include "Platform/Controls/MessageBox.h"
#include "Platform/Controls/StandardControls.h"
#include "Platform/Display/HeadlessDisplay.h"
#include "Platform/Display/X11Display.h"
#include "Platform/Ui/DisplayAccess.h"
#include "Platform/Ui/Tests/UiTestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr UINT_PTR kShownTimer = 31;
constexpr UINT_PTR kDeadlineTimer = 32;
constexpr UINT kDeadlineMs = 60000;

std::string g_headlessPng;
int g_result = 0;
bool g_reported = false;

void SaveAndClose(HWND dialog)
{
    auto* headless = dynamic_cast<Display::CHeadlessDisplay*>(&Display::TheDisplay());
    g_result = headless != nullptr && headless->SaveAsPng(NativeWindowOf(dialog), g_headlessPng) ? 0 : 4;
    PostMessageW(dialog, WM_CLOSE, 0, 0);
}

void Report(HWND dialog)
{
    auto* x11 = dynamic_cast<Display::CX11Display*>(&Display::TheDisplay());
    if (x11 == nullptr) {
        std::fprintf(stderr, "no X display\n");
        g_result = 5;
        PostMessageW(dialog, WM_CLOSE, 0, 0);
        return;
    }
    std::printf("READY %lu\n", x11->XWindowOf(NativeWindowOf(dialog)));
    std::fflush(stdout);
    g_reported = true;
}

// Runs inside the dialog's own loop, once it has painted.
void OnTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    const HWND dialog = GetActiveWindow();
    if (id == kDeadlineTimer) {
        g_result = 2;
        PostMessageW(dialog, WM_CLOSE, 0, 0);
        return;
    }
    UiTest::Drain();
    if (g_headlessPng.empty())
        Report(dialog);
    else
        SaveAndClose(dialog);
}

void ShowDialog(bool about)
{
    if (about) {
        ZELLAboutDialog(L"corvane", L"2.1.0.7", L"2026-11-30", L"Coupler Settings", L"2.1.0", nullptr, -1);
        return;
    }
    ZELLMessageBox(L"The settings have changed.\nWrite them to the coupler before you leave?",
                   MB_YESNOCANCEL | MB_ICONQUESTION | MB_ZELL_DONT_ASK_AGAIN, L"Coupler", 0);
}

}

// Fontconfig's caches live as long as the process: no leak of ours.
extern "C" __attribute__((visibility("default"), used)) const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

int main(int argc, char** argv)
{
    if (argc < 2 || (std::strcmp(argv[1], "--about") != 0 && std::strcmp(argv[1], "--message-box") != 0))
        return 1;
    if (argc >= 4 && std::strcmp(argv[2], "--headless") == 0) {
        setenv("ZELL_DISPLAY", "headless", 1);
        g_headlessPng = argv[3];
    }
    if (!ZELL::Controls::RegisterStandardControls())
        return 3;
    TSLXDLL_SetLanguage(0x0409);
    SetTimer(nullptr, kShownTimer, 200, &OnTimer);
    SetTimer(nullptr, kDeadlineTimer, kDeadlineMs, &OnTimer);
    ShowDialog(std::strcmp(argv[1], "--about") == 0);
    if (g_reported && g_result == 0) {
        std::printf("CLOSED\n");
        std::fflush(stdout);
    }
    return g_result;
}
