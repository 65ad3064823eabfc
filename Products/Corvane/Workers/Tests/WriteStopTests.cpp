// A write that fails partway: each step failing in turn, by the device's
// refusal or a lost connection. Nothing after the failed step reaches the
// device, and the text says where the write stopped and what the device
// may hold.
#include "Products/Corvane/Workers/Tests/WorkerRig.h"

#include "Products/Corvane/Workers/WriteSettingsWorker.h"
#include "Products/Corvane/Workers/WriteStopText.h"
#include "Tests/DeviceSimulator/ByteOrder.h"

#include <functional>
#include <optional>
#include <set>
#include <string>

namespace Corvane {

using namespace WorkerTest;

namespace {

constexpr uint16_t kEnableWriteAccess = 0x101;
constexpr uint16_t kRestart = 0x102;
constexpr uint16_t kStore = 0x105;
constexpr uint16_t kWriteRegisters = 0x402;
constexpr uint16_t kSetNetworkParameter = 0x502;
// The services that change the device.
const std::set<uint16_t> kChanging = {kRestart, kStore, 0x115, 0x312, kWriteRegisters, kSetNetworkParameter, 0x504, 0x603};

// The request the device fails: the `nth` of the service, or the first of
// it for `port` and parameter `id`.
struct tFailingRequest {
    uint16_t service = 0;
    int nth = 1;
    std::optional<uint16_t> port;
    std::optional<uint16_t> id;
};

struct tStopCase {
    const char* name;
    std::function<void(DevSim::CFaultPlan&, DevSim::CDeviceModel&)> fail;
    tFailingRequest request;
    ENWriteStop stop;
    const wchar_t* stepKey;
    // The device's status in the text; empty when no valid answer came.
    std::optional<uint16_t> status;
};

DevSim::tFaultRule Fault(DevSim::ENFault kind, uint16_t service, int skip = 0)
{
    DevSim::tFaultRule rule;
    rule.kind = kind;
    rule.match.serviceCode = service;
    rule.skip = skip;
    rule.status = DevSim::STATUS_INVALID_ARGUMENT;
    return rule;
}

auto Plan(DevSim::ENFault kind, uint16_t service, int skip = 0)
{
    return [=](DevSim::CFaultPlan& faults, DevSim::CDeviceModel&) { faults.Add(Fault(kind, service, skip)); };
}

const tStopCase kStopCases[] = {
    {"EnableRefused", Plan(DevSim::ENFault::ServiceStatus, kEnableWriteAccess), {kEnableWriteAccess},
     ENWriteStop::NothingWritten, L"STATE_ENABLE_PARAM", 0x8213},
    {"CommonDropped", Plan(DevSim::ENFault::Close, kWriteRegisters), {kWriteRegisters},
     ENWriteStop::PartlyWritten, L"STATE_WRITE_COMMON", std::nullopt},
    {"SpecificRefused", Plan(DevSim::ENFault::ServiceStatus, kWriteRegisters, 1), {kWriteRegisters, 2},
     ENWriteStop::PartlyWritten, L"STATE_WRITE_SPECIFIC", 0x8213},
    {"PortX1Refused", Plan(DevSim::ENFault::ServiceStatus, kSetNetworkParameter), {kSetNetworkParameter},
     ENWriteStop::PartlyWritten, L"STATE_WRITE_NETWORK_PARAMETERS_X1", 0x8213},
    {"PortX1Reset", Plan(DevSim::ENFault::Reset, kSetNetworkParameter, 3), {kSetNetworkParameter, 4},
     ENWriteStop::PartlyWritten, L"STATE_WRITE_NETWORK_PARAMETERS_X1", std::nullopt},
    {"PortX2HostNameRefused",
     [](DevSim::CFaultPlan&, DevSim::CDeviceModel& model) {
         model.Update([](DevSim::tDeviceData& d) { d.network.erase({1, DevSim::NET_STATIC, DevSim::NET_HOST_NAME}); });
     },
     {kSetNetworkParameter, 1, 1, DevSim::NET_HOST_NAME}, ENWriteStop::PartlyWritten,
     L"STATE_WRITE_NETWORK_PARAMETERS_X2", 0x8213},
    {"StoreRefused",
     [](DevSim::CFaultPlan&, DevSim::CDeviceModel& model) {
         model.Update([](DevSim::tDeviceData& d) { d.refusedServices[kStore] = DevSim::STATUS_INVALID_ARGUMENT; });
     },
     {kStore}, ENWriteStop::PartlyWritten, L"STATE_SAVE_PARAMETER", 0x8213},
    {"StoreUnanswered", Plan(DevSim::ENFault::Close, kStore), {kStore}, ENWriteStop::StoreUnknown,
     L"STATE_SAVE_PARAMETER", std::nullopt},
    {"StoredThenDropped", Plan(DevSim::ENFault::CloseAfterAnswer, kStore), {kStore}, ENWriteStop::StoreUnknown,
     L"STATE_SAVE_PARAMETER", std::nullopt},
};

class WriteStopTest : public WorkerRig {
protected:
    void SetUp() override
    {
        WorkerRig::SetUp();
        for (const auto& [key, text] : {std::pair{L"MSG_WRITE_STOPPED_NOTHING_WRITTEN", L"nothing|%s|%s"},
                                        std::pair{L"MSG_WRITE_STOPPED_PARTLY_WRITTEN", L"partly|%s|%s"},
                                        std::pair{L"MSG_WRITE_STOPPED_STORE_UNKNOWN", L"unknown|%s|%s"},
                                        std::pair{L"MSG_WRITE_STOPPED_NOT_RESTARTED", L"restart|%s|%s"},
                                        std::pair{L"TXT_WRITE_CAUSE_DEVICE_STATUS", L"status %04X"},
                                        std::pair{L"TXT_WRITE_CAUSE_NO_ANSWER", L"no answer %08X"}})
            GetLanguageSupport().SetText(key, text);
    }
    WPARAM Write() { return Run<CWriteSettingsWorker>(Messages().WriteSettingsDone); }

