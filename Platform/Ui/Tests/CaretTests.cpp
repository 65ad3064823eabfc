#include "Platform/Base/LastError.h"
#include "Platform/Base/Clock.h"
#include "Platform/Gdi/BitmapApi.h"
#include "Platform/Gdi/DeviceContext.h"
#include "Platform/Gdi/Draw.h"
#include "Platform/Ui/Tests/UiTestSupport.h"

using namespace UiTest;

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);

COLORREF Inverted(COLORREF c)
{
    return RGB(255 - GetRValue(c), 255 - GetGValue(c), 255 - GetBValue(c));
}

class CaretTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_g.hwnd = Create(&m_h, WS_POPUP | WS_VISIBLE, 40, 40, 100, 60);
        UpdateWindow(m_g.hwnd);
        Drain();
        m_background = GetSysColor(COLOR_WINDOW);
    }
    void TearDown() override { DestroyCaret(); }

    COLORREF Pixel(int x, int y) const { return Headless().PixelAt(NativeWindowOf(m_g.hwnd), x, y).value_or(CLR_INVALID); }
    void Blink()
    {
        Platform::Clock::Advance(GetCaretBlinkTime());
        Drain();
    }

    Platform::ManualClockScope m_clock{5000000};
    Handler m_h;
    WindowGuard m_g;
    COLORREF m_background = 0;
};

}

TEST_F(CaretTest, ShowsInvertedAndBlinksOnTheClock)
{
    ASSERT_TRUE(CreateCaret(m_g.hwnd, nullptr, 2, 12));
    ASSERT_TRUE(SetCaretPos(10, 5));
    EXPECT_EQ(Pixel(10, 5), m_background) << "a new caret is hidden";
    ASSERT_TRUE(ShowCaret(m_g.hwnd));
    EXPECT_EQ(Pixel(10, 5), Inverted(m_background));
    EXPECT_EQ(Pixel(11, 16), Inverted(m_background));
    EXPECT_EQ(Pixel(12, 5), m_background) << "two pixels wide";
    EXPECT_EQ(Pixel(10, 17), m_background) << "twelve high";
    Platform::Clock::Advance(GetCaretBlinkTime() - 1);
    Drain();
    EXPECT_EQ(Pixel(10, 5), Inverted(m_background)) << "not yet";
    Platform::Clock::Advance(1);
    Drain();
    EXPECT_EQ(Pixel(10, 5), m_background);
    Blink();
    EXPECT_EQ(Pixel(10, 5), Inverted(m_background));

    // Moving it takes it off the old place and shows it on the new at once.
    Blink();
    ASSERT_TRUE(SetCaretPos(30, 20));
    EXPECT_EQ(Pixel(10, 5), m_background);
    EXPECT_EQ(Pixel(30, 20), Inverted(m_background));
    POINT pos{};
    ASSERT_TRUE(GetCaretPos(&pos));
    EXPECT_EQ(pos.x, 30);
    EXPECT_EQ(pos.y, 20);

    ASSERT_TRUE(DestroyCaret());
    EXPECT_EQ(Pixel(30, 20), m_background) << "destroying takes it off";
    EXPECT_FALSE(DestroyCaret());
}

