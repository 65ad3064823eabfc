#include "Platform/Display/X11Resolution.h"

#include <gtest/gtest.h>

using namespace Display::X11;

TEST(X11Resolution, TheServersResolutionWhereTheDesktopSetsNone)
{
    struct Case {
        int pixels, millimetres, dpi;
    };
    const Case cases[] = {
        {1080, 143, 192},  // Xvfb -dpi 192
        {1080, 191, 144},  // Xvfb -dpi 144
        {768, 195, 96},    // Xvfb's default of 100 dpi is a plain screen
        {1200, 324, 96},   // a 24" monitor of 94 dpi
        {2160, 336, 163},  // a 27" 4K monitor
        {1080, 0, 96},     // a server that knows no size
        {1080, 10000, 96}, // nor a sane one
        {1080, 2, 96},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ServerDpi(c.pixels, c.millimetres), c.dpi) << c.pixels << " px in " << c.millimetres << " mm";
}

TEST(X11Resolution, XftDpiOfTheResources)
{
    EXPECT_EQ(ResourceDpi("Xft.antialias:\t1\nXft.dpi:\t192\n"), 192);
    EXPECT_EQ(ResourceDpi("Xft.dpi:\t120.4"), 120);
    EXPECT_EQ(ResourceDpi("Xft.dpi: 96\n"), 96);
    EXPECT_EQ(ResourceDpi("*Xft.dpi:\t144\nXft.hinting:\t1\n"), std::nullopt);
    EXPECT_EQ(ResourceDpi("Xft.dpi:\tlots\n"), std::nullopt);
    EXPECT_EQ(ResourceDpi("Xft.dpi:\t100000\n"), std::nullopt);
    EXPECT_EQ(ResourceDpi(""), std::nullopt);
}
