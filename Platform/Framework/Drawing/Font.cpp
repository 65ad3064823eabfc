#include "Platform/Framework/Drawing/Font.h"

#include "Platform/Framework/Drawing/DC.h"

#include <cstdlib>
#include <cwchar>

IMPLEMENT_DYNAMIC(CFont, CGdiObject)

CFont* CFont::FromHandle(HFONT handle)
{
    return WrapperFor<CFont>(handle);
}

BOOL CFont::CreateFontIndirect(const LOGFONTW* logFont)
{
    return logFont && AttachNew(::CreateFontIndirectW(logFont));
}

BOOL CFont::CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                       BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                       BYTE quality, BYTE pitchAndFamily, LPCWSTR faceName)
{
    return AttachNew(::CreateFontW(height, width, escapement, orientation, weight, italic, underline, strikeOut,
                                   charSet, outPrecision, clipPrecision, quality, pitchAndFamily, faceName));
}

BOOL CFont::CreatePointFont(int pointSize, LPCWSTR faceName, CDC* dc)
{
    LOGFONTW logFont;
    logFont.lfCharSet = DEFAULT_CHARSET;
    logFont.lfHeight = pointSize;
    if (faceName)
        std::wcsncpy(logFont.lfFaceName, faceName, LF_FACESIZE - 1);
    return CreatePointFontIndirect(&logFont, dc);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONTW* logFont, CDC* dc)
{
    if (!logFont)
        return FALSE;
    HDC screen = dc ? nullptr : ::CreateCompatibleDC(nullptr);
    HDC target = dc ? dc->GetSafeHdc() : screen;
    if (!target)
        return FALSE;
    // Tenths of a point to device pixels, then to the context's logical units.
    POINT points[2] = {{0, 0}, {0, ::MulDiv(::GetDeviceCaps(target, LOGPIXELSY), logFont->lfHeight, 720)}};
    ::DPtoLP(target, points, 2);
    if (screen)
        ::DeleteDC(screen);
    LOGFONTW scaled = *logFont;
    scaled.lfHeight = -std::abs(points[1].y - points[0].y);
    return CreateFontIndirect(&scaled);
}

int CFont::GetLogFont(LOGFONTW* logFont) const
{
    return GetObject(sizeof(LOGFONTW), logFont);
}
