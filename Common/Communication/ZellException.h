#pragma once
// The communication code's exceptions derive from the root that the system
// helpers below it hold.
#include "Common/Communication/PelorusApi.h"
#include "Common/SystemHelper/Errors/ZellException.h"
