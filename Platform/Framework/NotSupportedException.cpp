#include "Platform/Framework/NotSupportedException.h"

IMPLEMENT_DYNAMIC(CNotSupportedException, CSimpleException)

void AfxThrowNotSupportedException()
{
    throw new CNotSupportedException;
}
