#pragma once
// Files and folders by path text. Paths are POSIX paths; "\" is accepted as a
// separator too where a path is split into its parts. Case is kept.

#include "Platform/Base/Types.h"

#include <string>
#include <vector>

bool FileExists(const std::wstring& path);
bool PathExists(const std::wstring& path);
bool CopyFileTo(const std::wstring& source, const std::wstring& target, bool failIfExists);
// Never replaces an existing target.
bool MoveFileTo(const std::wstring& source, const std::wstring& target);
// -1 when there is nothing at the path.
LONGLONG GetFileSizeByPath(const std::wstring& path);
// 1 with the size; 0 when the file cannot be opened or sized.
int GetFileSize64(const std::wstring& path, LONGLONG& size);
// The last part of the path, trimmed; empty for a path without parts.
std::wstring GetFileNameFromPath(const std::wstring& path);
// Creates each missing folder from the root (or the current folder for a
// relative path) down; false when a creation fails.
bool CreateDirectoryPath(const std::wstring& path);
// Deletes the files of the folder (not those beginning with "."), then the
// folder itself; sub-folders are not entered. The result is the folder's removal.
bool DeleteDirectoryFiles(const std::wstring& folder);
// Adds folder + "/" + name of each file whose text after the first "." is the
// extension (any case). Returns 0 or the platform error code of the failure.
DWORD FindFiles(std::vector<std::wstring>& files, const std::wstring& folder, const std::wstring& extension,
    bool recursive);
// The file's bytes as UTF-8 text; empty when it cannot be read.
std::wstring ReadTextFile(const std::wstring& path);
// Replaces the file with the text (UTF-8); false when it cannot be written.
bool WriteTextFile(const std::wstring& path, const std::wstring& text);
std::wstring GetTempDirectory();
std::wstring GetCurrentDirectoryText();
// Empty when the variable is not set.
std::wstring GetEnvironmentText(const std::wstring& name);
