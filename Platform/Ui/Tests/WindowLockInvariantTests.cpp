#include "Platform/Ui/WindowSystem.h"

#include <gtest/gtest.h>

#include <mutex>

// The window records are read under the layer's lock only; debug and
// sanitized builds catch a caller that forgot it.
TEST(WindowLockInvariant, RecordsAreReachedUnderTheLockOnly)
{
    Ui::WindowSystem& ws = Ui::WindowSystem::Get();
    {
        std::lock_guard lock(ws.Lock());
        EXPECT_EQ(ws.Peek(nullptr), nullptr);
    }
#ifdef NDEBUG
    GTEST_SKIP() << "release builds do not check it";
#else
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(ws.Peek(nullptr), "invariant broken: the caller holds the window layer's lock");
#endif
}
