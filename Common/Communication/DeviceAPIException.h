#pragma once
// Failures of the device APIs; handlers catch it, only its subclasses are thrown.

#include "Common/Communication/ZellException.h"

namespace ZELL {

class CDeviceAPIException : public CZellException {
public:
    CDeviceAPIException(const wchar_t* message, LONG code) : CZellException(message, code) {}
};

}
