#pragma once
// What a test changes in its process's surroundings, undone when it ends: a
// variable set or removed and then put back, a temporary folder removed with
// all it holds, and both together as a private settings home, so that no
// test reads or writes the user's own settings or leaves a folder behind.

#include "Platform/Base/Environment.h"
#include "Platform/Base/Tests/FileBytes.h"
#include "Platform/Base/TextConversion.h"

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include <unistd.h>

namespace TestSupport {

// Sets (or with nullopt removes) a variable and puts the old value back.
class CScopedVariable {
public:
    CScopedVariable(const wchar_t* name, const std::optional<std::wstring>& value) : m_name(name)
    {
        if (const char* old = std::getenv(Text::WideToUtf8(m_name).c_str()))
            m_old = Text::Utf8ToWide(old);
        Set(value);
    }
    CScopedVariable(const char* name, const std::optional<std::string>& value)
        : CScopedVariable(Text::Utf8ToWide(name).c_str(),
                          value ? std::optional<std::wstring>(Text::Utf8ToWide(*value)) : std::nullopt)
    {
    }
    ~CScopedVariable() { Set(m_old); }
    CScopedVariable(const CScopedVariable&) = delete;
    CScopedVariable& operator=(const CScopedVariable&) = delete;

private:
    void Set(const std::optional<std::wstring>& value) const
    {
        SetEnvironmentVariableW(m_name.c_str(), value ? value->c_str() : nullptr);
    }

    std::wstring m_name;
    std::optional<std::wstring> m_old;
};

// A fresh folder under the system's temporary folder, removed with all it
// holds (also what a test made unreadable) when the scope ends.
class CTempFolder {
public:
    explicit CTempFolder(const std::string& prefix = "zell-test")
    {
        std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot make a temporary folder from " + pattern);
        m_path = pattern;
    }
    ~CTempFolder()
    {
        std::error_code error;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, error);
        std::filesystem::remove_all(m_path, error);
    }
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

    // Writes the bytes to a file of the folder (making the folders on its
    // way) and returns the file's path.
    std::filesystem::path Write(const std::string& name, std::string_view bytes) const
    {
        const std::filesystem::path file = m_path / name;
        std::filesystem::create_directories(file.parent_path());
        WriteFile(file, bytes);
        return file;
    }
    // The bytes of a file of the folder; empty when there is none.
    std::string Read(const std::string& name) const { return ReadFile(m_path / name); }

private:
    std::filesystem::path m_path;
};

// A private settings home: XDG_CONFIG_HOME names a fresh temporary folder
// until the scope ends, then has its old value back and the folder is gone.
class CTempConfigHome {
public:
    explicit CTempConfigHome(const std::string& prefix = "zell-config") : m_folder(prefix) {}

    const std::filesystem::path& Dir() const { return m_folder.Path(); }

private:
    CTempFolder m_folder;
    CScopedVariable m_variable{"XDG_CONFIG_HOME", m_folder.Path().string()};
};

}
