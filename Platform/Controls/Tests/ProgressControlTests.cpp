#include "ControlTestSupport.h"

using namespace ControlTest;

TEST(ProgressControl, PositionsStayInTheRangeAndStepsWrap)
{
    Scene s;
    HWND bar = s.Add(PROGRESS_CLASSW, L"", 0, 10, 10, 200, 18, 1);
    EXPECT_EQ(SendMessageW(bar, PBM_GETRANGE, TRUE, 0), 0);
    EXPECT_EQ(SendMessageW(bar, PBM_GETRANGE, FALSE, 0), 100);
    EXPECT_EQ(SendMessageW(bar, PBM_SETPOS, 150, 0), 0) << "the previous position";
    EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 100) << "clamped to the top";
    SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(-5), 0);
    EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 0);
    EXPECT_EQ(SendMessageW(bar, PBM_DELTAPOS, 30, 0), 0);
    EXPECT_EQ(SendMessageW(bar, PBM_DELTAPOS, 200, 0), 30);
    EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 100);

    // The old range comes back packed in 16 bits; a new one clamps the position.
    EXPECT_EQ(SendMessageW(bar, PBM_SETRANGE32, 10, 50), MAKELRESULT(0, 100));
    EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 50);
    PBRANGE range;
    EXPECT_EQ(SendMessageW(bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range)), 50);
    EXPECT_EQ(range.iLow, 10);
    EXPECT_EQ(range.iHigh, 50);
    EXPECT_EQ(SendMessageW(bar, PBM_SETRANGE, 0, MAKELPARAM(0, 40000)), MAKELRESULT(10, 50));
    EXPECT_EQ(SendMessageW(bar, PBM_GETRANGE, FALSE, 0), 40000) << "PBM_SETRANGE's ends are unsigned";

    SendMessageW(bar, PBM_SETRANGE32, 0, 100);
    SendMessageW(bar, PBM_SETPOS, 80, 0);
    EXPECT_EQ(SendMessageW(bar, PBM_SETSTEP, 15, 0), 10);
    EXPECT_EQ(SendMessageW(bar, PBM_STEPIT, 0, 0), 80);
    EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 95);
    SendMessageW(bar, PBM_STEPIT, 0, 0);
    EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 10) << "past the top it starts over";
    SendMessageW(bar, PBM_SETSTEP, static_cast<WPARAM>(-25), 0);
    SendMessageW(bar, PBM_STEPIT, 0, 0);
    EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 85) << "and below the bottom from the top";

    // An empty range shows nothing and breaks nothing.
    SendMessageW(bar, PBM_SETRANGE32, 5, 5);
    SendMessageW(bar, PBM_STEPIT, 0, 0);
    EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 5);
    InvalidateRect(bar, nullptr, TRUE);
    EXPECT_EQ(s.PixelOf(bar, {100, 9}), GetSysColor(COLOR_3DFACE));
}

TEST(ProgressControl, DrawsTheFilledShareInItsColours)
{
    Scene s;
    HWND smooth = s.Add(PROGRESS_CLASSW, L"", PBS_SMOOTH, 10, 10, 202, 18, 1);
    SendMessageW(smooth, PBM_SETPOS, 50, 0);
    EXPECT_EQ(s.PixelOf(smooth, {50, 9}), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(s.PixelOf(smooth, {150, 9}), GetSysColor(COLOR_3DFACE));
    EXPECT_EQ(SendMessageW(smooth, PBM_SETBARCOLOR, 0, RGB(0, 128, 0)), static_cast<LRESULT>(CLR_DEFAULT));
    EXPECT_EQ(SendMessageW(smooth, PBM_SETBKCOLOR, 0, RGB(255, 255, 255)), static_cast<LRESULT>(CLR_DEFAULT));
    EXPECT_EQ(s.PixelOf(smooth, {50, 9}), RGB(0, 128, 0));
    EXPECT_EQ(s.PixelOf(smooth, {150, 9}), RGB(255, 255, 255));
    EXPECT_EQ(SendMessageW(smooth, PBM_SETBARCOLOR, 0, CLR_DEFAULT), static_cast<LRESULT>(RGB(0, 128, 0)));

    // Redrawing off holds the new position back until it is on again.
    SendMessageW(smooth, WM_SETREDRAW, FALSE, 0);
    SendMessageW(smooth, PBM_SETPOS, 100, 0);
    EXPECT_EQ(s.PixelOf(smooth, {150, 9}), RGB(255, 255, 255));
    SendMessageW(smooth, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(smooth, nullptr, TRUE);
    EXPECT_EQ(s.PixelOf(smooth, {150, 9}), GetSysColor(COLOR_HIGHLIGHT));
}

TEST(ProgressControl, RendersTheClassicLook)
{
    Scene s(240, 120);
    HWND blocks = s.Add(PROGRESS_CLASSW, L"", 0, 10, 10, 200, 18, 1);
    HWND smooth = s.Add(PROGRESS_CLASSW, L"", PBS_SMOOTH, 10, 35, 200, 18, 2);
    HWND coloured = s.Add(PROGRESS_CLASSW, L"", 0, 10, 60, 200, 12, 3);
    HWND vertical = s.Add(PROGRESS_CLASSW, L"", PBS_VERTICAL, 215, 10, 16, 100, 4);
    HWND full = s.Add(PROGRESS_CLASSW, L"", 0, 10, 80, 200, 18, 5);
    SendMessageW(blocks, PBM_SETPOS, 37, 0);
    SendMessageW(smooth, PBM_SETPOS, 62, 0);
    SendMessageW(coloured, PBM_SETPOS, 50, 0);
    SendMessageW(coloured, PBM_SETBARCOLOR, 0, RGB(0, 160, 0));
    SendMessageW(coloured, PBM_SETBKCOLOR, 0, RGB(255, 255, 255));
    SendMessageW(vertical, PBM_SETPOS, 70, 0);
    SendMessageW(full, PBM_SETPOS, 100, 0);
    ExpectGolden(s, "progress");
}
