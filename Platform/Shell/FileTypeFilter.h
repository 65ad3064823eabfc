#pragma once
// The file types a file dialog offers: description and pattern list pairs
// read from the double-null-ended list of OPENFILENAMEW, and the matching of
// names against a pattern list such as "*.txt;*.LOG". Matching ignores case
// as the desktop's file dialogs do, so "REPORT.TXT" is a text file too.

#include "Platform/Base/Types.h"

#include <string>
#include <vector>

namespace ZELL::Shell {

struct FileType {
    std::wstring description;
    std::wstring patterns;
};

class CFileTypeFilter {
public:
    // Reads the pairs of `list`; a missing pattern after the last description
    // drops that pair. At most `maxPairs` are read, so a list without its
    // closing null cannot run on for ever.
    static std::vector<FileType> Parse(LPCWSTR list, std::size_t maxPairs = 256);
    // The "Description|pattern|..." form of the framework: the same pairs.
    static std::vector<FileType> ParseBarSeparated(const std::wstring& text);

    // True when `name` matches one of the ";"-separated patterns ("*" and "?"
    // wildcards). An empty list matches everything.
    static bool Matches(const std::wstring& name, const std::wstring& patterns);
    // True when the text holds a wildcard and so names a filter, not a file.
    static bool HasWildcard(const std::wstring& text);
    // The extension of the list's first pattern when it names one ("*.txt"
    // gives "txt"; "*.*" and "*" give nothing).
    static std::wstring FirstExtension(const std::wstring& patterns);

private:
    static bool MatchesOne(const std::wstring& name, const std::wstring& pattern);
};

}  // namespace ZELL::Shell
