// The program's application object: a whole start with its command line
// and exit (profile, registry and hooks), the template ids per DPI hook,
// texts by key, the data folder, the capability look-ups of the located
// file and the window services.
#include "Products/Corvane/App/CorvaneApp.h"

#include "Common/Application/Tests/TestApp.h"
#include "Common/Communication/RS232Connection.h"
#include "Common/Communication/TCPIPConnection.h"
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Common/SystemHelper/Desktop/ShellHelpers.h"
#include "Platform/Framework/Drawing/ImageList.h"
#include "Platform/Framework/Windows/Wnd.h"
#include "Platform/Registry/ProfileStore.h"
#include "Platform/Registry/RegistryStore.h"
#include "Platform/Registry/RegistryTypes.h"
#include "Platform/Shell/ShellFolders.h"
#include "Platform/Shell/Tests/ShellTestSupport.h"
#include "Platform/Ui/Tests/UiTestSupport.h"
#include "Products/Corvane/Core/StartupOptions.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace Corvane {

using namespace AppTest;

namespace {

constexpr wchar_t kAppName[] = L"CorvaneAppTests";

class CStartApp : public CCorvaneApp {
public:
    explicit CStartApp(std::wstring guiXmlFile) : CCorvaneApp(kAppName), m_strGuiXml(std::move(guiXmlFile)) {}

    void InitGuiXmlFile() override { m_guiXmlFile = m_strGuiXml.c_str(); }
    bool IsUserLanguageSupported() const override { return m_bSupportedLanguage; }

    std::vector<std::wstring> m_arrMessages;
    bool m_bSocketsStart = true;
    bool m_bSupportedLanguage = true;
    int m_nDialogRuns = 0;
    int m_nInvalidAddressLoads = 0;
    LONG m_nPageFontHeight = 0;
    // Runs while the main dialog would be open.
    std::function<void()> m_fnDuringDialog;
    std::vector<WORD> m_arrLibraryLcids;

protected:
    void RunMainDialog() override
    {
        ++m_nDialogRuns;
        if (m_fnDuringDialog)
            m_fnDuringDialog();
    }
    void ShowStartupMessage(const CString& text, UINT type) override { m_arrMessages.push_back(text.str()); }
    bool StartSockets() override { return m_bSocketsStart; }
    void HandFontToPages(const LOGFONTW& font) override { m_nPageFontHeight = font.lfHeight; }
    void LoadInvalidIPAddresses() override { ++m_nInvalidAddressLoads; }
    // The user-interface library answers a language its file lacks with a
    // message box; what it is handed is noted instead.
    void HandGuiXmlFileToLibrary(const CString& file, WORD lcid) override { m_arrLibraryLcids.push_back(lcid); }

private:
    std::wstring m_strGuiXml;
};

std::vector<CString> Args(std::initializer_list<const wchar_t*> texts)
{
    std::vector<CString> args;
    for (const wchar_t* text : texts)
        args.emplace_back(text);
    return args;
}

class CorvaneAppTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        GetLanguageSupport().Clear();
        Registry::DeleteKeyTree(HKEY_CURRENT_USER, L"Software\\Zell Software\\CorvaneAppTests");
        g_StartupOptions = {};
    }
    void TearDown() override { GetLanguageSupport().Clear(); }

    std::wstring WriteGui()
    {
        return m_Folder.Write("Corvane.GUI.XML",
                              GuiXml(Keyed("TXT_IP_ADDR_SOURCE_01", "Static") + Keyed("TXT_IP_ADDR_SOURCE_02", "BootP") +
                                     Keyed("TXT_IP_ADDR_SOURCE_03", "DHCP") + Keyed("TXT_IP_ADDR_SOURCE_04", "DHCP") +
                                     Keyed("TXT_IP_ADDR_SOURCE_UNKNOWN", "Unknown") +
                                     Keyed("TXT_NOT_SUPPORTED", "Not supported")));
    }

    static Registry::CProfileStore Profile() { return {L"Zell Software", kAppName}; }
    static std::wstring StoredLanguage() { return Profile().GetString(L"Common", L"Language", L"(none)"); }
    static std::wstring LastConnection() { return Profile().GetString(L"Communication", L"LastConnection", L""); }

    static std::wstring StoredAddress(const CCorvaneApp& app)
    {
        ZELL::CTCPIPConnection tcp;
        tcp.LoadSettings(app.CommunicationRegistryPath().str(), ZELL::ISettings::Registry);
        return tcp.GetSettingsValue(L"IP-Address");
    }
    static void StoreAddress(const CCorvaneApp& app, const wchar_t* address)
    {
        ZELL::CTCPIPConnection tcp;
        ASSERT_TRUE(tcp.SetSettingsXML(std::wstring(L"<TCPIP IP-Address='") + address + L"' />"));
        ASSERT_TRUE(tcp.SaveSettings(app.CommunicationRegistryPath().str(), ZELL::ISettings::Registry));
    }

    ScratchFolder m_Folder;
};

