#include "Common/Skin/Drawing/PixelSection.h"

#include <utility>

namespace ZELL::Skin {

CPixelSection::CPixelSection(HDC compatible, int width, int height) : m_width(width), m_height(height)
{
    if (width <= 0 || height <= 0)
        return;
    BITMAPINFO info{};
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    m_bitmap = ::CreateDIBSection(compatible, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    m_bits = static_cast<DWORD*>(bits);
    if (m_bitmap != nullptr)
        m_selection = std::make_unique<CSelectedBitmap>(m_bitmap, compatible);
}

CPixelSection::~CPixelSection()
{
    m_selection.reset();
    if (m_bitmap != nullptr)
        ::DeleteObject(m_bitmap);
}

HBITMAP CPixelSection::Release()
{
    m_selection.reset();
    m_bits = nullptr;
    return std::exchange(m_bitmap, nullptr);
}

COLORREF CPixelSection::ColorOf(DWORD pixel)
{
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

DWORD CPixelSection::PixelOf(COLORREF color, DWORD alpha)
{
    return (alpha & 0xFF000000u) | (static_cast<DWORD>(GetRValue(color)) << 16) |
           (static_cast<DWORD>(GetGValue(color)) << 8) | GetBValue(color);
}

}  // namespace ZELL::Skin
