#pragma once
// The address of one cell of a grid; (-1, -1) addresses none.
#include "Platform/Base/Types.h"

namespace ZELL::Grid {

class CCellID {
public:
    int row = -1;
    int col = -1;

    CCellID() = default;
    CCellID(int rowIndex, int columnIndex) : row(rowIndex), col(columnIndex) {}

    bool IsValid() const { return row >= 0 && col >= 0; }
    bool operator==(const CCellID&) const = default;
};

}  // namespace ZELL::Grid
