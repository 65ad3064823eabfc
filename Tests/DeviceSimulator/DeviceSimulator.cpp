#include "Tests/DeviceSimulator/DeviceSimulator.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

#include "Tests/DeviceSimulator/ServiceFrame.h"
#include "Tests/DeviceSimulator/ServiceSession.h"

namespace DevSim {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kReapIntervalMs = 200;
constexpr int kSendTimeoutMs = 5000;

enum class ENWait { Ready, Woken, TimedOut, Failed };

// Waits for `events` on fd or for the wake-up pipe; timeoutMs < 0: no limit
// other than the wake-up.
ENWait WaitFor(int fd, short events, int wakeFd, int timeoutMs)
{
    pollfd fds[2] = {{fd, events, 0}, {wakeFd, POLLIN, 0}};
    for (;;) {
        const int rc = ::poll(fds, 2, timeoutMs);
        if (rc < 0 && errno == EINTR)
            continue; // the deadline is re-applied by the callers' loops
        if (rc < 0)
            return ENWait::Failed;
        if (rc == 0)
            return ENWait::TimedOut;
        if (fds[1].revents != 0)
            return ENWait::Woken;
        return ENWait::Ready;
    }
}

int RemainingMs(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// Room for bytes that come along behind a frame in the same read; the first
// read takes a whole fragment of the usual size in one call.
constexpr size_t kTrailingRoom = 64;
constexpr size_t kFirstRead = 4096;

// Reads one frame: the header, then as many bytes as `bodyOf(header)` says
// follow it. The first byte may take any time (the connection waits for the
// host), the rest must come within timeoutMs. The host sends one frame and
// waits for its answer, so bytes already behind the frame belong to it: they
// stay in `frame`, which then fails its size check. The socket is
// non-blocking: bytes already there are taken at once, and only an empty
// socket is waited for (a stop ends that wait).
template <typename BodyOf>
bool ReadFrame(int fd, int wakeFd, uint32_t timeoutMs, BodyOf bodyOf, std::vector<uint8_t>& frame)
{
    size_t needed = CServiceFrame::kHeaderSize;
    bool headerSeen = false;
    frame.resize(kFirstRead);
    size_t got = 0;
    Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    bool mustWait = false;
    while (got < needed) {
        const bool unlimited = got == 0;
        if (mustWait && WaitFor(fd, POLLIN, wakeFd, unlimited ? -1 : RemainingMs(deadline)) != ENWait::Ready)
            return false;
        const ssize_t n = ::recv(fd, frame.data() + got, frame.size() - got, 0);
        if (n == 0)
            return false;
        mustWait = n < 0;
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)
                continue;
            return false;
        }
        if (unlimited)
            deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        got += static_cast<size_t>(n);
        if (!headerSeen && got >= CServiceFrame::kHeaderSize) {
            headerSeen = true;
            needed += bodyOf(frame.data());
            if (frame.size() < needed + kTrailingRoom)
                frame.resize(needed + kTrailingRoom);
        }
    }
    frame.resize(got);
    return true;
}

bool WriteAll(int fd, int wakeFd, const std::vector<uint8_t>& bytes)
{
    size_t sent = 0;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(kSendTimeoutMs);
    // Only a full send buffer is waited for.
    bool mustWait = false;
    while (sent < bytes.size()) {
        if (mustWait && WaitFor(fd, POLLOUT, wakeFd, RemainingMs(deadline)) != ENWait::Ready)
            return false;
        const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        mustWait = n < 0;
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)
                continue;
            return false;
        }
        sent += static_cast<size_t>(n);
    }
    return true;
}

void ResetAndClose(int fd)
{
    linger hard{1, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
    ::close(fd);
}

} // namespace

CDeviceSimulator::~CDeviceSimulator()
{
    Stop();
}

void CDeviceSimulator::SetError(const std::string& text)
{
    std::lock_guard lock(mutex_);
    lastError_ = text + ": " + std::strerror(errno);
}

std::string CDeviceSimulator::LastError() const
{
    std::lock_guard lock(mutex_);
    return lastError_;
}

bool CDeviceSimulator::SetLoopbackAddress(uint32_t address)
{
    if ((address >> 24) != 127)
        return false;
    bindAddress_ = address;
    return true;
}

