#pragma once
// A pseudo-terminal whose slave side is published as a COM port through
// ZELL_SERIAL_PORTS; the test plays the device on the master side.
#include "Platform/Serial/CommApi.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace SerialTest {

class PseudoTerminal {
public:
    explicit PseudoTerminal(int comNumber = 42) : m_name(L"COM" + std::to_wstring(comNumber))
    {
        m_master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0) {
            ADD_FAILURE() << "no pseudo-terminal";
            return;
        }
        char path[128] = {};
        ptsname_r(m_master, path, sizeof(path));
        m_slavePath = path;
        const std::string entry = "COM" + std::to_string(comNumber) + "=" + m_slavePath;
        setenv("ZELL_SERIAL_PORTS", entry.c_str(), 1);
    }
    ~PseudoTerminal()
    {
        unsetenv("ZELL_SERIAL_PORTS");
        CloseMaster();
    }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    const std::wstring& Name() const { return m_name; }
    std::wstring DeviceName() const { return L"\\\\.\\" + m_name; }
    const std::string& SlavePath() const { return m_slavePath; }
    int Master() const { return m_master; }

    void Send(const std::string& bytes) const
    {
        ASSERT_EQ(::write(m_master, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }

    // What the port wrote, collected until `count` bytes or half a second.
    std::string Receive(std::size_t count) const
    {
        std::string bytes;
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
        while (bytes.size() < count && std::chrono::steady_clock::now() < end) {
            pollfd entry{m_master, POLLIN, 0};
            if (poll(&entry, 1, 50) <= 0)
                continue;
            char buffer[4096];
            const ssize_t n = ::read(m_master, buffer, sizeof(buffer));
            if (n > 0)
                bytes.append(buffer, static_cast<std::size_t>(n));
        }
        return bytes;
    }

    void CloseMaster()
    {
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
    }

private:
    std::wstring m_name;
    std::string m_slavePath;
    int m_master = -1;
};

inline HANDLE OpenPort(const PseudoTerminal& pty, DWORD flags = 0)
{
    return CreateFileW(pty.DeviceName().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, flags,
                       nullptr);
}

inline bool SetTimeouts(HANDLE port, DWORD interval, DWORD multiplier, DWORD constant)
{
    COMMTIMEOUTS timeouts{interval, multiplier, constant, 0, 0};
    return SetCommTimeouts(port, &timeouts) != FALSE;
}

inline long long ElapsedMs(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
}

inline void SendLater(const PseudoTerminal& pty, std::string bytes, int delayMs, std::thread& thread)
{
    thread = std::thread([&pty, bytes = std::move(bytes), delayMs] {
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        pty.Send(bytes);
    });
}

}
