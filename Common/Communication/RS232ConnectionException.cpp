#include "Common/Communication/RS232ConnectionException.h"

#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Platform/Base/Format.h"

namespace ZELL {

CRS232ConnectionException::CRS232ConnectionException(const wchar_t* message, LONG code, const wchar_t* detail,
                                                     ULONG error)
    : CConnectionException(message, code)
    , m_error(error)
{
    CopyCut(m_detail, detail ? detail : L"");
    m_ulValue = error;

    auto& language = GetLanguageSupport();
    m_strSummary = language.GetText(FormatW(L"RS232_CONN_%d", code)).wstr();
    const std::wstring errorKey = FormatW(L"RS232_GRP_ERR_%x", error);
    if (language.HasText(errorKey))
        m_strDetails = language.GetText(errorKey).wstr() + L".";
    else
        m_strDetails = language.GetText(L"RS232_CONN_ERRORCODE").wstr() + FormatW(L" = 0x%x", error);
}

}
