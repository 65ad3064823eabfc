#include "Common/Communication/ServiceProtocol.h"
#include "Common/Communication/Tests/ServiceProtocolFakeDevice.h"
#include "Common/Communication/UpdateAPI.h"

#include <gtest/gtest.h>

#include <functional>

namespace ZELL::Testing {
namespace {

struct UpdateRig {
    using Service = std::function<Bytes(const Bytes& request)>;

    explicit UpdateRig(Service service_)
        : service(std::move(service_))
        , connection([this](const Bytes& frame) {
            frames.push_back(frame);
            const bool last = Word(frame, 4) == Word(frame, 6);
            return std::vector<Bytes>{AnswerTo(frame, 0x0004, 0, last ? service(Bytes(frame.begin() + 18, frame.end())) : Bytes{})};
        })
    {
    }

    Service service;
    std::vector<Bytes> frames;
    CFakeDeviceConnection connection;
    CServiceProtocol protocol{&connection};
    CUpdateAPI api{&protocol};
};

TEST(UpdateAPICommands, TravelUnderTheUpdateCommandWord)
{
    UpdateRig rig([](const Bytes&) { return Bytes{0, 0, 0, 0, 7, 0}; });
    WORD value = 0;
    ASSERT_TRUE(rig.api.RestartSystem(value));
    EXPECT_EQ(value, 7);
    EXPECT_EQ(Word(rig.frames.at(0), 0), 0x1279);
    EXPECT_EQ(Word(rig.frames.at(0), 18), 8);
}

TEST(UpdateAPICommands, ShortAnswersFail)
{
    UpdateRig rig([](const Bytes&) { return Bytes{0, 0, 0, 0}; });
    WORD value = 3;
    EXPECT_FALSE(rig.api.RestartSystem(value));
    EXPECT_EQ(value, 3);
    EXPECT_EQ(rig.api.GetLastCommandError(), 7);
    EXPECT_EQ(rig.api.GetLastCommandError(), 7) << "not cleared by reading";
    WORD a = 1, b = 1, c = 1;
    EXPECT_TRUE(rig.api.IdentifyDevice(a, b, c, nullptr)) << "a short identification leaves the outputs";
    EXPECT_EQ(a, 1);
}

TEST(UpdateAPICommands, FlashStateNeedsEightBytesAndResultZero)
{
    Bytes reply{7, 0, 0, 0, 1, 0, 3, 0, 0, 0};
    UpdateRig rig([&reply](const Bytes&) { return reply; });
    WORD state = 0, result = 0;
    EXPECT_FALSE(rig.api.GetSaveDataToFlashState(state, result));
    EXPECT_EQ(rig.api.GetLastCommandError(), 6);
    reply.resize(8);
    EXPECT_FALSE(rig.api.GetSaveDataToFlashState(state, result));
    EXPECT_EQ(state, 1);
    EXPECT_EQ(result, 3);
}

TEST(UpdateAPICommands, ClosedConnection)
{
    UpdateRig rig([](const Bytes&) { return Bytes{}; });
    rig.connection.m_open = false;
    WORD value = 0;
    EXPECT_FALSE(rig.api.RestartMinimalSystem(value));
    EXPECT_EQ(rig.api.GetLastCommandError(), 5);
    EXPECT_TRUE(rig.frames.empty());
}

TEST(UpdateAPIUpload, ImageIsFragmentedWithProgress)
{
    UpdateRig rig([](const Bytes&) { return Bytes{5, 0, 0, 0}; });
    std::vector<unsigned short> seen;
    auto progress = [](unsigned short percent, bool, void* context) {
        static_cast<std::vector<unsigned short>*>(context)->push_back(percent);
    };
    const Bytes image(2800, 0xAB);
    ASSERT_TRUE(rig.api.UploadRawHexFileToDevice(image.data(), 2800, progress, &seen));
    ASSERT_EQ(rig.frames.size(), 3u) << "2802 bytes in fragments of 1400";
    EXPECT_EQ(Word(rig.frames[0], 18), 5);
    EXPECT_EQ(rig.frames[2].size(), 18u + 2u);
    EXPECT_EQ(seen.back(), 100);
}

TEST(UpdateAPIUpload, BadRequestsSendNothing)
{
    UpdateRig rig([](const Bytes&) { return Bytes{}; });
    const BYTE notUpload[] = {6, 0, 1};
    EXPECT_FALSE(rig.api.UploadHexFileWithCommandToDevice(notUpload, 1, nullptr, nullptr));
    EXPECT_EQ(rig.api.GetLastCommandError(), 9);
    const BYTE data[] = {1};
    EXPECT_FALSE(rig.api.UploadRawHexFileToDevice(data, -1, nullptr, nullptr));
    EXPECT_FALSE(rig.api.UploadRawHexFileToDevice(data, std::numeric_limits<LONG>::min(), nullptr, nullptr));
    EXPECT_FALSE(rig.api.TransmitRawDataToDevice(3, data, -5));
    EXPECT_TRUE(rig.frames.empty());
}

TEST(UpdateAPICommands, CommandStateChecksItsEcho)
{
    Bytes reply{0x66, 0x06, 0, 0, 9, 0, 4, 0};
    UpdateRig rig([&reply](const Bytes&) { return reply; });
    WORD state = 0;
    ASSERT_TRUE(rig.api.GetCommandState(9, state));
    EXPECT_EQ(state, 4);
    EXPECT_FALSE(rig.api.GetCommandState(8, state));
    EXPECT_EQ(rig.api.GetLastCommandError(), 8);
}

}
}
