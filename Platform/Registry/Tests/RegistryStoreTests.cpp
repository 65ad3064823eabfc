#include "Platform/Base/Tests/DebugOutputFile.h"
#include "Platform/Base/Tests/FileBytes.h"
#include "Platform/Base/WinError.h"
#include "Platform/Registry/Registry.h"
#include "Platform/Registry/RegistryFormat.h"
#include "Platform/Registry/RegistryStore.h"
#include "RegistryTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

namespace {

using TestSupport::ReadFile;
using TestSupport::WriteFile;

LSTATUS SetDword(const wchar_t* keyPath, const std::wstring& name, DWORD value)
{
    HKEY key = nullptr;
    LSTATUS rc = RegCreateKeyExW(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    if (rc != ERROR_SUCCESS)
        return rc;
    rc = RegSetValueExW(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
    return rc;
}

bool GetDword(const wchar_t* keyPath, const std::wstring& name, DWORD& value)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD size = sizeof value;
    DWORD type = 0;
    const LSTATUS rc = RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS && type == REG_DWORD;
}

std::vector<std::filesystem::path> CorruptCopies(const std::filesystem::path& dir)
{
    std::vector<std::filesystem::path> found;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().filename().string().find(".corrupt-") != std::string::npos)
            found.push_back(entry.path());
    }
    return found;
}

TEST(RegistryFormat, HostileTreeRoundTripsAndDamageIsRecognised)
{
    Registry::CRegistryKey root;
    bool created = false;
    auto& key = root.CreateSubKey(L"a \"b\"\n", created).CreateSubKey(L"日本", created);
    root.CreateSubKey(L"empty", created);
    std::wstring text = L"x\0y\\\"\x7f";
    text += static_cast<wchar_t>(0x110000);
    text += L'\0';
    std::vector<BYTE> textBytes(text.size() * sizeof(wchar_t));
    std::memcpy(textBytes.data(), text.data(), textBytes.size());
    key.SetValue({L"", REG_SZ, textBytes});
    key.SetValue({L"odd", REG_SZ, {1, 2, 3}}); // not whole characters: kept as bytes
    key.SetValue({L"bin", REG_BINARY, {0, 0xFF, 0}});
    root.SetValue({L"rootValue", 99, {}});

    const std::string file = Registry::SerializeRegistryFile(root, 41);
    Registry::CRegistryFileContent parsed;
    std::string error;
    ASSERT_TRUE(Registry::ParseRegistryFile(file, parsed, error)) << error;
    EXPECT_TRUE(parsed.root == root);
    EXPECT_EQ(41u, parsed.generation);

    // Every cut loses the end line or breaks the last one.
    for (std::size_t cut = 0; cut < file.size(); cut += 7)
        EXPECT_FALSE(Registry::ParseRegistryFile(file.substr(0, cut), parsed, error)) << cut;
    std::string garbled = file;
    garbled[file.size() / 2] ^= 0x20;
    EXPECT_FALSE(Registry::ParseRegistryFile(garbled, parsed, error));
    EXPECT_FALSE(Registry::ParseRegistryFile(file + "key \"late\"\n", parsed, error));

    // Quoted text that is not UTF-8 is refused on its line, before any checksum.
    const auto keyLine = [&](const std::string& quoted) {
        const std::string text = "zell-registry 1\ngeneration 1\nkey \"" + quoted + "\"\n";
        EXPECT_FALSE(Registry::ParseRegistryFile(text, parsed, error));
        return error.find("invalid UTF-8") != std::string::npos;
    };
    EXPECT_FALSE(keyLine("\xC3\xA4\\\"\xE6\x97\xA5x")) << error;
    for (const char* bad : {"\xC3", "a\xC3\\n", "\xE6\x97\"", "\xED\xA0\x80", "\xC0\xAF", "\xF4\x90\x80\x80"})
        EXPECT_TRUE(keyLine(bad)) << error;
}

class RegistryStoreFile : public ::testing::Test {
protected:
    TempConfigHome m_home;
    std::filesystem::path StoreFile() const { return m_home.StoreDir() / "HKEY_CURRENT_USER.reg"; }
};

TEST_F(RegistryStoreFile, ChangesOfAnotherProcessAreSeen)
{
    ASSERT_EQ(ERROR_SUCCESS, SetDword(L"Software\\Shared", L"before", 1));
    DWORD value = 0;
    ASSERT_TRUE(GetDword(L"Software\\Shared", L"before", value));

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        ::_exit(SetDword(L"Software\\Shared", L"fromChild", 77) == ERROR_SUCCESS ? 0 : 1);
    int status = 0;
    ASSERT_EQ(child, ::waitpid(child, &status, 0));
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    ASSERT_TRUE(GetDword(L"Software\\Shared", L"fromChild", value));
    EXPECT_EQ(77u, value);
    EXPECT_TRUE(GetDword(L"Software\\Shared", L"before", value));
}

