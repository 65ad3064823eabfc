#include "Platform/Base/CString.h"

#include <gtest/gtest.h>

#include <climits>
#include <cwchar>
#include <map>
#include <vector>

TEST(CStringConstruction, NullAndCountedSources)
{
    EXPECT_TRUE(CString(static_cast<const wchar_t*>(nullptr)).IsEmpty());
    EXPECT_TRUE(CString(static_cast<const char*>(nullptr)).IsEmpty());
    EXPECT_TRUE(CString(static_cast<const wchar_t*>(nullptr), 5).IsEmpty());
    EXPECT_EQ(CString(L"abcdef", 3), L"abc");
    EXPECT_TRUE(CString(L"abc", -1).IsEmpty());
    EXPECT_EQ(CString(L'x', 3), L"xxx");
    EXPECT_TRUE(CString(L'x', -2).IsEmpty());
    EXPECT_EQ(CString(std::wstring(L"std")), L"std");
    CString assigned = L"first";
    assigned = static_cast<const wchar_t*>(nullptr);
    EXPECT_TRUE(assigned.IsEmpty());
}

TEST(CStringConstruction, NarrowAndWideConvertThroughUtf8)
{
    const CString wide("Ger\xc3\xa4t \xe6\x97\xa5");
    EXPECT_EQ(wide, L"Ger\u00e4t \u65e5");
    EXPECT_EQ(wide.GetLength(), 7);
    const CStringA narrow(wide);
    EXPECT_STREQ(narrow, "Ger\xc3\xa4t \xe6\x97\xa5");
    EXPECT_EQ(narrow.GetLength(), 10);
    EXPECT_EQ(CString(narrow), wide);
    CString appended(L"a");
    appended += "\xc3\xbc";
    EXPECT_EQ(appended, L"a\u00fc");
    CStringA fromWide(L"\u20ac");
    EXPECT_STREQ(fromWide.GetString(), "\xe2\x82\xac");
}

TEST(CStringAccess, IndexesOutOfRangeAreHarmless)
{
    CString text(L"abc");
    EXPECT_EQ(text.GetAt(1), L'b');
    EXPECT_EQ(text[2], L'c');
    EXPECT_EQ(text.GetAt(-1), L'\0');
    EXPECT_EQ(text.GetAt(3), L'\0');
    text.SetAt(0, L'X');
    text.SetAt(3, L'Y');
    text.SetAt(-1, L'Y');
    EXPECT_EQ(text, L"Xbc");
    const wchar_t* raw = text;
    EXPECT_EQ(std::wcslen(raw), 3u);
}

TEST(CStringExtract, MidLeftRightClampLikeTheFramework)
{
    const CString text(L"Hello");
    EXPECT_EQ(text.Mid(-2), L"Hello");
    EXPECT_EQ(text.Mid(1), L"ello");
    EXPECT_EQ(text.Mid(5), L"");
    EXPECT_EQ(text.Mid(10), L"");
    EXPECT_EQ(text.Mid(1, 100), L"ello");
    EXPECT_EQ(text.Mid(1, INT_MAX), L"ello");
    EXPECT_EQ(text.Mid(INT_MAX, INT_MAX), L"");
    EXPECT_EQ(text.Mid(2, -1), L"");
    EXPECT_EQ(text.Mid(-3, 2), L"He");
    EXPECT_EQ(text.Left(-1), L"");
    EXPECT_EQ(text.Left(2), L"He");
    EXPECT_EQ(text.Left(99), L"Hello");
    EXPECT_EQ(text.Right(2), L"lo");
    EXPECT_EQ(text.Right(99), L"Hello");
    EXPECT_EQ(text.Right(-4), L"");
    EXPECT_EQ(CString().Mid(0, 1), L"");
}

