// The pieces under the file and folder dialogs: file types, typed names,
// folder listings and item-id lists.
#include "Platform/Shell/FileTypeFilter.h"
#include "Platform/Shell/FolderBrowser.h"
#include "Platform/Shell/FolderListing.h"
#include "Platform/Shell/PathConversion.h"
#include "Platform/Shell/Tests/ShellTestSupport.h"
#include "Platform/Shell/TypedFileName.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

using ZELL::Shell::CFileTypeFilter;
using ZELL::Shell::CFolderListing;
using ZELL::Shell::CTypedFileName;
using ZELL::Shell::FolderEntry;

namespace {

std::wstring W(const std::filesystem::path& path) { return ZELL::Shell::WidePath(path); }

void Touch(const std::filesystem::path& path, std::size_t bytes = 0)
{
    std::ofstream(path) << std::string(bytes, 'x');
}

}  // namespace

TEST(FileTypeFilter, ReadsPairsAndStopsAtAPairWithoutPattern)
{
    const wchar_t list[] = L"Text files\0*.txt;*.log\0All\0*.*\0Dangling\0\0";
    const auto types = CFileTypeFilter::Parse(list);
    ASSERT_EQ(types.size(), 2u);
    EXPECT_EQ(types[0].description, L"Text files");
    EXPECT_EQ(types[0].patterns, L"*.txt;*.log");
    EXPECT_EQ(types[1].patterns, L"*.*");
    EXPECT_TRUE(CFileTypeFilter::Parse(nullptr).empty());

    const auto bars = CFileTypeFilter::ParseBarSeparated(L"Settings (*.wes)|*.wes|All files (*.*)|*.*||");
    ASSERT_EQ(bars.size(), 2u);
    EXPECT_EQ(bars[0].description, L"Settings (*.wes)");
    EXPECT_EQ(bars[1].patterns, L"*.*");
}

TEST(FileTypeFilter, MatchesWildcardsWithoutRegardToCase)
{
    EXPECT_TRUE(CFileTypeFilter::Matches(L"REPORT.TXT", L"*.txt"));
    EXPECT_TRUE(CFileTypeFilter::Matches(L"a.log", L"*.txt; *.log"));
    EXPECT_FALSE(CFileTypeFilter::Matches(L"a.txt.bak", L"*.txt"));
    EXPECT_TRUE(CFileTypeFilter::Matches(L"data1.csv", L"data?.csv"));
    EXPECT_FALSE(CFileTypeFilter::Matches(L"data10.csv", L"data?.csv"));
    EXPECT_TRUE(CFileTypeFilter::Matches(L"Makefile", L"*.*"));
    EXPECT_TRUE(CFileTypeFilter::Matches(L"a*b", L"a*b*"));
    EXPECT_TRUE(CFileTypeFilter::Matches(L"anything", L""));
    EXPECT_TRUE(CFileTypeFilter::Matches(L"ÄRGER.TXT", L"ärger.*"));
    EXPECT_EQ(CFileTypeFilter::FirstExtension(L"*.wes;*.xml"), L"wes");
    EXPECT_EQ(CFileTypeFilter::FirstExtension(L"*.*"), L"");
    EXPECT_EQ(CFileTypeFilter::FirstExtension(L"name.*"), L"");
}

TEST(TypedFileName, TellsFoldersFiltersAndFilesApart)
{
    ShellTest::CTempFolder temp;
    std::filesystem::create_directory(temp / "Sub");
    Touch(temp / "Plain");
    const std::wstring root = W(temp.Path());

    auto folder = CTypedFileName::Resolve(L"Sub", root, L"txt", false);
    EXPECT_EQ(folder.kind, CTypedFileName::Kind::Folder);
    EXPECT_EQ(folder.path, root + L"/Sub");

    auto filter = CTypedFileName::Resolve(L"Sub/*.md", root, L"txt", false);
    EXPECT_EQ(filter.kind, CTypedFileName::Kind::Filter);
    EXPECT_EQ(filter.path, root + L"/Sub");
    EXPECT_EQ(filter.pattern, L"*.md");

    EXPECT_EQ(CTypedFileName::Resolve(L"  \"Neu Datei\" ", root, L"txt", false).path, root + L"/Neu Datei.txt");
    EXPECT_EQ(CTypedFileName::Resolve(L"x.tar.GZ", root, L"txt", false).path, root + L"/x.tar.GZ");
    EXPECT_EQ(CTypedFileName::Resolve(L"Sub/../y", root, L"", false).path, root + L"/y");
    EXPECT_EQ(CTypedFileName::Resolve(L"/abs/z", root, L"wes", false).path, L"/abs/z.wes");
    // An open dialog takes an existing file as named; a save dialog adds the extension.
    EXPECT_EQ(CTypedFileName::Resolve(L"Plain", root, L"txt", true).path, root + L"/Plain");
    EXPECT_EQ(CTypedFileName::Resolve(L"Plain", root, L"txt", false).path, root + L"/Plain.txt");
    // A trailing dot asks for no extension; a leading one is a hidden name, not one.
    EXPECT_EQ(CTypedFileName::Resolve(L"end.", root, L"txt", false).path, root + L"/end.");
    EXPECT_EQ(CTypedFileName::Resolve(L".profile", root, L"txt", false).path, root + L"/.profile.txt");
    EXPECT_EQ(CTypedFileName::Resolve(L"   ", root, L"txt", false).kind, CTypedFileName::Kind::Nothing);

    ShellTest::CScopedVariable home(L"HOME", root);
    EXPECT_EQ(CTypedFileName::Resolve(L"~/Sub", L"/", L"", false).path, root + L"/Sub");
}

