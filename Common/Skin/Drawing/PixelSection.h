#pragma once
// A top-down 32-bit section in a memory context of its own: pixels as
// 0xAARRGGBB words for the per-pixel work, one copy in and one out.
#include "Common/Skin/Drawing/SelectedBitmap.h"

#include <memory>

namespace ZELL::Skin {

class CPixelSection {
public:
    // Nothing is made for an empty size; Ok() tells.
    CPixelSection(HDC compatible, int width, int height);
    ~CPixelSection();
    CPixelSection(const CPixelSection&) = delete;
    CPixelSection& operator=(const CPixelSection&) = delete;

    bool Ok() const { return m_selection && m_selection->Dc() != nullptr && m_bits != nullptr; }
    HDC Dc() const { return m_selection ? m_selection->Dc() : nullptr; }
    DWORD& At(int x, int y) { return m_bits[static_cast<std::size_t>(y) * m_width + x]; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // Gives the bitmap to the caller.
    HBITMAP Release();

    static COLORREF ColorOf(DWORD pixel);
    // The colour with the alpha byte of `alpha`.
    static DWORD PixelOf(COLORREF color, DWORD alpha);

private:
    int m_width = 0;
    int m_height = 0;
    HBITMAP m_bitmap = nullptr;
    DWORD* m_bits = nullptr;
    std::unique_ptr<CSelectedBitmap> m_selection;
};

}  // namespace ZELL::Skin
