// The sample dialog of every control, made from its template and drawn by
// the headless display with its frame.
#include "SampleDialog.h"

#include "Platform/Controls/CommCtrl.h"
#include "Platform/Controls/ControlStyles.h"
#include "Platform/Ui/Tests/DialogDriver.h"
#include "Platform/Ui/Tests/GoldenImage.h"
#include "Platform/Ui/Tests/UiTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>

using namespace ControlTest::SampleIds;
using UiTest::CDialogDriver;

namespace {

struct DialogGuard {
    HWND hwnd = ControlTest::CreateSampleDialog();
    ~DialogGuard()
    {
        if (hwnd != nullptr && IsWindow(hwnd))
            DestroyWindow(hwnd);
        UiTest::Drain();
    }
};

}

TEST(SampleDialog, EveryControlStandsInItsStateWhereTheTemplatePutsIt)
{
    DialogGuard dialog;
    ASSERT_NE(dialog.hwnd, nullptr);
    CDialogDriver driver(dialog.hwnd);
    driver.PumpUntilIdle();
    EXPECT_EQ(driver.FocusId(), kCheckOn);
    EXPECT_TRUE(driver.IsChecked(kCheckOn));
    EXPECT_FALSE(driver.IsChecked(kCheckOff));
    EXPECT_EQ(IsDlgButtonChecked(dialog.hwnd, kThreeState), BST_INDETERMINATE);
    EXPECT_TRUE(driver.IsChecked(kRadioSecond));
    EXPECT_FALSE(driver.IsChecked(kRadioFirst));
    EXPECT_FALSE(driver.IsEnabled(kPushDisabled));
    EXPECT_NE(SendMessageW(driver.Control(kPushPressed), BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
    EXPECT_EQ(driver.Text(kBuddy), L"42");
    // The auto buddy put the spin at the right edge of its label.
    RECT buddy{};
    RECT spin{};
    GetWindowRect(driver.Control(kBuddy), &buddy);
    GetWindowRect(driver.Control(kSpin), &spin);
    EXPECT_EQ(spin.top, buddy.top);
    EXPECT_EQ(spin.bottom, buddy.bottom);
    EXPECT_GT(spin.right - spin.left, 8);
    EXPECT_LE(spin.left, buddy.right);
    EXPECT_GE(spin.right, buddy.right);
    // Every item lands on the pixels its dialog units map to.
    const Ui::CDialogTemplate dt = ControlTest::SampleDialogTemplate();
    for (const Ui::DialogItemTemplate& item : dt.items) {
        if (static_cast<int>(item.id) != kCheckOn && static_cast<int>(item.id) != kPushDisabled)
            continue;
        RECT expected{item.x, item.y, item.x + item.cx, item.y + item.cy};
        MapDialogRect(dialog.hwnd, &expected);
        RECT actual{};
        GetWindowRect(driver.Control(static_cast<int>(item.id)), &actual);
        MapWindowPoints(nullptr, dialog.hwnd, reinterpret_cast<POINT*>(&actual), 2);
        EXPECT_EQ(actual.left, expected.left);
        EXPECT_EQ(actual.right, expected.right);
        EXPECT_EQ(actual.bottom, expected.bottom);
    }
}

TEST(SampleDialog, LooksLikeItsGoldenPicture)
{
    DialogGuard dialog;
    ASSERT_NE(dialog.hwnd, nullptr);
    CDialogDriver driver(dialog.hwnd);
    driver.PumpUntilIdle();
    const std::string file = "SampleDialog-" + std::to_string(getpid()) + ".png";
    const std::string png = (std::filesystem::temp_directory_path() / file).string();
    ASSERT_TRUE(UiTest::Headless().SaveWithFrameAsPng(NativeWindowOf(dialog.hwnd), png));
    EXPECT_TRUE(UiTest::MatchesGolden(png, "SampleDialog", ZELL_CONTROLS_GOLDEN_DIR));
    std::filesystem::remove(png);
}