TEST_F(CorvaneAppTest, StartRunsTheDialogOnceWithFontAndAddressListAndEndsTheProgram)
{
    CStartApp app(WriteGui());
    app.SetArguments({});
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(app.m_nDialogRuns, 1);
    EXPECT_EQ(app.m_nInvalidAddressLoads, 1);
    EXPECT_EQ(app.m_nPageFontHeight, app.GetMessageLogFont().lfHeight);
    EXPECT_NE(app.m_nPageFontHeight, 0);
    // Without a language in the profile, the run takes English and keeps it.
    EXPECT_EQ(app.Language().str(), L"en");
    EXPECT_EQ(StoredLanguage(), L"en");
    EXPECT_TRUE(app.m_arrMessages.empty());
    // The user-interface library learns the file's language, English, and
    // no other: each language handed over is one more walk of the file.
    ASSERT_FALSE(app.m_arrLibraryLcids.empty());
    EXPECT_THAT(app.m_arrLibraryLcids, ::testing::Each(1033));
    app.ExitInstance();
    EXPECT_EQ(StoredLanguage(), L"en");
}

TEST_F(CorvaneAppTest, CommandLineLanguageLastsForOneRun)
{
    ASSERT_TRUE(Profile().WriteString(L"Common", L"Language", L"de"));
    CStartApp app(WriteGui());
    app.SetArguments(Args({L"/LANGUAGE:FR", L"/LANG:es"}));
    std::wstring duringRun;
    app.m_fnDuringDialog = [&] { duringRun = StoredLanguage(); };
    app.InitInstance();
    EXPECT_EQ(duringRun, L"es");
    // The file lacks "es": English throughout, neither the profile's
    // German nor a German first pass.
    EXPECT_THAT(app.m_arrLibraryLcids, ::testing::Each(1033));
    // The second switch must not make "fr" the language restored at exit.
    EXPECT_EQ(app.LanguageBeforeSwitch().str(), L"de");
    app.ExitInstance();
    EXPECT_EQ(StoredLanguage(), L"de");
}

TEST_F(CorvaneAppTest, CommandLineConnectionLastsForOneRunAndKeepsTheStoredOnes)
{
    CStartApp app(WriteGui());
    ASSERT_TRUE(Profile().WriteString(L"Communication", L"LastConnection", L"RS232"));
    StoreAddress(app, L"10.9.9.9");
    app.SetArguments(Args({L"/Connection:TCPIP:192.168.7.7", L"-v!ANVIL", L"/ArticleNumber:0612-0002"}));
    std::wstring addressDuringRun;
    std::wstring typeDuringRun;
    app.m_fnDuringDialog = [&] {
        addressDuringRun = StoredAddress(app);
        typeDuringRun = LastConnection();
    };
    app.InitInstance();
    EXPECT_EQ(addressDuringRun, L"192.168.7.7");
    EXPECT_EQ(typeDuringRun, L"TCPIP");
    EXPECT_TRUE(g_StartupOptions.StartedByEngineeringTool);
    EXPECT_EQ(g_StartupOptions.ArticleNumber.str(), L"0612-0002");
    EXPECT_EQ(g_StartupOptions.ConnectionSettings.str(), L"192.168.7.7");
    app.ExitInstance();
    // The user's stored TCP/IP settings come back, though the last
    // connection was of the other type.
    EXPECT_EQ(StoredAddress(app), L"10.9.9.9");
    EXPECT_EQ(LastConnection(), L"RS232");
}

