#include "Common/Grid/GridDefaultCell.h"

#include "Platform/Framework/Drawing/DC.h"
#include "Platform/Ui/WinUser.h"

namespace ZELL::Grid {

IMPLEMENT_DYNCREATE(CGridDefaultCell, CGridCell)

CGridDefaultCell::CGridDefaultCell()
{
    m_format = DT_END_ELLIPSIS | DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER;
    m_textColour = CLR_DEFAULT;
    m_backColour = CLR_DEFAULT;
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
    SetFont(&metrics.lfMessageFont);
}

void CGridDefaultCell::SetFont(const LOGFONTW* font)
{
    if (font == nullptr)
        return;
    m_fontObject.DeleteObject();
    m_fontObject.CreateFontIndirect(font);
    m_logFont = *font;
    Measure();
}

CFont* CGridDefaultCell::GetFontObject() const
{
    return m_fontObject.GetSafeHandle() != nullptr ? &m_fontObject : nullptr;
}

void CGridDefaultCell::Measure()
{
    HDC screen = ::GetDC(nullptr);
    if (screen == nullptr) {
        m_margin = 3;
        m_width = 40;
        m_height = 16;
        return;
    }
    HGDIOBJ old = ::SelectObject(screen, m_fontObject.GetSafeHandle());
    SIZE space{};
    ::GetTextExtentPoint32W(screen, L" ", 1, &space);
    SIZE sample{};
    ::GetTextExtentPoint32W(screen, L" XXXXXXXXXXXX ", 14, &sample);
    ::SelectObject(screen, old);
    ::ReleaseDC(nullptr, screen);
    m_margin = static_cast<UINT>(space.cx);
    m_width = sample.cx;
    m_height = sample.cy * 3 / 2;
}

}  // namespace ZELL::Grid
