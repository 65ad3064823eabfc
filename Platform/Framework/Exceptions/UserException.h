#pragma once
// Ends an operation the user has already been told about; it carries no text of its own.

#include "Platform/Framework/Exceptions/SimpleException.h"

class CUserException : public CSimpleException {
    DECLARE_DYNAMIC(CUserException)
public:
    explicit CUserException(BOOL autoDelete = TRUE) : CSimpleException(L"", autoDelete) {}
};

[[noreturn]] void AfxThrowUserException();