TEST_F(RegistryStoreFile, ConcurrentWritersLoseNothing)
{
    constexpr int kWriters = 3;
    constexpr int kValuesEach = 60;
    ASSERT_EQ(ERROR_SUCCESS, SetDword(L"Software\\Race", L"seed", 0));
    std::vector<pid_t> children;
    for (int w = 0; w < kWriters; ++w) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0; i < kValuesEach; ++i) {
                const std::wstring name = L"w" + std::to_wstring(w) + L"_" + std::to_wstring(i);
                if (SetDword(L"Software\\Race", name, static_cast<DWORD>(w * 1000 + i)) != ERROR_SUCCESS)
                    ::_exit(1);
            }
            ::_exit(0);
        }
        children.push_back(child);
    }
    // The parent writes at the same time through its own cached copy.
    for (int i = 0; i < kValuesEach; ++i)
        ASSERT_EQ(ERROR_SUCCESS, SetDword(L"Software\\Race", L"parent_" + std::to_wstring(i), static_cast<DWORD>(i)));
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(child, ::waitpid(child, &status, 0));
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    for (int w = 0; w < kWriters; ++w) {
        for (int i = 0; i < kValuesEach; ++i) {
            DWORD value = 0;
            ASSERT_TRUE(GetDword(L"Software\\Race", L"w" + std::to_wstring(w) + L"_" + std::to_wstring(i), value))
                << w << " " << i;
            EXPECT_EQ(static_cast<DWORD>(w * 1000 + i), value);
        }
    }
    for (int i = 0; i < kValuesEach; ++i) {
        DWORD value = 0;
        EXPECT_TRUE(GetDword(L"Software\\Race", L"parent_" + std::to_wstring(i), value));
    }
    // No temporary file is left behind.
    for (const auto& entry : std::filesystem::directory_iterator(m_home.StoreDir()))
        EXPECT_EQ(std::string::npos, entry.path().filename().string().find(".tmp-")) << entry.path();
}

TEST_F(RegistryStoreFile, TruncatedFileIsReportedAndKeptAside)
{
    ASSERT_EQ(ERROR_SUCCESS, SetDword(L"Software\\Keep", L"a", 1));
    ASSERT_EQ(ERROR_SUCCESS, SetDword(L"Software\\Keep", L"b", 2));
    const std::string good = ReadFile(StoreFile());
    const std::string cut = good.substr(0, good.size() - 10);
    WriteFile(StoreFile(), cut);

    // The report goes to the debugger output.
    const TestSupport::CDebugOutputFile debug;
    DWORD value = 0;
    EXPECT_FALSE(GetDword(L"Software\\Keep", L"a", value));
    const std::string trace = debug.Read();

    const auto copies = CorruptCopies(m_home.StoreDir());
    ASSERT_EQ(1u, copies.size());
    EXPECT_EQ(cut, ReadFile(copies[0]));
    EXPECT_NE(std::string::npos, trace.find("damaged")) << trace;
    EXPECT_NE(std::string::npos, trace.find(copies[0].filename().string())) << trace;

    // The next write starts a fresh, valid store and leaves the copy alone.
    ASSERT_EQ(ERROR_SUCCESS, SetDword(L"Software\\Keep", L"c", 3));
    Registry::CRegistryFileContent content;
    std::string error;
    EXPECT_TRUE(Registry::ParseRegistryFile(ReadFile(StoreFile()), content, error)) << error;
    EXPECT_EQ(cut, ReadFile(copies[0]));
}

TEST_F(RegistryStoreFile, GarbledFileFoundByAWriterIsNotOverwrittenBlindly)
{
    ASSERT_EQ(ERROR_SUCCESS, SetDword(L"Software\\Keep", L"a", 1));
    std::string bytes = ReadFile(StoreFile());
    bytes[bytes.find("Keep")] = 'X';
    WriteFile(StoreFile(), bytes);

    ::testing::internal::CaptureStderr();
    ASSERT_EQ(ERROR_SUCCESS, SetDword(L"Software\\Other", L"b", 2));
    ::testing::internal::GetCapturedStderr();
    const auto copies = CorruptCopies(m_home.StoreDir());
    ASSERT_EQ(1u, copies.size());
    EXPECT_EQ(bytes, ReadFile(copies[0]));
    DWORD value = 0;
    EXPECT_TRUE(GetDword(L"Software\\Other", L"b", value));
}

TEST_F(RegistryStoreFile, StoreFollowsTheConfigurationFolder)
{
    ASSERT_EQ(ERROR_SUCCESS, SetDword(L"Software\\Where", L"a", 1));
    EXPECT_TRUE(std::filesystem::exists(StoreFile()));
    {
        TempConfigHome other;
        DWORD value = 0;
        EXPECT_FALSE(GetDword(L"Software\\Where", L"a", value));
        ASSERT_EQ(ERROR_SUCCESS, SetDword(L"Software\\Where", L"b", 2));
        EXPECT_TRUE(std::filesystem::exists(other.StoreDir() / "HKEY_CURRENT_USER.reg"));
    }
    DWORD value = 0;
    EXPECT_TRUE(GetDword(L"Software\\Where", L"a", value));
    EXPECT_FALSE(GetDword(L"Software\\Where", L"b", value));
}

