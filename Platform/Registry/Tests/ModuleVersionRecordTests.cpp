#include "Platform/Registry/ElfSectionReader.h"
#include "Platform/Registry/ModuleVersionRecord.h"
#include "RegistryTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

std::string SelfImage()
{
    std::ifstream in("/proc/self/exe", std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::filesystem::path WriteImage(const TempConfigHome& home, const std::string& name, const std::string& bytes)
{
    const auto path = home.Dir() / name;
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    return path;
}

TEST(ModuleVersionRecord, TheProgramReadsItsOwnRecord)
{
    Version::CModuleVersionRecord record;
    std::string error;
    ASSERT_TRUE(Version::ReadModuleVersionRecord("/proc/self/exe", record, error)) << error;
    // The build gives the release's four parts, and its first two as the product version.
    constexpr std::uint32_t kParts[] = {ZELL_TEST_VERSION_PARTS};
    EXPECT_EQ((kParts[0] << 16) | kParts[1], record.fileVersionMS);
    EXPECT_EQ((kParts[2] << 16) | kParts[3], record.fileVersionLS);
    EXPECT_EQ((kParts[0] << 16) | kParts[1], record.productVersionMS);
    EXPECT_EQ(0u, record.productVersionLS);
    EXPECT_EQ(1u, record.fileType);
    EXPECT_EQ(1033u, record.language);
    EXPECT_EQ(1200u, record.codePage);
    EXPECT_EQ(L"Zell Software", record.Value(L"CompanyName"));
    EXPECT_EQ(L"Corvane \"Test\" \u00C4\\x", record.Value(L"productname"));
    EXPECT_EQ(L"(c) 2016??", record.Value(L"LegalCopyright"));
    EXPECT_EQ(L"" ZELL_TEST_FILE_VERSION, record.Value(L"FileVersion"));
    EXPECT_EQ(L"" ZELL_TEST_PRODUCT_VERSION, record.Value(L"ProductVersion"));
    EXPECT_EQ(L"", record.Value(L"Comments"));
}

TEST(ModuleVersionRecord, DamagedFilesFailCleanly)
{
    TempConfigHome home;
    const std::string image = SelfImage();
    ASSERT_GT(image.size(), 64u);
    Version::CModuleVersionRecord record;
    std::string error;

    EXPECT_FALSE(Version::ReadModuleVersionRecord(home.Dir() / "missing", record, error));
    EXPECT_FALSE(Version::ReadModuleVersionRecord(home.Dir(), record, error));
    EXPECT_FALSE(Version::ReadModuleVersionRecord(WriteImage(home, "text", "just text"), record, error));
    EXPECT_EQ("not an ELF file", error);
    // Cut before the section headers at the end of the file.
    EXPECT_FALSE(Version::ReadModuleVersionRecord(WriteImage(home, "cut", image.substr(0, image.size() / 2)),
        record, error));

    // Section headers pointed far beyond the end.
    std::string forged = image;
    const std::uint64_t far = ~0ull - 8;
    std::memcpy(forged.data() + 40, &far, sizeof far);
    EXPECT_FALSE(Version::ReadModuleVersionRecord(WriteImage(home, "forged", forged), record, error));

    // The record's marker damaged.
    // (The copy is never run, so the reader's own copy of the marker may go too.)
    std::string marked = image;
    std::size_t hits = 0;
    for (auto at = marked.find("ZELLVERSIONREC1"); at != std::string::npos; at = marked.find("ZELLVERSIONREC1", at)) {
        marked[at] = 'X';
        ++hits;
    }
    ASSERT_GE(hits, 1u);
    EXPECT_FALSE(Version::ReadModuleVersionRecord(WriteImage(home, "marker", marked), record, error));

    // A module without a record.
    EXPECT_FALSE(Version::ReadModuleVersionRecord("/bin/sh", record, error));
    EXPECT_NE(std::string::npos, error.find("no section"));
}

TEST(ModuleVersionRecord, ParserRefusesRecordsThatDoNotFit)
{
    std::string record(52, '\0');
    std::memcpy(record.data(), "ZELLVERSIONREC1", 16);
    const std::uint32_t format = 1;
    std::memcpy(record.data() + 16, &format, 4);
    record += std::string("CompanyName\0Zell\0\0", 18);
    const auto withSize = [&](std::uint32_t size) {
        std::string copy = record;
        std::memcpy(copy.data() + 20, &size, 4);
        return copy;
    };
    Version::CModuleVersionRecord parsed;
    std::string error;
    ASSERT_TRUE(Version::ParseModuleVersionRecord(withSize(static_cast<std::uint32_t>(record.size())), parsed, error))
        << error;
    EXPECT_EQ(L"Zell", parsed.Value(L"CompanyName"));
    EXPECT_FALSE(Version::ParseModuleVersionRecord(withSize(static_cast<std::uint32_t>(record.size() + 1)), parsed, error));
    // The size cuts the texts before their end marker.
    EXPECT_FALSE(Version::ParseModuleVersionRecord(withSize(60), parsed, error));
    EXPECT_FALSE(Version::ParseModuleVersionRecord(record.substr(0, 40), parsed, error));
}

}
