#include "Common/SystemHelper/Values/Conversions.h"
#include "ThrowsWithText.h"

#include <cerrno>
#include <cmath>
#include <limits>
#include <memory>
#include <stdexcept>

namespace {

const char* const kEmpty = "Input is empty";
const char* const kFormat = "Input format is not valid";
const char* const kRange = "Value is out of range";

std::wstring W(const _bstr_t& text) { return text.wstr(); }

}

TEST(ConversionsToText, NumbersAtTheirLimits)
{
    EXPECT_EQ(W(CConversions::int_to_text(INT32_MIN)), L"-2147483648");
    EXPECT_EQ(W(CConversions::uint_to_text(UINT32_MAX)), L"4294967295");
    EXPECT_EQ(W(CConversions::long_to_text(-1)), L"-1");
    EXPECT_EQ(W(CConversions::ulong_to_text(0xFFFFFFFFu)), L"4294967295");
    EXPECT_EQ(W(CConversions::char_to_text(-128)), L"-128");
    EXPECT_EQ(W(CConversions::uchar_to_text(255)), L"255");
    EXPECT_EQ(W(CConversions::int64_to_text(INT64_MIN)), L"-9223372036854775808");
    EXPECT_EQ(W(CConversions::uint64_to_text(UINT64_MAX)), L"18446744073709551615");
}

TEST(ConversionsToText, DoublesKeepEveryDigit)
{
    // 18 significant digits bring every double back exactly.
    const double values[] = {0.1, -1.0 / 3.0, 1e-300, std::numeric_limits<double>::max(),
                             std::numeric_limits<double>::min()};
    for (double value : values)
        EXPECT_EQ(CConversions::text_to_double(CConversions::double_to_text(value)), value);
    // The runtime reports an underflow as a range error, and so do we.
    EXPECT_THROW_TEXT(CConversions::text_to_double(CConversions::double_to_text(
                          std::numeric_limits<double>::denorm_min())),
                      std::runtime_error, kRange);
    EXPECT_EQ(W(CConversions::double_to_text(2.5, 3)), L"2.500");
    EXPECT_EQ(W(CConversions::double_to_text(-0.125, 2)), L"-0.12");
    EXPECT_EQ(W(CConversions::double_to_text(7.0, 0)), L"7");
}

TEST(ConversionsToText, BooleansAndVariantBooleans)
{
    EXPECT_EQ(W(CConversions::bool_to_text(true)), L"1");
    EXPECT_EQ(W(CConversions::bool_to_text(false)), L"0");
    EXPECT_EQ(W(CConversions::VARIANT_BOOL_to_text(-1)), L"VARIANT_TRUE");
    EXPECT_EQ(W(CConversions::VARIANT_BOOL_to_text(1)), L"VARIANT_FALSE");
    EXPECT_EQ(CConversions::bool_to_VARIANT_BOOL(true), -1);
    EXPECT_EQ(CConversions::bool_to_VARIANT_BOOL(false), 0);
    EXPECT_FALSE(CConversions::VARIANT_BOOL_to_bool(1));
    EXPECT_TRUE(CConversions::VARIANT_BOOL_to_bool(-1));
}

TEST(ConversionsToText, BytesToHexAndBack)
{
    const BYTE bytes[] = {0x0A, 0xFF, 0x00, 0x5C};
    EXPECT_EQ(W(CConversions::bytes_to_text(bytes, 2)), L"0AFF");
    std::size_t length = 99;
    std::unique_ptr<BYTE[]> back(CConversions::to_byte_array(CConversions::bytes_to_text(bytes, 4), length, false));
    ASSERT_EQ(length, 4u);
    EXPECT_TRUE(std::equal(bytes, bytes + 4, back.get()));

    EXPECT_EQ(W(CConversions::bytes_to_text(nullptr, 0)), L"");
    EXPECT_THROW_TEXT(CConversions::bytes_to_text(nullptr, 3), std::invalid_argument, "Input values are inconsistent");
    EXPECT_THROW_TEXT(CConversions::bytes_to_text(bytes, 0), std::invalid_argument, "Input values are inconsistent");
}

TEST(ConversionsToText, SystemTimeIsoOrder)
{
    SYSTEMTIME time;
    time.wYear = 2024;
    time.wMonth = 2;
    time.wDayOfWeek = 4;
    time.wDay = 9;
    time.wHour = 7;
    time.wMinute = 5;
    time.wSecond = 3;
    time.wMilliseconds = 42;
    EXPECT_EQ(W(CConversions::systemtime_to_text(&time, false)), L"2024-02-09");
    EXPECT_EQ(W(CConversions::systemtime_to_text(&time, true)), L"2024-02-09T07:05:03.042");
    EXPECT_THROW_TEXT(CConversions::systemtime_to_text(nullptr, true), std::invalid_argument, kEmpty);

    // A record with every field at its widest must not overrun anything.
    SYSTEMTIME wild;
    wild.wYear = wild.wMonth = wild.wDay = wild.wHour = wild.wMinute = wild.wSecond = wild.wMilliseconds = 65535;
    EXPECT_EQ(W(CConversions::systemtime_to_text(&wild, true)), L"65535-65535-65535T65535:65535:65535.65535");
}

