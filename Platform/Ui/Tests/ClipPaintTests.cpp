#include "Platform/Gdi/DeviceContext.h"
#include "Platform/Gdi/Draw.h"
#include "Platform/Ui/Tests/UiTestSupport.h"

using namespace UiTest;

namespace {

constexpr COLORREF kParent = RGB(0, 0, 255);
constexpr COLORREF kUpper = RGB(255, 0, 0);
constexpr COLORREF kLower = RGB(0, 160, 0);
constexpr COLORREF kInner = RGB(255, 255, 0);

void FillAll(HDC dc, COLORREF color)
{
    HBRUSH brush = CreateSolidBrush(color);
    const RECT huge{-2000, -2000, 4000, 4000};
    FillRect(dc, &huge, brush);
    DeleteObject(brush);
}

// Fills everything its context lets it, far beyond its own rectangle.
struct Filler : Handler {
    explicit Filler(COLORREF c) : color(c)
    {
        m_onMessage = [this](HWND hwnd, UINT m, WPARAM, LPARAM, LRESULT& r) {
            if (m == WM_ERASEBKGND) {
                r = 1;
                return true;
            }
            if (m != WM_PAINT)
                return false;
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            FillAll(dc, color);
            EndPaint(hwnd, &ps);
            ++paints;
            r = 0;
            return true;
        };
    }
    COLORREF color;
    int paints = 0;
};

// A parent with two overlapping children: the upper one (first in the
// Z-order) at x 20..100, the lower one at x 60..140; they overlap at 60..100.
class Siblings : public ::testing::Test {
protected:
    void Build(DWORD parentStyle, DWORD lowerStyle)
    {
        m_g.hwnd = Create(&m_parent, WS_POPUP | WS_VISIBLE | parentStyle, 100, 100, 200, 100);
        m_upperWindow = Create(&m_upper, WS_CHILD | WS_VISIBLE, 20, 20, 80, 60, m_g.hwnd, 1);
        m_lowerWindow = Create(&m_lower, WS_CHILD | WS_VISIBLE | lowerStyle, 60, 20, 80, 60, m_g.hwnd, 2);
        UpdateWindow(m_g.hwnd);
        Drain();
    }
    COLORREF At(int x, int y) const { return Headless().PixelAt(NativeWindowOf(m_g.hwnd), x, y).value_or(CLR_INVALID); }
    void Repaint(HWND hwnd)
    {
        InvalidateRect(hwnd, nullptr, TRUE);
        UpdateWindow(hwnd);
        Drain();
    }
    void Reset()
    {
        m_parent.paints = m_upper.paints = m_lower.paints = 0;
    }

    Filler m_parent{kParent};
    Filler m_upper{kUpper};
    Filler m_lower{kLower};
    WindowGuard m_g;
    HWND m_upperWindow = nullptr;
    HWND m_lowerWindow = nullptr;
};

}

TEST_F(Siblings, WithoutClipStylesTheLaterPaintOverdraws)
{
    Build(0, 0);
    EXPECT_EQ(At(10, 10), kParent);
    EXPECT_EQ(At(40, 50), kUpper);
    EXPECT_EQ(At(120, 50), kLower);
    EXPECT_EQ(At(80, 50), kUpper) << "a whole repaint paints the upper sibling last";

    Reset();
    Repaint(m_lowerWindow);
    EXPECT_EQ(m_lower.paints, 1);
    EXPECT_EQ(m_upper.paints, 0);
    EXPECT_EQ(At(80, 50), kLower) << "without WS_CLIPSIBLINGS the lower one draws over the upper";
    EXPECT_EQ(At(40, 50), kUpper) << "but only within its own rectangle";

    // Without WS_CLIPCHILDREN the parent paints over its children, and they repaint after it.
    Reset();
    Repaint(m_g.hwnd);
    EXPECT_EQ(m_parent.paints, 1);
    EXPECT_EQ(m_upper.paints, 1);
    EXPECT_EQ(m_lower.paints, 1);
    EXPECT_EQ(At(80, 50), kUpper);

    // A child that paints itself at once while its parent still waits to
    // paint over it paints again after the parent.
    Reset();
    InvalidateRect(m_g.hwnd, nullptr, TRUE);
    UpdateWindow(m_lowerWindow);
    EXPECT_EQ(m_lower.paints, 1);
    UpdateWindow(m_g.hwnd);
    Drain();
    EXPECT_EQ(m_parent.paints, 1);
    EXPECT_EQ(m_lower.paints, 2);
    EXPECT_EQ(At(120, 50), kLower);
}

