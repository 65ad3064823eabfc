#pragma once
// Failures of the device APIs; handlers catch it, only its subclasses are thrown.

#include "Common/Communication/PelorusApi.h"
#include "Common/Communication/ZellException.h"

namespace ZELL {

class PELORUS_API CDeviceAPIException : public CZellException {
public:
    CDeviceAPIException(const wchar_t* message, LONG code) : CZellException(message, code) {}
};

}
