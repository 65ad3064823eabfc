// Any bytes as the program's arguments, one per line: every switch is parsed
// or refused, and a connection it names becomes a settings document or none.

#include "Products/Corvane/Core/CommandLineConnection.h"
#include "Products/Corvane/Core/CorvaneCommandLine.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using namespace Corvane;

namespace {

// Keeps the sockets out of it; their start is not what is fuzzed.
class CFuzzCommandLine : public CCorvaneCommandLine {
public:
    using CCorvaneCommandLine::CCorvaneCommandLine;

protected:
    bool StartSockets() override { return true; }
};

std::vector<CString> Arguments(const std::uint8_t* data, std::size_t size)
{
    std::vector<CString> arguments;
    std::wstring current;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == '\n') {
            arguments.emplace_back(current.c_str());
            current.clear();
        } else {
            current.push_back(static_cast<wchar_t>(data[i]));
        }
    }
    arguments.emplace_back(current.c_str());
    return arguments;
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CFuzzCommandLine line(L"en");
    line.Parse(Arguments(data, size));
    if (line.ResolveConnection())
        (void)CCommandLineConnection::MakeSettingsXml(line.ConnectionType(), line.ConnectionSettings());
    return 0;
}
