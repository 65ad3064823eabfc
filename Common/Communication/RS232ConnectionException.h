#pragma once
// Failure of the RS-232 connection. Its user texts come from the language
// texts, keyed by the failing operation's code and by the error.

#include "Common/Communication/ConnectionException.h"
#include "Common/Communication/PelorusApi.h"

namespace ZELL {

class PELORUS_API CRS232ConnectionException : public CConnectionException {
public:
    CRS232ConnectionException(const wchar_t* message, LONG code, const wchar_t* detail, ULONG error);
    CRS232ConnectionException(const CRS232ConnectionException&) = default;
    CRS232ConnectionException& operator=(const CRS232ConnectionException&) = default;

    const wchar_t* GetDetail() const { return m_detail; }
    ULONG GetError() const { return m_error; }

    wchar_t m_detail[kBufferLength] = {};
    ULONG m_error = 0;
    // Kept for the layout; the command error of the port is not known here.
    ULONG m_commandError = 0;
};

}
