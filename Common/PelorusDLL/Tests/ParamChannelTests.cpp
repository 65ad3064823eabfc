#include "Common/PelorusDLL/ParamComRegComBase.h"
#include "Common/PelorusDLL/Tests/MemoryService.h"

#include "Platform/Base/Clock.h"
#include "Platform/Base/LastError.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

using Words = std::vector<unsigned short>;

constexpr unsigned short kChannel = 3;

// A module at node position 3 with an indexed parameter set behind
// registers 56 (data) and 57 (control/status) of table 0.
class ParamChannel : public ::testing::Test {
protected:
    CFakeConnection connection;
    CMemoryService service{&connection};
    std::map<unsigned short, unsigned short> parameters;
    Words controlWords;
    bool echoes = true;
    unsigned short statusFlags = 0;
    unsigned short status = 0;

    void SetUp() override
    {
        for (unsigned short index = 0; index < 256; ++index)
            parameters[index] = static_cast<unsigned short>(1000 + index);
        auto& table = service.registers[{kChannel, 0}];
        table[56] = 0;
        table[57] = status;
        service.onRegisterWrite = [this](const CMemoryService::RegisterWrite& write) {
            if (write.position != kChannel || write.table != 0 || write.start != 57)
                return;
            auto& registers = service.registers[{kChannel, 0}];
            const unsigned short control = write.words[0];
            controlWords.push_back(control);
            const unsigned short index = control & 0xFF;
            if (echoes) {
                if (control & 0x4000)
                    parameters[index] = registers[56];
                else
                    registers[56] = parameters[index];
                status = static_cast<unsigned short>(control & 0x8000);
            }
            registers[57] = static_cast<unsigned short>(status | statusFlags);
        };
    }
};

TEST_F(ParamChannel, ThreeReadsFromIndexTen)
{
    Words data(3);
    ASSERT_TRUE(service.ParamChannelRead(kChannel, 10, data.data(), 3));
    EXPECT_EQ(data, (Words{1010, 1011, 1012}));
    // Indices 10-12, "more" on the first two, read, toggle alternating from
    // the inverse of the status the module showed.
    EXPECT_EQ(controlWords, (Words{0xA00A, 0x200B, 0x800C}));
    EXPECT_EQ(service.GetLastErrorCode(), 0u);
}

TEST_F(ParamChannel, NextSequenceResynchronisesTheToggle)
{
    Words data(1);
    ASSERT_TRUE(service.ParamChannelRead(kChannel, 1, data.data(), 1));
    // Someone else talked to the module in between.
    status = 0x8000;
    service.registers[{kChannel, 0}][57] = status;
    ASSERT_TRUE(service.ParamChannelRead(kChannel, 2, data.data(), 1));
    EXPECT_EQ(controlWords, (Words{0x8001, 0x0002}));
}

TEST_F(ParamChannel, WritesPutTheDataWordFirst)
{
    const Words values{7, 8};
    ASSERT_TRUE(service.ParamChannelWrite(kChannel, 20, values.data(), 2));
    EXPECT_EQ(parameters[20], 7);
    EXPECT_EQ(parameters[21], 8);
    EXPECT_EQ(controlWords, (Words{0xE014, 0x4015}));
}

TEST_F(ParamChannel, DefaultAndCountUseIndex255)
{
    unsigned short count = 0;
    ASSERT_TRUE(service.ParamChannelGetParamCount(kChannel, count));
    EXPECT_EQ(count, 1255);
    ASSERT_TRUE(service.ParamChannelDefault(kChannel));
    EXPECT_EQ(parameters[255], 0);
    EXPECT_EQ(controlWords.back() & 0x7FFF, 0x40FF);
}

TEST_F(ParamChannel, IndexPast255IsRefusedBeforeAnythingIsSent)
{
    Words data(3);
    EXPECT_FALSE(service.ParamChannelRead(kChannel, 254, data.data(), 3));
    EXPECT_EQ(service.GetLastErrorCode(), PELORUS_ERROR_INVALID_ARGUMENT);
    EXPECT_FALSE(service.ParamChannelWrite(kChannel, 300, data.data(), 1));
    EXPECT_EQ(service.GetLastErrorCode(), PELORUS_ERROR_INVALID_ARGUMENT);
    EXPECT_FALSE(service.ParamChannelRead(kChannel, 0, nullptr, 1));
    EXPECT_EQ(service.GetLastErrorCode(), PELORUS_ERROR_INVALID_ARGUMENT);
    EXPECT_TRUE(service.registerWrites.empty());
    EXPECT_EQ(service.Calls("ReadRegister"), 0);
}

TEST_F(ParamChannel, ChannelZeroLeavesTheStoredCode)
{
    service.SetLastErrorCode(0x20088212);
    Words data(1);
    EXPECT_FALSE(service.ParamChannelRead(0, 1, data.data(), 1));
    EXPECT_EQ(GetLastError(), PELORUS_ERROR_INVALID_ARGUMENT);
    EXPECT_FALSE(service.ParamChannelWrite(0, 1, data.data(), 1));
    EXPECT_EQ(service.GetLastErrorCode(), 0x20088212u);
    EXPECT_TRUE(service.registerWrites.empty());
}

