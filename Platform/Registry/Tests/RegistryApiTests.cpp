#include "Platform/Base/WinError.h"
#include "Platform/Registry/Registry.h"
#include "Platform/Registry/RegistryStore.h"
#include "RegistryTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

class RegistryApi : public ::testing::Test {
protected:
    TempConfigHome m_home;

    HKEY Create(const wchar_t* path, DWORD* disposition = nullptr, HKEY root = HKEY_CURRENT_USER)
    {
        HKEY key = nullptr;
        EXPECT_EQ(ERROR_SUCCESS,
            RegCreateKeyExW(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                disposition));
        return key;
    }

    static LSTATUS SetText(HKEY key, const wchar_t* name, const std::wstring& text, DWORD type = REG_SZ)
    {
        return RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
            static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }

    static std::wstring GetText(HKEY key, const wchar_t* name)
    {
        DWORD size = 0;
        DWORD type = 0;
        if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            return L"<missing>";
        std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1);
        EXPECT_EQ(ERROR_SUCCESS,
            RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size));
        return std::wstring(buffer.data(), size / sizeof(wchar_t) - 1);
    }
};

TEST_F(RegistryApi, CreateReportsDispositionAndBuildsIntermediateKeys)
{
    DWORD disposition = 0;
    HKEY key = Create(L"Software\\Zell Software\\Corvane\\Communication", &disposition);
    EXPECT_EQ(REG_CREATED_NEW_KEY, disposition);
    RegCloseKey(key);
    key = Create(L"Software\\Zell Software\\Corvane\\Communication", &disposition);
    EXPECT_EQ(REG_OPENED_EXISTING_KEY, disposition);
    RegCloseKey(key);

    HKEY middle = nullptr;
    EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Zell Software", 0, KEY_READ, &middle));
    RegCloseKey(middle);
    EXPECT_TRUE(std::filesystem::exists(m_home.StoreDir() / "HKEY_CURRENT_USER.reg"));
}

TEST_F(RegistryApi, StringQueriesFollowThePlatformSizeProtocol)
{
    HKEY key = Create(L"Software\\Test");
    ASSERT_EQ(ERROR_SUCCESS, SetText(key, L"Name", L"hello"));

    DWORD type = 0;
    DWORD size = 0;
    ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExW(key, L"Name", nullptr, &type, nullptr, &size));
    EXPECT_EQ(REG_SZ, type);
    EXPECT_EQ(6 * sizeof(wchar_t), size);

    wchar_t small[3] = {};
    DWORD smallSize = sizeof small;
    EXPECT_EQ(ERROR_MORE_DATA,
        RegQueryValueExW(key, L"Name", nullptr, &type, reinterpret_cast<BYTE*>(small), &smallSize));
    EXPECT_EQ(6 * sizeof(wchar_t), smallSize);

    wchar_t exact[6] = {};
    DWORD exactSize = sizeof exact;
    ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExW(key, L"Name", nullptr, &type, reinterpret_cast<BYTE*>(exact), &exactSize));
    EXPECT_STREQ(L"hello", exact);

    // Data without its terminator is stored terminated, so readers never run off.
    const wchar_t raw[] = {L'a', L'b'};
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key, L"Raw", 0, REG_SZ, reinterpret_cast<const BYTE*>(raw), sizeof raw));
    EXPECT_EQ(L"ab", GetText(key, L"Raw"));

    EXPECT_EQ(ERROR_INVALID_PARAMETER, RegQueryValueExW(key, L"Name", nullptr, &type, reinterpret_cast<BYTE*>(exact), nullptr));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegQueryValueExW(key, L"Other", nullptr, &type, nullptr, &size));
    RegCloseKey(key);
}

