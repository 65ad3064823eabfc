// Any file either loads or is refused with the grid untouched; what loads
// saves and loads again to the same cells.
#include "Common/Grid/ZellGrid.h"
#include "Platform/Base/Tests/Fuzz/FuzzScratchFolder.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace ZELL::Grid;

namespace {

class CQuietGrid : public CZellGrid {
protected:
    void OnTextFileError(LPCWSTR) override {}
};

std::vector<CString> Texts(const CZellGrid& grid)
{
    std::vector<CString> texts;
    for (int row = 0; row < grid.GetRowCount(); ++row)
        for (int col = 0; col < grid.GetColumnCount(); ++col)
            texts.push_back(grid.GetCellText(row, col));
    texts.emplace_back(grid.GetColumnCount() == 0 ? L"" : L"|");
    return texts;
}

CString FilePath(const char* name)
{
    return CString((FuzzSupport::ScratchFolder() / name).wstring().c_str());
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const WCHAR separator = data[0] % 2 != 0 ? L'\t' : L',';
    const CString input = FilePath("input.txt");
    std::ofstream(std::filesystem::path(input.GetString()), std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));

    CQuietGrid grid;
    grid.SetRowTotal(1);
    grid.SetColumnTotal(1);
    grid.SetCellText(0, 0, L"before");
    const auto before = Texts(grid);
    if (!grid.LoadFromFile(input, separator)) {
        if (Texts(grid) != before)
            std::abort();
        return 0;
    }
    const CString copy = FilePath("copy.txt");
    CQuietGrid again;
    if (!grid.SaveToFile(copy, separator) || !again.LoadFromFile(copy, separator) || Texts(again) != Texts(grid))
        std::abort();
    return 0;
}
