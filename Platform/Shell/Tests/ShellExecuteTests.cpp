#include "Platform/Shell/ChildProcess.h"
#include "Platform/Shell/ShellExecute.h"
#include "Platform/Shell/Tests/ModalScript.h"
#include "Platform/Shell/Tests/ShellTestSupport.h"

#include "Platform/Base/LastError.h"
#include "Platform/Base/Synchronization.h"
#include "Platform/Base/WinError.h"

#include <gtest/gtest.h>

using namespace ShellTest;

namespace {

INT_PTR Code(HINSTANCE instance) { return reinterpret_cast<INT_PTR>(instance); }

class ShellExecuteTest : public StandInTest {
protected:
    void Opener(const std::string& tail = "exit 0\n") { StandIn("xdg-open", tail); }
    INT_PTR Open(const std::wstring& file, LPCWSTR directory = nullptr, LPCWSTR verb = L"open")
    {
        return Code(ShellExecuteW(nullptr, verb, file.c_str(), nullptr, directory, 1));
    }
};

}  // namespace

TEST_F(ShellExecuteTest, ALinkGoesToTheOpenerOnceAsOneArgument)
{
    Opener();
    const std::wstring link = L"https://example.org/a b?q=\"x\"&r='y';$(id)";
    EXPECT_GT(Open(link), 32);
    EXPECT_EQ(ReadFile(m_log), "call\n[https://example.org/a b?q=\"x\"&r='y';$(id)]\n");

    std::filesystem::remove(m_log);
    const std::wstring mail = L"mailto:a@b.example?subject=Hello World \"Q\" & more&body=x y";
    EXPECT_GT(Open(mail, nullptr, nullptr), 32);  // the default verb opens too
    EXPECT_EQ(ReadFile(m_log), "call\n[mailto:a@b.example?subject=Hello World \"Q\" & more&body=x y]\n");
}

TEST_F(ShellExecuteTest, ADocumentIsHandedOverByItsFullPath)
{
    Opener();
    std::filesystem::create_directories(m_folder / "Docs");
    WriteFile(m_folder / "Docs" / "-Report Ä.txt", "text");
    const std::wstring folder = Wide(m_folder / "Docs");
    // A name that begins with "-" cannot be taken for an option.
    EXPECT_GT(Open(L"-Report Ä.txt", folder.c_str(), L"Open"), 32);
    EXPECT_EQ(ReadFile(m_log), "call\n[" + (m_folder / "Docs" / "-Report Ä.txt").string() + "]\n");
}

TEST_F(ShellExecuteTest, FailuresGiveThePlatformCodes)
{
    Opener();
    const std::wstring missingFile = Wide(m_folder / "missing.txt");
    EXPECT_EQ(Open(missingFile), SE_ERR_FNF);
    EXPECT_EQ(Open(Wide(m_folder / "no-folder" / "x.txt")), SE_ERR_PNF);
    EXPECT_EQ(Open(L"x.txt", Wide(m_folder / "no-folder").c_str()), SE_ERR_PNF);
    EXPECT_EQ(Open(L""), SE_ERR_FNF);
    EXPECT_EQ(Open(L"https://example.org", nullptr, L"print"), SE_ERR_NOASSOC);
    EXPECT_FALSE(std::filesystem::exists(m_log));  // the opener was never asked

    SHELLEXECUTEINFOW info;
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.lpFile = missingFile.c_str();
    EXPECT_FALSE(ShellExecuteExW(&info));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Code(info.hInstApp), SE_ERR_FNF);
    info.cbSize = 0;
    EXPECT_FALSE(ShellExecuteExW(&info));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_F(ShellExecuteTest, TheOpenersExitStatusIsReported)
{
    const struct {
        const char* tail;
        INT_PTR code;
    } cases[] = {{"exit 1\n", ERROR_BAD_FORMAT}, {"exit 2\n", SE_ERR_FNF}, {"exit 3\n", SE_ERR_NOASSOC},
                 {"exit 4\n", SE_ERR_NOASSOC}, {"kill -9 $$\n", SE_ERR_NOASSOC}};
    for (const auto& item : cases) {
        Opener(item.tail);
        EXPECT_EQ(Open(L"https://example.org"), item.code) << item.tail;
    }
    SHELLEXECUTEINFOW info;
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.lpFile = L"https://example.org";
    EXPECT_FALSE(ShellExecuteExW(&info));
    EXPECT_EQ(GetLastError(), ERROR_NO_ASSOCIATION);
}

TEST_F(ShellExecuteTest, WithoutAnOpenerNothingIsAssociated)
{
    CScopedVariable path(L"PATH", Wide(m_bin));
    EXPECT_EQ(Open(L"https://example.org"), SE_ERR_NOASSOC);
    EXPECT_EQ(Code(ShellExecuteA(nullptr, "open", "mailto:x@y.example", nullptr, nullptr, 1)), SE_ERR_NOASSOC);
}

