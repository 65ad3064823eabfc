#include "GdiTestSupport.h"

#include "Platform/Gdi/Draw.h"
#include "Platform/Gdi/Text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;

HFONT MakeFont(int height, const wchar_t* face = L"MS Shell Dlg", int weight = FW_NORMAL)
{
    return CreateFont(height, 0, 0, 0, weight, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                      DEFAULT_QUALITY, DEFAULT_PITCH, face);
}

int InkPixels(const TestSurface& s, int x0, int y0, int x1, int y1)
{
    return (x1 - x0) * (y1 - y0) - s.Count(kWhite, x0, y0, x1, y1);
}

SIZE Extent(HDC dc, const std::wstring& text)
{
    SIZE size{};
    GetTextExtentPoint32(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

}  // namespace

TEST(FontTest, HeightSignSelectsCharacterOrCellHeight)
{
    TestSurface s;
    Owned<HFONT> character(MakeFont(-20));
    Owned<HFONT> cell(MakeFont(20));
    TEXTMETRIC tm{};
    SelectObject(s.dc(), character);
    ASSERT_TRUE(GetTextMetrics(s.dc(), &tm));
    EXPECT_GT(tm.tmHeight, 20);
    EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 20);
    EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight);
    SelectObject(s.dc(), cell);
    GetTextMetrics(s.dc(), &tm);
    EXPECT_NEAR(tm.tmHeight, 20, 1);
    EXPECT_GT(tm.tmAveCharWidth, 0);
    EXPECT_GE(tm.tmMaxCharWidth, tm.tmAveCharWidth);
}

TEST(FontTest, FaceAndAttributesAreKept)
{
    TestSurface s;
    Owned<HFONT> bold(MakeFont(-12, L"Tahoma", FW_BOLD));
    SelectObject(s.dc(), bold);
    wchar_t face[LF_FACESIZE]{};
    EXPECT_EQ(GetTextFace(s.dc(), LF_FACESIZE, face), 7);
    EXPECT_STREQ(face, L"Tahoma");
    wchar_t small[3]{};
    EXPECT_EQ(GetTextFace(s.dc(), 3, small), 3);
    EXPECT_STREQ(small, L"Ta");
    LOGFONT log{};
    ASSERT_EQ(GetObject(bold, sizeof log, &log), static_cast<int>(sizeof log));
    EXPECT_EQ(log.lfWeight, FW_BOLD);
    EXPECT_EQ(log.lfHeight, -12);
    TEXTMETRIC tm{};
    GetTextMetrics(s.dc(), &tm);
    EXPECT_EQ(tm.tmWeight, FW_BOLD);
    // Bold text is wider than regular text of the same size.
    const SIZE wide = Extent(s.dc(), L"Settings");
    Owned<HFONT> regular(MakeFont(-12, L"Tahoma"));
    SelectObject(s.dc(), regular);
    EXPECT_GT(wide.cx, Extent(s.dc(), L"Settings").cx);
    // A long face name is cut, not overrun.
    Owned<HFONT> longName(MakeFont(-12, L"An extremely long face name that does not fit in the field"));
    GetObject(longName, sizeof log, &log);
    EXPECT_EQ(std::wcslen(log.lfFaceName), static_cast<std::size_t>(LF_FACESIZE - 1));
    EXPECT_EQ(CreateFontIndirect(nullptr), nullptr);
}

TEST(TextOutTest, DrawsInTheTextColourAndFillsTheCellWhenOpaque)
{
    TestSurface s(120, 40);
    Owned<HFONT> font(MakeFont(-16));
    SelectObject(s.dc(), font);
    SetTextColor(s.dc(), RGB(255, 0, 0));
    SetBkMode(s.dc(), TRANSPARENT);
    ASSERT_TRUE(TextOut(s.dc(), 2, 2, L"Hello", 5));
    EXPECT_GT(s.Count(0xFF0000, 0, 0, 120, 40), 10);
    const SIZE size = Extent(s.dc(), L"Hello");
    EXPECT_EQ(InkPixels(s, 2 + size.cx + 2, 0, 120, 40), 0);
    s.Clear(kWhite);
    SetBkMode(s.dc(), OPAQUE);
    SetBkColor(s.dc(), RGB(0, 0, 255));
    TextOut(s.dc(), 0, 0, L"Hi", 2);
    const SIZE hi = Extent(s.dc(), L"Hi");
    EXPECT_EQ(s.Raw(hi.cx - 1, hi.cy - 1), 0x0000FFu);
    EXPECT_EQ(s.Raw(hi.cx, 0), kWhite);
}

