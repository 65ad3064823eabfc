#include "Platform/Framework/Exceptions/MemoryException.h"

IMPLEMENT_DYNAMIC(CMemoryException, CSimpleException)

void AfxThrowMemoryException()
{
    // Out of memory, a new one may not be made: one shared object that
    // Delete() leaves alone stands for every allocation failure.
    static CMemoryException outOfMemory(FALSE);
    throw &outOfMemory;
}
