#include "Common/Communication/ServiceException.h"

#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Platform/Base/Format.h"

namespace ZELL {

namespace {

std::wstring T(const std::wstring& key)
{
    return GetLanguageSupport().GetText(_bstr_t(key.c_str())).wstr();
}

std::wstring Grp(const wchar_t* name)
{
    return T(std::wstring(L"SERVICE_PROT_GRP_") + name);
}

std::wstring Hex(ULONG value)
{
    return FormatW(L" = 0x%04x", static_cast<unsigned int>(value));
}

std::wstring Dec(ULONG value)
{
    return FormatW(L" = %u", static_cast<unsigned int>(value));
}

// Expected on the first line, received on the second, both in hexadecimal.
std::wstring Compare(const wchar_t* what, const wchar_t* expectedKey, const wchar_t* receivedKey, ULONG expected,
                     ULONG actual)
{
    return Grp(what) + L".\n" + Grp(expectedKey) + Hex(expected) + L"\n" + Grp(receivedKey) + Hex(actual);
}

}

CServiceException::CServiceException(const wchar_t* message, LONG code, USHORT group, LONG actual, ULONG expected,
                                     const wchar_t* passedText)
    : CProtocolException(message, code)
    , m_usGroup(group)
    , m_ulExpected(expected)
{
    m_ulValue = static_cast<ULONG>(actual);
    m_strSummary = T(FormatW(L"SERVICE_PROT_%d", static_cast<int>(code))) + L"!";
    SetDetails(BuildDetails(passedText));
}

std::wstring CServiceException::BuildDetails(const wchar_t* passedText) const
{
    const ULONG actual = m_ulValue;
    const ULONG expected = m_ulExpected;
    const std::wstring passed = passedText ? passedText : L"";
    switch (m_usGroup) {
    case GroupDataSizeNotAllowed:
        return Grp(L"DATASIZE_NOT_ALLOWED") + L".";
    case GroupDataSizeTooLarge:
        return Grp(L"DATASIZE_TOO_LARGE") + L".\n" + Grp(L"DATASIZE_EXPEXTED") + Dec(expected) + L"\n"
            + Grp(L"DATASIZE_RECEIVED") + Dec(actual);
    case GroupNumberOfFragmentsExceeded:
        return Grp(L"NUMBER_OF_FRAGMENTS_EXCEEDED") + L".\n" + Grp(L"FRAGMENT_NUMBER") + Dec(actual);
    case GroupNumberOfRetriesExceeded:
        return Grp(L"NUMBER_OF_RETRIES_EXCEEDED") + L".\n" + Grp(L"RETRY_NUMBER") + Dec(actual);
    case GroupNumberOfPacketNotValid:
        return Grp(L"NUMBER_OF_PACKET_NOT_VALID") + L".\n" + Grp(L"FRAGMENT_NUMBER") + Dec(actual);
    case GroupNotEnoughMemory:
        return Grp(L"NOT_ENOUGH_MEMORY") + L".";
    case GroupReadingFailed:
        return Grp(L"READING_FAILED") + L".";
    case GroupWrongChecksum:
        return Grp(L"WRONG_CHECKSUM") + L".\n" + Grp(L"CHECKSUM_EXP") + Hex(expected) + L"\n" + Grp(L"CHECKSUM_CALC")
            + Hex(actual);
    case GroupWrongIdentifier:
        return Compare(L"WRONG_IDENTIFIER", L"ID_EXPEXTED", L"ID_RECEIVED", expected, actual);
    case GroupDifferentRequestNumber:
        return Compare(L"DIFFERENT_REQUEST_NUMBER", L"REQUEST_NUMBER_EXPEXTED", L"REQUEST_NUMBER_RECEIVED", expected,
                       actual);
    case GroupDifferentFragmentNumber:
        return Compare(L"DIFFERENT_FRAGMENT_NUMBER", L"FRAGMENT_NUMBER_EXPEXTED", L"FRAGMENT_NUMBER_RECEIVED",
                       expected, actual);
    case GroupDifferentTotalFragmentNumber:
        return Compare(L"DIFFERENT_TOTAL_FRAGMENT_NUMBER", L"TOTAL_FRAGMENT_NUMBER_EXPEXTED",
                       L"TOTAL_FRAGMENT_NUMBER_RECEIVED", expected, actual);
    case GroupStatusBitfieldAbort:
        return Grp(L"STATUS_BITFIELD_ABORT") + L".\n" + T(FormatW(L"SERVICE_PROT_GRP_ABORT_%u", actual)) + L".";
    case GroupAnswerTooShort:
        return Grp(L"ANSWER_TOO_SHORT") + L".\n" + Grp(L"DATASIZE_EXPEXTED") + Dec(expected) + L"\n"
            + Grp(L"DATASIZE_RECEIVED") + Dec(actual);
    case GroupAnswerTooLong:
        return Grp(L"ANSWER_TOO_LONG") + L".\n" + Grp(L"DATASIZE_EXPEXTED") + Dec(expected) + L"\n"
            + Grp(L"DATASIZE_RECEIVED") + Dec(actual);
    case GroupPassedString:
        return Grp(L"PASSED_STRING") + L":\n" + passed;
    case GroupCreatedString:
        return Grp(L"CREATED_STRING") + L":\n" + passed;
    default:
        return {};
    }
}

}
