#include "Platform/Framework/Files/File.h"

#include "Platform/Base/LastError.h"
#include "Platform/Base/FileSystemPath.h"
#include "Platform/Base/WinError.h"
#include "Platform/Framework/Exceptions/InvalidArgException.h"
#include "Platform/Framework/Files/PathText.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

IMPLEMENT_DYNAMIC(CFile, CObject)

namespace {

int OpenFlagsFor(UINT flags)
{
    int result = O_CLOEXEC;
    switch (flags & 0x3) {
    case CFile::modeRead: result |= O_RDONLY; break;
    case CFile::modeWrite: result |= O_WRONLY; break;
    case CFile::modeReadWrite: result |= O_RDWR; break;
    default: return -1;
    }
    if (flags & CFile::modeCreate)
        result |= O_CREAT | ((flags & CFile::modeNoTruncate) ? 0 : O_TRUNC);
    return result;
}

void FillError(CFileException* error, int errnoValue, LPCWSTR fileName)
{
    SetLastError(Win32ErrorFromErrno(errnoValue));
    if (!error)
        return;
    error->m_cause = CFileException::ErrnoToException(errnoValue);
    error->m_lOsError = static_cast<LONG>(Win32ErrorFromErrno(errnoValue));
    error->m_strFileName = fileName;
}

BOOL FillStatus(const struct stat& info, const CString& fullName, CFileStatus& status)
{
    if (static_cast<std::size_t>(fullName.GetLength()) >= MAX_PATH)
        return FALSE;
    status = CFileStatus{};
    status.m_ctime = info.st_ctim.tv_sec;
    status.m_mtime = info.st_mtim.tv_sec;
    status.m_atime = info.st_atim.tv_sec;
    status.m_size = static_cast<ULONGLONG>(info.st_size);
    if (S_ISDIR(info.st_mode))
        status.m_attribute |= CFileStatus::directory;
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        status.m_attribute |= CFileStatus::readOnly;
    std::wmemcpy(status.m_szFullName, fullName.GetString(), static_cast<std::size_t>(fullName.GetLength()));
    return TRUE;
}

}  // namespace

CFile::CFile(LPCWSTR fileName, UINT openFlags)
{
    CFileException error;
    if (!Open(fileName, openFlags, &error))
        AfxThrowFileException(error.m_cause, error.m_lOsError, error.m_strFileName);
}

CFile::~CFile()
{
    Abort();
}

BOOL CFile::Open(LPCWSTR fileName, UINT openFlags, CFileException* error)
{
    Abort();
    const int flags = OpenFlagsFor(openFlags);
    if (!fileName || !*fileName || flags < 0 || ((openFlags & typeText) && (openFlags & typeBinary))) {
        FillError(error, EINVAL, fileName ? fileName : L"");
        if (error)
            error->m_cause = CFileException::badPath;
        return FALSE;
    }
    const CString fullPath = ZELL::Framework::PathText::FullPath(fileName);
    const int fd = ::open(Text::WideToFileName(fullPath.str()).c_str(), flags, 0666);
    if (fd < 0) {
        FillError(error, errno, fullPath);
        return FALSE;
    }
    // A folder opens for reading on POSIX, but it is no file to read.
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(fd);
        FillError(error, EISDIR, fullPath);
        return FALSE;
    }
    m_nFd = fd;
    m_strFileName = fullPath;
    return TRUE;
}

void CFile::Close()
{
    if (m_nFd < 0)
        return;
    const int fd = m_nFd;
    m_nFd = -1;
    if (::close(fd) != 0 && errno != EINTR)
        ThrowErrno(errno);
}

void CFile::Abort()
{
    if (m_nFd >= 0)
        ::close(m_nFd);
    m_nFd = -1;
}

int CFile::Descriptor() const
{
    if (m_nFd < 0)
        AfxThrowFileException(CFileException::invalidFile, static_cast<LONG>(ERROR_INVALID_HANDLE), m_strFileName);
    return m_nFd;
}

void CFile::ThrowErrno(int errnoValue) const
{
    // A descriptor that is open but refuses the operation was opened without
    // the access it needs.
    if (errnoValue == EBADF && m_nFd >= 0)
        AfxThrowFileException(CFileException::accessDenied, static_cast<LONG>(ERROR_ACCESS_DENIED), m_strFileName);
    CFileException::ThrowErrno(errnoValue, m_strFileName);
}

// Moves `count` bytes with `step` (read or write), repeating partial steps;
// returns how many moved before `step` reported the end (0).
template<typename Step>
UINT CFile::Transfer(UINT count, Step step)
{
    UINT done = 0;
    while (done < count) {
        const ssize_t moved = step(done);
        if (moved < 0 && errno == EINTR)
            continue;
        if (moved < 0)
            ThrowErrno(errno);
        if (moved == 0)
            break;
        done += static_cast<UINT>(moved);
    }
    return done;
}

