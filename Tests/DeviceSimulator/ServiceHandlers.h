#pragma once

// The services of the device: one request's data in, one answer's data out.
// Transport and framing are not known here, so a serial side can use the same
// handlers.

#include <cstdint>
#include <optional>
#include <vector>

#include "Tests/DeviceSimulator/DeviceModel.h"

namespace DevSim {

enum ENCommand : uint16_t {
    COMMAND_IDENTIFICATION = 1,
    COMMAND_UPDATE = 0x1279
    // The service API's command is the model's protocolId (0x1288 by default).
};

struct tAnswer {
    std::vector<uint8_t> data;
    size_t statusOffset = 2; // where the service status word stands (10 for registers)
};

class CServiceHandlers {
public:
    CServiceHandlers(CDeviceModel& model, uint32_t sessionId) : model_(model), sessionId_(sessionId) {}

    // The answer to a complete request under `command`; nullopt when the
    // device does not speak that command at all.
    std::optional<tAnswer> Handle(uint16_t command, const std::vector<uint8_t>& request);

private:
    tAnswer ServiceApi(tDeviceData& device, const std::vector<uint8_t>& request);
    tAnswer IdentificationApi(tDeviceData& device, const std::vector<uint8_t>& request);
    tAnswer UpdateApi(tDeviceData& device, const std::vector<uint8_t>& request);
    tAnswer Registers(tDeviceData& device, uint16_t code, const std::vector<uint8_t>& request);
    tAnswer NetworkParameter(tDeviceData& device, uint16_t code, const std::vector<uint8_t>& request);

    CDeviceModel& model_;
    uint32_t sessionId_ = 0;
};

} // namespace DevSim
