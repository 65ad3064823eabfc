#pragma once
// A connection whose far end is a function: every written frame is recorded
// and handed to the function, whose answer frames become the bytes to read.

#include "Common/Communication/Tests/InertSettingsConnection.h"
#include "Common/Communication/ConnectionException.h"

#include <cstdint>
#include <cstring>
#include <deque>
#include <functional>
#include <vector>

namespace ZELL::Testing {

using Bytes = std::vector<unsigned char>;

inline unsigned short Word(const Bytes& bytes, std::size_t offset)
{
    return static_cast<unsigned short>(bytes.at(offset) | (bytes.at(offset + 1) << 8));
}

inline void PutWord(Bytes& bytes, std::size_t offset, unsigned short value)
{
    bytes.at(offset) = static_cast<unsigned char>(value);
    bytes.at(offset + 1) = static_cast<unsigned char>(value >> 8);
}

inline void AppendWord(Bytes& bytes, unsigned short value)
{
    bytes.push_back(static_cast<unsigned char>(value));
    bytes.push_back(static_cast<unsigned char>(value >> 8));
}

// An answer to `request` that echoes its header, with the given flags,
// status and data behind the header (and the Exclusive-ID when asked).
inline Bytes AnswerTo(const Bytes& request, unsigned short flags, unsigned short status, const Bytes& data = {},
                      bool withExclusive = false, std::uint32_t exclusiveId = 0)
{
    Bytes answer(request.begin(), request.begin() + 18);
    PutWord(answer, 12, status);
    PutWord(answer, 14, static_cast<unsigned short>(flags | (withExclusive ? 0x1000 : 0)));
    if (withExclusive)
        for (int i = 0; i < 4; ++i)
            answer.push_back(static_cast<unsigned char>(exclusiveId >> (8 * i)));
    answer.insert(answer.end(), data.begin(), data.end());
    PutWord(answer, 16, static_cast<unsigned short>(answer.size() - 18));
    return answer;
}

inline void AppendChecksum(Bytes& frame)
{
    unsigned int sum = 0;
    for (unsigned char byte : frame)
        sum += byte;
    AppendWord(frame, static_cast<unsigned short>(sum));
}

class CFakeDeviceConnection : public CInertSettingsConnection {
public:
    using Device = std::function<std::vector<Bytes>(const Bytes& request)>;

    explicit CFakeDeviceConnection(Device device_ = {}) : m_device(std::move(device_)) {}

    void Write(unsigned char* data, unsigned int length, unsigned int* written) override
    {
        if (m_throwOnWrite)
            throw CConnectionException(L"write failed", 42);
        Bytes frame(data, data + length);
        m_writes.push_back(frame);
        if (written)
            *written = length;
        if (m_device)
            for (const Bytes& answer : m_device(frame))
                m_input.insert(m_input.end(), answer.begin(), answer.end());
    }

    void Read(unsigned char* buffer, unsigned int length, unsigned int* read) override
    {
        ++m_reads;
        if (m_reads > m_maxReads)
            throw CConnectionException(L"too many reads", 43);
        const std::size_t count = std::min<std::size_t>(length, m_input.size());
        for (std::size_t i = 0; i < count; ++i) {
            buffer[i] = m_input.front();
            m_input.pop_front();
        }
        if (read)
            *read = static_cast<unsigned int>(count);
    }

    void Open() override { m_open = true; }
    void Close() override { m_open = false; }
    bool IsOpen() const override { return m_open; }
    void Execute(unsigned char*, unsigned int, unsigned char**, unsigned int&) override {}
    void ClearBuffer() override { m_input.clear(); }
    std::wstring GetType() const override { return L"FAKE"; }
    unsigned int GetCommunicationTimeout() override { return 0; }
    void SetCommunicationTimeout(unsigned int) override {}
    unsigned int GetRestartTimeout() override { return m_restartTimeout; }
    void SetRestartTimeout(unsigned int seconds) override { m_restartTimeout = seconds; }

    Device m_device;
    std::vector<Bytes> m_writes;
    std::deque<unsigned char> m_input;
    int m_reads = 0;
    int m_maxReads = 100000;
    bool m_open = true;
    bool m_throwOnWrite = false;
    unsigned int m_restartTimeout = 30;
};

}
