// The process-wide tables taken from files: found only for the state of
// the file they were taken from, and a new state drops the old tables.
#include "Platform/Base/SharedFileTables.h"

#include <gtest/gtest.h>

namespace {

Platform::CFileStamp StampOfSize(std::int64_t size)
{
    Platform::CFileStamp stamp;
    stamp.inode = 7;
    stamp.size = size;
    return stamp;
}

}

TEST(SharedFileTables, HoldForTheStateTheyWereTakenFromAndTheFirstKeptWins)
{
    Platform::CSharedFileTables::Clear();
    const std::string path = "/data/Prog.GUI.XML";
    const auto first = StampOfSize(100);
    const auto kept = Platform::CSharedFileTables::Keep(path, L"texts:en", first, {{L"LBL_OK", L"Apply"}});
    // A reader that raced the first gets the table kept first.
    EXPECT_EQ(Platform::CSharedFileTables::Keep(path, L"texts:en", first, {{L"LBL_OK", L"Late"}}), kept);
    Platform::CSharedFileTables::Keep(path, L"languages", first, {{L"1033", L"en"}});
    EXPECT_EQ(Platform::CSharedFileTables::Find(path, L"texts:en", first), kept);
    EXPECT_EQ(kept->front().second, L"Apply");
    EXPECT_EQ(Platform::CSharedFileTables::Find(path, L"texts:de", first), nullptr);
    EXPECT_EQ(Platform::CSharedFileTables::Find("/data/Other.GUI.XML", L"texts:en", first), nullptr);

    // The file changed: its old tables are not found, and go once a table of
    // the new state is kept.
    const auto second = StampOfSize(101);
    EXPECT_EQ(Platform::CSharedFileTables::Find(path, L"texts:en", second), nullptr);
    Platform::CSharedFileTables::Keep(path, L"texts:en", second, {{L"LBL_OK", L"Applied"}});
    EXPECT_EQ(Platform::CSharedFileTables::Find(path, L"languages", first), nullptr);
    EXPECT_EQ(Platform::CSharedFileTables::Find(path, L"texts:en", second)->front().second, L"Applied");
    // What a reader holds stays valid after its file's tables went.
    EXPECT_EQ(kept->front().second, L"Apply");
    Platform::CSharedFileTables::Clear();
}
