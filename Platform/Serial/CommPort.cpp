#include "Platform/Serial/CommPort.h"

#include "Platform/Base/LastError.h"
#include "Platform/Base/Synchronization.h"
#include "Platform/Base/WinError.h"
#include "Platform/Serial/LineSettings.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <new>
#include <optional>

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <unistd.h>

namespace Serial {
namespace {

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::milliseconds;

// Overlapped requests that nobody collects are dropped beyond this many.
constexpr std::size_t kMaxKeptRequests = 256;

DWORD OpenError(int error)
{
    switch (error) {
    case ENOENT:
    case ENXIO:
    case ENODEV:
    case ENOTDIR: return ERROR_FILE_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EBUSY:
    case EROFS:
    case EWOULDBLOCK: return ERROR_ACCESS_DENIED;
    default: return Win32ErrorFromErrno(error);
    }
}

// A device without modem lines (a pseudo-terminal) refuses their ioctls.
DWORD LineError(int error)
{
    return error == ENOTTY || error == EINVAL ? ERROR_NOT_SUPPORTED : Win32ErrorFromErrno(error);
}

void Wake(int fd)
{
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(fd, &one, sizeof(one));
}

void Drain(int fd)
{
    std::uint64_t count = 0;
    [[maybe_unused]] const ssize_t read = ::read(fd, &count, sizeof(count));
}

int RemainingMs(Clock::time_point deadline)
{
    const auto left = std::chrono::ceil<Milliseconds>(deadline - Clock::now()).count();
    return static_cast<int>(std::clamp<long long>(left, 0, INT_MAX));
}

// Multiplier x bytes + constant, in 64 bits so that no product wraps.
Clock::time_point TotalDeadline(Clock::time_point start, DWORD multiplier, DWORD bytes, DWORD constant)
{
    const unsigned long long ms = static_cast<unsigned long long>(multiplier) * bytes + constant;
    return start + Milliseconds(static_cast<long long>(std::min<unsigned long long>(ms, 1ULL << 40)));
}

// A transfer that wants more bytes: it ends when no time is left, is left
// pending for a caller that does not wait, and otherwise waits; nullopt
// means go on with the transfer.
template <typename Wait>
std::optional<DWORD> EndOrWait(int waitMs, bool onlyNow, Wait wait)
{
    if (waitMs == 0)
        return ERROR_SUCCESS;
    if (onlyNow)
        return ERROR_IO_PENDING;
    if (const DWORD error = wait())
        return error;
    return std::nullopt;
}

// Copies one of the port's settings in or out under the port's lock; a
// closed port leaves both sides as they are.
template <typename Value>
DWORD CopyWhileOpen(std::mutex& mutex, const bool& closed, const Value& from, Value& to)
{
    std::lock_guard lock(mutex);
    if (closed)
        return ERROR_INVALID_HANDLE;
    to = from;
    return ERROR_SUCCESS;
}

}

CommPort::CommPort(int fd, DWORD access, bool overlapped, std::string devicePath)
    : m_fd(fd), m_access(access), m_overlapped(overlapped), m_devicePath(std::move(devicePath))
{
}

std::shared_ptr<CommPort> CommPort::Open(const std::string& devicePath, DWORD access, bool overlapped, DWORD& error)
{
    const bool reads = (access & GENERIC_READ) != 0;
    const bool writes = (access & GENERIC_WRITE) != 0;
    const int mode = reads && writes ? O_RDWR : writes ? O_WRONLY : O_RDONLY;
    const int fd = ::open(devicePath.c_str(), mode | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = OpenError(errno);
        return nullptr;
    }
    if (!isatty(fd)) {
        ::close(fd);
        error = ERROR_FILE_NOT_FOUND;
        return nullptr;
    }
    // The platform opens a port for one user only; the lock also holds
    // against our own second open, which TIOCEXCL does not stop for root.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        error = OpenError(errno);
        ::close(fd);
        return nullptr;
    }
    SetExclusive(fd, true);
    if (const int failure = MakeRaw(fd)) {
        error = Win32ErrorFromErrno(failure);
        ::close(fd);
        return nullptr;
    }
    std::shared_ptr<CommPort> port(new (std::nothrow) CommPort(fd, access, overlapped, devicePath));
    if (!port) {
        ::close(fd);
        error = ERROR_NOT_ENOUGH_MEMORY;
        return nullptr;
    }
    port->m_reader.wakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    port->m_writer.wakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (port->m_reader.wakeFd < 0 || port->m_writer.wakeFd < 0) {
        error = Win32ErrorFromErrno(errno);
        return nullptr;
    }
    LineSettings line;
    ReadLineSettings(fd, line);
    DCB& dcb = port->m_dcb;
    dcb.BaudRate = line.baudRate;
    dcb.fBinary = 1;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = line.rtsCtsFlow ? RTS_CONTROL_HANDSHAKE : RTS_CONTROL_ENABLE;
    dcb.fOutxCtsFlow = line.rtsCtsFlow ? 1 : 0;
    dcb.XonLim = 2048;
    dcb.XoffLim = 512;
    dcb.ByteSize = line.byteSize;
    dcb.Parity = line.parity;
    dcb.StopBits = line.twoStopBits ? TWOSTOPBITS : ONESTOPBIT;
    dcb.XonChar = line.xonChar;
    dcb.XoffChar = line.xoffChar;
    error = ERROR_SUCCESS;
    return port;
}

