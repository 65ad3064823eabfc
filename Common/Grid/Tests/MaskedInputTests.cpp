#include "Common/Grid/MaskedInput.h"

#include <gtest/gtest.h>

using namespace ZELL::Grid;

namespace {

CMaskedInput Ip()
{
    return CMaskedInput(L"###.###.###.###", L"0123456789.", true);
}

CMaskedInput Mac()
{
    return CMaskedInput(L"##:##:##:##:##:##", L"0123456789ABCDEF", false);
}

void TypeAll(CMaskedInput& input, const wchar_t* text)
{
    for (; *text != L'\0'; ++text)
        input.Type(*text);
}

}

TEST(MaskedInput, ADotEndsAnAddressGroupPaddedInFront)
{
    CMaskedInput ip = Ip();
    TypeAll(ip, L"1.");
    EXPECT_EQ(ip.GetText(), CString(L"001."));
    EXPECT_EQ(ip.GetSelStart(), 4);
    TypeAll(ip, L"22.3.44");
    EXPECT_EQ(ip.GetText(), CString(L"001.022.003.44"));
    // A dot in the middle of a group ends it there.
    ip.SetText(L"123.456.789.012");
    ip.Select(5, 5);
    ip.Type(L'.');
    EXPECT_EQ(ip.GetText(), CString(L"123.004.789.012"));
    EXPECT_EQ(ip.GetSelStart(), 8);
}

TEST(MaskedInput, AGroupAbove255BecomesTheHighest)
{
    CMaskedInput ip = Ip();
    TypeAll(ip, L"300");
    EXPECT_EQ(ip.GetText(), CString(L"255"));
    TypeAll(ip, L"255");
    EXPECT_EQ(ip.GetText(), CString(L"255.255"));
    // The next digit brings its group's dot with it.
    TypeAll(ip, L"1");
    EXPECT_EQ(ip.GetText(), CString(L"255.255.1"));
    EXPECT_EQ(ip.GetSelStart(), 9);
}

TEST(MaskedInput, LiteralsAreWrittenBeforeTheCharacterThatFollowsThem)
{
    CMaskedInput mac = Mac();
    TypeAll(mac, L"0a1");
    EXPECT_EQ(mac.GetText(), CString(L"0A:1"));
    mac.Type(L'g');
    EXPECT_EQ(mac.GetText(), CString(L"0A:1"));
    mac.Type(L':');
    EXPECT_EQ(mac.GetText(), CString(L"0A:1"));
    mac.Type(L'f');
    mac.Type(L':');
    EXPECT_EQ(mac.GetText(), CString(L"0A:1F:"));
    TypeAll(mac, L"22334455667788");
    EXPECT_EQ(mac.GetText(), CString(L"0A:1F:22:33:44:55"));
}

TEST(MaskedInput, BackspaceAndClearInsideTheTextKeepItsShape)
{
    CMaskedInput mac = Mac();
    mac.SetText(L"12:34:56");
    mac.Select(0, 0);
    mac.Type(L'\b');
    EXPECT_EQ(mac.GetText(), CString(L"12:34:56"));
    EXPECT_EQ(mac.GetSelStart(), 0);
    mac.Select(4, 4);
    mac.Type(L'\b');
    EXPECT_EQ(mac.GetText(), CString(L"12:04:56"));
    EXPECT_EQ(mac.GetSelStart(), 3);
    mac.Select(8, 8);
    mac.Type(L'\b');
    EXPECT_EQ(mac.GetText(), CString(L"12:04:5"));

    mac.Select(3, 3);
    mac.Clear();
    EXPECT_EQ(mac.GetText(), CString(L"12:04:5"));
    mac.Select(1, 4);
    mac.Clear();
    EXPECT_EQ(mac.GetText(), CString(L"10:04:5"));
    EXPECT_EQ(mac.GetSelStart(), 1);
    EXPECT_EQ(mac.GetSelEnd(), 4);
    mac.Select(5, -1);
    mac.Clear();
    EXPECT_EQ(mac.GetText(), CString(L"10:04"));
}

TEST(MaskedInput, PastingAnAddressKeepsItsLiterals)
{
    CMaskedInput mac = Mac();
    mac.Paste(L"02:1a:2b:3c:4d:5e:99");
    EXPECT_EQ(mac.GetText(), CString(L"02:1A:2B:3C:4D:5E"));
    mac.Select(0, -1);
    mac.Paste(L"zz1234");
    EXPECT_EQ(mac.GetText(), CString(L"00:12:34"));
    CMaskedInput ip = Ip();
    ip.Paste(L"192.168.1.20");
    EXPECT_EQ(ip.GetText(), CString(L"192.168.001.20"));
}

TEST(MaskedInput, MasksAndCharacterSetsAreChecked)
{
    CMaskedInput mac = Mac();
    EXPECT_FALSE(mac.SetMask(L"#"));
    EXPECT_FALSE(mac.SetMask(L"::"));
    EXPECT_FALSE(mac.SetMask(std::wstring(255, L'#').c_str()));
    EXPECT_EQ(mac.GetMask(), CString(L"##:##:##:##:##:##"));
    EXPECT_FALSE(mac.SetAllowed(L""));
    mac.SetText(L"12:34");
    EXPECT_TRUE(mac.SetAllowed(L"01"));
    EXPECT_TRUE(mac.GetText().IsEmpty());
    mac.Type(L'2');
    EXPECT_TRUE(mac.GetText().IsEmpty());
    EXPECT_TRUE(mac.SetMask(L"#-#"));
    TypeAll(mac, L"101");
    EXPECT_EQ(mac.GetText(), CString(L"1-0"));
}
