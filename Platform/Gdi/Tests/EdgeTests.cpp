#include "GdiTestSupport.h"

#include "Platform/Gdi/BitmapApi.h"
#include "Platform/Gdi/Draw.h"
#include "Platform/Gdi/Edges.h"
#include "Platform/Gdi/SysColors.h"

#include <gtest/gtest.h>

namespace {

std::uint32_t Stored(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

}  // namespace

TEST(DrawEdgeTest, RaisedAndSunkenUseOppositeColours)
{
    TestSurface s;
    RECT r{0, 0, 20, 20};
    ASSERT_TRUE(DrawEdge(s.dc(), &r, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST));
    EXPECT_EQ(r.left, 2);
    EXPECT_EQ(r.right, 18);
    EXPECT_EQ(s.Raw(0, 5), Stored(GetSysColor(COLOR_3DLIGHT)));
    EXPECT_EQ(s.Raw(1, 5), Stored(GetSysColor(COLOR_BTNHIGHLIGHT)));
    EXPECT_EQ(s.Raw(19, 5), Stored(GetSysColor(COLOR_3DDKSHADOW)));
    EXPECT_EQ(s.Raw(18, 5), Stored(GetSysColor(COLOR_BTNSHADOW)));
    EXPECT_EQ(s.Raw(10, 10), Stored(GetSysColor(COLOR_BTNFACE)));
    RECT sunken{30, 0, 50, 20};
    DrawEdge(s.dc(), &sunken, EDGE_SUNKEN, BF_RECT);
    EXPECT_EQ(s.Raw(30, 5), Stored(GetSysColor(COLOR_BTNSHADOW)));
    EXPECT_EQ(s.Raw(49, 5), Stored(GetSysColor(COLOR_BTNHIGHLIGHT)));
    EXPECT_EQ(sunken.left, 30);  // no BF_ADJUST
    // Only the sides asked for.
    s.Clear(0xFFFFFF);
    RECT top{0, 0, 20, 20};
    DrawEdge(s.dc(), &top, EDGE_ETCHED, BF_TOP);
    EXPECT_EQ(s.Raw(5, 0), Stored(GetSysColor(COLOR_BTNSHADOW)));
    EXPECT_EQ(s.Raw(5, 1), Stored(GetSysColor(COLOR_BTNHIGHLIGHT)));
    EXPECT_EQ(s.Raw(0, 10), 0xFFFFFFu);
    EXPECT_FALSE(DrawEdge(s.dc(), nullptr, EDGE_RAISED, BF_RECT));
}

TEST(FocusRectTest, DrawingTwiceRestores)
{
    TestSurface s;
    const RECT r{2, 2, 12, 8};
    DrawFocusRect(s.dc(), &r);
    const int changed = 64 * 64 - s.Count(0xFFFFFF, 0, 0, 64, 64);
    EXPECT_GT(changed, 10);
    EXPECT_LT(changed, 2 * (10 + 6));
    EXPECT_EQ(s.Raw(5, 5), 0xFFFFFFu);
    DrawFocusRect(s.dc(), &r);
    EXPECT_EQ(s.Count(0xFFFFFF, 0, 0, 64, 64), 64 * 64);
}

TEST(FrameControlTest, PushButtonAdjustsAndChecksDraw)
{
    TestSurface s;
    RECT r{0, 0, 30, 20};
    ASSERT_TRUE(DrawFrameControl(s.dc(), &r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT));
    EXPECT_EQ(r.left, 2);
    EXPECT_EQ(r.bottom, 18);
    EXPECT_EQ(s.Raw(15, 10), Stored(GetSysColor(COLOR_BTNFACE)));
    RECT pushed{0, 30, 30, 50};
    DrawFrameControl(s.dc(), &pushed, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED);
    EXPECT_EQ(s.Raw(0, 40), Stored(GetSysColor(COLOR_BTNSHADOW)));
    EXPECT_EQ(pushed.left, 0);

    TestSurface a(16, 16);
    TestSurface b(16, 16);
    RECT box{0, 0, 13, 13};
    DrawFrameControl(a.dc(), &box, DFC_BUTTON, DFCS_BUTTONCHECK);
    DrawFrameControl(b.dc(), &box, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
    const std::uint32_t text = Stored(GetSysColor(COLOR_BTNTEXT));
    EXPECT_GT(b.Count(text, 2, 2, 11, 11), a.Count(text, 2, 2, 11, 11));
    RECT arrow{0, 0, 16, 16};
    TestSurface c(16, 16);
    DrawFrameControl(c.dc(), &arrow, DFC_SCROLL, DFCS_SCROLLDOWN);
    EXPECT_GT(c.Count(text, 3, 3, 13, 13), 4);
    EXPECT_FALSE(DrawFrameControl(c.dc(), &arrow, 99, 0));
}

TEST(DrawStateTest, DisabledTextIsEmbossed)
{
    TestSurface s(100, 30);
    SelectObject(s.dc(), GetStockObject(DEFAULT_GUI_FONT));
    const wchar_t* text = L"Disabled";
    ASSERT_TRUE(DrawState(s.dc(), nullptr, nullptr, reinterpret_cast<LPARAM>(text), 0, 2, 2, 0, 0,
                          DST_TEXT | DSS_DISABLED));
    EXPECT_GT(s.Count(Stored(GetSysColor(COLOR_BTNSHADOW)), 0, 0, 100, 30), 5);
    EXPECT_EQ(s.Count(0, 0, 0, 100, 30), 0);  // nothing in the normal text colour
}

TEST(DrawStateTest, DisabledBitmapUsesOnlyTheEmbossColours)
{
    TestSurface s(20, 20);
    HDC memory = CreateCompatibleDC(s.dc());
    HBITMAP picture = CreateCompatibleBitmap(s.dc(), 8, 8);
    const HGDIOBJ old = SelectObject(memory, picture);
    const RECT all{0, 0, 8, 8};
    FillRect(memory, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const RECT dot{2, 2, 6, 6};
    FillRect(memory, &dot, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SelectObject(memory, old);
    DeleteDC(memory);
    ASSERT_TRUE(DrawState(s.dc(), nullptr, nullptr, reinterpret_cast<LPARAM>(picture), 0, 0, 0, 0, 0,
                          DST_BITMAP | DSS_DISABLED));
    EXPECT_EQ(s.Raw(3, 3), Stored(GetSysColor(COLOR_BTNSHADOW)));
    EXPECT_EQ(s.Raw(6, 6), Stored(GetSysColor(COLOR_BTNHIGHLIGHT)));
    EXPECT_EQ(s.Raw(0, 0), 0xFFFFFFu);
    EXPECT_EQ(s.Count(0, 0, 0, 20, 20), 0);
    DeleteObject(picture);
    EXPECT_FALSE(DrawState(s.dc(), nullptr, nullptr, reinterpret_cast<LPARAM>(picture), 0, 0, 0, 0, 0, DST_BITMAP));
}

TEST(DrawStateTest, IconsArePlainOrEmbossed)
{
    HICON icon = MakeMaskedIcon();
    TestSurface s(20, 10);
    s.Clear(0x00FF00);
    ASSERT_TRUE(DrawState(s.dc(), nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, 0, 0, 0, 0, DST_ICON));
    EXPECT_EQ(s.Raw(0, 0), 0xFF0000u);
    EXPECT_EQ(s.Raw(3, 0), 0x00FF00u);
    // Disabled: the opaque part in the emboss colours, nothing of the icon's own.
    ASSERT_TRUE(DrawState(s.dc(), nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, 10, 0, 0, 0,
                          DST_ICON | DSS_DISABLED));
    EXPECT_EQ(s.Raw(10, 0), Stored(GetSysColor(COLOR_BTNSHADOW)));
    EXPECT_EQ(s.Count(0xFF0000u, 10, 0, 14, 4), 0);
    DestroyIcon(icon);
    EXPECT_FALSE(DrawState(s.dc(), nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, 0, 0, 0, 0, DST_ICON));
}

TEST(FrameControlTest, CheckMarkIsTheClassicGlyphInTheMiddleOfTheWell)
{
    TestSurface s(32, 32);
    RECT box{0, 0, 13, 13};
    DrawFrameControl(s.dc(), &box, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
    const std::uint32_t text = Stored(GetSysColor(COLOR_BTNTEXT));
    const std::uint32_t well = Stored(GetSysColor(COLOR_WINDOW));
    // The 9-pixel well holds the 7-pixel mark one pixel in from each side.
    const char* const expected[] = {
        ".........",
        ".......#.",
        "......##.",
        ".#...###.",
        ".##.###..",
        ".#####...",
        "..###....",
        "...#.....",
        ".........",
    };
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x)
            EXPECT_EQ(s.Raw(2 + x, 2 + y), expected[y][x] == '#' ? text : well) << "at " << x << "," << y;
    EXPECT_EQ(s.Raw(0, 6), Stored(GetSysColor(COLOR_BTNSHADOW))) << "the sunken edge";

    // The third state: a grey mark on the button face.
    TestSurface m(16, 16);
    RECT mixed{0, 0, 13, 13};
    DrawFrameControl(m.dc(), &mixed, DFC_BUTTON, DFCS_BUTTON3STATE | DFCS_CHECKED);
    EXPECT_EQ(m.Raw(9, 3), Stored(GetSysColor(COLOR_BTNSHADOW)));
    EXPECT_EQ(m.Raw(4, 3), Stored(GetSysColor(COLOR_BTNFACE)));

    // A larger box grows the mark by whole pixels, still centred.
    TestSurface big(32, 32);
    RECT large{0, 0, 24, 24};
    DrawFrameControl(big.dc(), &large, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
    EXPECT_EQ(big.Count(text, 0, 0, 32, 32), 4 * 21);
    EXPECT_EQ(big.Raw(10, 18), text);  // the tip of the mark, doubled
    EXPECT_EQ(big.Raw(10, 19), Stored(GetSysColor(COLOR_WINDOW)));
}

TEST(FrameControlTest, RadioButtonIsASunkenRingWithADot)
{
    TestSurface s(16, 16);
    RECT box{0, 0, 12, 12};
    DrawFrameControl(s.dc(), &box, DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED);
    EXPECT_EQ(s.Raw(5, 0), Stored(GetSysColor(COLOR_BTNSHADOW))) << "outer ring, top";
    EXPECT_EQ(s.Raw(0, 5), Stored(GetSysColor(COLOR_BTNSHADOW))) << "outer ring, left";
    EXPECT_EQ(s.Raw(5, 1), Stored(GetSysColor(COLOR_3DDKSHADOW))) << "inner ring, top";
    EXPECT_EQ(s.Raw(11, 6), Stored(GetSysColor(COLOR_BTNHIGHLIGHT))) << "outer ring, right";
    EXPECT_EQ(s.Raw(10, 6), Stored(GetSysColor(COLOR_3DLIGHT))) << "inner ring, right";
    EXPECT_EQ(s.Raw(5, 11), Stored(GetSysColor(COLOR_BTNHIGHLIGHT))) << "outer ring, bottom";
    EXPECT_EQ(s.Raw(0, 0), 0xFFFFFFu) << "the corners stay as they were";
    EXPECT_EQ(s.Count(Stored(GetSysColor(COLOR_BTNTEXT)), 4, 4, 8, 8), 12) << "the dot";
    EXPECT_EQ(s.Raw(3, 3), Stored(GetSysColor(COLOR_WINDOW))) << "the well";

    TestSurface off(16, 16);
    DrawFrameControl(off.dc(), &box, DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_INACTIVE);
    EXPECT_EQ(off.Count(Stored(GetSysColor(COLOR_BTNTEXT)), 0, 0, 16, 16), 0);
    EXPECT_EQ(off.Raw(5, 5), Stored(GetSysColor(COLOR_BTNFACE))) << "a disabled well is grey";
}
