// The about dialog as a user meets it: its texts in each language (English
// where the library has none), the company and support rows a GUI XML file
// gives, the support mail started from whichever row shows the address, and
// the file list that looks beside the program.
#include "Common/SystemHelper/Tests/LanguageSupportTestFiles.h"
#include "Common/Tessel/AboutDlg.h"
#include "Common/Tessel/AboutFileList.h"
#include "Common/Tessel/Tests/MessageBoxDriver.h"
#include "Platform/Base/Tests/ScopedEnvironment.h"

#include <cstdlib>
#include <filesystem>
#include <sstream>

using namespace TesselTest;
using namespace ZELL::Grid;
using Tessel::AboutArguments;
using Tessel::CAboutDlg;
using Tessel::CAboutFileList;
using UiTest::CDialogDriver;

namespace {

// The same system on every machine, so that renderings compare.
class CFixedSystemAboutDlg : public CAboutDlg {
public:
    using CAboutDlg::CAboutDlg;

protected:
    void DescribeSystem(WindowsVersionText& text) const override
    {
        text.name = L"Example Linux 12";
        text.version = L"Version 6.1.0";
        text.servicePack = L"";
        text.edition = L"Desktop";
        text.bitness = L"64 Bit";
    }
};

// A GUI XML file with English texts for the given keys.
std::string GuiXmlWith(const std::vector<std::pair<std::string, std::string>>& texts)
{
    std::string xml = R"(<?xml version="1.0" encoding="UTF-8"?><gui><languages><language lcid="1033" code="en"/>)"
                      R"(</languages><texts>)";
    for (const auto& [key, text] : texts)
        xml += "<text key=\"" + key + "\"><locale code=\"en\">" + text + "</locale></text>";
    return xml + "</texts></gui>";
}

using TestSupport::CScopedVariable;

class AboutDialog : public CMessageBoxFixture {
protected:
    void SetUp() override
    {
        CMessageBoxFixture::SetUp();
        TSLXDLL_SetLanguage(0x0409);
    }

    // Runs the dialog with the steps inside its loop; the last step closes it.
    void Run(const AboutArguments& arguments, std::vector<Step> steps)
    {
        EnsureTesselAppStarted();
        Show(L"", 0, std::move(steps), L"", [&] {
            const Tessel::CLibraryModuleScope scope;
            CFixedSystemAboutDlg dialog(arguments, CWnd::FromHandle(m_owner.hwnd));
            m_lastBody = CString();
            const INT_PTR result = dialog.DoModal();
            m_lastBody = dialog.SupportMailBody();
            m_mailControl = dialog.SupportMailControl();
            return static_cast<int>(result);
        });
    }

    void UseGuiXml(const std::vector<std::pair<std::string, std::string>>& texts)
    {
        TSLXDLL_SetGuiXmlFile(m_folder.Write("ABOUT.GUI.XML", GuiXmlWith(texts)).c_str(), 0x0409);
    }

    // An opener on the path that notes each link it is given.
    std::string RecordOpenedLinks()
    {
        const std::wstring script = m_folder.Write("xdg-open", "#!/bin/sh\necho \"$1\" >> \"$(dirname \"$0\")/opened.txt\"\n");
        std::filesystem::permissions(std::filesystem::path(Text::WideToUtf8(script)),
                                     std::filesystem::perms::owner_all);
        return std::filesystem::path(Text::WideToUtf8(script)).parent_path().string();
    }

    static std::string Opened(const std::string& folder)
    {
        std::ifstream file(folder + "/opened.txt");
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }

    static Step Close() { return Press(VK_ESCAPE); }

    static AboutArguments Arguments(LPCWSTR appName, LPCWSTR productVersion = L"2.1.0")
    {
        AboutArguments arguments;
        arguments.executable = L"corvane-missing";
        arguments.fileVersion = L"2.1.0.7";
        arguments.date = L"2026-11-30";
        arguments.appName = appName;
        arguments.productVersion = productVersion;
        return arguments;
    }

    ScratchFolder m_folder;
    CString m_lastBody;
    int m_mailControl = -1;
};

}

