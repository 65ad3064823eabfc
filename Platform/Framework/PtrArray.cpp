#include "Platform/Framework/PtrArray.h"

IMPLEMENT_DYNAMIC(CPtrArray, CObject)
