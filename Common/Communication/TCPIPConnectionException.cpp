#include "Common/Communication/TCPIPConnectionException.h"

#include <algorithm>
#include <cwchar>

namespace ZELL {

CTCPIPConnectionException::CTCPIPConnectionException(const wchar_t* message, LONG code, const wchar_t* detail,
                                                     ULONG error)
    : CConnectionException(message, code)
    , m_ulError(error)
{
    const wchar_t* text = detail ? detail : L"";
    const std::size_t count = std::min<std::size_t>(std::wcslen(text), kBufferLength - 1);
    std::wmemcpy(m_szDetail, text, count);
    m_szDetail[count] = L'\0';
}

}
