#pragma once
// One 4-bit value with checked bit access, as the device packs flags into
// the halves of a byte.

#include "Platform/Base/Types.h"

#include <bitset>
#include <cstddef>
#include <string>

namespace wutils {

class CNibble {
public:
    CNibble() = default;
    CNibble(BYTE value, bool high);
    // At most the first four characters, the last of them being bit 0; only
    // '0' and '1' are allowed.
    explicit CNibble(const std::string& text);
    explicit CNibble(const std::wstring& text);
    virtual ~CNibble() = default;

    void SetText(const std::string& text);
    void SetText(const std::wstring& text);

    ULONG GetValue() const;
    void SetValue(ULONG value);

    // Bit numbers outside 0..3 throw std::out_of_range.
    bool Test(std::size_t bit) const;
    void Set(std::size_t bit, bool value = true);
    void SetAll();
    void Reset();
    void Reset(std::size_t bit);
    bool Flip(std::size_t bit);
    void FlipAll();

    // Bit 3 first; the pointer stays valid until the next call.
    const char* ToString();

private:
    static void CheckBit(std::size_t bit);

    std::bitset<4> m_bits;
    std::string m_text;
};

}
