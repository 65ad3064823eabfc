#include "Common/Skin/Markup/MarkupParser.h"

#include <gtest/gtest.h>

using namespace ZELL::Skin;

namespace {

std::wstring Texts(const std::vector<CMarkupRun>& runs)
{
    std::wstring texts;
    for (const CMarkupRun& run : runs) {
        if (run.kind == MarkupRunKind::Text)
            texts += run.text;
    }
    return texts;
}

const CMarkupRun& RunOf(const std::vector<CMarkupRun>& runs, const std::wstring& text)
{
    for (const CMarkupRun& run : runs) {
        if (run.kind == MarkupRunKind::Text && run.text == text)
            return run;
    }
    ADD_FAILURE() << "no run with the text";
    static const CMarkupRun none;
    return none;
}

std::vector<MarkupRunKind> Kinds(const std::vector<CMarkupRun>& runs)
{
    std::vector<MarkupRunKind> kinds;
    for (const CMarkupRun& run : runs)
        kinds.push_back(run.kind);
    return kinds;
}

TEST(MarkupEntityText, NamedCharactersInWideText)
{
    const CMarkupParser parser;
    EXPECT_EQ(Texts(parser.Parse(L"&euro;")), L"\u20AC");
    EXPECT_EQ(Texts(parser.Parse(L"&bull;&trade;&copy;&reg;")), L"\u2022\u2122\u00A9\u00AE");
    EXPECT_EQ(Texts(parser.Parse(L"&iquest;&para;&pound;")), L"\u00BF\u00B6\u00A3");
    EXPECT_EQ(Texts(parser.Parse(L"a &lt; b &gt; c&nbsp;&quot;")), L"a < b > c \"");
    EXPECT_EQ(Texts(parser.Parse(L"&amp;lt;b&amp;gt;")), L"<b>");
}

TEST(MarkupEntityText, UnknownEntitiesStayAsWritten)
{
    const CMarkupParser parser;
    EXPECT_EQ(Texts(parser.Parse(L"&foo; &EURO; &euro &")), L"&foo; &EURO; &euro &");
}

TEST(MarkupTokens, LiteralAndStrayAngleBrackets)
{
    const CMarkupParser parser;
    EXPECT_EQ(Texts(parser.Parse(L"a<<b>")), L"a<b>");
    EXPECT_EQ(Texts(parser.Parse(L"a<")), L"a<");
    EXPECT_EQ(Texts(parser.Parse(L"a<b c")), L"ab c");
    EXPECT_EQ(Texts(parser.Parse(L"a<unknown x=1>b</unknown>c")), L"abc");
}

TEST(MarkupTokens, LineBreakMode)
{
    CMarkupParser parser;
    EXPECT_EQ(Kinds(parser.Parse(L"a\r\nb\tc")),
              (std::vector{MarkupRunKind::Text, MarkupRunKind::LineBreak, MarkupRunKind::Text, MarkupRunKind::Tab,
                           MarkupRunKind::Text}));
    parser.SetLineBreakMode(false);
    const auto runs = parser.Parse(L"a\r\nb\tc");
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].text, L"abc");
}

TEST(MarkupTags, NestedBoldIsCappedAndBothClosingsRestore)
{
    const CMarkupParser parser;
    const auto runs = parser.Parse(L"<b>x<b>y</b>z</b>w");
    EXPECT_EQ(RunOf(runs, L"x").style.fontWeight, 800);
    EXPECT_EQ(RunOf(runs, L"y").style.fontWeight, 900);
    EXPECT_EQ(RunOf(runs, L"z").style.fontWeight, 800);
    EXPECT_EQ(RunOf(runs, L"w").style.fontWeight, 400);
}

TEST(MarkupTags, ClosingTagsMatchScopesNotNames)
{
    const CMarkupParser parser;
    auto runs = parser.Parse(L"</i>a<i>b</em>c<vcenter>d</middle>e");
    EXPECT_FALSE(RunOf(runs, L"a").style.italic);
    EXPECT_TRUE(RunOf(runs, L"b").style.italic);
    EXPECT_FALSE(RunOf(runs, L"c").style.italic);
    EXPECT_EQ(RunOf(runs, L"d").style.vAlign, MarkupVAlign::Middle);
    EXPECT_EQ(RunOf(runs, L"e").style.vAlign, MarkupVAlign::Baseline);

    // A closing tag that is not the innermost scope is ignored.
    runs = parser.Parse(L"<b><u>a</b>b</u>c");
    EXPECT_EQ(RunOf(runs, L"b").style.fontWeight, 800);
    EXPECT_TRUE(RunOf(runs, L"b").style.underline);
    EXPECT_FALSE(RunOf(runs, L"c").style.underline);
    EXPECT_EQ(RunOf(runs, L"c").style.fontWeight, 800);
}

