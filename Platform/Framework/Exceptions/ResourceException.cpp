#include "Platform/Framework/Exceptions/ResourceException.h"

IMPLEMENT_DYNAMIC(CResourceException, CSimpleException)

void AfxThrowResourceException()
{
    throw new CResourceException;
}
