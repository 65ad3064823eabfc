#pragma once
// Threads as waitable kernel objects.
//
// A thread handle becomes signalled when the start routine has returned; its
// exit code is STILL_ACTIVE until then. Closing the handle of a running
// thread leaves the thread running. Thread ids are small numbers handed out
// in order of first use (1 for the first thread that asks), stable for the
// life of the thread and never reused within the process; a thread made here
// has its id before it starts, so the id passed out by CreateThread is the
// one the thread itself sees.
// There is deliberately no TerminateThread: a thread ends by returning.

#include "Platform/Base/KernelObject.h"
#include "Platform/Base/Synchronization.h"
#include "Platform/Base/Types.h"

#include <cstdint>

constexpr DWORD STILL_ACTIVE = 259;
constexpr DWORD CREATE_SUSPENDED = 0x00000004;

constexpr int THREAD_PRIORITY_LOWEST = -2;
constexpr int THREAD_PRIORITY_BELOW_NORMAL = -1;
constexpr int THREAD_PRIORITY_NORMAL = 0;
constexpr int THREAD_PRIORITY_ABOVE_NORMAL = 1;
constexpr int THREAD_PRIORITY_HIGHEST = 2;
constexpr int THREAD_PRIORITY_TIME_CRITICAL = 15;
constexpr int THREAD_PRIORITY_IDLE = -15;

using LPTHREAD_START_ROUTINE = DWORD (*)(LPVOID parameter);

// With CREATE_SUSPENDED the thread starts only at ResumeThread. The stack
// size is left to the system.
HANDLE CreateThread(LPSECURITY_ATTRIBUTES attributes, SIZE_T stackSize, LPTHREAD_START_ROUTINE start,
    LPVOID parameter, DWORD creationFlags, LPDWORD threadId);
// The run-time library's form: the handle comes back as a number, 0 on failure.
std::uintptr_t _beginthreadex(void* security, unsigned stackSize, unsigned (*start)(void*), void* argument,
    unsigned initFlag, unsigned* threadId);

// Starts a thread made with CREATE_SUSPENDED. Returns the previous suspend
// count (1 when this call started it, 0 when it was running already), or
// (DWORD)-1 for a handle that is not a thread.
DWORD ResumeThread(HANDLE thread);

BOOL GetExitCodeThread(HANDLE thread, LPDWORD exitCode);
DWORD GetCurrentThreadId();
// A pseudo-handle for the calling thread; it needs no CloseHandle.
HANDLE GetCurrentThread();
// Priorities are not applied; the call checks the handle and succeeds.
BOOL SetThreadPriority(HANDLE thread, int priority);
DWORD GetCurrentProcessId();
