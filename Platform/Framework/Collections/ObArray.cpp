#include "Platform/Framework/Collections/ObArray.h"

IMPLEMENT_DYNAMIC(CObArray, CObject)
