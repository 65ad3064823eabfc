#include "Platform/Framework/Drawing/ClientDC.h"


IMPLEMENT_DYNAMIC(CClientDC, CDC)

CClientDC::CClientDC(HWND window) : m_hWnd(window)
{
    AttachWindowContext(window, ::GetDC(window));
}

CClientDC::~CClientDC()
{
    ::ReleaseDC(m_hWnd, Detach());
}
