#pragma once
// The device workers against the simulated device, over TCP/IP or over a
// pseudo-terminal, on the manual clock so that their waits cost no time.
// A hidden window in the headless display collects what they post.

#include "Common/Communication/RS232Connection.h"
#include "Common/Communication/TCPIPConnection.h"
#include "Common/PelorusDLL/SIOService.h"
#include "Common/PelorusDLL/TCPIPService.h"
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Platform/Base/Clock.h"
#include "Platform/Base/Format.h"
#include "Platform/Net/WinSock.h"
#include "Platform/Ui/Tests/UiTestSupport.h"
#include "Products/Corvane/Core/CorvaneDeviceIni.h"
#include "Products/Corvane/Core/FBCData.h"
#include "Products/Corvane/Core/Tests/TempFolder.h"
#include "Products/Corvane/Workers/DeviceWorker.h"
#include "Products/Corvane/Workers/ReadWorker.h"
#include "Products/Corvane/Workers/ThreadStateTable.h"
#include "Products/Corvane/Workers/WorkerBusyFlag.h"
#include "Products/Corvane/Workers/WorkerMessages.h"
#include "Products/Corvane/Workers/WorkerPrompt.h"
#include "Tests/DeviceSimulator/DeviceSimulator.h"
#include "Tests/DeviceSimulator/SerialSimulator.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace Corvane {

namespace WorkerTest {

constexpr char kCouplerArticle[] = "612-001";
constexpr char kControllerArticle[] = "612-8001";

// Records the questions and answers them as a test says.
class CRecordingPrompt : public CWorkerPrompt {
public:
    struct tQuestion {
        std::wstring caption;
        std::wstring message;
        std::wstring details;
        UINT type = 0;
    };
    int m_nAnswer = IDNO;
    std::vector<tQuestion> m_arrQuestions;

    int Ask(const CString& caption, const CString& message, const CString& details, UINT type) override
    {
        m_arrQuestions.push_back({caption.str(), message.str(), details.str(), type});
        return m_nAnswer;
    }
};

// One reported state: action, state and the step bit.
struct tState {
    int action = 0;
    int state = 0;
    bool subStep = false;
    bool operator==(const tState&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const tState& s)
{
    return out << "(" << s.action << "," << s.state << (s.subStep ? ",step" : "") << ")";
}

// A device as both transports hand it out: a coupler with two ports, the
// two register tables, the table of the connection probe and a settled
// service state.
inline void FillDevice(DevSim::tDeviceData& d)
{
    d.identItems = {{"ORDER", kCouplerArticle}, {"DESCR", "Line coupler"}, {"HW-VER", "04"},
                    {"SW-VER", "02.07.11"},    {"FWL-VER", "IDX=3"},       {"SN", "SN000001"},
                    {"IMEI", "--"}};
    d.orderNumber = kCouplerArticle;
    d.AddDefaultPort(0, "192.168.1.10");
    d.AddDefaultPort(1, "10.0.0.20");
    d.networkId = "MAC-ID=025AE10A0B0C";
    d.registers[{0, 0}].words = std::vector<uint16_t>(30, 7);
    d.registers[{0, 100}].words = std::vector<uint16_t>(64, 0);
    d.registers[{0, 9}].words = {0x1234, 0};
    d.registers[{0, 127}].words = {0, 0};
    d.runtimeSystems = {1, 3};
    d.activeRuntime = 1;
}

constexpr char kCapabilityFile[] = "[0612-0001]\nFBC=32\nORBIS=0\nBOOTDELAY=40\nFILESYS=1\n"
                                  "[0612-8001]\nFBC=0\nORBIS=32\nSPSCTRL=1\n"
                                  "[SUPPORTED_FBC]\nS00=0612-0001\nS01=0612-8001\n";

class WorkerRig : public ::testing::TestWithParam<bool> {
protected:
    bool Serial() const { return GetParam(); }
    // Where the device was asked: the serial port, or the address with its port.
    std::wstring Location() const
    {
        return Serial() ? m_pConnection->GetSettingsValue(L"device")
                        : L"127.0.0.1, port " + std::to_wstring(m_TcpSim.Port());
    }
    // The text of a device that does not answer: it names where it was asked.
    std::wstring UnreachableText() const { return (Serial() ? L"No answer on " : L"No answer at ") + Location(); }

    void SetUp() override
    {
        // The texts the workers use as formats.
        GetLanguageSupport().SetText(L"MSG_DEVICE_NOT_SUPPORTED", L"The device %s is not supported.");
        GetLanguageSupport().SetText(L"DETAILS_DATASET_CONNECETD", L"Data set %s (%s), device %s (%s)");
        GetLanguageSupport().SetText(L"STATE_DEVICE_UNREACHABLE_TCPIP", L"No answer at %s");
        GetLanguageSupport().SetText(L"STATE_DEVICE_UNREACHABLE_RS232", L"No answer on %s");
        GetLanguageSupport().SetText(L"TXT_ADDRESS_AND_PORT", L"%s, port %s");
        GetLanguageSupport().SetText(L"STATE_MALFORMED_ANSWER", L"Malformed answer from %s");
        GetLanguageSupport().SetText(L"STATE_ANSWER_TOO_LONG", L"Too long an answer from %s (at most %u bytes)");
        m_Ini = CCorvaneDeviceIni(CString(m_Folder.Write("corvane.ini", kCapabilityFile).wstring()));
        ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &m_Winsock), 0);
        Model().Update(FillDevice);
        if (Serial())
            StartSerial();
        else
            StartTcp();
        m_hWindow = UiTest::Create(&m_Handler, WS_POPUP, 0, 0, 10, 10);
        ASSERT_NE(m_hWindow, nullptr);
    }
    void TearDown() override
    {
        m_pWorker.reset();
        if (m_hWindow != nullptr && IsWindow(m_hWindow))
            DestroyWindow(m_hWindow);
        UiTest::Drain();
        m_pService.reset();
        if (m_pConnection && m_pConnection->IsOpen())
            m_pConnection->Close();
        m_pConnection.reset();
        m_TcpSim.Stop();
        m_SerialSim.Stop();
        WSACleanup();
    }

