#pragma once
// A program started from an argument vector (never through a shell), as a
// waitable kernel object: its handle is signalled when the program has ended.
// A watcher thread reaps the program, so none is left behind as a zombie,
// also when nobody waits for it.

#include "Platform/Base/KernelObject.h"
#include "Platform/Base/Types.h"

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <sys/types.h>

namespace ZELL::Shell {

struct ChildStart {
    std::vector<std::wstring> arguments;  // the program (a path or a name on PATH) first
    std::wstring workingFolder;           // empty: the caller's
    bool captureOutput = false;           // standard output into a pipe, standard input empty
    bool captureErrors = false;           // with captureOutput: standard error into the same pipe (else dropped)
    bool cLocale = false;                 // messages not translated, for programs whose output is parsed
};

class ChildProcess : public Platform::WaitableObject {
public:
    // Null with the errno of the failed start in `error` (ENOENT for a
    // missing program).
    static std::shared_ptr<ChildProcess> Start(const ChildStart& start, int& error);
    ~ChildProcess() override;

    bool IsSignalled() const override { return m_ended; }

    // True when the program ended within the time.
    bool WaitForExit(DWORD milliseconds);
    // STILL_ACTIVE while it runs; 128 + the signal number when a signal ended it.
    DWORD ExitCode() const { return m_exitCode; }
    // What the program wrote until it closed its output or the time ran out.
    std::string ReadOutput(DWORD milliseconds);
    // Ends the program at once (our own child only).
    void Kill();

private:
    ChildProcess() = default;
    static void Watch(std::shared_ptr<ChildProcess> self);

    pid_t m_pid = 0;
    int m_outputFd = -1;
    std::atomic<bool> m_ended = false;
    std::atomic<DWORD> m_exitCode = 259;
    std::mutex m_lock;
    std::condition_variable m_endedSignal;
};

// Output and exit of a program that is expected to end soon. A program that
// does not end within the time is killed; `timedOut` tells.
struct ChildResult {
    int startError = 0;   // errno of a failed start
    bool timedOut = false;
    DWORD exitCode = 0;
    std::string output;
};
ChildResult RunChild(const ChildStart& start, DWORD milliseconds);

}  // namespace ZELL::Shell

// The exit code of a process handle (STILL_ACTIVE while it runs).
BOOL GetExitCodeProcess(HANDLE process, LPDWORD exitCode);
