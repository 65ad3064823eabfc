// The scan dialog driven as a user would, against simulated devices at
// several loopback addresses: checks of the typed range, the listed devices,
// sorting, choosing one, and ending while workers still run.
#include "Common/Communication/ArticleNumber.h"
#include "Common/PelorusDLL/Dialogs/DialogIds.h"
#include "Common/PelorusDLL/Dialogs/HostProfile.h"
#include "Common/PelorusDLL/Dialogs/ScanNetworkDlg.h"
#include "Common/PelorusDLL/Ping.h"
#include "Common/PelorusDLL/Dialogs/Tests/DialogGolden.h"
#include "Common/PelorusDLL/Dialogs/Tests/ScanTestSupport.h"

#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Platform/Controls/HeaderStyles.h"
#include "Platform/Controls/ListViewStyles.h"
#include "Platform/Controls/ToolTipStyles.h"
#include "Platform/Gdi/BitmapApi.h"
#include "Platform/Gdi/Draw.h"
#include "Platform/Gdi/ImageListApi.h"
#include "Platform/Shell/Tests/ModalScript.h"
#include "Platform/Ui/Tests/UiTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <tuple>
#include <vector>

using namespace PelorusIds;

using PelorusTest::ClickRow;
using PelorusTest::Column;

namespace {

void ClickHeader(HWND list, int column)
{
    HWND header = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0));
    RECT rect{};
    ::SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&rect));
    // The last column may reach beyond the list: the user clicks what shows of it.
    RECT shown{};
    ::GetClientRect(list, &shown);
    ::MapWindowPoints(list, header, reinterpret_cast<POINT*>(&shown), 2);
    rect.right = std::min(rect.right, shown.right);
    POINT at{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ::ClientToScreen(header, &at);
    UiTest::CDialogDriver::ClickAt(at);
}

int RowImage(HWND list, int row)
{
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    ::SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return item.iImage;
}

// Whether the image leaves its mark on a white cell: an icon that failed to
// load leaves it white.
bool ImageIsDrawn(HIMAGELIST images, int index)
{
    HDC dc = ::CreateCompatibleDC(nullptr);
    HBITMAP cell = ::CreateBitmap(16, 16, 1, 32, nullptr);
    const HGDIOBJ old = ::SelectObject(dc, cell);
    RECT all{0, 0, 16, 16};
    ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ImageList_Draw(images, index, dc, 0, 0, ILD_TRANSPARENT);
    const bool drawn = ::GetPixel(dc, 3, 8) != RGB(255, 255, 255);
    ::SelectObject(dc, old);
    ::DeleteObject(cell);
    ::DeleteDC(dc);
    return drawn;
}

class ScanNetworkDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        GetLanguageSupport().SetText(L"SND_MSG_OUT_OF_RANGE_INT", L"Allowed: %d to %d");
        GetLanguageSupport().SetText(L"SND_MSG_WRONG_ADDRESS_RANGE", L"The end lies before the start");
        GetLanguageSupport().SetText(L"SND_MSG_CANCEL_SCANNING", L"Stop the search?");
        GetLanguageSupport().SetText(L"SND_STATE_NO_ZELL_DEVICE", L"Foreign device");
        GetLanguageSupport().SetText(L"SND_MSG_NO_DEVICE_FOUND", L"Nothing from %s to %s");
        m_probe->m_answering = {{L"127.0.0.2", L"02:5A:E1:00:00:12"},
                              {L"127.0.0.3", L"02:5A:E1:00:00:13"},
                              {L"127.0.0.5", L"02:11:22:00:00:15"}};
    }
    void TearDown() override
    {
        if (m_dialog) {
            UiTest::CDialogDriver idle(nullptr);
            EXPECT_TRUE(idle.PumpUntil([this] { return m_dialog->Scan()->WaitForWorkers(0); }, 30000));
        }
    }
    // A dialog over the range, on the simulated devices' port.
    CScanNetworkDlg& Dialog(const wchar_t* first, const wchar_t* last, unsigned short port)
    {
        const CHostProfile profile;
        profile.WriteString(L"Settings", L"AddrSearchFirst", first);
        profile.WriteString(L"Settings", L"AddrSearchLast", last);
        m_dialog = std::make_unique<CScanNetworkDlg>();
        m_dialog->m_probe = m_probe;
        m_dialog->m_servicePort = port;
        m_dialog->m_retryWaitSeconds = 0;
        return *m_dialog;
    }
    // A click is only injected: the search starts once it is handled, and
    // before that the dialog is not scanning yet either.
    bool AwaitScanEnd(UiTest::CDialogDriver& driver) const
    {
        driver.PumpUntilIdle();
        return driver.PumpUntil([this] { return !m_dialog->IsScanning(); }, 20000);
    }

    std::shared_ptr<PelorusTest::CFakeProbe> m_probe = std::make_shared<PelorusTest::CFakeProbe>();
    std::unique_ptr<CScanNetworkDlg> m_dialog;
};

}

