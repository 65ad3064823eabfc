#include "Platform/Base/BStr.h"
#include "Platform/Base/CString.h"
#include "Platform/Base/Format.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

// The rules of the platform's wide formatting that the traces and texts rely on.
TEST(FormatWindowsRules, TextWidthFollowsTheFormatWidth)
{
    EXPECT_EQ(FormatW(L"%s|%S", L"wide", "narrow"), L"wide|narrow");
    EXPECT_EQ(FormatA("%s|%S", "narrow", L"wide"), "narrow|wide");
    EXPECT_EQ(FormatW(L"%hs+%ls+%ws", "h", L"l", L"w"), L"h+l+w");
    // Narrow text is UTF-8 on its way in and out.
    EXPECT_EQ(FormatW(L"%S", "Ger\xc3\xa4t"), L"Ger\u00e4t");
    EXPECT_EQ(FormatA("%S", L"Ger\u00e4t \u65e5"), "Ger\xc3\xa4t \xe6\x97\xa5");
    // A text of the other width still renders right instead of as garbage.
    EXPECT_EQ(FormatW(L"%s", "narrow"), L"narrow");
}

TEST(FormatWindowsRules, CharactersFollowTheFormatWidth)
{
    EXPECT_EQ(FormatW(L"%c%C", L'\u00e4', 'x'), L"\u00e4x");
    EXPECT_EQ(FormatA("%c%C", 'x', L'\u00e4'), "x\xc3\xa4");
    // An int is read with the width the conversion names.
    EXPECT_EQ(FormatW(L"%c", 0x263A), L"\u263A");
    EXPECT_EQ(FormatA("%C", 0x263A), "\xe2\x98\xba");
    EXPECT_EQ(FormatW(L"[%3c|%-3c]", L'a', L'b'), L"[  a|b  ]");
}

TEST(FormatWindowsRules, LongIsThirtyTwoBits)
{
    EXPECT_EQ(FormatW(L"%lu", -1), L"4294967295");
    EXPECT_EQ(FormatW(L"%lu", -1L), L"4294967295");
    EXPECT_EQ(FormatW(L"%ld", 0x80000000LL), L"-2147483648");
    EXPECT_EQ(FormatW(L"%lx", 0x1FFFFFFFFLL), L"ffffffff");
    EXPECT_EQ(FormatW(L"%u", -1), L"4294967295");
    EXPECT_EQ(FormatW(L"%d", 0x100000005LL), L"5");
    EXPECT_EQ(FormatW(L"%I32u", -2), L"4294967294");
}

TEST(FormatWindowsRules, SixtyFourBitAndPointerSizedPrefixes)
{
    EXPECT_EQ(FormatW(L"%I64d", INT64_MIN), L"-9223372036854775808");
    EXPECT_EQ(FormatW(L"%I64u", -1), L"18446744073709551615");
    EXPECT_EQ(FormatW(L"%lld|%llX", -5LL, 0xABCDEF0123LL), L"-5|ABCDEF0123");
    EXPECT_EQ(FormatW(L"%Iu|%zu", static_cast<std::size_t>(-1), std::size_t{7}), L"18446744073709551615|7");
    EXPECT_EQ(FormatA("%I64x", std::uint64_t{0xDEADBEEFCAFEull}), "deadbeefcafe");
}

TEST(FormatWindowsRules, ShortPrefixesWrapLikeThePlatform)
{
    EXPECT_EQ(FormatW(L"%hu", 70000), L"4464");
    EXPECT_EQ(FormatW(L"%hd", 40000), L"-25536");
    EXPECT_EQ(FormatW(L"%hhu|%hhd", 300, 200), L"44|-56");
    EXPECT_EQ(FormatW(L"%hX", -1), L"FFFF");
}

TEST(FormatWindowsRules, FlagsWidthAndPrecision)
{
    EXPECT_EQ(FormatW(L"%08X", 0xBEEFu), L"0000BEEF");
    EXPECT_EQ(FormatW(L"0x%08X", 0x20010200u), L"0x20010200");
    EXPECT_EQ(FormatW(L"%-5s|", L"ab"), L"ab   |");
    EXPECT_EQ(FormatW(L"%5s|%.2s|%-4.1s|", L"ab", L"abcdef", L"xyz"), L"   ab|ab|x   |");
    EXPECT_EQ(FormatW(L"%+d|% d|%+d", 5, 5, -5), L"+5| 5|-5");
    EXPECT_EQ(FormatW(L"%#x|%#X|%#o|%#x", 31, 31, 15, 0), L"0x1f|0X1F|017|0");
    EXPECT_EQ(FormatW(L"%5.3d|%-6d|%06d|%-06d", 7, 42, -42, 42), L"  007|42    |-00042|42    ");
    EXPECT_EQ(FormatW(L"[%.0d]", 0), L"[]");
    EXPECT_EQ(FormatW(L"%04d %04d %04d %04d", 10, 20, 300, -1), L"0010 0020 0300 -001");
    EXPECT_EQ(FormatW(L"%02d:%02d:%02d", 7, 5, 0), L"07:05:00");
    EXPECT_EQ(FormatW(L"%02X:%02X", 0x0A, 0xFF), L"0A:FF");
    // HRESULTs are negative 32-bit values and print as their bits.
    EXPECT_EQ(FormatW(L"0x%08X|%08lx", E_FAIL, E_INVALIDARG), L"0x80004005|80070057");
    EXPECT_EQ(FormatW(L"%%|%5%"), L"%|%");
}

