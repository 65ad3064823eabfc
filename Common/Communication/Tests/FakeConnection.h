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
        ++reads;
        if (throwOnRead) {
            SetLastErrorCode(readError);
            throw std::runtime_error("read failed");
        }
        const std::size_t count = std::min<std::size_t>(length, input.size() - position);
        if (count != 0)
            std::memcpy(buffer, input.data() + position, count);
        position += count;
        if (read)
            *read = static_cast<unsigned int>(count);
    }

    void Open() override { open = true; }
    void Close() override { open = false; }
    bool IsOpen() const override { return open; }
    void Write(unsigned char*, unsigned int, unsigned int*) override {}
    void Execute(unsigned char*, unsigned int, unsigned char**, unsigned int&) override {}
    void ClearBuffer() override {}
    std::wstring GetType() const override { return L"FAKE"; }
    unsigned int GetCommunicationTimeout() override { return 0; }
    void SetCommunicationTimeout(unsigned int) override {}
    unsigned int GetRestartTimeout() override { return 0; }
    void SetRestartTimeout(unsigned int) override {}

    std::vector<unsigned char> input;
    std::size_t position = 0;
    int reads = 0;
    bool open = false;
    bool throwOnRead = false;
    unsigned long readError = 0;
};

}
