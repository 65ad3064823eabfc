#pragma once
// A text cell that, in column 0, draws across the whole visible width of the
// grid as its row's caption line; in any other column it draws nothing, so a
// row of caption cells shows one line.
#include "Common/Grid/GridCell.h"

namespace ZELL::Grid {

class CGridCellCaption : public CGridCell {
    DECLARE_DYNCREATE(CGridCellCaption)
public:
    CGridCellCaption() = default;
    ~CGridCellCaption() override = default;

    BOOL Draw(CDC* dc, int row, int col, CRect rect, BOOL eraseBackground = TRUE) override;
    BOOL PrintCell(CDC* dc, int row, int col, CRect rect) override;

private:
    CRect SpanOf(int col, CRect rect) const;
};

}  // namespace ZELL::Grid
