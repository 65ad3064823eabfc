#include "Platform/Framework/Drawing/PaintDC.h"

#include "Platform/Framework/Exceptions/ResourceException.h"

IMPLEMENT_DYNAMIC(CPaintDC, CDC)

CPaintDC::CPaintDC(HWND window) : m_hWnd(window)
{
    if (!Attach(::BeginPaint(window, &m_ps)))
        AfxThrowResourceException();
}

CPaintDC::~CPaintDC()
{
    Detach();
    ::EndPaint(m_hWnd, &m_ps);
}
