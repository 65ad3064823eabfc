#pragma once

// A tiny host for the simulator tests. Frames are laid out byte by byte here,
// from the wire layout, so that the tests do not trust the simulator's own
// framing code.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

#include "Tests/DeviceSimulator/LoopbackSocket.h"

namespace SimTest {

inline void Put16(std::vector<uint8_t>& out, uint16_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

inline void Put32(std::vector<uint8_t>& out, uint32_t v)
{
    Put16(out, static_cast<uint16_t>(v));
    Put16(out, static_cast<uint16_t>(v >> 16));
}

inline uint16_t Get16(const std::vector<uint8_t>& in, size_t at)
{
    return static_cast<uint16_t>(in.at(at) | (in.at(at + 1) << 8));
}

inline uint32_t Get32(const std::vector<uint8_t>& in, size_t at)
{
    return static_cast<uint32_t>(Get16(in, at)) | (static_cast<uint32_t>(Get16(in, at + 2)) << 16);
}

inline uint16_t Sum(const std::vector<uint8_t>& bytes, size_t count)
{
    unsigned sum = 0;
    for (size_t i = 0; i < count; ++i)
        sum += bytes[i];
    return static_cast<uint16_t>(sum);
}

// Request data: a code word followed by argument words.
inline std::vector<uint8_t> Words(std::initializer_list<uint16_t> words)
{
    std::vector<uint8_t> out;
    for (uint16_t w : words)
        Put16(out, w);
    return out;
}

struct tFrameSpec {
    uint16_t command = 0x1288;
    uint16_t transaction = 1;
    uint16_t fragment = 1;
    uint16_t count = 1;
    uint16_t flags = 0;
    std::optional<uint32_t> exclusive;
    uint16_t checksumLength = 0;
};

inline std::vector<uint8_t> MakeFrame(const tFrameSpec& spec, const std::vector<uint8_t>& data)
{
    std::vector<uint8_t> out;
    Put16(out, spec.command);
    Put16(out, spec.transaction);
    Put16(out, spec.fragment);
    Put16(out, spec.count);
    Put32(out, 0);
    Put16(out, 0);
    Put16(out, static_cast<uint16_t>(spec.flags | (spec.exclusive ? 0x1000 : 0)));
    Put16(out, static_cast<uint16_t>(data.size() + (spec.exclusive ? 4 : 0)));
    if (spec.exclusive)
        Put32(out, *spec.exclusive);
    out.insert(out.end(), data.begin(), data.end());
    if (spec.checksumLength == 2)
        Put16(out, Sum(out, out.size()));
    return out;
}

struct tFrame {
    uint16_t command = 0, transaction = 0, fragment = 0, count = 0, status = 0, flags = 0, length = 0;
    std::vector<uint8_t> counted; // the bytes the length field counts
    bool checksumOk = true;
    // The data behind a possible Exclusive-ID.
    std::vector<uint8_t> Data() const
    {
        const size_t skip = (flags & 0x1000) ? 4 : 0;
        return counted.size() >= skip ? std::vector<uint8_t>(counted.begin() + static_cast<long>(skip), counted.end())
                                      : std::vector<uint8_t>{};
    }
};

class CTestClient {
public:
    CTestClient() = default;
    CTestClient(const CTestClient&) = delete;
    CTestClient& operator=(const CTestClient&) = delete;
    ~CTestClient() { Close(); }

    bool Connect(uint16_t port)
    {
        return DevSim::ConnectLoopback(port, fd_);
    }

    void Close()
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }

    bool Send(const std::vector<uint8_t>& bytes)
    {
        size_t sent = 0;
        while (sent < bytes.size()) {
            const ssize_t n = ::send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
            if (n <= 0)
                return false;
            sent += static_cast<size_t>(n);
        }
        return true;
    }

    // Up to `count` bytes within the time; fewer when the peer closed,
    // reset or the time ran out (see eof/error/timedOut).
    std::vector<uint8_t> Receive(size_t count, int timeoutMs)
    {
        std::vector<uint8_t> out(count);
        size_t got = 0;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        eof = timedOut = false;
        error = 0;
        while (got < count) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                                  deadline - std::chrono::steady_clock::now()).count();
            pollfd p{fd_, POLLIN, 0};
            if (left <= 0 || ::poll(&p, 1, static_cast<int>(left)) <= 0) {
                timedOut = true;
                break;
            }
            const ssize_t n = ::recv(fd_, out.data() + got, count - got, 0);
            if (n == 0) {
                eof = true;
                break;
            }
            if (n < 0) {
                error = errno;
                break;
            }
            got += static_cast<size_t>(n);
        }
        out.resize(got);
        return out;
    }

    std::optional<tFrame> ReadFrame(int timeoutMs = 2000, uint16_t checksumLength = 0)
    {
        const std::vector<uint8_t> head = Receive(18, timeoutMs);
        if (head.size() != 18)
            return std::nullopt;
        tFrame frame;
        frame.command = Get16(head, 0);
        frame.transaction = Get16(head, 2);
        frame.fragment = Get16(head, 4);
        frame.count = Get16(head, 6);
        frame.status = Get16(head, 12);
        frame.flags = Get16(head, 14);
        frame.length = Get16(head, 16);
        const std::vector<uint8_t> rest = Receive(frame.length + checksumLength, timeoutMs);
        if (rest.size() != static_cast<size_t>(frame.length) + checksumLength)
            return std::nullopt;
        frame.counted.assign(rest.begin(), rest.begin() + frame.length);
        if (checksumLength == 2) {
            std::vector<uint8_t> all = head;
            all.insert(all.end(), frame.counted.begin(), frame.counted.end());
            frame.checksumOk = Sum(all, all.size()) == Get16(rest, frame.length);
        }
        return frame;
    }

    // One single-fragment exchange.
    std::optional<tFrame> Exchange(const tFrameSpec& spec, const std::vector<uint8_t>& data, int timeoutMs = 2000)
    {
        if (!Send(MakeFrame(spec, data)))
            return std::nullopt;
        return ReadFrame(timeoutMs, spec.checksumLength);
    }

    int fd_ = -1;
    bool eof = false;
    bool timedOut = false;
    int error = 0;
};

} // namespace SimTest
