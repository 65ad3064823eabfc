// The owner-drawn sample pop-up menu as a program for the screen test. On
// the display the environment selects it opens the menu, selects its plain
// item, reports the menu's X window and waits; with --headless it does the
// same on the headless display and saves the menu as a PNG.
//
//   X11PopupMenu                    show, report "READY <window>", wait
//   X11PopupMenu --headless OUT.png

#include "Platform/Ui/Tests/OwnerDrawnMenuSample.h"

#include "Platform/Display/HeadlessDisplay.h"
#include "Platform/Display/X11Display.h"
#include "Platform/Ui/DisplayAccess.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr UINT_PTR kGiveUpTimer = 1;
const char* g_png = nullptr;
int g_result = 1;
int g_idles = 0;

void Report(HWND menuWindow)
{
    const Display::NativeId native = NativeWindowOf(menuWindow);
    if (g_png != nullptr) {
        auto* headless = dynamic_cast<Display::CHeadlessDisplay*>(&Display::TheDisplay());
        g_result = headless != nullptr && headless->SaveAsPng(native, g_png) ? 0 : 4;
        EndMenu();
        return;
    }
    auto* x11 = dynamic_cast<Display::CX11Display*>(&Display::TheDisplay());
    if (x11 == nullptr) {
        std::fprintf(stderr, "no X display\n");
        g_result = 5;
        EndMenu();
        return;
    }
    std::printf("READY %lu\n", x11->XWindowOf(native));
    std::fflush(stdout);
    g_result = 0;
}

LRESULT OwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MEASUREITEM:
        UiTest::MeasureSampleItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_DRAWITEM:
        UiTest::DrawSampleItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_ENTERIDLE:
        // Keys posted, not typed: the same on every display.
        if (++g_idles <= UiTest::kSampleDownPresses)
            PostMessageW(hwnd, WM_KEYDOWN, VK_DOWN, 0);
        else if (g_idles == UiTest::kSampleDownPresses + 1)
            Report(reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_TIMER:
        // Bounded: a driver that died must not leave the menu up for ever.
        if (wParam == kGiveUpTimer)
            EndMenu();
        return 0;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

int Run()
{
    WNDCLASSEXW wc;
    wc.lpfnWndProc = OwnerProc;
    wc.lpszClassName = L"X11PopupMenuOwner";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_WINDOW + 1));
    RegisterClassExW(&wc);
    HWND owner = CreateWindowExW(0, wc.lpszClassName, L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 300, 200, 120,
                                 nullptr, nullptr, nullptr, nullptr);
    if (owner == nullptr)
        return 3;
    SetTimer(owner, kGiveUpTimer, 60000, nullptr);
    HMENU menu = UiTest::CreateOwnerDrawnSampleMenu();
    TrackPopupMenuEx(menu, TPM_RETURNCMD, 60, 60, owner, nullptr);
    DestroyMenu(menu);
    DestroyWindow(owner);
    return g_result;
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
    if (argc >= 3 && std::strcmp(argv[1], "--headless") == 0) {
        setenv("ZELL_DISPLAY", "headless", 1);
        g_png = argv[2];
    }
    return Run();
}
