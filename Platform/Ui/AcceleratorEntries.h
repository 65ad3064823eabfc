#pragma once
// The entries of an accelerator table, for the code that matches key
// messages against them.
#include "Platform/Ui/Accelerator.h"

#include <vector>

namespace Ui {

// False with ERROR_INVALID_ACCEL_HANDLE for a handle that names no table.
bool ReadAcceleratorEntries(HACCEL table, std::vector<ACCEL>& entries);

}
