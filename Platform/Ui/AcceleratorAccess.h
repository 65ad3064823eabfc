#pragma once
// The entries behind an accelerator-table handle. The resource loader, which
// makes the handles, defines GetAcceleratorEntries; TranslateAcceleratorW
// reads the table through it.
#include "Platform/Ui/WinUser.h"

#include <vector>

namespace Ui {

// False, with ERROR_INVALID_HANDLE as last error, for a handle that is no table.
bool GetAcceleratorEntries(HACCEL table, std::vector<ACCEL>& entries);

// The entry a key or character message matches under the current key
// state, or null.
const ACCEL* MatchAccelerator(const std::vector<ACCEL>& entries, const MSG& msg);

}
