#include "Platform/Framework/Exceptions/FileException.h"
#include "Platform/Framework/Files/SharedFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string BlockText(HGLOBAL block)
{
    const char* bytes = static_cast<const char*>(GlobalLock(block));
    std::string text(bytes, GlobalSize(block));
    GlobalUnlock(block);
    return text;
}

}

TEST(SharedFile, GrowsInStepsAndHandsOverABlockOfTheWrittenLength)
{
    CSharedFile file(GMEM_MOVEABLE | GMEM_DDESHARE | GMEM_ZEROINIT, 4);
    EXPECT_EQ(file.Detach(), nullptr) << "nothing written";
    const std::string row = "a\tb\r\nc\td";
    for (char c : row)
        file.Write(&c, 1);
    file.Write("", 1);
    EXPECT_EQ(file.GetLength(), row.size() + 1);
    file.SeekToBegin();
    char head[3] = {};
    EXPECT_EQ(file.Read(head, 3), 3u);
    EXPECT_EQ(std::string(head, 3), "a\tb");

    HGLOBAL block = file.Detach();
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(GlobalSize(block), row.size() + 1) << "cut to what was written";
    EXPECT_EQ(BlockText(block), row + '\0');
    GlobalFree(block);
    EXPECT_EQ(file.GetLength(), 0u) << "empty again";
    file.Write("x", 1);
    EXPECT_EQ(file.GetLength(), 1u);
}

TEST(SharedFile, SeeksReadsAndLengthChangesKeepTheBytesRight)
{
    CSharedFile file;
    file.Write("0123456789", 10);
    EXPECT_EQ(file.Seek(-4, CFile::end), 6u);
    char tail[8] = {};
    EXPECT_EQ(file.Read(tail, sizeof tail), 4u) << "only what is there";
    EXPECT_EQ(file.Read(tail, sizeof tail), 0u);
    int cause = -1;
    try {
        file.Seek(-1, CFile::begin);
    } catch (CFileException* e) {
        cause = e->m_cause;
        e->Delete();
    }
    EXPECT_EQ(cause, CFileException::badSeek);
    EXPECT_EQ(file.GetPosition(), 10u) << "a refused seek leaves the place";

    file.SetLength(3);
    EXPECT_EQ(file.GetPosition(), 3u);
    file.SetLength(5);
    file.SeekToBegin();
    char all[5] = {};
    ASSERT_EQ(file.Read(all, 5), 5u);
    EXPECT_EQ(std::string(all, 5), std::string("012\0\0", 5)) << "cut bytes come back as zeros";

    file.Seek(8, CFile::begin);
    file.Write("Z", 1);
    EXPECT_EQ(file.GetLength(), 9u);
    HGLOBAL block = file.Detach();
    EXPECT_EQ(BlockText(block), std::string("012\0\0\0\0\0Z", 9)) << "the gap is zeros";
    GlobalFree(block);
}
