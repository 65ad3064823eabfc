// Line settings go to the device and are read back independently with the
// kernel's own termios2 request on the master side of the pseudo-terminal
// (which reports the slave's settings).
#include "PseudoTerminal.h"

#include "Platform/Base/KernelObject.h"
#include "Platform/Base/LastError.h"
#include "Platform/Base/WinError.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

using namespace SerialTest;

namespace {

termios2 DeviceSettings(const PseudoTerminal& pty)
{
    termios2 settings{};
    EXPECT_EQ(ioctl(pty.Master(), TCGETS2, &settings), 0);
    return settings;
}

// The pseudo-terminal driver forces eight data bits and drops the parity
// enable bit (it keeps the parity kind bits); real UARTs keep both. Where the
// driver dropped them, only what it keeps can be checked.
bool DriverForcesCs8(const termios2& t)
{
    return (t.c_cflag & CSIZE) == CS8 && (t.c_cflag & PARENB) == 0;
}

DCB LineDcb(DWORD baud, BYTE size, BYTE parity, BYTE stopBits)
{
    DCB dcb;
    dcb.BaudRate = baud;
    dcb.fBinary = 1;
    dcb.fParity = 1;
    dcb.ByteSize = size;
    dcb.Parity = parity;
    dcb.StopBits = stopBits;
    dcb.XonChar = 0x11;
    dcb.XoffChar = 0x13;
    return dcb;
}

class CommState : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_port = OpenPort(m_pty);
        ASSERT_NE(m_port, INVALID_HANDLE_VALUE) << GetLastError();
    }
    void TearDown() override
    {
        if (m_port != INVALID_HANDLE_VALUE) {
            EXPECT_TRUE(CloseHandle(m_port));
        }
    }
    PseudoTerminal m_pty;
    HANDLE m_port = INVALID_HANDLE_VALUE;
};

}

TEST_F(CommState, OpenPutsTheLineIntoRawMode)
{
    const termios2 t = DeviceSettings(m_pty);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(t.c_oflag & OPOST, 0u);
    EXPECT_EQ(t.c_iflag & (ICRNL | IXON), 0u);
    EXPECT_NE(t.c_cflag & CLOCAL, 0u);
}

TEST_F(CommState, EvenParitySevenBitsTwoStopBits)
{
    const DCB dcb = LineDcb(CBR_19200, 7, EVENPARITY, TWOSTOPBITS);
    ASSERT_TRUE(SetCommState(m_port, &dcb)) << GetLastError();
    const termios2 t = DeviceSettings(m_pty);
    EXPECT_EQ(t.c_cflag & CBAUD, static_cast<tcflag_t>(B19200));
    if (!DriverForcesCs8(t)) {
        EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS7));
        EXPECT_NE(t.c_cflag & PARENB, 0u);
    }
    EXPECT_EQ(t.c_cflag & (PARODD | CMSPAR), 0u);
    EXPECT_NE(t.c_cflag & CSTOPB, 0u);
    EXPECT_EQ(t.c_cflag & CRTSCTS, 0u);

    DCB back;
    ASSERT_TRUE(GetCommState(m_port, &back));
    EXPECT_EQ(back.DCBlength, 28u);
    EXPECT_EQ(back.BaudRate, 19200u);
    // The state read back is the device's.
    EXPECT_EQ(back.ByteSize, DriverForcesCs8(t) ? 8 : 7);
    EXPECT_EQ(back.Parity, DriverForcesCs8(t) ? NOPARITY : EVENPARITY);
    EXPECT_EQ(back.StopBits, TWOSTOPBITS);
    EXPECT_EQ(back.fBinary, 1u);
}

