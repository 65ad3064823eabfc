// Times the scan dialog's search as the user starts it, each beside what one
// address alone costs: a /24 where nothing answers against one address's
// ping time-out, and twenty answering simulated devices against the slowest
// of their single identifications. Every address has a worker of its own, so
// a whole range must cost about as much as its slowest address (within
// 1.2x); the program fails when it does not.
//
// The silent range is a documentation network (198.51.100.0/24); the
// machine's own network may be another one of them, which the program says
// when something answers. The simulated devices answer each frame after a
// delay, as a device across a network does, so that an identification costs
// what the device takes rather than what the loopback takes.
#include "Common/PelorusDLL/Dialogs/DialogIds.h"
#include "Common/PelorusDLL/Dialogs/HostProfile.h"
#include "Common/PelorusDLL/Dialogs/ScanNetworkDlg.h"
#include "Common/PelorusDLL/Ping.h"
#include "Platform/Base/Format.h"
#include "Platform/Base/Tests/ScopedEnvironment.h"
#include "Platform/Ui/Tests/DialogDriver.h"
#include "Tests/DeviceSimulator/DeviceSimulator.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

constexpr const wchar_t* kSilentNetwork = L"198.51.100";
constexpr int kDevices = 20;
constexpr int kFirstDeviceHost = 11;
constexpr uint32_t kDeviceAnswerMs = 40;
constexpr int kWholeRuns = 3;
constexpr double kAllowedRatio = 1.2;
constexpr DWORD kScanLimitMs = 60000;

double Milliseconds(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// The network's echo, and for the loopback addresses of the simulated
// devices the hardware address that ARP would give for a device on a network.
class CLoopbackMacProbe : public CScanProbe {
public:
    std::wstring MacAddress(const std::wstring& address) override
    {
        if (address.rfind(L"127.0.0.", 0) != 0)
            return CScanProbe::MacAddress(address);
        return FormatW(L"02:5A:E1:00:00:%02X", std::stoi(address.substr(8)));
    }
};

struct tScanResult {
    double ms = 0;
    int rows = 0;
    bool ended = false;
};

// One search over the range, in a dialog of its own, from the click on
// Search until the last worker's result is in.
tScanResult TimeScan(const std::wstring& first, const std::wstring& last, unsigned short port)
{
    const CHostProfile profile;
    profile.WriteString(L"Settings", L"AddrSearchFirst", first);
    profile.WriteString(L"Settings", L"AddrSearchLast", last);
    CScanNetworkDlg dialog;
    dialog.m_probe = std::make_shared<CLoopbackMacProbe>();
    dialog.m_servicePort = port;
    dialog.m_retryWaitSeconds = 0;
    tScanResult result;
    if (!dialog.Create(PelorusIds::kScanDialog)) {
        std::fprintf(stderr, "The scan dialog could not be made.\n");
        return result;
    }
    UiTest::CDialogDriver driver(dialog.GetSafeHwnd());
    driver.PumpUntilIdle();
    const Clock::time_point start = Clock::now();
    ::SendMessageW(dialog.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(PelorusIds::kSearch, BN_CLICKED),
                   reinterpret_cast<LPARAM>(driver.Control(PelorusIds::kSearch)));
    result.ended = driver.PumpUntil([&] { return !dialog.IsScanning(); }, kScanLimitMs);
    result.ms = Milliseconds(Clock::now() - start);
    result.rows = static_cast<int>(::SendMessageW(driver.Control(PelorusIds::kDeviceList), LVM_GETITEMCOUNT, 0, 0));
    dialog.Scan()->Cancel();
    driver.PumpUntil([&] { return dialog.Scan()->WaitForWorkers(0); }, kScanLimitMs);
    dialog.DestroyWindow();
    return result;
}

std::wstring DeviceAddress(int index) { return FormatW(L"127.0.0.%d", kFirstDeviceHost + index); }

bool Report(const char* what, const tScanResult& whole, double single, const char* singleWhat, bool rowsAsExpected)
{
    const double ratio = single > 0 ? whole.ms / single : 0;
    const bool ok = whole.ended && rowsAsExpected && single > 0 && ratio <= kAllowedRatio;
    std::printf("%-34s %9.1f ms (%s %.1f ms; ratio %.2f, allowed %.1f)%s\n", what, whole.ms, singleWhat, single, ratio,
                kAllowedRatio, ok ? "" : "  FAILED");
    if (!whole.ended)
        std::printf("  the scan did not end within %lu ms\n", static_cast<unsigned long>(kScanLimitMs));
    return ok;
}

bool BenchSilentRange()
{
    // Without echo sockets every ping fails at once, and there is no time-out to compare with.
    if (!CPing().IsICMPAvailable()) {
        std::printf("254 silent addresses:              skipped: this machine gives no ICMP echo socket\n");
        return true;
    }
    const std::wstring network = kSilentNetwork;
    const tScanResult single = TimeScan(network + L".1", network + L".1", 6626);
    const tScanResult whole = TimeScan(network + L".1", network + L".254", 6626);
    if (whole.rows != 0)
        std::printf("  %d addresses of %ls.0/24 answered: it is no silent network here\n", whole.rows, network.c_str());
    return Report("254 silent addresses:", whole, single.ended ? single.ms : 0, "one address", whole.rows == 0);
}

bool BenchAnsweringDevices()
{
    std::vector<std::unique_ptr<DevSim::CDeviceSimulator>> devices;
    unsigned short port = 0;
    for (int i = 0; i < kDevices; ++i) {
        auto device = std::make_unique<DevSim::CDeviceSimulator>();
        device->SetLoopbackAddress(0x7F000000u | static_cast<uint32_t>(kFirstDeviceHost + i));
        device->Faults().Add({DevSim::ENFault::Delay, {}, -1, kDeviceAnswerMs});
        if (!device->Start(port)) {
            std::printf("simulated device %d: %s\n", i, device->LastError().c_str());
            return false;
        }
        port = device->Port();
        devices.push_back(std::move(device));
    }
    double slowest = 0;
    for (int i = 0; i < kDevices; ++i) {
        const tScanResult single = TimeScan(DeviceAddress(i), DeviceAddress(i), port);
        if (!single.ended || single.rows != 1) {
            std::printf("  %ls alone was not identified\n", DeviceAddress(i).c_str());
            return false;
        }
        slowest = std::max(slowest, single.ms);
    }
    // The median of a few runs, so that one run that the machine held up does not decide.
    std::vector<tScanResult> runs;
    for (int run = 0; run < kWholeRuns; ++run)
        runs.push_back(TimeScan(DeviceAddress(0), DeviceAddress(kDevices - 1), port));
    std::sort(runs.begin(), runs.end(), [](const tScanResult& a, const tScanResult& b) { return a.ms < b.ms; });
    const tScanResult whole = runs[kWholeRuns / 2];
    if (whole.rows != kDevices)
        std::printf("  %d of %d devices listed\n", whole.rows, kDevices);
    return Report("20 answering devices:", whole, slowest, "slowest single identification", whole.rows == kDevices);
}

}

int main()
{
    setenv("ZELL_DISPLAY", "headless", 0);
    // A private place for the profile's scan range, not the user's own.
    const TestSupport::CTempConfigHome config("ScanBenchmark");
    const bool silent = BenchSilentRange();
    const bool answering = BenchAnsweringDevices();
    return silent && answering ? 0 : 1;
}
