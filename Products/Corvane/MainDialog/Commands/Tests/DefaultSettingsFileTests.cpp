#include "Products/Corvane/MainDialog/Commands/DefaultSettingsFile.h"
#include "Products/Corvane/MainDialog/Commands/Tests/CStringPrinter.h"

#include "Products/Corvane/Core/Tests/TempFolder.h"

#include <gtest/gtest.h>

namespace Corvane {

namespace {

class DefaultSettingsFileTest : public ::testing::Test {
protected:
    CString Add(const std::string& name) { return CString(m_Folder.Write("Settings/" + name, "<x/>").wstring()); }

    CTempFolder m_Folder;
    CDefaultSettingsFile m_Files{CString((m_Folder.Path() / "Settings").wstring())};
};

TEST_F(DefaultSettingsFileTest, FileWithTheOptionPairComesFirst)
{
    const CString plain = Add("06120001.xml");
    EXPECT_EQ(m_Files.Find(L"0612-0001/0000-0100", 0), plain);
    const CString withOptions = Add("06120001_00000100.xml");
    EXPECT_EQ(m_Files.Find(L"0612-0001/0000-0100", 0), withOptions);
    EXPECT_EQ(m_Files.Find(L"612-001", 0), plain);
}

TEST_F(DefaultSettingsFileTest, GenerationIsPartOfTheNameAboveZero)
{
    const CString second = Add("06120001.02.xml");
    EXPECT_EQ(m_Files.Find(L"612-001", 2), second);
    EXPECT_TRUE(m_Files.Find(L"612-001", 0).IsEmpty());
    EXPECT_TRUE(m_Files.Find(L"612-001", 1).IsEmpty());
}

TEST_F(DefaultSettingsFileTest, CandidatesRunFromTheFirmwareGenerationDown)
{
    const CString base = Add("06120001.xml");
    const CString first = Add("06120001.01.xml");
    const CString third = Add("06120001.03.xml");
    Add("06120001.04.xml");
    const std::vector<CString> found = m_Files.Candidates(L"612-001", L"02.07.11(03)");
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0], third);
    EXPECT_EQ(found[1], first);
    EXPECT_EQ(found[2], base);
}

TEST_F(DefaultSettingsFileTest, FirmwareWithoutGenerationTakesOnlyTheBaseFile)
{
    const CString base = Add("06120001.xml");
    Add("06120001.01.xml");
    const std::vector<CString> found = m_Files.Candidates(L"612-001", L"");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0], base);
}

TEST_F(DefaultSettingsFileTest, UnreadableArticleFindsNothing)
{
    Add(".xml");
    EXPECT_TRUE(m_Files.Find(L"", 0).IsEmpty());
    EXPECT_TRUE(m_Files.Candidates(L"not an article", L"(02)").empty());
}

TEST(DefaultSettingsFolderTest, FolderSitsBesideTheExecutableOutsideBuildFolders)
{
    EXPECT_EQ(CDefaultSettingsFile::BesideExecutable(L"/opt/corvane/bin/corvane").Folder(), L"/opt/corvane/bin/Settings");
    EXPECT_EQ(CDefaultSettingsFile::BesideExecutable(L"/src/corvane/RELEASE/corvane").Folder(),
              CDefaultSettingsFile::BesideExecutable(L"/src/corvane/corvane").Folder());
}

}

}  // namespace Corvane