TEST(AboutFileList, CompanionFilesAreNamedAfterTheProgramKeepingItsCase)
{
    const CAboutFileList files(L"/opt/zell", L"/opt/zell/libtessel.so");
    EXPECT_EQ(files.LanguageFileCandidates(L"CORVANEDBG.EXE"), std::vector<CString>{L"CORVANE.ENG.DLL"});
    EXPECT_EQ(files.LanguageFileCandidates(L"CORVANE.EXE"), (std::vector<CString>{L"CORVANEENG.DLL", L"CORVANEEN.DLL"}));
    EXPECT_EQ(files.LanguageFileCandidates(L"corvane"), (std::vector<CString>{L"corvaneENG.DLL", L"corvaneEN.DLL"}));
    EXPECT_EQ(CAboutFileList::GuiXmlFileOf(L"CORVANEDBG.EXE"), L"CORVANE.GUI.XML");
    EXPECT_EQ(CAboutFileList::GuiXmlFileOf(L"CORVANE.EXE"), L"CORVANE.GUI.XML");
    EXPECT_EQ(CAboutFileList::GuiXmlFileOf(L"Corvane.exe"), L"Corvane.GUI.XML");
    EXPECT_EQ(files.Resolve(L"corvane"), L"/opt/zell/corvane");
    EXPECT_EQ(files.Resolve(L"/usr/bin/corvane"), L"/usr/bin/corvane");
    EXPECT_EQ(files.Resolve(L""), L"");
}

TEST(AboutFileList, RowsListOnlyFilesBesideTheProgramNeverThoseOfTheCurrentFolder)
{
    ScratchFolder scratch;
    const std::wstring program = scratch.Write("tool", "#!/bin/sh\n");
    const std::filesystem::path folder = std::filesystem::path(Text::WideToUtf8(program)).parent_path();
    scratch.Write("toolEN.DLL", "not a library");
    scratch.Write("tool.GUI.XML", "<gui><version number=\"3.2.1\"/><date>2026-01-02</date></gui>");
    // Files of the same names in the current folder must not be listed.
    const std::filesystem::path elsewhere = folder / "elsewhere";
    std::filesystem::create_directories(elsewhere);
    std::ofstream(elsewhere / "libpelorus.so") << "x";
    std::ofstream(elsewhere / "toolENG.DLL") << "x";
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(elsewhere);
    const CAboutFileList files(CString(Text::Utf8ToWide(folder.string()).c_str()), L"/nonexistent/libtessel.so");
    const std::vector<Tessel::AboutFileRow> rows = files.Rows(L"tool", L"1.0.0.3", L"2026-12-24");
    std::filesystem::current_path(previous);

    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].name, L"tool");
    EXPECT_EQ(rows[0].version, L"1.0.0.3");
    EXPECT_EQ(rows[0].date, L"2026-12-24");
    EXPECT_EQ(rows[1].name, L"toolEN.DLL");
    EXPECT_EQ(rows[1].version, L"");
    EXPECT_EQ(rows[2].name, L"tool.GUI.XML");
    EXPECT_EQ(rows[2].version, L"3.2.1");
    EXPECT_EQ(rows[2].date, L"2026-01-02");
    // A program that is not there has no row, and nothing else appears.
    EXPECT_EQ(files.Rows(L"gone", L"1", L"2").size(), 0u);
}

TEST(AboutFileList, AnUnreadableGuiXmlFileGivesEmptyVersionAndDate)
{
    ScratchFolder scratch;
    CString version = L"old";
    CString date = L"old";
    CAboutFileList::ReadXmlVersion(scratch.Write("broken.xml", "<gui><version number=\"1\"").c_str(), version, date);
    EXPECT_EQ(version, L"");
    EXPECT_EQ(date, L"");
    CAboutFileList::ReadXmlVersion(scratch.Write("bare.xml", "<gui/>").c_str(), version, date);
    EXPECT_EQ(version, L"");
    CAboutFileList::ReadXmlVersion(L"/nonexistent/x.xml", version, date);
    EXPECT_EQ(date, L"");
}

TEST_F(AboutDialog, AProductVersionIsPrefixedUnlessItNamesItself)
{
    EnsureTesselAppStarted();
    const Tessel::CLibraryModuleScope scope;
    EXPECT_EQ(CAboutDlg(Arguments(L"Tool", L"2.1.0")).ProductVersion(), L"Version 2.1.0");
    EXPECT_EQ(CAboutDlg(Arguments(L"Tool", L"Release Candidate 3")).ProductVersion(), L"Release Candidate 3");
    EXPECT_EQ(CAboutDlg(Arguments(L"Tool", L"Special edition 4")).ProductVersion(), L"Special edition 4");
    const CAboutDlg dialog(Arguments(L"Tool - Pro", L"2.1.0"));
    EXPECT_EQ(dialog.AppName(), L"Tool\nPro");
    EXPECT_EQ(dialog.ApplicationInformation(), L"Tool\nPro\nVersion : 2.1.0\ncorvane-missing : 2.1.0.7 (2026-11-30)");
}