bool CDeviceSimulator::Start(uint16_t port)
{
    if (running_) {
        std::lock_guard lock(mutex_);
        lastError_ = "already running";
        return false;
    }
    int pipeFds[2] = {-1, -1};
    if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) {
        SetError("pipe");
        return false;
    }
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        SetError("socket");
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        return false;
    }
    const int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(bindAddress_);
    socklen_t length = sizeof address;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(fd, 16) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        SetError("bind/listen on port " + std::to_string(port));
        ::close(fd);
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        return false;
    }
    listenFd_ = fd;
    wakeRead_ = pipeFds[0];
    wakeWrite_ = pipeFds[1];
    port_ = ntohs(address.sin_port);
    acceptedCount_ = 0;
    running_ = true;
    listener_ = std::thread([this] { ListenLoop(); });
    return true;
}

void CDeviceSimulator::Stop()
{
    if (!running_)
        return;
    const uint8_t byte = 1;
    // The byte stays unread: every later poll on the pipe sees it at once.
    while (::write(wakeWrite_, &byte, 1) < 0 && errno == EINTR) {
    }
    if (listener_.joinable())
        listener_.join();
    ReapFinished(true);
    ::close(listenFd_);
    ::close(wakeRead_);
    ::close(wakeWrite_);
    listenFd_ = wakeRead_ = wakeWrite_ = -1;
    running_ = false;
}

void CDeviceSimulator::ListenLoop()
{
    for (;;) {
        const ENWait wait = WaitFor(listenFd_, POLLIN, wakeRead_, kReapIntervalMs);
        if (wait == ENWait::Woken || wait == ENWait::Failed)
            return;
        ReapFinished(false);
        if (wait != ENWait::Ready)
            continue;
        const int client = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (client < 0) {
            // A connection reset before accept, or no descriptors left: pause
            // briefly rather than spin on a listener that stays readable.
            if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR &&
                WaitFor(wakeRead_, POLLIN, wakeRead_, 50) == ENWait::Woken)
                return;
            continue;
        }
        const int on = 1;
        ::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        auto session = std::make_unique<tSession>();
        session->fd = client;
        session->id = nextSessionId_++;
        tSession& ref = *session;
        ++openCount_;
        ++acceptedCount_;
        {
            std::lock_guard lock(mutex_);
            sessions_.push_back(std::move(session));
        }
        try {
            ref.thread = std::thread([this, &ref] { SessionLoop(ref); });
        } catch (const std::system_error&) {
            // No thread for it: the host sees the connection closed at once.
            ::close(ref.fd);
            ref.fd = -1;
            --openCount_;
            ref.finished = true;
        }
    }
}

void CDeviceSimulator::SessionLoop(tSession& session)
{
    CServiceSession protocol(model_, faults_, &log_, session.id);
    bool reset = false;
    std::vector<uint8_t> frame;
    const auto bodyOf = [&protocol](const uint8_t* header) { return protocol.BodySize(header); };
    for (;;) {
        if (!ReadFrame(session.fd, wakeRead_, protocol.FrameTimeoutMs(), bodyOf, frame))
            break;

        const tReaction reaction = protocol.OnFrame(frame);
        if (reaction.delayMs != 0 &&
            WaitFor(wakeRead_, POLLIN, wakeRead_, static_cast<int>(reaction.delayMs)) != ENWait::TimedOut)
            break;
        if (!reaction.bytes.empty() && !WriteAll(session.fd, wakeRead_, reaction.bytes))
            break;
        if (reaction.after == ENAfterSend::Reset)
            reset = true;
        if (reaction.after != ENAfterSend::Nothing)
            break;
    }
    protocol.OnClosed();
    if (reset)
        ResetAndClose(session.fd);
    else
        ::close(session.fd);
    session.fd = -1;
    --openCount_;
    session.finished = true;
}

void CDeviceSimulator::ReapFinished(bool all)
{
    std::list<std::unique_ptr<tSession>> done;
    {
        std::lock_guard lock(mutex_);
        for (auto it = sessions_.begin(); it != sessions_.end();) {
            if (all || (*it)->finished) {
                done.push_back(std::move(*it));
                it = sessions_.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (auto& session : done)
        if (session->thread.joinable())
            session->thread.join();
}

size_t CDeviceSimulator::OpenConnections() const
{
    return openCount_;
}

size_t CDeviceSimulator::AcceptedConnections() const
{
    return acceptedCount_;
}

bool CDeviceSimulator::WaitForOpenConnections(size_t count, std::chrono::milliseconds timeout) const
{
    const auto deadline = Clock::now() + timeout;
    while (openCount_ != count) {
        if (Clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

} // namespace DevSim
