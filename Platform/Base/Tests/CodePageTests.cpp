#include "Platform/Base/CodePage.h"
#include "Platform/Base/LastError.h"
#include "Platform/Base/WideRuntime.h"
#include "Platform/Base/WinError.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>

namespace {

std::wstring ToWide(UINT codePage, const std::string& bytes)
{
    const int size = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(size), L'\0');
    if (size > 0)
        MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), size);
    return out;
}

std::string ToBytes(UINT codePage, const std::wstring& text, BOOL* usedDefault = nullptr)
{
    const int size = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, usedDefault);
    std::string out(static_cast<std::size_t>(size), '\0');
    if (size > 0)
        WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr,
                            usedDefault);
    return out;
}

}

TEST(CodePageSizes, MinusOneCountsTheTerminator)
{
    const char* text = "Ger\xc3\xa4t";
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0), 6);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, text, 6, nullptr, 0), 5);
    wchar_t buffer[8];
    std::fill(std::begin(buffer), std::end(buffer), L'#');
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, text, -1, buffer, 8), 6);
    EXPECT_STREQ(buffer, L"Ger\u00e4t");
    EXPECT_EQ(buffer[6], L'#');
    // With an explicit count nothing is terminated.
    std::fill(std::begin(buffer), std::end(buffer), L'#');
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, text, 3, buffer, 8), 3);
    EXPECT_EQ(buffer[3], L'#');

    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, L"Ger\u00e4t", -1, nullptr, 0, nullptr, nullptr), 7);
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, L"\u20ac", 1, nullptr, 0, nullptr, nullptr), 3);
    EXPECT_EQ(WideCharToMultiByte(CP_ISO_8859_1, 0, L"Ger\u00e4t", -1, nullptr, 0, nullptr, nullptr), 6);
}

TEST(CodePageSizes, InsufficientBufferFailsWithItsError)
{
    wchar_t wide[3];
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "abc", -1, wide, 3), 0);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "abc", 3, wide, 3), 3);

    char bytes[2];
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, L"\u00e4", 1, bytes, 1, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, L"\u00e4", 1, bytes, 2, nullptr, nullptr), 2);
}

TEST(CodePageErrors, BadArgumentsAreInvalidParameters)
{
    wchar_t wide[4];
    char bytes[4];
    const auto expectInvalid = [](int result) {
        EXPECT_EQ(result, 0);
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
        SetLastError(ERROR_SUCCESS);
    };
    expectInvalid(MultiByteToWideChar(CP_UTF8, 0, nullptr, -1, wide, 4));
    expectInvalid(MultiByteToWideChar(CP_UTF8, 0, "a", 0, wide, 4));
    expectInvalid(MultiByteToWideChar(CP_UTF8, 0, "a", -2, wide, 4));
    expectInvalid(MultiByteToWideChar(CP_UTF8, 0, "a", -1, wide, -1));
    expectInvalid(MultiByteToWideChar(CP_UTF8, 0, "a", -1, nullptr, 4));
    expectInvalid(MultiByteToWideChar(1250, 0, "a", -1, wide, 4));
    expectInvalid(WideCharToMultiByte(CP_UTF8, 0, nullptr, -1, bytes, 4, nullptr, nullptr));
    expectInvalid(WideCharToMultiByte(CP_UTF8, 0, L"a", 0, bytes, 4, nullptr, nullptr));
    expectInvalid(WideCharToMultiByte(CP_UTF8, 0, L"a", -1, nullptr, 4, nullptr, nullptr));
    // UTF-8 has no default character.
    BOOL used = FALSE;
    expectInvalid(WideCharToMultiByte(CP_UTF8, 0, L"a", -1, bytes, 4, nullptr, &used));
    expectInvalid(WideCharToMultiByte(CP_UTF8, 0, L"a", -1, bytes, 4, "?", nullptr));
}

