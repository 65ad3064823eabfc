#pragma once
// A printing choice and its forms: the DEVMODEW and DEVNAMES blocks the
// print dialog hands out, and the printer context that prints it. A printer
// of the print system gets a PDF that EndDoc sends to `lp`; "Save as PDF"
// writes the PDF into the chosen file.

#include "Platform/Gdi/PrinterDC.h"
#include "Platform/Shell/PrintDlg.h"
#include "Platform/Shell/PrinterQueue.h"

#include <optional>
#include <string>

namespace ZELL::Shell {

// The device name of the file choice, as DEVNAMES and the dialog show it.
inline constexpr const wchar_t* kSaveAsPdf = L"Save as PDF";

struct PrinterChoice {
    std::wstring printer;  // empty: "Save as PDF" into `file`
    std::wstring file;
    int copies = 1;
    bool collate = false;
    bool landscape = false;
    PaperSize paper;
    bool isDefault = false;

    bool IsFile() const { return printer.empty(); }
    std::wstring DeviceName() const { return IsFile() ? kSaveAsPdf : printer; }
};

// The default printer of the print system with its default paper, else the
// first printer, else "Save as PDF" into the documents folder.
PrinterChoice DefaultPrinterChoice();
// Where "Save as PDF" writes when nobody said otherwise.
std::wstring DefaultPdfFile();

// The names a DEVNAMES block holds.
struct DeviceNames {
    std::wstring driver;
    std::wstring device;
    std::wstring output;
    bool isDefault = false;
};
// Nothing when the block is missing, too small, or its names run past its end.
std::optional<DeviceNames> ReadDeviceNames(HGLOBAL devNames);

// New GMEM_MOVEABLE blocks; null when memory ran out.
HGLOBAL MakeDevMode(const PrinterChoice& choice);
HGLOBAL MakeDevNames(const PrinterChoice& choice);
// The choice the blocks describe; nothing when the DEVNAMES block is missing,
// too small, or its names run past its end. A missing or too small DEVMODEW
// block leaves the defaults (one copy, portrait, A4).
std::optional<PrinterChoice> ReadPrinterChoice(HGLOBAL devMode, HGLOBAL devNames);

PdfPrinterSettings PdfSettingsOf(const PrinterChoice& choice);
// Null, with the last error, when the context cannot be made (a bad printer
// name, paper the drawing layer refuses, no temporary file).
HDC CreatePrinterContext(const PrinterChoice& choice);

}  // namespace ZELL::Shell

// The printer context for the blocks of a print dialog; null when they do
// not describe a printer.
HDC CreatePrinterDCFromDevNames(HGLOBAL devNames, HGLOBAL devMode);
