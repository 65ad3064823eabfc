#include "Common/Skin/Drawing/ZellMemDC.h"

#include "Common/Skin/Tests/DrawingTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

using namespace ZELL::Skin;

TEST(ZellMemDC, DrawingLandsOnTheTargetOnlyWhenTheBufferGoes)
{
    ControlsTest::CCanvas canvas(20, 20);
    CDC target;
    ASSERT_TRUE(target.Attach(canvas.Dc()));
    target.SetBkColor(RGB(0, 0, 200));
    const CRect area(5, 5, 15, 15);
    {
        CZellMemDC memory(&target, &area);
        ASSERT_TRUE(memory.IsBuffered());
        // Started with the target's background colour, in target coordinates.
        EXPECT_EQ(memory.GetPixel(5, 5), RGB(0, 0, 200));
        memory.FillSolidRect(CRect(6, 6, 8, 8), RGB(255, 0, 0));
        EXPECT_EQ(canvas.At(6, 6), RGB(255, 255, 255));
    }
    EXPECT_EQ(canvas.At(6, 6), RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(10, 10), RGB(0, 0, 200));
    EXPECT_EQ(canvas.At(4, 4), RGB(255, 255, 255));
    EXPECT_EQ(canvas.At(15, 15), RGB(255, 255, 255));
    target.Detach();
}

TEST(ZellMemDC, CopiedBackgroundAndANullRectangleCoverTheClipBox)
{
    ControlsTest::CCanvas canvas(20, 10);
    canvas.Fill(RECT{0, 0, 10, 10}, RGB(0, 255, 0));
    CDC target;
    ASSERT_TRUE(target.Attach(canvas.Dc()));
    {
        CZellMemDC memory(&target, nullptr, TRUE);
        EXPECT_EQ(memory.GetRect(), CRect(0, 0, 20, 10));
        EXPECT_EQ(memory.GetPixel(2, 2), RGB(0, 255, 0));
        EXPECT_EQ(memory.GetPixel(12, 2), RGB(255, 255, 255));
        memory.FillSolidRect(CRect(18, 8, 20, 10), RGB(1, 2, 3));
    }
    EXPECT_EQ(canvas.At(2, 2), RGB(0, 255, 0));
    EXPECT_EQ(canvas.At(19, 9), RGB(1, 2, 3));
    target.Detach();
}

TEST(ZellMemDC, APrinterContextIsDrawnOnDirectly)
{
    const auto pdf = std::filesystem::temp_directory_path() / (std::to_string(getpid()) + "-memdc.pdf");
    HDC printer = CreatePdfPrinterDC(pdf.wstring().c_str());
    ASSERT_NE(printer, nullptr);
    CDC target;
    ASSERT_TRUE(target.Attach(printer));
    ASSERT_TRUE(target.IsPrinting());
    {
        CZellMemDC memory(&target, CRect(0, 0, 50, 50));
        EXPECT_FALSE(memory.IsBuffered());
        EXPECT_EQ(memory.GetSafeHdc(), printer);
    }
    // The borrowed context is still the target's.
    EXPECT_EQ(target.GetSafeHdc(), printer);
    EXPECT_EQ(target.GetDeviceCaps(TECHNOLOGY), DT_RASPRINTER);
    target.DeleteDC();
    std::filesystem::remove(pdf);
}
