// The page base's services that need no sheet switch: block access, the
// messages to the main window, the page's own connection, number syntax,
// address lists and the look.
#include "Products/Corvane/Pages/Views/Tests/Rigs/PageBaseRig.h"

#include "Common/Communication/ConnectionException.h"
#include "Platform/Base/Clock.h"
#include "Common/Communication/Tests/InertSettingsConnection.h"
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Products/Corvane/Core/DeviceCapabilityFile.h"
#include "Products/Corvane/Core/FBCData.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace Corvane {

using namespace PageBaseTest;

namespace {

// A connection whose settings are one text, which opens and closes in
// memory and can be made to throw on either.
class CScriptedConnection : public ZELL::Testing::CInertSettingsConnection {
public:
    bool m_bOpen = false;
    bool m_bThrowOnOpen = false;
    bool m_bThrowOnClose = false;
    std::wstring m_strSettings = L"<?xml version='1.0'?><TCPIP timeout='9000'/>";

    void Open() override
    {
        if (m_bThrowOnOpen)
            throw ZELL::CConnectionException(L"refused", 0x30002751);
        m_bOpen = true;
    }
    void Close() override
    {
        m_bOpen = false;
        if (m_bThrowOnClose)
            throw ZELL::CConnectionException(L"reset", 0x30002746);
    }
    bool IsOpen() const override { return m_bOpen; }
    void Write(unsigned char*, unsigned int, unsigned int*) override {}
    void Read(unsigned char*, unsigned int, unsigned int*) override {}
    void Execute(unsigned char*, unsigned int, unsigned char**, unsigned int&) override {}
    void ClearBuffer() override {}
    std::wstring GetType() const override { return L"TCPIP"; }
    unsigned int GetCommunicationTimeout() override { return 9; }
    void SetCommunicationTimeout(unsigned int) override {}
    unsigned int GetRestartTimeout() override { return 0; }
    void SetRestartTimeout(unsigned int) override {}
    std::wstring GetSettingsXML() const override { return m_strSettings; }
    bool SetSettingsXML(std::wstring xml) override
    {
        m_strSettings = std::move(xml);
        return true;
    }
};

const std::wstring kShortTimeout = L"<?xml version='1.0'?> <TCPIP timeout='500'/>";

class PageServices : public ::testing::Test {
protected:
    void TearDown() override { CCouplerSettingsPageBase::SetPagesSuspended(true); }

    CPageRig m_Rig;
    CTestPage& Page() { return *m_Rig.m_pPage; }
    UINT States() const { return m_Rig.m_Main.Ids().ShowConnectionState; }
};

}

TEST_F(PageServices, BlockWordsAreReadAndWrittenOnlyBelowTheAttachedLength)
{
    std::vector<WORD> words{10, 0x1234, 0xBEEF};
    Page().AttachDeviceData(words.data(), 1, 1, 1);
    EXPECT_EQ(Page().m_nDecimal, 10);
    EXPECT_EQ(Page().m_nHex, -1) << "word 1 lies beyond the block";
    EXPECT_TRUE(Page().IsWideFormat());
    EXPECT_TRUE(Page().IsController());
    Page().m_nDecimal = 11;
    Page().m_nHex = 0x77;
    Page().SetInSheet(true);
    EXPECT_TRUE(Page().StoreIfDataPresent());
    EXPECT_EQ(words, (std::vector<WORD>{11, 0x1234, 0xBEEF}));

    Page().AttachDeviceData(nullptr, 50, 0, 0);
    EXPECT_FALSE(Page().HasDeviceBlock()) << "a missing block has no length";
    EXPECT_EQ(Page().DeviceBlock().GetLength(), 0u);
    const int stores = Page().m_nStores;
    EXPECT_TRUE(Page().StoreIfDataPresent());
    EXPECT_EQ(Page().m_nStores, stores);

    std::vector<WORD> extra{5};
    Page().AttachExtraData(extra.data(), 1, 0, 0);
    EXPECT_FALSE(Page().ExtraBlock().Write(1, 9));
    EXPECT_TRUE(Page().ExtraBlock().Write(0, 9));
    EXPECT_EQ(extra[0], 9);
}

