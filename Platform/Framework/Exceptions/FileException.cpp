#include "Platform/Framework/Exceptions/FileException.h"

#include "Platform/Base/LastError.h"
#include "Platform/Base/WinError.h"

#include <array>
#include <cerrno>

IMPLEMENT_DYNAMIC(CFileException, CException)

namespace {

// System codes the base layer has no name for.
constexpr DWORD kErrorHandleDiskFull = 39;
constexpr DWORD kErrorNegativeSeek = 131;
constexpr DWORD kErrorSeekOnDevice = 132;

// %1 stands for the file name.
constexpr std::array<LPCWSTR, 15> kCauseTexts = {
    L"No error occurred.",
    L"An unknown error occurred while accessing %1.",
    L"%1 was not found.",
    L"%1 contains an invalid path.",
    L"%1 could not be opened because there are too many open files.",
    L"Access to %1 was denied.",
    L"An incorrect file handle was associated with %1.",
    L"%1 could not be removed because it is the current directory.",
    L"%1 could not be created because the directory is full.",
    L"Seek failed on %1",
    L"A hardware I/O error was reported while accessing %1.",
    L"A sharing violation occurred while accessing %1.",
    L"A locking violation occurred while accessing %1.",
    L"Disk full while accessing %1.",
    L"An attempt was made to access %1 past its end.",
};

}  // namespace

CFileException::CFileException(int cause, LONG osError, LPCWSTR fileName)
    : m_cause(cause), m_lOsError(osError), m_strFileName(fileName ? fileName : L"")
{
}

int CFileException::OsErrorToException(LONG osError)
{
    switch (static_cast<DWORD>(osError)) {
    case ERROR_SUCCESS: return none;
    case ERROR_FILE_NOT_FOUND: return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE: return badPath;
    case ERROR_TOO_MANY_OPEN_FILES: return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return accessDenied;
    case ERROR_INVALID_HANDLE: return invalidFile;
    case kErrorNegativeSeek:
    case kErrorSeekOnDevice: return badSeek;
    case ERROR_WRITE_FAULT:
    case ERROR_READ_FAULT:
    case ERROR_GEN_FAILURE: return hardIO;
    case ERROR_SHARING_VIOLATION: return sharingViolation;
    case ERROR_LOCK_VIOLATION: return lockViolation;
    case ERROR_DISK_FULL:
    case kErrorHandleDiskFull: return diskFull;
    case ERROR_HANDLE_EOF: return endOfFile;
    default: return genericException;
    }
}

int CFileException::ErrnoToException(int errnoValue)
{
    switch (errnoValue) {
    case 0: return none;
    case ENOENT: return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP: return badPath;
    case EMFILE:
    case ENFILE: return tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case EEXIST: return accessDenied;
    case EBADF: return invalidFile;
    case ESPIPE: return badSeek;
    case EIO: return hardIO;
    case ETXTBSY:
    case EBUSY: return sharingViolation;
    case ENOLCK:
    case EDEADLK: return lockViolation;
    case ENOSPC:
    case EDQUOT: return diskFull;
    default: return genericException;
    }
}

void CFileException::ThrowOsError(LONG osError, LPCWSTR fileName)
{
    throw new CFileException(OsErrorToException(osError), osError, fileName);
}

void CFileException::ThrowErrno(int errnoValue, LPCWSTR fileName)
{
    throw new CFileException(ErrnoToException(errnoValue), static_cast<LONG>(Win32ErrorFromErrno(errnoValue)),
                             fileName);
}

BOOL CFileException::GetErrorMessage(LPWSTR buffer, UINT maxLength, UINT* helpContext) const
{
    const std::size_t index = m_cause >= 0 && static_cast<std::size_t>(m_cause) < kCauseTexts.size()
                                  ? static_cast<std::size_t>(m_cause)
                                  : static_cast<std::size_t>(genericException);
    CString text(kCauseTexts[index]);
    text.Replace(L"%1", m_strFileName.IsEmpty() ? L"an unnamed file" : m_strFileName.GetString());
    return CopyMessage(text, buffer, maxLength, helpContext);
}

void AfxThrowFileException(int cause, LONG osError, LPCWSTR fileName)
{
    throw new CFileException(cause, osError, fileName);
}