TEST(TextOutTest, AlignmentMovesTheText)
{
    TestSurface s(200, 40);
    Owned<HFONT> font(MakeFont(-16));
    SelectObject(s.dc(), font);
    SetBkMode(s.dc(), TRANSPARENT);
    SetTextAlign(s.dc(), TA_RIGHT | TA_TOP);
    TextOut(s.dc(), 100, 5, L"Right", 5);
    EXPECT_EQ(InkPixels(s, 101, 0, 200, 40), 0);
    EXPECT_GT(InkPixels(s, 0, 0, 100, 40), 0);
    s.Clear(kWhite);
    SetTextAlign(s.dc(), TA_LEFT | TA_BASELINE);
    TextOut(s.dc(), 10, 5, L"Base", 4);
    TEXTMETRIC tm{};
    GetTextMetrics(s.dc(), &tm);
    EXPECT_EQ(InkPixels(s, 0, 5 + tm.tmDescent + 1, 200, 40), 0);
}

TEST(TextOutTest, ExtTextOutOpaqueAndClipped)
{
    TestSurface s(100, 40);
    Owned<HFONT> font(MakeFont(-20));
    SelectObject(s.dc(), font);
    SetBkColor(s.dc(), RGB(0, 255, 0));
    SetBkMode(s.dc(), TRANSPARENT);
    const RECT r{0, 0, 12, 30};
    ASSERT_TRUE(ExtTextOut(s.dc(), 0, 0, ETO_OPAQUE | ETO_CLIPPED, &r, L"WWWW", 4, nullptr));
    EXPECT_EQ(s.Raw(11, 29), 0x00FF00u);
    EXPECT_EQ(InkPixels(s, 12, 0, 100, 40), 0);
    EXPECT_GT(InkPixels(s, 0, 0, 12, 30), 0);
    EXPECT_FALSE(ExtTextOut(s.dc(), 0, 0, 0, nullptr, nullptr, 3, nullptr));
}

TEST(TextOutTest, JapaneseTextDrawsThroughFallbackFonts)
{
    TestSurface s(200, 40);
    Owned<HFONT> font(MakeFont(-16, L"MS Shell Dlg"));
    SelectObject(s.dc(), font);
    SetBkMode(s.dc(), TRANSPARENT);
    const std::wstring text = L"\u8a2d\u5b9a\u3092\u4fdd\u5b58";  // "save the settings"
    ASSERT_TRUE(TextOut(s.dc(), 2, 2, text.c_str(), static_cast<int>(text.size())));
    EXPECT_GT(InkPixels(s, 0, 0, 200, 40), 50);
    EXPECT_GT(Extent(s.dc(), text).cx, 5 * 10);
}