TEST(ConversionsToText, IpAddress)
{
    EXPECT_EQ(W(CConversions::ulong_to_ip_text(0xC0A80102u)), L"192.168.1.2");
    EXPECT_EQ(W(CConversions::ulong_to_ip_text(0)), L"0.0.0.0");
    for (DWORD address : {0u, 0x01020304u, 0xFFFFFFFFu, 0x7F000001u})
        EXPECT_EQ(CConversions::ip_text_to_ulong(CConversions::ulong_to_ip_text(address)), address);
}

TEST(ConversionsFromText, BooleanWordsAreCaseSensitive)
{
    EXPECT_EQ(CConversions::text_to_BOOL(L"TRUE"), 1);
    EXPECT_EQ(CConversions::text_to_BOOL(L"FALSE"), 0);
    EXPECT_EQ(CConversions::text_to_BOOL(L"1"), 1);
    EXPECT_EQ(CConversions::text_to_BOOL(L""), 0);
    EXPECT_THROW_TEXT(CConversions::text_to_BOOL(L"true"), std::runtime_error, kFormat);
    EXPECT_TRUE(CConversions::text_to_bool(L"true"));
    EXPECT_FALSE(CConversions::text_to_bool(L"false"));
    EXPECT_FALSE(CConversions::text_to_bool(L""));
    EXPECT_THROW_TEXT(CConversions::text_to_bool(L"TRUE"), std::runtime_error, kFormat);
    EXPECT_THROW_TEXT(CConversions::text_to_bool(L"2"), std::runtime_error, kFormat);
}

TEST(ConversionsFromText, SignedWholeText)
{
    EXPECT_EQ(CConversions::text_to_long(L"-2147483648"), INT32_MIN);
    EXPECT_EQ(CConversions::text_to_long(L"0x7fffffff", 0), INT32_MAX);
    EXPECT_EQ(CConversions::text_to_long(L"ff", 16), 255);
    EXPECT_EQ(CConversions::text_to_long(L"  12"), 12);
    EXPECT_THROW_TEXT(CConversions::text_to_long(L"12 "), std::runtime_error, kFormat);
    EXPECT_THROW_TEXT(CConversions::text_to_long(L"12x"), std::runtime_error, kFormat);
    EXPECT_THROW_TEXT(CConversions::text_to_long(L""), std::invalid_argument, kEmpty);
    EXPECT_THROW_TEXT(CConversions::text_to_long(nullptr), std::invalid_argument, kEmpty);
}

TEST(ConversionsFromText, ThirtyTwoBitLimitsHold)
{
    // `long` is wider here; the values are not.
    EXPECT_THROW_TEXT(CConversions::text_to_long(L"2147483648"), std::runtime_error, kRange);
    EXPECT_THROW_TEXT(CConversions::text_to_long(L"99999999999"), std::runtime_error, kRange);
    EXPECT_THROW_TEXT(CConversions::text_to_long(L"-2147483649"), std::runtime_error, kRange);
    EXPECT_THROW_TEXT(CConversions::text_to_ulong(L"4294967296"), std::runtime_error, kRange);
    EXPECT_EQ(CConversions::text_to_ulong(L"4294967295"), 0xFFFFFFFFu);
    EXPECT_THROW_TEXT(CConversions::text_to_long(L"99999999999999999999999"), std::runtime_error, kRange);
    EXPECT_EQ(errno, 0);
}

TEST(ConversionsFromText, NarrowingRanges)
{
    EXPECT_EQ(CConversions::text_to_short(L"-32768"), -32768);
    EXPECT_THROW_TEXT(CConversions::text_to_short(L"40000"), std::runtime_error, kRange);
    EXPECT_EQ(CConversions::text_to_char(L"-128"), -128);
    EXPECT_THROW_TEXT(CConversions::text_to_char(_bstr_t(L"128")), std::runtime_error, kRange);
    EXPECT_EQ(CConversions::text_to_ushort(L"65535"), 65535);
    EXPECT_THROW_TEXT(CConversions::text_to_ushort(L"65536"), std::runtime_error, kRange);
    EXPECT_EQ(CConversions::text_to_uchar(_bstr_t(L"ff"), 16), 255);
    EXPECT_THROW_TEXT(CConversions::text_to_uchar(L"256"), std::runtime_error, kRange);
    EXPECT_EQ(CConversions::text_to_int(L"-7"), -7);
    EXPECT_EQ(CConversions::text_to_uint(L"7"), 7u);
}

