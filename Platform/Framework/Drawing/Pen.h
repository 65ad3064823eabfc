#pragma once
// A pen wrapper.

#include "Platform/Framework/Drawing/GdiObject.h"

class CPen : public CGdiObject {
    DECLARE_DYNAMIC(CPen)
public:
    CPen() = default;
    // Raises CResourceException when the pen cannot be made.
    CPen(int style, int width, COLORREF color);

    static CPen* FromHandle(HPEN handle);
    operator HPEN() const { return static_cast<HPEN>(m_hObject); }

    BOOL CreatePen(int style, int width, COLORREF color);
    BOOL CreatePenIndirect(const LOGPEN* logPen);
    int GetLogPen(LOGPEN* logPen) const;
};
