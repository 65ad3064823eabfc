#pragma once
// One register table of the device data set: its words and their count.
// The count is a 16-bit word wherever it travels (settings file, device
// services), so a table never holds more words than that count can tell.

#include "Platform/Base/Types.h"

#include <cstddef>
#include <vector>

namespace Corvane {

class CRegisterTable {
public:
    static constexpr std::size_t kMaxWords = 0xFFFF;

    WORD GetCount() const { return static_cast<WORD>(m_arrWords.size()); }
    bool IsEmpty() const { return m_arrWords.empty(); }
    // Null for an empty table.
    const WORD* GetData() const { return m_arrWords.empty() ? nullptr : m_arrWords.data(); }
    WORD* GetData() { return m_arrWords.empty() ? nullptr : m_arrWords.data(); }
    const std::vector<WORD>& Words() const { return m_arrWords; }

    // The fallback for an index beyond the table.
    WORD GetAt(std::size_t index, WORD fallback = 0) const
    {
        return index < m_arrWords.size() ? m_arrWords[index] : fallback;
    }
    // False, and nothing written, for an index beyond the table.
    bool SetAt(std::size_t index, WORD value);

    // A new table of `count` zero words, for a device read to fill. False for
    // more than kMaxWords words; the table is then left as it was.
    bool Allocate(std::size_t count);
    bool Assign(const WORD* words, std::size_t count);
    bool Assign(std::vector<WORD> words);
    void Free() { m_arrWords.clear(); m_arrWords.shrink_to_fit(); }

    friend bool operator==(const CRegisterTable&, const CRegisterTable&) = default;

private:
    std::vector<WORD> m_arrWords;
};

}  // namespace Corvane