TEST(FormatWindowsRules, StarTakesWidthAndPrecisionFromArguments)
{
    EXPECT_EQ(FormatW(L"%.*f", 2, 3.14159), L"3.14");
    EXPECT_EQ(FormatW(L"%*d|", 5, 42), L"   42|");
    EXPECT_EQ(FormatW(L"%*d|", -5, 42), L"42   |");
    EXPECT_EQ(FormatW(L"0.%0*d", 16, 1), L"0.0000000000000001");
    EXPECT_EQ(FormatW(L"%.*s", -1, L"all"), L"all");
}

TEST(FormatWindowsRules, FloatingConversions)
{
    EXPECT_EQ(FormatW(L"%f", 1.5), L"1.500000");
    EXPECT_EQ(FormatW(L"%e|%E", 1.5, 1.5), L"1.500000e+00|1.500000E+00");
    EXPECT_EQ(FormatW(L"%g|%G", 0.0001, 1e-10), L"0.0001|1E-10");
    EXPECT_EQ(FormatW(L"%10.2f|%-8.1f|%+.0f", 3.14159, 2.26, 2.6), L"      3.14|2.3     |+3");
    EXPECT_EQ(FormatW(L"%.17E", 123.0), L"1.23000000000000000E+02");
    EXPECT_EQ(FormatW(L"%.18g", 0.1), L"0.100000000000000006");
    EXPECT_EQ(FormatW(L"%.02f", 19.2f), L"19.20");
    // An integer for a floating conversion is taken by its value.
    EXPECT_EQ(FormatW(L"%.1f", 3), L"3.0");
}

TEST(FormatWindowsRules, PointersAreAllTheirHexDigits)
{
    EXPECT_EQ(FormatW(L"%p", reinterpret_cast<void*>(0x1234)), L"0000000000001234");
    EXPECT_EQ(FormatA("%p", nullptr), "0000000000000000");
}

TEST(FormatArguments, TextObjectsAndBoundedArrays)
{
    const CString text(L"cs");
    const std::wstring wide = L"ws";
    const std::string narrow = "ns";
    const _bstr_t bstr(L"bs");
    EXPECT_EQ(FormatW(L"%s %s %S %s", text, wide, narrow, bstr), L"cs ws ns bs");
    // An unterminated array is read no further than its end.
    const char raw[4] = {'a', 'b', 'c', 'd'};
    EXPECT_EQ(FormatW(L"%S|", raw), L"abcd|");
    // A string with a NUL inside renders all of its characters.
    EXPECT_EQ(FormatW(L"%s", std::wstring(L"a\0b", 3)).size(), 3u);
    EXPECT_EQ(FormatA("%d %u", true, 'A'), "1 65");
}

TEST(FormatArguments, NullTextRendersNull)
{
    EXPECT_EQ(FormatW(L"%s|%S", static_cast<const wchar_t*>(nullptr), static_cast<const char*>(nullptr)),
              L"(null)|(null)");
    EXPECT_EQ(FormatA("%s|%.3s", nullptr, static_cast<const char*>(nullptr)), "(null)|(nu");
    EXPECT_EQ(FormatW(nullptr, 1), L"");
}

TEST(FormatArguments, PrecisionNeverSplitsAUtf8Character)
{
    EXPECT_EQ(FormatA("%.3S", L"\u00e4\u00f6"), "\xc3\xa4");
    EXPECT_EQ(FormatA("%.4S", L"\u00e4\u00f6"), "\xc3\xa4\xc3\xb6");
    EXPECT_EQ(FormatW(L"%.1S", "\xc3\xa4\xc3\xb6"), L"\u00e4");
}

// Formats as a translation may get them wrong: they must render harmlessly.
TEST(FormatMismatch, TooFewArgumentsKeepTheConversionText)
{
    EXPECT_EQ(FormatW(L"%d and %s", 5), L"5 and %s");
    EXPECT_EQ(FormatW(L"%s: %s (%s)", L"a"), L"a: %s (%s)");
    EXPECT_EQ(FormatW(L"%*d", 5), L"%*d");
}

