#include "Platform/Framework/ObArray.h"

IMPLEMENT_DYNAMIC(CObArray, CObject)
