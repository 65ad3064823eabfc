#include "Platform/Framework/Controls/Edit.h"

IMPLEMENT_DYNAMIC(CEdit, CWnd)

