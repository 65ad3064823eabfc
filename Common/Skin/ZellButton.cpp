#include "Common/Skin/ZellButton.h"

namespace ZELL::Skin {

CZellButton::CZellButton()
{
    SetThemeHelper(&ModuleThemeHelper());
    if (!IsThemed()) {
        m_flat = FALSE;
        m_transparent = FALSE;
    }
}

void CZellButton::OnHoverEnter()
{
    if (m_hoverListener != nullptr)
        m_hoverListener->OnHoverEnter(this);
}

void CZellButton::OnHoverLeave()
{
    if (m_hoverListener != nullptr)
        m_hoverListener->OnHoverLeave(this);
}

void CZellButton::Setup(int icon, int outIcon, int size, int tooltipId, BOOL flat, BYTE alignment, int height)
{
    if (height == 0)
        height = size;
    if (IsThemed()) {
        SetThemedFlat(flat, TRUE);
    } else {
        m_flat = flat != FALSE;
        m_transparent = flat != FALSE;
    }
    if (icon > 0)
        SetIcon(icon, size, height, outIcon, size, height);
    if (tooltipId != 0)
        SetTooltipText(tooltipId, TRUE);
    PlaceIcon(alignment, TRUE);
}

void CZellButton::SetupIcon(int icon, int tooltipId, int size, int height)
{
    Setup(icon, 0, size, tooltipId, TRUE, kIconAbove, height);
}

void CZellButton::SetupIconNoBorder(int icon, int tooltipId, int size, int height)
{
    Setup(icon, 0, size, tooltipId, TRUE, kIconLeft, height);
    SetAlign(kAlignLeft, TRUE);
    m_leftOffset = 0;
}

void CZellButton::SetupSquareIcon(int icon, int tooltipId, int size)
{
    Setup(icon, 0, size, tooltipId, TRUE, kIconAbove, 0);
}

void CZellButton::PlaceIcon(BYTE alignment, BOOL repaint)
{
    if (alignment == kIconLeft)
        m_leftOffset = 8;
    SetIconAlign(alignment, repaint);
}

}  // namespace ZELL::Skin
