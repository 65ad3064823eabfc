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
    if (read != nullptr)
        *read = 0;
    DWORD done = 0;
    if (overlapped != nullptr && port->IsOverlapped()) {
        const DWORD error = port->StartRead(buffer, length, overlapped, done);
        if (error == ERROR_SUCCESS && read != nullptr)
            *read = done;
        return Report(error);
    }
    const DWORD error = port->Read(buffer, length, done);
    if (read != nullptr)
        *read = done;
    if (overlapped != nullptr) {
        overlapped->Internal = error;
        overlapped->InternalHigh = done;
    }
    return Report(error);
}

BOOL WriteFile(HANDLE file, const void* data, DWORD length, DWORD* written, OVERLAPPED* overlapped)
{
    const auto port = PortOf(file);
    if (!port)
        return FALSE;
    if (data == nullptr && length > 0)
        return Fail(ERROR_NOACCESS);
    if (written != nullptr)
        *written = 0;
    DWORD done = 0;
    if (overlapped != nullptr && port->IsOverlapped()) {
        const DWORD error = port->StartWrite(data, length, overlapped, done);
        if (error == ERROR_SUCCESS && written != nullptr)
            *written = done;
        return Report(error);
    }
    const DWORD error = port->Write(data, length, done);
    if (written != nullptr)
        *written = done;
    if (overlapped != nullptr) {
        overlapped->Internal = error;
        overlapped->InternalHigh = done;
    }
    return Report(error);
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
    const auto port = PortOf(file);
    if (!port)
        return FALSE;
    if (dcb == nullptr)
        return Fail(ERROR_INVALID_PARAMETER);
    return Report(port->GetState(*dcb));
}

BOOL SetCommState(HANDLE file, const DCB* dcb)
{
    const auto port = PortOf(file);
    if (!port)
        return FALSE;
    if (dcb == nullptr)
        return Fail(ERROR_INVALID_PARAMETER);
    return Report(port->SetState(*dcb));
}

BOOL GetCommTimeouts(HANDLE file, COMMTIMEOUTS* timeouts)
{
    const auto port = PortOf(file);
    if (!port)
        return FALSE;
    if (timeouts == nullptr)
        return Fail(ERROR_INVALID_PARAMETER);
    return Report(port->GetTimeouts(*timeouts));
}

BOOL SetCommTimeouts(HANDLE file, const COMMTIMEOUTS* timeouts)
{
    const auto port = PortOf(file);
    if (!port)
        return FALSE;
    if (timeouts == nullptr)
        return Fail(ERROR_INVALID_PARAMETER);
    return Report(port->SetTimeouts(*timeouts));
}

BOOL SetupComm(HANDLE file, DWORD, DWORD)
{
    // The queue sizes are the kernel's; the request is accepted as a hint.
    return PortOf(file) ? TRUE : FALSE;
}

BOOL PurgeComm(HANDLE file, DWORD flags)
{
    const auto port = PortOf(file);
    if (!port)
        return FALSE;
    return Report(port->Purge(flags));
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
    const auto port = PortOf(file);
    if (!port)
        return FALSE;
    return Report(port->Escape(function));
}

BOOL GetCommModemStatus(HANDLE file, DWORD* status)
{
    const auto port = PortOf(file);
    if (!port)
        return FALSE;
    if (status == nullptr)
        return Fail(ERROR_INVALID_PARAMETER);
    return Report(port->ModemStatus(*status));
}

BOOL SetCommMask(HANDLE file, DWORD mask)
{
    const auto port = PortOf(file);
    if (!port)
        return FALSE;
    return Report(port->SetMask(mask));
}

BOOL GetCommMask(HANDLE file, DWORD* mask)
{
    const auto port = PortOf(file);
    if (!port)
        return FALSE;
    if (mask == nullptr)
        return Fail(ERROR_INVALID_PARAMETER);
    return Report(port->GetMask(*mask));
}
