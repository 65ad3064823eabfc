#pragma once
// The check the dialogs' screen tests share: a program's dialog on a
// private Xvfb looks like its headless rendering and closes by its close box.
// Include it after the test framework, whose names the X headers' macros
// would spoil.
#include "X11ScreenCapture.h"

#include <gtest/gtest.h>

#include <string>

namespace ScreenTest {

inline void ExpectSameOnScreen(const std::string& program, const std::string& outputDir, const char* option,
                               const std::string& name)
{
    const X11Test::ScreenRun run = X11Test::CompareWithHeadless(program, outputDir, name, {option});
    ASSERT_TRUE(run.error.empty()) << run.error;
    EXPECT_TRUE(run.closed);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.same.sameSize);
    EXPECT_GE(run.same.closeShare, 0.995) << "see " << outputDir << "/" << name << "-screen.png";
}

}
