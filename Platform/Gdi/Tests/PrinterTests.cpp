#include "Platform/Base/LastError.h"
#include "Platform/Base/Tests/FileBytes.h"
#include "Platform/Base/WinError.h"
#include "Platform/Gdi/Region.h"
#include "Platform/Gdi/DeviceContext.h"
#include "Platform/Gdi/Draw.h"
#include "Platform/Gdi/PrinterDC.h"
#include "Platform/Gdi/Text.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <functional>
#include <utility>
#include <vector>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string TempPath(const char* name)
{
    return "/tmp/zell-gdi-" + std::to_string(getpid()) + "-" + name;
}

std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

using TestSupport::ReadFile;

}  // namespace

TEST(PrinterDCTest, WritesAPdfWithOnePagePerStartPage)
{
    const std::string path = TempPath("two-pages.pdf");
    PdfPrinterSettings settings;
    settings.dotsPerInch = 100;
    HDC dc = CreatePdfPrinterDC(Wide(path).c_str(), settings);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 100);
    EXPECT_EQ(GetDeviceCaps(dc, TECHNOLOGY), DT_RASPRINTER);
    EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 787);  // (210 - 10) mm at 100 dpi
    EXPECT_EQ(GetDeviceCaps(dc, PHYSICALOFFSETX), 20);
    EXPECT_EQ(GetDeviceCaps(dc, PHYSICALWIDTH), 787 + 40);
    EXPECT_EQ(StartPage(dc), SP_ERROR);  // no document yet
    DOCINFO info;
    info.lpszDocName = L"Grid";
    ASSERT_GT(StartDoc(dc, &info), 0);
    for (int page = 0; page < 2; ++page) {
        ASSERT_GT(StartPage(dc), 0);
        EXPECT_EQ(GetPixel(dc, 10, 10), RGB(255, 255, 255));
        Rectangle(dc, 10, 10, 200, 100);
        EXPECT_EQ(GetPixel(dc, 10, 10), RGB(0, 0, 0));
        TextOut(dc, 20, 20, L"Page", 4);
        ASSERT_GT(EndPage(dc), 0);
    }
    EXPECT_EQ(EndPage(dc), SP_ERROR);
    ASSERT_GT(EndDoc(dc), 0);
    DeleteDC(dc);
    const std::string pdf = ReadFile(path);
    EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
    EXPECT_NE(pdf.find("/Count 2"), std::string::npos);
    std::remove(path.c_str());
}

TEST(PrinterDCTest, AbortLeavesNoFileAndBadPathsFail)
{
    const std::string path = TempPath("aborted.pdf");
    HDC dc = CreatePdfPrinterDC(Wide(path).c_str());
    ASSERT_GT(StartDoc(dc, nullptr), 0);
    StartPage(dc);
    EXPECT_GT(AbortDoc(dc), 0);
    EXPECT_TRUE(ReadFile(path).empty());
    DOCINFO bad;
    bad.lpszOutput = L"/nonexistent-folder/x.pdf";
    EXPECT_EQ(StartDoc(dc, &bad), SP_ERROR);
    DeleteDC(dc);
    PdfPrinterSettings silly;
    silly.marginMm = 200;
    EXPECT_EQ(CreatePdfPrinterDC(L"/tmp/x.pdf", silly), nullptr);
    EXPECT_EQ(StartDoc(nullptr, nullptr), SP_ERROR);
}

namespace {

int g_abortCalls = 0;
int g_abortAfter = 0;

BOOL StopAfterSomePages(HDC, int error)
{
    EXPECT_EQ(error, 0);
    return ++g_abortCalls < g_abortAfter;
}

}  // namespace

