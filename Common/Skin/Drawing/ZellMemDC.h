#pragma once
// Flicker-free painting: drawing goes into an off-screen picture of the
// rectangle, copied onto the target in one piece when the object goes out of
// scope. A printer's context is drawn on directly, nothing buffered.
#include "Platform/Framework/Drawing/DC.h"

namespace ZELL::Skin {

class CZellMemDC : public CDC {
public:
    // A null rectangle covers the target's clip box. Without copyBackground
    // the picture starts filled with the target's background colour.
    CZellMemDC(CDC* target, const RECT* rect = nullptr, BOOL copyBackground = FALSE);
    ~CZellMemDC() override;

    CZellMemDC* operator->() { return this; }
    operator CZellMemDC*() { return this; }
    // Where the picture lands on the target, in its logical units.
    const CRect& GetRect() const { return m_rect; }
    BOOL IsBuffered() const { return m_buffered; }

private:
    void CopyTargetSettings();

    CDC* m_target = nullptr;
    CBitmap m_bitmap;
    HGDIOBJ m_oldBitmap = nullptr;
    HGDIOBJ m_oldBrush = nullptr;
    HGDIOBJ m_oldFont = nullptr;
    HGDIOBJ m_oldPen = nullptr;
    CRect m_rect;
    BOOL m_buffered = FALSE;
};

}  // namespace ZELL::Skin
