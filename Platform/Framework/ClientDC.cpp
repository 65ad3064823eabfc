#include "Platform/Framework/ClientDC.h"

#include "Platform/Framework/ResourceException.h"

IMPLEMENT_DYNAMIC(CClientDC, CDC)

CClientDC::CClientDC(HWND window) : m_hWnd(window)
{
    HDC dc = ::GetDC(window);
    if (!Attach(dc)) {
        if (dc)
            ::ReleaseDC(window, dc);
        AfxThrowResourceException();
    }
}

CClientDC::~CClientDC()
{
    ::ReleaseDC(m_hWnd, Detach());
}
