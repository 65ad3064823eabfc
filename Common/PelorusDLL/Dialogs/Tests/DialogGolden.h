#pragma once
// Renderings of the dialogs against golden pictures beside the tests, with
// the texts a GUI XML file would give them in English.
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Platform/Ui/Tests/DialogDriver.h"
#include "Platform/Ui/Tests/GoldenImage.h"
#include "Platform/Ui/Tests/UiTestSupport.h"

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

namespace PelorusTest {

inline void ExpectLooksAsGolden(HWND dialog, const std::string& name)
{
    UpdateWindow(dialog);
    UiTest::CDialogDriver(dialog).PumpUntilIdle();
    const std::string png =
        (std::filesystem::temp_directory_path() / ("Pelorus" + name + "-" + std::to_string(getpid()) + ".png")).string();
    ASSERT_TRUE(UiTest::Headless().SaveWithFrameAsPng(NativeWindowOf(dialog), png));
    EXPECT_TRUE(UiTest::MatchesGolden(png, name, ZELL_PELORUS_GOLDEN_DIR));
    std::filesystem::remove(png);
}

inline void UseTexts(const std::vector<std::pair<LPCWSTR, LPCWSTR>>& texts)
{
    for (const auto& [key, text] : texts)
        GetLanguageSupport().SetText(key, text);
}

}
