#include "Common/Communication/IdentificationException.h"

#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Platform/Base/Format.h"

namespace ZELL {

namespace {

std::wstring T(const std::wstring& key)
{
    return GetLanguageSupport().GetText(key).wstr();
}

}

CIdentificationException::CIdentificationException(const wchar_t* message, ULONG code, USHORT group, LONG actual,
                                                   ULONG expected)
    : CDeviceAPIException(message, static_cast<LONG>(code))
    , m_usGroup(group)
    , m_ulExpected(expected)
{
    m_ulValue = static_cast<ULONG>(actual);
    m_strSummary = T(FormatW(L"IDENT_%u", code)) + L"!";
    SetDetails(BuildDetails());
}

std::wstring CIdentificationException::BuildDetails() const
{
    const ULONG actual = m_ulValue;
    switch (m_usGroup) {
    case GroupDataSizeLess:
        return T(L"IDENT_GROUP_DATASIZE_LESS") + L".\n" + T(L"IDENT_GROUP_DATASIZE_SIZE") + FormatW(L" = %u", actual);
    case GroupDataSizeMore:
        return T(L"IDENT_GROUP_DATASIZE_MORE") + L".\n" + T(L"IDENT_GROUP_DATASIZE_SIZE") + FormatW(L" = %u", actual);
    case GroupErrorResponse:
        return T(FormatW(L"IDENT_GRP_ERR_RESP_%x", actual)) + L".";
    case GroupCommandError:
        return T(L"IDENT_GRP_CMD_ERR") + L".\n" + T(L"IDENT_GRP_CMD_ERR_RESP") + FormatW(L": %u", actual);
    case GroupConnectionNotOpen:
        return T(L"IDENT_GRP_CONN_NOT_OPEN") + L".";
    case GroupWrongNumberOfDataBytes:
        return T(L"IDENT_GRP_WRONG_NUMBER_OF_DATABYTES") + L".\n" + T(L"IDENT_GRP_DATABYTES_EXPEXTED")
            + FormatW(L" = %u", m_ulExpected) + L"\n" + T(L"IDENT_GRP_DATABYTES_RECEIVED")
            + FormatW(L" = %d", static_cast<LONG>(actual));
    default:
        return {};
    }
}

}
