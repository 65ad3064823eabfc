#include "Common/Grid/GridTextTable.h"
#include "Common/Grid/ZellGrid.h"
#include "Platform/Base/Tests/ScopedEnvironment.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

using namespace ZELL::Grid;

namespace {

namespace fs = std::filesystem;

// Notes the failures instead of showing them.
class CQuietGrid : public CZellGrid {
public:
    std::vector<CString> errors;

protected:
    void OnTextFileError(LPCWSTR message) override { errors.emplace_back(message); }
};

// A folder of its own under the temporary folder, removed with everything in it.
class GridTextFile : public ::testing::Test {
protected:
    CString PathOf(const char* name) const { return CString((m_folder / name).wstring().c_str()); }
    std::string Write(const char* name, const std::string& bytes) const
    {
        m_folder.Write(name, bytes);
        return name;
    }
    std::string Read(const char* name) const { return m_folder.Read(name); }

    TestSupport::CTempFolder m_folder{"zell-grid-text"};
};

void Fill(CZellGrid& grid, const std::vector<std::vector<const wchar_t*>>& rows)
{
    grid.SetRowTotal(static_cast<int>(rows.size()));
    grid.SetColumnTotal(static_cast<int>(rows.front().size()));
    for (int row = 0; row < static_cast<int>(rows.size()); ++row)
        for (int col = 0; col < static_cast<int>(rows[row].size()); ++col)
            grid.SetCellText(row, col, rows[row][col]);
}

std::vector<std::vector<CString>> Texts(const CZellGrid& grid)
{
    std::vector<std::vector<CString>> texts(static_cast<std::size_t>(grid.GetRowCount()));
    for (int row = 0; row < grid.GetRowCount(); ++row)
        for (int col = 0; col < grid.GetColumnCount(); ++col)
            texts[row].push_back(grid.GetCellText(row, col));
    return texts;
}

}

TEST_F(GridTextFile, SaveWritesOneLinePerRowJoinedBySeparator)
{
    CQuietGrid grid;
    Fill(grid, {{L"Name", L"Value"}, {L"a", L"1"}});
    ASSERT_TRUE(grid.SaveToFile(PathOf("two.txt"), L';'));
    EXPECT_EQ(Read("two.txt"), "Name;Value\r\na;1\r\n");
    EXPECT_TRUE(grid.errors.empty());
}

TEST_F(GridTextFile, EmptyFieldsLongLinesAndNonAsciiRoundTrip)
{
    const std::wstring longText(5000, L'x');
    const std::vector<std::vector<std::vector<const wchar_t*>>> grids = {
        {{L"A", L"", L"C", L""}, {L"", L"", L"", L""}, {L"1", longText.c_str(), L"", L"\u00e9t\u00e9"},
         {L"", L"only middle", L"", L""}},
        // One column: an empty cell is an empty line, and its row stays.
        {{L"Name"}, {L""}, {L"x"}, {L""}, {L""}},
        {{L"Name"}, {L""}},
    };
    for (const auto& rows : grids) {
        SCOPED_TRACE(rows.size());
        CQuietGrid grid;
        Fill(grid, rows);
        ASSERT_TRUE(grid.SaveToFile(PathOf("round.txt"), L','));

        CQuietGrid loaded;
        ASSERT_TRUE(loaded.LoadFromFile(PathOf("round.txt"), L','));
        EXPECT_EQ(Texts(loaded), Texts(grid));
        EXPECT_TRUE(loaded.errors.empty());
    }
}

TEST_F(GridTextFile, EmptyLinesExtraFieldsAndLineEndsLoadAsTheirRows)
{
    using Rows = std::vector<std::vector<CString>>;
    const struct {
        const char* bytes;
        Rows texts;
    } cases[] = {
        {"", {}},
        {"\n\r\n\n", {}},
        {"a,b\r\n1,2,3\r\nx,y,z,w\n", {{L"a", L"b"}, {L"1", L"2"}, {L"x", L"y"}}},
        {"\r\n\nName\r\n\r\nx\n\r\r\n", {{L"Name"}, {L""}, {L"x"}, {L""}}},
        {"Name\nx,y\ny", {{L"Name"}, {L"x"}, {L"y"}}},
        {"Name\nx\r\r,y\n\r,z\r\n", {{L"Name"}, {L"x"}, {L""}}},
        {"a,b\n\n\r\n,\n", {{L"a", L"b"}, {L"", L""}}},
    };
    for (const auto& [bytes, texts] : cases) {
        SCOPED_TRACE(bytes);
        Write("file.txt", bytes);
        CQuietGrid grid;
        Fill(grid, {{L"old"}});
        EXPECT_TRUE(grid.LoadFromFile(PathOf("file.txt"), L','));
        EXPECT_EQ(Texts(grid), texts);
        EXPECT_TRUE(grid.errors.empty());
    }
}

