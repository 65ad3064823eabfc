#pragma once
// A private Xvfb for one test program: it picks a free display number itself
// (-displayfd), so parallel tests never meet, and it dies with its parent.

#include <string>
#include <sys/types.h>
#include <vector>

namespace X11Test {

class CXvfbServer {
public:
    CXvfbServer() = default;
    ~CXvfbServer();
    CXvfbServer(const CXvfbServer&) = delete;
    CXvfbServer& operator=(const CXvfbServer&) = delete;

    // Starts the server and waits up to `timeoutMs` for it to accept
    // connections. False, with the reason in Error(), when it does not.
    bool Start(const std::string& screen = "1024x768x24", int timeoutMs = 10000);
    // Ends the server (SIGTERM, then SIGKILL after a grace period) and reaps it.
    void Stop();

    // ":N", for XOpenDisplay and for DISPLAY of child processes.
    const std::string& Name() const { return m_name; }
    const std::string& Error() const { return m_error; }

private:
    pid_t m_pid = -1;
    std::string m_name;
    std::string m_error;
};

// A child program on a display, whose standard output is read line by line.
// It is killed when the object goes, if it has not ended by then.
class CChildProcess {
public:
    CChildProcess() = default;
    ~CChildProcess();
    CChildProcess(const CChildProcess&) = delete;
    CChildProcess& operator=(const CChildProcess&) = delete;

    // DISPLAY is set to `display`, ZELL_DISPLAY is cleared.
    bool Start(const std::string& display, const std::vector<std::string>& argv);
    // The next line without its line feed; false when none came within `timeoutMs` or the output ended.
    bool ReadLine(std::string& line, int timeoutMs);
    // The exit status, or -1 when it did not end within `timeoutMs` (it is killed then).
    int Wait(int timeoutMs);

private:
    pid_t m_pid = -1;
    int m_output = -1;
    std::string m_pending;
};

// Runs a program with DISPLAY set to `display` (unset when empty), its output
// thrown away, and waits up to `timeoutMs`;
// returns its exit status, or -1 when it could not run or took too long (it is killed then).
int RunWithDisplay(const std::string& display, const std::vector<std::string>& argv, int timeoutMs = 10000);

// For a test suite of the window layer on X: a private server whose X11
// display becomes the process's display, and both gone again.
class CLayerOnXvfb {
public:
    // False, with the reason in Error(), when the server or the display could not be had.
    bool Start();
    ~CLayerOnXvfb();
    const CXvfbServer& Server() const { return m_server; }
    const std::string& Error() const { return m_error; }

private:
    CXvfbServer m_server;
    bool m_replaced = false;
    std::string m_error;
};

}