TEST(CodePageErrors, FlagsAndInvalidCharacters)
{
    wchar_t wide[4];
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_PRECOMPOSED, "a", -1, wide, 4), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_FLAGS);
    EXPECT_EQ(MultiByteToWideChar(CP_WINDOWS_1252, MB_PRECOMPOSED, "a", -1, wide, 4), 2);

    // Malformed UTF-8: replaced by default, refused when asked.
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "a\xff", 2, wide, 4), 2);
    EXPECT_EQ(wide[1], L'\uFFFD');
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "a\xff", 2, wide, 4), 0);
    EXPECT_EQ(GetLastError(), ERROR_NO_UNICODE_TRANSLATION);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "\xc3", 1, nullptr, 0), 0);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "\xc3\xa4", 2, nullptr, 0), 1);

    const wchar_t loneSurrogate[] = {L'a', static_cast<wchar_t>(0xD800), L'\0'};
    char bytes[8];
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, loneSurrogate, -1, bytes, 8, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastError(), ERROR_NO_UNICODE_TRANSLATION);
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, loneSurrogate, -1, bytes, 8, nullptr, nullptr), 5);
    EXPECT_STREQ(bytes, "a\xef\xbf\xbd");
}

TEST(CodePageSingleByte, Windows1252MapsTheC1Range)
{
    EXPECT_EQ(ToWide(CP_WINDOWS_1252, "\x80"), L"\u20ac");
    EXPECT_EQ(ToWide(CP_WINDOWS_1252, "\x8a\x93\x99\x9f"), L"\u0160\u201c\u2122\u0178");
    EXPECT_EQ(ToWide(CP_WINDOWS_1252, "\xe4\xf6\xfc\xdf"), L"\u00e4\u00f6\u00fc\u00df");
    EXPECT_EQ(ToBytes(CP_WINDOWS_1252, L"\u20ac\u2026"), "\x80\x85");
    // ISO-8859-1 has no euro sign: there 0x80 is a control character.
    EXPECT_EQ(ToWide(CP_ISO_8859_1, "\x80"), L"\u0080");
    BOOL used = FALSE;
    EXPECT_EQ(ToBytes(CP_ISO_8859_1, L"\u20ac", &used), "?");
    EXPECT_TRUE(used);
}

TEST(CodePageSingleByte, EveryByteRoundTrips)
{
    std::string all;
    for (int byte = 1; byte < 256; ++byte)
        all += static_cast<char>(byte);
    for (UINT codePage : {CP_WINDOWS_1252, CP_ISO_8859_1}) {
        BOOL used = TRUE;
        const std::wstring wide = ToWide(codePage, all);
        ASSERT_EQ(wide.size(), all.size());
        EXPECT_EQ(ToBytes(codePage, wide, &used), all) << codePage;
        EXPECT_FALSE(used) << codePage;
    }
}

TEST(CodePageSingleByte, UnmappableCharactersTakeTheDefault)
{
    char bytes[8] = {};
    BOOL used = FALSE;
    EXPECT_EQ(WideCharToMultiByte(CP_WINDOWS_1252, 0, L"a\u65e5\u0080", -1, bytes, 8, "#", &used), 4);
    EXPECT_STREQ(bytes, "a##");
    EXPECT_TRUE(used);
    EXPECT_EQ(WideCharToMultiByte(CP_WINDOWS_1252, 0, L"ok", -1, bytes, 8, nullptr, &used), 3);
    EXPECT_FALSE(used);
}

TEST(CodePageInfo, MaxCharSizeOfTheCodePages)
{
    CPINFO info;
    ASSERT_TRUE(GetCPInfo(CP_ACP, &info));
    EXPECT_EQ(info.MaxCharSize, 4u);
    EXPECT_EQ(info.DefaultChar[0], '?');
    ASSERT_TRUE(GetCPInfo(CP_WINDOWS_1252, &info));
    EXPECT_EQ(info.MaxCharSize, 1u);
    EXPECT_FALSE(GetCPInfo(875, &info));
    EXPECT_FALSE(GetCPInfo(CP_UTF8, nullptr));
}

