#pragma once
// Failure of the TCP/IP connection: the base's message and code, plus the
// failing call's detail text and the error stored as last error.

#include "Common/Communication/ConnectionException.h"
#include "Common/Communication/PelorusApi.h"

namespace ZELL {

class PELORUS_API CTCPIPConnectionException : public CConnectionException {
public:
    CTCPIPConnectionException(const wchar_t* message, LONG code, const wchar_t* detail, ULONG error);
    CTCPIPConnectionException(const CTCPIPConnectionException&) = default;
    CTCPIPConnectionException& operator=(const CTCPIPConnectionException&) = default;

    const wchar_t* GetDetail() const { return m_detail; }
    ULONG GetError() const { return m_error; }

    wchar_t m_detail[kBufferLength] = {};
    ULONG m_error = 0;
};

}
