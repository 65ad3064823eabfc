#include "Platform/Gdi/PrinterDC.h"

#include "Platform/Base/LastError.h"
#include "Platform/Base/FileSystemPath.h"
#include "Platform/Base/WinError.h"
#include "Platform/Gdi/DeviceContext.h"
#include "Platform/Gdi/PrinterJob.h"

#include <cairo-pdf.h>
#include <pango/pangocairo.h>

#include <cmath>
#include <cstdio>

using namespace ZELL::Gdi;

namespace {

constexpr double kPointsPerInch = 72.0;
constexpr double kMmPerInch = 25.4;

std::shared_ptr<DCObject> FindPrinter(HDC dc)
{
    auto context = FindDC(dc);
    if (!context)
        return nullptr;
    if (context->type != DCType::Printer || !context->printer) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return context;
}

// Runs a document or page step on the job of a printer context; SP_ERROR
// when the handle is no printer. The found context keeps the job alive.
template <typename Step>
int WithPrinterJob(HDC dc, Step step)
{
    auto context = FindPrinter(dc);
    return context ? step(*context, *context->printer) : SP_ERROR;
}

int Fail(DWORD error, int result = SP_ERROR)
{
    SetLastError(error);
    return result;
}

void CloseDocument(PrinterJob& job)
{
    job.page.reset();
    job.pageText.clear();
    if (job.pdf) {
        cairo_surface_finish(job.pdf);
        cairo_surface_destroy(job.pdf);
        job.pdf = nullptr;
    }
    job.inDocument = false;
    job.inPage = false;
}

// The page's text goes in first and the opaque picture over it: readers and
// text extraction find the text, and the page shows the picture unchanged.
void PutTextUnder(cairo_t* cr, const PrinterJob& job)
{
    for (const PrintedText& line : job.pageText) {
        cairo_save(cr);
        cairo_translate(cr, job.offsetXPx, job.offsetYPx);
        for (const RECT& r : line.clip)
            cairo_rectangle(cr, r.left, r.top, r.right - r.left, r.bottom - r.top);
        cairo_clip(cr);
        cairo_translate(cr, line.at.x, line.at.y);
        cairo_scale(cr, line.scaleX, line.scaleY);
        cairo_set_source_rgb(cr, 0, 0, 0);
        pango_cairo_show_layout(cr, line.layout.get());
        cairo_restore(cr);
    }
}

}  // namespace

namespace ZELL::Gdi {

void KeepPrintedText(DCObject& dc, PangoLayout* layout, POINT at, double scaleX, double scaleY,
                     std::vector<RECT> clip)
{
    if (!dc.printer || !dc.printer->inPage || clip.empty())
        return;
    g_object_ref(layout);
    dc.printer->pageText.push_back(
        {std::shared_ptr<PangoLayout>(layout, [](PangoLayout* l) { g_object_unref(l); }), at, scaleX, scaleY,
         std::move(clip)});
}

}  // namespace ZELL::Gdi

