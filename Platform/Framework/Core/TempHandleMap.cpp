#include "Platform/Framework/Core/TempHandleMap.h"

#include <algorithm>
#include <vector>

namespace {

// Made before the first map of the thread, so it is destroyed after the last.
std::vector<CTempHandleMapBase*>& ThreadMaps()
{
    thread_local std::vector<CTempHandleMapBase*> maps;
    return maps;
}

}  // namespace

CTempHandleMapBase::CTempHandleMapBase()
{
    ThreadMaps().push_back(this);
}

CTempHandleMapBase::~CTempHandleMapBase()
{
    std::vector<CTempHandleMapBase*>& maps = ThreadMaps();
    maps.erase(std::remove(maps.begin(), maps.end(), this), maps.end());
}

void AfxDeleteTempObjects()
{
    for (CTempHandleMapBase* map : ThreadMaps())
        map->DeleteTemp();
}

std::size_t AfxTempObjectCount()
{
    std::size_t count = 0;
    for (const CTempHandleMapBase* map : ThreadMaps())
        count += map->Count();
    return count;
}