TEST_F(PageServices, QuestionsAndRequestsGoToTheMainWindowWithTheirAnswers)
{
    CMainWindow& main = m_Rig.m_Main;
    const CWorkerMessages& ids = main.Ids();
    EXPECT_FALSE(Page().IsOfflineConfig());
    main.Answer(ids.IsOfflineConfig, 2);
    EXPECT_TRUE(Page().IsOfflineConfig());
    main.Answer(ids.IsModified, 1);
    EXPECT_EQ(Page().IsModified(), TRUE);
    main.Answer(ids.IsPageInList, 1);
    EXPECT_TRUE(Page().IsPageInList(L"ETHERNETIP"));
    EXPECT_EQ(main.m_arrAskedKeys, std::vector<std::wstring>{L"ETHERNETIP"});

    EXPECT_FALSE(Page().RequestReadSettings());
    main.Answer(ids.ReadSettings, 1);
    main.Answer(ids.WriteSettings, 1);
    EXPECT_TRUE(Page().RequestReadSettings());
    EXPECT_TRUE(Page().RequestWriteSettings());
    EXPECT_FALSE(Page().RequestSoftwareReset());
    EXPECT_EQ(main.Count(ids.ReadSettings), 2);
    EXPECT_EQ(main.Count(ids.SoftwareReset), 1);

    m_Rig.m_App.m_pMainWnd = nullptr;
    EXPECT_FALSE(Page().RequestWriteSettings()) << "without a main window nothing is asked";
}

TEST_F(PageServices, OpeningSwitchesToTheShortTimeOutAndClosingRestoresTheUsersSettings)
{
    CScriptedConnection connection;
    const std::wstring users = connection.m_strSettings;
    Page().SetConnection(&connection, nullptr);
    EXPECT_FALSE(Page().IsTCPIPConnection()) << "only the TCP/IP connection class counts";

    Page().PrepareConnection(true);
    EXPECT_TRUE(Page().IsConnectionPrepared());
    EXPECT_TRUE(connection.m_bOpen);
    EXPECT_EQ(connection.m_strSettings, kShortTimeout);
    EXPECT_EQ(m_Rig.m_Main.WParams(States()), (std::vector<WPARAM>{270, 269}));
    EXPECT_EQ(Page().m_arrPauses, (std::vector<DWORD>{300, 500}));

    Page().PrepareConnection(false);
    EXPECT_FALSE(Page().IsConnectionPrepared());
    EXPECT_FALSE(connection.m_bOpen);
    EXPECT_EQ(connection.m_strSettings, users);
    EXPECT_EQ(m_Rig.m_Main.WParams(States()).back(), 272u);
}

TEST_F(PageServices, AnOpenConnectionIsLeftAloneButStillPaused)
{
    CScriptedConnection connection;
    connection.m_bOpen = true;
    Page().SetConnection(&connection, nullptr);
    Page().PrepareConnection(true);
    EXPECT_TRUE(Page().IsConnectionPrepared());
    EXPECT_EQ(m_Rig.m_Main.Count(States()), 0);
    EXPECT_NE(connection.m_strSettings, kShortTimeout);
    EXPECT_EQ(Page().m_arrPauses, std::vector<DWORD>{500});
}

TEST_F(PageServices, APausePaintsWhatChangedButLeavesInputQueued)
{
    m_Rig.Show();
    const HWND page = Page().GetSafeHwnd();
    ::InvalidateRect(page, nullptr, TRUE);
    ::PostMessageW(page, WM_KEYDOWN, VK_F5, 0);
    const ULONGLONG start = ::GetTickCount64();
    Page().RealPause(40);
    EXPECT_GE(::GetTickCount64() - start, 40u);
    RECT dirty;
    EXPECT_FALSE(::GetUpdateRect(page, &dirty, FALSE)) << "painted during the pause";
    MSG key;
    EXPECT_TRUE(::PeekMessageW(&key, page, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE)) << "input waits for the pause's end";
}

TEST_F(PageServices, AFailedOpenReportsAndAThrowingCloseStillRestoresTheSettings)
{
    CScriptedConnection connection;
    const std::wstring users = connection.m_strSettings;
    connection.m_bThrowOnOpen = true;
    connection.m_bThrowOnClose = true;
    Page().SetConnection(&connection, nullptr);
    Page().PrepareConnection(true);
    EXPECT_FALSE(Page().IsConnectionPrepared());
    EXPECT_EQ(m_Rig.m_Main.WParams(States()), (std::vector<WPARAM>{270, 271}));

    EXPECT_NO_THROW(Page().PrepareConnection(false));
    EXPECT_EQ(connection.m_strSettings, users);
    EXPECT_EQ(m_Rig.m_Main.WParams(States()).back(), 272u);

    CCouplerSettingsPageBase bare;
    EXPECT_FALSE(bare.EnsureConnectionOpen()) << "no connection, nothing to open";
    EXPECT_NO_THROW(bare.FinishConnection());
}