TEST(MarkupTags, UnclosedTagsLastToTheEndOfTheTextOnly)
{
    const CMarkupParser parser;
    EXPECT_TRUE(RunOf(parser.Parse(L"<u><s>a"), L"a").style.strikeOut);
    EXPECT_FALSE(RunOf(parser.Parse(L"b"), L"b").style.underline);
}

TEST(MarkupTags, FontAttributes)
{
    const CMarkupParser parser;
    const auto runs = parser.Parse(L"<font face='Courier New' size=3 color=#ff0000 style=iu weight=bold bkgnd=yellow>a"
                                   L"<font color=#f00 size=-20>b<font color=255 size=20px>c");
    const CMarkupStyle& a = RunOf(runs, L"a").style;
    EXPECT_EQ(a.faceName, L"Courier New");
    EXPECT_EQ(a.fontHeight, 12);
    EXPECT_EQ(a.textColor, RGB(255, 0, 0));
    EXPECT_TRUE(a.italic && a.underline);
    EXPECT_EQ(a.fontWeight, 700);
    EXPECT_EQ(a.backMode, kMarkupBkModeOpaque);
    EXPECT_EQ(a.backColor, RGB(255, 255, 0));
    EXPECT_EQ(RunOf(runs, L"b").style.textColor, RGB(255, 0, 0));
    EXPECT_EQ(RunOf(runs, L"b").style.fontHeight, -20);
    EXPECT_EQ(RunOf(runs, L"b").style.fontWeight, 700);
    EXPECT_EQ(RunOf(runs, L"c").style.fontHeight, 20);
}

TEST(MarkupTags, AlignmentIndentAndTransform)
{
    CMarkupParser parser;
    parser.StyleSheet().SetRule(L".cap", L"text-transform:capitalize");
    const auto runs = parser.Parse(L"<right><indent>a</indent><indent size=24px>b</indent></right>"
                                   L"<span class=cap>hello wORLD</span><justify><bottom>c");
    EXPECT_EQ(RunOf(runs, L"a").style.align, MarkupAlign::Right);
    EXPECT_EQ(RunOf(runs, L"a").style.indent, 10);
    EXPECT_EQ(RunOf(runs, L"b").style.indent, 24);
    EXPECT_EQ(RunOf(runs, L"Hello World").style.align, MarkupAlign::Left);
    EXPECT_EQ(RunOf(runs, L"c").style.align, MarkupAlign::Justify);
    EXPECT_EQ(RunOf(runs, L"c").style.vAlign, MarkupVAlign::Bottom);
}

TEST(MarkupTags, DisabledTextTakesTheDisabledColour)
{
    CMarkupParser parser;
    parser.SetDisabledColor(RGB(7, 7, 7));
    parser.SetEnabled(false);
    const auto runs = parser.Parse(L"<font color=red bkgnd=yellow>a");
    const CMarkupStyle& style = RunOf(runs, L"a").style;
    EXPECT_EQ(style.textColor, RGB(7, 7, 7));
    EXPECT_EQ(style.backMode, kMarkupBkModeTransparent);
}

TEST(MarkupObjects, CountsAreBoundedAndNeverNegative)
{
    const CMarkupParser parser;
    const auto runs = parser.Parse(L"<br><br=3><br=2000000000><t><t=2><t=-5><br=-1><t=99999999999999999999>");
    std::vector<int> counts;
    for (const CMarkupRun& run : runs)
        counts.push_back(run.count);
    EXPECT_EQ(counts, (std::vector{1, 3, CMarkupParser::kMaxRepeatCount, 1, 2, 0, 0, CMarkupParser::kMaxRepeatCount}));
}

