// The user's roads through the program against the simulated coupler that
// `make run` starts (its shipped model, over loopback, with the connection
// settings `make run` passes): start to first paint, a read of every
// setting, a write of every setting, and a save and a load of a settings
// file. Each road is printed beside the sum of the bare round trips of the
// services it sent (the device's frame log replayed service by service on
// one open connection of the same kind) and beside the waits the program
// must make on that road, each named. The device restarts at once (its own
// restart wait is 0, and the copy of the capability file the program gets
// gives it no boot time), so that the write measures the program, not the
// device. Goal: read and write within 1.5x of round trips plus waits.
//
// The sleeps the process made are tallied as well (every nanosleep of
// 50 ms or more), so that a wait nobody prescribed shows by its length.
#include "Common/Communication/ServiceProtocol.h"
#include "Common/Communication/TCPIPConnection.h"
#include "Platform/Base/FileSystemPath.h"
#include "Platform/Base/Format.h"
#include "Platform/Base/Tests/ScopedEnvironment.h"
#include "Platform/Controls/StandardControls.h"
#include "Platform/Framework/Windows/PropertySheet.h"
#include "Platform/Net/WinSock.h"
#include "Platform/Shell/Tests/ModalScript.h"
#include "Products/Corvane/Main/Tests/SourceTreeProgram.h"
#include "Products/Corvane/MainDialog/CorvaneDlg.h"
#include "Products/Corvane/MainDialog/MainDialogIds.h"
#include "Products/Corvane/MainDialog/Tests/Commands/BoxAnswerer.h"
#include "Products/Corvane/Pages/Views/CommonPage.h"
#include "Products/Corvane/Pages/Views/ModbusPage.h"
#include "Products/Corvane/Pages/Views/Res/ServicePageIds.h"
#include "Products/Corvane/Workers/WorkerBusyFlag.h"
#include "Tests/DeviceSimulator/DeviceSimulator.h"
#include "Tests/DeviceSimulator/ModelFile.h"

#include <algorithm>
#include <cerrno>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include <unistd.h>

using namespace Corvane;

// Every sleep of the process passes here (std::this_thread::sleep_for and
// the platform's Sleep both end in nanosleep); the real one does the work.
namespace {
std::mutex g_SleepMutex;
std::map<long, int> g_mapSleeps;  // milliseconds -> count, 50 ms and more
}

extern "C" int nanosleep(const timespec* request, timespec* remaining)
{
    if (request != nullptr) {
        const long ms = static_cast<long>(request->tv_sec) * 1000 + request->tv_nsec / 1'000'000;
        if (ms >= 50) {
            std::lock_guard lock(g_SleepMutex);
            ++g_mapSleeps[ms];
        }
    }
    const int failed = ::clock_nanosleep(CLOCK_MONOTONIC, 0, request, remaining);
    if (failed == 0)
        return 0;
    errno = failed;
    return -1;
}

namespace {

using Clock = std::chrono::steady_clock;
using namespace CorvaneIds;

constexpr int kRuns = 3;
constexpr double kGoal = 1.5;
constexpr double kStartGoalMs = 300;  // as the start-up benchmark's
constexpr double kFileGoalMs = 100;
constexpr DWORD kCloseWaitMs = 200;       // the connection's CloseWaitTime as `make run` leaves it
constexpr DWORD kProbePauseMs = 500;      // WaitBeforCheckConnection: before each probe of the connection
constexpr DWORD kPageSettleMs = 500;      // the active page's pause when it hands the connection over
constexpr DWORD kSaveSettleMs = 500;      // the save of the parameters: each calm state read after the first

double MsSince(Clock::time_point start) { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); }

struct tWait {
    const char* name;
    DWORD ms;
    int count;
};

