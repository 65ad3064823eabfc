#pragma once
// What the owner-drawn menu's tests share: the class-wide settings put back
// around each test, items painted into a picture of their own, and images
// of known pixels.
#include "Common/Skin/ZellMenu.h"
#include "Common/Skin/Tests/DrawingTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

class ZellMenuTest : public ::testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }

    static void Reset()
    {
        ZELL::Skin::CZellMenu::SetIconSize(16, 15);
        ZELL::Skin::CZellMenu::SetDrawMode(0);
        ZELL::Skin::CZellMenu::ResetGlobalColors();
        ZELL::Skin::CZellMenu::SetGlobalFont(nullptr);
    }

    static MEASUREITEMSTRUCT Measure(ZELL::Skin::CZellMenu& menu, int position)
    {
        MEASUREITEMSTRUCT item{};
        item.CtlType = ODT_MENU;
        item.itemData = reinterpret_cast<ULONG_PTR>(menu.ItemData(position));
        menu.MeasureItem(&item);
        return item;
    }
    // The width of a text in the font, or in the system's menu font.
    static int TextWidth(const wchar_t* text, const LOGFONTW* font = nullptr)
    {
        NONCLIENTMETRICSW metrics;
        ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
        HFONT made = ::CreateFontIndirectW(font != nullptr ? font : &metrics.lfMenuFont);
        HDC dc = ::GetDC(nullptr);
        HGDIOBJ old = ::SelectObject(dc, made);
        SIZE size{};
        ::GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &size);
        ::SelectObject(dc, old);
        ::ReleaseDC(nullptr, dc);
        ::DeleteObject(made);
        return size.cx;
    }
    // Paints one item across the canvas.
    static void Paint(ZELL::Skin::CZellMenu& menu, int position, UINT state, const ControlsTest::CCanvas& canvas)
    {
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_MENU;
        item.itemState = state;
        item.hDC = canvas.Dc();
        item.rcItem = {0, 0, canvas.Width(), canvas.Height()};
        item.itemData = reinterpret_cast<ULONG_PTR>(menu.ItemData(position));
        menu.DrawItem(&item);
    }
    static COLORREF PaintAndRead(ZELL::Skin::CZellMenu& menu, int position, UINT state, POINT at)
    {
        ControlsTest::CCanvas canvas(120, 22);
        Paint(menu, position, state, canvas);
        return canvas.At(at.x, at.y);
    }
};

namespace ControlsTest {

// A 16 x 16 picture of the ground colour with an 8 x 8 square of another
// colour in its middle (pixels 4 to 11).
inline HBITMAP SquareBitmap(COLORREF square, COLORREF ground)
{
    std::vector<COLORREF> pixels(16 * 16, ground);
    for (int y = 4; y < 12; ++y)
        for (int x = 4; x < 12; ++x)
            pixels[static_cast<std::size_t>(y) * 16 + x] = square;
    return BitmapOf(16, 16, pixels);
}

}
