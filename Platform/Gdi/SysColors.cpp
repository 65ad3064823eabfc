#include "Platform/Gdi/SysColors.h"

#include "Platform/Base/LastError.h"
#include "Platform/Base/WinError.h"
#include "Platform/Gdi/GdiObjectTable.h"

#include <array>
#include <mutex>

using namespace ZELL::Gdi;

namespace {

constexpr int kColorCount = 31;

struct SysColorTable {
    std::mutex mutex;
    std::array<COLORREF, kColorCount> colors{};
    std::array<HBRUSH, kColorCount> brushes{};
    std::array<std::shared_ptr<BrushObject>, kColorCount> objects;

    SysColorTable()
    {
        colors = {
            RGB(200, 200, 200), RGB(0, 0, 0),       RGB(153, 180, 209), RGB(191, 205, 219), RGB(240, 240, 240),
            RGB(255, 255, 255), RGB(100, 100, 100), RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(0, 0, 0),
            RGB(180, 180, 180), RGB(244, 247, 252), RGB(171, 171, 171), RGB(0, 120, 215),   RGB(255, 255, 255),
            RGB(240, 240, 240), RGB(160, 160, 160), RGB(109, 109, 109), RGB(0, 0, 0),       RGB(0, 0, 0),
            RGB(255, 255, 255), RGB(105, 105, 105), RGB(227, 227, 227), RGB(0, 0, 0),       RGB(255, 255, 225),
            RGB(0, 0, 0),       RGB(0, 102, 204),   RGB(185, 209, 234), RGB(215, 228, 242), RGB(0, 120, 215),
            RGB(240, 240, 240),
        };
        for (int i = 0; i < kColorCount; ++i) {
            auto brush = std::make_shared<BrushObject>();
            brush->color = colors[static_cast<std::size_t>(i)];
            brush->stock = true;
            objects[static_cast<std::size_t>(i)] = brush;
            brushes[static_cast<std::size_t>(i)] = static_cast<HBRUSH>(static_cast<HGDIOBJ>(GdiHandleTable::Add(brush)));
        }
    }
};

SysColorTable& Table()
{
    static auto* table = new SysColorTable;  // its brushes are handed out until process end
    return *table;
}

bool InRange(int index) { return index >= 0 && index < kColorCount; }

}  // namespace

DWORD GetSysColor(int index)
{
    if (!InRange(index)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    SysColorTable& t = Table();
    std::lock_guard lock(t.mutex);
    return t.colors[static_cast<std::size_t>(index)];
}

HBRUSH GetSysColorBrush(int index)
{
    if (!InRange(index)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return Table().brushes[static_cast<std::size_t>(index)];
}

BOOL SetSysColors(int count, const int* indexes, const COLORREF* colors)
{
    if (count < 0 || (count > 0 && (!indexes || !colors))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    SysColorTable& t = Table();
    std::lock_guard lock(t.mutex);
    for (int i = 0; i < count; ++i) {
        if (!InRange(indexes[i]))
            continue;
        const auto at = static_cast<std::size_t>(indexes[i]);
        t.colors[at] = colors[i] & 0xFFFFFF;
        // The brush follows its colour, as the platform's system brushes do.
        t.objects[at]->color = colors[i] & 0xFFFFFF;
    }
    return TRUE;
}
