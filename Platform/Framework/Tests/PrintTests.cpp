// The print path of the framework: the hooks of a printable object called in
// order over the pages of a PDF document, the range and the stop, and the
// print dialog object over the shell's dialog.
#include "Platform/Base/LastError.h"
#include "Platform/Base/WinError.h"
#include "Platform/Framework/Printing/PrintDriver.h"
#include "Platform/Shell/CommonDialogError.h"
#include "Platform/Shell/PrinterDevice.h"
#include "Platform/Shell/Tests/PrintTestSupport.h"
#include "Platform/Ui/Tests/DialogDriver.h"
#include "Platform/Ui/Tests/UiTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace ShellTest;
using UiTest::CDialogDriver;

namespace {

// Records its hooks; prints "Row n" on each page.
class RecordingPrintout : public CPrintDriver {
public:
    std::filesystem::path m_File;
    std::function<void(CPrintInfo*)> m_fnAfterPrepare;  // adjusts the info once the dialog was asked
    std::function<void(CPrintInfo*)> m_fnOnPage;        // runs after each page is drawn
    bool m_bCancel = false;
    bool m_bKeepDefaultPrepareDC = true;
    std::vector<std::string> m_arrCalls;
    std::vector<CRect> m_arrDrawRects;
    CRect m_rcPage;

protected:
    BOOL OnPreparePrinting(CPrintInfo* info) override
    {
        m_arrCalls.push_back("prepare-printing");
        if (m_bCancel)
            return FALSE;
        info->SetMaxPage(3);
        ZELL::Shell::PrinterChoice choice;
        choice.file = Wide(m_File);
        info->m_pPD->m_pd.hDevNames = ZELL::Shell::MakeDevNames(choice);
        info->m_bDirect = TRUE;
        const BOOL ready = DoPreparePrinting(info);
        if (m_fnAfterPrepare)
            m_fnAfterPrepare(info);
        return ready;
    }
    void OnBeginPrinting(CDC* dc, CPrintInfo*) override
    {
        m_arrCalls.push_back("begin");
        m_rcPage.SetRect(0, 0, dc->GetDeviceCaps(HORZRES), dc->GetDeviceCaps(VERTRES));
    }
    void OnPrepareDC(CDC* dc, CPrintInfo* info) override
    {
        m_arrCalls.push_back("prepare-dc " + std::to_string(info->m_nCurPage));
        if (m_bKeepDefaultPrepareDC)
            CPrintDriver::OnPrepareDC(dc, info);
    }
    void OnPrint(CDC* dc, CPrintInfo* info) override
    {
        m_arrCalls.push_back("print " + std::to_string(info->m_nCurPage));
        m_arrDrawRects.push_back(info->m_rectDraw);
        const std::wstring text = L"Row " + std::to_wstring(info->m_nCurPage);
        ::TextOutW(*dc, 100, 100, text.c_str(), static_cast<int>(text.size()));
        if (m_fnOnPage)
            m_fnOnPage(info);
    }
    void OnEndPrinting(CDC*, CPrintInfo*) override { m_arrCalls.push_back("end"); }
};

class PrintPathTest : public PrintSystemTest {
protected:
    void SetUp() override
    {
        PrintSystemTest::SetUp();
        m_Printout.m_File = m_folder / "rows.pdf";
    }
    RecordingPrintout m_Printout;
};

}  // namespace

TEST_F(PrintPathTest, TheHooksComeInOrderOverEveryPage)
{
    NoPrintSystem();
    ASSERT_TRUE(m_Printout.Print(L"Rows"));
    EXPECT_EQ(m_Printout.m_arrCalls,
              (std::vector<std::string>{"prepare-printing", "begin", "prepare-dc 1", "print 1", "prepare-dc 2",
                                        "print 2", "prepare-dc 3", "print 3", "end"}));
    ASSERT_EQ(m_Printout.m_arrDrawRects.size(), 3u);
    for (const CRect& rect : m_Printout.m_arrDrawRects)
        EXPECT_TRUE(EqualRect(&rect, &m_Printout.m_rcPage));
    EXPECT_EQ(ReadPdfFacts(m_Printout.m_File).pages, 3);
    const std::string text = PopplerOutput(L"pdftotext", m_Printout.m_File);
    EXPECT_NE(text.find("Row 3"), std::string::npos) << text;
}

TEST_F(PrintPathTest, TheChosenRangeIsPrintedAndAClearedFlagStopsAfterItsPage)
{
    NoPrintSystem();
    m_Printout.m_fnAfterPrepare = [](CPrintInfo* info) {
        info->m_pPD->m_pd.Flags |= PD_PAGENUMS;
        info->m_pPD->m_pd.nFromPage = 2;
        info->m_pPD->m_pd.nToPage = 9;  // past the last page: up to the last
    };
    ASSERT_TRUE(m_Printout.Print(L"Rows"));
    EXPECT_EQ(m_Printout.m_arrCalls, (std::vector<std::string>{"prepare-printing", "begin", "prepare-dc 2", "print 2",
                                                          "prepare-dc 3", "print 3", "end"}));

    RecordingPrintout stopping;
    stopping.m_File = m_folder / "stopped.pdf";
    stopping.m_fnOnPage = [](CPrintInfo* info) { info->m_bContinuePrinting = info->m_nCurPage < 2; };
    ASSERT_TRUE(stopping.Print(L"Rows"));
    EXPECT_EQ(stopping.m_arrCalls, (std::vector<std::string>{"prepare-printing", "begin", "prepare-dc 1", "print 1",
                                                        "prepare-dc 2", "print 2", "end"}));
    EXPECT_EQ(ReadPdfFacts(stopping.m_File).pages, 2);

    // Without a page count, the first page is all there is.
    RecordingPrintout unknown;
    unknown.m_File = m_folder / "unknown.pdf";
    unknown.m_fnAfterPrepare = [](CPrintInfo* info) { info->SetMaxPage(0xFFFF); };
    ASSERT_TRUE(unknown.Print(L"Rows"));
    EXPECT_EQ(unknown.m_arrCalls.back(), "end");
    EXPECT_EQ(ReadPdfFacts(unknown.m_File).pages, 1);
}

