#pragma once
// Run-time class records: one static CRuntimeClass per framework class,
// chained to its base, so that objects can be asked what they are and classes
// can be made by name. The records link themselves into a list when their
// static initialisers run; look-ups by name walk that list.

#include "Platform/Base/Types.h"

class CObject;

struct CRuntimeClass {
    LPCSTR m_lpszClassName = nullptr;
    int m_nObjectSize = 0;
    UINT m_wSchema = 0xFFFF;
    CObject* (*m_pfnCreateObject)() = nullptr;  // null: not dynamically creatable
    const CRuntimeClass* m_pBaseClass = nullptr;
    const CRuntimeClass* m_pNextClass = nullptr;  // the list of all records

    // Null when the class cannot be made dynamically.
    CObject* CreateObject() const;
    BOOL IsDerivedFrom(const CRuntimeClass* base) const;

    // Exact, case-sensitive class names as written in the source.
    static const CRuntimeClass* FromName(LPCSTR className);
    static const CRuntimeClass* FromName(LPCWSTR className);
    static CObject* CreateObject(LPCSTR className);
    static CObject* CreateObject(LPCWSTR className);
};

// Links a record into the list of all records (during static initialisation).
struct CRuntimeClassRegistration {
    explicit CRuntimeClassRegistration(CRuntimeClass* record);
};

#define RUNTIME_CLASS(class_name) (class_name::GetThisClass())

#define DECLARE_DYNAMIC(class_name)                                 \
public:                                                             \
    static const CRuntimeClass* GetThisClass();                     \
    const CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
    DECLARE_DYNAMIC(class_name)       \
    static CObject* CreateObject();

#define ZELL_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, schema, create)                      \
    const CRuntimeClass* class_name::GetThisClass()                                                   \
    {                                                                                                 \
        static CRuntimeClass record{#class_name, static_cast<int>(sizeof(class_name)), schema, create, \
                                    RUNTIME_CLASS(base_class_name), nullptr};                         \
        static const CRuntimeClassRegistration registration(&record);                                 \
        return &record;                                                                               \
    }                                                                                                 \
    const CRuntimeClass* class_name::GetRuntimeClass() const { return class_name::GetThisClass(); }  \
    static const CRuntimeClass* const zell_runtime_class_##class_name = class_name::GetThisClass();

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
    ZELL_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                       \
    CObject* class_name::CreateObject() { return new class_name; }             \
    ZELL_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)

// Null when the object is null or not of the class (or a class derived from it).
#define DYNAMIC_DOWNCAST(class_name, object) \
    (static_cast<class_name*>(ZellDynamicDownCast(RUNTIME_CLASS(class_name), (object))))

// The object must be of the class; a wrong one raises CInvalidArgException
// rather than giving a pointer of the wrong type.
#define STATIC_DOWNCAST(class_name, object) \
    (static_cast<class_name*>(ZellStaticDownCast(RUNTIME_CLASS(class_name), (object))))

CObject* ZellDynamicDownCast(const CRuntimeClass* target, CObject* object);
CObject* ZellStaticDownCast(const CRuntimeClass* target, CObject* object);
