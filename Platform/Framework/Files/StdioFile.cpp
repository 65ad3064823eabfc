#include "Platform/Framework/Files/StdioFile.h"

#include "Platform/Base/TextConversion.h"
#include "Platform/Framework/Exceptions/InvalidArgException.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

IMPLEMENT_DYNAMIC(CStdioFile, CFile)

namespace {

constexpr std::size_t kChunk = 4096;

}  // namespace

CStdioFile::CStdioFile(LPCWSTR fileName, UINT openFlags)
{
    CFileException error;
    if (!Open(fileName, openFlags, &error))
        AfxThrowFileException(error.m_cause, error.m_lOsError, error.m_strFileName);
}

BOOL CStdioFile::Open(LPCWSTR fileName, UINT openFlags, CFileException* error)
{
    m_strReadAhead.clear();
    m_nReadOffset = 0;
    m_bBinary = (openFlags & typeBinary) != 0;
    return CFile::Open(fileName, openFlags, error);
}

void CStdioFile::Close()
{
    m_strReadAhead.clear();
    m_nReadOffset = 0;
    CFile::Close();
}

void CStdioFile::Abort()
{
    m_strReadAhead.clear();
    m_nReadOffset = 0;
    CFile::Abort();
}

bool CStdioFile::ReadLineBytes(std::string& line)
{
    line.clear();
    for (;;) {
        if (Unread() == 0) {
            m_strReadAhead.resize(kChunk);
            m_nReadOffset = 0;
            const UINT got = CFile::Read(m_strReadAhead.data(), static_cast<UINT>(kChunk));
            m_strReadAhead.resize(got);
            if (got == 0)
                return !line.empty();
        }
        const char* start = m_strReadAhead.data() + m_nReadOffset;
        const auto* newline = static_cast<const char*>(std::memchr(start, '\n', Unread()));
        const std::size_t take = newline ? static_cast<std::size_t>(newline - start) + 1 : Unread();
        line.append(start, take);
        m_nReadOffset += take;
        if (newline)
            return true;
    }
}

BOOL CStdioFile::ReadString(CString& line)
{
    std::string bytes;
    if (!ReadLineBytes(bytes)) {
        line.Empty();
        return FALSE;
    }
    if (!bytes.empty() && bytes.back() == '\n')
        bytes.pop_back();
    if (!m_bBinary && !bytes.empty() && bytes.back() == '\r')
        bytes.pop_back();
    line = CString(Text::Utf8ToWide(bytes));
    return TRUE;
}

LPWSTR CStdioFile::ReadString(LPWSTR buffer, UINT maxLength)
{
    // Room for one character at least, so that a loop over the lines moves on.
    if (!buffer || maxLength < 2)
        AfxThrowInvalidArgException();
    const ULONGLONG start = GetPosition();
    std::string bytes;
    if (!ReadLineBytes(bytes)) {
        buffer[0] = L'\0';
        return nullptr;
    }
    const bool complete = bytes.back() == '\n';
    if (complete)
        bytes.pop_back();
    if (complete && !m_bBinary && !bytes.empty() && bytes.back() == '\r')
        bytes.pop_back();
    std::wstring text = Text::Utf8ToWide(bytes);
    if (complete)
        text += L'\n';
    const std::size_t fits = maxLength - 1;
    if (text.size() > fits) {
        // What does not fit is read again by the next call.
        text.resize(fits);
        Seek(static_cast<LONGLONG>(start + Text::WideToUtf8(text).size()), begin);
    }
    std::wmemcpy(buffer, text.data(), text.size());
    buffer[text.size()] = L'\0';
    return buffer;
}

void CStdioFile::WriteString(LPCWSTR text)
{
    if (!text)
        AfxThrowInvalidArgException();
    const std::string bytes = Text::WideToUtf8(text);
    Write(bytes.data(), static_cast<UINT>(bytes.size()));
}

UINT CStdioFile::Read(void* buffer, UINT count)
{
    if (count == 0)
        return 0;
    if (!buffer)
        AfxThrowInvalidArgException();
    const std::size_t fromAhead = std::min<std::size_t>(Unread(), count);
    std::memcpy(buffer, m_strReadAhead.data() + m_nReadOffset, fromAhead);
    m_nReadOffset += fromAhead;
    const UINT rest = count - static_cast<UINT>(fromAhead);
    return static_cast<UINT>(fromAhead) + (rest ? CFile::Read(static_cast<char*>(buffer) + fromAhead, rest) : 0);
}

void CStdioFile::Write(const void* buffer, UINT count)
{
    DropReadAhead();
    CFile::Write(buffer, count);
}

ULONGLONG CStdioFile::Seek(LONGLONG offset, UINT from)
{
    DropReadAhead();
    return CFile::Seek(offset, from);
}

ULONGLONG CStdioFile::GetPosition() const
{
    return CFile::GetPosition() - Unread();
}

void CStdioFile::SetLength(ULONGLONG length)
{
    DropReadAhead();
    CFile::SetLength(length);
}

void CStdioFile::DropReadAhead()
{
    const std::size_t unread = Unread();
    m_strReadAhead.clear();
    m_nReadOffset = 0;
    if (unread)
        CFile::Seek(-static_cast<LONGLONG>(unread), current);
}
