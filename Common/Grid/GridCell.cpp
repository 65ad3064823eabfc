#include "Common/Grid/GridCell.h"

#include "Common/Grid/InPlaceEdit.h"
#include "Common/Grid/ZellGrid.h"

namespace ZELL::Grid {

IMPLEMENT_DYNCREATE(CGridCell, CGridCellBase)

CGridCell::CGridCell()
{
    Reset();
}

CGridCell::~CGridCell() = default;

void CGridCell::Reset()
{
    CGridCellBase::Reset();
    m_text.Empty();
    m_image = -1;
    m_userValue = 0;
    m_grid = nullptr;
    m_editing = FALSE;
    m_editWindow = nullptr;
    m_format = static_cast<DWORD>(-1);
    m_textColour = CLR_DEFAULT;
    m_backColour = CLR_DEFAULT;
    m_margin = static_cast<UINT>(-1);
    m_font.reset();
    m_fontObject.reset();
}

void CGridCell::SetFont(const LOGFONTW* font)
{
    m_fontObject.reset();
    if (font == nullptr) {
        m_font.reset();
        return;
    }
    if (!m_font)
        m_font = std::make_unique<LOGFONTW>();
    *m_font = *font;
}

void CGridCell::SetHighlightColours(COLORREF selectedBack, COLORREF selectedText, COLORREF focusBack,
                                    COLORREF focusText)
{
    m_selectedBack = selectedBack;
    m_selectedText = selectedText;
    m_focusBack = focusBack;
    m_focusText = focusText;
}

const CGridCellBase* CGridCell::Fallback() const
{
    const CGridCellBase* defaults = GetDefaultCell();
    return defaults == this ? nullptr : defaults;
}

DWORD CGridCell::GetFormat() const
{
    if (m_format != static_cast<DWORD>(-1))
        return m_format;
    const CGridCellBase* defaults = Fallback();
    return defaults != nullptr ? defaults->GetFormat() : 0;
}

UINT CGridCell::GetMargin() const
{
    if (m_margin != static_cast<UINT>(-1))
        return m_margin;
    const CGridCellBase* defaults = Fallback();
    return defaults != nullptr ? defaults->GetMargin() : 0;
}

const LOGFONTW* CGridCell::GetFont() const
{
    if (m_font)
        return m_font.get();
    const CGridCellBase* defaults = Fallback();
    return defaults != nullptr ? defaults->GetFont() : nullptr;
}

CFont* CGridCell::GetFontObject() const
{
    if (!m_font) {
        const CGridCellBase* defaults = Fallback();
        return defaults != nullptr ? defaults->GetFontObject() : nullptr;
    }
    if (!m_fontObject) {
        auto font = std::make_unique<CFont>();
        if (!font->CreateFontIndirect(m_font.get()))
            return nullptr;
        m_fontObject = std::move(font);
    }
    return m_fontObject.get();
}

BOOL CGridCell::Edit(int row, int col, CRect rect, CPoint point, UINT id, UINT firstChar)
{
    if (m_editing) {
        if (m_editWindow != nullptr)
            m_editWindow->SendMessage(WM_CHAR, firstChar);
        return TRUE;
    }
    const DWORD format = GetFormat();
    DWORD style = ES_LEFT;
    if (format & DT_RIGHT)
        style = ES_RIGHT;
    else if (format & DT_CENTER)
        style = ES_CENTER;
    m_editing = TRUE;
    m_editWindow = CInPlaceEdit::Start(m_grid, rect, style, id, row, col, GetText(), firstChar);
    if (m_editWindow == nullptr)
        m_editing = FALSE;
    return m_editing;
}

void CGridCell::EndEdit()
{
    if (auto* editor = dynamic_cast<CInPlaceEdit*>(m_editWindow))
        editor->EndEdit();
}

void CGridCell::OnEndEdit()
{
    m_editing = FALSE;
    m_editWindow = nullptr;
}

}  // namespace ZELL::Grid
