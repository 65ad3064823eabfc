#pragma once
// Root of the framework's classes: a virtual destructor and the run-time
// class record, so that any framework object can say what it is.

#include "Platform/Framework/Core/RuntimeClass.h"

class CObject {
public:
    virtual ~CObject() = default;

    static const CRuntimeClass* GetThisClass();
    virtual const CRuntimeClass* GetRuntimeClass() const;
    BOOL IsKindOf(const CRuntimeClass* runtimeClass) const;

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};
