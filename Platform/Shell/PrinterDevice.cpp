#include "Platform/Shell/PrinterDevice.h"

#include "Platform/Base/DebugOutput.h"
#include "Platform/Base/LastError.h"
#include "Platform/Base/TextConversion.h"
#include "Platform/Base/WinError.h"
#include "Platform/Shell/PathConversion.h"
#include "Platform/Shell/XdgFolders.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <filesystem>
#include <memory>
#include <unistd.h>

namespace ZELL::Shell {

namespace {

constexpr const wchar_t* kPrinterDriver = L"lp";
constexpr const wchar_t* kFileDriver = L"pdf";

struct PaperCode {
    short code;
    const wchar_t* name;
};
constexpr PaperCode kPaperCodes[] = {
    {DMPAPER_LETTER, L"Letter"}, {DMPAPER_LEGAL, L"Legal"}, {DMPAPER_A3, L"A3"},
    {DMPAPER_A4, L"A4"},         {DMPAPER_A5, L"A5"},
};

short PaperCodeOf(const PaperSize& paper)
{
    const std::optional<PaperSize> named = PaperSizeByName(paper.name);
    for (const PaperCode& known : kPaperCodes) {
        const std::optional<PaperSize> size = PaperSizeByName(known.name);
        if (named && size && named->widthMm == size->widthMm && named->heightMm == size->heightMm)
            return known.code;
    }
    return DMPAPER_USER;
}

short TenthsOfMm(double mm) { return static_cast<short>(std::clamp(std::lround(mm * 10), 1L, 20000L)); }

template <std::size_t N>
void CopyName(WCHAR (&target)[N], const std::wstring& name)
{
    const std::size_t count = std::min(name.size(), N - 1);
    std::wmemcpy(target, name.c_str(), count);
    target[count] = L'\0';
}

// A NUL-terminated name at `offset` characters into a block of `count`
// characters; nothing when it runs past the end.
std::optional<std::wstring> NameAt(const wchar_t* block, std::size_t count, std::size_t offset)
{
    if (offset >= count)
        return std::nullopt;
    const wchar_t* start = block + offset;
    const wchar_t* end = std::find(start, block + count, L'\0');
    if (end == block + count)
        return std::nullopt;
    return std::wstring(start, end);
}

// Locks a global block for the scope; Get() is null for a bad handle.
class LockedBlock {
public:
    explicit LockedBlock(HGLOBAL block) : m_block(block), m_data(block ? GlobalLock(block) : nullptr) {}
    ~LockedBlock()
    {
        if (m_data)
            GlobalUnlock(m_block);
    }
    LockedBlock(const LockedBlock&) = delete;
    LockedBlock& operator=(const LockedBlock&) = delete;
    void* Get() const { return m_data; }
    SIZE_T Size() const { return m_data ? GlobalSize(m_block) : 0; }

private:
    HGLOBAL m_block = nullptr;
    void* m_data = nullptr;
};

HGLOBAL NewBlock(const void* data, std::size_t bytes)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!block)
        return nullptr;
    LockedBlock locked(block);
    if (!locked.Get()) {
        GlobalFree(block);
        return nullptr;
    }
    std::memcpy(locked.Get(), data, bytes);
    return block;
}

void ApplyDevMode(const DEVMODEW& mode, PrinterChoice& choice)
{
    if (mode.dmFields & DM_COPIES)
        choice.copies = std::clamp<int>(mode.dmCopies, 1, kMostPrintCopies);
    if (mode.dmFields & DM_COLLATE)
        choice.collate = mode.dmCollate != 0;
    if (mode.dmFields & DM_ORIENTATION)
        choice.landscape = mode.dmOrientation == DMORIENT_LANDSCAPE;
    if ((mode.dmFields & (DM_PAPERWIDTH | DM_PAPERLENGTH)) == (DM_PAPERWIDTH | DM_PAPERLENGTH) &&
        mode.dmPaperWidth > 0 && mode.dmPaperLength > 0) {
        const WCHAR* end = std::find(mode.dmFormName, mode.dmFormName + CCHFORMNAME, L'\0');
        choice.paper = PaperSize{std::wstring(mode.dmFormName, end), mode.dmPaperWidth / 10.0,
                                 mode.dmPaperLength / 10.0, true};
    }
}

