// Register telegrams over a real serial connection to the simulated device's
// pseudo-terminal, in both transfer modes of the connection.
#include "Common/Communication/RS232Connection.h"
#include "Common/PelorusDLL/SIORegComm.h"
#include "Platform/Base/LastError.h"
#include "Tests/DeviceSimulator/SerialSimulator.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace DevSim;

namespace {

class SIORegCommSimulatorTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        tDeviceData data;
        data.registers[{0, 0}].words = std::vector<uint16_t>(128, 0);
        for (uint16_t i = 0; i < 128; ++i)
            data.registers[{0, 0}].words[i] = static_cast<uint16_t>(i * 3);
        data.registers[{4, 12}].words = std::vector<uint16_t>(256, 0);
        data.runtimeSystems = {1, 3};
        m_sim.Model().Set(data);
        ASSERT_TRUE(m_sim.Start()) << m_sim.LastError();
        const std::string path = m_sim.SlavePath();
        const std::wstring device(path.begin(), path.end());
        ASSERT_TRUE(m_connection.SetSettingsXML(L"<RS232 device='" + device + L"' timeout='300' asynchron='" +
                                              (GetParam() ? L"true" : L"false") + L"'/>"));
        ASSERT_NO_THROW(m_connection.Open());
        SetLastError(0);
    }
    void TearDown() override
    {
        if (m_connection.IsOpen())
            m_connection.Close();
        m_sim.Stop();
    }

    void AddFault(ENFault kind, uint16_t status = 0)
    {
        tFaultRule rule;
        rule.kind = kind;
        rule.status = status;
        m_sim.Faults().Add(rule);
    }

    CSerialSimulator m_sim;
    ZELL::CRS232Connection m_connection;
    CSIORegComm m_comm{&m_connection};
};

} // namespace

TEST_P(SIORegCommSimulatorTest, LongReadAndWriteRoundTrip)
{
    std::vector<unsigned short> data(100);
    ASSERT_TRUE(m_comm.ReadRegister(0, 0, 10, 100, data.data())) << std::hex << GetLastError();
    for (unsigned i = 0; i < 100; ++i)
        ASSERT_EQ(data[i], (10 + i) * 3) << i;
    EXPECT_EQ(m_sim.Telegrams().size(), 3u);

    std::vector<unsigned short> words(256);
    for (unsigned i = 0; i < 256; ++i)
        words[i] = static_cast<unsigned short>(0xA000 + i);
    ASSERT_TRUE(m_comm.WriteRegister(4, 12, 0, 256, words.data())) << std::hex << GetLastError();
    EXPECT_EQ(m_sim.Model().Get().registers.at({4, 12}).words, std::vector<uint16_t>(words.begin(), words.end()));
}

TEST_P(SIORegCommSimulatorTest, MailboxServiceThroughTable99)
{
    const unsigned short request[2] = {0x0106, 0}; // group 06, service 01
    ASSERT_TRUE(m_comm.WriteRegister(0, 99, 0, 2, request));
    std::vector<unsigned short> answer(44, 0xFFFF);
    ASSERT_TRUE(m_comm.ReadRegister(0, 99, 0, 44, answer.data())) << std::hex << GetLastError();
    EXPECT_EQ(answer[0], 0x0106);
    EXPECT_EQ(answer[1], 3); // status and two systems
    EXPECT_EQ(answer[2], 0);
    EXPECT_EQ(answer[3], 1);
    EXPECT_EQ(answer[4], 3);
    EXPECT_EQ(answer[5], 0); // not carried by the answer
}

TEST_P(SIORegCommSimulatorTest, DeviceErrorsBecomeCodes)
{
    unsigned short word = 0;
    EXPECT_FALSE(m_comm.ReadRegister(0, 9, 0, 1, &word));
    EXPECT_EQ(GetLastError(), 0x20088200u);
    EXPECT_FALSE(m_comm.ReadRegister(0, 0, 127, 2, &word));
    EXPECT_EQ(GetLastError(), 0x20088215u);
}

TEST_P(SIORegCommSimulatorTest, InjectedFaultsAreReportedAndTheLineRecovers)
{
    struct {
        ENFault kind;
        DWORD code;
    } cases[] = {
        {ENFault::BadChecksum, CSIORegComm::kInvalidChecksum},
        {ENFault::WrongWordCount, CSIORegComm::kWordCountMismatch},
        {ENFault::NoAnswer, 0x20010200u},
        {ENFault::ShortFrame, 0x20010200u},
        // Noise is refused at its first bytes, not waited on as silence.
        {ENFault::GarbageAnswer, CSIORegComm::kInvalidStart},
        {ENFault::RegisterError, 0x20088214u},
    };
    unsigned short words[2] = {};
    for (const auto& c : cases) {
        AddFault(c.kind, c.kind == ENFault::RegisterError ? 0x8214 : 0);
        SetLastError(0);
        EXPECT_FALSE(m_comm.ReadRegister(0, 0, 4, 2, words)) << static_cast<int>(c.kind);
        EXPECT_EQ(GetLastError(), c.code) << static_cast<int>(c.kind);
        // The next request is answered by its own answer, not by what is left of this one.
        ASSERT_TRUE(m_comm.ReadRegister(0, 0, 4, 2, words)) << static_cast<int>(c.kind);
        EXPECT_EQ(words[1], 15);
    }
}

TEST_P(SIORegCommSimulatorTest, BusyMailboxFailsTheRead)
{
    tFaultRule rule;
    rule.kind = ENFault::MailboxBusy;
    rule.match.readBack = true;
    m_sim.Faults().Add(rule);
    const unsigned short request[2] = {0x0206, 0};
    ASSERT_TRUE(m_comm.WriteRegister(0, 99, 0, 2, request));
    std::vector<unsigned short> answer(4);
    EXPECT_FALSE(m_comm.ReadRegister(0, 99, 0, 4, answer.data()));
    EXPECT_EQ(GetLastError(), 0x2008821Du);
    ASSERT_TRUE(m_comm.ReadRegister(0, 99, 0, 4, answer.data()));
    EXPECT_EQ(answer[3], 1); // the active runtime system
}

INSTANTIATE_TEST_SUITE_P(Modes, SIORegCommSimulatorTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Overlapped" : "Synchronous"; });
