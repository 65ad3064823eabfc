#include "Common/Grid/GridPageBreaks.h"

namespace ZELL::Grid {

void CGridPageBreaks::Split(const std::vector<int>& sizes, int first, int usable)
{
    m_starts.clear();
    m_first = first;
    m_end = static_cast<int>(sizes.size());
    long filled = 0;
    for (int index = first; index < m_end; ++index) {
        const int size = sizes[index] > 0 ? sizes[index] : 0;
        if (m_starts.empty() || (size > 0 && filled > 0 && filled + size > usable)) {
            m_starts.push_back(index);
            filled = 0;
        }
        filled += size;
    }
}

int CGridPageBreaks::FirstOf(int page) const
{
    if (page < 0 || page >= static_cast<int>(m_starts.size()))
        return m_starts.empty() && page == 0 ? m_first : m_end;
    return m_starts[page];
}

int CGridPageBreaks::EndOf(int page) const
{
    if (page < 0 || page >= static_cast<int>(m_starts.size()))
        return m_starts.empty() && page == 0 ? m_first : m_end;
    return page + 1 < static_cast<int>(m_starts.size()) ? m_starts[page + 1] : m_end;
}

}  // namespace ZELL::Grid
