#include "Common/SystemHelper/System/RegistryEx.h"
#include "Common/SystemHelper/Values/StringUtils.h"
#include "Platform/Base/Tests/DebugOutputFile.h"
#include "Platform/Base/Tests/ScopedEnvironment.h"
#include "Platform/Base/WinError.h"
#include "Platform/Registry/Registry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <unistd.h>

using wutils::CRegistryEx;

namespace {

// A fresh registry store and a private trace file for one test.
class RegistryExTest : public ::testing::Test {
protected:
    void SetUp() override { SetDebugTraceEnabled(true); }
    void TearDown() override { SetDebugTraceEnabled(false); }
    static bool KeyExists(HKEY hive, const wchar_t* path)
    {
        HKEY key = nullptr;
        if (RegOpenKeyExW(hive, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }
    static void WriteRaw(HKEY hive, const wchar_t* path, const wchar_t* name, DWORD type, const void* data, DWORD size)
    {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(hive, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr), ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
        RegCloseKey(key);
    }

    TestSupport::CTempConfigHome m_config{"zell-registryex"};
    TestSupport::CDebugOutputFile m_trace;
};

}

TEST_F(RegistryExTest, PathSelectsHiveByLongOrShortNameWithoutCase)
{
    CRegistryEx registry(L"hklm\\Software\\X");
    EXPECT_EQ(registry.GetHive(), HKEY_LOCAL_MACHINE);
    EXPECT_EQ(registry.GetKeyPath(), L"Software\\X");

    EXPECT_TRUE(registry.SetPath(L"HKEY_USERS\\S"));
    EXPECT_EQ(registry.GetHive(), HKEY_USERS);
    EXPECT_EQ(registry.GetKeyPath(), L"S");

    EXPECT_TRUE(registry.SetPath(L"hkey_classes_root\\A\\"));
    EXPECT_EQ(registry.GetHive(), HKEY_CLASSES_ROOT);
    EXPECT_EQ(registry.GetKeyPath(), L"A");

    EXPECT_TRUE(registry.SetPath(L"HKCC\\B"));
    EXPECT_EQ(registry.GetHive(), HKEY_CURRENT_CONFIG);
    EXPECT_TRUE(registry.SetPath(L"HKU\\C"));
    EXPECT_EQ(registry.GetHive(), HKEY_USERS);
    EXPECT_EQ(m_trace.Take(), "");
}

TEST_F(RegistryExTest, OnlyTheLeadingHiveNameIsRemovedFromThePath)
{
    CRegistryEx registry(L"HKLM\\Software\\OldHKLM\\Leaf");
    EXPECT_EQ(registry.GetKeyPath(), L"Software\\OldHKLM\\Leaf");

    EXPECT_TRUE(registry.SetPath(L"HKCU\\HKCU\\Inner"));
    EXPECT_EQ(registry.GetKeyPath(), L"HKCU\\Inner");

    // A hive alone leaves nothing below it.
    EXPECT_TRUE(registry.SetPath(L"HKEY_LOCAL_MACHINE"));
    EXPECT_EQ(registry.GetHive(), HKEY_LOCAL_MACHINE);
    EXPECT_EQ(registry.GetKeyPath(), L"");
    EXPECT_TRUE(registry.SetDWordValue(L"Top", L"V", 5));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, L"Top"));
}

TEST_F(RegistryExTest, EmptyPathTakesDefaultsAndWritesInfoBanner)
{
    CRegistryEx registry(L"HKLM\\Elsewhere");
    m_trace.Take();
    EXPECT_FALSE(registry.SetPath(L""));
    EXPECT_EQ(registry.GetHive(), HKEY_CURRENT_USER);
    EXPECT_EQ(registry.GetKeyPath(), L"Software\\Zell Software");
    const std::string trace = m_trace.Take();
    EXPECT_EQ(trace,
        "\n*************************** INFO ****************************\n"
        "  Class:\t\tCRegistryEx\n"
        "  Function:\tSetPath( )\n"
        "  Message:\tEmpty path parameter: \n"
        "  -> handle for the hive will be set to HKEY_CURRENT_USER and \n"
        "  -> path to the sub key will be set to \"Software\\Zell software\". \n"
        "*************************************************************\n\n");
}

