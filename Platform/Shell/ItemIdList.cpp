#include "Platform/Shell/ItemIdList.h"

#include "Platform/Base/FileSystemPath.h"

#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

// What marks a list as one of ours before its path is trusted.
constexpr BYTE kTag[4] = {'Z', 'P', 'T', 'H'};
constexpr std::size_t kHeader = sizeof(USHORT) + sizeof(kTag);

}  // namespace

LPVOID CoTaskMemAlloc(std::size_t size) { return std::malloc(size == 0 ? 1 : size); }

void CoTaskMemFree(LPVOID memory) { std::free(memory); }

void ILFree(LPITEMIDLIST list) { CoTaskMemFree(list); }

namespace ZELL::Shell {

PIDLIST_ABSOLUTE MakeItemIdList(const std::wstring& path)
{
    const std::string bytes = Text::WideToFileName(path);
    const std::size_t itemSize = kHeader + bytes.size();
    if (itemSize > std::numeric_limits<USHORT>::max())
        return nullptr;
    auto* memory = static_cast<BYTE*>(CoTaskMemAlloc(itemSize + sizeof(USHORT)));
    if (memory == nullptr)
        return nullptr;
    const auto size = static_cast<USHORT>(itemSize);
    const USHORT end = 0;
    std::memcpy(memory, &size, sizeof size);
    std::memcpy(memory + sizeof size, kTag, sizeof kTag);
    std::memcpy(memory + kHeader, bytes.data(), bytes.size());
    std::memcpy(memory + itemSize, &end, sizeof end);
    return reinterpret_cast<PIDLIST_ABSOLUTE>(memory);
}

std::optional<std::wstring> PathOfItemIdList(PCIDLIST_ABSOLUTE list)
{
    if (list == nullptr)
        return std::nullopt;
    const auto* memory = reinterpret_cast<const BYTE*>(list);
    USHORT size = 0;
    std::memcpy(&size, memory, sizeof size);
    if (size < kHeader || std::memcmp(memory + sizeof size, kTag, sizeof kTag) != 0)
        return std::nullopt;
    USHORT next = 0;
    std::memcpy(&next, memory + size, sizeof next);
    if (next != 0)
        return std::nullopt;
    return Text::FileNameToWide(std::string(reinterpret_cast<const char*>(memory + kHeader), size - kHeader));
}

}  // namespace ZELL::Shell
