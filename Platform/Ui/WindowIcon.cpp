#include "Platform/Ui/WindowIcon.h"

#include "Platform/Gdi/DeviceContext.h"
#include "Platform/Gdi/Icon.h"
#include "Platform/Gdi/ObjectContents.h"
#include "Platform/Ui/WindowSystem.h"

#include <algorithm>
#include <mutex>
#include <utility>

using namespace Ui;

namespace {

using Lock = std::unique_lock<WindowLock>;

constexpr WPARAM kSmallIcon = 0;  // ICON_SMALL
constexpr WPARAM kBigIcon = 1;    // ICON_BIG

constexpr std::uint32_t kOpaque = 0xFF000000u;

bool HasAlpha(const std::vector<std::uint32_t>& pixels)
{
    return std::any_of(pixels.begin(), pixels.end(), [](std::uint32_t p) { return (p >> 24) != 0; });
}

// The mask's white pixels are where the icon lets the background through.
bool MaskSet(const std::vector<std::uint32_t>& mask, std::size_t index)
{
    return index < mask.size() && (mask[index] & 0xFFFFFFu) != 0;
}

Display::IconImage Compose(const std::vector<std::uint32_t>& color, SIZE colorSize, const std::vector<std::uint32_t>& mask)
{
    Display::IconImage image;
    image.width = colorSize.cx;
    image.height = colorSize.cy;
    image.argb.resize(color.size());
    const bool alpha = HasAlpha(color);
    for (std::size_t i = 0; i < color.size(); ++i) {
        if (alpha)
            image.argb[i] = color[i];
        else
            image.argb[i] = MaskSet(mask, i) ? 0u : (color[i] & 0xFFFFFFu) | kOpaque;
    }
    return image;
}

// A monochrome icon: the AND mask over the XOR picture in one bitmap of twice the height.
Display::IconImage ComposeMono(const std::vector<std::uint32_t>& mask, SIZE maskSize)
{
    Display::IconImage image;
    image.width = maskSize.cx;
    image.height = maskSize.cy / 2;
    const std::size_t half = static_cast<std::size_t>(image.width) * image.height;
    image.argb.resize(half);
    for (std::size_t i = 0; i < half; ++i)
        image.argb[i] = MaskSet(mask, i) ? 0u : (MaskSet(mask, half + i) ? 0xFFFFFFu : 0u) | kOpaque;
    return image;
}

std::vector<Display::IconImage> PicturesOf(std::initializer_list<HICON> icons)
{
    std::vector<Display::IconImage> pictures;
    std::vector<HICON> seen;
    for (HICON icon : icons) {
        if (icon == nullptr || std::find(seen.begin(), seen.end(), icon) != seen.end())
            continue;
        seen.push_back(icon);
        if (auto picture = IconPicture(icon))
            pictures.push_back(std::move(*picture));
    }
    return pictures;
}

}

std::optional<Display::IconImage> Ui::IconPicture(HICON icon)
{
    ICONINFO info{};
    if (icon == nullptr || !GetIconInfo(icon, &info))
        return std::nullopt;
    SIZE maskSize{};
    SIZE colorSize{};
    const std::vector<std::uint32_t> mask = ZELL::Gdi::BitmapPixels(info.hbmMask, maskSize);
    const std::vector<std::uint32_t> color =
        info.hbmColor ? ZELL::Gdi::BitmapPixels(info.hbmColor, colorSize) : std::vector<std::uint32_t>{};
    if (info.hbmMask)
        DeleteObject(info.hbmMask);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    if (!color.empty())
        return Compose(color, colorSize, mask);
    if (mask.empty() || maskSize.cy < 2)
        return std::nullopt;
    return ComposeMono(mask, maskSize);
}

LRESULT Ui::SetWindowIcon(HWND hwnd, WPARAM which, HICON icon)
{
    HICON old = nullptr;
    {
        auto& ws = WindowSystem::Get();
        Lock lock(ws.Lock());
        auto w = ws.Peek(hwnd);
        if (!w || (which != kSmallIcon && which != kBigIcon))
            return 0;
        HICON& slot = which == kBigIcon ? w->bigIcon : w->smallIconSet;
        old = std::exchange(slot, icon);
    }
    ShowWindowIcons(hwnd);
    return reinterpret_cast<LRESULT>(old);
}

LRESULT Ui::GetWindowIcon(HWND hwnd, WPARAM which)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto w = ws.Peek(hwnd);
    if (!w)
        return 0;
    return reinterpret_cast<LRESULT>(which == kBigIcon ? w->bigIcon : w->smallIconSet);
}

void Ui::ShowWindowIcons(HWND hwnd)
{
    Display::NativeId native = 0;
    HICON big = nullptr;
    HICON small = nullptr;
    {
        auto& ws = WindowSystem::Get();
        Lock lock(ws.Lock());
        auto w = ws.Peek(hwnd);
        if (!w || w->native == 0)
            return;
        native = w->native;
        const bool own = w->bigIcon != nullptr || w->smallIconSet != nullptr;
        big = own ? w->bigIcon : (w->windowClass ? w->windowClass->icon : nullptr);
        small = own ? w->smallIconSet : (w->windowClass ? w->windowClass->smallIcon : nullptr);
    }
    // Read outside the window lock: the drawing objects have their own.
    LayerDisplay().SetIcon(native, PicturesOf({big, small}));
}
