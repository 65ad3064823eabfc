#include "Common/Skin/Markup/MarkupLayout.h"
#include "Common/Skin/Markup/MarkupParser.h"
#include "Common/Skin/Markup/Tests/FixedMeasurer.h"

#include <gtest/gtest.h>

using namespace ZELL::Skin;

namespace {

constexpr int W = CFixedMeasurer::kCharWidth;

class MarkupLayout : public ::testing::Test {
protected:
    std::vector<CMarkupBox> Lay(const std::wstring& text, int maxWidth = 0, int areaWidth = -1)
    {
        runs = parser.Parse(text);
        layout.SetMaxWidth(maxWidth);
        size = layout.Measure(runs, measurer);
        return layout.Arrange(areaWidth < 0 ? size.cx : areaWidth);
    }
    static const CMarkupBox& Box(const std::vector<CMarkupBox>& boxes, const std::wstring& text)
    {
        for (const CMarkupBox& box : boxes)
            if (box.kind == MarkupBoxKind::Text && box.text == text)
                return box;
        ADD_FAILURE() << "no box with the text";
        static const CMarkupBox none;
        return none;
    }
    static std::vector<std::wstring> Texts(const std::vector<CMarkupBox>& boxes)
    {
        std::vector<std::wstring> texts;
        for (const CMarkupBox& box : boxes)
            if (box.kind == MarkupBoxKind::Text)
                texts.push_back(box.text);
        return texts;
    }
    static std::vector<const CMarkupBox*> Frames(const std::vector<CMarkupBox>& boxes)
    {
        std::vector<const CMarkupBox*> frames;
        for (const CMarkupBox& box : boxes)
            if (box.kind == MarkupBoxKind::Frame)
                frames.push_back(&box);
        return frames;
    }
    static int Width(const RECT& r) { return r.right - r.left; }

    CMarkupParser parser;
    CFixedMeasurer measurer;
    CMarkupLayout layout;
    std::vector<CMarkupRun> runs;
    SIZE size{};
};

TEST_F(MarkupLayout, WrapsOnlyAtAMaximumWidth)
{
    const auto unlimited = Lay(L"aaa bbb ccc ddd eee");
    EXPECT_EQ(Texts(unlimited), std::vector<std::wstring>{L"aaa bbb ccc ddd eee"});
    EXPECT_EQ(size.cx, 19 * W);

    const auto wrapped = Lay(L"aaa bbb ccc ddd eee", 100);
    EXPECT_EQ(Texts(wrapped), (std::vector<std::wstring>{L"aaa bbb ccc ddd", L"eee"}));
    EXPECT_LE(size.cx, 100);
    EXPECT_GT(Box(wrapped, L"eee").rect.top, Box(wrapped, L"aaa bbb ccc ddd").rect.top);
    EXPECT_EQ(Box(wrapped, L"eee").rect.left, 0);
}

TEST_F(MarkupLayout, BreaksAfterBreakCharactersAndCutsLongWords)
{
    EXPECT_EQ(Texts(Lay(L"xxxxxxxxxxxxxx-yyyy", 100)), (std::vector<std::wstring>{L"xxxxxxxxxxxxxx-", L"yyyy"}));
    // No break at a slash: a word that does not fit an empty line is cut
    // where it leaves the width.
    const auto cut = Texts(Lay(L"xxxxxxxxxxxxxx/yyyy", 100));
    ASSERT_EQ(cut.size(), 2u);
    EXPECT_EQ(cut[0], L"xxxxxxxxxxxxxx/y");
    EXPECT_EQ(cut[1], L"yyy");
    // A single character wider than the width still takes its line.
    EXPECT_EQ(Texts(Lay(L"ab", 3)), (std::vector<std::wstring>{L"a", L"b"}));
}

TEST_F(MarkupLayout, TextAfterAnotherRunMovesWholeToTheNextLine)
{
    const auto boxes = Lay(L"<b>aaaaaaaaaaaaa</b>ccccc", 100);
    EXPECT_EQ(Texts(boxes), (std::vector<std::wstring>{L"aaaaaaaaaaaaa", L"ccccc"}));
    EXPECT_EQ(Box(boxes, L"ccccc").rect.left, 0);
}

TEST_F(MarkupLayout, TabsStepFromTheLeftEdge)
{
    EXPECT_EQ(Box(Lay(L"x<t>y"), L"y").rect.left, 32);
    EXPECT_EQ(Box(Lay(L"x<t=2>y"), L"y").rect.left, 64);
    EXPECT_EQ(Box(Lay(L"x\ty"), L"y").rect.left, 32);
    layout.SetTabSize(10);
    EXPECT_EQ(Box(Lay(L"x<t>y"), L"y").rect.left, 10);
    // A tab size of 0 (or less) counts as one pixel instead of dividing by 0.
    layout.SetTabSize(0);
    EXPECT_EQ(layout.TabSize(), 1);
    EXPECT_EQ(Box(Lay(L"x<t>y"), L"y").rect.left, W + 1);
    layout.SetTabSize(-5);
    EXPECT_EQ(Box(Lay(L"x<t=3>y"), L"y").rect.left, W + 3);
}

TEST_F(MarkupLayout, LineBreaksAdvanceByTheirCount)
{
    const auto one = Lay(L"a<br>b");
    const int lineHeight = Box(one, L"b").rect.top - Box(one, L"a").rect.top;
    EXPECT_GT(lineHeight, 0);
    const auto three = Lay(L"a<br=3>b");
    EXPECT_EQ(Box(three, L"b").rect.top - Box(three, L"a").rect.top, 3 * lineHeight);
    // Counts are bounded by the parser: a huge one costs nothing.
    Lay(L"a<br=2000000000>b");
    EXPECT_LE(size.cy, (CMarkupParser::kMaxRepeatCount + 1) * lineHeight);
}

TEST_F(MarkupLayout, RulesTakeAPercentageOfTheArea)
{
    const auto boxes = Lay(L"<hr width=50%>", 0, 200);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].kind, MarkupBoxKind::Rule);
    EXPECT_EQ(Width(boxes[0].rect), 100);
    const auto pixels = Lay(L"<hr width=30 size=2>", 0, 200);
    EXPECT_EQ(Width(pixels[0].rect), 30);
    EXPECT_EQ(pixels[0].rect.bottom - pixels[0].rect.top, 2);
    EXPECT_EQ(size.cy, 10);
}

