#pragma once
// Where the pages of a printed grid break along one axis: the rows (or
// columns) after the fixed ones are laid into pages of a usable length. A row
// that would overflow the page starts the next one; a row longer than a whole
// page gets a page of its own and is printed clipped, so that every row is on
// exactly one page and no page is blank.
#include <vector>

namespace ZELL::Grid {

class CGridPageBreaks {
public:
    // sizes: the size of every row; first: the first row to lay out.
    void Split(const std::vector<int>& sizes, int first, int usable);
    // At least 1, also when nothing is to be laid out.
    int PageCount() const { return m_starts.empty() ? 1 : static_cast<int>(m_starts.size()); }
    // The rows of a page (zero-based): from FirstOf up to, not including, EndOf;
    // an empty span for a page out of range.
    int FirstOf(int page) const;
    int EndOf(int page) const;

private:
    std::vector<int> m_starts;
    int m_first = 0;
    int m_end = 0;
};

}  // namespace ZELL::Grid
