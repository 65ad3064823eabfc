#include "Platform/Shell/ComInit.h"

#include <gtest/gtest.h>

#include <thread>

TEST(ComInit, CallsPairUpPerThread)
{
    EXPECT_EQ(CoInitialize(nullptr), S_OK);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE), S_FALSE);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
    EXPECT_EQ(OleInitialize(nullptr), S_OK);
    EXPECT_EQ(OleInitialize(nullptr), S_FALSE);

    // Another thread starts afresh, in the model it asks for.
    std::thread([] {
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        EXPECT_EQ(OleInitialize(nullptr), RPC_E_CHANGED_MODE);
        CoUninitialize();
        EXPECT_EQ(OleInitialize(nullptr), S_OK);
        OleUninitialize();
    }).join();

    OleUninitialize();
    OleUninitialize();
    CoUninitialize();
    EXPECT_EQ(CoInitialize(nullptr), S_FALSE);  // one call is still open
    CoUninitialize();
    CoUninitialize();
    // All paired: the thread starts over, and may change its model now.
    CoUninitialize();  // one too many does no harm
    OleUninitialize();
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    CoUninitialize();
}
