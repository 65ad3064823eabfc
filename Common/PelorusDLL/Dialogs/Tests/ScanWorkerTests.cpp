// The scan worker against simulated devices: what it finds at an address,
// when it identifies, and who frees the record it hands over.
#include "Common/Communication/ArticleNumber.h"
#include "Common/PelorusDLL/Dialogs/DeviceInfo.h"
#include "Common/PelorusDLL/Dialogs/ScanWorker.h"
#include "Common/PelorusDLL/Dialogs/Tests/ScanTestSupport.h"

#include "Platform/Ui/Tests/DialogDriver.h"
#include "Platform/Ui/Tests/UiTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

struct Result {
    bool found = false;
    CDeviceInfo record;
};

// Stands in for the dialog: takes every record (or none), keeps a copy.
class ScanWorker : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_window.hwnd = UiTest::Create(&m_handler, WS_OVERLAPPEDWINDOW, 0, 0, 100, 100);
        m_handler.m_onMessage = [this](HWND, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
            if (message != CScanContext::DeviceIdentifiedMessage())
                return false;
            std::unique_ptr<CDeviceInfo> record(reinterpret_cast<CDeviceInfo*>(lParam));
            m_results.push_back({wParam != 0, *record});
            if (!m_take) {
                record.release(); // the worker keeps it
                result = 0;
                return true;
            }
            m_scan->ResultArrived();
            result = CScanContext::kRecordTaken;
            return true;
        };
        m_scan->m_probe = m_probe;
        m_scan->m_texts = {L"no zell", L"no mac", L"not supported", L"identify failed", L"Device not found!"};
    }
    void TearDown() override
    {
        m_scan->Cancel();
        EXPECT_TRUE(WaitForWorkers());
        m_handler.m_onMessage = nullptr;
    }

    void Scan(const std::vector<std::wstring>& addresses, unsigned waitSeconds = 0)
    {
        m_scan->AddOutstanding(static_cast<int>(addresses.size()));
        for (const std::wstring& address : addresses) {
            auto* record = new CDeviceInfo;
            record->m_ipAddress = address;
            record->m_waitSeconds = waitSeconds;
            record->m_resolveHostName = true;
            ASSERT_TRUE(CScanWorker::Start(new tScanThreadParam{m_window.hwnd, false, record, false, m_scan}));
        }
    }
    bool WaitForWorkers()
    {
        UiTest::CDialogDriver driver(m_window.hwnd);
        return driver.PumpUntil([this] { return m_scan->WaitForWorkers(0); }, 20000);
    }
    const Result& Of(const std::wstring& address) const
    {
        for (const Result& result : m_results)
            if (result.record.m_ipAddress == address)
                return result;
        static const Result none;
        ADD_FAILURE() << "no result for " << std::string(address.begin(), address.end());
        return none;
    }

    UiTest::Handler m_handler;
    UiTest::WindowGuard m_window;
    std::shared_ptr<CScanContext> m_scan = std::make_shared<CScanContext>();
    std::shared_ptr<PelorusTest::CFakeProbe> m_probe = std::make_shared<PelorusTest::CFakeProbe>();
    std::vector<Result> m_results;
    bool m_take = true;
};

}