// The waits the program makes on a road, in the order it makes them.
const std::vector<tWait> kReadWaits = {
    {"page hands the connection over: close wait", kCloseWaitMs, 1},
    {"page hands the connection over: settle pause", kPageSettleMs, 1},
    {"connection check: pause before the probe", kProbePauseMs, 1},
    {"connection check closes what it opened: close wait", kCloseWaitMs, 1},
    {"read closes what it opened: close wait", kCloseWaitMs, 1},
};
const std::vector<tWait> kWriteWaits = {
    {"page hands the connection over: close wait", kCloseWaitMs, 1},
    {"page hands the connection over: settle pause", kPageSettleMs, 1},
    {"connection check: pause before the probe", kProbePauseMs, 1},
    {"connection check closes what it opened: close wait", kCloseWaitMs, 1},
    {"save of the parameters: settle pauses", kSaveSettleMs, 3},
    {"restart closes the connection: close wait", kCloseWaitMs, 1},
    {"connection check after the restart: pause before the probe", kProbePauseMs, 1},
    {"connection check after the restart: close wait", kCloseWaitMs, 1},
    {"read after the write closes what it opened: close wait", kCloseWaitMs, 1},
};

double WaitsMs(const std::vector<tWait>& waits)
{
    double sum = 0;
    for (const tWait& wait : waits)
        sum += static_cast<double>(wait.ms) * wait.count;
    return sum;
}

// One service request as the device received it: the data of its
// fragments (a fetch of a long answer adds none).
std::vector<std::vector<unsigned char>> Requests(const std::vector<DevSim::tFrameRecord>& frames)
{
    std::vector<std::vector<unsigned char>> requests;
    bool first = true;
    uint16_t transaction = 0;
    for (const DevSim::tFrameRecord& frame : frames) {
        if (first || frame.header.transaction != transaction)
            requests.emplace_back();
        first = false;
        transaction = frame.header.transaction;
        requests.back().insert(requests.back().end(), frame.data.begin(), frame.data.end());
    }
    std::erase_if(requests, [](const auto& request) { return request.size() < 2; });
    return requests;
}

// The bare round trips of `requests`: each sent on one connection that
// stays open, timed from request to answer, summed.
class CBareReplay {
public:
    explicit CBareReplay(uint16_t port)
    {
        m_Connection.SetSettingsXML(FormatW(L"<TCPIP IP-Address='127.0.0.1' ServicePort='%u' CloseWaitTime='0' "
                                            L"ConnectTimeoutSeconds='2' SendTimeoutSeconds='2' "
                                            L"ReceiveTimeoutSeconds='2'/>",
                                            unsigned{port}));
        m_pProtocol = std::make_unique<ZELL::CServiceProtocol>(&m_Connection);
    }
    ~CBareReplay()
    {
        delete[] m_pAnswer;
        m_pProtocol.reset();
        Close();
    }
    CBareReplay(const CBareReplay&) = delete;
    CBareReplay& operator=(const CBareReplay&) = delete;

    double Ms(const std::vector<std::vector<unsigned char>>& requests)
    {
        double sum = 0;
        for (std::vector<unsigned char> request : requests) {
            Open();
            unsigned int length = 0;
            const auto start = Clock::now();
            bool answered = false;
            try {
                answered = m_pProtocol->Request(request.data(), static_cast<unsigned int>(request.size()), &m_pAnswer,
                                               length, nullptr, nullptr);
            } catch (...) {
                answered = false;
            }
            sum += MsSince(start);
            // A restart ends the device's side of the connection.
            if (!answered)
                Close();
        }
        return sum;
    }

private:
    void Open()
    {
        try {
            if (!m_Connection.IsOpen())
                m_Connection.Open();
        } catch (...) {
        }
    }
    void Close()
    {
        try {
            m_Connection.Close();
        } catch (...) {
        }
    }

    ZELL::CTCPIPConnection m_Connection;
    std::unique_ptr<ZELL::CServiceProtocol> m_pProtocol;
    unsigned char* m_pAnswer = nullptr;
};

