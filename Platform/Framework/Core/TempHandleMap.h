#pragma once
// Temporary wrapper objects: FromHandle of a handle that no wrapper owns
// makes a wrapper that does not own it either. Such wrappers belong to the
// thread that asked for them and live until that thread's idle processing
// calls AfxDeleteTempObjects, so a pointer from FromHandle stays valid for the
// rest of the message being handled. A thread's wrappers left at its end are
// freed when it ends; none of them ever deletes its handle.

#include <memory>
#include <unordered_map>

// Frees the calling thread's temporary wrappers of every kind.
void AfxDeleteTempObjects();
// How many temporary wrappers the calling thread holds.
std::size_t AfxTempObjectCount();

class CTempHandleMapBase {
public:
    virtual ~CTempHandleMapBase();
    virtual void DeleteTemp() = 0;
    virtual std::size_t Count() const = 0;

protected:
    CTempHandleMapBase();  // joins the calling thread's list of maps
};

// `Member` is the wrapper's handle member (CGdiObject::m_hObject ...); it is
// set on a new wrapper and cleared before the wrapper is deleted, so that the
// wrapper's destructor leaves the handle alone.
template<typename Wrapper, typename Handle, auto Member>
class CTempHandleMap final : public CTempHandleMapBase {
public:
    static Wrapper* FromHandle(Handle handle)
    {
        if (!handle)
            return nullptr;
        std::unique_ptr<Wrapper>& wrapper = ForThisThread().m_mapWrappers[handle];
        if (!wrapper) {
            wrapper = std::make_unique<Wrapper>();
            (*wrapper).*Member = handle;
        }
        return wrapper.get();
    }

    void DeleteTemp() override
    {
        for (auto& [handle, wrapper] : m_mapWrappers)
            (*wrapper).*Member = nullptr;
        m_mapWrappers.clear();
    }
    std::size_t Count() const override { return m_mapWrappers.size(); }
    ~CTempHandleMap() override { DeleteTemp(); }

private:
    static CTempHandleMap& ForThisThread()
    {
        thread_local CTempHandleMap map;
        return map;
    }

    std::unordered_map<Handle, std::unique_ptr<Wrapper>> m_mapWrappers;
};