TEST_F(CommState, MarkAndSpaceParityUseStickParity)
{
    DCB dcb = LineDcb(CBR_9600, 8, MARKPARITY, ONESTOPBIT);
    ASSERT_TRUE(SetCommState(m_port, &dcb));
    termios2 t = DeviceSettings(m_pty);
    const tcflag_t enable = DriverForcesCs8(t) ? 0 : PARENB;
    EXPECT_EQ(t.c_cflag & (PARENB | PARODD | CMSPAR), static_cast<tcflag_t>(enable | PARODD | CMSPAR));
    DCB back;
    ASSERT_TRUE(GetCommState(m_port, &back));
    if (enable) {
        EXPECT_EQ(back.Parity, MARKPARITY);
    }

    dcb.Parity = SPACEPARITY;
    ASSERT_TRUE(SetCommState(m_port, &dcb));
    t = DeviceSettings(m_pty);
    EXPECT_EQ(t.c_cflag & (PARENB | PARODD | CMSPAR), static_cast<tcflag_t>(enable | CMSPAR));
    ASSERT_TRUE(GetCommState(m_port, &back));
    if (enable) {
        EXPECT_EQ(back.Parity, SPACEPARITY);
    }

    dcb.Parity = ODDPARITY;
    ASSERT_TRUE(SetCommState(m_port, &dcb));
    t = DeviceSettings(m_pty);
    EXPECT_EQ(t.c_cflag & (PARENB | PARODD | CMSPAR), static_cast<tcflag_t>(enable | PARODD));
}

TEST_F(CommState, RateWithoutBConstantGoesThroughBOther)
{
    const DCB dcb = LineDcb(250000, 8, NOPARITY, ONESTOPBIT);
    ASSERT_TRUE(SetCommState(m_port, &dcb)) << GetLastError();
    const termios2 t = DeviceSettings(m_pty);
    EXPECT_EQ(t.c_cflag & CBAUD, static_cast<tcflag_t>(BOTHER));
    EXPECT_EQ(t.c_ospeed, 250000u);
    DCB back;
    ASSERT_TRUE(GetCommState(m_port, &back));
    EXPECT_EQ(back.BaudRate, 250000u);
    EXPECT_EQ(back.Parity, NOPARITY);
    EXPECT_EQ(back.StopBits, ONESTOPBIT);
}

TEST_F(CommState, OneAndAHalfStopBitsAreSentAsTwoAndReadBackAsSet)
{
    const DCB dcb = LineDcb(CBR_4800, 5, NOPARITY, ONE5STOPBITS);
    ASSERT_TRUE(SetCommState(m_port, &dcb));
    const termios2 t = DeviceSettings(m_pty);
    EXPECT_NE(t.c_cflag & CSTOPB, 0u);
    if (!DriverForcesCs8(t)) {
        EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS5));
    }
    DCB back;
    ASSERT_TRUE(GetCommState(m_port, &back));
    EXPECT_EQ(back.StopBits, ONE5STOPBITS);
}

TEST_F(CommState, HandshakeBecomesHardwareFlowControl)
{
    DCB dcb = LineDcb(CBR_115200, 8, NOPARITY, ONESTOPBIT);
    dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    ASSERT_TRUE(SetCommState(m_port, &dcb));
    EXPECT_NE(DeviceSettings(m_pty).c_cflag & CRTSCTS, 0u);
    DCB back;
    ASSERT_TRUE(GetCommState(m_port, &back));
    EXPECT_EQ(back.fRtsControl, RTS_CONTROL_HANDSHAKE);
    EXPECT_EQ(back.fDtrControl, DTR_CONTROL_ENABLE);

    dcb.fRtsControl = RTS_CONTROL_DISABLE;
    dcb.fOutxCtsFlow = 1;
    ASSERT_TRUE(SetCommState(m_port, &dcb));
    EXPECT_NE(DeviceSettings(m_pty).c_cflag & CRTSCTS, 0u);

    dcb.fOutxCtsFlow = 0;
    ASSERT_TRUE(SetCommState(m_port, &dcb));
    EXPECT_EQ(DeviceSettings(m_pty).c_cflag & CRTSCTS, 0u);
}

