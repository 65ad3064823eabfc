#include "Common/Communication/ArticleNumber.h"

#include <gtest/gtest.h>

namespace {

TEST(ArticleNumberParse, PiecesAreFilledAndZeroPairsDropped)
{
    CArticleNumber short_(L"123-45");
    EXPECT_EQ(short_.GetPartCount(), 2u);
    EXPECT_STREQ(short_.GetText(true), L"0123-0045");
    EXPECT_STREQ(short_.GetText(false), L"123-045");

    EXPECT_EQ(CArticleNumber(L"1234-5678/0000-0000").GetPartCount(), 2u);
    EXPECT_EQ(CArticleNumber(L"1234-5678/0000-0001").GetPartCount(), 4u);
    CArticleNumber three(L"1234-5678/0001");
    EXPECT_STREQ(three.GetText(true), L"1234-5678/0001-0000");
}

TEST(ArticleNumberParse, ThirdPairIsKeptOnlyWhenNotZero)
{
    CArticleNumber six(L"1234-5678/0000-0000/0000-0002");
    EXPECT_EQ(six.GetPartCount(), 6u);
    EXPECT_STREQ(six.GetText(true), L"1234-5678/0000-0000/0000-0002");
    EXPECT_STREQ(six.GetOptionText(true), L"0000-0000/0000-0002");
    EXPECT_EQ(CArticleNumber(L"1234-5678/0000-0000/0000-0000").GetPartCount(), 2u);
    EXPECT_EQ(CArticleNumber(L"1234-5678/0000-0003/0000-0000").GetPartCount(), 4u);
}

TEST(ArticleNumberParse, EmptyTextCommentsAndDoubledSeparators)
{
    CArticleNumber empty(L"");
    EXPECT_EQ(empty.GetPartCount(), 1u);
    EXPECT_EQ(empty.FormatCompact(true), L"");
    EXPECT_STREQ(empty.GetText(true), L"0000");

    CArticleNumber commented(L"614-352 # the coupler");
    EXPECT_STREQ(commented.GetText(true), L"0614-0352");
    EXPECT_STREQ(CArticleNumber(L" 614 //-- 352 ").GetText(true), L"0614-0352");
    EXPECT_STREQ(CArticleNumber(L"#only a comment").GetText(true), L"0000");
}

TEST(ArticleNumberFormat, PartForms)
{
    CArticleNumber number(L"01234-5");
    EXPECT_EQ(number.GetPart(0, false), L"1234") << "only one leading zero goes";
    EXPECT_EQ(number.GetPart(1, false), L"005");
    EXPECT_EQ(number.GetPart(1, true), L"0005");
    EXPECT_EQ(number.GetPart(2, true), L"");
    number.SetPart(7, L"9999");
    EXPECT_STREQ(number.GetText(true), L"01234-0005");
}

TEST(ArticleNumberFormat, CompactForm)
{
    const CArticleNumber number(L"1234-5678/0000-0001");
    EXPECT_EQ(number.FormatCompact(true), L"12345678_00000001");
    EXPECT_EQ(number.FormatCompact(false), L"12345678");
    EXPECT_EQ(CArticleNumber(L"1-2/3-4/5-6").FormatCompact(true), L"00010002_00030004_00050006");
}

TEST(ArticleNumberConstruct, NumbersAndTexts)
{
    CArticleNumber numbers(614, 352, 0, 0, 0, 0);
    EXPECT_STREQ(numbers.GetText(true), L"0614-0352");
    CArticleNumber withOption(614, 352, 0, 1, 0, 0);
    EXPECT_STREQ(withOption.GetText(true), L"0614-0352/0000-0001");
    CArticleNumber texts(L"061x", L"5", L"0", L"0", L"0", L"0");
    EXPECT_EQ(texts.GetPartCount(), 2u);
    EXPECT_EQ(texts.GetPart(1, true), L"0005");
}

TEST(ArticleNumberCompare, SameBaseIgnoresLeadingZerosAndOptions)
{
    const CArticleNumber number(L"0123-0045/0000-0001");
    EXPECT_TRUE(number.IsSameBase(L"123-45"));
    EXPECT_FALSE(number.IsSameBase(L"123-46"));
}

TEST(ArticleNumberCompare, FamilyWildcardIgnoresTheFirstGroup)
{
    CArticleNumber number(L"1234-5678");
    EXPECT_TRUE(number.Matches(L"4321-5678", true));
    EXPECT_FALSE(number.Matches(L"4321-5678", false));
    EXPECT_TRUE(number.Matches(L"1234-5678/0000-0000", false));
    EXPECT_FALSE(number.Matches(L"1234-5678/0000-0001", true));
    EXPECT_STREQ(number.GetText(true), L"1234-5678") << "matching leaves the number as it was";
}

}
