// The library's dialogs as a program for the screen comparison:
//   X11TesselDialogs --about|--message-box [--headless PNG]
#include "Common/Tessel/Tests/X11/ModalScreenRun.h"
#include "Common/Tessel/TesselExports.h"
#include "Platform/Controls/MessageBox.h"
#include "Platform/Controls/StandardControls.h"

#include <cstring>

// Fontconfig's caches live as long as the process: no leak of ours.
extern "C" __attribute__((visibility("default"), used)) const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

int main(int argc, char** argv)
{
    if (argc < 2 || (std::strcmp(argv[1], "--about") != 0 && std::strcmp(argv[1], "--message-box") != 0))
        return 1;
    ScreenTest::CModalScreenRun run(argc, argv);
    if (!ZELL::Controls::RegisterStandardControls())
        return 3;
    TSLXDLL_SetLanguage(0x0409);
    const bool about = std::strcmp(argv[1], "--about") == 0;
    return run.Run([about] {
        if (about)
            ZELLAboutDialog(L"corvane", L"2.1.0.7", L"2026-11-30", L"Coupler Settings", L"2.1.0", nullptr, -1);
        else
            ZELLMessageBox(L"The settings have changed.\nWrite them to the coupler before you leave?",
                           MB_YESNOCANCEL | MB_ICONQUESTION | MB_ZELL_DONT_ASK_AGAIN, L"Coupler", 0);
    });
}