TEST_F(ScanNetworkDialog, FindsOurDevicesSortsByEachColumnAndHandsOverTheChosenOne)
{
    PelorusTest::CSimulatedDevices devices({2, 3, 5});
    CScanNetworkDlg& dialog = Dialog(L"127.0.0.2", L"127.0.0.5", devices.Port());
    ShellTest::ModalScript script;
    std::vector<std::wstring> addresses, articles, macs, byAddressDown, byMac;
    bool okWhileIdle = true;
    script.Then([&](UiTest::CDialogDriver& driver) {
        okWhileIdle = driver.IsEnabled(IDOK);
        driver.Click(kSearch);
        ASSERT_TRUE(AwaitScanEnd(driver));
        HWND list = driver.Control(kDeviceList);
        addresses = Column(list, 0);
        articles = Column(list, 1);
        macs = Column(list, 2);
        ClickHeader(list, 0);
        driver.PumpUntilIdle();
        ClickHeader(list, 0);
        driver.PumpUntilIdle();
        byAddressDown = Column(list, 0);
        ClickHeader(list, 2);
        driver.PumpUntilIdle();
        byMac = Column(list, 2);
        ClickRow(list, 1);
        driver.PumpUntilIdle();
        driver.Click(IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_FALSE(okWhileIdle);
    // The foreign device and the silent address are not listed; by article number.
    EXPECT_EQ(addresses, (std::vector<std::wstring>{L"127.0.0.2", L"127.0.0.3"}));
    EXPECT_EQ(articles, (std::vector<std::wstring>{CArticleNumber(L"0612-0012").GetText(false),
                                                   CArticleNumber(L"0612-0013").GetText(false)}));
    EXPECT_EQ(macs, (std::vector<std::wstring>{L"02:5A:E1:00:00:12", L"02:5A:E1:00:00:13"}));
    EXPECT_EQ(byAddressDown, (std::vector<std::wstring>{L"127.0.0.3", L"127.0.0.2"}));
    EXPECT_EQ(byMac, (std::vector<std::wstring>{L"02:5A:E1:00:00:12", L"02:5A:E1:00:00:13"}));
    EXPECT_EQ(dialog.m_selectedAddress, L"127.0.0.3");
}

TEST_F(ScanNetworkDialog, ItsResultsLookAsTheyShould)
{
    PelorusTest::UseTexts({{L"SND_TITLE", L"Search devices"}, {L"SND_GRP_ADDRESS_RANGE", L"Address range"},
                           {L"SND_LBL_FROM", L"From"}, {L"SND_LBL_TO", L"To"}, {L"SND_BTN_SEARCH", L"Search"},
                           {L"SND_LBL_CHECK_SHOW_ALL", L"Show all devices"}, {L"SND_GRP_DEVICE_LIST", L"Devices"},
                           {L"SND_HDR_IP_ADDRESS", L"IP address"}, {L"SND_HDR_ARTICLE_NO", L"Article"},
                           {L"SND_HDR_MAC_ADDRESS", L"MAC address"}, {L"SND_BTN_APPLY", L"Apply"},
                           {L"SND_BTN_CANCEL", L"Cancel"}, {L"CSD_LBL_RESOLVE_HOSTNAMES", L"Resolve network names"}});
    PelorusTest::CSimulatedDevices devices({2, 3, 5});
    CScanNetworkDlg& dialog = Dialog(L"127.0.0.2", L"127.0.0.5", devices.Port());
    ShellTest::ModalScript script;
    std::size_t listed = 0;
    script.Then([&](UiTest::CDialogDriver& driver) {
        driver.Click(kSearch);
        ASSERT_TRUE(AwaitScanEnd(driver));
        listed = Column(driver.Control(kDeviceList), 0).size();
        PelorusTest::ExpectLooksAsGolden(driver.Dialog(), "ScanDialogResults");
        driver.Click(IDCANCEL);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(listed, 2u);
}

// A device that gives no hardware address says so in the address column,
// not in the article number's.
TEST_F(ScanNetworkDialog, ShowAllListsTheForeignDeviceWithItsState)
{
    PelorusTest::CSimulatedDevices devices({5});
    GetLanguageSupport().SetText(L"SND_STATE_NO_MAC_ID", L"No MAC");
    m_probe->m_answering[L"127.0.0.6"] = L"";
    CScanNetworkDlg& dialog = Dialog(L"127.0.0.5", L"127.0.0.6", devices.Port());
    ShellTest::ModalScript script;
    std::vector<std::wstring> states, macs;
    script.Then([&](UiTest::CDialogDriver& driver) {
        driver.Click(kShowAll);
        driver.Click(kSearch);
        ASSERT_TRUE(AwaitScanEnd(driver));
        states = Column(driver.Control(kDeviceList), 1);
        macs = Column(driver.Control(kDeviceList), 2);
        ClickRow(driver.Control(kDeviceList), 0);
        driver.PumpUntilIdle();
        EXPECT_FALSE(driver.IsEnabled(IDOK)); // not one of ours: not to be chosen
        driver.Click(IDCANCEL);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(states, (std::vector<std::wstring>{L"Foreign device", L""}));
    EXPECT_EQ(macs, (std::vector<std::wstring>{L"02:11:22:00:00:15", L"No MAC"}));
}

TEST_F(ScanNetworkDialog, AStateTooWideForItsColumnUnfoldsInTheRowsInfoTip)
{
    const std::wstring state = L"Foreign device of another maker, which cannot be chosen here";
    GetLanguageSupport().SetText(L"SND_STATE_NO_ZELL_DEVICE", state.c_str());
    PelorusTest::CSimulatedDevices devices({5});
    CScanNetworkDlg& dialog = Dialog(L"127.0.0.5", L"127.0.0.5", devices.Port());
    ShellTest::ModalScript script;
    std::wstring shown;
    script.Then([&](UiTest::CDialogDriver& driver) {
        driver.Click(kShowAll);
        driver.Click(kSearch);
        ASSERT_TRUE(AwaitScanEnd(driver));
        const HWND list = driver.Control(kDeviceList);
        RECT cell{};
        cell.top = 1;
        cell.left = LVIR_LABEL;
        ::SendMessageW(list, LVM_GETSUBITEMRECT, 0, reinterpret_cast<LPARAM>(&cell));
        POINT at{cell.left + 10, (cell.top + cell.bottom) / 2};
        ::ClientToScreen(list, &at);
        UiTest::Headless().InjectMouseMove(at);
        HWND tip = nullptr;
        driver.PumpUntil([&] {
            tip = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETTOOLTIPS, 0, 0));
            return tip != nullptr && ::IsWindowVisible(tip);
        }, 5000);
        if (tip != nullptr) {
            wchar_t text[128] = {};
            TTTOOLINFOW info;
            info.hwnd = list;
            info.uId = 1;
            info.lpszText = text;
            ::SendMessageW(tip, TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&info));
            shown = text;
        }
        driver.Click(IDCANCEL);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(shown, state);
}

TEST_F(ScanNetworkDialog, EachRowShowsTheIconOfItsState)
{
    // Ours and identified; ours, but its service breaks off; foreign.
    PelorusTest::CSimulatedDevices devices({2, 3, 5});
    devices.Device(1).Faults().Add({DevSim::ENFault::Close, {}, -1});
    // Ours by its hardware address, but nothing listens on the service port.
    m_probe->m_answering[L"127.0.0.6"] = L"02:5A:E1:00:00:16";
    CScanNetworkDlg& dialog = Dialog(L"127.0.0.2", L"127.0.0.6", devices.Port());
    ShellTest::ModalScript script;
    std::map<std::wstring, int> images;
    int icons = 0; // drawn ones
    script.Then([&](UiTest::CDialogDriver& driver) {
        driver.Click(kShowAll);
        driver.Click(kSearch);
        ASSERT_TRUE(AwaitScanEnd(driver));
        const HWND list = driver.Control(kDeviceList);
        const std::vector<std::wstring> addresses = Column(list, 0);
        for (std::size_t row = 0; row < addresses.size(); ++row)
            images[addresses[row]] = RowImage(list, static_cast<int>(row));
        const auto rowIcons = reinterpret_cast<HIMAGELIST>(::SendMessageW(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
        for (int image = 0; image < ImageList_GetImageCount(rowIcons); ++image)
            icons += ImageIsDrawn(rowIcons, image) ? 1 : 0;
        driver.Click(IDCANCEL);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(icons, 4);
    EXPECT_EQ(images, (std::map<std::wstring, int>{
                          {L"127.0.0.2", 0}, {L"127.0.0.3", 2}, {L"127.0.0.5", 3}, {L"127.0.0.6", 1}}));
}

// This machine's own addresses answer the echo for real but have no hardware
// address: a simulated device there is identified over its service port, the
// other addresses are listed with their state among all devices.
TEST_F(ScanNetworkDialog, LoopbackAddressesAreAskedOverTheirServicePort)
{
    if (!CPing().IsICMPAvailable())
        GTEST_SKIP() << "this process may not send ICMP echo requests";
    PelorusTest::CSimulatedDevices devices({41});
    GetLanguageSupport().SetText(L"SND_STATE_NO_MAC_ID", L"No MAC");
    for (const bool showAll : {false, true}) {
        CScanNetworkDlg& dialog = Dialog(L"127.0.0.40", L"127.0.0.41", devices.Port());
        dialog.m_probe = std::make_shared<CScanProbe>();
        ShellTest::ModalScript script;
        std::vector<std::wstring> addresses, seconds, macs;
        script.Then([&](UiTest::CDialogDriver& driver) {
            if (showAll)
                driver.Click(kShowAll);
            driver.Click(kSearch);
            ASSERT_TRUE(AwaitScanEnd(driver));
            const HWND list = driver.Control(kDeviceList);
            std::tie(addresses, seconds, macs) = std::tuple(Column(list, 0), Column(list, 1), Column(list, 2));
            ClickRow(list, static_cast<int>(std::find(addresses.begin(), addresses.end(), L"127.0.0.41") -
                                             addresses.begin()));
            driver.PumpUntilIdle();
            driver.Click(IDOK);
        });
        EXPECT_EQ(dialog.DoModal(), IDOK) << "show all " << showAll;
        EXPECT_EQ(dialog.m_selectedAddress, L"127.0.0.41");
        const std::wstring article = CArticleNumber(L"0612-0051").GetText(false);
        if (showAll) {
            EXPECT_EQ(addresses, (std::vector<std::wstring>{L"127.0.0.41", L"127.0.0.40"}));
            EXPECT_EQ(seconds, (std::vector<std::wstring>{article, L""}));
            EXPECT_EQ(macs, (std::vector<std::wstring>{L"02:5A:E1:00:00:51", L"No MAC"}));
        } else {
            EXPECT_EQ(addresses, std::vector<std::wstring>{L"127.0.0.41"});
            EXPECT_EQ(seconds, std::vector<std::wstring>{article});
        }
        UiTest::CDialogDriver idle(nullptr);
        EXPECT_TRUE(idle.PumpUntil([&] { return dialog.Scan()->WaitForWorkers(0); }, 30000));
    }
}

TEST_F(ScanNetworkDialog, OctetChecksRefuseWithTheirBoundsAndTheEndTakesTheStartsNetworkPart)
{
    CScanNetworkDlg& dialog = Dialog(L"192.168.1.250", L"192.168.1.254", 1);
    ShellTest::ModalScript script;
    std::vector<std::wstring> boxes;
    bool buttonsBack = false;
    std::wstring endThird;
    // The click is only injected: it must be handled before the selection, or
    // it puts the caret into the old text and the digits mix with it (each
    // mixed value a refusal box more than the script answers).
    auto replace = [](UiTest::CDialogDriver& driver, int id, const std::wstring& text) {
        driver.Click(id);
        driver.PumpUntilIdle();
        ::SendMessageW(driver.Control(id), EM_SETSEL, 0, -1);
        driver.Type(text);
        driver.PumpUntilIdle();
    };
    script.Then([&](UiTest::CDialogDriver& driver) {
        ::SetWindowTextW(driver.Control(kEndOctet1 + 2), L"7"); // a stale network part
        replace(driver, kStartOctet1 + 3, L"255");
        replace(driver, kStartOctet1 + 3, L"250");
        replace(driver, kEndOctet4, L"249");
        driver.Click(kSearch);
        driver.PumpUntilIdle();
        buttonsBack = driver.IsEnabled(kSearch) && driver.IsEnabled(IDCANCEL);
        replace(driver, kEndOctet4, L"250");
        driver.Click(kSearch);
        ASSERT_TRUE(AwaitScanEnd(driver));
        endThird = driver.Text(kEndOctet1 + 2);
        driver.Click(IDCANCEL);
    });
    for (int i = 0; i < 4; ++i)
        script.Then([&](UiTest::CDialogDriver& box) {
            boxes.push_back(ShellTest::ModalScript::BoxText(box.Dialog()));
            box.Click(IDOK);
        });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(boxes, (std::vector<std::wstring>{L"Allowed: 1 to 254", L"Allowed: 250 to 254", L"Allowed: 250 to 254",
                                                L"Nothing from 192.168.1.250 to 192.168.1.250"}));
    EXPECT_TRUE(buttonsBack);
    EXPECT_EQ(endThird, L"1");
    EXPECT_EQ(m_probe->m_pings, 1); // one address: 192.168.1.250
    EXPECT_EQ(CHostProfile().GetString(L"Settings", L"AddrSearchLast", L""), L"192.168.1.250");
}

TEST_F(ScanNetworkDialog, ClosingMidScanAsksWithOkOnlyAndEveryRecordIsFreedOnce)
{
    PelorusTest::CSimulatedDevices devices({2, 3});
    for (int i = 0; i < 2; ++i)
        devices.Device(static_cast<std::size_t>(i)).Faults().Add({DevSim::ENFault::Delay, {}, -1, 1500});
    CScanNetworkDlg& dialog = Dialog(L"127.0.0.2", L"127.0.0.4", devices.Port());
    ShellTest::ModalScript script;
    std::wstring question;
    std::wstring buttons;
    script.Then([&](UiTest::CDialogDriver& driver) {
        // The search is started by its command: what is tried here is closing while it runs.
        ::PostMessageW(driver.Dialog(), WM_COMMAND, MAKEWPARAM(kSearch, BN_CLICKED),
                       reinterpret_cast<LPARAM>(driver.Control(kSearch)));
        // Closed in any case: an assertion leaving the step would leave the dialog open for good.
        // Mid-scan: results still to come from workers that wait on the slow devices.
        EXPECT_TRUE(driver.PumpUntil(
            [&] { return dialog.IsScanning() && dialog.Scan()->Outstanding() > 0 && !dialog.Scan()->WaitForWorkers(0); },
            15000));
        EXPECT_FALSE(driver.IsEnabled(IDCANCEL));
        ::PostMessageW(driver.Dialog(), WM_CLOSE, 0, 0);
        driver.PumpUntilIdle();
    });
    script.Then([&](UiTest::CDialogDriver& box) {
        question = ShellTest::ModalScript::BoxText(box.Dialog());
        buttons = box.Control(IDYES) || box.Control(IDNO) ? L"yes/no" : L"ok";
        box.Click(IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(question, L"Stop the search?");
    EXPECT_EQ(buttons, L"ok");
    EXPECT_TRUE(dialog.Scan()->IsCancelled());
    UiTest::CDialogDriver idle(nullptr);
    EXPECT_TRUE(idle.PumpUntil([&] { return dialog.Scan()->WaitForWorkers(0); }, 30000));
    EXPECT_EQ(dialog.Scan()->Outstanding(), 0);
}

TEST(ScanRecordOrder, ArticleNumbersWithoutValueGoLastAndAddressesCompareAsNumbers)
{
    CDeviceInfo a, b, none;
    a.m_articleNumber = L"612-005";
    b.m_articleNumber = L"612-8001";
    a.m_ipAddress = L"10.0.0.9";
    b.m_ipAddress = L"10.0.0.10";
    EXPECT_LT(CScanNetworkDlg::CompareRecords(a, b, 1), 0);
    EXPECT_LT(CScanNetworkDlg::CompareRecords(b, none, 1), 0);
    EXPECT_LT(CScanNetworkDlg::CompareRecords(a, b, 0), 0);
    a.m_macAddress = L"02:5A:E1:00:00:02";
    b.m_macAddress = L"02:5A:E1:00:00:01";
    EXPECT_GT(CScanNetworkDlg::CompareRecords(a, b, 2), 0);
    // Ties fall back to the address: rows do not keep the order they arrived in.
    CDeviceInfo late, early;
    late.m_ipAddress = L"127.0.0.5";
    early.m_ipAddress = L"127.0.0.2";
    EXPECT_GT(CScanNetworkDlg::CompareRecords(late, early, 1), 0);
    EXPECT_GT(CScanNetworkDlg::CompareRecords(late, early, 2), 0);
}
