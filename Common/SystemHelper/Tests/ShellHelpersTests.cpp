#include "Common/SystemHelper/Desktop/ShellHelpers.h"

#include "Platform/Base/WinError.h"
#include "Platform/Shell/ShellFolders.h"
#include "Platform/Shell/Tests/ShellTestSupport.h"

#include <gtest/gtest.h>

using namespace ShellTest;

TEST(ShellHelpers, ShellFoldersAreFoundButNotMade)
{
    CTempFolder folder;
    CScopedVariable home(L"HOME", Wide(folder.Path()));
    CScopedVariable config(L"XDG_CONFIG_HOME", Wide(folder / "cfg"));
    EXPECT_EQ(GetSpecialFolderPath(CSIDL_DESKTOPDIRECTORY), L"");
    EXPECT_FALSE(std::filesystem::exists(folder / "Desktop"));
    std::filesystem::create_directories(folder / "Desktop");
    EXPECT_EQ(GetSpecialFolderPath(CSIDL_DESKTOPDIRECTORY), Wide(folder / "Desktop"));
    EXPECT_EQ(GetSpecialFolderPath(0x7F), L"");
}

TEST(ShellHelpers, AShortcutGivesBackItsTargetArgumentsAndFolder)
{
    CTempFolder folder;
    const std::filesystem::path program = folder / "bin" / "tool";
    std::filesystem::create_directories(program.parent_path());
    WriteScript(program, "exit 0\n");
    const std::wstring link = Wide(folder / "Tool.desktop");
    // The target is taken by its full path.
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder / "bin");
    const HRESULT created = CreateShortcut(L"./tool", L"The tool", link, L"--config \"my settings.xml\" -v",
                                           L"/usr/share/icons/tool.png", 2, Wide(folder / "work dir"));
    std::filesystem::current_path(before);
    ASSERT_EQ(created, S_OK);

    std::wstring target = L"untouched";
    std::wstring arguments;
    std::wstring workingFolder;
    ASSERT_EQ(ResolveShortcut(link, target, &arguments, &workingFolder), S_OK);
    EXPECT_EQ(target, Wide(program));
    EXPECT_EQ(arguments, L"--config \"my settings.xml\" -v");
    EXPECT_EQ(workingFolder, Wide(folder / "work dir"));

    // A document without arguments, and a link.
    WriteFile(folder / "notes.txt", "x");
    ASSERT_EQ(CreateShortcut(Wide(folder / "notes.txt"), L"", Wide(folder / "notes.desktop")), S_OK);
    ASSERT_EQ(ResolveShortcut(Wide(folder / "notes.desktop"), target), S_OK);
    EXPECT_EQ(target, Wide(folder / "notes.txt"));
    ASSERT_EQ(CreateShortcut(L"https://example.org/help", L"Help", Wide(folder / "help.desktop")), S_OK);
    ASSERT_EQ(ResolveShortcut(Wide(folder / "help.desktop"), target), S_OK);
    EXPECT_EQ(target, L"https://example.org/help");
}

TEST(ShellHelpers, ANonShortcutFailsAndLeavesTheTarget)
{
    CTempFolder folder;
    WriteFile(folder / "plain.txt", "not a shortcut\n");
    std::wstring target = L"untouched";
    EXPECT_EQ(ResolveShortcut(Wide(folder / "plain.txt"), target), HRESULT_FROM_WIN32(ERROR_BAD_FORMAT));
    EXPECT_EQ(ResolveShortcut(Wide(folder / "missing.desktop"), target), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(target, L"untouched");
    EXPECT_EQ(CreateShortcut(L"", L"", Wide(folder / "x.desktop")), E_FAIL);
}

TEST(ShellHelpers, AMailLinkKeepsItsPartsWholeAndGoesToTheOpenerAsOneArgument)
{
    EXPECT_EQ(MakeMailToLink(L"info@example.org", L"", L"Hello"), L"mailto:info@example.org?body=Hello");
    EXPECT_EQ(MakeMailToLink(L"info@example.org", L"Hi", L""), L"mailto:info@example.org?subject=Hi");
    EXPECT_EQ(MakeMailToLink(L"a@x.example,b@x.example", L"", L""), L"mailto:a@x.example,b@x.example");
    EXPECT_EQ(MakeMailToLink(L"a b?c@x.example", L"", L""), L"mailto:a%20b%3Fc@x.example");

    const CStandIns shell;
    shell.StandIn("xdg-open");
    EXPECT_TRUE(SendMailTo(L"support@example.org", L"Fault \"E12\" & more", L"Line 1\nGrüße & \"Dank\"; 100%?x=y"));
    EXPECT_EQ(ReadFile(shell.m_log), "call\n[mailto:support@example.org?subject=Fault%20%22E12%22%20%26%20more"
                             "&body=Line%201%0D%0AGr%C3%BC%C3%9Fe%20%26%20%22Dank%22%3B%20100%25%3Fx%3Dy]\n");

    CScopedVariable noOpener(L"PATH", Wide(shell.m_folder / "empty"));
    EXPECT_FALSE(SendMailTo(L"support@example.org", L"x", L"y"));
}
