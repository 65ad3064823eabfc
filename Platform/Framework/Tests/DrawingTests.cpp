#include "Platform/Base/TextConversion.h"
#include "Platform/Framework/Drawing/ClientDC.h"
#include "Platform/Framework/Drawing/DC.h"
#include "Platform/Framework/Drawing/ImageList.h"
#include "Platform/Framework/Drawing/PaintDC.h"
#include "Platform/Framework/Exceptions/ResourceException.h"
#include "Platform/Framework/Core/TempHandleMap.h"
#include "Platform/Framework/Drawing/WindowDC.h"
#include "Platform/Ui/Tests/UiTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <thread>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kYellow = RGB(255, 255, 0);

// A memory context with a colour bitmap of its own, white to start with.
class MemoryCanvas {
public:
    explicit MemoryCanvas(int width = 40, int height = 40)
    {
        EXPECT_TRUE(m_DC.CreateCompatibleDC(nullptr));
        EXPECT_TRUE(m_Bitmap.CreateBitmap(width, height, 1, 32, nullptr));
        m_pPrevious = m_DC.SelectObject(&m_Bitmap);
        m_DC.FillSolidRect(0, 0, width, height, kWhite);
    }
    ~MemoryCanvas() { m_DC.SelectObject(m_pPrevious); }

    int Count(COLORREF color, const RECT& area) const
    {
        int n = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                n += m_DC.GetPixel(x, y) == color ? 1 : 0;
        return n;
    }

    CDC m_DC;
    CBitmap m_Bitmap;
    CBitmap* m_pPrevious = nullptr;
};

}  // namespace

TEST(DrawingWrappers, ShapesFramesAndFillsLandOnTheirPixels)
{
    MemoryCanvas canvas;
    CDC& dc = canvas.m_DC;
    ASSERT_NE(canvas.m_pPrevious, nullptr) << "the context's first bitmap comes back as a wrapper";
    EXPECT_EQ(dc.GetBkColor(), kWhite) << "FillSolidRect leaves the background colour set";

    dc.Draw3dRect(CRect(2, 2, 12, 12), kRed, kBlue);
    EXPECT_EQ(dc.GetPixel(2, 2), kRed);
    EXPECT_EQ(dc.GetPixel(10, 2), kRed);
    EXPECT_EQ(dc.GetPixel(2, 10), kRed);
    EXPECT_EQ(dc.GetPixel(11, 2), kBlue) << "the right column is the second colour, top pixel included";
    EXPECT_EQ(dc.GetPixel(2, 11), kBlue);
    EXPECT_EQ(dc.GetPixel(11, 11), kBlue);
    EXPECT_EQ(dc.GetPixel(12, 12), kWhite);
    EXPECT_EQ(canvas.Count(kWhite, {3, 3, 11, 11}), 64) << "the inside stays untouched";

    CPen pen(PS_SOLID, 1, kGreen);
    CBrush brush(kYellow);
    CPen* oldPen = dc.SelectObject(&pen);
    CBrush* oldBrush = dc.SelectObject(&brush);
    ASSERT_NE(oldPen, nullptr);
    EXPECT_EQ(oldPen->m_hObject, GetStockObject(BLACK_PEN));
    EXPECT_EQ(dc.GetCurrentPen(), &pen) << "the owner is found, not a temporary";
    dc.Rectangle(CRect(20, 20, 30, 30));
    EXPECT_EQ(dc.GetPixel(20, 20), kGreen);
    EXPECT_EQ(dc.GetPixel(29, 25), kGreen);
    EXPECT_EQ(dc.GetPixel(25, 25), kYellow);
    EXPECT_EQ(dc.GetPixel(30, 30), kWhite);
    EXPECT_EQ(dc.SelectObject(oldPen), &pen);
    EXPECT_EQ(dc.SelectObject(oldBrush), &brush);

    dc.MoveTo(0, 35);
    EXPECT_EQ(dc.GetCurrentPosition(), CPoint(0, 35));
    dc.LineTo(40, 35);
    EXPECT_EQ(canvas.Count(RGB(0, 0, 0), {0, 35, 40, 36}), 40);

    CBrush blue(kBlue);
    dc.FrameRect(CRect(32, 0, 40, 8), &blue);
    EXPECT_EQ(dc.GetPixel(32, 0), kBlue);
    EXPECT_EQ(dc.GetPixel(35, 4), kWhite);
    dc.FillRect(CRect(34, 2, 38, 6), &blue);
    EXPECT_EQ(dc.GetPixel(35, 4), kBlue);
    dc.InvertRect(CRect(34, 2, 35, 3));
    EXPECT_EQ(dc.GetPixel(34, 2), kYellow) << "blue inverted";
}

