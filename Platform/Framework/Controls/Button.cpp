#include "Platform/Framework/Controls/Button.h"

IMPLEMENT_DYNAMIC(CButton, CWnd)

