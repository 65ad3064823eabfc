// A program that links the library from a folder other than its own (as the
// program does from its lib folder): the binding takes the copy the process
// already holds instead of falling back to plain boxes.
#include "Common/PelorusDLL/Dialogs/TSLX.h"

#include <gtest/gtest.h>

extern "C" const wchar_t* FakeTesselCalls();

TEST(LinkedTSLX, TheCopyTheProgramLinksIsBoundWhereverItLies)
{
    ASSERT_NE(FakeTesselCalls(), nullptr) << "the program holds the library from its own link";
    ASSERT_NE(TSLX::LoadedLibraryPath(), TSLX::OwnFolderLibraryPath());
    TSLX::LoadLibrary();
    EXPECT_TRUE(TSLX::IsLoaded());
    EXPECT_EQ(TSLX::GetTitleFontSize(), 17) << "the library's answer, not the fall-back";
    EXPECT_TRUE(TSLX::FreeLibrary());
}
