#include "Common/Communication/ConnectionException.h"
#include "Common/Communication/IdentificationException.h"
#include "Common/Communication/ProtocolException.h"
#include "Common/SystemHelper/Texts/LanguageTexts.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

using ZELL::CIdentificationException;

namespace {

class IdentificationTexts : public ::testing::Test {
protected:
    void SetUp() override
    {
        GetLanguageSupport().Clear();
        GetLanguageSupport().SetMissingPrefix(L"##");
        Set(L"IDENT_4", L"Reading the order number");
        Set(L"IDENT_GRP_ERR_RESP_1a", L"The device answered with an error");
        Set(L"IDENT_GRP_WRONG_NUMBER_OF_DATABYTES", L"Wrong byte count");
        Set(L"IDENT_GRP_DATABYTES_EXPEXTED", L"Expected");
        Set(L"IDENT_GRP_DATABYTES_RECEIVED", L"Received");
        Set(L"IDENT_GROUP_DATASIZE_LESS", L"Too short");
        Set(L"IDENT_GROUP_DATASIZE_MORE", L"Too long");
        Set(L"IDENT_GROUP_DATASIZE_SIZE", L"Size");
        Set(L"IDENT_GRP_CMD_ERR", L"Wrong command");
        Set(L"IDENT_GRP_CMD_ERR_RESP", L"Answer");
        Set(L"IDENT_GRP_CONN_NOT_OPEN", L"Not connected");
    }
    void TearDown() override { GetLanguageSupport().Clear(); }

    static void Set(const wchar_t* key, const wchar_t* text) { GetLanguageSupport().SetText(key, text); }

    static std::wstring Details(ULONG code, USHORT group, LONG actual, ULONG expected)
    {
        CIdentificationException error(L"Op failed!", code, group, actual, expected);
        return error.m_strDetails;
    }
};

}

TEST(ZellException, BaseHasEmptyTextAndKeepsMessageForHandlers)
{
    CZellException error(L"Connect failed!", 1);
    EXPECT_STREQ(error.GetText(), L"");
    EXPECT_STREQ(error.m_szMessage, L"Connect failed!");
    EXPECT_EQ(error.m_lCode, 1);
    EXPECT_EQ(error.m_ulValue, 0u);
    EXPECT_EQ(error.m_szTypeName[0], L'\0');
}

TEST(ZellException, GetTextJoinsSummaryAndDetailsWithBlankLine)
{
    CZellException error(L"x", 0);
    error.m_strSummary = L"Summary!";
    EXPECT_STREQ(error.GetText(), L"Summary!\n\n");
    error.SetDetails(L"Details.");
    EXPECT_STREQ(error.GetText(), L"Summary!\n\nDetails.");
    // Details without a summary stand alone.
    error.m_strSummary.clear();
    EXPECT_STREQ(error.GetText(), L"Details.");
}

TEST(ZellException, MessageIsCutTo1023CharactersAndTerminated)
{
    const std::wstring exact(1023, L'a');
    CZellException fits(exact.c_str(), 0);
    EXPECT_EQ(std::wstring(fits.m_szMessage), exact);

    const std::wstring longer = std::wstring(1023, L'b') + L"cdef";
    CZellException cut(longer.c_str(), 0);
    EXPECT_EQ(std::wcslen(cut.m_szMessage), 1023u);
    EXPECT_EQ(cut.m_szMessage[1022], L'b');
    EXPECT_EQ(cut.m_szMessage[1023], L'\0');

    CZellException none(nullptr, 3);
    EXPECT_STREQ(none.m_szMessage, L"");
}

TEST(ZellException, CopyTakesBothBuffersWhole)
{
    CZellException original(L"message", 42);
    original.GetTypeName();
    // Bytes behind the terminator must survive a copy as well.
    original.m_szMessage[900] = L'Z';
    original.m_ulValue = 7;
    original.m_strSummary = L"S";
    CZellException copy(original);
    EXPECT_EQ(0, std::wmemcmp(copy.m_szMessage, original.m_szMessage, CZellException::kBufferLength));
    EXPECT_EQ(0, std::wmemcmp(copy.m_szTypeName, original.m_szTypeName, CZellException::kBufferLength));
    EXPECT_EQ(copy.m_lCode, 42);
    EXPECT_EQ(copy.m_ulValue, 7u);
    EXPECT_STREQ(copy.GetText(), L"S\n\n");
}