TEST(ConversionsFromText, UnsignedRefusesEverySign)
{
    EXPECT_THROW_TEXT(CConversions::text_to_ulong(L"-1"), std::runtime_error, kFormat);
    // White space before the sign used to hide it, and the value wrapped.
    EXPECT_THROW_TEXT(CConversions::text_to_ulong(L" -1"), std::runtime_error, kFormat);
    EXPECT_THROW_TEXT(CConversions::text_to_ulong(L"\t\n-0"), std::runtime_error, kFormat);
    EXPECT_THROW_TEXT(CConversions::text_to_uchar(L"  -5"), std::runtime_error, kFormat);
    EXPECT_THROW_TEXT(CConversions::text_to_ushort(L" -65535"), std::runtime_error, kFormat);
    EXPECT_EQ(CConversions::text_to_ulong(L" +12"), 12u);
    EXPECT_THROW_TEXT(CConversions::text_to_ulong(L"   "), std::runtime_error, kFormat);
}

TEST(ConversionsFromText, EndPointerVariantsContinueAfterTheNumber)
{
    const wchar_t* text = L"12 34";
    const wchar_t* end = nullptr;
    EXPECT_EQ(CConversions::text_to_long(text, &end, 10), 12);
    EXPECT_EQ(end, text + 2);
    EXPECT_EQ(CConversions::text_to_long(end, &end, 10), 34);
    EXPECT_EQ(*end, L'\0');
    EXPECT_THROW_TEXT(CConversions::text_to_long(L"x1", &end, 10), std::runtime_error, kFormat);

    const wchar_t* number = L"2.5e1rest";
    EXPECT_DOUBLE_EQ(CConversions::text_to_double(number, &end), 25.0);
    EXPECT_STREQ(end, L"rest");
    EXPECT_THROW_TEXT(CConversions::text_to_double(L".", &end), std::runtime_error, kFormat);
}

TEST(ConversionsFromText, Doubles)
{
    EXPECT_DOUBLE_EQ(CConversions::text_to_double(L"-1.5"), -1.5);
    EXPECT_THROW_TEXT(CConversions::text_to_double(L"1.5 "), std::runtime_error, kFormat);
    EXPECT_THROW_TEXT(CConversions::text_to_double(L"1e999"), std::runtime_error, kRange);
    EXPECT_EQ(errno, 0);
    EXPECT_THROW_TEXT(CConversions::text_to_double(L""), std::invalid_argument, kEmpty);
}

TEST(ConversionsFromText, Decimal64)
{
    EXPECT_EQ(CConversions::text_to_int64(L"9223372036854775807"), INT64_MAX);
    EXPECT_EQ(CConversions::text_to_int64(L"-9223372036854775808"), INT64_MIN);
    EXPECT_EQ(CConversions::text_to_int64(L"+42"), 42);
    EXPECT_EQ(CConversions::text_to_int64(L"-"), 0);
    // An overflow is reported as a format error.
    EXPECT_THROW_TEXT(CConversions::text_to_int64(L"9223372036854775808"), std::runtime_error, kFormat);
    EXPECT_THROW_TEXT(CConversions::text_to_int64(L"-9223372036854775809"), std::runtime_error, kFormat);
    EXPECT_THROW_TEXT(CConversions::text_to_int64(L" 1"), std::runtime_error, kFormat);
    EXPECT_THROW_TEXT(CConversions::text_to_int64(L"0x10"), std::runtime_error, kFormat);
    EXPECT_THROW_TEXT(CConversions::text_to_int64(L""), std::invalid_argument, kEmpty);

    EXPECT_EQ(CConversions::text_to_uint64(L"18446744073709551615"), UINT64_MAX);
    EXPECT_THROW_TEXT(CConversions::text_to_uint64(L"18446744073709551616"), std::runtime_error, kFormat);
    EXPECT_THROW_TEXT(CConversions::text_to_uint64(L"-1"), std::runtime_error, kFormat);
    EXPECT_EQ(CConversions::text_to_uint64(L"+"), 0u);
}

