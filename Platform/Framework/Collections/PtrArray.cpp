#include "Platform/Framework/Collections/PtrArray.h"

IMPLEMENT_DYNAMIC(CPtrArray, CObject)
