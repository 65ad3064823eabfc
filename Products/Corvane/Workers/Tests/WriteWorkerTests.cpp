// The write worker end to end: what reaches the device, in which order, and
// how the steps report.
#include "Products/Corvane/Workers/Tests/WorkerRig.h"

#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Products/Corvane/Workers/DeviceDataWriter.h"
#include "Products/Corvane/Workers/DeviceResetSteps.h"
#include "Products/Corvane/Workers/WorkerConnection.h"
#include "Products/Corvane/Workers/WorkerContext.h"
#include "Products/Corvane/Workers/WriteSettingsWorker.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <optional>
#include <string>

namespace Corvane {

using namespace WorkerTest;

namespace {

constexpr uint16_t kSetInterfaceMode = 0x0504;

class WriteWorkerTest : public WorkerRig {
protected:
    WPARAM Write() { return Run<CWriteSettingsWorker>(Messages().WriteSettingsDone); }
    std::optional<std::string> StaticText(uint16_t port, uint16_t id)
    {
        const auto bytes = Device().NetParam(port, DevSim::NET_STATIC, id);
        if (!bytes)
            return std::nullopt;
        std::string text(bytes->begin(), bytes->end());
        std::erase(text, '\0');
        return text;
    }
};

TEST_P(WriteWorkerTest, WritesSavesRestartsAndReadsBack)
{
    ReadDevice();
    ASSERT_TRUE(m_Data.SpecificTable.SetAt(5, 0x55));
    const unsigned restarts = Device().restartCount;
    EXPECT_EQ(Write(), CWorkerJob::kResultSucceeded) << m_Data.Description.str();
    const DevSim::tDeviceData device = Device();
    EXPECT_EQ(device.registers.at({0, 100}).words[5], 0x55);
    EXPECT_GE(device.storeCount, 1u);
    EXPECT_EQ(device.restartCount, restarts + 1) << "a coupler is restarted";
    EXPECT_EQ(m_Data.SpecificTable.GetAt(5), 0x55) << "read back";
    EXPECT_FALSE(m_Busy.IsSet());

    // The worker's opening message and every step's working message carry
    // no step bit; the steps' results do.
    const std::vector<tState> states = States();
    ASSERT_FALSE(states.empty());
    EXPECT_EQ(states.front(), (tState{9, 2, false}));
    EXPECT_TRUE(Reported(ENThreadAction::EnableParam, ENThreadState::Working, false));
    EXPECT_TRUE(Reported(ENThreadAction::EnableParam, ENThreadState::Done, true));
    EXPECT_TRUE(Reported(ENThreadAction::WriteSpecific, ENThreadState::Done, true));
    EXPECT_TRUE(Reported(ENThreadAction::SaveParameter, ENThreadState::Done, true));
    EXPECT_TRUE(Reported(ENThreadAction::SoftwareReset, ENThreadState::Done, true));
    EXPECT_TRUE(Reported(ENThreadAction::ConnectDevice, ENThreadState::Working, false));
    for (const tState& s : states) {
        if (s.state == static_cast<int>(ENThreadState::Working)) {
            EXPECT_FALSE(s.subStep) << s;
        }
    }
}

TEST_P(WriteWorkerTest, ControllerIsSavedButNotRestarted)
{
    Change([](DevSim::tDeviceData& d) { d.identItems[0].second = kControllerArticle; });
    ReadDevice();
    const DevSim::tDeviceData before = Device();
    EXPECT_EQ(Write(), CWorkerJob::kResultSucceeded) << m_Data.Description.str();
    EXPECT_GT(Device().storeCount, before.storeCount);
    EXPECT_EQ(Device().restartCount, before.restartCount);
    EXPECT_FALSE(Reported(ENThreadAction::SoftwareReset, ENThreadState::Working, false));
}

TEST_P(WriteWorkerTest, ShorterSpecificTableIsWrittenAndReported)
{
    ReadDevice();
    std::vector<WORD> words(m_Data.SpecificTable.Words());
    words.resize(40, 9);
    ASSERT_TRUE(m_Data.SpecificTable.Assign(words));
    EXPECT_EQ(Write(), CWorkerJob::kResultSucceeded) << m_Data.Description.str();
    EXPECT_TRUE(Reported(ENThreadAction::WriteSpecific, ENThreadState::NotAllDeviceParamsWritten, true));
}

TEST_P(WriteWorkerTest, DataSetOfAnotherDeviceIsRefusedAndNothingWritten)
{
    ReadDevice();
    m_Data.ArticleNo = L"612-002";
    const unsigned stores = Device().storeCount;
    EXPECT_EQ(Write(), CWorkerJob::kResultCanceled);
    ASSERT_EQ(m_Prompt.m_arrQuestions.size(), 1u);
    EXPECT_EQ(m_Prompt.m_arrQuestions[0].caption, GetLanguageText(L"INADMISSIBLE_DATASET").str());
    EXPECT_EQ(m_Prompt.m_arrQuestions[0].type, UINT{MB_ICONERROR});
    EXPECT_EQ(Device().storeCount, stores);
    EXPECT_FALSE(m_pConnection->IsOpen());
    EXPECT_FALSE(m_Busy.IsSet());
}

TEST_P(WriteWorkerTest, FirmwareMismatchWritesOnlyWithTheUsersYes)
{
    ReadDevice();
    m_Data.SWVersion = L"02.07.10";
    m_Prompt.m_nAnswer = IDNO;
    EXPECT_EQ(Write(), CWorkerJob::kResultCanceled);
    ASSERT_EQ(m_Prompt.m_arrQuestions.size(), 1u);
    EXPECT_EQ(m_Prompt.m_arrQuestions[0].message, GetLanguageText(L"DATASETVER_SMALLER_DEVICEVER").str());
    EXPECT_EQ(m_Prompt.m_arrQuestions[0].type, UINT{MB_YESNO});
    EXPECT_EQ(m_Prompt.m_arrQuestions[0].details, L"Data set 612-001 (02.07.10), device 612-001 (02.07.11)");

    m_pWorker.reset();
    m_Handler.Clear();
    m_Prompt.m_nAnswer = IDYES;
    EXPECT_EQ(Write(), CWorkerJob::kResultSucceeded) << m_Data.Description.str();
}

INSTANTIATE_TEST_SUITE_P(Transports, WriteWorkerTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Serial" : "Tcp"; });

class WriteNetworkTest : public WriteWorkerTest {};

TEST_P(WriteNetworkTest, SntpNameOfARecordNotFromTheDeviceIsKept)
{
    ReadDevice();
    Change([](DevSim::tDeviceData& d) {
        d.SetNetName(0, DevSim::NET_STATIC, DevSim::NET_SNTP_NAME, "time.example");
        d.SetNetName(1, DevSim::NET_STATIC, DevSim::NET_SNTP_NAME, "time.example");
    });
    m_Data.NetworkParamsModified = true;
    // As a settings file leaves them: no MAC address, no SNTP name.
    for (DWORD port = 0; port < 2; ++port) {
        m_Data.GetStaticNetworkParams(port)->strMACAddress.clear();
        m_Data.GetStaticNetworkParams(port)->strSNTPHostName.clear();
        m_Data.GetStaticNetworkParams(port)->strParameter6.clear();
    }
    EXPECT_EQ(Write(), CWorkerJob::kResultSucceeded) << m_Data.Description.str();
    EXPECT_EQ(StaticText(0, DevSim::NET_SNTP_NAME).value_or(""), "time.example");
    EXPECT_EQ(StaticText(1, DevSim::NET_SNTP_NAME).value_or(""), "time.example");
}

TEST_P(WriteNetworkTest, SntpNameOfADeviceRecordIsWritten)
{
    ReadDevice();
    m_Data.NetworkParamsModified = true;
    m_Data.GetStaticNetworkParams(0)->strParameter6.clear();
    m_Data.GetStaticNetworkParams(0)->strSNTPHostName = L"ntp.local";
    EXPECT_EQ(Write(), CWorkerJob::kResultSucceeded) << m_Data.Description.str();
    EXPECT_EQ(StaticText(0, DevSim::NET_SNTP_NAME).value_or(""), "ntp.local");
}

TEST_P(WriteNetworkTest, ChangedStaticAddressOfTheConnectedPortIsFollowed)
{
    ReadDevice();
    m_Data.SetEthernetPortCount(2);
    m_Data.GetActualNetworkParams(0)->strIPAddress = L"127.0.0.1";
    m_Data.GetStaticNetworkParams(0)->strIPAddress = L"10.9.9.9";
    m_Data.GetActualNetworkParams(1)->strIPAddress = L"10.0.0.20";
    m_Data.GetStaticNetworkParams(1)->strIPAddress = L"10.0.0.20";
    CWorkerWait wait;
    CWorkerContext context(Params(), wait);
    CWorkerConnection workerConnection(context);
    CDeviceResetSteps steps(context, workerConnection);
    CDeviceDataWriter writer(context, steps);
    writer.ReconnectWithNewIPAddress();
    EXPECT_EQ(m_pConnection->GetSettingsValue(L"IP-Address"), L"10.9.9.9");
    // Talking through neither port's current address changes nothing.
    writer.ReconnectWithNewIPAddress();
    EXPECT_EQ(m_pConnection->GetSettingsValue(L"IP-Address"), L"10.9.9.9");
}

TEST_P(WriteNetworkTest, DeviceSilentAtItsNewAddressIsNoFailedWrite)
{
    if (Serial())
        GTEST_SKIP() << "only a TCP/IP connection follows the device";
    ReadDevice();
    m_Data.NetworkParamsModified = true;
    m_Data.GetActualNetworkParams(0)->strIPAddress = L"127.0.0.1";
    m_Data.GetStaticNetworkParams(0)->strIPAddress = L"127.0.0.3";
    const CFBCData written = m_Data;
    EXPECT_EQ(Write(), CWorkerJob::kResultWrittenNotReached) << m_Data.Description.str();
    EXPECT_EQ(Device().NetParam(0, DevSim::NET_STATIC, DevSim::NET_IP_ADDRESS),
              (std::vector<uint8_t>{3, 0, 0, 127}))
        << "the address is on the device";
    EXPECT_EQ(m_pConnection->GetSettingsValue(L"IP-Address"), L"127.0.0.3") << "the connection followed it";
    EXPECT_EQ(m_Data.Description, written.Description) << "no failure text";
    EXPECT_EQ(m_Data.SpecificTable.Words(), written.SpecificTable.Words()) << "the data set keeps what was written";
}

TEST_P(WriteNetworkTest, BusyInterfaceModeIsPolledUntilTheDeviceSwitched)
{
    ReadDevice();
    Change([](DevSim::tDeviceData& d) {
        d.refusedServices[kSetInterfaceMode] = DevSim::STATUS_BUSY;
        d.commandStates[kSetInterfaceMode] = DevSim::STATUS_BUSY;
    });
    m_Data.EthernetInterfaceMode = 1;
    m_Data.InterfaceModeToWrite = true;
    m_Data.ActiveRuntimeSystem = 3;
    m_Data.ActiveRuntimeSystemToWrite = true;
    Start<CWriteSettingsWorker>();
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    const tState working{static_cast<int>(ENThreadAction::SetEthInterfaceSeparated), 2, false};
    auto workingLines = [&] {
        const auto states = States();
        return std::count(states.begin(), states.end(), working);
    };
    while (workingLines() < 3 && std::chrono::steady_clock::now() < end) {
        UiTest::Drain();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    Change([](DevSim::tDeviceData& d) {
        d.ethernetMode = 1;
        d.commandStates[kSetInterfaceMode] = 0;
    });
    ASSERT_TRUE(WaitFor(Messages().WriteSettingsDone));
    EXPECT_EQ(m_Handler.Of(Messages().WriteSettingsDone)[0].wParam, CWorkerJob::kResultSucceeded) << m_Data.Description.str();
    EXPECT_TRUE(Reported(ENThreadAction::SetEthInterfaceSeparated, ENThreadState::Done, true));
    EXPECT_TRUE(Reported(ENThreadAction::ChangeRuntimeSystem, ENThreadState::Done, true));
    EXPECT_EQ(Device().activeRuntime, 3);
    EXPECT_FALSE(m_Data.InterfaceModeToWrite) << "read back after the write";
}

TEST_P(WriteNetworkTest, DataSetCheckClosesWhatItOpenedWhenTheDeviceFails)
{
    ReadDevice();
    DevSim::tFaultRule refuse;
    refuse.kind = DevSim::ENFault::ServiceStatus;
    refuse.status = DevSim::STATUS_REJECTED;
    Faults().Add(refuse);
    CWorkerWait wait;
    CWorkerContext context(Params(), wait);
    CWorkerConnection checker(context);
    EXPECT_FALSE(checker.ConnectAndCheckDataset());
    EXPECT_FALSE(m_pConnection->IsOpen());
    ASSERT_EQ(m_Prompt.m_arrQuestions.size(), 1u);
    EXPECT_EQ(m_Prompt.m_arrQuestions[0].message, GetLanguageText(L"STATE_IDENTIFY_FAILED").str());
    EXPECT_EQ(m_Prompt.m_arrQuestions[0].type, UINT{MB_ICONERROR});
}

INSTANTIATE_TEST_SUITE_P(Tcp, WriteNetworkTest, ::testing::Values(false));

}

}  // namespace Corvane
