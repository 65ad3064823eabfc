#pragma once
// A failed step of a service-protocol transfer. The constructor turns the
// step and the failed check into the summary and details the user sees.

#include "Common/Communication/PelorusApi.h"
#include "Common/Communication/ProtocolException.h"

namespace ZELL {

class PELORUS_API CServiceException : public CProtocolException {
public:
    // Steps of a transfer (the exception's code).
    enum : LONG {
        StepWriteFragmented = 2,
        StepReadFragmented = 3,
        StepReadFragment = 5,
        StepCheckResponse = 6,
        StepSetSettingsXML = 7,
        StepGetSettingsValue = 8,
        StepNumberOfFragments = 12,
    };
    // Checks that can fail (the group); other numbers give empty details.
    enum : USHORT {
        GroupDataSizeNotAllowed = 1,
        GroupDataSizeTooLarge = 2,
        GroupNumberOfFragmentsExceeded = 3,
        GroupNumberOfRetriesExceeded = 4,
        GroupNumberOfPacketNotValid = 5,
        GroupNotEnoughMemory = 6,
        GroupReadingFailed = 7,
        GroupWrongChecksum = 8,
        GroupWrongIdentifier = 9,
        GroupDifferentRequestNumber = 10,
        GroupDifferentFragmentNumber = 11,
        GroupDifferentTotalFragmentNumber = 12,
        GroupStatusBitfieldAbort = 13,
        GroupAnswerTooShort = 14,
        GroupPassedString = 15,
        GroupCreatedString = 16,
        // A long answer announces more than any service answers with.
        GroupAnswerTooLong = 17,
    };

    CServiceException(const wchar_t* message, LONG code, USHORT group, LONG actual, ULONG expected,
                      const wchar_t* passedText = nullptr);
    CServiceException(const CServiceException& other) = default;
    CServiceException& operator=(const CServiceException& other) = default;

    USHORT m_usGroup = 0;
    ULONG m_ulExpected = 0;

private:
    std::wstring BuildDetails(const wchar_t* passedText) const;
};

}
