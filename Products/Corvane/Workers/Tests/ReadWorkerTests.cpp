// The read worker end to end, over both transports.
#include "Products/Corvane/Workers/Tests/WorkerRig.h"

#include "Common/Communication/ConnectionException.h"
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Products/Corvane/Workers/ReadWorker.h"

#include <gmock/gmock.h>

namespace Corvane {

using namespace WorkerTest;
using ::testing::ElementsAre;

namespace {

using ReadWorkerTest = WorkerRig;

TEST_P(ReadWorkerTest, ReadsTheWholeDeviceAndReportsInOrder)
{
    EXPECT_EQ(Run<CReadWorker>(Messages().IdentifyDone), CWorkerJob::kResultSucceeded) << data.Description.str();
    EXPECT_FALSE(busy.IsSet());
    EXPECT_THAT(States(), ElementsAre(tState{8, 2, false}, tState{8, 1, false}, tState{7, 2, false}));
    EXPECT_EQ(data.ArticleNo.str(), L"0612-0001");
    EXPECT_EQ(data.SWVersion.str(), L"02.07.11");
    EXPECT_EQ(data.NetIDName.str(), L"MAC-ID");
    EXPECT_TRUE(data.HasNetworkParams);
    EXPECT_EQ(data.GetEthernetPortCount(), 2u);
    EXPECT_EQ(data.GetActualNetworkParams(1)->strIPAddress, L"10.0.0.20");
    EXPECT_EQ(data.CommonTable.GetCount(), 30);
    EXPECT_EQ(data.SpecificTable.GetCount(), 64);
    EXPECT_EQ(data.CommonTable.GetAt(3), 7);
    EXPECT_EQ(data.RuntimeSystems, (std::vector<WORD>{1, 3}));
    EXPECT_EQ(data.ActiveRuntimeSystem, 1);
    EXPECT_FALSE(connection->IsOpen()) << "opened by the worker, so closed by it";
}

TEST_P(ReadWorkerTest, AnOpenConnectionStaysOpen)
{
    ASSERT_NO_THROW(connection->Open());
    EXPECT_EQ(Run<CReadWorker>(Messages().IdentifyDone), CWorkerJob::kResultSucceeded) << data.Description.str();
    EXPECT_TRUE(connection->IsOpen());
}

TEST_P(ReadWorkerTest, UnreachableDeviceEndsWithTheCheckText)
{
    // A serial line falls silent rather than going away: a closed pseudo-terminal's
    // number is handed to the next one opened, maybe another test's device.
    if (Serial())
        Faults().Add({.kind = DevSim::ENFault::NoAnswer, .times = -1});
    else
        tcpSim.Stop();
    EXPECT_EQ(Run<CReadWorker>(Messages().IdentifyDone), CWorkerJob::kResultFailed);
    EXPECT_EQ(data.Description.str(), UnreachableText());
    EXPECT_THAT(States(), ElementsAre(tState{8, 2, false}, tState{8, 0, false}, tState{7, 2, false}));
    EXPECT_FALSE(busy.IsSet());
}

TEST_P(ReadWorkerTest, UnsupportedDeviceIsNamedInTheText)
{
    Change([](DevSim::tDeviceData& d) {
        d.identItems[0].second = "612-002";
        d.networkId = "IMEI=1234";
    });
    EXPECT_EQ(Run<CReadWorker>(Messages().IdentifyDone), CWorkerJob::kResultFailed);
    EXPECT_NE(data.Description.Find(L"0612-0002"), -1) << data.Description.str();
    EXPECT_TRUE(data.NetworkID.IsEmpty());
}

TEST_P(ReadWorkerTest, ControllerLosesTheTerminalBusWord)
{
    Change([](DevSim::tDeviceData& d) { d.identItems[0].second = kControllerArticle; });
    EXPECT_EQ(Run<CReadWorker>(Messages().IdentifyDone), CWorkerJob::kResultSucceeded) << data.Description.str();
    EXPECT_FALSE(data.HasTerminalBusExtension);
    EXPECT_EQ(data.StatusWords.size(), 8u);
}

INSTANTIATE_TEST_SUITE_P(Transports, ReadWorkerTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Serial" : "Tcp"; });

// Answers the connection check, then refuses to open for the read.
class COpensOnce : public ZELL::CTCPIPConnection {
public:
    int opensLeft = 1;
    void Open() override
    {
        if (opensLeft-- <= 0)
            throw ZELL::CConnectionException(L"refused", 0x30002751);
        ZELL::CTCPIPConnection::Open();
    }
};

class ReadWorkerOpenTest : public WorkerRig {};

TEST_P(ReadWorkerOpenTest, FailedOpenAfterTheCheckStoresTheCheckText)
{
    auto flaky = std::make_unique<COpensOnce>();
    ASSERT_TRUE(flaky->SetSettingsXML(connection->GetSettingsXML()));
    service = std::make_unique<CTCPIPService>(flaky.get());
    connection = std::move(flaky);
    EXPECT_EQ(Run<CReadWorker>(Messages().IdentifyDone), CWorkerJob::kResultFailed);
    EXPECT_EQ(data.Description.str(), UnreachableText());
    EXPECT_TRUE(data.ArticleNo.IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Tcp, ReadWorkerOpenTest, ::testing::Values(false));

}

}  // namespace Corvane
