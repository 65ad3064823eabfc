#pragma once
// A connection that records what the register channel writes and hands back
// scripted answers, byte for byte, as a serial line does.

#include "Common/Communication/IConnection.h"
#include "Platform/Base/LastError.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <stdexcept>
#include <vector>

namespace SIORegCommFake {

class CFakeLine : public ZELL::IConnection {
public:
    void Open() override { m_open = true; }
    void Close() override { m_open = false; }
    bool IsOpen() const override { return m_open; }
    void Write(unsigned char* data, unsigned int length, unsigned int* written) override
    {
        if (m_throwOnWrite) {
            SetLastError(m_writeError);
            throw std::runtime_error("write failed");
        }
        m_requests.emplace_back(data, data + length);
        if (written)
            *written = length;
    }
    // Delivers what is left, fewer bytes when the input runs out; a timeout
    // of the real line would throw instead, which `throwWhenEmpty` plays.
    void Read(unsigned char* buffer, unsigned int length, unsigned int* read) override
    {
        ++m_reads;
        const std::size_t count = std::min<std::size_t>(length, m_input.size());
        if (count < length && m_throwWhenEmpty) {
            SetLastError(0x20010200u);
            throw std::runtime_error("timeout");
        }
        for (std::size_t i = 0; i < count; ++i) {
            buffer[i] = m_input.front();
            m_input.pop_front();
        }
        if (read)
            *read = static_cast<unsigned int>(count);
    }
    void Execute(unsigned char*, unsigned int, unsigned char**, unsigned int&) override {}
    void ClearBuffer() override {}
    unsigned long GetLastErrorCode() override { return 0; }
    bool ReadFragment(unsigned char**, unsigned int*) override { return false; }
    bool ReadFragment(unsigned char**, unsigned int, unsigned short, short, unsigned int*) override { return false; }

    void Answer(const std::vector<unsigned char>& bytes) { m_input.insert(m_input.end(), bytes.begin(), bytes.end()); }

    bool m_open = true;
    bool m_throwOnWrite = false;
    bool m_throwWhenEmpty = false;
    unsigned long m_writeError = 0;
    int m_reads = 0;
    std::deque<unsigned char> m_input;
    std::vector<std::vector<unsigned char>> m_requests;
};

// A response telegram around `words`, with a correct checksum unless told.
inline std::vector<unsigned char> Response(unsigned char count, const std::vector<unsigned short>& words,
                                           unsigned char status = 0, int checksumDelta = 0)
{
    std::vector<unsigned char> t{0x02, 0xFD, 0, 0, 0, count, 0x52, 0, status, 0};
    for (unsigned short w : words) {
        t.push_back(static_cast<unsigned char>(w & 0xFF));
        t.push_back(static_cast<unsigned char>(w >> 8));
    }
    t[2] = static_cast<unsigned char>(t.size() + 2);
    unsigned short sum = 0;
    for (unsigned char b : t)
        sum = static_cast<unsigned short>(sum + b);
    sum = static_cast<unsigned short>(sum + checksumDelta);
    t.push_back(static_cast<unsigned char>(sum & 0xFF));
    t.push_back(static_cast<unsigned char>(sum >> 8));
    return t;
}

}
