#pragma once
// The folder a program's file dialog showed when the user last chose a file,
// kept in the registry store under the program's name, so each program's
// dialogs open where that program's user left off.

#include <string>

namespace ZELL::Shell {

class CLastFolderStore {
public:
    // The store's key is "Software\Zell Software\Shell\FileDialogs"; the
    // value is named after the program (its executable's file name).
    static std::wstring Load();
    static bool Save(const std::wstring& folder);
    static std::wstring ProgramName();
};

}  // namespace ZELL::Shell
