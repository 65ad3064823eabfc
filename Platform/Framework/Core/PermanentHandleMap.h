#pragma once
// The wrappers that own their handles, one per handle, for the whole process:
// FromHandle finds them before it makes a temporary one, and a second
// wrapper cannot take a handle that one already owns.

#include <mutex>
#include <unordered_map>

template<typename Wrapper>
class CPermanentHandleMap {
public:
    // False when another wrapper owns the handle already.
    static bool Add(const void* handle, Wrapper* wrapper)
    {
        const std::lock_guard<std::mutex> guard(Lock());
        auto [place, added] = Map().try_emplace(handle, wrapper);
        return added || place->second == wrapper;
    }
    static void Remove(const void* handle, const Wrapper* wrapper)
    {
        const std::lock_guard<std::mutex> guard(Lock());
        const auto place = Map().find(handle);
        if (place != Map().end() && place->second == wrapper)
            Map().erase(place);
    }
    // The wrapper's Attach and Detach: `slot` is its handle member.
    template<typename Handle>
    static bool Attach(Wrapper* wrapper, Handle& slot, Handle handle)
    {
        if (!handle || slot || !Add(handle, wrapper))
            return false;
        slot = handle;
        return true;
    }
    template<typename Handle>
    static Handle Detach(const Wrapper* wrapper, Handle& slot)
    {
        const Handle handle = slot;
        if (handle)
            Remove(handle, wrapper);
        slot = nullptr;
        return handle;
    }
    // Attaches a handle just made, destroying it when it cannot be attached.
    template<typename Handle, typename Destroy>
    static bool AttachMade(Wrapper* wrapper, Handle& slot, Handle handle, Destroy destroy)
    {
        if (!handle)
            return false;
        if (Attach(wrapper, slot, handle))
            return true;
        destroy(handle);
        return false;
    }

    static Wrapper* Find(const void* handle)
    {
        const std::lock_guard<std::mutex> guard(Lock());
        const auto place = Map().find(handle);
        return place == Map().end() ? nullptr : place->second;
    }

private:
    // Never destroyed: a wrapper in static storage may let go of its handle
    // after every function-local static has gone at the end of the process.
    static std::unordered_map<const void*, Wrapper*>& Map()
    {
        static auto* map = new std::unordered_map<const void*, Wrapper*>;
        return *map;
    }
    static std::mutex& Lock()
    {
        static auto* lock = new std::mutex;
        return *lock;
    }
};