// A file of our own (made exclusively, so the name cannot be someone
// else's) for the documents on their way to the printer; it goes when the
// context goes.
struct SpoolFile {
    std::string path;
    SpoolFile()
    {
        std::error_code noTemp;
        std::filesystem::path folder = std::filesystem::temp_directory_path(noTemp);
        if (noTemp)
            folder = "/tmp";
        std::string pattern = (folder / "zell-print-XXXXXX.pdf").string();
        const int fd = ::mkstemps(pattern.data(), 4);
        if (fd < 0)
            return;
        ::close(fd);
        path = pattern;
    }
    ~SpoolFile()
    {
        std::error_code ignored;
        if (!path.empty())
            std::filesystem::remove(path, ignored);
    }
    SpoolFile(const SpoolFile&) = delete;
    SpoolFile& operator=(const SpoolFile&) = delete;
};

PrinterDelivery DeliveryTo(const PrinterChoice& choice, std::shared_ptr<SpoolFile> spool)
{
    return [printer = choice.printer, copies = choice.copies, spool](const std::string& pdf,
                                                                      const std::wstring& name) {
        PrintJob job;
        job.printer = printer;
        job.file = Text::FileNameToWide(pdf);
        job.copies = copies;
        job.title = name;
        std::wstring message;
        const BOOL sent = SubmitPrintJob(job, message);
        const DWORD error = GetLastError();
        std::error_code ignored;
        std::filesystem::remove(pdf, ignored);
        if (!sent)
            OutputDebugStringW((L"Printing on " + printer + L" failed: " + message + L"\n").c_str());
        SetLastError(sent ? NO_ERROR : error);
        return sent;
    };
}

}  // namespace

std::wstring DefaultPdfFile()
{
    std::wstring folder = Xdg::UserFolder("XDG_DOCUMENTS_DIR", L"/Documents");
    std::error_code error;
    if (!std::filesystem::is_directory(FsPath(folder), error))
        folder = Xdg::HomeFolder();
    return folder + L"/print.pdf";
}

PrinterChoice DefaultPrinterChoice()
{
    PrinterChoice choice;
    choice.isDefault = true;
    choice.printer = DefaultPrinterName();
    if (choice.printer.empty()) {
        const std::vector<std::wstring> printers = EnumeratePrinters();
        if (!printers.empty())
            choice.printer = printers.front();
    }
    if (choice.IsFile())
        choice.file = DefaultPdfFile();
    else
        choice.paper = DefaultPaper(choice.printer);
    return choice;
}

HGLOBAL MakeDevMode(const PrinterChoice& choice)
{
    DEVMODEW mode;
    CopyName(mode.dmDeviceName, choice.DeviceName());
    mode.dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH | DM_COPIES | DM_COLLATE |
                    DM_FORMNAME;
    mode.dmOrientation = choice.landscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    mode.dmPaperSize = PaperCodeOf(choice.paper);
    mode.dmPaperWidth = TenthsOfMm(choice.paper.widthMm);
    mode.dmPaperLength = TenthsOfMm(choice.paper.heightMm);
    mode.dmCopies = static_cast<short>(std::clamp(choice.copies, 1, kMostPrintCopies));
    mode.dmCollate = choice.collate ? 1 : 0;
    CopyName(mode.dmFormName, choice.paper.name);
    return NewBlock(&mode, sizeof mode);
}

