#include "Common/Skin/Drawing/DrawManager.h"

#include "Common/Skin/Drawing/PixelSection.h"
#include "Common/Skin/Drawing/SkinImage.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>

namespace ZELL::Skin {

namespace {

using CPixels = CPixelSection;

COLORREF ColorOf(DWORD pixel)
{
    return CPixelSection::ColorOf(pixel);
}

DWORD PixelOf(COLORREF color, DWORD alpha)
{
    return CPixelSection::PixelOf(color, alpha);
}

using SkinImage::BitmapSize;

BYTE Channel(double value)
{
    return static_cast<BYTE>(std::clamp(value, 0.0, 255.0));
}

int PenStyleOf(int type)
{
    switch (type) {
    case CDrawManager::kPenDash: return PS_DASH;
    case CDrawManager::kPenDot: return PS_DOT;
    case CDrawManager::kPenDashDot: return PS_DASHDOT;
    case CDrawManager::kPenDashDotDot: return PS_DASHDOTDOT;
    default: return PS_SOLID;
    }
}

int Odd(int value)
{
    return std::max(1, value | 1);
}

}

// --- colour helpers ----------------------------------------------------------

COLORREF CDrawManager::GrayColor(COLORREF color)
{
    const BYTE gray = Channel(0.299 * GetRValue(color) + 0.587 * GetGValue(color) + 0.114 * GetBValue(color));
    return RGB(gray, gray, gray);
}

COLORREF CDrawManager::InvertColor(COLORREF color)
{
    return RGB(255 - GetRValue(color), 255 - GetGValue(color), 255 - GetBValue(color));
}

COLORREF CDrawManager::DarkenColor(COLORREF color, double factor)
{
    if (factor < 0.0 || factor >= 1.0)
        return color;
    return RGB(Channel(GetRValue(color) * factor), Channel(GetGValue(color) * factor),
               Channel(GetBValue(color) * factor));
}

COLORREF CDrawManager::LightenColor(COLORREF color, double factor)
{
    if (factor <= 0.0 || factor > 1.0)
        return color;
    return RGB(Channel(GetRValue(color) * (1 + factor)), Channel(GetGValue(color) * (1 + factor)),
               Channel(GetBValue(color) * (1 + factor)));
}

COLORREF CDrawManager::MixedColor(COLORREF a, double fa, COLORREF b, double fb)
{
    return RGB(Channel(GetRValue(a) * fa + GetRValue(b) * fb), Channel(GetGValue(a) * fa + GetGValue(b) * fb),
               Channel(GetBValue(a) * fa + GetBValue(b) * fb));
}

// --- image effects -------------------------------------------------------------

HBITMAP CDrawManager::CreateImageEffect(HBITMAP bitmap, int width, int height, DWORD effect, BOOL useMask,
                                        COLORREF maskColor, COLORREF newColor)
{
    // Decided for this image alone: an earlier one's alpha says nothing here.
    m_alpha = FALSE;
    const SIZE size = BitmapSize(bitmap);
    if (size.cx <= 0 || size.cy <= 0 || width <= 0 || height <= 0)
        return nullptr;
    CPixels pixels(nullptr, width, height);
    CSelectedBitmap source(bitmap);
    if (!pixels.Ok() || source.Dc() == nullptr)
        return nullptr;
    if (size.cx == width && size.cy == height)
        ::BitBlt(pixels.Dc(), 0, 0, width, height, source.Dc(), 0, 0, SRCCOPY);
    else
        ::StretchBlt(pixels.Dc(), 0, 0, width, height, source.Dc(), 0, 0, size.cx, size.cy, SRCCOPY);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            DWORD& pixel = pixels.At(x, y);
            if (pixel > 0xFFFFFFu)
                m_alpha = TRUE;
            COLORREF color = ColorOf(pixel);
            if (useMask && color == maskColor) {
                color = 0;
            } else {
                if (effect & kEffectGray)
                    color = GrayColor(color);
                if (effect & kEffectDarker)
                    color = DarkenColor(color, 0.75);
                if (effect & kEffectLighter)
                    color = LightenColor(color, 0.25);
                if (effect & kEffectReplace)
                    color = newColor;
            }
            if (effect & kEffectInvert)
                color = InvertColor(color);
            pixel = PixelOf(color, pixel);
        }
    }
    return pixels.Release();
}

