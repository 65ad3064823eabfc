#pragma once
// The defaults a grid's cells fall back to: format, colours, margin, font
// and the size of an empty cell. A default cell is always read-only and
// ignores state and user value.
#include "Common/Grid/GridCell.h"

namespace ZELL::Grid {

class CGridDefaultCell : public CGridCell {
    DECLARE_DYNCREATE(CGridDefaultCell)
public:
    CGridDefaultCell();
    ~CGridDefaultCell() override = default;

    DWORD GetState() const override { return CGridCell::GetState() | GRIDSTATE_READONLY; }
    void SetState(DWORD) override {}
    void SetUserValue(LPARAM) override {}
    // Measures the margin and the default size with the font at once.
    void SetFont(const LOGFONTW* font) override;
    const LOGFONTW* GetFont() const override { return &m_logFont; }
    CFont* GetFontObject() const override;

    virtual int GetDefaultWidth() const { return m_width; }
    virtual int GetDefaultHeight() const { return m_height; }
    virtual void SetDefaultWidth(int width) { m_width = width; }
    virtual void SetDefaultHeight(int height) { m_height = height; }

private:
    void Measure();

    int m_width = 30;
    int m_height = 10;
    LOGFONTW m_logFont{};
    mutable CFont m_fontObject;
};

}  // namespace ZELL::Grid
