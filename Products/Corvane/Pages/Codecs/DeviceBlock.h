#pragma once
// A page's window onto one device block (a register table of the data set):
// words counted from 0, reads and writes only below the block's length. A
// missing block reads nothing and stores nothing, so a short or absent table
// from a device or a file can never be overrun. The block is not owned.

#include "Platform/Base/Types.h"
#include "Products/Corvane/Core/RegisterTable.h"

#include <optional>

namespace Corvane {

class CDeviceBlock {
public:
    CDeviceBlock() = default;
    CDeviceBlock(WORD* words, DWORD length) : m_pWords(words), m_dwLength(words ? length : 0) {}
    explicit CDeviceBlock(CRegisterTable& table) : CDeviceBlock(table.GetData(), table.GetCount()) {}

    bool IsPresent() const { return m_dwLength > 0; }
    DWORD GetLength() const { return m_dwLength; }
    bool Has(DWORD index) const { return index < m_dwLength; }

    std::optional<WORD> Read(DWORD index) const;
    // False, and nothing written, for a word beyond the block.
    bool Write(DWORD index, WORD value);

    std::optional<bool> ReadFlag(DWORD index, WORD mask) const;
    // Replaces only the bits of `mask` and keeps every other bit of the word.
    bool WriteBits(DWORD index, WORD mask, WORD bits);
    bool WriteFlag(DWORD index, WORD mask, bool on) { return WriteBits(index, mask, on ? mask : 0); }

    // An IPv4 address in two words, first octet in the low byte of the first
    // word; as a value the first octet is the highest byte. Both words or none.
    std::optional<DWORD> ReadAddress(DWORD firstWord) const;
    bool WriteAddress(DWORD firstWord, DWORD address);

    // Bytes counted from the start of the block, the low byte of a word first.
    std::optional<BYTE> ReadByte(DWORD offset) const;
    bool WriteByte(DWORD offset, BYTE value);

private:
    WORD* m_pWords = nullptr;
    DWORD m_dwLength = 0;
};

}  // namespace Corvane
