#include "Platform/Gdi/TextExtent.h"

#include "Platform/Base/LastError.h"
#include "Platform/Base/WinError.h"
#include "Platform/Base/TextConversion.h"
#include "Platform/Gdi/FontCache.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <vector>

using namespace ZELL::Gdi;

namespace {

constexpr int kMaxCount = 1 << 20;

// The UTF-8 byte offset of each character boundary of `text` in the layout's text.
std::vector<int> ByteBoundaries(const std::wstring& text)
{
    std::vector<int> bounds{0};
    bounds.reserve(text.size() + 1);
    int offset = 0;
    for (wchar_t c : text) {
        offset += static_cast<int>(Text::WideToUtf8(std::wstring_view(&c, 1)).size());
        bounds.push_back(offset);
    }
    return bounds;
}

// Pango units covered by the characters before `byteEnd`, in whatever visual
// order their runs have, so that right-to-left text measures as it shows.
int CoveredWidth(PangoLayoutLine* line, int byteEnd)
{
    if (byteEnd <= 0)
        return 0;
    int* ranges = nullptr;
    int count = 0;
    pango_layout_line_get_x_ranges(line, 0, byteEnd, &ranges, &count);
    long long width = 0;
    for (int i = 0; i < count; ++i)
        width += ranges[2 * i + 1] - ranges[2 * i];
    g_free(ranges);
    return static_cast<int>(std::min<long long>(width, 1LL << 30));
}

// The extent after each character in pixels, rounded up like the layout's own
// pixel extents so that the last one equals the text's width.
std::vector<int> CumulativeExtents(FontObject& font, const std::wstring& text, int width)
{
    std::vector<int> extents(text.size(), 0);
    if (text.empty())
        return extents;
    PangoLayout* layout = MakeLineLayout(font, text);
    PangoLayoutLine* line = pango_layout_get_line_readonly(layout, 0);
    int attrCount = 0;
    const PangoLogAttr* attrs = pango_layout_get_log_attrs_readonly(layout, &attrCount);
    const std::vector<int> bounds = ByteBoundaries(text);
    for (std::size_t i = 0; i < text.size(); ++i)
        extents[i] = line != nullptr ? PANGO_PIXELS_CEIL(CoveredWidth(line, bounds[i + 1])) : 0;
    // A boundary inside a cluster takes the extent of the cluster's end.
    int next = width;
    for (std::size_t i = text.size(); i-- > 0;) {
        const bool cursorStop = attrs != nullptr && static_cast<int>(i + 1) < attrCount && attrs[i + 1].is_cursor_position;
        if (i + 1 == text.size()) {
            extents[i] = width;
        } else if (!cursorStop) {
            extents[i] = next;
        }
        extents[i] = std::min(extents[i], next);
        next = extents[i];
    }
    g_object_unref(layout);
    return extents;
}

}

BOOL GetTextExtentExPointW(HDC dc, LPCWSTR text, int count, int maxExtent, int* fit, int* dx, LPSIZE size)
{
    auto context = FindDC(dc);
    if (!context)
        return FALSE;
    if (size == nullptr || count < 0 || count > kMaxCount || (count > 0 && text == nullptr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::wstring value(text != nullptr ? text : L"", static_cast<std::size_t>(count));
    auto font = FontOf(context->state);
    const TextExtent extent = MeasureLine(*font, value);
    size->cx = extent.width;
    size->cy = extent.height;
    if (fit == nullptr && dx == nullptr)
        return TRUE;
    const std::vector<int> extents = CumulativeExtents(*font, value, extent.width);
    if (dx != nullptr)
        std::copy(extents.begin(), extents.end(), dx);
    if (fit != nullptr) {
        const auto within = std::upper_bound(extents.begin(), extents.end(), maxExtent);
        *fit = static_cast<int>(within - extents.begin());
    }
    return TRUE;
}
