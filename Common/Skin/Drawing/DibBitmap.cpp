#include "Common/Skin/Drawing/DibBitmap.h"

#include "Platform/Framework/Files/File.h"
#include "Platform/Framework/Exceptions/FileException.h"

#include <algorithm>
#include <cstring>

namespace ZELL::Skin {

namespace {

WORD ColorCountOf(WORD bitCount)
{
    switch (bitCount) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
    }
}

}

CDibBitmap::~CDibBitmap()
{
    Free();
}

void CDibBitmap::Free()
{
    ReleaseSection();
    m_dib.reset();
    m_header = BITMAPINFOHEADER{};
    m_lineWidth = 0;
    m_colorCount = 0;
}

BYTE* CDibBitmap::Create(int width, int height, WORD bitCount)
{
    Free();
    if (width <= 0 || height <= 0 || bitCount == 0 || bitCount > 32)
        return nullptr;
    m_lineWidth = static_cast<DWORD>((static_cast<long long>(width) * bitCount + 31) / 32 * 4);
    m_colorCount = ColorCountOf(bitCount);
    m_header.biWidth = width;
    m_header.biHeight = height;
    m_header.biBitCount = bitCount;
    m_header.biSizeImage = m_lineWidth * static_cast<DWORD>(height);
    m_dib.reset(new (std::nothrow) BYTE[GetSize()]());
    if (!m_dib) {
        Free();
        return nullptr;
    }
    std::memcpy(m_dib.get(), &m_header, sizeof m_header);
    return m_dib.get();
}

BYTE* CDibBitmap::Clone(const CDibBitmap& other)
{
    if (&other == this || !other.m_dib)
        return m_dib.get();
    if (Create(other.GetWidth(), other.GetHeight(), other.GetBitCount()) == nullptr)
        return nullptr;
    std::memcpy(m_dib.get(), other.m_dib.get(), GetSize());
    return m_dib.get();
}

BYTE* CDibBitmap::GetBits() const
{
    return m_dib ? m_dib.get() + sizeof(BITMAPINFOHEADER) + GetPaletteSize() : nullptr;
}

RGBQUAD* CDibBitmap::GetPalette() const
{
    return m_dib && m_colorCount > 0 ? reinterpret_cast<RGBQUAD*>(m_dib.get() + sizeof(BITMAPINFOHEADER)) : nullptr;
}

void CDibBitmap::Clear(BYTE value)
{
    if (m_dib)
        std::memset(GetBits(), value, m_header.biSizeImage);
}

// The section shows the palette it was made with, so a palette change
// drops it and the next draw makes it again.
bool CDibBitmap::MakeSection(HDC dc)
{
    if (m_section != nullptr)
        return true;
    if (!m_dib)
        return false;
    void* bits = nullptr;
    m_section = ::CreateDIBSection(dc, reinterpret_cast<const BITMAPINFO*>(m_dib.get()), DIB_RGB_COLORS, &bits,
                                   nullptr, 0);
    m_memoryDC = m_section != nullptr ? ::CreateCompatibleDC(dc) : nullptr;
    if (m_section == nullptr || m_memoryDC == nullptr || bits == nullptr) {
        ReleaseSection();
        return false;
    }
    m_sectionBits = static_cast<BYTE*>(bits);
    m_oldBitmap = ::SelectObject(m_memoryDC, m_section);
    return true;
}

void CDibBitmap::ReleaseSection()
{
    if (m_memoryDC != nullptr) {
        ::SelectObject(m_memoryDC, m_oldBitmap);
        ::DeleteDC(m_memoryDC);
    }
    if (m_section != nullptr)
        ::DeleteObject(m_section);
    m_memoryDC = nullptr;
    m_section = nullptr;
    m_oldBitmap = nullptr;
    m_sectionBits = nullptr;
}

void CDibBitmap::Draw(HDC dc, int x, int y)
{
    if (dc == nullptr || !MakeSection(dc))
        return;
    std::memcpy(m_sectionBits, GetBits(), m_header.biSizeImage);
    ::BitBlt(dc, x, y, GetWidth(), GetHeight(), m_memoryDC, 0, 0, SRCCOPY);
}

void CDibBitmap::Capture(HDC dc, int x, int y)
{
    if (dc == nullptr || !MakeSection(dc))
        return;
    ::BitBlt(m_memoryDC, 0, 0, GetWidth(), GetHeight(), dc, x, y, SRCCOPY);
    std::memcpy(GetBits(), m_sectionBits, m_header.biSizeImage);
}

void CDibBitmap::BlendPalette(COLORREF color, DWORD percent)
{
    RGBQUAD* palette = GetPalette();
    if (palette == nullptr)
        return;
    const DWORD p = std::min<DWORD>(percent, 100);
    const auto mix = [p](BYTE target, BYTE entry) { return static_cast<BYTE>((target * p + entry * (100 - p)) / 100); };
    for (WORD i = 0; i < m_colorCount; ++i) {
        palette[i].rgbRed = mix(GetRValue(color), palette[i].rgbRed);
        palette[i].rgbGreen = mix(GetGValue(color), palette[i].rgbGreen);
        palette[i].rgbBlue = mix(GetBValue(color), palette[i].rgbBlue);
    }
    ReleaseSection();
}

void CDibBitmap::SetGrayPalette()
{
    RGBQUAD* palette = GetPalette();
    if (palette == nullptr)
        return;
    for (WORD i = 0; i < m_colorCount; ++i) {
        const BYTE level = static_cast<BYTE>(i * 255 / (m_colorCount - 1));
        palette[i] = RGBQUAD{level, level, level, 0};
    }
    ReleaseSection();
}

void CDibBitmap::SetPaletteIndex(DWORD index, BYTE red, BYTE green, BYTE blue)
{
    RGBQUAD* palette = GetPalette();
    if (palette == nullptr || index >= m_colorCount)
        return;
    palette[index] = RGBQUAD{blue, green, red, 0};
    ReleaseSection();
}

void CDibBitmap::SetPixelIndex(int x, int y, BYTE index)
{
    if (!m_dib || m_colorCount == 0 || x < 0 || y < 0 || x >= GetWidth() || y >= GetHeight() || index >= m_colorCount)
        return;
    BYTE* row = GetBits() + static_cast<std::size_t>(GetHeight() - 1 - y) * m_lineWidth;
    const int bitOffset = x * GetBitCount();
    BYTE& target = row[bitOffset / 8];
    // The pixel's bits sit at the high end of the byte first.
    const int shift = 8 - GetBitCount() - bitOffset % 8;
    const BYTE mask = static_cast<BYTE>(((1 << GetBitCount()) - 1) << shift);
    target = static_cast<BYTE>((target & ~mask) | ((index << shift) & mask));
}

BOOL CDibBitmap::WriteBMP(LPCWSTR fileName) const
{
    if (fileName == nullptr || *fileName == 0 || !m_dib)
        return FALSE;
    BITMAPFILEHEADER fileHeader;
    fileHeader.bfType = 0x4D42;
    fileHeader.bfSize = static_cast<DWORD>(sizeof(BITMAPFILEHEADER)) + GetSize();
    fileHeader.bfOffBits = static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)) + GetPaletteSize();
    CFile file;
    if (!file.Open(fileName, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive))
        return FALSE;
    try {
        file.Write(&fileHeader, sizeof fileHeader);
        file.Write(m_dib.get(), GetSize());
        file.Close();
    } catch (CFileException* error) {
        error->Delete();
        return FALSE;
    }
    return TRUE;
}

}  // namespace ZELL::Skin
