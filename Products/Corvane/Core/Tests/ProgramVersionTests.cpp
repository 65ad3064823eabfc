#include "Products/Corvane/Core/ProgramVersion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace Corvane {

// Every place that shows the version reads it here; this holds it to the
// release the build defines.
TEST(ProgramVersion, ComesFromTheReleaseTheBuildDefines)
{
    const std::wstring fileVersion = CProgramVersion::FileVersion();
    EXPECT_EQ(fileVersion, L"" CORVANE_TEST_PROJECT_VERSION);
    EXPECT_EQ(std::wstring(CProgramVersion::ReleaseDate()), L"" CORVANE_TEST_RELEASE_DATE);
    // The user reads major, minor and patch: the file version without its last part.
    const std::wstring text = CProgramVersion::Text();
    EXPECT_EQ(fileVersion.substr(0, fileVersion.rfind(L'.')), text);
    EXPECT_EQ(std::count(text.begin(), text.end(), L'.'), 2);
}

}  // namespace Corvane
