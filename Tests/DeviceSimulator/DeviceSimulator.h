#pragma once

// The simulated device on TCP: listens on 127.0.0.1, one thread per
// connection, each speaking the service protocol against the shared model
// and fault plan. Every wait of every thread also watches a wake-up pipe, so
// Stop() ends them all at once and its joins are short.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "Tests/DeviceSimulator/DeviceModel.h"
#include "Tests/DeviceSimulator/FaultPlan.h"
#include "Tests/DeviceSimulator/FrameLog.h"

namespace DevSim {

class CDeviceSimulator {
public:
    static constexpr uint16_t kServicePort = 6626;

    CDeviceSimulator() = default;
    ~CDeviceSimulator();
    CDeviceSimulator(const CDeviceSimulator&) = delete;
    CDeviceSimulator& operator=(const CDeviceSimulator&) = delete;

    // port 0: an ephemeral port. False (with LastError()) when the socket
    // cannot be set up or the simulator already runs.
    bool Start(uint16_t port = 0);
    // Listens on another loopback address (127.x.y.z, host order) from the
    // next Start on, so that several devices can sit at distinct addresses.
    // False for an address outside 127.0.0.0/8.
    bool SetLoopbackAddress(uint32_t address);
    // Listens on any one IPv4 address (host order) from the next Start on:
    // for the program, told where to sit, e.g. inside a test's own network
    // namespace.
    void SetListenAddress(uint32_t address) { bindAddress_ = address; }
    void Stop();
    bool IsRunning() const { return running_; }
    uint16_t Port() const { return port_; }
    std::string LastError() const;

    CDeviceModel& Model() { return model_; }
    CFaultPlan& Faults() { return faults_; }
    CFrameLog& Log() { return log_; }

    size_t OpenConnections() const;   // sessions running now
    size_t AcceptedConnections() const; // since Start
    // Waits until `count` sessions are open (true) or the time is up.
    bool WaitForOpenConnections(size_t count, std::chrono::milliseconds timeout) const;

private:
    struct tSession {
        int fd = -1;
        uint32_t id = 0;
        std::thread thread;
        std::atomic<bool> finished{false};
    };

    void ListenLoop();
    void SessionLoop(tSession& session);
    void ReapFinished(bool all);
    void SetError(const std::string& text);

    CDeviceModel model_;
    CFaultPlan faults_;
    CFrameLog log_;

    mutable std::mutex mutex_; // guards sessions_, lastError_
    std::list<std::unique_ptr<tSession>> sessions_;
    std::string lastError_;
    std::thread listener_;
    int listenFd_ = -1;
    uint32_t bindAddress_ = 0x7F000001; // 127.0.0.1
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    uint16_t port_ = 0;
    std::atomic<bool> running_{false};
    std::atomic<size_t> openCount_{0};
    std::atomic<size_t> acceptedCount_{0};
    uint32_t nextSessionId_ = 1;
};

} // namespace DevSim
