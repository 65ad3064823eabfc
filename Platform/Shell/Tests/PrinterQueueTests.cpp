#include "Platform/Shell/PrinterQueue.h"
#include "Platform/Shell/Tests/ShellTestSupport.h"

#include "Platform/Base/LastError.h"
#include "Platform/Base/WinError.h"
#include "Platform/Gdi/DeviceContext.h"
#include "Platform/Gdi/Text.h"

#include <gtest/gtest.h>

#include <regex>

using namespace ShellTest;
using namespace ZELL::Shell;

namespace {

class PrinterQueueTest : public StandInTest {
protected:
    void PrintSystemWithPrinters()
    {
        StandIn("lpstat", "case \"$1\" in\n"
                          "-e) printf 'Office\\nLabel_2\\nbad name\\n-x\\n' ;;\n"
                          "-d) echo 'system default destination: Label_2' ;;\n"
                          "esac\n");
    }
};

// Page count and page sizes (in points) of a PDF, read from its page objects.
struct PdfPages {
    int count = 0;
    std::vector<std::string> mediaBoxes;
};

PdfPages ReadPdfPages(const std::string& pdf)
{
    PdfPages pages;
    const std::regex page(R"(/Type\s*/Page[^s])");
    pages.count = static_cast<int>(std::distance(std::sregex_iterator(pdf.begin(), pdf.end(), page), {}));
    const std::regex box(R"(/MediaBox\s*\[\s*([0-9. ]+?)\s*\])");
    for (auto it = std::sregex_iterator(pdf.begin(), pdf.end(), box); it != std::sregex_iterator(); ++it)
        pages.mediaBoxes.push_back((*it)[1]);
    return pages;
}

}  // namespace

TEST_F(PrinterQueueTest, PrintersAndTheDefaultComeFromThePrintSystem)
{
    PrintSystemWithPrinters();
    EXPECT_EQ(EnumeratePrinters(), (std::vector<std::wstring>{L"Office", L"Label_2"}));
    EXPECT_EQ(DefaultPrinterName(), L"Label_2");
    wchar_t name[8] = {};
    DWORD size = 3;
    EXPECT_FALSE(GetDefaultPrinterW(name, &size));
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(size, 8u);
    EXPECT_TRUE(GetDefaultPrinterW(name, &size));
    EXPECT_EQ(std::wstring(name), L"Label_2");
    EXPECT_NE(ReadFile(m_log).find("call\n[-e]\ncall\n[-d]\n"), std::string::npos);
}

TEST_F(PrinterQueueTest, NoPrintSystemOrNoPrinterMeansAnEmptyList)
{
    StandIn("lpstat", "echo 'lpstat: No destinations added.' >&2\necho 'no system default destination'\nexit 1\n");
    EXPECT_TRUE(EnumeratePrinters().empty());
    EXPECT_EQ(DefaultPrinterName(), L"");
    DWORD size = 0;
    EXPECT_FALSE(GetDefaultPrinterW(nullptr, &size));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);

    StandIn("lpstat", "echo 'no system default destination'\n");
    EXPECT_EQ(DefaultPrinterName(), L"");

    std::filesystem::remove(m_bin / "lpstat");
    CScopedVariable path(L"PATH", Wide(m_bin));
    EXPECT_TRUE(EnumeratePrinters().empty());
    EXPECT_EQ(DefaultPrinterName(), L"");
}

TEST_F(PrinterQueueTest, TheDefaultPaperIsThePrintersOrA4)
{
    StandIn("lpoptions", "echo 'Duplex/2-Sided: *None DuplexNoTumble'\n"
                         "echo 'PageSize/Media Size: A4 *Letter Legal Custom.WIDTHxHEIGHT'\n");
    PaperSize paper = DefaultPaper(L"Office");
    EXPECT_TRUE(paper.fromPrinter);
    EXPECT_EQ(paper.name, L"Letter");
    EXPECT_DOUBLE_EQ(paper.widthMm, 215.9);
    EXPECT_DOUBLE_EQ(paper.heightMm, 279.4);
    EXPECT_EQ(ReadFile(m_log), "call\n[-p]\n[Office]\n[-l]\n");

    StandIn("lpoptions", "echo 'PageSize/Media Size: *Postcard.Fullbleed'\n");
    EXPECT_FALSE(DefaultPaper(L"Office").fromPrinter);
    StandIn("lpoptions", "echo 'lpoptions: Unknown printer or class.' >&2\nexit 1\n");
    paper = DefaultPaper(L"Office");
    EXPECT_FALSE(paper.fromPrinter);
    EXPECT_EQ(paper.name, L"A4");
    EXPECT_DOUBLE_EQ(paper.widthMm, 210.0);

    EXPECT_DOUBLE_EQ(PaperSizeByName(L"a4.Borderless")->heightMm, 297.0);
    EXPECT_DOUBLE_EQ(PaperSizeByName(L"iso_a5_148x210mm")->widthMm, 148.0);
    EXPECT_DOUBLE_EQ(PaperSizeByName(L"na_letter_8.5x11in")->heightMm, 279.4);
    EXPECT_FALSE(PaperSizeByName(L"om_huge_99999x1mm"));
    EXPECT_FALSE(PaperSizeByName(L"x_axmm"));
}

