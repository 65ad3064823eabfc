#pragma once
// A text cell with a small push button at its right edge. A click on the
// button sends kButtonClicked, with the cell as lParam, to the window set
// with SetNotifyWindow; the text part edits as any text cell does.
#include "Common/Grid/GridCell.h"

namespace ZELL::Grid {

class CGridCellButton : public CGridCell {
    DECLARE_DYNCREATE(CGridCellButton)
public:
    // WM_USER + 500: wParam 0, lParam the CGridCellButton clicked.
    static constexpr UINT kButtonClicked = WM_USER + 500;

    CGridCellButton() = default;
    ~CGridCellButton() override = default;

    void SetPosition(int row, int col) override;
    BOOL Draw(CDC* dc, int row, int col, CRect rect, BOOL eraseBackground = TRUE) override;
    BOOL GetTextRect(LPRECT rect) override;
    CSize GetCellExtent(CDC* dc) override;
    BOOL Edit(int row, int col, CRect rect, CPoint point, UINT id, UINT firstChar) override;
    void OnClick(CPoint point) override;

    virtual void SetButtonText(LPCWSTR text) { m_buttonText = text != nullptr ? text : L""; }
    // The point relative to the button's top-left corner.
    virtual void OnButtonDown(CPoint point);

    // Returns the flag it had before; redraws the button once it was drawn.
    BOOL SetPressed(BOOL pressed);
    BOOL IsPressed() const { return m_pressed; }
    void SetNotifyWindow(HWND window) { m_notifyWindow = window; }
    LPCWSTR GetButtonText() const { return m_buttonText.GetString(); }
    // The button as last drawn, in the grid's client coordinates.
    const CRect& GetButtonRect() const { return m_buttonRect; }
    int GetRow() const { return m_row; }
    int GetColumn() const { return m_col; }

    // The button's part of a cell rectangle: the whole of a cell too small
    // for a button beside its text.
    static CRect ButtonRectOf(const CRect& cell);
    // The text's part: what lies more than 2 pixels left of the button.
    static CRect TextRectOf(const CRect& cell);

private:
    void RedrawButton();

    BOOL m_pressed = FALSE;
    CRect m_buttonRect;
    CString m_buttonText = L"...";
    HWND m_notifyWindow = nullptr;
    int m_row = -1;
    int m_col = -1;
};

}  // namespace ZELL::Grid
