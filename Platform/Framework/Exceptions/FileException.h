#pragma once
// A failed file operation: its cause, the system's error code and the path.

#include "Platform/Framework/Exceptions/Exception.h"

class CFileException : public CException {
    DECLARE_DYNAMIC(CFileException)
public:
    enum {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };

    explicit CFileException(int cause = none, LONG osError = -1, LPCWSTR fileName = nullptr);

    // The cause for a system error code (ERROR_FILE_NOT_FOUND ...) or for a
    // run-time library errno value (ENOENT ...).
    static int OsErrorToException(LONG osError);
    static int ErrnoToException(int errnoValue);
    // Throw a new exception; its m_lOsError is the system error code (an
    // errno value is converted to one first).
    [[noreturn]] static void ThrowOsError(LONG osError, LPCWSTR fileName = nullptr);
    [[noreturn]] static void ThrowErrno(int errnoValue, LPCWSTR fileName = nullptr);

    // The cause's text with the file name put in ("an unnamed file" without one).
    BOOL GetErrorMessage(LPWSTR buffer, UINT maxLength, UINT* helpContext = nullptr) const override;

    int m_cause = none;
    LONG m_lOsError = -1;
    CString m_strFileName;
};

[[noreturn]] void AfxThrowFileException(int cause, LONG osError = -1, LPCWSTR fileName = nullptr);
