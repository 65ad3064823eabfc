#include "Common/SystemHelper/Values/StringUtils.h"
#include "Platform/Base/BStr.h"
#include "Platform/Base/Tests/DebugOutputFile.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdlib.h>
#include <memory>
#include <stdexcept>
#include <unistd.h>

TEST(StringTrim, BlanksOnlyComeBackUnchanged)
{
    EXPECT_EQ(Trim(L"   "), L"   ");
    EXPECT_EQ(Trim(L" a b "), L"a b");
    EXPECT_EQ(TrimLeft(L"\t\f\v\n\rx "), L"x ");
    EXPECT_EQ(TrimRight(L" x\t\f\v\n\r"), L" x");
    EXPECT_EQ(Trim(L""), L"");
}

TEST(StringTrim, SpacesAndControls)
{
    EXPECT_EQ(TrimSpacesAndControls(L"a"), L"a");
    EXPECT_EQ(TrimSpacesAndControls(L"\t \t  "), L"");
    EXPECT_EQ(TrimSpacesAndControls(L"\x01 a\x7f b \x1b"), L"a\x7f b");
    EXPECT_EQ(TrimSpacesAndControls(L""), L"");
}

TEST(StringCase, ConvertAndCompare)
{
    EXPECT_EQ(ToLower(L"AbC-1"), L"abc-1");
    EXPECT_EQ(ToUpper(L"AbC-1"), L"ABC-1");
    EXPECT_EQ(CompareNoCase(L"Ethernet", L"ETHERNET"), 0);
    EXPECT_LT(CompareNoCase(L"abc", L"ABD"), 0);
    EXPECT_GT(CompareNoCase(L"b", L"A"), 0);
}

TEST(StringParts, LeftRightBeforeAfter)
{
    EXPECT_EQ(StrLeft(L"abc", 2), L"ab");
    EXPECT_EQ(StrLeft(L"abc", 10), L"abc");
    EXPECT_EQ(StrRight(L"abc", 2), L"bc");
    EXPECT_EQ(StrRight(L"abc", 10), L"abc");
    EXPECT_EQ(StrRight(L"abc", 0), L"");
    EXPECT_EQ(StrBeforeAnyOf(L"key=value;x", L";="), L"key");
    EXPECT_EQ(StrBeforeAnyOf(L"plain", L";="), L"plain");
    EXPECT_EQ(StrAfterLastOf(L"a/b\\c.txt", L"/\\"), L"c.txt");
    EXPECT_EQ(StrAfterLastOf(L"plain", L"/\\"), L"plain");
    EXPECT_EQ(StrAfterLastOf(L"ends/", L"/"), L"");
}

TEST(StringEraseReplace, EveryAndLast)
{
    EXPECT_EQ(EraseAll(L"abcabc", L"b"), L"acac");
    // The search resumes where the last removal was, not at the start: the
    // halves that a removal joins stay.
    EXPECT_EQ(EraseAll(L"aabb", L"ab"), L"ab");
    EXPECT_EQ(EraseAll(L"abab", L"ab"), L"");
    EXPECT_EQ(EraseLast(L"abcabc", L"bc"), L"abca");
    EXPECT_EQ(ReplaceAll(L"aa", L"a", L"aa"), L"aaaa");
    EXPECT_EQ(ReplaceAll(L"a.b.c", L".", L""), L"abc");
    EXPECT_EQ(ReplaceLast(L"a.b.c", L".", L"::"), L"a.b::c");
    EXPECT_EQ(ReplaceLast(L"abc", L"x", L"y"), L"abc");
}

TEST(StringEraseReplace, EmptySearchChangesNothingAndEnds)
{
    EXPECT_EQ(EraseAll(L"abc", L""), L"abc");
    EXPECT_EQ(EraseLast(L"abc", L""), L"abc");
    EXPECT_EQ(ReplaceAll(L"abc", L"", L"x"), L"abc");
    EXPECT_EQ(ReplaceLast(L"abc", L"", L"x"), L"abc");
}

TEST(StringSplit, RunsAndEdgesOfDelimiters)
{
    std::vector<std::wstring> parts;
    SplitString(L",a,,b,", L",", parts);
    EXPECT_EQ(parts, (std::vector<std::wstring>{L"a", L"b"}));
    SplitString(L",,,", L",", parts);
    EXPECT_TRUE(parts.empty());
    SplitString(L"a;b c", L"; ", parts);
    EXPECT_EQ(parts, (std::vector<std::wstring>{L"a", L"b", L"c"}));
}