HGLOBAL MakeDevNames(const PrinterChoice& choice)
{
    const std::wstring driver = choice.IsFile() ? kFileDriver : kPrinterDriver;
    const std::wstring device = choice.DeviceName();
    const std::wstring output = choice.IsFile() ? choice.file : std::wstring(kPrinterDriver);
    constexpr std::size_t header = (sizeof(DEVNAMES) + sizeof(wchar_t) - 1) / sizeof(wchar_t);
    std::wstring block(header, L'\0');
    DEVNAMES names;
    names.wDriverOffset = static_cast<WORD>(block.size());
    block += driver + L'\0';
    names.wDeviceOffset = static_cast<WORD>(block.size());
    block += device + L'\0';
    names.wOutputOffset = static_cast<WORD>(block.size());
    block += output + L'\0';
    if (block.size() > 0xFFFF) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    names.wDefault = choice.isDefault ? DN_DEFAULTPRN : 0;
    std::memcpy(block.data(), &names, sizeof names);
    return NewBlock(block.data(), block.size() * sizeof(wchar_t));
}

std::optional<DeviceNames> ReadDeviceNames(HGLOBAL devNames)
{
    const LockedBlock block(devNames);
    if (!block.Get() || block.Size() < sizeof(DEVNAMES))
        return std::nullopt;
    DEVNAMES header;
    std::memcpy(&header, block.Get(), sizeof header);
    const auto* text = static_cast<const wchar_t*>(block.Get());
    const std::size_t count = block.Size() / sizeof(wchar_t);
    const std::optional<std::wstring> driver = NameAt(text, count, header.wDriverOffset);
    const std::optional<std::wstring> device = NameAt(text, count, header.wDeviceOffset);
    const std::optional<std::wstring> output = NameAt(text, count, header.wOutputOffset);
    if (!driver || !device || !output)
        return std::nullopt;
    return DeviceNames{*driver, *device, *output, (header.wDefault & DN_DEFAULTPRN) != 0};
}

std::optional<PrinterChoice> ReadPrinterChoice(HGLOBAL devMode, HGLOBAL devNames)
{
    const std::optional<DeviceNames> names = ReadDeviceNames(devNames);
    if (!names)
        return std::nullopt;
    PrinterChoice choice;
    choice.isDefault = names->isDefault;
    if (names->driver == kFileDriver || names->device == kSaveAsPdf)
        choice.file = names->output;
    else
        choice.printer = names->device;
    const LockedBlock mode(devMode);
    if (mode.Get() && mode.Size() >= sizeof(DEVMODEW)) {
        DEVMODEW settings;
        std::memcpy(&settings, mode.Get(), sizeof settings);
        ApplyDevMode(settings, choice);
    }
    return choice;
}

PdfPrinterSettings PdfSettingsOf(const PrinterChoice& choice)
{
    PdfPrinterSettings settings;
    settings.paperWidthMm = choice.paper.widthMm;
    settings.paperHeightMm = choice.paper.heightMm;
    if (choice.landscape)
        std::swap(settings.paperWidthMm, settings.paperHeightMm);
    return settings;
}

HDC CreatePrinterContext(const PrinterChoice& choice)
{
    if (choice.IsFile()) {
        if (choice.file.empty()) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        return CreatePdfPrinterDC(choice.file.c_str(), PdfSettingsOf(choice));
    }
    if (!IsValidPrinterName(choice.printer)) {
        SetLastError(ERROR_INVALID_PRINTER_NAME);
        return nullptr;
    }
    auto spool = std::make_shared<SpoolFile>();
    if (spool->path.empty()) {
        SetLastError(Win32ErrorFromErrno(errno));
        return nullptr;
    }
    HDC dc = CreatePdfPrinterDC(Text::FileNameToWide(spool->path).c_str(), PdfSettingsOf(choice));
    if (dc)
        SetPrinterDelivery(dc, DeliveryTo(choice, spool));
    return dc;
}

}  // namespace ZELL::Shell

HDC CreatePrinterDCFromDevNames(HGLOBAL devNames, HGLOBAL devMode)
{
    const std::optional<ZELL::Shell::PrinterChoice> choice = ZELL::Shell::ReadPrinterChoice(devMode, devNames);
    if (!choice) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return ZELL::Shell::CreatePrinterContext(*choice);
}