TEST_F(Siblings, ClipSiblingsKeepsTheUpperSiblingWhole)
{
    Build(0, WS_CLIPSIBLINGS);
    EXPECT_EQ(At(80, 50), kUpper);
    Reset();
    Repaint(m_lowerWindow);
    EXPECT_EQ(m_lower.paints, 1);
    EXPECT_EQ(At(80, 50), kUpper) << "the upper sibling is never painted over";
    EXPECT_EQ(At(120, 50), kLower);

    // A child of the clipped window is kept out of the upper sibling as well.
    Filler innerPainter{kInner};
    HWND inner = Create(&innerPainter, WS_CHILD | WS_VISIBLE, 0, 0, 70, 60, m_lowerWindow, 3);
    Repaint(inner);
    EXPECT_EQ(innerPainter.paints, 1);
    EXPECT_EQ(At(110, 50), kInner);
    EXPECT_EQ(At(80, 50), kUpper);
    DestroyWindow(inner);

    // GetDC asks for the same through the style, GetDCEx also through its flag.
    HDC dc = GetDC(m_lowerWindow);
    FillAll(dc, RGB(1, 2, 3));
    ReleaseDC(m_lowerWindow, dc);
    EXPECT_EQ(At(80, 50), kUpper);
    EXPECT_EQ(At(130, 70), RGB(1, 2, 3));
    dc = GetDCEx(m_upperWindow, nullptr, DCX_CLIPSIBLINGS);
    FillAll(dc, RGB(4, 5, 6));
    ReleaseDC(m_upperWindow, dc);
    EXPECT_EQ(At(80, 50), RGB(4, 5, 6)) << "nothing is above the upper sibling";
}

TEST_F(Siblings, ClipChildrenLeavesTheChildrenAlone)
{
    Build(WS_CLIPCHILDREN, 0);
    EXPECT_EQ(At(80, 50), kUpper);
    Reset();
    Repaint(m_g.hwnd);
    EXPECT_EQ(m_parent.paints, 1);
    EXPECT_EQ(m_upper.paints, 0) << "children need no repaint: the parent did not touch them";
    EXPECT_EQ(m_lower.paints, 0);
    EXPECT_EQ(At(10, 10), kParent);
    EXPECT_EQ(At(40, 50), kUpper);
    EXPECT_EQ(At(120, 50), kLower);
    EXPECT_EQ(At(80, 50), kUpper);

    // Asked for explicitly, they repaint all the same.
    Reset();
    RedrawWindow(m_g.hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_EQ(m_upper.paints, 1);
    EXPECT_EQ(m_lower.paints, 1);
}

namespace {

// Paints its whole context in WM_ERASEBKGND and nothing in WM_PAINT, as a
// window with a class brush does.
struct Eraser : Handler {
    explicit Eraser(COLORREF c) : color(c)
    {
        m_onMessage = [this](HWND, UINT m, WPARAM w, LPARAM, LRESULT& r) {
            if (m != WM_ERASEBKGND)
                return false;
            FillAll(reinterpret_cast<HDC>(w), color);
            r = 1;
            return true;
        };
    }
    COLORREF color;
};

}

// A parent dirty in two separate places, a child lying between them: the
// parent's paint reaches only what is dirty, so the child, which nothing
// invalidated and which does not repaint, keeps its pixels. With
// WS_CLIPCHILDREN the region and the children's cut-outs hold together.
TEST(ClipPaint, ParentPaintsOnlyItsUpdateRegionNotTheBoxAroundIt)
{
    Filler painter{kParent};
    Eraser eraser{kParent};
    for (DWORD parentStyle : {DWORD{0}, DWORD{WS_CLIPCHILDREN}}) {
        for (Handler* parentHandler : std::initializer_list<Handler*>{&painter, &eraser}) {
            SCOPED_TRACE(parentHandler == &painter ? "painted in WM_PAINT" : "painted in WM_ERASEBKGND");
            SCOPED_TRACE(parentStyle != 0 ? "WS_CLIPCHILDREN" : "no clip style");
            Filler label{kUpper};
            Filler inDirtyArea{kInner};
            WindowGuard g;
            g.hwnd = Create(parentHandler, WS_POPUP | WS_VISIBLE | parentStyle, 100, 100, 300, 200);
            Create(&label, WS_CHILD | WS_VISIBLE, 100, 80, 100, 40, g.hwnd, 1);
            Create(&inDirtyArea, WS_CHILD | WS_VISIBLE, 30, 20, 40, 30, g.hwnd, 2);
            UpdateWindow(g.hwnd);
            Drain();
            auto at = [&](int x, int y) { return Headless().PixelAt(NativeWindowOf(g.hwnd), x, y).value_or(CLR_INVALID); };
            ASSERT_EQ(at(150, 100), kUpper);

            // Mark the parent's own pixels between the areas, to see whether they are painted over.
            HDC dc = GetDC(g.hwnd);
            const RECT between{10, 70, 90, 130};
            HBRUSH mark = CreateSolidBrush(kLower);
            FillRect(dc, &between, mark);
            DeleteObject(mark);
            ReleaseDC(g.hwnd, dc);

            const int labelPaints = label.paints;
            const RECT upperArea{10, 10, 290, 60};
            const RECT lowerArea{250, 150, 290, 190};
            InvalidateRect(g.hwnd, &upperArea, TRUE);
            InvalidateRect(g.hwnd, &lowerArea, TRUE);
            UpdateWindow(g.hwnd);
            Drain();

            EXPECT_EQ(label.paints, labelPaints) << "the child was not in the update region";
            EXPECT_EQ(at(150, 100), kUpper) << "the child between the dirty areas is not erased";
            EXPECT_EQ(at(50, 100), kLower) << "nor are the parent's own pixels outside the region";
            EXPECT_EQ(at(50, 35), kInner) << "a child in a dirty area ends up whole";
            EXPECT_EQ(at(20, 20), kParent);
            EXPECT_EQ(at(280, 180), kParent);
        }
    }
}
