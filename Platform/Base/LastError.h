#pragma once
// The calling thread's last-error value.
#include "Platform/Base/Types.h"

DWORD GetLastError();
void SetLastError(DWORD error);

// The Win32 code that stands for an errno value of a failed POSIX call.
DWORD Win32ErrorFromErrno(int error);