TEST(PrinterDCTest, TheAbortProcedureIsAskedBetweenPagesAndCanStopTheDocument)
{
    const std::string path = TempPath("abort-proc.pdf");
    PdfPrinterSettings settings;
    settings.dotsPerInch = 72;
    HDC dc = CreatePdfPrinterDC(Wide(path).c_str(), settings);
    ASSERT_GT(SetAbortProc(dc, StopAfterSomePages), 0);
    g_abortCalls = 0;
    g_abortAfter = 2;
    ASSERT_GT(StartDoc(dc, nullptr), 0);
    ASSERT_GT(StartPage(dc), 0);
    EXPECT_GT(EndPage(dc), 0);
    ASSERT_GT(StartPage(dc), 0);
    EXPECT_EQ(EndPage(dc), SP_APPABORT);
    EXPECT_EQ(GetLastError(), ERROR_PRINT_CANCELLED);
    EXPECT_EQ(g_abortCalls, 2);
    // The document is gone: no file, and no further page.
    EXPECT_TRUE(ReadFile(path).empty());
    EXPECT_EQ(StartPage(dc), SP_ERROR);

    // Without a procedure nothing is asked.
    ASSERT_GT(SetAbortProc(dc, nullptr), 0);
    ASSERT_GT(StartDoc(dc, nullptr), 0);
    ASSERT_GT(StartPage(dc), 0);
    EXPECT_GT(EndPage(dc), 0);
    EXPECT_GT(EndDoc(dc), 0);
    EXPECT_EQ(g_abortCalls, 2);
    DeleteDC(dc);
    std::remove(path.c_str());
    EXPECT_EQ(SetAbortProc(nullptr, StopAfterSomePages), SP_ERROR);
}

namespace {

// One page with the text drawn after `prepare`; the PDF as written.
std::string PageWithText(const char* name, const std::function<void(HDC)>& prepare)
{
    const std::string path = TempPath(name);
    PdfPrinterSettings settings;
    settings.dotsPerInch = 100;
    HDC dc = CreatePdfPrinterDC(Wide(path).c_str(), settings);
    StartDoc(dc, nullptr);
    StartPage(dc);
    prepare(dc);
    TextOut(dc, 20, 20, L"Coupler", 7);
    EndPage(dc);
    EndDoc(dc);
    DeleteDC(dc);
    const std::string pdf = ReadFile(path);
    std::remove(path.c_str());
    return pdf;
}

}  // namespace

TEST(PrinterDCTest, DrawnTextIsInThePdfAsTextUnlessItWasClippedAway)
{
    // The page picture alone carries no font; text drawn on it adds one.
    EXPECT_NE(PageWithText("text.pdf", [](HDC) {}).find("/FontFile"), std::string::npos);
    EXPECT_EQ(PageWithText("clipped.pdf", [](HDC dc) { IntersectClipRect(dc, 300, 300, 400, 400); })
                  .find("/FontFile"),
              std::string::npos);
}

TEST(PrinterDCTest, DocumentsOfTheContextsOwnFileGoToItsDeliveryAndItsFailureFailsEndDoc)
{
    const std::string own = TempPath("own.pdf");
    HDC dc = CreatePdfPrinterDC(Wide(own).c_str());
    std::vector<std::pair<std::string, std::wstring>> delivered;
    BOOL answer = TRUE;
    ASSERT_TRUE(SetPrinterDelivery(dc, [&](const std::string& path, const std::wstring& name) {
        delivered.emplace_back(path, name);
        EXPECT_EQ(ReadFile(path).substr(0, 5), "%PDF-");  // complete when handed over
        if (!answer)
            SetLastError(ERROR_GEN_FAILURE);
        return answer;
    }));
    DOCINFO info;
    info.lpszDocName = L"Grid";
    ASSERT_GT(StartDoc(dc, &info), 0);
    ASSERT_GT(EndDoc(dc), 0);
    ASSERT_EQ(delivered.size(), 1u);
    EXPECT_EQ(delivered[0].first, own);
    EXPECT_EQ(delivered[0].second, L"Grid");

    // A document sent to a file of the caller's is the caller's.
    const std::string other = TempPath("other.pdf");
    const std::wstring otherName = Wide(other);
    info.lpszOutput = otherName.c_str();
    ASSERT_GT(StartDoc(dc, &info), 0);
    ASSERT_GT(EndDoc(dc), 0);
    EXPECT_EQ(delivered.size(), 1u);
    EXPECT_FALSE(ReadFile(other).empty());

    answer = FALSE;
    ASSERT_GT(StartDoc(dc, nullptr), 0);
    EXPECT_EQ(EndDoc(dc), SP_ERROR);
    EXPECT_EQ(GetLastError(), ERROR_GEN_FAILURE);
    EXPECT_EQ(delivered.size(), 2u);
    DeleteDC(dc);
    EXPECT_FALSE(SetPrinterDelivery(dc, nullptr));
    std::remove(own.c_str());
    std::remove(other.c_str());
}