TEST_F(PrintPathTest, ACancelOrAFailedDocumentPrintsNothing)
{
    m_Printout.m_bCancel = true;
    EXPECT_FALSE(m_Printout.Print(L"Rows"));
    EXPECT_EQ(m_Printout.m_arrCalls, (std::vector<std::string>{"prepare-printing"}));

    RecordingPrintout nowhere;
    nowhere.m_File = m_folder / "missing folder" / "rows.pdf";
    EXPECT_FALSE(nowhere.Print(L"Rows"));
    EXPECT_EQ(nowhere.m_arrCalls, (std::vector<std::string>{"prepare-printing", "begin", "end"}));
    EXPECT_FALSE(std::filesystem::exists(nowhere.m_File));

    // A refused print job is a failed print, not a printed one.
    PrintSystemWithPrinters();
    StandIn("lp", "echo 'lp: Unable to print.' >&2\nexit 1\n");
    class ToPrinter : public RecordingPrintout {
        BOOL OnPreparePrinting(CPrintInfo* info) override
        {
            info->SetMaxPage(1);
            info->m_bDirect = TRUE;
            return DoPreparePrinting(info);
        }
    } toPrinter;
    EXPECT_FALSE(toPrinter.Print(L"Rows"));
    EXPECT_EQ(GetLastError(), ERROR_GEN_FAILURE);
    EXPECT_EQ(toPrinter.m_arrCalls.back(), "end");
}

TEST_F(PrintPathTest, ThePrintDialogObjectReadsBackTheChoice)
{
    NoPrintSystem();
    CPrintDialog defaults(FALSE);
    ASSERT_TRUE(defaults.GetDefaults());
    EXPECT_EQ(defaults.GetDeviceName(), CString(L"Save as PDF"));
    EXPECT_EQ(defaults.GetPortName(), CString((Wide(m_folder.Path()) + L"/print.pdf").c_str()));
    EXPECT_TRUE(defaults.PrintAll());
    EXPECT_EQ(defaults.GetCopies(), 1);
    EXPECT_EQ(defaults.GetFromPage(), -1);

    PrintSystemWithPrinters();
    UiTest::Handler ownerLog;
    UiTest::WindowGuard owner;
    owner.hwnd = UiTest::Create(&ownerLog, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 80, 640, 480);
    const auto answer = [&](std::function<void(CDialogDriver&)> script) {
        ownerLog.m_onMessage = [script](HWND, UINT message, WPARAM, LPARAM lParam, LRESULT&) {
            if (message == WM_ENTERIDLE) {
                CDialogDriver driver(reinterpret_cast<HWND>(lParam));
                script(driver);
                driver.PumpUntilIdle();
            }
            return false;
        };
        CPrintDialog dialog(FALSE, PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_RETURNDC);
        dialog.m_pd.hwndOwner = owner.hwnd;
        dialog.m_pd.nMinPage = 1;
        dialog.m_pd.nMaxPage = 5;
        const INT_PTR result = dialog.DoModal();
        ownerLog.m_onMessage = nullptr;
        return std::make_tuple(result, dialog.GetDeviceName(), dialog.GetCopies(), dialog.PrintRange(),
                               dialog.GetFromPage(), dialog.GetToPage(), dialog.GetPrinterDC() != nullptr);
    };
    const auto [ok, device, copies, range, from, to, hasDc] = answer([](CDialogDriver& d) {
        d.Press('C', UiTest::kAlt);
        d.PumpUntilIdle();
        d.Type(L"2");
        d.Press('T', UiTest::kAlt);
        d.PumpUntilIdle();
        d.Type(L"3");
        d.Press(VK_RETURN);
    });
    EXPECT_EQ(ok, IDOK);
    EXPECT_EQ(device, CString(L"Label_2"));
    EXPECT_EQ(copies, 2);
    EXPECT_TRUE(range);
    EXPECT_EQ(from, 1);
    EXPECT_EQ(to, 3);
    EXPECT_TRUE(hasDc);

    const auto [cancelled, noDevice, c, r, f, t, noDc] =
        answer([](CDialogDriver& d) { d.Press(VK_ESCAPE); });
    EXPECT_EQ(cancelled, IDCANCEL);
    EXPECT_EQ(CommDlgExtendedError(), 0u);
    EXPECT_TRUE(noDevice.IsEmpty());
    EXPECT_FALSE(noDc);
}
