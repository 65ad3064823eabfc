#pragma once
// One open COM port: the device, its settings and time-outs, and the read and
// write requests on it. Reads and writes each run one at a time, in the order
// they were made; a read and a write can run at the same time.

#include "Platform/Base/KernelObject.h"
#include "Platform/Serial/CommApi.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace Serial {

class CommPort : public Platform::KernelObject, public std::enable_shared_from_this<CommPort> {
public:
    // Opens the device exclusively; null with the Win32 error in `error`.
    static std::shared_ptr<CommPort> Open(const std::string& devicePath, DWORD access, bool overlapped, DWORD& error);
    ~CommPort() override;
    CommPort(const CommPort&) = delete;
    CommPort& operator=(const CommPort&) = delete;

    bool OnHandleClosed() override;

    bool IsOverlapped() const { return m_overlapped; }

    // Each returns ERROR_SUCCESS or the Win32 error.
    DWORD GetState(DCB& dcb);
    DWORD SetState(const DCB& dcb);
    DWORD GetTimeouts(COMMTIMEOUTS& timeouts);
    DWORD SetTimeouts(const COMMTIMEOUTS& timeouts);
    DWORD Purge(DWORD flags);
    DWORD QueueStatus(COMSTAT& status);
    DWORD Escape(DWORD function);
    DWORD ModemStatus(DWORD& status);
    DWORD SetMask(DWORD mask);
    DWORD GetMask(DWORD& mask);

    // Waits for the request in the calling thread.
    DWORD Read(void* buffer, DWORD length, DWORD& done);
    DWORD Write(const void* data, DWORD length, DWORD& done);

    // Starts an overlapped request: ERROR_SUCCESS when it completed at once
    // (`done` and the buffer are filled), ERROR_IO_PENDING when it runs on.
    DWORD StartRead(void* buffer, DWORD length, OVERLAPPED* overlapped, DWORD& done);
    DWORD StartWrite(const void* data, DWORD length, OVERLAPPED* overlapped, DWORD& done);
    // The result of the request of `overlapped`: ERROR_IO_INCOMPLETE when it
    // still runs and `wait` is false; ERROR_INVALID_PARAMETER for an
    // OVERLAPPED that names no request of this port.
    DWORD Result(OVERLAPPED* overlapped, bool wait, DWORD& done);

private:
    enum class Direction { Read, Write };

    struct Request {
        Direction direction = Direction::Read;
        // Where the bytes go or come from: the caller's buffer for a request
        // that is waited for, else `copy`.
        char* bytes = nullptr;
        std::vector<char> copy;
        DWORD length = 0;
        std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
        std::chrono::steady_clock::time_point lastByte{};
        COMMTIMEOUTS timeouts{};
        std::uint64_t abortSerial = 0;
        void* target = nullptr;     // the caller's read buffer; filled by Result
        HANDLE event = nullptr;
        bool readable = false;      // the last wait saw input or a hang-up
        bool finished = false;
        DWORD error = 0;
        DWORD done = 0;
    };

    // One direction's queue, its worker and its abort wake-up.
    struct Lane {
        std::mutex serial;          // held while a request of this direction runs
        std::deque<std::shared_ptr<Request>> queue;
        std::thread worker;
        int wakeFd = -1;
        std::atomic<std::uint64_t> abortSerial{0};
    };

    CommPort(int fd, DWORD access, bool overlapped, std::string devicePath);

    Lane& LaneOf(Direction direction) { return direction == Direction::Read ? m_reader : m_writer; }
    DWORD CheckOpen(Direction direction) const;
    DWORD Start(std::shared_ptr<Request> request, OVERLAPPED* overlapped, DWORD& done);
    DWORD RunNow(Request& request);
    std::shared_ptr<Request> NewRequest(Direction direction, DWORD length, DWORD& error);
    void Run(Request& request);
    void Finish(const std::shared_ptr<Request>& request);
    void WorkerLoop(Direction direction);
    void Abort(Direction direction);
    void Close();
    // ERROR_IO_PENDING when `onlyNow` and the request would have to wait.
    DWORD Transfer(Request& request, bool onlyNow);
    DWORD ReadBytes(Request& request, bool onlyNow);
    DWORD WriteBytes(Request& request, bool onlyNow);
    bool Aborted(const Request& request);
    // Waits up to `milliseconds` (-1: no limit) for the device or an abort:
    // ERROR_SUCCESS to look again, or the error that ends the request.
    DWORD WaitReady(Request& request, int milliseconds);
    static void Deliver(Request& request, OVERLAPPED* overlapped, DWORD& done);

    int m_fd = -1;
    DWORD m_access = 0;
    bool m_overlapped = false;
    std::string m_devicePath;

    std::mutex m_mutex;             // guards everything below and the lanes' queues
    std::condition_variable m_changed;
    bool m_closed = false;
    bool m_stopping = false;
    DCB m_dcb{};
    COMMTIMEOUTS m_timeouts{};
    DWORD m_mask = 0;
    std::map<OVERLAPPED*, std::shared_ptr<Request>> m_requests;
    Lane m_reader;
    Lane m_writer;
};

}
