#pragma once
// The program's own button: one-call set-up of icon, tooltip, flat look and
// icon placement, and a listener for hovering.
#include "Common/Skin/ThemedButton.h"

namespace ZELL::Skin {

class CZellButton;

// Told when the pointer enters or leaves a button.
class IZellButtonHoverListener {
public:
    virtual ~IZellButtonHoverListener() = default;
    virtual void OnHoverEnter(CZellButton* button) = 0;
    virtual void OnHoverLeave(CZellButton* button) = 0;
};

class CZellButton : public CThemedButton {
public:
    CZellButton();

    void OnHoverEnter() override;
    void OnHoverLeave() override;

    // An icon height of 0 means square icons of `size`.
    void Setup(int icon, int outIcon, int size, int tooltipId, BOOL flat, BYTE alignment, int height = 0);
    void SetupIcon(int icon, int tooltipId, int size, int height = 0);
    void SetupIconNoBorder(int icon, int tooltipId, int size, int height = 0);
    void SetupSquareIcon(int icon, int tooltipId, int size);
    // Alignment 0 (image left of the text) keeps the image 8 pixels in.
    void PlaceIcon(BYTE alignment, BOOL repaint = TRUE);
    void SetHoverListener(IZellButtonHoverListener* listener) { m_hoverListener = listener; }
    BOOL IsPressed() const { return m_pressed; }

    // Operations on the items of the drop-down menu; 1 when there is none.
    // A checked item's text becomes the button's caption when asked.
    UINT CheckMenuItem(UINT item, BOOL check, UINT flags = MF_BYCOMMAND, BOOL setCaption = FALSE);
    // Unchecks every item of the drop-down first.
    UINT CheckMenuItemExclusive(UINT item, BOOL check, UINT flags = MF_BYCOMMAND, BOOL setCaption = FALSE);
    // Deletes the item.
    UINT MenuItemOperation(UINT item, UINT flags = MF_BYCOMMAND);
    UINT EnableMenuItem(UINT item, BOOL enable, UINT flags = MF_BYCOMMAND);
    UINT SetMenuItemText(UINT item, LPCWSTR text, UINT flags = MF_BYCOMMAND);

protected:
    IZellButtonHoverListener* m_hoverListener = nullptr;
};

}  // namespace ZELL::Skin
