#pragma once

// The service mailbox of the serial side: register table 99 of node position
// 0. The host writes a request (word 0: group in the low byte, service in the
// high byte; word 1: number of data words; then the data) and reads the
// answer back from the same registers (word 0: echo; word 1: number of words
// that follow; word 2: status; then the data). Writing register 0 starts the
// service, so a long request written from register 1 first and word 0 last
// runs once, complete. A raw answer of the model for the service replaces
// the regular one as it stands.

#include <array>
#include <cstdint>
#include <vector>

#include "Tests/DeviceSimulator/DeviceModel.h"

namespace DevSim {

class CSerialMailbox {
public:
    static constexpr size_t kWords = 256;

    // Stores `words` from register `start` on; true when register 0 was
    // among them and the service ran. The caller has checked the range.
    bool Write(tDeviceData& device, uint16_t start, const std::vector<uint16_t>& words);
    // The answer words from `start` on, at most `count`: no more than the
    // answer holds.
    std::vector<uint16_t> Read(uint16_t start, uint16_t count) const;

    uint16_t RequestCode() const { return words_[0]; }
    // Changes the finished answer (fault injection).
    void SetStatus(uint16_t status);

private:
    struct tResult {
        uint16_t status = STATUS_OK;
        std::vector<uint16_t> data;
    };
    tResult Run(tDeviceData& device, uint8_t group, uint8_t service, const std::vector<uint16_t>& args);
    static tResult Monitor(tDeviceData& device, uint16_t subCommand);

    std::array<uint16_t, kWords> words_{};
    size_t answerWords_ = 0;
};

} // namespace DevSim