TEST_F(CommState, InvalidLineSettingsAreRefusedAndChangeNothing)
{
    const DCB good = LineDcb(CBR_38400, 8, EVENPARITY, ONESTOPBIT);
    ASSERT_TRUE(SetCommState(m_port, &good));
    const tcflag_t before = DeviceSettings(m_pty).c_cflag;
    const DCB bad[] = {LineDcb(CBR_9600, 9, NOPARITY, ONESTOPBIT), LineDcb(CBR_9600, 4, NOPARITY, ONESTOPBIT),
                       LineDcb(CBR_9600, 8, 5, ONESTOPBIT), LineDcb(CBR_9600, 8, NOPARITY, 3),
                       LineDcb(0, 8, NOPARITY, ONESTOPBIT)};
    for (const DCB& dcb : bad) {
        SetLastError(0);
        EXPECT_FALSE(SetCommState(m_port, &dcb));
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    }
    EXPECT_EQ(DeviceSettings(m_pty).c_cflag, before);
    EXPECT_FALSE(SetCommState(m_port, nullptr));
}

TEST_F(CommState, TimeoutsMaskAndModemCallsOnAPortWithoutLines)
{
    const COMMTIMEOUTS set{MAXDWORD, 0, 15000, 0, 15000};
    ASSERT_TRUE(SetCommTimeouts(m_port, &set));
    COMMTIMEOUTS back;
    ASSERT_TRUE(GetCommTimeouts(m_port, &back));
    EXPECT_EQ(back.ReadIntervalTimeout, MAXDWORD);
    EXPECT_EQ(back.ReadTotalTimeoutConstant, 15000u);
    EXPECT_EQ(back.WriteTotalTimeoutConstant, 15000u);

    EXPECT_TRUE(SetupComm(m_port, 4096, 4096));
    ASSERT_TRUE(SetCommMask(m_port, EV_RXCHAR | EV_BREAK));
    DWORD mask = 0;
    ASSERT_TRUE(GetCommMask(m_port, &mask));
    EXPECT_EQ(mask, 0x41u);

    // A pseudo-terminal has no modem lines: refused, not reported as done.
    EXPECT_FALSE(EscapeCommFunction(m_port, SETRTS));
    EXPECT_EQ(GetLastError(), ERROR_NOT_SUPPORTED);
    DWORD status = 0;
    EXPECT_FALSE(GetCommModemStatus(m_port, &status));
    EXPECT_EQ(GetLastError(), ERROR_NOT_SUPPORTED);
    EXPECT_FALSE(EscapeCommFunction(m_port, 77));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST(CommOpen, NamesDevicesAndExclusiveUse)
{
    PseudoTerminal pty(43);
    HANDLE first = OpenPort(pty);
    ASSERT_NE(first, INVALID_HANDLE_VALUE) << GetLastError();
    EXPECT_EQ(OpenPort(pty), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    // The same device by its path is the same port.
    const std::wstring path(pty.SlavePath().begin(), pty.SlavePath().end());
    EXPECT_EQ(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    ASSERT_TRUE(CloseHandle(first));
    EXPECT_FALSE(CloseHandle(first));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);

    HANDLE again = CreateFileW(L"com43", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(again, INVALID_HANDLE_VALUE) << "closing released the port";
    EXPECT_TRUE(CloseHandle(again));

    EXPECT_EQ(CreateFileW(L"\\\\.\\COM44", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(CreateFileW(L"/dev/no-such-port", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    // A path that is no terminal is no port.
    EXPECT_EQ(CreateFileW(L"/dev/null", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(CreateFileW(pty.DeviceName().c_str(), GENERIC_READ, 0, nullptr, 2, 0, nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST(CommOpen, CallsOnHandlesThatAreNoPortFail)
{
    DCB dcb;
    EXPECT_FALSE(GetCommState(nullptr, &dcb));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(PurgeComm(INVALID_HANDLE_VALUE, PURGE_RXCLEAR));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    char buffer[4];
    DWORD read = 0;
    EXPECT_FALSE(ReadFile(reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(0x1234)), buffer, 4, &read, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}
