#pragma once
// Events and the wait functions.
//
// Events are process-local: a name is accepted and ignored, so two calls with
// the same name make two events. WaitForSingleObject and
// WaitForMultipleObjects report WAIT_OBJECT_0 + n for the first signalled
// object in list order (wait-any) or WAIT_OBJECT_0 when all were signalled at
// once (wait-all, taken atomically), WAIT_TIMEOUT, or WAIT_FAILED with the
// last error set (ERROR_INVALID_HANDLE for a handle that is not open or not
// waitable, ERROR_INVALID_PARAMETER for a bad count or a wait-all list that
// names one object twice). Time-outs are measured on the clock of Clock.h.

#include "Platform/Base/KernelObject.h"
#include "Platform/Base/Types.h"

struct SECURITY_ATTRIBUTES;
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;

HANDLE CreateEventW(LPSECURITY_ATTRIBUTES attributes, BOOL manualReset, BOOL initialState, LPCWSTR name);
inline HANDLE CreateEvent(LPSECURITY_ATTRIBUTES attributes, BOOL manualReset, BOOL initialState, LPCWSTR name)
{
    return CreateEventW(attributes, manualReset, initialState, name);
}
// A manual-reset event wakes every waiter and stays set; an auto-reset event
// lets exactly one waiter through and resets itself.
BOOL SetEvent(HANDLE event);
BOOL ResetEvent(HANDLE event);

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);
DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds);
