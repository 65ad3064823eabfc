// The print dialog driven from inside its modal loop with injected keys, and
// what PrintDlgW then hands back.
#include "Platform/Shell/CommonDialogError.h"
#include "Platform/Shell/PrintDialogBox.h"
#include "Platform/Shell/PrintDlg.h"
#include "Platform/Shell/Tests/PrintTestSupport.h"

#include "Platform/Controls/ComboStyles.h"
#include "Platform/Ui/Tests/DialogDriver.h"
#include "Platform/Ui/Tests/GoldenImage.h"
#include "Platform/Ui/Tests/UiTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

using namespace ShellTest;
using namespace UiTest;
using namespace ZELL::Shell;
namespace Id = ZELL::Shell::PrintDialogId;

namespace {

// Alt and the mnemonic of a field's label; typing goes to the field once the
// keys were handled.
void GoTo(CDialogDriver& driver, wchar_t mnemonic)
{
    driver.Press(mnemonic, kAlt);
    driver.PumpUntilIdle();
}

// Answers the message box the dialog raises next: `answer` runs inside its
// modal loop with the box's text, through the dialog's own window procedure
// (the box's owner hears its idle time).
class NextMessageBox {
public:
    NextMessageBox(HWND dialog, std::function<void(CDialogDriver&)> answer) : m_dialog(dialog)
    {
        s_answer = std::move(answer);
        s_dialogProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&NextMessageBox::Watch)));
    }
    ~NextMessageBox()
    {
        if (IsWindow(m_dialog))
            SetWindowLongPtrW(m_dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(s_dialogProc));
    }
    NextMessageBox(const NextMessageBox&) = delete;
    NextMessageBox& operator=(const NextMessageBox&) = delete;
    static std::wstring Text() { return s_text; }

private:
    static LRESULT Watch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_ENTERIDLE && s_answer) {
            const auto answer = std::move(s_answer);
            s_answer = nullptr;
            CDialogDriver box(reinterpret_cast<HWND>(lParam));
            s_text = box.Text(0xFFFF);
            answer(box);
            box.PumpUntilIdle();
        }
        return CallWindowProcW(s_dialogProc, hwnd, message, wParam, lParam);
    }

    HWND m_dialog = nullptr;
    static inline WNDPROC s_dialogProc = nullptr;
    static inline std::function<void(CDialogDriver&)> s_answer;
    static inline std::wstring s_text;
};

// What the dialog showed before the script touched it.
struct Shown {
    std::vector<std::wstring> printers;
    std::wstring file;
    std::wstring paper;
    bool fileEnabled = false;
    bool pagesEnabled = false;
    std::wstring copies;
};

class PrintDialogTest : public PrintSystemTest {
protected:
    void SetUp() override
    {
        PrintSystemTest::SetUp();
        m_owner.hwnd = Create(&m_ownerLog, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 80, 640, 480);
        SetActiveWindow(m_owner.hwnd);
        Drain();
        m_pd.hwndOwner = m_owner.hwnd;
    }
    void TearDown() override
    {
        GlobalFree(m_pd.hDevMode);
        GlobalFree(m_pd.hDevNames);
        if (m_pd.hDC)
            DeleteDC(m_pd.hDC);
    }

    // Runs PrintDlgW; `script` drives the dialog once its loop is idle.
    BOOL Run(const std::function<void(CDialogDriver&)>& script)
    {
        bool ran = false;
        m_ownerLog.m_onMessage = [&](HWND, UINT message, WPARAM, LPARAM lParam, LRESULT&) {
            if (message == WM_ENTERIDLE && !ran) {
                ran = true;
                CDialogDriver driver(reinterpret_cast<HWND>(lParam));
                Observe(driver);
                script(driver);
                driver.PumpUntilIdle();
                // A dialog the script did not end is ended here, so the test goes on.
                if (IsWindow(driver.Dialog()) && IsWindowVisible(driver.Dialog()))
                    EndDialog(driver.Dialog(), IDABORT);
            }
            return false;
        };
        const BOOL result = PrintDlgW(&m_pd);
        m_ownerLog.m_onMessage = nullptr;
        EXPECT_TRUE(ran) << "the dialog never came up";
        return result;
    }

    void Observe(CDialogDriver& driver)
    {
        HWND combo = driver.Control(Id::kPrinter);
        const auto count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            wchar_t item[256] = {};
            SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item));
            m_shown.printers.push_back(item);
        }
        m_shown.file = driver.Text(Id::kFileName);
        m_shown.paper = driver.Text(Id::kPaper);
        m_shown.fileEnabled = driver.IsEnabled(Id::kFileName);
        m_shown.pagesEnabled = driver.IsEnabled(Id::kPageNumbers);
        m_shown.copies = driver.Text(Id::kCopies);
    }

    std::optional<PrinterChoice> Chosen() const { return ReadPrinterChoice(m_pd.hDevMode, m_pd.hDevNames); }

    Handler m_ownerLog;
    WindowGuard m_owner;
    PRINTDLGW m_pd;
    Shown m_shown;
};

}  // namespace

