#include "Platform/Framework/StringArray.h"

IMPLEMENT_DYNAMIC(CStringArray, CObject)
