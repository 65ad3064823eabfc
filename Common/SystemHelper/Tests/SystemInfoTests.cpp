#include "Common/SystemHelper/System/RegistryEx.h"
#include "Common/SystemHelper/Desktop/SystemInfo.h"
#include "Platform/Base/Tests/ScopedEnvironment.h"

#include <gtest/gtest.h>

#include <string>

#include <unistd.h>

using TestSupport::CScopedVariable;

TEST(SystemInfo, BalloonTipsDefaultOnAndRoundTrip)
{
    const TestSupport::CTempConfigHome config;
    EXPECT_TRUE(IsBalloonTipsEnabled());
    // Unwritten counts as off for the previous state.
    EXPECT_FALSE(SetBalloonTipsEnabled(false));
    EXPECT_FALSE(IsBalloonTipsEnabled());
    EXPECT_FALSE(SetBalloonTipsEnabled(true));
    EXPECT_TRUE(IsBalloonTipsEnabled());
    EXPECT_TRUE(SetBalloonTipsEnabled(true));
    const wutils::CRegistryEx explorer(L"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer");
    EXPECT_EQ(explorer.GetDWordValue(L"Advanced", L"EnableBalloonTips", 7), 1u);
    ASSERT_TRUE(explorer.SetDWordValue(L"Advanced", L"EnableBalloonTips", 2));
    EXPECT_TRUE(IsBalloonTipsEnabled());
}

TEST(SystemInfo, LanguageOfLocaleTexts)
{
    EXPECT_EQ(LanguageIdOfLocale("de_DE.UTF-8"), 1031);
    EXPECT_EQ(LanguageIdOfLocale("de_DE@euro"), 1031);
    EXPECT_EQ(LanguageIdOfLocale("de"), 1031);
    EXPECT_EQ(LanguageIdOfLocale("de_CH.UTF-8"), 0x0807);
    EXPECT_EQ(LanguageIdOfLocale("en_US.UTF-8"), 1033);
    EXPECT_EQ(LanguageIdOfLocale("en_GB"), 0x0809);
    EXPECT_EQ(LanguageIdOfLocale("fr_FR.ISO-8859-1"), 1036);
    EXPECT_EQ(LanguageIdOfLocale("fr_CA"), 0x0C0C);
    EXPECT_EQ(LanguageIdOfLocale("C"), 1033);
    EXPECT_EQ(LanguageIdOfLocale("C.UTF-8"), 1033);
    EXPECT_EQ(LanguageIdOfLocale("POSIX"), 1033);
    EXPECT_EQ(LanguageIdOfLocale("ja_JP.UTF-8"), 0x0400);
    EXPECT_EQ(LanguageIdOfLocale("deutsch_of_some_very_long_kind"), 0x0400);
}

TEST(SystemInfo, UserLanguageFollowsTheMessageVariables)
{
    CScopedVariable all("LC_ALL", std::nullopt);
    CScopedVariable messages("LC_MESSAGES", std::nullopt);
    CScopedVariable lang("LANG", "fr_FR.UTF-8");
    EXPECT_EQ(UserDefaultLanguageId(), 1036);
    EXPECT_TRUE(IsSupportedUserLanguage());
    {
        CScopedVariable overriding("LC_MESSAGES", "it_IT.UTF-8");
        EXPECT_EQ(UserDefaultLanguageId(), 0x0400);
        EXPECT_FALSE(IsSupportedUserLanguage());
        CScopedVariable strongest("LC_ALL", "de_AT");
        EXPECT_EQ(UserDefaultLanguageId(), 0x0C07);
        EXPECT_FALSE(IsSupportedUserLanguage());
    }
    CScopedVariable empty("LANG", "");
    EXPECT_EQ(UserDefaultLanguageId(), 1033);
}

TEST(SystemInfo, AdminAndDpi)
{
    EXPECT_EQ(IsUserAdmin(), ::geteuid() == 0);
    EXPECT_EQ(GetScreenDpi(), 96);
}