TEST(MarkupObjects, ImagesRulesAndStringsKeepTheirAttributes)
{
    const CMarkupParser parser;
    const auto runs = parser.Parse(L"<b><bmp idres=12 mask><icon file=\"a b.ico\" width=50%><ilst index=2 cx=16>"
                                   L"<string idres=5><hr width=50% size=2>x");
    ASSERT_EQ(runs.size(), 6u);
    EXPECT_EQ(Kinds(runs), (std::vector{MarkupRunKind::Bitmap, MarkupRunKind::Icon, MarkupRunKind::ImageList,
                                        MarkupRunKind::String, MarkupRunKind::Rule, MarkupRunKind::Text}));
    EXPECT_EQ(runs[0].attributes, (std::vector<CMarkupTag::Attribute>{{L"idres", L"12"}, {L"mask", L""}}));
    EXPECT_EQ(runs[1].attributes[0].second, L"a b.ico");
    EXPECT_EQ(runs[0].style.fontWeight, 800);
    EXPECT_EQ(runs[5].style.fontWeight, 800);
}

TEST(MarkupObjects, RuleStyleStaysWithTheRule)
{
    CMarkupParser parser;
    parser.StyleSheet().SetRule(L"hr", L"color:red");
    const auto runs = parser.Parse(L"<hr>x");
    EXPECT_EQ(runs[0].style.textColor, RGB(255, 0, 0));
    EXPECT_EQ(runs[1].style.textColor, RGB(0, 0, 0));
}

TEST(MarkupLinks, NumberedInOrderWithHoverRule)
{
    CMarkupParser parser;
    parser.SetHoveredLink(1);
    const auto runs = parser.Parse(L"<a href=x.htm>one</a><a msg=first href=y msg=last>two</a>three");
    const CMarkupStyle& one = RunOf(runs, L"one").style;
    const CMarkupStyle& two = RunOf(runs, L"two").style;
    EXPECT_EQ(one.linkNumber, 0);
    EXPECT_EQ(one.linkType, MarkupLinkType::Href);
    EXPECT_EQ(one.linkText, L"x.htm");
    EXPECT_FALSE(one.underline);
    EXPECT_EQ(two.linkNumber, 1);
    EXPECT_EQ(two.linkType, MarkupLinkType::Message);
    EXPECT_EQ(two.linkText, L"last");
    EXPECT_TRUE(two.underline);
    EXPECT_EQ(two.textColor, RGB(0, 0, 255));
    EXPECT_EQ(RunOf(runs, L"three").style.linkType, MarkupLinkType::None);
}

TEST(MarkupStyleRules, DefaultSheetHeadingsAndClasses)
{
    const CMarkupParser parser;
    const auto runs = parser.Parse(L"<h2>a</h2><span class=cpp-comment>b</span><pre>c</pre><big>d</big>e");
    EXPECT_EQ(RunOf(runs, L"a").style.textColor, RGB(0xFF, 0x99, 0x00));
    EXPECT_EQ(RunOf(runs, L"a").style.fontWeight, 700);
    EXPECT_EQ(RunOf(runs, L"a").style.fontHeight, 17);
    EXPECT_EQ(RunOf(runs, L"b").style.textColor, RGB(0, 128, 0));
    EXPECT_TRUE(RunOf(runs, L"b").style.italic);
    // Declarations are read in lower case, values included.
    EXPECT_EQ(RunOf(runs, L"c").style.faceName, L"courier");
    EXPECT_EQ(RunOf(runs, L"c").style.backMode, kMarkupBkModeOpaque);
    EXPECT_EQ(RunOf(runs, L"d").style.fontHeight, 16);
    EXPECT_EQ(RunOf(runs, L"e").style.fontHeight, 13);
}

TEST(MarkupStyleRules, SelectorsAndDeclarationsAreLowerCasedButTagsAreNot)
{
    CMarkupParser parser;
    parser.StyleSheet().SetText(L"H1 {COLOR:RED; Font-Size: 2IN}\r\n .Note{border-style:dashed} broken { color:red");
    EXPECT_TRUE(parser.StyleSheet().HasRule(L"h1"));
    EXPECT_TRUE(parser.StyleSheet().HasRule(L".note"));
    EXPECT_FALSE(parser.StyleSheet().HasRule(L"broken"));
    EXPECT_FALSE(parser.StyleSheet().HasRule(L"body"));
    const auto runs = parser.Parse(L"<h1>a</h1><H1>b");
    EXPECT_EQ(RunOf(runs, L"a").style.textColor, RGB(255, 0, 0));
    EXPECT_EQ(RunOf(runs, L"a").style.fontHeight, 192);
    EXPECT_EQ(RunOf(runs, L"b").style.textColor, RGB(0, 0, 0));

    parser.StyleSheet().RemoveRule(L"H1");
    EXPECT_FALSE(parser.StyleSheet().HasRule(L"h1"));
    parser.StyleSheet().SetText(nullptr);
    EXPECT_TRUE(parser.StyleSheet().HasRule(L"a:hover"));
}

