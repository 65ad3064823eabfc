#include "Platform/Framework/Exceptions/SimpleException.h"

IMPLEMENT_DYNAMIC(CSimpleException, CException)

BOOL CSimpleException::GetErrorMessage(LPWSTR buffer, UINT maxLength, UINT* helpContext) const
{
    if (!m_szText || !*m_szText)
        return CException::GetErrorMessage(buffer, maxLength, helpContext);
    return CopyMessage(CString(m_szText), buffer, maxLength, helpContext);
}
