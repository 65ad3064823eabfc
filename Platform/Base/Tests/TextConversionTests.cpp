#include "Platform/Base/BStr.h"
#include "Platform/Base/FileSystemPath.h"
#include "Platform/Base/TextConversion.h"

#include <gtest/gtest.h>

TEST(TextConversion, Utf8RoundTripKeepsNonLatinText)
{
    const std::wstring text = L"Ger\u00e4t \u30c7\u30d0\u30a4\u30b9 \U0001F600";
    EXPECT_EQ(Text::Utf8ToWide(Text::WideToUtf8(text)), text);
}

TEST(TextConversion, MalformedUtf8BecomesReplacementCharacters)
{
    EXPECT_EQ(Text::Utf8ToWide("a\xC3"), L"a\uFFFD");
    EXPECT_EQ(Text::Utf8ToWide("\xC0\x80"), L"\uFFFD\uFFFD"); // overlong NUL
    EXPECT_EQ(Text::Utf8ToWide("\xED\xA0\x80x").back(), L'x'); // surrogate half is rejected, text goes on
}

TEST(TextConversion, StrictUtf8RefusesWhatTheLenientFormReplaces)
{
    std::wstring wide;
    ASSERT_TRUE(Text::TryUtf8ToWide("Ger\xC3\xA4t \xF0\x9F\x98\x80", wide));
    EXPECT_EQ(wide, L"Ger\u00e4t \U0001F600");

    const struct {
        const char* bytes;
        std::size_t offset;
        bool cutShort;
    } damaged[] = {
        {"ab\xC0\x80", 2, false},         // overlong NUL
        {"\xE0\x80\xAF", 0, false},       // overlong slash
        {"x\xF4\x90\x80\x80", 1, false}, // beyond U+10FFFF
        {"\xED\xB0\x80", 0, false},       // low surrogate half
        {"ok\x80", 2, false},              // continuation without a lead
        {"ok\xF8\x88\x80\x80\x80", 2, false},
        {"\xC3\xA4\xE2\x82", 2, true},
    };
    for (const auto& [bytes, offset, cutShort] : damaged) {
        Text::CUtf8Error error;
        EXPECT_FALSE(Text::TryUtf8ToWide(bytes, wide, &error)) << bytes;
        EXPECT_EQ(error.offset, offset) << bytes;
        EXPECT_EQ(error.cutShort, cutShort) << bytes;
        EXPECT_EQ(wide, Text::Utf8ToWide(std::string_view(bytes, offset))) << bytes;
    }
}

TEST(TextConversion, Utf16LeSurrogatesAndOddLength)
{
    const std::wstring text = L"A\U0001F600";
    const auto bytes = Text::WideToUtf16Le(text);
    ASSERT_EQ(bytes.size(), 6u);
    EXPECT_EQ(bytes[0], 'A');
    EXPECT_EQ(bytes[1], 0);
    EXPECT_EQ(Text::Utf16LeToWide(bytes.data(), bytes.size()), text);
    EXPECT_EQ(Text::Utf16LeToWide(bytes.data(), 3), L"A");
    const BYTE loneHigh[] = {0x00, 0xD8};
    EXPECT_EQ(Text::Utf16LeToWide(loneHigh, 2), L"\uFFFD");
}

TEST(TextConversion, Latin1ReplacesWhatItCannotHold)
{
    bool replaced = true;
    EXPECT_EQ(Text::WideToLatin1(L"M\u00fcller", &replaced), "M\xfcller");
    EXPECT_FALSE(replaced);
    EXPECT_EQ(Text::WideToLatin1(L"\u65e5x", &replaced), "?x");
    EXPECT_TRUE(replaced);
    EXPECT_EQ(Text::Latin1ToWide("\xe9"), L"\u00e9");
}

TEST(BStr, NarrowAndWideFormsAgree)
{
    _bstr_t text("Stra\xc3\x9f" "e");
    EXPECT_STREQ(static_cast<const wchar_t*>(text), L"Stra\u00dfe");
    text += L"n";
    EXPECT_STREQ(static_cast<const char*>(text), "Stra\xc3\x9f" "en");
    EXPECT_EQ(_bstr_t(static_cast<const char*>(nullptr)).length(), 0u);
}

// A file name's bytes and the wide text the program holds for them: valid
// UTF-8 reads as its characters, every other byte as its own stand-in, and
// each comes back to the same bytes.
struct FileNameCase {
    const char* what;
    std::string bytes;
    std::wstring wide;
};

class FileNameConversion : public ::testing::TestWithParam<FileNameCase> {};

TEST_P(FileNameConversion, BytesAndWideTextMapOneToOne)
{
    const FileNameCase& c = GetParam();
    EXPECT_EQ(Text::FileNameToWide(c.bytes), c.wide);
    EXPECT_EQ(Text::WideToFileName(c.wide), c.bytes);
    EXPECT_EQ(Text::WidePath(Text::FsPath(c.wide)), c.wide);
    EXPECT_EQ(Text::FsPath(c.wide).native(), c.bytes);
}

INSTANTIATE_TEST_SUITE_P(Names, FileNameConversion, ::testing::Values(
    FileNameCase{"ascii", "/tmp/device.wes", L"/tmp/device.wes"},
    FileNameCase{"umlauts", "\xC3\x9C" "bergabe.wes", L"\u00DCbergabe.wes"},
    FileNameCase{"cjk_and_astral", "\xE8\xA8\xAD\xE5\xAE\x9A\xF0\x9F\x98\x80.wes", L"\u8A2D\u5B9A\U0001F600.wes"},
    FileNameCase{"latin1_byte", "caf\xE9.wes", L"caf\xDCE9.wes"},
    FileNameCase{"cut_short_sequence", "a\xE2\x82", L"a\xDCE2\xDC82"},
    FileNameCase{"overlong_nul", "\xC0\x80", L"\xDCC0\xDC80"},
    FileNameCase{"encoded_surrogate", "\xED\xB3\xA9", L"\xDCED\xDCB3\xDCA9"},
    FileNameCase{"stray_continuation_then_valid", "\x80\xC3\xA4", L"\xDC80\u00E4"}),
    [](const ::testing::TestParamInfo<FileNameCase>& info) { return std::string(info.param.what); });

TEST(FileNameConversionWide, TextNoNameCarriesBecomesTheReplacementCharacter)
{
    // Surrogates outside the stand-in range cannot come from a name.
    EXPECT_EQ(Text::WideToFileName(std::wstring(1, static_cast<wchar_t>(0xD800))), "\xEF\xBF\xBD");
    EXPECT_EQ(Text::WideToFileName(std::wstring(1, static_cast<wchar_t>(0xDC7F))), "\xEF\xBF\xBD");
}
