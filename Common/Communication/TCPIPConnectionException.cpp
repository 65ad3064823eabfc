#include "Common/Communication/TCPIPConnectionException.h"

namespace ZELL {

CTCPIPConnectionException::CTCPIPConnectionException(const wchar_t* message, LONG code, const wchar_t* detail,
                                                     ULONG error)
    : CConnectionException(message, code)
    , m_error(error)
{
    CopyCut(m_detail, detail ? detail : L"");
}

}
