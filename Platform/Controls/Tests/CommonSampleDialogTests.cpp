// The sample dialog of the common controls, with its open calendar and its
// balloon, drawn by the headless display against golden pictures.
#include "CommonSampleDialog.h"

#include "Platform/Controls/CommCtrl.h"
#include "Platform/Ui/Tests/DialogDriver.h"
#include "Platform/Ui/Tests/GoldenImage.h"
#include "Platform/Ui/Tests/UiTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>

using namespace ControlTest::CommonSampleIds;

namespace {

struct SampleGuard {
    ControlTest::CommonSample sample = ControlTest::CreateCommonSample();
    ~SampleGuard()
    {
        ControlTest::DestroyCommonSample(sample);
        UiTest::Drain();
    }
};

void ExpectGolden(HWND window, const std::string& name, bool withFrame)
{
    const std::string file = name + "-" + std::to_string(getpid()) + ".png";
    const std::string png = (std::filesystem::temp_directory_path() / file).string();
    const auto& display = UiTest::Headless();
    ASSERT_TRUE(withFrame ? display.SaveWithFrameAsPng(NativeWindowOf(window), png)
                          : display.SaveAsPng(NativeWindowOf(window), png));
    EXPECT_TRUE(UiTest::MatchesGolden(png, name, ZELL_CONTROLS_GOLDEN_DIR));
    std::filesystem::remove(png);
}

}

TEST(CommonSampleDialog, EveryControlStandsInTheStateItsPictureShows)
{
    SampleGuard guard;
    const ControlTest::CommonSample& s = guard.sample;
    ASSERT_NE(s.dialog, nullptr);
    UiTest::CDialogDriver driver(s.dialog);
    driver.PumpUntilIdle();
    HWND list = driver.Control(kList);
    EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 1);
    HDITEMW arrow;
    arrow.mask = HDI_FORMAT;
    SendMessageW(reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0)), HDM_GETITEMW, 0,
                 reinterpret_cast<LPARAM>(&arrow));
    EXPECT_NE(arrow.fmt & HDF_SORTUP, 0);
    EXPECT_GT(SendMessageW(driver.Control(kTabs), TCM_GETROWCOUNT, 0, 0), 1) << "stacked rows";
    EXPECT_EQ(driver.Text(kAddress), L"192.168.1.20");
    EXPECT_EQ(driver.Text(kPicker), L"12.03.2026");
    ASSERT_NE(s.calendar, nullptr);
    EXPECT_TRUE(IsWindowVisible(s.calendar));
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(driver.Control(kPicker), DTM_GETMONTHCAL, 0, 0)), s.calendar);
    ASSERT_NE(s.balloon, nullptr);
    EXPECT_TRUE(IsWindowVisible(s.balloon));
}

TEST(CommonSampleDialog, LooksLikeItsGoldenPictures)
{
    SampleGuard guard;
    const ControlTest::CommonSample& s = guard.sample;
    ASSERT_NE(s.dialog, nullptr);
    ASSERT_NE(s.calendar, nullptr);
    ASSERT_NE(s.balloon, nullptr);
    UiTest::CDialogDriver(s.dialog).PumpUntilIdle();
    ExpectGolden(s.dialog, "CommonSampleDialog", true);
    ExpectGolden(s.calendar, "CommonSampleCalendar", false);
    ExpectGolden(s.balloon, "CommonSampleBalloon", false);
}
