// The main dialog's road over a serial line: the simulated device sits
// behind a pseudo-terminal that the dialog opens as its COM port. Read,
// write, restart and a settings file go the same way as over TCP/IP, and a
// device that stays silent, keeps its mailbox busy or answers with the
// wrong word count ends in the failed read.
#include "Products/Corvane/MainDialog/Tests/Commands/CommandsRig.h"

#include "Tests/DeviceSimulator/SerialSimulator.h"

#include <gmock/gmock.h>

#include <chrono>
#include <filesystem>

namespace Corvane {

using namespace CommandsTest;
using namespace CorvaneIds;
using ::testing::HasSubstr;

namespace {

class SerialRoadTest : public CommandsTestBase {
protected:
    void SetUp() override
    {
        CommandsTestBase::SetUp();
        m_Line.Model().Update(WorkerTest::FillDevice);
        ASSERT_TRUE(m_Line.Start()) << m_Line.LastError();
    }
    void TearDown() override
    {
        m_Line.Stop();
        CommandsTestBase::TearDown();
    }

    // The dialog on the simulated device's serial line.
    std::unique_ptr<CCorvaneDlg> MakeSerialDialog()
    {
        auto dialog = std::make_unique<CCorvaneDlg>(CorvaneIds::kMainDialog, m_Catalog);
        dialog->CreateConnectionOfType(L"RS232", CString(L"<RS232 device='") + DevicePath() +
                                                     L"' timeout='300' RestartTimeoutSeconds='0'/>");
        return dialog;
    }
    CString DevicePath() const
    {
        const std::string path = m_Line.SlavePath();
        return CString(std::wstring(path.begin(), path.end()));
    }
    void ExpectFailedSerialRead(DevSim::ENFault kind)
    {
        m_Line.Faults().Clear();
        m_Line.Faults().Add(Always(kind));
        auto dialog = MakeSerialDialog();
        ExpectFailedRead(*dialog);
    }

