#pragma once
// A failed identification request. The constructor turns the failed check
// into the summary and details that the user sees, from the language texts.

#include "Common/Communication/PelorusApi.h"
#include "Common/Communication/DeviceAPIException.h"

namespace ZELL {

class PELORUS_API CIdentificationException : public CDeviceAPIException {
public:
    // Checks that can fail; other numbers give empty details.
    enum : USHORT {
        GroupNone = 0,
        GroupDataSizeLess = 1,
        GroupDataSizeMore = 2,
        GroupErrorResponse = 3,
        GroupCommandError = 4,
        GroupConnectionNotOpen = 5,
        GroupWrongNumberOfDataBytes = 6,
    };

    CIdentificationException(const wchar_t* message, ULONG code, USHORT group, LONG actual, ULONG expected);
    CIdentificationException(const CIdentificationException& other) = default;
    CIdentificationException& operator=(const CIdentificationException& other) = default;

    USHORT m_usGroup = 0;
    ULONG m_ulExpected = 0;

private:
    std::wstring BuildDetails() const;
};

}
