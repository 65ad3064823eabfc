#pragma once
// An operation the object cannot do (writing a file opened for reading ...).

#include "Platform/Framework/Exceptions/SimpleException.h"

class CNotSupportedException : public CSimpleException {
    DECLARE_DYNAMIC(CNotSupportedException)
public:
    explicit CNotSupportedException(BOOL autoDelete = TRUE) : CSimpleException(L"An unsupported operation was attempted.", autoDelete) {}
};

[[noreturn]] void AfxThrowNotSupportedException();
