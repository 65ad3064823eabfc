#include "Common/Communication/RS232ConnectionException.h"
#include "Common/Communication/TCPIPConnectionException.h"
#include "Common/SystemHelper/Texts/LanguageTexts.h"

#include <gtest/gtest.h>

#include <string>

using ZELL::CRS232ConnectionException;
using ZELL::CTCPIPConnectionException;

TEST(TCPIPConnectionException, DetailIsCutAndCopied)
{
    const std::wstring longDetail(3000, L'd');
    const CTCPIPConnectionException error(L"Failed to establish the connection!", 7, longDetail.c_str(), 0x3000274C);
    EXPECT_EQ(std::wstring(error.GetDetail()), longDetail.substr(0, 1023));
    EXPECT_EQ(error.GetError(), 0x3000274Cu);
    EXPECT_EQ(error.m_lCode, 7);
    const CTCPIPConnectionException copy(error);
    EXPECT_STREQ(copy.GetDetail(), error.GetDetail());
    EXPECT_STREQ(copy.m_szMessage, L"Failed to establish the connection!");
    try {
        throw copy;
    } catch (ZELL::CConnectionException& caught) {
        EXPECT_EQ(caught.m_lCode, 7);
    }
}

TEST(RS232ConnectionException, TextsFromLanguageKeys)
{
    auto& language = GetLanguageSupport();
    language.SetText(L"RS232_CONN_6", L"Reading from the port failed");
    language.SetText(L"RS232_GRP_ERR_20010200", L"The device did not answer in time");
    language.SetText(L"RS232_CONN_ERRORCODE", L"Error code");

    CRS232ConnectionException timeout(L"ReadSynchron() failed!", 6, L"::ReadFile() failed!", 0x20010200);
    EXPECT_EQ(timeout.m_ulValue, 0x20010200u);
    EXPECT_EQ(std::wstring(timeout.GetText()),
              L"Reading from the port failed\n\nThe device did not answer in time.");

    CRS232ConnectionException other(L"ReadSynchron() failed!", 6, L"::ReadFile() failed!", 0x2001001F);
    EXPECT_EQ(std::wstring(other.GetText()), L"Reading from the port failed\n\nError code = 0x2001001f");
    const CRS232ConnectionException copy(other);
    EXPECT_STREQ(copy.GetDetail(), L"::ReadFile() failed!");
    EXPECT_EQ(copy.m_strDetails, other.m_strDetails);
}
