#pragma once
// A shortcut as a desktop entry file. A link target (a URL) is kept as
// Type=Link; a file or folder without arguments as Type=Link with its file://
// URL; a program, or any target with arguments, as Type=Application whose
// Exec line holds the target and the arguments, each quoted by the
// desktop-entry rules. The working folder is Path, the icon Icon (its index
// in an extension key), the description Comment.
//
// Arguments are one command-line text by the platform's quoting rules, as
// callers pass them; they are split into their parts when saved and joined
// again when loaded.

#include "Platform/Base/Types.h"

#include <string>

namespace ZELL::Shell {

class ShellLink {
public:
    // E_INVALIDARG for an empty target.
    HRESULT SetPath(const std::wstring& target);
    void SetArguments(const std::wstring& arguments) { m_arguments = arguments; }
    void SetWorkingDirectory(const std::wstring& folder) { m_workingFolder = folder; }
    void SetDescription(const std::wstring& description) { m_description = description; }
    void SetIconLocation(const std::wstring& iconFile, int index);

    const std::wstring& Path() const { return m_target; }
    const std::wstring& Arguments() const { return m_arguments; }
    const std::wstring& WorkingDirectory() const { return m_workingFolder; }
    const std::wstring& Description() const { return m_description; }
    const std::wstring& IconFile() const { return m_iconFile; }
    int IconIndex() const { return m_iconIndex; }

    // Written whole to a temporary file and renamed over the link file.
    // E_INVALIDARG without a target; the system error as an HRESULT otherwise.
    HRESULT Save(const std::wstring& linkFile) const;
    // HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) for a missing file,
    // HRESULT_FROM_WIN32(ERROR_BAD_FORMAT) for a file that is no shortcut.
    // The link is unchanged on failure.
    HRESULT Load(const std::wstring& linkFile);

private:
    std::wstring m_target;
    std::wstring m_arguments;
    std::wstring m_workingFolder;
    std::wstring m_description;
    std::wstring m_iconFile;
    int m_iconIndex = 0;
};

}  // namespace ZELL::Shell