TEST(WideRuntimeCompare, CaseInsensitiveBeyondAscii)
{
    EXPECT_EQ(_wcsicmp(L"\u00c4RGER", L"\u00e4rger"), 0);
    EXPECT_EQ(_wcsicmp(L"\u0414\u043e\u043c", L"\u0434\u041e\u041c"), 0);
    EXPECT_NE(_wcsicmp(L"Stra\u00dfe", L"STRASSE"), 0);
    // Folded before comparing: 'a' sorts before 'B', unlike a plain compare.
    EXPECT_LT(_wcsicmp(L"a", L"B"), 0);
    EXPECT_GT(_wcsicmp(L"abc", L"AB"), 0);
    EXPECT_EQ(_wcsnicmp(L"COM3", L"com5", 3), 0);
    EXPECT_NE(_wcsnicmp(L"COM3", L"com5", 4), 0);
    EXPECT_EQ(_wcsnicmp(L"ab", L"AB", 10), 0);
    EXPECT_EQ(_wcsicmp(nullptr, L""), 0);
    EXPECT_LT(_wcsicmp(nullptr, L"a"), 0);
}

TEST(WideRuntimeCompare, NarrowCompareReadsUtf8)
{
    EXPECT_EQ(_stricmp("TCPIP", "tcpip"), 0);
    EXPECT_EQ(_stricmp("\xc3\x84" "b", "\xc3\xa4" "B"), 0);
    EXPECT_LT(_stricmp("RS232", "tcpip"), 0);
    // Bytes that are not UTF-8 compare as bytes and stay distinct.
    EXPECT_NE(_stricmp("\xff", "\xfe"), 0);
    EXPECT_EQ(_stricmp("A\xff", "a\xff"), 0);
    EXPECT_EQ(_stricmp(nullptr, nullptr), 0);
}

TEST(WideRuntimeCopy, LengthsAndBoundedCopies)
{
    EXPECT_EQ(lstrlenW(nullptr), 0);
    EXPECT_EQ(lstrlenW(L"abc"), 3);
    EXPECT_EQ(lstrlenA("ab"), 2);
    wchar_t buffer[6];
    std::fill(std::begin(buffer), std::end(buffer), L'#');
    EXPECT_EQ(lstrcpynW(buffer, L"abcdef", 4), buffer);
    EXPECT_STREQ(buffer, L"abc");
    EXPECT_EQ(buffer[4], L'#');
    lstrcpynW(buffer, L"zz", 0);
    EXPECT_STREQ(buffer, L"abc");
    lstrcpynW(buffer, nullptr, 6);
    EXPECT_STREQ(buffer, L"");
    lstrcpynW(buffer, L"xy", 1);
    EXPECT_STREQ(buffer, L"");
}

TEST(WideRuntimeNumbers, DecimalReadersSaturate)
{
    EXPECT_EQ(_wtoi(L"  -12abc"), -12);
    EXPECT_EQ(_wtoi(L"+7"), 7);
    EXPECT_EQ(_wtoi(L"abc"), 0);
    EXPECT_EQ(_wtoi(L""), 0);
    EXPECT_EQ(_wtoi(nullptr), 0);
    EXPECT_EQ(_wtoi(L"99999999999"), INT_MAX);
    EXPECT_EQ(_wtoi(L"-99999999999"), INT_MIN);
    EXPECT_EQ(_wtoi(L"-2147483648"), INT_MIN);
    EXPECT_EQ(_wtol(L"4294967295"), INT32_MAX);
    EXPECT_EQ(_wtoi64(L"9223372036854775807"), INT64_MAX);
    EXPECT_EQ(_wtoi64(L"9223372036854775808"), INT64_MAX);
    EXPECT_EQ(_wtoi64(L"-9223372036854775808"), INT64_MIN);
    EXPECT_EQ(_wtoi64(L"-99999999999999999999999"), INT64_MIN);
}