void CDrawManager::DrawBitmap(HDC dc, int x, int y, int width, int height, HBITMAP bitmap, BOOL useMask,
                              COLORREF maskColor, DWORD effect, BOOL shadow, int shadowDx, int shadowDy, int blurDx,
                              int blurDy, COLORREF shadowColor)
{
    if (dc == nullptr || bitmap == nullptr || width <= 0 || height <= 0)
        return;
    DrawBitmapEffects(dc, x, y, width, height, bitmap, useMask, maskColor, effect, shadow, shadowDx, shadowDy,
                      blurDx, blurDy, shadowColor);
}

void CDrawManager::DrawBitmapEffects(HDC dc, int x, int y, int width, int height, HBITMAP image, BOOL useMask,
                                     COLORREF maskColor, DWORD effect, BOOL shadow, int shadowDx, int shadowDy,
                                     int blurDx, int blurDy, COLORREF shadowColor)
{
    if (shadow && (effect & (kEffectShadow | kEffectBlurredShadow))) {
        if (HBITMAP shape = CreateImageEffect(image, width, height, kEffectMask, useMask, maskColor,
                                              InvertColor(shadowColor))) {
            DrawShadow(dc, x + shadowDx, y + shadowDy, width, height, shape, (effect & kEffectBlurredShadow) != 0,
                       blurDx, blurDy);
            ::DeleteObject(shape);
        }
    } else if (shadow) {
        x += shadowDx;
        y += shadowDy;
    }
    HBITMAP mask = CreateImageEffect(image, width, height, kEffectMask, useMask, maskColor, RGB(255, 255, 255));
    HBITMAP picture = CreateImageEffect(image, width, height, effect, useMask, maskColor, 0);
    if (mask != nullptr && picture != nullptr) {
        CSelectedBitmap maskDc(mask);
        CSelectedBitmap pictureDc(picture);
        if (m_alpha) {
            AlphaChannelBitBlt(dc, RECT{x, y, x + width, y + height}, pictureDc.Dc(), 0, 0);
        } else {
            ::BitBlt(dc, x, y, width, height, maskDc.Dc(), 0, 0, SRCAND);
            ::BitBlt(dc, x, y, width, height, pictureDc.Dc(), 0, 0, SRCPAINT);
        }
    }
    if (mask != nullptr)
        ::DeleteObject(mask);
    if (picture != nullptr)
        ::DeleteObject(picture);
}