TEST_F(PageServices, NumberTextsFollowTheirSyntax)
{
    struct tCase {
        const wchar_t* text;
        int type;
        bool valid;
    };
    const tCase cases[] = {
        {L"", 4, false},          {L"123", 4, true},         {L"-1", 4, false},      {L"-1", 3, true},
        {L"+12", 3, true},        {L"1-2", 3, false},        {L"12a", 3, false},     {L"FFFF", 1, true},
        {L"1FFFF", 1, false},     {L"0xFFFF", 1, true},      {L"0x1FFFF", 1, false}, {L"0xab", 1, true},
        {L"x12", 1, false},       {L"0x", 1, true},          {L"12x3", 1, false},    {L"FFFFFFFF", 2, true},
        {L"0xFFFFFFFF", 2, true}, {L"0x1FFFFFFFF", 2, false}, {L"1FFFFFFFF", 2, false}, {L"g", 2, false},
    };
    for (const tCase& c : cases)
        EXPECT_EQ(CCouplerSettingsPageBase::IsValidNumberText(c.text, c.type), c.valid)
            << "'" << std::string(c.text, c.text + wcslen(c.text)) << "' as type " << c.type;
}

TEST_F(PageServices, InvalidAddressesComeFromTheCapabilityFileAndNameThemselvesInTheMessage)
{
    GetLanguageSupport().SetText(L"MSG_INVALID_IP_ADDRESS", L"The address is not valid.");
    GetLanguageSupport().SetText(L"TXT_INVALID_ADDRESSES", L"Not allowed:");
    GetLanguageSupport().SetText(L"MSG_INVALID_SUBNET_MASK", L"The mask is not valid.");
    const std::filesystem::path ini =
        std::filesystem::temp_directory_path() / ("page-base-" + std::to_string(::getpid()) + ".ini");
    {
        std::ofstream out(ini);
        out << "[InvalidIPAddresses]\nInvalidIP_00=0.0.0.0\nInvalidIP_01=255.255.255.255\nInvalidIP_03=1.2.3.4\n";
    }
    CCouplerSettingsPageBase::LoadInvalidIPAddresses(CDeviceCapabilityFile(ini.c_str()));
    EXPECT_EQ(CCouplerSettingsPageBase::GetInvalidIPAddresses(),
              (std::vector<std::wstring>{L"0.0.0.0", L"255.255.255.255"}))
        << "the list ends at the first missing key";
    EXPECT_FALSE(CCouplerSettingsPageBase::IsAddressAllowed(L"0.0.0.0"));
    EXPECT_TRUE(CCouplerSettingsPageBase::IsAddressAllowed(L"1.2.3.4"));
    EXPECT_EQ(Page().BuildInvalidAddressMessage(0),
              L"The address is not valid.\n\nNot allowed:\n- 0.0.0.0\n- 255.255.255.255");
    EXPECT_EQ(Page().BuildInvalidAddressMessage(1), L"The mask is not valid.");
    EXPECT_EQ(Page().BuildInvalidAddressMessage(2), L"The address is not valid.");

    std::filesystem::remove(ini);
    CCouplerSettingsPageBase::LoadInvalidIPAddresses(CDeviceCapabilityFile(ini.c_str()));
    EXPECT_TRUE(CCouplerSettingsPageBase::GetInvalidIPAddresses().empty());
    EXPECT_EQ(Page().BuildInvalidAddressMessage(0), L"The address is not valid.\n\nNot allowed:");
}

TEST_F(PageServices, AnAddressReportsItsLastOctetOutOfRangeWithItsFieldInTheTitle)
{
    GetLanguageSupport().SetText(L"ERROR_OUT_OF_RANGE_DEZ", L"From %d to %d.");
    m_Rig.Show();
    const BYTE address[4] = {4, 250, 2, 240};  // 240.2.250.4
    const int ranges[8] = {1, 223, 0, 255, 0, 200, 1, 254};
    EXPECT_FALSE(Page().CheckIPAddressRange(kAddressField, kAddressNameId, address, ranges));
    ASSERT_EQ(Page().m_arrBalloons.size(), 1u);
    EXPECT_EQ(Page().m_arrBalloons[0].title, L"Invalid IP address (Field 2)");
    EXPECT_EQ(Page().m_arrBalloons[0].text, L"From 0 to 200.");

    const BYTE good[4] = {4, 3, 2, 1};
    EXPECT_TRUE(Page().CheckIPAddressRange(kAddressField, kAddressNameId, good, ranges));
    EXPECT_EQ(Page().m_arrBalloons.size(), 1u);
}

