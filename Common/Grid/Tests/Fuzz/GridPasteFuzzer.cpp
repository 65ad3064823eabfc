// Arbitrary clipboard text (any UTF-16 units, tabs, commas and line breaks
// in any number) pasted into the grid at any cell, with fixed, hidden and
// read-only rows and columns: the grid keeps its shape and its fixed cells.
// The first bytes pick the shape and the target cell; the rest is the text,
// two bytes a unit.
#include "Common/Grid/ZellGrid.h"
#include "Platform/Controls/EditClipboard.h"
#include "Platform/Controls/StandardControls.h"
#include "Platform/Framework/Core/StandardCommands.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace ZELL::Grid;

namespace {

CWnd& Parent()
{
    static CWnd* parent = [] {
        ::setenv("ZELL_DISPLAY", "headless", 0);
        ZELL::Controls::RegisterStandardControls();
        auto* made = new CWnd;
        made->CreateEx(0, CWnd::DefaultClassName(), L"paste", WS_POPUP | WS_VISIBLE, 0, 0, 420, 320, nullptr,
                       nullptr);
        return made;
    }();
    return *parent;
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 4)
        return 0;
    const int rows = 1 + data[0] % 8;
    const int cols = 1 + data[1] % 6;
    const int fixed = data[2] % 3;
    std::wstring text;
    for (std::size_t at = 4; at + 1 < size; at += 2)
        text.push_back(static_cast<wchar_t>(data[at] | (data[at + 1] << 8)));

    CWnd& parent = Parent();
    CZellGrid grid;
    if (!grid.Create(RECT{10, 10, 410, 310}, &parent, 77))
        std::abort();
    grid.SetRowTotal(rows);
    grid.SetColumnTotal(cols);
    grid.SetFixedRowTotal(std::min(fixed, rows));
    grid.SetFixedColumnTotal(std::min(fixed, cols));
    for (int row = 0; row < rows; ++row)
        for (int col = 0; col < cols; ++col)
            grid.SetCellText(row, col, L"x");
    if (data[2] & 8)
        grid.SetRowHeight(rows - 1, 0);
    if (data[2] & 16)
        grid.SetColumnWidth(cols - 1, 0);
    grid.EnableEditing((data[2] & 32) == 0);
    const bool lastReadOnly = (data[2] & 64) != 0;
    if (lastReadOnly)
        grid.SetCellReadOnly(rows - 1, cols - 1);
    grid.SetFocusCell(data[3] % 8, (data[3] >> 3) % 6);
    if (data[3] & 0x80)
        grid.SetSelectedRange(0, 0, rows - 1, cols - 1);

    if (!ZELL::Controls::PutClipboardText(grid.m_hWnd, text))
        std::abort();
    grid.SendMessage(WM_COMMAND, ID_EDIT_PASTE, 0);
    if (grid.GetRowCount() != rows || grid.GetColumnCount() != cols)
        std::abort();
    for (int row = 0; row < std::min(fixed, rows); ++row)
        for (int col = 0; col < cols; ++col)
            if (grid.GetCellText(row, col) != CString(L"x"))
                std::abort();
    if (lastReadOnly && grid.GetCellText(rows - 1, cols - 1) != CString(L"x"))
        std::abort();
    grid.DestroyWindow();
    return 0;
}