TEST_F(CorvaneAppTest, FailedSocketsFallBackToSerialWithOneMessage)
{
    CStartApp app(WriteGui());
    app.m_bSocketsStart = false;
    app.SetArguments(Args({L"/Connection:TCPIP:192.168.7.7"}));
    std::wstring typeDuringRun;
    app.m_fnDuringDialog = [&] { typeDuringRun = LastConnection(); };
    app.InitInstance();
    EXPECT_EQ(typeDuringRun, L"RS232");
    ASSERT_GE(app.m_arrMessages.size(), 1u);
    EXPECT_EQ(app.m_arrMessages[0], L"Failed to init windows sockets!--> Set connection to RS232.");
    EXPECT_EQ(g_StartupOptions.ConnectionSettings.str(), L"COM1");
    app.ExitInstance();
}

TEST_F(CorvaneAppTest, RefusedCommandLineValuesAreShownAndLeaveTheRegistry)
{
    CStartApp app(WriteGui());
    StoreAddress(app, L"10.9.9.9");
    ASSERT_TRUE(Profile().WriteString(L"Communication", L"LastConnection", L"TCPIP"));
    app.SetArguments(Args({L"/Connection:TCPIP:10.0.0.1,6626"}));
    app.InitInstance();
    ASSERT_EQ(app.m_arrMessages.size(), 1u);
    EXPECT_EQ(app.m_arrMessages[0], L"Invalid parameters for communication settings!");
    EXPECT_TRUE(g_StartupOptions.ConnectionSettings.IsEmpty());
    EXPECT_EQ(StoredAddress(app), L"10.9.9.9");
    app.ExitInstance();
    EXPECT_EQ(LastConnection(), L"TCPIP");
}

TEST_F(CorvaneAppTest, TemplateIdsFollowTheDpiHookAndTheUsersLanguage)
{
    using T = CCorvaneApp::tTemplateIds;
    EXPECT_EQ(CCorvaneApp::TemplateIdsFor(0, true), (T{102, 279, 160}));
    EXPECT_EQ(CCorvaneApp::TemplateIdsFor(1, true), (T{291, 295, 160}));
    EXPECT_EQ(CCorvaneApp::TemplateIdsFor(2, true), (T{102, 292, 298}));
    EXPECT_EQ(CCorvaneApp::TemplateIdsFor(3, true), (T{102, 295, 160}));
    for (int hook = 0; hook < 4; ++hook)
        EXPECT_EQ(CCorvaneApp::TemplateIdsFor(hook, false), (T{297, 296, 160})) << hook;

    CStartApp app(WriteGui());
    EXPECT_EQ(app.TemplateIds(), (T{102, 279, 160}));
    app.m_bSupportedLanguage = false;
    app.OnDpiUpTo144();
    EXPECT_EQ(app.TemplateIds().mainDialog, 297);
    app.m_bSupportedLanguage = true;
    app.OnDpiUpTo144();
    EXPECT_EQ(app.TemplateIds().commonPage, 298);
}

