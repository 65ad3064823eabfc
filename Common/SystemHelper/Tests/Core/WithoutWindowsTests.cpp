// The system helpers' core linked alone, without the window layer above it.
#include "Common/SystemHelper/Texts/LanguageHelper.h"
#include "Platform/Base/Tests/DebugOutputFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace {

std::wstring g_shown;
UINT g_type = 0;

bool MapsName(const std::string& library)
{
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line)) {
        if (line.find(library) != std::string::npos)
            return true;
    }
    return false;
}

}

TEST(SystemHelperCore, LinksNoDrawingOrWindowLibraries)
{
    EXPECT_FALSE(MapsName("libcairo"));
    EXPECT_FALSE(MapsName("libpango"));
    EXPECT_FALSE(MapsName("libX11"));
}

TEST(SystemHelperCore, FailuresGoToTheDebugOutputUnlessAHandlerTakesThem)
{
    TestSupport::CDebugOutputFile output;
    EXPECT_FALSE(CLanguageHelper().IsSupported(L"/nonexistent/zell/file.xml", L"de"));
    EXPECT_NE(output.Take().find("CLanguageHelper::IsSupported() failed!"), std::string::npos);

    SetMessageBoxHandler([](const wchar_t* text, UINT type) {
        g_shown = text;
        g_type = type;
    });
    CString designator = L"DEU";
    CString code = L"DEU";
    // Another file: a file that failed once is reported once.
    CLanguageHelper().GetLanguageInfo(L"/nonexistent/zell/other.xml", designator, code);
    SetMessageBoxHandler(nullptr);
    EXPECT_EQ(g_shown.rfind(L"GetLanguageInfo failed!", 0), 0u) << g_shown;
    EXPECT_EQ(g_type, kMessageIconError);
}
