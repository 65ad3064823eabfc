#pragma once

// A fault rule written as text, for the simulator's command line:
//   KIND[:key=value,...]   e.g. ServiceStatus:service=0x116,status=0x8213,times=-1
// KIND is an ENFault name. Keys: service, command, fragment, frame (what the rule
// matches), readback (0 or 1), times (firings; -1 always), delay (ms), status, value.
// Numbers are decimal or 0x-hexadecimal.

#include <string>

#include "Tests/DeviceSimulator/FaultPlan.h"

namespace DevSim {

bool ParseFaultRule(const std::string& text, tFaultRule& rule, std::string& error);

// The kind names ParseFaultRule takes, for a usage text.
std::string FaultKindNames();

} // namespace DevSim
