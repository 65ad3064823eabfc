#include "Platform/Serial/CommApi.h"

#include "Platform/Base/KernelObject.h"
#include "Platform/Base/LastError.h"
#include "Platform/Base/WinError.h"
#include "Platform/Serial/ComPortMap.h"
#include "Platform/Serial/CommPort.h"

namespace {

using Serial::CommPort;

std::shared_ptr<CommPort> PortOf(HANDLE file)
{
    return Platform::FindKernelObject<CommPort>(file);
}

BOOL Report(DWORD error)
{
    if (error == ERROR_SUCCESS)
        return TRUE;
    SetLastError(error);
    return FALSE;
}

BOOL Fail(DWORD error)
{
    SetLastError(error);
    return FALSE;
}

// A port call on the value the caller points to; an unknown handle or a
// missing value is refused.
template <typename Value>
BOOL CallOnPointee(HANDLE file, Value* value, DWORD (CommPort::*call)(Value&))
{
    const auto port = PortOf(file);
    if (!port)
        return FALSE;
    if (value == nullptr)
        return Fail(ERROR_INVALID_PARAMETER);
    return Report(((*port).*call)(*value));
}

// A port call with a plain argument; an unknown handle is refused.
BOOL CallWithArgument(HANDLE file, DWORD argument, DWORD (CommPort::*call)(DWORD))
{
    const auto port = PortOf(file);
    if (!port)
        return FALSE;
    return Report(((*port).*call)(argument));
}

// The course ReadFile and WriteFile share: the count starts at 0; a port
// opened for overlapped use starts the request, any other port transfers at
// once and leaves the outcome in an OVERLAPPED the caller passed anyway.
template <typename Start, typename Transfer>
BOOL TransferBytes(const CommPort& port, DWORD* count, OVERLAPPED* overlapped, Start start, Transfer transfer)
{
    if (count != nullptr)
        *count = 0;
    DWORD done = 0;
    if (overlapped != nullptr && port.IsOverlapped()) {
        const DWORD error = start(done);
        if (error == ERROR_SUCCESS && count != nullptr)
            *count = done;
        return Report(error);
    }
    const DWORD error = transfer(done);
    if (count != nullptr)
        *count = done;
    if (overlapped != nullptr) {
        overlapped->Internal = error;
        overlapped->InternalHigh = done;
    }
    return Report(error);
}

}

HANDLE CreateFileW(LPCWSTR name, DWORD access, DWORD, SECURITY_ATTRIBUTES*, DWORD disposition, DWORD flags, HANDLE)
{
    if (name == nullptr) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    if (disposition != OPEN_EXISTING) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    const auto path = Serial::ComPortMap::FromSystem().DevicePathOf(name);
    if (!path) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    DWORD error = ERROR_SUCCESS;
    auto port = CommPort::Open(*path, access, (flags & FILE_FLAG_OVERLAPPED) != 0, error);
    if (!port) {
        SetLastError(error);
        return INVALID_HANDLE_VALUE;
    }
    HANDLE handle = Platform::AddKernelObject(port);
    return handle != nullptr ? handle : INVALID_HANDLE_VALUE;
}

BOOL ReadFile(HANDLE file, void* buffer, DWORD length, DWORD* read, OVERLAPPED* overlapped)
{
    const auto port = PortOf(file);
    if (!port)
        return FALSE;
    if (buffer == nullptr && length > 0)
        return Fail(ERROR_NOACCESS);
    return TransferBytes(
        *port, read, overlapped, [&](DWORD& done) { return port->StartRead(buffer, length, overlapped, done); },
        [&](DWORD& done) { return port->Read(buffer, length, done); });
}

BOOL WriteFile(HANDLE file, const void* data, DWORD length, DWORD* written, OVERLAPPED* overlapped)
{
    const auto port = PortOf(file);
    if (!port)
        return FALSE;
    if (data == nullptr && length > 0)
        return Fail(ERROR_NOACCESS);
    return TransferBytes(
        *port, written, overlapped, [&](DWORD& done) { return port->StartWrite(data, length, overlapped, done); },
        [&](DWORD& done) { return port->Write(data, length, done); });
}

BOOL GetOverlappedResult(HANDLE file, OVERLAPPED* overlapped, DWORD* transferred, BOOL wait)
{
    const auto port = PortOf(file);
    if (!port)
        return FALSE;
    if (overlapped == nullptr || transferred == nullptr)
        return Fail(ERROR_INVALID_PARAMETER);
    DWORD done = 0;
    const DWORD error = port->Result(overlapped, wait != FALSE, done);
    if (error != ERROR_IO_INCOMPLETE)
        *transferred = done;
    return Report(error);
}

BOOL GetCommState(HANDLE file, DCB* dcb)
{
    return CallOnPointee(file, dcb, &CommPort::GetState);
}

BOOL SetCommState(HANDLE file, const DCB* dcb)
{
    return CallOnPointee(file, dcb, &CommPort::SetState);
}

BOOL GetCommTimeouts(HANDLE file, COMMTIMEOUTS* timeouts)
{
    return CallOnPointee(file, timeouts, &CommPort::GetTimeouts);
}

BOOL SetCommTimeouts(HANDLE file, const COMMTIMEOUTS* timeouts)
{
    return CallOnPointee(file, timeouts, &CommPort::SetTimeouts);
}

BOOL SetupComm(HANDLE file, DWORD, DWORD)
{
    // The queue sizes are the kernel's; the request is accepted as a hint.
    return PortOf(file) ? TRUE : FALSE;
}

BOOL PurgeComm(HANDLE file, DWORD flags)
{
    return CallWithArgument(file, flags, &CommPort::Purge);
}

BOOL ClearCommError(HANDLE file, DWORD* errors, COMSTAT* status)
{
    const auto port = PortOf(file);
    if (!port)
        return FALSE;
    COMSTAT queues;
    const DWORD error = port->QueueStatus(queues);
    if (error != ERROR_SUCCESS)
        return Report(error);
    if (errors != nullptr)
        *errors = 0;
    if (status != nullptr)
        *status = queues;
    return TRUE;
}

BOOL EscapeCommFunction(HANDLE file, DWORD function)
{
    return CallWithArgument(file, function, &CommPort::Escape);
}

BOOL GetCommModemStatus(HANDLE file, DWORD* status)
{
    return CallOnPointee(file, status, &CommPort::ModemStatus);
}

BOOL SetCommMask(HANDLE file, DWORD mask)
{
    return CallWithArgument(file, mask, &CommPort::SetMask);
}

BOOL GetCommMask(HANDLE file, DWORD* mask)
{
    return CallOnPointee(file, mask, &CommPort::GetMask);
}
