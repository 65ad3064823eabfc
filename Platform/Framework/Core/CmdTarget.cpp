#include "Platform/Framework/Core/CmdTarget.h"

#include <unordered_map>

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr, nullptr}};
    static const AFX_MSGMAP map{nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

namespace {

bool Matches(const AFX_MSGMAP_ENTRY& entry, UINT message)
{
    if (entry.pRegistered)
        return message >= ZELL::Framework::MsgMap::kRegisteredEntry && *entry.pRegistered == message;
    return entry.nMessage == message;
}

const AFX_MSGMAP_ENTRY* SearchMaps(const AFX_MSGMAP* map, UINT message)
{
    for (; map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->pfn; ++entry) {
            if (Matches(*entry, message))
                return entry;
        }
    }
    return nullptr;
}

struct MapAndMessage {
    const AFX_MSGMAP* map = nullptr;
    UINT message = 0;
    bool operator==(const MapAndMessage&) const = default;
};

struct MapAndMessageHash {
    std::size_t operator()(const MapAndMessage& key) const noexcept
    {
        return std::hash<const void*>()(key.map) ^ (static_cast<std::size_t>(key.message) * 0x9E3779B97F4A7C15ull);
    }
};

}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT message) const
{
    // Maps are constant once made, so each thread keeps its own answers
    // without a lock.
    thread_local std::unordered_map<MapAndMessage, const AFX_MSGMAP_ENTRY*, MapAndMessageHash> cache;
    const AFX_MSGMAP* map = GetMessageMap();
    const auto [place, added] = cache.try_emplace(MapAndMessage{map, message}, nullptr);
    if (added)
        place->second = SearchMaps(map, message);
    return place->second;
}

BOOL CCmdTarget::DispatchCommand(UINT message, UINT id, UINT code, void* extra, LRESULT* result)
{
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->pfn; ++entry) {
            if (entry->nMessage != message || entry->nCode != code)
                continue;
            const bool reflected = message >= WM_REFLECT_BASE;
            if (!reflected && (id < entry->nID || id > entry->nLastID))
                continue;
            ZellMsgCall call{message, 0, 0, id, extra, 0};
            const bool handled = entry->pfn(this, call);
            if (result)
                *result = call.result;
            if (handled)
                return TRUE;
        }
    }
    return FALSE;
}

BOOL CCmdTarget::OnCmdMsg(UINT id, int code, void* extra, void*)
{
    const UINT message = extra && code != static_cast<int>(CN_UPDATE_COMMAND_UI) && code != static_cast<int>(CN_COMMAND)
                             ? WM_NOTIFY
                             : WM_COMMAND;
    return DispatchCommand(message, id, static_cast<UINT>(code), extra, nullptr);
}

BOOL CCmdTarget::HasCommandHandler(UINT id) const
{
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->pfn; ++entry) {
            if (entry->nMessage == WM_COMMAND && entry->nCode == CN_COMMAND && id >= entry->nID && id <= entry->nLastID)
                return TRUE;
        }
    }
    return FALSE;
}