namespace {

// The bitmap stretched by the factors from `from` to `to`, on a new bitmap of
// the same planes and depth; null for none.
HBITMAP StretchedCopy(HBITMAP bitmap, SIZE from, SIZE to)
{
    BITMAP info{};
    if (bitmap == nullptr || ::GetObject(bitmap, sizeof info, &info) == 0 || from.cx <= 0 || from.cy <= 0)
        return nullptr;
    // A monochrome icon's mask holds its picture below it, twice the height.
    const int width = static_cast<int>(static_cast<long long>(info.bmWidth) * to.cx / from.cx);
    const int height = static_cast<int>(static_cast<long long>(info.bmHeight) * to.cy / from.cy);
    HBITMAP copy = ::CreateBitmap(std::max(1, width), std::max(1, height), info.bmPlanes, info.bmBitsPixel, nullptr);
    if (copy == nullptr)
        return nullptr;
    CSelectedBitmap source(bitmap);
    CSelectedBitmap target(copy);
    ::SetStretchBltMode(target.Dc(), COLORONCOLOR);
    ::StretchBlt(target.Dc(), 0, 0, width, height, source.Dc(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    return copy;
}

}

HICON CDrawManager::ScaleIcon(HICON icon, int width, int height)
{
    ICONINFO info{};
    if (icon == nullptr || width <= 0 || height <= 0 || !::GetIconInfo(icon, &info))
        return nullptr;
    const SIZE from = SkinImage::IconSize(icon);
    ICONINFO scaled{};
    scaled.fIcon = info.fIcon;
    scaled.xHotspot = static_cast<DWORD>(width / 2);
    scaled.yHotspot = static_cast<DWORD>(height / 2);
    scaled.hbmColor = StretchedCopy(info.hbmColor, from, {width, height});
    scaled.hbmMask = StretchedCopy(info.hbmMask, from, {width, height});
    HICON result = scaled.hbmMask != nullptr ? ::CreateIconIndirect(&scaled) : nullptr;
    for (HBITMAP bitmap : {info.hbmColor, info.hbmMask, scaled.hbmColor, scaled.hbmMask}) {
        if (bitmap != nullptr)
            ::DeleteObject(bitmap);
    }
    return result;
}

void CDrawManager::DrawIcon(HDC dc, int x, int y, int width, int height, HICON icon, DWORD effect, BOOL shadow,
                            int shadowDx, int shadowDy, int blurDx, int blurDy, COLORREF shadowColor)
{
    if (dc == nullptr || icon == nullptr || width <= 0 || height <= 0)
        return;
    CPixels onBlack(dc, width, height);
    CPixels onWhite(dc, width, height);
    if (!onBlack.Ok() || !onWhite.Ok())
        return;
    // An icon of the size, which this call destroys again.
    const SIZE own = SkinImage::IconSize(icon);
    HICON sized = own.cx == width && own.cy == height ? ::CopyIcon(icon) : ScaleIcon(icon, width, height);
    if (sized == nullptr)
        return;
    ::PatBlt(onBlack.Dc(), 0, 0, width, height, BLACKNESS);
    ::PatBlt(onWhite.Dc(), 0, 0, width, height, WHITENESS);
    ::DrawIconEx(onBlack.Dc(), 0, 0, sized, width, height, 0, nullptr, DI_NORMAL);
    ::DrawIconEx(onWhite.Dc(), 0, 0, sized, width, height, 0, nullptr, DI_NORMAL);
    ::DestroyIcon(sized);
    // Where the two grounds show through, the picture takes a colour the icon
    // does not use, and the bitmap drawing masks that colour.
    std::set<COLORREF> used;
    for (int row = 0; row < height; ++row)
        for (int col = 0; col < width; ++col)
            if ((onBlack.At(col, row) & 0xFFFFFF) == (onWhite.At(col, row) & 0xFFFFFF))
                used.insert(ColorOf(onBlack.At(col, row)));
    COLORREF key = RGB(255, 0, 255);
    while (used.count(key) != 0)
        key = (key + 1) & 0xFFFFFF;
    for (int row = 0; row < height; ++row)
        for (int col = 0; col < width; ++col)
            if ((onBlack.At(col, row) & 0xFFFFFF) != (onWhite.At(col, row) & 0xFFFFFF))
                onBlack.At(col, row) = PixelOf(key, 0);
    HBITMAP picture = onBlack.Release();
    DrawBitmapEffects(dc, x, y, width, height, picture, TRUE, key, effect, shadow, shadowDx, shadowDy, blurDx, blurDy,
                      shadowColor);
    ::DeleteObject(picture);
}

void CDrawManager::DrawImageList(HDC dc, int x, int y, int width, int height, HBITMAP strip, int index, int cellWidth,
                                 int cellHeight, BOOL useMask, COLORREF maskColor, DWORD effect, BOOL shadow,
                                 int shadowDx, int shadowDy, int blurDx, int blurDy, COLORREF shadowColor)
{
    const SIZE size = BitmapSize(strip);
    if (dc == nullptr || index < 0 || cellWidth <= 0 || cellHeight <= 0 || size.cx < cellWidth)
        return;
    const int perRow = size.cx / cellWidth;
    const int left = index % perRow * cellWidth;
    const int top = index / perRow * cellHeight;
    if (top + cellHeight > size.cy)
        return;
    CPixels cell(nullptr, cellWidth, cellHeight);
    CSelectedBitmap source(strip);
    if (!cell.Ok() || source.Dc() == nullptr)
        return;
    ::BitBlt(cell.Dc(), 0, 0, cellWidth, cellHeight, source.Dc(), left, top, SRCCOPY);
    HBITMAP image = cell.Release();
    DrawBitmap(dc, x, y, width, height, image, useMask, maskColor, effect, shadow, shadowDx, shadowDy, blurDx, blurDy,
               shadowColor);
    ::DeleteObject(image);
}

// --- blending ---------------------------------------------------------------------

void CDrawManager::AlphaBitBlt(HDC dest, const RECT& rect, HDC source, int xSrc, int ySrc, int percent)
{
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (percent >= 100) {
        ::BitBlt(dest, rect.left, rect.top, width, height, source, xSrc, ySrc, SRCCOPY);
        return;
    }
    CPixels top(dest, width, height);
    CPixels under(dest, width, height);
    if (!top.Ok() || !under.Ok())
        return;
    ::BitBlt(top.Dc(), 0, 0, width, height, source, xSrc, ySrc, SRCCOPY);
    ::BitBlt(under.Dc(), 0, 0, width, height, dest, rect.left, rect.top, SRCCOPY);
    const double p = std::max(0, percent) / 100.0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            under.At(x, y) = PixelOf(MixedColor(ColorOf(top.At(x, y)), p, ColorOf(under.At(x, y)), 1 - p), 0);
    ::BitBlt(dest, rect.left, rect.top, width, height, under.Dc(), 0, 0, SRCCOPY);
}

void CDrawManager::AlphaChannelBitBlt(HDC dest, const RECT& rect, HDC source, int xSrc, int ySrc)
{
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    CPixels top(dest, width, height);
    CPixels under(dest, width, height);
    if (!top.Ok() || !under.Ok())
        return;
    ::BitBlt(top.Dc(), 0, 0, width, height, source, xSrc, ySrc, SRCCOPY);
    ::BitBlt(under.Dc(), 0, 0, width, height, dest, rect.left, rect.top, SRCCOPY);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double a = (top.At(x, y) >> 24) / 255.0;
            under.At(x, y) = PixelOf(MixedColor(ColorOf(top.At(x, y)), a, ColorOf(under.At(x, y)), 1 - a), 0);
        }
    }
    ::BitBlt(dest, rect.left, rect.top, width, height, under.Dc(), 0, 0, SRCCOPY);
}

