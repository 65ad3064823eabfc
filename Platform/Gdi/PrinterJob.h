#pragma once
// The document state of a printer context: a PDF file that receives one page
// picture per StartPage/EndPage pair, with the page's text laid under the
// picture as PDF text, so that the document can be searched and its text
// taken out while the page looks exactly as it was drawn.
#include "Platform/Gdi/GdiObjectTable.h"
#include "Platform/Gdi/PrinterDC.h"

#include <pango/pango.h>

#include <memory>
#include <string>
#include <vector>

namespace ZELL::Gdi {

// One line of text as it was drawn on the page picture.
struct PrintedText {
    std::shared_ptr<PangoLayout> layout;
    POINT at{};  // page pixels of the line's top-left corner
    double scaleX = 1;
    double scaleY = 1;
    std::vector<RECT> clip;  // page pixels
};

struct PrinterJob {
    ~PrinterJob();

    std::string outputPath;    // the context's own file
    std::string documentPath;  // the file of the document being written
    std::wstring documentName;
    PrinterDelivery delivery;  // takes finished documents written to outputPath
    int pageWidthPx = 0;   // printable picture, printer pixels
    int pageHeightPx = 0;
    int offsetXPx = 0;     // unprintable margin
    int offsetYPx = 0;
    double paperWidthPt = 595.28;
    double paperHeightPt = 841.89;
    bool inDocument = false;
    bool inPage = false;
    int pagesDone = 0;
    BOOL (*abortProc)(HDC, int) = nullptr;  // asked between pages whether to go on
    cairo_surface_t* pdf = nullptr;
    std::shared_ptr<BitmapObject> page;  // the picture being drawn
    std::vector<PrintedText> pageText;   // the text drawn on it so far
};

// Keeps a line that is being drawn on a printer context's page, to be put
// into the page's PDF as text; the layout gains a reference.
void KeepPrintedText(DCObject& dc, PangoLayout* layout, POINT at, double scaleX, double scaleY,
                     std::vector<RECT> clip);

}  // namespace ZELL::Gdi