TEST(CStringExtract, SpanIncludingAndExcluding)
{
    const CString text(L"123abc456");
    EXPECT_EQ(text.SpanIncluding(L"0123456789"), L"123");
    EXPECT_EQ(text.SpanIncluding(L"abc"), L"");
    EXPECT_EQ(text.SpanIncluding(nullptr), L"");
    EXPECT_EQ(text.SpanExcluding(L"cb"), L"123a");
    EXPECT_EQ(text.SpanExcluding(L"xyz"), text);
    EXPECT_EQ(text.SpanExcluding(nullptr), text);
}

TEST(CStringTokenize, WalksTokensAndSkipsRunsOfDelimiters)
{
    const CString text(L"  a, b;;c  ,");
    std::vector<CString> tokens;
    int position = 0;
    CString token = text.Tokenize(L" ,;", position);
    while (position != -1) {
        tokens.push_back(token);
        token = text.Tokenize(L" ,;", position);
    }
    EXPECT_EQ(tokens, (std::vector<CString>{L"a", L"b", L"c"}));
    EXPECT_TRUE(token.IsEmpty());
    // Once done it stays done.
    EXPECT_TRUE(text.Tokenize(L",", position).IsEmpty());
    EXPECT_EQ(position, -1);
}

TEST(CStringTokenize, EdgesEndTheWalk)
{
    int position = 0;
    EXPECT_TRUE(CString(L",,,").Tokenize(L",", position).IsEmpty());
    EXPECT_EQ(position, -1);
    position = -5;
    EXPECT_TRUE(CString(L"a").Tokenize(L",", position).IsEmpty());
    EXPECT_EQ(position, -1);
    // Without delimiters the rest is one token, and the walk ends after it.
    position = 2;
    const CString text(L"abcdef");
    EXPECT_EQ(text.Tokenize(L"", position), L"cdef");
    EXPECT_NE(position, -1);
    EXPECT_TRUE(text.Tokenize(L"", position).IsEmpty());
    EXPECT_EQ(position, -1);
    position = 0;
    EXPECT_EQ(CString(L"x=1").Tokenize(L"=", position), L"x");
    EXPECT_EQ(CString(L"x=1").Tokenize(L"=", position), L"1");
    EXPECT_EQ(position, 4);
}

TEST(CStringSearch, FindVariantsAndStartPositions)
{
    const CString text(L"Hello");
    EXPECT_EQ(text.Find(L'l'), 2);
    EXPECT_EQ(text.Find(L'l', 3), 3);
    EXPECT_EQ(text.Find(L'l', 99), -1);
    EXPECT_EQ(text.Find(L'l', -1), -1);
    EXPECT_EQ(text.Find(L"lo"), 3);
    EXPECT_EQ(text.Find(L"lo", 4), -1);
    EXPECT_EQ(text.Find(L""), 0);
    EXPECT_EQ(text.Find(L"", 5), 5);
    EXPECT_EQ(text.Find(L"", 6), -1);
    EXPECT_EQ(text.Find(static_cast<const wchar_t*>(nullptr)), -1);
    EXPECT_EQ(text.ReverseFind(L'l'), 3);
    EXPECT_EQ(text.ReverseFind(L'z'), -1);
    EXPECT_EQ(text.FindOneOf(L"xyo"), 4);
    EXPECT_EQ(text.FindOneOf(L""), -1);
}

TEST(CStringEdit, ReplaceCountsNonOverlappingMatches)
{
    CString text(L"aaaa");
    EXPECT_EQ(text.Replace(L"aa", L"b"), 2);
    EXPECT_EQ(text, L"bb");
    text = L"aaa";
    EXPECT_EQ(text.Replace(L"aa", L"a"), 1);
    EXPECT_EQ(text, L"aa");
    // A replacement that holds the search text is not searched again.
    text = L"a-a";
    EXPECT_EQ(text.Replace(L"a", L"aa"), 2);
    EXPECT_EQ(text, L"aa-aa");
    text = L"\\\\server\\\\share";
    EXPECT_EQ(text.Replace(L"\\\\", L"\\"), 2);
    EXPECT_EQ(text, L"\\server\\share");
    EXPECT_EQ(text.Replace(L"", L"x"), 0);
    EXPECT_EQ(text.Replace(static_cast<const wchar_t*>(nullptr), L"x"), 0);
    EXPECT_EQ(text.Replace(L"\\", nullptr), 2);
    EXPECT_EQ(text, L"servershare");
    EXPECT_EQ(text.Replace(L'e', L'E'), 3);
    EXPECT_EQ(text, L"sErvErsharE");
}

