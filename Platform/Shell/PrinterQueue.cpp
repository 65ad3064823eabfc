#include "Platform/Shell/PrinterQueue.h"

#include "Platform/Base/LastError.h"
#include "Platform/Base/TextConversion.h"
#include "Platform/Base/WinError.h"
#include "Platform/Shell/ChildProcess.h"
#include "Platform/Shell/PathConversion.h"

#include <cstring>
#include <cwchar>
#include <cwctype>
#include <filesystem>

namespace ZELL::Shell {

namespace {

constexpr DWORD kQueryWaitMs = 5000;
constexpr DWORD kSubmitWaitMs = 30000;
constexpr double kMmPerInch = 25.4;

struct NamedPaper {
    const wchar_t* name;
    double widthMm;
    double heightMm;
};

constexpr NamedPaper kPapers[] = {
    {L"A3", 297, 420},          {L"A4", 210, 297},        {L"A5", 148, 210},        {L"A6", 105, 148},
    {L"B5", 176, 250},          {L"Letter", 215.9, 279.4}, {L"Legal", 215.9, 355.6}, {L"Executive", 184.15, 266.7},
    {L"Tabloid", 279.4, 431.8}, {L"Ledger", 431.8, 279.4}, {L"Statement", 139.7, 215.9},
};

ChildResult Query(std::vector<std::wstring> arguments, DWORD milliseconds)
{
    ChildStart start;
    start.arguments = std::move(arguments);
    start.captureOutput = true;
    start.cLocale = true;
    return RunChild(start, milliseconds);
}

bool Succeeded(const ChildResult& result) { return result.startError == 0 && !result.timedOut && result.exitCode == 0; }

std::vector<std::wstring> Lines(const std::string& output)
{
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    while (start < output.size()) {
        const std::size_t end = std::min(output.find('\n', start), output.size());
        std::string line = output.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(Text::Utf8ToWide(line));
        start = end + 1;
    }
    return lines;
}

bool EqualsNoCase(std::wstring_view left, std::wstring_view right)
{
    if (left.size() != right.size())
        return false;
    for (std::size_t i = 0; i < left.size(); ++i)
        if (std::towlower(left[i]) != std::towlower(right[i]))
            return false;
    return true;
}

// "..._<w>x<h>mm" or "..._<w>x<h>in", the size at the end of a media name.
std::optional<PaperSize> PaperFromDimensions(std::wstring_view name)
{
    const std::size_t underscore = name.rfind(L'_');
    if (underscore == std::wstring_view::npos || name.size() < underscore + 6)
        return std::nullopt;
    const std::wstring size(name.substr(underscore + 1));
    const std::wstring unit = size.substr(size.size() - 2);
    if (unit != L"mm" && unit != L"in")
        return std::nullopt;
    wchar_t* end = nullptr;
    const double width = std::wcstod(size.c_str(), &end);
    if (!end || *end != L'x')
        return std::nullopt;
    const wchar_t* heightText = end + 1;
    const double height = std::wcstod(heightText, &end);
    if (end == heightText || end != size.c_str() + size.size() - 2 || !(width > 0) || !(height > 0) ||
        width > 2000 || height > 2000)
        return std::nullopt;
    const double scale = unit == L"in" ? kMmPerInch : 1.0;
    return PaperSize{std::wstring(name), width * scale, height * scale, true};
}

std::optional<std::wstring> DefaultChoice(const std::wstring& line, std::wstring_view option)
{
    const std::size_t colon = line.find(L':');
    if (colon == std::wstring::npos)
        return std::nullopt;
    const std::wstring key = line.substr(0, std::min(line.find(L'/'), colon));
    if (!EqualsNoCase(key, option))
        return std::nullopt;
    std::size_t at = colon + 1;
    while (at < line.size()) {
        while (at < line.size() && line[at] == L' ')
            ++at;
        const std::size_t end = std::min(line.find(L' ', at), line.size());
        if (at < end && line[at] == L'*')
            return line.substr(at + 1, end - at - 1);
        at = end;
    }
    return std::nullopt;
}

BOOL Fail(DWORD error)
{
    SetLastError(error);
    return FALSE;
}

bool IsCleanText(const std::wstring& text)
{
    for (wchar_t c : text)
        if (std::iswcntrl(c))
            return false;
    return true;
}

std::vector<std::wstring> LpArguments(const PrintJob& job, const std::wstring& file)
{
    std::vector<std::wstring> arguments = {L"lp", L"-d", job.printer, L"-n", std::to_wstring(job.copies)};
    if (!job.title.empty()) {
        arguments.push_back(L"-t");
        arguments.push_back(job.title);
    }
    for (const std::wstring& option : job.options) {
        arguments.push_back(L"-o");
        arguments.push_back(option);
    }
    arguments.push_back(file);
    return arguments;
}

// "request id is NAME-12 (1 file(s))" gives NAME-12.
std::wstring JobId(const std::string& output)
{
    const std::string marker = "request id is ";
    const std::size_t at = output.find(marker);
    if (at == std::string::npos)
        return {};
    const std::size_t start = at + marker.size();
    const std::size_t end = output.find_first_of(" \n", start);
    return Text::Utf8ToWide(output.substr(start, end == std::string::npos ? std::string::npos : end - start));
}

std::wstring TrimmedMessage(const std::string& output)
{
    std::wstring message = Text::Utf8ToWide(output);
    while (!message.empty() && std::iswspace(message.back()))
        message.pop_back();
    return message;
}

}  // namespace

bool IsValidPrinterName(const std::wstring& name)
{
    if (name.empty() || name.size() > 127 || name.front() == L'-')
        return false;
    for (wchar_t c : name)
        if (std::iswcntrl(c) || c == L' ' || c == L'/' || c == L'#' || c == L'\\')
            return false;
    return true;
}

std::vector<std::wstring> EnumeratePrinters()
{
    std::vector<std::wstring> printers;
    const ChildResult result = Query({L"lpstat", L"-e"}, kQueryWaitMs);
    if (!Succeeded(result))
        return printers;
    for (const std::wstring& line : Lines(result.output))
        if (IsValidPrinterName(line))
            printers.push_back(line);
    return printers;
}

std::wstring DefaultPrinterName()
{
    // "system default destination: NAME", or "no system default destination".
    const ChildResult result = Query({L"lpstat", L"-d"}, kQueryWaitMs);
    if (!Succeeded(result))
        return {};
    for (const std::wstring& line : Lines(result.output)) {
        const std::size_t colon = line.rfind(L": ");
        if (colon == std::wstring::npos)
            continue;
        const std::wstring name = line.substr(colon + 2);
        if (IsValidPrinterName(name))
            return name;
    }
    return {};
}

std::optional<PaperSize> PaperSizeByName(std::wstring_view name)
{
    // "A4.Borderless" and the like are A4 paper too.
    const std::wstring_view base = name.substr(0, name.find(L'.') == 0 ? name.size() : name.find(L'.'));
    for (const NamedPaper& paper : kPapers)
        if (EqualsNoCase(base, paper.name))
            return PaperSize{std::wstring(name), paper.widthMm, paper.heightMm, true};
    return PaperFromDimensions(name);
}

PaperSize DefaultPaper(const std::wstring& printer)
{
    if (!IsValidPrinterName(printer))
        return {};
    const ChildResult result = Query({L"lpoptions", L"-p", printer, L"-l"}, kQueryWaitMs);
    if (!Succeeded(result))
        return {};
    for (const std::wstring& line : Lines(result.output)) {
        const std::optional<std::wstring> choice = DefaultChoice(line, L"PageSize");
        if (!choice)
            continue;
        const std::optional<PaperSize> paper = PaperSizeByName(*choice);
        return paper ? *paper : PaperSize{};
    }
    return {};
}

PdfPrinterSettings PrinterPdfSettings(const std::wstring& printer)
{
    const PaperSize paper = DefaultPaper(printer);
    PdfPrinterSettings settings;
    settings.paperWidthMm = paper.widthMm;
    settings.paperHeightMm = paper.heightMm;
    return settings;
}

BOOL SubmitPrintJob(const PrintJob& job, std::wstring& message)
{
    message.clear();
    if (!IsValidPrinterName(job.printer))
        return Fail(ERROR_INVALID_PRINTER_NAME);
    if (job.copies < 1 || job.copies > kMostPrintCopies || !IsCleanText(job.title))
        return Fail(ERROR_INVALID_PARAMETER);
    for (const std::wstring& option : job.options)
        if (option.empty() || option.front() == L'-' || !IsCleanText(option))
            return Fail(ERROR_INVALID_PARAMETER);
    std::error_code error;
    const std::filesystem::path file = std::filesystem::absolute(FsPath(job.file), error);
    if (job.file.empty() || error || !std::filesystem::is_regular_file(file, error))
        return Fail(ERROR_FILE_NOT_FOUND);

    ChildStart start;
    // An absolute path cannot be taken for an option.
    start.arguments = LpArguments(job, WidePath(file));
    start.captureOutput = true;
    start.captureErrors = true;
    start.cLocale = true;
    const ChildResult result = RunChild(start, kSubmitWaitMs);
    if (result.startError != 0) {
        message = L"lp: " + Text::Utf8ToWide(std::strerror(result.startError));
        return Fail(Win32ErrorFromErrno(result.startError));
    }
    if (result.timedOut) {
        message = L"lp did not answer";
        return Fail(ERROR_TIMEOUT);
    }
    if (result.exitCode != 0) {
        message = TrimmedMessage(result.output);
        return Fail(ERROR_GEN_FAILURE);
    }
    message = JobId(result.output);
    return TRUE;
}

}  // namespace ZELL::Shell

BOOL GetDefaultPrinterW(LPWSTR buffer, LPDWORD size)
{
    if (!size) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::wstring name = ZELL::Shell::DefaultPrinterName();
    if (name.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    const DWORD needed = static_cast<DWORD>(name.size() + 1);
    if (!buffer || *size < needed) {
        *size = needed;
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    std::wmemcpy(buffer, name.c_str(), needed);
    *size = needed;
    return TRUE;
}
