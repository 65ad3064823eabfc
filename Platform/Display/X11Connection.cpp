#include "Platform/Display/X11Connection.h"

#include <algorithm>
#include <chrono>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <netdb.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace Display::X11 {
namespace {

void InstallErrorHandler(int (*handler)(XDisplay*, XErrorEvent*))
{
    static std::once_flag once;
    std::call_once(once, [handler] {
        XInitThreads();
        XSetErrorHandler(handler);
    });
}

// Xlib's own connect to a display on another host waits as long as the
// network lets it; a host that never answers would keep a start waiting for
// minutes.
constexpr int kRemoteConnectMs = 2000;
constexpr int kFirstDisplayPort = 6000;

bool ConnectsWithin(const addrinfo& address, int timeoutMs)
{
    const int fd = ::socket(address.ai_family, address.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, address.ai_protocol);
    if (fd < 0)
        return false;
    bool connected = ::connect(fd, address.ai_addr, address.ai_addrlen) == 0;
    if (!connected && errno == EINPROGRESS) {
        pollfd writable{fd, POLLOUT, 0};
        int error = 0;
        socklen_t length = sizeof error;
        connected = ::poll(&writable, 1, timeoutMs) == 1
            && ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
    }
    ::close(fd);
    return connected;
}

// False only when the name is host:display (TCP) and no server at that host
// takes a connection in time; local names are left to Xlib, which fails on
// them at once.
bool RemoteServerAnswers(const std::string& name)
{
    const std::size_t colon = name.rfind(':');
    if (colon == std::string::npos || colon == 0 || name.front() == '/' || name.compare(0, colon, "unix") == 0
        || (colon > 0 && name[colon - 1] == ':'))
        return true;
    std::string host = name.substr(0, colon);
    if (host.size() > 2 && host.front() == '[' && host.back() == ']')
        host = host.substr(1, host.size() - 2);
    const int display = std::atoi(name.c_str() + colon + 1);
    const std::string port = std::to_string(kFirstDisplayPort + display);
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), port.c_str(), &hints, &found) != 0)
        return false;
    bool answers = false;
    for (const addrinfo* at = found; at != nullptr && !answers; at = at->ai_next)
        answers = ConnectsWithin(*at, kRemoteConnectMs);
    ::freeaddrinfo(found);
    return answers;
}

}

CX11Connection::~CX11Connection()
{
    Close();
}

// Xlib's default handler ends the process on a protocol error; a failed
// request (a window that went away meanwhile) is ignored instead.
int CX11Connection::OnXError(XDisplay*, XErrorEvent*)
{
    return 0;
}

bool CX11Connection::Open(const std::string& displayName)
{
    Close();
    InstallErrorHandler(&CX11Connection::OnXError);
    const char* named = displayName.empty() ? std::getenv("DISPLAY") : displayName.c_str();
    if (named == nullptr || !RemoteServerAnswers(named))
        return false;
    m_display = XOpenDisplay(named);
    if (!m_display)
        return false;
    m_wakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (m_wakeFd < 0) {
        Close();
        return false;
    }
    m_screen = DefaultScreen(m_display);
    m_root = RootWindow(m_display, m_screen);
    return true;
}

void CX11Connection::Close()
{
    if (m_display) {
        XCloseDisplay(m_display);
        m_display = nullptr;
    }
    if (m_wakeFd >= 0) {
        close(m_wakeFd);
        m_wakeFd = -1;
    }
    std::lock_guard lock(m_atomLock);
    m_atoms.clear();
    m_root = 0;
    m_lastEventTime = 0;
}

Atom CX11Connection::GetAtom(const char* name)
{
    std::lock_guard lock(m_atomLock);
    auto it = m_atoms.find(name);
    if (it != m_atoms.end())
        return it->second;
    if (!m_display)
        return 0;
    const Atom atom = XInternAtom(m_display, name, False);
    m_atoms.emplace(name, atom);
    return atom;
}

void CX11Connection::Wake()
{
    if (m_wakeFd < 0)
        return;
    const std::uint64_t one = 1;
    // A full counter already means a pending wake-up, so EAGAIN loses nothing.
    [[maybe_unused]] ssize_t written = write(m_wakeFd, &one, sizeof one);
}

CX11Connection::WaitResult CX11Connection::Wait(int timeoutMs)
{
    if (!m_display)
        return WaitResult::Failed;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
    for (;;) {
        // XPending flushes the output buffer and reads whatever has arrived.
        if (XPending(m_display) > 0)
            return WaitResult::Events;
        int waitMs = -1;
        if (timeoutMs >= 0) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            waitMs = left.count() > 0 ? static_cast<int>(left.count()) : 0;
        }
        pollfd fds[2] = {{ConnectionNumber(m_display), POLLIN, 0}, {m_wakeFd, POLLIN, 0}};
        const int ready = poll(fds, 2, waitMs);
        if (ready < 0 && errno != EINTR)
            return WaitResult::Failed;
        if (ready > 0 && (fds[1].revents & POLLIN)) {
            std::uint64_t count = 0;
            [[maybe_unused]] ssize_t got = read(m_wakeFd, &count, sizeof count);
            return XPending(m_display) > 0 ? WaitResult::Events : WaitResult::Woken;
        }
        // Readable bytes may have been only a reply or an error: go round until the deadline.
        if (ready == 0 && waitMs == 0)
            return WaitResult::Timeout;
        if (ready == 0 && timeoutMs >= 0 && std::chrono::steady_clock::now() >= deadline)
            return WaitResult::Timeout;
    }
}

namespace {

struct EventMatch {
    Window window;
    int type;
};

Bool MatchWindowEvent(XDisplay*, XEvent* event, XPointer arg)
{
    const auto* match = reinterpret_cast<const EventMatch*>(arg);
    return event->type == match->type && event->xany.window == match->window ? True : False;
}

}

bool CX11Connection::WaitForWindowEvent(Window window, int type, int timeoutMs, XEvent& event)
{
    if (!m_display)
        return false;
    EventMatch match{window, type};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    XFlush(m_display);
    for (;;) {
        if (XCheckIfEvent(m_display, &event, &MatchWindowEvent, reinterpret_cast<XPointer>(&match)))
            return true;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
        if (left <= 0)
            return false;
        pollfd fd{ConnectionNumber(m_display), POLLIN, 0};
        poll(&fd, 1, static_cast<int>(left));
        // Reads whatever arrived into the queue without blocking.
        XEventsQueued(m_display, QueuedAfterReading);
    }
}

void CX11Connection::NoteEventTime(Time time)
{
    if (time != CurrentTime)
        m_lastEventTime = time;
}

}
