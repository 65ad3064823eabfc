#include "Platform/Framework/Core/Object.h"

const CRuntimeClass* CObject::GetThisClass()
{
    static CRuntimeClass record{"CObject", static_cast<int>(sizeof(CObject)), 0xFFFF, nullptr, nullptr, nullptr};
    static const CRuntimeClassRegistration registration(&record);
    return &record;
}

const CRuntimeClass* CObject::GetRuntimeClass() const
{
    return GetThisClass();
}

BOOL CObject::IsKindOf(const CRuntimeClass* runtimeClass) const
{
    return GetRuntimeClass()->IsDerivedFrom(runtimeClass);
}