HDC CreatePdfPrinterDC(LPCWSTR outputPath, const PdfPrinterSettings& settings)
{
    if (settings.dotsPerInch < 36 || settings.dotsPerInch > 1200 || settings.paperWidthMm <= 2 * settings.marginMm ||
        settings.paperHeightMm <= 2 * settings.marginMm || settings.paperWidthMm > 2000 ||
        settings.paperHeightMm > 2000 || settings.marginMm < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto job = std::make_shared<PrinterJob>();
    if (outputPath)
        job->outputPath = Text::WideToFileName(outputPath);
    const double dpmm = settings.dotsPerInch / kMmPerInch;
    // The printable part is what the margins leave of the whole sheet, so
    // that the sheet in pixels is the paper size, not the sum of rounded parts.
    job->offsetXPx = static_cast<int>(std::lround(settings.marginMm * dpmm));
    job->offsetYPx = job->offsetXPx;
    job->pageWidthPx = static_cast<int>(std::lround(settings.paperWidthMm * dpmm)) - 2 * job->offsetXPx;
    job->pageHeightPx = static_cast<int>(std::lround(settings.paperHeightMm * dpmm)) - 2 * job->offsetYPx;
    job->paperWidthPt = settings.paperWidthMm / kMmPerInch * kPointsPerInch;
    job->paperHeightPt = settings.paperHeightMm / kMmPerInch * kPointsPerInch;
    HDC memory = CreateCompatibleDC(nullptr);
    auto context = FindDC(memory);
    if (!context)
        return nullptr;
    context->type = DCType::Printer;
    context->dpi = settings.dotsPerInch;
    context->state.bitmap.reset();
    context->state.bitmapHandle = nullptr;
    context->printer = job;
    return memory;
}

int StartDocW(HDC dc, const DOCINFOW* info)
{
    return WithPrinterJob(dc, [&](DCObject&, PrinterJob& job) {
        if (job.inDocument)
            return Fail(ERROR_INVALID_PARAMETER);
        job.documentPath = info && info->lpszOutput && *info->lpszOutput ? Text::WideToFileName(info->lpszOutput)
                                                                         : job.outputPath;
        if (job.documentPath.empty())
            return Fail(ERROR_INVALID_PARAMETER);
        job.pdf = cairo_pdf_surface_create(job.documentPath.c_str(), job.paperWidthPt, job.paperHeightPt);
        if (cairo_surface_status(job.pdf) != CAIRO_STATUS_SUCCESS) {
            cairo_surface_destroy(job.pdf);
            job.pdf = nullptr;
            return Fail(ERROR_OPEN_FAILED);
        }
        job.documentName = info && info->lpszDocName ? info->lpszDocName : L"";
        if (!job.documentName.empty())
            cairo_pdf_surface_set_metadata(job.pdf, CAIRO_PDF_METADATA_TITLE,
                                           Text::WideToUtf8(job.documentName).c_str());
        job.inDocument = true;
        job.pagesDone = 0;
        return 1;
    });
}

int StartPage(HDC dc)
{
    return WithPrinterJob(dc, [&](DCObject&, PrinterJob& job) {
        if (!job.inDocument || job.inPage)
            return Fail(ERROR_INVALID_PARAMETER);
        job.page = BitmapObject::Create(job.pageWidthPx, job.pageHeightPx, 32);
        if (!job.page)
            return SP_ERROR;
        std::fill(job.page->store.begin(), job.page->store.end(), 0xFFFFFFu);
        cairo_surface_mark_dirty(job.page->surface);
        job.pageText.clear();
        job.inPage = true;
        return 1;
    });
}

int EndPage(HDC dc)
{
    return WithPrinterJob(dc, [&](DCObject& context, PrinterJob& job) {
        if (!job.inPage || !job.page)
            return Fail(ERROR_INVALID_PARAMETER);
        cairo_t* cr = cairo_create(job.pdf);
        const double scale = kPointsPerInch / context.dpi;
        cairo_scale(cr, scale, scale);
        PutTextUnder(cr, job);
        cairo_set_source_surface(cr, job.page->surface, job.offsetXPx, job.offsetYPx);
        cairo_paint(cr);
        cairo_show_page(cr);
        const cairo_status_t status = cairo_status(cr);
        cairo_destroy(cr);
        job.page.reset();
        job.pageText.clear();
        job.inPage = false;
        if (status != CAIRO_STATUS_SUCCESS)
            return Fail(ERROR_WRITE_FAULT);
        ++job.pagesDone;
        if (job.abortProc && !job.abortProc(dc, 0)) {
            AbortDoc(dc);
            return Fail(ERROR_PRINT_CANCELLED, SP_APPABORT);
        }
        return 1;
    });
}

int EndDoc(HDC dc)
{
    return WithPrinterJob(dc, [&](DCObject&, PrinterJob& job) {
        if (!job.inDocument)
            return Fail(ERROR_INVALID_PARAMETER);
        if (job.inPage && EndPage(dc) == SP_ERROR) {
            AbortDoc(dc);
            return SP_ERROR;
        }
        cairo_surface_finish(job.pdf);
        const cairo_status_t status = cairo_surface_status(job.pdf);
        CloseDocument(job);
        if (status != CAIRO_STATUS_SUCCESS) {
            std::remove(job.documentPath.c_str());
            return Fail(ERROR_WRITE_FAULT);
        }
        // A document sent to a file of the caller's stays there; one written
        // to the context's own file goes on to the printer.
        if (job.delivery && job.documentPath == job.outputPath && !job.delivery(job.documentPath, job.documentName))
            return SP_ERROR;
        return 1;
    });
}

int AbortDoc(HDC dc)
{
    return WithPrinterJob(dc, [&](DCObject&, PrinterJob& job) {
        const bool had = job.inDocument;
        CloseDocument(job);
        // A half-written document is not left behind.
        if (had)
            std::remove(job.documentPath.c_str());
        return 1;
    });
}

int SetAbortProc(HDC dc, ABORTPROC proc)
{
    return WithPrinterJob(dc, [&](DCObject&, PrinterJob& job) {
        job.abortProc = proc;
        return 1;
    });
}

BOOL SetPrinterDelivery(HDC dc, PrinterDelivery delivery)
{
    return WithPrinterJob(dc, [&](DCObject&, PrinterJob& job) {
        job.delivery = std::move(delivery);
        return 1;
    }) > 0;
}