TEST_F(RegistryExTest, BadPathsKeepTheFormerSettingAndTraceTheError)
{
    CRegistryEx registry(L"HKLM\\Software\\Kept");
    m_trace.Take();

    EXPECT_FALSE(registry.SetPath(L"HKXX\\Software"));
    EXPECT_EQ(registry.GetHive(), HKEY_LOCAL_MACHINE);
    EXPECT_EQ(registry.GetKeyPath(), L"Software\\Kept");
    EXPECT_EQ(m_trace.Take(),
        "\n*************************** ERROR ***************************\n"
        "  Class:\t\tCRegistryEx\n"
        "  Function:\tSetPath( )\n"
        "  Error:\tInvalid registry hive\n"
        "*************************************************************\n\n");

    EXPECT_FALSE(registry.SetPath(L"\\\\\\"));
    EXPECT_NE(m_trace.Take().find("  Error:\tFaild to split path parameter\n"), std::string::npos);
    EXPECT_EQ(registry.GetKeyPath(), L"Software\\Kept");

    // A hive name as a prefix of a longer first part is no hive.
    EXPECT_FALSE(registry.SetPath(L"HKLMX\\Software"));
    EXPECT_EQ(registry.GetHive(), HKEY_LOCAL_MACHINE);

    // A new object with a bad path still has a usable key.
    CRegistryEx fresh(L"NOHIVE\\X");
    EXPECT_EQ(fresh.GetHive(), HKEY_CURRENT_USER);
    EXPECT_EQ(fresh.GetKeyPath(), L"Software\\Zell Software");
}

TEST_F(RegistryExTest, ValuesRoundTripBelowTheSubKey)
{
    CRegistryEx registry(L"HKCU\\Software\\Zell Software\\Test");
    EXPECT_EQ(registry.GetDWordValue(L"Sub", L"Count", 77), 77u);
    EXPECT_EQ(registry.GetStringValue(L"Sub", L"Name", L"none"), L"none");

    EXPECT_TRUE(registry.SetDWordValue(L"Sub", L"Count", 0xFFFFFFFFu));
    EXPECT_TRUE(registry.SetStringValue(L"Sub\\Deeper", L"Name", L"Ger\u00e4t \u65e5\u672c"));
    EXPECT_TRUE(registry.SetStringValue(L"Sub", L"Empty", L""));

    CRegistryEx reader(L"HKEY_CURRENT_USER\\Software\\Zell Software\\Test");
    EXPECT_EQ(reader.GetDWordValue(L"Sub", L"count", 1), 0xFFFFFFFFu);
    EXPECT_EQ(reader.GetStringValue(L"Sub\\Deeper", L"NAME", L""), L"Ger\u00e4t \u65e5\u672c");
    EXPECT_EQ(reader.GetStringValue(L"Sub", L"Empty", L"default"), L"");
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, L"Software\\Zell Software\\Test\\Sub\\Deeper"));

    // Written with its terminator, as the platform's readers expect.
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Zell Software\\Test\\Sub\\Deeper", 0, KEY_READ, &key),
        ERROR_SUCCESS);
    DWORD type = 0;
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExW(key, L"Name", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, 9 * sizeof(wchar_t));
    RegCloseKey(key);
}

TEST_F(RegistryExTest, SixteenBitDefaultIsZeroExtended)
{
    CRegistryEx registry(L"HKCU\\Software\\T");
    EXPECT_EQ(registry.GetDWordValueOr(L"S", L"Missing", WORD(0xFFFF)), 0x0000FFFFu);
    ASSERT_TRUE(registry.SetDWordValue(L"S", L"Present", 0x12345678u));
    EXPECT_EQ(registry.GetDWordValueOr(L"S", L"Present", WORD(1)), 0x12345678u);
}

TEST_F(RegistryExTest, ValuesOfTheWrongTypeGiveTheDefault)
{
    CRegistryEx registry(L"HKCU\\Software\\Typed");
    ASSERT_TRUE(registry.SetStringValue(L"K", L"Number", L"42"));
    ASSERT_TRUE(registry.SetDWordValue(L"K", L"Text", 42));
    EXPECT_EQ(registry.GetDWordValue(L"K", L"Number", 9), 9u);
    EXPECT_EQ(registry.GetStringValue(L"K", L"Text", L"dflt"), L"dflt");

    // A REG_DWORD of the wrong length is not read either.
    const BYTE twoBytes[2] = {1, 2};
    WriteRaw(HKEY_CURRENT_USER, L"Software\\Typed\\K", L"Short", REG_DWORD, twoBytes, sizeof(twoBytes));
    EXPECT_EQ(registry.GetDWordValue(L"K", L"Short", 3), 3u);
    const wchar_t expand[] = L"%HOME%";
    WriteRaw(HKEY_CURRENT_USER, L"Software\\Typed\\K", L"Expand", REG_EXPAND_SZ, expand, sizeof(expand));
    EXPECT_EQ(registry.GetStringValue(L"K", L"Expand", L"d"), L"d");
}

