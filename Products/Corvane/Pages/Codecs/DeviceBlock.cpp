#include "Products/Corvane/Pages/Codecs/DeviceBlock.h"

namespace Corvane {

std::optional<WORD> CDeviceBlock::Read(DWORD index) const
{
    if (!Has(index))
        return std::nullopt;
    return m_pWords[index];
}

bool CDeviceBlock::Write(DWORD index, WORD value)
{
    if (!Has(index))
        return false;
    m_pWords[index] = value;
    return true;
}

std::optional<bool> CDeviceBlock::ReadFlag(DWORD index, WORD mask) const
{
    const std::optional<WORD> word = Read(index);
    if (!word)
        return std::nullopt;
    return (*word & mask) != 0;
}

bool CDeviceBlock::WriteBits(DWORD index, WORD mask, WORD bits)
{
    const std::optional<WORD> word = Read(index);
    if (!word)
        return false;
    return Write(index, static_cast<WORD>((*word & ~mask) | (bits & mask)));
}

std::optional<DWORD> CDeviceBlock::ReadAddress(DWORD firstWord) const
{
    const std::optional<WORD> low = Read(firstWord);
    const std::optional<WORD> high = Read(firstWord + 1);
    if (!low || !high || firstWord + 1 < firstWord)
        return std::nullopt;
    const DWORD octet1 = *low & 0xFFu;
    const DWORD octet2 = (*low >> 8) & 0xFFu;
    const DWORD octet3 = *high & 0xFFu;
    const DWORD octet4 = (*high >> 8) & 0xFFu;
    return (octet1 << 24) | (octet2 << 16) | (octet3 << 8) | octet4;
}

bool CDeviceBlock::WriteAddress(DWORD firstWord, DWORD address)
{
    if (firstWord + 1 < firstWord || !Has(firstWord + 1))
        return false;
    const auto octet = [address](int shift) { return static_cast<WORD>((address >> shift) & 0xFFu); };
    Write(firstWord, static_cast<WORD>(octet(24) | (octet(16) << 8)));
    Write(firstWord + 1, static_cast<WORD>(octet(8) | (octet(0) << 8)));
    return true;
}

std::optional<BYTE> CDeviceBlock::ReadByte(DWORD offset) const
{
    const std::optional<WORD> word = Read(offset / 2);
    if (!word)
        return std::nullopt;
    return static_cast<BYTE>(offset % 2 == 0 ? (*word & 0xFFu) : (*word >> 8));
}

bool CDeviceBlock::WriteByte(DWORD offset, BYTE value)
{
    const bool high = offset % 2 != 0;
    return WriteBits(offset / 2, high ? 0xFF00 : 0x00FF, static_cast<WORD>(high ? value << 8 : value));
}

}  // namespace Corvane
