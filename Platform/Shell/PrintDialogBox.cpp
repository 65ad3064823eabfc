#include "Platform/Shell/PrintDialogBox.h"

#include "Platform/Base/LastError.h"
#include "Platform/Controls/CommCtrl.h"
#include "Platform/Controls/ComboStyles.h"
#include "Platform/Controls/ControlStyles.h"
#include "Platform/Controls/EditStyles.h"
#include "Platform/Controls/MessageBox.h"
#include "Platform/Controls/StandardControls.h"
#include "Platform/Shell/PathConversion.h"
#include "Platform/Ui/WinUser.h"

#include <algorithm>
#include <cmath>
#include <cwctype>
#include <filesystem>

namespace ZELL::Shell {

namespace {

using namespace PrintDialogId;

constexpr int kTextLimit = 4096;
constexpr const wchar_t* kCaption = L"Print";

Ui::DialogItemTemplate Item(WORD atom, const wchar_t* text, int id, DWORD style, short x, short y, short cx, short cy)
{
    return Ui::VisibleControl(Ui::NameOrOrdinal::Ordinal(atom), text, id, style, x, y, cx, cy);
}

Ui::DialogItemTemplate Label(const wchar_t* text, short x, short y, short cx)
{
    return Item(Ui::kClassStatic, text, -1, SS_LEFT | WS_GROUP, x, y, cx, 8);
}

Ui::DialogItemTemplate Field(int id, DWORD style, short x, short y, short cx)
{
    return Item(Ui::kClassEdit, L"", id, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | style, x, y, cx, 12);
}

Ui::DialogItemTemplate Radio(const wchar_t* text, int id, DWORD style, short x, short y, short cx)
{
    return Item(Ui::kClassButton, text, id, BS_AUTORADIOBUTTON | style, x, y, cx, 10);
}

Ui::DialogItemTemplate Group(const wchar_t* text, short x, short y, short cx, short cy)
{
    return Item(Ui::kClassButton, text, -1, BS_GROUPBOX | WS_GROUP, x, y, cx, cy);
}

// "215.9", "297": millimetres as people write them.
std::wstring Millimetres(double mm)
{
    const long tenths = std::lround(mm * 10);
    std::wstring text = std::to_wstring(tenths / 10);
    if (tenths % 10 != 0)
        text += L"." + std::to_wstring(tenths % 10);
    return text;
}

std::wstring Trimmed(std::wstring text)
{
    const auto notSpace = [](wchar_t c) { return !std::iswspace(c); };
    text.erase(text.begin(), std::find_if(text.begin(), text.end(), notSpace));
    text.erase(std::find_if(text.rbegin(), text.rend(), notSpace).base(), text.end());
    return text;
}

std::wstring ItemText(HWND dialog, int id)
{
    std::wstring text(kTextLimit, L'\0');
    text.resize(GetDlgItemTextW(dialog, id, text.data(), kTextLimit));
    return text;
}

// A whole number typed into a field, nothing for anything else.
std::optional<int> ItemNumber(HWND dialog, int id)
{
    const std::wstring text = Trimmed(ItemText(dialog, id));
    if (text.empty() || text.size() > 5 || !std::all_of(text.begin(), text.end(), iswdigit))
        return std::nullopt;
    return std::stoi(text);
}

}  // namespace

CPrintDialogBox::CPrintDialogBox(const PRINTDLGW& request, PrinterChoice initial, std::vector<std::wstring> printers)
    : m_owner(request.hwndOwner), m_flags(request.Flags), m_minPage(std::max<WORD>(request.nMinPage, 1)),
      m_maxPage(std::max(request.nMaxPage, std::max<WORD>(request.nMinPage, 1))), m_printers(std::move(printers)),
      m_choice(std::move(initial)), m_range(request.Flags & (PD_SELECTION | PD_PAGENUMS)),
      m_from(std::clamp(request.nFromPage, m_minPage, m_maxPage)),
      m_to(std::clamp(request.nToPage, m_from, m_maxPage))
{
    if (!(m_flags & PD_USEDEVMODECOPIES) && request.nCopies > 0)
        m_choice.copies = std::min<int>(request.nCopies, kMostPrintCopies);
    // "Save as PDF" has a file to propose whenever it is picked.
    if (m_choice.file.empty())
        m_choice.file = DefaultPdfFile();
    // A printer that is no longer there gives way to the first there is.
    if (!m_choice.IsFile() && std::find(m_printers.begin(), m_printers.end(), m_choice.printer) == m_printers.end())
        m_choice.printer = m_printers.empty() ? std::wstring() : m_printers.front();
}

Ui::CDialogTemplate CPrintDialogBox::Template() const
{
    Ui::CDialogTemplate dt;
    dt.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_MODALFRAME | DS_CENTER;
    dt.caption = kCaption;
    dt.cx = 257;
    dt.cy = 146;
    auto& items = dt.items;
    items.push_back(Label(L"&Printer:", 7, 9, 42));
    items.push_back(Item(Ui::kClassComboBox, L"", kPrinter, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP, 50,
                         7, 200, 120));
    items.push_back(Label(L"File &name:", 7, 26, 42));
    items.push_back(Field(kFileName, WS_GROUP, 50, 24, 200));
    items.push_back(Item(Ui::kClassStatic, L"", kPaper, SS_LEFT | SS_NOPREFIX | WS_GROUP, 50, 40, 200, 8));
    items.push_back(Group(L"Print range", 7, 52, 120, 66));
    items.push_back(Radio(L"&All", kAllPages, WS_GROUP | WS_TABSTOP, 14, 64, 100));
    items.push_back(Radio(L"&Selection", kSelection, 0, 14, 78, 100));
    items.push_back(Radio(L"Pa&ges", kPageNumbers, 0, 14, 92, 100));
    items.push_back(Label(L"&from:", 14, 106, 20));
    items.push_back(Field(kFromPage, ES_NUMBER | WS_GROUP, 36, 104, 26));
    items.push_back(Label(L"&to:", 68, 106, 14));
    items.push_back(Field(kToPage, ES_NUMBER | WS_GROUP, 84, 104, 26));
    items.push_back(Group(L"Copies", 134, 52, 116, 30));
    items.push_back(Label(L"Number of &copies:", 141, 66, 66));
    items.push_back(Field(kCopies, ES_NUMBER | WS_GROUP, 208, 64, 34));
    items.push_back(Item(Ui::kClassStatic, L"", kCopiesSpin, 0, 242, 64, 10, 12));
    items.back().windowClass = Ui::NameOrOrdinal::Name(UPDOWN_CLASSW);
    items.back().style = WS_CHILD | WS_VISIBLE | UDS_AUTOBUDDY | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS;
    items.push_back(Group(L"Orientation", 134, 86, 116, 32));
    items.push_back(Radio(L"Po&rtrait", kPortrait, WS_GROUP | WS_TABSTOP, 141, 101, 50));
    items.push_back(Radio(L"&Landscape", kLandscape, 0, 194, 101, 52));
    items.push_back(Item(Ui::kClassButton, L"OK", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 144, 126, 50, 14));
    items.push_back(Item(Ui::kClassButton, L"Cancel", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 200, 126, 50, 14));
    return dt;
}

INT_PTR CPrintDialogBox::Run()
{
    if (!Controls::RegisterStandardControls())
        return -1;
    INITCOMMONCONTROLSEX init;
    init.dwICC = ICC_UPDOWN_CLASS;
    InitCommonControlsEx(&init);
    const std::vector<BYTE> image = Template().ToImage();
    return DialogBoxIndirectParamW(nullptr, reinterpret_cast<LPCDLGTEMPLATEW>(image.data()), m_owner,
                                   &CPrintDialogBox::Proc, reinterpret_cast<LPARAM>(this));
}

INT_PTR CPrintDialogBox::Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    auto* box = reinterpret_cast<CPrintDialogBox*>(GetWindowLongPtrW(dialog, DWLP_USER));
    return box != nullptr ? box->OnMessage(dialog, message, wParam, lParam) : FALSE;
}