TEST_F(PrintDialogTest, PagesCopiesAndOrientationByKeyboardComeBackInTheStructure)
{
    PrintSystemWithPrinters();
    m_pd.Flags = PD_RETURNDC | PD_USEDEVMODECOPIES;
    m_pd.nMinPage = 1;
    m_pd.nMaxPage = 9;
    m_pd.nFromPage = 1;
    m_pd.nToPage = 9;
    ASSERT_TRUE(Run([](CDialogDriver& d) {
        d.Press('G', kAlt);  // Pages
        GoTo(d, 'F');
        d.Type(L"2");
        GoTo(d, 'T');
        d.Type(L"4");
        GoTo(d, 'C');
        d.Type(L"3");
        d.Press('L', kAlt);  // landscape
        d.Press(VK_RETURN);
    }));
    EXPECT_EQ(m_shown.printers, (std::vector<std::wstring>{L"Office", L"Label_2", L"Save as PDF"}));
    EXPECT_FALSE(m_shown.fileEnabled);
    EXPECT_EQ(m_shown.paper, L"Paper: Letter (215.9 \u00D7 279.4 mm)");
    EXPECT_EQ(m_pd.Flags & (PD_PAGENUMS | PD_SELECTION), PD_PAGENUMS);
    EXPECT_EQ(m_pd.nFromPage, 2);
    EXPECT_EQ(m_pd.nToPage, 4);
    EXPECT_EQ(m_pd.nCopies, 1);  // the printer makes the copies
    const std::optional<PrinterChoice> chosen = Chosen();
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->printer, L"Label_2");  // the default printer
    EXPECT_EQ(chosen->copies, 3);
    EXPECT_TRUE(chosen->landscape);
    ASSERT_NE(m_pd.hDC, nullptr);
    EXPECT_EQ(GetDeviceCaps(m_pd.hDC, PHYSICALWIDTH), 3300);  // Letter across
    EXPECT_EQ(GetDeviceCaps(m_pd.hDC, PHYSICALHEIGHT), 2550);
    EXPECT_EQ(CommDlgExtendedError(), 0u);
}

TEST_F(PrintDialogTest, WithoutThePrintSystemTheFileIsTheOnlyChoice)
{
    NoPrintSystem();
    m_pd.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION;
    m_pd.nCopies = 2;
    const std::filesystem::path file = m_folder / "grid";
    ASSERT_TRUE(Run([&](CDialogDriver& d) {
        GoTo(d, 'N');  // the whole name is selected
        d.Type(Wide(file));
        d.Press(VK_RETURN);
    }));
    EXPECT_EQ(m_shown.printers, (std::vector<std::wstring>{L"Save as PDF"}));
    EXPECT_TRUE(m_shown.fileEnabled);
    EXPECT_FALSE(m_shown.pagesEnabled);
    EXPECT_EQ(m_shown.copies, L"2");
    EXPECT_EQ(m_shown.paper, L"Paper: A4 (210 \u00D7 297 mm)");
    EXPECT_EQ(m_pd.nCopies, 2);  // the program prints its copies itself
    const std::optional<PrinterChoice> chosen = Chosen();
    ASSERT_TRUE(chosen);
    EXPECT_TRUE(chosen->IsFile());
    EXPECT_EQ(chosen->file, Wide(file) + L".pdf");
    ASSERT_NE(m_pd.hDC, nullptr);
    ASSERT_TRUE(PrintDocument(m_pd.hDC, 1));
    EXPECT_EQ(ReadPdfFacts(m_folder / "grid.pdf").pages, 1);
}

TEST_F(PrintDialogTest, ABadEntryIsExplainedAndTheDialogStaysForItsCorrection)
{
    PrintSystemWithPrinters();
    m_pd.nMinPage = 1;
    m_pd.nMaxPage = 5;
    std::vector<std::wstring> told;
    std::vector<int> focusAfter;
    const auto refused = [&](CDialogDriver& d) {
        {
            NextMessageBox box(d.Dialog(), [](CDialogDriver& b) { b.Press(VK_RETURN); });
            d.Press(VK_RETURN);
            d.PumpUntilIdle();
            told.push_back(NextMessageBox::Text());
        }
        focusAfter.push_back(d.FocusId());
    };
    ASSERT_TRUE(Run([&](CDialogDriver& d) {
        GoTo(d, 'C');
        d.Type(L"0");
        refused(d);
        d.Type(L"2");
        GoTo(d, 'F');
        d.Type(L"4");
        GoTo(d, 'T');
        d.Type(L"3");
        refused(d);
        d.Type(L"6");
        refused(d);
        d.Type(L"5");
        d.Press(VK_RETURN);
    }));
    EXPECT_EQ(told, (std::vector<std::wstring>{L"Enter a number of copies from 1 to 999.",
                                               L"Enter pages from 1 to 5, the first not after the last.",
                                               L"Enter pages from 1 to 5, the first not after the last."}));
    EXPECT_EQ(focusAfter, (std::vector<int>{Id::kCopies, Id::kToPage, Id::kToPage}));
    EXPECT_EQ(m_pd.nCopies, 2);
    EXPECT_EQ(m_pd.nFromPage, 4);
    EXPECT_EQ(m_pd.nToPage, 5);
}

