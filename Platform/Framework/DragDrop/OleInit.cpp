#include "Platform/Framework/DragDrop/OleInit.h"

#include "Platform/Shell/ComInit.h"

BOOL AfxOleInit()
{
    return SUCCEEDED(OleInitialize(nullptr)) ? TRUE : FALSE;
}
