#include "Platform/Framework/Collections/StringArray.h"

IMPLEMENT_DYNAMIC(CStringArray, CObject)
