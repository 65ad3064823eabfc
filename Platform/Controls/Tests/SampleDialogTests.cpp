// The sample dialog of every control, made from its template and drawn by
// the headless display with its frame.
#include "SampleDialog.h"

#include "Platform/Controls/ComboStyles.h"
#include "Platform/Controls/CommCtrl.h"
#include "Platform/Controls/ControlStyles.h"
#include "Platform/Controls/EditStyles.h"
#include "Platform/Controls/ListControlStyles.h"
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

LRESULT Send(const CDialogDriver& driver, int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return SendMessageW(driver.Control(id), message, wParam, lParam);
}

bool IsCombo(int id)
{
    return id == kComboList || id == kComboEdit || id == kComboDisabled;
}

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
}

TEST(SampleDialog, EditsListsCombosAndScrollBarsStandInTheirStates)
{
    DialogGuard dialog;
    ASSERT_NE(dialog.hwnd, nullptr);
    CDialogDriver driver(dialog.hwnd);
    driver.PumpUntilIdle();
    EXPECT_EQ(driver.FocusId(), kCheckOn) << "the new controls leave the focus where it was";
    EXPECT_EQ(driver.Text(kEditPlain), L"Plain text");
    EXPECT_EQ(Send(driver, kEditSelected, EM_GETSEL), MAKELRESULT(0, 8));
    EXPECT_NE(GetWindowLongW(driver.Control(kEditSelected), GWL_STYLE) & ES_NOHIDESEL, 0u);
    EXPECT_EQ(driver.Text(kEditPassword), L"secret");
    EXPECT_NE(Send(driver, kEditPassword, EM_GETPASSWORDCHAR), 0);
    EXPECT_NE(GetWindowLongW(driver.Control(kEditReadOnly), GWL_STYLE) & ES_READONLY, 0u);
    EXPECT_FALSE(driver.IsEnabled(kEditDisabled));
    EXPECT_EQ(Send(driver, kList, LB_GETCOUNT), 4);
    EXPECT_EQ(Send(driver, kList, LB_GETCURSEL), 1);
    EXPECT_EQ(Send(driver, kListDisabled, LB_GETCURSEL), 2);
    EXPECT_FALSE(driver.IsEnabled(kListDisabled));
    for (int id : {kComboList, kComboEdit, kComboDisabled}) {
        EXPECT_EQ(Send(driver, id, CB_GETCOUNT), 3) << id;
        EXPECT_FALSE(Send(driver, id, CB_GETDROPPEDSTATE)) << id;
    }
    EXPECT_EQ(Send(driver, kComboList, CB_GETCURSEL), 0);
    EXPECT_EQ(driver.Text(kComboList), L"Ethernet");
    EXPECT_EQ(driver.Text(kComboEdit), L"Typed text");
    EXPECT_FALSE(driver.IsEnabled(kComboDisabled));
    EXPECT_EQ(GetScrollPos(driver.Control(kScrollHorz), SB_CTL), 30);
    EXPECT_EQ(GetScrollPos(driver.Control(kScrollVert), SB_CTL), 50);
    EXPECT_EQ(GetScrollPos(driver.Control(kScrollHorzDisabled), SB_CTL), 60);
    EXPECT_FALSE(driver.IsEnabled(kScrollHorzDisabled));
}

TEST(SampleDialog, EveryItemLandsOnThePixelsItsDialogUnitsMapTo)
{
    DialogGuard dialog;
    ASSERT_NE(dialog.hwnd, nullptr);
    CDialogDriver driver(dialog.hwnd);
    const Ui::CDialogTemplate dt = ControlTest::SampleDialogTemplate();
    int checked = 0;
    for (const Ui::DialogItemTemplate& item : dt.items) {
        const int id = static_cast<int>(item.id);
        // Labels share one id; the spin moved onto its buddy and took its right edge.
        if (id == -1 || id == kSpin || id == kBuddy)
            continue;
        RECT expected{item.x, item.y, item.x + item.cx, item.y + item.cy};
        MapDialogRect(dialog.hwnd, &expected);
        RECT actual{};
        GetWindowRect(driver.Control(id), &actual);
        MapWindowPoints(nullptr, dialog.hwnd, reinterpret_cast<POINT*>(&actual), 2);
        EXPECT_EQ(actual.left, expected.left) << id;
        EXPECT_EQ(actual.top, expected.top) << id;
        EXPECT_EQ(actual.right, expected.right) << id;
        // A closed combo is as tall as its field; the template's height is its list's.
        if (IsCombo(id))
            EXPECT_LT(actual.bottom, expected.bottom) << id;
        else
            EXPECT_EQ(actual.bottom, expected.bottom) << id;
        ++checked;
    }
    EXPECT_GT(checked, 20);
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
