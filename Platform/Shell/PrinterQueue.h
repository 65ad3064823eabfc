#pragma once
// The printers of the print system, asked through its commands (`lpstat`,
// `lpoptions`, `lp`), each started with an argument vector and given a few
// seconds. A machine without the print system, or without printers, has an
// empty printer list and no default printer.

#include "Platform/Base/Types.h"
#include "Platform/Gdi/PrinterDC.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

constexpr DWORD ERROR_INVALID_PRINTER_NAME = 1801;

// The platform's form: the name and its terminator; FALSE with
// ERROR_INSUFFICIENT_BUFFER (and the size needed in *size) when it does not
// fit, with ERROR_FILE_NOT_FOUND when there is no default printer.
BOOL GetDefaultPrinterW(LPWSTR buffer, LPDWORD size);

namespace ZELL::Shell {

struct PaperSize {
    std::wstring name = L"A4";
    double widthMm = 210.0;
    double heightMm = 297.0;
    bool fromPrinter = false;  // false: A4, because the printer did not tell
};

// The most copies a job may ask for.
constexpr int kMostPrintCopies = 999;

struct PrintJob {
    std::wstring printer;
    std::wstring file;   // the document, a PDF
    int copies = 1;      // 1 to 999
    std::wstring title;  // empty: the print system's own
    std::vector<std::wstring> options;  // each one "name=value", given with -o
};

std::vector<std::wstring> EnumeratePrinters();
// Empty when there is none.
std::wstring DefaultPrinterName();
// The default PageSize of the printer's options, else A4.
PaperSize DefaultPaper(const std::wstring& printer);
// Paper names as printer descriptions and the print system give them
// ("A4", "Letter", "A4.Borderless", "iso_a5_148x210mm", "na_letter_8.5x11in").
std::optional<PaperSize> PaperSizeByName(std::wstring_view name);
// A PDF printer context setting of the printer's default paper.
PdfPrinterSettings PrinterPdfSettings(const std::wstring& printer);
bool IsValidPrinterName(const std::wstring& name);

// Hands the file to `lp`. TRUE with the print system's job id in `message`;
// FALSE with the last error and, where there is one, the message of `lp`:
// ERROR_INVALID_PRINTER_NAME, ERROR_INVALID_PARAMETER (copies, options),
// ERROR_FILE_NOT_FOUND (the file, or `lp` itself, is missing), ERROR_TIMEOUT,
// ERROR_GEN_FAILURE (refused by the print system).
BOOL SubmitPrintJob(const PrintJob& job, std::wstring& message);

}  // namespace ZELL::Shell
