#pragma once

// The simulated device on a serial line: a pseudo-terminal whose slave side a
// host opens like a COM port, answering register telegrams from the device
// model, with the service mailbox in table 99 of node position 0. One thread
// reads the master side; its waits also watch a wake-up pipe, so Stop() ends
// it at once.
//
// Fault rules see each telegram as: command = the table byte as received
// (bit 7 set for a write), fragmentNumber = the start register, readBack =
// a read, serviceCode = word 0 of the mailbox request (mailbox telegrams
// only), completesRequest = the write that starts a mailbox service.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "Tests/DeviceSimulator/DeviceModel.h"
#include "Tests/DeviceSimulator/FaultPlan.h"
#include "Tests/DeviceSimulator/SerialMailbox.h"

namespace DevSim {

struct tSerialRecord {
    uint32_t frameNumber = 0;
    std::vector<uint8_t> telegram; // as received, checksum included
    bool checksumOk = true;
};

class CSerialSimulator {
public:
    static constexpr uint8_t kMailboxTable = 99;

    CSerialSimulator() = default;
    ~CSerialSimulator();
    CSerialSimulator(const CSerialSimulator&) = delete;
    CSerialSimulator& operator=(const CSerialSimulator&) = delete;

    // False (with LastError()) when no pseudo-terminal can be set up or the
    // simulator already runs.
    bool Start();
    void Stop();
    bool IsRunning() const { return running_; }
    std::string SlavePath() const { return slavePath_; }
    std::string LastError() const;

    CDeviceModel& Model() { return model_; }
    CFaultPlan& Faults() { return faults_; }
    std::vector<tSerialRecord> Telegrams() const;

    // Device side of the wire format, public for tests of their own.
    static uint16_t Checksum(const std::vector<uint8_t>& telegram, size_t length);

private:
    void Loop();
    bool ReadMore(std::vector<uint8_t>& pending, int timeoutMs);
    // Takes the next complete telegram from `pending`; nullopt when more bytes are needed.
    std::optional<std::vector<uint8_t>> NextTelegram(std::vector<uint8_t>& pending);
    void Handle(const std::vector<uint8_t>& telegram);
    bool Send(const std::vector<uint8_t>& bytes);
    bool Sleep(uint32_t ms);
    void SetError(const std::string& text);

    std::vector<uint8_t> Registers(tDeviceData& device, const std::vector<uint8_t>& request,
                                   const std::optional<tFaultRule>& fault);
    std::vector<uint8_t> Mailbox(tDeviceData& device, const std::vector<uint8_t>& request,
                                 const std::optional<tFaultRule>& fault);
    static std::vector<uint8_t> Error(const std::vector<uint8_t>& request, uint16_t status);
    static std::vector<uint8_t> Build(const std::vector<uint8_t>& request, uint8_t count, uint8_t tableByte,
                                      const std::vector<uint16_t>& words);

    CDeviceModel model_;
    CFaultPlan faults_;
    CSerialMailbox mailbox_; // only the loop thread touches it

    mutable std::mutex mutex_; // guards lastError_, records_
    std::string lastError_;
    std::vector<tSerialRecord> records_;
    std::string slavePath_;
    std::thread thread_;
    int master_ = -1;
    int slaveHold_ = -1; // keeps the line up while no host has it open
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    std::atomic<bool> running_{false};
    std::atomic<bool> stopping_{false};
};

} // namespace DevSim
