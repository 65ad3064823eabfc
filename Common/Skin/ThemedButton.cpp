#include "Common/Skin/ThemedButton.h"

namespace ZELL::Skin {

CThemedButton::CThemedButton()
{
    m_drawBorder = FALSE;
}

BOOL CThemedButton::IsThemed() const
{
    return m_theme != nullptr && m_theme->IsThemeActive();
}

DWORD CThemedButton::SetThemedFlat(BOOL flat, BOOL repaint)
{
    m_themedFlat = flat;
    Repaint(repaint);
    return kOk;
}

void CThemedButton::SetThemeHelper(CThemeHelper* theme)
{
    m_theme = theme;
    if (!IsThemed())
        m_drawBorder = TRUE;
}

int CThemedButton::ThemeState() const
{
    if (m_disabled)
        return kStateDisabled;
    if (m_pressed)
        return kStatePressed;
    if (m_hover)
        return kStateHot;
    if (m_default && (!m_themedFlat || m_drawBorder))
        return kStateDefaulted;
    return kStateNormal;
}

DWORD CThemedButton::OnDrawBackground(CDC* dc, RECT* rect)
{
    dc->SetBkMode(TRANSPARENT);
    if (IsThemed()) {
        if (HTHEME theme = m_theme->OpenThemeData(m_hWnd, m_themedFlat ? L"TOOLBAR" : L"BUTTON")) {
            m_theme->DrawThemeBackground(theme, m_hWnd, dc->GetSafeHdc(), kPartPushButton, ThemeState(), rect,
                                         nullptr);
            m_theme->CloseThemeData(theme);
            return kOk;
        }
    }
    return CSkinButton::OnDrawBackground(dc, rect);
}

DWORD CThemedButton::OnDrawBorder(CDC* dc, RECT* rect)
{
    if (IsThemed())
        return kOk;
    return CSkinButton::OnDrawBorder(dc, rect);
}

}  // namespace ZELL::Skin
