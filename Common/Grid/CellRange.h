#pragma once
// A rectangular block of cells, both corners included.
#include "Common/Grid/CellID.h"

namespace ZELL::Grid {

class CCellRange {
public:
    int minRow = -1;
    int minCol = -1;
    int maxRow = -1;
    int maxCol = -1;

    CCellRange() = default;
    CCellRange(int minRowIndex, int minColumn, int maxRowIndex, int maxColumn)
        : minRow(minRowIndex), minCol(minColumn), maxRow(maxRowIndex), maxCol(maxColumn)
    {
    }

    // All four set and the maxima not below the minima; the grid checks the counts.
    bool IsValid() const { return minRow >= 0 && minCol >= 0 && maxRow >= minRow && maxCol >= minCol; }
    bool InRange(int row, int col) const { return row >= minRow && row <= maxRow && col >= minCol && col <= maxCol; }
    bool InRange(const CCellID& cell) const { return InRange(cell.row, cell.col); }
    CCellID TopLeft() const { return {minRow, minCol}; }
    int RowSpan() const { return maxRow - minRow + 1; }
    int ColSpan() const { return maxCol - minCol + 1; }
    CCellRange Intersect(const CCellRange& other) const;
    bool operator==(const CCellRange&) const = default;
};

}  // namespace ZELL::Grid
