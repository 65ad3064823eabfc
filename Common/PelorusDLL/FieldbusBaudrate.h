#pragma once
// The fieldbus baud rate that a device reports as text, such as "12 MBaud"
// or "1.5 Mbit/s".

#include "Common/Communication/PelorusApi.h"

#include <string>

namespace ZELL {

// False for "--" (the device has no value) and for a text that does not
// start with a number; `baud` is then left alone.
PELORUS_API bool ParseFieldbusBaudrate(const std::wstring& text, double& baud);

}
