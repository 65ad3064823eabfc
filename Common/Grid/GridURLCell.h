#pragma once
// A read-only cell whose text holds a web or mail link: the text shows in the
// link colour, the hand cursor shows over the link word, and a click on the
// word opens it.
#include "Common/Grid/GridCell.h"

namespace ZELL::Grid {

class CGridURLCell : public CGridCell {
    DECLARE_DYNCREATE(CGridURLCell)
public:
    void SetLinkColour(COLORREF colour) { m_linkColour = colour; }
    COLORREF GetLinkColour() const { return m_linkColour; }
    void SetAutoLaunch(BOOL launch) { m_autoLaunch = launch; }
    BOOL GetAutoLaunch() const { return m_autoLaunch; }

    // Whether the text holds a link prefix anywhere (case matters).
    static bool HasUrl(const CString& text);
    // The link word under a point relative to where the cell was last
    // drawn; empty when the point is off the text or the word is no link.
    CString LinkAt(CPoint point);

    BOOL Draw(CDC* dc, int row, int col, CRect rect, BOOL eraseBackground = TRUE) override;
    BOOL Edit(int, int, CRect, CPoint, UINT, UINT) override { return FALSE; }
    void OnClick(CPoint point) override;
    BOOL OnSetCursor() override;

protected:
    // Hands the link to the shell.
    virtual void OpenLink(const CString& link);

private:
    // Where the text's characters start, or -1 when x is off the text.
    int OffsetInText(int x, int width) const;

    COLORREF m_linkColour = ::GetSysColor(COLOR_HIGHLIGHT);
    BOOL m_autoLaunch = TRUE;
    CRect m_lastRect;
};

}  // namespace ZELL::Grid
