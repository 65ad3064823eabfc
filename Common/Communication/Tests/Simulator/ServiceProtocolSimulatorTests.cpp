#include "Common/Communication/Tests/InertSettingsConnection.h"
#include "Common/Communication/ConnectionException.h"
#include "Common/Communication/IdentificationAPI.h"
#include "Common/Communication/ServiceAPI.h"
#include "Common/Communication/ServiceProtocol.h"
#include "Common/Communication/UpdateAPI.h"
#include "Tests/DeviceSimulator/DeviceSimulator.h"
#include "Tests/DeviceSimulator/LoopbackSocket.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <string>

namespace ZELL::Testing {
namespace {

// A plain blocking socket to the simulator on 127.0.0.1; every read waits
// at most the time-out, so a silent device cannot hang a test.
class CSocketConnection : public CInertSettingsConnection {
public:
    explicit CSocketConnection(uint16_t port_) : m_port(port_) {}
    ~CSocketConnection() override { Close(); }

    void Open() override
    {
        if (!DevSim::ConnectLoopback(m_port, m_fd))
            throw CConnectionException(L"connect failed", 1);
    }
    void Close() override
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }
    bool IsOpen() const override { return m_fd >= 0; }
    void Write(unsigned char* data, unsigned int length, unsigned int* written) override
    {
        unsigned int sent = 0;
        while (sent < length) {
            const ssize_t n = ::send(m_fd, data + sent, length - sent, MSG_NOSIGNAL);
            if (n <= 0)
                throw CConnectionException(L"send failed", 2);
            sent += static_cast<unsigned int>(n);
        }
        if (written)
            *written = sent;
    }
    void Read(unsigned char* buffer, unsigned int length, unsigned int* read) override
    {
        unsigned int got = 0;
        while (got < length) {
            pollfd waiting{m_fd, POLLIN, 0};
            if (::poll(&waiting, 1, m_timeoutMs) <= 0)
                break;
            const ssize_t n = ::recv(m_fd, buffer + got, length - got, 0);
            if (n <= 0)
                break;
            got += static_cast<unsigned int>(n);
        }
        if (read)
            *read = got;
    }
    void Execute(unsigned char*, unsigned int, unsigned char**, unsigned int&) override {}
    void ClearBuffer() override {}
    std::wstring GetType() const override { return L"SOCKET"; }
    unsigned int GetCommunicationTimeout() override { return 2; }
    void SetCommunicationTimeout(unsigned int) override {}
    unsigned int GetRestartTimeout() override { return 30; }
    void SetRestartTimeout(unsigned int) override {}

    int m_timeoutMs = 2000;

private:
    uint16_t m_port = 0;
    int m_fd = -1;
};

class SimulatedDevice : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_simulator.Start()) << m_simulator.LastError();
        m_connection = std::make_unique<CSocketConnection>(m_simulator.Port());
        m_protocol = std::make_unique<CServiceProtocol>(m_connection.get());
        m_service = std::make_unique<CServiceAPI>(m_protocol.get());
        ASSERT_TRUE(m_service->Connect());
    }
    void TearDown() override
    {
        m_service.reset();
        m_protocol.reset();
        m_connection.reset();
        m_simulator.Stop();
    }
    void Update(const std::function<void(DevSim::tDeviceData&)>& change) { m_simulator.Model().Update(change); }

    DevSim::CDeviceSimulator m_simulator;
    std::unique_ptr<CSocketConnection> m_connection;
    std::unique_ptr<CServiceProtocol> m_protocol;
    std::unique_ptr<CServiceAPI> m_service;
};

TEST_F(SimulatedDevice, ServicesRoundTrip)
{
    Update([](DevSim::tDeviceData& d) {
        d.stateWords = {1, 2, 3, 4, 5, 6, 7, 8, 9};
        d.clockSeconds = 123456;
    });
    t_DeviceStates states{};
    ASSERT_TRUE(m_service->GetDeviceState(states)) << std::hex << m_service->GetLastError();
    EXPECT_EQ(states.words[0], 1);
    EXPECT_EQ(states.words[8], 9);
    DWORD time = 0;
    short zone = 0;
    ASSERT_TRUE(m_service->GetRealTimeClock(time, zone));
    EXPECT_EQ(time, 123456u);
    ASSERT_TRUE(m_service->SetRealTimeClock(654321, 0));
    EXPECT_EQ(m_simulator.Model().Get().clockSeconds, 654321u);
    char* text = nullptr;
    ASSERT_TRUE(m_service->IdentifyDevice(&text));
    EXPECT_NE(std::string(text).find("ORDER=0612-0001"), std::string::npos);
    delete[] text;
}

TEST_F(SimulatedDevice, LongAnswerIsFetchedInFragments)
{
    const std::string longText(300, 'v');
    Update([&](DevSim::tDeviceData& d) {
        d.protocolBufferSize = 64;
        d.identTextOverride = longText;
    });
    ASSERT_TRUE(m_protocol->SetSettingsXML(L"<ServiceProtocol MaxFragmentDataSize='64' />"));
    char* text = nullptr;
    ASSERT_TRUE(m_service->IdentifyDevice(&text)) << std::hex << m_service->GetLastError();
    EXPECT_EQ(std::string(text), longText);
    delete[] text;
}

