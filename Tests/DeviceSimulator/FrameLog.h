#pragma once

// The frames the device received, for tests that check what a host sent.

#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <vector>

#include "Tests/DeviceSimulator/ServiceFrame.h"

namespace DevSim {

struct tFrameRecord {
    uint32_t frameNumber = 0;
    uint32_t sessionId = 0;
    tFrameHeader header;
    std::optional<uint32_t> exclusiveId;
    std::vector<uint8_t> data;
    bool checksumOk = true;
};

class CFrameLog {
public:
    static constexpr size_t kMaxRecords = 4096; // oldest records go first

    void Add(tFrameRecord record);
    std::vector<tFrameRecord> Records() const;
    size_t Size() const;
    void Clear();

private:
    mutable std::mutex mutex_;
    std::deque<tFrameRecord> records_;
};

} // namespace DevSim
