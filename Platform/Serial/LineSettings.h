#pragma once
// The line settings of a terminal device, read and written through termios2,
// so that any baud rate can be set, not only those with a B-constant.

#include "Platform/Base/Types.h"

namespace Serial {

struct LineSettings {
    DWORD baudRate = 9600;
    BYTE byteSize = 8;      // 5 to 8
    BYTE parity = 0;        // NOPARITY .. SPACEPARITY
    bool twoStopBits = false;
    bool rtsCtsFlow = false;
    bool xonXoffOutput = false;
    bool xonXoffInput = false;
    char xonChar = 0x11;
    char xoffChar = 0x13;
};

// Each returns 0 or the errno value of the failure.
int ReadLineSettings(int fd, LineSettings& settings);
// Also puts the device into raw mode: no echo, no line editing, no character
// translation, reads that never wait inside the driver.
int WriteLineSettings(int fd, const LineSettings& settings);
// Raw mode with the device's current line settings.
int MakeRaw(int fd);

// Modem lines (TIOCM_* bits of the kernel).
int GetModemLines(int fd, int& lines);
int SetModemLines(int fd, int lines, bool on);
int SetBreak(int fd, bool on);
// Drops waiting input and/or output (tcflush).
int Flush(int fd, bool input, bool output);
int BytesWaiting(int fd, bool input, DWORD& count);
int SetExclusive(int fd, bool exclusive);

// The TIOCM_* bit values, for callers that do not include the kernel headers.
int ModemLineRts();
int ModemLineDtr();
int ModemLineCts();
int ModemLineDsr();
int ModemLineRing();
int ModemLineCarrier();

}
