// A write that moves the device the program talks to onto another fixed
// address: the question before it, nothing written on No, and on Yes the
// reconnect at the new address after the restart, where the device answers
// the read that follows.
#include "Products/Corvane/MainDialog/Tests/Commands/CommandsRig.h"

#include "Platform/Controls/IPAddressStyles.h"
#include "Products/Corvane/Pages/Views/Res/TCPIPPageIds.h"
#include "Products/Corvane/Pages/Views/NetworkParamPage.h"
#include "Products/Corvane/Pages/Views/TCPIPPage.h"

#include <gmock/gmock.h>

namespace Corvane {

using namespace CommandsTest;
using namespace CorvaneIds;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

// A device that keeps its addresses in its block only (no per-port records).
void KeepAddressesInBlock(DevSim::tDeviceData& d, uint8_t lastOctet)
{
    d.network.clear();
    std::vector<uint16_t>& words = d.registers[{0, 100}].words;
    words[CTCPIPCodec::kSourceWord] = 0;
    words[CTCPIPCodec::kFixedAddressWord] = 0x007F;
    words[CTCPIPCodec::kFixedAddressWord + 1] = static_cast<uint16_t>(lastOctet << 8);
    words[CTCPIPCodec::kSubnetMaskWord] = 0x00FF;
    words[CTCPIPCodec::kGatewayWord] = 0x007F;
    words[CTCPIPCodec::kGatewayWord + 1] = 0x0100;
}

class CAddressDlg : public CCorvaneDlg {
public:
    using CCorvaneDlg::CCorvaneDlg;
    void Show(const std::wstring& page) { ActivatePage(page); }
};

class AddressChangeTest : public CommandsTestBase {
protected:
    void SetUp() override
    {
        CommandsTestBase::SetUp();
        GetLanguageSupport().SetText(L"MSG_WRITE_CHANGED_IP_TCPIP", L"Move %s away from %s?");
        m_Catalog.Register(L"TCPIP", [](const CCorvaneApp::tTemplateIds&) { return std::make_unique<CTCPIPPage>(); });
        m_Sim.Model().Update([](DevSim::tDeviceData& d) { KeepAddressesInBlock(d, 1); });
        // The same device after its restart, at the new address.
        m_Moved.Model().Update(WorkerTest::FillDevice);
        m_Moved.Model().Update([](DevSim::tDeviceData& d) { KeepAddressesInBlock(d, 2); });
        ASSERT_TRUE(m_Moved.SetLoopbackAddress(0x7F000002));
        ASSERT_TRUE(m_Moved.Start(m_Sim.Port())) << m_Moved.LastError();
    }
    void TearDown() override
    {
        m_Moved.Stop();
        CommandsTestBase::TearDown();
    }

    std::unique_ptr<CAddressDlg> MakeAddressDialog()
    {
        auto dialog = std::make_unique<CAddressDlg>(kMainDialog, m_Catalog);
        ConnectToSimulator(*dialog);
        return dialog;
    }

    // Moves the device as ReadAndMove does, then presses Write.
    static void ReadMoveAndWrite(CAddressDlg& dialog, UiTest::CDialogDriver& driver)
    {
        ReadAndMove(dialog, driver);
        driver.Click(kWriteButton);
        driver.PumpUntilIdle();
    }

    // Reads the device and types the new fixed address into the TCP/IP page.
    static void ReadAndMove(CAddressDlg& dialog, UiTest::CDialogDriver& driver)
    {
        ASSERT_TRUE(ClickAndWait(driver, kReadButton));
        dialog.Show(L"TCPIP");
        driver.PumpUntilIdle();
        CSettingsPage* page = dialog.Page(L"TCPIP");
        ASSERT_NE(page, nullptr);
        ASSERT_NE(page->GetSafeHwnd(), nullptr);
        UiTest::CDialogDriver pageDriver(page->GetSafeHwnd());
        const HWND field = pageDriver.Control(TCPIPPageIds::kFixedAddressField);
        ::SendMessageW(field, IPM_CLEARADDRESS, 0, 0);
        ::SendMessageW(field, IPM_SETFOCUS, 0, 0);
        pageDriver.Type(L"127.0.0.2");
        pageDriver.Press(VK_TAB);
        pageDriver.PumpUntilIdle();
        // The test thread has no main window for the page's change report.
        ::SendMessageW(dialog.GetSafeHwnd(), CWorkerMessages::Get().FbcSettingsChanged, 1, 0);
    }

