#pragma once
// Item-id lists as the folder browser hands them out: memory from the task
// allocator that names a file-system folder. Ours hold one item (a tag and
// the folder's UTF-8 path) and the closing empty item; callers treat them as
// opaque, pass them to SHGetPathFromIDList and free them with CoTaskMemFree
// or ILFree.

#include "Platform/Base/Types.h"

#include <optional>
#include <string>

#pragma pack(push, 1)
struct SHITEMID {
    USHORT cb;  // the item's size in bytes with this field; 0 ends the list
    BYTE abID[1];
};
#pragma pack(pop)
struct ITEMIDLIST {
    SHITEMID mkid;
};
using LPITEMIDLIST = ITEMIDLIST*;
using LPCITEMIDLIST = const ITEMIDLIST*;
using PIDLIST_ABSOLUTE = ITEMIDLIST*;
using PCIDLIST_ABSOLUTE = const ITEMIDLIST*;

LPVOID CoTaskMemAlloc(std::size_t size);
void CoTaskMemFree(LPVOID memory);
void ILFree(LPITEMIDLIST list);

namespace ZELL::Shell {

// A new list for `path` (null when the path is too long for one item).
PIDLIST_ABSOLUTE MakeItemIdList(const std::wstring& path);
// The path of one of our lists; nothing for a null list or one we did not make.
std::optional<std::wstring> PathOfItemIdList(PCIDLIST_ABSOLUTE list);

}  // namespace ZELL::Shell
