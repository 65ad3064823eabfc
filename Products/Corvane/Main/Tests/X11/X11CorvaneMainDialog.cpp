// The program's main dialog after it read the simulated device, as a
// program for the screen comparison:
//   X11CorvaneMainDialog --after-read [--headless PNG]
// The device listens on 127.0.0.1 inside this process and is named on the
// command line, so the first show reads it; the picture is taken once the
// read is done. The profile lives in a folder of its own for the run.
#include "Common/Tessel/Tests/X11/ModalScreenRun.h"

#include "Platform/Base/Tests/ScopedEnvironment.h"
#include "Platform/Controls/StandardControls.h"
#include "Platform/Net/WinSock.h"
#include "Products/Corvane/Main/Tests/SourceTreeProgram.h"
#include "Products/Corvane/MainDialog/CorvaneDlg.h"
#include "Products/Corvane/Workers/Tests/WorkerRig.h"
#include "Products/Corvane/Workers/WorkerBusyFlag.h"
#include "Tests/DeviceSimulator/DeviceSimulator.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

using namespace Corvane;

namespace {

int RunAfterRead(ScreenTest::CModalScreenRun& run, const DevSim::CDeviceSimulator& device)
{
    CSourceTreeProgram program;
    const std::wstring settings = L"<?xml version='1.0'?><TCPIP IP-Address='127.0.0.1' ServicePort='" +
                                  std::to_wstring(device.Port()) + L"' ConnectTimeoutSeconds='2' />";
    program.SetArguments({L"/ConnectionType:TCPIP", L"/ConnectionSettings:" + settings, L"/LANGUAGE:en"});
    CCorvaneDlg* shown = nullptr;
    program.SetDialogObserver([&shown](CCorvaneDlg& dialog) { shown = &dialog; });
    // The picture waits for the read of the first show.
    return run.Run(
        [&program] {
            program.InitInstance();
            program.ExitInstance();
        },
                   [&shown](HWND) {
                       return shown != nullptr && !GetWorkerBusyFlag().IsSet() && !shown->Data().ArticleNo.IsEmpty();
                   });
}

}

// Fontconfig's caches live as long as the process: no leak of ours.
extern "C" __attribute__((visibility("default"), used)) const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

int main(int argc, char** argv)
{
    if (argc < 2 || std::strcmp(argv[1], "--after-read") != 0)
        return 1;
    // A profile folder that goes with the run.
    const TestSupport::CTempConfigHome profile("corvane-screen");
    ScreenTest::CModalScreenRun run(argc, argv);
    if (!ZELL::Controls::RegisterStandardControls())
        return 3;
    WSADATA winsock{};
    if (WSAStartup(MAKEWORD(2, 2), &winsock) != 0)
        return 3;
    DevSim::CDeviceSimulator device;
    device.Model().Update(WorkerTest::FillDevice);
    if (!device.Start())
        return 3;
    const int result = RunAfterRead(run, device);
    device.Stop();
    WSACleanup();
    return result;
}