INT_PTR CPrintDialogBox::OnMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInit(dialog);
        return TRUE;
    case WM_COMMAND:
        OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    default:
        return FALSE;
    }
}

void CPrintDialogBox::OnInit(HWND dialog)
{
    m_filling = true;
    FillPrinters(dialog);
    SetDlgItemTextW(dialog, kFileName, m_choice.file.c_str());
    FillRange(dialog);
    SendDlgItemMessageW(dialog, kCopiesSpin, UDM_SETRANGE32, 1, kMostPrintCopies);
    SetDlgItemInt(dialog, kCopies, static_cast<UINT>(m_choice.copies), FALSE);
    CheckRadioButton(dialog, kPortrait, kLandscape, m_choice.landscape ? kLandscape : kPortrait);
    OnPrinterChanged(dialog);
    m_filling = false;
}

void CPrintDialogBox::FillPrinters(HWND dialog)
{
    for (const std::wstring& printer : m_printers)
        SendDlgItemMessageW(dialog, kPrinter, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(printer.c_str()));
    SendDlgItemMessageW(dialog, kPrinter, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kSaveAsPdf));
    const auto found = std::find(m_printers.begin(), m_printers.end(), m_choice.printer);
    const auto index = m_choice.IsFile() ? m_printers.size() : static_cast<std::size_t>(found - m_printers.begin());
    SendDlgItemMessageW(dialog, kPrinter, CB_SETCURSEL, index, 0);
}

void CPrintDialogBox::FillRange(HWND dialog)
{
    SetDlgItemInt(dialog, kFromPage, m_from, FALSE);
    SetDlgItemInt(dialog, kToPage, m_to, FALSE);
    const bool pages = !(m_flags & PD_NOPAGENUMS);
    for (int id : {kPageNumbers, kFromPage, kToPage})
        EnableWindow(GetDlgItem(dialog, id), pages);
    EnableWindow(GetDlgItem(dialog, kSelection), !(m_flags & PD_NOSELECTION));
    int checked = kAllPages;
    if ((m_range & PD_SELECTION) && !(m_flags & PD_NOSELECTION))
        checked = kSelection;
    else if ((m_range & PD_PAGENUMS) && pages)
        checked = kPageNumbers;
    CheckRadioButton(dialog, kAllPages, kPageNumbers, checked);
}