TEST_F(PrinterQueueTest, AJobGoesToLpAsAnArgumentVectorAndItsFailureIsReported)
{
    StandIn("lp", "echo 'request id is Office-12 (1 file(s))'\n");
    WriteFile(m_folder / "-job; rm x.pdf", "%PDF-");
    PrintJob job;
    job.printer = L"Office";
    job.file = Wide(m_folder / "-job; rm x.pdf");
    job.copies = 2;
    job.title = L"Grid \"A\" & B";
    job.options = {L"media=A4", L"sides=two-sided-long-edge"};
    std::wstring message;
    ASSERT_TRUE(SubmitPrintJob(job, message));
    EXPECT_EQ(message, L"Office-12");
    EXPECT_EQ(ReadFile(m_log), "call\n[-d]\n[Office]\n[-n]\n[2]\n[-t]\n[Grid \"A\" & B]\n[-o]\n[media=A4]\n[-o]\n"
                               "[sides=two-sided-long-edge]\n[" + (m_folder / "-job; rm x.pdf").string() + "]\n");

    StandIn("lp", "echo 'lp: The printer or class does not exist.' >&2\nexit 1\n");
    EXPECT_FALSE(SubmitPrintJob(job, message));
    EXPECT_EQ(GetLastError(), ERROR_GEN_FAILURE);
    EXPECT_EQ(message, L"lp: The printer or class does not exist.");

    const auto refused = [&](PrintJob bad, DWORD error) {
        std::filesystem::remove(m_log);
        EXPECT_FALSE(SubmitPrintJob(bad, message));
        EXPECT_EQ(GetLastError(), error);
        EXPECT_FALSE(std::filesystem::exists(m_log));  // lp was not asked
    };
    PrintJob bad = job;
    bad.printer = L"-d";
    refused(bad, ERROR_INVALID_PRINTER_NAME);
    bad.printer = L"two words";
    refused(bad, ERROR_INVALID_PRINTER_NAME);
    bad = job;
    bad.copies = 0;
    refused(bad, ERROR_INVALID_PARAMETER);
    bad = job;
    bad.options = {L"-h evil"};
    refused(bad, ERROR_INVALID_PARAMETER);
    bad = job;
    bad.file = Wide(m_folder / "missing.pdf");
    refused(bad, ERROR_FILE_NOT_FOUND);

    std::filesystem::remove(m_bin / "lp");
    CScopedVariable path(L"PATH", Wide(m_bin));
    EXPECT_FALSE(SubmitPrintJob(job, message));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(message.empty());
}

TEST_F(PrinterQueueTest, APdfJobHasThePagesOfThePrintersPaper)
{
    StandIn("lpoptions", "echo 'PageSize/Media Size: A4 *Letter'\n");
    StandIn("lp", "echo 'request id is Office-13 (1 file(s))'\n");
    PdfPrinterSettings settings = PrinterPdfSettings(L"Office");
    settings.dotsPerInch = 100;
    const std::filesystem::path pdf = m_folder / "three pages.pdf";
    HDC dc = CreatePdfPrinterDC(Wide(pdf).c_str(), settings);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(GetDeviceCaps(dc, PHYSICALWIDTH), 850);   // 8.5 in at 100 dpi
    EXPECT_EQ(GetDeviceCaps(dc, PHYSICALHEIGHT), 1100);
    DOCINFOW info;
    info.lpszDocName = L"Grid";
    ASSERT_GT(StartDocW(dc, &info), 0);
    for (int page = 1; page <= 3; ++page) {
        ASSERT_GT(StartPage(dc), 0);
        const std::wstring text = L"Page " + std::to_wstring(page);
        TextOutW(dc, 20, 20, text.c_str(), static_cast<int>(text.size()));
        ASSERT_GT(EndPage(dc), 0);
    }
    ASSERT_GT(EndDoc(dc), 0);
    DeleteDC(dc);

    const PdfPages pages = ReadPdfPages(ReadFile(pdf));
    EXPECT_EQ(pages.count, 3);
    ASSERT_FALSE(pages.mediaBoxes.empty());
    for (const std::string& box : pages.mediaBoxes)
        EXPECT_EQ(box, "0 0 612 792");

    PrintJob job;
    job.printer = L"Office";
    job.file = Wide(pdf);
    std::wstring message;
    EXPECT_TRUE(SubmitPrintJob(job, message));
    EXPECT_NE(ReadFile(m_log).find("[-n]\n[1]\n[" + pdf.string() + "]\n"), std::string::npos);
}
