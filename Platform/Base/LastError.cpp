#include "Platform/Base/LastError.h"
#include "Platform/Base/WinError.h"

#include <cerrno>

namespace {
thread_local DWORD g_lastError = ERROR_SUCCESS;
}

DWORD GetLastError()
{
    return g_lastError;
}

void SetLastError(DWORD error)
{
    g_lastError = error;
}

DWORD Win32ErrorFromErrno(int error)
{
    switch (error) {
    case 0: return ERROR_SUCCESS;
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EMFILE:
    case ENFILE: return ERROR_TOO_MANY_OPEN_FILES;
    case EACCES:
    case EPERM:
    case EROFS: return ERROR_ACCESS_DENIED;
    case EBADF: return ERROR_INVALID_HANDLE;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    case EEXIST: return ERROR_ALREADY_EXISTS;
    case EINVAL: return ERROR_INVALID_PARAMETER;
    case EPIPE: return ERROR_BROKEN_PIPE;
    case ENOSPC: return ERROR_DISK_FULL;
    case ENOSYS:
    case ENOTSUP: return ERROR_NOT_SUPPORTED;
    case ENAMETOOLONG: return ERROR_FILENAME_EXCED_RANGE;
    case EBUSY: return ERROR_SHARING_VIOLATION;
    case ETIMEDOUT: return ERROR_TIMEOUT;
    case EIO: return ERROR_GEN_FAILURE;
    case ENODEV:
    case ENXIO: return ERROR_DEVICE_NOT_CONNECTED;
    case EAGAIN: return ERROR_IO_PENDING;
    case EINTR: return ERROR_OPERATION_ABORTED;
    default: return ERROR_GEN_FAILURE;
    }
}
