#pragma once
// The print dialog: the printer (one of the print system's, or "Save as PDF"
// into a file), copies, page range and orientation; the choice comes back as
// global memory blocks (DEVMODEW, DEVNAMES) and, when asked, as a printer
// context that writes PDF and sends it to `lp` or into the chosen file.

#include "Platform/Base/GlobalMemory.h"
#include "Platform/Base/Types.h"
#include "Platform/Gdi/GdiTypes.h"
#include "Platform/Ui/WindowTypes.h"

constexpr int CCHFORMNAME = 32;

constexpr DWORD DM_ORIENTATION = 0x00000001;
constexpr DWORD DM_PAPERSIZE = 0x00000002;
constexpr DWORD DM_PAPERLENGTH = 0x00000004;
constexpr DWORD DM_PAPERWIDTH = 0x00000008;
constexpr DWORD DM_COPIES = 0x00000100;
constexpr DWORD DM_COLLATE = 0x00008000;
constexpr DWORD DM_FORMNAME = 0x00010000;

constexpr short DMORIENT_PORTRAIT = 1;
constexpr short DMORIENT_LANDSCAPE = 2;

constexpr short DMPAPER_LETTER = 1;
constexpr short DMPAPER_LEGAL = 5;
constexpr short DMPAPER_A3 = 8;
constexpr short DMPAPER_A4 = 9;
constexpr short DMPAPER_A5 = 11;
constexpr short DMPAPER_USER = 256;

constexpr WORD DM_SPECVERSION = 0x0401;

// The printer settings as far as printing here uses them; paper sizes are in
// tenths of a millimetre.
struct DEVMODEW {
    WCHAR dmDeviceName[CCHDEVICENAME] = {};
    WORD dmSpecVersion = DM_SPECVERSION;
    WORD dmDriverVersion = 0;
    WORD dmSize = sizeof(DEVMODEW);
    WORD dmDriverExtra = 0;
    DWORD dmFields = 0;
    short dmOrientation = DMORIENT_PORTRAIT;
    short dmPaperSize = DMPAPER_A4;
    short dmPaperLength = 2970;
    short dmPaperWidth = 2100;
    short dmScale = 100;
    short dmCopies = 1;
    short dmDefaultSource = 0;
    short dmPrintQuality = 0;
    short dmColor = 0;
    short dmDuplex = 0;
    short dmYResolution = 0;
    short dmTTOption = 0;
    short dmCollate = 0;
    WCHAR dmFormName[CCHFORMNAME] = {};
};
using DEVMODE = DEVMODEW;
using LPDEVMODEW = DEVMODEW*;

constexpr WORD DN_DEFAULTPRN = 0x0001;

// Followed by the driver, device and output names; the offsets count
// characters from the start of the block.
struct DEVNAMES {
    WORD wDriverOffset = 0;
    WORD wDeviceOffset = 0;
    WORD wOutputOffset = 0;
    WORD wDefault = 0;
};
using LPDEVNAMES = DEVNAMES*;

constexpr DWORD PD_ALLPAGES = 0x00000000;
constexpr DWORD PD_SELECTION = 0x00000001;
constexpr DWORD PD_PAGENUMS = 0x00000002;
constexpr DWORD PD_NOSELECTION = 0x00000004;
constexpr DWORD PD_NOPAGENUMS = 0x00000008;
constexpr DWORD PD_COLLATE = 0x00000010;
constexpr DWORD PD_PRINTTOFILE = 0x00000020;
constexpr DWORD PD_PRINTSETUP = 0x00000040;
constexpr DWORD PD_NOWARNING = 0x00000080;
constexpr DWORD PD_RETURNDC = 0x00000100;
constexpr DWORD PD_RETURNIC = 0x00000200;
constexpr DWORD PD_RETURNDEFAULT = 0x00000400;
constexpr DWORD PD_SHOWHELP = 0x00000800;
constexpr DWORD PD_USEDEVMODECOPIES = 0x00040000;
constexpr DWORD PD_USEDEVMODECOPIESANDCOLLATE = 0x00040000;
constexpr DWORD PD_DISABLEPRINTTOFILE = 0x00080000;
constexpr DWORD PD_HIDEPRINTTOFILE = 0x00100000;
constexpr DWORD PD_NONETWORKBUTTON = 0x00200000;

using LPPRINTHOOKPROC = UINT_PTR (*)(HWND, UINT, WPARAM, LPARAM);
using LPSETUPHOOKPROC = UINT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

struct PRINTDLGW {
    DWORD lStructSize = sizeof(PRINTDLGW);
    HWND hwndOwner = nullptr;
    HGLOBAL hDevMode = nullptr;
    HGLOBAL hDevNames = nullptr;
    HDC hDC = nullptr;
    DWORD Flags = 0;
    WORD nFromPage = 0;
    WORD nToPage = 0;
    WORD nMinPage = 0;
    WORD nMaxPage = 0;
    WORD nCopies = 0;
    HINSTANCE hInstance = nullptr;
    LPARAM lCustData = 0;
    LPPRINTHOOKPROC lpfnPrintHook = nullptr;
    LPSETUPHOOKPROC lpfnSetupHook = nullptr;
    LPCWSTR lpPrintTemplateName = nullptr;
    LPCWSTR lpSetupTemplateName = nullptr;
    HGLOBAL hPrintTemplate = nullptr;
    HGLOBAL hSetupTemplate = nullptr;
};
using PRINTDLG = PRINTDLGW;
using LPPRINTDLGW = PRINTDLGW*;

// TRUE when the user chose OK (or, with PD_RETURNDEFAULT, when the default
// printer's settings were had); FALSE on Cancel, with CommDlgExtendedError 0,
// and on failure with its code. The caller owns and frees hDevMode,
// hDevNames (GlobalFree) and hDC (DeleteDC).
BOOL PrintDlgW(LPPRINTDLGW pd);
#define PrintDlg PrintDlgW
