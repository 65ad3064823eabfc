#pragma once
// What a name typed into a file dialog asks for, worked out against the folder
// the dialog shows: a folder to go into, a filter to apply (a wildcard, with
// the folder it may name first), or a file path. Relative names are taken
// from the shown folder, "~" from the home folder; case is kept as typed.

#include <string>

namespace ZELL::Shell {

class CTypedFileName {
public:
    enum class Kind { Nothing, Folder, Filter, File };

    // `defaultExtension` (without a dot) is added to a file name that has no
    // extension of its own, unless `keepExisting` is set and the name exists
    // as typed (an open dialog takes the file the user named).
    static CTypedFileName Resolve(const std::wstring& typed, const std::wstring& shownFolder,
                                  const std::wstring& defaultExtension, bool keepExisting);

    Kind kind = Kind::Nothing;
    std::wstring path;     // the folder to show, or the file's full path
    std::wstring pattern;  // for a filter

    // The full, normalised form of `typed` seen from `folder`.
    static std::wstring FullPath(const std::wstring& typed, const std::wstring& folder);
    static bool HasExtension(const std::wstring& path);
    static std::wstring ParentOf(const std::wstring& path);
    static std::wstring NameOf(const std::wstring& path);
    static bool IsFolder(const std::wstring& path);
    static bool Exists(const std::wstring& path);
};

}  // namespace ZELL::Shell
