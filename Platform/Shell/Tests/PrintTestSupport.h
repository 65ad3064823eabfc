#pragma once
// What the printing tests share: a print system of stand-in commands, a
// document printed page by page, and what a PDF holds as the poppler tools
// read it.

#include "Platform/Gdi/Gdi.h"
#include "Platform/Shell/ChildProcess.h"
#include "Platform/Shell/Tests/ShellTestSupport.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

namespace ShellTest {

class PrintSystemTest : public StandInTest {
protected:
    void SetUp() override
    {
        StandInTest::SetUp();
        std::filesystem::create_directories(m_spool);
    }
    // Documents on their way to the printer wait here, so that the test sees
    // only its own.
    std::filesystem::path m_spool = m_folder / "spool";
    CScopedVariable m_temporary{L"TMPDIR", Wide(m_spool)};
    // "Save as PDF" proposes a file in the home folder.
    CScopedVariable m_home{L"HOME", Wide(m_folder.Path())};

    // Two printers, Label_2 the default, both with Letter as default paper.
    void PrintSystemWithPrinters()
    {
        StandIn("lpstat", "case \"$1\" in\n"
                          "-e) printf 'Office\\nLabel_2\\n' ;;\n"
                          "-d) echo 'system default destination: Label_2' ;;\n"
                          "esac\n");
        StandIn("lpoptions", "echo 'PageSize/Media Size: A4 *Letter'\n");
    }
    void NoPrintSystem() { StandIn("lpstat", "echo 'lpstat: No destinations added.' >&2\nexit 1\n"); }
    // An `lp` that keeps a copy of the file it was given (its last argument).
    void LpKeepingTheFile(const std::filesystem::path& copy)
    {
        StandIn("lp", "for last in \"$@\"; do :; done\ncp \"$last\" '" + copy.string() +
                          "'\necho 'request id is Label_2-7 (1 file(s))'\n");
    }
};

// Prints `pages` pages, each with "Page n of N" in its top-left corner and a
// centred line below; false at the first call that failed.
inline bool PrintDocument(HDC dc, int pages, const wchar_t* name = L"Grid")
{
    DOCINFOW info;
    info.lpszDocName = name;
    if (StartDocW(dc, &info) <= 0)
        return false;
    for (int page = 1; page <= pages; ++page) {
        if (StartPage(dc) <= 0)
            return false;
        const std::wstring text = L"Page " + std::to_wstring(page) + L" of " + std::to_wstring(pages);
        TextOutW(dc, 40, 40, text.c_str(), static_cast<int>(text.size()));
        RECT line{0, 200, GetDeviceCaps(dc, HORZRES), 400};
        DrawTextW(dc, L"Coupler settings", -1, &line, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
        if (EndPage(dc) <= 0)
            return false;
    }
    return EndDoc(dc) > 0;
}

// The output of a poppler tool run on the file; fails the test when the tool
// is missing (scripts/install-deps brings it).
inline std::string PopplerOutput(const wchar_t* tool, const std::filesystem::path& pdf)
{
    ZELL::Shell::ChildStart start;
    start.arguments = {tool, Wide(pdf)};
    if (std::wstring(tool) == L"pdftotext")
        start.arguments.push_back(L"-");
    start.captureOutput = true;
    start.cLocale = true;
    const ZELL::Shell::ChildResult result = ZELL::Shell::RunChild(start, 10000);
    EXPECT_EQ(result.startError, 0) << "poppler-utils is missing";
    EXPECT_EQ(result.exitCode, 0u);
    return result.output;
}

// "Pages:" and "Page size:" of pdfinfo.
struct PdfFacts {
    int pages = 0;
    std::string pageSize;  // "612 x 792 pts (letter)"
};

inline PdfFacts ReadPdfFacts(const std::filesystem::path& pdf)
{
    const std::string info = PopplerOutput(L"pdfinfo", pdf);
    PdfFacts facts;
    std::smatch match;
    if (std::regex_search(info, match, std::regex(R"(Pages:\s+(\d+))")))
        facts.pages = std::stoi(match[1]);
    if (std::regex_search(info, match, std::regex(R"(Page size:\s+([^\n]+))")))
        facts.pageSize = match[1];
    return facts;
}

}  // namespace ShellTest
