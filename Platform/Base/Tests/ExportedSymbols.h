#pragma once
// What a shared library defines and exports, as the tests of the shipped
// libraries check it: the demangled names, one per line, as `nm -D -C` lists
// them.

#include <cstdio>
#include <memory>
#include <string>

namespace TestSupport {

// Empty when the file cannot be read.
inline std::string ExportedSymbols(const std::string& library)
{
    const std::string command = "nm -D -C --defined-only '" + library + "'";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    std::string text;
    if (!pipe)
        return text;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0;)
        text.append(buffer, n);
    return text;
}

}