UINT CFile::Read(void* buffer, UINT count)
{
    const int fd = Descriptor();
    if (count == 0)
        return 0;
    if (!buffer)
        AfxThrowInvalidArgException();
    auto* bytes = static_cast<char*>(buffer);
    return Transfer(count, [&](UINT done) { return ::read(fd, bytes + done, count - done); });
}

void CFile::Write(const void* buffer, UINT count)
{
    const int fd = Descriptor();
    if (count == 0)
        return;
    if (!buffer)
        AfxThrowInvalidArgException();
    const auto* bytes = static_cast<const char*>(buffer);
    // A write that moves nothing has no room left.
    if (Transfer(count, [&](UINT done) { return ::write(fd, bytes + done, count - done); }) < count)
        ThrowErrno(ENOSPC);
}

ULONGLONG CFile::Seek(LONGLONG offset, UINT from)
{
    const int fd = Descriptor();
    if (from > end)
        AfxThrowInvalidArgException();
    const int whence = from == begin ? SEEK_SET : from == current ? SEEK_CUR : SEEK_END;
    const off_t position = ::lseek(fd, static_cast<off_t>(offset), whence);
    if (position < 0) {
        // The one way a seek on a file fails: a place before its start.
        if (errno == EINVAL)
            AfxThrowFileException(CFileException::badSeek, 131 /* ERROR_NEGATIVE_SEEK */, m_strFileName);
        ThrowErrno(errno);
    }
    return static_cast<ULONGLONG>(position);
}

ULONGLONG CFile::GetPosition() const
{
    const off_t position = ::lseek(Descriptor(), 0, SEEK_CUR);
    if (position < 0)
        ThrowErrno(errno);
    return static_cast<ULONGLONG>(position);
}

ULONGLONG CFile::GetLength() const
{
    struct stat info {};
    if (::fstat(Descriptor(), &info) != 0)
        ThrowErrno(errno);
    return static_cast<ULONGLONG>(info.st_size);
}

void CFile::SetLength(ULONGLONG length)
{
    const int fd = Descriptor();
    if (length > static_cast<ULONGLONG>(INT64_MAX))
        AfxThrowInvalidArgException();
    if (::ftruncate(fd, static_cast<off_t>(length)) != 0)
        ThrowErrno(errno == EINVAL ? EBADF : errno);
}

void CFile::Flush()
{
    const int fd = Descriptor();
    if (::fsync(fd) != 0 && errno != EINVAL)
        ThrowErrno(errno);
}

CString CFile::GetFileName() const
{
    return ZELL::Framework::PathText::FileName(m_strFileName);
}

CString CFile::GetFileTitle() const
{
    return ZELL::Framework::PathText::FileTitle(m_strFileName);
}

void CFile::SetFilePath(LPCWSTR path)
{
    m_strFileName = path ? ZELL::Framework::PathText::FullPath(path) : CString();
}

BOOL CFile::GetStatus(CFileStatus& status) const
{
    struct stat info {};
    if (m_nFd < 0 || ::fstat(m_nFd, &info) != 0)
        return FALSE;
    return FillStatus(info, m_strFileName, status);
}

BOOL CFile::GetStatus(LPCWSTR fileName, CFileStatus& status)
{
    if (!fileName || !*fileName)
        return FALSE;
    const CString fullPath = ZELL::Framework::PathText::FullPath(fileName);
    struct stat info {};
    if (::stat(Text::WideToFileName(fullPath.str()).c_str(), &info) != 0) {
        SetLastError(Win32ErrorFromErrno(errno));
        return FALSE;
    }
    return FillStatus(info, fullPath, status);
}

void CFile::Rename(LPCWSTR oldName, LPCWSTR newName)
{
    if (!oldName || !newName || !*oldName || !*newName)
        AfxThrowInvalidArgException();
    const std::string from = Text::WideToFileName(oldName);
    const std::string to = Text::WideToFileName(newName);
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return;
    int error = errno;
    // A file system without the no-replace flag: check, then rename.
    if (error == EINVAL) {
        struct stat info {};
        if (::lstat(to.c_str(), &info) == 0)
            error = EEXIST;
        else if (::rename(from.c_str(), to.c_str()) == 0)
            return;
        else
            error = errno;
    }
    CFileException::ThrowErrno(error, oldName);
}

void CFile::Remove(LPCWSTR fileName)
{
    if (!fileName || !*fileName)
        AfxThrowInvalidArgException();
    if (::unlink(Text::WideToFileName(fileName).c_str()) != 0)
        CFileException::ThrowErrno(errno == EISDIR ? EACCES : errno, fileName);
}
