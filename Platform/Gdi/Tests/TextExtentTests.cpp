#include "GdiTestSupport.h"

#include "Platform/Base/LastError.h"
#include "Platform/Base/WinError.h"
#include "Platform/Gdi/Draw.h"
#include "Platform/Gdi/Text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;

struct Measured {
    SIZE size{};
    std::vector<int> dx;
    int fit = -1;
};

Measured Measure(HDC dc, const std::wstring& text, int maxExtent = 0)
{
    Measured m;
    m.dx.assign(text.size(), -1);
    EXPECT_TRUE(GetTextExtentExPoint(dc, text.c_str(), static_cast<int>(text.size()), maxExtent, &m.fit, m.dx.data(), &m.size));
    return m;
}

// One past the rightmost column with ink, 0 for none.
int InkRight(const TestSurface& s, int width, int height)
{
    for (int x = width; x-- > 0;) {
        for (int y = 0; y < height; ++y) {
            if (s.Raw(x, y) != kWhite)
                return x + 1;
        }
    }
    return 0;
}

class TextExtentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_font = CreateFont(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                          DEFAULT_QUALITY, DEFAULT_PITCH, L"MS Shell Dlg");
        SelectObject(m_s.dc(), m_font);
        SetBkMode(m_s.dc(), TRANSPARENT);
    }
    void TearDown() override
    {
        SelectObject(m_s.dc(), GetStockObject(SYSTEM_FONT));
        DeleteObject(m_font);
    }
    int DrawnWidth(const std::wstring& text, int count)
    {
        m_s.Clear(kWhite);
        TextOut(m_s.dc(), 0, 4, text.c_str(), count);
        return InkRight(m_s, 400, 40);
    }
    // The extents grow, end at the text's width and agree with GetTextExtentPoint32.
    void ExpectConsistent(const std::wstring& text, const Measured& m)
    {
        SIZE whole{};
        GetTextExtentPoint32(m_s.dc(), text.c_str(), static_cast<int>(text.size()), &whole);
        EXPECT_EQ(m.size.cx, whole.cx);
        EXPECT_EQ(m.size.cy, whole.cy);
        ASSERT_FALSE(m.dx.empty());
        EXPECT_EQ(m.dx.back(), whole.cx);
        for (std::size_t i = 1; i < m.dx.size(); ++i)
            EXPECT_GE(m.dx[i], m.dx[i - 1]) << "at " << i;
        RECT calc{0, 0, 0, 0};
        DrawText(m_s.dc(), text.c_str(), static_cast<int>(text.size()), &calc, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        EXPECT_EQ(calc.right, whole.cx) << "DrawText lays it out alike";
    }

    TestSurface m_s{400, 40};
    HFONT m_font = nullptr;
};

}  // namespace

TEST_F(TextExtentTest, LatinExtentsMatchTheDrawnPixels)
{
    const std::wstring text = L"Hello, Wide World";
    const Measured m = Measure(m_s.dc(), text);
    ExpectConsistent(text, m);
    for (std::size_t i = 1; i < text.size(); ++i)
        EXPECT_GT(m.dx[i], m.dx[i - 1]) << "every Latin character takes room, at " << i;
    for (int k = 1; k <= static_cast<int>(text.size()); ++k) {
        if (text[static_cast<std::size_t>(k - 1)] == L' ')
            continue;
        const int drawn = DrawnWidth(text, k);
        EXPECT_LE(drawn, m.dx[static_cast<std::size_t>(k - 1)] + 1) << k << " characters draw within their extent";
        EXPECT_GE(drawn, m.dx[static_cast<std::size_t>(k - 1)] - 3) << k << " characters fill their extent";
    }
}

TEST_F(TextExtentTest, FitCountsTheCharactersWithinTheMaximum)
{
    const std::wstring text = L"fitting text";
    const Measured all = Measure(m_s.dc(), text);
    EXPECT_EQ(Measure(m_s.dc(), text, all.dx[4]).fit, 5);
    EXPECT_EQ(Measure(m_s.dc(), text, all.dx[4] - 1).fit, 4);
    EXPECT_EQ(Measure(m_s.dc(), text, 0).fit, 0);
    EXPECT_EQ(Measure(m_s.dc(), text, 100000).fit, static_cast<int>(text.size()));

    // Only the fit, only the size: both optional.
    int fit = -1;
    SIZE size{};
    EXPECT_TRUE(GetTextExtentExPoint(m_s.dc(), text.c_str(), 3, all.dx[1], &fit, nullptr, &size));
    EXPECT_EQ(fit, 2);
    EXPECT_EQ(size.cx, all.dx[2]);
    EXPECT_TRUE(GetTextExtentExPoint(m_s.dc(), text.c_str(), 0, 10, &fit, nullptr, &size));
    EXPECT_EQ(fit, 0);
    EXPECT_EQ(size.cx, 0);
}

