#pragma once
// A connection over an in-memory byte stream, for the medium-independent
// parts of the connection base.

#include "Common/Communication/Tests/InertSettingsConnection.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace ZELL::Testing {

class CFakeConnection : public CInertSettingsConnection {
public:
    using CInertSettingsConnection::CInertSettingsConnection;

    // Delivers what is left of the input, fewer bytes when it runs out, as a
    // socket whose peer closed does.
    void Read(unsigned char* buffer, unsigned int length, unsigned int* read) override
    {
        ++m_reads;
        if (m_throwOnRead) {
            SetLastErrorCode(m_readError);
            throw std::runtime_error("read failed");
        }
        const std::size_t count = std::min<std::size_t>(length, m_input.size() - m_position);
        if (count != 0)
            std::memcpy(buffer, m_input.data() + m_position, count);
        m_position += count;
        if (read)
            *read = static_cast<unsigned int>(count);
    }

    void Open() override { m_open = true; }
    void Close() override { m_open = false; }
    bool IsOpen() const override { return m_open; }
    void Write(unsigned char*, unsigned int, unsigned int*) override {}
    void Execute(unsigned char*, unsigned int, unsigned char**, unsigned int&) override {}
    void ClearBuffer() override {}
    std::wstring GetType() const override { return L"FAKE"; }
    unsigned int GetCommunicationTimeout() override { return 0; }
    void SetCommunicationTimeout(unsigned int) override {}
    unsigned int GetRestartTimeout() override { return 0; }
    void SetRestartTimeout(unsigned int) override {}

    std::vector<unsigned char> m_input;
    std::size_t m_position = 0;
    int m_reads = 0;
    bool m_open = false;
    bool m_throwOnRead = false;
    unsigned long m_readError = 0;
};

}
