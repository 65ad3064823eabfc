#include "Platform/Framework/Edit.h"

IMPLEMENT_DYNAMIC(CEdit, CWnd)

