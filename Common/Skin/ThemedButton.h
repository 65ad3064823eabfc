#pragma once
// A skinned button whose face the visual-style theme paints while a theme
// is active; the classic border is then left out.
#include "Common/Skin/SkinButton.h"
#include "Common/Skin/Support/ThemeHelper.h"

namespace ZELL::Skin {

class CThemedButton : public CSkinButton {
public:
    // Theme parts and states of a push button.
    static constexpr int kPartPushButton = 1;
    enum ThemeState { kStateNormal = 1, kStateHot, kStatePressed, kStateDisabled, kStateDefaulted };

    CThemedButton();

    DWORD OnDrawBackground(CDC* dc, RECT* rect) override;
    DWORD OnDrawBorder(CDC* dc, RECT* rect) override;

    DWORD SetThemedFlat(BOOL flat, BOOL repaint = TRUE);
    // Null or a theme that is not active brings the classic border back.
    void SetThemeHelper(CThemeHelper* theme);
    BOOL IsThemed() const;
    BOOL IsThemedFlat() const { return m_themedFlat; }
    // The state the theme draws the face in now.
    int ThemeState() const;

protected:
    CThemeHelper* m_theme = nullptr;
    BOOL m_themedFlat = FALSE;
};

}  // namespace ZELL::Skin
