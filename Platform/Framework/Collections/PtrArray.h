#pragma once
// An array of untyped pointers, which it does not own.

#include "Platform/Framework/Collections/Array.h"

class CPtrArray : public CArray<void*, void*> {
    DECLARE_DYNAMIC(CPtrArray)
};