    void StartTcp()
    {
        ASSERT_TRUE(m_TcpSim.Start()) << m_TcpSim.LastError();
        auto tcp = std::make_unique<ZELL::CTCPIPConnection>();
        ASSERT_TRUE(tcp->SetSettingsXML(FormatW(
            L"<TCPIP IP-Address='127.0.0.1' ServicePort='%u' ConnectTimeoutSeconds='2' SendTimeoutSeconds='2' "
            L"ReceiveTimeoutSeconds='2' CloseWaitTime='0' RestartTimeoutSeconds='30'/>",
            unsigned{m_TcpSim.Port()})));
        m_pService = std::make_unique<CTCPIPService>(tcp.get());
        m_pConnection = std::move(tcp);
    }
    void StartSerial()
    {
        ASSERT_TRUE(m_SerialSim.Start()) << m_SerialSim.LastError();
        auto serial = std::make_unique<ZELL::CRS232Connection>();
        const std::string path = m_SerialSim.SlavePath();
        ASSERT_TRUE(serial->SetSettingsXML(L"<RS232 device='" + std::wstring(path.begin(), path.end()) +
                                           L"' timeout='300' RestartTimeoutSeconds='0'/>"));
        m_pService = std::make_unique<CSIOService>(serial.get());
        m_pConnection = std::move(serial);
    }

    DevSim::CDeviceModel& Model() { return Serial() ? m_SerialSim.Model() : m_TcpSim.Model(); }
    DevSim::CFaultPlan& Faults() { return Serial() ? m_SerialSim.Faults() : m_TcpSim.Faults(); }
    DevSim::tDeviceData Device() { return Model().Get(); }
    void Change(const std::function<void(DevSim::tDeviceData&)>& change) { Model().Update(change); }

    tWorkerParams Params()
    {
        tWorkerParams params;
        params.window = m_hWindow;
        params.connection = m_pConnection.get();
        params.service = m_pService.get();
        params.data = &m_Data;
        params.capabilities = &m_Ini;
        params.prompt = &m_Prompt;
        params.busy = &m_Busy;
        return params;
    }

    // Starts a worker as the main dialog does: the busy flag first.
    template <typename Worker>
    void Start()
    {
        ASSERT_TRUE(m_Busy.TryAcquire());
        m_pWorker = CDeviceWorker::Create<Worker>(Params());
        ASSERT_TRUE(m_pWorker->Start());
    }

    // Pumps the window's queue until `message` came, in real time.
    bool WaitFor(UINT message, std::chrono::seconds limit = std::chrono::seconds(60))
    {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < end) {
            UiTest::Drain();
            if (!m_Handler.Of(message).empty())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return false;
    }
    // Runs the worker to its end and returns the done message's result.
    template <typename Worker>
    WPARAM Run(UINT doneMessage)
    {
        Start<Worker>();
        if (!WaitFor(doneMessage)) {
            ADD_FAILURE() << "no done message";
            return 99;
        }
        const auto done = m_Handler.Of(doneMessage);
        EXPECT_EQ(done.size(), 1u);
        EXPECT_EQ(done[0].lParam, reinterpret_cast<LPARAM>(&m_Data));
        return done[0].wParam;
    }

    std::vector<tState> States() const
    {
        std::vector<tState> states;
        for (const UiTest::Record& r : m_Handler.Of(Messages().ShowThreadState)) {
            const tThreadStateView view = CThreadStateTable::Interpret(r.wParam, r.lParam);
            states.push_back({view.action, view.state, view.subStep});
        }
        return states;
    }
    // Whether the action reported `state` at least once.
    bool Reported(ENThreadAction action, ENThreadState state, bool subStep) const
    {
        const tState wanted{static_cast<int>(action), static_cast<int>(state), subStep};
        for (const tState& s : States()) {
            if (s == wanted)
                return true;
        }
        return false;
    }
    static const CWorkerMessages& Messages() { return CWorkerMessages::Get(); }

    // Joins the last worker and forgets what it posted, so that the next Run
    // waits for its own done message rather than taking the last one's.
    void Forget()
    {
        m_pWorker.reset();
        m_Handler.Clear();
    }
    // A data set as a read of the simulated device leaves it.
    void ReadDevice()
    {
        ASSERT_EQ(Run<CReadWorker>(Messages().IdentifyDone), CWorkerJob::kResultSucceeded) << m_Data.Description.str();
        Forget();
    }

    Platform::ManualClockScope m_Clock{100000};
    CTempFolder m_Folder;
    CCorvaneDeviceIni m_Ini;
    WSADATA m_Winsock{};
    DevSim::CDeviceSimulator m_TcpSim;
    DevSim::CSerialSimulator m_SerialSim;
    std::unique_ptr<ZELL::CConnectionBase> m_pConnection;
    std::unique_ptr<CServiceBase> m_pService;
    CFBCData m_Data;
    CRecordingPrompt m_Prompt;
    CWorkerBusyFlag m_Busy;
    UiTest::Handler m_Handler;
    HWND m_hWindow = nullptr;
    std::unique_ptr<CDeviceWorker> m_pWorker;
};

}

}  // namespace Corvane
