#pragma once
// The print dialog's window: built in memory on the dialog manager, it
// offers the print system's printers and "Save as PDF" (with the file name),
// the page range, the number of copies and the orientation, and shows the
// paper of the chosen printer. Bad entries are explained and the dialog stays.

#include "Platform/Shell/PrinterDevice.h"
#include "Platform/Ui/DialogTemplate.h"

#include <string>
#include <vector>

namespace ZELL::Shell {

// The ids of the dialog's controls.
namespace PrintDialogId {
constexpr int kPrinter = 0x0473;
constexpr int kFileName = 0x0484;
constexpr int kAllPages = 0x0420;
constexpr int kSelection = 0x0421;
constexpr int kPageNumbers = 0x0422;
constexpr int kFromPage = 0x0480;
constexpr int kToPage = 0x0481;
constexpr int kCopies = 0x0482;
constexpr int kCopiesSpin = 0x0483;
constexpr int kPortrait = 0x0430;
constexpr int kLandscape = 0x0431;
constexpr int kPaper = 0x0443;
}  // namespace PrintDialogId

class CPrintDialogBox {
public:
    CPrintDialogBox(const PRINTDLGW& request, PrinterChoice initial, std::vector<std::wstring> printers);
    CPrintDialogBox(const CPrintDialogBox&) = delete;
    CPrintDialogBox& operator=(const CPrintDialogBox&) = delete;

    // IDOK, IDCANCEL, or -1 when the dialog could not be made.
    INT_PTR Run();

    // After IDOK: what was chosen.
    const PrinterChoice& Choice() const { return m_choice; }
    DWORD RangeFlag() const { return m_range; }  // PD_ALLPAGES, PD_SELECTION or PD_PAGENUMS
    WORD FromPage() const { return m_from; }
    WORD ToPage() const { return m_to; }

private:
    static INT_PTR Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    Ui::CDialogTemplate Template() const;
    void OnInit(HWND dialog);
    void FillPrinters(HWND dialog);
    void FillRange(HWND dialog);
    void OnCommand(HWND dialog, int id, WORD code);
    void OnPrinterChanged(HWND dialog);
    void ShowPaper(HWND dialog);
    void OnOk(HWND dialog);
    bool ReadCopies(HWND dialog);
    bool ReadRange(HWND dialog);
    bool ReadFile(HWND dialog);
    // Explains a bad entry and puts the focus on it.
    void Refuse(HWND dialog, int id, const std::wstring& text) const;
    std::wstring SelectedPrinter(HWND dialog) const;

    HWND m_owner = nullptr;
    DWORD m_flags = 0;
    WORD m_minPage = 1;
    WORD m_maxPage = 0xFFFF;
    std::vector<std::wstring> m_printers;
    PrinterChoice m_choice;
    DWORD m_range = PD_ALLPAGES;
    WORD m_from = 1;
    WORD m_to = 1;
    bool m_filling = false;  // our own setting of texts is no user entry
};

}  // namespace ZELL::Shell
