#pragma once
// An array of object pointers. It does not own them: whoever fills it deletes them.

#include "Platform/Framework/Collections/Array.h"

class CObArray : public CArray<CObject*, CObject*> {
    DECLARE_DYNAMIC(CObArray)
};