void CPrintDialogBox::OnCommand(HWND dialog, int id, WORD code)
{
    if (id == IDOK) {
        OnOk(dialog);
    } else if (id == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
    } else if (id == kPrinter && code == CBN_SELCHANGE) {
        OnPrinterChanged(dialog);
    } else if ((id == kFromPage || id == kToPage) && code == EN_CHANGE && !m_filling) {
        // Typing a page number means printing those pages.
        CheckRadioButton(dialog, kAllPages, kPageNumbers, kPageNumbers);
    }
}

std::wstring CPrintDialogBox::SelectedPrinter(HWND dialog) const
{
    const auto index = SendDlgItemMessageW(dialog, kPrinter, CB_GETCURSEL, 0, 0);
    return index >= 0 && static_cast<std::size_t>(index) < m_printers.size() ? m_printers[index] : std::wstring();
}

void CPrintDialogBox::OnPrinterChanged(HWND dialog)
{
    const std::wstring printer = SelectedPrinter(dialog);
    if (printer != m_choice.printer) {
        m_choice.printer = printer;
        m_choice.isDefault = false;
        // Each printer has its own paper; the file takes the common one.
        m_choice.paper = printer.empty() ? PaperSize{} : DefaultPaper(printer);
    }
    EnableWindow(GetDlgItem(dialog, kFileName), printer.empty());
    ShowPaper(dialog);
}

void CPrintDialogBox::ShowPaper(HWND dialog)
{
    const PaperSize& paper = m_choice.paper;
    const std::wstring text = L"Paper: " + paper.name + L" (" + Millimetres(paper.widthMm) + L" \u00D7 " +
                              Millimetres(paper.heightMm) + L" mm)";
    SetDlgItemTextW(dialog, kPaper, text.c_str());
}

void CPrintDialogBox::OnOk(HWND dialog)
{
    if (!ReadFile(dialog) || !ReadRange(dialog) || !ReadCopies(dialog))
        return;
    m_choice.landscape = IsDlgButtonChecked(dialog, kLandscape) == BST_CHECKED;
    EndDialog(dialog, IDOK);
}

bool CPrintDialogBox::ReadCopies(HWND dialog)
{
    const std::optional<int> copies = ItemNumber(dialog, kCopies);
    if (!copies || *copies < 1 || *copies > kMostPrintCopies) {
        Refuse(dialog, kCopies, L"Enter a number of copies from 1 to " + std::to_wstring(kMostPrintCopies) + L".");
        return false;
    }
    m_choice.copies = *copies;
    return true;
}

bool CPrintDialogBox::ReadRange(HWND dialog)
{
    m_range = PD_ALLPAGES;
    if (IsDlgButtonChecked(dialog, kSelection) == BST_CHECKED)
        m_range = PD_SELECTION;
    if (IsDlgButtonChecked(dialog, kPageNumbers) != BST_CHECKED)
        return true;
    const std::optional<int> from = ItemNumber(dialog, kFromPage);
    const std::optional<int> to = ItemNumber(dialog, kToPage);
    if (!from || !to || *from < m_minPage || *to > m_maxPage || *from > *to) {
        Refuse(dialog, from && *from >= m_minPage && *from <= m_maxPage ? kToPage : kFromPage,
               L"Enter pages from " + std::to_wstring(m_minPage) + L" to " + std::to_wstring(m_maxPage) +
                   L", the first not after the last.");
        return false;
    }
    m_range = PD_PAGENUMS;
    m_from = static_cast<WORD>(*from);
    m_to = static_cast<WORD>(*to);
    return true;
}

bool CPrintDialogBox::ReadFile(HWND dialog)
{
    if (!m_choice.IsFile())
        return true;
    const std::wstring typed = Trimmed(ItemText(dialog, kFileName));
    if (typed.empty()) {
        Refuse(dialog, kFileName, L"Enter the name of the PDF file.");
        return false;
    }
    std::filesystem::path file = FsPath(typed);
    if (file.is_relative())
        file = FsPath(DefaultPdfFile()).parent_path() / file;
    if (!file.has_extension())
        file += ".pdf";
    std::error_code error;
    if (std::filesystem::is_directory(file, error)) {
        Refuse(dialog, kFileName, L"\"" + WidePath(file) + L"\" is a folder. Enter the name of a file.");
        return false;
    }
    if (!std::filesystem::is_directory(file.parent_path(), error)) {
        Refuse(dialog, kFileName, L"The folder \"" + WidePath(file.parent_path()) + L"\" does not exist.");
        return false;
    }
    m_choice.file = WidePath(file.lexically_normal());
    return true;
}

void CPrintDialogBox::Refuse(HWND dialog, int id, const std::wstring& text) const
{
    MessageBoxW(dialog, text.c_str(), kCaption, MB_OK | MB_ICONEXCLAMATION);
    SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, id)), TRUE);
}

}  // namespace ZELL::Shell
