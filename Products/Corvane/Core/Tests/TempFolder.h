#pragma once
// A folder of its own per test, removed afterwards: the platform's test
// folder, named as the product's tests have always called it.
#include "Platform/Base/Tests/ScopedEnvironment.h"

using TestSupport::CTempFolder;