    DevSim::CDeviceSimulator m_Moved;
};

}

TEST_F(AddressChangeTest, NoToTheQuestionWritesNothing)
{
    auto dialog = MakeAddressDialog();
    Run(*dialog, [&](UiTest::CDialogDriver& driver) {
            ReadMoveAndWrite(*dialog, driver);
            EXPECT_FALSE(GetWorkerBusyFlag().IsSet()) << "no write started";
        }, {Answer(IDNO)});
    ASSERT_EQ(m_arrBoxTexts.size(), 1u);
    EXPECT_THAT(m_arrBoxTexts[0], HasSubstr(L"away from 127.0.0.1?"));
    EXPECT_EQ(m_Sim.Model().Get().registers.at({0, 100}).words[CTCPIPCodec::kFixedAddressWord + 1], 0x0100);
    EXPECT_EQ(m_Moved.AcceptedConnections(), 0u);
}

TEST_F(AddressChangeTest, YesWritesAndReconnectsAtTheNewAddressAfterTheRestart)
{
    auto dialog = MakeAddressDialog();
    Run(*dialog, [&](UiTest::CDialogDriver& driver) {
            ReadMoveAndWrite(*dialog, driver);
            ASSERT_TRUE(WaitForWorker(driver));
            EXPECT_EQ(driver.Text(kStatusLine), L"Write done");
        }, {Answer(IDYES)});
    EXPECT_EQ(m_Sim.Model().Get().registers.at({0, 100}).words[CTCPIPCodec::kFixedAddressWord + 1], 0x0200)
        << "the new address went to the device";
    EXPECT_GT(m_Moved.AcceptedConnections(), 0u) << "read back at the new address";
    EXPECT_EQ(dialog->Data().IPAddrCurrent, L"127.0.0.2");
}

// The device took the new address but does not answer there (the PC cannot
// reach it): the write is no failure, and the user learns where it is.
TEST_F(AddressChangeTest, DeviceSilentAtTheNewAddressIsWrittenAndNamed)
{
    GetLanguageSupport().SetText(L"MSG_WRITE_DONE_DEVICE_NOT_REACHED", L"Written; the device is at %s now.");
    m_Moved.Stop();
    auto dialog = MakeAddressDialog();
    Run(*dialog, [&](UiTest::CDialogDriver& driver) {
            ReadMoveAndWrite(*dialog, driver);
            ASSERT_TRUE(WaitForWorker(driver));
            EXPECT_EQ(driver.Text(kStatusLine), L"Written; the device is at 127.0.0.2 now.");
            EXPECT_EQ(driver.Text(kConnectionText), L"127.0.0.2");
        }, {Answer(IDYES), Answer(IDOK)});
    ASSERT_EQ(m_arrBoxTexts.size(), 2u);
    EXPECT_EQ(m_arrBoxTexts[1], L"Written; the device is at 127.0.0.2 now.");
    EXPECT_THAT(Log(*dialog), Not(HasSubstr(L"Write failed")));
    EXPECT_EQ(m_Sim.Model().Get().registers.at({0, 100}).words[CTCPIPCodec::kFixedAddressWord + 1], 0x0200);
}

}  // namespace Corvane

namespace Corvane {

namespace {

// The coupler with its per-port records (X1 at 192.168.1.10, X2 at
// 10.0.0.20, both static) on the network-parameters page.
class PortRecordsWriteTest : public CommandsTestBase {
protected:
    void SetUp() override
    {
        CommandsTestBase::SetUp();
        for (auto [key, text] : {std::pair{L"MSG_WRITE_CHANGED_IP_TCPIP", L"Move %s away from %s?"},
                                 {L"STATE_WRITE_REFUSED_FIELD", L"Not written: %s on %s"},
                                 {L"TT_SUBNET_MASK_HDR", L"Subnet mask"},
                                 {L"TT_BTN_INTERFACE_X2_HDR", L"Port X2"},
                                 {L"TITLE_NETWORKPARAM", L"Network"}})
            GetLanguageSupport().SetText(key, text);
        m_Catalog.Register(L"NETWORKPARAM",
                           [](const CCorvaneApp::tTemplateIds&) { return std::make_unique<CNetworkParamPage>(); });
    }