TEST(ConversionsIpText, PartsAndSeparators)
{
    EXPECT_EQ(CConversions::ip_text_to_ulong(L"192.168.1.2"), 0xC0A80102u);
    EXPECT_EQ(CConversions::ip_text_to_ulong(L"1-2-3-4"), 0x01020304u);
    EXPECT_EQ(CConversions::ip_text_to_ulong(L""), 0u);
    EXPECT_EQ(CConversions::ip_text_to_ulong(nullptr), 0u);
    EXPECT_THROW_TEXT(CConversions::ip_text_to_ulong(L"192.168.1.256"), std::runtime_error, kRange);
    EXPECT_THROW_TEXT(CConversions::ip_text_to_ulong(L"-1.2.3.4"), std::runtime_error, kRange);
    EXPECT_THROW_TEXT(CConversions::ip_text_to_ulong(L"192.168.1.2x"), std::invalid_argument, "Invalid IP address");
    EXPECT_THROW_TEXT(CConversions::ip_text_to_ulong(L"1.2.3.4.5"), std::invalid_argument, "Invalid IP address");
}

TEST(ConversionsIpText, ShortTextsFailInsideTheText)
{
    // These used to step over the terminator and read whatever followed.
    for (const wchar_t* text : {L"1", L"1.2", L"1.2.", L"1.2.3", L"1.2.3.", L"1..2.3"})
        EXPECT_THROW_TEXT(CConversions::ip_text_to_ulong(text), std::runtime_error, kFormat);
    // The text is read from a buffer with more after the terminator.
    const wchar_t buffer[] = {L'1', L'.', L'2', L'\0', L'3', L'.', L'4', L'\0'};
    EXPECT_THROW_TEXT(CConversions::ip_text_to_ulong(buffer), std::runtime_error, kFormat);
}

TEST(ConversionsByteArray, OnlyPairsOfHexDigits)
{
    std::size_t length = 0;
    std::unique_ptr<BYTE[]> bytes(CConversions::to_byte_array(L"0aFF", length, true));
    ASSERT_EQ(length, 2u);
    EXPECT_EQ(bytes[0], 0x0A);
    EXPECT_EQ(bytes[1], 0xFF);

    length = 5;
    EXPECT_EQ(CConversions::to_byte_array(L"", length, false), nullptr);
    EXPECT_EQ(length, 0u);
    EXPECT_THROW_TEXT(CConversions::to_byte_array(L"abc", length, false), std::invalid_argument,
                      "Invalid argument at CConversions::to_byte_array");
    EXPECT_THROW_TEXT(CConversions::to_byte_array(L"zz", length, false), std::runtime_error, kFormat);
    // What the runtime parser lets through in a pair is no hex byte.
    for (const wchar_t* text : {L" F", L"+F", L"-F", L"00 F", L"0x", L"F "})
        EXPECT_THROW_TEXT(CConversions::to_byte_array(text, length, false), std::runtime_error, kFormat);
    EXPECT_EQ(length, 0u);
}

TEST(GenStrToNumber, ReadsTheLeadingNumber)
{
    EXPECT_EQ(GenStrToNumber<int>(L"12ab", std::dec), 12);
    EXPECT_EQ(GenStrToNumber<int>(L"", std::dec), 0);
    EXPECT_EQ(GenStrToNumber<unsigned int>(std::wstring(L"ff"), std::hex), 255u);
    EXPECT_EQ(GenStrToNumber<unsigned short>(L"65535"), 65535);
    EXPECT_DOUBLE_EQ(GenStrToNumber<double>(L"2.5"), 2.5);
    EXPECT_EQ(GenStrToNumber<std::int64_t>(L"-9000000000"), -9000000000LL);
    EXPECT_EQ(GenStrToNumber<signed char>(L"300"), 127);
    EXPECT_EQ(GenStrToNumber<char>(L"-300"), static_cast<char>(-128));
    EXPECT_EQ(GenStrToNumber<int>(_bstr_t(L"77")), 77);
}

TEST(GenStrToNumber, FailureThrowsTheTextAsString)
{
    try {
        GenStrToNumber<int>(L"abc", std::dec);
        ADD_FAILURE() << "no exception";
    } catch (const std::string& message) {
        EXPECT_EQ(message, "GenStrToNumber failed: 'abc'");
    }
    EXPECT_THROW(GenStrToNumber<unsigned short>(L"70000"), std::string);
    EXPECT_THROW(GenStrToNumber<int>(L"99999999999"), std::string);
}

TEST(ParseInt64Text, PrefixChoosesTheBase)
{
    EXPECT_EQ(ParseInt64Text(L"10"), 10);
    EXPECT_EQ(ParseInt64Text(L"0x10"), 16);
    EXPECT_EQ(ParseInt64Text(L"0XfF"), 255);
    EXPECT_EQ(ParseInt64Text(L" 0x10"), 0);
    EXPECT_EQ(ParseInt64Text(L""), 0);
    EXPECT_THROW(ParseInt64Text(L"0xg"), std::string);
}
