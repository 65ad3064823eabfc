#pragma once
// What a folder holds, as a file dialog lists it: its sub-folders first, then
// its files, each group sorted by name without regard to case or to the
// accents of Latin letters (names equal but for those in a fixed order). Hidden entries (names starting with ".")
// are left out unless asked for, and so are names that are not valid UTF-8,
// since no wide path could open them again.

#include <cstdint>
#include <ctime>
#include <string>
#include <system_error>
#include <vector>

namespace ZELL::Shell {

struct FolderEntry {
    std::wstring name;
    bool isFolder = false;
    std::uintmax_t size = 0;
    std::time_t modified = 0;
};

class CFolderListing {
public:
    // Reads `folder`; false with the reason in `error` when it cannot be
    // listed (missing, not a folder, no permission). A link to a folder
    // counts as a folder.
    bool Read(const std::wstring& folder, bool withHidden, std::error_code& error);

    const std::vector<FolderEntry>& Entries() const { return m_entries; }

    // Display texts of the size and date columns ("12 KB", "2024-03-01 14:05"
    // in local time); a folder shows no size.
    static std::wstring SizeText(const FolderEntry& entry);
    static std::wstring DateText(std::time_t time);

    // Sorts `entries` into the listing's order.
    static void Sort(std::vector<FolderEntry>& entries);

private:
    std::vector<FolderEntry> m_entries;
};

}  // namespace ZELL::Shell