CommPort::~CommPort()
{
    Close();
}

bool CommPort::OnHandleClosed()
{
    Close();
    return true;
}

void CommPort::Close()
{
    {
        std::lock_guard lock(m_mutex);
        if (m_stopping)
            return;
        m_closed = true;
        m_stopping = true;
        // Under the lock that requests take their abort serial under: every
        // request either sees the port closed or sees this abort.
        ++m_reader.abortSerial;
        ++m_writer.abortSerial;
    }
    for (Lane* lane : {&m_reader, &m_writer}) {
        if (lane->wakeFd >= 0)
            Wake(lane->wakeFd);
    }
    m_changed.notify_all();
    for (Lane* lane : {&m_reader, &m_writer}) {
        if (lane->worker.joinable())
            lane->worker.join();
        // A request waited for in a caller's thread ends by the abort; the
        // device is closed only after it has let go.
        std::lock_guard running(lane->serial);
    }
    std::lock_guard lock(m_mutex);
    if (m_fd >= 0) {
        SetExclusive(m_fd, false);
        ::close(m_fd);
        m_fd = -1;
    }
    for (Lane* lane : {&m_reader, &m_writer}) {
        if (lane->wakeFd >= 0)
            ::close(lane->wakeFd);
        lane->wakeFd = -1;
    }
}