TEST_F(ShellExecuteTest, AFailureIsSaidOverTheCallersWindowUnlessNoUiIsAsked)
{
    CScopedVariable path(L"PATH", Wide(m_bin));
    ModalScript script;
    std::wstring said;
    script.Then([&](UiTest::CDialogDriver& box) {
        said = ModalScript::BoxText(box.Dialog());
        Key(box, VK_RETURN);
    });
    EXPECT_EQ(Code(ShellExecuteW(script.Owner(), L"open", L"http://192.168.2.17", nullptr, nullptr, 1)),
              SE_ERR_NOASSOC);
    EXPECT_EQ(GetLastError(), ERROR_NO_ASSOCIATION);  // the box leaves the caller its error
    EXPECT_NE(said.find(L"\"http://192.168.2.17\" cannot be opened"), std::wstring::npos) << said;

    SHELLEXECUTEINFOW info;
    info.hwnd = script.Owner();
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.lpFile = L"http://192.168.2.17";
    EXPECT_FALSE(ShellExecuteExW(&info));
    EXPECT_EQ(Open(L"http://192.168.2.17"), SE_ERR_NOASSOC);  // no window, no box
    EXPECT_EQ(script.Captions(), std::vector<std::wstring>{L"Open"});
}

TEST_F(ShellExecuteTest, AProgramRunsItselfWithItsParametersAndCanBeWaitedFor)
{
    const std::filesystem::path program = m_folder / "my tool";
    WriteRecorder(program, m_log, "pwd >> '" + m_log.string() + "'\nexit 7\n");
    SHELLEXECUTEINFOW info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    const std::wstring file = Wide(program);
    const std::wstring folder = Wide(m_bin);
    info.lpFile = file.c_str();
    info.lpParameters = L"-x \"two words\" a\\\"b";
    info.lpDirectory = folder.c_str();
    ASSERT_TRUE(ShellExecuteExW(&info));
    EXPECT_GT(Code(info.hInstApp), 32);
    ASSERT_NE(info.hProcess, nullptr);
    ASSERT_EQ(WaitForSingleObject(info.hProcess, 5000), WAIT_OBJECT_0);
    DWORD exitCode = 0;
    EXPECT_TRUE(GetExitCodeProcess(info.hProcess, &exitCode));
    EXPECT_EQ(exitCode, 7u);
    EXPECT_TRUE(CloseHandle(info.hProcess));
    EXPECT_EQ(ReadFile(m_log), "call\n[-x]\n[two words]\n[a\"b]\n" + m_bin.string() + "\n");
    EXPECT_FALSE(GetExitCodeProcess(info.hProcess, &exitCode));
}

TEST_F(ShellExecuteTest, WinExecSplitsItsCommandLineAndDoesNotWait)
{
    const std::filesystem::path program = m_folder / "my prog";
    WriteRecorder(program, m_log);
    const std::string line = "\"" + program.string() + "\" plain \"two words\" 'single' a\\\"b ; rm -rf x $(id) \"\"";
    EXPECT_GT(WinExec(line.c_str(), 1), 31u);
    EXPECT_EQ(WaitForFile(m_log), "call\n[plain]\n[two words]\n['single']\n[a\"b]\n[;]\n[rm]\n[-rf]\n[x]\n[$(id)]\n[]\n");

    std::filesystem::remove(m_log);
    WriteRecorder(m_bin / "on-path", m_log);
    EXPECT_GT(WinExec("on-path x", 1), 31u);
    EXPECT_EQ(WaitForFile(m_log), "call\n[x]\n");

    EXPECT_EQ(WinExec("", 1), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(WinExec(nullptr, 1), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(WinExec("no-such-program-here", 1), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(WinExec((m_folder / "missing" / "prog").c_str(), 1), ERROR_FILE_NOT_FOUND);
    WriteFile(m_folder / "data.txt", "x");
    EXPECT_EQ(WinExec((m_folder / "data.txt" / "prog").c_str(), 1), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(WinExec((m_folder / "data.txt").c_str(), 1), ERROR_ACCESS_DENIED);
}

TEST(ChildProcessTest, AProgramThatDoesNotEndInTimeIsStopped)
{
    ZELL::Shell::ChildStart start;
    start.arguments = {L"/bin/sh", L"-c", L"echo begun; exec sleep 30"};
    start.captureOutput = true;
    const auto began = std::chrono::steady_clock::now();
    const ZELL::Shell::ChildResult result = ZELL::Shell::RunChild(start, 300);
    EXPECT_LT(std::chrono::steady_clock::now() - began, std::chrono::seconds(5));
    EXPECT_TRUE(result.timedOut);
    EXPECT_EQ(result.output, "begun\n");
    EXPECT_EQ(result.exitCode, 128u + 9u);
}