TEST_F(RegistryStoreFile, AWriterThatFailsAfterItChangedTheTreeLeavesNoTrace)
{
    Registry::CRegistryStore store("FailingWriter");
    const auto setValue = [](const wchar_t* name, DWORD rc) {
        return [name, rc](Registry::CRegistryKey& root, bool& changed) {
            root.SetValue({name, REG_BINARY, {1}});
            changed = true;
            return rc;
        };
    };
    const auto has = [&store](const wchar_t* name) {
        bool found = false;
        store.Read([&](const Registry::CRegistryKey& root) {
            found = root.FindValue(name) != nullptr;
            return DWORD{ERROR_SUCCESS};
        });
        return found;
    };
    ASSERT_EQ(DWORD{ERROR_SUCCESS}, store.Write(setValue(L"kept", ERROR_SUCCESS)));
    EXPECT_EQ(DWORD{ERROR_INVALID_PARAMETER}, store.Write(setValue(L"half", ERROR_INVALID_PARAMETER)));
    // The half-done change is gone from memory, and a later write does not carry it into the file.
    EXPECT_FALSE(has(L"half"));
    ASSERT_EQ(DWORD{ERROR_SUCCESS}, store.Write(setValue(L"next", ERROR_SUCCESS)));
    EXPECT_TRUE(has(L"kept"));
    EXPECT_TRUE(has(L"next"));
    EXPECT_FALSE(has(L"half"));
    EXPECT_EQ(std::string::npos, ReadFile(store.FilePath()).find("half"));
}

}

namespace {

using Registry::CRegistryStore;
using Registry::CStoreNotice;

TEST_F(RegistryStoreFile, ADamagedFileSetAsideIsNoticedOnceNamingTheCopy)
{
    ASSERT_EQ(ERROR_SUCCESS, SetDword(L"Software\\Keep", L"a", 1));
    CRegistryStore::TakeNotices();
    WriteFile(StoreFile(), "garbage");
    ::testing::internal::CaptureStderr();
    DWORD value = 0;
    EXPECT_FALSE(GetDword(L"Software\\Keep", L"a", value));
    EXPECT_FALSE(GetDword(L"Software\\Keep", L"a", value));
    ::testing::internal::GetCapturedStderr();
    const auto copies = CorruptCopies(m_home.StoreDir());
    ASSERT_EQ(1u, copies.size());
    const std::vector<CStoreNotice> expected{{CStoreNotice::Kind::SetAside, copies[0].wstring()}};
    EXPECT_EQ(expected, CRegistryStore::TakeNotices());
    EXPECT_TRUE(CRegistryStore::TakeNotices().empty());
}

// A profile the user made read-only keeps its file and mode; changes last for
// the process and the user hears once that they are not kept.
TEST_F(RegistryStoreFile, AReadOnlyProfileIsNotSavedAndNoticedOnce)
{
    struct Case {
        const char* what;
        bool folder;
    };
    for (const Case& c : {Case{"file", false}, Case{"folder", true}}) {
        SCOPED_TRACE(c.what);
        TempConfigHome own;
        ASSERT_EQ(ERROR_SUCCESS, SetDword(L"Software\\Mode", L"a", 1));
        const auto file = own.StoreDir() / "HKEY_CURRENT_USER.reg";
        const std::string before = ReadFile(file);
        const auto target = c.folder ? own.StoreDir() : file;
        const auto mode = c.folder ? std::filesystem::perms(0500) : std::filesystem::perms(0400);
        std::filesystem::permissions(target, mode);
        CRegistryStore::TakeNotices();

        EXPECT_EQ(ERROR_SUCCESS, SetDword(L"Software\\Mode", L"a", 2));
        EXPECT_EQ(ERROR_SUCCESS, SetDword(L"Software\\Mode", L"b", 3));
        DWORD value = 0;
        EXPECT_TRUE(GetDword(L"Software\\Mode", L"a", value));
        EXPECT_EQ(2u, value);
        EXPECT_EQ(before, ReadFile(file));
        EXPECT_EQ(mode, std::filesystem::status(target).permissions() & std::filesystem::perms::all);
        const std::vector<CStoreNotice> expected{{CStoreNotice::Kind::ReadOnly, file.wstring()}};
        EXPECT_EQ(expected, CRegistryStore::TakeNotices());
        EXPECT_TRUE(GetDword(L"Software\\Mode", L"b", value));
        EXPECT_TRUE(CRegistryStore::TakeNotices().empty());
        std::filesystem::permissions(target, std::filesystem::perms::owner_all);
        std::size_t entries = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(own.StoreDir()))
            ++entries;
        EXPECT_EQ(2u, entries); // the store and its lock file, no temporary
    }
}

}
