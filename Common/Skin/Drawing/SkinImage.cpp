#include "Common/Skin/Drawing/SkinImage.h"

#include "Common/Skin/Drawing/PixelSection.h"

#include "Platform/Framework/App/WinApp.h"
#include "Platform/Ui/WinUser.h"

namespace ZELL::Skin {

namespace SkinImage {

namespace {

HANDLE LoadResource(int id, UINT type, int width, int height)
{
    return ::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(id), type, width, height, LR_DEFAULTCOLOR);
}

}

HICON LoadIconResource(int id, int width, int height)
{
    return reinterpret_cast<HICON>(LoadResource(id, IMAGE_ICON, width, height));
}

HBITMAP LoadBitmapResource(int id)
{
    return reinterpret_cast<HBITMAP>(LoadResource(id, IMAGE_BITMAP, 0, 0));
}

HCURSOR LoadCursorResource(int id)
{
    return reinterpret_cast<HCURSOR>(LoadResource(id, IMAGE_CURSOR, 0, 0));
}

COLORREF Darker(COLORREF color)
{
    const auto darker = [](BYTE c) { return static_cast<BYTE>(c - c * 0.25); };
    return RGB(darker(GetRValue(color)), darker(GetGValue(color)), darker(GetBValue(color)));
}

COLORREF Gray(COLORREF color)
{
    const auto gray = static_cast<BYTE>(0.299 * GetRValue(color) + 0.587 * GetGValue(color) + 0.114 * GetBValue(color));
    return RGB(gray, gray, gray);
}

SIZE BitmapSize(HBITMAP bitmap)
{
    BITMAP info{};
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof info, &info) == 0)
        return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight};
}

SIZE IconSize(HICON icon)
{
    ICONINFO info{};
    if (icon == nullptr || !GetIconInfo(icon, &info))
        return SIZE{0, 0};
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    return SIZE{static_cast<LONG>(info.xHotspot * 2), static_cast<LONG>(info.yHotspot * 2)};
}

// Done on a 32-bit section, whose copy keeps each pixel's alpha byte, so an
// icon's copy stays as transparent as the icon.
HBITMAP CopyBitmap(HBITMAP bitmap, COLORREF transparent, COLORREF (*change)(COLORREF))
{
    const SIZE size = BitmapSize(bitmap);
    CPixelSection copy(nullptr, size.cx, size.cy);
    CSelectedBitmap source(bitmap);
    if (!copy.Ok() || source.Dc() == nullptr)
        return nullptr;
    BitBlt(copy.Dc(), 0, 0, size.cx, size.cy, source.Dc(), 0, 0, SRCCOPY);
    for (int y = 0; y < size.cy; ++y) {
        for (int x = 0; x < size.cx; ++x) {
            DWORD& pixel = copy.At(x, y);
            const COLORREF color = CPixelSection::ColorOf(pixel);
            if (color != transparent)
                pixel = CPixelSection::PixelOf(change(color), pixel);
        }
    }
    return copy.Release();
}

HICON CopyIcon(HICON icon, COLORREF (*change)(COLORREF))
{
    ICONINFO info{};
    if (icon == nullptr || !GetIconInfo(icon, &info))
        return nullptr;
    // Black stays black: it is where the mask shows the background.
    HBITMAP color = info.hbmColor != nullptr ? CopyBitmap(info.hbmColor, RGB(0, 0, 0), change) : nullptr;
    HICON copy = nullptr;
    if (color != nullptr) {
        ICONINFO made = info;
        made.hbmColor = color;
        copy = CreateIconIndirect(&made);
        DeleteObject(color);
    }
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    return copy;
}

HBITMAP MakeMask(HBITMAP bitmap, COLORREF transparent)
{
    const SIZE size = BitmapSize(bitmap);
    if (size.cx <= 0 || size.cy <= 0)
        return nullptr;
    HBITMAP mask = CreateBitmap(size.cx, size.cy, 1, 1, nullptr);
    if (mask == nullptr)
        return nullptr;
    CSelectedBitmap maskDc(mask);
    CSelectedBitmap imageDc(bitmap);
    for (int y = 0; y < size.cy; ++y) {
        for (int x = 0; x < size.cx; ++x) {
            const bool see = GetPixel(imageDc.Dc(), x, y) == transparent;
            SetPixelV(maskDc.Dc(), x, y, see ? RGB(255, 255, 255) : RGB(0, 0, 0));
            if (see)
                SetPixelV(imageDc.Dc(), x, y, RGB(0, 0, 0));
        }
    }
    return mask;
}

}

}  // namespace ZELL::Skin
