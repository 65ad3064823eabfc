#include "Platform/Ui/Accelerator.h"

#include "Platform/Base/HandleTable.h"
#include "Platform/Base/LastError.h"
#include "Platform/Ui/AcceleratorEntries.h"
#include "Platform/Ui/ResourceRegistry.h"
#include "Platform/Ui/ResourceTypes.h"
#include "Platform/Ui/ResourceWriter.h"

#include <algorithm>

namespace {

constexpr std::size_t kEntrySize = 8;
constexpr BYTE kLastEntry = 0x80;
constexpr int kMaxEntries = 32767;

struct AcceleratorTable {
    std::vector<ACCEL> entries;
};

Platform::HandleTable<AcceleratorTable, HACCEL>& Tables()
{
    static auto* table = new Platform::HandleTable<AcceleratorTable, HACCEL>(Platform::HandleKind::Other2);
    return *table;
}

HACCEL Insert(std::vector<ACCEL> entries)
{
    auto table = std::make_shared<AcceleratorTable>();
    table->entries = std::move(entries);
    HACCEL handle = Tables().Insert(std::move(table));
    if (!handle)
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return handle;
}

// The entries of the resource's array up to the one marked last.
std::vector<ACCEL> ParseEntries(const BYTE* data, std::size_t size)
{
    std::vector<ACCEL> entries;
    for (std::size_t at = 0; at + kEntrySize <= size; at += kEntrySize) {
        const WORD flags = Ui::ReadWordAt(data + at);
        entries.push_back(ACCEL{static_cast<BYTE>(flags & 0x7F), Ui::ReadWordAt(data + at + 2), Ui::ReadWordAt(data + at + 4)});
        if (flags & kLastEntry)
            return entries;
    }
    return {};
}

}  // namespace

HACCEL CreateAcceleratorTableW(LPACCEL entries, int count)
{
    if (!entries || count <= 0 || count > kMaxEntries) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return Insert(std::vector<ACCEL>(entries, entries + count));
}

int CopyAcceleratorTableW(HACCEL handle, LPACCEL entries, int count)
{
    const auto table = Tables().Lookup(handle);
    if (!table) {
        SetLastError(ERROR_INVALID_ACCEL_HANDLE);
        return 0;
    }
    if (!entries)
        return static_cast<int>(table->entries.size());
    const auto copied = std::min<std::size_t>(table->entries.size(), static_cast<std::size_t>(std::max(count, 0)));
    std::copy_n(table->entries.begin(), copied, entries);
    return static_cast<int>(copied);
}

BOOL DestroyAcceleratorTable(HACCEL handle)
{
    if (!Tables().Remove(handle)) {
        SetLastError(ERROR_INVALID_ACCEL_HANDLE);
        return FALSE;
    }
    return TRUE;
}

HACCEL LoadAcceleratorsW(HINSTANCE instance, LPCWSTR name)
{
    const auto resource = Ui::CResourceRegistry::Get().Find(instance, Ui::CResourceKey(Ui::ResourceType::kAccelerator),
                                                            Ui::CResourceKey::From(name), std::nullopt);
    if (!resource)
        return nullptr;
    std::vector<ACCEL> entries = ParseEntries(resource->data, resource->size);
    if (entries.empty()) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    return Insert(std::move(entries));
}

namespace Ui {

bool ReadAcceleratorEntries(HACCEL handle, std::vector<ACCEL>& entries)
{
    const auto table = Tables().Lookup(handle);
    if (!table) {
        SetLastError(ERROR_INVALID_ACCEL_HANDLE);
        return false;
    }
    entries = table->entries;
    return true;
}

}
