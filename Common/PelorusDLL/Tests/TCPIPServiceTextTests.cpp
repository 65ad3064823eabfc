// The parsers of the device's key=value texts, on their own.
#include "Common/PelorusDLL/IdentificationText.h"

#include <gtest/gtest.h>

namespace {

TEST(TCPIPServiceText, IdentificationNeedsAKeyAndAValue)
{
    CIdentificationText text;
    for (const wchar_t* bad : {L"", L"ORDER", L"ORDER=", L"=;=;", L";;;"})
        EXPECT_FALSE(text.Parse(bad)) << bad;
    ASSERT_TRUE(text.Parse(L"ORDER=0614-0352"));
    EXPECT_EQ(text.Value(L"ORDER"), L"0614-0352");
    EXPECT_FALSE(text.Parse(L"X")) << "a failed parse forgets the earlier items";
    EXPECT_EQ(text.Value(L"ORDER"), L"");
}

TEST(TCPIPServiceText, ValuesKeepTheirEqualsSignsAndTheFirstKeyWins)
{
    CIdentificationText text;
    ASSERT_TRUE(text.Parse(L"FWL-VER=IDX=3;;SN=1;SN=2;FLAG;IDX=9"));
    EXPECT_EQ(text.Value(L"FWL-VER"), L"IDX=3");
    EXPECT_EQ(text.Value(L"SN"), L"1");
    EXPECT_EQ(text.Value(L"IDX"), L"9");
    EXPECT_EQ(text.Value(L"FLAG"), L"");
    EXPECT_EQ(text.Value(L"3"), L"") << "a value is never taken for a key";
}

TEST(TCPIPServiceText, NetworkIdNeedsExactlyTwoParts)
{
    std::wstring id = L"old", mac = L"old";
    EXPECT_FALSE(CIdentificationText::SplitNetworkID(L"MAC-ID", id, mac));
    EXPECT_FALSE(CIdentificationText::SplitNetworkID(L"A=B=C", id, mac));
    EXPECT_FALSE(CIdentificationText::SplitNetworkID(L"=025AE1000001", id, mac));
    EXPECT_EQ(id + mac, L"oldold");
    ASSERT_TRUE(CIdentificationText::SplitNetworkID(L"MAC-ID=025AE1000001", id, mac));
    EXPECT_EQ(id + L"|" + mac, L"MAC-ID|025AE1000001");
}

TEST(TCPIPServiceText, InternalVariablesByIndexFromOne)
{
    const std::wstring list = L"IP=1.2.3.4;NAME;HOST=a=b";
    std::wstring name, value;
    EXPECT_FALSE(CIdentificationText::InternalVariable(list, 0, name, value));
    EXPECT_FALSE(CIdentificationText::InternalVariable(list, 4, name, value));
    EXPECT_FALSE(CIdentificationText::InternalVariable(L"", 1, name, value));
    ASSERT_TRUE(CIdentificationText::InternalVariable(list, 2, name, value));
    EXPECT_EQ(name + L"|" + value, L"NAME|");
    ASSERT_TRUE(CIdentificationText::InternalVariable(list, 3, name, value));
    EXPECT_EQ(name + L"|" + value, L"HOST|a=b");
}

}