TEST(FormatMismatch, WrongTypesKeepTheConversionAndTheOrder)
{
    // Text where a number is expected: the argument is used up, the next one
    // still goes to the next conversion.
    EXPECT_EQ(FormatW(L"%d/%d", L"x", 7), L"%d/7");
    EXPECT_EQ(FormatW(L"%08X", "text"), L"%08X");
    // A number where text is expected.
    EXPECT_EQ(FormatW(L"[%s]", 42), L"[%s]");
    EXPECT_EQ(FormatW(L"[%-10s]", 4.5), L"[%-10s]");
    EXPECT_EQ(FormatW(L"[%c]", L"text"), L"[%c]");
    EXPECT_EQ(FormatW(L"%f", L"x"), L"%f");
    EXPECT_EQ(FormatW(L"%d", 2.5), L"%d");
    // A non-text pointer is not text.
    int value = 0;
    EXPECT_EQ(FormatW(L"%s", &value), L"%s");
    EXPECT_EQ(FormatW(L"%.*f", L"2", 1.0), L"%.*f");
}

TEST(FormatMismatch, PercentNNeverWrites)
{
    int written = -7;
    EXPECT_EQ(FormatW(L"ab%ncd%d", &written, 3), L"ab%ncd3");
    EXPECT_EQ(written, -7);
    EXPECT_EQ(FormatA("%hn%lln", &written, &written), "%hn%lln");
    EXPECT_EQ(written, -7);
}

TEST(FormatMismatch, UnknownAndUnfinishedConversions)
{
    EXPECT_EQ(FormatW(L"100%"), L"100%");
    EXPECT_EQ(FormatW(L"50%", 1), L"50%");
    EXPECT_EQ(FormatW(L"%-08.3"), L"%-08.3");
    EXPECT_EQ(FormatW(L"%I64"), L"%I64");
    // An unknown conversion uses no argument.
    EXPECT_EQ(FormatW(L"%y%d", 4), L"%y4");
    EXPECT_EQ(FormatA("%k %Z %d", 9), "%k %Z 9");
}

TEST(FormatMismatch, HugeWidthsAreBounded)
{
    const std::wstring wide = FormatW(L"%999999999999d", 1);
    EXPECT_GT(wide.size(), 1000u);
    EXPECT_LE(wide.size(), 100000u);
    EXPECT_EQ(wide.back(), L'1');
    EXPECT_LE(FormatW(L"%*s", INT_MAX, L"x").size(), 100000u);
    EXPECT_LE(FormatW(L"%.*f", INT_MAX, 1.0).size(), 100002u);
}

TEST(FormatBuffers, CutTextIsTerminatedAndReported)
{
    wchar_t buffer[8];
    EXPECT_EQ(swprintf_s(buffer, L"%s", L"0123456789"), -1);
    EXPECT_STREQ(buffer, L"0123456");
    EXPECT_EQ(swprintf_s(buffer, L"%d", 1234567), 7);
    EXPECT_STREQ(buffer, L"1234567");
    EXPECT_EQ(swprintf_s(buffer, 8, L"%s", L"abcdefgh"), -1);
    EXPECT_STREQ(buffer, L"abcdefg");
}

TEST(FormatBuffers, CountLimitsTheCharactersWritten)
{
    wchar_t buffer[8];
    EXPECT_EQ(_snwprintf_s(buffer, 8, 3, L"%d", 12345), -1);
    EXPECT_STREQ(buffer, L"123");
    EXPECT_EQ(_snwprintf_s(buffer, _TRUNCATE, L"%d", 12345), 5);
    EXPECT_STREQ(buffer, L"12345");
    EXPECT_EQ(_snwprintf_s(buffer, 8, 5, L"%d", 12345), 5);
    char narrow[4];
    EXPECT_EQ(_snprintf_s(narrow, _TRUNCATE, "%s", "abcdef"), -1);
    EXPECT_STREQ(narrow, "abc");
    EXPECT_EQ(sprintf_s(narrow, "%d", 12), 2);
    EXPECT_STREQ(narrow, "12");
}

TEST(FormatBuffers, NothingIsWrittenBeyondTheGivenSize)
{
    wchar_t buffer[16];
    std::fill(std::begin(buffer), std::end(buffer), L'#');
    EXPECT_EQ(swprintf_s(buffer, 4, L"%s", L"overflowing"), -1);
    EXPECT_EQ(std::wstring(buffer, 4), std::wstring(L"ove\0", 4));
    EXPECT_EQ(buffer[4], L'#');
    EXPECT_EQ(swprintf_s(buffer, 0, L"%s", L"x"), -1);
    EXPECT_EQ(buffer[0], L'o');
    EXPECT_EQ(swprintf_s(static_cast<wchar_t*>(nullptr), 10, L"x"), -1);
    EXPECT_EQ(swprintf_s(buffer, 1, L"x"), -1);
    EXPECT_EQ(buffer[0], L'\0');
}

TEST(FormatBuffers, FourKilobyteTraceLinesAreCut)
{
    wchar_t line[4096];
    const std::wstring longText(10000, L'x');
    EXPECT_EQ(_snwprintf_s(line, _TRUNCATE, L"%s\n", longText.c_str()), -1);
    EXPECT_EQ(std::wstring(line).size(), 4095u);
}
