#include "Platform/Framework/Static.h"

IMPLEMENT_DYNAMIC(CStatic, CWnd)

