#include "Platform/Framework/UserException.h"

IMPLEMENT_DYNAMIC(CUserException, CSimpleException)

void AfxThrowUserException()
{
    throw new CUserException;
}