TEST_F(SimulatedDevice, BusyDeviceIsAskedAgainWithinMaxRetries)
{
    m_simulator.Faults().AddForService(DevSim::ENFault::Busy, 0x106, 1);
    t_DeviceStates states{};
    EXPECT_TRUE(m_service->GetDeviceState(states));
    m_simulator.Faults().AddForService(DevSim::ENFault::Busy, 0x106, 2);
    EXPECT_FALSE(m_service->GetDeviceState(states));
    EXPECT_EQ(m_service->GetLastError(), 0x20300001u);
}

TEST_F(SimulatedDevice, ChecksumsBothWays)
{
    Update([](DevSim::tDeviceData& d) { d.checksumLength = 2; });
    ASSERT_TRUE(m_protocol->SetSettingsXML(L"<ServiceProtocol ChecksumLength='2' />"));
    WORD value = 0;
    EXPECT_TRUE(m_service->GetAddressSwitchSetting(value)) << std::hex << m_service->GetLastError();
    m_simulator.Faults().AddForService(DevSim::ENFault::BadChecksum, 0x107, 1);
    EXPECT_FALSE(m_service->GetAddressSwitchSetting(value));
    EXPECT_NE(std::wstring(m_protocol->GetLastErrorMessage()).find(L"WRONG_CHECKSUM"), std::wstring::npos);
}

TEST_F(SimulatedDevice, FaultsEndInFailuresNotHangs)
{
    WORD value = 0;
    for (DevSim::ENFault fault : {DevSim::ENFault::ZeroAnswerTotal, DevSim::ENFault::WrongTransaction,
                                  DevSim::ENFault::ErrorStatus, DevSim::ENFault::ShortFrame}) {
        m_simulator.Faults().Clear();
        DevSim::tFaultRule rule;
        rule.kind = fault;
        rule.status = 0x8213;
        rule.value = 4;
        rule.match.serviceCode = 0x107;
        m_simulator.Faults().Add(rule);
        m_connection->m_timeoutMs = 300;
        EXPECT_FALSE(m_service->GetAddressSwitchSetting(value)) << static_cast<int>(fault);
        // A broken frame leaves the stream out of step: start afresh.
        m_connection->Close();
        m_connection->Open();
    }
}

TEST_F(SimulatedDevice, ExclusiveModeIsCarriedByTheProtocol)
{
    CIdentificationAPI ident(m_protocol.get());
    ULONG id = 0;
    BYTE state = 0;
    ASSERT_TRUE(ident.SetExclusiveMode(0, 1, &id, &state, nullptr, nullptr)) << ident.GetLastErrorMessage();
    EXPECT_NE(id, 0u);
    WORD value = 0;
    EXPECT_TRUE(m_service->GetAddressSwitchSetting(value)) << std::hex << m_service->GetLastError();
    char* order = nullptr;
    ASSERT_TRUE(ident.GetOrderNumber(&order));
    EXPECT_STREQ(order, "0612-0001");
    delete[] order;
    ASSERT_TRUE(ident.CloseExclusiveMode(id, &id, &state)) << ident.GetLastErrorMessage();
    EXPECT_EQ(m_protocol->GetSettingsValue(L"Exclusive-ID"), L"0");
}

TEST_F(SimulatedDevice, UploadReachesTheDevice)
{
    CUpdateAPI update(m_protocol.get());
    std::vector<BYTE> image(5000);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<BYTE>(i * 7);
    ASSERT_TRUE(update.UploadRawHexFileToDevice(image.data(), static_cast<LONG>(image.size()), nullptr, nullptr))
        << m_protocol->GetLastErrorMessage();
    EXPECT_EQ(m_simulator.Model().Get().uploadedImage, image);
}

TEST_F(SimulatedDevice, ResendRequestRestartsAnUploadWithoutCorruptingIt)
{
    Update([](DevSim::tDeviceData& d) { d.protocolBufferSize = 64; });
    ASSERT_TRUE(m_protocol->SetSettingsXML(L"<ServiceProtocol MaxFragmentDataSize='64' />"));
    DevSim::tFaultRule rule;
    rule.kind = DevSim::ENFault::ResendRequest;
    rule.match.fragmentNumber = 3;
    rule.value = 1;
    m_simulator.Faults().Add(rule);
    CUpdateAPI update(m_protocol.get());
    std::vector<BYTE> image(300);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<BYTE>(i);
    ASSERT_TRUE(update.UploadRawHexFileToDevice(image.data(), static_cast<LONG>(image.size()), nullptr, nullptr))
        << m_protocol->GetLastErrorMessage();
    EXPECT_EQ(m_simulator.Model().Get().uploadedImage, image);
    EXPECT_EQ(m_simulator.Faults().FiredCount(), 1u);
}

}
}