// --- shadows ----------------------------------------------------------------------

void CDrawManager::DrawShadow(HDC dc, int x, int y, int width, int height, HBITMAP shape, BOOL gradient, int blurDx,
                              int blurDy)
{
    if (dc == nullptr || shape == nullptr || width <= 0 || height <= 0)
        return;
    CPixels form(dc, width, height);
    CSelectedBitmap source(shape);
    if (!form.Ok() || source.Dc() == nullptr)
        return;
    ::PatBlt(form.Dc(), 0, 0, width, height, WHITENESS);
    std::vector<double> factors(static_cast<std::size_t>(width) * height, 1.0);
    if (!gradient) {
        ::BitBlt(form.Dc(), 0, 0, width, height, source.Dc(), 0, 0, SRCCOPY);
        for (int row = 0; row < height; ++row)
            for (int col = 0; col < width; ++col)
                factors[static_cast<std::size_t>(row) * width + col] = (form.At(col, row) & 0xFF) / 255.0;
    } else {
        const int bx = Odd(blurDx);
        const int by = Odd(blurDy);
        // The shape shrinks by the blur so that its blurred edge stays inside.
        const int innerWidth = std::max(1, width - bx);
        const int innerHeight = std::max(1, height - by);
        ::StretchBlt(form.Dc(), (width - innerWidth) / 2, (height - innerHeight) / 2, innerWidth, innerHeight,
                     source.Dc(), 0, 0, width, height, SRCCOPY);
        for (int row = 0; row < height; ++row) {
            for (int col = 0; col < width; ++col) {
                double sum = 0;
                for (int j = row - by / 2; j <= row + by / 2; ++j)
                    for (int i = col - bx / 2; i <= col + bx / 2; ++i)
                        sum += (i < 0 || j < 0 || i >= width || j >= height) ? 255 : (form.At(i, j) & 0xFF);
                factors[static_cast<std::size_t>(row) * width + col] = sum / (bx * by) / 255.0;
            }
        }
    }
    DarkenByDepth(dc, RECT{x, y, x + width, y + height}, factors);
}

