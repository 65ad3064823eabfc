#include "Platform/Framework/Exceptions/SimpleException.h"

IMPLEMENT_DYNAMIC(CSimpleException, CException)

BOOL CSimpleException::GetErrorMessage(LPWSTR buffer, UINT maxLength, UINT* helpContext) const
{
    if (!m_text || !*m_text)
        return CException::GetErrorMessage(buffer, maxLength, helpContext);
    return CopyMessage(CString(m_text), buffer, maxLength, helpContext);
}
