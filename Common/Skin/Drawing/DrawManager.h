#pragma once
// Bitmaps and icons drawn with colour effects (gray, darker, lighter,
// replaced, masked), alpha blending, blurred shadows, styled lines and
// frames, and rectangles filled with gradients and noise patterns. The
// per-pixel work is done on 32-bit sections in memory, one copy in and one
// out; the patterned fills paint into the manager's own palette image.
#include "Common/Skin/Drawing/DibBitmap.h"

#include <random>
#include <vector>

namespace ZELL::Skin {

class CDrawManager {
public:
    // Image effect flags.
    static constexpr DWORD kEffectGray = 0x0001;
    static constexpr DWORD kEffectDarker = 0x0002;
    static constexpr DWORD kEffectLighter = 0x0004;
    static constexpr DWORD kEffectReplace = 0x0008;
    static constexpr DWORD kEffectShadow = 0x0100;
    static constexpr DWORD kEffectBlurredShadow = 0x0200;
    static constexpr DWORD kEffectInvert = 0x8000;
    // Replace by the new colour and invert: the mask of an image.
    static constexpr DWORD kEffectMask = kEffectReplace | kEffectInvert;

    // Fill effects.
    enum FillEffectType {
        kSolid = 0, kHGradient, kVGradient, kHCGradient, kVCGradient, k3HGradient, k3VGradient,
        kNoise, kDiagShade, kHShade, kVShade, kHBump, kVBump, kSoftBump, kHardBump, kMetal
    };
    // Line and frame styles.
    enum PenType { kPenNone = 0, kPenSolid, kPenDash, kPenDot, kPenDashDot, kPenDashDotDot, kPenDouble };

    CDrawManager() = default;
    virtual ~CDrawManager() = default;

    // A new 32-bit bitmap of the image with the effects; null on failure.
    HBITMAP CreateImageEffect(HBITMAP bitmap, int width, int height, DWORD effect, BOOL useMask, COLORREF maskColor,
                              COLORREF newColor);
    void DrawBitmap(HDC dc, int x, int y, int width, int height, HBITMAP bitmap, BOOL useMask, COLORREF maskColor,
                    DWORD effect, BOOL shadow, int shadowDx, int shadowDy, int blurDx, int blurDy,
                    COLORREF shadowColor);
    // The icon at the size (scaled when it has another), its transparent
    // part left alone.
    void DrawIcon(HDC dc, int x, int y, int width, int height, HICON icon, DWORD effect, BOOL shadow, int shadowDx,
                  int shadowDy, int blurDx, int blurDy, COLORREF shadowColor);
    // A new icon of the size, its colour picture and mask stretched onto
    // bitmaps of their own planes and depth; the caller destroys it. Null for
    // a null icon or an empty size.
    static HICON ScaleIcon(HICON icon, int width, int height);
    void DrawImageList(HDC dc, int x, int y, int width, int height, HBITMAP strip, int index, int cellWidth,
                       int cellHeight, BOOL useMask, COLORREF maskColor, DWORD effect, BOOL shadow, int shadowDx,
                       int shadowDy, int blurDx, int blurDy, COLORREF shadowColor);
    void AlphaBitBlt(HDC dest, const RECT& rect, HDC source, int xSrc, int ySrc, int percent);
    void AlphaChannelBitBlt(HDC dest, const RECT& rect, HDC source, int xSrc, int ySrc);
    void DrawShadow(HDC dc, int x, int y, int width, int height, HBITMAP shape, BOOL gradient, int blurDx, int blurDy);
    // Each factor (0 <= factor < 1) darkens its pixel, row by row.
    void DarkenByDepth(HDC dc, const RECT& rect, const std::vector<double>& factors);
    void DrawLine(HDC dc, int x1, int y1, int x2, int y2, COLORREF color, int type, int width);
    void DrawRectangle(HDC dc, const RECT& rect, COLORREF light, COLORREF dark, int type, int width);
    void FillEffect(HDC dc, const RECT& rect, int type, COLORREF color1, COLORREF color2, COLORREF color3,
                    BYTE granularity, int blendPercent);
    void MultipleCopy(HDC dc, const RECT& area, HDC source, int tileWidth, int tileHeight);

    BOOL HasAlpha() const { return m_alpha; }
    const CDibBitmap& WorkBitmap() const { return m_work; }

    // Colour helpers.
    static COLORREF GrayColor(COLORREF color);
    static COLORREF InvertColor(COLORREF color);
    static COLORREF DarkenColor(COLORREF color, double factor);
    static COLORREF LightenColor(COLORREF color, double factor);
    static COLORREF MixedColor(COLORREF a, double fa, COLORREF b, double fb);

protected:
    // 0..32767, as the C library's generator; its own, so fills repeat.
    int Random() { return static_cast<int>(m_random() % 32768u); }

private:
    void Gradient(HDC dc, const RECT& rect, COLORREF from, COLORREF to, bool vertical);
    void PatternFill(HDC dc, const RECT& rect, int type, COLORREF color1, COLORREF color2, COLORREF color3,
                     BYTE granularity, int blendPercent);
    void DrawBitmapEffects(HDC dc, int x, int y, int width, int height, HBITMAP image, BOOL useMask,
                           COLORREF maskColor, DWORD effect, BOOL shadow, int shadowDx, int shadowDy, int blurDx,
                           int blurDy, COLORREF shadowColor);

    CDibBitmap m_work;
    BOOL m_alpha = FALSE;
    std::minstd_rand m_random{1};
};

}  // namespace ZELL::Skin
