#pragma once
// The interface of every grid cell: contents, looks, state bits, and how a
// cell draws, measures, prints and edits itself. A cell that leaves a look
// unset (-1, null) takes it from the grid's default cell for its kind
// (normal, fixed row, fixed column or the fixed corner).
#include "Common/Grid/GridNotify.h"
#include "Platform/Framework/Core/Object.h"
#include "Platform/Framework/Geometry/Rect.h"

class CDC;
class CFont;
class CWnd;

namespace ZELL::Grid {

class CZellGrid;
class CGridDefaultCell;

class CGridCellBase : public CObject {
    DECLARE_DYNAMIC(CGridCellBase)
public:
    CGridCellBase() = default;
    ~CGridCellBase() override = default;
    CGridCellBase& operator=(const CGridCellBase& other);

    virtual void SetText(LPCWSTR text) = 0;
    virtual void SetImage(int image) = 0;
    virtual void SetUserValue(LPARAM value) = 0;
    virtual void SetState(DWORD state) { m_state = state; }
    virtual void SetFormat(DWORD format) = 0;
    virtual void SetTextColour(COLORREF colour) = 0;
    virtual void SetBackColour(COLORREF colour) = 0;
    virtual void SetFont(const LOGFONTW* font) = 0;
    virtual void SetMargin(UINT margin) = 0;
    virtual void SetGrid(CZellGrid* grid) = 0;
    virtual void SetPosition(int row, int col) = 0;
    virtual void SetHighlightColours(COLORREF selectedBack, COLORREF selectedText, COLORREF focusBack,
                                     COLORREF focusText) = 0;
    virtual COLORREF GetSelectedTextColour() const = 0;
    virtual COLORREF GetSelectedBackColour() const = 0;
    virtual COLORREF GetFocusTextColour() const = 0;
    virtual COLORREF GetFocusBackColour() const = 0;
    virtual LPCWSTR GetText() const = 0;
    virtual LPCWSTR GetTipText() const { return GetText(); }
    virtual int GetImage() const = 0;
    virtual LPARAM GetUserValue() const = 0;
    virtual DWORD GetState() const { return m_state; }
    virtual DWORD GetFormat() const = 0;
    virtual COLORREF GetTextColour() const = 0;
    virtual COLORREF GetBackColour() const = 0;
    virtual const LOGFONTW* GetFont() const = 0;
    virtual CFont* GetFontObject() const = 0;
    virtual CZellGrid* GetGrid() const = 0;
    virtual CWnd* GetEditWindow() const = 0;
    virtual UINT GetMargin() const = 0;
    virtual CGridCellBase* GetDefaultCell() const;
    virtual BOOL IsDefaultFont() const = 0;
    virtual BOOL IsEditing() const = 0;
    virtual BOOL IsFocused() const { return (GetState() & GRIDSTATE_FOCUSED) != 0; }
    virtual BOOL IsFixed() const { return (GetState() & GRIDSTATE_FIXED) != 0; }
    virtual BOOL IsFixedColumn() const { return (GetState() & GRIDSTATE_FIXEDCOL) != 0; }
    virtual BOOL IsFixedRow() const { return (GetState() & GRIDSTATE_FIXEDROW) != 0; }
    virtual BOOL IsSelected() const { return (GetState() & GRIDSTATE_SELECTED) != 0; }
    virtual BOOL IsReadOnly() const { return (GetState() & GRIDSTATE_READONLY) != 0; }
    virtual BOOL IsModified() const { return (GetState() & GRIDSTATE_MODIFIED) != 0; }
    virtual BOOL IsDropHighlighted() const { return (GetState() & GRIDSTATE_DROPHILITED) != 0; }
    virtual void CopyFrom(const CGridCellBase& source);
    virtual void Reset() { m_state = 0; }
    virtual BOOL Draw(CDC* dc, int row, int col, CRect rect, BOOL eraseBackground = TRUE);
    virtual BOOL GetTextRect(LPRECT rect);
    virtual BOOL GetTipTextRect(LPRECT rect) { return GetTextRect(rect); }
    virtual CSize GetTextExtent(LPCWSTR text, CDC* dc = nullptr);
    virtual CSize GetCellExtent(CDC* dc);
    virtual BOOL Edit(int row, int col, CRect rect, CPoint point, UINT id, UINT firstChar) { return FALSE; }
    virtual BOOL ValidateEdit(LPCWSTR text) { return TRUE; }
    virtual void EndEdit() {}
    virtual BOOL PrintCell(CDC* dc, int row, int col, CRect rect);
    virtual void OnEndEdit() {}
    virtual void OnMouseEnter() {}
    virtual void OnMouseOver() {}
    virtual void OnMouseLeave() {}
    virtual void OnClick(CPoint point) {}
    virtual void OnClickDown(CPoint point) {}
    virtual void OnRClick(CPoint point) {}
    virtual void OnDblClick(CPoint point) {}
    virtual BOOL OnSetCursor();

protected:
    CGridCellBase(const CGridCellBase&) = default;

private:
    // The default cell that holds this cell's unset looks.
    const CGridCellBase& Defaults() const;
    // Back and text colour, by focus and selection, and whether to erase.
    void PaintBackground(CDC* dc, CRect& rect, BOOL eraseBackground);
    void DrawFixedBorder(CDC* dc, CRect& rect, int row, int col);
    void DrawSortMark(CDC* dc, CRect& rect);
    void DrawImage(CDC* dc, const CRect& rect);
    bool ImageSize(int& width, int& height) const;

    DWORD m_state = 0;
};

// The raised border of a fixed cell, then the rectangle inside it.
void DrawRaisedCellBorder(CDC* dc, CRect& rect, COLORREF light, COLORREF dark);

}  // namespace ZELL::Grid
