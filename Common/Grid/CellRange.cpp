#include "Common/Grid/CellRange.h"

#include <algorithm>

namespace ZELL::Grid {

CCellRange CCellRange::Intersect(const CCellRange& other) const
{
    return {std::max(minRow, other.minRow), std::max(minCol, other.minCol), std::min(maxRow, other.maxRow),
            std::min(maxCol, other.maxCol)};
}

}  // namespace ZELL::Grid
