#pragma once
// A text cell edited through a masked edit, so that what is typed keeps to
// a fixed layout (an address, say). The derived cell names the layout.
#include "Common/Grid/GridCell.h"
#include "Common/Grid/MaskedEdit.h"

namespace ZELL::Grid {

class CGridCellMasked : public CGridCell {
public:
    BOOL Edit(int row, int col, CRect rect, CPoint point, UINT id, UINT firstChar) override;
    void EndEdit() override;

protected:
    virtual const MaskFormat& Format() const = 0;
};

}  // namespace ZELL::Grid