// The sleeps tallied since the last call, as text.
std::string TakeSleeps()
{
    std::lock_guard lock(g_SleepMutex);
    std::string text;
    for (const auto& [ms, count] : g_mapSleeps)
        text += " " + std::to_string(ms) + " ms x" + std::to_string(count);
    g_mapSleeps.clear();
    return text.empty() ? " none" : text;
}

struct tRoad {
    std::string sleeps;  // of the last run
    std::vector<double> ms;
    std::vector<double> roundTripsMs;
    std::vector<std::size_t> services;
};

// The shipped capability file with every boot time 0.
std::filesystem::path CapabilitiesWithoutBootTime(const std::filesystem::path& folder)
{
    std::ifstream shipped(CORVANE_INI);
    const std::filesystem::path copy = folder / "corvane.ini";
    std::ofstream out(copy);
    for (std::string line; std::getline(shipped, line);)
        out << (line.rfind("BOOTDELAY=", 0) == 0 ? "BOOTDELAY=0" : line) << '\n';
    return copy;
}

class CRoadsProgram : public CSourceTreeProgram {
public:
    explicit CRoadsProgram(std::wstring capabilities) : m_strCapabilities(std::move(capabilities)) {}
    void InitExePaths() override
    {
        CSourceTreeProgram::InitExePaths();
        DeviceIni().SetIniPath(m_strCapabilities.c_str());
    }

private:
    std::wstring m_strCapabilities;
};

class CRoads {
public:
    CRoads(DevSim::CDeviceSimulator& device, const std::filesystem::path& folder)
        : m_Device(device), m_Folder(folder), m_strCapabilities(CapabilitiesWithoutBootTime(folder))
    {
    }

    // One program run: the start, then each road once.
    void Run()
    {
        CRoadsProgram program(Text::WidePath(m_strCapabilities));
        // The host's own restart wait goes as well as the device's.
        const std::wstring settings = L"<?xml version='1.0'?><TCPIP IP-Address='127.0.0.1' ServicePort='" +
                                      std::to_wstring(m_Device.Port()) + L"' RestartTimeoutSeconds='0' />";
        program.SetArguments({L"/ConnectionType:TCPIP", CString((L"/ConnectionSettings:" + settings).c_str()),
                              L"/LANGUAGE:en"});
        ShellTest::ModalScript script;
        // The read asks before it drops the set the pages hold, the write
        // before it moves the device to the addresses of the set; Yes to both.
        const auto yes = [](UiTest::CDialogDriver& box) { box.Click(IDYES); };
        CommandsTest::CBoxAnswerer boxes({yes, yes});
        Clock::time_point started;
        double paintedMs = 0;
        std::vector<DevSim::tFrameRecord> beforePaint;
        std::string sleepsBeforePaint;
        m_Device.Log().Clear();
        program.SetDialogObserver([&](CCorvaneDlg& dialog) {
            dialog.SetFirstPaintObserver([&] {
                if (!m_bPainted) {
                    m_bPainted = true;
                    paintedMs = MsSince(started);
                    beforePaint = m_Device.Log().Records();
                    sleepsBeforePaint = TakeSleeps();
                }
            });
            script.Then([&](UiTest::CDialogDriver& driver) {
                Note(m_Start, paintedMs, beforePaint, sleepsBeforePaint);
                WaitForStartupRead(dialog, driver);
                Roads(dialog, driver);
                ::PostMessageW(driver.Dialog(), WM_CLOSE, 0, 0);
            });
        });
        m_bPainted = false;
        TakeSleeps();
        started = Clock::now();
        program.InitInstance();
        program.ExitInstance();
        m_nUnplannedBoxes += boxes.Unplanned();
        for (const std::wstring& text : boxes.Texts())
            m_arrBoxTexts.push_back(text);
    }

