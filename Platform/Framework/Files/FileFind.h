#pragma once
// Finds the entries of a folder whose names match a pattern with '*' and '?'.
// Names match without regard to case, as the framework's callers expect of
// file names, and "*.*" matches every name; the folder part keeps its case
// and becomes a full path (a relative one after the working folder). The entries are read when the search starts and come in
// name order, "." and ".." first.
//
//     CFileFind finder;
//     for (BOOL more = finder.FindFile(L"/data/*.xml"); more;) {
//         more = finder.FindNextFile();
//         Use(finder.GetFilePath());
//     }

#include "Platform/Base/CString.h"
#include "Platform/Framework/Core/Object.h"

#include <vector>

class CFileFind : public CObject {
    DECLARE_DYNAMIC(CFileFind)
public:
    CFileFind() = default;
    CFileFind(const CFileFind&) = delete;
    CFileFind& operator=(const CFileFind&) = delete;

    // TRUE when something matches; the first entry is current after the
    // first FindNextFile. Null searches the working folder for everything.
    // A failure sets the last error (ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND).
    BOOL FindFile(LPCWSTR name = nullptr, DWORD unused = 0);
    // Makes the next entry current; FALSE when it is the last one.
    BOOL FindNextFile();
    void Close();

    // Of the current entry; empty, zero or FALSE before the first FindNextFile.
    CString GetFileName() const;
    CString GetFilePath() const;
    CString GetFileTitle() const;
    CString GetRoot() const { return m_strRoot; }
    ULONGLONG GetLength() const;
    BOOL GetLastWriteTime(FILETIME* time) const;
    BOOL IsDirectory() const;
    BOOL IsDots() const;
    BOOL IsReadOnly() const;

private:
    struct Entry {
        CString name;
        ULONGLONG length = 0;
        FILETIME lastWrite{};
        bool directory = false;
        bool readOnly = false;
    };
    const Entry* Current() const;

    CString m_strRoot;
    std::vector<Entry> m_arrEntries;
    std::size_t m_nNext = 0;  // one past the current entry
};
