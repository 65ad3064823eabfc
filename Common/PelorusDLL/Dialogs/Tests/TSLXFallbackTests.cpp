// Without the user-interface library: it is not found in the current folder
// even when one lies there, and every operation takes its fall-back.
#include "Common/PelorusDLL/Dialogs/TSLX.h"
#include "Common/PelorusDLL/Dialogs/Tests/TestResourceIds.h"

#include "Platform/Controls/MessageBox.h"
#include "Platform/Shell/Tests/ModalScript.h"
#include "Platform/Ui/SystemMetrics.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <filesystem>
#include <string>

namespace {

class TSLXFallback : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(TSLX::LoadLibrary(), 0); }
    void TearDown() override { TSLX::FreeLibrary(); }
};

// The ids of the buttons the box offers.
std::wstring ButtonIds(HWND box)
{
    std::wstring ids;
    for (int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO})
        if (GetDlgItem(box, id) != nullptr)
            ids += std::to_wstring(id) + L";";
    return ids;
}

}

TEST_F(TSLXFallback, ALibraryInTheCurrentFolderIsNeverTaken)
{
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(ZELL_TSLX_BOUND_DIR);
    ASSERT_TRUE(std::filesystem::exists("libtessel.so"));
    EXPECT_EQ(TSLX::LoadLibrary(), 0);
    EXPECT_FALSE(TSLX::IsLoaded()) << std::filesystem::path(TSLX::OwnFolderLibraryPath()).string();
    std::filesystem::current_path(previous);
    EXPECT_TRUE(TSLX::FreeLibrary());
}

TEST_F(TSLXFallback, TheMainFontIsTheSystemMessageFontAndTheSizesAreZero)
{
    NONCLIENTMETRICSW metrics{};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
    LOGFONTW font{};
    font.lfHeight = 12345;
    font.lfFaceName[0] = L'x';
    TSLX::GetMainLogfont(&font);
    EXPECT_EQ(font.lfHeight, metrics.lfMessageFont.lfHeight);
    EXPECT_EQ(std::wstring(font.lfFaceName), std::wstring(metrics.lfMessageFont.lfFaceName));
    EXPECT_EQ(TSLX::GetTitleFontSize(), 0);
    EXPECT_EQ(TSLX::GetIconSizeButton(), 0);
    TSLX::SetLanguage(1031); // nothing to reach, nothing happens
    TSLX::GetMainLogfont(nullptr);
}

TEST_F(TSLXFallback, ARetryQuestionOffersOnlyOkSoItIsNotAskedAgain)
{
    ShellTest::ModalScript script;
    std::wstring buttons;
    std::wstring text;
    script.Then([&](UiTest::CDialogDriver& box) {
        buttons = ButtonIds(box.Dialog());
        text = ShellTest::ModalScript::BoxText(box.Dialog());
        box.Click(IDOK);
    });
    EXPECT_EQ(TSLX::MessageBox(L"Connection test failed", 0x115, L"", 0), IDOK);
    EXPECT_EQ(buttons, L"1;");
    EXPECT_EQ(text, L"Connection test failed");
}

TEST_F(TSLXFallback, BalloonsAndAboutBecomePlainBoxesAndAResourceNumberShowsItsText)
{
    ShellTest::ModalScript script;
    std::wstring texts;
    std::wstring buttons;
    for (int i = 0; i < 3; ++i)
        script.Then([&](UiTest::CDialogDriver& box) {
            texts += ShellTest::ModalScript::BoxText(box.Dialog()) + L"|";
            buttons += ButtonIds(box.Dialog()) + L"|";
            box.Click(IDOK);
        });
    TSLX::BalloonMsg(L"Address", L"Out of range", nullptr, nullptr, nullptr, 12, TRUE, 0, nullptr, TRUE);
    TSLX::BalloonMsg(MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(PelorusTest::kBalloonText), nullptr, nullptr, nullptr, 12,
                     TRUE, 0, nullptr, TRUE);
    TSLX::AboutDialog(L"corvane", L"1.0", L"", L"", L"", nullptr, -1);
    EXPECT_EQ(texts, L"Out of range|Value out of range|corvane|");
    EXPECT_EQ(buttons, L"1;|1;|1;|");
    EXPECT_EQ(script.Left(), 0u);
}
