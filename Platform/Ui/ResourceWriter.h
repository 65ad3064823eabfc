#pragma once
// Little-endian writing and reading of the resource formats' fields; text
// is UTF-16 with a terminating zero.
#include "Platform/Base/Types.h"

#include <string_view>
#include <vector>

namespace Ui {

class CResourceWriter {
public:
    void Byte(unsigned value) { m_bytes.push_back(static_cast<BYTE>(value)); }
    void Word(unsigned value)
    {
        Byte(value & 0xFF);
        Byte((value >> 8) & 0xFF);
    }
    void Dword(DWORD value)
    {
        Word(value & 0xFFFF);
        Word(value >> 16);
    }
    void Text(std::wstring_view text);
    void Raw(const BYTE* data, std::size_t size) { m_bytes.insert(m_bytes.end(), data, data + size); }
    // Pads to the next DWORD boundary of everything written.
    void Align()
    {
        while (m_bytes.size() % 4 != 0)
            Byte(0);
    }
    void PatchWord(std::size_t at, unsigned value)
    {
        m_bytes[at] = static_cast<BYTE>(value & 0xFF);
        m_bytes[at + 1] = static_cast<BYTE>((value >> 8) & 0xFF);
    }
    std::size_t Size() const { return m_bytes.size(); }
    std::vector<BYTE> Take() { return std::move(m_bytes); }

private:
    std::vector<BYTE> m_bytes;
};

inline WORD ReadWordAt(const BYTE* p)
{
    return static_cast<WORD>(p[0] | (p[1] << 8));
}

inline DWORD ReadDwordAt(const BYTE* p)
{
    return ReadWordAt(p) | (DWORD{ReadWordAt(p + 2)} << 16);
}

}
