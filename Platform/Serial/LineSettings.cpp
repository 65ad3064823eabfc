#include "Platform/Serial/LineSettings.h"

// termios2 lives in the kernel headers, which clash with <termios.h>; this is
// the one file that talks termios, and it includes only the kernel's form.
#include <asm/termbits.h>
#include <asm/ioctls.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <iterator>

namespace Serial {
namespace {

struct StandardRate {
    DWORD rate;
    tcflag_t code;
};

constexpr StandardRate kRates[] = {
    {50, B50}, {75, B75}, {110, B110}, {134, B134}, {150, B150}, {200, B200}, {300, B300},
    {600, B600}, {1200, B1200}, {1800, B1800}, {2400, B2400}, {4800, B4800}, {9600, B9600},
    {19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200}, {230400, B230400},
    {460800, B460800}, {500000, B500000}, {576000, B576000}, {921600, B921600}, {1000000, B1000000},
    {1152000, B1152000}, {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000},
    {3000000, B3000000}, {3500000, B3500000}, {4000000, B4000000},
};

int Get(int fd, termios2& t)
{
    return ioctl(fd, TCGETS2, &t) == 0 ? 0 : errno;
}

int Set(int fd, const termios2& t)
{
    return ioctl(fd, TCSETS2, &t) == 0 ? 0 : errno;
}

void Raw(termios2& t)
{
    t.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF |
                                        IXANY | INPCK | IGNPAR | IUCLC | IMAXBEL);
    t.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    t.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN | ECHOE | ECHOK);
    // A port is never the controlling line of a session, and the carrier line
    // must not hold up an open or a read.
    t.c_cflag |= CREAD | CLOCAL;
    t.c_cflag &= ~static_cast<tcflag_t>(HUPCL);
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
}

DWORD RateOf(const termios2& t)
{
    const tcflag_t code = t.c_cflag & CBAUD;
    if (code == BOTHER)
        return t.c_ospeed;
    for (const StandardRate& rate : kRates) {
        if (rate.code == code)
            return rate.rate;
    }
    return t.c_ospeed;
}

}

int ReadLineSettings(int fd, LineSettings& settings)
{
    termios2 t{};
    if (const int error = Get(fd, t))
        return error;
    settings.baudRate = RateOf(t);
    switch (t.c_cflag & CSIZE) {
    case CS5: settings.byteSize = 5; break;
    case CS6: settings.byteSize = 6; break;
    case CS7: settings.byteSize = 7; break;
    default: settings.byteSize = 8; break;
    }
    if ((t.c_cflag & PARENB) == 0)
        settings.parity = 0;
    else if (t.c_cflag & CMSPAR)
        settings.parity = (t.c_cflag & PARODD) ? 3 : 4;
    else
        settings.parity = (t.c_cflag & PARODD) ? 1 : 2;
    settings.twoStopBits = (t.c_cflag & CSTOPB) != 0;
    settings.rtsCtsFlow = (t.c_cflag & CRTSCTS) != 0;
    settings.xonXoffOutput = (t.c_iflag & IXON) != 0;
    settings.xonXoffInput = (t.c_iflag & IXOFF) != 0;
    settings.xonChar = static_cast<char>(t.c_cc[VSTART]);
    settings.xoffChar = static_cast<char>(t.c_cc[VSTOP]);
    return 0;
}

int WriteLineSettings(int fd, const LineSettings& settings)
{
    if (settings.baudRate == 0 || settings.byteSize < 5 || settings.byteSize > 8 || settings.parity > 4)
        return EINVAL;
    termios2 t{};
    if (const int error = Get(fd, t))
        return error;
    Raw(t);
    t.c_cflag &= ~static_cast<tcflag_t>(CBAUD | CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    t.c_cflag &= ~static_cast<tcflag_t>(CBAUD << IBSHIFT);
    tcflag_t code = BOTHER;
    for (const StandardRate& rate : kRates) {
        if (rate.rate == settings.baudRate)
            code = rate.code;
    }
    t.c_cflag |= code;
    t.c_ispeed = settings.baudRate;
    t.c_ospeed = settings.baudRate;
    static constexpr tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};
    t.c_cflag |= kSizes[settings.byteSize - 5];
    switch (settings.parity) {
    case 1: t.c_cflag |= PARENB | PARODD; break;
    case 2: t.c_cflag |= PARENB; break;
    case 3: t.c_cflag |= PARENB | PARODD | CMSPAR; break;
    case 4: t.c_cflag |= PARENB | CMSPAR; break;
    default: break;
    }
    if (settings.twoStopBits)
        t.c_cflag |= CSTOPB;
    if (settings.rtsCtsFlow)
        t.c_cflag |= CRTSCTS;
    if (settings.xonXoffOutput)
        t.c_iflag |= IXON;
    if (settings.xonXoffInput)
        t.c_iflag |= IXOFF;
    t.c_cc[VSTART] = static_cast<cc_t>(settings.xonChar);
    t.c_cc[VSTOP] = static_cast<cc_t>(settings.xoffChar);
    return Set(fd, t);
}

int MakeRaw(int fd)
{
    termios2 t{};
    if (const int error = Get(fd, t))
        return error;
    Raw(t);
    return Set(fd, t);
}

int GetModemLines(int fd, int& lines)
{
    return ioctl(fd, TIOCMGET, &lines) == 0 ? 0 : errno;
}

int SetModemLines(int fd, int lines, bool on)
{
    return ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &lines) == 0 ? 0 : errno;
}

int SetBreak(int fd, bool on)
{
    return ioctl(fd, on ? TIOCSBRK : TIOCCBRK) == 0 ? 0 : errno;
}

int Flush(int fd, bool input, bool output)
{
    if (!input && !output)
        return 0;
    const int which = input && output ? TCIOFLUSH : input ? TCIFLUSH : TCOFLUSH;
    return ioctl(fd, TCFLSH, which) == 0 ? 0 : errno;
}

int BytesWaiting(int fd, bool input, DWORD& count)
{
    int waiting = 0;
    if (ioctl(fd, input ? TIOCINQ : TIOCOUTQ, &waiting) != 0)
        return errno;
    count = waiting > 0 ? static_cast<DWORD>(waiting) : 0;
    return 0;
}

int SetExclusive(int fd, bool exclusive)
{
    return ioctl(fd, exclusive ? TIOCEXCL : TIOCNXCL) == 0 ? 0 : errno;
}

int ModemLineRts() { return TIOCM_RTS; }
int ModemLineDtr() { return TIOCM_DTR; }
int ModemLineCts() { return TIOCM_CTS; }
int ModemLineDsr() { return TIOCM_DSR; }
int ModemLineRing() { return TIOCM_RI; }
int ModemLineCarrier() { return TIOCM_CD; }

}