TEST(StringSplit, AppendAndTrimAlsoTouchEarlierElements)
{
    std::vector<std::wstring> parts{L"  old  "};
    EXPECT_EQ(SplitString(L" x . y ", L".", parts, true, true), 3u);
    EXPECT_EQ(parts, (std::vector<std::wstring>{L"old", L"x", L"y"}));
    EXPECT_EQ(SplitString(L"z", L".", parts, true, false), 1u);
    EXPECT_EQ(parts, (std::vector<std::wstring>{L"z"}));
}

TEST(StringJoin, SeparatorAfterEveryText)
{
    EXPECT_EQ(JoinStrings(std::vector<std::wstring>{L"a", L"b"}, L";"), L"a;b;");
    EXPECT_EQ(JoinStrings(std::vector<std::wstring>{}, L";"), L"");
    const std::array<std::wstring, 1> one{L"x"};
    EXPECT_EQ(JoinStrings(one, L", "), L"x, ");
}

TEST(StringInsertEveryN, Pieces)
{
    EXPECT_EQ(InsertEveryN(L"abcdef", L"-", 4), L"abcd-ef");
    EXPECT_EQ(InsertEveryN(L"abcdef", L"-", 3), L"abc-def");
    EXPECT_EQ(InsertEveryN(L"abc", L"::", 1), L"a::b::c");
    EXPECT_EQ(InsertEveryN(L"", L"-", 2), L"");
    EXPECT_EQ(InsertEveryN(L"ab", L"-", 100), L"ab");
}

TEST(StringInsertEveryN, CountBelowOneIsRefused)
{
    // A count of 0 never got past the first piece.
    EXPECT_THROW(InsertEveryN(L"abc", L"-", 0), std::invalid_argument);
    EXPECT_THROW(InsertEveryN(L"abc", L"-", -3), std::invalid_argument);
}

TEST(StringAppendWithSeparator, ExactlyOneSeparator)
{
    struct Case {
        const wchar_t* text;
        const wchar_t* part;
        const wchar_t* result;
    };
    const Case cases[] = {
        {L"", L"b", L"b"},         {L"", L"/b", L"/b"},   {L"a/", L"/b", L"a/b"},
        {L"a/", L"b", L"a/b"},     {L"a", L"/b", L"a/b"}, {L"a", L"b", L"a/b"},
        {L"a//", L"//b", L"a///b"}, {L"a", L"", L"a/"},
    };
    for (const Case& c : cases) {
        std::wstring text = c.text;
        AppendWithSeparator(text, c.part, L'/');
        EXPECT_EQ(text, c.result) << c.text << " + " << c.part;
    }
}

TEST(StringAppendWithSeparator, BufferNeverOverruns)
{
    wchar_t buffer[8] = L"dir";
    EXPECT_TRUE(AppendWithSeparator(buffer, L"sub", L'/'));
    EXPECT_STREQ(buffer, L"dir/sub");
    // "dir/sub/x" plus its terminator needs 10 characters; nothing changes.
    EXPECT_FALSE(AppendWithSeparator(buffer, L"x", L'/'));
    EXPECT_STREQ(buffer, L"dir/sub");

    wchar_t exact[6] = L"ab";
    EXPECT_TRUE(AppendWithSeparator(exact, sizeof(exact) / sizeof(exact[0]), L"cd", L'.'));
    EXPECT_STREQ(exact, L"ab.cd");

    wchar_t unterminated[3] = {L'a', L'b', L'c'};
    EXPECT_FALSE(AppendWithSeparator(unterminated, L"d", L'/'));
    EXPECT_FALSE(AppendWithSeparator(nullptr, 10, L"d", L'/'));
    wchar_t empty[4] = L"";
    EXPECT_TRUE(AppendWithSeparator(empty, nullptr, L'/'));
    EXPECT_STREQ(empty, L"");
}