TEST_F(PageServices, AMismatchedTranslationIsRenderedHarmlessly)
{
    GetLanguageSupport().SetText(L"ERROR_OUT_OF_RANGE_DEZ", L"From %s to %s%n.");
    GetLanguageSupport().SetText(L"TXT_FIRST", L"%s%s%s");
    m_Rig.Show();
    Page().ShowRangeBalloon(kDecimalField, L"TXT_FIRST", 1, 100, 4);
    ASSERT_EQ(Page().m_arrBalloons.size(), 1u);
    EXPECT_EQ(Page().m_arrBalloons[0].title, L"%s%s%s") << "a title is shown as it stands";
    EXPECT_NE(Page().m_arrBalloons[0].text.Find(L"From"), -1);
}

TEST_F(PageServices, SeveralPortsNeedTheDataSetWithMoreThanOnePort)
{
    EXPECT_FALSE(Page().HasSeveralPorts());
    CFBCData data;
    Page().SetDeviceData(&data);
    ASSERT_TRUE(data.SetEthernetPortCount(1));
    EXPECT_FALSE(Page().HasSeveralPorts());
    ASSERT_TRUE(data.SetEthernetPortCount(2));
    EXPECT_TRUE(Page().HasSeveralPorts());
}

TEST_F(PageServices, TheTabCaptionChangesOnlyForANonEmptyTitle)
{
    Page().SetPageTitle(L"");
    EXPECT_EQ(Page().m_psp.dwFlags & PSP_USETITLE, 0u);
    Page().SetPageTitle(L"Clock");
    EXPECT_NE(Page().m_psp.dwFlags & PSP_USETITLE, 0u);
    EXPECT_STREQ(Page().m_psp.pszTitle, L"Clock");
    Page().SetPageTitle(L"");
    EXPECT_STREQ(Page().m_psp.pszTitle, L"Clock");
    Page().SetTitle(L"Uhr");
    EXPECT_EQ(Page().GetTitle(), L"Uhr");
    EXPECT_EQ(Page().GetPageKey(), L"TEST");
}

TEST_F(PageServices, ThePageFontIsTheDefaultFontOnceGiven)
{
    LOGFONTW given{};
    given.lfHeight = -19;
    wcscpy(given.lfFaceName, L"DejaVu Serif");
    CCouplerSettingsPageBase::SetDefaultFont(given);
    m_Rig.Show();
    CCouplerSettingsPageBase::ClearDefaultFont();
    EXPECT_EQ(Page().GetPageLogFont().lfHeight, -19);
    EXPECT_STREQ(Page().GetPageLogFont().lfFaceName, L"DejaVu Serif");
    EXPECT_NE(Page().GetPageFont().GetSafeHandle(), nullptr);
}

TEST_F(PageServices, WithoutADefaultFontThePageTakesTheMainWindowsFont)
{
    LOGFONTW mainFont{};
    mainFont.lfHeight = -23;
    wcscpy(mainFont.lfFaceName, L"DejaVu Sans Mono");
    CFont font;
    ASSERT_TRUE(font.CreateFontIndirect(&mainFont));
    m_Rig.m_Main.Answer(WM_GETFONT, reinterpret_cast<LRESULT>(font.GetSafeHandle()));
    m_Rig.Show();
    EXPECT_EQ(Page().GetPageLogFont().lfHeight, -23);
    EXPECT_STREQ(Page().GetPageLogFont().lfFaceName, L"DejaVu Sans Mono");
}

TEST_F(PageServices, TheBusyCursorIsTheHandUntilItIsCleared)
{
    m_Rig.Show();
    Page().SetPageCursor(true);
    EXPECT_EQ(Page().GetPageCursor(), ::LoadCursorW(nullptr, IDC_HAND));
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_HAND));
    Page().SetPageCursor(false);
    EXPECT_EQ(Page().GetPageCursor(), nullptr);
    Page().BeginWaitState(1, L"");
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_WAIT));
}

}  // namespace Corvane
