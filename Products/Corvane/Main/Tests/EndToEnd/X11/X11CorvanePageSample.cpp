// The whole program after reading the simulated coupler, with one page in
// front, as a program for the screen test. On the display the environment
// selects it reports the main dialog's X window and waits until the window
// is closed; with --headless it runs on the headless display and saves the
// dialog as a PNG.
//
//   X11CorvanePageSample PAGE                    show, report "READY <window>", exit on close
//   X11CorvanePageSample PAGE --headless OUT.png

#include "Products/Corvane/Main/Tests/EndToEnd/EndToEndRig.h"

#include "Platform/Display/HeadlessDisplay.h"
#include "Platform/Display/X11Display.h"
#include "Platform/Ui/DisplayAccess.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace Corvane;

using namespace EndToEnd;

namespace {

enum ENExit { kShown = 0, kNoDevice = 2, kNoPage = 3, kNotSaved = 4, kNoDisplay = 5 };

// Brings the page to the front once the start-up read is over, then saves
// the dialog (headless) or reports its window (on screen).
int ShowPage(CCorvaneDlg& dialog, UiTest::CDialogDriver& driver, const std::wstring& page, const char* png)
{
    // What went wrong goes to the test's output: the exit code alone says little.
    if (!WaitForStartupRead(dialog, driver)) {
        std::fprintf(stderr, "the read at start did not end\n");
        return kNoPage;
    }
    if (!VisitPage(dialog, driver, page)) {
        std::fprintf(stderr, "the page %ls did not come to the front (the front page is %ls)\n", page.c_str(),
                     dialog.ActivePageName().c_str());
        return kNoPage;
    }
    ::UpdateWindow(driver.Dialog());
    driver.PumpUntilIdle();
    if (png != nullptr) {
        auto* display = dynamic_cast<Display::CHeadlessDisplay*>(&Display::TheDisplay());
        return display != nullptr && display->SaveAsPng(NativeWindowOf(driver.Dialog()), png) ? kShown : kNotSaved;
    }
    auto* display = dynamic_cast<Display::CX11Display*>(&Display::TheDisplay());
    if (display == nullptr)
        return kNoDisplay;
    std::printf("READY %lu\n", display->XWindowOf(NativeWindowOf(driver.Dialog())));
    std::fflush(stdout);
    return kShown;
}

int Run(const std::wstring& page, const char* png)
{
    ZELL::Controls::RegisterStandardControls();
    Registry::DeleteKeyTree(HKEY_CURRENT_USER, L"Software\\Zell Software\\Corvane");
    DevSim::CDeviceSimulator device;
    device.Model().Update(FillCoupler);
    if (!device.Start())
        return kNoDevice;
    CTempFolder files;
    CEndToEndProgram program(files.Write("corvane.ini", kCapabilities).wstring());
    program.SetArguments({L"/ConnectionType:TCPIP", CString(L"/ConnectionSettings:" + TcpSettings(device.Port())),
                          L"/LANGUAGE:en"});
    int result = kNoPage;
    ShellTest::ModalScript script;
    program.SetDialogObserver([&](CCorvaneDlg& dialog) {
        script.Then([&](UiTest::CDialogDriver& driver) {
            result = ShowPage(dialog, driver, page, png);
            // On screen the window stays until the test closes it.
            if (png != nullptr || result != kShown)
                ::PostMessageW(driver.Dialog(), WM_CLOSE, 0, 0);
        });
    });
    program.InitInstance();
    program.ExitInstance();
    device.Stop();
    return result;
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
    if (argc < 2)
        return kNoPage;
    const bool headless = argc > 3 && std::strcmp(argv[2], "--headless") == 0;
    if (headless)
        setenv("ZELL_DISPLAY", "headless", 1);
    const std::string page = argv[1];
    WSADATA winsock{};
    if (WSAStartup(MAKEWORD(2, 2), &winsock) != 0)
        return kNoDevice;
    const int result = Run(std::wstring(page.begin(), page.end()), headless ? argv[3] : nullptr);
    WSACleanup();
    if (!headless && result == kShown) {
        std::printf("CLOSED\n");
        std::fflush(stdout);
    }
    return result;
}
