#pragma once
// Memory pictures for the drawing tests: a bitmap of known pixels, a context
// to draw into, and the pixels read back.
#include "Platform/Gdi/Gdi.h"
#include "Platform/Ui/WinUser.h"

#include <gtest/gtest.h>

#include <vector>

namespace ControlsTest {

// A screen-compatible context with a bitmap of the size selected, white.
class CCanvas {
public:
    CCanvas(int width, int height) : m_width(width), m_height(height)
    {
        HDC screen = GetDC(nullptr);
        m_bitmap = CreateCompatibleBitmap(screen, width, height);
        ReleaseDC(nullptr, screen);
        m_dc = CreateCompatibleDC(nullptr);
        m_old = SelectObject(m_dc, m_bitmap);
        PatBlt(m_dc, 0, 0, width, height, WHITENESS);
    }
    ~CCanvas()
    {
        SelectObject(m_dc, m_old);
        DeleteDC(m_dc);
        DeleteObject(m_bitmap);
    }
    CCanvas(const CCanvas&) = delete;
    CCanvas& operator=(const CCanvas&) = delete;

    HDC Dc() const { return m_dc; }
    COLORREF At(int x, int y) const { return GetPixel(m_dc, x, y); }
    void Fill(const RECT& r, COLORREF color) const
    {
        HBRUSH brush = CreateSolidBrush(color);
        FillRect(m_dc, &r, brush);
        DeleteObject(brush);
    }
    // The distinct colours of one row, left to right, each run counted once.
    std::vector<COLORREF> RunsOfRow(int y) const
    {
        std::vector<COLORREF> runs;
        for (int x = 0; x < m_width; ++x)
            if (runs.empty() || runs.back() != At(x, y))
                runs.push_back(At(x, y));
        return runs;
    }
    std::vector<COLORREF> RunsOfColumn(int x) const
    {
        std::vector<COLORREF> runs;
        for (int y = 0; y < m_height; ++y)
            if (runs.empty() || runs.back() != At(x, y))
                runs.push_back(At(x, y));
        return runs;
    }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

private:
    int m_width = 0;
    int m_height = 0;
    HBITMAP m_bitmap = nullptr;
    HDC m_dc = nullptr;
    HGDIOBJ m_old = nullptr;
};

// A bitmap whose pixels are given row by row (COLORREF values).
inline HBITMAP BitmapOf(int width, int height, const std::vector<COLORREF>& pixels)
{
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            SetPixel(dc, x, y, pixels[static_cast<std::size_t>(y) * width + x]);
    SelectObject(dc, old);
    DeleteDC(dc);
    return bitmap;
}

// The pixels of a bitmap, row by row, as COLORREF values.
inline std::vector<COLORREF> PixelsOf(HBITMAP bitmap)
{
    BITMAP info{};
    GetObjectW(bitmap, sizeof info, &info);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < info.bmHeight; ++y)
        for (int x = 0; x < info.bmWidth; ++x)
            pixels.push_back(GetPixel(dc, x, y));
    SelectObject(dc, old);
    DeleteDC(dc);
    return pixels;
}

}
