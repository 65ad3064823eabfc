#pragma once
// The serial service on a real RS-232 connection to the simulated device's
// pseudo-terminal, under the manual clock so that the service's waits cost
// no real time.

#include "Common/Communication/RS232Connection.h"
#include "Common/PelorusDLL/SIOService.h"
#include "Platform/Base/Clock.h"
#include "Platform/Base/LastError.h"
#include "Tests/DeviceSimulator/SerialSimulator.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class SIOServiceTest : public ::testing::Test {
protected:
    static constexpr uint8_t kMailboxWrite = 0x80 | DevSim::CSerialSimulator::kMailboxTable;

    void SetUp() override
    {
        DevSim::tDeviceData data;
        data.identItems = {{"ORDER", "614-881"},        {"DESCR", "Simulated coupler"}, {"HW-VER", "01"},
                           {"SW-VER", "01.02.03"},      {"FWL-VER", "IDX=3"},           {"IMEI", "356938035643809"},
                           {"FW-BURN-DATE", "2026-01-01"}, {"PSN", "PSN0001"}};
        data.registers[{0, 0}].words = std::vector<uint16_t>(256, 7);
        data.registers[{0, 100}].words = std::vector<uint16_t>(64, 0);
        data.AddDefaultPort(0, "192.168.1.10");
        data.runtimeSystems = {1, 3};
        m_sim.Model().Set(data);
        ASSERT_TRUE(m_sim.Start()) << m_sim.LastError();
        Connect(0);
    }
    void TearDown() override
    {
        m_service.reset();
        if (m_connection.IsOpen())
            m_connection.Close();
        m_sim.Stop();
    }

    void Connect(unsigned restartTimeoutSeconds)
    {
        if (m_connection.IsOpen())
            m_connection.Close();
        const std::string path = m_sim.SlavePath();
        ASSERT_TRUE(m_connection.SetSettingsXML(L"<RS232 device='" + std::wstring(path.begin(), path.end()) +
                                              L"' timeout='300' RestartTimeoutSeconds='" +
                                              std::to_wstring(restartTimeoutSeconds) + L"'/>"));
        ASSERT_NO_THROW(m_connection.Open());
        m_service = std::make_unique<CSIOService>(&m_connection);
    }

    void Update(const std::function<void(DevSim::tDeviceData&)>& change) { m_sim.Model().Update(change); }
    DevSim::tDeviceData Device() { return m_sim.Model().Get(); }

    void AddFault(DevSim::ENFault kind, uint16_t status = 0, int times = 1, std::optional<bool> readBack = {})
    {
        DevSim::tFaultRule rule;
        rule.kind = kind;
        rule.status = status;
        rule.times = times;
        rule.match.readBack = readBack;
        m_sim.Faults().Add(rule);
    }

    // The mailbox telegrams the host sent, writes or reads.
    std::vector<std::vector<uint8_t>> MailboxTelegrams(bool writes) const
    {
        std::vector<std::vector<uint8_t>> result;
        for (const auto& record : m_sim.Telegrams())
            if (record.telegram[7] == 0 && (record.telegram[8] & 0x7F) == DevSim::CSerialSimulator::kMailboxTable &&
                ((record.telegram[8] & 0x80) != 0) == writes)
                result.push_back(record.telegram);
        return result;
    }
    // Word 0 of the last mailbox request: group in the low byte, service in the high byte.
    uint16_t LastServiceCode() const
    {
        const auto writes = MailboxTelegrams(true);
        for (auto t = writes.rbegin(); t != writes.rend(); ++t)
            if ((*t)[9] == 0)
                return static_cast<uint16_t>((*t)[10] | (*t)[11] << 8);
        return 0;
    }

    Platform::ManualClockScope m_clock{100000};
    DevSim::CSerialSimulator m_sim;
    ZELL::CRS232Connection m_connection;
    std::unique_ptr<CSIOService> m_service;
};
