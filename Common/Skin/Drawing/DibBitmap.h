#pragma once
// A device-independent bitmap in one block of memory (header, palette,
// bottom-up pixel rows) that can be drawn onto a context, filled from one,
// and saved as a BMP file. The patterned fills of the drawing manager paint
// into one as a palette image.
#include "Platform/Gdi/Gdi.h"

#include <memory>

namespace ZELL::Skin {

class CDibBitmap {
public:
    CDibBitmap() = default;
    virtual ~CDibBitmap();
    CDibBitmap(const CDibBitmap&) = delete;
    CDibBitmap& operator=(const CDibBitmap&) = delete;

    // Frees the old image; the block or null.
    BYTE* Create(int width, int height, WORD bitCount);
    BYTE* Clone(const CDibBitmap& other);
    void Clear(BYTE value);
    void Draw(HDC dc, int x, int y);
    void Capture(HDC dc, int x, int y);

    void BlendPalette(COLORREF color, DWORD percent);
    void SetGrayPalette();
    void SetPaletteIndex(DWORD index, BYTE red, BYTE green, BYTE blue);
    // One palette index at (x, y), y counted from the top; only for palette
    // images and inside the image.
    void SetPixelIndex(int x, int y, BYTE index);
    // TRUE when written; FALSE for an empty name, no image, or a file that
    // cannot be created or written.
    BOOL WriteBMP(LPCWSTR fileName) const;

    int GetWidth() const { return m_header.biWidth; }
    int GetHeight() const { return m_header.biHeight; }
    WORD GetBitCount() const { return m_header.biBitCount; }
    DWORD GetLineWidth() const { return m_lineWidth; }
    WORD GetNumColors() const { return m_colorCount; }
    DWORD GetPaletteSize() const { return 4u * m_colorCount; }
    DWORD GetSize() const { return sizeof(BITMAPINFOHEADER) + GetPaletteSize() + m_header.biSizeImage; }
    BYTE* GetBits() const;
    RGBQUAD* GetPalette() const;

private:
    void Free();
    bool MakeSection(HDC dc);
    void ReleaseSection();

    std::unique_ptr<BYTE[]> m_dib;
    BITMAPINFOHEADER m_header{};
    DWORD m_lineWidth = 0;
    WORD m_colorCount = 0;
    HBITMAP m_section = nullptr;
    HDC m_memoryDC = nullptr;
    HGDIOBJ m_oldBitmap = nullptr;
    BYTE* m_sectionBits = nullptr;
};

}  // namespace ZELL::Skin
