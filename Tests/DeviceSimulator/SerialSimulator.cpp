#include "Tests/DeviceSimulator/SerialSimulator.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <random>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include "Tests/DeviceSimulator/ByteOrder.h"

// Device-side choices where the wire description leaves the device open:
// - A telegram with a wrong checksum is not answered (the host times out).
// - Bytes 3, 4, 6, 7 and 9 of an answer echo the request; byte 8 echoes the
//   table without the write bit, or has bit 7 set on a device error, whose
//   number is then the one data word.
// - A malformed request (word count 0 or above 44, a length that does not
//   fit the count) is answered with device error 0x8210.
// - A mailbox read answers as many words as the mailbox answer holds from
//   the start register on, at most those asked for, and echoes that count.

namespace DevSim {

namespace {

constexpr size_t kHeader = 10;
constexpr size_t kMinLength = 12;
constexpr size_t kMaxLength = 100;
constexpr size_t kMaxWords = 44;
constexpr int kPollMs = 50;
constexpr int kSendLimitMs = 1000;

void CloseFd(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

} // namespace

CSerialSimulator::~CSerialSimulator()
{
    Stop();
}

bool CSerialSimulator::Start()
{
    if (running_) {
        SetError("already running");
        return false;
    }
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    char path[128] = {};
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0 || ptsname_r(master_, path, sizeof path) != 0) {
        SetError(std::string("no pseudo-terminal: ") + std::strerror(errno));
        CloseFd(master_);
        return false;
    }
    slavePath_ = path;
    slaveHold_ = ::open(path, O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    int pipeFds[2] = {-1, -1};
    termios raw{};
    if (slaveHold_ < 0 || tcgetattr(slaveHold_, &raw) != 0 || pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) {
        SetError(std::string("pseudo-terminal set-up failed: ") + std::strerror(errno));
        CloseFd(slaveHold_);
        CloseFd(master_);
        return false;
    }
    cfmakeraw(&raw);
    tcsetattr(slaveHold_, TCSANOW, &raw);
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    wakeRead_ = pipeFds[0];
    wakeWrite_ = pipeFds[1];
    stopping_ = false;
    running_ = true;
    thread_ = std::thread([this] { Loop(); });
    return true;
}

void CSerialSimulator::Stop()
{
    if (!running_)
        return;
    stopping_ = true;
    const char wake = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(wakeWrite_, &wake, 1);
    // Every wait of the loop watches the pipe or is shorter than a poll
    // period, so the join returns within one.
    if (thread_.joinable())
        thread_.join();
    CloseFd(wakeRead_);
    CloseFd(wakeWrite_);
    CloseFd(slaveHold_);
    CloseFd(master_);
    running_ = false;
}

std::string CSerialSimulator::LastError() const
{
    std::lock_guard lock(mutex_);
    return lastError_;
}

void CSerialSimulator::SetError(const std::string& text)
{
    std::lock_guard lock(mutex_);
    lastError_ = text;
}

std::vector<tSerialRecord> CSerialSimulator::Telegrams() const
{
    std::lock_guard lock(mutex_);
    return records_;
}

uint16_t CSerialSimulator::Checksum(const std::vector<uint8_t>& telegram, size_t length)
{
    uint16_t sum = 0;
    for (size_t i = 0; i < length && i < telegram.size(); ++i)
        sum = static_cast<uint16_t>(sum + telegram[i]);
    return sum;
}

void CSerialSimulator::Loop()
{
    std::vector<uint8_t> pending;
    auto lastByte = std::chrono::steady_clock::now();
    while (!stopping_) {
        if (auto telegram = NextTelegram(pending)) {
            Handle(*telegram);
            continue;
        }
        const size_t before = pending.size();
        ReadMore(pending, kPollMs);
        const auto now = std::chrono::steady_clock::now();
        if (pending.size() != before) {
            lastByte = now;
            continue;
        }
        uint32_t frameTimeout = 0;
        model_.Read([&](const tDeviceData& d) { frameTimeout = d.frameTimeoutMs; });
        // The rest of a started telegram that never comes is dropped, so the
        // next one is read from its start.
        if (!pending.empty() && now - lastByte > std::chrono::milliseconds(frameTimeout))
            pending.clear();
    }
}

bool CSerialSimulator::ReadMore(std::vector<uint8_t>& pending, int timeoutMs)
{
    pollfd fds[2] = {{master_, POLLIN, 0}, {wakeRead_, POLLIN, 0}};
    if (::poll(fds, 2, timeoutMs) <= 0 || (fds[1].revents & POLLIN) != 0)
        return false;
    if ((fds[0].revents & POLLIN) == 0) {
        // Hang-up flags without data: do not spin on them.
        ::poll(nullptr, 0, 10);
        return false;
    }
    uint8_t buffer[512];
    const ssize_t n = ::read(master_, buffer, sizeof buffer);
    if (n <= 0)
        return false;
    pending.insert(pending.end(), buffer, buffer + n);
    return true;
}

std::optional<std::vector<uint8_t>> CSerialSimulator::NextTelegram(std::vector<uint8_t>& pending)
{
    while (!pending.empty()) {
        if (pending[0] != 0xFD || (pending.size() >= 2 && pending[1] != 0x02)) {
            pending.erase(pending.begin());
            continue;
        }
        if (pending.size() < 3)
            return std::nullopt;
        const size_t length = pending[2];
        if (length < kMinLength || length > kMaxLength) {
            pending.erase(pending.begin());
            continue;
        }
        if (pending.size() < length)
            return std::nullopt;
        std::vector<uint8_t> telegram(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(length));
        pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(length));
        return telegram;
    }
    return std::nullopt;
}

void CSerialSimulator::Handle(const std::vector<uint8_t>& t)
{
    const size_t length = t.size();
    tFrameFacts facts;
    facts.frameNumber = faults_.NextFrameNumber();
    const bool checksumOk = Checksum(t, length - 2) == GetU16(t.data() + length - 2);
    {
        std::lock_guard lock(mutex_);
        if (records_.size() < 4096)
            records_.push_back({facts.frameNumber, t, checksumOk});
    }
    if (!checksumOk)
        return;

    const bool mailbox = t[7] == 0 && (t[8] & 0x7F) == kMailboxTable;
    facts.command = t[8];
    facts.fragmentNumber = t[9];
    facts.readBack = (t[8] & 0x80) == 0;
    facts.completesRequest = mailbox && !facts.readBack && t[9] == 0;
    if (mailbox)
        facts.serviceCode = facts.completesRequest && length >= kMinLength + 2 ? GetU16(t.data() + kHeader)
                                                                               : mailbox_.RequestCode();
    const auto fault = faults_.Take(facts);
    const ENFault kind = fault ? fault->kind : ENFault::Delay;
    if (fault && kind == ENFault::NoAnswer)
        return;
    if (fault && kind == ENFault::Delay && !Sleep(fault->delayMs))
        return;

    std::vector<uint8_t> answer;
    model_.Update([&](tDeviceData& d) { answer = Registers(d, t, fault); });
    if (fault) {
        switch (kind) {
        case ENFault::BadChecksum: {
            const size_t at = answer.size() - 2;
            PutU16(answer.data() + at, static_cast<uint16_t>(GetU16(answer.data() + at) + 1));
            break;
        }
        case ENFault::WrongWordCount:
            answer[5] = fault->value ? static_cast<uint8_t>(fault->value) : static_cast<uint8_t>(answer[5] + 1);
            PutU16(answer.data() + answer.size() - 2, Checksum(answer, answer.size() - 2));
            break;
        case ENFault::ShortFrame:
            answer.resize(std::clamp<size_t>(fault->value ? fault->value : answer.size() / 2, 1, answer.size() - 1));
            break;
        case ENFault::AnnouncedLength: answer[2] = static_cast<uint8_t>(fault->value); break;
        case ENFault::GarbageAnswer: {
            std::mt19937 random(fault->value);
            answer.resize(fault->value != 0 ? fault->value : 64);
            for (uint8_t& byte : answer)
                byte = static_cast<uint8_t>(random() & 0xFF);
            break;
        }
        default: break;
        }
    }
    Send(answer);
}

std::vector<uint8_t> CSerialSimulator::Build(const std::vector<uint8_t>& request, uint8_t count, uint8_t tableByte,
                                             const std::vector<uint16_t>& words)
{
    std::vector<uint8_t> t{0x02, 0xFD, 0, request[3], request[4], count, request[6], request[7], tableByte, request[9]};
    for (uint16_t w : words)
        AppendU16(t, w);
    t[2] = static_cast<uint8_t>(t.size() + 2);
    AppendU16(t, Checksum(t, t.size()));
    return t;
}

std::vector<uint8_t> CSerialSimulator::Error(const std::vector<uint8_t>& request, uint16_t status)
{
    return Build(request, request[5], static_cast<uint8_t>(0x80 | (request[8] & 0x7F)), {status});
}

std::vector<uint8_t> CSerialSimulator::Registers(tDeviceData& d, const std::vector<uint8_t>& t,
                                                 const std::optional<tFaultRule>& fault)
{
    const size_t count = t[5];
    const bool write = (t[8] & 0x80) != 0;
    if (count == 0 || count > kMaxWords || t.size() != kMinLength + (write ? 2 * count : 0))
        return Error(t, STATUS_ARGUMENT_COUNT);
    if (fault && fault->kind == ENFault::RegisterError)
        return Error(t, fault->status ? fault->status : static_cast<uint16_t>(STATUS_REJECTED));
    if (t[7] == 0 && (t[8] & 0x7F) == kMailboxTable)
        return Mailbox(d, t, fault);

    const uint8_t tableNumber = t[8] & 0x7F;
    const size_t start = t[9];
    const auto it = d.registers.find({t[7], tableNumber});
    if (it == d.registers.end())
        return Error(t, STATUS_INVALID_TABLE);
    tRegisterTable& table = it->second;
    if (start + count > table.words.size())
        return Error(t, STATUS_ADDRESS_RANGE);
    if (!write) {
        std::vector<uint16_t> words(table.words.begin() + static_cast<std::ptrdiff_t>(start),
                                    table.words.begin() + static_cast<std::ptrdiff_t>(start + count));
        return Build(t, static_cast<uint8_t>(count), tableNumber, words);
    }
    if (table.writeProtected)
        return Error(t, STATUS_TABLE_PROTECTED);
    if (d.writeAccessRequired && !d.writeAccess)
        return Error(t, STATUS_WRITE_DISABLED);
    for (size_t i = 0; i < count; ++i)
        table.words[start + i] = GetU16(t.data() + kHeader + 2 * i);
    return Build(t, static_cast<uint8_t>(count), tableNumber, {});
}

std::vector<uint8_t> CSerialSimulator::Mailbox(tDeviceData& d, const std::vector<uint8_t>& t,
                                               const std::optional<tFaultRule>& fault)
{
    const size_t count = t[5];
    const uint16_t start = t[9];
    const ENFault kind = fault ? fault->kind : ENFault::Delay;
    if ((t[8] & 0x80) != 0) {
        std::vector<uint16_t> words(count);
        for (size_t i = 0; i < count; ++i)
            words[i] = GetU16(t.data() + kHeader + 2 * i);
        if (mailbox_.Write(d, start, words) && fault && kind == ENFault::ServiceStatus)
            mailbox_.SetStatus(fault->status);
        return Build(t, static_cast<uint8_t>(count), kMailboxTable, {});
    }
    if (fault && kind == ENFault::MailboxBusy)
        return Error(t, fault->status ? fault->status : static_cast<uint16_t>(STATUS_BUSY));
    std::vector<uint16_t> words = mailbox_.Read(start, static_cast<uint16_t>(count));
    if (fault && kind == ENFault::MailboxOverCount && start <= 1 && start + words.size() > 1)
        words[1 - start] = static_cast<uint16_t>(words[1 - start] + (fault->value ? fault->value : 1));
    return Build(t, static_cast<uint8_t>(words.size()), kMailboxTable, words);
}

bool CSerialSimulator::Send(const std::vector<uint8_t>& bytes)
{
    size_t sent = 0;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kSendLimitMs);
    while (sent < bytes.size() && !stopping_ && std::chrono::steady_clock::now() < end) {
        const ssize_t n = ::write(master_, bytes.data() + sent, bytes.size() - sent);
        if (n > 0) {
            sent += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        pollfd fds[2] = {{master_, POLLOUT, 0}, {wakeRead_, POLLIN, 0}};
        ::poll(fds, 2, kPollMs);
    }
    return sent == bytes.size();
}

bool CSerialSimulator::Sleep(uint32_t ms)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!stopping_) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return true;
        pollfd fd{wakeRead_, POLLIN, 0};
        if (::poll(&fd, 1, static_cast<int>(std::min<long long>(left.count(), kPollMs))) > 0)
            return false;
    }
    return false;
}

} // namespace DevSim