    void Print() const
    {
        std::printf("The user's roads against the simulated coupler over loopback, median of %d program runs:\n", kRuns);
        PrintRoad("start to first paint", m_Start, {}, kStartGoalMs);
        PrintRoad("read of every setting", m_Read, kReadWaits, 0);
        PrintRoad("write of every setting", m_Write, kWriteWaits, 0);
        PrintRoad("save of a settings file", m_Save, {}, kFileGoalMs);
        PrintRoad("load of a settings file", m_Load, {}, kFileGoalMs);
        if (m_nUnplannedBoxes == 0)
            return;
        std::printf("  %zu message boxes came up that no road expects; the boxes met:\n", m_nUnplannedBoxes);
        for (const std::wstring& text : m_arrBoxTexts)
            std::printf("    %ls\n", text.c_str());
    }

    bool Met() const
    {
        return m_bOk && m_nUnplannedBoxes == 0 && Ratio(m_Read, kReadWaits) <= kGoal &&
               Ratio(m_Write, kWriteWaits) <= kGoal && Median(m_Start.ms) < kStartGoalMs &&
               Median(m_Save.ms) < kFileGoalMs && Median(m_Load.ms) < kFileGoalMs;
    }

private:
    static double Median(std::vector<double> values)
    {
        if (values.empty())
            return -1;
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    }
    static double Ratio(const tRoad& road, const std::vector<tWait>& waits)
    {
        return Median(road.ms) / std::max(Median(road.roundTripsMs) + WaitsMs(waits), 1e-3);
    }

    // A road with waits has a ratio goal; one without, a time goal (ms).
    static void PrintRoad(const char* name, const tRoad& road, const std::vector<tWait>& waits, double goalMs)
    {
        const double ms = Median(road.ms);
        const double roundTrips = Median(road.roundTripsMs);
        const std::size_t services = road.services.empty() ? 0 : road.services.front();
        if (goalMs == 0) {
            std::printf("  %-24s %8.1f ms, round trips of its %zu services %.1f ms + waits %.0f ms: ratio %.2f, goal "
                        "%.1f\n",
                        name, ms, services, roundTrips, WaitsMs(waits), Ratio(road, waits), kGoal);
        } else {
            std::printf("  %-24s %8.1f ms, round trips of its %zu services %.1f ms: goal under %.0f ms\n", name, ms,
                        services, roundTrips, goalMs);
        }
        for (const tWait& wait : waits)
            std::printf("      wait: %-60s %4lu ms x%d\n", wait.name, static_cast<unsigned long>(wait.ms), wait.count);
        std::printf("      sleeps of 50 ms and more the process made:%s\n", road.sleeps.c_str());
    }

    // What the device received since the last note, replayed bare.
    void Note(tRoad& road, double ms) { Note(road, ms, m_Device.Log().Records(), TakeSleeps()); }
    void Note(tRoad& road, double ms, const std::vector<DevSim::tFrameRecord>& frames, const std::string& sleeps)
    {
        const auto requests = Requests(frames);
        road.ms.push_back(ms);
        road.sleeps = sleeps;
        road.services.push_back(requests.size());
        CBareReplay replay(m_Device.Port());
        road.roundTripsMs.push_back(replay.Ms(requests));
        m_Device.Log().Clear();
    }

    static bool WorkerDone(UiTest::CDialogDriver& driver)
    {
        return driver.PumpUntil([] { return !GetWorkerBusyFlag().IsSet(); }, 60000) && driver.PumpUntilIdle();
    }

    static void WaitForStartupRead(CCorvaneDlg& dialog, UiTest::CDialogDriver& driver)
    {
        driver.PumpUntil([&dialog] { return !GetWorkerBusyFlag().IsSet() && dialog.Data().SpecificTable.GetCount() > 0; },
                         30000);
        driver.PumpUntilIdle();
    }

