#include "Platform/Framework/Controls/Static.h"

IMPLEMENT_DYNAMIC(CStatic, CWnd)

