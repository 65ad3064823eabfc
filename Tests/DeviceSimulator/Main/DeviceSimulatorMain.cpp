// device-simulator: the simulated device on 127.0.0.1, for trying the program
// without hardware. It is a complete device of the chosen kind (a coupler
// unless --kind says otherwise), described by the kind's model file beside
// the simulator; --model applies a file of changes on top.

#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include <arpa/inet.h>
#include <unistd.h>

#include "Tests/DeviceSimulator/DeviceSimulator.h"
#include "Tests/DeviceSimulator/FaultRuleText.h"
#include "Tests/DeviceSimulator/ModelFile.h"

namespace {

volatile std::sig_atomic_t g_stop = 0;

void OnSignal(int)
{
    g_stop = 1;
}

int Usage(const char* program)
{
    std::fprintf(stderr,
                 "usage: %s [--port N] [--kind coupler|controller] [--model FILE] [--bind IPV4] [--fault RULE]...\n"
                 "  RULE: KIND[:key=value,...], keys service, command, fragment, frame, readback, times, delay,\n"
                 "  status, value; KIND one of %s\n",
                 program, DevSim::FaultKindNames().c_str());
    return 2;
}

// The folder of this executable, where the build puts the kinds' models.
std::string ExecutableFolder()
{
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (length <= 0)
        return ".";
    const std::string file(path, static_cast<size_t>(length));
    const auto slash = file.rfind('/');
    return slash == std::string::npos ? std::string(".") : file.substr(0, slash);
}

bool LoadModel(const std::string& kind, const std::string& modelPath, DevSim::tDeviceData& data)
{
    std::string error;
    if (!DevSim::CModelFile::LoadKind(ExecutableFolder(), kind, data, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return false;
    }
    if (!modelPath.empty() && !DevSim::CModelFile::Load(modelPath, data, error)) {
        std::fprintf(stderr, "%s: %s\n", modelPath.c_str(), error.c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    long port = DevSim::CDeviceSimulator::kServicePort;
    std::optional<uint32_t> listenAddress;
    std::string modelPath;
    std::string kind = DevSim::CModelFile::Kinds().front();
    std::vector<DevSim::tFaultRule> faults;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        std::string inlineValue;
        if (arg.rfind("--fault=", 0) == 0) {
            inlineValue = arg.substr(8);
            arg = "--fault";
        }
        const bool takesValue = arg == "--port" || arg == "--model" || arg == "--kind" || arg == "--bind" ||
                                (arg == "--fault" && inlineValue.empty());
        if (takesValue && i + 1 >= argc)
            return Usage(argv[0]);
        if (arg == "--port") {
            char* end = nullptr;
            port = std::strtol(argv[++i], &end, 10);
            if (end == argv[i] || *end != '\0' || port < 0 || port > 65535) {
                std::fprintf(stderr, "invalid port '%s'\n", argv[i]);
                return 2;
            }
        } else if (arg == "--model") {
            modelPath = argv[++i];
        } else if (arg == "--kind") {
            kind = argv[++i];
        } else if (arg == "--fault") {
            const std::string text = inlineValue.empty() ? argv[++i] : inlineValue;
            std::string error;
            if (!DevSim::ParseFaultRule(text, faults.emplace_back(), error)) {
                std::fprintf(stderr, "invalid fault '%s': %s\n", text.c_str(), error.c_str());
                return 2;
            }
        } else if (arg == "--bind") {
            in_addr parsed{};
            if (::inet_pton(AF_INET, argv[++i], &parsed) != 1) {
                std::fprintf(stderr, "invalid address '%s'\n", argv[i]);
                return 2;
            }
            listenAddress = ntohl(parsed.s_addr);
        } else {
            return Usage(argv[0]);
        }
    }

    DevSim::CDeviceSimulator simulator;
    DevSim::tDeviceData data;
    if (!LoadModel(kind, modelPath, data))
        return 2;
    simulator.Model().Set(data);
    for (const auto& rule : faults)
        simulator.Faults().Add(rule);

    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);

    if (listenAddress)
        simulator.SetListenAddress(*listenAddress);
    if (!simulator.Start(static_cast<uint16_t>(port))) {
        std::fprintf(stderr, "cannot start: %s\n", simulator.LastError().c_str());
        return 1;
    }
    std::printf("%u\n", static_cast<unsigned>(simulator.Port()));
    std::fflush(stdout);
    while (!g_stop)
        ::usleep(100 * 1000);
    simulator.Stop();
    return 0;
}
