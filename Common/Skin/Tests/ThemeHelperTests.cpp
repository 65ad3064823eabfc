#include "Common/Skin/Support/ThemeHelper.h"

#include "Common/Skin/Tests/TestThemeHelper.h"
#include "Common/Skin/Tests/DrawingTestSupport.h"
#include "Platform/Ui/WinUser.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <string>

using namespace ZELL::Skin;

using ControlsTest::CCanvas;

TEST(ThemeHelper, WithoutTheThemeLibraryEveryCallAnswersNoTheme)
{
    CThemeHelper theme;
    EXPECT_FALSE(theme.IsAppThemed());
    EXPECT_FALSE(theme.IsThemeActive());
    EXPECT_EQ(theme.OpenThemeData(nullptr, L"BUTTON"), nullptr);
    EXPECT_EQ(theme.CloseThemeData(nullptr), E_FAIL);
    CCanvas canvas(8, 8);
    const RECT all{0, 0, 8, 8};
    EXPECT_EQ(theme.DrawThemeBackground(nullptr, nullptr, canvas.Dc(), 1, 1, &all, nullptr), E_FAIL);
    EXPECT_EQ(theme.DrawThemeText(nullptr, canvas.Dc(), 1, 1, L"x", 1, 0, 0, &all), E_FAIL);
    // Nothing was drawn by a fall-back.
    EXPECT_EQ(canvas.At(4, 4), RGB(255, 255, 255));
}

TEST(ThemeHelper, APresentThemeIsCalledAndTheParentBackgroundOnlyWithAWindow)
{
    ControlsTest::CTestThemeHelper theme;
    ASSERT_TRUE(theme.Loaded());
    EXPECT_TRUE(theme.IsAppThemed());
    EXPECT_TRUE(theme.IsThemeActive());
    HTHEME button = theme.OpenThemeData(nullptr, L"BUTTON");
    ASSERT_NE(button, nullptr);
    CCanvas canvas(8, 8);
    const RECT all{0, 0, 8, 8};
    EXPECT_EQ(theme.DrawThemeBackground(button, nullptr, canvas.Dc(), 1, 3, &all, nullptr), S_OK);
    EXPECT_EQ(canvas.At(4, 4), RGB(1, 120, 0x10));
    EXPECT_EQ(theme.ParentBackgrounds(), 0);

    HWND window = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(theme.DrawThemeBackground(button, window, canvas.Dc(), 1, 2, &all, nullptr), S_OK);
    EXPECT_EQ(theme.ParentBackgrounds(), 1);
    DestroyWindow(window);
    EXPECT_EQ(theme.CloseThemeData(button), S_OK);
    EXPECT_EQ(theme.OpenCount(), 0);
    // A function the library lacks still falls back.
    EXPECT_EQ(theme.DrawThemeText(button, canvas.Dc(), 1, 1, L"x", 1, 0, 0, &all), E_FAIL);
}

// A working theme library planted under the theme library's name beside the
// program and in the current folder is never loaded.
TEST(ThemeHelper, APlantedThemeLibraryIsNotLoaded)
{
    namespace fs = std::filesystem;
    char self[PATH_MAX] = {};
    ASSERT_GT(readlink("/proc/self/exe", self, sizeof self - 1), 0);
    const fs::path folder = fs::path(self).parent_path();
    const fs::path planted = folder / "UxTheme.dll";
    fs::copy_file(ZELL_TEST_THEME_LIBRARY, planted, fs::copy_options::overwrite_existing);
    const fs::path previous = fs::current_path();
    fs::current_path(folder);
    {
        CThemeHelper theme;
        EXPECT_FALSE(theme.IsAppThemed());
        EXPECT_FALSE(ModuleThemeHelper().IsThemeActive());
    }
    fs::current_path(previous);
    void* loaded = dlopen(planted.c_str(), RTLD_LAZY | RTLD_NOLOAD);
    EXPECT_EQ(loaded, nullptr);
    if (loaded)
        dlclose(loaded);
    fs::remove(planted);
}
