#include "Platform/Base/GlobalMemory.h"

#include "Platform/Base/HandleTable.h"
#include "Platform/Base/LastError.h"
#include "Platform/Base/WinError.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <new>

namespace {

// Larger requests are refused rather than tried: nothing here needs them.
constexpr SIZE_T kMaxBlock = SIZE_T{1} << 30;
constexpr UINT kKnownFlags = GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_SHARE;

struct GlobalBlock {
    std::unique_ptr<std::byte[]> bytes;
    SIZE_T size = 0;
    std::atomic<int> locks = 0;
};

// Zeroed bytes, or null when there are none to have (also for 0).
std::unique_ptr<std::byte[]> ZeroedBytes(SIZE_T count)
{
    if (count == 0)
        return nullptr;
    return std::unique_ptr<std::byte[]>(new (std::nothrow) std::byte[count]());
}

Platform::HandleTable<GlobalBlock, HGLOBAL>& Blocks()
{
    static auto* blocks = new Platform::HandleTable<GlobalBlock, HGLOBAL>(Platform::HandleKind::Other1);
    return *blocks;
}

std::shared_ptr<GlobalBlock> Find(HGLOBAL memory)
{
    auto block = Blocks().Lookup(memory);
    if (!block)
        SetLastError(ERROR_INVALID_HANDLE);
    return block;
}

}

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes)
{
    if ((flags & ~kKnownFlags) != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (bytes > kMaxBlock) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    auto block = std::make_shared<GlobalBlock>();
    block->size = bytes;
    block->bytes = ZeroedBytes(bytes);
    if (bytes > 0 && !block->bytes) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    HGLOBAL handle = Blocks().Insert(std::move(block));
    if (handle == nullptr)
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return handle;
}

HGLOBAL GlobalReAlloc(HGLOBAL memory, SIZE_T bytes, UINT flags)
{
    auto block = Find(memory);
    if (!block)
        return nullptr;
    if ((flags & GMEM_MODIFY) != 0)
        return memory;
    if ((flags & ~kKnownFlags) != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (bytes > kMaxBlock || (bytes > block->size && block->locks > 0 && (flags & GMEM_MOVEABLE) == 0)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    if (bytes <= block->size && block->locks > 0) {
        block->size = bytes;  // shrinks in place: the locked memory stays where it is
        return memory;
    }
    auto fresh = ZeroedBytes(bytes);
    if (bytes > 0 && !fresh) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    if (fresh && block->bytes)
        std::copy_n(block->bytes.get(), std::min(bytes, block->size), fresh.get());
    block->bytes = std::move(fresh);
    block->size = bytes;
    return memory;
}

HGLOBAL GlobalFree(HGLOBAL memory)
{
    if (!Blocks().Remove(memory)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return memory;
    }
    return nullptr;
}

LPVOID GlobalLock(HGLOBAL memory)
{
    auto block = Find(memory);
    if (!block)
        return nullptr;
    if (!block->bytes)
        return nullptr;
    ++block->locks;
    return block->bytes.get();
}

BOOL GlobalUnlock(HGLOBAL memory)
{
    auto block = Find(memory);
    if (!block)
        return FALSE;
    int locks = block->locks.load();
    do {
        if (locks == 0) {
            SetLastError(ERROR_NOT_LOCKED);
            return FALSE;
        }
    } while (!block->locks.compare_exchange_weak(locks, locks - 1));
    if (locks - 1 > 0)
        return TRUE;
    SetLastError(NO_ERROR);
    return FALSE;
}

SIZE_T GlobalSize(HGLOBAL memory)
{
    auto block = Find(memory);
    return block ? block->size : 0;
}
