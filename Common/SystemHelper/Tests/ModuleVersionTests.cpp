#include "Common/SystemHelper/System/ModuleVersion.h"
#include "Platform/Base/Module.h"
#include "Platform/Base/TextConversion.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

TEST(ModuleVersion, NothingLoadedGivesEmptyTexts)
{
    CModuleVersion version;
    EXPECT_EQ(version.GetValue(L"FileVersion"), L"");
    EXPECT_EQ(version.dwSignature, 0u);
}

TEST(ModuleVersion, ReadsTheProgramsOwnRecord)
{
    CModuleVersion version;
    ASSERT_TRUE(version.Load(nullptr));
    EXPECT_EQ(version.dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(version.dwFileVersionMS, (3u << 16) | 1u);
    EXPECT_EQ(version.dwFileVersionLS, (4u << 16) | 15u);
    EXPECT_EQ(version.dwProductVersionMS, (3u << 16) | 1u);
    EXPECT_EQ(version.dwFileType, 1u);
    EXPECT_EQ(version.GetLanguage(), 1031);
    EXPECT_EQ(version.GetCodePage(), 1200);
    EXPECT_EQ(version.GetValue(L"FileVersion"), L"3.1.4.15");
    EXPECT_EQ(version.GetValue(L"productname"), L"System helper tests");
    EXPECT_EQ(version.GetValue(L"NoSuchValue"), L"");
}

TEST(ModuleVersion, ReadsByPathAndFailsCleanly)
{
    wchar_t self[4096] = {};
    ASSERT_GT(GetModuleFileNameW(nullptr, self, 4096), 0u);
    CModuleVersion version;
    EXPECT_TRUE(version.Load(self));
    EXPECT_EQ(version.GetValue(L"CompanyName"), L"Zell Software");

    // A failed load forgets the earlier record.
    EXPECT_FALSE(version.Load(L"/nonexistent/libnothing.so"));
    EXPECT_EQ(version.GetValue(L"CompanyName"), L"");
    EXPECT_EQ(version.dwSignature, 0u);
    EXPECT_EQ(version.GetCodePage(), 1252);

    const std::filesystem::path text = std::filesystem::temp_directory_path()
        / ("modver-" + std::to_string(::getpid()) + ".so");
    std::ofstream(text) << "not a module";
    EXPECT_FALSE(version.Load(Text::Utf8ToWide(text.string()).c_str()));
    std::filesystem::remove(text);

    EXPECT_FALSE(version.Load(L"libzell-missing-module.so"));
}

TEST(ModuleVersion, LibraryLoadedForTheLookUpIsReleasedOnFailure)
{
    // A system library that nothing else in the program loads carries no
    // record: the load fails and must leave the library as it found it (not
    // loaded through our table).
    CModuleVersion version;
    ASSERT_EQ(GetModuleHandleW(L"libanl.so.1"), nullptr);
    EXPECT_FALSE(version.Load(L"libanl.so.1"));
    EXPECT_EQ(GetModuleHandleW(L"libanl.so.1"), nullptr);
}
