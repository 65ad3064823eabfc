#pragma once
// COM ports through the platform's file and communications calls, on termios.
//
// A port is opened by its COM name ("COM3", "\\.\COM3"; see ComPortMap.h) or
// by a device path beginning with "/", always exclusively: a second open of
// the same device fails with ERROR_ACCESS_DENIED. The HANDLE is a kernel
// handle (Platform/Base/KernelObject.h); CloseHandle closes the port.
//
// Overlapped requests run on a worker of the port. Their data and result reach
// the caller's buffer and OVERLAPPED only through GetOverlappedResult (or at
// once when ReadFile/WriteFile complete immediately), so a request that its
// caller gave up on never writes into memory the caller has since freed. The
// OVERLAPPED event is reset when a request starts and set when it ends.

#include "Platform/Base/Types.h"

struct SECURITY_ATTRIBUTES;

constexpr DWORD GENERIC_READ = 0x80000000u;
constexpr DWORD GENERIC_WRITE = 0x40000000u;
constexpr DWORD OPEN_EXISTING = 3;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x00000080u;
constexpr DWORD FILE_FLAG_OVERLAPPED = 0x40000000u;
constexpr DWORD MAXDWORD = 0xFFFFFFFFu;

constexpr BYTE NOPARITY = 0;
constexpr BYTE ODDPARITY = 1;
constexpr BYTE EVENPARITY = 2;
constexpr BYTE MARKPARITY = 3;
constexpr BYTE SPACEPARITY = 4;

constexpr BYTE ONESTOPBIT = 0;
constexpr BYTE ONE5STOPBITS = 1;
constexpr BYTE TWOSTOPBITS = 2;

constexpr DWORD DTR_CONTROL_DISABLE = 0;
constexpr DWORD DTR_CONTROL_ENABLE = 1;
constexpr DWORD DTR_CONTROL_HANDSHAKE = 2;
constexpr DWORD RTS_CONTROL_DISABLE = 0;
constexpr DWORD RTS_CONTROL_ENABLE = 1;
constexpr DWORD RTS_CONTROL_HANDSHAKE = 2;
constexpr DWORD RTS_CONTROL_TOGGLE = 3;

constexpr DWORD CBR_110 = 110;
constexpr DWORD CBR_300 = 300;
constexpr DWORD CBR_600 = 600;
constexpr DWORD CBR_1200 = 1200;
constexpr DWORD CBR_2400 = 2400;
constexpr DWORD CBR_4800 = 4800;
constexpr DWORD CBR_9600 = 9600;
constexpr DWORD CBR_14400 = 14400;
constexpr DWORD CBR_19200 = 19200;
constexpr DWORD CBR_38400 = 38400;
constexpr DWORD CBR_57600 = 57600;
constexpr DWORD CBR_115200 = 115200;

constexpr DWORD PURGE_TXABORT = 0x0001;
constexpr DWORD PURGE_RXABORT = 0x0002;
constexpr DWORD PURGE_TXCLEAR = 0x0004;
constexpr DWORD PURGE_RXCLEAR = 0x0008;

constexpr DWORD SETXOFF = 1;
constexpr DWORD SETXON = 2;
constexpr DWORD SETRTS = 3;
constexpr DWORD CLRRTS = 4;
constexpr DWORD SETDTR = 5;
constexpr DWORD CLRDTR = 6;
constexpr DWORD SETBREAK = 8;
constexpr DWORD CLRBREAK = 9;

constexpr DWORD MS_CTS_ON = 0x0010;
constexpr DWORD MS_DSR_ON = 0x0020;
constexpr DWORD MS_RING_ON = 0x0040;
constexpr DWORD MS_RLSD_ON = 0x0080;

constexpr DWORD EV_RXCHAR = 0x0001;
constexpr DWORD EV_RXFLAG = 0x0002;
constexpr DWORD EV_TXEMPTY = 0x0004;
constexpr DWORD EV_CTS = 0x0008;
constexpr DWORD EV_DSR = 0x0010;
constexpr DWORD EV_RLSD = 0x0020;
constexpr DWORD EV_BREAK = 0x0040;
constexpr DWORD EV_ERR = 0x0080;
constexpr DWORD EV_RING = 0x0100;

constexpr DWORD CE_RXOVER = 0x0001;
constexpr DWORD CE_OVERRUN = 0x0002;
constexpr DWORD CE_RXPARITY = 0x0004;
constexpr DWORD CE_FRAME = 0x0008;
constexpr DWORD CE_BREAK = 0x0010;

