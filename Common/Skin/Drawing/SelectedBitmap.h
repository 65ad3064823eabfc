#pragma once
// A bitmap selected into a memory context of its own for as long as the
// object lives.
#include "Platform/Gdi/Gdi.h"

namespace ZELL::Skin {

class CSelectedBitmap {
public:
    // The context is compatible with `compatible` (null: the screen).
    explicit CSelectedBitmap(HBITMAP bitmap, HDC compatible = nullptr);
    ~CSelectedBitmap();
    CSelectedBitmap(const CSelectedBitmap&) = delete;
    CSelectedBitmap& operator=(const CSelectedBitmap&) = delete;

    // Null when no context could be made.
    HDC Dc() const { return m_dc; }

private:
    HDC m_dc = nullptr;
    HGDIOBJ m_old = nullptr;
};

}  // namespace ZELL::Skin
