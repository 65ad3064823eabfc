#include "Platform/Framework/Exceptions/InvalidArgException.h"

IMPLEMENT_DYNAMIC(CInvalidArgException, CSimpleException)

void AfxThrowInvalidArgException()
{
    throw new CInvalidArgException;
}
