#pragma once

// The device side of the fragmenting service protocol for one connection,
// free of any transport: the transport hands over whole received frames and
// carries out the reaction (bytes to send, a wait before, what to do after).

#include <cstdint>
#include <optional>
#include <vector>

#include "Tests/DeviceSimulator/DeviceModel.h"
#include "Tests/DeviceSimulator/FaultPlan.h"
#include "Tests/DeviceSimulator/FrameLog.h"
#include "Tests/DeviceSimulator/ServiceFrame.h"
#include "Tests/DeviceSimulator/ServiceHandlers.h"

namespace DevSim {

enum class ENAfterSend { Nothing, Close, Reset };

struct tReaction {
    std::vector<uint8_t> bytes; // may be empty: nothing to send
    uint32_t delayMs = 0;       // wait before sending
    ENAfterSend after = ENAfterSend::Nothing;
};

class CServiceSession {
public:
    static constexpr size_t kMaxRequestSize = 16u * 1024 * 1024;

    CServiceSession(CDeviceModel& model, CFaultPlan& faults, CFrameLog* log, uint32_t sessionId);

    // Size of what follows an 18-byte header on the wire, and how long the
    // device waits for it.
    size_t BodySize(const uint8_t* header) const;
    uint32_t FrameTimeoutMs() const;

    tReaction OnFrame(const std::vector<uint8_t>& bytes);
    // The connection is gone: a non-permanent exclusive mode of this session ends.
    void OnClosed();

private:
    struct tOut {
        tFrameHeader header;
        std::optional<uint32_t> exclusiveId;
        std::vector<uint8_t> data;
    };
    struct tPendingRequest {
        bool active = false;
        uint16_t transaction = 0;
        uint16_t command = 0;
        uint16_t count = 0;
        uint16_t serviceCode = 0;
        std::vector<std::vector<uint8_t>> slices;
    };
    struct tPendingAnswer {
        bool active = false;
        uint16_t transaction = 0;
        uint16_t serviceCode = 0;
        uint16_t total = 0;
        size_t perFragment = 1;
        bool fullSlices = false; // every slice perFragment bytes, zeros behind the data
        std::vector<uint8_t> data;
    };
    struct tSettings {
        uint16_t checksumLength = 0;
        uint16_t bufferSize = 0;
        uint32_t exclusiveIdent = 0;
    };

    tSettings Settings() const;
    static tOut Echo(const tServiceFrame& frame);
    static tOut Accept(const tServiceFrame& frame);
    static tOut Repeat(const tServiceFrame& frame);
    static tOut Error(const tServiceFrame& frame, uint16_t status);
    static tOut Resend(const tServiceFrame& frame, uint16_t serviceCode, uint16_t fragment);

    bool CompletesRequest(const tServiceFrame& frame) const;
    uint16_t ServiceCodeOf(const tServiceFrame& frame, bool readBack) const;
    tOut Receive(const tServiceFrame& frame, const tSettings& settings, const std::optional<tFaultRule>& fault);
    tOut Complete(const tServiceFrame& frame, const std::vector<uint8_t>& request, const tSettings& settings,
                  const std::optional<tFaultRule>& fault);
    tOut ReadBack(const tServiceFrame& frame);
    static void ApplyAnswerFault(tAnswer& answer, uint16_t serviceCode, const tFaultRule& fault);
    static tReaction Finish(tOut out, const tSettings& settings, const std::optional<tFaultRule>& fault);
    static void ApplyBytesFault(tReaction& reaction, const tSettings& settings, const tFaultRule& fault);

    CDeviceModel& model_;
    CFaultPlan& faults_;
    CFrameLog* log_ = nullptr;
    uint32_t sessionId_ = 0;
    CServiceHandlers handlers_;
    tPendingRequest request_;
    tPendingAnswer answer_;
};

} // namespace DevSim
