#pragma once
// A file in a global-memory block that grows as it is written: the way text
// is put together for the clipboard and for drag data, whose block it then
// hands over (Detach). Running out of memory raises CMemoryException.

#include "Platform/Base/GlobalMemory.h"
#include "Platform/Framework/Files/File.h"

class CSharedFile : public CFile {
    DECLARE_DYNAMIC(CSharedFile)
public:
    // The block is allocated with `allocFlags` and grows `growBytes` at a time.
    explicit CSharedFile(UINT allocFlags = GMEM_DDESHARE | GMEM_MOVEABLE, UINT growBytes = 4096);
    ~CSharedFile() override;  // frees a block not handed over

    // The block, cut to the length written (null when nothing was); the
    // caller owns it and the file is empty again.
    HGLOBAL Detach();

    UINT Read(void* buffer, UINT count) override;
    void Write(const void* buffer, UINT count) override;
    // Beyond the end is allowed (a write there fills the gap with zeros);
    // before the start raises CFileException::badSeek.
    ULONGLONG Seek(LONGLONG offset, UINT from) override;
    ULONGLONG GetPosition() const override { return m_nPosition; }
    ULONGLONG GetLength() const override { return m_nLength; }
    void SetLength(ULONGLONG length) override;
    void Flush() override {}
    void Close() override;
    void Abort() override;

private:
    void Reserve(ULONGLONG bytes);

    UINT m_nAllocFlags = GMEM_DDESHARE | GMEM_MOVEABLE;
    UINT m_nGrowBytes = 4096;
    HGLOBAL m_hBlock = nullptr;
    ULONGLONG m_nLength = 0;
    ULONGLONG m_nPosition = 0;
};