TEST(CStringEdit, ReplaceWithTextsFromItself)
{
    CString text(L"abab");
    EXPECT_EQ(text.Replace(text.GetString(), L"x"), 1);
    EXPECT_EQ(text, L"x");
    text = L"abc";
    const CString copy = text;
    EXPECT_EQ(text.Replace(L"b", text.GetString()), 1);
    EXPECT_EQ(text, L"a" + copy + L"c");
}

TEST(CStringEdit, RemoveInsertDeleteClamp)
{
    CString text(L"a.b.c");
    EXPECT_EQ(text.Remove(L'.'), 2);
    EXPECT_EQ(text, L"abc");
    EXPECT_EQ(text.Insert(-3, L'x'), 4);
    EXPECT_EQ(text.Insert(99, L"yz"), 6);
    EXPECT_EQ(text.Insert(1, static_cast<const wchar_t*>(nullptr)), 6);
    EXPECT_EQ(text, L"xabcyz");
    EXPECT_EQ(text.Delete(-1, 2), 4);
    EXPECT_EQ(text, L"bcyz");
    EXPECT_EQ(text.Delete(2, 99), 2);
    EXPECT_EQ(text.Delete(99), 2);
    EXPECT_EQ(text.Delete(0, -1), 2);
    EXPECT_EQ(text, L"bc");
}

TEST(CStringEdit, TrimBlanksCharactersAndSets)
{
    CString text(L"  \t x y \r\n");
    EXPECT_EQ(text.Trim(), L"x y");
    text = L" \t\r\n";
    EXPECT_EQ(text.Trim(), L"");
    text = L"xxabcxx";
    EXPECT_EQ(CString(text).TrimLeft(L'x'), L"abcxx");
    EXPECT_EQ(CString(text).TrimRight(L'x'), L"xxabc");
    EXPECT_EQ(CString(text).Trim(L'x'), L"abc");
    EXPECT_EQ(CString(L"-=abc=-").Trim(L"=-"), L"abc");
    EXPECT_EQ(CString(L"abc").Trim(static_cast<const wchar_t*>(nullptr)), L"abc");
    EXPECT_EQ(CString(L"xxxx").TrimRight(L'x'), L"");
    EXPECT_EQ(CString(L" a ").TrimLeft(), L"a ");
    EXPECT_EQ(CString(L" a ").TrimRight(), L" a");
}

TEST(CStringCase, UpperLowerAndReverseBeyondAscii)
{
    CString text(L"Stra\u00dfe \u00e4\u00d6 \u0434\u043e\u043c");
    EXPECT_EQ(CString(text).MakeUpper(), L"STRA\u00dfE \u00c4\u00d6 \u0414\u041e\u041c");
    EXPECT_EQ(CString(text).MakeLower(), L"stra\u00dfe \u00e4\u00f6 \u0434\u043e\u043c");
    EXPECT_EQ(CString(L"abc").MakeReverse(), L"cba");
    CStringA narrow("ger\xc3\xa4t");
    EXPECT_STREQ(narrow.MakeUpper(), "GER\xc3\x84T");
    // Bytes that are not UTF-8 stay as they are; ASCII letters still change.
    CStringA raw("ab\xff");
    EXPECT_STREQ(raw.MakeUpper(), "AB\xff");
}

