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
    static Wrapper* Find(const void* handle)
    {
        const std::lock_guard<std::mutex> guard(Lock());
        const auto place = Map().find(handle);
        return place == Map().end() ? nullptr : place->second;
    }

private:
    static std::unordered_map<const void*, Wrapper*>& Map()
    {
        static std::unordered_map<const void*, Wrapper*> map;
        return map;
    }
    static std::mutex& Lock()
    {
        static std::mutex lock;
        return lock;
    }
};
