// Printing a grid into a PDF file: how pages break, what every page repeats,
// and that every row lands on exactly one page, read back from the PDF.
#include "Common/Grid/GridPageBreaks.h"
#include "Common/Grid/Tests/GridTestSupport.h"
#include "Common/Grid/ZellGrid.h"
#include "Platform/Framework/Printing/PrintDialog.h"
#include "Platform/Shell/Tests/PrintTestSupport.h"
#include "Platform/Shell/Tests/ModalScript.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <sstream>
#include <vector>

using namespace ZELL::Grid;

using GridTest::CGridScene;

namespace {

struct PageSpan {
    int first = 0;
    int end = 0;
    bool operator==(const PageSpan&) const = default;
};

std::vector<PageSpan> SpansOf(const CGridPageBreaks& breaks)
{
    std::vector<PageSpan> spans;
    for (int page = 0; page < breaks.PageCount(); ++page)
        spans.push_back({breaks.FirstOf(page), breaks.EndOf(page)});
    return spans;
}

}

TEST(GridPageBreaks, RowsFillAPageAndTheOverflowingOneStartsTheNext)
{
    CGridPageBreaks breaks;
    // A fixed row first, then 5 rows of 10 on pages of 25.
    breaks.Split({30, 10, 10, 10, 10, 10}, 1, 25);
    EXPECT_EQ(SpansOf(breaks), (std::vector<PageSpan>{{1, 3}, {3, 5}, {5, 6}}));
    // Exactly full pages do not spill over.
    breaks.Split({10, 10, 10, 10}, 0, 20);
    EXPECT_EQ(SpansOf(breaks), (std::vector<PageSpan>{{0, 2}, {2, 4}}));
    // Out of range pages are empty.
    EXPECT_EQ(breaks.FirstOf(2), breaks.EndOf(2));
    EXPECT_EQ(breaks.FirstOf(-1), breaks.EndOf(-1));
}

TEST(GridPageBreaks, ARowLargerThanAPageGetsItsOwnPageAndNoPageIsBlank)
{
    CGridPageBreaks breaks;
    breaks.Split({50, 10, 10}, 0, 20);
    EXPECT_EQ(SpansOf(breaks), (std::vector<PageSpan>{{0, 1}, {1, 3}}));
    breaks.Split({10, 50, 10}, 0, 20);
    EXPECT_EQ(SpansOf(breaks), (std::vector<PageSpan>{{0, 1}, {1, 2}, {2, 3}}));
    // A page too small for anything still lays out every row, one a page.
    breaks.Split({10, 10}, 0, -5);
    EXPECT_EQ(SpansOf(breaks), (std::vector<PageSpan>{{0, 1}, {1, 2}}));
}

TEST(GridPageBreaks, HiddenRowsNeverMakeAPageOfTheirOwn)
{
    CGridPageBreaks breaks;
    breaks.Split({50, 0, 0}, 0, 20);
    EXPECT_EQ(SpansOf(breaks), (std::vector<PageSpan>{{0, 3}}));
    breaks.Split({10, 10, 0, 10}, 0, 20);
    EXPECT_EQ(SpansOf(breaks), (std::vector<PageSpan>{{0, 3}, {3, 4}}));
}

TEST(GridPageBreaks, NothingToLayOutIsOneEmptyPage)
{
    CGridPageBreaks breaks;
    breaks.Split({20, 20}, 2, 100);
    EXPECT_EQ(breaks.PageCount(), 1);
    EXPECT_EQ(breaks.FirstOf(0), 2);
    EXPECT_EQ(breaks.EndOf(0), 2);
}

namespace {

// The words of each page of a PDF, as pdftotext gives them.
std::vector<std::vector<std::string>> WordsByPage(const std::string& text)
{
    std::vector<std::vector<std::string>> pages(1);
    std::string word;
    const auto endWord = [&] {
        if (!word.empty())
            pages.back().push_back(word);
        word.clear();
    };
    for (char c : text) {
        if (c == '\f') {
            endWord();
            pages.emplace_back();
        } else if (std::isspace(static_cast<unsigned char>(c))) {
            endWord();
        } else {
            word += c;
        }
    }
    endWord();
    if (pages.back().empty())
        pages.pop_back();
    return pages;
}

class GridPrint : public ShellTest::PrintSystemTest {
protected:
    CGridScene scene;
    CZellGrid grid;
    std::filesystem::path pdf = m_folder / "grid.pdf";