TEST_F(RegistryApi, EveryValueTypeKeepsItsTypeAndBytes)
{
    HKEY key = Create(L"Software\\Types");
    const DWORD dword = 0xDEADBEEF;
    const ULONGLONG qword = 0x0123456789ABCDEFull;
    const BYTE binary[] = {0, 1, 0, 0xFF, 0, '\n', '"'};
    const wchar_t multi[] = L"one\0two\0";
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key, L"D", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dword), 4));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key, L"Q", 0, REG_QWORD, reinterpret_cast<const BYTE*>(&qword), 8));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key, L"B", 0, REG_BINARY, binary, sizeof binary));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key, L"M", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(multi), sizeof multi));
    ASSERT_EQ(ERROR_SUCCESS, SetText(key, L"E", L"%HOME%\\x", REG_EXPAND_SZ));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key, L"Empty", 0, REG_BINARY, nullptr, 0));
    RegCloseKey(key);

    // A second store object on the same file sees only what reached the disk.
    Registry::CRegistryStore fresh("HKEY_CURRENT_USER");
    fresh.Read([&](const Registry::CRegistryKey& root) -> DWORD {
        const auto* types = root.FindSubKey(L"software")->FindSubKey(L"TYPES");
        EXPECT_NE(nullptr, types);
        if (!types)
            return 0;
        EXPECT_EQ(REG_DWORD, types->FindValue(L"D")->type);
        EXPECT_EQ(std::vector<BYTE>(reinterpret_cast<const BYTE*>(&dword), reinterpret_cast<const BYTE*>(&dword) + 4),
            types->FindValue(L"D")->data);
        EXPECT_EQ(REG_QWORD, types->FindValue(L"Q")->type);
        EXPECT_EQ(8u, types->FindValue(L"Q")->data.size());
        EXPECT_EQ(std::vector<BYTE>(binary, binary + sizeof binary), types->FindValue(L"B")->data);
        EXPECT_EQ(sizeof multi, types->FindValue(L"M")->data.size());
        EXPECT_EQ(REG_EXPAND_SZ, types->FindValue(L"E")->type);
        EXPECT_TRUE(types->FindValue(L"Empty")->data.empty());
        return 0;
    });
}

TEST_F(RegistryApi, NamesAreCaseInsensitiveAndKeepTheirCase)
{
    HKEY key = Create(L"Software\\Привет\\Ärger");
    ASSERT_EQ(ERROR_SUCCESS, SetText(key, L"MixedCase", L"1"));
    ASSERT_EQ(ERROR_SUCCESS, SetText(key, L"MIXEDCASE", L"2")); // the same value
    RegCloseKey(key);

    HKEY again = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\ПРИВЕТ\\äRGER", 0, KEY_READ, &again));
    EXPECT_EQ(L"2", GetText(again, L"mixedcase"));
    wchar_t name[64] = {};
    DWORD length = 64;
    ASSERT_EQ(ERROR_SUCCESS, RegEnumValueW(again, 0, name, &length, nullptr, nullptr, nullptr, nullptr));
    EXPECT_STREQ(L"MixedCase", name);
    length = 64;
    EXPECT_EQ(ERROR_NO_MORE_ITEMS, RegEnumValueW(again, 1, name, &length, nullptr, nullptr, nullptr, nullptr));
    RegCloseKey(again);

    HKEY parent = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, L"software\\привет", 0, KEY_READ, &parent));
    length = 64;
    ASSERT_EQ(ERROR_SUCCESS, RegEnumKeyExW(parent, 0, name, &length, nullptr, nullptr, nullptr, nullptr));
    EXPECT_STREQ(L"Ärger", name);
    EXPECT_EQ(5u, length);
    RegCloseKey(parent);
}

TEST_F(RegistryApi, HostileNamesAndValuesSurviveTheFile)
{
    const std::wstring names[] = {L"", L"quote\"in", L"back\\slash", L"line\nbreak\r\ttab", L"日本語", L"\x01\x7F"};
    std::wstring hostile = L"\"'\\\n\r\t end";
    hostile += L'\0';
    hostile += L"after nul \U0001F600";
    hostile += static_cast<wchar_t>(0xD800); // a lone surrogate half
    HKEY key = Create(L"Software\\Key \"with\" quotes\\日本");
    for (const auto& name : names) {
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key, name.c_str(), 0, REG_SZ,
                                     reinterpret_cast<const BYTE*>(hostile.c_str()),
                                     static_cast<DWORD>((hostile.size() + 1) * sizeof(wchar_t))));
    }
    RegCloseKey(key);

    Registry::CRegistryStore fresh("HKEY_CURRENT_USER");
    fresh.Read([&](const Registry::CRegistryKey& root) -> DWORD {
        const auto* k = root.FindSubKey(L"Software")->FindSubKey(L"Key \"with\" quotes")->FindSubKey(L"日本");
        EXPECT_NE(nullptr, k);
        if (!k)
            return 0;
        EXPECT_EQ(std::size(names), k->Values().size());
        for (const auto& name : names) {
            const auto* value = k->FindValue(name);
            EXPECT_NE(nullptr, value);
            if (!value)
                continue;
            std::wstring stored(value->data.size() / sizeof(wchar_t), L'\0');
            std::memcpy(stored.data(), value->data.data(), value->data.size());
            EXPECT_EQ(hostile + L'\0', stored);
        }
        return 0;
    });
}

