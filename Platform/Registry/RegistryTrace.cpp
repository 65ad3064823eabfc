#include "Platform/Registry/RegistryTrace.h"

#if __has_include("Platform/Base/DebugOutput.h")
#include "Platform/Base/DebugOutput.h"
#define ZELL_REGISTRY_HAS_DEBUG_OUTPUT 1
#endif

#include "Platform/Base/TextConversion.h"

#include <cstdio>
#include <string>

namespace Registry {

void TraceRegistryProblem(std::wstring_view text)
{
    std::wstring line = L"registry: ";
    line += text;
    line += L'\n';
#ifdef ZELL_REGISTRY_HAS_DEBUG_OUTPUT
    OutputDebugStringW(line.c_str());
#else
    const std::string narrow = Text::WideToUtf8(line);
    std::fwrite(narrow.data(), 1, narrow.size(), stderr);
#endif
}

}
