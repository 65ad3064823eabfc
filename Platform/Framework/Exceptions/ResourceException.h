#pragma once
// A resource or drawing object could not be found or made.

#include "Platform/Framework/Exceptions/SimpleException.h"

class CResourceException : public CSimpleException {
    DECLARE_DYNAMIC(CResourceException)
public:
    explicit CResourceException(BOOL autoDelete = TRUE) : CSimpleException(L"A required resource was unavailable.", autoDelete) {}
};

[[noreturn]] void AfxThrowResourceException();