TEST_F(PrintDialogTest, CancelLeavesTheStructureAsItWas)
{
    PrintSystemWithPrinters();
    m_pd.Flags = PD_RETURNDC;
    EXPECT_FALSE(Run([](CDialogDriver& d) {
        GoTo(d, 'C');
        d.Type(L"7");
        d.Press(VK_ESCAPE);
    }));
    EXPECT_EQ(CommDlgExtendedError(), 0u);
    EXPECT_EQ(m_pd.hDevMode, nullptr);
    EXPECT_EQ(m_pd.hDevNames, nullptr);
    EXPECT_EQ(m_pd.hDC, nullptr);
}

TEST_F(PrintDialogTest, TheChoiceOfAnEarlierDialogIsOfferedAgain)
{
    PrintSystemWithPrinters();
    PrinterChoice earlier;
    earlier.printer = L"Office";
    earlier.copies = 5;
    earlier.paper = *PaperSizeByName(L"A5");
    m_pd.hDevMode = MakeDevMode(earlier);
    m_pd.hDevNames = MakeDevNames(earlier);
    m_pd.Flags = PD_USEDEVMODECOPIES;
    ASSERT_TRUE(Run([](CDialogDriver& d) { d.Press(VK_RETURN); }));
    EXPECT_EQ(m_shown.copies, L"5");
    EXPECT_EQ(m_shown.paper, L"Paper: A5 (148 \u00D7 210 mm)");
    EXPECT_EQ(Chosen()->printer, L"Office");
    EXPECT_EQ(m_pd.hDC, nullptr);  // not asked for
}

TEST_F(PrintDialogTest, TheDefaultsComeWithoutADialog)
{
    PrintSystemWithPrinters();
    m_pd.Flags = PD_RETURNDEFAULT;
    ASSERT_TRUE(PrintDlgW(&m_pd));
    std::optional<PrinterChoice> chosen = Chosen();
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->printer, L"Label_2");
    EXPECT_TRUE(chosen->isDefault);
    EXPECT_EQ(chosen->paper.name, L"Letter");

    // Blocks still held by the caller are not overwritten.
    EXPECT_FALSE(PrintDlgW(&m_pd));
    EXPECT_EQ(CommDlgExtendedError(), PDERR_RETDEFFAILURE);

    PRINTDLGW none;
    none.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
    NoPrintSystem();
    ASSERT_TRUE(PrintDlgW(&none));
    chosen = ReadPrinterChoice(none.hDevMode, none.hDevNames);
    ASSERT_TRUE(chosen);
    EXPECT_TRUE(chosen->IsFile());
    EXPECT_NE(none.hDC, nullptr);
    GlobalFree(none.hDevMode);
    GlobalFree(none.hDevNames);
    DeleteDC(none.hDC);

    PRINTDLGW wrong;
    wrong.lStructSize = 12;
    EXPECT_FALSE(PrintDlgW(&wrong));
    EXPECT_EQ(CommDlgExtendedError(), CDERR_STRUCTSIZE);
}

TEST_F(PrintDialogTest, TheDialogLooksAsItShould)
{
    PrintSystemWithPrinters();
    CScopedVariable home(L"HOME", L"/home/operator");  // the proposed file, the same on every machine
    m_pd.Flags = PD_NOSELECTION;
    m_pd.nMinPage = 1;
    m_pd.nMaxPage = 12;
    m_pd.nToPage = 12;
    m_pd.nCopies = 1;
    Run([](CDialogDriver& d) {
        UpdateWindow(d.Dialog());
        d.PumpUntilIdle();
        const std::filesystem::path png =
            std::filesystem::temp_directory_path() / ("PrintDialog-" + std::to_string(getpid()) + ".png");
        ASSERT_TRUE(Headless().SaveWithFrameAsPng(NativeWindowOf(d.Dialog()), png.string()));
        EXPECT_TRUE(MatchesGolden(png.string(), "PrintDialog", ZELL_SHELL_GOLDEN_DIR));
        std::filesystem::remove(png);
        d.Press(VK_ESCAPE);
    });
}
