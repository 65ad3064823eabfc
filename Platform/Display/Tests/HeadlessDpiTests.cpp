#include "Platform/Display/HeadlessDisplay.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace Display;

TEST(HeadlessDpi, TakenFromTheVariableWhenItMakesSense)
{
    auto dpiWith = [](const char* value) {
        if (value == nullptr)
            unsetenv("ZELL_DPI");
        else
            setenv("ZELL_DPI", value, 1);
        return CHeadlessDisplay().Dpi();
    };
    EXPECT_EQ(dpiWith(nullptr), 96);
    EXPECT_EQ(dpiWith("144"), 144);
    EXPECT_EQ(dpiWith("48"), 48);
    EXPECT_EQ(dpiWith("480"), 480);
    EXPECT_EQ(dpiWith("47"), 96) << "out of range";
    EXPECT_EQ(dpiWith("100000"), 96);
    EXPECT_EQ(dpiWith("120dpi"), 96) << "not a number";
    EXPECT_EQ(dpiWith(""), 96);
    unsetenv("ZELL_DPI");
}
