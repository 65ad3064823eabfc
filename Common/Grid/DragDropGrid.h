#pragma once
// A grid that takes dropped text only in one column (below its first row);
// everything else about dragging is the grid's own.
#include "Common/Grid/ZellGrid.h"

namespace ZELL::Grid {

class CDragDropGrid : public CZellGrid {
    DECLARE_DYNCREATE(CDragDropGrid)
public:
    CDragDropGrid() = default;
    ~CDragDropGrid() override = default;

    DROPEFFECT OnDragEnter(COleDataObject* data, DWORD keyState, CPoint point) override;
    DROPEFFECT OnDragOver(COleDataObject* data, DWORD keyState, CPoint point) override;

    virtual void SetDropColumn(int col) { m_dropColumn = col; }
    int GetDropColumn() const { return m_dropColumn; }

private:
    bool AcceptsDropAt(CPoint point) const;

    int m_dropColumn = -1;
};

}  // namespace ZELL::Grid
