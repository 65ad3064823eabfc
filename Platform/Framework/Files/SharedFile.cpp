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
    explicit CLockedBlock(HGLOBAL block) : m_hBlock(block), m_pBytes(static_cast<std::byte*>(GlobalLock(block))) {}
    ~CLockedBlock()
    {
        if (m_pBytes != nullptr)
            GlobalUnlock(m_hBlock);
    }
    CLockedBlock(const CLockedBlock&) = delete;
    CLockedBlock& operator=(const CLockedBlock&) = delete;
    std::byte* Bytes() const { return m_pBytes; }

private:
    HGLOBAL m_hBlock = nullptr;
    std::byte* m_pBytes = nullptr;
};

}

CSharedFile::CSharedFile(UINT allocFlags, UINT growBytes)
    : m_nAllocFlags(allocFlags | GMEM_MOVEABLE), m_nGrowBytes(std::max(growBytes, 1u))
{
}

CSharedFile::~CSharedFile()
{
    Abort();
}

HGLOBAL CSharedFile::Detach()
{
    HGLOBAL block = m_hBlock;
    if (block != nullptr && GlobalSize(block) != m_nLength && GlobalReAlloc(block, m_nLength, GMEM_MOVEABLE) == nullptr) {
        GlobalFree(block);
        block = nullptr;
    }
    m_hBlock = nullptr;
    m_nLength = 0;
    m_nPosition = 0;
    return block;
}

UINT CSharedFile::Read(void* buffer, UINT count)
{
    if (m_nPosition >= m_nLength || count == 0)
        return 0;
    const UINT available = static_cast<UINT>(std::min<ULONGLONG>(count, m_nLength - m_nPosition));
    CLockedBlock locked(m_hBlock);
    if (locked.Bytes() == nullptr)
        return 0;
    std::memcpy(buffer, locked.Bytes() + m_nPosition, available);
    m_nPosition += available;
    return available;
}

void CSharedFile::Write(const void* buffer, UINT count)
{
    if (count == 0)
        return;
    Reserve(m_nPosition + count);
    CLockedBlock locked(m_hBlock);
    if (locked.Bytes() == nullptr)
        AfxThrowMemoryException();
    if (m_nPosition > m_nLength)
        std::memset(locked.Bytes() + m_nLength, 0, m_nPosition - m_nLength);  // the gap a seek left
    std::memcpy(locked.Bytes() + m_nPosition, buffer, count);
    m_nPosition += count;
    m_nLength = std::max(m_nLength, m_nPosition);
}

ULONGLONG CSharedFile::Seek(LONGLONG offset, UINT from)
{
    LONGLONG base = 0;
    if (from == current)
        base = static_cast<LONGLONG>(m_nPosition);
    else if (from == end)
        base = static_cast<LONGLONG>(m_nLength);
    if ((offset < 0 && base + offset < 0) || (offset > 0 && base > LLONG_MAX - offset))
        AfxThrowFileException(CFileException::badSeek, kNegativeSeek);
    m_nPosition = static_cast<ULONGLONG>(base + offset);
    return m_nPosition;
}

void CSharedFile::SetLength(ULONGLONG length)
{
    if (length > m_nLength) {
        Reserve(length);
        // Bytes once written and cut away again are zero when they come back.
        CLockedBlock locked(m_hBlock);
        if (locked.Bytes() != nullptr)
            std::memset(locked.Bytes() + m_nLength, 0, length - m_nLength);
    }
    m_nLength = length;
    m_nPosition = std::min(m_nPosition, length);
}

void CSharedFile::Close()
{
    Abort();
}

void CSharedFile::Abort()
{
    if (m_hBlock != nullptr)
        GlobalFree(m_hBlock);
    m_hBlock = nullptr;
    m_nLength = 0;
    m_nPosition = 0;
}

// Room for `bytes` bytes, grown in steps; the new room is zero.
void CSharedFile::Reserve(ULONGLONG bytes)
{
    const ULONGLONG capacity = m_hBlock != nullptr ? GlobalSize(m_hBlock) : 0;
    if (bytes <= capacity)
        return;
    const ULONGLONG wanted = (bytes / m_nGrowBytes + 1) * m_nGrowBytes;
    if (wanted > SIZE_MAX)
        AfxThrowMemoryException();
    HGLOBAL grown = m_hBlock != nullptr ? GlobalReAlloc(m_hBlock, static_cast<SIZE_T>(wanted), GMEM_MOVEABLE)
                                       : GlobalAlloc(m_nAllocFlags & (GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_SHARE),
                                                     static_cast<SIZE_T>(wanted));
    if (grown == nullptr)
        AfxThrowMemoryException();
    m_hBlock = grown;
}
