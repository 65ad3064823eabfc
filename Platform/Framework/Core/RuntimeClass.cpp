#include "Platform/Framework/Core/RuntimeClass.h"

#include "Platform/Base/TextConversion.h"
#include "Platform/Framework/Exceptions/InvalidArgException.h"
#include "Platform/Framework/Core/Object.h"

#include <cstring>
#include <mutex>

namespace {

// The list head lives in a function so that records registering during
// static initialisation never see it uninitialised.
struct ClassList {
    std::mutex lock;
    const CRuntimeClass* first = nullptr;
};

ClassList& Classes()
{
    static ClassList list;
    return list;
}

}  // namespace

CRuntimeClassRegistration::CRuntimeClassRegistration(CRuntimeClass* record)
{
    ClassList& list = Classes();
    const std::lock_guard<std::mutex> guard(list.lock);
    record->m_pNextClass = list.first;
    list.first = record;
}

CObject* CRuntimeClass::CreateObject() const
{
    return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const
{
    if (!base)
        return FALSE;
    for (const CRuntimeClass* record = this; record; record = record->m_pBaseClass) {
        if (record == base)
            return TRUE;
    }
    return FALSE;
}

const CRuntimeClass* CRuntimeClass::FromName(LPCSTR className)
{
    if (!className)
        return nullptr;
    ClassList& list = Classes();
    const std::lock_guard<std::mutex> guard(list.lock);
    for (const CRuntimeClass* record = list.first; record; record = record->m_pNextClass) {
        if (std::strcmp(record->m_lpszClassName, className) == 0)
            return record;
    }
    return nullptr;
}

const CRuntimeClass* CRuntimeClass::FromName(LPCWSTR className)
{
    return className ? FromName(Text::WideToUtf8(className).c_str()) : nullptr;
}

CObject* CRuntimeClass::CreateObject(LPCSTR className)
{
    const CRuntimeClass* record = FromName(className);
    return record ? record->CreateObject() : nullptr;
}

CObject* CRuntimeClass::CreateObject(LPCWSTR className)
{
    const CRuntimeClass* record = FromName(className);
    return record ? record->CreateObject() : nullptr;
}

CObject* ZellDynamicDownCast(const CRuntimeClass* target, CObject* object)
{
    return object && object->IsKindOf(target) ? object : nullptr;
}

CObject* ZellStaticDownCast(const CRuntimeClass* target, CObject* object)
{
    if (object && !object->IsKindOf(target))
        AfxThrowInvalidArgException();
    return object;
}
