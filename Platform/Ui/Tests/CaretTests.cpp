#include "Platform/Base/LastError.h"
#include "Platform/Base/Clock.h"
#include "Platform/Gdi/Bitmap.h"
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
        g.hwnd = Create(&h, WS_POPUP | WS_VISIBLE, 40, 40, 100, 60);
        UpdateWindow(g.hwnd);
        Drain();
        background = GetSysColor(COLOR_WINDOW);
    }
    void TearDown() override { DestroyCaret(); }

    COLORREF Pixel(int x, int y) const { return Headless().PixelAt(NativeWindowOf(g.hwnd), x, y).value_or(CLR_INVALID); }
    void Blink()
    {
        Platform::Clock::Advance(GetCaretBlinkTime());
        Drain();
    }

    Platform::ManualClockScope clock{5000000};
    Handler h;
    WindowGuard g;
    COLORREF background = 0;
};

}

TEST_F(CaretTest, ShowsInvertedAndBlinksOnTheClock)
{
    ASSERT_TRUE(CreateCaret(g.hwnd, nullptr, 2, 12));
    ASSERT_TRUE(SetCaretPos(10, 5));
    EXPECT_EQ(Pixel(10, 5), background) << "a new caret is hidden";
    ASSERT_TRUE(ShowCaret(g.hwnd));
    EXPECT_EQ(Pixel(10, 5), Inverted(background));
    EXPECT_EQ(Pixel(11, 16), Inverted(background));
    EXPECT_EQ(Pixel(12, 5), background) << "two pixels wide";
    EXPECT_EQ(Pixel(10, 17), background) << "twelve high";
    Platform::Clock::Advance(GetCaretBlinkTime() - 1);
    Drain();
    EXPECT_EQ(Pixel(10, 5), Inverted(background)) << "not yet";
    Platform::Clock::Advance(1);
    Drain();
    EXPECT_EQ(Pixel(10, 5), background);
    Blink();
    EXPECT_EQ(Pixel(10, 5), Inverted(background));

    // Moving it takes it off the old place and shows it on the new at once.
    Blink();
    ASSERT_TRUE(SetCaretPos(30, 20));
    EXPECT_EQ(Pixel(10, 5), background);
    EXPECT_EQ(Pixel(30, 20), Inverted(background));
    POINT pos{};
    ASSERT_TRUE(GetCaretPos(&pos));
    EXPECT_EQ(pos.x, 30);
    EXPECT_EQ(pos.y, 20);

    ASSERT_TRUE(DestroyCaret());
    EXPECT_EQ(Pixel(30, 20), background) << "destroying takes it off";
    EXPECT_FALSE(DestroyCaret());
}

TEST_F(CaretTest, HidingCountsAndAnInfiniteBlinkTimeKeepsItOn)
{
    ASSERT_TRUE(CreateCaret(g.hwnd, nullptr, 3, 3));
    ShowCaret(g.hwnd);
    EXPECT_TRUE(HideCaret(g.hwnd));
    EXPECT_TRUE(HideCaret(nullptr));
    EXPECT_EQ(Pixel(0, 0), background);
    EXPECT_TRUE(ShowCaret(g.hwnd));
    Blink();
    EXPECT_EQ(Pixel(0, 0), background) << "hidden twice, shown once";
    EXPECT_TRUE(ShowCaret(nullptr));
    EXPECT_EQ(Pixel(0, 0), Inverted(background));

    const UINT old = GetCaretBlinkTime();
    ASSERT_TRUE(SetCaretBlinkTime(INFINITE));
    for (int i = 0; i < 3; ++i) {
        Platform::Clock::Advance(old);
        Drain();
        EXPECT_EQ(Pixel(0, 0), Inverted(background));
    }
    EXPECT_FALSE(SetCaretBlinkTime(0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    ASSERT_TRUE(SetCaretBlinkTime(old));
    EXPECT_EQ(GetCaretBlinkTime(), old);
}

TEST_F(CaretTest, PaintingNeverLeavesAStaleMark)
{
    ASSERT_TRUE(CreateCaret(g.hwnd, nullptr, 2, 10));
    SetCaretPos(20, 10);
    ShowCaret(g.hwnd);
    ASSERT_EQ(Pixel(20, 10), Inverted(background));

    // A repaint erases the window; the caret comes back over the new pixels.
    InvalidateRect(g.hwnd, nullptr, TRUE);
    UpdateWindow(g.hwnd);
    EXPECT_EQ(Pixel(20, 10), Inverted(background));
    HideCaret(g.hwnd);
    EXPECT_EQ(Pixel(20, 10), background);
    ShowCaret(g.hwnd);

    // Drawing through GetDC too.
    HDC dc = GetDC(g.hwnd);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(Pixel(20, 10), background) << "off while the context is out";
    HBRUSH red = CreateSolidBrush(kRed);
    const RECT all{0, 0, 100, 60};
    FillRect(dc, &all, red);
    DeleteObject(red);
    ReleaseDC(g.hwnd, dc);
    EXPECT_EQ(Pixel(20, 10), Inverted(kRed));
    EXPECT_EQ(Pixel(40, 10), kRed);
    // Its blinking during the painting resumes after it.
    Blink();
    EXPECT_EQ(Pixel(20, 10), kRed);
}

TEST_F(CaretTest, GreyAndBitmapShapes)
{
    ASSERT_TRUE(CreateCaret(g.hwnd, CARET_GREY, 4, 4));
    SetCaretPos(10, 10);
    ShowCaret(g.hwnd);
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
    ASSERT_TRUE(CreateCaret(g.hwnd, shape, 0, 0));
    DeleteObject(shape);  // the caret keeps its own copy
    EXPECT_EQ(Pixel(10, 10), background) << "the grey caret went with the new one";
    SetCaretPos(50, 30);
    ShowCaret(g.hwnd);
    EXPECT_EQ(Pixel(50, 30), Inverted(background));
    EXPECT_EQ(Pixel(52, 32), Inverted(background));
    EXPECT_EQ(Pixel(53, 30), background);
    EXPECT_EQ(Pixel(50, 33), background);
}

TEST_F(CaretTest, BelongsToItsThreadAndGoesWithItsWindow)
{
    EXPECT_FALSE(SetCaretPos(1, 1)) << "no caret yet";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    BOOL created = TRUE;
    DWORD error = 0;
    std::thread other([&] {
        created = CreateCaret(g.hwnd, nullptr, 1, 1);
        error = GetLastError();
    });
    other.join();
    EXPECT_FALSE(created) << "another thread's window";
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_ACCESS_DENIED));

    Handler childHandler;
    HWND child = Create(&childHandler, WS_CHILD | WS_VISIBLE, 10, 10, 40, 20, g.hwnd);
    ASSERT_TRUE(CreateCaret(child, nullptr, 1, 5));
    EXPECT_FALSE(HideCaret(g.hwnd)) << "not the caret's window";
    EXPECT_TRUE(ShowCaret(child));
    EXPECT_EQ(Pixel(10, 10), Inverted(background)) << "in the child's client coordinates";
    DestroyWindow(child);
    POINT pos{};
    EXPECT_FALSE(GetCaretPos(&pos)) << "gone with its window";
    Blink();  // the blink timer went too: nothing to dispatch against a dead window
    EXPECT_FALSE(ShowCaret(nullptr));
}