TEST(FolderListing, PutsFoldersFirstSortsByNameAndLeavesHiddenOut)
{
    ShellTest::CTempFolder temp;
    std::filesystem::create_directory(temp / "zeta");
    std::filesystem::create_directory(temp / "Alpha");
    Touch(temp / "b.txt", 2000);
    Touch(temp / "A.txt", 1);
    Touch(temp / "Über.txt");
    Touch(temp / "ärger.txt");
    Touch(temp / "Ufer.txt");
    Touch(temp / ".hidden");
    std::filesystem::create_directory_symlink(temp / "zeta", temp / "link");

    CFolderListing listing;
    std::error_code error;
    ASSERT_TRUE(listing.Read(W(temp.Path()), false, error));
    std::vector<std::wstring> names;
    for (const FolderEntry& entry : listing.Entries())
        names.push_back(entry.name);
    EXPECT_EQ(names, (std::vector<std::wstring>{L"Alpha", L"link", L"zeta", L"A.txt", L"ärger.txt", L"b.txt", L"Über.txt",
                                                  L"Ufer.txt"}));
    EXPECT_EQ(CFolderListing::SizeText(listing.Entries()[5]), L"2 KB");
    EXPECT_EQ(CFolderListing::SizeText(listing.Entries()[3]), L"1 KB");
    EXPECT_EQ(CFolderListing::SizeText(listing.Entries()[0]), L"");

    ASSERT_TRUE(listing.Read(W(temp.Path()), true, error));
    EXPECT_EQ(listing.Entries().size(), 9u);

    EXPECT_FALSE(listing.Read(W(temp / "missing"), false, error));
    EXPECT_TRUE(error);
    EXPECT_TRUE(listing.Entries().empty());
}

TEST(FolderListing, ListsNamesThatAreNotUtf8SoThatTheyOpen)
{
    // Another tool made the name in a Latin-1 locale.
    ShellTest::CTempFolder temp;
    Touch(temp.Path() / std::string("bad\xff.txt"));
    Touch(temp / "good.txt");
    CFolderListing listing;
    std::error_code error;
    ASSERT_TRUE(listing.Read(W(temp.Path()), false, error));
    ASSERT_EQ(listing.Entries().size(), 2u);
    const std::wstring listed = listing.Entries()[0].name;
    EXPECT_EQ(listed, std::wstring(L"bad") + wchar_t(0xDCFF) + L".txt");
    EXPECT_TRUE(std::filesystem::is_regular_file(ZELL::Shell::FsPath(W(temp.Path()) + L"/" + listed)));
    EXPECT_EQ(listing.Entries()[1].name, L"good.txt");
}

TEST(ItemIdList, CarriesAPathAndRefusesForeignLists)
{
    PIDLIST_ABSOLUTE list = ZELL::Shell::MakeItemIdList(L"/tmp/Ordner ü");
    ASSERT_NE(list, nullptr);
    wchar_t path[MAX_PATH] = {};
    ASSERT_TRUE(SHGetPathFromIDListW(list, path));
    EXPECT_STREQ(path, L"/tmp/Ordner ü");
    ILFree(list);

    // Another kind of list: a plain item and the end.
    const BYTE foreign[] = {6, 0, 'a', 'b', 'c', 'd', 0, 0};
    wcscpy(path, L"unchanged");
    EXPECT_FALSE(SHGetPathFromIDListW(reinterpret_cast<PCIDLIST_ABSOLUTE>(foreign), path));
    EXPECT_STREQ(path, L"");
    EXPECT_FALSE(SHGetPathFromIDListW(nullptr, path));

    // A path longer than the caller's buffer is refused, not cut.
    PIDLIST_ABSOLUTE longList = ZELL::Shell::MakeItemIdList(L"/" + std::wstring(MAX_PATH, L'x'));
    ASSERT_NE(longList, nullptr);
    EXPECT_FALSE(SHGetPathFromIDListW(longList, path));
    CoTaskMemFree(longList);
    EXPECT_EQ(ZELL::Shell::MakeItemIdList(std::wstring(70000, L'x')), nullptr);
}
