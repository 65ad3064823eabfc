#pragma once
// The debug output of a test, sent to a file of its own for as long as the
// object lives and read back from there. Each object has its own file: the
// output keeps the file it last wrote open.
#include "Platform/Base/Tests/ScopedEnvironment.h"

#include <filesystem>
#include <string>

namespace TestSupport {

class CDebugOutputFile {
public:
    CDebugOutputFile() = default;
    CDebugOutputFile(const CDebugOutputFile&) = delete;
    CDebugOutputFile& operator=(const CDebugOutputFile&) = delete;

    // All that was written (since the last Take), as UTF-8.
    std::string Read() const { return m_folder.Read(kName); }
    // Reads, then empties the file; emptied, not removed, as the output keeps
    // it open for appending.
    std::string Take()
    {
        std::string text = Read();
        std::error_code error;
        std::filesystem::resize_file(m_folder / kName, 0, error);
        return text;
    }

private:
    static constexpr const char* kName = "debug-output.txt";

    CTempFolder m_folder{"zell-debug-output"};
    CScopedVariable m_variable{"ZELL_DEBUG_OUTPUT", (m_folder / kName).string()};
};

}
