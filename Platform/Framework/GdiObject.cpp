#include "Platform/Framework/GdiObject.h"

#include "Platform/Framework/PermanentHandleMap.h"

IMPLEMENT_DYNCREATE(CGdiObject, CObject)

using GdiObjects = CPermanentHandleMap<CGdiObject>;

CGdiObject::~CGdiObject()
{
    DeleteObject();
}

CGdiObject* CGdiObject::FindPermanentObject(HGDIOBJ handle)
{
    return GdiObjects::Find(handle);
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ handle)
{
    return WrapperFor<CGdiObject>(handle);
}

BOOL CGdiObject::Attach(HGDIOBJ handle)
{
    if (!handle || m_hObject || !GdiObjects::Add(handle, this))
        return FALSE;
    m_hObject = handle;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ handle = m_hObject;
    if (handle && !m_systemObject)
        GdiObjects::Remove(handle, this);
    m_hObject = nullptr;
    m_systemObject = false;
    return handle;
}

BOOL CGdiObject::DeleteObject()
{
    if (!m_hObject)
        return FALSE;
    const bool systemObject = m_systemObject;
    HGDIOBJ handle = Detach();
    return systemObject ? TRUE : ::DeleteObject(handle);
}

BOOL CGdiObject::HoldSystemObject(HGDIOBJ handle)
{
    if (!handle || m_hObject)
        return FALSE;
    m_hObject = handle;
    m_systemObject = true;
    return TRUE;
}

BOOL CGdiObject::AttachNew(HGDIOBJ handle)
{
    if (!handle)
        return FALSE;
    if (!Attach(handle)) {
        ::DeleteObject(handle);
        return FALSE;
    }
    return TRUE;
}

BOOL CGdiObject::CreateStockObject(int index)
{
    return HoldSystemObject(::GetStockObject(index));
}

int CGdiObject::GetObject(int count, LPVOID buffer) const
{
    return m_hObject ? ::GetObjectW(m_hObject, count, buffer) : 0;
}

UINT CGdiObject::GetObjectType() const
{
    return m_hObject ? ::GetObjectType(m_hObject) : 0;
}