TEST(DrawingWrappers, ClippingMappingCopiesAndText)
{
    MemoryCanvas canvas;
    CDC& dc = canvas.m_DC;
    const int saved = dc.SaveDC();
    CRgn region;
    ASSERT_TRUE(region.CreateRectRgn(10, 10, 20, 20));
    EXPECT_EQ(dc.SelectClipRgn(&region), SIMPLEREGION);
    dc.IntersectClipRect(CRect(15, 0, 40, 40));
    dc.FillSolidRect(0, 0, 40, 40, kRed);
    EXPECT_EQ(canvas.Count(kRed, {0, 0, 40, 40}), 50) << "only the clip's 5 x 10 pixels";
    CRect box;
    EXPECT_EQ(dc.GetClipBox(&box), SIMPLEREGION);
    EXPECT_EQ(box, CRect(15, 10, 20, 20));
    EXPECT_TRUE(dc.RestoreDC(saved));
    dc.FillSolidRect(0, 0, 1, 1, kRed);
    EXPECT_EQ(dc.GetPixel(0, 0), kRed) << "restoring dropped the clip";

    EXPECT_EQ(dc.SetViewportOrg(5, 5), CPoint(0, 0));
    CPoint point(1, 2);
    dc.LPtoDP(&point);
    EXPECT_EQ(point, CPoint(6, 7));
    dc.FillSolidRect(0, 0, 2, 2, kBlue);
    EXPECT_EQ(dc.GetPixel(0, 0), kBlue) << "pixels are read through the mapping too";
    dc.SetViewportOrg(0, 0);
    EXPECT_EQ(dc.GetPixel(5, 5), kBlue);

    MemoryCanvas copy(10, 10);
    EXPECT_TRUE(copy.m_DC.BitBlt(0, 0, 10, 10, &dc, 4, 4, SRCCOPY));
    EXPECT_EQ(copy.m_DC.GetPixel(1, 1), kBlue);
    EXPECT_EQ(copy.m_DC.GetPixel(3, 3), kWhite);

    CFont font;
    ASSERT_TRUE(font.CreatePointFont(100, L"DejaVu Sans", &dc));
    LOGFONTW log;
    ASSERT_EQ(font.GetLogFont(&log), static_cast<int>(sizeof(LOGFONTW)));
    EXPECT_EQ(log.lfHeight, -MulDiv(dc.GetDeviceCaps(LOGPIXELSY), 10, 72)) << "10 points at the device's resolution";
    EXPECT_STREQ(log.lfFaceName, L"DejaVu Sans");
    CFont screenFont;
    ASSERT_TRUE(screenFont.CreatePointFont(90, L"DejaVu Sans"));
    ASSERT_TRUE(screenFont.GetLogFont(&log));
    EXPECT_EQ(log.lfHeight, -MulDiv(dc.GetDeviceCaps(LOGPIXELSY), 9, 72)) << "without a context: the screen's";
    CFont* oldFont = dc.SelectObject(&font);
    dc.FillSolidRect(0, 0, 40, 40, kWhite);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(RGB(0, 0, 0));
    const CSize extent = dc.GetTextExtent(CString(L"Hg"));
    EXPECT_GT(extent.cx, 0);
    EXPECT_GT(extent.cy, 0);
    EXPECT_TRUE(dc.TextOut(0, 0, CString(L"Hg")));
    EXPECT_LT(canvas.Count(kWhite, {0, 0, extent.cx, extent.cy}), extent.cx * extent.cy) << "the text left ink";
    CRect measured(0, 0, 1000, 0);
    dc.DrawText(CString(L"Hg"), &measured, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(measured.Width(), extent.cx);
    dc.SelectObject(oldFont);
}

TEST(DrawingWrappers, DrawStatePlacesBitmapsAndTexts)
{
    MemoryCanvas source(4, 4);
    source.m_DC.FillSolidRect(0, 0, 4, 4, kRed);
    source.m_DC.SelectObject(source.m_pPrevious);
    MemoryCanvas canvas;
    EXPECT_TRUE(canvas.m_DC.DrawState(CPoint(5, 6), CSize(4, 4), &source.m_Bitmap, DSS_NORMAL));
    EXPECT_EQ(canvas.Count(kRed, {0, 0, 40, 40}), 16);
    EXPECT_EQ(canvas.m_DC.GetPixel(5, 6), kRed);
    EXPECT_EQ(canvas.m_DC.GetPixel(9, 10), kWhite);
    EXPECT_FALSE(canvas.m_DC.DrawState(CPoint(0, 0), CSize(4, 4), static_cast<CBitmap*>(nullptr), DSS_NORMAL));

    canvas.m_DC.SetTextColor(kBlue);
    EXPECT_TRUE(canvas.m_DC.DrawState(CPoint(0, 20), CSize(40, 20), L"&Ab", DSS_NORMAL));
    EXPECT_GT(canvas.Count(kBlue, {0, 20, 40, 40}), 0);
    EXPECT_EQ(canvas.Count(kBlue, {0, 0, 40, 20}), 0) << "nothing above the text's place";
}

TEST(DrawingWrappers, PrinterContextsAreKnownAsPrinting)
{
    CDC printer;
    const std::string path = ::testing::TempDir() + "framework-printer.pdf";
    ASSERT_TRUE(printer.Attach(CreatePdfPrinterDC(Text::Utf8ToWide(path).c_str())));
    EXPECT_TRUE(printer.IsPrinting());
    EXPECT_EQ(printer.GetDeviceCaps(LOGPIXELSX), 300);
    printer.DeleteDC();
    EXPECT_FALSE(printer.IsPrinting());
    std::remove(path.c_str());

    MemoryCanvas screen;
    EXPECT_FALSE(screen.m_DC.IsPrinting());
    screen.m_DC.SetMapMode(MM_ANISOTROPIC);
    screen.m_DC.SetWindowExt(100, 50);
    screen.m_DC.SetViewportExt(CSize(200, 25));
    EXPECT_EQ(screen.m_DC.GetWindowExt(), CSize(100, 50));
    EXPECT_EQ(screen.m_DC.GetViewportExt(), CSize(200, 25));
    CRect rect(10, 10, 20, 20);
    screen.m_DC.LPtoDP(&rect);
    EXPECT_EQ(rect, CRect(20, 5, 40, 10));
}

TEST(DrawingWrappers, WrappersOwnWhatTheyMadeOrWereGiven)
{
    HGDIOBJ made = nullptr;
    {
        CPen pen(PS_DASH, 1, kRed);
        made = pen.GetSafeHandle();
        EXPECT_EQ(GetObjectType(made), OBJ_PEN);
        LOGPEN log;
        ASSERT_TRUE(pen.GetLogPen(&log));
        EXPECT_EQ(log.lopnColor, kRed);
    }
    EXPECT_EQ(GetObjectType(made), 0u) << "the pen went with its wrapper";

    CBrush brush;
    ASSERT_TRUE(brush.CreateSolidBrush(kBlue));
    EXPECT_FALSE(brush.CreateSolidBrush(kRed)) << "a wrapper holds one object";
    HGDIOBJ handle = brush.Detach();
    EXPECT_EQ(brush.GetSafeHandle(), nullptr);
    EXPECT_EQ(GetObjectType(handle), OBJ_BRUSH) << "detached, not deleted";
    {
        CGdiObject owner;
        ASSERT_TRUE(owner.Attach(handle));
        CGdiObject rival;
        EXPECT_FALSE(rival.Attach(handle)) << "two owners would delete it twice";
        EXPECT_EQ(CGdiObject::FromHandle(handle), &owner);
        EXPECT_EQ(owner.GetObjectType(), OBJ_BRUSH);
    }
    EXPECT_EQ(GetObjectType(handle), 0u);

    {
        CBrush white;
        CBrush again;
        ASSERT_TRUE(white.CreateStockObject(WHITE_BRUSH));
        ASSERT_TRUE(again.CreateStockObject(WHITE_BRUSH)) << "stock objects are shared, not owned";
        CBrush face;
        ASSERT_TRUE(face.CreateSysColorBrush(COLOR_BTNFACE));
    }
    EXPECT_EQ(GetObjectType(GetStockObject(WHITE_BRUSH)), OBJ_BRUSH);
    EXPECT_EQ(GetObjectType(GetSysColorBrush(COLOR_BTNFACE)), OBJ_BRUSH);

    try {
        CBrush pattern(static_cast<CBitmap*>(nullptr));
        FAIL() << "a brush without a pattern must not be made";
    } catch (CResourceException* e) {
        e->Delete();
    }

    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateBitmap(7, 3, 1, 32, nullptr));
    BITMAP info;
    ASSERT_TRUE(bitmap.GetBitmap(&info));
    EXPECT_EQ(info.bmWidth, 7);
    EXPECT_EQ(info.bmHeight, 3);

    CRgn a;
    CRgn b;
    CRgn both;
    ASSERT_TRUE(a.CreateRectRgn(0, 0, 10, 10));
    ASSERT_TRUE(b.CreateRectRgn(5, 5, 15, 15));
    ASSERT_TRUE(both.CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(both.CombineRgn(&a, &b, RGN_OR), COMPLEXREGION);
    EXPECT_TRUE(both.PtInRegion(12, 12));
    EXPECT_FALSE(both.PtInRegion(12, 2));
    EXPECT_EQ(both.CombineRgn(&a, &b, RGN_AND), SIMPLEREGION);
    CRect box;
    both.GetRgnBox(&box);
    EXPECT_EQ(box, CRect(5, 5, 10, 10));
    EXPECT_EQ(both.CombineRgn(&a, nullptr, RGN_AND), ERROR) << "a missing operand is refused";
    EXPECT_EQ(both.CopyRgn(&b), SIMPLEREGION);
    EXPECT_TRUE(both.EqualRgn(&b));
}

TEST(DrawingWrappers, TemporaryWrappersLiveUntilTheIdleStepOfTheirThread)
{
    AfxDeleteTempObjects();
    ASSERT_EQ(AfxTempObjectCount(), 0u);
    HBRUSH raw = CreateSolidBrush(kRed);
    CBrush* temporary = CBrush::FromHandle(raw);
    ASSERT_NE(temporary, nullptr);
    EXPECT_EQ(temporary->m_hObject, raw);
    EXPECT_EQ(CBrush::FromHandle(raw), temporary) << "one wrapper per handle";
    EXPECT_EQ(CBrush::FromHandle(nullptr), nullptr);
    HDC memory = CreateCompatibleDC(nullptr);
    CDC* dc = CDC::FromHandle(memory);
    EXPECT_EQ(dc->GetSafeHdc(), memory);
    EXPECT_EQ(AfxTempObjectCount(), 2u);

    CBrush owned(kBlue);
    EXPECT_EQ(CBrush::FromHandle(owned), &owned);
    EXPECT_EQ(CGdiObject::FromHandle(owned.m_hObject), &owned);
    EXPECT_EQ(AfxTempObjectCount(), 2u) << "an owned handle needs no temporary";

    std::size_t otherThreadCount = 0;
    CBrush* otherThreadWrapper = nullptr;
    std::thread([&] {
        otherThreadWrapper = CBrush::FromHandle(raw);
        otherThreadCount = AfxTempObjectCount();
    }).join();
    EXPECT_NE(otherThreadWrapper, temporary) << "each thread has its own temporaries";
    EXPECT_EQ(otherThreadCount, 1u);

    AfxDeleteTempObjects();
    EXPECT_EQ(AfxTempObjectCount(), 0u);
    EXPECT_EQ(GetObjectType(raw), OBJ_BRUSH) << "a temporary never deletes its handle";
    EXPECT_EQ(GetObjectType(memory), OBJ_MEMDC);
    DeleteObject(raw);
    DeleteDC(memory);

    CDC owner;
    ASSERT_TRUE(owner.CreateCompatibleDC(nullptr));
    EXPECT_EQ(CDC::FromHandle(owner), &owner);
    CDC rival;
    EXPECT_FALSE(rival.Attach(owner.GetSafeHdc()));
    HDC detached = owner.Detach();
    EXPECT_TRUE(rival.Attach(detached)) << "a detached context can find a new owner";
    EXPECT_EQ(rival.m_hAttribDC, detached);
}

TEST(DrawingWrappers, ImageListsAddAndDrawImages)
{
    MemoryCanvas strip(16, 8);
    strip.m_DC.FillSolidRect(0, 0, 8, 8, kRed);
    strip.m_DC.FillSolidRect(8, 0, 8, 8, kBlue);
    strip.m_DC.SelectObject(strip.m_pPrevious);  // a bitmap goes into a list unselected

    CImageList images;
    ASSERT_TRUE(images.Create(8, 8, ILC_COLOR32, 0, 4));
    EXPECT_FALSE(images.Create(8, 8, ILC_COLOR32, 0, 4)) << "a wrapper holds one list";
    EXPECT_EQ(images.Add(&strip.m_Bitmap, static_cast<CBitmap*>(nullptr)), 0);
    EXPECT_EQ(images.GetImageCount(), 2);
    int width = 0;
    int height = 0;
    EXPECT_TRUE(images.GetIconSize(&width, &height));
    EXPECT_EQ(width, 8);
    EXPECT_EQ(CImageList::FromHandle(images), &images);

    MemoryCanvas target(20, 10);
    EXPECT_TRUE(images.Draw(&target.m_DC, 1, CPoint(2, 1), ILD_NORMAL));
    EXPECT_EQ(target.m_DC.GetPixel(2, 1), kBlue);
    EXPECT_EQ(target.m_DC.GetPixel(9, 8), kBlue);
    EXPECT_EQ(target.m_DC.GetPixel(10, 1), kWhite);
    EXPECT_TRUE(images.Remove(0));
    EXPECT_EQ(images.GetImageCount(), 1);

    HIMAGELIST handle = images.Detach();
    EXPECT_EQ(images.GetImageCount(), 0);
    CImageList adopted;
    ASSERT_TRUE(adopted.Attach(handle));
    EXPECT_EQ(adopted.GetImageCount(), 1);
    EXPECT_TRUE(adopted.DeleteImageList());
    EXPECT_FALSE(adopted.DeleteImageList());
}

TEST(DrawingWrappers, WindowContextsPaintAndGoBack)
{
    AfxDeleteTempObjects();
    UiTest::Handler handler;
    RECT painted{};
    handler.m_onMessage = [&](HWND hwnd, UINT message, WPARAM, LPARAM, LRESULT& result) {
        if (message != WM_PAINT)
            return false;
        CPaintDC dc(hwnd);
        painted = dc.m_ps.rcPaint;
        dc.FillSolidRect(&dc.m_ps.rcPaint, kGreen);
        result = 0;
        return true;
    };
    UiTest::WindowGuard guard{UiTest::Create(&handler, WS_POPUP | WS_VISIBLE, 0, 0, 60, 40)};
    ASSERT_NE(guard.hwnd, nullptr);
    UpdateWindow(guard.hwnd);
    UiTest::Drain();
    EXPECT_EQ(CRect(painted), CRect(0, 0, 60, 40));
    const auto id = NativeWindowOf(guard.hwnd);
    EXPECT_EQ(UiTest::Headless().PixelAt(id, 30, 20), kGreen);
    {
        CClientDC client(guard.hwnd);
        client.FillSolidRect(0, 0, 10, 10, kRed);
    }
    EXPECT_EQ(UiTest::Headless().PixelAt(id, 5, 5), kRed);
    {
        CWindowDC window(guard.hwnd);
        EXPECT_NE(window.GetSafeHdc(), nullptr);
    }
    EXPECT_EQ(AfxTempObjectCount(), 0u) << "the window contexts own no temporaries";
    try {
        CClientDC none(reinterpret_cast<HWND>(static_cast<std::intptr_t>(0x7654321)));
        FAIL() << "no context for a window that does not exist";
    } catch (CResourceException* e) {
        e->Delete();
    }
}
