#pragma once
// The plain text cell that every concrete cell builds on: it keeps its own
// text, image, user value, looks and an optional font, and edits its text
// in an in-place edit window laid over it.
#include "Common/Grid/GridCellBase.h"
#include "Platform/Base/CString.h"
#include "Platform/Framework/Drawing/Font.h"
#include "Platform/Gdi/SysColors.h"

#include <memory>

namespace ZELL::Grid {

class CGridCell : public CGridCellBase {
    DECLARE_DYNCREATE(CGridCell)
public:
    CGridCell();
    ~CGridCell() override;
    CGridCell(const CGridCell&) = delete;
    CGridCell& operator=(const CGridCell&) = delete;

    void SetText(LPCWSTR text) override { m_text = text != nullptr ? text : L""; }
    void SetImage(int image) override { m_image = image; }
    void SetUserValue(LPARAM value) override { m_userValue = value; }
    void SetFormat(DWORD format) override { m_format = format; }
    void SetTextColour(COLORREF colour) override { m_textColour = colour; }
    void SetBackColour(COLORREF colour) override { m_backColour = colour; }
    void SetFont(const LOGFONTW* font) override;
    void SetMargin(UINT margin) override { m_margin = margin; }
    void SetGrid(CZellGrid* grid) override { m_grid = grid; }
    void SetPosition(int row, int col) override {}
    void SetHighlightColours(COLORREF selectedBack, COLORREF selectedText, COLORREF focusBack,
                             COLORREF focusText) override;
    COLORREF GetSelectedTextColour() const override { return m_selectedText; }
    COLORREF GetSelectedBackColour() const override { return m_selectedBack; }
    COLORREF GetFocusTextColour() const override { return m_focusText; }
    COLORREF GetFocusBackColour() const override { return m_focusBack; }
    LPCWSTR GetText() const override { return m_text.GetString(); }
    int GetImage() const override { return m_image; }
    LPARAM GetUserValue() const override { return m_userValue; }
    DWORD GetFormat() const override;
    COLORREF GetTextColour() const override { return m_textColour; }
    COLORREF GetBackColour() const override { return m_backColour; }
    const LOGFONTW* GetFont() const override;
    CFont* GetFontObject() const override;
    CZellGrid* GetGrid() const override { return m_grid; }
    CWnd* GetEditWindow() const override { return m_editWindow; }
    UINT GetMargin() const override;
    BOOL IsDefaultFont() const override { return m_font == nullptr; }
    BOOL IsEditing() const override { return m_editing; }
    void Reset() override;
    BOOL Edit(int row, int col, CRect rect, CPoint point, UINT id, UINT firstChar) override;
    void EndEdit() override;
    void OnEndEdit() override;

protected:
    // The default cell, unless this cell is one itself (no endless fallback).
    const CGridCellBase* Fallback() const;

    CString m_text;
    LPARAM m_userValue = 0;
    int m_image = -1;
    DWORD m_format = static_cast<DWORD>(-1);
    COLORREF m_textColour = CLR_DEFAULT;
    COLORREF m_backColour = CLR_DEFAULT;
    std::unique_ptr<LOGFONTW> m_font;
    UINT m_margin = static_cast<UINT>(-1);
    BOOL m_editing = FALSE;
    CZellGrid* m_grid = nullptr;
    CWnd* m_editWindow = nullptr;
    COLORREF m_selectedBack = ::GetSysColor(COLOR_HIGHLIGHT);
    COLORREF m_selectedText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    COLORREF m_focusBack = static_cast<COLORREF>(-1);
    COLORREF m_focusText = static_cast<COLORREF>(-1);

private:
    // This cell's own font object, made again when its font changes.
    mutable std::unique_ptr<CFont> m_fontObject;
};

}  // namespace ZELL::Grid
