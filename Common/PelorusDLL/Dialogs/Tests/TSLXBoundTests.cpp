// The binding with a library beside the program: the exports it has are
// called with the arguments unchanged, a missing one takes its fall-back,
// and freeing leaves every operation on its fall-back again.
#include "Common/PelorusDLL/Dialogs/TSLX.h"

#include "Platform/Base/Module.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using CallsProc = const wchar_t* (*)();

std::wstring FakeCalls()
{
    HMODULE fake = ::GetModuleHandleW(TSLX::OwnFolderLibraryPath().c_str());
    if (fake == nullptr)
        return L"<not loaded>";
    auto calls = reinterpret_cast<CallsProc>(::GetProcAddress(fake, "FakeTesselCalls"));
    return calls ? calls() : L"<no record>";
}

class BoundTSLX : public ::testing::Test {
protected:
    void TearDown() override { TSLX::FreeLibrary(); }
};

}

TEST_F(BoundTSLX, ALibraryMissingOneExportLoadsWithResultZeroAndServesTheOthers)
{
    EXPECT_EQ(TSLX::LoadLibrary(), 0);
    ASSERT_TRUE(TSLX::IsLoaded());

    TSLX::SetLanguage(1031);
    EXPECT_EQ(TSLX::MessageBox(L"Retry?", 0x115, L"", 0), IDRETRY);
    POINT at{3, 4};
    TSLX::BalloonMsg(L"Address", L"Out of range", nullptr, nullptr, nullptr, 12, TRUE, 0, &at, TRUE);
    TSLX::AboutDialog(L"corvane", L"1.0", L"", L"", L"", nullptr, -1);
    EXPECT_EQ(FakeCalls(), L"language(1031);box(Retry?,277,);balloon(Address,Out of range,12);about(corvane,-1);");

    LOGFONTW font{};
    TSLX::GetMainLogfont(&font);
    EXPECT_EQ(font.lfHeight, -77);
    EXPECT_EQ(std::wstring(font.lfFaceName), L"Fake Sans");
    EXPECT_EQ(TSLX::GetTitleFontSize(), 17);
    EXPECT_EQ(TSLX::GetIconSizeButton(), 0); // the export it lacks
}

TEST_F(BoundTSLX, FreeingGoesBackToTheFallBacksAndASecondLoadReplacesTheFirst)
{
    TSLX::LoadLibrary();
    TSLX::LoadLibrary();
    EXPECT_EQ(TSLX::GetTitleFontSize(), 17);
    EXPECT_TRUE(TSLX::FreeLibrary());
    EXPECT_FALSE(TSLX::IsLoaded());
    EXPECT_EQ(TSLX::GetTitleFontSize(), 0);
    // Both loads were released: the library is gone from the process.
    EXPECT_EQ(::GetModuleHandleW(TSLX::OwnFolderLibraryPath().c_str()), nullptr);
    EXPECT_TRUE(TSLX::FreeLibrary());
}