TEST_F(RegistryExTest, StringsWithoutTerminatorOrLongerThanTheBufferReadWhole)
{
    // 1024 characters fill the classic 2048-byte buffer; stored without NUL.
    const std::wstring full(1024, L'q');
    WriteRaw(HKEY_CURRENT_USER, L"Software\\Raw", L"Full", REG_SZ, full.data(),
        static_cast<DWORD>(full.size() * sizeof(wchar_t)));
    CRegistryEx registry(L"HKCU\\Software");
    EXPECT_EQ(registry.GetStringValue(L"Raw", L"Full", L""), full);

    const std::wstring longer(5000, L'z');
    ASSERT_TRUE(registry.SetStringValue(L"Raw", L"Long", longer));
    EXPECT_EQ(registry.GetStringValue(L"Raw", L"Long", L""), longer);

    // Embedded NUL ends the text.
    const wchar_t embedded[] = {L'a', L'b', L'\0', L'c', L'\0'};
    WriteRaw(HKEY_CURRENT_USER, L"Software\\Raw", L"Nul", REG_SZ, embedded, sizeof(embedded));
    EXPECT_EQ(registry.GetStringValue(L"Raw", L"Nul", L""), L"ab");
}

TEST_F(RegistryExTest, DeleteKeyRemovesTheWholeTree)
{
    CRegistryEx registry(L"HKCU\\Software\\Zell Software");
    ASSERT_TRUE(registry.SetDWordValue(L"Tree", L"Top", 1));
    ASSERT_TRUE(registry.SetDWordValue(L"Tree\\A\\A1", L"V", 1));
    ASSERT_TRUE(registry.SetDWordValue(L"Tree\\A\\A2", L"V", 1));
    ASSERT_TRUE(registry.SetDWordValue(L"Tree\\B", L"V", 1));
    ASSERT_TRUE(registry.SetDWordValue(L"TreeSibling", L"V", 1));

    EXPECT_TRUE(registry.DeleteKey(L"Tree"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, L"Software\\Zell Software\\Tree"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, L"Software\\Zell Software\\TreeSibling"));
    EXPECT_EQ(registry.GetDWordValue(L"TreeSibling", L"V", 0), 1u);
}

TEST_F(RegistryExTest, DeleteOfAMissingKeyReportsNotFoundAndSucceeds)
{
    CRegistryEx registry(L"HKCU\\Software\\Nothing");
    testing::internal::CaptureStdout();
    const bool deleted = registry.DeleteKey(L"Here");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Key not found.\n");
    EXPECT_TRUE(deleted);
}

TEST_F(RegistryExTest, OverLongDeletePathIsRefusedNotCut)
{
    // Cut at the classic buffer length the text would name "...\Victim",
    // a different, shorter key, which must survive.
    CRegistryEx registry(L"HKCU\\Software");
    ASSERT_TRUE(registry.SetDWordValue(L"Victim", L"V", 1));
    const std::wstring prefix = L"Software\\Victim";
    std::wstring sub = L"Victim" + std::wstring(CRegistryEx::kMaxDeletePathLength - prefix.size(), L'\\');
    sub += L"Other";
    EXPECT_FALSE(registry.DeleteKey(sub));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, L"Software\\Victim"));

    // Just inside the limit still works.
    const std::wstring fits(CRegistryEx::kMaxDeletePathLength - std::wstring(L"Software\\").size(), L'k');
    std::wstring parts;
    for (std::size_t i = 0; i + 200 < fits.size(); i += 201)
        parts += std::wstring(200, L'k') + L"\\";
    parts += L"end";
    ASSERT_TRUE(registry.SetDWordValue(parts, L"V", 1));
    EXPECT_TRUE(registry.DeleteKey(parts.substr(0, 200)));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, (L"Software\\" + parts.substr(0, 200)).c_str()));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, L"Software\\Victim"));
}

TEST_F(RegistryExTest, EmptyKeyTextNeverDeletesTheHive)
{
    CRegistryEx registry(L"HKCU");
    ASSERT_TRUE(registry.SetDWordValue(L"Keep", L"V", 1));
    EXPECT_FALSE(registry.DeleteKey(L""));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, L"Keep"));
}
