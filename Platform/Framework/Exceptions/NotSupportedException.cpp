#include "Platform/Framework/Exceptions/NotSupportedException.h"

IMPLEMENT_DYNAMIC(CNotSupportedException, CSimpleException)

void AfxThrowNotSupportedException()
{
    throw new CNotSupportedException;
}
