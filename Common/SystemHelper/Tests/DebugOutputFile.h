#pragma once
// The debug output of a test, read back from a file of its own.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdlib.h>
#include <string>
#include <unistd.h>

// Sends the debug output to a file of its own for as long as it lives. Each
// object has its own file: the output keeps the file it last wrote open.
class DebugOutputFile {
public:
    DebugOutputFile()
        : m_path(std::filesystem::temp_directory_path()
                 / ("systemhelper-trace-" + std::to_string(getpid()) + "-" + std::to_string(++Count()) + ".txt"))
    {
        std::filesystem::remove(m_path);
        setenv("ZELL_DEBUG_OUTPUT", m_path.c_str(), 1);
    }
    ~DebugOutputFile()
    {
        unsetenv("ZELL_DEBUG_OUTPUT");
        std::filesystem::remove(m_path);
    }
    std::string Take()
    {
        std::ifstream stream(m_path, std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
        stream.close();
        // Emptied, not removed: the output keeps the file open for appending.
        std::error_code error;
        std::filesystem::resize_file(m_path, 0, error);
        return text;
    }

private:
    static int& Count()
    {
        static int count = 0;
        return count;
    }

    std::filesystem::path m_path;
};
