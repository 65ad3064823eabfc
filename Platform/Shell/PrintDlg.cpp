#include "Platform/Shell/PrintDlg.h"

#include "Platform/Base/LastError.h"
#include "Platform/Shell/CommonDialogError.h"
#include "Platform/Shell/PrintDialogBox.h"
#include "Platform/Ui/WinUser.h"

namespace {

using namespace ZELL::Shell;

BOOL Fail(DWORD code)
{
    SetCommonDialogError(code);
    return FALSE;
}

void Replace(HGLOBAL& block, HGLOBAL with)
{
    if (block)
        GlobalFree(block);
    block = with;
}

// Hands the choice back in the caller's structure: the blocks (the caller's
// old ones freed), the copies where the flags want them, and the context.
BOOL Answer(PRINTDLGW& pd, PrinterChoice choice)
{
    WORD copies = static_cast<WORD>(choice.copies);
    if (!(pd.Flags & PD_USEDEVMODECOPIES)) {
        // The program prints its copies itself; the printer makes one.
        choice.copies = 1;
    } else {
        copies = 1;
    }
    HGLOBAL mode = MakeDevMode(choice);
    HGLOBAL names = MakeDevNames(choice);
    if (!mode || !names) {
        GlobalFree(mode);
        GlobalFree(names);
        return Fail(CDERR_MEMALLOCFAILURE);
    }
    HDC dc = nullptr;
    if (pd.Flags & (PD_RETURNDC | PD_RETURNIC)) {
        dc = CreatePrinterContext(choice);
        if (!dc) {
            GlobalFree(mode);
            GlobalFree(names);
            return Fail(PDERR_CREATEICFAILURE);
        }
    }
    Replace(pd.hDevMode, mode);
    Replace(pd.hDevNames, names);
    pd.hDC = dc;
    pd.nCopies = copies;
    return TRUE;
}

BOOL ReturnDefault(PRINTDLGW& pd)
{
    // The platform refuses to overwrite blocks the caller still holds.
    if (pd.hDevMode || pd.hDevNames)
        return Fail(PDERR_RETDEFFAILURE);
    return Answer(pd, DefaultPrinterChoice());
}

}  // namespace

BOOL PrintDlgW(LPPRINTDLGW pd)
{
    SetCommonDialogError(0);
    if (!pd || pd->lStructSize != sizeof(PRINTDLGW))
        return Fail(CDERR_STRUCTSIZE);
    if (pd->hwndOwner && !IsWindow(pd->hwndOwner))
        return Fail(CDERR_INITIALIZATION);
    if (pd->Flags & PD_RETURNDEFAULT)
        return ReturnDefault(*pd);
    std::optional<PrinterChoice> initial = ReadPrinterChoice(pd->hDevMode, pd->hDevNames);
    if (!initial)
        initial = DefaultPrinterChoice();
    else if (!initial->IsFile() && !initial->paper.fromPrinter)
        initial->paper = DefaultPaper(initial->printer);
    CPrintDialogBox box(*pd, *initial, EnumeratePrinters());
    const INT_PTR answer = box.Run();
    if (answer != IDOK)
        return Fail(answer == IDCANCEL ? 0 : CDERR_INITIALIZATION);
    pd->Flags = (pd->Flags & ~(PD_SELECTION | PD_PAGENUMS)) | box.RangeFlag();
    if (box.RangeFlag() == PD_PAGENUMS) {
        pd->nFromPage = box.FromPage();
        pd->nToPage = box.ToPage();
    }
    return Answer(*pd, box.Choice());
}
