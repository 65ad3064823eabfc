#pragma once
// Stand-in programs on the PATH that write down how they were called;
// temporary folders, variables and whole files come from the base layer's
// test support.

#include "Platform/Base/Tests/FileBytes.h"
#include "Platform/Base/Tests/ScopedEnvironment.h"
#include "Platform/Base/TextConversion.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

namespace ShellTest {

using TestSupport::CScopedVariable;
using TestSupport::CTempFolder;

inline std::wstring Wide(const std::filesystem::path& path) { return Text::Utf8ToWide(path.string()); }

using TestSupport::ReadFile;
using TestSupport::WriteFile;

// An executable shell script; `body` follows the "#!/bin/sh" line.
inline void WriteScript(const std::filesystem::path& path, const std::string& body)
{
    WriteFile(path, "#!/bin/sh\n" + body);
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
}

// A stand-in program that appends one line "call" and then each argument as
// "[argument]" on a line of its own to `log` (whole, by a rename), then runs `tail`.
inline void WriteRecorder(const std::filesystem::path& path, const std::filesystem::path& log,
                          const std::string& tail = "exit 0\n")
{
    const std::string part = "'" + log.string() + ".part'";
    WriteScript(path, "{ cat '" + log.string() + "' 2>/dev/null; echo call; for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done; } > " +
                          part + "\nmv " + part + " '" + log.string() + "'\n" + tail);
}

// Waits (bounded) until the file is there.
inline std::string WaitForFile(const std::filesystem::path& path)
{
    for (int i = 0; i < 200; ++i) {
        if (std::filesystem::exists(path))
            return ReadFile(path);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return ReadFile(path);
}

// A PATH that holds a folder of stand-in programs first (and the system's
// tools the stand-in scripts use), for as long as it lives; the stand-ins
// record into one log.
class CStandIns {
public:
    CStandIns() { std::filesystem::create_directories(m_bin); }

    void StandIn(const std::string& name, const std::string& tail = "exit 0\n") const
    {
        WriteRecorder(m_bin / name, m_log, tail);
    }

    CTempFolder m_folder;
    std::filesystem::path m_bin = m_folder / "bin";
    std::filesystem::path m_log = m_folder / "calls.txt";
    CScopedVariable m_path{L"PATH", Wide(m_bin) + L":/usr/bin:/bin"};
};

// A test with its own stand-in programs.
class StandInTest : public ::testing::Test, protected CStandIns {};

}  // namespace ShellTest
