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
    CFakeConnection m_connection;
    CMemoryService m_service{&m_connection};
    std::map<unsigned short, unsigned short> m_parameters;
    Words m_controlWords;
    bool m_echoes = true;
    unsigned short m_statusFlags = 0;
    unsigned short m_status = 0;

    void SetUp() override
    {
        for (unsigned short index = 0; index < 256; ++index)
            m_parameters[index] = static_cast<unsigned short>(1000 + index);
        auto& table = m_service.m_registers[{kChannel, 0}];
        table[56] = 0;
        table[57] = m_status;
        m_service.m_onRegisterWrite = [this](const CMemoryService::RegisterWrite& write) {
            if (write.position != kChannel || write.table != 0 || write.start != 57)
                return;
            auto& registers = m_service.m_registers[{kChannel, 0}];
            const unsigned short control = write.words[0];
            m_controlWords.push_back(control);
            const unsigned short index = control & 0xFF;
            if (m_echoes) {
                if (control & 0x4000)
                    m_parameters[index] = registers[56];
                else
                    registers[56] = m_parameters[index];
                m_status = static_cast<unsigned short>(control & 0x8000);
            }
            registers[57] = static_cast<unsigned short>(m_status | m_statusFlags);
        };
    }
};

TEST_F(ParamChannel, ThreeReadsFromIndexTen)
{
    Words data(3);
    ASSERT_TRUE(m_service.ParamChannelRead(kChannel, 10, data.data(), 3));
    EXPECT_EQ(data, (Words{1010, 1011, 1012}));
    // Indices 10-12, "more" on the first two, read, toggle alternating from
    // the inverse of the status the module showed.
    EXPECT_EQ(m_controlWords, (Words{0xA00A, 0x200B, 0x800C}));
    EXPECT_EQ(m_service.GetLastErrorCode(), 0u);
}

TEST_F(ParamChannel, NextSequenceResynchronisesTheToggle)
{
    Words data(1);
    ASSERT_TRUE(m_service.ParamChannelRead(kChannel, 1, data.data(), 1));
    // Someone else talked to the module in between.
    m_status = 0x8000;
    m_service.m_registers[{kChannel, 0}][57] = m_status;
    ASSERT_TRUE(m_service.ParamChannelRead(kChannel, 2, data.data(), 1));
    EXPECT_EQ(m_controlWords, (Words{0x8001, 0x0002}));
}

TEST_F(ParamChannel, WritesPutTheDataWordFirst)
{
    const Words values{7, 8};
    ASSERT_TRUE(m_service.ParamChannelWrite(kChannel, 20, values.data(), 2));
    EXPECT_EQ(m_parameters[20], 7);
    EXPECT_EQ(m_parameters[21], 8);
    EXPECT_EQ(m_controlWords, (Words{0xE014, 0x4015}));
}

TEST_F(ParamChannel, DefaultAndCountUseIndex255)
{
    unsigned short count = 0;
    ASSERT_TRUE(m_service.ParamChannelGetParamCount(kChannel, count));
    EXPECT_EQ(count, 1255);
    ASSERT_TRUE(m_service.ParamChannelDefault(kChannel));
    EXPECT_EQ(m_parameters[255], 0);
    EXPECT_EQ(m_controlWords.back() & 0x7FFF, 0x40FF);
}

TEST_F(ParamChannel, IndexPast255IsRefusedBeforeAnythingIsSent)
{
    Words data(3);
    EXPECT_FALSE(m_service.ParamChannelRead(kChannel, 254, data.data(), 3));
    EXPECT_EQ(m_service.GetLastErrorCode(), PELORUS_ERROR_INVALID_ARGUMENT);
    EXPECT_FALSE(m_service.ParamChannelWrite(kChannel, 300, data.data(), 1));
    EXPECT_EQ(m_service.GetLastErrorCode(), PELORUS_ERROR_INVALID_ARGUMENT);
    EXPECT_FALSE(m_service.ParamChannelRead(kChannel, 0, nullptr, 1));
    EXPECT_EQ(m_service.GetLastErrorCode(), PELORUS_ERROR_INVALID_ARGUMENT);
    EXPECT_TRUE(m_service.m_registerWrites.empty());
    EXPECT_EQ(m_service.Calls("ReadRegister"), 0);
}

