// How much the service protocol costs on top of the bytes it moves: every
// case runs the protocol against the simulated device and, interleaved in
// the same loop, a bare socket exchange with exactly the same frame sizes
// against a minimal server, both on loopback with TCP_NODELAY. The counter
// `ratio_median` is the median of protocol time over bare time per round,
// `ratio_spread_pct` the width of the middle half of those ratios.

#include "Common/Communication/ServiceProtocol.h"
#include "Common/Communication/TCPIPConnection.h"
#include "Platform/Base/Format.h"
#include "Platform/Net/WinSock.h"
#include "Tests/DeviceSimulator/DeviceSimulator.h"
#include "Tests/DeviceSimulator/LoopbackSocket.h"

#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sched.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr unsigned int kHeader = ZELL::CServiceProtocol::kHeaderSize;
constexpr unsigned int kFragmentData = 1400;
constexpr unsigned short kAddressSwitch = 0x107;
constexpr unsigned short kIdentify = 0x108;
constexpr int kWaitMs = 2000;

void NoDelay(int fd)
{
    int on = 1;
    ::setsockopt(fd, int{IPPROTO_TCP}, int{TCP_NODELAY}, static_cast<const void*>(&on), socklen_t{sizeof on});
}

// The casts pick the POSIX calls over the socket-library ones of the same
// name. Every wait is bounded, so a lost peer ends the benchmark instead of hanging it.
bool SendAll(int fd, const unsigned char* data, size_t length)
{
    size_t sent = 0;
    while (sent < length) {
        const ssize_t n = ::send(fd, static_cast<const void*>(data + sent), length - sent, int{MSG_NOSIGNAL});
        if (n <= 0)
            return false;
        sent += static_cast<size_t>(n);
    }
    return true;
}

bool ReceiveAll(int fd, unsigned char* data, size_t length)
{
    size_t got = 0;
    while (got < length) {
        pollfd waiting{fd, POLLIN, 0};
        if (::poll(&waiting, 1, kWaitMs) <= 0)
            return false;
        const ssize_t n = ::recv(fd, static_cast<void*>(data + got), length - got, 0);
        if (n <= 0)
            return false;
        got += static_cast<size_t>(n);
    }
    return true;
}

// One exchange on the wire: request bytes out, answer bytes back.
struct tStep {
    size_t request = 0;
    size_t answer = 0;
};

// Answers each request of a fixed script with the scripted number of bytes,
// cycling through the script, and nothing else.
class CBareServer {
public:
    explicit CBareServer(std::vector<tStep> script_) : m_script(std::move(script_))
    {
        m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (m_listener < 0 || ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(m_listener, 1) != 0 || ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &size) != 0)
            throw std::runtime_error("bare server: no listening socket");
        m_port = ntohs(address.sin_port);
        m_worker = std::thread([this] { Serve(); });
    }
    ~CBareServer()
    {
        m_stop = true;
        ::shutdown(m_listener, SHUT_RDWR);
        m_worker.join();
        ::close(m_listener);
    }
    CBareServer(const CBareServer&) = delete;
    CBareServer& operator=(const CBareServer&) = delete;

    unsigned short Port() const { return m_port; }

private:
    void Serve()
    {
        pollfd waiting{m_listener, POLLIN, 0};
        if (::poll(&waiting, 1, kWaitMs) <= 0)
            return;
        const int fd = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            return;
        NoDelay(fd);
        size_t largest = 0;
        for (const tStep& step : m_script)
            largest = std::max({largest, step.request, step.answer});
        std::vector<unsigned char> buffer(largest, 0x5A);
        // The client's close ends the loop; the poll bound covers a client
        // that stops without closing.
        for (size_t i = 0; !m_stop; i = (i + 1) % m_script.size()) {
            if (!ReceiveAll(fd, buffer.data(), m_script[i].request) || !SendAll(fd, buffer.data(), m_script[i].answer))
                break;
        }
        ::close(fd);
    }

    std::vector<tStep> m_script;
    int m_listener = -1;
    unsigned short m_port = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_worker;
};

class CBareClient {
public:
    explicit CBareClient(unsigned short port)
    {
        if (!DevSim::ConnectLoopback(port, m_fd))
            throw std::runtime_error("bare client: connect failed");
        NoDelay(m_fd);
    }
    ~CBareClient() { ::close(m_fd); }
    CBareClient(const CBareClient&) = delete;
    CBareClient& operator=(const CBareClient&) = delete;