TEST(StringCopies, CharArraysAndBytes)
{
    std::unique_ptr<wchar_t[]> copy(StrToCharArray(L"ab"));
    EXPECT_STREQ(copy.get(), L"ab");
    std::unique_ptr<wchar_t[]> emptyCopy(StrToCharArray(L""));
    EXPECT_EQ(emptyCopy[0], L'\0');

    const BYTE bytes[] = {'a', 0, 0xFF};
    const std::wstring text = StringFromBytes(bytes, 3);
    ASSERT_EQ(text.size(), 3u);
    EXPECT_EQ(text[1], L'\0');
    EXPECT_EQ(text[2], L'\xFF');
    EXPECT_EQ(StringFromBytes(nullptr, 4), L"");
    EXPECT_EQ(RepeatSpaces(3), L"   ");
    EXPECT_EQ(RepeatSpaces(-1), L"");
}

TEST(StringSmallServices, HexDigitsComputerNameFiles)
{
    EXPECT_TRUE(ContainsHexDigit(L"xyz f"));
    EXPECT_TRUE(ContainsHexDigit(L"--7"));
    EXPECT_FALSE(ContainsHexDigit(L"xyz-"));

    const std::wstring name = GetComputerNameText();
    EXPECT_LE(name.size(), 15u);
    EXPECT_EQ(name.find(L'.'), std::wstring::npos);

    const auto folder = std::filesystem::temp_directory_path();
    const auto file = folder / ("systemhelper-readable-" + std::to_string(getpid()) + ".txt");
    std::ofstream(file) << "x";
    EXPECT_TRUE(IsFileReadable(file.wstring()));
    std::filesystem::remove(file);
    EXPECT_FALSE(IsFileReadable(file.wstring()));
    EXPECT_FALSE(IsFileReadable(folder.wstring()));
    EXPECT_FALSE(IsFileReadable(L""));
}

TEST(IpText, ToNumberFillsMissingPartsAtTheEnd)
{
    EXPECT_EQ(IpTextToUInt(L"192.168.1.2"), 0xC0A80102u);
    EXPECT_EQ(IpTextToUInt(L" 10 . 0 . 0 . 1 "), 0x0A000001u);
    EXPECT_EQ(IpTextToUInt(L""), 0u);
    EXPECT_EQ(IpTextToUInt(L"256.1.2.3"), 0x00010203u); // each part cut to 8 bits
    // Fewer parts mean what validation and normalisation say they mean.
    EXPECT_EQ(IpTextToUInt(L"10.1"), 0x0A010000u);
    EXPECT_EQ(IpTextToUInt(L"10.1"), IpTextToUInt(NormalizeIpText(L"10.1")));
    EXPECT_EQ(IpTextToUInt(L"1.2.3.4.5"), 0x01020304u);
    for (const wchar_t* text : {L"7", L"1.2.3", L"172.16", L"1.2.3.4"})
        EXPECT_EQ(IpTextToUInt(text), IpTextToUInt(NormalizeIpText(text))) << text;
}

TEST(IpText, FromNumberWithWidth)
{
    EXPECT_EQ(UIntToIpText(0xC0A80102u, 0), L"192.168.1.2");
    EXPECT_EQ(UIntToIpText(0xC0A80102u, 1), L" 192 . 168 . 1 . 2 ");
    for (DWORD value : {0u, 0xFFFFFFFFu, 0x0A000001u})
        EXPECT_EQ(IpTextToUInt(UIntToIpText(value, 2)), value);
}

TEST(IpText, Validation)
{
    EXPECT_TRUE(IsValidIpText(L""));
    EXPECT_TRUE(IsValidIpText(L"10.1"));
    EXPECT_TRUE(IsValidIpText(L"255.255.255.255"));
    EXPECT_FALSE(IsValidIpText(L"1.2.3.4."));
    EXPECT_FALSE(IsValidIpText(L"1.2.3.256"));
    EXPECT_FALSE(IsValidIpText(L"1.2.3.4.5"));
    EXPECT_FALSE(IsValidIpText(L"1.2.3.x"));
    EXPECT_FALSE(IsValidIpText(L" 1.2.3.4"));
    EXPECT_FALSE(IsValidIpText(L"0001.0002.0003.4"));    // longer than 15
    EXPECT_FALSE(IsValidIpText(L"99999999999.1")); // no overflow reading a part
}