TEST_F(CaretTest, HidingCountsAndAnInfiniteBlinkTimeKeepsItOn)
{
    ASSERT_TRUE(CreateCaret(m_g.hwnd, nullptr, 3, 3));
    ShowCaret(m_g.hwnd);
    EXPECT_TRUE(HideCaret(m_g.hwnd));
    EXPECT_TRUE(HideCaret(nullptr));
    EXPECT_EQ(Pixel(0, 0), m_background);
    EXPECT_TRUE(ShowCaret(m_g.hwnd));
    Blink();
    EXPECT_EQ(Pixel(0, 0), m_background) << "hidden twice, shown once";
    EXPECT_TRUE(ShowCaret(nullptr));
    EXPECT_EQ(Pixel(0, 0), Inverted(m_background));

    const UINT old = GetCaretBlinkTime();
    ASSERT_TRUE(SetCaretBlinkTime(INFINITE));
    for (int i = 0; i < 3; ++i) {
        Platform::Clock::Advance(old);
        Drain();
        EXPECT_EQ(Pixel(0, 0), Inverted(m_background));
    }
    EXPECT_FALSE(SetCaretBlinkTime(0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    ASSERT_TRUE(SetCaretBlinkTime(old));
    EXPECT_EQ(GetCaretBlinkTime(), old);
}

TEST_F(CaretTest, PaintingNeverLeavesAStaleMark)
{
    ASSERT_TRUE(CreateCaret(m_g.hwnd, nullptr, 2, 10));
    SetCaretPos(20, 10);
    ShowCaret(m_g.hwnd);
    ASSERT_EQ(Pixel(20, 10), Inverted(m_background));

    // A repaint erases the window; the caret comes back over the new pixels.
    InvalidateRect(m_g.hwnd, nullptr, TRUE);
    UpdateWindow(m_g.hwnd);
    EXPECT_EQ(Pixel(20, 10), Inverted(m_background));
    HideCaret(m_g.hwnd);
    EXPECT_EQ(Pixel(20, 10), m_background);
    ShowCaret(m_g.hwnd);

    // Drawing through GetDC too.
    HDC dc = GetDC(m_g.hwnd);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(Pixel(20, 10), m_background) << "off while the context is out";
    HBRUSH red = CreateSolidBrush(kRed);
    const RECT all{0, 0, 100, 60};
    FillRect(dc, &all, red);
    DeleteObject(red);
    ReleaseDC(m_g.hwnd, dc);
    EXPECT_EQ(Pixel(20, 10), Inverted(kRed));
    EXPECT_EQ(Pixel(40, 10), kRed);
    // Its blinking during the painting resumes after it.
    Blink();
    EXPECT_EQ(Pixel(20, 10), kRed);
}

TEST_F(CaretTest, GreyAndBitmapShapes)
{
    ASSERT_TRUE(CreateCaret(m_g.hwnd, kCaretGrey, 4, 4));
    SetCaretPos(10, 10);
    ShowCaret(m_g.hwnd);
    EXPECT_NE(Pixel(10, 10), Pixel(11, 10)) << "a grey caret inverts every other pixel";
    EXPECT_EQ(Pixel(10, 10), Pixel(11, 11));

    // A bitmap caret inverts where its pixels are white, and is as big as the bitmap.
    HDC screen = GetDC(nullptr);
    HBITMAP shape = CreateCompatibleBitmap(screen, 6, 3);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, shape);
    const RECT black{0, 0, 6, 3};
    const RECT white{0, 0, 3, 3};
    FillRect(memory, &black, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    FillRect(memory, &white, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    ASSERT_TRUE(CreateCaret(m_g.hwnd, shape, 0, 0));
    DeleteObject(shape);  // the caret keeps its own copy
    EXPECT_EQ(Pixel(10, 10), m_background) << "the grey caret went with the new one";
    SetCaretPos(50, 30);
    ShowCaret(m_g.hwnd);
    EXPECT_EQ(Pixel(50, 30), Inverted(m_background));
    EXPECT_EQ(Pixel(52, 32), Inverted(m_background));
    EXPECT_EQ(Pixel(53, 30), m_background);
    EXPECT_EQ(Pixel(50, 33), m_background);
}

TEST_F(CaretTest, BelongsToItsThreadAndGoesWithItsWindow)
{
    EXPECT_FALSE(SetCaretPos(1, 1)) << "no caret yet";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    BOOL created = TRUE;
    DWORD error = 0;
    std::thread other([&] {
        created = CreateCaret(m_g.hwnd, nullptr, 1, 1);
        error = GetLastError();
    });
    other.join();
    EXPECT_FALSE(created) << "another thread's window";
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_ACCESS_DENIED));

    Handler childHandler;
    HWND child = Create(&childHandler, WS_CHILD | WS_VISIBLE, 10, 10, 40, 20, m_g.hwnd);
    ASSERT_TRUE(CreateCaret(child, nullptr, 1, 5));
    EXPECT_FALSE(HideCaret(m_g.hwnd)) << "not the caret's window";
    EXPECT_TRUE(ShowCaret(child));
    EXPECT_EQ(Pixel(10, 10), Inverted(m_background)) << "in the child's client coordinates";
    DestroyWindow(child);
    POINT pos{};
    EXPECT_FALSE(GetCaretPos(&pos)) << "gone with its window";
    Blink();  // the blink timer went too: nothing to dispatch against a dead window
    EXPECT_FALSE(ShowCaret(nullptr));
}