TEST_F(ParamChannel, ModuleThatNeverEchoesTimesOut)
{
    Platform::ManualClockScope clock(0);
    echoes = false;
    // Each status read costs the link 10 ms.
    service.beforeRegisterRead = [](unsigned int, unsigned int, unsigned int start) {
        if (start == 57)
            Platform::Clock::Advance(10);
    };
    EXPECT_EQ(service.ParamChannelTimeout(), 3000u);
    Words data(1);
    EXPECT_FALSE(service.ParamChannelRead(kChannel, 1, data.data(), 1));
    EXPECT_EQ(service.GetLastErrorCode(), 0x20058009u);
    EXPECT_GE(GetTickCount(), 3000u);
    EXPECT_LE(GetTickCount(), 3020u);
}

TEST_F(ParamChannel, FrozenClockStillEndsTheWait)
{
    Platform::ManualClockScope clock(0);
    echoes = false;
    service.ParamChannelTimeout(50);
    EXPECT_EQ(service.ParamChannelTimeout(), 50u);
    Words data(1);
    EXPECT_FALSE(service.ParamChannelWrite(kChannel, 1, data.data(), 1));
    EXPECT_EQ(service.GetLastErrorCode(), 0x20058009u);
    EXPECT_EQ(GetTickCount(), 0u);
    EXPECT_LT(service.Calls("ReadRegister"), 10000);
}

TEST_F(ParamChannel, ModuleErrorFlagsEndTheHandshake)
{
    struct Case {
        unsigned short flags;
        unsigned long code;
    };
    for (const Case& c : {Case{0x2000, 0x20058007}, Case{0x4000, 0x20058006}, Case{0x1000, 0x20058008},
                          Case{0x3000, 0x20058007}}) {
        statusFlags = c.flags;
        Words data(2);
        EXPECT_FALSE(service.ParamChannelRead(kChannel, 1, data.data(), 2));
        EXPECT_EQ(service.GetLastErrorCode(), c.code) << c.flags;
    }
}

TEST_F(ParamChannel, FailedRegisterAccessKeepsTheServiceCode)
{
    service.Fail("WriteRegister", 0x20010200);
    Words data(1);
    EXPECT_FALSE(service.ParamChannelRead(kChannel, 1, data.data(), 1));
    EXPECT_EQ(service.GetLastErrorCode(), 0x20010200u);
    service.Fail("WriteRegister", 0);
    // The handshake works, but the data register is missing.
    service.registers[{kChannel, 0}].erase(56);
    parameters.clear();
    service.onRegisterWrite = [&](const CMemoryService::RegisterWrite& write) {
        service.registers[{kChannel, 0}][57] = write.words[0] & 0x8000;
    };
    EXPECT_FALSE(service.ParamChannelRead(kChannel, 1, data.data(), 1));
    EXPECT_EQ(service.GetLastErrorCode(), PELORUS_ERROR_REGISTER_OUT_OF_RANGE);
}

// The channel class on its own, with register operations that record.
class CRecordingChannel : public CParamComRegister {
public:
    Words written;
    unsigned short status = 0;
    bool failStatus = false;

    bool WriteControlWord(unsigned short, unsigned short, unsigned short word) override
    {
        written.push_back(word);
        status = word & 0x8000;
        return true;
    }
    bool ReadStatusWord(unsigned short, unsigned short, unsigned short& word) override
    {
        word = status;
        return !failStatus;
    }
    bool WriteDataWord(unsigned short, unsigned short, unsigned short) override { return false; }
    bool ReadDataWord(unsigned short, unsigned short, unsigned short& word) override
    {
        word = 5;
        return true;
    }
};

TEST(ParamChannelRegister, ErrorsNameTheStepThatFailed)
{
    CRecordingChannel channel;
    unsigned short data = 0;
    EXPECT_TRUE(channel.ReadParameter(1, 0, &data));
    EXPECT_EQ(data, 5);
    EXPECT_EQ(channel.written, (Words{0x80FF}));
    EXPECT_FALSE(channel.WriteDefault(1, 0));
    EXPECT_EQ(channel.GetError(), CParamComRegister::ErrorWriteData);
    channel.failStatus = true;
    EXPECT_FALSE(channel.ReadParameters(1, 0, 0, &data, 1));
    EXPECT_EQ(channel.GetError(), CParamComRegister::ErrorReadStatus);
    channel.ClearError();
    EXPECT_EQ(channel.GetError(), 0);
}

TEST(ParamChannelRegister, WithoutAServiceEveryAccessFails)
{
    CParamComRegComBase channel;
    unsigned short data = 0;
    EXPECT_FALSE(channel.ReadParameter(1, 0, &data));
    EXPECT_EQ(channel.GetError(), CParamComRegister::ErrorReadStatus);
}

}
