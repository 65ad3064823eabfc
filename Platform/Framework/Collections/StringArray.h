#pragma once
// An array of texts.

#include "Platform/Base/CString.h"
#include "Platform/Framework/Collections/Array.h"

class CStringArray : public CArray<CString, const CString&> {
    DECLARE_DYNAMIC(CStringArray)
};
