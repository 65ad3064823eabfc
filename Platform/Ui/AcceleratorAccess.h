#pragma once
// Matching key messages against the entries of an accelerator table
// (ReadAcceleratorEntries gives them).
#include "Platform/Ui/AcceleratorEntries.h"
#include "Platform/Ui/WinUser.h"

#include <vector>

namespace Ui {

// The entry a key or character message matches under the current key
// state, or null.
const ACCEL* MatchAccelerator(const std::vector<ACCEL>& entries, const MSG& msg);

}