TEST_F(AboutDialog, ATwoPartNameShowsOnTwoLinesAndInTheCaptionWithTheDotsRemoved)
{
    std::wstring title;
    std::wstring version;
    Run(Arguments(L"Tool - Pro"), {[&](CDialogDriver& d) {
            title = d.Text(1173);
            version = d.Text(1059);
        },
        Close()});
    EXPECT_EQ(m_seen.caption, L"About Tool - Pro ");
    EXPECT_EQ(title, L"Tool\nPro");
    EXPECT_EQ(version, L"Version 2.1.0");
}

TEST_F(AboutDialog, LanguagesWithoutTextsOfTheLibraryShowEnglishNeverEmptyLabels)
{
    const std::pair<WORD, std::vector<std::wstring>> cases[] = {
        {0x0C0A, {L"About Tool ", L"&Close", L"Files", L"System", L"Phone:", L"Fax:"}},
        {0x0411, {L"About Tool ", L"&Close", L"Files", L"System", L"Phone:", L"Fax:"}},
        {0x0407, {L"Info \u00fcber Tool ", L"Schlie\u00dfen", L"Dateien", L"System", L"Telefon:", L"Fax:"}},
    };
    for (const auto& [language, expected] : cases) {
        TSLXDLL_SetLanguage(language);
        std::vector<std::wstring> seen;
        Run(Arguments(L"Tool"), {[&](CDialogDriver& d) {
                seen = {d.Text(IDOK), d.Text(1061), d.Text(1063), d.Text(1071), d.Text(1072)};
            },
            Close()});
        seen.insert(seen.begin(), m_seen.caption);
        EXPECT_EQ(seen, expected) << std::hex << language;
        EXPECT_TRUE(m_lastBody.Find(language == 0x0407 ? L"Anwendungsinformationen" : L"Application Information") >= 0);
    }
}

TEST_F(AboutDialog, WithoutSupportFaxTheAddressMovesUpAndItsClickStartsAnEncodedMail)
{
    UseGuiXml({{"COMPANY_NAME", "Example Couplers"}, {"COMPANY_STREET", "Main Street 5"},
               {"SUPPORT_EMAIL", "help@example.org"}});
    const std::string folder = RecordOpenedLinks();
    const CScopedVariable path("PATH", folder + ":/usr/bin:/bin");
    std::vector<bool> visible;
    std::wstring faxRow;
    Run(Arguments(L"Tool & Co"), {[&](CDialogDriver& d) {
            visible = {d.IsVisible(1077), d.IsVisible(1080), d.IsVisible(1082), d.IsVisible(1065), d.IsVisible(1070)};
            faxRow = d.Text(1079) + L" " + d.Text(1082);
            EXPECT_EQ(d.Text(1064), L"Example Couplers");
            EXPECT_EQ(d.Text(1070), L"Main Street 5");
            // No post box: the street takes its line, and the phone follows the street.
            RECT postbox{}, street{}, phone{};
            ::GetWindowRect(d.Control(1065), &postbox);
            ::GetWindowRect(d.Control(1070), &street);
            ::GetWindowRect(d.Control(1071), &phone);
            EXPECT_EQ(street.top, postbox.top);
            EXPECT_LT(phone.top - street.top, 2 * (street.bottom - street.top));
        },
        [](CDialogDriver& d) { EXPECT_TRUE(d.Click(1082)); }, Close()});
    EXPECT_EQ(visible, (std::vector<bool>{false, false, true, false, true}));
    EXPECT_EQ(faxRow, L"Email: help@example.org");
    EXPECT_EQ(m_mailControl, 1082);
    const std::string opened = Opened(folder);
    EXPECT_EQ(opened.rfind("mailto:help@example.org?subject=Tool%20%26%20Co&body=%3CPlease%20enter", 0), 0u) << opened;
    EXPECT_NE(opened.find("Application%20Information%0D%0A"), std::string::npos) << opened;
    EXPECT_NE(opened.find("Example%20Linux%2012"), std::string::npos) << opened;
    // Line breaks are encoded once, not encoded again as text.
    EXPECT_EQ(opened.find("%25"), std::string::npos) << opened;
    EXPECT_EQ(std::count(opened.begin(), opened.end(), '\n'), 1);
}