TEST(IpText, Normalisation)
{
    EXPECT_EQ(NormalizeIpText(L"192.168.300.x7"), L"192.168.255.7");
    EXPECT_EQ(NormalizeIpText(L"1.2"), L"1.2.0.0");
    EXPECT_EQ(NormalizeIpText(L"1.2.3.4.5"), L"1.2.3.4");
    EXPECT_EQ(NormalizeIpText(L"007.000.1.99999999999999999999"), L"007.0.1.255");
    EXPECT_EQ(NormalizeIpText(L""), L"0.0.0.0");
    EXPECT_TRUE(IsValidIpText(NormalizeIpText(L"a1b.-2.3000.4")));
}

TEST(IpText, DottedPart)
{
    EXPECT_EQ(GetDottedPart(L"1. 22 .3", 1), L"22");
    EXPECT_EQ(GetDottedPart(L"1.2.3", 3), L"0");
    EXPECT_EQ(GetDottedPart(L"", 0), L"0");
}

TEST(TextNumbers, NumberInParentheses)
{
    EXPECT_EQ(ParseNumberInParentheses(L"Port (12)"), 12u);
    EXPECT_EQ(ParseNumberInParentheses(L"(7)"), 7u);
    EXPECT_EQ(ParseNumberInParentheses(L"42abc"), 42u);
    EXPECT_EQ(ParseNumberInParentheses(L"COM ( 3 )"), 3u);
    EXPECT_EQ(ParseNumberInParentheses(L"(x)"), 0u);
    EXPECT_EQ(ParseNumberInParentheses(L"7"), 0u);
    EXPECT_EQ(ParseNumberInParentheses(L""), 0u);
    EXPECT_EQ(ParseNumberInParentheses(L"("), 0u);
}

TEST(TextNumbers, RgbText)
{
    EXPECT_EQ(ParseRgbText(L"RGB(255,0,128)"), 0x8000FFu);
    EXPECT_EQ(ParseRgbText(L"255,0,128"), 0x8000FFu);
    EXPECT_EQ(ParseRgbText(L"RGB(1,2"), 0x000201u);
    EXPECT_EQ(ParseRgbText(L"RGB( 1, 2, 3)"), 0x030201u);
    EXPECT_EQ(ParseRgbText(L"RGB(1 ,2,3)"), 0x000001u);
    EXPECT_EQ(ParseRgbText(L"x RGB(1,2,3)"), 0u);
    EXPECT_EQ(ParseRgbText(L"511,99999999999999999999,3"), 0x03FFFFu);
    EXPECT_EQ(ParseRgbText(L""), 0u);
}

TEST(StringFormat, WideRulesAndMismatchedArguments)
{
    EXPECT_EQ(FormatString(L"%s=%d", L"port", 502), L"port=502");
    EXPECT_EQ(FormatString(L"%s|%s", std::wstring(L"a"), _bstr_t(L"b")), L"a|b");
    EXPECT_EQ(FormatString(L"%I64u", UINT64_MAX), L"18446744073709551615");
    const std::wstring longText(10000, L'x');
    EXPECT_EQ(FormatString(L"<%s>", longText).size(), 10002u);
    // A translated format that asks for more than it gets stays harmless.
    const std::wstring rendered = FormatString(L"%d %s", 1);
    EXPECT_EQ(rendered.substr(0, 2), L"1 ");
}

TEST(DebugTraceSwitch, WritesOnlyWhileOn)
{
    TestSupport::CDebugOutputFile output;
    EXPECT_FALSE(IsDebugTraceEnabled());
    DebugTrace(L"hidden %d", 1);
    EXPECT_EQ(output.Take(), "");

    SetDebugTraceEnabled(true);
    EXPECT_TRUE(IsDebugTraceEnabled());
    DebugTrace(L"%s: %d", L"Ger\u00e4t", 7);
    EXPECT_EQ(output.Take(), "Ger\xc3\xa4t: 7\n");

    // Cut to the trace buffer, terminated.
    DebugTrace(L"%s", std::wstring(5000, L'y'));
    EXPECT_TRUE(output.Take() == std::string(4095, 'y') + "\n");

    SetDebugTraceEnabled(false);
    EXPECT_FALSE(IsDebugTraceEnabled());
    DebugTrace(L"off again");
    EXPECT_EQ(output.Take(), "");
}
