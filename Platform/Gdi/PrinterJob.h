#pragma once
// The document state of a printer context: a PDF file that receives one page
// picture per StartPage/EndPage pair.
#include "Platform/Gdi/GdiObject.h"

#include <string>

namespace ZELL::Gdi {

struct PrinterJob {
    ~PrinterJob();

    std::string outputPath;
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
};

}  // namespace ZELL::Gdi
