#include "Common/Skin/Drawing/SelectedBitmap.h"

namespace ZELL::Skin {

CSelectedBitmap::CSelectedBitmap(HBITMAP bitmap, HDC compatible) : m_dc(::CreateCompatibleDC(compatible))
{
    if (m_dc != nullptr)
        m_old = ::SelectObject(m_dc, bitmap);
}

CSelectedBitmap::~CSelectedBitmap()
{
    if (m_dc == nullptr)
        return;
    ::SelectObject(m_dc, m_old);
    ::DeleteDC(m_dc);
}

}  // namespace ZELL::Skin
