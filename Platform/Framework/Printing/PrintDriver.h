#pragma once
// The print path of a printable object: the print dialog, the document on
// the chosen printer and its pages, with the hooks called in order:
// OnPreparePrinting (the place to set the page count and ask the dialog),
// OnBeginPrinting, then per page OnPrepareDC and OnPrint between StartPage
// and EndPage, and OnEndPrinting. A hook that clears m_bContinuePrinting
// ends the run after the page; a failed page aborts the document.
#include "Platform/Framework/Drawing/DC.h"
#include "Platform/Framework/Printing/PrintInfo.h"

class CWnd;

class CPrintDriver {
public:
    virtual ~CPrintDriver() = default;

    // TRUE when the document was printed; FALSE when the user cancelled or
    // printing failed (the last error tells).
    BOOL Print(LPCWSTR documentName, CWnd* parent = nullptr);
    // Asks the print dialog with the info's page range (or, direct, takes
    // the dialog's blocks or the default printer); FALSE on cancel.
    BOOL DoPreparePrinting(CPrintInfo* info);

protected:
    virtual BOOL OnPreparePrinting(CPrintInfo* info) { return DoPreparePrinting(info); }
    virtual void OnBeginPrinting(CDC*, CPrintInfo*) {}
    // Without a known page count only the first page is printed.
    virtual void OnPrepareDC(CDC*, CPrintInfo* info);
    virtual void OnPrint(CDC*, CPrintInfo*) {}
    virtual void OnEndPrinting(CDC*, CPrintInfo*) {}

private:
    bool PrintPages(CDC& dc, CPrintInfo& info);
    bool PrintPage(CDC& dc, CPrintInfo& info);
};
