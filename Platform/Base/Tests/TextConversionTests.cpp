#include "Platform/Base/BStr.h"
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
