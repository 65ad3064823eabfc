#pragma once
// Reports trouble with a store file (the debugger output where the platform
// base offers it, else standard error). Nothing here fails.

#include <string_view>

namespace Registry {

void TraceRegistryProblem(std::wstring_view text);

}
