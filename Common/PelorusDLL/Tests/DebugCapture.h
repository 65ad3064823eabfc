#pragma once
// Sends the debugger output of a test to a file of its own and reads it back.

#include "Platform/Base/TextConversion.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

class CDebugCapture {
public:
    CDebugCapture()
    {
        m_path = (std::filesystem::temp_directory_path() /
                  ("pelorus-debug-" + std::to_string(::getpid()) + "-" + std::to_string(++s_counter) + ".txt"))
                     .string();
        std::filesystem::remove(m_path);
        setenv("ZELL_DEBUG_OUTPUT", m_path.c_str(), 1);
    }
    ~CDebugCapture()
    {
        unsetenv("ZELL_DEBUG_OUTPUT");
        std::filesystem::remove(m_path);
    }
    CDebugCapture(const CDebugCapture&) = delete;
    CDebugCapture& operator=(const CDebugCapture&) = delete;

    std::wstring Text() const
    {
        std::ifstream in(m_path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return Text::Utf8ToWide(text.str());
    }

private:
    static inline int s_counter = 0;
    std::string m_path;
};
