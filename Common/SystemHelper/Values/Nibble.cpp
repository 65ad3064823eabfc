#include "Common/SystemHelper/Values/Nibble.h"

#include <stdexcept>

namespace wutils {

namespace {

constexpr std::size_t kBitCount = 4;

template <typename Text>
std::bitset<kBitCount> BitsFromText(const Text& text)
{
    const std::size_t count = text.size() < kBitCount ? text.size() : kBitCount;
    std::bitset<kBitCount> bits;
    for (std::size_t i = 0; i < count; ++i) {
        const auto c = text[i];
        if (c != '0' && c != '1')
            throw std::invalid_argument("invalid bitset<N> char");
        bits.set(count - 1 - i, c == '1');
    }
    return bits;
}

}

CNibble::CNibble(BYTE value, bool high)
    : m_bits(high ? (value >> 4) : (value & 0x0F))
{
}

CNibble::CNibble(const std::string& text)
    : m_bits(BitsFromText(text))
{
}

CNibble::CNibble(const std::wstring& text)
    : m_bits(BitsFromText(text))
{
}

void CNibble::SetText(const std::string& text) { m_bits = BitsFromText(text); }
void CNibble::SetText(const std::wstring& text) { m_bits = BitsFromText(text); }

ULONG CNibble::GetValue() const { return static_cast<ULONG>(m_bits.to_ulong()); }
void CNibble::SetValue(ULONG value) { m_bits = std::bitset<kBitCount>(value & 0x0Fu); }

void CNibble::CheckBit(std::size_t bit)
{
    if (bit >= kBitCount)
        throw std::out_of_range("invalid bitset<N> position");
}

bool CNibble::Test(std::size_t bit) const
{
    CheckBit(bit);
    return m_bits[bit];
}

void CNibble::Set(std::size_t bit, bool value)
{
    CheckBit(bit);
    m_bits[bit] = value;
}

void CNibble::SetAll() { m_bits.set(); }
void CNibble::Reset() { m_bits.reset(); }

void CNibble::Reset(std::size_t bit)
{
    CheckBit(bit);
    m_bits[bit] = false;
}

bool CNibble::Flip(std::size_t bit)
{
    CheckBit(bit);
    m_bits.flip(bit);
    return m_bits[bit];
}

void CNibble::FlipAll() { m_bits.flip(); }

const char* CNibble::ToString()
{
    m_text = m_bits.to_string();
    return m_text.c_str();
}

}
