#pragma once
// A cell whose value is chosen from a list of option texts (or typed). The
// focus cell shows a drop-down button; editing lays a combo box over it.
#include "Common/Grid/GridCell.h"

#include <vector>

namespace ZELL::Grid {

class CGridCellCombo : public CGridCell {
    DECLARE_DYNCREATE(CGridCellCombo)
public:
    CGridCellCombo() = default;
    ~CGridCellCombo() override = default;

    void SetOptionTexts(const std::vector<CString>& texts, BOOL showButton = TRUE);
    const std::vector<CString>& GetOptionTexts() const { return m_options; }
    void SetComboStyle(DWORD style) { m_comboStyle = style; }

    BOOL Draw(CDC* dc, int row, int col, CRect rect, BOOL eraseBackground = TRUE) override;
    CSize GetCellExtent(CDC* dc) override;
    BOOL Edit(int row, int col, CRect rect, CPoint point, UINT id, UINT firstChar) override;
    void EndEdit() override;
    void OnClick(CPoint point) override;

private:
    // Where the drop-down button goes, or false when the cell is too small.
    bool ButtonRect(const CRect& cell, CRect& button) const;
    void DrawButton(CDC* dc, CRect button);

    std::vector<CString> m_options;
    DWORD m_comboStyle = 0x0002;  // CBS_DROPDOWN: a list with an edit field
    BOOL m_showButton = TRUE;
};

}  // namespace ZELL::Grid