    // A device command from the click to its shown result.
    bool TimeCommand(UiTest::CDialogDriver& driver, int button, tRoad& road)
    {
        if (!driver.IsEnabled(button))
            return false;
        m_Device.Log().Clear();
        TakeSleeps();
        const auto start = Clock::now();
        if (!driver.Click(button) || !driver.PumpUntilIdle() || !WorkerDone(driver))
            return false;
        Note(road, MsSince(start));
        return true;
    }

    // Brings a page to the front as a click on its tab does.
    static bool Visit(CCorvaneDlg& dialog, UiTest::CDialogDriver& driver, const std::wstring& name)
    {
        CSettingsPage* active = dialog.ActivePage();
        CSettingsPage* page = dialog.Page(name);
        if (active == nullptr || page == nullptr || active->GetSafeHwnd() == nullptr)
            return false;
        auto* sheet = dynamic_cast<CPropertySheet*>(CWnd::FromHandlePermanent(::GetParent(active->GetSafeHwnd())));
        const int index = sheet != nullptr ? sheet->GetPageIndex(page) : -1;
        if (index < 0 || !sheet->SetActivePage(index))
            return false;
        driver.PumpUntilIdle();
        return dialog.ActivePageName() == name;
    }

    // An edit for the write to carry: the Modbus page's close-socket box.
    static bool Edit(CCorvaneDlg& dialog, UiTest::CDialogDriver& driver)
    {
        if (!Visit(dialog, driver, CModbusPage::kPageKey))
            return false;
        UiTest::CDialogDriver(dialog.Page(CModbusPage::kPageKey)->GetSafeHwnd()).Click(ServicePageIds::kCloseSocketBox);
        driver.PumpUntilIdle();
        return Visit(dialog, driver, CCommonPage::kPageKey);
    }

    void Roads(CCorvaneDlg& dialog, UiTest::CDialogDriver& driver)
    {
        m_bOk = TimeCommand(driver, kReadButton, m_Read) && m_bOk;
        m_bOk = Edit(dialog, driver) && TimeCommand(driver, kWriteButton, m_Write) && m_bOk;
        const CString file(Text::WidePath(m_Folder / "roads.wes").c_str());
        m_Device.Log().Clear();
        TakeSleeps();
        auto start = Clock::now();
        m_bOk = dialog.SaveSettingsFile(file) && m_bOk;
        Note(m_Save, MsSince(start));
        start = Clock::now();
        m_bOk = dialog.OpenSettingsFile(file) && m_bOk;
        driver.PumpUntilIdle();
        Note(m_Load, MsSince(start));
    }

    DevSim::CDeviceSimulator& m_Device;
    std::filesystem::path m_Folder;
    std::filesystem::path m_strCapabilities;
    bool m_bPainted = false;
    bool m_bOk = true;
    std::size_t m_nUnplannedBoxes = 0;
    std::vector<std::wstring> m_arrBoxTexts;
    tRoad m_Start, m_Read, m_Write, m_Save, m_Load;
};

}

int main()
{
    const TestSupport::CTempConfigHome config("corvane-roads");
    ::setenv("ZELL_DISPLAY", "headless", 1);
    ZELL::Controls::RegisterStandardControls();
    WSADATA winsock{};
    WSAStartup(MAKEWORD(2, 2), &winsock);

    DevSim::tDeviceData model;
    std::string error;
    if (!DevSim::CModelFile::LoadKind(DEVSIM_MODEL_DIR, "coupler", model, error)) {
        std::fprintf(stderr, "coupler model: %s\n", error.c_str());
        return 1;
    }
    model.restartSeconds = 0;
    DevSim::CDeviceSimulator device;
    device.Model().Set(model);
    if (!device.Start()) {
        std::fprintf(stderr, "simulator: %s\n", device.LastError().c_str());
        return 1;
    }
    CRoads roads(device, config.Dir());
    for (int run = 0; run < kRuns; ++run)
        roads.Run();
    roads.Print();
    device.Stop();
    WSACleanup();
    return roads.Met() ? 0 : 1;
}
