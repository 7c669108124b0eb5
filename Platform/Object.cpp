#include "Platform/Object.h"

const CRuntimeClass* CObject::GetThisClass()
{
    static const CRuntimeClass rc = { "CObject", int(sizeof(CObject)), nullptr, nullptr };
    return &rc;
}

const CRuntimeClass* CObject::GetRuntimeClass() const { return GetThisClass(); }
