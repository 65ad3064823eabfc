#include "Platform/Framework/WindowDC.h"

#include "Platform/Framework/ResourceException.h"

IMPLEMENT_DYNAMIC(CWindowDC, CDC)

CWindowDC::CWindowDC(HWND window) : m_hWnd(window)
{
    HDC dc = ::GetWindowDC(window);
    if (!Attach(dc)) {
        if (dc)
            ::ReleaseDC(window, dc);
        AfxThrowResourceException();
    }
}

CWindowDC::~CWindowDC()
{
    ::ReleaseDC(m_hWnd, Detach());
}
