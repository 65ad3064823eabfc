// Feeds arbitrary bytes as the device's answers to register reads, both of
// an ordinary table and of the service mailbox, and to a write.
#include "Common/PelorusDLL/SIORegComm.h"
#include "Common/PelorusDLL/Tests/SIORegCommFakeLine.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    SIORegCommFake::CFakeLine line;
    line.m_input.assign(data + 2, data + size);
    CSIORegComm comm(&line);
    comm.SetFragmentSize(data[0] % 46);
    const unsigned int count = 1 + data[1] % 200;
    std::vector<unsigned short> words(256, 0);
    switch (data[1] % 3) {
    case 0:
        comm.ReadRegister(0, 99, 0, count, words.data());
        break;
    case 1:
        comm.ReadRegister(1, 5, 256 - count, count, words.data());
        break;
    default:
        comm.WriteRegister(0, 7, 0, count, words.data());
        break;
    }
    return 0;
}