    bool Run(const std::vector<tStep>& script)
    {
        for (const tStep& step : script) {
            if (m_buffer.size() < std::max(step.request, step.answer))
                m_buffer.resize(std::max(step.request, step.answer), 0xA5);
            if (!SendAll(m_fd, m_buffer.data(), step.request) || !ReceiveAll(m_fd, m_buffer.data(), step.answer))
                return false;
        }
        return true;
    }

private:
    int m_fd = -1;
    std::vector<unsigned char> m_buffer;
};

class CWinsock {
public:
    CWinsock() { WSAStartup(0x0202, &m_data); }
    ~CWinsock() { WSACleanup(); }
    CWinsock(const CWinsock&) = delete;
    CWinsock& operator=(const CWinsock&) = delete;

private:
    WSADATA m_data{};
};

// The host side as the program builds it: the TCP/IP connection under the
// service protocol, against a simulator of its own.
struct tProtocolSide {
    CWinsock winsock;
    DevSim::CDeviceSimulator simulator;
    ZELL::CTCPIPConnection connection;
    std::unique_ptr<ZELL::CServiceProtocol> protocol;
    unsigned char* answer = nullptr;

    explicit tProtocolSide(const std::string& identText)
    {
        if (!simulator.Start())
            throw std::runtime_error("simulator: " + simulator.LastError());
        simulator.Model().Update([&](DevSim::tDeviceData& d) {
            d.protocolBufferSize = kFragmentData;
            d.identTextOverride = identText;
        });
        if (!connection.SetSettingsXML(FormatW(L"<TCPIP IP-Address='127.0.0.1' ServicePort='%u' "
                                               L"ConnectTimeoutSeconds='2' SendTimeoutSeconds='2' "
                                               L"ReceiveTimeoutSeconds='2' CloseWaitTime='0'/>",
                                               unsigned{simulator.Port()})))
            throw std::runtime_error("connection settings refused");
        connection.Open();
        protocol = std::make_unique<ZELL::CServiceProtocol>(&connection);
        if (!protocol->SetSettingsXML(FormatW(L"<ServiceProtocol MaxFragmentDataSize='%u' />", kFragmentData)))
            throw std::runtime_error("protocol settings refused");
    }
    ~tProtocolSide()
    {
        delete[] answer;
        protocol.reset();
        connection.Close();
        simulator.Stop();
    }

    // The answer data length, 0 on failure.
    unsigned int Call(unsigned short service)
    {
        unsigned char request[2] = {static_cast<unsigned char>(service & 0xFF), static_cast<unsigned char>(service >> 8)};
        unsigned int length = 0;
        if (!protocol->Request(request, sizeof request, &answer, length, nullptr, nullptr))
            return 0;
        return length;
    }
};

// The value below which `share` of the sorted values lie.
double Quantile(const std::vector<double>& sorted, double share)
{
    const double at = share * static_cast<double>(sorted.size() - 1);
    const auto below = static_cast<size_t>(at);
    const size_t above = std::min(below + 1, sorted.size() - 1);
    return sorted[below] + (sorted[above] - sorted[below]) * (at - static_cast<double>(below));
}