TEST_F(ParamChannel, ChannelZeroLeavesTheStoredCode)
{
    m_service.SetLastErrorCode(0x20088212);
    Words data(1);
    EXPECT_FALSE(m_service.ParamChannelRead(0, 1, data.data(), 1));
    EXPECT_EQ(GetLastError(), PELORUS_ERROR_INVALID_ARGUMENT);
    EXPECT_FALSE(m_service.ParamChannelWrite(0, 1, data.data(), 1));
    EXPECT_EQ(m_service.GetLastErrorCode(), 0x20088212u);
    EXPECT_TRUE(m_service.m_registerWrites.empty());
}

TEST_F(ParamChannel, ModuleThatNeverEchoesTimesOut)
{
    Platform::ManualClockScope clock(0);
    m_echoes = false;
    // Each status read costs the link 10 ms.
    m_service.m_beforeRegisterRead = [](unsigned int, unsigned int, unsigned int start) {
        if (start == 57)
            Platform::Clock::Advance(10);
    };
    EXPECT_EQ(m_service.ParamChannelTimeout(), 3000u);
    Words data(1);
    EXPECT_FALSE(m_service.ParamChannelRead(kChannel, 1, data.data(), 1));
    EXPECT_EQ(m_service.GetLastErrorCode(), 0x20058009u);
    EXPECT_GE(GetTickCount(), 3000u);
    EXPECT_LE(GetTickCount(), 3020u);
}

TEST_F(ParamChannel, FrozenClockStillEndsTheWait)
{
    Platform::ManualClockScope clock(0);
    m_echoes = false;
    m_service.ParamChannelTimeout(50);
    EXPECT_EQ(m_service.ParamChannelTimeout(), 50u);
    Words data(1);
    EXPECT_FALSE(m_service.ParamChannelWrite(kChannel, 1, data.data(), 1));
    EXPECT_EQ(m_service.GetLastErrorCode(), 0x20058009u);
    EXPECT_EQ(GetTickCount(), 0u);
    EXPECT_LT(m_service.Calls("ReadRegister"), 10000);
}

TEST_F(ParamChannel, ModuleErrorFlagsEndTheHandshake)
{
    struct Case {
        unsigned short flags;
        unsigned long code;
    };
    for (const Case& c : {Case{0x2000, 0x20058007}, Case{0x4000, 0x20058006}, Case{0x1000, 0x20058008},
                          Case{0x3000, 0x20058007}}) {
        m_statusFlags = c.flags;
        Words data(2);
        EXPECT_FALSE(m_service.ParamChannelRead(kChannel, 1, data.data(), 2));
        EXPECT_EQ(m_service.GetLastErrorCode(), c.code) << c.flags;
    }
}

TEST_F(ParamChannel, FailedRegisterAccessKeepsTheServiceCode)
{
    m_service.Fail("WriteRegister", 0x20010200);
    Words data(1);
    EXPECT_FALSE(m_service.ParamChannelRead(kChannel, 1, data.data(), 1));
    EXPECT_EQ(m_service.GetLastErrorCode(), 0x20010200u);
    m_service.Fail("WriteRegister", 0);
    // The handshake works, but the data register is missing.
    m_service.m_registers[{kChannel, 0}].erase(56);
    m_parameters.clear();
    m_service.m_onRegisterWrite = [&](const CMemoryService::RegisterWrite& write) {
        m_service.m_registers[{kChannel, 0}][57] = write.words[0] & 0x8000;
    };
    EXPECT_FALSE(m_service.ParamChannelRead(kChannel, 1, data.data(), 1));
    EXPECT_EQ(m_service.GetLastErrorCode(), PELORUS_ERROR_REGISTER_OUT_OF_RANGE);
}

// The channel class on its own, with register operations that record.
class CRecordingChannel : public CParamComRegister {
public:
    Words m_written;
    unsigned short m_status = 0;
    bool m_failStatus = false;

    bool WriteControlWord(unsigned short, unsigned short, unsigned short word) override
    {
        m_written.push_back(word);
        m_status = word & 0x8000;
        return true;
    }
    bool ReadStatusWord(unsigned short, unsigned short, unsigned short& word) override
    {
        word = m_status;
        return !m_failStatus;
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
    EXPECT_EQ(channel.m_written, (Words{0x80FF}));
    EXPECT_FALSE(channel.WriteDefault(1, 0));
    EXPECT_EQ(channel.GetError(), CParamComRegister::ErrorWriteData);
    channel.m_failStatus = true;
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