TEST_F(MarkupLayout, LinesAlignInTheArea)
{
    const auto centred = Lay(L"<center>abcd</center>", 0, 300);
    EXPECT_EQ(Box(centred, L"abcd").rect.left, (300 - 4 * W) / 2);
    const auto right = Lay(L"<right>abcd</right>", 0, 300);
    EXPECT_EQ(Box(right, L"abcd").rect.right, 300);
    const auto indented = Lay(L"<indent size=20px>abcd</indent>");
    EXPECT_EQ(Box(indented, L"abcd").rect.left, 20);
}

TEST_F(MarkupLayout, JustifiedWrappedLinesFillTheWidth)
{
    const auto boxes = Lay(L"<justify>aa bb cc dd ee ff gg hh</justify>", 60, 60);
    const CMarkupBox& first = boxes.front();
    EXPECT_EQ(first.text, L"aa bb cc");
    EXPECT_EQ(first.justifyBreaks, 2);
    EXPECT_EQ(first.justifyExtra, 60 - 8 * W);
    // The last line ended by the text, not by wrapping, stays as it is.
    EXPECT_EQ(boxes.back().justifyExtra, 0);
}

TEST_F(MarkupLayout, ImagesThatCannotLoadTakeNoSpace)
{
    const auto missing = Lay(L"a<bmp idres=5>b");
    EXPECT_EQ(Box(missing, L"b").rect.left, W);
    const auto shown = Lay(L"a<bmp width=20 height=30>b");
    EXPECT_EQ(Box(shown, L"b").rect.left, W + 20);
    EXPECT_GE(size.cy, 30);
    // An image that does not fit the rest of a non-empty line starts a new one.
    const auto wrapped = Lay(L"aaaa<bmp width=20 height=10>", 30);
    ASSERT_EQ(wrapped.size(), 2u);
    EXPECT_EQ(wrapped[1].rect.left, 0);
    EXPECT_GT(wrapped[1].rect.top, wrapped[0].rect.top);
}

TEST_F(MarkupLayout, ColumnSpanShareGoesToSpannedColumnsWithRemainderLast)
{
    // Columns of 11 (its "width") and 6 + 2 x 2 pixels; the spanning cell
    // needs 25 characters and its padding, 133 pixels more than both.
    Lay(L"<table cellpadding=2><tr><td width=11>a</td><td>b</td></tr>"
        L"<tr><td colspan=2>xxxxxxxxxxxxxxxxxxxxxxxxx</td></tr></table>");
    const int difference = 25 * W + 4 - (11 + W + 4);
    ASSERT_EQ(difference % 2, 1);
    const int columnA = 11 + difference / 2;
    const int columnB = W + 4 + difference / 2 + 1;
    EXPECT_EQ(size.cx, columnA + columnB + 1);
    const auto boxes = layout.Arrange(size.cx);
    EXPECT_EQ(Box(boxes, L"b").rect.left, columnA + 1 + 2);
    EXPECT_EQ(Box(boxes, L"xxxxxxxxxxxxxxxxxxxxxxxxx").rect.left, 2);
}