// The device control block; 28 bytes, with the platform's bit layout.
struct DCB {
    DWORD DCBlength = sizeof(DCB);
    DWORD BaudRate = 0;
    DWORD fBinary : 1 = 0;
    DWORD fParity : 1 = 0;
    DWORD fOutxCtsFlow : 1 = 0;
    DWORD fOutxDsrFlow : 1 = 0;
    DWORD fDtrControl : 2 = 0;
    DWORD fDsrSensitivity : 1 = 0;
    DWORD fTXContinueOnXoff : 1 = 0;
    DWORD fOutX : 1 = 0;
    DWORD fInX : 1 = 0;
    DWORD fErrorChar : 1 = 0;
    DWORD fNull : 1 = 0;
    DWORD fRtsControl : 2 = 0;
    DWORD fAbortOnError : 1 = 0;
    DWORD fDummy2 : 17 = 0;
    WORD wReserved = 0;
    WORD XonLim = 0;
    WORD XoffLim = 0;
    BYTE ByteSize = 0;
    BYTE Parity = 0;
    BYTE StopBits = 0;
    char XonChar = 0;
    char XoffChar = 0;
    char ErrorChar = 0;
    char EofChar = 0;
    char EvtChar = 0;
    WORD wReserved1 = 0;
};
static_assert(sizeof(DCB) == 28);
using LPDCB = DCB*;

struct COMMTIMEOUTS {
    DWORD ReadIntervalTimeout = 0;
    DWORD ReadTotalTimeoutMultiplier = 0;
    DWORD ReadTotalTimeoutConstant = 0;
    DWORD WriteTotalTimeoutMultiplier = 0;
    DWORD WriteTotalTimeoutConstant = 0;
};
using LPCOMMTIMEOUTS = COMMTIMEOUTS*;

struct COMSTAT {
    DWORD fCtsHold : 1 = 0;
    DWORD fDsrHold : 1 = 0;
    DWORD fRlsdHold : 1 = 0;
    DWORD fXoffHold : 1 = 0;
    DWORD fXoffSent : 1 = 0;
    DWORD fEof : 1 = 0;
    DWORD fTxim : 1 = 0;
    DWORD fReserved : 25 = 0;
    DWORD cbInQue = 0;
    DWORD cbOutQue = 0;
};
using LPCOMSTAT = COMSTAT*;

struct OVERLAPPED {
    ULONG_PTR Internal = 0;
    ULONG_PTR InternalHigh = 0;
    DWORD Offset = 0;
    DWORD OffsetHigh = 0;
    HANDLE hEvent = nullptr;
};
using LPOVERLAPPED = OVERLAPPED*;

// What a request's Internal field holds while it runs.
constexpr ULONG_PTR STATUS_PENDING = 0x103;

// Only COM ports: any other name fails with ERROR_FILE_NOT_FOUND. The
// disposition must be OPEN_EXISTING.
HANDLE CreateFileW(LPCWSTR name, DWORD access, DWORD shareMode, SECURITY_ATTRIBUTES* security, DWORD disposition,
                   DWORD flags, HANDLE templateFile);

// Without an OVERLAPPED (or on a handle opened without FILE_FLAG_OVERLAPPED)
// the call waits for the request. With one on an overlapped handle it either
// completes at once (TRUE) or fails with ERROR_IO_PENDING.
// A read ends by the COMMTIMEOUTS: ReadIntervalTimeout MAXDWORD with both
// totals 0 returns what is there at once; MAXDWORD with the multiplier
// MAXDWORD and a constant returns at the first byte or after the constant;
// otherwise the total (multiplier x bytes + constant, none when both are 0)
// and the interval between two bytes (none when 0 or MAXDWORD) end it. A
// time-out is success with fewer bytes, 0 included.
BOOL ReadFile(HANDLE file, void* buffer, DWORD length, DWORD* read, OVERLAPPED* overlapped);
BOOL WriteFile(HANDLE file, const void* data, DWORD length, DWORD* written, OVERLAPPED* overlapped);
// ERROR_IO_INCOMPLETE when not waiting and the request still runs;
// ERROR_OPERATION_ABORTED for a request that PurgeComm or CloseHandle ended.
BOOL GetOverlappedResult(HANDLE file, OVERLAPPED* overlapped, DWORD* transferred, BOOL wait);

BOOL GetCommState(HANDLE file, DCB* dcb);
// Rates without a B-constant are set through BOTHER. ONE5STOPBITS is sent as
// two stop bits. DTR/RTS handshake and DSR flow control have no termios form;
// DTR handshake keeps DTR on, RTS handshake and CTS flow become CRTSCTS.
BOOL SetCommState(HANDLE file, const DCB* dcb);
BOOL GetCommTimeouts(HANDLE file, COMMTIMEOUTS* timeouts);
BOOL SetCommTimeouts(HANDLE file, const COMMTIMEOUTS* timeouts);
BOOL SetupComm(HANDLE file, DWORD inputQueue, DWORD outputQueue);
BOOL PurgeComm(HANDLE file, DWORD flags);
// Line errors are not reported by termios; the error flags are always 0.
BOOL ClearCommError(HANDLE file, DWORD* errors, COMSTAT* status);
BOOL EscapeCommFunction(HANDLE file, DWORD function);
BOOL GetCommModemStatus(HANDLE file, DWORD* status);
// The mask is kept and given back; no call here waits for the events.
BOOL SetCommMask(HANDLE file, DWORD mask);
BOOL GetCommMask(HANDLE file, DWORD* mask);