TEST(ZellException, TypeNameNamesDynamicClassAndIsStable)
{
    ZELL::CConnectionException connection(L"c", 1);
    CZellException& base = connection;
    const wchar_t* first = base.GetTypeName();
    EXPECT_STREQ(first, L"ZELL::CConnectionException");
    const wchar_t* second = base.GetTypeName();
    EXPECT_EQ(first, second);
    EXPECT_STREQ(second, L"ZELL::CConnectionException");

    CZellException plain(L"p", 0);
    EXPECT_STREQ(plain.GetTypeName(), L"CZellException");
}

TEST(ZellException, TreeIsCaughtThroughItsBases)
{
    try {
        throw CIdentificationException(L"ZELL::CIdentificationAPI::GetOrderNumber failed!", 4, 0, 0, 0);
    } catch (ZELL::CDeviceAPIException& error) {
        EXPECT_STREQ(error.m_szMessage, L"ZELL::CIdentificationAPI::GetOrderNumber failed!");
        EXPECT_STREQ(error.GetTypeName(), L"ZELL::CIdentificationException");
    }
    try {
        throw ZELL::CProtocolException(CZellException(L"base", 9));
    } catch (CZellException& error) {
        EXPECT_EQ(error.m_lCode, 9);
        EXPECT_STREQ(error.GetTypeName(), L"ZELL::CProtocolException");
    }
}

TEST_F(IdentificationTexts, ErrorResponseUsesLowercaseHexKey)
{
    CIdentificationException error(L"Op failed!", 4, 3, 0x1A, 0);
    EXPECT_EQ(error.m_strSummary, L"Reading the order number!");
    EXPECT_EQ(error.m_strDetails, L"The device answered with an error.");
    EXPECT_STREQ(error.GetText(), L"Reading the order number!\n\nThe device answered with an error.");
    EXPECT_EQ(error.m_ulValue, 0x1Au);
    EXPECT_EQ(error.m_usGroup, 3);
    EXPECT_EQ(error.m_lCode, 4);
}

TEST_F(IdentificationTexts, GroupZeroHasSummaryOnlyAndMissingKeysShow)
{
    CIdentificationException error(L"Connect failed!", 1, 0, 0, 0);
    EXPECT_EQ(error.m_strSummary, L"##IDENT_1!");
    EXPECT_STREQ(error.GetText(), L"##IDENT_1!\n\n");
}

TEST_F(IdentificationTexts, DetailsOfEveryGroup)
{
    EXPECT_EQ(Details(4, 1, 3, 0), L"Too short.\nSize = 3");
    EXPECT_EQ(Details(4, 2, 40, 0), L"Too long.\nSize = 40");
    EXPECT_EQ(Details(4, 3, 0, 0), L"##IDENT_GRP_ERR_RESP_0.");
    EXPECT_EQ(Details(4, 4, 0x0302, 0), L"Wrong command.\nAnswer: 770");
    EXPECT_EQ(Details(4, 5, 0, 0), L"Not connected.");
    EXPECT_EQ(Details(4, 6, 9, 12), L"Wrong byte count.\nExpected = 12\nReceived = 9");
    EXPECT_EQ(Details(4, 7, 9, 12), L"");
    EXPECT_EQ(Details(4, 0xFFFF, 9, 12), L"");
}

TEST_F(IdentificationTexts, NegativeActualIsSignedOnlyWhereTheTextSaysSo)
{
    EXPECT_EQ(Details(4, 6, -1, 12), L"Wrong byte count.\nExpected = 12\nReceived = -1");
    EXPECT_EQ(Details(4, 1, -1, 0), L"Too short.\nSize = 4294967295");
    EXPECT_EQ(Details(4, 3, -1, 0), L"##IDENT_GRP_ERR_RESP_ffffffff.");
}

TEST_F(IdentificationTexts, LargeCodeIsUnsignedInSummaryKey)
{
    CIdentificationException error(L"x", 0x80000001u, 0, 0, 0);
    EXPECT_EQ(error.m_strSummary, L"##IDENT_2147483649!");
}

TEST_F(IdentificationTexts, CopyKeepsGroupExpectedAndTexts)
{
    CIdentificationException original(L"Op failed!", 4, 6, 9, 12);
    CIdentificationException copy(original);
    EXPECT_EQ(copy.m_usGroup, 6);
    EXPECT_EQ(copy.m_ulExpected, 12u);
    EXPECT_EQ(copy.m_ulValue, 9u);
    EXPECT_STREQ(copy.GetText(), original.GetText());
}