TEST_F(MarkupLayout, TablesWidenTheirFreeColumnsToTheArea)
{
    const auto boxes = Lay(L"<table border=1><tr><td width=40>a</td><td>b</td></tr></table>", 0, 200);
    const auto frames = Frames(boxes);
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(Width(frames[0]->rect), 200);
    EXPECT_EQ(Width(frames[1]->rect), 40);
    EXPECT_EQ(frames[2]->rect.right, 199);
}

TEST_F(MarkupLayout, SpansPastTheTableEdgeAreCut)
{
    const auto boxes = Lay(L"<table border=1><tr><td rowspan=5 colspan=1000000>a</td><td>b</td></tr>"
                           L"<tr><td>c</td></tr></table>");
    const auto frames = Frames(boxes);
    ASSERT_EQ(frames.size(), 4u);
    // The spanning cell reaches the table's last row, not beyond it.
    EXPECT_LE(frames[1]->rect.bottom, frames[0]->rect.bottom);
    EXPECT_LE(size.cx, CMarkupLayout::kMaxColumns * 20);
    EXPECT_EQ(Texts(boxes), (std::vector<std::wstring>{L"a", L"b", L"c"}));
}

TEST_F(MarkupLayout, ColumnsAreTheWidestRowsSumOfSpansWhereverRowSpansPushCells)
{
    // "a" covers the first column of both rows, so the second row's cells
    // land from the second column on: "c" is cut to it, "d" has no place.
    const std::wstring first = L"<table border=1><tr><td rowspan=2>a</td><td>b</td></tr>";
    for (const wchar_t* second : {L"<tr><td colspan=2>c</td></tr></table>", L"<tr><td>c</td><td>d</td></tr></table>"}) {
        SCOPED_TRACE(second);
        const auto boxes = Lay(first + second);
        const auto frames = Frames(boxes);
        ASSERT_EQ(frames.size(), 4u);
        EXPECT_EQ(frames[3]->rect.left, frames[2]->rect.left);
        EXPECT_EQ(frames[3]->rect.right, frames[2]->rect.right);
        EXPECT_EQ(frames[0]->rect.right - frames[2]->rect.right, 1) << "no third column right of b and c";
        EXPECT_EQ(Texts(boxes), (std::vector<std::wstring>{L"a", L"b", L"c"}));
    }
}

TEST_F(MarkupLayout, NestedAndUnclosedTablesLayOutWhatTheyHold)
{
    EXPECT_EQ(Texts(Lay(L"<table><tr><td>a<table><tr><td>b</td></tr></table>c</td></tr></table>d")),
              (std::vector<std::wstring>{L"a", L"b", L"c", L"d"}));
    EXPECT_EQ(Texts(Lay(L"x<table><tr><td>a<td>b")), (std::vector<std::wstring>{L"x", L"a", L"b"}));
    // Text in a table outside its cells is not drawn.
    EXPECT_EQ(Texts(Lay(L"<table>q<tr>r<td>a</td></tr></table>")), std::vector<std::wstring>{L"a"});
    EXPECT_TRUE(Lay(L"<table></table>").empty());
}

TEST_F(MarkupLayout, ArrangeReadsOnlyTheLastMeasurement)
{
    EXPECT_TRUE(layout.Arrange(100).empty());
    const auto first = Lay(L"<table><tr><td>a</td></tr></table>");
    // Arranged at any width, the records of the measurement are all it reads.
    for (int width : {0, 1, 5000})
        EXPECT_EQ(Texts(layout.Arrange(width)), std::vector<std::wstring>{L"a"});
    Lay(L"");
    EXPECT_TRUE(layout.Arrange(100).empty());
    EXPECT_EQ(size.cx, 0);
    EXPECT_EQ(size.cy, 0);
}

TEST_F(MarkupLayout, StringObjectsAreLaidOutAsText)
{
    const auto boxes = Lay(L"a<string idres=7>b");
    EXPECT_EQ(Box(boxes, L"S7").rect.left, W);
    EXPECT_EQ(Box(boxes, L"b").rect.left, 3 * W);
}

} // namespace
