#pragma once
// An allocation failed.

#include "Platform/Framework/Exceptions/SimpleException.h"

class CMemoryException : public CSimpleException {
    DECLARE_DYNAMIC(CMemoryException)
public:
    explicit CMemoryException(BOOL autoDelete = TRUE) : CSimpleException(L"Out of memory.", autoDelete) {}
};

[[noreturn]] void AfxThrowMemoryException();
