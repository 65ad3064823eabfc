#include "Platform/Shell/DesktopEntry.h"
#include "Platform/Shell/ShellLink.h"
#include "Platform/Shell/Tests/ShellTestSupport.h"

#include "Platform/Base/WinError.h"

#include <gtest/gtest.h>

using namespace ShellTest;
using ZELL::Shell::ShellLink;
namespace DesktopEntry = ZELL::Shell::DesktopEntry;

namespace {

std::string Line(const std::string& text, const std::string& key)
{
    const std::size_t at = text.find("\n" + key + "=");
    if (at == std::string::npos)
        return {};
    const std::size_t start = at + key.size() + 2;
    return text.substr(start, text.find('\n', start) - start);
}

}  // namespace

TEST(ShellLinkTest, AProgramWithArgumentsAndFolderComesBack)
{
    CTempFolder folder;
    const std::filesystem::path program = folder / "Tool Ä";
    WriteScript(program, "exit 0\n");
    ShellLink link;
    ASSERT_EQ(link.SetPath(Wide(program)), S_OK);
    const std::wstring arguments = LR"(-f "my file.txt" 100% a\b "say \"x\"" $HOME ``)";
    link.SetArguments(arguments);
    link.SetWorkingDirectory(Wide(folder / "Work Dir"));
    link.SetDescription(L"Two\nlines");
    link.SetIconLocation(L"/usr/share/icons/tool.png", 3);
    const std::filesystem::path file = folder / "Tool.desktop";
    ASSERT_EQ(link.Save(Wide(file)), S_OK);

    const std::string text = ReadFile(file);
    EXPECT_EQ(text.rfind("[Desktop Entry]\n", 0), 0u);
    EXPECT_EQ(Line(text, "Type"), "Application");
    // The quoting of the Exec rules, then the value escapes on top.
    EXPECT_EQ(Line(text, "Exec"), "\"" + program.string() +
                                      R"(" -f "my file.txt" 100%% "a\\\\b" "say \\"x\\"" "\\$HOME" "\\`\\`")");
    EXPECT_EQ(Line(text, "Path"), (folder / "Work Dir").string());
    EXPECT_EQ(Line(text, "Comment"), "Two\\nlines");

    ShellLink loaded;
    ASSERT_EQ(loaded.Load(Wide(file)), S_OK);
    EXPECT_EQ(loaded.Path(), Wide(program));
    EXPECT_EQ(loaded.Arguments(), LR"(-f "my file.txt" 100% a\b "say \"x\"" $HOME ``)");
    EXPECT_EQ(loaded.WorkingDirectory(), Wide(folder / "Work Dir"));
    EXPECT_EQ(loaded.Description(), L"Two\nlines");
    EXPECT_EQ(loaded.IconFile(), L"/usr/share/icons/tool.png");
    EXPECT_EQ(loaded.IconIndex(), 3);
}

TEST(ShellLinkTest, DocumentsAndLinksAreLinkEntries)
{
    CTempFolder folder;
    const std::filesystem::path document = folder / "Bericht 100% ä.pdf";
    WriteFile(document, "%PDF-");
    // An execute bit alone does not make a document a program.
    std::filesystem::permissions(document, std::filesystem::perms::owner_all);
    ShellLink link;
    link.SetPath(Wide(document));
    ASSERT_EQ(link.Save(Wide(folder / "doc.desktop")), S_OK);
    const std::string text = ReadFile(folder / "doc.desktop");
    EXPECT_EQ(Line(text, "Type"), "Link");
    EXPECT_EQ(Line(text, "URL"), "file://" + folder.Path().string() + "/Bericht%20100%25%20%C3%A4.pdf");
    ShellLink loaded;
    ASSERT_EQ(loaded.Load(Wide(folder / "doc.desktop")), S_OK);
    EXPECT_EQ(loaded.Path(), Wide(document));
    EXPECT_EQ(loaded.Arguments(), L"");

    link.SetPath(L"https://example.org/?a=1&b=2");
    ASSERT_EQ(link.Save(Wide(folder / "web.desktop")), S_OK);
    ASSERT_EQ(loaded.Load(Wide(folder / "web.desktop")), S_OK);
    EXPECT_EQ(loaded.Path(), L"https://example.org/?a=1&b=2");
    EXPECT_EQ(ShellLink().Save(Wide(folder / "empty.desktop")), E_INVALIDARG);
    EXPECT_EQ(link.Save(Wide(folder / "no-folder" / "x.desktop")), HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));
}

TEST(ShellLinkTest, AFileThatIsNoShortcutFailsClearly)
{
    CTempFolder folder;
    const HRESULT badFormat = HRESULT_FROM_WIN32(ERROR_BAD_FORMAT);
    const struct {
        const char* name;
        const char* text;
    } cases[] = {
        {"plain.txt", "just some text\n"},
        {"other-group.desktop", "[Other]\nType=Link\nURL=x\n[Desktop Entry]\nType=Link\nURL=https://x.example\n"},
        {"directory.desktop", "[Desktop Entry]\nType=Directory\nName=x\n"},
        {"no-exec.desktop", "[Desktop Entry]\nType=Application\nName=x\n"},
        {"open-quote.desktop", "[Desktop Entry]\nType=Application\nExec=\"/bin/true\n"},
        {"empty.desktop", ""},
        {"binary.desktop", "[Desktop Entry]\nType=Link\nURL=\xff\xfe\n"},
    };
    ShellLink link;
    link.SetPath(L"/kept");
    for (const auto& item : cases) {
        WriteFile(folder / item.name, item.text);
        EXPECT_EQ(link.Load(Wide(folder / item.name)), badFormat) << item.name;
    }
    EXPECT_EQ(link.Load(Wide(folder / "missing.desktop")), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(link.Load(Wide(folder.Path())), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(link.Path(), L"/kept");
}

TEST(ShellLinkTest, HandWrittenEntriesAreRead)
{
    CTempFolder folder;
    WriteFile(folder / "app.desktop",
              "# comment\n\n[Desktop Entry]\nName=App\nName[de]=Programm\nType = Application\n"
              "Exec=/usr/bin/app --open %U \"C:\\\\\\\\x\" 50%%\nIcon=app\n[Desktop Action New]\nExec=ignored\n");
    ShellLink link;
    ASSERT_EQ(link.Load(Wide(folder / "app.desktop")), S_OK);
    EXPECT_EQ(link.Path(), L"/usr/bin/app");
    EXPECT_EQ(link.Arguments(), LR"(--open C:\x 50%)");
    EXPECT_EQ(link.IconFile(), L"app");
    EXPECT_EQ(link.IconIndex(), 0);

    EXPECT_EQ(DesktopEntry::UnescapeValue(L"\\sa\\tb\\\\c\\q"), L" a\tb\\c\\q");
    EXPECT_EQ(DesktopEntry::EscapeValue(L" a b\\"), L"\\sa b\\\\");
}
