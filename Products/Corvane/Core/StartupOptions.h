#pragma once
// The start-up options of the program: what the command line asked for.
// The application object fills them once, before the main dialog exists;
// the dialog and its commands only read them.

#include "Platform/Base/CString.h"

#include <cstdint>

namespace Corvane {

struct tStartupOptions {
    bool StartedByEngineeringTool = false;
    bool ChangeIPMode = false;
    bool ChildMode = false;
    bool NonLatinTest = false;
    CString ParamFile;
    CString ArticleNumber;
    CString FirmwareVersion;
    // Left, top, right and lower edge of the parent window; all zero when
    // none was given.
    std::int32_t ParentWindow[4] = {0, 0, 0, 0};
    CString CurrentIP;
    // The connection settings finally used for a command-line connection;
    // empty without one.
    CString ConnectionSettings;

    bool HasParentWindow() const
    {
        return ParentWindow[0] != 0 || ParentWindow[1] != 0 || ParentWindow[2] != 0 || ParentWindow[3] != 0;
    }
};

// The process-wide options, written by the application's start-up only.
extern tStartupOptions g_StartupOptions;

}  // namespace Corvane
