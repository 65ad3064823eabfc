#pragma once
// Failures of the protocol layer; handlers catch it, only the service
// exception is thrown.

#include "Common/Communication/PelorusApi.h"
#include "Common/Communication/ZellException.h"

namespace ZELL {

class PELORUS_API CProtocolException : public CZellException {
public:
    CProtocolException(const wchar_t* message, LONG code) : CZellException(message, code) {}
    explicit CProtocolException(const CZellException& base) : CZellException(base) {}
    CProtocolException(const CProtocolException& other) = default;
    CProtocolException& operator=(const CProtocolException& other) = default;
};

}
