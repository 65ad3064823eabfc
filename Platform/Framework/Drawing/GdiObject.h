#pragma once
// Base of the drawing-object wrappers. A wrapper owns the handle it created or
// was attached to and deletes it when it is destroyed; Detach hands the
// handle back without deleting it. FromHandle gives the owning wrapper of a
// handle or else a temporary one (see TempHandleMap.h).

#include "Platform/Framework/Core/Object.h"
#include "Platform/Framework/Core/TempHandleMap.h"
#include "Platform/Gdi/DeviceContext.h"

class CGdiObject : public CObject {
    DECLARE_DYNCREATE(CGdiObject)
public:
    CGdiObject() = default;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    ~CGdiObject() override;

    static CGdiObject* FromHandle(HGDIOBJ handle);

    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    operator HGDIOBJ() const { return GetSafeHandle(); }

    // FALSE for a null handle, when this wrapper holds a handle already, or
    // when another wrapper owns the handle.
    BOOL Attach(HGDIOBJ handle);
    HGDIOBJ Detach();
    // Deletes the owned object; FALSE when there is none.
    BOOL DeleteObject();
    // Stock objects belong to the system: the wrapper never owns one.
    BOOL CreateStockObject(int index);

    int GetObject(int count, LPVOID buffer) const;
    UINT GetObjectType() const;

    bool operator==(const CGdiObject& other) const { return m_hObject == other.m_hObject; }
    bool operator!=(const CGdiObject& other) const { return m_hObject != other.m_hObject; }

    HGDIOBJ m_hObject = nullptr;

protected:
    // For the Create members: attaches a new handle (FALSE for a null one),
    // deleting the handle if it cannot be attached.
    BOOL AttachNew(HGDIOBJ handle);
    // For objects the system owns (stock objects, system-colour brushes):
    // held without an entry in the owners' map and never deleted.
    BOOL HoldSystemObject(HGDIOBJ handle);
    // The owning wrapper of the handle when it is a `Wrapper`, else a
    // temporary `Wrapper`; null for a null handle.
    template<typename Wrapper>
    static Wrapper* WrapperFor(HGDIOBJ handle)
    {
        if (auto* owner = dynamic_cast<Wrapper*>(FindPermanentObject(handle)))
            return owner;
        return CTempHandleMap<Wrapper, HGDIOBJ, &CGdiObject::m_hObject>::FromHandle(handle);
    }

private:
    static CGdiObject* FindPermanentObject(HGDIOBJ handle);

    bool m_bSystemObject = false;
};
