#pragma once
// Counts how often a file is opened, by anyone in this process, through the
// kernel's file notifications: the tests of "read once" count real opens.

#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>
#include <string>

namespace TestSupport {

class CFileOpenCounter {
public:
    explicit CFileOpenCounter(const std::string& path)
        : m_fd(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
        if (m_fd < 0 || ::inotify_add_watch(m_fd, path.c_str(), IN_OPEN) < 0)
            throw std::runtime_error("cannot watch " + path);
    }
    ~CFileOpenCounter() { ::close(m_fd); }
    CFileOpenCounter(const CFileOpenCounter&) = delete;
    CFileOpenCounter& operator=(const CFileOpenCounter&) = delete;

    // The opens since the last call.
    int Take()
    {
        int opens = 0;
        alignas(inotify_event) char buffer[4096];
        for (;;) {
            const ssize_t length = ::read(m_fd, buffer, sizeof buffer);
            if (length <= 0)
                return opens;
            for (ssize_t at = 0; at < length;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                opens += (event->mask & IN_OPEN) != 0 ? 1 : 0;
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
    }

private:
    int m_fd;
};

}
