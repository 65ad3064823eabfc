#pragma once
// A binary file on a POSIX descriptor with the framework's interface: failures
// raise CFileException carrying the cause, the system error code and the
// path. Paths are POSIX paths, kept as given (never case-folded); the
// framework's sharing flags are accepted but not enforced, as POSIX has no
// mandatory sharing.

#include "Platform/Base/CString.h"
#include "Platform/Framework/Exceptions/FileException.h"
#include "Platform/Framework/Files/FileStatus.h"
#include "Platform/Framework/Core/Object.h"

class CFile : public CObject {
    DECLARE_DYNAMIC(CFile)
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000,
    };
    enum SeekPosition : UINT { begin = 0x0, current = 0x1, end = 0x2 };

    CFile() = default;
    // Raises CFileException when the file cannot be opened.
    CFile(LPCWSTR fileName, UINT openFlags);
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;
    // Closes an open file; errors of that close are dropped, as a destructor
    // cannot report them (call Close to see them).
    ~CFile() override;

    // FALSE with the reason in `error` (when given) and in the last error.
    virtual BOOL Open(LPCWSTR fileName, UINT openFlags, CFileException* error = nullptr);
    virtual void Close();
    // Closes without raising, whatever state the file is in.
    virtual void Abort();

    // The number of bytes read: fewer than asked only at the end of the file.
    virtual UINT Read(void* buffer, UINT count);
    virtual void Write(const void* buffer, UINT count);
    virtual ULONGLONG Seek(LONGLONG offset, UINT from);
    void SeekToBegin() { Seek(0, begin); }
    ULONGLONG SeekToEnd() { return Seek(0, end); }
    virtual ULONGLONG GetPosition() const;
    virtual ULONGLONG GetLength() const;
    virtual void SetLength(ULONGLONG length);
    virtual void Flush();

    // The full path, the last part of it, and that part without its extension.
    virtual CString GetFilePath() const { return m_strFileName; }
    virtual CString GetFileName() const;
    virtual CString GetFileTitle() const;
    virtual void SetFilePath(LPCWSTR path);

    // FALSE when the file is missing or its full path does not fit m_szFullName.
    BOOL GetStatus(CFileStatus& status) const;
    static BOOL GetStatus(LPCWSTR fileName, CFileStatus& status);
    // Rename never replaces an existing file.
    static void Rename(LPCWSTR oldName, LPCWSTR newName);
    static void Remove(LPCWSTR fileName);

protected:
    BOOL IsOpen() const { return m_nFd >= 0; }
    // Raises invalidFile when no file is open.
    int Descriptor() const;
    [[noreturn]] void ThrowErrno(int errnoValue) const;

    CString m_strFileName;

private:
    template<typename Step>
    UINT Transfer(UINT count, Step step);

    int m_nFd = -1;
};
