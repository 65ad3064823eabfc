#pragma once
// What the application element of a settings file tells about the program
// that wrote it.

#include "Platform/Base/CString.h"
#include "Products/Corvane/Core/ProgramVersion.h"

#include <ctime>

namespace Corvane {

struct CSettingsFileHeader {
    CString ApplicationName;
    CString ApplicationVersion = CProgramVersion::Text();
    CString ApplicationDate = CProgramVersion::ReleaseDate();
    CString ApplicationLanguage;
    // Local time as "%Y-%m-%d (%H:%M:%S)".
    CString SavedOn;

    static CString FormatSavedOn(std::time_t time);
};

}  // namespace Corvane
