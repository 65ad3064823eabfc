#include "Common/Skin/Drawing/ZellMemDC.h"

namespace ZELL::Skin {

CZellMemDC::CZellMemDC(CDC* target, const RECT* rect, BOOL copyBackground) : m_target(target)
{
    if (target == nullptr || target->GetSafeHdc() == nullptr)
        return;
    if (rect != nullptr)
        m_rect = *rect;
    else
        target->GetClipBox(&m_rect);
    if (target->IsPrinting()) {
        // Borrowed, not owned: the destructor gives it back untouched.
        m_hDC = target->GetSafeHdc();
        m_hAttribDC = m_hDC;
        m_bPrinting = TRUE;
        return;
    }
    if (!CreateCompatibleDC(target))
        return;
    CRect device = m_rect;
    target->LPtoDP(&device);
    device.NormalizeRect();
    if (!m_bitmap.CreateCompatibleBitmap(target, device.Width(), device.Height())) {
        DeleteDC();
        return;
    }
    m_oldBitmap = ::SelectObject(m_hDC, m_bitmap.GetSafeHandle());
    CopyTargetSettings();
    m_buffered = TRUE;
    if (copyBackground)
        BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), target, m_rect.left, m_rect.top, SRCCOPY);
    else
        FillSolidRect(&m_rect, target->GetBkColor());
}

void CZellMemDC::CopyTargetSettings()
{
    SetMapMode(m_target->GetMapMode());
    SetWindowExt(m_target->GetWindowExt());
    SetViewportExt(m_target->GetViewportExt());
    SetWindowOrg(m_rect.left, m_rect.top);
    const HDC target = m_target->GetSafeHdc();
    m_oldBrush = ::SelectObject(m_hDC, ::GetCurrentObject(target, OBJ_BRUSH));
    m_oldFont = ::SelectObject(m_hDC, ::GetCurrentObject(target, OBJ_FONT));
    m_oldPen = ::SelectObject(m_hDC, ::GetCurrentObject(target, OBJ_PEN));
}

CZellMemDC::~CZellMemDC()
{
    if (!m_buffered) {
        if (m_bPrinting) {
            m_hDC = nullptr;
            m_hAttribDC = nullptr;
            m_bPrinting = FALSE;
        }
        return;
    }
    m_target->BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), this, m_rect.left, m_rect.top,
                     SRCCOPY);
    ::SelectObject(m_hDC, m_oldPen);
    ::SelectObject(m_hDC, m_oldFont);
    ::SelectObject(m_hDC, m_oldBrush);
    ::SelectObject(m_hDC, m_oldBitmap);
}

}  // namespace ZELL::Skin
