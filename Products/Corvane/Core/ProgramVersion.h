#pragma once
// The program's version and release date. The build defines them once, with
// the release (the top CMakeLists.txt); the main dialog's title, the about box
// and the settings files all show them from here, so they cannot disagree.

#include "Platform/Base/Types.h"

namespace Corvane {

class CProgramVersion {
public:
    // Major, minor and patch ("6.8.2"): the version as the user reads it.
    static LPCWSTR Text();
    // All four parts ("6.8.2.17"): the version of the program's file.
    static LPCWSTR FileVersion();
    // The release's date, "YYYY-MM-DD".
    static LPCWSTR ReleaseDate();
};

}  // namespace Corvane