// Runs both sides in every round, each timed on its own, and reports the
// median of the per-round ratios with its spread. A round's ratio compares
// two exchanges a few microseconds apart, so a slow stretch of the machine
// (another process, a frequency change) lands on both and cancels out, where
// a ratio of totals would take it in whole. The order alternates, so that
// neither side always finds the caches and the peer's thread warm.
// `bytes` is the payload one call brings back.
template <typename Protocol, typename Bare>
void Interleave(benchmark::State& state, Protocol&& protocolCall, Bare&& bareCall, double bytes)
{
    std::vector<double> ratios;
    ratios.reserve(1 << 16);
    Clock::duration protocolTime{};
    Clock::duration bareTime{};
    bool protocolFirst = true;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        const bool firstDone = protocolFirst ? protocolCall() : bareCall();
        const auto t1 = Clock::now();
        const bool secondDone = protocolFirst ? bareCall() : protocolCall();
        const auto t2 = Clock::now();
        if (!firstDone || !secondDone) {
            state.SkipWithError("an exchange failed");
            return;
        }
        const Clock::duration protocol = protocolFirst ? t1 - t0 : t2 - t1;
        const Clock::duration bare = protocolFirst ? t2 - t1 : t1 - t0;
        protocolTime += protocol;
        bareTime += bare;
        if (bare.count() > 0)
            ratios.push_back(std::chrono::duration<double>(protocol).count() /
                             std::chrono::duration<double>(bare).count());
        protocolFirst = !protocolFirst;
    }
    const double n = static_cast<double>(state.iterations());
    const double protocolSeconds = std::chrono::duration<double>(protocolTime).count();
    const double bareSeconds = std::chrono::duration<double>(bareTime).count();
    if (protocolSeconds <= 0 || bareSeconds <= 0 || ratios.empty())
        return;
    std::sort(ratios.begin(), ratios.end());
    const double median = Quantile(ratios, 0.5);
    state.counters["protocol_us_per_call"] = protocolSeconds * 1e6 / n;
    state.counters["bare_us_per_call"] = bareSeconds * 1e6 / n;
    if (bytes > 0) {
        state.counters["protocol_MB_per_s"] = bytes * n / protocolSeconds / 1e6;
        state.counters["bare_MB_per_s"] = bytes * n / bareSeconds / 1e6;
    }
    state.counters["ratio_median"] = median;
    // The middle half of the rounds, relative to the median.
    state.counters["ratio_spread_pct"] = (Quantile(ratios, 0.75) - Quantile(ratios, 0.25)) / median * 100.0;
    state.counters["ratio_of_totals"] = protocolSeconds / bareSeconds;
}

// A one-fragment service the simulator answers from its model: code word
// out, code, status and one word back.
void SmallService(benchmark::State& state)
{
    tProtocolSide side("");
    const unsigned int expected = 6;
    if (side.Call(kAddressSwitch) != expected) {
        state.SkipWithError("the simulator did not answer the service as expected");
        return;
    }
    const std::vector<tStep> script{{kHeader + 2, kHeader + expected}};
    CBareServer server(script);
    CBareClient client(server.Port());
    Interleave(
        state, [&] { return side.Call(kAddressSwitch) == expected; }, [&] { return client.Run(script); }, 0);
}

// A long text answer, announced in one fragment and fetched in full
// fragments: code word out, announcement back, then one header-only fetch
// per fragment.
void LongAnswer(benchmark::State& state)
{
    const auto fragments = static_cast<size_t>(state.range(0));
    // Code, status and three words come before the text.
    const size_t answerData = fragments * kFragmentData;
    const std::string text(answerData - 10, 't');
    tProtocolSide side(text);
    if (side.Call(kIdentify) != answerData) {
        state.SkipWithError("the simulator did not send the long answer as expected");
        return;
    }
    std::vector<tStep> script{{kHeader + 2, kHeader + 6}};
    for (size_t i = 0; i < fragments; ++i)
        script.push_back({kHeader, kHeader + kFragmentData});
    CBareServer server(script);
    CBareClient client(server.Port());
    Interleave(
        state, [&] { return side.Call(kIdentify) == answerData; }, [&] { return client.Run(script); },
        static_cast<double>(answerData));
}

BENCHMARK(SmallService)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(LongAnswer)->Arg(4)->Arg(47)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

}

namespace {

// Every thread of the benchmark (the host, the simulated device, the bare
// server) runs on one processor, so each hand-over between them is a switch
// on that processor. Spread over several, a hand-over is a wake-up on
// another processor, whose cost depends on where the scheduler put each
// thread and how deeply that processor slept: runs then differed by a factor
// of four. Threads inherit the setting, so it is made before any starts.
void PinToOneProcessor()
{
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    if (sched_getaffinity(0, sizeof allowed, &allowed) != 0)
        return;
    int chosen = sched_getcpu();
    if (chosen < 0 || !CPU_ISSET(chosen, &allowed))
        for (chosen = 0; chosen < CPU_SETSIZE && !CPU_ISSET(chosen, &allowed); ++chosen) {
        }
    if (chosen >= CPU_SETSIZE)
        return;
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(chosen, &one);
    sched_setaffinity(0, sizeof one, &one);
}

// Before main, so before the benchmark library or anything else starts a thread.
[[maybe_unused]] const bool g_pinned = (PinToOneProcessor(), true);

}

BENCHMARK_MAIN();