TEST_F(RegistryApi, ErrorCodesFollowThePlatform)
{
    HKEY key = nullptr;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Missing", 0, KEY_READ, &key));
    EXPECT_EQ(nullptr, key);
    EXPECT_EQ(ERROR_BAD_PATHNAME, RegOpenKeyExW(HKEY_CURRENT_USER, L"\\Software", 0, KEY_READ, &key));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, nullptr));

    HKEY forged = reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x12345678));
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegOpenKeyExW(forged, L"x", 0, KEY_READ, &key));
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(forged));

    HKEY parent = Create(L"Software\\Tree\\Child");
    RegCloseKey(parent);
    parent = Create(L"Software\\Tree");
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Tree"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegDeleteKeyW(parent, L"Nothing"));

    HKEY child = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(parent, L"child", 0, KEY_READ, &child));
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteKeyW(parent, L"CHILD"));
    // A handle to a deleted key stays a valid handle but finds no key.
    DWORD ignored = 0;
    EXPECT_EQ(ERROR_KEY_DELETED, RegQueryValueExW(child, L"x", nullptr, nullptr, nullptr, &ignored));
    EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(child));
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(child));
    EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Tree"));
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegDeleteKeyW(HKEY_CURRENT_USER, L""));
    EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(HKEY_CURRENT_USER));
    RegCloseKey(parent);
}

TEST_F(RegistryApi, AccessRightsOfTheHandleAreEnforced)
{
    HKEY writable = Create(L"Software\\Rights");
    ASSERT_EQ(ERROR_SUCCESS, SetText(writable, L"v", L"1"));
    RegCloseKey(writable);
    HKEY reader = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Rights", 0, KEY_READ, &reader));
    EXPECT_EQ(ERROR_ACCESS_DENIED, SetText(reader, L"v", L"2"));
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegDeleteValueW(reader, L"v"));
    EXPECT_EQ(L"1", GetText(reader, L"v"));
    RegCloseKey(reader);
    HKEY setter = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Rights", 0, KEY_SET_VALUE, &setter));
    DWORD size = 0;
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegQueryValueExW(setter, L"v", nullptr, nullptr, nullptr, &size));
    EXPECT_EQ(ERROR_SUCCESS, RegDeleteValueW(setter, L"v"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegDeleteValueW(setter, L"v"));
    RegCloseKey(setter);
}

TEST_F(RegistryApi, EnumerationAndKeyInfo)
{
    for (const wchar_t* name : {L"Software\\E\\beta", L"Software\\E\\Alpha", L"Software\\E\\gamma"})
        RegCloseKey(Create(name));
    HKEY key = Create(L"Software\\E");
    ASSERT_EQ(ERROR_SUCCESS, SetText(key, L"LongValueName", L"twelve chars"));
    const BYTE blob[80] = {};
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key, L"b", 0, REG_BINARY, blob, sizeof blob));

    std::vector<std::wstring> seen;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD length = 256;
        const LSTATUS rc = RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_NO_MORE_ITEMS)
            break;
        ASSERT_EQ(ERROR_SUCCESS, rc);
        seen.emplace_back(name, length);
        ASSERT_LT(i, 10u);
    }
    EXPECT_EQ((std::vector<std::wstring>{L"Alpha", L"beta", L"gamma"}), seen);

    wchar_t tiny[5];
    DWORD tinyLength = 5; // "Alpha" needs 6 with its NUL
    EXPECT_EQ(ERROR_MORE_DATA, RegEnumKeyExW(key, 0, tiny, &tinyLength, nullptr, nullptr, nullptr, nullptr));

    wchar_t valueName[32];
    DWORD valueNameLength = 32;
    DWORD type = 0;
    BYTE data[8];
    DWORD dataSize = sizeof data;
    EXPECT_EQ(ERROR_MORE_DATA, RegEnumValueW(key, 1, valueName, &valueNameLength, nullptr, &type, data, &dataSize));
    EXPECT_EQ(80u, dataSize);

    DWORD subKeys = 0, maxSub = 0, values = 0, maxName = 0, maxData = 0;
    ASSERT_EQ(ERROR_SUCCESS, RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subKeys, &maxSub, nullptr, &values,
                                 &maxName, &maxData, nullptr, nullptr));
    EXPECT_EQ(3u, subKeys);
    EXPECT_EQ(5u, maxSub);
    EXPECT_EQ(2u, values);
    EXPECT_EQ(13u, maxName);
    EXPECT_EQ(80u, maxData);
    RegCloseKey(key);
}

TEST_F(RegistryApi, HivesAreSeparateFiles)
{
    HKEY machine = Create(L"Hardware\\DeviceMap\\SerialComm", nullptr, HKEY_LOCAL_MACHINE);
    ASSERT_EQ(ERROR_SUCCESS, SetText(machine, L"\\Device\\Serial0", L"COM1"));
    RegCloseKey(machine);
    HKEY user = nullptr;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND,
        RegOpenKeyExW(HKEY_CURRENT_USER, L"Hardware\\DeviceMap\\SerialComm", 0, KEY_READ, &user));
    EXPECT_TRUE(std::filesystem::exists(m_home.StoreDir() / "HKEY_LOCAL_MACHINE.reg"));
}

}