    DevSim::CSerialSimulator m_Line;
};

TEST_F(SerialRoadTest, ReadShowsTheDeviceOnItsIdentificationPage)
{
    auto dialog = MakeSerialDialog();
    bool busyWhileReading = false;
    Run(*dialog, [&](UiTest::CDialogDriver& driver) {
        EXPECT_EQ(driver.Text(kConnectionText), DevicePath().str());
        ASSERT_TRUE(driver.Click(kReadButton));
        driver.PumpUntilIdle();
        busyWhileReading = GetWorkerBusyFlag().IsSet();
        ASSERT_TRUE(WaitForWorker(driver));
        EXPECT_EQ(driver.Text(kStatusLine), L"Read done");
        EXPECT_EQ(driver.Text(kTitleLine1), L"612-001");
        EXPECT_EQ(driver.Text(kTitleLine2), L"Line coupler");
        EXPECT_EQ(dialog->ConnectionState(), kStateIdle);
        EXPECT_TRUE(driver.IsEnabled(kSaveButton));
    });
    EXPECT_TRUE(busyWhileReading);
    EXPECT_THAT(Log(*dialog), HasSubstr(L"Order 612-001 known"));
    EXPECT_THAT(Log(*dialog), HasSubstr(L"Firmware 02.07.11 fits"));
    const std::wstring rows = Rows(*dialog);
    EXPECT_THAT(rows, HasSubstr(L"=Line coupler\n"));
    EXPECT_THAT(rows, HasSubstr(L"=02.07.11\n"));
    EXPECT_THAT(rows, HasSubstr(L"=SN000001\n"));
    EXPECT_THAT(rows, HasSubstr(L"=192.168.1.10"));
    EXPECT_FALSE(m_Line.Telegrams().empty());
    EXPECT_EQ(m_Sim.AcceptedConnections(), 0u) << "nothing went over TCP/IP";
}

TEST_F(SerialRoadTest, WriteThenRestartReachTheDevice)
{
    auto dialog = MakeSerialDialog();
    Run(*dialog,
        [&](UiTest::CDialogDriver& driver) {
            ASSERT_TRUE(ClickAndWait(driver, kReadButton));
            ::SendMessageW(driver.Dialog(), CWorkerMessages::Get().FbcSettingsChanged, 1, 0);
            ASSERT_TRUE(driver.IsEnabled(kWriteButton));
            ASSERT_TRUE(ClickAndWait(driver, kWriteButton));
            EXPECT_EQ(driver.Text(kStatusLine), L"Write done");
            EXPECT_FALSE(driver.IsEnabled(kWriteButton)) << "the edits are on the device";
            ASSERT_TRUE(ClickAndWait(driver, kRestartButton));
            EXPECT_EQ(driver.Text(kStatusLine), L"Restart done");
        },
        {Answer(CAskStored::kContinueAnswer)});
    EXPECT_EQ(m_Line.Model().Get().restartCount, 2u) << "the write ends with a restart of its own";
}

TEST_F(SerialRoadTest, SavedSettingsLoadAgainAndGoBackToTheDevice)
{
    const CString path = CString((m_Files.Path() / "serial.wes").wstring());
    auto dialog = MakeSerialDialog();
    Run(*dialog, [&](UiTest::CDialogDriver& driver) {
        ASSERT_TRUE(ClickAndWait(driver, kReadButton));
        const CFBCData read = dialog->Data();
        ASSERT_TRUE(dialog->SaveSettingsFile(path));
        ASSERT_TRUE(dialog->OpenSettingsFile(path));
        EXPECT_EQ(dialog->ConnectionState(), kStateOffline);
        EXPECT_EQ(dialog->Data().NetworkID, read.NetworkID);
        EXPECT_EQ(dialog->Data().SpecificTable.Words(), read.SpecificTable.Words());
        ASSERT_TRUE(driver.IsEnabled(kWriteButton)) << "the file fits the device on the line";
        ASSERT_TRUE(ClickAndWait(driver, kWriteButton));
        EXPECT_EQ(driver.Text(kStatusLine), L"Write done");
    });
    EXPECT_TRUE(std::filesystem::exists(path.str()));
}

// A silent line, a mailbox that stays busy and wrong answers each end in
// the failed read, never in a hang.
TEST_F(SerialRoadTest, MisbehavingDeviceEndsInTheFailedRead)
{
    for (DevSim::ENFault kind : {DevSim::ENFault::NoAnswer, DevSim::ENFault::MailboxBusy,
                                 DevSim::ENFault::WrongWordCount, DevSim::ENFault::BadChecksum,
                                 DevSim::ENFault::RegisterError}) {
        SCOPED_TRACE(static_cast<int>(kind));
        ExpectFailedSerialRead(kind);
    }
}

TEST_F(SerialRoadTest, DeviceThatFallsSilentDuringAWriteEndsInTheFailedWrite)
{
    auto dialog = MakeSerialDialog();
    bool stillOpen = false;
    Run(*dialog, [&](UiTest::CDialogDriver& driver) {
        ASSERT_TRUE(ClickAndWait(driver, kReadButton));
        ::SendMessageW(driver.Dialog(), CWorkerMessages::Get().FbcSettingsChanged, 1, 0);
        m_Line.Faults().Add(Always(DevSim::ENFault::NoAnswer));
        ASSERT_TRUE(ClickAndWait(driver, kWriteButton));
        EXPECT_EQ(driver.Text(kStatusLine), L"Write failed");
        EXPECT_EQ(dialog->ConnectionState(), kStateFailed);
        EXPECT_TRUE(driver.IsEnabled(kWriteButton)) << "the edits are kept for another write";
        stillOpen = ::IsWindow(driver.Dialog()) != FALSE;
    }, {Answer(IDOK)});
    EXPECT_TRUE(stillOpen);
    ASSERT_EQ(m_arrBoxTexts.size(), 1u);
    const std::size_t kept = m_arrBoxTexts[0].find(L"\n\n");
    EXPECT_TRUE(kept != std::wstring::npos && kept > 0) << "the failed step is named before the kept edits";
}

TEST_F(SerialRoadTest, ClosingDuringAReadWaitsForTheWorker)
{
    auto dialog = MakeSerialDialog();
    CloseDuringCommand(*dialog, m_Line.Faults(), kReadButton);
}

}

}  // namespace Corvane