TEST(CStringCompare, CaseSensitiveInsensitiveAndOperators)
{
    const CString text(L"Apfel");
    EXPECT_EQ(text.Compare(L"Apfel"), 0);
    EXPECT_LT(text.Compare(L"apfel"), 0);
    EXPECT_GT(text.Compare(nullptr), 0);
    EXPECT_EQ(CString(L"\u00c4pfel").CompareNoCase(L"\u00e4PFEL"), 0);
    EXPECT_LT(CString(L"a").CompareNoCase(L"B"), 0);
    EXPECT_EQ(CString(L"TCPIP").CompareNoCase(L"tcpip"), 0);
    EXPECT_EQ(text.Collate(L"Apfel"), 0);
    EXPECT_TRUE(text == L"Apfel");
    EXPECT_TRUE(L"Apfel" == text);
    EXPECT_TRUE(text != L"apfel");
    EXPECT_TRUE(CString(L"x") == L'x');
    EXPECT_TRUE(CString(L"xy") != L'x');
    EXPECT_TRUE(CString(L"a") < CString(L"b"));
    EXPECT_TRUE(L"a" < CString(L"b"));
    EXPECT_TRUE(CString(L"b") > L"a");
    EXPECT_TRUE(CString(L"1.2") <= L"1.2");
    std::map<CString, int> sorted{{L"b", 2}, {L"a", 1}};
    EXPECT_EQ(sorted.begin()->first, L"a");
}

TEST(CStringCompare, ConcatenationCombinations)
{
    const CString a(L"a");
    EXPECT_EQ(a + L"b", L"ab");
    EXPECT_EQ(L"b" + a, L"ba");
    EXPECT_EQ(a + L'c', L"ac");
    EXPECT_EQ(L'c' + a, L"ca");
    EXPECT_EQ(a + a, L"aa");
    CString built;
    built += a;
    built += L"\r\n";
    built += L'!';
    built += static_cast<const wchar_t*>(nullptr);
    EXPECT_EQ(built, L"a\r\n!");
}

TEST(CStringBuffer, ReleaseBufferTakesTheLengthUpToTheFirstNul)
{
    CString text(L"abc");
    wchar_t* buffer = text.GetBuffer(260);
    std::wcscpy(buffer, L"C:\\data\\file.txt");
    text.ReleaseBuffer();
    EXPECT_EQ(text, L"C:\\data\\file.txt");
    EXPECT_EQ(text.GetLength(), 16);
    // Written without a terminator up to the full length.
    buffer = text.GetBufferSetLength(4);
    std::wmemset(buffer, L'x', 4);
    text.ReleaseBuffer(-1);
    EXPECT_EQ(text, L"xxxx");
    text.GetBuffer();
    text.ReleaseBuffer(2);
    EXPECT_EQ(text, L"xx");
    text.ReleaseBuffer(99);
    EXPECT_EQ(text, L"xx");
    // A smaller request keeps the text.
    EXPECT_STREQ(text.GetBuffer(-5), L"xx");
    text.ReleaseBuffer();
    EXPECT_EQ(text, L"xx");
    // The old content stays in a larger buffer.
    buffer = text.GetBuffer(10);
    EXPECT_STREQ(buffer, L"xx");
    text.ReleaseBuffer();
    EXPECT_EQ(text.GetLength(), 2);
}

TEST(CStringFormat, FormatAndAppendFormatUseThePlatformRules)
{
    CString text;
    text.Format(L"%d-%s-%S", 5, CString(L"w"), "n");
    EXPECT_EQ(text, L"5-w-n");
    text.AppendFormat(L"|%lu", -1);
    EXPECT_EQ(text, L"5-w-n|4294967295");
    // The text itself may be an argument.
    text.Format(L"[%s]", text);
    EXPECT_EQ(text, L"[5-w-n|4294967295]");
    const CString format(L"%s - %s");
    text.Format(format, L"article", L"app");
    EXPECT_EQ(text, L"article - app");
    text.Format(L"%s", 12);
    EXPECT_EQ(text, L"%s");
    CStringA narrow;
    narrow.Format("%s=%S", "k", L"\u00e4");
    EXPECT_STREQ(narrow, "k=\xc3\xa4");
}