TEST_F(GridTextFile, FirstLineMakesTheColumnsAndEmptyLinesShiftNothing)
{
    Write("gaps.txt", "Host\tAddress\r\n\r\nalpha\t10.0.0.1\r\n\n\nbeta\r\ngamma\t10.0.0.3\n");
    CQuietGrid grid;
    ASSERT_TRUE(grid.LoadFromFile(PathOf("gaps.txt"), L'\t'));
    ASSERT_EQ(grid.GetColumnCount(), 2);
    ASSERT_EQ(grid.GetRowCount(), 4);
    EXPECT_EQ(grid.GetCellText(0, 1), CString(L"Address"));
    EXPECT_EQ(grid.GetCellText(1, 1), CString(L"10.0.0.1"));
    // A short line leaves the rest of its row empty.
    EXPECT_EQ(grid.GetCellText(2, 0), CString(L"beta"));
    EXPECT_EQ(grid.GetCellText(2, 1), CString());
    EXPECT_EQ(grid.GetCellText(3, 1), CString(L"10.0.0.3"));
    EXPECT_GT(grid.GetColumnWidth(1), 0);
}

TEST_F(GridTextFile, UnusableFilesFailClearlyAndLeaveTheGridAsItWas)
{
    Write("binary.txt", std::string("a,b\n1,\0,2\n", 10));
    fs::create_directories(m_folder / "folder.txt");
    const char* bad[] = {"missing.txt", "binary.txt", "folder.txt"};
    for (const char* name : bad) {
        SCOPED_TRACE(name);
        CQuietGrid grid;
        Fill(grid, {{L"keep", L"me"}, {L"1", L"2"}});
        grid.SetFixedRowTotal(1);
        const auto before = Texts(grid);
        EXPECT_FALSE(grid.LoadFromFile(PathOf(name), L','));
        EXPECT_EQ(Texts(grid), before);
        EXPECT_EQ(grid.GetFixedRowCount(), 1);
        ASSERT_EQ(grid.errors.size(), 1u);
        EXPECT_FALSE(grid.errors.front().IsEmpty());
    }
}

TEST_F(GridTextFile, MissingFileNamesThePathAndUnwritablePathFails)
{
    CQuietGrid grid;
    EXPECT_FALSE(grid.LoadFromFile(PathOf("missing.txt"), L','));
    ASSERT_EQ(grid.errors.size(), 1u);
    EXPECT_GE(grid.errors[0].Find(L"missing.txt"), 0);

    Fill(grid, {{L"a"}});
    EXPECT_FALSE(grid.SaveToFile(PathOf("no-folder/out.txt"), L','));
    EXPECT_EQ(grid.errors.size(), 2u);
}

TEST_F(GridTextFile, VirtualGridRefusesToLoad)
{
    Write("ok.txt", "a,b\n");
    CQuietGrid grid;
    grid.SetVirtualMode(TRUE);
    EXPECT_FALSE(grid.LoadFromFile(PathOf("ok.txt"), L','));
    EXPECT_EQ(grid.GetColumnCount(), 0);
}

TEST(GridTextTable, KeepsOneFieldPerSeparatorAndDropsExtraFields)
{
    CGridTextTable table(L',');
    ASSERT_TRUE(table.AddText(L",a,,\r\nx\n,,,\n"));
    ASSERT_EQ(table.Rows().size(), 3u) << "the last line end starts no line";
    EXPECT_EQ(table.Rows()[0].size(), 4u);
    EXPECT_EQ(table.Rows()[1].size(), 1u);
    EXPECT_EQ(CGridTextTable::JoinFields(table.Rows()[0], L','), CString(L",a,,"));
    EXPECT_TRUE(table.AddLine(L"1,2,3,4,5"));
    ASSERT_EQ(table.Rows().size(), 4u);
    EXPECT_EQ(CGridTextTable::JoinFields(table.Rows()[3], L','), CString(L"1,2,3,4"));
}
