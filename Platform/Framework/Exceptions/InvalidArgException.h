#pragma once
// An argument out of its range: an index beyond the end of a collection, a null where an object is needed.

#include "Platform/Framework/Exceptions/SimpleException.h"

class CInvalidArgException : public CSimpleException {
    DECLARE_DYNAMIC(CInvalidArgException)
public:
    explicit CInvalidArgException(BOOL autoDelete = TRUE) : CSimpleException(L"Encountered an improper argument.", autoDelete) {}
};

[[noreturn]] void AfxThrowInvalidArgException();