TEST(DrawTextTest, CalcRectAgreesWithTextExtent)
{
    TestSurface s;
    Owned<HFONT> font(MakeFont(-13));
    SelectObject(s.dc(), font);
    const std::wstring text = L"Connection settings";
    RECT r{5, 7, 6, 8};
    const int height = DrawText(s.dc(), text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
    const SIZE size = Extent(s.dc(), text);
    EXPECT_EQ(r.right - r.left, size.cx);
    EXPECT_EQ(r.bottom - r.top, size.cy);
    EXPECT_EQ(height, size.cy);
    EXPECT_EQ(r.left, 5);
    EXPECT_EQ(r.top, 7);
    // Two lines are twice as high; the width is the wider line's.
    RECT two{0, 0, 0, 0};
    EXPECT_EQ(DrawText(s.dc(), L"ab\r\nlonger line", -1, &two, DT_CALCRECT), 2 * size.cy);
    EXPECT_EQ(two.right, Extent(s.dc(), L"longer line").cx);
    // The prefix character takes no room.
    RECT prefixed{0, 0, 0, 0};
    DrawText(s.dc(), L"&Save", -1, &prefixed, DT_CALCRECT);
    EXPECT_EQ(prefixed.right, Extent(s.dc(), L"Save").cx);
    RECT literal{0, 0, 0, 0};
    DrawText(s.dc(), L"a&&b", -1, &literal, DT_CALCRECT);
    EXPECT_EQ(literal.right, Extent(s.dc(), L"a&b").cx);
    RECT noPrefix{0, 0, 0, 0};
    DrawText(s.dc(), L"&Save", -1, &noPrefix, DT_CALCRECT | DT_NOPREFIX);
    EXPECT_EQ(noPrefix.right, Extent(s.dc(), L"&Save").cx);
}

TEST(DrawTextTest, WordBreakWrapsWithinTheWidth)
{
    TestSurface s(200, 200);
    Owned<HFONT> font(MakeFont(-13));
    SelectObject(s.dc(), font);
    TEXTMETRIC tm{};
    GetTextMetrics(s.dc(), &tm);
    const std::wstring text = L"one two three four five six seven eight nine ten";
    const int width = Extent(s.dc(), L"three four").cx + 2;
    RECT r{0, 0, width, 0};
    const int height = DrawText(s.dc(), text.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_GT(height, 2 * tm.tmHeight);
    EXPECT_EQ(height % tm.tmHeight, 0);
    EXPECT_LE(r.right, width);
    // A single word wider than the box widens the computed box.
    RECT narrow{0, 0, 5, 0};
    DrawText(s.dc(), L"Unbreakable", -1, &narrow, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(narrow.right, Extent(s.dc(), L"Unbreakable").cx);
    EXPECT_EQ(narrow.bottom, tm.tmHeight);
    // Drawing stays inside the box.
    RECT box{10, 10, 10 + width, 190};
    SetBkMode(s.dc(), TRANSPARENT);
    DrawText(s.dc(), text.c_str(), -1, &box, DT_WORDBREAK);
    EXPECT_EQ(InkPixels(s, 10 + width, 0, 200, 200), 0);
    EXPECT_EQ(InkPixels(s, 0, 0, 10, 200), 0);
    EXPECT_GT(InkPixels(s, 10, 10 + 2 * tm.tmHeight, 10 + width, 10 + 3 * tm.tmHeight), 0);
}

TEST(DrawTextTest, EachEllipsisModeShortensAndFits)
{
    TestSurface s(300, 40);
    Owned<HFONT> font(MakeFont(-13));
    SelectObject(s.dc(), font);
    const std::wstring text = L"C:\\Program data\\Settings of the coupler\\backup\\device-settings.xml";
    const int full = Extent(s.dc(), text).cx;
    const int width = full / 2;
    for (UINT mode : {DT_END_ELLIPSIS, DT_PATH_ELLIPSIS, DT_WORD_ELLIPSIS}) {
        std::wstring buffer = text;
        RECT r{0, 0, width, 20};
        DrawText(s.dc(), buffer.data(), -1, &r, DT_SINGLELINE | DT_CALCRECT | mode | DT_MODIFYSTRING);
        const std::wstring shown(buffer.c_str());
        EXPECT_NE(shown, text) << mode;
        EXPECT_NE(shown.find(L"..."), std::wstring::npos) << mode;
        EXPECT_LE(Extent(s.dc(), shown).cx, width) << mode;
        EXPECT_LE(r.right - r.left, width) << mode;
        EXPECT_LE(shown.size(), text.size());
        if (mode == DT_PATH_ELLIPSIS) {
            EXPECT_NE(shown.find(L"device-settings.xml"), std::wstring::npos);
        }
        if (mode == DT_END_ELLIPSIS) {
            EXPECT_EQ(shown.substr(0, 3), L"C:\\");
        }
    }
    // A text that fits stays as it is.
    std::wstring fits = L"short";
    RECT r{0, 0, 300, 20};
    DrawText(s.dc(), fits.data(), -1, &r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING);
    EXPECT_EQ(fits, L"short");
}

TEST(DrawTextTest, ModifyStringNeverWritesPastTheGivenLength)
{
    TestSurface s;
    Owned<HFONT> font(MakeFont(-13));
    SelectObject(s.dc(), font);
    wchar_t buffer[8] = {L'a', L'b', L'c', L'd', L'e', L'f', L'X', L'Y'};
    RECT r{0, 0, 2, 20};  // narrower than the dots themselves
    DrawText(s.dc(), buffer, 6, &r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING);
    EXPECT_EQ(buffer[6], L'X');
    EXPECT_EQ(buffer[7], L'Y');
}

TEST(DrawTextTest, VerticalCentringAndAlignment)
{
    TestSurface s(100, 60);
    Owned<HFONT> font(MakeFont(-13));
    SelectObject(s.dc(), font);
    SetBkMode(s.dc(), TRANSPARENT);
    TEXTMETRIC tm{};
    GetTextMetrics(s.dc(), &tm);
    RECT r{0, 0, 100, 60};
    const int bottom = DrawText(s.dc(), L"Mid", -1, &r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    EXPECT_EQ(bottom, (60 - tm.tmHeight) / 2 + tm.tmHeight);
    const int top = (60 - tm.tmHeight) / 2;
    EXPECT_EQ(InkPixels(s, 0, 0, 100, top), 0);
    EXPECT_EQ(InkPixels(s, 0, top + tm.tmHeight, 100, 60), 0);
    EXPECT_EQ(InkPixels(s, 0, 0, 30, 60), 0);
    EXPECT_EQ(InkPixels(s, 70, 0, 100, 60), 0);
    s.Clear(kWhite);
    DrawText(s.dc(), L"End", -1, &r, DT_SINGLELINE | DT_RIGHT | DT_BOTTOM);
    EXPECT_EQ(InkPixels(s, 0, 0, 100, 60 - tm.tmHeight), 0);
    EXPECT_EQ(InkPixels(s, 0, 0, 60, 60), 0);
}

TEST(DrawTextTest, PrefixUnderlinesItsCharacter)
{
    TestSurface plain(100, 30);
    TestSurface marked(100, 30);
    for (TestSurface* s : {&plain, &marked}) {
        SelectObject(s->dc(), GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(s->dc(), TRANSPARENT);
    }
    RECT r{0, 0, 100, 30};
    DrawText(plain.dc(), L"Save", -1, &r, DT_SINGLELINE);
    DrawText(marked.dc(), L"&Save", -1, &r, DT_SINGLELINE);
    EXPECT_GT(InkPixels(marked, 0, 0, 100, 30), InkPixels(plain, 0, 0, 100, 30));
    TestSurface hidden(100, 30);
    SelectObject(hidden.dc(), GetStockObject(DEFAULT_GUI_FONT));
    DrawText(hidden.dc(), L"&Save", -1, &r, DT_SINGLELINE | DT_HIDEPREFIX);
    EXPECT_EQ(InkPixels(hidden, 0, 0, 100, 30), InkPixels(plain, 0, 0, 100, 30));
}

TEST(DrawTextTest, ExpandTabsAndClipping)
{
    TestSurface s(200, 30);
    SelectObject(s.dc(), GetStockObject(DEFAULT_GUI_FONT));
    RECT tabbed{0, 0, 0, 0};
    RECT spaced{0, 0, 0, 0};
    DrawText(s.dc(), L"a\tb", -1, &tabbed, DT_CALCRECT | DT_EXPANDTABS | DT_SINGLELINE);
    DrawText(s.dc(), L"a b", -1, &spaced, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_GT(tabbed.right, spaced.right);
    SetBkMode(s.dc(), TRANSPARENT);
    RECT box{0, 0, 20, 30};
    DrawText(s.dc(), L"A long text that is clipped", -1, &box, DT_SINGLELINE);
    EXPECT_EQ(InkPixels(s, 20, 0, 200, 30), 0);
    DrawText(s.dc(), L"A long text that is not clipped", -1, &box, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_GT(InkPixels(s, 20, 0, 200, 30), 0);
    EXPECT_EQ(DrawText(s.dc(), nullptr, 3, &box, 0), 0);
    EXPECT_EQ(DrawText(s.dc(), L"x", 1, nullptr, 0), 0);
}

TEST(DrawTextTest, TextScalesWithTheMapping)
{
    TestSurface s(200, 100);
    SelectObject(s.dc(), GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(s.dc(), TRANSPARENT);
    TextOut(s.dc(), 0, 0, L"Scale", 5);
    const int small = InkPixels(s, 0, 0, 200, 100);
    s.Clear(kWhite);
    SetMapMode(s.dc(), MM_ANISOTROPIC);
    SetWindowExtEx(s.dc(), 1, 1, nullptr);
    SetViewportExtEx(s.dc(), 3, 3, nullptr);
    TextOut(s.dc(), 0, 0, L"Scale", 5);
    EXPECT_GT(InkPixels(s, 0, 0, 200, 100), 4 * small);
}

TEST(DrawTextTest, ALineExactlyAsWideAsItsBoxDrawsWhole)
{
    TestSurface whole(200, 40);
    TestSurface bounded(200, 40);
    Owned<HFONT> font(MakeFont(-13));
    for (TestSurface* s : {&whole, &bounded}) {
        SelectObject(s->dc(), font);
        SetBkMode(s->dc(), TRANSPARENT);
    }
    const std::wstring text = L"Coupler settings";
    const int width = Extent(whole.dc(), text).cx;
    for (UINT mode : {DT_END_ELLIPSIS, DT_PATH_ELLIPSIS, DT_WORD_ELLIPSIS}) {
        std::wstring buffer = text;
        RECT exact{0, 0, width, 20};
        DrawText(whole.dc(), buffer.data(), -1, &exact, DT_SINGLELINE | DT_CALCRECT | mode | DT_MODIFYSTRING);
        EXPECT_EQ(buffer, text) << mode;
        EXPECT_EQ(exact.right, width) << mode;
        RECT narrower{0, 0, width - 1, 20};
        DrawText(whole.dc(), buffer.data(), -1, &narrower, DT_SINGLELINE | DT_CALCRECT | mode | DT_MODIFYSTRING);
        EXPECT_NE(buffer, text) << mode; // shortened, within the text's own length
        EXPECT_LE(narrower.right, width - 1) << mode;
    }
    RECT wide{0, 0, 200, 20};
    DrawText(whole.dc(), text.c_str(), -1, &wide, DT_SINGLELINE);
    RECT exact{0, 0, width, 20};
    DrawText(bounded.dc(), text.c_str(), -1, &exact, DT_SINGLELINE | DT_END_ELLIPSIS);
    int differing = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < width; ++x)
            differing += whole.Raw(x, y) != bounded.Raw(x, y) ? 1 : 0;
    EXPECT_EQ(differing, 0);
    // Word breaking keeps such a line whole too.
    TEXTMETRIC tm{};
    GetTextMetrics(whole.dc(), &tm);
    RECT wrap{0, 0, width, 0};
    EXPECT_EQ(DrawText(whole.dc(), text.c_str(), -1, &wrap, DT_CALCRECT | DT_WORDBREAK), tm.tmHeight);
}

TEST(DrawTextTest, PrefixUnderlineFollowsItsCharacterAcrossAWordWrap)
{
    Owned<HFONT> font(MakeFont(-13));
    const auto draw = [&](TestSurface& s, const wchar_t* text, int width) {
        SelectObject(s.dc(), font);
        SetBkMode(s.dc(), TRANSPARENT);
        RECT r{0, 0, width, 60};
        DrawText(s.dc(), text, -1, &r, DT_WORDBREAK);
    };
    TestSurface plain(120, 60);
    SelectObject(plain.dc(), font);
    TEXTMETRIC tm{};
    GetTextMetrics(plain.dc(), &tm);
    const int width = Extent(plain.dc(), L"Settings").cx + 2;
    ASSERT_LT(width, Extent(plain.dc(), L"Open Settings").cx);
    draw(plain, L"Open Settings", width);
    const int h = tm.tmHeight;
    // The first character of the second line, and the last of the first.
    TestSurface second(120, 60);
    draw(second, L"Open &Settings", width);
    EXPECT_EQ(InkPixels(second, 0, 0, 120, h), InkPixels(plain, 0, 0, 120, h));
    EXPECT_GT(InkPixels(second, 0, h, 120, 2 * h), InkPixels(plain, 0, h, 120, 2 * h));
    TestSurface first(120, 60);
    draw(first, L"Ope&n Settings", width);
    EXPECT_GT(InkPixels(first, 0, 0, 120, h), InkPixels(plain, 0, 0, 120, h));
    EXPECT_EQ(InkPixels(first, 0, h, 120, 2 * h), InkPixels(plain, 0, h, 120, 2 * h));
}
