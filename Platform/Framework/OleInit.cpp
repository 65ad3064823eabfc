#include "Platform/Framework/OleInit.h"

#include "Platform/Shell/ComInit.h"

BOOL AfxOleInit()
{
    return SUCCEEDED(OleInitialize(nullptr)) ? TRUE : FALSE;
}