TEST_F(CorvaneAppTest, TranslateAndAddressSourceTexts)
{
    CStartApp app(WriteGui());
    CString language = L"en";
    CString lcid = L"1033";
    ASSERT_TRUE(app.SetupLanguage(language, lcid));
    EXPECT_EQ(app.Translate(L"TXT_IP_ADDR_SOURCE_02").str(), L"BootP");
    EXPECT_EQ(app.Translate(L"NO_SUCH_KEY").str(), L"##NO_SUCH_KEY");
    EXPECT_EQ(app.TranslateToString(L"TXT_NOT_SUPPORTED"), "Not supported");

    EXPECT_EQ(app.GetIPAddressSourceText(1).str(), L"Static");
    EXPECT_EQ(app.GetIPAddressSourceText(0x8213).str(), L"Not supported");
    EXPECT_EQ(app.GetIPAddressSourceText(7).str(), L"Unknown");
    EXPECT_EQ(app.GetIPAddressSourceText(0xFFFF).str(), L"Unknown");
    // Two codes share a text: the later one wins.
    EXPECT_EQ(app.GetIPAddressSourceCode(L"DHCP"), 4);
    EXPECT_EQ(app.GetIPAddressSourceCode(L"Static"), 1);
    EXPECT_EQ(app.GetIPAddressSourceCode(L"Unknown"), 0);
    EXPECT_EQ(app.GetIPAddressSourceCode(L""), 0);
}

// The documents folder is made when the account has none yet, so that the
// file dialogs never start at the file system's root.
TEST_F(CorvaneAppTest, DataFolderIsTheProfilesWhenItExistsElseTheDocumentsMadeIfNeeded)
{
    CStartApp app(WriteGui());
    app.InitRegistryKey(CCorvaneApp::kCompany);
    const std::wstring home = m_Folder.Path("fresh-home");
    const ShellTest::CScopedVariable homeVariable(L"HOME", home);
    const ShellTest::CScopedVariable configVariable(L"XDG_CONFIG_HOME", home + L"/.config");
    ASSERT_TRUE(Profile().WriteString(L"Folder", L"MyDocuments", L"/no/such/folder/anywhere"));
    EXPECT_EQ(app.GetDataFolder().str(), home + L"/Documents");
    EXPECT_TRUE(std::filesystem::is_directory(std::filesystem::path(home + L"/Documents")));
    const std::wstring folder = m_Folder.Path("");
    ASSERT_TRUE(Profile().WriteString(L"Folder", L"MyDocuments", folder.c_str()));
    EXPECT_EQ(app.GetDataFolder().str(), folder);
}

TEST_F(CorvaneAppTest, CapabilityLookUpsGoThroughTheLocatedFile)
{
    const std::wstring ini = m_Folder.Write("corvane.ini", "[0612-0002/0000-0001]\nFBC=1\nAUTOIP=2\n"
                                                           "[0612-0002]\nFBC=1\nDIP=1\nSPSCTRL=1\nNOIP=2\n"
                                                           "[0612-0006/0025-0000]\nSDCARD=1\n"
                                                           "[0612-0006]\nBOOTDELAY=40\n");
    CStartApp app(WriteGui());
    app.DeviceIni().SetIniPath(ini.c_str());
    EXPECT_EQ(app.GetIniPath().str(), ini);
    EXPECT_EQ(app.ResolveDeviceIniSection(L"612-002/0-1").str(), L"0612-0002/0000-0001");
    // A variant section without "FBC" leaves every key to the family's.
    EXPECT_EQ(app.ResolveDeviceIniSection(L"612-006/025-000").str(), L"0612-0006");
    EXPECT_EQ(app.GetDeviceIniInt(L"612-006/025-000", L"BOOTDELAY", -1), 40);
    EXPECT_TRUE(app.HasAutoIP(L"612-002/000-001"));
    EXPECT_FALSE(app.HasDIPSwitch(L"612-002/000-001"));
    EXPECT_TRUE(app.HasDIPSwitch(L"612-002"));
    EXPECT_TRUE(app.IsPlcController(L"612-002"));
    EXPECT_FALSE(app.IsPlcController(L""));
    EXPECT_TRUE(app.DeviceHasIP(L"612-002"));
    EXPECT_TRUE(app.HasSDCardSlotByIni(L"612-006/025-000"));
    EXPECT_FALSE(app.HasSDCard(L"612-006/025-000"));
}