void CDrawManager::DarkenByDepth(HDC dc, const RECT& rect, const std::vector<double>& factors)
{
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (dc == nullptr || width <= 0 || height <= 0 || factors.size() < static_cast<std::size_t>(width) * height)
        return;
    CPixels under(dc, width, height);
    if (!under.Ok())
        return;
    ::BitBlt(under.Dc(), 0, 0, width, height, dc, rect.left, rect.top, SRCCOPY);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            DWORD& pixel = under.At(x, y);
            pixel = PixelOf(DarkenColor(ColorOf(pixel), factors[static_cast<std::size_t>(y) * width + x]), 0);
        }
    }
    ::BitBlt(dc, rect.left, rect.top, width, height, under.Dc(), 0, 0, SRCCOPY);
}

// --- lines and frames -------------------------------------------------------------

void CDrawManager::DrawLine(HDC dc, int x1, int y1, int x2, int y2, COLORREF color, int type, int width)
{
    if (dc == nullptr || type == kPenNone || width <= 0)
        return;
    HPEN pen = ::CreatePen(PenStyleOf(type), width, color);
    HGDIOBJ old = ::SelectObject(dc, pen);
    ::MoveToEx(dc, x1, y1, nullptr);
    ::LineTo(dc, x2, y2);
    if (type == kPenDouble) {
        const bool horizontal = y1 == y2;
        const int dx = horizontal ? 0 : 2 * width;
        const int dy = horizontal ? 2 * width : 0;
        ::MoveToEx(dc, x1 + dx, y1 + dy, nullptr);
        ::LineTo(dc, x2 + dx, y2 + dy);
    }
    ::SelectObject(dc, old);
    ::DeleteObject(pen);
}

void CDrawManager::DrawRectangle(HDC dc, const RECT& rect, COLORREF light, COLORREF dark, int type, int width)
{
    if (dc == nullptr || type == kPenNone || width <= 0)
        return;
    // The pen runs half its width inside, so the frame lies in the rectangle.
    const int half = width / 2;
    const RECT frame{rect.left + half, rect.top + half, rect.right - 1 - (width - 1 - half),
                     rect.bottom - 1 - (width - 1 - half)};
    HPEN lightPen = ::CreatePen(PenStyleOf(type), width, light);
    HPEN darkPen = light != dark ? ::CreatePen(PenStyleOf(type), width, dark) : lightPen;
    HGDIOBJ old = ::SelectObject(dc, lightPen);
    ::MoveToEx(dc, frame.left, frame.bottom, nullptr);
    ::LineTo(dc, frame.left, frame.top);
    ::LineTo(dc, frame.right, frame.top);
    ::SelectObject(dc, darkPen);
    ::LineTo(dc, frame.right, frame.bottom);
    ::LineTo(dc, frame.left, frame.bottom);
    ::SelectObject(dc, old);
    if (darkPen != lightPen)
        ::DeleteObject(darkPen);
    ::DeleteObject(lightPen);
    if (type == kPenDouble) {
        const RECT inner{rect.left + 2 * width, rect.top + 2 * width, rect.right - 2 * width, rect.bottom - 2 * width};
        if (inner.right > inner.left && inner.bottom > inner.top)
            DrawRectangle(dc, inner, light, dark, kPenSolid, width);
    }
}

