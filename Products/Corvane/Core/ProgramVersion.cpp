#include "Products/Corvane/Core/ProgramVersion.h"

// CORVANE_VERSION_TEXT, CORVANE_FILE_VERSION and CORVANE_RELEASE_DATE come
// from the build, for this file alone (Core/CMakeLists.txt).

namespace Corvane {

LPCWSTR CProgramVersion::Text()
{
    return L"" CORVANE_VERSION_TEXT;
}

LPCWSTR CProgramVersion::FileVersion()
{
    return L"" CORVANE_FILE_VERSION;
}

LPCWSTR CProgramVersion::ReleaseDate()
{
    return L"" CORVANE_RELEASE_DATE;
}

}  // namespace Corvane
