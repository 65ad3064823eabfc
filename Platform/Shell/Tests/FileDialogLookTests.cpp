// The open dialog's looks on a fixed folder tree: names, sizes and dates are
// the same on every run (times in UTC), and so is the folder's path.
#include "Platform/Shell/CommDlg.h"
#include "Platform/Shell/Tests/ModalScript.h"
#include "Platform/Shell/Tests/ShellTestSupport.h"
#include "Platform/Ui/DisplayAccess.h"
#include "Platform/Ui/Tests/GoldenImage.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// The tree lives at one path so that the path field looks the same each
// time; runs side by side write the same files, each through a rename, and
// what is already there as it should be is left alone (it may belong to
// another user).
const fs::path kTree = "/tmp/zell-file-dialog-look";

bool AsItShouldBe(const fs::path& path, std::size_t bytes, fs::file_time_type time)
{
    std::error_code error;
    return fs::last_write_time(path, error) == time && !error &&
           (fs::is_directory(path, error) || fs::file_size(path, error) == bytes);
}

void Place(const fs::path& path, std::size_t bytes, fs::file_time_type time)
{
    if (AsItShouldBe(path, bytes, time))
        return;
    const fs::path part = path.string() + "." + std::to_string(::getpid());
    std::ofstream(part) << std::string(bytes, 'x');
    fs::last_write_time(part, time);
    fs::rename(part, path);
}

void MakeTree()
{
    // 2024-03-01 12:30 UTC.
    const std::chrono::sys_seconds utc =
        std::chrono::sys_days{std::chrono::year{2024} / 3 / 1} + std::chrono::hours{12} + std::chrono::minutes{30};
    const auto time = fs::file_time_type::clock::from_sys(utc);
    for (const char* folder : {"home", "Documents", "Projekte 2024", "Ärchiv"}) {
        fs::create_directories(kTree / folder);
        if (!AsItShouldBe(kTree / folder, 0, time))
            fs::last_write_time(kTree / folder, time);
    }
    Place(kTree / "Anlage.wes", 2300, time);
    Place(kTree / "notes.txt", 80, time);
    Place(kTree / "Übersicht.wes", 51200, time);
    Place(kTree / "readme.md", 10, time);
}

class UtcTime {
public:
    UtcTime()
    {
        if (const char* old = std::getenv("TZ"))
            m_old = old;
        ::setenv("TZ", "UTC", 1);
        ::tzset();
    }
    ~UtcTime()
    {
        if (m_old)
            ::setenv("TZ", m_old->c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }

private:
    std::optional<std::string> m_old;
};

}  // namespace

TEST(FileDialogLook, OpenDialogOnAFixedTree)
{
    MakeTree();
    UtcTime utc;
    ShellTest::CScopedVariable home(L"HOME", Text::Utf8ToWide((kTree / "home").string()));
    ShellTest::ModalScript script;
    wchar_t file[MAX_PATH] = {};
    const std::wstring folder = Text::Utf8ToWide(kTree.string());
    OPENFILENAMEW ofn;
    ofn.hwndOwner = script.Owner();
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrInitialDir = folder.c_str();
    ofn.lpstrFilter = L"Settings files (*.wes)\0*.wes\0All files (*.*)\0*.*\0";
    ofn.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    script.Then([&](UiTest::CDialogDriver& d) {
        UpdateWindow(d.Dialog());
        d.PumpUntilIdle();
        const std::string png = (fs::temp_directory_path() / ("file-dialog-" + std::to_string(::getpid()) + ".png")).string();
        ASSERT_TRUE(UiTest::Headless().SaveWithFrameAsPng(NativeWindowOf(d.Dialog()), png));
        EXPECT_TRUE(UiTest::MatchesGolden(png, "OpenFileDialog", ZELL_SHELL_GOLDEN_DIR));
        fs::remove(png);
        ShellTest::Key(d, VK_ESCAPE);
    });
    EXPECT_FALSE(GetOpenFileNameW(&ofn));
}