TEST_F(AboutDialog, WithSupportFaxOnlyTheAddressRowStartsTheMail)
{
    UseGuiXml({{"SUPPORT_FAX", "+49 1 2345"}, {"SUPPORT_EMAIL", "help@example.org"}});
    const std::string folder = RecordOpenedLinks();
    const CScopedVariable path("PATH", folder + ":/usr/bin:/bin");
    std::vector<std::wstring> rows;
    Run(Arguments(L"Tool"), {[&](CDialogDriver& d) {
            rows = {d.Text(1079), d.Text(1082), d.Text(1080), d.Text(1077)};
            EXPECT_TRUE(d.IsVisible(1077));
        },
        [](CDialogDriver& d) { EXPECT_TRUE(d.Click(1082)); }, [](CDialogDriver& d) { EXPECT_TRUE(d.Click(1077)); },
        Close()});
    EXPECT_EQ(rows, (std::vector<std::wstring>{L"Fax:", L"+49 1 2345", L"Email:", L"help@example.org"}));
    const std::string opened = Opened(folder);
    EXPECT_EQ(std::count(opened.begin(), opened.end(), '\n'), 1) << opened;
    EXPECT_EQ(opened.rfind("mailto:help@example.org?subject=Tool&body=", 0), 0u) << opened;
}

TEST_F(AboutDialog, ASupportWebsiteOpensThePageAndNoMail)
{
    UseGuiXml({{"SUPPORT_FAX", "+49 1 2345"}, {"SUPPORT_WEBSITE", "https://support.example.org/form"},
               {"LBL_SUPPORT_WEBSITE", "Support form"}});
    const std::string folder = RecordOpenedLinks();
    const CScopedVariable path("PATH", folder + ":/usr/bin:/bin");
    std::vector<std::wstring> row;
    Run(Arguments(L"Tool"), {[&](CDialogDriver& d) { row = {d.Text(1080), d.Text(1077)}; },
                             [](CDialogDriver& d) { EXPECT_TRUE(d.Click(1077)); }, Close()});
    EXPECT_EQ(row, (std::vector<std::wstring>{L"Online:", L"Support form"}));
    EXPECT_EQ(m_mailControl, 0);
    EXPECT_EQ(Opened(folder), "https://support.example.org/form\n");
}

TEST_F(AboutDialog, TheFileListShowsTheProgramsFilesAndTheSystemListTheSystem)
{
    std::vector<std::wstring> cells;
    Run(Arguments(L"Tool"), {[&](CDialogDriver& d) {
            auto* files = dynamic_cast<CZellGrid*>(CWnd::FromHandlePermanent(d.Control(1060)));
            auto* system = dynamic_cast<CZellGrid*>(CWnd::FromHandlePermanent(d.Control(1062)));
            ASSERT_TRUE(files != nullptr && system != nullptr);
            EXPECT_FALSE(files->IsEditingEnabled());
            EXPECT_FALSE(files->IsSelectionEnabled());
            EXPECT_EQ(files->GetFixedRowCount(), 1);
            cells = {files->GetCellText(0, 0).GetString(), files->GetCellText(0, 2).GetString(),
                     files->GetCellText(1, 0).GetString(), system->GetCellText(0, 0).GetString(),
                     system->GetCellText(1, 0).GetString(), system->GetCellText(2, 0).GetString()};
        },
        Close()});
    // The program is not there; this library (linked into the test) is.
    EXPECT_EQ(cells, (std::vector<std::wstring>{L"File Name", L"Creation Date", L"TesselTests ",
                                                L"  Example Linux 12", L"  Desktop (64 Bit)", L"  Version 6.1.0"}));
    EXPECT_TRUE(m_lastBody.Find(L"\nTesselTests :") >= 0) << m_lastBody.GetString();
    EXPECT_TRUE(m_lastBody.Find(L"Example Linux 12\nDesktop (64 Bit)\nVersion 6.1.0\n") >= 0);
}

TEST_F(AboutDialog, LooksAsItShould)
{
    UseGuiXml({{"SUPPORT_EMAIL", "help@example.org"}});
    Run(Arguments(L"Coupler Settings"), {LooksAsGolden("AboutDialog"), Close()});
}

TEST_F(AboutDialog, ACallerThatGivesNoTextsGetsTheLibrarysOwnNamesNotACrash)
{
    std::wstring title;
    std::wstring version;
    Show(L"", 0, {[&](CDialogDriver& d) {
             title = d.Text(1173);
             version = d.Text(1059);
         },
         Close()},
         L"", [] {
             ZELLAboutDialog(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, -1);
             return 0;
         });
    EXPECT_FALSE(title.empty());
    EXPECT_EQ(m_seen.caption, L"About " + title + L" ");
    // Nothing read: the bare word, never an empty line.
    EXPECT_EQ(version, L"Version ");
}
