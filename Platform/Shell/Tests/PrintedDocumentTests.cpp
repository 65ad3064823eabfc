// Documents printed through the printer contexts of the print dialog's
// choices: pages of the printer's paper, text that can be taken out again,
// the job handed to `lp`, and no document left or reported after a failure.
#include "Platform/Shell/PrinterDevice.h"
#include "Platform/Shell/Tests/PrintTestSupport.h"

#include "Platform/Base/LastError.h"
#include "Platform/Base/WinError.h"

#include <gtest/gtest.h>

using namespace ShellTest;
using namespace ZELL::Shell;

namespace {

class PrintedDocumentTest : public PrintSystemTest {
protected:
    PrinterChoice Printer(const wchar_t* name)
    {
        PrinterChoice choice;
        choice.printer = name;
        choice.paper = DefaultPaper(name);
        return choice;
    }
    PrinterChoice File(const std::filesystem::path& file)
    {
        PrinterChoice choice;
        choice.file = Wide(file);
        return choice;
    }
    // Files the spooling left behind.
    std::vector<std::filesystem::path> SpoolFiles() const
    {
        std::vector<std::filesystem::path> found;
        for (const auto& entry : std::filesystem::directory_iterator(m_spool))
            found.push_back(entry.path());
        return found;
    }
};

}  // namespace

TEST_F(PrintedDocumentTest, AThreePageDocumentGoesToLpOnThePrintersPaperWithItsText)
{
    PrintSystemWithPrinters();
    const std::filesystem::path sent = m_folder / "sent.pdf";
    LpKeepingTheFile(sent);
    PrinterChoice choice = Printer(L"Label_2");
    choice.copies = 2;
    HDC dc = CreatePrinterContext(choice);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 300);
    EXPECT_EQ(GetDeviceCaps(dc, PHYSICALWIDTH), 2550);  // 8.5 in
    EXPECT_EQ(GetDeviceCaps(dc, PHYSICALHEIGHT), 3300);
    EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 2550 - 2 * GetDeviceCaps(dc, PHYSICALOFFSETX));
    EXPECT_EQ(GetDeviceCaps(dc, VERTRES), 3300 - 2 * GetDeviceCaps(dc, PHYSICALOFFSETY));
    ASSERT_TRUE(PrintDocument(dc, 3, L"Coupler grid"));
    DeleteDC(dc);

    const std::string calls = ReadFile(m_log);
    EXPECT_NE(calls.find("[-d]\n[Label_2]\n[-n]\n[2]\n[-t]\n[Coupler grid]\n"), std::string::npos) << calls;
    const PdfFacts facts = ReadPdfFacts(sent);
    EXPECT_EQ(facts.pages, 3);
    EXPECT_EQ(facts.pageSize.rfind("612 x 792 pts", 0), 0u) << facts.pageSize;
    const std::string text = PopplerOutput(L"pdftotext", sent);
    for (const char* line : {"Page 1 of 3", "Page 2 of 3", "Page 3 of 3"})
        EXPECT_NE(text.find(line), std::string::npos) << text;
    EXPECT_NE(text.find("Coupler settings"), std::string::npos);
    EXPECT_TRUE(SpoolFiles().empty());  // the spooled copy went with the job
}

TEST_F(PrintedDocumentTest, SaveAsPdfWritesTheFileInTheChosenOrientation)
{
    NoPrintSystem();
    const std::filesystem::path file = m_folder / "grid print.pdf";
    PrinterChoice choice = File(file);
    choice.landscape = true;
    HDC dc = CreatePrinterContext(choice);
    ASSERT_NE(dc, nullptr);
    EXPECT_GT(GetDeviceCaps(dc, PHYSICALWIDTH), GetDeviceCaps(dc, PHYSICALHEIGHT));
    ASSERT_TRUE(PrintDocument(dc, 2));
    DeleteDC(dc);
    const PdfFacts facts = ReadPdfFacts(file);
    EXPECT_EQ(facts.pages, 2);
    EXPECT_EQ(facts.pageSize.rfind("841.89 x 595.27", 0), 0u) << facts.pageSize;
    EXPECT_NE(PopplerOutput(L"pdftotext", file).find("Page 2 of 2"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(m_log));  // nothing went to lp
}

TEST_F(PrintedDocumentTest, ARefusedJobFailsEndDocAndLeavesNoFile)
{
    PrintSystemWithPrinters();
    StandIn("lp", "echo 'lp: The printer or class does not exist.' >&2\nexit 1\n");
    HDC dc = CreatePrinterContext(Printer(L"Office"));
    ASSERT_NE(dc, nullptr);
    SetLastError(0);
    EXPECT_FALSE(PrintDocument(dc, 1));
    EXPECT_EQ(GetLastError(), ERROR_GEN_FAILURE);
    DeleteDC(dc);
    EXPECT_TRUE(SpoolFiles().empty());

    std::filesystem::remove(m_bin / "lp");
    CScopedVariable path(L"PATH", Wide(m_bin));
    dc = CreatePrinterContext(Printer(L"Office"));
    ASSERT_NE(dc, nullptr);
    EXPECT_FALSE(PrintDocument(dc, 1));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);  // no `lp` at all
    DeleteDC(dc);

    PrinterChoice bad = Printer(L"Office");
    bad.printer = L"-o evil";
    EXPECT_EQ(CreatePrinterContext(bad), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PRINTER_NAME);
}

