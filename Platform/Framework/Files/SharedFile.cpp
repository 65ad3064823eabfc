#include "Platform/Framework/Files/SharedFile.h"

#include "Platform/Framework/Exceptions/MemoryException.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>

IMPLEMENT_DYNAMIC(CSharedFile, CFile)

namespace {

constexpr LONG kNegativeSeek = 131;  // ERROR_NEGATIVE_SEEK

// The block's bytes for as long as the object lives.
class CLockedBlock {
public:
    explicit CLockedBlock(HGLOBAL block) : m_block(block), m_bytes(static_cast<std::byte*>(GlobalLock(block))) {}
    ~CLockedBlock()
    {
        if (m_bytes != nullptr)
            GlobalUnlock(m_block);
    }
    CLockedBlock(const CLockedBlock&) = delete;
    CLockedBlock& operator=(const CLockedBlock&) = delete;
    std::byte* Bytes() const { return m_bytes; }

private:
    HGLOBAL m_block = nullptr;
    std::byte* m_bytes = nullptr;
};

}

CSharedFile::CSharedFile(UINT allocFlags, UINT growBytes)
    : m_allocFlags(allocFlags | GMEM_MOVEABLE), m_growBytes(std::max(growBytes, 1u))
{
}

CSharedFile::~CSharedFile()
{
    Abort();
}

HGLOBAL CSharedFile::Detach()
{
    HGLOBAL block = m_block;
    if (block != nullptr && GlobalSize(block) != m_length && GlobalReAlloc(block, m_length, GMEM_MOVEABLE) == nullptr) {
        GlobalFree(block);
        block = nullptr;
    }
    m_block = nullptr;
    m_length = 0;
    m_position = 0;
    return block;
}

UINT CSharedFile::Read(void* buffer, UINT count)
{
    if (m_position >= m_length || count == 0)
        return 0;
    const UINT available = static_cast<UINT>(std::min<ULONGLONG>(count, m_length - m_position));
    CLockedBlock locked(m_block);
    if (locked.Bytes() == nullptr)
        return 0;
    std::memcpy(buffer, locked.Bytes() + m_position, available);
    m_position += available;
    return available;
}

void CSharedFile::Write(const void* buffer, UINT count)
{
    if (count == 0)
        return;
    Reserve(m_position + count);
    CLockedBlock locked(m_block);
    if (locked.Bytes() == nullptr)
        AfxThrowMemoryException();
    if (m_position > m_length)
        std::memset(locked.Bytes() + m_length, 0, m_position - m_length);  // the gap a seek left
    std::memcpy(locked.Bytes() + m_position, buffer, count);
    m_position += count;
    m_length = std::max(m_length, m_position);
}

ULONGLONG CSharedFile::Seek(LONGLONG offset, UINT from)
{
    LONGLONG base = 0;
    if (from == current)
        base = static_cast<LONGLONG>(m_position);
    else if (from == end)
        base = static_cast<LONGLONG>(m_length);
    if ((offset < 0 && base + offset < 0) || (offset > 0 && base > LLONG_MAX - offset))
        AfxThrowFileException(CFileException::badSeek, kNegativeSeek);
    m_position = static_cast<ULONGLONG>(base + offset);
    return m_position;
}

void CSharedFile::SetLength(ULONGLONG length)
{
    if (length > m_length) {
        Reserve(length);
        // Bytes once written and cut away again are zero when they come back.
        CLockedBlock locked(m_block);
        if (locked.Bytes() != nullptr)
            std::memset(locked.Bytes() + m_length, 0, length - m_length);
    }
    m_length = length;
    m_position = std::min(m_position, length);
}

void CSharedFile::Close()
{
    Abort();
}

void CSharedFile::Abort()
{
    if (m_block != nullptr)
        GlobalFree(m_block);
    m_block = nullptr;
    m_length = 0;
    m_position = 0;
}

// Room for `bytes` bytes, grown in steps; the new room is zero.
void CSharedFile::Reserve(ULONGLONG bytes)
{
    const ULONGLONG capacity = m_block != nullptr ? GlobalSize(m_block) : 0;
    if (bytes <= capacity)
        return;
    const ULONGLONG wanted = (bytes / m_growBytes + 1) * m_growBytes;
    if (wanted > SIZE_MAX)
        AfxThrowMemoryException();
    HGLOBAL grown = m_block != nullptr ? GlobalReAlloc(m_block, static_cast<SIZE_T>(wanted), GMEM_MOVEABLE)
                                       : GlobalAlloc(m_allocFlags & (GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_SHARE),
                                                     static_cast<SIZE_T>(wanted));
    if (grown == nullptr)
        AfxThrowMemoryException();
    m_block = grown;
}