TEST_F(TextExtentTest, CombiningMarksStayWithTheirCharacter)
{
    const std::wstring text = L"re\u0301sume\u0301";
    const Measured m = Measure(m_s.dc(), text);
    ExpectConsistent(text, m);
    EXPECT_EQ(m.dx[1], m.dx[2]) << "the accent and its letter end together";
    SIZE withAccent{};
    GetTextExtentPoint32(m_s.dc(), text.c_str(), 3, &withAccent);
    EXPECT_EQ(m.dx[2], withAccent.cx);
    EXPECT_EQ(Measure(m_s.dc(), text, m.dx[2] - 1).fit, 1) << "no fit splits a letter from its accent";
    EXPECT_EQ(m.dx.back(), m.dx[m.dx.size() - 2]);
}

TEST_F(TextExtentTest, NonLatinScripts)
{
    const std::wstring japanese = L"\u8a2d\u5b9a\u30c7\u30fc\u30bf";
    const Measured jp = Measure(m_s.dc(), japanese);
    ExpectConsistent(japanese, jp);
    EXPECT_GT(jp.dx[0], 0);
    EXPECT_LE(DrawnWidth(japanese, 2), jp.dx[1] + 1);
    EXPECT_GT(DrawnWidth(japanese, 2), jp.dx[0]);

    // Right-to-left: the first characters' extent is what they cover, wherever they show.
    const std::wstring hebrew = L"\u05e9\u05dc\u05d5\u05dd";
    const Measured he = Measure(m_s.dc(), hebrew);
    ExpectConsistent(hebrew, he);
    SIZE first{};
    GetTextExtentPoint32(m_s.dc(), hebrew.c_str(), 1, &first);
    EXPECT_NEAR(he.dx[0], first.cx, 1);
    EXPECT_GT(he.dx[1], he.dx[0]);
}

TEST_F(TextExtentTest, BadArgumentsFail)
{
    SIZE size{};
    int dx[4]{};
    SetLastError(0);
    EXPECT_FALSE(GetTextExtentExPoint(m_s.dc(), L"abc", -1, 0, nullptr, dx, &size));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(GetTextExtentExPoint(m_s.dc(), nullptr, 2, 0, nullptr, dx, &size));
    EXPECT_FALSE(GetTextExtentExPoint(m_s.dc(), L"abc", 3, 0, nullptr, dx, nullptr));
    EXPECT_FALSE(GetTextExtentExPoint(nullptr, L"abc", 3, 0, nullptr, dx, &size));
    EXPECT_TRUE(GetTextExtentExPoint(m_s.dc(), nullptr, 0, 0, nullptr, nullptr, &size));
}

namespace {

// Recently laid-out lines are kept for drawing: whatever the order of
// measuring and drawing, and across fonts and more lines than are kept,
// each text keeps its own extent and draws as wide as it measures.
TEST_F(TextExtentTest, KeptLayoutsBelongToTheirTextAndFont)
{
    std::vector<std::wstring> lines;
    for (int i = 0; i < 150; ++i)
        lines.push_back(std::wstring(static_cast<std::size_t>(1 + i % 17), L'm') + std::to_wstring(i));
    std::vector<LONG> first;
    for (const std::wstring& line : lines) {
        SIZE size{};
        GetTextExtentPoint32(m_s.dc(), line.c_str(), static_cast<int>(line.size()), &size);
        first.push_back(size.cx);
    }
    HFONT bold = CreateFont(-16, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                            DEFAULT_QUALITY, DEFAULT_PITCH, L"MS Shell Dlg");
    for (std::size_t i = lines.size(); i-- > 0;) {
        SIZE size{};
        GetTextExtentPoint32(m_s.dc(), lines[i].c_str(), static_cast<int>(lines[i].size()), &size);
        EXPECT_EQ(size.cx, first[i]) << i;
        HGDIOBJ old = SelectObject(m_s.dc(), bold);
        SIZE boldSize{};
        GetTextExtentPoint32(m_s.dc(), lines[i].c_str(), static_cast<int>(lines[i].size()), &boldSize);
        EXPECT_GT(boldSize.cx, size.cx) << i;
        SelectObject(m_s.dc(), old);
    }
    for (std::size_t i : {std::size_t{3}, std::size_t{149}, std::size_t{70}})
        EXPECT_NEAR(DrawnWidth(lines[i], static_cast<int>(lines[i].size())), first[i], 2) << i;
    DeleteObject(bold);
}

}