    // The position of the failing request in the device's frame log.
    static std::optional<std::size_t> Find(const std::vector<DevSim::tFrameRecord>& frames, const tFailingRequest& r)
    {
        int seen = 0;
        for (std::size_t i = 0; i < frames.size(); ++i) {
            const auto& data = frames[i].data;
            // A network parameter's request: service, node, port, parameter id.
            if (DevSim::WordAt(data, 0) != r.service || (r.port && DevSim::WordAt(data, 4) != *r.port) ||
                (r.id && DevSim::WordAt(data, 6) != *r.id))
                continue;
            if (++seen == r.nth)
                return i;
        }
        return std::nullopt;
    }
};

class WriteStopTableTest : public WriteStopTest {};

TEST_P(WriteStopTableTest, NothingAfterTheFailedStepReachesTheDevice)
{
    for (const tStopCase& c : kStopCases) {
        SCOPED_TRACE(c.name);
        ReadDevice();
        m_Data.NetworkParamsModified = true;
        m_Data.GetStaticNetworkParams(1)->strHostName = L"edited-2";
        c.fail(m_TcpSim.Faults(), m_TcpSim.Model());
        const DevSim::tDeviceData before = Device();
        m_TcpSim.Log().Clear();

        EXPECT_EQ(Write(), CWorkerJob::kResultFailed);
        m_TcpSim.Faults().Clear();
        const std::wstring text = m_Data.Description.str();
        const std::wstring kinds[] = {L"nothing", L"partly", L"unknown", L"restart"};
        const std::wstring head = kinds[static_cast<int>(c.stop)] + L"|" + GetLanguageText(c.stepKey).str() + L"|";
        EXPECT_EQ(text.substr(0, head.size()), head) << text;
        if (c.status) {
            EXPECT_EQ(text, head + FormatW(L"status %04X", unsigned{*c.status}));
        } else {
            EXPECT_EQ(text.substr(head.size(), 9), L"no answer") << text;
        }

        const auto frames = m_TcpSim.Log().Records();
        const std::optional<std::size_t> failed = Find(frames, c.request);
        ASSERT_TRUE(failed.has_value()) << "the failing request was sent";
        for (std::size_t i = *failed + 1; i < frames.size(); ++i) {
            EXPECT_EQ(kChanging.count(DevSim::WordAt(frames[i].data, 0)), 0u)
                << "service 0x" << std::hex << DevSim::WordAt(frames[i].data, 0) << " after the failed step";
        }
        const DevSim::tDeviceData after = Device();
        EXPECT_EQ(after.restartCount, before.restartCount) << "no restart";
        if (c.stop != ENWriteStop::StoreUnknown) {
            EXPECT_EQ(after.storeCount, before.storeCount) << "no store";
        }
        if (std::wstring(c.stepKey) != L"STATE_SAVE_PARAMETER") {
            EXPECT_EQ(after.NetParam(1, DevSim::NET_STATIC, DevSim::NET_HOST_NAME),
                      before.NetParam(1, DevSim::NET_STATIC, DevSim::NET_HOST_NAME))
                << "port X2 untouched";
        }
        m_pWorker.reset();
        m_Handler.Clear();
        m_TcpSim.Model().Update([](DevSim::tDeviceData& d) {
            d.refusedServices.clear();
            FillDevice(d);
        });
    }
}

INSTANTIATE_TEST_SUITE_P(Tcp, WriteStopTableTest, ::testing::Values(false));

// Over RS-232 the same: a refused port X1 leaves port X2, the store and the
// restart alone.
TEST_P(WriteStopTest, RefusedPortStopsTheWrite)
{
    ReadDevice();
    m_Data.NetworkParamsModified = true;
    m_Data.GetStaticNetworkParams(1)->strHostName = L"edited-2";
    Change([](DevSim::tDeviceData& d) { d.refusedServices[kSetNetworkParameter] = DevSim::STATUS_INVALID_ARGUMENT; });
    const DevSim::tDeviceData before = Device();
    EXPECT_EQ(Write(), CWorkerJob::kResultFailed);
    EXPECT_EQ(m_Data.Description,
              CWriteStopText::Text({ENWriteStop::PartlyWritten, L"STATE_WRITE_NETWORK_PARAMETERS_X1", 0x20088213}));
    EXPECT_TRUE(Reported(ENThreadAction::WriteNetworkParametersX1, ENThreadState::Failed, true));
    EXPECT_FALSE(Reported(ENThreadAction::WriteNetworkParametersX2, ENThreadState::Working, false));
    EXPECT_FALSE(Reported(ENThreadAction::SaveParameter, ENThreadState::Working, false));
    EXPECT_EQ(Device().storeCount, before.storeCount);
    EXPECT_EQ(Device().restartCount, before.restartCount);
}

// A device without the store service keeps its settings by itself: the
// write is done, but says that the device did not confirm storing them.
TEST_P(WriteStopTest, StoreWithoutTheServiceIsDoneButUnconfirmed)
{
    ReadDevice();
    Change([](DevSim::tDeviceData& d) { d.unsupportedServices.insert(kStore); });
    const WPARAM result = Write();
    EXPECT_TRUE(CWorkerJob::StoreUnconfirmed(result));
    EXPECT_EQ(CWorkerJob::Outcome(result), CWorkerJob::kResultSucceeded) << m_Data.Description.str();
    EXPECT_TRUE(Reported(ENThreadAction::SoftwareReset, ENThreadState::Done, true));

    m_pWorker.reset();
    m_Handler.Clear();
    Change([](DevSim::tDeviceData& d) { d.unsupportedServices.clear(); });
    EXPECT_EQ(Write(), CWorkerJob::kResultSucceeded) << "a stored write carries no flag";
}

INSTANTIATE_TEST_SUITE_P(Transports, WriteStopTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Serial" : "Tcp"; });

TEST(WriteStopText, CauseTellsARefusalFromAMissingAnswer)
{
    EXPECT_TRUE(CWriteStopText::IsDeviceStatus(0x20088213));
    EXPECT_TRUE(CWriteStopText::IsDeviceStatus(0x2004A001));
    EXPECT_FALSE(CWriteStopText::IsDeviceStatus(0x20080000)) << "no status";
    EXPECT_FALSE(CWriteStopText::IsDeviceStatus(0x20010200)) << "a transfer time-out";
    EXPECT_FALSE(CWriteStopText::IsDeviceStatus(0x20208404)) << "a malformed answer";
    EXPECT_FALSE(CWriteStopText::IsDeviceStatus(0));
}

}

}  // namespace Corvane
