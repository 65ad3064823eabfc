#include "Platform/Framework/Exceptions/UserException.h"

IMPLEMENT_DYNAMIC(CUserException, CSimpleException)

void AfxThrowUserException()
{
    throw new CUserException;
}