TEST_F(CorvaneAppTest, MessageFlagsAreResetAndOthersKept)
{
    CStartApp app(WriteGui());
    app.InitRegistryKey(CCorvaneApp::kCompany);
    ASSERT_TRUE(Profile().WriteInt(L"Messages", L"SoftwareReset", 0x4000006));
    ASSERT_TRUE(Profile().WriteInt(L"Messages", L"ResetFileSystem", 7));
    ASSERT_TRUE(Profile().WriteInt(L"Messages", L"Other", 9));
    app.ResetMessageFlags();
    EXPECT_EQ(Profile().GetInt(L"Messages", L"SoftwareReset", -1), 0u);
    EXPECT_EQ(Profile().GetInt(L"Messages", L"ResetFileSystem", -1), 0u);
    EXPECT_EQ(Profile().GetInt(L"Messages", L"SoftwareResetAfterResetFileSystem", -1), 0u);
    EXPECT_EQ(Profile().GetInt(L"Messages", L"Other", -1), 9u);
}

TEST_F(CorvaneAppTest, ChildWindowsGetTheMessageFontAndGrandchildrenDoNot)
{
    CStartApp app(WriteGui());
    app.InitDpiMetrics();
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, L"STATIC", L"parent", WS_POPUP, CRect(0, 0, 100, 100), nullptr, 0));
    CWnd child;
    ASSERT_TRUE(child.Create(L"STATIC", L"child", WS_CHILD, CRect(0, 0, 10, 10), &parent, 1));
    CWnd grandchild;
    ASSERT_TRUE(grandchild.Create(L"STATIC", L"grandchild", WS_CHILD, CRect(0, 0, 5, 5), &child, 2));
    app.SetFontOfChildWindows(&parent);
    const HGDIOBJ font = app.m_messageFont.GetSafeHandle();
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(child.SendMessage(WM_GETFONT)), font);
    EXPECT_NE(reinterpret_cast<HGDIOBJ>(grandchild.SendMessage(WM_GETFONT)), font);
    app.SetFontOfChildWindows(nullptr);
    parent.DestroyWindow();
}

TEST_F(CorvaneAppTest, ImageListOfAMissingBitmapIsRefused)
{
    CStartApp app(WriteGui());
    CImageList images;
    EXPECT_FALSE(app.LoadImageList(images, 0x7FF0, 4, RGB(255, 0, 255)));
}

}

namespace {

// A damaged store set aside, or a read-only one, is told once at start,
// naming the file; the next start says nothing more.
TEST_F(CorvaneAppTest, WhatHappenedToTheStoredSettingsIsToldOnceAtStart)
{
    namespace fs = std::filesystem;
    const fs::path store = Registry::CRegistryStore::Of(Registry::Hive::CurrentUser).FilePath();
    struct Case {
        const char* what;
        std::function<void()> damage;
        std::function<void()> repair;
        const wchar_t* says;
    };
    const Case cases[] = {
        {"garbage", [&] { std::ofstream(store, std::ios::trunc) << "not a store"; }, [] {}, L".corrupt-"},
        {"read-only", [&] { fs::permissions(store, fs::perms::owner_read); },
         [&] { fs::permissions(store, fs::perms::owner_read | fs::perms::owner_write); }, L"read-only"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(Profile().WriteString(L"Common", L"Language", L"en"));
        Registry::CRegistryStore::TakeNotices();
        c.damage();
        for (int run = 0; run < 2; ++run) {
            CStartApp app(WriteGui());
            app.SetArguments({});
            app.InitInstance();
            app.ExitInstance();
            if (run == 1) {
                EXPECT_TRUE(app.m_arrMessages.empty());
                continue;
            }
            ASSERT_EQ(app.m_arrMessages.size(), 1u);
            EXPECT_NE(app.m_arrMessages[0].find(c.says), std::wstring::npos) << app.m_arrMessages[0];
            EXPECT_NE(app.m_arrMessages[0].find(store.filename().wstring()), std::wstring::npos) << app.m_arrMessages[0];
        }
        c.repair();
        for (const auto& entry : fs::directory_iterator(store.parent_path()))
            if (entry.path().filename().string().find(".corrupt-") != std::string::npos)
                fs::remove(entry.path());
    }
}

}

}  // namespace Corvane
