#pragma once
// Failures of the connections; handlers catch it, only the serial and TCP/IP
// subclasses are thrown.

#include "Common/Communication/PelorusApi.h"
#include "Common/Communication/ZellException.h"

namespace ZELL {

class PELORUS_API CConnectionException : public CZellException {
public:
    CConnectionException(const wchar_t* message, LONG code) : CZellException(message, code) {}
};

}
