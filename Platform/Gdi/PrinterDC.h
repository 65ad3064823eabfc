#pragma once
// A printer context that writes PDF: each page is drawn at the printer's
// resolution and placed on a PDF page of the paper size.
#include "Platform/Gdi/GdiTypes.h"

#include <functional>
#include <string>

struct PdfPrinterSettings {
    int dotsPerInch = 300;
    double paperWidthMm = 210.0;   // A4
    double paperHeightMm = 297.0;
    double marginMm = 5.0;         // unprintable border on every side
};

// The file is written by StartDoc (DOCINFO's output path, when given, wins).
HDC CreatePdfPrinterDC(LPCWSTR outputPath, const PdfPrinterSettings& settings = {});

// Return a positive value on success, SP_ERROR (-1) otherwise.
constexpr int SP_ERROR = -1;
int StartDocW(HDC dc, const DOCINFOW* info);
int StartPage(HDC dc);
int EndPage(HDC dc);
int EndDoc(HDC dc);
int AbortDoc(HDC dc);

// Asked after every finished page whether to go on; FALSE ends the document
// as AbortDoc does, and that EndPage gives SP_APPABORT with
// ERROR_PRINT_CANCELLED. The second argument is 0 (no spooler error).
using ABORTPROC = BOOL (*)(HDC dc, int error);
constexpr int SP_APPABORT = -2;
constexpr DWORD ERROR_PRINT_CANCELLED = 63;
// A null procedure asks nothing. Returns a positive value, SP_ERROR for a
// context that is no printer.
int SetAbortProc(HDC dc, ABORTPROC proc);

// Where a finished document goes when StartDoc did not send it to a file of
// its own: EndDoc hands over the complete PDF (its path) and the document's
// name; the receiver owns the file from then on. FALSE, with the last error
// set, makes EndDoc fail.
using PrinterDelivery = std::function<BOOL(const std::string& pdfPath, const std::wstring& documentName)>;
BOOL SetPrinterDelivery(HDC dc, PrinterDelivery delivery);

#define StartDoc StartDocW
