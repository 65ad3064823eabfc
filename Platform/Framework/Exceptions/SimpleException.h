#pragma once
// An exception whose message is one fixed text of its class.

#include "Platform/Framework/Exceptions/Exception.h"

class CSimpleException : public CException {
    DECLARE_DYNAMIC(CSimpleException)
public:
    BOOL GetErrorMessage(LPWSTR buffer, UINT maxLength, UINT* helpContext = nullptr) const override;

protected:
    // An empty text means the exception has no message.
    explicit CSimpleException(LPCWSTR text = L"", BOOL autoDelete = TRUE) : CException(autoDelete), m_szText(text) {}

private:
    LPCWSTR m_szText = L"";
};
