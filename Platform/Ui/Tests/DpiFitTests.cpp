// The scale a program is drawn at: a dialog's layout in dialog units through
// its font at the resolution, and the step down where it would not fit the
// screen's work area.
#include "Platform/Ui/DpiFit.h"
#include "Platform/Ui/WinUser.h"

#include <gtest/gtest.h>

namespace {

// The size of the program's main dialog: 440 x 354 dialog units in 8-point DejaVu Sans.
Ui::CDialogTemplate MainDialogLike()
{
    Ui::CDialogTemplate dialog;
    dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT;
    dialog.cx = 440;
    dialog.cy = 354;
    dialog.pointSize = 8;
    dialog.faceName = L"DejaVu Sans";
    return dialog;
}

constexpr Display::FrameExtents kFrame{4, 26, 4, 4};

}

// Dialog units follow the font, and the font the resolution: the layout
// grows with the scale as its text does. Font heights and line heights are
// whole pixels, so the proportion holds within some percent; the frame
// belongs to the display and stays.
TEST(DpiFit, ADialogsLayoutGrowsWithTheResolution)
{
    const Ui::CDialogTemplate dialog = MainDialogLike();
    const SIZE at96 = Ui::DialogWindowSizeAt(dialog, 96, {});
    ASSERT_GT(at96.cx, 600);
    ASSERT_GT(at96.cy, 400);
    const struct {
        int dpi;
        double scale;
    } cases[] = {{120, 1.25}, {144, 1.5}, {192, 2.0}, {288, 3.0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dpi);
        const SIZE size = Ui::DialogWindowSizeAt(dialog, c.dpi, {});
        EXPECT_NEAR(size.cx, at96.cx * c.scale, at96.cx * c.scale * 0.15);
        EXPECT_NEAR(size.cy, at96.cy * c.scale, at96.cy * c.scale * 0.15);
        const SIZE framed = Ui::DialogWindowSizeAt(dialog, c.dpi, kFrame);
        EXPECT_EQ(framed.cx, size.cx + 8);
        EXPECT_EQ(framed.cy, size.cy + 30);
    }
}

// A desktop scale at which the window would hang off the work area gives way
// to the largest step at which it fits; where it fits, the desktop's own
// stands, also between the steps.
TEST(DpiFit, TheLargestScaleAtWhichTheWindowFitsTheWorkArea)
{
    const Ui::CDialogTemplate dialog = MainDialogLike();
    const auto sizeAt = [&](int dpi) { return Ui::DialogWindowSizeAt(dialog, dpi, kFrame); };
    const struct {
        int desktopDpi;
        SIZE workArea;
        int dpi;
    } cases[] = {
        {192, {1920, 1080}, 144},  // a laptop at 200 %: the main window would be 1106 high
        {192, {1920, 1052}, 144},  // with a panel
        {192, {1920, 1200}, 192},
        {192, {3840, 2160}, 192},
        {168, {1920, 1080}, 168},  // between the steps, fitting
        {168, {1600, 900}, 144},
        {288, {1920, 1080}, 144},
        {144, {1366, 800}, 120},
        {120, {1024, 600}, 96},
        {96, {800, 480}, 96},    // nothing smaller than the plain scale
        {72, {1920, 1080}, 72},  // a desktop below it keeps its own
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.desktopDpi << " dpi in " << c.workArea.cx << "x" << c.workArea.cy);
        const int dpi = Ui::FittingDpi(c.desktopDpi, c.workArea, sizeAt);
        EXPECT_EQ(dpi, c.dpi);
        const SIZE size = sizeAt(dpi);
        if (dpi > 96) {
            EXPECT_LE(size.cx, c.workArea.cx);
            EXPECT_LE(size.cy, c.workArea.cy);
        }
    }
}
