// The serial side of the simulated device, driven by a host that lays the
// telegrams out byte by byte from the wire layout.
#include "Tests/DeviceSimulator/SerialSimulator.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

using namespace DevSim;

namespace {

class CLine {
public:
    explicit CLine(const std::string& path)
    {
        fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        termios raw{};
        if (fd_ >= 0 && tcgetattr(fd_, &raw) == 0) {
            cfmakeraw(&raw);
            tcsetattr(fd_, TCSANOW, &raw);
        }
    }
    ~CLine()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    bool Ok() const { return fd_ >= 0; }
    void Send(const std::vector<uint8_t>& bytes) const
    {
        ASSERT_EQ(::write(fd_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    // Up to `count` bytes, or what came within `ms`.
    std::vector<uint8_t> Receive(size_t count, int ms = 1000) const
    {
        std::vector<uint8_t> bytes;
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (bytes.size() < count && std::chrono::steady_clock::now() < end) {
            pollfd entry{fd_, POLLIN, 0};
            if (::poll(&entry, 1, 20) <= 0)
                continue;
            uint8_t buffer[256];
            const ssize_t n = ::read(fd_, buffer, std::min(sizeof buffer, count - bytes.size()));
            if (n > 0)
                bytes.insert(bytes.end(), buffer, buffer + n);
        }
        return bytes;
    }
    // One whole answer telegram as its length byte announces it.
    std::vector<uint8_t> Answer(int ms = 1000) const
    {
        auto head = Receive(3, ms);
        if (head.size() < 3)
            return head;
        auto rest = Receive(head[2] > 3 ? head[2] - 3u : 0u, ms);
        head.insert(head.end(), rest.begin(), rest.end());
        return head;
    }

private:
    int fd_ = -1;
};

uint16_t Sum(const std::vector<uint8_t>& t, size_t n)
{
    uint16_t s = 0;
    for (size_t i = 0; i < n; ++i)
        s = static_cast<uint16_t>(s + t[i]);
    return s;
}

std::vector<uint8_t> Request(uint8_t position, uint8_t table, uint8_t start, uint8_t count,
                             const std::vector<uint16_t>& words = {}, bool write = false)
{
    std::vector<uint8_t> t{0xFD, 0x02, 0, 0, 0, count, 0x52, position,
                           static_cast<uint8_t>(table | (write ? 0x80 : 0)), start};
    for (uint16_t w : words) {
        t.push_back(static_cast<uint8_t>(w));
        t.push_back(static_cast<uint8_t>(w >> 8));
    }
    t[2] = static_cast<uint8_t>(t.size() + 2);
    const uint16_t s = Sum(t, t.size());
    t.push_back(static_cast<uint8_t>(s));
    t.push_back(static_cast<uint8_t>(s >> 8));
    return t;
}

uint16_t Word(const std::vector<uint8_t>& t, size_t at)
{
    return static_cast<uint16_t>(t.at(at) | (t.at(at + 1) << 8));
}

bool ChecksumOk(const std::vector<uint8_t>& t)
{
    return t.size() >= 12 && t.size() == t[2] && Sum(t, t.size() - 2) == Word(t, t.size() - 2);
}

class SerialSimulatorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        tDeviceData data;
        data.registers[{0, 3}].words = std::vector<uint16_t>(256, 0);
        for (uint16_t i = 0; i < 256; ++i)
            data.registers[{0, 3}].words[i] = static_cast<uint16_t>(0x1000 + i);
        data.registers[{2, 5}].words = std::vector<uint16_t>(8, 0);
        data.registers[{0, 7}] = tRegisterTable{std::vector<uint16_t>(4, 0), true};
        data.serialNumber = "SN-4711";
        sim.Model().Set(data);
        ASSERT_TRUE(sim.Start()) << sim.LastError();
        line = std::make_unique<CLine>(sim.SlavePath());
        ASSERT_TRUE(line->Ok());
    }

    // Writes a mailbox request from register 0 and reads `answerWords` + 3 back.
    std::vector<uint8_t> Service(uint8_t group, uint8_t service, const std::vector<uint16_t>& args, uint8_t answerWords)
    {
        std::vector<uint16_t> words{static_cast<uint16_t>(group | service << 8), static_cast<uint16_t>(args.size())};
        words.insert(words.end(), args.begin(), args.end());
        line->Send(Request(0, 99, 0, static_cast<uint8_t>(words.size()), words, true));
        const auto written = line->Answer();
        EXPECT_TRUE(ChecksumOk(written));
        line->Send(Request(0, 99, 0, static_cast<uint8_t>(answerWords + 3)));
        return line->Answer();
    }

    CSerialSimulator sim;
    std::unique_ptr<CLine> line;
};

} // namespace

TEST_F(SerialSimulatorTest, ReadsAndWritesRegistersOfTheModel)
{
    line->Send(Request(0, 3, 250, 6));
    auto answer = line->Answer();
    ASSERT_TRUE(ChecksumOk(answer));
    EXPECT_EQ(answer[0], 0x02);
    EXPECT_EQ(answer[1], 0xFD);
    EXPECT_EQ(answer[5], 6);
    EXPECT_EQ(answer[8], 3);
    EXPECT_EQ(Word(answer, 10), 0x1000 + 250);
    EXPECT_EQ(Word(answer, 20), 0x1000 + 255);

    line->Send(Request(2, 5, 6, 2, {0xBEEF, 0x0102}, true));
    answer = line->Answer();
    ASSERT_TRUE(ChecksumOk(answer));
    EXPECT_LT(answer[8], 0x80);
    EXPECT_EQ(answer[2], 12);
    const auto table = sim.Model().Get().registers.at({2, 5}).words;
    EXPECT_EQ(table[6], 0xBEEF);
    EXPECT_EQ(table[7], 0x0102);
}

TEST_F(SerialSimulatorTest, RegisterErrorsAreDeviceErrorAnswers)
{
    struct {
        std::vector<uint8_t> request;
        uint16_t status;
    } cases[] = {
        {Request(0, 9, 0, 1), 0x8200},                        // no such table
        {Request(2, 5, 7, 2), 0x8215},                        // past the table's end
        {Request(0, 7, 0, 1, {1}, true), 0x821C},             // write-protected
        {Request(0, 3, 0, 45), 0x8210},                       // more than 44 words
    };
    for (const auto& c : cases) {
        line->Send(c.request);
        const auto answer = line->Answer();
        ASSERT_TRUE(ChecksumOk(answer));
        EXPECT_GE(answer[8], 0x80);
        EXPECT_EQ(Word(answer, 10), c.status);
    }
}

TEST_F(SerialSimulatorTest, BadRequestChecksumIsNotAnsweredAndJunkIsSkipped)
{
    auto bad = Request(0, 3, 0, 1);
    bad.back() ^= 0x01;
    line->Send(bad);
    EXPECT_TRUE(line->Receive(1, 300).empty());
    // Noise in front of a good telegram does not hide it.
    auto noisy = std::vector<uint8_t>{0x00, 0xFD, 0x00, 0x13};
    const auto good = Request(0, 3, 1, 1);
    noisy.insert(noisy.end(), good.begin(), good.end());
    line->Send(noisy);
    const auto answer = line->Answer();
    ASSERT_TRUE(ChecksumOk(answer));
    EXPECT_EQ(Word(answer, 10), 0x1001);
    const auto records = sim.Telegrams();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_FALSE(records[0].checksumOk);
    EXPECT_TRUE(records[1].checksumOk);
}

TEST_F(SerialSimulatorTest, MailboxRunsAServiceWrittenFromRegisterZero)
{
    const auto answer = Service(0x01, 0x0D, {}, 41);
    ASSERT_TRUE(ChecksumOk(answer));
    EXPECT_EQ(Word(answer, 10), 0x0D01);               // echo
    EXPECT_EQ(Word(answer, 14), 0);                    // status
    const uint16_t words = Word(answer, 12);           // status + data
    EXPECT_EQ(answer[5], 2 + words);                   // only what the answer holds
    EXPECT_EQ(answer[16], 7);                          // text length
    EXPECT_EQ(std::string(answer.begin() + 17, answer.begin() + 24), "SN-4711");
}

TEST_F(SerialSimulatorTest, LongMailboxRequestRunsOnceWhenWordZeroArrives)
{
    // SetNetworkParameter with a 90-byte host name: 4 + 45 data words.
    sim.Model().Update([](tDeviceData& d) { d.SetNetName(0, 1, NET_HOST_NAME, "old"); });
    std::vector<uint16_t> words{0x0205, 49, 0, NET_HOST_NAME, 1, 90};
    for (int i = 0; i < 45; ++i)
        words.push_back(static_cast<uint16_t>('a' | ('b' << 8)));
    line->Send(Request(0, 99, 1, 44, {words.begin() + 1, words.begin() + 45}, true));
    ASSERT_TRUE(ChecksumOk(line->Answer()));
    line->Send(Request(0, 99, 45, 6, {words.begin() + 45, words.end()}, true));
    ASSERT_TRUE(ChecksumOk(line->Answer()));
    EXPECT_EQ(sim.Model().Get().NetParam(0, 1, NET_HOST_NAME)->size(), 3u); // not yet
    line->Send(Request(0, 99, 0, 1, {words[0]}, true));
    ASSERT_TRUE(ChecksumOk(line->Answer()));
    const auto value = sim.Model().Get().NetParam(0, 1, NET_HOST_NAME);
    ASSERT_EQ(value->size(), 90u);
    EXPECT_EQ((*value)[89], 'b');
}

TEST_F(SerialSimulatorTest, MailboxStatusForUnknownAndUnsupportedServices)
{
    auto answer = Service(0x07, 0x77, {}, 0);
    EXPECT_EQ(Word(answer, 14), 0x8212);
    sim.Model().Update([](tDeviceData& d) { d.unsupportedServices.insert(0x0107); });
    answer = Service(0x01, 0x07, {}, 1);
    EXPECT_EQ(Word(answer, 14), 0x8212);
    answer = Service(0x00, 0xFF, {}, 1);
    EXPECT_EQ(Word(answer, 14), 0);
    answer = Service(0x01, 0x01, {0x1234}, 0); // wrong write-access code
    EXPECT_EQ(Word(answer, 14), 0x8213);
}

TEST_F(SerialSimulatorTest, ClockServicesRoundTrip)
{
    EXPECT_EQ(Word(Service(0x01, 0x19, {0x5678, 0x1234, static_cast<uint16_t>(-90), 1}, 0), 14), 0);
    const auto answer = Service(0x01, 0x18, {}, 4);
    EXPECT_EQ(Word(answer, 16), 0x5678);
    EXPECT_EQ(Word(answer, 18), 0x1234);
    EXPECT_EQ(static_cast<int16_t>(Word(answer, 20)), -90);
    EXPECT_EQ(Word(answer, 22), 1);
}

TEST_F(SerialSimulatorTest, AnswerFaults)
{
    tFaultRule rule;
    rule.kind = ENFault::BadChecksum;
    sim.Faults().Add(rule);
    line->Send(Request(0, 3, 0, 1));
    auto answer = line->Answer();
    ASSERT_EQ(answer.size(), 14u);
    EXPECT_FALSE(ChecksumOk(answer));

    rule.kind = ENFault::ShortFrame;
    rule.value = 5;
    sim.Faults().Add(rule);
    line->Send(Request(0, 3, 0, 1));
    EXPECT_EQ(line->Receive(14, 300).size(), 5u);

    rule = {};
    rule.kind = ENFault::WrongWordCount;
    sim.Faults().Add(rule);
    line->Send(Request(0, 3, 0, 2));
    answer = line->Answer();
    ASSERT_TRUE(ChecksumOk(answer));
    EXPECT_EQ(answer[5], 3);

    rule.kind = ENFault::NoAnswer;
    sim.Faults().Add(rule);
    line->Send(Request(0, 3, 0, 1));
    EXPECT_TRUE(line->Receive(1, 300).empty());

    rule.kind = ENFault::RegisterError;
    rule.status = 0x8214;
    sim.Faults().Add(rule);
    line->Send(Request(0, 3, 0, 1));
    answer = line->Answer();
    EXPECT_GE(answer.at(8), 0x80);
    EXPECT_EQ(Word(answer, 10), 0x8214);
    EXPECT_EQ(sim.Faults().FiredCount(), 5u);
}

TEST_F(SerialSimulatorTest, MailboxFaults)
{
    tFaultRule rule;
    rule.kind = ENFault::MailboxBusy;
    rule.match.readBack = true;
    rule.times = 2;
    sim.Faults().Add(rule);
    rule = {};
    rule.kind = ENFault::MailboxOverCount;
    rule.value = 3;
    rule.match.readBack = true;
    sim.Faults().Add(rule);

    std::vector<uint16_t> request{0x0106, 0}; // group 06, service 01: the runtime systems
    line->Send(Request(0, 99, 0, 2, request, true));
    ASSERT_TRUE(ChecksumOk(line->Answer()));
    for (int i = 0; i < 2; ++i) {
        line->Send(Request(0, 99, 0, 4));
        const auto busy = line->Answer();
        EXPECT_GE(busy.at(8), 0x80);
        EXPECT_EQ(Word(busy, 10), 0x821D);
    }
    line->Send(Request(0, 99, 0, 4));
    const auto answer = line->Answer();
    ASSERT_TRUE(ChecksumOk(answer));
    EXPECT_EQ(Word(answer, 12), 2 + 3); // status and one runtime system, plus the lie

    // A service status set on the request that starts the service.
    rule = {};
    rule.kind = ENFault::ServiceStatus;
    rule.status = 0x8512;
    rule.match.serviceCode = 0x0206;
    sim.Faults().Add(rule);
    EXPECT_EQ(Word(Service(0x06, 0x02, {}, 1), 14), 0x8512);
    EXPECT_EQ(Word(Service(0x06, 0x02, {}, 1), 14), 0);
}

TEST(SerialSimulatorLifecycle, StopsPromptlyDuringALongDelayAndRestarts)
{
    CSerialSimulator sim;
    EXPECT_FALSE(sim.IsRunning());
    sim.Stop(); // stopping what never ran is harmless
    ASSERT_TRUE(sim.Start()) << sim.LastError();
    EXPECT_FALSE(sim.Start());
    EXPECT_EQ(sim.SlavePath().rfind("/dev/pts/", 0), 0u);
    tFaultRule rule;
    rule.kind = ENFault::Delay;
    rule.delayMs = 60000;
    sim.Faults().Add(rule);
    {
        CLine line(sim.SlavePath());
        line.Send(Request(0, 0, 0, 1));
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    const auto before = std::chrono::steady_clock::now();
    sim.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(2));
    EXPECT_FALSE(sim.IsRunning());
    ASSERT_TRUE(sim.Start());
    sim.Stop();
}
