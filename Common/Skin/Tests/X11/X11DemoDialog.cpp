// The demonstration window of the skinned controls as a program for the
// screen comparison:
//   X11DemoDialog                  on the X display: prints "READY <X window>",
//                                  then "CLOSED" when the close box was used
//   X11DemoDialog --headless PNG   on the headless display: saves the window
#include "../DemoDialog.h"
#include "X11ScreenProgram.h"

#include "Platform/Display/HeadlessDisplay.h"

#include <cstdlib>
#include <cstring>

namespace {

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
    Settle();
    return ControlsTest::ReportAndServe(*x11, demo.m_hWnd);
}

}

int main(int argc, char** argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "--headless") == 0)
        return SaveHeadless(argv[2]);
    return ShowOnScreen();
}
