// CObject and run-time class information: class identity tests (IsKindOf)
// and dynamic creation by class, as the document template, the views and
// the mini frames need them.
// Invariant: every CRuntimeClass is a static object that lives for the whole
// run; m_pBaseClass chains up to CObject's, whose base is null.
#pragma once

#include "Platform/Types.h"

class CObject;

struct CRuntimeClass {
    const char* m_lpszClassName;
    int m_nObjectSize;
    CObject* (*m_pfnCreateObject)();
    const CRuntimeClass* m_pBaseClass;

    // Null for a class declared without dynamic creation.
    CObject* CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }
    BOOL IsDerivedFrom(const CRuntimeClass* base) const
    {
        for (const CRuntimeClass* c = this; c; c = c->m_pBaseClass) {
            if (c == base)
                return TRUE;
        }
        return FALSE;
    }
};

#define RUNTIME_CLASS(class_name) (class_name::GetThisClass())

#define DECLARE_DYNAMIC(class_name) \
public: \
    static const CRuntimeClass* GetThisClass(); \
    const CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
    DECLARE_DYNAMIC(class_name) \
    static CObject* CreateObject();

#define VEXAL_IMPLEMENT_RUNTIMECLASS(class_name, base_name, create) \
    const CRuntimeClass* class_name::GetThisClass() \
    { \
        static const CRuntimeClass rc = { #class_name, int(sizeof(class_name)), create, \
                                          RUNTIME_CLASS(base_name) }; \
        return &rc; \
    } \
    const CRuntimeClass* class_name::GetRuntimeClass() const { return GetThisClass(); }

#define IMPLEMENT_DYNAMIC(class_name, base_name) \
    VEXAL_IMPLEMENT_RUNTIMECLASS(class_name, base_name, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_name) \
    CObject* class_name::CreateObject() { return new class_name; } \
    VEXAL_IMPLEMENT_RUNTIMECLASS(class_name, base_name, &class_name::CreateObject)

class CObject {
public:
    virtual ~CObject() = default;
    static const CRuntimeClass* GetThisClass();
    virtual const CRuntimeClass* GetRuntimeClass() const;
    BOOL IsKindOf(const CRuntimeClass* rc) const { return GetRuntimeClass()->IsDerivedFrom(rc); }

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

// The object as the given class, or null when it is of another class.
template <class T>
T* DynamicDowncast(CObject* object)
{
    return object && object->IsKindOf(T::GetThisClass()) ? static_cast<T*>(object) : nullptr;
}
#define DYNAMIC_DOWNCAST(class_name, object) DynamicDowncast<class_name>(object)
#define STATIC_DOWNCAST(class_name, object) static_cast<class_name*>(object)
