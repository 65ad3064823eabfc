#include "Common/Skin/Markup/MarkupValueReader.h"

#include <gtest/gtest.h>

using namespace ZELL::Skin;

namespace {

COLORREF SystemColorByIndex(int index)
{
    return RGB(static_cast<BYTE>(index), 1, 2);
}

class MarkupValues : public ::testing::Test {
protected:
    CMarkupColorTable m_colors{SystemColorByIndex};
    CMarkupValueReader m_reader{m_colors};
};

TEST_F(MarkupValues, LengthUnitsFollowTheResolution)
{
    m_reader.SetMetrics({96, 20, 9});
    EXPECT_EQ(m_reader.Length(L"3px", 0), 3);
    EXPECT_EQ(m_reader.Length(L"1in", 0), 96);
    EXPECT_EQ(m_reader.Length(L"2cm", 0), 75);
    EXPECT_EQ(m_reader.Length(L"10mm", 0), 37);
    EXPECT_EQ(m_reader.Length(L"12pt", 0), 16);
    EXPECT_EQ(m_reader.Length(L"1pc", 0), 16);
    EXPECT_EQ(m_reader.Length(L"2em", 0), 40);
    EXPECT_EQ(m_reader.Length(L"2ex", 0), 18);

    m_reader.SetMetrics({120, 20, 9});
    EXPECT_EQ(m_reader.Length(L"72pt", 0), 120);
    EXPECT_EQ(m_reader.Length(L"1in", 0), 120);
}

TEST_F(MarkupValues, LengthPercentHexAndEmpty)
{
    EXPECT_EQ(m_reader.Length(L"50%", 30), 15);
    EXPECT_EQ(m_reader.Length(L"125%", 16), 20);
    EXPECT_EQ(m_reader.Length(L"0x10", 0), 16);
    EXPECT_EQ(m_reader.Length(L"", 7), 7);
    EXPECT_EQ(m_reader.Length(L"-4", 0), -4);
    EXPECT_EQ(m_reader.Length(L"-2px", 0), -2);
}

TEST_F(MarkupValues, FontSizeModeMapsHtmlSizesBeforeTheSign)
{
    EXPECT_EQ(m_reader.Length(L"3", 16, true), 12);
    EXPECT_EQ(m_reader.Length(L"+3", 16, true), 12);
    EXPECT_EQ(m_reader.Length(L"-3", 16, true), 12);
    EXPECT_EQ(m_reader.Length(L"7", 16, true), 36);
    EXPECT_EQ(m_reader.Length(L"-20", 16, true), -20);
    EXPECT_EQ(m_reader.Length(L"20px", 16, true), 20);
}

TEST_F(MarkupValues, HugeLengthsSaturateInsteadOfOverflowing)
{
    m_reader.SetMetrics({96, 20, 9});
    EXPECT_EQ(m_reader.Length(L"99999999999999999999in", 0), INT_MAX);
    EXPECT_EQ(m_reader.Length(L"-99999999999999999999in", 0), -INT_MAX);
    EXPECT_EQ(m_reader.Length(L"99999999999%", 1000), INT_MAX);
    EXPECT_EQ(m_reader.Length(L"0xFFFFFFFFFFFF", 0), INT_MAX);
}

TEST_F(MarkupValues, ColourForms)
{
    const COLORREF current = RGB(1, 2, 3);
    EXPECT_EQ(m_reader.Color(L"#ff0000", current), RGB(255, 0, 0));
    EXPECT_EQ(m_reader.Color(L"#00Ff80", current), RGB(0, 255, 128));
    EXPECT_EQ(m_reader.Color(L"#f00", current), current);
    EXPECT_EQ(m_reader.Color(L"#gg0000", current), current);
    EXPECT_EQ(m_reader.Color(L"255", current), RGB(255, 0, 0));
    EXPECT_EQ(m_reader.Color(L"0xFF0000", current), RGB(0, 0, 255));
    EXPECT_EQ(m_reader.Color(L"red", current), RGB(255, 0, 0));
    EXPECT_EQ(m_reader.Color(L"lightgrey", current), RGB(0xD3, 0xD3, 0xD3));
    EXPECT_EQ(m_reader.Color(L"lightgray", current), current);
    EXPECT_EQ(m_reader.Color(L"Red", current), current);
    EXPECT_EQ(m_reader.Color(L"", current), current);
    EXPECT_EQ(m_reader.Color(L"window", current), SystemColorByIndex(5));
    EXPECT_EQ(m_reader.Color(L"infobackground", current), SystemColorByIndex(24));
}

TEST_F(MarkupValues, ColourTableHoldsWebAndSystemNames)
{
    EXPECT_EQ(m_colors.Count(), 168u);
    EXPECT_EQ(CMarkupColorTable().Count(), 140u);
    EXPECT_FALSE(CMarkupColorTable().Find(L"window"));
    EXPECT_EQ(*m_colors.Find(L"cornflowerblue"), RGB(0x64, 0x95, 0xED));
}

TEST_F(MarkupValues, DisabledColoursAndBackgrounds)
{
    m_reader.SetDisabledColor(RGB(9, 9, 9));
    m_reader.SetEnabled(false);
    EXPECT_EQ(m_reader.Color(L"red", 0), RGB(9, 9, 9));
    EXPECT_EQ(m_reader.Color(L"", 0), 0u);
    CMarkupStyle style;
    m_reader.ApplyBackground(L"yellow", style);
    EXPECT_EQ(style.backMode, kMarkupBkModeTransparent);

    m_reader.SetEnabled(true);
    m_reader.ApplyBackground(L"yellow", style);
    EXPECT_EQ(style.backMode, kMarkupBkModeOpaque);
    EXPECT_EQ(style.backColor, RGB(255, 255, 0));
    m_reader.ApplyBackground(L"transparent", style);
    EXPECT_EQ(style.backMode, kMarkupBkModeTransparent);
}

TEST_F(MarkupValues, KeywordsKeepTheCurrentValueWhenUnknown)
{
    EXPECT_EQ(m_reader.FontWeight(L"bolder"), 900);
    EXPECT_EQ(m_reader.FontWeight(L"lighter"), 100);
    EXPECT_EQ(m_reader.FontWeight(L"600"), 600);
    EXPECT_TRUE(m_reader.FontItalic(L"oblique", false));
    EXPECT_TRUE(m_reader.FontItalic(L"slanted", true));
    EXPECT_EQ(m_reader.Align(L"justify", MarkupAlign::Right), MarkupAlign::Right);
    EXPECT_EQ(m_reader.VAlign(L"vcenter", MarkupVAlign::Top), MarkupVAlign::Middle);
    EXPECT_EQ(m_reader.Transform(L"capitalize", MarkupTransform::None), MarkupTransform::Capitalize);
    EXPECT_EQ(m_reader.BorderStyle(L"groove", MarkupBorderStyle::Dashed), MarkupBorderStyle::Dashed);
    EXPECT_EQ(m_reader.BorderWidth(L"thin", 4), 3);
    EXPECT_EQ(m_reader.BorderWidth(L"thick", 4), 5);
    EXPECT_EQ(m_reader.BorderWidth(L"medium", 4), 4);
    EXPECT_EQ(m_reader.BackEffect(L"metal", -1), 15);
    EXPECT_EQ(m_reader.BackEffect(L"transparent", 3), -1);
    EXPECT_EQ(m_reader.BackEffect(L"", 3), 3);
}

TEST_F(MarkupValues, DecorationAndFontStyleLetters)
{
    CMarkupStyle style;
    m_reader.ApplyDecoration(L"underline overline", style);
    EXPECT_TRUE(style.underline && style.overline && !style.strikeOut);
    m_reader.ApplyDecoration(L"none line-through", style);
    EXPECT_TRUE(!style.underline && !style.overline && style.strikeOut);

    m_reader.ApplyFontStyleLetters(L"bi-su", style);
    EXPECT_EQ(style.fontWeight, kMarkupWeightBold);
    EXPECT_TRUE(style.italic && !style.strikeOut && style.underline);
    m_reader.ApplyFontStyleLetters(L"-b+o", style);
    EXPECT_EQ(style.fontWeight, kMarkupWeightNormal);
    EXPECT_TRUE(style.overline);
}

} // namespace
