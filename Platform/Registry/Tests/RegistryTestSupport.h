#pragma once
// Moves every hive store into a fresh temporary folder for one test.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

class TempConfigHome {
public:
    TempConfigHome()
    {
        char pattern[] = "/tmp/zell-registry-test-XXXXXX";
        const char* made = ::mkdtemp(pattern);
        if (!made)
            throw std::runtime_error("mkdtemp failed");
        m_dir = made;
        if (const char* old = std::getenv("XDG_CONFIG_HOME"))
            m_old = old, m_hadOld = true;
        ::setenv("XDG_CONFIG_HOME", m_dir.c_str(), 1);
    }
    ~TempConfigHome()
    {
        if (m_hadOld)
            ::setenv("XDG_CONFIG_HOME", m_old.c_str(), 1);
        else
            ::unsetenv("XDG_CONFIG_HOME");
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }
    const std::filesystem::path& Dir() const { return m_dir; }
    std::filesystem::path StoreDir() const { return m_dir / "zell-software"; }

private:
    std::filesystem::path m_dir;
    std::string m_old;
    bool m_hadOld = false;
};
