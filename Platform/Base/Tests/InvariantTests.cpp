#include "Platform/Base/Invariant.h"

#include <gtest/gtest.h>

TEST(Invariant, DebugBuildsEndTheProcessNamingTheBrokenOneReleaseBuildsDoNotEvaluateIt)
{
    int evaluated = 0;
    ZELL_INVARIANT(++evaluated > 0, "counting holds");
#ifdef NDEBUG
    EXPECT_EQ(evaluated, 0);
#else
    EXPECT_EQ(evaluated, 1);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(ZELL_INVARIANT(evaluated == 2, "one evaluation"), "InvariantTests.cpp:[0-9]+: invariant broken: one evaluation");
#endif
}
