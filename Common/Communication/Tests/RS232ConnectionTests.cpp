#include "Common/Communication/RS232Connection.h"
#include "Common/SystemHelper/Values/StringUtils.h"
#include "Platform/Base/LastError.h"
#include "Platform/Base/TextConversion.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

using ZELL::CRS232Connection;
using ZELL::CRS232ConnectionException;

namespace {

// The test holds the master side of a pseudo-terminal; the connection opens
// the slave as its port.
class PseudoTerminal {
public:
    PseudoTerminal()
    {
        m_master = posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master >= 0 && grantpt(m_master) == 0 && unlockpt(m_master) == 0)
            m_slave = ptsname(m_master);
    }
    ~PseudoTerminal()
    {
        if (m_master >= 0)
            close(m_master);
    }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    int Master() const { return m_master; }
    std::wstring Slave() const { return Text::Utf8ToWide(m_slave); }

    void Send(const std::vector<unsigned char>& bytes) const
    {
        ASSERT_EQ(write(m_master, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }

    // What arrives within the time, at most `count` bytes.
    std::vector<unsigned char> Receive(std::size_t count, int milliseconds = 1000) const
    {
        std::vector<unsigned char> bytes;
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
        while (bytes.size() < count && std::chrono::steady_clock::now() < end) {
            pollfd ready = {m_master, POLLIN, 0};
            if (poll(&ready, 1, 20) <= 0)
                continue;
            unsigned char chunk[4096];
            const ssize_t got = read(m_master, chunk, std::min(sizeof(chunk), count - bytes.size()));
            if (got > 0)
                bytes.insert(bytes.end(), chunk, chunk + got);
        }
        return bytes;
    }

private:
    int m_master = -1;
    std::string m_slave;
};

class RS232ConnectionTest : public ::testing::TestWithParam<bool> {
protected:
    void Configure(CRS232Connection& connection, const std::wstring& extra = L"")
    {
        ASSERT_FALSE(m_pty.Slave().empty());
        ASSERT_TRUE(connection.SetSettingsXML(L"<RS232 device='" + m_pty.Slave() + L"' timeout='300' asynchron='" +
                                              (GetParam() ? L"true" : L"false") + L"' " + extra + L"/>"));
    }

    PseudoTerminal m_pty;
};

std::vector<unsigned char> Frame(std::uint16_t bodyLength)
{
    std::vector<unsigned char> frame(18 + bodyLength);
    for (std::size_t i = 0; i < frame.size(); ++i)
        frame[i] = static_cast<unsigned char>(0x30 + i);
    frame[16] = static_cast<unsigned char>(bodyLength & 0xFF);
    frame[17] = static_cast<unsigned char>(bodyLength >> 8);
    return frame;
}

void AppendSum(std::vector<unsigned char>& frame, int delta = 0)
{
    const std::uint16_t sum = static_cast<std::uint16_t>(CRS232Connection::ByteSum(frame.data(), frame.size()) + delta);
    frame.push_back(static_cast<unsigned char>(sum & 0xFF));
    frame.push_back(static_cast<unsigned char>(sum >> 8));
}

double SecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}

TEST_P(RS232ConnectionTest, RoundTripBothWays)
{
    CRS232Connection connection;
    Configure(connection);
    connection.Open();
    ASSERT_TRUE(connection.IsOpen());
    unsigned char request[] = {1, 2, 3, 0xFF, 0, 0x0D, 0x0A, 0x11, 0x13};
    unsigned int written = 0;
    connection.Write(request, sizeof(request), &written);
    EXPECT_EQ(written, sizeof(request));
    EXPECT_EQ(m_pty.Receive(sizeof(request)), std::vector<unsigned char>(request, request + sizeof(request)));

    const std::vector<unsigned char> reply = {9, 8, 7, 0x0D, 0x0A, 0x7F};
    m_pty.Send(reply);
    std::vector<unsigned char> got(reply.size());
    unsigned int read = 0;
    connection.Read(got.data(), got.size(), &read);
    EXPECT_EQ(read, reply.size());
    EXPECT_EQ(got, reply);
    connection.Close();
    EXPECT_FALSE(connection.IsOpen());
}

TEST_P(RS232ConnectionTest, ReadTimesOutWithTransferTimeout)
{
    CRS232Connection connection;
    Configure(connection);
    connection.Open();
    m_pty.Send({1, 2, 3, 4});
    unsigned char buffer[10] = {};
    const auto start = std::chrono::steady_clock::now();
    try {
        connection.Read(buffer, sizeof(buffer), nullptr);
        FAIL() << "read 10 bytes of 4";
    } catch (const CRS232ConnectionException& error) {
        EXPECT_EQ(error.m_lCode, GetParam() ? 4 : 6);
        EXPECT_EQ(error.GetError(), CRS232Connection::kTransferTimeout);
    }
    EXPECT_GE(SecondsSince(start), 0.25);
    EXPECT_LT(SecondsSince(start), 3.0);
    EXPECT_EQ(connection.GetLastErrorCode(), CRS232Connection::kTransferTimeout);
    EXPECT_NE(std::wstring(connection.GetLastErrorMessage()), L"");
    connection.Close();
}

TEST_P(RS232ConnectionTest, ChecksumAppendedAndChecked)
{
    CRS232Connection connection;
    Configure(connection, L"ChecksumLength='2'");
    connection.Open();
    std::vector<unsigned char> request = Frame(2);
    unsigned int written = 0;
    connection.Write(request.data(), request.size(), &written);
    EXPECT_EQ(written, 20u);
    std::vector<unsigned char> expected = request;
    AppendSum(expected);
    EXPECT_EQ(m_pty.Receive(22), expected);

    std::vector<unsigned char> reply = Frame(5);
    AppendSum(reply);
    m_pty.Send(reply);
    unsigned char* buffer = nullptr;
    unsigned int length = 0;
    ASSERT_TRUE(connection.ReadFragment(&buffer, &length));
    EXPECT_EQ(length, 23u);
    EXPECT_EQ(buffer[22], reply[22]);

    connection.Write(request.data(), request.size(), &written);
    m_pty.Receive(22);
    std::vector<unsigned char> corrupt = Frame(5);
    AppendSum(corrupt, 1);
    m_pty.Send(corrupt);
    EXPECT_FALSE(connection.ReadFragment(&buffer, &length));
    EXPECT_EQ(connection.GetLastErrorCode(), CRS232Connection::kChecksumMismatch);
    delete[] buffer;
    connection.Close();
}

TEST_P(RS232ConnectionTest, FrameNotMatchingLengthFieldIsSentUnchecked)
{
    CRS232Connection connection;
    Configure(connection, L"ChecksumLength='2'");
    connection.Open();
    std::vector<unsigned char> request = Frame(2);
    request.push_back(0xEE);
    connection.Write(request.data(), request.size(), nullptr);
    EXPECT_EQ(m_pty.Receive(30, 400), request);

    const std::vector<unsigned char> reply = Frame(1);
    m_pty.Send(reply);
    unsigned char* buffer = nullptr;
    unsigned int length = 0;
    ASSERT_TRUE(connection.ReadFragment(&buffer, &length));
    EXPECT_EQ(length, 19u);
    delete[] buffer;
    connection.Close();
}

TEST_P(RS232ConnectionTest, PurgeDropsWaitingInput)
{
    CRS232Connection connection;
    Configure(connection);
    connection.Open();
    m_pty.Send({5, 5, 5});
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    connection.ClearBuffer();
    m_pty.Send({7});
    unsigned char byte = 0;
    connection.Read(&byte, 1, nullptr);
    EXPECT_EQ(byte, 7);
    connection.Close();
}

TEST_P(RS232ConnectionTest, CopyOfOpenPortStartsClosed)
{
    CRS232Connection connection;
    Configure(connection);
    connection.Open();
    {
        CRS232Connection copy(connection);
        EXPECT_FALSE(copy.IsOpen());
        EXPECT_EQ(copy.GetSettingsXML(), connection.GetSettingsXML());
        copy.Close();
    }
    unsigned char byte = 0x42;
    connection.Write(&byte, 1, nullptr);
    EXPECT_EQ(m_pty.Receive(1), std::vector<unsigned char>{0x42});
    connection.Close();
}

INSTANTIATE_TEST_SUITE_P(SynchronAndAsynchron, RS232ConnectionTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Asynchron" : "Synchron"; });

TEST(RS232ConnectionLine, SettingsReachTheTerminal)
{
    PseudoTerminal pty;
    CRS232Connection connection;
    ASSERT_TRUE(connection.SetSettingsXML(L"<RS232 device='" + pty.Slave() +
                                          L"' baudrate='9600' parity='Odd' databits='7' stopbits='2' cts_flow='true'/>"));
    connection.Open();
    termios line = {};
    ASSERT_EQ(tcgetattr(pty.Master(), &line), 0);
    // The pseudo-terminal driver forces eight bits without parity, so only
    // the rate, stop bits and flow control can be read back from it.
    EXPECT_EQ(cfgetospeed(&line), B9600);
    EXPECT_TRUE(line.c_cflag & CSTOPB);
    EXPECT_TRUE(line.c_cflag & CRTSCTS);
    connection.Close();

    ASSERT_TRUE(connection.SetSettingsXML(L"<RS232 baudrate='115200' parity='none' databits='8' stopbits='1' cts_flow='false'/>"));
    connection.Open();
    ASSERT_EQ(tcgetattr(pty.Master(), &line), 0);
    EXPECT_EQ(cfgetospeed(&line), B115200);
    EXPECT_FALSE(line.c_cflag & CSTOPB);
    EXPECT_FALSE(line.c_cflag & CRTSCTS);
    connection.Close();
}

TEST(RS232ConnectionLine, ComNameFromVariable)
{
    PseudoTerminal pty;
    const std::string mapping = "COM42=" + Text::WideToUtf8(pty.Slave());
    setenv("ZELL_SERIAL_PORTS", mapping.c_str(), 1);
    CRS232Connection connection;
    ASSERT_TRUE(connection.SetSettingsXML(L"<RS232 device='COM42' timeout='300'/>"));
    connection.Open();
    unsigned char byte = 0x5A;
    connection.Write(&byte, 1, nullptr);
    EXPECT_EQ(pty.Receive(1), std::vector<unsigned char>{0x5A});
    connection.Close();
    unsetenv("ZELL_SERIAL_PORTS");
}

TEST(RS232ConnectionLine, SynchronWriteCutShortFails)
{
    PseudoTerminal pty;
    CRS232Connection connection;
    ASSERT_TRUE(connection.SetSettingsXML(L"<RS232 device='" + pty.Slave() + L"' timeout='300' asynchron='false'/>"));
    connection.Open();
    // Nobody reads the master, so the terminal's queue fills.
    std::vector<unsigned char> data(1 << 20, 0x55);
    try {
        connection.Write(data.data(), data.size(), nullptr);
        FAIL() << "a megabyte fit into the terminal";
    } catch (const CRS232ConnectionException& error) {
        EXPECT_EQ(error.GetError(), CRS232Connection::kTransferTimeout);
    }
    connection.Close();
}

TEST(RS232ConnectionErrors, ClosedPortAndMissingDevice)
{
    CRS232Connection connection;
    unsigned char data[4] = {};
    unsigned int written = 77;
    EXPECT_NO_THROW(connection.Write(data, 0, &written));
    EXPECT_EQ(written, 77u);
    try {
        connection.Write(data, 4, nullptr);
        FAIL();
    } catch (const CRS232ConnectionException& error) {
        EXPECT_EQ(error.m_lCode, 3);
        EXPECT_EQ(error.GetError(), CRS232Connection::kPortNotOpen);
    }
    EXPECT_THROW(connection.Read(data, 4, nullptr), CRS232ConnectionException);
    EXPECT_EQ(connection.GetLastErrorCode(), CRS232Connection::kPortNotOpen);

    ASSERT_TRUE(connection.SetSettingsXML(L"<RS232 device='/dev/pts/does-not-exist'/>"));
    try {
        connection.Open();
        FAIL();
    } catch (const CRS232ConnectionException& error) {
        EXPECT_EQ(error.m_lCode, 1);
        EXPECT_EQ(error.GetError() & 0xFFFF0000u, CRS232Connection::kPortFailure);
    }
    EXPECT_FALSE(connection.IsOpen());
    unsigned char* response = nullptr;
    unsigned int responseLength = 0;
    EXPECT_THROW(connection.Execute(data, 4, &response, responseLength), CRS232ConnectionException);
}

TEST(RS232ConnectionNames, LookupsIgnoreCaseAndFallBack)
{
    CRS232Connection connection;
    EXPECT_EQ(connection.ParityToDCBValue(L"even"), EVENPARITY);
    EXPECT_EQ(connection.ParityToDCBValue(L"EVEN"), EVENPARITY);
    EXPECT_EQ(connection.ParityToDCBValue(L"E"), EVENPARITY);
    EXPECT_EQ(connection.ParityToDCBValue(L"s"), SPACEPARITY);
    EXPECT_EQ(connection.ParityToDCBValue(L"x"), NOPARITY);
    EXPECT_NE(std::wstring(connection.GetLastErrorMessage()).find(L"ParityToDCBValue"), std::wstring::npos);
    EXPECT_EQ(connection.StopbitsToDCBValue(L"1,5"), ONE5STOPBITS);
    EXPECT_EQ(connection.StopbitsToDCBValue(L"2"), TWOSTOPBITS);
    EXPECT_EQ(connection.DTRControlToDCBValue(L"handshake"), DTR_CONTROL_HANDSHAKE);
    EXPECT_EQ(connection.RTSControlToDCBValue(L"Toggle"), RTS_CONTROL_TOGGLE);
    EXPECT_EQ(connection.RTSControlToDCBValue(L"bogus"), RTS_CONTROL_DISABLE);
}

TEST(RS232ConnectionNames, ReverseLookupsGiveTheFirstNameOrTheFallback)
{
    CRS232Connection connection;
    SetLastError(0);
    EXPECT_EQ(connection.DCBValueToParity(ODDPARITY), L"Odd");
    EXPECT_EQ(connection.DCBValueToParity(SPACEPARITY), L"Space");
    EXPECT_EQ(connection.DCBValueToDTRControl(DTR_CONTROL_HANDSHAKE), L"Handshake");
    EXPECT_EQ(connection.DCBValueToRTSControl(RTS_CONTROL_TOGGLE), L"Toggle");
    EXPECT_EQ(connection.DCBValueToStopbits(TWOSTOPBITS), L"2");
    EXPECT_EQ(connection.DCBValueToStopbits(ONESTOPBIT), L"1");
    EXPECT_EQ(GetLastError(), 0u);
    EXPECT_STREQ(connection.GetLastErrorMessage(), L"");

    const auto reported = [&](const wchar_t* function) {
        const bool named = std::wstring(connection.GetLastErrorMessage()) ==
                           std::wstring(L"ERROR: CRS232Connection::") + function + L"() -> Invalid parameter value!";
        const bool coded = GetLastError() == 0x20200008u;
        SetLastError(0);
        return named && coded;
    };
    EXPECT_EQ(connection.DCBValueToParity(5), L"Even");
    EXPECT_TRUE(reported(L"DCBValueToParity"));
    EXPECT_EQ(connection.DCBValueToDTRControl(3), L"Disable");
    EXPECT_TRUE(reported(L"DCBValueToDTRControl"));
    EXPECT_EQ(connection.DCBValueToRTSControl(4), L"Disable");
    EXPECT_TRUE(reported(L"DCBValueToRTSControl"));
    EXPECT_EQ(connection.DCBValueToStopbits(3), L"1.5");
    EXPECT_TRUE(reported(L"DCBValueToStopbits"));
}
