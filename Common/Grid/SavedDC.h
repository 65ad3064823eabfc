#pragma once
// Puts a device context back as it was on every way out of a drawing.
#include "Platform/Framework/Drawing/DC.h"

namespace ZELL::Grid {

class CSavedDC {
public:
    explicit CSavedDC(CDC* dc) : m_dc(dc), m_saved(dc->SaveDC()) {}
    ~CSavedDC() { m_dc->RestoreDC(m_saved); }
    CSavedDC(const CSavedDC&) = delete;
    CSavedDC& operator=(const CSavedDC&) = delete;

private:
    CDC* m_dc;
    int m_saved;
};

}  // namespace ZELL::Grid