DWORD CommPort::CheckOpen(Direction direction) const
{
    if (m_closed)
        return ERROR_INVALID_HANDLE;
    const DWORD needed = direction == Direction::Read ? GENERIC_READ : GENERIC_WRITE;
    return (m_access & needed) != 0 ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

DWORD CommPort::GetState(DCB& dcb)
{
    std::lock_guard lock(m_mutex);
    if (m_closed)
        return ERROR_INVALID_HANDLE;
    LineSettings line;
    if (const int error = ReadLineSettings(m_fd, line))
        return Win32ErrorFromErrno(error);
    // termios does not keep what the DCB says about the modem lines; those
    // come from the last SetCommState, the rest from the device.
    dcb = m_dcb;
    dcb.DCBlength = sizeof(DCB);
    dcb.BaudRate = line.baudRate;
    dcb.ByteSize = line.byteSize;
    dcb.Parity = line.parity;
    if (!line.twoStopBits)
        dcb.StopBits = ONESTOPBIT;
    else if (m_dcb.StopBits != ONE5STOPBITS)
        dcb.StopBits = TWOSTOPBITS;
    if (line.rtsCtsFlow && !m_dcb.fOutxCtsFlow && m_dcb.fRtsControl != RTS_CONTROL_HANDSHAKE) {
        dcb.fOutxCtsFlow = 1;
        dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
    } else if (!line.rtsCtsFlow) {
        dcb.fOutxCtsFlow = 0;
        if (dcb.fRtsControl == RTS_CONTROL_HANDSHAKE)
            dcb.fRtsControl = RTS_CONTROL_ENABLE;
    }
    dcb.fOutX = line.xonXoffOutput ? 1 : 0;
    dcb.fInX = line.xonXoffInput ? 1 : 0;
    dcb.XonChar = line.xonChar;
    dcb.XoffChar = line.xoffChar;
    return ERROR_SUCCESS;
}

DWORD CommPort::SetState(const DCB& dcb)
{
    if (dcb.BaudRate == 0 || dcb.ByteSize < 5 || dcb.ByteSize > 8 || dcb.Parity > SPACEPARITY ||
        dcb.StopBits > TWOSTOPBITS)
        return ERROR_INVALID_PARAMETER;
    std::lock_guard lock(m_mutex);
    if (m_closed)
        return ERROR_INVALID_HANDLE;
    LineSettings line;
    line.baudRate = dcb.BaudRate;
    line.byteSize = dcb.ByteSize;
    line.parity = dcb.Parity;
    line.twoStopBits = dcb.StopBits != ONESTOPBIT;
    line.rtsCtsFlow = dcb.fOutxCtsFlow || dcb.fRtsControl == RTS_CONTROL_HANDSHAKE;
    line.xonXoffOutput = dcb.fOutX != 0;
    line.xonXoffInput = dcb.fInX != 0;
    line.xonChar = dcb.XonChar;
    line.xoffChar = dcb.XoffChar;
    if (const int error = WriteLineSettings(m_fd, line))
        return error == EINVAL ? ERROR_INVALID_PARAMETER : Win32ErrorFromErrno(error);
    // Devices without modem lines ignore these.
    SetModemLines(m_fd, ModemLineDtr(), dcb.fDtrControl != DTR_CONTROL_DISABLE);
    SetModemLines(m_fd, ModemLineRts(),
                  dcb.fRtsControl == RTS_CONTROL_ENABLE || dcb.fRtsControl == RTS_CONTROL_HANDSHAKE);
    m_dcb = dcb;
    m_dcb.DCBlength = sizeof(DCB);
    m_dcb.fBinary = 1;
    return ERROR_SUCCESS;
}

DWORD CommPort::GetTimeouts(COMMTIMEOUTS& timeouts)
{
    return CopyWhileOpen(m_mutex, m_closed, m_timeouts, timeouts);
}

DWORD CommPort::SetTimeouts(const COMMTIMEOUTS& timeouts)
{
    return CopyWhileOpen(m_mutex, m_closed, timeouts, m_timeouts);
}

DWORD CommPort::Purge(DWORD flags)
{
    if (flags & ~(PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR))
        return ERROR_INVALID_PARAMETER;
    {
        std::lock_guard lock(m_mutex);
        if (m_closed)
            return ERROR_INVALID_HANDLE;
        if (flags & PURGE_RXABORT)
            ++m_reader.abortSerial;
        if (flags & PURGE_TXABORT)
            ++m_writer.abortSerial;
        if (const int error = Flush(m_fd, (flags & PURGE_RXCLEAR) != 0, (flags & PURGE_TXCLEAR) != 0))
            return Win32ErrorFromErrno(error);
    }
    if (flags & PURGE_RXABORT)
        Wake(m_reader.wakeFd);
    if (flags & PURGE_TXABORT)
        Wake(m_writer.wakeFd);
    return ERROR_SUCCESS;
}

DWORD CommPort::QueueStatus(COMSTAT& status)
{
    std::lock_guard lock(m_mutex);
    if (m_closed)
        return ERROR_INVALID_HANDLE;
    status = COMSTAT{};
    if (const int error = BytesWaiting(m_fd, true, status.cbInQue))
        return Win32ErrorFromErrno(error);
    BytesWaiting(m_fd, false, status.cbOutQue);
    return ERROR_SUCCESS;
}

DWORD CommPort::Escape(DWORD function)
{
    std::lock_guard lock(m_mutex);
    if (m_closed)
        return ERROR_INVALID_HANDLE;
    int error = 0;
    switch (function) {
    case SETRTS: error = SetModemLines(m_fd, ModemLineRts(), true); break;
    case CLRRTS: error = SetModemLines(m_fd, ModemLineRts(), false); break;
    case SETDTR: error = SetModemLines(m_fd, ModemLineDtr(), true); break;
    case CLRDTR: error = SetModemLines(m_fd, ModemLineDtr(), false); break;
    case SETBREAK: error = SetBreak(m_fd, true); break;
    case CLRBREAK: error = SetBreak(m_fd, false); break;
    default: return ERROR_INVALID_PARAMETER;
    }
    return error != 0 ? LineError(error) : ERROR_SUCCESS;
}

DWORD CommPort::ModemStatus(DWORD& status)
{
    std::lock_guard lock(m_mutex);
    if (m_closed)
        return ERROR_INVALID_HANDLE;
    int lines = 0;
    if (const int error = GetModemLines(m_fd, lines))
        return LineError(error);
    status = 0;
    if (lines & ModemLineCts())
        status |= MS_CTS_ON;
    if (lines & ModemLineDsr())
        status |= MS_DSR_ON;
    if (lines & ModemLineRing())
        status |= MS_RING_ON;
    if (lines & ModemLineCarrier())
        status |= MS_RLSD_ON;
    return ERROR_SUCCESS;
}

DWORD CommPort::SetMask(DWORD mask)
{
    return CopyWhileOpen(m_mutex, m_closed, mask, m_mask);
}

DWORD CommPort::GetMask(DWORD& mask)
{
    return CopyWhileOpen(m_mutex, m_closed, m_mask, mask);
}

std::shared_ptr<CommPort::Request> CommPort::NewRequest(Direction direction, DWORD length, DWORD& error)
{
    auto request = std::make_shared<Request>();
    request->direction = direction;
    request->length = length;
    std::lock_guard lock(m_mutex);
    error = CheckOpen(direction);
    if (error != ERROR_SUCCESS)
        return nullptr;
    // Time-outs and the abort serial are those of the moment the request is made.
    request->timeouts = m_timeouts;
    request->abortSerial = LaneOf(direction).abortSerial.load();
    return request;
}

DWORD CommPort::Read(void* buffer, DWORD length, DWORD& done)
{
    done = 0;
    DWORD error = ERROR_SUCCESS;
    auto request = NewRequest(Direction::Read, length, error);
    if (!request)
        return error;
    request->bytes = static_cast<char*>(buffer);
    error = RunNow(*request);
    done = request->done;
    return error;
}

DWORD CommPort::Write(const void* data, DWORD length, DWORD& done)
{
    done = 0;
    DWORD error = ERROR_SUCCESS;
    auto request = NewRequest(Direction::Write, length, error);
    if (!request)
        return error;
    // Only read from, never written to.
    request->bytes = const_cast<char*>(static_cast<const char*>(data));
    error = RunNow(*request);
    done = request->done;
    return error;
}

DWORD CommPort::RunNow(Request& request)
{
    std::lock_guard running(LaneOf(request.direction).serial);
    return Aborted(request) ? ERROR_OPERATION_ABORTED : Transfer(request, false);
}

DWORD CommPort::StartRead(void* buffer, DWORD length, OVERLAPPED* overlapped, DWORD& done)
{
    done = 0;
    DWORD error = ERROR_SUCCESS;
    auto request = NewRequest(Direction::Read, length, error);
    if (!request)
        return error;
    try {
        request->copy.resize(length);
    } catch (const std::bad_alloc&) {
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    request->bytes = request->copy.data();
    request->target = buffer;
    return Start(std::move(request), overlapped, done);
}

DWORD CommPort::StartWrite(const void* data, DWORD length, OVERLAPPED* overlapped, DWORD& done)
{
    done = 0;
    DWORD error = ERROR_SUCCESS;
    auto request = NewRequest(Direction::Write, length, error);
    if (!request)
        return error;
    try {
        request->copy.assign(static_cast<const char*>(data), static_cast<const char*>(data) + length);
    } catch (const std::bad_alloc&) {
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    request->bytes = request->copy.data();
    return Start(std::move(request), overlapped, done);
}

DWORD CommPort::Start(std::shared_ptr<Request> request, OVERLAPPED* overlapped, DWORD& done)
{
    request->event = overlapped->hEvent;
    overlapped->Internal = STATUS_PENDING;
    overlapped->InternalHigh = 0;
    if (request->event)
        ResetEvent(request->event);
    Lane& lane = LaneOf(request->direction);

    bool idle = false;
    {
        std::lock_guard lock(m_mutex);
        idle = lane.queue.empty();
    }
    if (idle && lane.serial.try_lock()) {
        const DWORD error = Aborted(*request) ? ERROR_OPERATION_ABORTED : Transfer(*request, true);
        lane.serial.unlock();
        if (error != ERROR_IO_PENDING) {
            request->error = error;
            request->finished = true;
            Deliver(*request, overlapped, done);
            if (request->event)
                SetEvent(request->event);
            return error;
        }
    }

    std::lock_guard lock(m_mutex);
    if (m_stopping)
        return ERROR_INVALID_HANDLE;
    // An OVERLAPPED used again before its last request was collected: that
    // request was given up, and its result is dropped.
    m_requests[overlapped] = request;
    if (m_requests.size() > kMaxKeptRequests) {
        for (auto it = m_requests.begin(); it != m_requests.end() && m_requests.size() > kMaxKeptRequests;)
            it = it->second->finished ? m_requests.erase(it) : std::next(it);
    }
    lane.queue.push_back(std::move(request));
    if (!lane.worker.joinable())
        lane.worker = std::thread(&CommPort::WorkerLoop, this, &lane == &m_reader ? Direction::Read : Direction::Write);
    m_changed.notify_all();
    return ERROR_IO_PENDING;
}

void CommPort::WorkerLoop(Direction direction)
{
    Lane& lane = LaneOf(direction);
    for (;;) {
        std::shared_ptr<Request> request;
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [&] { return !lane.queue.empty() || m_stopping; });
            if (lane.queue.empty())
                return;
            request = lane.queue.front();
            lane.queue.pop_front();
        }
        Run(*request);
        Finish(request);
    }
}

void CommPort::Run(Request& request)
{
    std::lock_guard running(LaneOf(request.direction).serial);
    request.error = Aborted(request) ? ERROR_OPERATION_ABORTED : Transfer(request, false);
}

void CommPort::Finish(const std::shared_ptr<Request>& request)
{
    {
        // The event is set under the same lock that marks the request done:
        // whoever wakes by the event finds the result ready, and whoever
        // waited for the result finds the event set.
        std::lock_guard lock(m_mutex);
        request->finished = true;
        // The caller may have closed the event already; that is no failure here.
        if (request->event) {
            const DWORD kept = GetLastError();
            SetEvent(request->event);
            SetLastError(kept);
        }
    }
    m_changed.notify_all();
}

DWORD CommPort::Result(OVERLAPPED* overlapped, bool wait, DWORD& done)
{
    std::unique_lock lock(m_mutex);
    const auto found = m_requests.find(overlapped);
    if (found == m_requests.end()) {
        // Collected before, or completed at once: the OVERLAPPED holds the result.
        if (overlapped->Internal == STATUS_PENDING)
            return ERROR_INVALID_PARAMETER;
        done = static_cast<DWORD>(overlapped->InternalHigh);
        return static_cast<DWORD>(overlapped->Internal);
    }
    const std::shared_ptr<Request> request = found->second;
    if (!request->finished) {
        if (!wait)
            return ERROR_IO_INCOMPLETE;
        m_changed.wait(lock, [&] { return request->finished; });
    }
    m_requests.erase(overlapped);
    Deliver(*request, overlapped, done);
    return request->error;
}

void CommPort::Deliver(Request& request, OVERLAPPED* overlapped, DWORD& done)
{
    if (request.direction == Direction::Read && request.target != nullptr && request.done > 0)
        std::memcpy(request.target, request.bytes, request.done);
    overlapped->Internal = request.error;
    overlapped->InternalHigh = request.done;
    done = request.done;
}

bool CommPort::Aborted(const Request& request)
{
    return request.abortSerial != LaneOf(request.direction).abortSerial.load();
}

DWORD CommPort::Transfer(Request& request, bool onlyNow)
{
    if (request.length == 0 || request.done >= request.length)
        return ERROR_SUCCESS;
    return request.direction == Direction::Read ? ReadBytes(request, onlyNow) : WriteBytes(request, onlyNow);
}

DWORD CommPort::ReadBytes(Request& request, bool onlyNow)
{
    const COMMTIMEOUTS& t = request.timeouts;
    const bool immediate =
        t.ReadIntervalTimeout == MAXDWORD && t.ReadTotalTimeoutMultiplier == 0 && t.ReadTotalTimeoutConstant == 0;
    const bool firstByte = t.ReadIntervalTimeout == MAXDWORD && t.ReadTotalTimeoutMultiplier == MAXDWORD &&
                           t.ReadTotalTimeoutConstant != 0 && t.ReadTotalTimeoutConstant != MAXDWORD;
    const bool hasTotal = firstByte || t.ReadTotalTimeoutMultiplier != 0 || t.ReadTotalTimeoutConstant != 0;
    const Clock::time_point totalEnd =
        firstByte ? request.started + Milliseconds(t.ReadTotalTimeoutConstant)
                  : TotalDeadline(request.started, t.ReadTotalTimeoutMultiplier, request.length,
                                  t.ReadTotalTimeoutConstant);
    const DWORD interval =
        t.ReadIntervalTimeout == MAXDWORD ? 0 : t.ReadIntervalTimeout;

    for (;;) {
        if (Aborted(request))
            return ERROR_OPERATION_ABORTED;
        const ssize_t count = ::read(m_fd, request.bytes + request.done, request.length - request.done);
        if (count > 0) {
            request.done += static_cast<DWORD>(count);
            request.lastByte = Clock::now();
        } else if (count < 0 && errno != EAGAIN && errno != EINTR) {
            return request.done > 0 ? ERROR_SUCCESS : Win32ErrorFromErrno(errno);
        } else if (count == 0 && request.readable) {
            // In raw mode a read without data gives 0 as well; only after
            // poll announced input does 0 mean the other end is gone.
            return request.done > 0 ? ERROR_SUCCESS : ERROR_DEVICE_NOT_CONNECTED;
        }
        request.readable = false;
        if (request.done >= request.length || immediate || (firstByte && request.done > 0))
            return ERROR_SUCCESS;
        int wait = hasTotal ? RemainingMs(totalEnd) : -1;
        if (interval != 0 && request.done > 0) {
            const int gap = RemainingMs(request.lastByte + Milliseconds(interval));
            wait = wait < 0 ? gap : std::min(wait, gap);
        }
        if (const std::optional<DWORD> end = EndOrWait(wait, onlyNow, [&] { return WaitReady(request, wait); }))
            return *end;
    }
}

DWORD CommPort::WriteBytes(Request& request, bool onlyNow)
{
    const COMMTIMEOUTS& t = request.timeouts;
    const bool hasTotal = t.WriteTotalTimeoutMultiplier != 0 || t.WriteTotalTimeoutConstant != 0;
    const Clock::time_point totalEnd =
        TotalDeadline(request.started, t.WriteTotalTimeoutMultiplier, request.length, t.WriteTotalTimeoutConstant);
    for (;;) {
        if (Aborted(request))
            return ERROR_OPERATION_ABORTED;
        const ssize_t count = ::write(m_fd, request.bytes + request.done, request.length - request.done);
        if (count > 0)
            request.done += static_cast<DWORD>(count);
        else if (count < 0 && errno != EAGAIN && errno != EINTR)
            return Win32ErrorFromErrno(errno);
        if (request.done >= request.length)
            return ERROR_SUCCESS;
        const int wait = hasTotal ? RemainingMs(totalEnd) : -1;
        if (const std::optional<DWORD> end = EndOrWait(wait, onlyNow, [&] { return WaitReady(request, wait); }))
            return *end;
    }
}

DWORD CommPort::WaitReady(Request& request, int milliseconds)
{
    const bool reading = request.direction == Direction::Read;
    const int wakeFd = LaneOf(request.direction).wakeFd;
    pollfd entries[2] = {{m_fd, static_cast<short>(reading ? POLLIN : POLLOUT), 0}, {wakeFd, POLLIN, 0}};
    const int ready = poll(entries, 2, milliseconds);
    if (ready < 0)
        return errno == EINTR ? ERROR_SUCCESS : Win32ErrorFromErrno(errno);
    if (entries[1].revents & POLLIN)
        Drain(wakeFd);
    if (Aborted(request))
        return ERROR_OPERATION_ABORTED;
    const short wanted = reading ? POLLIN : POLLOUT;
    request.readable = reading && (entries[0].revents & (POLLIN | POLLHUP)) != 0;
    // A hang-up without data (the other end of a pseudo-terminal is gone, a
    // USB adapter was pulled) would wake poll at once for ever.
    if ((entries[0].revents & (POLLHUP | POLLERR | POLLNVAL)) && !(entries[0].revents & wanted))
        return ERROR_DEVICE_NOT_CONNECTED;
    return ERROR_SUCCESS;
}

}