void CDrawManager::MultipleCopy(HDC dc, const RECT& area, HDC source, int tileWidth, int tileHeight)
{
    if (dc == nullptr || source == nullptr || tileWidth <= 0 || tileHeight <= 0)
        return;
    for (int y = area.top; y < area.bottom; y += tileHeight)
        for (int x = area.left; x < area.right; x += tileWidth)
            ::BitBlt(dc, x, y, std::min(tileWidth, static_cast<int>(area.right) - x),
                     std::min(tileHeight, static_cast<int>(area.bottom) - y), source, 0, 0, SRCCOPY);
}

// --- fills --------------------------------------------------------------------------

void CDrawManager::FillEffect(HDC dc, const RECT& rect, int type, COLORREF color1, COLORREF color2,
                              COLORREF color3, BYTE granularity, int blendPercent)
{
    if (dc == nullptr || rect.right <= rect.left || rect.bottom <= rect.top)
        return;
    const LONG midX = (rect.left + rect.right) / 2;
    const LONG midY = (rect.top + rect.bottom) / 2;
    switch (type) {
    case kHGradient: Gradient(dc, rect, color1, color2, false); break;
    case kVGradient: Gradient(dc, rect, color1, color2, true); break;
    case kHCGradient:
    case k3HGradient: {
        const COLORREF middle = type == kHCGradient ? color2 : color3;
        const COLORREF last = type == kHCGradient ? color1 : color2;
        Gradient(dc, RECT{rect.left, rect.top, midX, rect.bottom}, color1, middle, false);
        Gradient(dc, RECT{midX, rect.top, rect.right, rect.bottom}, middle, last, false);
        break;
    }
    case kVCGradient:
    case k3VGradient: {
        const COLORREF middle = type == kVCGradient ? color2 : color3;
        const COLORREF last = type == kVCGradient ? color1 : color2;
        Gradient(dc, RECT{rect.left, rect.top, rect.right, midY}, color1, middle, true);
        Gradient(dc, RECT{rect.left, midY, rect.right, rect.bottom}, middle, last, true);
        break;
    }
    default:
        if (type >= kNoise && type <= kMetal) {
            PatternFill(dc, rect, type, color1, color2, color3, granularity, blendPercent);
            break;
        }
        HBRUSH brush = ::CreateSolidBrush(color1);
        ::FillRect(dc, &rect, brush);
        ::DeleteObject(brush);
        break;
    }
}

// 64 bands, each one 64th of the way (bands of a narrow rectangle may be empty).
void CDrawManager::Gradient(HDC dc, const RECT& rect, COLORREF from, COLORREF to, bool vertical)
{
    constexpr int kBands = 64;
    const int size = vertical ? rect.bottom - rect.top : rect.right - rect.left;
    for (int n = 0; n < kBands; ++n) {
        const auto mix = [n](BYTE a, BYTE b) { return static_cast<BYTE>((a * (kBands - n) + b * n) / kBands); };
        const COLORREF color = RGB(mix(GetRValue(from), GetRValue(to)), mix(GetGValue(from), GetGValue(to)),
                                   mix(GetBValue(from), GetBValue(to)));
        const int start = size * n / kBands;
        const int end = size * (n + 1) / kBands;
        if (end <= start)
            continue;
        const RECT band = vertical ? RECT{rect.left, rect.top + start, rect.right, rect.top + end}
                                   : RECT{rect.left + start, rect.top, rect.left + end, rect.bottom};
        HBRUSH brush = ::CreateSolidBrush(color);
        ::FillRect(dc, &band, brush);
        ::DeleteObject(brush);
    }
}

}  // namespace ZELL::Skin
