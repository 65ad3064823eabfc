#include "Common/Communication/TCPIPConnectionException.h"

namespace ZELL {

CTCPIPConnectionException::CTCPIPConnectionException(const wchar_t* message, LONG code, const wchar_t* detail,
                                                     ULONG error)
    : CConnectionException(message, code)
    , m_ulError(error)
{
    CopyCut(m_szDetail, detail ? detail : L"");
}

}
