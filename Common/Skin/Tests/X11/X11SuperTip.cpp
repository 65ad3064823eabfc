// The super tip of the tooltip demonstration as a program for the screen
// comparison:
//   X11SuperTip                  on the X display: prints "READY <X window>"
//                                of the tip once it shows, then "CLOSED"
//                                when its close was asked for
//   X11SuperTip --headless PNG   on the headless display: saves the tip
#include "../SuperTipDemo.h"
#include "X11ScreenProgram.h"

#include "Platform/Base/Clock.h"
#include "Platform/Display/HeadlessDisplay.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Past the tip's initial delay.
constexpr DWORD kShowWaitMs = 3000;

void Dispatch(ControlsTest::CSuperTipDemo& demo, MSG& msg)
{
    if (demo.Wrapper().RelayEvent(&msg))
        return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

// The tip comes up after its delay on the real clock; false when it did not.
// The headless display moves its pointer; on the X server the pointer
// stays where it is and the move is handed to the tooltip.
bool ShowTip(ControlsTest::CSuperTipDemo& demo, Display::CHeadlessDisplay* headless)
{
    if (!demo.Create())
        return false;
    if (headless)
        headless->InjectMouseMove(demo.FieldPoint());
    else
        demo.PointAtField();
    const DWORD start = GetTickCount();
    MSG msg{};
    while (!IsWindowVisible(demo.TipWindow()) && GetTickCount() - start < kShowWaitMs) {
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            Dispatch(demo, msg);
        else
            Sleep(5);
    }
    if (!IsWindowVisible(demo.TipWindow()))
        return false;
    UpdateWindow(demo.TipWindow());
    for (int round = 0; round < 50 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++round)
        Dispatch(demo, msg);
    return true;
}

int SaveHeadless(const char* png)
{
    setenv("ZELL_DISPLAY", "headless", 1);
    ControlsTest::CSuperTipDemo demo;
    auto* headless = dynamic_cast<Display::CHeadlessDisplay*>(&Display::TheDisplay());
    if (headless == nullptr || !ShowTip(demo, headless))
        return 3;
    return headless->SaveAsPng(NativeWindowOf(demo.TipWindow()), png) ? 0 : 4;
}

int ShowOnScreen()
{
    ControlsTest::CSuperTipDemo demo;
    auto* x11 = dynamic_cast<Display::CX11Display*>(&Display::TheDisplay());
    if (x11 == nullptr || !ShowTip(demo, nullptr)) {
        std::fprintf(stderr, "no X display or no tip\n");
        return 5;
    }
    return ControlsTest::ReportAndServe(*x11, demo.TipWindow());
}

}

int main(int argc, char** argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "--headless") == 0)
        return SaveHeadless(argv[2]);
    return ShowOnScreen();
}