TEST(MarkupStyleRules, BorderWidthAndStyleGoTogether)
{
    CMarkupParser parser;
    parser.StyleSheet().SetRule(L".w", L"border-width:3px");
    parser.StyleSheet().SetRule(L".d", L"border-style:dotted");
    parser.StyleSheet().SetRule(L".n", L"border-width:0; margin:5; padding:7");
    const auto runs = parser.Parse(L"<span class=w>a<span class=n>b</span></span><span class=d>c");
    EXPECT_EQ(RunOf(runs, L"a").style.borderStyle, MarkupBorderStyle::Solid);
    EXPECT_EQ(RunOf(runs, L"a").style.borderWidth, 3);
    EXPECT_EQ(RunOf(runs, L"b").style.borderStyle, MarkupBorderStyle::None);
    EXPECT_EQ(RunOf(runs, L"b").style.cellPadding, 5);
    EXPECT_EQ(RunOf(runs, L"b").style.cellSpacing, 7);
    EXPECT_EQ(RunOf(runs, L"c").style.borderWidth, 1);
}

TEST(MarkupTables, ScopesAttributesAndUnclosedCells)
{
    const CMarkupParser parser;
    const auto runs = parser.Parse(L"<table border=3 borderstyle=double cellpadding=4 bgcolor=red><tr>"
                                   L"<td colspan=2 border=5><b>a</td><td width=40 valign=top>b</td></tr></table>c");
    EXPECT_EQ(Kinds(runs), (std::vector{MarkupRunKind::TableStart, MarkupRunKind::RowStart, MarkupRunKind::CellStart,
                                        MarkupRunKind::Text, MarkupRunKind::CellEnd, MarkupRunKind::CellStart,
                                        MarkupRunKind::Text, MarkupRunKind::CellEnd, MarkupRunKind::RowEnd,
                                        MarkupRunKind::TableEnd, MarkupRunKind::Text}));
    const CMarkupStyle& table = runs[0].style;
    EXPECT_EQ(table.borderStyle, MarkupBorderStyle::Double);
    EXPECT_EQ(table.borderWidth, 1);
    EXPECT_EQ(table.cellPadding, 4);
    EXPECT_EQ(table.backEffect, kMarkupEffectSolid);
    EXPECT_EQ(runs[2].style.borderWidth, 1);
    EXPECT_EQ(runs[2].attributes[0], (CMarkupTag::Attribute{L"colspan", L"2"}));
    EXPECT_EQ(RunOf(runs, L"b").style.fontWeight, 400);
    EXPECT_EQ(RunOf(runs, L"b").style.minCellWidth, 40);
    EXPECT_EQ(RunOf(runs, L"b").style.vAlign, MarkupVAlign::Top);
    EXPECT_EQ(RunOf(runs, L"c").style.borderStyle, MarkupBorderStyle::None);
    EXPECT_EQ(RunOf(runs, L"c").style.backEffect, kMarkupEffectNone);
}

TEST(MarkupTables, StrayTableClosingsAreIgnored)
{
    const CMarkupParser parser;
    EXPECT_EQ(Kinds(parser.Parse(L"</td></tr></table>a")), (std::vector{MarkupRunKind::Text}));
}

TEST(MarkupLimits, DeepNestingAndLongTextsStayBounded)
{
    const CMarkupParser parser;
    std::wstring text;
    for (int i = 0; i < 5000; ++i)
        text += L"<b><table>";
    text += L"x";
    const auto runs = parser.Parse(text);
    EXPECT_EQ(RunOf(runs, L"x").style.fontWeight, 900);
    EXPECT_LE(runs.size(), CMarkupParser::kMaxNesting + 1);

    std::wstring entities;
    for (int i = 0; i < 100000; ++i)
        entities += L"&amp;";
    EXPECT_EQ(Texts(parser.Parse(entities)).size(), 100000u);
}

} // namespace
