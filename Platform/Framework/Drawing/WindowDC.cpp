#include "Platform/Framework/Drawing/WindowDC.h"


IMPLEMENT_DYNAMIC(CWindowDC, CDC)

CWindowDC::CWindowDC(HWND window) : m_hWnd(window)
{
    AttachWindowContext(window, ::GetWindowDC(window));
}

CWindowDC::~CWindowDC()
{
    ::ReleaseDC(m_hWnd, Detach());
}
