#include "Platform/Base/GlobalMemory.h"
#include "Platform/Base/KernelObject.h"
#include "Platform/Base/LastError.h"
#include "Platform/Base/Synchronization.h"
#include "Platform/Base/WinError.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(GlobalMemory, BlocksAreZeroedLockedCountedAndFreed)
{
    HGLOBAL block = GlobalAlloc(GHND, 16);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(GlobalSize(block), 16u);
    auto* bytes = static_cast<unsigned char*>(GlobalLock(block));
    ASSERT_NE(bytes, nullptr);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(bytes[i], 0);
    std::memcpy(bytes, "clipboard", 10);
    EXPECT_EQ(GlobalLock(block), bytes) << "the block does not move";
    EXPECT_TRUE(GlobalUnlock(block)) << "one lock is left";
    SetLastError(1234);
    EXPECT_FALSE(GlobalUnlock(block));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(NO_ERROR)) << "the last lock went";
    EXPECT_FALSE(GlobalUnlock(block));
    EXPECT_EQ(GetLastError(), ERROR_NOT_LOCKED);
    EXPECT_STREQ(static_cast<const char*>(GlobalLock(block)), "clipboard");
    GlobalUnlock(block);

    EXPECT_EQ(GlobalFree(block), nullptr);
    EXPECT_EQ(GlobalFree(block), block) << "freed twice";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(GlobalLock(block), nullptr);
    EXPECT_EQ(GlobalSize(block), 0u);
}

TEST(GlobalMemory, EdgesOfAllocation)
{
    HGLOBAL empty = GlobalAlloc(GMEM_MOVEABLE, 0);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(GlobalSize(empty), 0u);
    EXPECT_EQ(GlobalLock(empty), nullptr) << "nothing to reach";
    GlobalFree(empty);

    EXPECT_EQ(GlobalAlloc(GMEM_MOVEABLE, SIZE_T{1} << 40), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
    EXPECT_EQ(GlobalAlloc(0x8000, 4), nullptr) << "unknown flags";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));

    int unrelated = 0;
    EXPECT_EQ(GlobalLock(reinterpret_cast<HGLOBAL>(&unrelated)), nullptr) << "a pointer is no handle";
    EXPECT_EQ(GlobalLock(nullptr), nullptr);
}

TEST(GlobalMemory, ReallocationKeepsTheHandleAndTheBytes)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE, 4);
    ASSERT_NE(block, nullptr);
    std::memcpy(GlobalLock(block), "abc", 4);
    GlobalUnlock(block);
    ASSERT_EQ(GlobalReAlloc(block, 4096, GMEM_MOVEABLE), block);
    EXPECT_EQ(GlobalSize(block), 4096u);
    auto* bytes = static_cast<const char*>(GlobalLock(block));
    EXPECT_STREQ(bytes, "abc");
    EXPECT_EQ(bytes[4095], 0) << "grown bytes are zero";
    EXPECT_EQ(GlobalReAlloc(block, 8192, 0), nullptr) << "locked, and not allowed to move";
    EXPECT_EQ(GlobalSize(block), 4096u);
    EXPECT_EQ(GlobalReAlloc(block, 3, 0), block) << "shrinking in place is fine while locked";
    EXPECT_EQ(GlobalLock(block), bytes);
    GlobalUnlock(block);
    GlobalUnlock(block);
    EXPECT_EQ(GlobalReAlloc(block, 0, GMEM_MOVEABLE), block);
    EXPECT_EQ(GlobalSize(block), 0u);
    EXPECT_EQ(GlobalReAlloc(block, SIZE_T{1} << 40, GMEM_MOVEABLE), nullptr);
    GlobalFree(block);
    EXPECT_EQ(GlobalReAlloc(block, 4, GMEM_MOVEABLE), nullptr);
}

TEST(GlobalMemory, MisuseFailsCleanlyWithTheHandleError)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 8);
    ASSERT_NE(block, nullptr);
    ASSERT_NE(GlobalLock(block), nullptr);
    ASSERT_NE(GlobalLock(block), nullptr);
    ASSERT_NE(GlobalLock(block), nullptr);
    EXPECT_TRUE(GlobalUnlock(block));
    EXPECT_TRUE(GlobalUnlock(block));
    EXPECT_FALSE(GlobalUnlock(block)) << "three locks, three unlocks";
    GlobalFree(block);

    auto expectInvalid = [](const char* what) {
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE)) << what;
        SetLastError(NO_ERROR);
    };
    EXPECT_FALSE(GlobalUnlock(block));
    expectInvalid("unlock after free");
    EXPECT_EQ(GlobalSize(block), 0u);
    expectInvalid("size after free");
    EXPECT_EQ(GlobalReAlloc(block, 16, GMEM_MOVEABLE), nullptr);
    expectInvalid("reallocation after free");
    EXPECT_EQ(GlobalLock(block), nullptr);
    expectInvalid("lock after free");

    // A live handle of another kind is no block either.
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(GlobalLock(event), nullptr);
    expectInvalid("an event");
    EXPECT_EQ(GlobalFree(event), event) << "not freed";
    CloseHandle(event);
}