TEST_F(ScanWorker, OurDevicesAreIdentifiedAndSilentOrForeignAddressesAreNot)
{
    PelorusTest::CSimulatedDevices devices({2, 3, 5, 7});
    m_scan->m_servicePort = devices.Port();
    m_probe->m_answering = {{L"127.0.0.2", L"02:5A:E1:00:00:12"},
                          {L"127.0.0.3", L"02:5A:E1:00:00:13"},
                          {L"127.0.0.5", L"02:11:22:00:00:15"},
                          {L"127.0.0.6", L""},
                          {L"127.0.0.7", L""}};
    Scan({L"127.0.0.2", L"127.0.0.3", L"127.0.0.4", L"127.0.0.5", L"127.0.0.6", L"127.0.0.7"});
    ASSERT_TRUE(WaitForWorkers());
    ASSERT_EQ(m_results.size(), 6u);
    EXPECT_EQ(m_scan->Outstanding(), 0);

    const CDeviceInfo& ours = Of(L"127.0.0.3").record;
    EXPECT_TRUE(Of(L"127.0.0.3").found);
    EXPECT_TRUE(ours.m_identified && ours.m_usable && ours.m_zellDevice && ours.m_zellDevice2);
    EXPECT_EQ(ours.m_articleNumber, CArticleNumber(L"0612-0013").GetText(false)); // without leading zeros
    EXPECT_EQ(ours.m_description, L"Simulated coupler");
    EXPECT_EQ(ours.m_serialNumber, L"SN000001");
    EXPECT_EQ(ours.m_macAddress, L"02:5A:E1:00:00:13");
    EXPECT_EQ(ours.m_hostName, L"host-127.0.0.3");
    EXPECT_TRUE(Of(L"127.0.0.2").record.m_identified);

    EXPECT_FALSE(Of(L"127.0.0.4").found);
    EXPECT_FALSE(Of(L"127.0.0.4").record.m_answered);
    EXPECT_EQ(Of(L"127.0.0.4").record.m_stateText, L"Device not found!");

    // Something foreign answers: reported as found, never asked over TCP.
    const Result& foreign = Of(L"127.0.0.5");
    EXPECT_TRUE(foreign.found);
    EXPECT_FALSE(foreign.record.m_zellDevice || foreign.record.m_zellDevice2 || foreign.record.m_identified);
    EXPECT_EQ(foreign.record.m_stateText, L"no zell");
    EXPECT_EQ(devices.Device(2).AcceptedConnections(), 0u);

    // Without a hardware address only the service port can tell: nothing
    // listens at .6, so it keeps its state; .7 is one of ours and says so.
    EXPECT_EQ(Of(L"127.0.0.6").record.m_stateText, L"no mac");
    EXPECT_TRUE(Of(L"127.0.0.6").found && Of(L"127.0.0.6").record.m_answered);
    EXPECT_FALSE(Of(L"127.0.0.6").record.m_identified || Of(L"127.0.0.6").record.m_zellDevice2);
    const Result& noMac = Of(L"127.0.0.7");
    EXPECT_TRUE(noMac.found);
    EXPECT_TRUE(noMac.record.m_identified && noMac.record.m_usable && noMac.record.m_zellDevice2);
    EXPECT_EQ(noMac.record.m_macAddress, L"02:5A:E1:00:00:17"); // as the device names it
    EXPECT_EQ(devices.Device(3).AcceptedConnections(), 1u);      // one attempt, no retry
}

TEST_F(ScanWorker, WithoutPingEveryAddressIsAskedOverTcpAndASilentOneEndsAfterItsRetry)
{
    PelorusTest::CSimulatedDevices devices({7});
    m_scan->m_servicePort = devices.Port();
    m_scan->m_pingEnabled = false;
    Scan({L"127.0.0.7", L"127.0.0.8"}, 1);
    ASSERT_TRUE(WaitForWorkers());
    EXPECT_EQ(m_probe->m_pings, 0);
    EXPECT_TRUE(Of(L"127.0.0.7").found) << Narrow(Of(L"127.0.0.7").record.m_stateText);
    EXPECT_EQ(Of(L"127.0.0.7").record.m_macAddress, L"02:5A:E1:00:00:17"); // from the device itself
    const Result& silent = Of(L"127.0.0.8");
    EXPECT_FALSE(silent.found);
    EXPECT_EQ(silent.record.m_stateText, L"not supported");
    EXPECT_TRUE(silent.record.m_macAddress.empty());
    EXPECT_FALSE(silent.record.m_zellDevice);
    EXPECT_TRUE(silent.record.m_zellDevice2);
}

TEST_F(ScanWorker, ACancelledScanSendsNotFoundAtOnceWithoutPinging)
{
    m_scan->Cancel();
    m_probe->m_answering = {{L"127.0.0.2", L"02:5A:E1:00:00:12"}};
    Scan({L"127.0.0.2"});
    ASSERT_TRUE(WaitForWorkers());
    ASSERT_EQ(m_results.size(), 1u);
    EXPECT_FALSE(m_results[0].found);
    EXPECT_EQ(m_probe->m_pings, 0);
}

TEST_F(ScanWorker, ARecordNobodyTakesIsFreedByItsWorkerAndCountedOnce)
{
    m_take = false;
    m_probe->m_answering = {};
    Scan({L"127.0.0.20", L"127.0.0.21"});
    ASSERT_TRUE(WaitForWorkers());
    EXPECT_EQ(m_results.size(), 2u);
    EXPECT_EQ(m_scan->Outstanding(), 0);
}

TEST_F(ScanWorker, AWorkerWhoseWindowIsGoneFreesItsRecord)
{
    DestroyWindow(m_window.hwnd);
    Scan({L"127.0.0.22"});
    EXPECT_TRUE(m_scan->WaitForWorkers(10000));
    EXPECT_TRUE(m_results.empty());
    EXPECT_EQ(m_scan->Outstanding(), 0);
}
