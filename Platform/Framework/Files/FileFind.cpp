#include "Platform/Framework/Files/FileFind.h"

#include "Platform/Base/LastError.h"
#include "Platform/Base/FileSystemPath.h"
#include "Platform/Base/WinError.h"
#include "Platform/Framework/Files/PathText.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cwctype>
#include <memory>

IMPLEMENT_DYNAMIC(CFileFind, CObject)

namespace {

// 100 ns steps between 1601-01-01 and 1970-01-01.
constexpr ULONGLONG kEpochDifference = 116444736000000000ULL;

bool SameLetter(wchar_t a, wchar_t b)
{
    return std::towlower(static_cast<wint_t>(a)) == std::towlower(static_cast<wint_t>(b));
}

// '*' matches any run of characters, '?' any one; backtracks only to the
// last '*', so the time stays linear in the name for each star.
bool MatchesPattern(const std::wstring& name, const std::wstring& pattern)
{
    std::size_t n = 0;
    std::size_t p = 0;
    std::size_t starPattern = std::wstring::npos;
    std::size_t starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == L'*') {
            starPattern = p++;
            starName = n;
        } else if (p < pattern.size() && (pattern[p] == L'?' || SameLetter(pattern[p], name[n]))) {
            ++p;
            ++n;
        } else if (starPattern != std::wstring::npos) {
            p = starPattern + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == L'*')
        ++p;
    return p == pattern.size();
}

FILETIME ToFileTime(const timespec& time)
{
    const ULONGLONG ticks = kEpochDifference + static_cast<ULONGLONG>(time.tv_sec) * 10000000ULL +
                            static_cast<ULONGLONG>(time.tv_nsec) / 100;
    return FILETIME{static_cast<DWORD>(ticks & 0xFFFFFFFFu), static_cast<DWORD>(ticks >> 32)};
}

bool DotsFirstThenName(const CString& a, const CString& b)
{
    const bool dotsA = a == L"." || a == L"..";
    const bool dotsB = b == L"." || b == L"..";
    if (dotsA != dotsB)
        return dotsA;
    return a.str() < b.str();
}

}  // namespace

BOOL CFileFind::FindFile(LPCWSTR name, DWORD)
{
    Close();
    const CString request = ZELL::Framework::PathText::FullPath(name && *name ? CString(name) : CString(L"*.*"));
    m_strRoot = ZELL::Framework::PathText::Folder(request);
    std::wstring pattern = ZELL::Framework::PathText::FileName(request).str();
    if (pattern == L"*.*")
        pattern = L"*";
    const std::string folder = Text::WideToFileName(m_strRoot.str());
    const std::unique_ptr<DIR, int (*)(DIR*)> directory(::opendir(folder.c_str()), &::closedir);
    if (!directory) {
        SetLastError(errno == ENOENT ? ERROR_PATH_NOT_FOUND : Win32ErrorFromErrno(errno));
        return FALSE;
    }
    while (const dirent* item = ::readdir(directory.get())) {
        Entry entry;
        entry.name = CString(Text::FileNameToWide(item->d_name));
        if (!MatchesPattern(entry.name.str(), pattern))
            continue;
        struct stat info {};
        const std::string path = folder + "/" + item->d_name;
        if (::stat(path.c_str(), &info) == 0) {
            entry.directory = S_ISDIR(info.st_mode);
            entry.readOnly = (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
            entry.length = entry.directory ? 0 : static_cast<ULONGLONG>(info.st_size);
            entry.lastWrite = ToFileTime(info.st_mtim);
        }
        m_arrEntries.push_back(std::move(entry));
    }
    std::sort(m_arrEntries.begin(), m_arrEntries.end(),
              [](const Entry& a, const Entry& b) { return DotsFirstThenName(a.name, b.name); });
    if (m_arrEntries.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    return TRUE;
}

BOOL CFileFind::FindNextFile()
{
    if (m_nNext >= m_arrEntries.size()) {
        SetLastError(ERROR_NO_MORE_FILES);
        return FALSE;
    }
    ++m_nNext;
    return m_nNext < m_arrEntries.size();
}

void CFileFind::Close()
{
    m_strRoot.Empty();
    m_arrEntries.clear();
    m_nNext = 0;
}

const CFileFind::Entry* CFileFind::Current() const
{
    return m_nNext > 0 && m_nNext <= m_arrEntries.size() ? &m_arrEntries[m_nNext - 1] : nullptr;
}

CString CFileFind::GetFileName() const
{
    const Entry* entry = Current();
    return entry ? entry->name : CString();
}

CString CFileFind::GetFilePath() const
{
    const Entry* entry = Current();
    if (!entry)
        return CString();
    return m_strRoot == L"/" ? m_strRoot + entry->name : m_strRoot + L"/" + entry->name;
}

CString CFileFind::GetFileTitle() const
{
    const Entry* entry = Current();
    return entry ? ZELL::Framework::PathText::FileTitle(entry->name) : CString();
}

ULONGLONG CFileFind::GetLength() const
{
    const Entry* entry = Current();
    return entry ? entry->length : 0;
}

BOOL CFileFind::GetLastWriteTime(FILETIME* time) const
{
    const Entry* entry = Current();
    if (!entry || !time)
        return FALSE;
    *time = entry->lastWrite;
    return TRUE;
}

BOOL CFileFind::IsDirectory() const
{
    const Entry* entry = Current();
    return entry && entry->directory;
}

BOOL CFileFind::IsDots() const
{
    const Entry* entry = Current();
    return entry && entry->directory && (entry->name == L"." || entry->name == L"..");
}

BOOL CFileFind::IsReadOnly() const
{
    const Entry* entry = Current();
    return entry && entry->readOnly;
}