    void SetUp() override
    {
        PrintSystemTest::SetUp();
        NoPrintSystem();
        ASSERT_TRUE(scene.Make(grid));
    }
    // Prints on "Save as PDF" into the test's file.
    bool PrintToFile()
    {
        CPrintDialog dialog(FALSE);
        ZELL::Shell::PrinterChoice choice;
        choice.file = ShellTest::Wide(pdf);
        // A small paper of A4's shape breaks pages as A4 does, at a quarter of the pixels.
        choice.paper = {L"A6", 105.0, 148.0};
        dialog.m_pd.hDevNames = ZELL::Shell::MakeDevNames(choice);
        dialog.m_pd.hDevMode = ZELL::Shell::MakeDevMode(choice);
        return grid.Print(&dialog) != FALSE;
    }
    std::vector<std::vector<std::string>> PrintedPages()
    {
        return WordsByPage(ShellTest::PopplerOutput(L"pdftotext", pdf));
    }
    static int CountIn(const std::vector<std::string>& words, const std::string& word)
    {
        return static_cast<int>(std::count(words.begin(), words.end(), word));
    }
};

}

TEST_F(GridPrint, AGridOfThreeHundredRowsPrintsEveryRowOnceUnderRepeatedHeadings)
{
    GridTest::Shape(grid, 301, 3, 20, 80);
    ASSERT_TRUE(PrintToFile());

    const int pages = grid.GetPrintPagesDown();
    EXPECT_GT(pages, 5);
    EXPECT_EQ(grid.GetPrintPagesAcross(), 1);
    EXPECT_EQ(ShellTest::ReadPdfFacts(pdf).pages, pages);
    const auto printed = PrintedPages();
    ASSERT_EQ(static_cast<int>(printed.size()), pages);

    for (int page = 0; page < pages; ++page) {
        const std::vector<std::string>& words = printed[page];
        // The fixed row with its corner heads every page, and the footer counts.
        for (const char* heading : {"r0c0", "r0c1", "r0c2"})
            EXPECT_EQ(CountIn(words, heading), 1) << heading << " on page " << page + 1;
        const std::string footer = std::to_string(page + 1) + " of " + std::to_string(pages);
        std::ostringstream joined;
        for (const std::string& word : words)
            joined << word << ' ';
        EXPECT_NE(joined.str().find("Page " + footer), std::string::npos) << joined.str();
        EXPECT_EQ(CountIn(words, "grid"), 1) << "the parent's title in the header";
    }
    // Every row, heading column included, on exactly one page, and in order.
    int lastPage = 0;
    for (int row = 1; row <= 300; ++row) {
        int found = 0;
        int foundOn = -1;
        for (int page = 0; page < pages; ++page) {
            const int here = CountIn(printed[page], "r" + std::to_string(row) + "c2");
            found += here;
            if (here > 0)
                foundOn = page;
            EXPECT_EQ(CountIn(printed[page], "r" + std::to_string(row) + "c0"), here) << "row " << row;
        }
        EXPECT_EQ(found, 1) << "row " << row;
        EXPECT_GE(foundOn, lastPage) << "row " << row;
        lastPage = std::max(lastPage, foundOn);
    }
}

TEST_F(GridPrint, ARowTallerThanThePageIsPrintedOnAPageOfItsOwn)
{
    GridTest::Shape(grid, 4, 2, 20, 80);
    grid.SetRowHeight(2, 5000);
    // Its top part is what fits on the page.
    grid.SetRowFormat(2, DT_LEFT | DT_TOP | DT_SINGLELINE, TRUE);
    ASSERT_TRUE(PrintToFile());
    EXPECT_EQ(grid.GetPrintPagesDown(), 3);
    const auto printed = PrintedPages();
    ASSERT_EQ(printed.size(), 3u);
    EXPECT_EQ(CountIn(printed[0], "r1c1"), 1);
    EXPECT_EQ(CountIn(printed[1], "r2c1"), 1);
    EXPECT_EQ(CountIn(printed[2], "r3c1"), 1);
}

