#include "Platform/Base/DebugOutput.h"
#include "Platform/Base/TextConversion.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <mutex>
#include <string>
#include <unistd.h>

namespace {

constexpr const char* kVariable = "ZELL_DEBUG_OUTPUT";

class DebugSink {
public:
    ~DebugSink()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }

    void Write(std::string line)
    {
        if (line.empty())
            return;
        if (line.back() != '\n')
            line += '\n';
        const std::lock_guard<std::mutex> lock(m_mutex);
        // Read on every call, so that switching the output needs no restart.
        const char* target = std::getenv(kVariable);
        if (!target || !*target)
            return;
        if (std::strcmp(target, "stderr") == 0) {
            WriteAll(STDERR_FILENO, line);
            return;
        }
        if (m_fd < 0 || m_path != target || !StillNamed(m_fd, target)) {
            if (m_fd >= 0)
                ::close(m_fd);
            m_path = target;
            m_fd = ::open(target, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        }
        if (m_fd >= 0)
            WriteAll(m_fd, line);
    }

private:
    std::mutex m_mutex;
    int m_fd = -1;
    std::string m_path;

    // A file removed or replaced under the same name must not swallow the
    // lines that follow: they go to the file the name now stands for.
    static bool StillNamed(int fd, const char* path)
    {
        struct stat opened {};
        struct stat named {};
        return ::fstat(fd, &opened) == 0 && ::stat(path, &named) == 0 && opened.st_dev == named.st_dev &&
               opened.st_ino == named.st_ino;
    }

    // A trace must never fail its caller: a write error just drops the line.
    static void WriteAll(int fd, const std::string& line)
    {
        const char* data = line.data();
        std::size_t left = line.size();
        while (left > 0) {
            const ssize_t written = ::write(fd, data, left);
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                return;
            data += written;
            left -= static_cast<std::size_t>(written);
        }
    }
};

DebugSink& Sink()
{
    // Never destroyed: traces may still come from static destructors.
    static DebugSink* sink = new DebugSink;
    return *sink;
}

}

void OutputDebugStringW(LPCWSTR text)
{
    if (text && *text)
        Sink().Write(Text::WideToUtf8(text));
}

void OutputDebugStringA(LPCSTR text)
{
    if (text && *text)
        Sink().Write(text);
}
