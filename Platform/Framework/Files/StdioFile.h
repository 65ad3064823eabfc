#pragma once
// A text file read and written line by line. Text on disk is UTF-8. In text
// mode (the default) a line ends at "\n" or "\r\n" when read, and lines are
// written as given, so files keep POSIX line ends; typeBinary keeps a "\r"
// before the "\n" in what is read.

#include "Platform/Framework/Files/File.h"

#include <string>

class CStdioFile : public CFile {
    DECLARE_DYNAMIC(CStdioFile)
public:
    CStdioFile() = default;
    // Raises CFileException when the file cannot be opened.
    CStdioFile(LPCWSTR fileName, UINT openFlags);

    BOOL Open(LPCWSTR fileName, UINT openFlags, CFileException* error = nullptr) override;
    void Close() override;
    void Abort() override;

    // The next line without its line end; FALSE at the end of the file.
    BOOL ReadString(CString& line);
    // Up to maxLength - 1 characters of the next line, with its "\n" when it
    // fits; null at the end of the file. maxLength is 2 or more.
    LPWSTR ReadString(LPWSTR buffer, UINT maxLength);
    void WriteString(LPCWSTR text);

    UINT Read(void* buffer, UINT count) override;
    void Write(const void* buffer, UINT count) override;
    ULONGLONG Seek(LONGLONG offset, UINT from) override;
    ULONGLONG GetPosition() const override;
    void SetLength(ULONGLONG length) override;

private:
    // Bytes up to and including the next "\n" (or to the end); false at the end.
    bool ReadLineBytes(std::string& line);
    // The read-ahead goes back to the file, so that the descriptor's
    // position is the caller's position again.
    void DropReadAhead();
    std::size_t Unread() const { return m_strReadAhead.size() - m_nReadOffset; }

    std::string m_strReadAhead;
    std::size_t m_nReadOffset = 0;
    bool m_bBinary = false;
};