TEST_F(GridPrint, AWideGridFillsThePageWidthUnlessPrintedAtScreenScale)
{
    GridTest::Shape(grid, 3, 40, 20, 120);
    ASSERT_TRUE(PrintToFile());
    EXPECT_EQ(grid.GetPrintPagesAcross(), 1);
    EXPECT_EQ(grid.GetPrintPagesDown(), 1);
    auto printed = PrintedPages();
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(CountIn(printed[0], "r2c39"), 1);
    const auto page = std::find(printed[0].begin(), printed[0].end(), "Page");
    ASSERT_GE(std::distance(page, printed[0].end()), 4);
    EXPECT_EQ(std::vector<std::string>(page, page + 4), (std::vector<std::string>{"Page", "1", "of", "1"}));

    grid.SetPrintAtScreenScale();
    ASSERT_TRUE(PrintToFile());
    const int across = grid.GetPrintPagesAcross();
    EXPECT_GT(across, 1);
    printed = PrintedPages();
    ASSERT_EQ(static_cast<int>(printed.size()), across * grid.GetPrintPagesDown());
    for (int col = 1; col < 40; ++col) {
        int found = 0;
        for (const auto& page : printed) {
            const int here = CountIn(page, "r2c" + std::to_string(col));
            found += here;
            // Its heading comes with it, and the row heading is on every page.
            EXPECT_EQ(CountIn(page, "r0c" + std::to_string(col)), here);
            EXPECT_EQ(CountIn(page, "r2c0"), 1);
        }
        EXPECT_EQ(found, 1) << "column " << col;
    }
}

TEST_F(GridPrint, ADialogWithoutAPrinterPrintsNothingAndSaysSo)
{
    GridTest::Shape(grid, 3, 3, 20, 80);
    CPrintDialog dialog(FALSE);
    EXPECT_FALSE(grid.Print(&dialog));
    EXPECT_FALSE(std::filesystem::exists(pdf));
}

TEST_F(GridPrint, WiderBandsLeaveRoomForFewerRowsAndNegativeMarginsKeepTheirValue)
{
    GridTest::Shape(grid, 120, 3, 20, 80);
    ASSERT_TRUE(PrintToFile());
    const int pages = grid.GetPrintPagesDown();
    grid.SetPrintMargins(-1, -1, -1, -1, -1, -1, -1);
    ASSERT_TRUE(PrintToFile());
    EXPECT_EQ(grid.GetPrintPagesDown(), pages);
    grid.SetPrintMargins(8, 8, -1, -1, -1, -1, 3);
    ASSERT_TRUE(PrintToFile());
    EXPECT_GT(grid.GetPrintPagesDown(), pages);
    EXPECT_EQ(ShellTest::ReadPdfFacts(pdf).pages, grid.GetPrintPagesDown());
}

namespace {

class GridPrintDialog : public GridPrint {
protected:
    // Where "Save as PDF" proposes to write.
    std::filesystem::path proposed = m_folder / "print.pdf";

    void SetUp() override
    {
        GridPrint::SetUp();
        GridTest::Shape(grid, 60, 3, 20, 80);
    }
};

}

TEST_F(GridPrintDialog, WithoutADialogTheUserChoosesThePrinterAndMayCancel)
{
    {
        ShellTest::ModalScript user;
        user.Then([](UiTest::CDialogDriver& dialog) { dialog.Press(VK_ESCAPE); });
        EXPECT_FALSE(grid.Print());
        EXPECT_EQ(user.Left(), 0u);
        EXPECT_FALSE(std::filesystem::exists(proposed));
    }
    ShellTest::ModalScript user;
    user.Then([](UiTest::CDialogDriver& dialog) { dialog.Press(VK_RETURN); });
    ASSERT_TRUE(grid.Print());
    EXPECT_EQ(user.Left(), 0u);
    ASSERT_TRUE(std::filesystem::exists(proposed));
    EXPECT_EQ(ShellTest::ReadPdfFacts(proposed).pages, grid.GetPrintPagesDown());
}
