#include "Platform/Framework/Drawing/GdiObject.h"

#include "Platform/Framework/Core/PermanentHandleMap.h"

#include <utility>

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
    return GdiObjects::Attach(this, m_hObject, handle);
}

HGDIOBJ CGdiObject::Detach()
{
    if (m_bSystemObject) {
        m_bSystemObject = false;
        return std::exchange(m_hObject, nullptr);
    }
    return GdiObjects::Detach(this, m_hObject);
}

BOOL CGdiObject::DeleteObject()
{
    if (!m_hObject)
        return FALSE;
    const bool systemObject = m_bSystemObject;
    HGDIOBJ handle = Detach();
    return systemObject ? TRUE : ::DeleteObject(handle);
}

BOOL CGdiObject::HoldSystemObject(HGDIOBJ handle)
{
    if (!handle || m_hObject)
        return FALSE;
    m_hObject = handle;
    m_bSystemObject = true;
    return TRUE;
}

BOOL CGdiObject::AttachNew(HGDIOBJ handle)
{
    return GdiObjects::AttachMade(this, m_hObject, handle, &::DeleteObject);
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