TEST_F(PrintedDocumentTest, AnAbortedDocumentIsNeitherKeptNorSent)
{
    PrintSystemWithPrinters();
    const std::filesystem::path sent = m_folder / "sent.pdf";
    LpKeepingTheFile(sent);
    HDC dc = CreatePrinterContext(Printer(L"Office"));
    ASSERT_NE(dc, nullptr);
    DOCINFOW info;
    ASSERT_GT(StartDocW(dc, &info), 0);
    ASSERT_GT(StartPage(dc), 0);
    TextOutW(dc, 10, 10, L"half", 4);
    EXPECT_GT(AbortDoc(dc), 0);
    EXPECT_EQ(EndDoc(dc), SP_ERROR);  // nothing left to end, and no success
    EXPECT_FALSE(std::filesystem::exists(sent));

    // A document sent to a file of the caller's stays there and goes nowhere.
    const std::filesystem::path own = m_folder / "own.pdf";
    const std::wstring ownName = Wide(own);
    info.lpszOutput = ownName.c_str();
    ASSERT_GT(StartDocW(dc, &info), 0);
    ASSERT_GT(StartPage(dc), 0);
    ASSERT_GT(EndPage(dc), 0);
    ASSERT_GT(EndDoc(dc), 0);
    EXPECT_TRUE(std::filesystem::exists(own));
    EXPECT_FALSE(std::filesystem::exists(sent));
    DeleteDC(dc);

    const std::filesystem::path file = m_folder / "aborted.pdf";
    dc = CreatePrinterContext(File(file));
    SetAbortProc(dc, [](HDC, int) -> BOOL { return FALSE; });
    EXPECT_FALSE(PrintDocument(dc, 2));
    EXPECT_EQ(GetLastError(), ERROR_PRINT_CANCELLED);
    EXPECT_FALSE(std::filesystem::exists(file));
    DeleteDC(dc);
}

TEST_F(PrintedDocumentTest, TheChoiceTravelsInItsBlocksAndBadBlocksAreRefused)
{
    PrinterChoice choice;
    choice.printer = L"Office";
    choice.copies = 12;
    choice.landscape = true;
    choice.paper = *PaperSizeByName(L"Letter");
    HGLOBAL mode = MakeDevMode(choice);
    HGLOBAL names = MakeDevNames(choice);
    std::optional<PrinterChoice> back = ReadPrinterChoice(mode, names);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->printer, L"Office");
    EXPECT_EQ(back->copies, 12);
    EXPECT_TRUE(back->landscape);
    EXPECT_DOUBLE_EQ(back->paper.widthMm, 215.9);
    EXPECT_EQ(back->paper.name, L"Letter");
    auto* settings = static_cast<DEVMODEW*>(GlobalLock(mode));
    EXPECT_EQ(settings->dmPaperSize, DMPAPER_LETTER);
    EXPECT_EQ(std::wstring(settings->dmDeviceName), L"Office");
    GlobalUnlock(mode);

    // Names that run past the end of their block.
    auto* header = static_cast<DEVNAMES*>(GlobalLock(names));
    header->wOutputOffset = static_cast<WORD>(GlobalSize(names) / sizeof(wchar_t));
    GlobalUnlock(names);
    EXPECT_FALSE(ReadPrinterChoice(mode, names));
    // Names without their terminator.
    wchar_t* text = static_cast<wchar_t*>(GlobalLock(names));
    header = reinterpret_cast<DEVNAMES*>(text);
    header->wOutputOffset = header->wDeviceOffset;
    std::fill(text + header->wDeviceOffset, text + GlobalSize(names) / sizeof(wchar_t), L'x');
    GlobalUnlock(names);
    EXPECT_FALSE(ReadPrinterChoice(mode, names));
    EXPECT_EQ(CreatePrinterDCFromDevNames(names, mode), nullptr);
    GlobalFree(names);
    EXPECT_FALSE(ReadPrinterChoice(mode, names));  // freed
    EXPECT_FALSE(ReadPrinterChoice(mode, nullptr));

    // A DEVMODEW too small to be one is passed over, the names still count.
    choice.printer.clear();
    choice.file = L"/tmp/x.pdf";
    names = MakeDevNames(choice);
    HGLOBAL small = GlobalAlloc(GMEM_MOVEABLE, 8);
    back = ReadPrinterChoice(small, names);
    ASSERT_TRUE(back);
    EXPECT_TRUE(back->IsFile());
    EXPECT_EQ(back->file, L"/tmp/x.pdf");
    EXPECT_EQ(back->copies, 1);
    EXPECT_FALSE(back->landscape);
    GlobalFree(small);
    GlobalFree(names);
    GlobalFree(mode);
}
