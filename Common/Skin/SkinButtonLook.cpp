// The skinned button's images, colours, alignments, font and cursor.
#include "Common/Skin/SkinButton.h"

#include "Common/Skin/Drawing/SkinImage.h"

#include <algorithm>

namespace ZELL::Skin {

namespace {

HICON LoadIconFile(LPCWSTR file, int width, int height)
{
    return reinterpret_cast<HICON>(::LoadImageW(nullptr, file, IMAGE_ICON, width, height, LR_LOADFROMFILE));
}

// The stand-in handles -2 and -3 for a derived out icon.
HICON DerivedMarker(int id)
{
    return reinterpret_cast<HICON>(static_cast<INT_PTR>(id));
}

bool IsDerived(HICON icon)
{
    return icon == DerivedMarker(CSkinButton::kDarkerCopy) || icon == DerivedMarker(CSkinButton::kGrayCopy);
}

}

// --- images -----------------------------------------------------------------------

void CSkinButton::FreeImages(BOOL repaint)
{
    for (IconEntry& entry : m_icons) {
        if (entry.icon != nullptr)
            ::DestroyIcon(entry.icon);
        entry = IconEntry{};
    }
    if (m_grayIcon != nullptr)
        ::DestroyIcon(m_grayIcon);
    m_grayIcon = nullptr;
    for (BitmapEntry& entry : m_bitmaps) {
        if (entry.bitmap != nullptr)
            ::DeleteObject(entry.bitmap);
        if (entry.mask != nullptr)
            ::DeleteObject(entry.mask);
        entry = BitmapEntry{};
    }
    Repaint(repaint);
}

DWORD CSkinButton::TakeIcon(HICON icon, IconEntry& entry)
{
    const SIZE size = SkinImage::IconSize(icon);
    if (size.cx <= 0 || size.cy <= 0)
        return kInvalidResource;
    entry = IconEntry{icon, static_cast<int>(size.cx), static_cast<int>(size.cy)};
    return kOk;
}

DWORD CSkinButton::SetIcon(int iconIn, int iconOut)
{
    return SetIcon(iconIn, 0, 0, iconOut, 0, 0);
}

DWORD CSkinButton::SetIcon(int iconIn, int widthIn, int heightIn, int iconOut, int widthOut, int heightOut)
{
    HICON in = SkinImage::LoadIconResource(iconIn, widthIn, heightIn);
    HICON out = iconOut > 0 ? SkinImage::LoadIconResource(iconOut, widthOut, heightOut)
                            : (iconOut < 0 ? DerivedMarker(iconOut) : nullptr);
    if (in == nullptr || (iconOut > 0 && out == nullptr)) {
        if (in != nullptr)
            ::DestroyIcon(in);
        if (out != nullptr && !IsDerived(out))
            ::DestroyIcon(out);
        FreeImages(TRUE);
        return kInvalidResource;
    }
    return SetIcon(in, out);
}

DWORD CSkinButton::SetIcon(LPCWSTR fileIn, int widthIn, int heightIn, LPCWSTR fileOut, int widthOut, int heightOut)
{
    const INT_PTR outValue = reinterpret_cast<INT_PTR>(fileOut);
    const bool derived = outValue == kDarkerCopy || outValue == kGrayCopy;
    HICON in = fileIn != nullptr ? LoadIconFile(fileIn, widthIn, heightIn) : nullptr;
    HICON out = derived ? DerivedMarker(static_cast<int>(outValue))
                        : (fileOut != nullptr ? LoadIconFile(fileOut, widthOut, heightOut) : nullptr);
    if (in == nullptr || (!derived && fileOut != nullptr && out == nullptr)) {
        if (in != nullptr)
            ::DestroyIcon(in);
        if (out != nullptr && !derived)
            ::DestroyIcon(out);
        FreeImages(TRUE);
        return kInvalidResource;
    }
    return SetIcon(in, out);
}

// Takes both icons; the out icon may be the marker of a derived copy.
DWORD CSkinButton::SetIcon(HICON iconIn, HICON iconOut)
{
    FreeImages(FALSE);
    if (iconIn == nullptr || TakeIcon(iconIn, m_icons[0]) != kOk) {
        if (iconIn != nullptr)
            ::DestroyIcon(iconIn);
        if (iconOut != nullptr && !IsDerived(iconOut))
            ::DestroyIcon(iconOut);
        Repaint(TRUE);
        return kInvalidResource;
    }
    m_grayIcon = SkinImage::CopyIcon(iconIn, &SkinImage::Gray);
    if (iconOut == DerivedMarker(kDarkerCopy))
        iconOut = SkinImage::CopyIcon(iconIn, &SkinImage::Darker);
    else if (iconOut == DerivedMarker(kGrayCopy))
        iconOut = SkinImage::CopyIcon(iconIn, &SkinImage::Gray);
    if (iconOut != nullptr && TakeIcon(iconOut, m_icons[1]) != kOk) {
        ::DestroyIcon(iconOut);
        FreeImages(TRUE);
        return kInvalidResource;
    }
    Repaint(TRUE);
    return kOk;
}

DWORD CSkinButton::SetBitmaps(int bitmapIn, COLORREF transparentIn, int bitmapOut, COLORREF transparentOut)
{
    HBITMAP in = SkinImage::LoadBitmapResource(bitmapIn);
    if (in == nullptr) {
        FreeImages(TRUE);
        return kInvalidResource;
    }
    if (bitmapOut < 0)
        return SetBitmaps(in, transparentIn, bitmapOut);
    HBITMAP out = bitmapOut > 0 ? SkinImage::LoadBitmapResource(bitmapOut) : nullptr;
    if (bitmapOut > 0 && out == nullptr) {
        ::DeleteObject(in);
        FreeImages(TRUE);
        return kInvalidResource;
    }
    return SetBitmaps(in, transparentIn, out, transparentOut);
}

DWORD CSkinButton::SetBitmaps(HBITMAP bitmapIn, COLORREF transparentIn, int derivedOut)
{
    if (derivedOut != kDarkerCopy && derivedOut != kGrayCopy)
        return SetBitmaps(bitmapIn, transparentIn, nullptr, 0);
    HBITMAP out = SkinImage::CopyBitmap(bitmapIn, transparentIn,
                                        derivedOut == kDarkerCopy ? &SkinImage::Darker : &SkinImage::Gray);
    return SetBitmaps(bitmapIn, transparentIn, out, transparentIn);
}

DWORD CSkinButton::SetBitmaps(HBITMAP bitmapIn, COLORREF transparentIn, HBITMAP bitmapOut, COLORREF transparentOut)
{
    FreeImages(FALSE);
    const auto take = [](HBITMAP bitmap, COLORREF transparent, BitmapEntry& entry) -> DWORD {
        const SIZE size = SkinImage::BitmapSize(bitmap);
        if (size.cx <= 0 || size.cy <= 0)
            return kInvalidResource;
        entry = BitmapEntry{bitmap, static_cast<int>(size.cx), static_cast<int>(size.cy), nullptr, transparent};
        entry.mask = SkinImage::MakeMask(bitmap, transparent);
        return entry.mask != nullptr ? kOk : kFailedMask;
    };
    DWORD status = bitmapIn != nullptr ? take(bitmapIn, transparentIn, m_bitmaps[0]) : DWORD{kInvalidResource};
    if (status == kOk && bitmapOut != nullptr)
        status = take(bitmapOut, transparentOut, m_bitmaps[1]);
    if (status != kOk) {
        // Whatever was taken goes, including what the entries do not hold yet.
        if (bitmapIn != nullptr && m_bitmaps[0].bitmap != bitmapIn)
            ::DeleteObject(bitmapIn);
        if (bitmapOut != nullptr && m_bitmaps[1].bitmap != bitmapOut)
            ::DeleteObject(bitmapOut);
        FreeImages(TRUE);
        return status;
    }
    Repaint(TRUE);
    return kOk;
}

DWORD CSkinButton::SizeToContent()
{
    m_marginX = 0;
    m_marginY = 0;
    SIZE size{0, 0};
    if (m_icons[0].icon != nullptr)
        size = SIZE{m_icons[0].width, m_icons[0].height};
    else if (m_bitmaps[0].bitmap != nullptr)
        size = SIZE{m_bitmaps[0].width, m_bitmaps[0].height};
    else
        return kOk;
    SetWindowPos(nullptr, -1, -1, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return kOk;
}

// --- colours ----------------------------------------------------------------------------

DWORD CSkinButton::SetColor(BYTE index, COLORREF color, BOOL repaint)
{
    if (index >= kColorCount)
        return kInvalidIndex;
    m_colors[index] = color;
    m_systemColor[index] = FALSE;
    Repaint(repaint);
    return kOk;
}

DWORD CSkinButton::GetColor(BYTE index, COLORREF* color) const
{
    if (index >= kColorCount)
        return kInvalidIndex;
    if (color != nullptr)
        *color = m_colors[index];
    return kOk;
}

// The shade is reduced so that no channel leaves 0..255.
DWORD CSkinButton::OffsetColor(BYTE index, short shade, BOOL repaint)
{
    if (index >= kColorCount)
        return kInvalidIndex;
    if (shade < -255 || shade > 255)
        return kBadParam;
    const COLORREF color = m_colors[index];
    const int channels[3] = {GetRValue(color), GetGValue(color), GetBValue(color)};
    int applied = shade;
    if (shade > 0)
        applied = std::min(applied, 255 - *std::max_element(std::begin(channels), std::end(channels)));
    else
        applied = std::max(applied, -*std::min_element(std::begin(channels), std::end(channels)));
    m_colors[index] = RGB(channels[0] + applied, channels[1] + applied, channels[2] + applied);
    m_systemColor[index] = FALSE;
    Repaint(repaint);
    return kOk;
}

DWORD CSkinButton::SetDefaultColors(BOOL repaint)
{
    for (int i = 0; i < kColorCount; ++i) {
        if (m_systemColor[i])
            m_colors[i] = ::GetSysColor(i % 2 == 0 ? COLOR_BTNFACE : COLOR_BTNTEXT);
    }
    Repaint(repaint);
    return kOk;
}

// --- alignment and look ------------------------------------------------------------------------

DWORD CSkinButton::SetAlign(BYTE align, BOOL repaint)
{
    if (align > kAlignRight)
        return kInvalidAlign;
    m_textAlign = align;
    Repaint(repaint);
    return kOk;
}

DWORD CSkinButton::SetIconAlign(BYTE align, BOOL repaint)
{
    if (align > kIconTopLeft)
        return kInvalidAlign;
    m_iconAlign = align;
    Repaint(repaint);
    return kOk;
}

DWORD CSkinButton::SetPressedStyle(BYTE style, BOOL repaint)
{
    static constexpr POINT kOffsets[] = {{1, 1}, {0, 2}, {0, 0}};
    if (style >= std::size(kOffsets))
        return kInvalidPressedStyle;
    m_pressedOffsetX = kOffsets[style].x;
    m_pressedOffsetY = kOffsets[style].y;
    Repaint(repaint);
    return kOk;
}

DWORD CSkinButton::SetFlat(BOOL flat, BOOL repaint)
{
    m_flat = flat;
    Repaint(repaint);
    return kOk;
}

DWORD CSkinButton::SetDrawBorder(BOOL draw, BOOL repaint)
{
    m_drawBorder = draw;
    Repaint(repaint);
    return kOk;
}

DWORD CSkinButton::SetDrawFlatFocus(BOOL draw, BOOL repaint)
{
    m_drawFlatFocus = draw;
    Repaint(repaint);
    return kOk;
}

DWORD CSkinButton::SetAlwaysTrack(BOOL track)
{
    m_alwaysTrack = track;
    return kOk;
}

DWORD CSkinButton::SetButtonFont(CFont* font, BOOL repaint)
{
    m_fontGiven = font != nullptr;
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font != nullptr ? font->GetSafeHandle() : nullptr), repaint);
    Repaint(repaint);
    return kOk;
}

DWORD CSkinButton::SetButtonCursor(int cursorId, BOOL repaint)
{
    if (m_cursor != nullptr)
        ::DestroyCursor(m_cursor);
    m_cursor = nullptr;
    if (cursorId == 0)
        return kOk;
    m_cursor = SkinImage::LoadCursorResource(cursorId);
    Repaint(repaint);
    return m_cursor != nullptr ? kOk : kInvalidResource;
}

DWORD CSkinButton::SetButtonCursor(HCURSOR cursor, BOOL repaint)
{
    if (cursor == nullptr)
        return kInvalidResource;
    if (m_cursor != nullptr && m_cursor != cursor)
        ::DestroyCursor(m_cursor);
    m_cursor = cursor;
    Repaint(repaint);
    return kOk;
}

}  // namespace ZELL::Skin
