#pragma once
// What the application element of a settings file tells about the program
// that wrote it.

#include "Platform/Base/CString.h"

#include <ctime>

namespace Corvane {

struct CSettingsFileHeader {
    CString ApplicationName;
    CString ApplicationVersion = L"6.8.2";
    CString ApplicationDate = L"2016-12-02";
    CString ApplicationLanguage;
    // Local time as "%Y-%m-%d (%H:%M:%S)".
    CString SavedOn;

    static CString FormatSavedOn(std::time_t time);
};

}  // namespace Corvane
