#include "Platform/Base/WinError.h"
#include "Platform/Registry/ProfileStore.h"
#include "Platform/Registry/Registry.h"
#include "RegistryTestSupport.h"

#include <gtest/gtest.h>

namespace {

class ProfileStore : public ::testing::Test {
protected:
    TempConfigHome m_home;
    Registry::CProfileStore m_profile{L"Zell Software", L"Corvane"};
};

TEST_F(ProfileStore, ValuesRoundTripUnderTheApplicationKey)
{
    EXPECT_EQ(L"de;en", m_profile.GetString(L"Common", L"SupportedLanguages", L"de;en"));
    ASSERT_TRUE(m_profile.WriteString(L"Communication", L"LastConnection", L"TCPIP"));
    ASSERT_TRUE(m_profile.WriteInt(L"Window size", L"max", -5));
    const BYTE blob[] = {0, 1, 2, 0};
    ASSERT_TRUE(m_profile.WriteBinary(L"Window size", L"Placement", blob, sizeof blob));

    EXPECT_EQ(L"TCPIP", m_profile.GetString(L"communication", L"lastconnection"));
    EXPECT_EQ(static_cast<UINT>(-5), m_profile.GetInt(L"Window size", L"max", 0));
    std::vector<BYTE> data;
    ASSERT_TRUE(m_profile.GetBinary(L"Window size", L"Placement", data));
    EXPECT_EQ(std::vector<BYTE>(blob, blob + sizeof blob), data);

    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Zell Software\\Corvane\\Communication", 0,
                                 KEY_READ, &key));
    RegCloseKey(key);
}

TEST_F(ProfileStore, ValuesOfAnotherTypeReadAsMissing)
{
    ASSERT_TRUE(m_profile.WriteString(L"S", L"text", L"12"));
    ASSERT_TRUE(m_profile.WriteInt(L"S", L"number", 12));
    EXPECT_EQ(7u, m_profile.GetInt(L"S", L"text", 7));
    EXPECT_EQ(L"dflt", m_profile.GetString(L"S", L"number", L"dflt"));
    std::vector<BYTE> data;
    EXPECT_FALSE(m_profile.GetBinary(L"S", L"text", data));
}

TEST_F(ProfileStore, NullValueRemovesTheEntryAndNullEntryTheSection)
{
    ASSERT_TRUE(m_profile.WriteString(L"S", L"a", L"1"));
    ASSERT_TRUE(m_profile.WriteString(L"S", L"b", L"2"));
    ASSERT_TRUE(m_profile.WriteString(L"S\\Deeper", L"c", L"3"));
    ASSERT_TRUE(m_profile.WriteString(L"S", L"a", nullptr));
    EXPECT_EQ(L"gone", m_profile.GetString(L"S", L"a", L"gone"));
    EXPECT_EQ(L"2", m_profile.GetString(L"S", L"b"));
    ASSERT_TRUE(m_profile.WriteString(L"S", nullptr, nullptr));
    EXPECT_EQ(L"gone", m_profile.GetString(L"S", L"b", L"gone"));
    EXPECT_EQ(L"gone", m_profile.GetString(L"S\\Deeper", L"c", L"gone"));
    EXPECT_TRUE(m_profile.WriteString(L"Never", nullptr, nullptr));
}

TEST_F(ProfileStore, WithoutCompanyNothingIsKept)
{
    Registry::CProfileStore anonymous(L"", L"Corvane");
    EXPECT_FALSE(anonymous.WriteInt(L"S", L"a", 1));
    EXPECT_EQ(3u, anonymous.GetInt(L"S", L"a", 3));
}

}
