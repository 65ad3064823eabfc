// Feeds arbitrary host bytes through the device's frame handling: the input
// is cut into frames the way the transport cuts them (header, then the body
// the header announces) and each frame goes to the session.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "Tests/DeviceSimulator/DeviceModel.h"
#include "Tests/DeviceSimulator/FaultPlan.h"
#include "Tests/DeviceSimulator/ServiceFrame.h"
#include "Tests/DeviceSimulator/ServiceSession.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    DevSim::CDeviceModel model;
    DevSim::tDeviceData device;
    device.checksumLength = (data[0] & 1) ? 2 : 0;
    device.protocolBufferSize = (data[0] & 2) ? 32 : 1400;
    device.AddDefaultPort(0, "127.0.0.1");
    device.registers[{0, 1}].words = std::vector<uint16_t>(64, 1);
    model.Set(device);
    DevSim::CFaultPlan faults;
    DevSim::CServiceSession session(model, faults, nullptr, 1);

    size_t pos = 1;
    while (size - pos >= DevSim::CServiceFrame::kHeaderSize) {
        const size_t body = session.BodySize(data + pos);
        const size_t total = DevSim::CServiceFrame::kHeaderSize + body;
        if (size - pos < total)
            break;
        const std::vector<uint8_t> frame(data + pos, data + pos + total);
        const DevSim::tReaction reaction = session.OnFrame(frame);
        if (reaction.after != DevSim::ENAfterSend::Nothing)
            break;
        pos += total;
    }
    session.OnClosed();
    return 0;
}
