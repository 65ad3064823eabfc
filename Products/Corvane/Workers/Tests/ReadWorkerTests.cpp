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
    EXPECT_EQ(Run<CReadWorker>(Messages().IdentifyDone), CWorkerJob::kResultSucceeded) << m_Data.Description.str();
    EXPECT_FALSE(m_Busy.IsSet());
    EXPECT_THAT(States(), ElementsAre(tState{8, 2, false}, tState{8, 1, false}, tState{7, 2, false}));
    EXPECT_EQ(m_Data.ArticleNo.str(), L"0612-0001");
    EXPECT_EQ(m_Data.SWVersion.str(), L"02.07.11");
    EXPECT_EQ(m_Data.NetIDName.str(), L"MAC-ID");
    EXPECT_TRUE(m_Data.HasNetworkParams);
    EXPECT_EQ(m_Data.GetEthernetPortCount(), 2u);
    EXPECT_EQ(m_Data.GetActualNetworkParams(1)->strIPAddress, L"10.0.0.20");
    EXPECT_EQ(m_Data.CommonTable.GetCount(), 30);
    EXPECT_EQ(m_Data.SpecificTable.GetCount(), 64);
    EXPECT_EQ(m_Data.CommonTable.GetAt(3), 7);
    EXPECT_EQ(m_Data.RuntimeSystems, (std::vector<WORD>{1, 3}));
    EXPECT_EQ(m_Data.ActiveRuntimeSystem, 1);
    EXPECT_FALSE(m_pConnection->IsOpen()) << "opened by the worker, so closed by it";
}

TEST_P(ReadWorkerTest, AnOpenConnectionStaysOpen)
{
    ASSERT_NO_THROW(m_pConnection->Open());
    EXPECT_EQ(Run<CReadWorker>(Messages().IdentifyDone), CWorkerJob::kResultSucceeded) << m_Data.Description.str();
    EXPECT_TRUE(m_pConnection->IsOpen());
}

TEST_P(ReadWorkerTest, UnreachableDeviceEndsWithTheCheckText)
{
    // A serial line falls silent rather than going away: a closed pseudo-terminal's
    // number is handed to the next one opened, maybe another test's device.
    if (Serial())
        Faults().Add({.kind = DevSim::ENFault::NoAnswer, .times = -1});
    else
        m_TcpSim.Stop();
    EXPECT_EQ(Run<CReadWorker>(Messages().IdentifyDone), CWorkerJob::kResultFailed);
    EXPECT_EQ(m_Data.Description.str(), UnreachableText());
    EXPECT_THAT(States(), ElementsAre(tState{8, 2, false}, tState{8, 0, false}, tState{7, 2, false}));
    EXPECT_FALSE(m_Busy.IsSet());

    // After a language switch the failure is said in the new words, with the same place.
    GetLanguageSupport().SetText(L"STATE_DEVICE_UNREACHABLE_TCPIP", L"Keine Antwort von %s");
    GetLanguageSupport().SetText(L"STATE_DEVICE_UNREACHABLE_RS232", L"Keine Antwort an %s");
    GetLanguageSupport().SetText(L"TXT_ADDRESS_AND_PORT", L"%s, Port %s");
    ASSERT_TRUE(m_Data.DescriptionInLanguage);
    const std::wstring again = m_Data.DescriptionInLanguage().str();
    EXPECT_EQ(again.rfind(L"Keine Antwort ", 0), 0u) << again;
    EXPECT_NE(again.find(Serial() ? L"" : L", Port "), std::wstring::npos) << again;
}

// A device that answered did not fall silent: its answer is named for what
// it was, with where it came from.
TEST_P(ReadWorkerTest, AnswersThatCannotBeTakenAreNamedNotTakenForSilence)
{
    const struct {
        DevSim::ENFault kind;
        uint16_t value;
        bool onlyTheClock;
        const wchar_t* text;
    } cases[] = {
        {DevSim::ENFault::AnnouncedLength, 0xFFFF, false, L"Malformed answer from "},
        {DevSim::ENFault::GarbageAnswer, 64, false, L"Malformed answer from "},
        {DevSim::ENFault::AnnouncedLength, 0xFFFF, true, L"Malformed answer from "},
        {DevSim::ENFault::LongAnswer, 0xFFFF, true, L"Too long an answer from "},
    };
    for (const auto& c : cases) {
        // The serial telegrams have neither a 16-bit length nor long answers.
        if (Serial() && c.kind != DevSim::ENFault::GarbageAnswer)
            continue;
        SCOPED_TRACE(static_cast<int>(c.kind));
        Forget();
        Faults().Clear();
        DevSim::tFaultRule rule{.kind = c.kind, .times = -1, .value = c.value};
        if (c.onlyTheClock)
            rule.match.serviceCode = 0x116;
        Faults().Add(rule);
        EXPECT_EQ(Run<CReadWorker>(Messages().IdentifyDone), CWorkerJob::kResultFailed);
        EXPECT_EQ(m_Data.Description.Find(c.text), 0) << m_Data.Description.str();
        EXPECT_NE(m_Data.Description.Find(Location().c_str()), -1) << m_Data.Description.str();
    }
}

TEST_P(ReadWorkerTest, UnsupportedDeviceIsNamedInTheText)
{
    Change([](DevSim::tDeviceData& d) {
        d.identItems[0].second = "612-002";
        d.networkId = "IMEI=1234";
    });
    EXPECT_EQ(Run<CReadWorker>(Messages().IdentifyDone), CWorkerJob::kResultFailed);
    EXPECT_NE(m_Data.Description.Find(L"0612-0002"), -1) << m_Data.Description.str();
    EXPECT_TRUE(m_Data.NetworkID.IsEmpty());
}

TEST_P(ReadWorkerTest, ControllerLosesTheTerminalBusWord)
{
    Change([](DevSim::tDeviceData& d) { d.identItems[0].second = kControllerArticle; });
    EXPECT_EQ(Run<CReadWorker>(Messages().IdentifyDone), CWorkerJob::kResultSucceeded) << m_Data.Description.str();
    EXPECT_FALSE(m_Data.HasTerminalBusExtension);
    EXPECT_EQ(m_Data.StatusWords.size(), 8u);
}

INSTANTIATE_TEST_SUITE_P(Transports, ReadWorkerTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Serial" : "Tcp"; });

// Answers the connection check, then refuses to open for the read.
class COpensOnce : public ZELL::CTCPIPConnection {
public:
    int m_nOpensLeft = 1;
    void Open() override
    {
        if (m_nOpensLeft-- <= 0)
            throw ZELL::CConnectionException(L"refused", 0x30002751);
        ZELL::CTCPIPConnection::Open();
    }
};

class ReadWorkerOpenTest : public WorkerRig {};

TEST_P(ReadWorkerOpenTest, FailedOpenAfterTheCheckStoresTheCheckText)
{
    auto flaky = std::make_unique<COpensOnce>();
    ASSERT_TRUE(flaky->SetSettingsXML(m_pConnection->GetSettingsXML()));
    m_pService = std::make_unique<CTCPIPService>(flaky.get());
    m_pConnection = std::move(flaky);
    EXPECT_EQ(Run<CReadWorker>(Messages().IdentifyDone), CWorkerJob::kResultFailed);
    EXPECT_EQ(m_Data.Description.str(), UnreachableText());
    EXPECT_TRUE(m_Data.ArticleNo.IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Tcp, ReadWorkerOpenTest, ::testing::Values(false));

}

}  // namespace Corvane