    // Connected at X1's address, as a technician at the device would be.
    std::unique_ptr<CCorvaneDlg> MakeDialogAtX1()
    {
        m_Sim.Model().Update([](DevSim::tDeviceData& d) {
            for (uint16_t kind : {DevSim::NET_ACTUAL, DevSim::NET_STATIC})
                d.SetNetAddress(0, kind, DevSim::NET_IP_ADDRESS, "127.0.0.1");
        });
        return MakeDialog();
    }

    static CFBCData::tNetworkParams& Static(CCorvaneDlg& dialog, DWORD port)
    {
        return *dialog.Data().GetStaticNetworkParams(port);
    }
};

}

TEST_F(PortRecordsWriteTest, ANewHostNameIsWrittenWithoutTheAddressQuestion)
{
    auto dialog = MakeDialogAtX1();
    Run(*dialog, [&](UiTest::CDialogDriver& driver) {
            ASSERT_TRUE(ClickAndWait(driver, kReadButton));
            for (DWORD port = 0; port < 2; ++port)
                Static(*dialog, port).strHostName = L"edited-1";
            dialog->Data().NetworkParamsModified = true;
            ::SendMessageW(dialog->GetSafeHwnd(), CWorkerMessages::Get().FbcSettingsChanged, 1, 0);
            ASSERT_TRUE(ClickAndWait(driver, kWriteButton));
            EXPECT_EQ(driver.Text(kStatusLine), L"Write done");
        });
    EXPECT_TRUE(m_arrBoxTexts.empty()) << ::testing::PrintToString(m_arrBoxTexts);
}

TEST_F(PortRecordsWriteTest, ANewAddressOfTheConnectedPortIsAskedFor)
{
    auto dialog = MakeDialogAtX1();
    Run(*dialog, [&](UiTest::CDialogDriver& driver) {
            ASSERT_TRUE(ClickAndWait(driver, kReadButton));
            Static(*dialog, 0).strIPAddress = L"127.0.0.9";
            dialog->Data().NetworkParamsModified = true;
            ::SendMessageW(dialog->GetSafeHwnd(), CWorkerMessages::Get().FbcSettingsChanged, 1, 0);
            driver.Click(kWriteButton);
            driver.PumpUntilIdle();
            EXPECT_FALSE(GetWorkerBusyFlag().IsSet());
        }, {Answer(IDNO)});
    ASSERT_EQ(m_arrBoxTexts.size(), 1u);
    EXPECT_THAT(m_arrBoxTexts[0], HasSubstr(L"away from 127.0.0.1?"));
}

// A value from a file that the device cannot take: Write shows its page,
// port and row, names it, and starts no worker.
TEST_F(PortRecordsWriteTest, WriteNamesAValueItCannotWriteAndWritesNothing)
{
    auto dialog = MakeDialogAtX1();
    Run(*dialog, [&](UiTest::CDialogDriver& driver) {
            ASSERT_TRUE(ClickAndWait(driver, kReadButton));
            Static(*dialog, 1).strSubnetMask = L"255.0.255.0";
            dialog->Data().NetworkParamsModified = true;
            ::SendMessageW(dialog->GetSafeHwnd(), CWorkerMessages::Get().FbcSettingsChanged, 1, 0);
            const std::size_t connectionsBefore = m_Sim.AcceptedConnections();
            ASSERT_TRUE(driver.Click(kWriteButton));
            driver.PumpUntilIdle();
            EXPECT_FALSE(GetWorkerBusyFlag().IsSet()) << "no write started";
            EXPECT_EQ(m_Sim.AcceptedConnections(), connectionsBefore) << "nothing went to the device";
            EXPECT_EQ(driver.Text(kStatusLine), L"Not written: Subnet mask, Port X2 on Network");
            auto* page = dynamic_cast<CNetworkParamPage*>(dialog->Page(L"NETWORKPARAM"));
            ASSERT_NE(page, nullptr);
            EXPECT_EQ(dialog->ActivePage(), page);
            EXPECT_EQ(page->SelectedPort(), 1u);
            EXPECT_EQ(page->ShownBalloon(), CNetworkParamPage::EBalloon::InvalidAddress);
            EXPECT_EQ(page->Grid().GetFocusCell().row, CNetworkParamCodec::MaskRow);
        });
    EXPECT_TRUE(m_arrBoxTexts.empty()) << ::testing::PrintToString(m_arrBoxTexts);
}

}  // namespace Corvane
