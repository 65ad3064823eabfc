// The fragment reader on arbitrary bytes: the first five bytes choose the
// length field's place, width and correction, the rest is the stream.

#include "Common/Communication/Tests/FakeConnection.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 5)
        return 0;
    const unsigned int lengthPos = data[0] % 40;
    const unsigned short sizeOfLength = data[1] % 6;
    const short correction = static_cast<short>(data[2] | (data[3] << 8));
    const bool chained = data[4] & 1;

    ZELL::Testing::CFakeConnection connection;
    connection.m_input.assign(data + 5, data + size);
    unsigned char* buffer = nullptr;
    unsigned int length = 0;
    for (int frame = 0; frame < 1000 && connection.ReadFragment(&buffer, lengthPos, sizeOfLength, correction, &length); ++frame) {
        if (length < lengthPos + sizeOfLength)
            __builtin_trap();
        // Touch every byte so a short block shows under the sanitizer.
        volatile unsigned char sum = 0;
        for (unsigned int i = 0; i < length; ++i)
            sum = sum + buffer[i];
        if (!chained || connection.m_position >= connection.m_input.size())
            break;
    }
    delete[] buffer;
    return 0;
}
