#pragma once

// Little-endian access to wire bytes. Every caller checks the size first;
// these helpers only spare the shifting.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace DevSim {

inline uint16_t GetU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

inline uint32_t GetU32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

inline void PutU16(uint8_t* p, uint16_t v)
{
    p[0] = static_cast<uint8_t>(v & 0xFF);
    p[1] = static_cast<uint8_t>(v >> 8);
}

inline void PutU32(uint8_t* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>((v >> (8 * i)) & 0xFF);
}

inline void AppendU16(std::vector<uint8_t>& out, uint16_t v)
{
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

inline void AppendU32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>((v >> (8 * i)) & 0xFF));
}

// Reads the 16-bit word at byte offset `offset`, or `fallback` when the
// buffer is too short for it.
inline uint16_t WordAt(const std::vector<uint8_t>& data, size_t offset, uint16_t fallback = 0)
{
    return offset + 2 <= data.size() ? GetU16(data.data() + offset) : fallback;
}

} // namespace DevSim
