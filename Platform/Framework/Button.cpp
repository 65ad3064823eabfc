#include "Platform/Framework/Button.h"

IMPLEMENT_DYNAMIC(CButton, CWnd)

