#include "Platform/Net/WinSock.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <vector>

#include <poll.h>
#include <sys/stat.h>

namespace {

using Clock = std::chrono::steady_clock;

u_int CountOf(const WsaSocketSet* set)
{
    return set == nullptr ? 0 : std::min<u_int>(set->fd_count, FD_SETSIZE);
}

struct Watched {
    SOCKET socket = INVALID_SOCKET;
    bool read = false;
    bool write = false;
    bool except = false;
};

// One poll entry per distinct socket, whatever sets it is in.
bool Collect(WsaSocketSet* set, int which, std::vector<Watched>& watched)
{
    for (u_int i = 0; i < CountOf(set); ++i) {
        const SOCKET s = set->fd_array[i];
        if (s > static_cast<SOCKET>(INT_MAX))
            return false;
        auto found = std::find_if(watched.begin(), watched.end(), [s](const Watched& w) { return w.socket == s; });
        if (found == watched.end()) {
            watched.push_back(Watched{s});
            found = watched.end() - 1;
        }
        (which == 0 ? found->read : which == 1 ? found->write : found->except) = true;
    }
    return true;
}

bool IsSocket(SOCKET s)
{
    struct stat info {};
    return fstat(static_cast<int>(s), &info) == 0 && S_ISSOCK(info.st_mode);
}

bool ReadReady(short events)
{
    return (events & (POLLIN | POLLHUP | POLLERR | POLLRDHUP)) != 0;
}

// A pending error means a connect that failed: the platform shows that in the
// exception set only, never as writable.
bool WriteReady(short events)
{
    return (events & POLLOUT) != 0 && (events & POLLERR) == 0;
}

bool ExceptReady(short events)
{
    return (events & (POLLERR | POLLPRI)) != 0;
}

// Leaves in the set only the sockets that are ready; returns how many.
int Filter(WsaSocketSet* set, const std::vector<Watched>& watched, const std::vector<pollfd>& polled,
           bool (*ready)(short))
{
    if (set == nullptr)
        return 0;
    u_int kept = 0;
    for (u_int i = 0; i < CountOf(set); ++i) {
        const SOCKET s = set->fd_array[i];
        for (std::size_t k = 0; k < watched.size(); ++k) {
            if (watched[k].socket == s && ready(polled[k].revents)) {
                set->fd_array[kept++] = s;
                break;
            }
        }
    }
    set->fd_count = kept;
    return static_cast<int>(kept);
}

int Remaining(bool limited, Clock::time_point deadline)
{
    if (!limited)
        return -1;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return static_cast<int>(std::clamp<long long>(left, 0, INT_MAX));
}

}

namespace Net {

void SocketSetAdd(SOCKET s, WsaSocketSet* set)
{
    if (set == nullptr || SocketSetContains(s, set))
        return;
    if (set->fd_count < FD_SETSIZE)
        set->fd_array[set->fd_count++] = s;
}

void SocketSetRemove(SOCKET s, WsaSocketSet* set)
{
    if (set == nullptr)
        return;
    const u_int count = CountOf(set);
    u_int kept = 0;
    for (u_int i = 0; i < count; ++i) {
        if (set->fd_array[i] != s)
            set->fd_array[kept++] = set->fd_array[i];
    }
    set->fd_count = kept;
}

bool SocketSetContains(SOCKET s, const WsaSocketSet* set)
{
    for (u_int i = 0; i < CountOf(set); ++i) {
        if (set->fd_array[i] == s)
            return true;
    }
    return false;
}

}

int select(int, WsaSocketSet* readSet, WsaSocketSet* writeSet, WsaSocketSet* exceptSet, const timeval* timeout)
{
    std::vector<Watched> watched;
    if (!Collect(readSet, 0, watched) || !Collect(writeSet, 1, watched) || !Collect(exceptSet, 2, watched)) {
        WSASetLastError(WSAENOTSOCK);
        return SOCKET_ERROR;
    }
    if (watched.empty() || (timeout != nullptr && (timeout->tv_sec < 0 || timeout->tv_usec < 0))) {
        WSASetLastError(WSAEINVAL);
        return SOCKET_ERROR;
    }
    std::vector<pollfd> polled;
    for (const Watched& w : watched) {
        if (!IsSocket(w.socket)) {
            WSASetLastError(WSAENOTSOCK);
            return SOCKET_ERROR;
        }
        short events = 0;
        if (w.read)
            events |= POLLIN | POLLRDHUP;
        if (w.write)
            events |= POLLOUT;
        if (w.except)
            events |= POLLPRI;
        polled.push_back(pollfd{static_cast<int>(w.socket), events, 0});
    }

    const bool limited = timeout != nullptr;
    Clock::time_point deadline = Clock::now();
    if (limited) {
        const long long seconds = std::min<long long>(timeout->tv_sec, 100LL * 365 * 24 * 3600);
        deadline += std::chrono::seconds(seconds) + std::chrono::microseconds(timeout->tv_usec);
    }
    std::vector<pollfd> active = polled;
    for (;;) {
        const int result = poll(active.data(), active.size(), Remaining(limited, deadline));
        if (result < 0 && errno != EINTR) {
            WSASetLastError(Net::WsaErrorFromErrno(errno));
            return SOCKET_ERROR;
        }
        bool any = false;
        for (std::size_t k = 0; k < active.size(); ++k) {
            const short events = result > 0 ? active[k].revents : 0;
            if (events & POLLNVAL) {
                WSASetLastError(WSAENOTSOCK);
                return SOCKET_ERROR;
            }
            const Watched& w = watched[k];
            const bool ready = (w.read && ReadReady(events)) || (w.write && WriteReady(events)) ||
                               (w.except && ExceptReady(events));
            polled[k].revents = ready ? events : 0;
            any = any || ready;
            // An error or hang-up that none of the asked sets shows would wake
            // poll at once again; such a socket is left out of the further wait.
            if (!ready && events != 0)
                active[k].fd = -1;
        }
        if (any || (result == 0 && Remaining(limited, deadline) == 0))
            break;
        if (result < 0 && Remaining(limited, deadline) == 0)
            break;
    }
    return Filter(readSet, watched, polled, ReadReady) + Filter(writeSet, watched, polled, WriteReady) +
           Filter(exceptSet, watched, polled, ExceptReady);
}
