#include "Platform/Shell/ShellFolders.h"
#include "Platform/Shell/Tests/ShellTestSupport.h"
#include "Platform/Shell/XdgFolders.h"

#include <gtest/gtest.h>

using namespace ShellTest;

namespace {

// A home of its own, and no XDG variables but those a test sets.
class ShellFoldersTest : public ::testing::Test {
protected:
    CTempFolder m_folder;
    std::filesystem::path m_home = m_folder / "Home Dir";
    std::filesystem::path m_config = m_folder / "Config";
    CScopedVariable m_homeVariable{L"HOME", Wide(m_home)};
    CScopedVariable m_configHome{L"XDG_CONFIG_HOME", Wide(m_config)};
    CScopedVariable m_dataHome{L"XDG_DATA_HOME", std::nullopt};
    CScopedVariable m_configDirs{L"XDG_CONFIG_DIRS", std::nullopt};

    void SetUp() override
    {
        std::filesystem::create_directories(m_home);
        std::filesystem::create_directories(m_config);
    }

    HRESULT Get(int folder, std::wstring& path)
    {
        wchar_t buffer[MAX_PATH] = {L'x'};
        const HRESULT result = SHGetFolderPathW(nullptr, folder, nullptr, SHGFP_TYPE_CURRENT, buffer);
        path = buffer;
        return result;
    }
};

}  // namespace

TEST_F(ShellFoldersTest, WithoutUserDirsTheHomeFoldersAreTakenAndMadeOnRequest)
{
    std::wstring path;
    EXPECT_EQ(Get(CSIDL_DESKTOP, path), E_FAIL);
    EXPECT_EQ(path, L"");
    EXPECT_EQ(Get(CSIDL_DESKTOP | CSIDL_FLAG_CREATE, path), S_OK);
    EXPECT_EQ(path, Wide(m_home / "Desktop"));
    EXPECT_TRUE(std::filesystem::is_directory(m_home / "Desktop"));
    EXPECT_EQ(Get(CSIDL_DESKTOPDIRECTORY, path), S_OK);
    EXPECT_EQ(path, Wide(m_home / "Desktop"));

    wchar_t buffer[MAX_PATH] = {};
    EXPECT_FALSE(SHGetSpecialFolderPathW(nullptr, buffer, CSIDL_PERSONAL, FALSE));
    EXPECT_TRUE(SHGetSpecialFolderPathW(nullptr, buffer, CSIDL_PERSONAL, TRUE));
    EXPECT_EQ(std::wstring(buffer), Wide(m_home / "Documents"));

    EXPECT_EQ(Get(CSIDL_APPDATA, path), S_OK);
    EXPECT_EQ(path, Wide(m_config));
    EXPECT_EQ(Get(CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, path), S_OK);
    EXPECT_EQ(path, Wide(m_home / ".local" / "share"));
    EXPECT_EQ(Get(CSIDL_PROFILE, path), S_OK);
    EXPECT_EQ(path, Wide(m_home));
}

TEST_F(ShellFoldersTest, UserDirsAndBaseVariablesAreFollowedWithTheirCaseKept)
{
    std::filesystem::create_directories(m_folder / "Shared Data" / "MixedCase");
    WriteFile(m_config / "user-dirs.dirs",
              "# written by the desktop\n"
              "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"
              "XDG_DOCUMENTS_DIR=relative/ignored\n"
              "XDG_DOCUMENTS_DIR=\"" + (m_folder / "Shared Data" / "MixedCase").string() + "/\"\n"
              "XDG_MUSIC_DIR=\"$HOME\"\n"
              "XDG_PICTURES_DIR=\"$HOMEWORK/x\"\n"
              "XDG_VIDEOS_DIR=\"$HOME/Say \\\"Hi\\\"\n");
    std::wstring path;
    EXPECT_EQ(Get(CSIDL_DESKTOP | CSIDL_FLAG_CREATE, path), S_OK);
    EXPECT_EQ(path, Wide(m_home / "Schreibtisch"));
    EXPECT_TRUE(std::filesystem::is_directory(m_home / "Schreibtisch"));
    EXPECT_EQ(Get(CSIDL_PERSONAL, path), S_OK);
    EXPECT_EQ(path, Wide(m_folder / "Shared Data" / "MixedCase"));

    const std::string text = ReadFile(m_config / "user-dirs.dirs");
    const std::wstring home = Wide(m_home);
    using ZELL::Shell::Xdg::ParseUserFolder;
    EXPECT_EQ(ParseUserFolder(text, "XDG_MUSIC_DIR", home), home);
    EXPECT_EQ(ParseUserFolder(text, "XDG_PICTURES_DIR", home), std::nullopt);
    EXPECT_EQ(ParseUserFolder(text, "XDG_VIDEOS_DIR", home), std::nullopt);  // the quote never closes
    EXPECT_EQ(ParseUserFolder("XDG_VIDEOS_DIR=\"$HOME/Say \\\"Hi\\\"\"", "XDG_VIDEOS_DIR", home),
              home + L"/Say \"Hi\"");
    EXPECT_EQ(ParseUserFolder(text, "XDG_DESKTOP", home), std::nullopt);

    CScopedVariable data(L"XDG_DATA_HOME", Wide(m_folder / "Data//"));
    CScopedVariable dirs(L"XDG_CONFIG_DIRS", L"relative:" + Wide(m_folder / "Shared Data") + L":/etc/xdg");
    EXPECT_EQ(Get(CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, path), S_OK);
    EXPECT_EQ(path, Wide(m_folder / "Data"));
    EXPECT_EQ(Get(CSIDL_COMMON_APPDATA, path), S_OK);
    EXPECT_EQ(path, Wide(m_folder / "Shared Data"));
    // A relative variable does not count.
    CScopedVariable relative(L"XDG_CONFIG_HOME", L"some/where");
    EXPECT_EQ(Get(CSIDL_APPDATA | CSIDL_FLAG_CREATE, path), S_OK);
    EXPECT_EQ(path, Wide(m_home / ".config"));
}

TEST_F(ShellFoldersTest, BadRequestsAndImpossibleFoldersFail)
{
    std::wstring path;
    EXPECT_EQ(Get(0x0BAD, path), E_INVALIDARG);
    EXPECT_EQ(path, L"");
    EXPECT_EQ(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, nullptr), E_INVALIDARG);

    // A path that does not fit the buffer is not cut.
    const std::filesystem::path deep = m_folder / std::string(MAX_PATH, 'd');
    CScopedVariable data(L"XDG_DATA_HOME", Wide(deep));
    EXPECT_EQ(Get(CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, path), E_FAIL);
    EXPECT_EQ(path, L"");

    // Where a file stands in the way, no folder can be made.
    WriteFile(m_home / "Desktop", "a file");
    EXPECT_EQ(Get(CSIDL_DESKTOP | CSIDL_FLAG_CREATE, path), E_FAIL);
    EXPECT_EQ(Get(CSIDL_DESKTOP | CSIDL_FLAG_DONT_VERIFY, path), S_OK);

    EXPECT_EQ(Get(CSIDL_WINDOWS, path), S_OK);
    EXPECT_EQ(path, L"/usr");
    EXPECT_EQ(Get(CSIDL_PROGRAM_FILES, path), S_OK);
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe").parent_path();
    EXPECT_EQ(path, Wide(program.filename() == "bin" ? program.parent_path() : program));
}
