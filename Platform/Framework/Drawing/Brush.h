#pragma once
// A brush wrapper.

#include "Platform/Framework/Drawing/GdiObject.h"

class CBitmap;

class CBrush : public CGdiObject {
    DECLARE_DYNAMIC(CBrush)
public:
    CBrush() = default;
    // These raise CResourceException when the brush cannot be made.
    explicit CBrush(COLORREF color);
    CBrush(int hatchStyle, COLORREF color);
    explicit CBrush(CBitmap* pattern);

    static CBrush* FromHandle(HBRUSH handle);
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }

    BOOL CreateSolidBrush(COLORREF color);
    BOOL CreateHatchBrush(int hatchStyle, COLORREF color);
    BOOL CreatePatternBrush(CBitmap* pattern);
    BOOL CreateBrushIndirect(const LOGBRUSH* logBrush);
    // The brush of a system colour; as the system owns it, it is not deleted.
    BOOL CreateSysColorBrush(int index);
    int GetLogBrush(LOGBRUSH* logBrush) const;
};
