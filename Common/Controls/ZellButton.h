#pragma once
// The program's own button: one-call set-up of icon, tooltip, flat look and
// icon placement, and a listener for hovering.
#include "Common/Controls/ThemedButton.h"

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

protected:
    IZellButtonHoverListener* m_hoverListener = nullptr;
};
